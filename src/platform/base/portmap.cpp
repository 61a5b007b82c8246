#include "platform/base/portmap.h"

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

#include "platform/base/appinfo.h"
#include "platform/base/vbtext.h"

namespace portmap {
namespace {
std::string& overrideConfig() {
  static std::string f;
  return f;
}

std::string fromFile(int port) {
  std::ifstream in(configFile());
  if (!in) return {};
  const std::string key = "COM" + std::to_string(port);
  std::string line, found;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t eq = line.find('=');
    if (eq == std::string::npos || line[0] == '#') continue;
    if (vb::UCase(vb::Trim(line.substr(0, eq))) == key) found = vb::Trim(line.substr(eq + 1));
  }
  return found;
}
}  // namespace

std::string configFile() {
  if (!overrideConfig().empty()) return overrideConfig();
  return app::configFolder() + "/ports.conf";
}

void setConfigFile(const std::string& path) { overrideConfig() = path; }

std::string defaultPath(int port) {
  if (port >= 1 && port <= 4) return "/dev/ttyS" + std::to_string(port - 1);
  if (port >= 5 && port <= 12) return "/dev/ttyUSB" + std::to_string(port - 5);
  if (port >= 13 && port <= 16) return "/dev/ttyACM" + std::to_string(port - 13);
  return {};
}

std::string devicePath(int port) {
  if (port < kFirstPort || port > kLastPort) return {};
  const std::string env = "VELMORA_COM" + std::to_string(port);
  if (const char* v = std::getenv(env.c_str()); v && *v) return v;
  std::string f = fromFile(port);
  if (!f.empty()) return f;
  return defaultPath(port);
}

bool present(int port) {
  const std::string path = devicePath(port);
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

}  // namespace portmap

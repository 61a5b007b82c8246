#include "platform/base/portmap.h"

#include <cstdlib>
#include <filesystem>
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

std::string& ttyAttributes() {
  static std::string f = "/sys/class/tty";
  return f;
}

std::string fromEnvironment(int port) {
  const std::string env = "VELMORA_COM" + std::to_string(port);
  if (const char* v = std::getenv(env.c_str()); v && *v) return v;
  return {};
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
void setTtyAttributesFolder(const std::string& path) { ttyAttributes() = path; }

std::string defaultPath(int port) {
  if (port >= 1 && port <= 4) return "/dev/ttyS" + std::to_string(port - 1);
  if (port >= 5 && port <= 12) return "/dev/ttyUSB" + std::to_string(port - 5);
  if (port >= 13 && port <= 16) return "/dev/ttyACM" + std::to_string(port - 13);
  return {};
}

std::string devicePath(int port) {
  if (port < kFirstPort || port > kLastPort) return {};
  if (std::string e = fromEnvironment(port); !e.empty()) return e;
  std::string f = fromFile(port);
  if (!f.empty()) return f;
  return defaultPath(port);
}

bool userMapped(int port) {
  if (port < kFirstPort || port > kLastPort) return false;
  return !fromEnvironment(port).empty() || !fromFile(port).empty();
}

bool present(int port) {
  namespace fs = std::filesystem;
  const std::string path = devicePath(port);
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return false;
  std::error_code ec;
  const fs::path attributes(ttyAttributes());
  // Without the kernel's attributes (a container, say) the device node is all there is to go by.
  if (!fs::is_directory(attributes, ec)) return true;
  const fs::path tty = attributes / fs::canonical(path, ec).filename();
  if (ec) return false;
  // A serial-core port names the UART behind it; 0 means there is none.
  std::ifstream type(tty / "type");
  if (type) {
    int t = 0;
    type >> t;
    return t != 0;
  }
  if (fs::exists(tty / "device", ec)) return true;
  return userMapped(port);
}

}  // namespace portmap

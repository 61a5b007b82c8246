#include "platform/base/portmap.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>

#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"
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

bool isControl(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b < 0x20 || b == 0x7F;
}

bool hasControl(const std::string& s) { return std::any_of(s.begin(), s.end(), isControl); }

std::string trimBlanks(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The number of "COM<n>", leading zeros allowed ("COM01" is COM1); 0 when the
// text is not that, or n is outside 1..16.
int comNumber(const std::string& key) {
  const std::string k = vb::UCase(key);
  if (k.size() < 4 || k.compare(0, 3, "COM") != 0) return 0;
  int n = 0;
  for (size_t i = 3; i < k.size(); ++i) {
    if (k[i] < '0' || k[i] > '9') return 0;
    n = std::min(n * 10 + (k[i] - '0'), 1000);
  }
  return n >= kFirstPort && n <= kLastPort ? n : 0;
}

// The number a line that cannot be read was meant to set, read as loosely as
// possible (blanks and control bytes ignored); 0 when none can be told.
int meantNumber(const std::string& text) {
  std::string key;
  for (char c : text.substr(0, text.find('='))) {
    const auto b = static_cast<unsigned char>(c);
    if (b > 0x20 && b < 0x7F) key += c;
  }
  size_t digitsEnd = 3;
  while (digitsEnd < key.size() && key[digitsEnd] >= '0' && key[digitsEnd] <= '9') ++digitsEnd;
  return comNumber(key.substr(0, digitsEnd));
}

// A line as the user sees it in a message: control bytes as \xNN, cut short.
std::string shown(const std::string& line) {
  std::string out;
  for (char c : line) {
    if (isControl(c)) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
      out += hex;
    } else {
      out += c;
    }
    if (out.size() > 80) return out + "...";
  }
  return out;
}

struct Map {
  std::array<std::string, kLastPort + 1> path;  // "" where neither the user nor a broken line set it
  std::array<bool, kLastPort + 1> user{};       // set by the environment or a line of the file
  std::array<bool, kLastPort + 1> unset{};      // an empty variable the file does not make up for
  std::vector<Problem> problems;
  size_t ownNumberOnly = 0;  // problems that say which number they concern and no other
};

void readFile(Map& map, std::array<std::string, kLastPort + 1>& fromFile) {
  const std::string file = configFile();
  struct stat st {};
  if (::lstat(file.c_str(), &st) != 0 && errno == ENOENT) return;  // no map: every number its default
  // A map that is there but cannot be read (a folder, a pipe that would wait
  // for a writer, a device, a dangling link, a file the user may not read)
  // may set any number.
  std::string bytes;
  bool read = false;
  if (::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    try {
      std::ifstream in(file, std::ios::binary);
      if (in.is_open()) {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        read = !in.bad();
      }
    } catch (const std::exception&) {
      read = false;
    }
  }
  if (!read) {
    map.problems.push_back(Problem{file, 0, LoadResString(10150), 0});
    return;
  }
  if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
    // A file saved as UTF-16: one problem for the file.
    map.problems.push_back(Problem{file, 0, LoadResString(10116), 0});
    return;
  }
  std::istringstream lines(bytes);
  int number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    // A file saved with a UTF-8 byte-order mark reads as plain text.
    if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string text = trimBlanks(line);
    if (text.empty() || text[0] == '#') continue;
    const size_t eq = text.find('=');
    const int port = eq == std::string::npos ? 0 : comNumber(trimBlanks(text.substr(0, eq)));
    const std::string value = eq == std::string::npos ? std::string() : trimBlanks(text.substr(eq + 1));
    // A device path with a control character (a NUL, say) never reaches the port.
    if (port > 0 && !value.empty() && !hasControl(value)) {
      fromFile[static_cast<size_t>(port)] = value;
      continue;
    }
    map.problems.push_back(Problem{file, number, shown(line), port > 0 ? port : meantNumber(text)});
  }
}

Map readMap() {
  Map map;
  for (int n = kFirstPort; n <= kLastPort; ++n) {
    const auto i = static_cast<size_t>(n);
    const std::string env = "VELMORA_COM" + std::to_string(n);
    const char* v = std::getenv(env.c_str());
    // Set to nothing (a script's empty variable, say): the file may still set
    // the number.
    if (!v || !*v) continue;
    if (hasControl(v)) {
      map.problems.push_back(Problem{env, 0, shown(v), n});
    } else {
      map.path[i] = v;
      map.user[i] = true;
    }
  }
  std::array<std::string, kLastPort + 1> fromFile;
  readFile(map, fromFile);
  for (int n = kFirstPort; n <= kLastPort; ++n) {
    const auto i = static_cast<size_t>(n);
    const std::string env = "VELMORA_COM" + std::to_string(n);
    const char* v = std::getenv(env.c_str());
    if (v && *v) continue;  // the environment decided
    // A line that could be read decides, whatever broken lines say about
    // the same number (an empty "COM1=" after a good one changes nothing).
    if (!fromFile[i].empty()) {
      map.path[i] = fromFile[i];
      map.user[i] = true;
    } else if (v) {
      // An empty variable the file does not make up for points nowhere
      // rather than at the number's default device; it names its number,
      // so the other numbers keep theirs.
      map.problems.push_back(Problem{env, 0, "", n});
      map.unset[i] = true;
      ++map.ownNumberOnly;
    }
  }
  return map;
}

// Whether the number has no device: a setting the map cannot read may have
// meant any number (a line for COM0 or COM17, say, or one the file's
// encoding hides), so while there is one, no number falls back to its
// default device; only numbers a readable setting names are available. An
// empty VELMORA_COM<n> takes only its own number away.
bool notAvailable(const Map& map, int port) {
  const auto i = static_cast<size_t>(port);
  if (map.user[i]) return false;
  return map.unset[i] || map.problems.size() > map.ownNumberOnly;
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
  const Map map = readMap();
  if (notAvailable(map, port)) return {};
  const auto i = static_cast<size_t>(port);
  return map.user[i] ? map.path[i] : defaultPath(port);
}

bool userMapped(int port) {
  if (port < kFirstPort || port > kLastPort) return false;
  return readMap().user[static_cast<size_t>(port)];
}

std::vector<Problem> problems() { return readMap().problems; }

namespace {
// "<file> line <n>: <line as read>", or "<variable>: <value>".
std::string place(const Problem& p) {
  std::string where = p.where;
  if (p.line > 0) where += " " + LoadResString(10117) + " " + std::to_string(p.line);
  return where + ": " + p.text;
}
}  // namespace

std::string problemText(const Problem& p) { return LoadResString(10114) + "\r" + place(p); }

std::string problemsText() {
  std::string out;
  for (const Problem& p : problems()) out += "\r" + place(p);
  return out.empty() ? out : LoadResString(10114) + out;
}

std::string unavailable(int port) {
  if (port < kFirstPort || port > kLastPort) return {};
  return notAvailable(readMap(), port) ? LoadResString(10115) + "\r" + problemsText() : std::string();
}

std::string openedPath(const std::string& device) {
  if (device.empty() || device[0] == '/' || device.rfind("./", 0) == 0 || device.rfind("../", 0) == 0) return device;
  return "/dev/" + device;
}

bool present(int port) {
  namespace fs = std::filesystem;
  const std::string path = openedPath(devicePath(port));
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

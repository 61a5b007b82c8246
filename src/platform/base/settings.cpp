#include "platform/base/settings.h"

#include <QString>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <sstream>

#include "platform/base/appinfo.h"
#include "platform/base/msgservice.h"
#include "platform/base/safefile.h"
#include "platform/base/strtable.h"

namespace settings {
namespace {
std::string& overrideFile() {
  static std::string f;
  return f;
}

// Whether a failed store has been reported for the current store file.
bool& told() {
  static bool t = false;
  return t;
}

bool& boxShown() {
  static bool b = false;
  return b;
}

// A store that is there but is no plain file, links followed, is not used:
// each setting reads as its default and nothing is stored. A pipe would hold
// every read up for ever (an unattended run too), and saving through a link
// to a device replaced the device node with a file of settings.
bool storeUsable(const std::string& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) != 0 || S_ISREG(st.st_mode);
}

// The file is the INI layout the program has always stored (that of Qt's
// QSettings): "[section]" lines, "key=value" lines, a blank line between
// sections, sections and keys in the order of their names. The store is
// written whole through the safe writer, so the layout is made here.
//
// Section and key names as they stand in the file, each with its value's
// text as it stands there (escaped): entries the program does not change go
// back exactly as they were read.
using Section = std::map<std::string, std::string>;
using Store = std::map<std::string, Section>;

// Names keep letters, digits and "_-."; any other character is %XX (%UXXXX
// beyond Latin-1).
std::string escapedName(const std::string& name) {
  std::string out;
  for (const QChar c : QString::fromStdString(name)) {
    const char16_t u = c.unicode();
    if (u < 0x80 && (std::isalnum(u) || (u != 0 && std::strchr("_-.", u))))
      out += static_cast<char>(u);
    else
      out += QString::asprintf(u <= 0xFF ? "%%%02X" : "%%U%04X", u).toStdString();
  }
  return out;
}

// The control characters written as a backslash and a letter.
constexpr char kNamed[] = "\a\b\f\n\r\t\v";
constexpr char kLetters[] = "abfnrtv";

// The value of a digit in `base` (8 or 16); -1 for any other character.
int digitValue(char16_t u, int base) {
  int v = base;
  if (u >= '0' && u <= '9')
    v = u - '0';
  else if (u >= 'a' && u <= 'f')
    v = u - 'a' + 10;
  else if (u >= 'A' && u <= 'F')
    v = u - 'A' + 10;
  return v < base ? v : -1;
}

// A value: control characters as escapes, quotes and backslashes escaped,
// in quotes when it holds ";", "," or "=" or begins or ends with a blank; a
// leading "@" doubled (a text holding a NUL is written as "@String(...)").
// After a "\x" or "\0" escape a hex digit is escaped too, so that the escape
// ends where it should.
std::string escapedValue(const std::string& value) {
  QString text = QString::fromStdString(value);
  if (text.contains(QChar(0)))
    text = "@String(" + text + ")";
  else if (text.startsWith('@'))
    text.prepend('@');
  QString out;
  bool quotes = false, hexNext = false;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    const char* named = u != 0 && u < 0x20 ? std::strchr(kNamed, u) : nullptr;
    if (u == ';' || u == ',' || u == '=') quotes = true;
    if (u < 0x20 && !named && u != 0) {
      out += "\\x" + QString::number(u, 16);
    } else if (hexNext && digitValue(u, 16) >= 0) {
      out += "\\x" + QString::number(u, 16);
      continue;
    } else if (u == 0) {
      out += "\\0";
    } else if (named) {
      out += QLatin1Char('\\');
      out += QLatin1Char(kLetters[named - kNamed]);
    } else if (u == '"' || u == '\\') {
      out += QLatin1Char('\\');
      out += c;
    } else {
      out += c;
    }
    hexNext = u < 0x20 && !named;
  }
  if (quotes || out.startsWith(' ') || out.endsWith(' ')) out = '"' + out + '"';
  return out.toStdString();
}

// Reads a value's text back: quotes dropped, escapes (named, \xHH.., octal)
// undone; then a doubled leading "@" made single, "@String(...)" unwrapped.
std::string unescapedValue(const std::string& stored) {
  const QString text = QString::fromStdString(stored);
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '"') continue;
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char16_t e = text[++i].unicode();
    const int base = e == 'x' ? 16 : digitValue(e, 8) >= 0 ? 8 : 0;
    if (base != 0) {
      char16_t code = base == 8 ? e - '0' : 0;
      while (i + 1 < text.size() && digitValue(text[i + 1].unicode(), base) >= 0)
        code = static_cast<char16_t>(code * base + digitValue(text[++i].unicode(), base));
      out += QChar(code);
      continue;
    }
    const char* letter = e != 0 && e < 0x80 ? std::strchr(kLetters, e) : nullptr;
    out += letter ? QChar(kNamed[letter - kLetters]) : QChar(e);
  }
  if (out.startsWith(QLatin1String("@@")))
    out.remove(0, 1);
  else if (out.startsWith(QLatin1String("@String(")) && out.endsWith(')'))
    out = out.mid(8, out.size() - 9);
  return out.toStdString();
}

std::string trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Keys before any section, and those of a section "[General]", are the top
// level; it is written first as "[General]". A store an editor saved with a
// UTF-8 byte-order mark reads as plain text: kept, the mark would hide the
// first section's name, and a save would move its keys to the top level.
Store parse(const std::string& bytes) {
  Store store;
  std::string section;
  const bool mark = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
  std::istringstream in(mark ? bytes.substr(3) : bytes);
  std::string line;
  while (std::getline(in, line)) {
    line = trimmed(line.size() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      section = line.substr(1, line.find(']') == std::string::npos ? std::string::npos : line.find(']') - 1);
      if (section == "General") section.clear();
      continue;
    }
    const size_t eq = line.find('=');
    if (eq != std::string::npos) store[section][trimmed(line.substr(0, eq))] = trimmed(line.substr(eq + 1));
  }
  return store;
}

std::string layout(const Store& store) {
  std::string out;
  for (const auto& [section, keys] : store) {
    if (keys.empty()) continue;
    if (!out.empty()) out += '\n';
    out += "[" + (section.empty() ? std::string("General") : section) + "]\n";
    for (const auto& [key, value] : keys) out += key + "=" + value + "\n";
  }
  return out;
}

// The store's bytes; a missing store is an empty one. Answers 0, or the
// error of a store that is there and cannot be read (it is then neither used
// nor written over).
int readStore(const std::string& file, std::string& bytes) {
  const int error = safefile::readPlainFile(file, std::numeric_limits<std::size_t>::max(), bytes);
  return error == ENOENT ? 0 : error;
}

std::string keyOf(const std::string& app, const std::string& key) {
  // One file per application name; "velmora" is the only one in use.
  return escapedName(app == "velmora" ? key : key + "@" + app);
}

// A store that could not be written keeps what it held; the user hears of
// it once: in a box where someone attends the run, else on standard error,
// so that no box holds an unattended write up.
void tell(const std::string& file, int error) {
  if (told()) return;
  told() = true;
  std::string text = LoadResString(10160) + "\n" + file;
  if (error != 0) text += "\n" + LoadResString(10118) + std::strerror(error);
  if (boxShown())
    messageService().msgBox(text, vb::vbExclamation, app::kTitle);
  else
    std::fprintf(stderr, "%s: %s\n", app::kTitle, text.c_str());
}
}  // namespace

std::string storeFile() {
  if (!overrideFile().empty()) return overrideFile();
  return app::configFolder() + "/velmora-settings.ini";
}

void setFailureShownInBox(bool shown) { boxShown() = shown; }

void setStoreFile(const std::string& path) {
  overrideFile() = path;
  told() = false;
}

std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& def) {
  std::string bytes;
  if (!storeUsable(storeFile()) || readStore(storeFile(), bytes) != 0) return def;
  const Store store = parse(bytes);
  const auto s = store.find(escapedName(section));
  if (s == store.end()) return def;
  const auto k = s->second.find(keyOf(app, key));
  return k == s->second.end() ? def : unescapedValue(k->second);
}

void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                 const std::string& value) {
  const std::string file = storeFile();
  if (!storeUsable(file)) return;
  std::string old;
  if (const int error = readStore(file, old)) {
    // No plain file after all (put there since the look): not used, as above.
    if (error != EISDIR) tell(file, error);
    return;
  }
  Store store = parse(old);
  store[escapedName(section)][keyOf(app, key)] = escapedValue(value);
  const std::string bytes = layout(store);
  if (bytes == old) return;
  // The first setting stored makes the config folder.
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
  safefile::SafeFile out(file);
  if (!out.open() || !out.write(bytes) || !out.commit()) tell(file, out.error());
}

}  // namespace settings

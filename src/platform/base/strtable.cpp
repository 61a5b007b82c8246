#include "platform/base/strtable.h"

#include <QLocale>
#include <fstream>
#include <map>

#include "platform/base/appinfo.h"

namespace strtable {
namespace {
struct Table {
  std::map<int, std::string> texts;
  std::map<int, std::string> english;
  std::string lang = "en";
  bool loaded = false;
};
Table& table() {
  static Table t;
  return t;
}

std::string unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char c = s[++i];
      if (c == 'n') out += '\n';
      else if (c == 'r') out += '\r';
      else if (c == 't') out += '\t';
      else out += c;
    } else {
      out += s[i];
    }
  }
  return out;
}

bool readFile(const std::string& file, std::map<int, std::string>& into) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    int id = 0;
    try {
      id = std::stoi(line.substr(0, tab));
    } catch (...) {
      continue;
    }
    into[id] = unescape(line.substr(tab + 1));
  }
  return true;
}
}  // namespace

bool load(const std::string& folder, const std::string& language) {
  Table& t = table();
  const std::string dir = (folder.empty() ? app::path() : folder) + "/strings/";
  std::string lang = language;
  if (lang.empty()) lang = QLocale::system().name().startsWith("ja") ? "ja" : "en";
  t.texts.clear();
  t.english.clear();
  const bool ok = readFile(dir + "en.txt", t.english);
  if (lang != "en") readFile(dir + lang + ".txt", t.texts);
  t.lang = lang;
  t.loaded = true;
  return ok;
}

std::string LoadResString(int id) {
  Table& t = table();
  if (!t.loaded) load();
  auto it = t.texts.find(id);
  if (it != t.texts.end()) return it->second;
  it = t.english.find(id);
  return it == t.english.end() ? std::string() : it->second;
}

std::string language() { return table().lang; }

}  // namespace strtable

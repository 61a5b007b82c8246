#include "tonegen/tonegen.h"

#include <fstream>
#include <sstream>

namespace tonegen {

namespace {

const char* const kFamilies[] = {"P1RA", "P2RB", "P3RC"};
constexpr size_t kTones = 55;
constexpr size_t kCodes = 104;
constexpr size_t kCodesP1RA = 83;

// Lines of a list without comments and blank lines, split into words.
bool readLines(const std::string& path, std::vector<std::vector<std::string>>& lines, std::string& error) {
  std::ifstream in(path);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    lines.push_back(std::move(w));
  }
  return true;
}

}  // namespace

bool buildTables(const std::string& sourceDir, std::vector<Table>& tables, std::string& error) {
  std::vector<std::vector<std::string>> ctc, dcs;
  if (!readLines(sourceDir + "/ctcss.txt", ctc, error) || !readLines(sourceDir + "/dcs.txt", dcs, error)) return false;

  // CTCSS: "element tone [P3RC tone]".
  std::vector<std::string> common{""}, p3rc{""};
  for (const auto& w : ctc) {
    if (w.size() < 2 || w.size() > 3 || w[0] != std::to_string(common.size())) {
      error = "ctcss.txt: element " + std::to_string(common.size()) + " expected";
      return false;
    }
    common.push_back(w[1]);
    p3rc.push_back(w.size() == 3 ? w[2] : w[1]);
  }
  if (common.size() != kTones + 1) {
    error = "ctcss.txt: 55 tones expected";
    return false;
  }

  // DCS: "code [-P1RA]", ascending.
  std::vector<std::string> all{""}, p1ra{""};
  for (const auto& w : dcs) {
    const bool ascending = all.size() == 1 || all.back() < w[0];
    if (w.size() > 2 || (w.size() == 2 && w[1] != "-P1RA") || w[0].size() != 3 || !ascending) {
      error = "dcs.txt: bad line at code " + w[0];
      return false;
    }
    all.push_back(w[0]);
    if (w.size() == 1) p1ra.push_back(w[0]);
  }
  if (all.size() != kCodes + 1 || p1ra.size() != kCodesP1RA + 1) {
    error = "dcs.txt: 104 codes, 83 of them for P1RA, expected";
    return false;
  }

  tables.clear();
  for (int f = 0; f < 3; ++f)
    tables.push_back({std::string("CTC") + kFamilies[f] + "FixedData.dat", f == 2 ? p3rc : common});
  for (int f = 0; f < 3; ++f)
    tables.push_back({std::string("DCS") + kFamilies[f] + "FixedData.dat", f == 0 ? p1ra : all});
  return true;
}

std::string fileBytes(const Table& table) {
  std::string bytes;
  for (const std::string& e : table.elements) {
    bytes += static_cast<char>(e.size() & 0xFF);
    bytes += static_cast<char>((e.size() >> 8) & 0xFF);
    bytes += e;
  }
  return bytes;
}

bool generate(const std::string& sourceDir, const std::string& outDir, std::string& error) {
  std::vector<Table> tables;
  if (!buildTables(sourceDir, tables, error)) return false;
  for (const Table& t : tables) {
    const std::string path = outDir + "/" + t.file;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string bytes = fileBytes(t);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      error = "cannot write " + path;
      return false;
    }
  }
  return true;
}

}  // namespace tonegen

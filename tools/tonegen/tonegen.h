#pragma once
// Builds the six tone-table files from the readable lists ctcss.txt and
// dcs.txt. A file holds its elements one after another, each a 16-bit
// little-endian character count and that many characters.
#include <string>
#include <vector>

namespace tonegen {

struct Table {
  std::string file;                   // "CTCP1RAFixedData.dat", ...
  std::vector<std::string> elements;  // element 0 first
};

// The six tables from the lists in `sourceDir`; false with a reason when a
// list is malformed (wrong count, element numbers out of order, codes not
// ascending).
bool buildTables(const std::string& sourceDir, std::vector<Table>& tables, std::string& error);

// The bytes of one table file.
std::string fileBytes(const Table& table);

// buildTables, then every file written into `outDir`.
bool generate(const std::string& sourceDir, const std::string& outDir, std::string& error);

}  // namespace tonegen

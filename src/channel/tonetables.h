#pragma once
// The family's CTCSS and DCS tables: element i is the text of tone index i
// as the image stores it (element 0 is "no tone" and empty).
#include <string>
#include <vector>

namespace tones {

constexpr int kCtcLast = 55;      // CTCSS elements 0..55
constexpr int kDcsLast = 104;     // DCS elements 0..104
constexpr int kDcsLastF0 = 83;    // family "0" has 83 codes

// "CTCP1RAFixedData.dat", "DCSP2RBFixedData.dat", ...
std::string familyCode(int family);
std::string ctcFile(int family);
std::string dcsFile(int family);
// Last element of the family's DCS file.
int dcsLast(int family);

// Reads both tables of the family from the program folder: the CTCSS file
// into elements 0..55 of `ctc`, then the DCS file into `dcs` (sized 0..104,
// family "0" filling 0..83). False with the failing file's name when a file
// is missing, short or malformed; the DCS file is not read when the CTCSS
// file fails.
bool load(int family, std::vector<std::string>& ctc, std::vector<std::string>& dcs, std::string& failedFile);

// Text of the fatal message for a table that could not be read:
// "Configuration file is not found", "FileName:<file>", "Processing is discontinued".
std::string missingText(const std::string& file);

// Exact comparison, quick on the many pairs that differ in length or first character.
inline bool same(const std::string& a, const std::string& b) {
  return a.size() == b.size() && (a.empty() || a[0] == b[0]) && a == b;
}

// A typed CTCSS text: upper-cased, then compared with elements 1..55 in
// order, each exactly or by its short form (the text before its last ".":
// "88" finds "88.5", "L67" finds "L67.0"). On a match `text` becomes the
// element and the index is returned; -1 when nothing matches.
int ctcLookup(const std::vector<std::string>& table, std::string& text);

// A DCS text: the first element 0..104 equal to it exactly; -1 when none.
int dcsLookup(const std::vector<std::string>& table, const std::string& text);

}  // namespace tones

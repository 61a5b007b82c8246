#pragma once
// The memory-encode table: stored call numbers of 16 digits each (16 rows
// with an 8-character name each for family "0", 10 rows without names for
// family "1", none for family "2"). The digits are shown in hex or DTMF key
// form by the encode format stored in the image; every nibble counts, 15
// included.
#include <cstdint>
#include <string>
#include <vector>

#include "selcall/digits.h"

constexpr int kMemoryEncodeDigits = 16;
constexpr int kMemoryNameLength = 8;

// Rows of the family's table: 16, 10 or 0.
int memoryEncodeRows(int family);
// DTMF key form for the DTMF formats, hex form otherwise.
digits::Form memoryEncodeForm(const std::vector<uint8_t>& image, int family);
// The characters a row box takes in that form (either letter case).
const std::string& memoryEncodeKeys(digits::Form form);

std::string memoryEncodeRow(const std::vector<uint8_t>& image, int family, int row, digits::Form form);
void putMemoryEncodeRow(std::vector<uint8_t>& image, int family, int row, const std::string& text, digits::Form form);

// Family "0" row names. A name ends at its first 0 byte; trailing blanks are
// not shown, so 8 blanks read as an empty name.
std::string memoryEncodeName(const std::vector<uint8_t>& image, int row);
// Writes the name padded with blanks to 8 bytes.
void putMemoryEncodeName(std::vector<uint8_t>& image, int row, const std::string& name);
// Every character is one of the name characters.
bool inMemoryNameSet(const std::string& name);
extern const std::string kMemoryNameSet;

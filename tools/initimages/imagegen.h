#pragma once
// Builds the blank initial images of the three families from a readable list
// of named fields (initial-images.txt).
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace imagegen {

// Family code ("P1RA", "P2RB", "P3RC") to its image. On a malformed list,
// error is set and the result is empty.
std::map<std::string, std::vector<uint8_t>> build(const std::string& listText, std::string& error);
// File name of a family's initial image, "InitialP1RA.dat".
std::string fileName(const std::string& familyCode);

}  // namespace imagegen

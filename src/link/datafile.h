#pragma once
// The data files: the family's raw image, no header.
#include <cstdint>
#include <string>
#include <vector>

namespace datafile {

// ".R1A", ".R2B" (ZR330), ".R2C" (ZR320), ".R3D"; "" for a family-"1" image
// whose radio type byte names neither radio.
std::string extension();
// "velmora(*.R1A)|*.R1A" and the like; "" where extension() is "".
std::string dialogFilter();
// The file pattern of the delete page, "*.R1A"; "" lists every file.
std::string filePattern();

// Word sum of bytes 0..2045 stored in bytes 2046 (low) and 2047 (high).
void storeFileSum(std::vector<uint8_t>& image);

// Splits a chosen full path into its folder (with the trailing "/") and bare name.
bool splitPath(const std::string& fullPath, std::string& folder, std::string& name);

}  // namespace datafile

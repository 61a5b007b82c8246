#pragma once
// The ANSI code page (Windows-1252): every text that enters or leaves the
// memory image or a file goes through here. Inside the program texts are UTF-8.
#include <cstdint>
#include <string>
#include <vector>

namespace ansi {

// Bytes in Windows-1252 to UTF-8. Bytes without a character there (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same number, so a
// round trip keeps every byte.
std::string toUtf8(const std::string& bytes);
std::string toUtf8(const uint8_t* bytes, size_t n);

// UTF-8 to Windows-1252 bytes; a character the code page lacks becomes '?'.
std::string fromUtf8(const std::string& utf8);

// Number of characters (code points) of a UTF-8 text.
size_t charCount(const std::string& utf8);

}  // namespace ansi

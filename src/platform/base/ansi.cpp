#include "platform/base/ansi.h"

namespace ansi {
namespace {
// 0x80..0x9F of Windows-1252; 0 marks a byte without a character.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void putUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one code point; malformed input yields U+FFFD and advances one byte.
uint32_t nextCodePoint(const std::string& s, size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  auto cont = [&](size_t k) { return k < s.size() && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80; };
  if (b < 0x80) { ++i; return b; }
  if ((b & 0xE0) == 0xC0 && cont(i + 1)) {
    uint32_t cp = ((b & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F);
    i += 2;
    return cp;
  }
  if ((b & 0xF0) == 0xE0 && cont(i + 1) && cont(i + 2)) {
    uint32_t cp = ((b & 0x0F) << 12) | ((static_cast<unsigned char>(s[i + 1]) & 0x3F) << 6) |
                  (static_cast<unsigned char>(s[i + 2]) & 0x3F);
    i += 3;
    return cp;
  }
  if ((b & 0xF8) == 0xF0 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
    uint32_t cp = ((b & 0x07) << 18) | ((static_cast<unsigned char>(s[i + 1]) & 0x3F) << 12) |
                  ((static_cast<unsigned char>(s[i + 2]) & 0x3F) << 6) | (static_cast<unsigned char>(s[i + 3]) & 0x3F);
    i += 4;
    return cp;
  }
  ++i;
  return 0xFFFD;
}
}  // namespace

std::string toUtf8(const uint8_t* bytes, size_t n) {
  std::string out;
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const uint8_t b = bytes[i];
    if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0) putUtf8(out, kHigh[b - 0x80]);
    else putUtf8(out, b);
  }
  return out;
}

std::string toUtf8(const std::string& bytes) {
  return toUtf8(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::string fromUtf8(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const uint32_t cp = nextCodePoint(utf8, i);
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) { out += static_cast<char>(cp); continue; }
    char mapped = '?';
    if (cp >= 0x80 && cp < 0xA0 && kHigh[cp - 0x80] == 0) mapped = static_cast<char>(cp);
    for (int k = 0; k < 32; ++k)
      if (kHigh[k] != 0 && kHigh[k] == cp) mapped = static_cast<char>(0x80 + k);
    out += mapped;
  }
  return out;
}

size_t charCount(const std::string& utf8) {
  size_t n = 0;
  for (size_t i = 0; i < utf8.size();) { nextCodePoint(utf8, i); ++n; }
  return n;
}

}  // namespace ansi

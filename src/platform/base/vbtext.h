#pragma once
// Text conversions the pages were designed around, always with "." as the
// decimal point whatever the user's locale.
#include <cstdint>
#include <string>

namespace vb {

// Leading number of a text: blanks skipped, "&H" hex and "&O" octal accepted,
// stops at the first character that cannot continue the number; 0 otherwise.
double Val(const std::string& text);

// Banker's rounding to 16 / 32 bits, saturating instead of overflowing.
int16_t CInt(double v);
int32_t CLng(double v);

// Number formatting by a pattern such as "####0.00000", "#0.0" or "00":
// '0' places are always written, '#' places only when needed; half away
// from zero, like the runtime it replaces.
std::string Format(double v, const std::string& pattern);

std::string UCase(const std::string& s);
std::string Trim(const std::string& s);
std::string RTrim(const std::string& s);
std::string LTrim(const std::string& s);

// Colour literal "&H00bbggrr&" (or "&Hbbggrr") to its number; 0 when malformed.
uint32_t ColorValue(const std::string& literal);

}  // namespace vb

#include "platform/base/vbtext.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>

namespace vb {

double Val(const std::string& text) {
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
  };
  skipBlanks();
  if (i + 1 < text.size() && text[i] == '&' && (text[i + 1] == 'H' || text[i + 1] == 'h' || text[i + 1] == 'O' || text[i + 1] == 'o')) {
    const int base = (text[i + 1] == 'H' || text[i + 1] == 'h') ? 16 : 8;
    i += 2;
    uint64_t v = 0;
    int digits = 0;
    for (; i < text.size(); ++i) {
      const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
      int d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else break;
      if (d >= base) break;
      v = v * base + d;
      if (++digits > 16) break;
    }
    // Like the original runtime, a 16-bit hex literal is signed.
    if (digits <= 4 && v > 0x7FFF) return static_cast<double>(static_cast<int16_t>(v));
    if (digits <= 8 && v > 0x7FFFFFFF) return static_cast<double>(static_cast<int32_t>(v));
    return static_cast<double>(v);
  }
  // Decimal: sign, digits (blanks inside are skipped), point, digits, exponent.
  std::string num;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) num += text[i++];
  bool point = false, any = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ' || c == '\t') continue;
    if (std::isdigit(static_cast<unsigned char>(c))) { num += c; any = true; continue; }
    if (c == '.' && !point) { num += c; point = true; continue; }
    break;
  }
  if (any && i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    size_t j = i + 1;
    std::string ex = "e";
    if (j < text.size() && (text[j] == '-' || text[j] == '+')) ex += text[j++];
    size_t k = j;
    while (k < text.size() && std::isdigit(static_cast<unsigned char>(text[k]))) ex += text[k++];
    if (k > j) num += ex;
  }
  if (!any) return 0.0;
  return std::strtod(num.c_str(), nullptr);
}

static double roundHalfEven(double v) {
  double r = std::nearbyint(v);  // default rounding mode is to nearest, ties to even
  return r;
}

int16_t CInt(double v) {
  const double r = roundHalfEven(v);
  if (std::isnan(r)) return 0;
  return static_cast<int16_t>(std::clamp(r, -32768.0, 32767.0));
}

int32_t CLng(double v) {
  const double r = roundHalfEven(v);
  if (std::isnan(r)) return 0;
  return static_cast<int32_t>(std::clamp(r, -2147483648.0, 2147483647.0));
}

std::string Format(double v, const std::string& pattern) {
  const size_t dot = pattern.find('.');
  const std::string intPart = pattern.substr(0, dot);
  const int decimals = dot == std::string::npos ? 0 : static_cast<int>(pattern.size() - dot - 1);
  const int minInt = static_cast<int>(std::count(intPart.begin(), intPart.end(), '0'));
  // Half away from zero on the decimal value; the tiny nudge keeps values like
  // 145.525 (stored as 145.52499999...) rounding as written.
  const double scale = std::pow(10.0, decimals);
  double scaled = std::fabs(v) * scale;
  scaled = std::floor(scaled + 0.5 + 1e-9 * std::max(1.0, scaled));
  const bool negative = v < 0 && scaled != 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.0f", scaled);
  std::string digits = buf;
  if (static_cast<int>(digits.size()) <= decimals) digits = std::string(decimals - digits.size() + 1, '0') + digits;
  std::string ip = digits.substr(0, digits.size() - decimals);
  std::string fp = digits.substr(digits.size() - decimals);
  while (ip.size() > 1 && ip[0] == '0') ip.erase(0, 1);
  if (ip == "0" && minInt == 0) ip.clear();
  if (static_cast<int>(ip.size()) < minInt) ip = std::string(static_cast<size_t>(minInt) - ip.size(), '0') + ip;
  std::string out = negative ? "-" : "";
  out += ip;
  if (decimals > 0) out += "." + fp;
  return out;
}

std::string UCase(const std::string& s) {
  std::string r = s;
  for (auto& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

std::string LTrim(const std::string& s) {
  size_t i = s.find_first_not_of(' ');
  return i == std::string::npos ? std::string() : s.substr(i);
}

std::string RTrim(const std::string& s) {
  size_t i = s.find_last_not_of(' ');
  return i == std::string::npos ? std::string() : s.substr(0, i + 1);
}

std::string Trim(const std::string& s) { return LTrim(RTrim(s)); }

uint32_t ColorValue(const std::string& literal) {
  std::string t = Trim(literal);
  if (t.size() < 3 || t[0] != '&' || (t[1] != 'H' && t[1] != 'h')) return 0;
  uint32_t v = 0;
  for (size_t i = 2; i < t.size() && t[i] != '&'; ++i) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(t[i])));
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return 0;
    v = (v << 4) | static_cast<uint32_t>(d);
  }
  return v & 0xFFFFFFu;
}

}  // namespace vb

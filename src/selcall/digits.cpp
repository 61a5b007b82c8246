#include "selcall/digits.h"

#include <cctype>

namespace digits {

Field wholeBytes(int first, int count) {
  Field f;
  for (int i = 0; i < count; ++i) {
    f.push_back({first + i, false});
    f.push_back({first + i, true});
  }
  return f;
}

Field lowNibble(int byte) { return {{byte, false}}; }
Field highNibble(int byte) { return {{byte, true}}; }

Field operator+(Field a, const Field& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::string decode(const std::vector<uint8_t>& image, const Field& field, Form form) {
  const std::string_view by = form == Form::Key ? kKeyByValue : kHexByValue;
  std::string s;
  for (const Nibble& n : field) {
    const uint8_t b = image.at(static_cast<size_t>(n.byte));
    s += by[n.high ? b >> 4 : b & 0x0F];
  }
  return s;
}

std::vector<int> values(const std::string& text, Form form) {
  std::vector<int> v;
  for (char raw : text) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(raw)));
    if (form == Form::Key) {
      const size_t p = kKeyByValue.find(c);
      if (p != std::string_view::npos) v.push_back(static_cast<int>(p));
    } else {
      const size_t p = kHexByValue.find(c);
      v.push_back(p == std::string_view::npos ? kEmptyDigit : static_cast<int>(p));
    }
  }
  return v;
}

void encode(std::vector<uint8_t>& image, const Field& field, const std::string& text, Form form) {
  const std::vector<int> v = values(text, form);
  for (size_t k = 0; k < field.size(); ++k) {
    const int d = k < v.size() ? v[k] : kEmptyDigit;
    uint8_t& b = image.at(static_cast<size_t>(field[k].byte));
    b = field[k].high ? static_cast<uint8_t>((b & 0x0F) | (d << 4)) : static_cast<uint8_t>((b & 0xF0) | d);
  }
}

namespace {
std::string translate(const std::string& text, const std::string& from, const std::string& to) {
  std::string out;
  for (char c : text) {
    const size_t p = from.find(c);
    out += p == std::string::npos ? c : to[p];
  }
  return out;
}
}  // namespace

std::string hexToKeys(const std::string& hex) { return translate(hex, strDtmfCodeDigits, strDtmfKeys); }
std::string keysToHex(const std::string& keys) { return translate(keys, strDtmfKeys, strDtmfCodeDigits); }

std::string convert(const std::string& text, Form from, Form to) {
  if (from == to) return text;
  return to == Form::Key ? hexToKeys(text) : keysToHex(text);
}

const std::string& alphabet(Form form) { return form == Form::Key ? strDtmfKeys : strDtmfCodeDigits; }
char emptyDigit(Form form) { return form == Form::Key ? 'C' : 'F'; }

}  // namespace digits

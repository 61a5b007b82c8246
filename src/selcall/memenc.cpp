#include "selcall/memenc.h"

#include "platform/base/ansi.h"

namespace {
int rowBase(int family) { return family == 0 ? 384 : 854; }
constexpr int kNameBase = 512;
}  // namespace

const std::string kMemoryNameSet =
    " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz.-+*=?<>,[]()#\\_:;%$!/";

int memoryEncodeRows(int family) { return family == 0 ? 16 : family == 1 ? 10 : 0; }

digits::Form memoryEncodeForm(const std::vector<uint8_t>& image, int family) {
  const int code = family == 0 ? image.at(42) & 0x0F : image.at(810) & 0x07;
  const bool dtmf = family == 0 ? (code == 2 || code == 4) : (code == 2 || code == 6);
  return dtmf ? digits::Form::Key : digits::Form::Hex;
}

const std::string& memoryEncodeKeys(digits::Form form) {
  static const std::string hex = "0123456789ABCDEFabcdef";
  static const std::string keys = "0123456789ABCD*#abcd";
  return form == digits::Form::Key ? keys : hex;
}

std::string memoryEncodeRow(const std::vector<uint8_t>& image, int family, int row, digits::Form form) {
  return digits::decode(image, digits::wholeBytes(rowBase(family) + 8 * row, 8), form);
}

void putMemoryEncodeRow(std::vector<uint8_t>& image, int family, int row, const std::string& text, digits::Form form) {
  digits::encode(image, digits::wholeBytes(rowBase(family) + 8 * row, 8), text, form);
}

std::string memoryEncodeName(const std::vector<uint8_t>& image, int row) {
  std::string raw;
  for (int i = 0; i < kMemoryNameLength; ++i) {
    const uint8_t b = image.at(static_cast<size_t>(kNameBase + 8 * row + i));
    if (b == 0) break;
    raw += static_cast<char>(b);
  }
  while (!raw.empty() && raw.back() == ' ') raw.pop_back();
  return ansi::toUtf8(raw);
}

void putMemoryEncodeName(std::vector<uint8_t>& image, int row, const std::string& name) {
  std::string bytes = ansi::fromUtf8(name).substr(0, kMemoryNameLength);
  bytes.resize(kMemoryNameLength, ' ');
  for (int i = 0; i < kMemoryNameLength; ++i)
    image.at(static_cast<size_t>(kNameBase + 8 * row + i)) = static_cast<uint8_t>(bytes[static_cast<size_t>(i)]);
}

bool inMemoryNameSet(const std::string& name) { return name.find_first_not_of(kMemoryNameSet) == std::string::npos; }

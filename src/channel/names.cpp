#include "channel/names.h"

#include <algorithm>
#include <array>
#include <map>

#include "platform/base/ansi.h"

namespace names {
namespace {

const std::string kSetWide = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz.-+*=?<>,[]()#\\_:;%$!";
const std::string kSetUpper = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-+*/#_";

// The character each stored byte shows as, and back.
struct ByteChars {
  std::array<std::string, 256> text;
  std::map<std::string, uint8_t> byte;
  ByteChars() {
    for (int b = 0; b < 256; ++b) {
      const auto u = static_cast<uint8_t>(b);
      if (b < 0x20 || b == 0x7F) {
        // Control pictures: U+2400 + b, U+2421 for DEL (three UTF-8 bytes).
        const int cp = b == 0x7F ? 0x2421 : 0x2400 + b;
        text[u] = {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                   static_cast<char>(0x80 | (cp & 0x3F))};
      } else {
        text[u] = ansi::toUtf8(&u, 1);
      }
      byte[text[u]] = u;
    }
  }
};
const ByteChars& byteChars() {
  static const ByteChars table;
  return table;
}

// The characters of a UTF-8 text, each as its own UTF-8 sequence.
std::vector<std::string> chars(const std::string& text) {
  std::vector<std::string> out;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) == 0x80 && !out.empty()) out.back() += c;
    else out.emplace_back(1, c);
  }
  return out;
}

bool isSetChar(int family, const std::string& ch) {
  return ch.size() == 1 && nameSet(family).find(ch[0]) != std::string::npos;
}

std::map<std::string, int> foreignCounts(int family, const std::string& text) {
  std::map<std::string, int> counts;
  for (const std::string& ch : chars(text))
    if (!isSetChar(family, ch)) ++counts[ch];
  return counts;
}

}  // namespace

int nameCount(int family) {
  switch (family) {
    case 0: return 255;
    case 1: return 100;
    case 2: return 99;
    default: return 0;
  }
}

int nameOffset(int family, int index) {
  switch (family) {
    case 0: return 784 + 24 * index;  // bytes 16..23 of the channel's record
    case 1: return index < 50 ? 400 + kNameLength * index : 1424 + kNameLength * (index - 50);
    case 2: return 1024 + kNameLength * index;
    default: return -1;
  }
}

uint8_t fillByte(int family) { return family == 1 ? 0xFF : 0x00; }

const std::string& nameSet(int family) { return family == 1 ? kSetUpper : kSetWide; }

int lastPage(int family) { return family == 0 ? 5 : 1; }

std::string decodeName(const uint8_t* field) {
  if (field[0] == 0x00 || field[0] == 0xFF) return std::string();
  int n = kNameLength;
  while (n > 0 && (field[n - 1] == ' ' || field[n - 1] == 0x00 || field[n - 1] == 0xFF)) --n;
  std::string text;
  for (int k = 0; k < n; ++k) text += byteChars().text[field[k]];
  return text;
}

void encodeName(uint8_t* field, const std::string& name, uint8_t fill) {
  if (name.empty()) {
    std::fill(field, field + kNameLength, fill);
    return;
  }
  const std::vector<std::string> cs = chars(name);
  for (size_t k = 0; k < static_cast<size_t>(kNameLength); ++k) {
    if (k >= cs.size()) {
      field[k] = ' ';
      continue;
    }
    const auto it = byteChars().byte.find(cs[k]);
    field[k] = it != byteChars().byte.end() ? it->second : static_cast<uint8_t>('?');
  }
}

std::vector<std::string> subSetIniData(const std::vector<uint8_t>& image, int family) {
  std::vector<std::string> out(static_cast<size_t>(nameCount(family)));
  for (size_t i = 0; i < out.size(); ++i) {
    const auto at = static_cast<size_t>(nameOffset(family, static_cast<int>(i)));
    if (at + kNameLength <= image.size()) out[i] = decodeName(&image[at]);
  }
  return out;
}

void subPutChannelNameData(std::vector<uint8_t>& image, int family, const std::vector<std::string>& names,
                           const std::vector<std::string>& asLoaded) {
  const size_t count = std::min(names.size(), static_cast<size_t>(nameCount(family)));
  for (size_t i = 0; i < count; ++i) {
    if (i < asLoaded.size() && names[i] == asLoaded[i]) continue;
    const auto at = static_cast<size_t>(nameOffset(family, static_cast<int>(i)));
    if (at + kNameLength <= image.size()) encodeName(&image[at], names[i], fillByte(family));
  }
}

bool inNameSet(int family, const std::string& text) { return foreignCounts(family, text).empty(); }

bool addsForeign(int family, const std::string& before, const std::string& after) {
  const auto had = foreignCounts(family, before);
  for (const auto& [ch, n] : foreignCounts(family, after)) {
    const auto it = had.find(ch);
    if (it == had.end() || it->second < n) return true;
  }
  return false;
}

char typedChar(int family, int keyAscii) {
  if (keyAscii <= 0 || keyAscii > 127) return 0;
  char c = static_cast<char>(keyAscii);
  if (family == 1 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return nameSet(family).find(c) != std::string::npos ? c : 0;
}

std::string enteredText(int family, const std::string& text) {
  if (family != 1) return text;
  std::string out = text;
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::vector<int> foreignChannels(int family, const std::vector<std::string>& names) {
  std::vector<int> out;
  for (size_t i = 0; i < names.size(); ++i)
    if (!inNameSet(family, names[i])) out.push_back(static_cast<int>(i) + 1);
  return out;
}

std::string channelList(const std::vector<int>& channels) {
  std::string out;
  for (size_t k = 0; k < channels.size();) {
    size_t end = k;
    while (end + 1 < channels.size() && channels[end + 1] == channels[end] + 1) ++end;
    if (!out.empty()) out += ", ";
    out += std::to_string(channels[k]);
    if (end > k) out += "-" + std::to_string(channels[end]);
    k = end + 1;
  }
  return out;
}

int charCount(const std::string& text) { return static_cast<int>(chars(text).size()); }

BoxMove boxMove(const BoxPlace& at, int keyCode, int lastName) {
  const int i = at.box;
  const int p = at.page;
  const bool onLastPage = p >= lastPage(at.family);
  auto shown = [&](int b) { return b >= 0 && b < kBoxesPerPage && boxShown(p, b, lastName); };
  const BoxMove keep{};  // the key is left to the box
  const BoxMove stay{BoxMove::Stay};
  auto box = [](int b) { return BoxMove{BoxMove::Box, b}; };
  auto page = [](int pg, int b) { return BoxMove{BoxMove::ShowPage, b, pg}; };

  // Enter, Down at boxes 48 and 49, and the eighth typed character. Box 48
  // moves on to box 49 wherever that box holds a name (Down as Enter, so no
  // name is skipped); on the short last page of family "2" it is the last.
  auto next = [&]() {
    if (at.family == 2 && i == 48) return onLastPage ? stay : box(49);
    if (i == 49) return onLastPage ? stay : page(p + 1, 0);
    if (!shown(i + 1)) return stay;  // the family's last name
    return box(i + 1);
  };

  // Boxes fill a page from box 0 on, so a box below a shown one is shown:
  // only moves to a higher box need the test.
  switch (keyCode) {
    case 13: return next();
    case 37:  // Left: at the start of the text, one column left, or the end of the row above
      if (at.caret > 0 || i == 0) return keep;
      if (i <= 9) {
        for (int b = i - 1 + 40; b > i - 1; b -= 10)
          if (shown(b)) return box(b);
        return box(i - 1);
      }
      return box(i - 10);
    case 38:  // Up: the box above, the foot of the column to the left, the previous page
      if (i == 0) {
        if (p == 0) return stay;
        return page(p - 1, boxShown(p - 1, 49, lastName) ? 49 : 48);
      }
      return box(i - 1);
    case 39:  // Right: at the end of the text, one column right, or the start of the next row
      if (at.caret < at.textLength) return keep;
      if (p == 1 && i == 48) return keep;
      if (i <= 39) return shown(i + 10) ? box(i + 10) : keep;
      if (i <= 48) return box(i - 39);
      return keep;
    case 40:  // Down: the box below, the head of the next column, the next page
      if (i == 48 || i == 49) return next();
      return shown(i + 1) ? box(i + 1) : keep;
    default: return keep;
  }
}

}  // namespace names

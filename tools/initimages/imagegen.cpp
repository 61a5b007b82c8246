#include "imagegen.h"

#include <sstream>

namespace imagegen {
namespace {
const std::map<std::string, size_t> kSizes = {{"P1RA", 6888}, {"P2RB", 2048}, {"P3RC", 2560}};

bool parseNumber(const std::string& t, long& v) {
  try {
    size_t used = 0;
    v = std::stol(t, &used, 0);
    return used == t.size();
  } catch (...) {
    return false;
  }
}
}  // namespace

std::string fileName(const std::string& familyCode) { return "Initial" + familyCode + ".dat"; }

// Lines:
//   fill  FAMILY FIRST LAST BYTE [BYTE ...] | what it is
//        repeats the byte pattern over FIRST..LAST (inclusive)
//   text  FAMILY FIRST "TEXT" | what it is      ASCII characters from FIRST
//   sum   FAMILY AT FROM TO | what it is
//        little-endian word sum of bytes FROM..TO, low 16 bits stored at AT, AT+1
// Numbers are decimal or 0x hex; '#' starts a comment line. Later lines win.
std::map<std::string, std::vector<uint8_t>> build(const std::string& listText, std::string& error) {
  std::map<std::string, std::vector<uint8_t>> images;
  for (const auto& [code, size] : kSizes) images[code].assign(size, 0);
  std::istringstream in(listText);
  std::string line;
  int lineNo = 0;
  auto fail = [&](const std::string& why) {
    error = "line " + std::to_string(lineNo) + ": " + why;
    images.clear();
    return images;
  };
  while (std::getline(in, line)) {
    ++lineNo;
    const size_t bar = line.find('|');
    std::string body = line.substr(0, bar);
    if (body.find_first_not_of(" \t\r") == std::string::npos || body[body.find_first_not_of(" \t")] == '#') continue;
    std::istringstream words(body);
    std::string verb, family;
    words >> verb >> family;
    if (!images.count(family)) return fail("unknown family '" + family + "'");
    auto& image = images[family];
    if (verb == "fill") {
      std::string a, b, t;
      long first, last;
      words >> a >> b;
      if (!parseNumber(a, first) || !parseNumber(b, last) || first < 0 || last < first ||
          static_cast<size_t>(last) >= image.size())
        return fail("bad range");
      std::vector<uint8_t> pattern;
      while (words >> t) {
        long v;
        if (!parseNumber("0x" + t, v) || v < 0 || v > 255) return fail("bad byte '" + t + "'");
        pattern.push_back(static_cast<uint8_t>(v));
      }
      if (pattern.empty()) return fail("no bytes");
      for (long i = first; i <= last; ++i) image[static_cast<size_t>(i)] = pattern[static_cast<size_t>(i - first) % pattern.size()];
    } else if (verb == "text") {
      std::string a;
      long first;
      words >> a;
      if (!parseNumber(a, first) || first < 0) return fail("bad offset");
      const size_t q1 = body.find('"'), q2 = body.rfind('"');
      if (q1 == std::string::npos || q2 == q1) return fail("text needs quotes");
      const std::string text = body.substr(q1 + 1, q2 - q1 - 1);
      if (static_cast<size_t>(first) + text.size() > image.size()) return fail("text beyond the image");
      for (size_t i = 0; i < text.size(); ++i) image[static_cast<size_t>(first) + i] = static_cast<uint8_t>(text[i]);
    } else if (verb == "sum") {
      std::string a, b, c;
      long at, from, to;
      words >> a >> b >> c;
      if (!parseNumber(a, at) || !parseNumber(b, from) || !parseNumber(c, to) || from < 0 || to < from ||
          static_cast<size_t>(to) >= image.size() || at < 0 || static_cast<size_t>(at) + 1 >= image.size())
        return fail("bad sum");
      uint64_t sum = 0;
      for (long i = from; i + 1 <= to; i += 2) sum += image[static_cast<size_t>(i)] + 256u * image[static_cast<size_t>(i + 1)];
      image[static_cast<size_t>(at)] = static_cast<uint8_t>(sum & 0xFF);
      image[static_cast<size_t>(at + 1)] = static_cast<uint8_t>((sum >> 8) & 0xFF);
    } else {
      return fail("unknown verb '" + verb + "'");
    }
  }
  return images;
}

}  // namespace imagegen

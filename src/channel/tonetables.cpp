#include "channel/tonetables.h"

#include <algorithm>

#include "core/filecontrol.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"

namespace tones {

std::string familyCode(int family) {
  switch (family) {
    case 0: return "P1RA";
    case 1: return "P2RB";
    case 2: return "P3RC";
  }
  return "";
}

std::string ctcFile(int family) { return "CTC" + familyCode(family) + "FixedData.dat"; }
std::string dcsFile(int family) { return "DCS" + familyCode(family) + "FixedData.dat"; }
int dcsLast(int family) { return family == 0 ? kDcsLastF0 : kDcsLast; }

bool load(int family, std::vector<std::string>& ctc, std::vector<std::string>& dcs, std::string& failedFile) {
  failedFile.clear();
  if (familyCode(family).empty()) return false;
  std::vector<std::string> c(kCtcLast + 1), d(kDcsLast + 1);
  if (!objFileControl().blnGetStringData("", ctcFile(family), c, kCtcLast)) {
    failedFile = ctcFile(family);
    return false;
  }
  if (!objFileControl().blnGetStringData("", dcsFile(family), d, dcsLast(family))) {
    failedFile = dcsFile(family);
    return false;
  }
  ctc = std::move(c);
  dcs = std::move(d);
  return true;
}

std::string missingText(const std::string& file) {
  return LoadResString(10015) + "\r" + "FileName:" + file + "\r" + LoadResString(10016);
}

int ctcLookup(const std::vector<std::string>& table, std::string& text) {
  text = vb::UCase(text);
  if (text.empty()) return -1;
  const int last = std::min<int>(kCtcLast, static_cast<int>(table.size()) - 1);
  for (int i = 1; i <= last; ++i) {
    const std::string& element = table[static_cast<size_t>(i)];
    if (element.empty()) continue;
    if (text == element) return i;
    const size_t dot = element.rfind('.');
    if (dot != std::string::npos && text == element.substr(0, dot)) {
      text = element;
      return i;
    }
  }
  return -1;
}

int dcsLookup(const std::vector<std::string>& table, const std::string& text) {
  if (text.empty()) return -1;
  const int last = std::min<int>(kDcsLast, static_cast<int>(table.size()) - 1);
  for (int i = 0; i <= last; ++i)
    if (same(table[static_cast<size_t>(i)], text)) return i;
  return -1;
}

}  // namespace tones

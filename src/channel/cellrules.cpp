#include "channel/cellrules.h"

#include <algorithm>
#include <array>

#include "channel/tonetables.h"
#include "platform/base/vbtext.h"

namespace cellrules {

namespace {

struct Words {
  std::array<const char*, 5> word;
  int count;
};

// Option i of each column writes word i.
const Words& wordsOf(Choice c) {
  static const Words step{{"2.50", "5.00", "6.25", "10.00", "12.50"}, 5};
  static const Words width{{"WID", "NRW", "4KH"}, 3};
  static const Words mode{{"Simp", "Semi", "Dupl", "Repe"}, 4};
  static const Words scan{{"ON", "OFF"}, 2};
  static const Words power{{"HI", "LO"}, 2};
  static const Words pmfm{{"PM", "FM"}, 2};
  static const Words flag{{"1", ""}, 2};
  switch (c) {
    case Choice::Step: return step;
    case Choice::WideNarrow: return width;
    case Choice::Mode: return mode;
    case Choice::Scan: return scan;
    case Choice::TxPower: return power;
    case Choice::PMFM: return pmfm;
    case Choice::INV:
    case Choice::SH:
    case Choice::SR: break;
  }
  return flag;
}

}  // namespace

std::optional<Choice> choiceAt(int column) {
  switch (column) {
    case 1: return Choice::Step;
    case 3: return Choice::WideNarrow;
    case 4: return Choice::Mode;
    case 5: return Choice::Scan;
    case 6: return Choice::TxPower;
    case 9: return Choice::INV;
    case 10: return Choice::SH;
    case 11: return Choice::SR;
    case 12: return Choice::PMFM;
    default: return std::nullopt;
  }
}

int optionCount(Choice c) { return wordsOf(c).count; }

bool offered(Choice c, int family, int index) {
  if (index < 0 || index >= optionCount(c)) return false;
  if (family == 1 && ((c == Choice::Step && index == 0) || (c == Choice::WideNarrow && index == 2))) return false;
  return true;
}

bool optionText(Choice c, int family, int index, std::string& text) {
  if (!offered(c, family, index)) return false;
  text = wordsOf(c).word[static_cast<size_t>(index)];
  return true;
}

int typedOption(Choice c, int family, const std::string& cellText, int keyCode) {
  const int code = keyCode >= 96 ? keyCode - 48 : keyCode;
  if (code < '1' || code > '9' || cellText.size() != 1 || cellText[0] != code) return -1;
  const int option = code - '1';
  return offered(c, family, option) ? option : -1;
}

int enteredOption(Choice c, int family, const std::string& text) {
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '9') return typedOption(c, family, text, text[0]);
  const std::string word = folded(c, text);
  std::string written;
  for (int i = 0; i < optionCount(c); ++i)
    if (optionText(c, family, i, written) && written == word) return i;
  return -1;
}

int markedOption(Choice c, const std::string& text) {
  if (text.empty()) return kClearMarks;
  const Words& w = wordsOf(c);
  for (int i = 0; i < w.count; ++i)
    if (text == w.word[static_cast<size_t>(i)]) return i;
  return kKeepMarks;
}

bool allowed(Choice c, const std::string& text) { return text.empty() || markedOption(c, text) >= 0; }

std::string folded(Choice c, const std::string& text) { return c == Choice::Mode ? text : vb::UCase(text); }

bool enterCtcss(const std::vector<std::string>& table, const std::string& typed, ToneTexts& row) {
  std::string text = typed;
  if (!text.empty() && tones::ctcLookup(table, text) < 0) return false;
  row.ctcss = text;
  if (!text.empty()) {
    row.dcs.clear();
    row.inv.clear();
  }
  return true;
}

bool enterDcs(const std::vector<std::string>& table, const std::string& typed, ToneTexts& row) {
  if (!typed.empty() && tones::dcsLookup(table, typed) < 0) return false;
  row.dcs = typed;
  if (typed.empty()) row.inv.clear();
  else row.ctcss.clear();
  return true;
}

bool dcsClears(const std::string& text) { return text.size() >= 3 && vb::CInt(vb::Val(text)) == 0; }

bool numberCharacter(char c) { return (c >= '0' && c <= '9') || c == '.'; }

bool twoPoints(const std::string& text) {
  const size_t point = text.find('.');
  return point != std::string::npos && text.find('.', point + 1) != std::string::npos;
}

std::string frequencyFormat(const std::string& text) {
  bool digit = false;
  for (char c : text) {
    if (!numberCharacter(c)) return text;
    digit = digit || c != '.';
  }
  return digit && !twoPoints(text) ? vb::Format(vb::Val(text), "####0.00000") : text;
}

}  // namespace cellrules

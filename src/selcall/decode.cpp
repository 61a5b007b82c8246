#include "selcall/decode.h"

#include <algorithm>

#include "core/controldata.h"
#include "platform/base/vbtext.h"

namespace {
// A bit field of one byte; byte -1 when the family does not store it.
struct Bits {
  int byte = -1;
  int low = 0;
  int width = 0;
  int mask() const { return ((1 << width) - 1) << low; }
};

struct DecodeLayout {
  int format = 0;  // bits 0-2
  int decodeNo = 0, answerNo = 0, fixDisplayDigit = 0, killNo = 0;  // four bytes of digit nibbles each
  int autoResetTime = 0;                                             // the whole byte
  Bits beepTime, groupNo5Tone, groupNoDtmf, groupMode, groupDigit, monitorOutMode, answerTime, autoResetMode, resetNo,
      displayDigit, displayNo, limitedDecode, aniReceive, aniDisplayDigit, callReceive, emgReceiveDigit;
};

DecodeLayout layoutOf(int family) {
  DecodeLayout l;
  if (family == 0) {
    l.format = 66;
    l.decodeNo = 212;
    l.answerNo = 216;
    l.killNo = 220;
    l.fixDisplayDigit = 224;
    l.autoResetTime = 85;
    l.beepTime = {66, 3, 3};
    l.groupNo5Tone = {79, 0, 4};  // bits 5-7 are the encode page's
    l.groupNoDtmf = {187, 0, 4};
    l.groupMode = {45, 5, 1};
    l.groupDigit = {82, 4, 4};
    l.monitorOutMode = {66, 6, 2};
    l.answerTime = {67, 5, 3};
    l.autoResetMode = {67, 1, 4};
    l.resetNo = {81, 0, 2};
    l.displayDigit = {166, 0, 4};
    l.limitedDecode = {170, 4, 1};  // bit 5 is the encode page's
    return l;
  }
  l.format = 834;
  l.decodeNo = 830;
  l.answerNo = 836;
  l.killNo = 840;
  l.fixDisplayDigit = 944;
  l.autoResetTime = 853;
  l.beepTime = {834, 3, 3};
  l.groupNo5Tone = {847, 0, 4};  // bits 5-7 are the encode page's
  l.groupNoDtmf = {955, 0, 4};
  l.groupMode = {847, 4, 1};
  l.groupDigit = {850, 4, 4};
  l.monitorOutMode = {834, 6, 2};
  l.answerTime = {835, 5, 3};
  l.autoResetMode = {835, 1, 4};
  l.resetNo = {849, 0, 2};  // bits 2-3 emergency alarm, bits 4-7 the kill status
  l.displayDigit = {934, 0, 4};
  l.displayNo = {848, 4, 4};  // bits 0-3 are the miscellaneous page's
  l.limitedDecode = {939, 0, 1};
  l.aniReceive = {954, 7, 1};
  l.callReceive = {954, 5, 1};
  // The ANI display digit takes two bits on the mobile, three on the base
  // station; the rest of its byte is not ours.
  l.aniDisplayDigit = family == 2 ? Bits{959, 0, 3} : Bits{958, 0, 2};
  l.emgReceiveDigit = family == 2 ? Bits{1007, 0, 2} : Bits{1011, 0, 2};
  return l;
}

struct ListField {
  std::string DecodeValues::*value;
  Bits DecodeLayout::*bits;
  DecodeLine line;
};

// Every list setting with its field and the line whose control shows it.
const ListField kListFields[] = {
    {&DecodeValues::m_strBeepTime, &DecodeLayout::beepTime, kDecBeepTime},
    {&DecodeValues::m_strGroupNo5Tone, &DecodeLayout::groupNo5Tone, kDecGroupNo},
    {&DecodeValues::m_strGroupNoDtmf, &DecodeLayout::groupNoDtmf, kDecGroupNo},
    {&DecodeValues::m_strGroupMode, &DecodeLayout::groupMode, kDecGroupMode},
    {&DecodeValues::m_strGroupDigit, &DecodeLayout::groupDigit, kDecGroupDigit},
    {&DecodeValues::m_strMonitorOutMode, &DecodeLayout::monitorOutMode, kDecMonitorOutMode},
    {&DecodeValues::m_strAnswerTime, &DecodeLayout::answerTime, kDecAnswerTime},
    {&DecodeValues::m_strAutoResetMode, &DecodeLayout::autoResetMode, kDecAutoResetMode},
    {&DecodeValues::m_strResetNo, &DecodeLayout::resetNo, kDecResetNo},
    {&DecodeValues::m_strDisplayDigit, &DecodeLayout::displayDigit, kDecDisplayDigit},
    {&DecodeValues::m_strDisplayNo, &DecodeLayout::displayNo, kDecDisplayNo},
    {&DecodeValues::m_strLimitedDecode, &DecodeLayout::limitedDecode, kDecLimitedDecode},
    {&DecodeValues::m_strAniReceive, &DecodeLayout::aniReceive, kDecAniReceive},
    {&DecodeValues::m_strAniDisplayDigit, &DecodeLayout::aniDisplayDigit, kDecAniDisplayDigit},
    {&DecodeValues::m_strCallReceive, &DecodeLayout::callReceive, kDecCallReceive},
    {&DecodeValues::m_strEmgReceiveDigit, &DecodeLayout::emgReceiveDigit, kDecEmgReceiveDigit},
};

int byteAt(const Image& image, int index) {
  return index >= 0 && static_cast<size_t>(index) < image.size() ? image[static_cast<size_t>(index)] : 0;
}

int readBits(const Image& image, const Bits& b) { return (byteAt(image, b.byte) & b.mask()) >> b.low; }

void writeBits(Image& image, const Bits& b, int value) {
  if (b.byte < 0 || static_cast<size_t>(b.byte) >= image.size()) return;
  uint8_t& at = image[static_cast<size_t>(b.byte)];
  at = static_cast<uint8_t>((at & ~b.mask()) | ((value << b.low) & b.mask()));
}

int number(const std::string& text) { return static_cast<int>(vb::Val(text)); }

int storedFormat(const Image& image, int family) {
  return byteAt(image, family == 0 ? 66 : 834) & 0x07;
}

// The page's format for a stored format code; "" when families "1"/"2" hold
// a code that names no format.
std::string formatOf(int family, int code) {
  if (family == 0) return code == 1 ? kFormat5Tone : code == 2 ? kFormatDtmf : kFormatNone;
  switch (code) {
    case 0: return kFormat5Tone;
    case 3: return kFormatDtmf;
    case 4: return kFormatAllCall;
    case 7: return kFormatNone;
    default: return std::string();
  }
}

// The code a format is stored as.
int formatCode(int family, const std::string& format) {
  if (family == 0) return format == kFormat5Tone ? 1 : format == kFormatDtmf ? 2 : 0;
  return number(format);
}

bool isFormat(const std::string& f) {
  return f == kFormat5Tone || f == kFormatDtmf || f == kFormatAllCall || f == kFormatNone;
}

digits::Form formOf(bool dtmf) { return dtmf ? digits::Form::Key : digits::Form::Hex; }

// A code text as its eight digit values, read in its own form.
std::vector<int> codeDigits(const std::string& text, bool dtmf) {
  std::vector<int> d = digits::values(text, formOf(dtmf));
  d.resize(8, digits::kEmptyDigit);
  return d;
}

std::string codeText(const Image& image, int first, bool dtmf) {
  return digits::decode(image, digits::wholeBytes(first, 4), formOf(dtmf));
}
}  // namespace

bool decodeDtmfForm(int family, const std::string& format) {
  if (family == 0) return format == kFormatDtmf;
  return format == kFormatDtmf || format == kFormatAllCall;
}

DecodeValues subGetDecodeData(const Image& image, int family) {
  const DecodeLayout l = layoutOf(family);
  DecodeValues v;
  v.strDecodeFormat = formatOf(family, storedFormat(image, family));
  const bool dtmf = decodeDtmfForm(family, v.strDecodeFormat);
  v.m_strDecodeNo = codeText(image, l.decodeNo, dtmf);
  v.m_strAnswerNo = codeText(image, l.answerNo, dtmf);
  v.m_strFixDisplayDigit = codeText(image, l.fixDisplayDigit, false);
  v.m_strKillNo = codeText(image, l.killNo, dtmf);
  for (const ListField& f : kListFields)
    if ((l.*f.bits).byte >= 0) v.*f.value = std::to_string(readBits(image, l.*f.bits));
  v.m_strAutoResetTime = std::to_string(byteAt(image, l.autoResetTime));
  if (v.strDecodeFormat == kFormat5Tone) v.m_strFillChar = "F";
  else if (dtmf) v.m_strFillChar = "C";
  return v;
}

void subPutDecodeData(Image& image, int family, const DecodeValues& v, const DecodeEnables& on,
                      const DecodeValues& was) {
  const DecodeLayout l = layoutOf(family);
  if (v.strDecodeFormat != was.strDecodeFormat && isFormat(v.strDecodeFormat))
    writeBits(image, Bits{l.format, 0, 3}, formatCode(family, v.strDecodeFormat));

  // A code is compared by its digits: the same digits in another form (after
  // a format switch and back) are no change. Each text is read in the form it
  // is in, so a DTMF text is never packed as hex.
  auto code = [&](DecodeLine line, int first, const std::string DecodeValues::*text, bool alwaysHex) {
    if (!on[line]) return;
    const bool dtmf = !alwaysHex && v.m_strFillChar == "C";
    if (codeDigits(v.*text, dtmf) == codeDigits(was.*text, !alwaysHex && was.m_strFillChar == "C")) return;
    digits::encode(image, digits::wholeBytes(first, 4), v.*text, formOf(dtmf));
  };
  code(kDecDecodeNo, l.decodeNo, &DecodeValues::m_strDecodeNo, false);
  code(kDecAnswerNo, l.answerNo, &DecodeValues::m_strAnswerNo, false);
  code(kDecFixDisplayDigit, l.fixDisplayDigit, &DecodeValues::m_strFixDisplayDigit, true);
  code(kDecKillNo, l.killNo, &DecodeValues::m_strKillNo, false);

  for (const ListField& f : kListFields)
    if (on[f.line] && v.*f.value != was.*f.value) writeBits(image, l.*f.bits, number(v.*f.value));

  if (on[kDecAutoResetTime] && v.m_strAutoResetTime != was.m_strAutoResetTime &&
      static_cast<size_t>(l.autoResetTime) < image.size())
    image[static_cast<size_t>(l.autoResetTime)] =
        static_cast<uint8_t>(std::clamp(number(v.m_strAutoResetTime), 0, 255));
}

std::string decodeKillStatus(const Image& image, int family) {
  const bool killed = family == 0 ? byteAt(image, 64) == 0x4C && byteAt(image, 65) == 0x4B
                                  : (byteAt(image, 849) >> 4) == 0x0A;
  return killed ? "ON" : "OFF";
}

std::string decodeConvertCode(const std::string& text, digits::Form from, digits::Form to) {
  std::string eight = text.substr(0, 8);
  eight.resize(8, digits::emptyDigit(from));
  return digits::convert(eight, from, to);
}

std::string decodeMaskRow(int family, const std::string& format) {
  if (family < 0 || family > 2) return std::string();
  const auto& rows = modPublic.strDecMask[static_cast<size_t>(family)];
  if (format == kFormat5Tone) return rows[0];
  if (format == kFormatDtmf) return rows[3];
  if (format == kFormatAllCall) return rows[4].empty() ? rows[3] : rows[4];
  return rows[7];
}

DecodeEnables decodeEnablesFromMask(const std::string& row) {
  DecodeEnables e{};
  for (int k = 0; k < kDecodeSettings; ++k) e[static_cast<size_t>(k)] = maskEnabled(row, k);
  return e;
}

std::vector<std::string> decodeListItems(DecodeLine line, int family, bool dtmf) {
  switch (line) {
    case kDecBeepTime: return {"NON", "1 Time", "2 Time", "3 Time", "4 Time", "5 Time", "6 Time", "Continue"};
    case kDecGroupNo:
      if (dtmf) return {"D", "1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "*", "#", "A", "B", "C"};
      return {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E"};
    case kDecGroupMode:
    case kDecLimitedDecode:
    case kDecAniReceive:
    case kDecCallReceive: return kOffOn;
    case kDecGroupDigit:
      return {"Any", "1 Digit", "2 Digit", "3 Digit", "4 Digit", "5 Digit", "6 Digit", "7 Digit", "8 Digit"};
    case kDecMonitorOutMode: return {"Decode out", "Call out", "PTT out", "Pow ON out"};
    case kDecAnswerTime:
      return {"NON", "0.5 Sec", "1.0 Sec", "1.5 Sec", "2.0 Sec", "2.5 Sec", "3.0 Sec", "3.5 Sec"};
    case kDecAutoResetMode: return {"Total", "Receive", "Busy override", "CTCSS override"};
    case kDecResetNo:
      if (dtmf) return {"NON", "#", "A", "# A"};
      return {"NON", "C", "D", "C D"};
    case kDecDisplayDigit:
      return {"Any Digits", "1 Digits", "2 Digits", "3 Digits", "4 Digits",
              "5 Digits",   "6 Digits", "7 Digits", "8 Digits"};
    case kDecDisplayNo:
      return {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"};
    case kDecAniDisplayDigit:
      if (family == 2) return {"Any(3-8)", "3 Digits", "4 Digits", "5 Digits", "6 Digits", "7 Digits", "8 Digits"};
      return {"Any(3-5)", "3 Digits", "4 Digits", "5 Digits"};
    case kDecEmgReceiveDigit: return {"Any(3-5)", "3 Digits", "4 Digits", "5 Digits"};
    default: return {};
  }
}

int encodeFiveToneFormat(const Image& image, int family) { return byteAt(image, family == 0 ? 185 : 953) & 0x07; }

bool decodeFiveToneOptionsAllowed(const Image& image, int family) { return encodeFiveToneFormat(image, family) != 0; }

int decodeDisplayDigitRefusal(const Image& image, int family, const std::string& format) {
  if (format == kFormat5Tone) {
    bool fiveTone = false;
    if (family == 0) {
      const int enc = byteAt(image, 42) & 0x0F;
      fiveTone = enc == 1 || enc == 3;
    } else {
      const int enc = byteAt(image, 810) & 0x07;
      fiveTone = enc == 0 || enc == 1 || enc == 3 || enc == 4 || enc == 5;
    }
    return fiveTone && decodeFiveToneOptionsAllowed(image, family) ? 0 : 10041;
  }
  if (format == kFormatDtmf || format == kFormatAllCall) {
    bool dtmf = false;
    if (family == 0) {
      const int enc = byteAt(image, 42) & 0x0F;
      dtmf = enc == 2 || enc == 4;
    } else {
      const int enc = byteAt(image, 810) & 0x07;
      dtmf = enc == 2 || enc == 6;
    }
    const bool attach = (byteAt(image, family == 0 ? 186 : 954) & 0x40) != 0;
    return dtmf && attach ? 0 : 10059;
  }
  return 0;  // no decode: nothing to agree with
}

const std::array<const char*, kDecodeLines>& decodePrintFields() {
  static const std::array<const char*, kDecodeLines> names = {
      "strPrtDecodeNo",        "strPrtBeepTime",         "strPrtGroupNo",         "strPrtGroupMode",
      "strPrtGroupDigit",      "strPrtMonitorOutMode",   "strPrtAnswerNo",        "strPrtAnswerTime",
      "strPrtAutoResetTime",   "strPrtAutoResetMode",    "strPrtResetNo",         "strPrtDisplayDigit",
      "strPrtDisplayNo",       "strPrtFixDisplayDigit",  "strPrtLimitedDecode",   "strPrtAniReceive",
      "strPrtAniDisplayDigit", "strPrtCallReceive",      "strPrtEmgReceiveDigit", "strPrtKillNo",
      "strPrtKillStatus"};
  return names;
}

PrintTexts decodePrintTexts(const Image& image, int family) {
  const DecodeValues v = subGetDecodeData(image, family);
  const DecodeLayout l = layoutOf(family);
  const bool dtmf = decodeDtmfForm(family, v.strDecodeFormat);
  // The reset number list is the 5-tone one only in the 5-tone format; the
  // page starts with the DTMF one and no decode leaves it so.
  const bool dtmfLists = v.strDecodeFormat != kFormat5Tone;
  auto entry = [&](DecodeLine line, const std::string& index, bool keys) {
    const auto items = decodeListItems(line, family, keys);
    const double i = vb::Val(index);
    return i >= 0 && i < static_cast<double>(items.size()) ? items[static_cast<size_t>(i)] : std::string();
  };
  auto hex = [&](int first) { return codeText(image, first, false); };

  std::array<std::string, kDecodeLines> t;
  t[kDecDecodeNo] = v.m_strDecodeNo;
  t[kDecBeepTime] = entry(kDecBeepTime, v.m_strBeepTime, false);
  if (v.strDecodeFormat == kFormat5Tone) t[kDecGroupNo] = entry(kDecGroupNo, v.m_strGroupNo5Tone, false);
  else if (dtmf) t[kDecGroupNo] = entry(kDecGroupNo, v.m_strGroupNoDtmf, true);
  t[kDecGroupMode] = entry(kDecGroupMode, v.m_strGroupMode, false);
  t[kDecGroupDigit] = entry(kDecGroupDigit, v.m_strGroupDigit, false);
  t[kDecMonitorOutMode] = entry(kDecMonitorOutMode, v.m_strMonitorOutMode, false);
  t[kDecAnswerNo] = hex(l.answerNo);
  t[kDecAnswerTime] = entry(kDecAnswerTime, v.m_strAnswerTime, false);
  t[kDecAutoResetTime] = v.m_strAutoResetTime;
  t[kDecAutoResetMode] = entry(kDecAutoResetMode, v.m_strAutoResetMode, false);
  t[kDecResetNo] = entry(kDecResetNo, v.m_strResetNo, dtmfLists);
  t[kDecDisplayDigit] = entry(kDecDisplayDigit, v.m_strDisplayDigit, false);
  t[kDecFixDisplayDigit] = hex(l.fixDisplayDigit);
  t[kDecLimitedDecode] = entry(kDecLimitedDecode, v.m_strLimitedDecode, false);
  if (family != 0) {
    t[kDecDisplayNo] = entry(kDecDisplayNo, v.m_strDisplayNo, false);
    t[kDecAniReceive] = entry(kDecAniReceive, v.m_strAniReceive, false);
    t[kDecAniDisplayDigit] = entry(kDecAniDisplayDigit, v.m_strAniDisplayDigit, false);
    t[kDecCallReceive] = entry(kDecCallReceive, v.m_strCallReceive, false);
    t[kDecEmgReceiveDigit] = entry(kDecEmgReceiveDigit, v.m_strEmgReceiveDigit, false);
  }
  t[kDecKillNo] = v.m_strKillNo;
  t[kDecKillStatus] = decodeKillStatus(image, family);

  PrintTexts out;
  for (int k = 0; k < kDecodeLines; ++k) out[decodePrintFields()[static_cast<size_t>(k)]] = t[static_cast<size_t>(k)];
  return out;
}

bool subSetDecodeIniData() {
  modPublic.udtPrtDecode = decodePrintTexts(modPublic.bytRadioData, modPublic.family());
  return true;
}

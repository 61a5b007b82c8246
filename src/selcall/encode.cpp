#include "selcall/encode.h"

#include <algorithm>

#include "core/chanrows.h"
#include "platform/base/vbtext.h"
#include "selcall/digits.h"

namespace {

using Image = std::vector<uint8_t>;
using digits::Field;

// Bits of one byte: `width` bits from bit `shift`; byte -1 = not stored.
struct Place {
  int byte = -1;
  int shift = 0;
  int width = 0;
};

int get(const Image& image, Place p) {
  return (image.at(static_cast<size_t>(p.byte)) >> p.shift) & ((1 << p.width) - 1);
}

void put(Image& image, Place p, int v) {
  uint8_t& b = image.at(static_cast<size_t>(p.byte));
  const int mask = ((1 << p.width) - 1) << p.shift;
  b = static_cast<uint8_t>((b & ~mask) | ((v << p.shift) & mask));
}

std::string decimal(int v) { return std::to_string(v); }
int indexOf(const std::string& saved) { return static_cast<int>(vb::Val(saved)); }

// How a stored value gives a list index. Family "0" stores "none" of three
// settings as 0 where the list has it last.
enum class Coding { Plain, ZeroIsLast };

struct ListField {
  std::string EncodeValues::*value;
  EncList list;
  int row;
  Place places[3];  // by family
  Coding coding0 = Coding::Plain;
};

// In writing order: "Auto ANI encode" shares bit 0 of byte 844 with the
// family-"2" digit count and comes after it.
const ListField kListFields[] = {
    {&EncodeValues::str5ToneSet, EncList::FiveToneSet, 0, {{42, 4, 4}, {810, 3, 3}, {810, 3, 3}}},
    {&EncodeValues::strEncodeDigit, EncList::EncodeDigit, 1, {{76, 0, 4}, {844, 0, 4}, {844, 0, 4}}},
    {&EncodeValues::strEncodeDelay, EncList::EncodeDelay, 4, {{43, 0, 4}, {811, 0, 4}, {811, 0, 4}}},
    {&EncodeValues::strFrstToneTime, EncList::FirstToneTime, 5, {{43, 4, 4}, {811, 4, 4}, {811, 4, 4}}},
    {&EncodeValues::strRepeatToneNo, EncList::RepeatToneNo, 6, {{78, 4, 4}, {846, 4, 4}, {846, 4, 4}}},
    {&EncodeValues::strCallingTime, EncList::CallingTime, 7, {{76, 4, 2}, {844, 4, 2}, {844, 4, 2}}},
    {&EncodeValues::strEncodeFormatList, EncList::EncodeFormat, 8, {{185, 0, 8}, {953, 0, 3}, {953, 0, 3}}},
    {&EncodeValues::strApauseTime, EncList::ApauseTime, 9, {{77, 0, 2}, {845, 0, 2}, {845, 0, 2}}},
    {&EncodeValues::strRFirstToneTime, EncList::RFirstToneTime, 11, {{77, 4, 4}, {845, 4, 4}, {845, 4, 4}}},
    {&EncodeValues::strBpauseTime, EncList::BpauseTime, 12, {{78, 0, 2}, {846, 0, 2}, {846, 0, 2}}},
    {&EncodeValues::strAniEncodeMode, EncList::AniEncodeMode, 14, {{77, 2, 2}, {845, 2, 2}, {845, 2, 2}},
     Coding::ZeroIsLast},
    {&EncodeValues::strEmergencyMode, EncList::EmergencyMode, 17, {{62, 4, 2}, {846, 2, 2}, {846, 2, 2}},
     Coding::ZeroIsLast},
    {&EncodeValues::strEmergencyTime, EncList::EmergencyTime, 19, {{62, 0, 4}, {829, 0, 4}, {829, 0, 4}},
     Coding::ZeroIsLast},
    {&EncodeValues::strEmergencyAlarm, EncList::EmergencyAlarm, 20, {{62, 6, 2}, {849, 2, 2}, {849, 2, 2}}},
    {&EncodeValues::strCallRepeaterNo, EncList::CallRepeaterNo, 21, {{170, 5, 1}, {935, 0, 1}, {935, 0, 1}}},
    {&EncodeValues::strLcdClearbyPtt, EncList::LcdClearbyPtt, 24, {{}, {954, 0, 1}, {}}},
    {&EncodeValues::strDtmfEncode, EncList::DtmfEncode, 25, {{186, 2, 1}, {954, 2, 1}, {954, 2, 1}}},
    {&EncodeValues::strAttachDecodeNo, EncList::AttachDecodeNo, 26, {{186, 6, 1}, {954, 6, 1}, {954, 6, 1}}},
    {&EncodeValues::strEmergencySpeaker, EncList::EmergencySpeaker, 28, {{63, 0, 1}, {959, 0, 1}, {}}},
    {&EncodeValues::strAutoANIencode, EncList::AutoANIencode, 27, {{}, {}, {844, 0, 1}}},
};

struct CodeField {
  std::string EncodeValues::*value;
  Field fields[3];  // by family; empty = not stored
};

const CodeField& codeField(int k) {
  using namespace digits;
  static const CodeField kCodes[] = {
      {&EncodeValues::strEncodeNo,
       {wholeBytes(192, 7) + lowNibble(199), wholeBytes(812, 4) + highNibble(970) + wholeBytes(971, 3), {}}},
      {&EncodeValues::strREncodeNo, {wholeBytes(204, 4), wholeBytes(820, 4), wholeBytes(820, 4)}},
      {&EncodeValues::strAniEncodeNo, {wholeBytes(200, 4), wholeBytes(816, 4), wholeBytes(816, 4)}},
      {&EncodeValues::strEmergencyNo, {wholeBytes(208, 4), wholeBytes(824, 4), wholeBytes(824, 4)}},
      {&EncodeValues::strTranferNo, {{}, wholeBytes(948, 4), {}}},
  };
  return kCodes[k];
}
constexpr int kCodeFields = 5;

digits::Form formOf(const std::string& codeForm) { return codeForm == "C" ? digits::Form::Key : digits::Form::Hex; }

// The emergency and transfer channel bytes; family "0" has no transfer channel.
int emergencyChannelByte(int family) { return family == 0 ? 38 : 828; }
constexpr int kTransferChannelByte = 936;
constexpr int kNoChannel0 = 0;
constexpr int kNoChannel12 = 255;

int aniIntervalByte(int family) { return family == 0 ? 247 : family == 1 ? 1015 : 995; }
Place tonePeriodPlace(int family, bool dtmf) {
  if (family == 0) return {dtmf ? 191 : 84, 0, 4};
  return {dtmf ? 960 : 852, 0, 4};
}

std::string channelText(const Image& image, int family, int c) {
  if (c < 1 || c > encodeChannelLimit(image, family)) return "";
  return chanrows::channelUsed(family, image, c) ? decimal(c) : "";
}

uint8_t byteOfText(const std::string& text, double scale) {
  const double v = vb::Val(text) * scale;
  return static_cast<uint8_t>(std::clamp<int>(vb::CInt(v), 0, 255));
}

const int kFormatCode0[8] = {1, -1, 2, -1, 3, -1, 4, 0};  // page index -> family-"0" code

}  // namespace

std::string codeFormOf(const std::string& format) {
  if (format == "0" || format == "4") return "F";
  if (format == "2" || format == "6") return "C";
  return "";
}

int encodeChannelLimit(const std::vector<uint8_t>& image, int family) {
  if (family == 0) return chanrows::kF0Channels;
  if (family == 1) return (chanrows::lastGridRow(1, image) + 1) / 2;
  return 99;
}

bool encodeCleanChannels(std::vector<uint8_t>& image, int family) {
  if (family < 0 || family > 2 || image.size() <= kTransferChannelByte) return false;
  const uint8_t none = family == 0 ? kNoChannel0 : kNoChannel12;
  bool changed = false;
  auto clean = [&](size_t at) {
    const int c = image[at];
    if (c == none || c < 1 || c > encodeChannelLimit(image, family) || chanrows::channelUsed(family, image, c)) return;
    image[at] = none;
    changed = true;
  };
  clean(static_cast<size_t>(emergencyChannelByte(family)));
  // Family "2" never reads its transfer channel.
  if (family == 1) clean(kTransferChannelByte);
  return changed;
}

const std::vector<int>& tonePeriodCodes(bool dtmf) {
  static const std::vector<int> fiveTone = {2, 3, 4, 7, 10};
  static const std::vector<int> dtmfCodes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  return dtmf ? dtmfCodes : fiveTone;
}

int fiveToneSetPeriod(int set) {
  static const int kPeriods[8] = {10, 7, 7, 7, 7, 3, 4, 7};
  return set >= 0 && set < 8 ? kPeriods[set] : -1;
}

std::vector<std::string> encodeList(EncList list, int family) {
  std::vector<std::string> v;
  auto range = [&](int from, int to, int step, const std::string& before, const std::string& after) {
    for (int x = from; x <= to; x += step) v.push_back(before + decimal(x) + after);
  };
  switch (list) {
    case EncList::FiveToneSet: return {"CCIR", "1ZVEI", "2ZVEI", "3ZVEI", "PZVEI", "EIA", "EEA", "NATEL"};
    case EncList::EncodeDigit: range(0, 15, 1, "", " Digit"); break;
    case EncList::TonePeriod5: return {"20 ms", "30 ms", "40 ms", "70 ms", "100 ms"};
    case EncList::TonePeriodDtmf: range(10, 100, 10, "", " ms"); break;
    case EncList::EncodeDelay: range(family == 1 ? 70 : 0, family == 1 ? 1120 : 1050, 70, "", " ms"); break;
    case EncList::FirstToneTime:
    case EncList::RFirstToneTime: range(0, 1500, 100, "+", " ms"); break;
    case EncList::RepeatToneNo:
      for (char c : std::string("0123456789ABCDE")) v.push_back(std::string(1, c) + " Tone");
      v.push_back("NONE");
      break;
    case EncList::CallingTime: range(1, 4, 1, "", " Time"); break;
    case EncList::EncodeFormat:
      return {"Encode", "Encode + B + Decode", "Encode + A.pause + Decode", "Decode + A.pause + Encode",
              "Encode + ANI"};
    case EncList::ApauseTime: range(0, 300, 100, "", " ms"); break;
    case EncList::BpauseTime: range(100, 400, 100, "", " ms"); break;
    case EncList::AniEncodeMode: return {"START", "END", "BOTH", "NON"};
    case EncList::EmergencyMode: return {"10/10Sec", "10/10Sec With Alarm", "20/10Sec With Alarm", "NON"};
    case EncList::EmergencyTime:
      range(1, 15, 1, "", " Hour");
      v.push_back("NON");
      break;
    case EncList::EmergencyAlarm: return {"886 Hz", "1981 Hz", "2400 Hz", "2800 Hz"};
    case EncList::CallRepeaterNo:
    case EncList::LcdClearbyPtt:
    case EncList::DtmfEncode:
    case EncList::AutoANIencode: return {"DISABLE", "ENABLE"};
    case EncList::AttachDecodeNo: return {"OFF", "ON"};
    case EncList::EmergencySpeaker: return {"Close", "Open"};
    case EncList::SingleToneTime: range(1, 4, 1, "", " Sec"); break;
  }
  return v;
}

EncodeLoad subGetEncodeData(const std::vector<uint8_t>& image, int family) {
  EncodeLoad load;
  EncodeValues& v = load.values;
  const size_t f = static_cast<size_t>(family);

  // Format: the stored code, or none the page offers.
  if (family == 0) {
    static const char* kByCode[5] = {"7", "0", "2", "4", "6"};
    const int code = image.at(42) & 0x0F;
    if (code <= 4) v.strEncodeFormat = kByCode[code];
  } else {
    const int code = image.at(810) & 0x07;
    if (code % 2 == 0 || code == 7) v.strEncodeFormat = decimal(code);
  }
  load.unknownFormat = v.strEncodeFormat.empty();
  v.strCodeForm = codeFormOf(v.strEncodeFormat);

  for (const ListField& lf : kListFields) {
    const Place p = lf.places[f];
    if (p.byte < 0) {
      v.*lf.value = "0";
      continue;
    }
    int index = get(image, p);
    if (family == 0 && lf.coding0 == Coding::ZeroIsLast) index = index == 0 ? (1 << p.width) - 1 : index - 1;
    if (index < static_cast<int>(encodeList(lf.list, family).size())) {
      v.*lf.value = decimal(index);
    } else {
      (v.*lf.value).clear();
      load.strays.push_back(lf.row);
    }
  }

  for (bool dtmf : {false, true}) {
    const std::vector<int>& codes = tonePeriodCodes(dtmf);
    const int code = get(image, tonePeriodPlace(family, dtmf));
    const auto it = std::find(codes.begin(), codes.end(), code);
    std::string& saved = dtmf ? v.strTonePeriodDtmf : v.strTonePeriod5;
    if (it != codes.end()) {
      saved = decimal(static_cast<int>(it - codes.begin()));
    } else {
      saved.clear();
      load.strays.push_back(3);
    }
  }

  const digits::Form form = formOf(v.strCodeForm);
  for (int k = 0; k < kCodeFields; ++k) {
    const CodeField& cf = codeField(k);
    v.*cf.value = cf.fields[f].empty() ? std::string() : digits::decode(image, cf.fields[f], form);
  }

  v.strAniIntervalTime = decimal(image.at(static_cast<size_t>(aniIntervalByte(family))));
  v.strEmergencyChannel = channelText(image, family, image.at(static_cast<size_t>(emergencyChannelByte(family))));
  if (family != 0) v.strTransferChannel = channelText(image, family, image.at(kTransferChannelByte));
  v.strEmergencyKeyTime = family == 0 ? vb::Format(image.at(90) / 10.0, "#0.0") : "0.0";

  // Single tone: family "0" 79 bits 5-7 (0 off, 1..4 on with a time);
  // families "1"/"2" 847 bit 5 on, bits 6-7 the time.
  if (family == 0) {
    const int st = image.at(79) >> 5;
    v.blnSingleTone = st != 0;
    if (st == 0) {
      v.strSingleToneTime = "0";
    } else if (st <= 4) {
      v.strSingleToneTime = decimal(st - 1);
    } else {
      load.strays.push_back(kSingleToneRow);
    }
  } else {
    v.blnSingleTone = (image.at(847) & 0x20) != 0;
    v.strSingleToneTime = v.blnSingleTone ? decimal(image.at(847) >> 6) : "0";
  }
  std::sort(load.strays.begin(), load.strays.end());
  load.strays.erase(std::unique(load.strays.begin(), load.strays.end()), load.strays.end());
  return load;
}

void subPutEncodeData(std::vector<uint8_t>& image, int family, const EncodeValues& v, const EncodeValues& was) {
  const size_t f = static_cast<size_t>(family);
  if (v.strEncodeFormat != was.strEncodeFormat && !v.strEncodeFormat.empty()) {
    const int index = indexOf(v.strEncodeFormat);
    if (family == 0) put(image, {42, 0, 4}, kFormatCode0[index & 7]);
    else put(image, {810, 0, 3}, index);
  }

  for (const ListField& lf : kListFields) {
    const Place p = lf.places[f];
    if (p.byte < 0 || v.*lf.value == was.*lf.value || (v.*lf.value).empty()) continue;
    int stored = indexOf(v.*lf.value);
    if (family == 0 && lf.coding0 == Coding::ZeroIsLast) stored = stored >= (1 << p.width) - 1 ? 0 : stored + 1;
    put(image, p, stored);
  }

  for (bool dtmf : {false, true}) {
    const std::string& now = dtmf ? v.strTonePeriodDtmf : v.strTonePeriod5;
    const std::string& then = dtmf ? was.strTonePeriodDtmf : was.strTonePeriod5;
    const std::vector<int>& codes = tonePeriodCodes(dtmf);
    const int index = indexOf(now);
    if (now == then || now.empty() || index < 0 || index >= static_cast<int>(codes.size())) continue;
    put(image, tonePeriodPlace(family, dtmf), codes[static_cast<size_t>(index)]);
  }

  for (int k = 0; k < kCodeFields; ++k) {
    const CodeField& cf = codeField(k);
    if (cf.fields[f].empty()) continue;
    const std::string& now = v.*cf.value;
    const std::string& then = was.*cf.value;
    if (digits::values(now, formOf(v.strCodeForm)) == digits::values(then, formOf(was.strCodeForm))) continue;
    digits::encode(image, cf.fields[f], now, formOf(v.strCodeForm));
  }

  if (v.strAniIntervalTime != was.strAniIntervalTime)
    image.at(static_cast<size_t>(aniIntervalByte(family))) = byteOfText(v.strAniIntervalTime, 1);
  const uint8_t none = family == 0 ? kNoChannel0 : kNoChannel12;
  if (v.strEmergencyChannel != was.strEmergencyChannel)
    image.at(static_cast<size_t>(emergencyChannelByte(family))) =
        v.strEmergencyChannel.empty() ? none : byteOfText(v.strEmergencyChannel, 1);
  if (family != 0 && v.strTransferChannel != was.strTransferChannel)
    image.at(kTransferChannelByte) = v.strTransferChannel.empty() ? none : byteOfText(v.strTransferChannel, 1);
  if (family == 0 && v.strEmergencyKeyTime != was.strEmergencyKeyTime)
    image.at(90) = byteOfText(v.strEmergencyKeyTime, 10);

  const bool timeChanged = v.strSingleToneTime != was.strSingleToneTime && !v.strSingleToneTime.empty();
  if (v.blnSingleTone != was.blnSingleTone || (v.blnSingleTone && timeChanged)) {
    const int time = std::clamp(indexOf(v.strSingleToneTime), 0, 3);
    if (family == 0) {
      // Switched on again with an unchanged time outside the list: as read.
      if (!v.blnSingleTone) put(image, {79, 5, 3}, 0);
      else if (!v.strSingleToneTime.empty()) put(image, {79, 5, 3}, time + 1);
    } else if (v.blnSingleTone) {
      put(image, {847, 5, 1}, 1);
      put(image, {847, 6, 2}, time);
    } else {
      put(image, {847, 5, 1}, 0);
    }
  }
}

PrintTexts encodePrintTexts(const std::vector<uint8_t>& image, int family) {
  const EncodeValues v = subGetEncodeData(image, family).values;
  auto listText = [&](EncList list, const std::string& saved) -> std::string {
    if (saved.empty()) return "";
    const std::vector<std::string> entries = encodeList(list, family);
    const int i = indexOf(saved);
    return i >= 0 && i < static_cast<int>(entries.size()) ? entries[static_cast<size_t>(i)] : "";
  };
  auto only = [&](bool has, const std::string& text) { return has ? text : std::string(); };
  const bool f0 = family == 0, f1 = family == 1, f2 = family == 2;

  std::string tone;
  if (v.strEncodeFormat == "0" || v.strEncodeFormat == "4") tone = listText(EncList::TonePeriod5, v.strTonePeriod5);
  if (v.strEncodeFormat == "2" || v.strEncodeFormat == "6")
    tone = listText(EncList::TonePeriodDtmf, v.strTonePeriodDtmf);
  std::string single = "NON";
  if (v.blnSingleTone) single = listText(EncList::SingleToneTime, v.strSingleToneTime);

  return {
      {"strPrt5ToneSet", listText(EncList::FiveToneSet, v.str5ToneSet)},
      {"strPrtEncodeDigit", listText(EncList::EncodeDigit, v.strEncodeDigit)},
      {"strPrtEncodeNo", v.strEncodeNo},
      {"strPrtTonePeriod", tone},
      {"strPrtEncodeDelay", listText(EncList::EncodeDelay, v.strEncodeDelay)},
      {"strPrtFirstToneTime", listText(EncList::FirstToneTime, v.strFrstToneTime)},
      {"strPrtRepeatToneNo", listText(EncList::RepeatToneNo, v.strRepeatToneNo)},
      {"strPrtCallingTime", listText(EncList::CallingTime, v.strCallingTime)},
      {"strPrtEncodeFormat", listText(EncList::EncodeFormat, v.strEncodeFormatList)},
      {"strPrtApauseTime", listText(EncList::ApauseTime, v.strApauseTime)},
      {"strPrtREncodeNo", v.strREncodeNo},
      {"strPrtRFirstToneTime", listText(EncList::RFirstToneTime, v.strRFirstToneTime)},
      {"strPrtBpauseTime", listText(EncList::BpauseTime, v.strBpauseTime)},
      {"strPrtAniEncodeNo", v.strAniEncodeNo},
      {"strPrtAniEncodeMode", listText(EncList::AniEncodeMode, v.strAniEncodeMode)},
      {"strPrtAniIntervalTime", v.strAniIntervalTime},
      {"strPrtEmergencyNo", v.strEmergencyNo},
      {"strPrtEmergencyMode", listText(EncList::EmergencyMode, v.strEmergencyMode)},
      {"strPrtEmergencyChannel", v.strEmergencyChannel},
      {"strPrtEmergencyTime", listText(EncList::EmergencyTime, v.strEmergencyTime)},
      {"strPrtEmergencyAlarm", listText(EncList::EmergencyAlarm, v.strEmergencyAlarm)},
      {"strPrtCallRepeaterNo", listText(EncList::CallRepeaterNo, v.strCallRepeaterNo)},
      {"strPrtTransferChannel", v.strTransferChannel},
      {"strPrtTransferNo", v.strTranferNo},
      {"strPrtLcdClearbyPtt", only(f1, listText(EncList::LcdClearbyPtt, v.strLcdClearbyPtt))},
      {"strPrtDtmfEncode", listText(EncList::DtmfEncode, v.strDtmfEncode)},
      {"strPrtAttachDecodeNo", listText(EncList::AttachDecodeNo, v.strAttachDecodeNo)},
      {"strPrtAutoAniEncode", only(f2, listText(EncList::AutoANIencode, v.strAutoANIencode))},
      {"strPrtSingleToneTime", single},
      {"strPrtEmergencySpeaker", only(!f2, listText(EncList::EmergencySpeaker, v.strEmergencySpeaker))},
      {"strPrtEmergencyKeyTime", only(f0, v.strEmergencyKeyTime)},
  };
}

#include "options/scan.h"

#include <cmath>

#include "core/controldata.h"
#include "core/soundmsg.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"

namespace options {

namespace {
using Image = std::vector<uint8_t>;

uint8_t byteAt(const Image& image, int at) {
  return at >= 0 && static_cast<size_t>(at) < image.size() ? image[static_cast<size_t>(at)] : 0;
}

void putBits(Image& image, FieldPlace p, int value) {
  if (p.byte < 0 || static_cast<size_t>(p.byte) >= image.size()) return;
  uint8_t& b = image[static_cast<size_t>(p.byte)];
  int shift = 0;
  while (shift < 8 && !((p.bits >> shift) & 1)) ++shift;
  b = static_cast<uint8_t>((b & ~p.bits) | ((value << shift) & p.bits));
}

int getBits(const Image& image, FieldPlace p) {
  int shift = 0;
  while (shift < 8 && !((p.bits >> shift) & 1)) ++shift;
  return (byteAt(image, p.byte) & p.bits) >> shift;
}

std::string tenthsText(int tenths) { return vb::Format(tenths / 10.0, "#0.0"); }

// A list index text of a list of `count` items, or -1.
int listIndex(const std::string& text, int count) {
  const int n = channelNumber(text);
  return n >= 0 && n < count ? n : -1;
}

// A delay text as tenths of a second within 0.1..9.9 s, or -1.
int delayTenths(const std::string& text) {
  std::string t = text;
  if (t.empty() || delayTimeMessage(t) != 0) return -1;
  return static_cast<int>(std::lround(vb::Val(t) * 10));
}

bool isNumber(const std::string& text) {
  const std::string t = vb::Trim(text);
  int digits = 0;
  int points = 0;
  for (char c : t) {
    if (c >= '0' && c <= '9') ++digits;
    else if (c == '.') ++points;
    else return false;
  }
  return digits > 0 && points <= 1;
}

constexpr bool isChannelField(ScanField f) { return index(f) <= index(ScanField::PrgScanPchHigh); }
constexpr bool isProgramScanField(ScanField f) { return f == ScanField::PrgScanPchLow || f == ScanField::PrgScanPchHigh; }
constexpr bool isDelayField(ScanField f) { return f == ScanField::ScanStartDelayTime || f == ScanField::PchWatchIntTime; }

// Family "1" radios treat a zero delay as unset; the page starts them at
// 3.0 s and 2.0 s.
int delayDefault(int family, ScanField f) {
  if (family != 1) return -1;
  return f == ScanField::ScanStartDelayTime ? 30 : 20;
}

int listCount(ScanField f) { return f == ScanField::ScanTime ? 16 : 2; }

const char* listItem(ScanField f, int i) {
  switch (f) {
    case ScanField::ScanTime: return kScanTimeItems[static_cast<size_t>(i)];
    case ScanField::ScanDecodeQuit:
    case ScanField::RemoteScanControl: return kOffOnItems[static_cast<size_t>(i)];
    case ScanField::RemoteScanChannel: return kRemoteScanChannelItems[static_cast<size_t>(i)];
    default: return kDisableEnableItems[static_cast<size_t>(i)];
  }
}

constexpr std::array<const char*, kScanFields> kPrintFields = {
    "strPrtAllScanPchLow",      "strPrtAllScanPchHigh",     "strPrtPrgScanPchLow",        "strPrtPrgScanPchHigh",
    "strPrtScanTime",           "strPrtScanDecodeQuit",     "strPrtScanStartDelayTime",   "strPrtPchWatchIntTime",
    "strPrtRemoteScanControl",  "strPrtRemoteScanChannel",  "strPrtPriorityChannelChange", "strPrtAutoAllChannelScan"};

ScanField fieldAt(int i) { return static_cast<ScanField>(i); }
}  // namespace

std::string& ScanValues::operator[](ScanField f) {
  return const_cast<std::string&>(static_cast<const ScanValues&>(*this)[f]);
}

const std::string& ScanValues::operator[](ScanField f) const {
  switch (f) {
    case ScanField::AllScanPchLow: return strAllScanPchLow;
    case ScanField::AllScanPchHigh: return strAllScanPchHigh;
    case ScanField::PrgScanPchLow: return strPrgScanPchLow;
    case ScanField::PrgScanPchHigh: return strPrgScanPchHigh;
    case ScanField::ScanTime: return strScanTime;
    case ScanField::ScanDecodeQuit: return strScanDecodeQuit;
    case ScanField::ScanStartDelayTime: return strScanStartDelayTime;
    case ScanField::PchWatchIntTime: return strPchWatchIntTime;
    case ScanField::RemoteScanControl: return strRemoteScanControl;
    case ScanField::RemoteScanChannel: return strRemoteScanChannel;
    case ScanField::PriorityChannelChange: return strPriorityChannelChange;
    case ScanField::AutoAllChannelScan: break;
  }
  return strAutoAllChannelScan;
}

FieldPlace scanFieldPlace(int family, ScanField f) {
  if (family < 0 || family > 2) return {};
  const bool f0 = family == 0;
  switch (f) {
    case ScanField::AllScanPchLow: return {f0 ? 34 : 802, 0xFF};
    case ScanField::AllScanPchHigh: return {f0 ? 35 : 804, 0xFF};
    case ScanField::PrgScanPchLow: return {f0 ? 36 : 803, 0xFF};
    case ScanField::PrgScanPchHigh: return {f0 ? 37 : 805, 0xFF};
    case ScanField::ScanTime: return {f0 ? 83 : 851, 0x0F};
    case ScanField::ScanDecodeQuit: return {f0 ? 186 : 954, 0x10};
    case ScanField::ScanStartDelayTime: return {family == 0 ? 168 : family == 1 ? 974 : 854, 0xFF};
    case ScanField::PchWatchIntTime: return {family == 0 ? 169 : family == 1 ? 975 : 855, 0xFF};
    case ScanField::RemoteScanControl: return f0 ? FieldPlace{} : FieldPlace{954, 0x01};
    case ScanField::RemoteScanChannel: return family == 2 ? FieldPlace{984, 0x01} : FieldPlace{};
    case ScanField::PriorityChannelChange: return f0 ? FieldPlace{} : FieldPlace{844, 0x40};
    case ScanField::AutoAllChannelScan: return f0 ? FieldPlace{} : FieldPlace{844, 0x80};
  }
  return {};
}

const std::string& scanMaskRow(int family) {
  const size_t row = family == 0 ? 0 : family == 1 ? 1 : 2;
  return modPublic.strScnMask[row];
}

ScanEnables scanEnables(int family, const std::string& maskRow) {
  ScanEnables on{};
  for (int i = 0; i < kScanFields; ++i) on[static_cast<size_t>(i)] = maskEnabled(maskRow, i) && scanFieldPlace(family, fieldAt(i)).byte >= 0;
  return on;
}

ScanEnables scanEnables() {
  const int family = modPublic.family();
  return scanEnables(family, scanMaskRow(family));
}

// ---- Channel references ----

int channelNumber(const std::string& text) {
  if (text.empty() || text.size() > 9) return -1;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

std::string decodeChannelByte(const Image& image, const ChanLayout& layout, int at, bool needsScan,
                              std::vector<ImageFix>& fixes) {
  const int c = byteAt(image, at);
  // The none value, 0 and numbers beyond the family's last channel name no
  // channel; they are shown empty and their byte is left for the user to set.
  if (!layout.isChannel(c)) return std::string();
  if (!layout.holdsData(image, c) || (needsScan && !layout.scanFlag(image, c))) {
    fixes.push_back({at, layout.noneByte()});
    return std::string();
  }
  return std::to_string(c);
}

void encodeChannelByte(Image& image, const ChanLayout& layout, int at, const std::string& text) {
  if (at < 0 || static_cast<size_t>(at) >= image.size()) return;
  if (text.empty()) {
    image[static_cast<size_t>(at)] = layout.noneByte();
    return;
  }
  const int c = channelNumber(text);
  if (layout.isChannel(c)) image[static_cast<size_t>(at)] = static_cast<uint8_t>(c);
}

int channelRefMessage(const std::string& text, const std::string& partner, bool needsScan, bool noDataIsScanOff,
                      const ChanLayout& layout, const Image& image) {
  if (text.empty()) return 0;
  const int c = channelNumber(text);
  if (!partner.empty() && c >= 0 && c == channelNumber(partner)) return kMsgSameChannel;
  if (!layout.isChannel(c)) return kMsgBeyondMax;
  if (!layout.holdsData(image, c)) return noDataIsScanOff ? kMsgScanOff : kMsgNoData;
  if (needsScan && !layout.scanFlag(image, c)) return kMsgScanOff;
  return 0;
}

int delayTimeMessage(std::string& text) {
  if (isNumber(text)) text = vb::Format(vb::Val(text), "#0.0");
  const size_t first = text.find('.');
  if (first != std::string::npos && text.find('.', first + 1) != std::string::npos) return kMsgDecimalPoint;
  // Only a pasted text can hold anything but digits and one point.
  if (!isNumber(text)) return kMsgRange;
  const double v = vb::Val(text);
  if (v < 0.1 || v > 9.9) return kMsgRange;
  return 0;
}

std::string checkMessageText(int id) {
  if (id == kMsgScanOff) return msgText(kMsgScanOff, kMsgScanOffSecond);
  return LoadResString(id);
}

// ---- Decoding and encoding ----

ScanDecoded decodeScan(const Image& image, const ChanLayout& layout, const ScanEnables& on) {
  ScanDecoded d;
  const int family = layout.family;
  for (int i = 0; i < kScanFields; ++i) {
    const ScanField f = fieldAt(i);
    if (!on[static_cast<size_t>(i)]) continue;
    const FieldPlace p = scanFieldPlace(family, f);
    if (p.byte < 0) continue;
    std::string& text = d.values[f];
    if (isChannelField(f)) {
      text = decodeChannelByte(image, layout, p.byte, isProgramScanField(f), d.fixes);
    } else if (isDelayField(f)) {
      int tenths = byteAt(image, p.byte);
      if (tenths == 0 && delayDefault(family, f) > 0) {
        tenths = delayDefault(family, f);
        d.fixes.push_back({p.byte, static_cast<uint8_t>(tenths)});
      }
      text = tenthsText(tenths);
    } else {
      text = std::to_string(getBits(image, p));
    }
  }
  return d;
}

ScanValues subGetScanData(const ScanEnables& on) {
  Image& image = modPublic.bytRadioData;
  ScanDecoded d = decodeScan(image, chanLayout(), on);
  for (const ImageFix& fix : d.fixes)
    if (fix.at >= 0 && static_cast<size_t>(fix.at) < image.size()) image[static_cast<size_t>(fix.at)] = fix.value;
  return d.values;
}

void encodeScan(Image& image, const ChanLayout& layout, const ScanValues& values, const ScanEnables& on,
                const ScanValues& asLoaded) {
  for (int i = 0; i < kScanFields; ++i) {
    const ScanField f = fieldAt(i);
    if (!on[static_cast<size_t>(i)] || values[f] == asLoaded[f]) continue;
    const FieldPlace p = scanFieldPlace(layout.family, f);
    if (p.byte < 0) continue;
    if (isChannelField(f)) {
      encodeChannelByte(image, layout, p.byte, values[f]);
    } else if (isDelayField(f)) {
      const int tenths = delayTenths(values[f]);
      if (tenths >= 0) putBits(image, p, tenths);
    } else {
      const int v = listIndex(values[f], listCount(f));
      if (v >= 0) putBits(image, p, v);
    }
  }
}

void subPutScanData(const ScanValues& values, const ScanEnables& on, const ScanValues& asLoaded) {
  encodeScan(modPublic.bytRadioData, chanLayout(), values, on, asLoaded);
}

// ---- Print texts ----

PrintTexts scanPrintTexts(const Image& image, int family, const std::string& maskRow) {
  const ScanEnables on = scanEnables(family, maskRow);
  const ScanValues v = decodeScan(image, chanLayout(family, image), on).values;
  PrintTexts texts;
  for (int i = 0; i < kScanFields; ++i) {
    const ScanField f = fieldAt(i);
    std::string& t = texts[kPrintFields[static_cast<size_t>(i)]];
    if (!on[static_cast<size_t>(i)]) continue;
    if (isChannelField(f) || isDelayField(f)) {
      t = v[f];
    } else {
      const int item = listIndex(v[f], listCount(f));
      if (item >= 0) t = listItem(f, item);
    }
  }
  return texts;
}

bool subSetScanIniData() {
  const int family = modPublic.family();
  modPublic.udtPrtScan = scanPrintTexts(modPublic.bytRadioData, family, scanMaskRow(family));
  return true;
}

}  // namespace options

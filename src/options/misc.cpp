#include "options/misc.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "options/chanlayout.h"
#include "platform/base/ansi.h"
#include "platform/base/vbtext.h"

namespace options {

namespace {

using Member = std::string MiscValues::*;

// How a field's bits map to its value text.
enum class Kind {
  Bits,       // the bits are the value (list index, flag, number)
  Tenths,     // a byte of tenths of a second, shown as seconds
  PowOff0,    // family "0" power-off nibble: 0 = "NON" (last entry), n = entry n - 1
  DecodeOut,  // nibble 0 = "ON"; written 0 for ON, 15 for OFF
  NameDelay,  // 255 = entry 0, otherwise the entry
};

struct Field {
  int item;
  Member member;
  int byte;
  int shift;
  int width;
  Kind kind = Kind::Bits;
};

using V = MiscValues;

// The squelch, the starting channel and the starting message are handled on
// their own; every other setting of each family is one field here.
const std::vector<Field> kFamily0 = {
    {kMisTTLTime, &V::strTTLTime, 188, 0, 8},
    {kMisPOWOFFTime, &V::strPOWOFFTime, 61, 4, 4, Kind::PowOff0},
    {kMisTXInhibit, &V::strTXInhibit, 82, 0, 4},
    {kMisPowerSaveTime, &V::strPowerSaveTime, 83, 4, 4},
    {kMisDecodeOutAlways, &V::strDecodeOutAlways, 45, 2, 1},
    {kMisTXPowerChange, &V::strTXPowerChange, 45, 4, 1},
    {kMisPowerOnResume, &V::strPowerOnResume, 45, 1, 1},
    {kMisToneSystemChange, &V::strToneSystemChange, 186, 1, 1},
    {kMisInformationDisplay, &V::strInformationDisplay, 186, 3, 1},
    {kMisAutoVoiceMute, &V::strAutoVoiceMute, 45, 3, 1},
    {kMisKeyLock, &V::strKeyLockPTT, 170, 0, 1},
    {kMisKeyLock, &V::strKeyLockCall, 170, 1, 1},
    {kMisKeyLock, &V::strKeyLockMute, 170, 2, 1},
    {kMisVOXResetTime, &V::strVOXResetTime, 167, 0, 8, Kind::Tenths},
    {kMisFKeyAssign, &V::strFKeyAssign, 86, 0, 4},
    {kMisF1KeyAssign, &V::strF1KeyAssign, 87, 0, 4},
    {kMisOptionKeyAssign, &V::strOptionKeyAssign, 88, 0, 4},
};

const std::vector<Field> kFamily1 = {
    {kMisTTLTime, &V::strTTLTime, 956, 0, 8},
    {kMisKeyONBeep, &V::strKeyONBeep, 809, 4, 1},
    {kMisPTTONBeep, &V::strPTTONBeep, 809, 5, 1},
    {kMisPTTOFFBeep, &V::strPTTOFFBeep, 809, 6, 1},
    {kMisPOWOFFTime, &V::strPOWOFFTime, 829, 4, 4},
    {kMisTXInhibit, &V::strTXInhibit, 850, 0, 4},
    {kMisPowerSaveTime, &V::strPowerSaveTime, 851, 4, 4},
    {kMisCTCSSMute, &V::strCTCSSMute, 1010, 0, 1},
    {kMisDecodeOutAlways, &V::strDecodeOutAlways, 848, 0, 4, Kind::DecodeOut},
    {kMisTXPowerChange, &V::strTXPowerChange, 835, 0, 1},
    {kMisPowerOnResume, &V::strPowerOnResume, 800, 0, 1},
    {kMisToneSystemChange, &V::strToneSystemChange, 954, 1, 1},
    {kMisInformationDisplay, &V::strInformationDisplay, 954, 3, 1},
    {kMisCHNameDelay, &V::strCHNameDelay, 957, 0, 8, Kind::NameDelay},
    {kMisKeyLock, &V::strKeyLockPTT, 938, 0, 1},
    {kMisKeyLock, &V::strKeyLockCall, 938, 1, 1},
    {kMisKeyLock, &V::strKeyLockMute, 938, 2, 1},
};

const std::vector<Field> kFamily2 = {
    {kMisTTLTime, &V::strTTLTime, 956, 0, 8},
    {kMisKeyONBeep, &V::strKeyONBeep, 809, 4, 1},
    {kMisPTTONBeep, &V::strPTTONBeep, 809, 5, 1},
    {kMisPTTOFFBeep, &V::strPTTOFFBeep, 809, 6, 1},
    {kMisTXInhibit, &V::strTXInhibit, 850, 0, 4},
    {kMisDecodeOutAlways, &V::strDecodeOutAlways, 848, 0, 4, Kind::DecodeOut},
    {kMisTXPowerChange, &V::strTXPowerChange, 835, 0, 1},
    {kMisPowerOnResume, &V::strPowerOnResume, 800, 0, 1},
    {kMisToneSystemChange, &V::strToneSystemChange, 954, 1, 1},
    {kMisInformationDisplay, &V::strInformationDisplay, 954, 3, 1},
    {kMisAutoVoiceMute, &V::strAutoVoiceMute, 1006, 0, 1},
    {kMisAutoTXResetTime, &V::strAutoTXResetTime, 958, 0, 8, Kind::Tenths},
    {kMisLowBatteryAlarm, &V::strLowBatteryAlarm, 809, 0, 1},
    {kMisKeyLock, &V::strKeyLockPTT, 938, 0, 1},
    {kMisKeyLock, &V::strKeyLockCall, 938, 1, 1},
    {kMisKeyLock, &V::strKeyLockMute, 938, 2, 1},
    {kMisRepeaterMode, &V::strRepeaterMode, 857, 0, 8},
    {kMisVotingTone, &V::strVotingTone, 998, 0, 8},
    {kMisCTCSSCutoff, &V::strCTCSSCutoff, 996, 0, 8},
    {kMisCTCSSDevWide, &V::strCTCSSDevWide, 867, 5, 3},
    {kMisCTCSSDevNarrow, &V::strCTCSSDevNarrow, 869, 5, 3},
    {kMisCTCSSDev4k, &V::strCTCSSDev4k, 871, 5, 3},
    {kMisVotingInterval, &V::strVotingInterval, 1000, 0, 8},
    {kMisTransmissionTime, &V::strTransmissionTime, 1001, 0, 8},
};

const std::vector<Field>& fieldsOf(int family) {
  static const std::vector<Field> none;
  switch (family) {
    case 0: return kFamily0;
    case 1: return kFamily1;
    case 2: return kFamily2;
    default: return none;
  }
}

// Squelch mode bit 0 and level of families "0" and "1" (family "2" has none).
struct SquelchSpot {
  int modeByte;
  int levelByte;
  int levelShift;
  int levelWidth;
};
std::optional<SquelchSpot> squelchSpot(int family) {
  if (family == 0) return SquelchSpot{45, 44, 0, 4};
  if (family == 1) return SquelchSpot{801, 801, 4, 3};
  return std::nullopt;
}

int startingChannelByte(int family) { return family == 0 ? 39 : 952; }
int messageFirstByte(int family) { return family == 0 ? 48 : 962; }

int bitsOf(const std::vector<uint8_t>& image, int byte, int shift, int width) {
  return (image.at(static_cast<size_t>(byte)) >> shift) & ((1 << width) - 1);
}

void putBits(std::vector<uint8_t>& image, int byte, int shift, int width, int value) {
  uint8_t& b = image.at(static_cast<size_t>(byte));
  const int mask = ((1 << width) - 1) << shift;
  b = static_cast<uint8_t>((b & ~mask) | ((value << shift) & mask));
}

// A whole number in a text (empty counts as 0, as the page's writes always
// did); nothing for a fraction.
std::optional<int> wholeNumber(const std::string& text) {
  const double v = vb::Val(text);
  if (v != std::floor(v) || v < 0 || v > 65535) return std::nullopt;
  return static_cast<int>(v);
}

std::string decimal(int v) { return std::to_string(v); }

std::string tenthsText(int tenths) {
  if (tenths % 10 == 0) return decimal(tenths / 10);
  return decimal(tenths / 10) + "." + decimal(tenths % 10);
}

std::string decodeField(const std::vector<uint8_t>& image, const Field& f, const MiscEnables& en) {
  const int raw = bitsOf(image, f.byte, f.shift, f.width);
  switch (f.kind) {
    case Kind::Bits: return decimal(raw);
    case Kind::Tenths: return tenthsText(raw);
    case Kind::PowOff0: return decimal(raw == 0 ? 15 : raw - 1);
    case Kind::DecodeOut: return en(f.item) && raw == 0 ? "1" : "0";
    case Kind::NameDelay: return raw < 255 ? decimal(raw) : "0";
  }
  return "0";
}

// The bits a value text stands for, nothing when it does not fit the field.
std::optional<int> encodeField(const Field& f, const std::string& text) {
  const int limit = (1 << f.width) - 1;
  std::optional<int> v;
  switch (f.kind) {
    case Kind::Bits: v = wholeNumber(text); break;
    case Kind::Tenths: {
      const double s = vb::Val(text);
      if (s < 0) return std::nullopt;
      v = static_cast<int>(std::lround(s * 10));
      break;
    }
    case Kind::PowOff0: {
      const auto i = wholeNumber(text);
      if (!i || *i > 15) return std::nullopt;
      v = *i == 15 ? 0 : *i + 1;
      break;
    }
    case Kind::DecodeOut:
      if (text == "1") v = 0;
      else if (text == "0") v = 15;
      break;
    case Kind::NameDelay: {
      const auto i = wholeNumber(text);
      if (!i || *i > 254) return std::nullopt;
      v = *i == 0 ? 255 : *i;
      break;
    }
  }
  if (!v || *v < 0 || *v > limit) return std::nullopt;
  return v;
}

std::vector<std::string> numbered(int from, int to, const std::string& suffix, int width = 0) {
  std::vector<std::string> out;
  for (int i = from; i <= to; ++i) {
    std::string n = decimal(i);
    while (static_cast<int>(n.size()) < width) n.insert(n.begin(), ' ');
    out.push_back(n + suffix);
  }
  return out;
}

std::vector<std::string> withFirst(std::string first, std::vector<std::string> rest) {
  rest.insert(rest.begin(), std::move(first));
  return rest;
}

}  // namespace

bool miscLayoutHas(int family, int item) {
  if (item == kMisStartingChannel || item == kMisStartingMessage) return family >= 0 && family <= 2;
  if (item == kMisSquelchVer || item == kMisSquelchFix) return squelchSpot(family).has_value();
  for (const Field& f : fieldsOf(family))
    if (f.item == item) return true;
  return false;
}

std::string miscMaskRow(int family, const std::vector<uint8_t>& image, const std::array<std::string, 5>& masks) {
  switch (family) {
    case 0: return masks[0];
    case 2: return masks[2];
    case 1:
      if (image.size() > 1017 && image[1017] == 1) return masks[4];
      if (image.size() > 1017 && image[1017] == 2) return masks[3];
      return std::string();
    default: return std::string();
  }
}

MiscEnables miscEnables(int family, const std::string& maskRow) {
  MiscEnables e;
  if (maskRow.size() < static_cast<size_t>(kMiscItems)) return e;
  for (int item = 1; item <= kMiscItems; ++item)
    e.on[static_cast<size_t>(item)] = maskRow[static_cast<size_t>(item - 1)] == '1' && miscLayoutHas(family, item);
  return e;
}

const std::vector<std::string>& miscList(int item, int family) {
  static const std::vector<std::string> none;
  static const std::vector<std::string> levels = numbered(0, 15, "");
  static const std::vector<std::string> levels1 = numbered(0, 7, "");
  static const std::vector<std::string> offOn = {"OFF", "ON"};
  static const std::vector<std::string> disEn = {"DISABLE", "ENABLE"};
  static const std::vector<std::string> powOff = [] {
    auto l = numbered(1, 15, " Hour");
    l.push_back("NON");
    return l;
  }();
  static const std::vector<std::string> txInhibit = {"NON",         "Busy ON",      "Busy OFF",      "CTC Dec ON",
                                                     "CTC Dec OFF", "5Tone Dec ON", "5Tone Dec OFF", "TX Lock out"};
  static const std::vector<std::string> powerSave = [] {
    std::vector<std::string> l = {"NON SAVE"};
    for (int k = 1; k <= 15; ++k) l.push_back(decimal(100 * k) + " ms");
    return l;
  }();
  static const std::vector<std::string> nameDelay = [] {
    std::vector<std::string> l = {"NON delay"};
    for (int k = 1; k <= 8; ++k) l.push_back(vb::Format(0.5 * k, "0.0") + " sec");
    return l;
  }();
  static const std::vector<std::string> keys = {"Non",     "Emergency", "Back-Light", "Mute",      "Call",        "All-Scan",
                                                "Prg-Scan", "Push-SW",   "Shift-Key",  "Key-Lock", "Move to P-ch"};
  static const std::vector<std::string> repeater = {"Mode 1", "Mode 2"};
  static const std::vector<std::string> votingTone = {"Non", "2175Hz", "1950Hz", "1600Hz"};
  static const std::vector<std::string> cutoff = [] {
    std::vector<std::string> l = {"Non"};
    for (int k = 1; k <= 50; ++k) {
      std::string n = decimal(10 * k);
      while (n.size() < 3) n.insert(n.begin(), ' ');
      l.push_back(n + " msec");
    }
    return l;
  }();
  static const std::vector<std::string> deviation = {"Max", "6", "5", "4", "3", "2", "1", "Min"};
  static const std::vector<std::string> interval = withFirst("Non", numbered(1, 10, " min", 2));
  static const std::vector<std::string> transmission = withFirst("Non", numbered(1, 10, " sec", 2));
  switch (item) {
    case kMisSquelchVer:
    case kMisSquelchFix: return family == 1 ? levels1 : levels;
    case kMisKeyONBeep:
    case kMisPTTONBeep:
    case kMisPTTOFFBeep:
    case kMisCTCSSMute:
    case kMisDecodeOutAlways:
    case kMisAutoVoiceMute:
    case kMisLowBatteryAlarm: return offOn;
    case kMisTXPowerChange:
    case kMisPowerOnResume:
    case kMisToneSystemChange:
    case kMisInformationDisplay: return disEn;
    case kMisPOWOFFTime: return powOff;
    case kMisTXInhibit: return txInhibit;
    case kMisPowerSaveTime: return powerSave;
    case kMisCHNameDelay: return nameDelay;
    case kMisFKeyAssign:
    case kMisF1KeyAssign:
    case kMisOptionKeyAssign: return keys;
    case kMisRepeaterMode: return repeater;
    case kMisVotingTone: return votingTone;
    case kMisCTCSSCutoff: return cutoff;
    case kMisCTCSSDevWide:
    case kMisCTCSSDevNarrow:
    case kMisCTCSSDev4k: return deviation;
    case kMisVotingInterval: return interval;
    case kMisTransmissionTime: return transmission;
    default: return none;
  }
}

int miscMessageLength(int family) { return family == 0 ? 12 : family == 2 ? 14 : 8; }

MiscValues miscDecode(const std::vector<uint8_t>& image, int family, const MiscEnables& en) {
  MiscValues v;
  if (family < 0 || family > 2 || image.size() < static_cast<size_t>(kImageSize)) return v;

  if (const auto sq = squelchSpot(family)) {
    const std::string level = decimal(bitsOf(image, sq->levelByte, sq->levelShift, sq->levelWidth));
    if (en(kMisSquelchVer)) {
      const bool fixed = (image[static_cast<size_t>(sq->modeByte)] & 1) != 0;
      v.strSquelchMode = fixed ? "1" : "0";
      (fixed ? v.strSquelchFix : v.strSquelchVer) = level;
    } else {
      // No mode offered: both levels show what is stored.
      v.strSquelchVer = v.strSquelchFix = level;
    }
  }

  for (const Field& f : fieldsOf(family)) v.*f.member = decodeField(image, f, en);

  const ChanLayout layout = chanLayout(family, image);
  const int channel = image[static_cast<size_t>(startingChannelByte(family))];
  if (channel != layout.noneByte() && layout.holdsData(image, channel)) v.strStartingChannel = decimal(channel);

  const int length = miscMessageLength(family);
  const uint8_t* first = &image[static_cast<size_t>(messageFirstByte(family))];
  // Blanks (and the zero bytes of a never-written message) show as no message;
  // the bytes stay as they are unless the user types one.
  bool allBlank = true;
  for (int i = 0; i < length; ++i) allBlank = allBlank && (first[i] == ' ' || first[i] == 0);
  if (!allBlank) v.strStartingMessage = ansi::toUtf8(first, static_cast<size_t>(length));
  return v;
}

bool miscCleanStartingChannel(std::vector<uint8_t>& image, int family) {
  if (family < 0 || family > 2 || image.size() < static_cast<size_t>(kImageSize)) return false;
  const ChanLayout layout = chanLayout(family, image);
  uint8_t& stored = image[static_cast<size_t>(startingChannelByte(family))];
  if (stored == layout.noneByte() || !layout.isChannel(stored) || layout.holdsData(image, stored)) return false;
  stored = layout.noneByte();
  return true;
}

void miscEncode(std::vector<uint8_t>& image, int family, const MiscEnables& en, const MiscValues& v,
                const MiscValues& was) {
  if (family < 0 || family > 2 || image.size() < static_cast<size_t>(kImageSize)) return;

  if (const auto sq = squelchSpot(family)) {
    const bool offered = (v.strSquelchMode == "0" && en(kMisSquelchVer)) || (v.strSquelchMode == "1" && en(kMisSquelchFix));
    if (offered) {
      const bool fixed = v.strSquelchMode == "1";
      const std::string& level = fixed ? v.strSquelchFix : v.strSquelchVer;
      const std::string& levelWas = was.strSquelchMode == "1" ? was.strSquelchFix : was.strSquelchVer;
      if (v.strSquelchMode != was.strSquelchMode) putBits(image, sq->modeByte, 0, 1, fixed ? 1 : 0);
      const auto n = wholeNumber(level);
      if (level != levelWas && n && *n < (1 << sq->levelWidth))
        putBits(image, sq->levelByte, sq->levelShift, sq->levelWidth, *n);
    }
  }

  for (const Field& f : fieldsOf(family)) {
    if (!en(f.item) || v.*f.member == was.*f.member) continue;
    if (const auto bits = encodeField(f, v.*f.member)) putBits(image, f.byte, f.shift, f.width, *bits);
  }

  if (en(kMisStartingChannel) && v.strStartingChannel != was.strStartingChannel) {
    const ChanLayout layout = chanLayout(family, image);
    uint8_t& stored = image[static_cast<size_t>(startingChannelByte(family))];
    const auto n = wholeNumber(v.strStartingChannel);
    if (v.strStartingChannel.empty()) stored = layout.noneByte();
    else if (n && layout.isChannel(*n)) stored = static_cast<uint8_t>(*n);
  }

  if (en(kMisStartingMessage) && v.strStartingMessage != was.strStartingMessage) {
    const std::string bytes = ansi::fromUtf8(v.strStartingMessage);
    const int length = miscMessageLength(family);
    for (int i = 0; i < length; ++i)
      image[static_cast<size_t>(messageFirstByte(family) + i)] =
          i < static_cast<int>(bytes.size()) ? static_cast<uint8_t>(bytes[static_cast<size_t>(i)]) : ' ';
  }
}

std::string formatTenths(const std::string& text) {
  // A plain decimal number: digits with at most one point, at least one digit.
  bool point = false, digit = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') digit = true;
    else if (c == '.' && !point) point = true;
    else return text;
  }
  if (!digit) return text;
  return vb::Format(vb::Val(text), "#0.0");
}

namespace {

// What a print field holds: a list entry (entry 0 for a value beyond the list
// when `guarded`, else empty), the value text itself, a time or a key lock.
enum class PrintKind { Entry, Guarded, Copy, Time, Lock };

struct PrintField {
  const char* name;
  int item;
  Member member;
  PrintKind kind;
};

const std::vector<PrintField> kPrintFields = {
    {"strPrtTtlTime", kMisTTLTime, &V::strTTLTime, PrintKind::Copy},
    {"strPrtKeyOnBeep", kMisKeyONBeep, &V::strKeyONBeep, PrintKind::Entry},
    {"strPrtPttOnBeep", kMisPTTONBeep, &V::strPTTONBeep, PrintKind::Entry},
    {"strPrtPttOffBeep", kMisPTTOFFBeep, &V::strPTTOFFBeep, PrintKind::Entry},
    {"strPrtPowOffTime", kMisPOWOFFTime, &V::strPOWOFFTime, PrintKind::Entry},
    {"strPrtTxInhibit", kMisTXInhibit, &V::strTXInhibit, PrintKind::Guarded},
    {"strPrtPowerSaveTime", kMisPowerSaveTime, &V::strPowerSaveTime, PrintKind::Entry},
    {"strPrtCtcssMute", kMisCTCSSMute, &V::strCTCSSMute, PrintKind::Entry},
    {"strPrtDecodeOutAlways", kMisDecodeOutAlways, &V::strDecodeOutAlways, PrintKind::Entry},
    {"strPrtTxPowerChange", kMisTXPowerChange, &V::strTXPowerChange, PrintKind::Entry},
    {"strPrtPowerOnResume", kMisPowerOnResume, &V::strPowerOnResume, PrintKind::Entry},
    {"strPrtStartingChannel", kMisStartingChannel, &V::strStartingChannel, PrintKind::Copy},
    {"strPrtStartingMessage", kMisStartingMessage, &V::strStartingMessage, PrintKind::Copy},
    {"strPrtToneSystemChange", kMisToneSystemChange, &V::strToneSystemChange, PrintKind::Entry},
    {"strPrtInfoDisplay", kMisInformationDisplay, &V::strInformationDisplay, PrintKind::Entry},
    {"strPrtChNameDelay", kMisCHNameDelay, &V::strCHNameDelay, PrintKind::Entry},
    {"strPrtAutoVoiceMute", kMisAutoVoiceMute, &V::strAutoVoiceMute, PrintKind::Entry},
    {"strPrtAutoTxResetTime", kMisAutoTXResetTime, &V::strAutoTXResetTime, PrintKind::Time},
    {"strPrtLowBatteryAlarm", kMisLowBatteryAlarm, &V::strLowBatteryAlarm, PrintKind::Entry},
    {"strPrtKeyLockPtt", kMisKeyLock, &V::strKeyLockPTT, PrintKind::Lock},
    {"strPrtKeyLockCall", kMisKeyLock, &V::strKeyLockCall, PrintKind::Lock},
    {"strPrtKeyLockMute", kMisKeyLock, &V::strKeyLockMute, PrintKind::Lock},
    {"strPrtFKeyAssign", kMisFKeyAssign, &V::strFKeyAssign, PrintKind::Guarded},
    {"strPrtF1KeyAssign", kMisF1KeyAssign, &V::strF1KeyAssign, PrintKind::Guarded},
    {"strPrtOptionKeyAssign", kMisOptionKeyAssign, &V::strOptionKeyAssign, PrintKind::Guarded},
    {"strPrtVoxResetTime", kMisVOXResetTime, &V::strVOXResetTime, PrintKind::Time},
    {"strPrtRepeaterMode", kMisRepeaterMode, &V::strRepeaterMode, PrintKind::Guarded},
    {"strPrtVotingTone", kMisVotingTone, &V::strVotingTone, PrintKind::Guarded},
    {"strPrtCtcssCutoffTime", kMisCTCSSCutoff, &V::strCTCSSCutoff, PrintKind::Guarded},
    {"strPrtCtcssDevWide", kMisCTCSSDevWide, &V::strCTCSSDevWide, PrintKind::Guarded},
    {"strPrtCtcssDevNarrow", kMisCTCSSDevNarrow, &V::strCTCSSDevNarrow, PrintKind::Guarded},
    {"strPrtCtcssDev4k", kMisCTCSSDev4k, &V::strCTCSSDev4k, PrintKind::Guarded},
    {"strPrtVotingInterval", kMisVotingInterval, &V::strVotingInterval, PrintKind::Guarded},
    {"strPrtTransmissionTime", kMisTransmissionTime, &V::strTransmissionTime, PrintKind::Guarded},
};

std::string entryText(const std::vector<std::string>& list, const std::string& value, bool guarded) {
  const auto i = wholeNumber(value);
  if (i && *i < static_cast<int>(list.size())) return list[static_cast<size_t>(*i)];
  return guarded && !list.empty() ? list.front() : std::string();
}

}  // namespace

PrintTexts miscPrintTexts(const std::vector<uint8_t>& image, int family, const MiscEnables& enables) {
  return miscPrintTexts(miscDecode(image, family, enables), image, family);
}

PrintTexts miscPrintTexts(const MiscValues& v, const std::vector<uint8_t>& image, int family) {
  PrintTexts p;
  p["strPrtSquelchVer"] = p["strPrtSquelchFix"] = "";
  if (const auto sq = squelchSpot(family); sq && image.size() > static_cast<size_t>(sq->modeByte)) {
    // The image's mode decides, whether or not the page offers the choice.
    if (image[static_cast<size_t>(sq->modeByte)] & 1)
      p["strPrtSquelchFix"] = entryText(miscList(kMisSquelchFix, family), v.strSquelchFix, false);
    else
      p["strPrtSquelchVer"] = entryText(miscList(kMisSquelchVer, family), v.strSquelchVer, false);
  }
  for (const PrintField& f : kPrintFields) {
    std::string& out = p[f.name];
    if (!miscLayoutHas(family, f.item)) continue;
    const std::string& value = v.*f.member;
    switch (f.kind) {
      case PrintKind::Entry: out = entryText(miscList(f.item, family), value, false); break;
      case PrintKind::Guarded: out = entryText(miscList(f.item, family), value, true); break;
      case PrintKind::Copy: out = value; break;
      case PrintKind::Time: out = formatTenths(value); break;
      case PrintKind::Lock: out = vb::Val(value) == 1 ? "DIS" : "ENA"; break;
    }
  }
  return p;
}

PrintTexts miscPrintTexts(const std::vector<uint8_t>& image, int family) {
  return miscPrintTexts(image, family, miscEnables(family, miscMaskRow(family, image, modPublic.strMiscMask)));
}

}  // namespace options

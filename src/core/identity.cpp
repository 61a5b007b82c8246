#include "core/identity.h"

#include <cstdint>

#include "core/chanrows.h"
#include "core/controldata.h"
#include "core/modeltables.h"
#include "core/modpublic.h"
#include "platform/base/ansi.h"
#include "platform/base/vbtext.h"

namespace {
uint8_t& at(int index) { return modPublic.bytRadioData.at(static_cast<size_t>(index)); }

// A page value as a byte: decimal text, empty = 0, held to 0..255.
uint8_t byteOf(const std::string& text) {
  const double v = vb::Val(text);
  if (v <= 0) return 0;
  if (v >= 255) return 255;
  return static_cast<uint8_t>(vb::CInt(v));
}

std::string decimal(int v) { return std::to_string(v); }

constexpr int kChannelOptionByte = 801;
constexpr int kTxRefByte = 856;
constexpr int kLowIfByte = 937;
constexpr int kUhfIfByte = 948;
}  // namespace

bool configItemHeldOff(int family, int item) {
  if (family == 0) return item == 3 || item == 6 || item == 7 || item == 8;
  if (family == 2) return item == 2;
  return false;
}

namespace {
// The enables a page hands in, less the fields the family never offers.
ConfigEnables ownFieldsOnly(ConfigEnables e) {
  const int family = modPublic.family();
  if (configItemHeldOff(family, 2)) e.pin = e.pinTime = false;
  if (configItemHeldOff(family, 3)) e.killPass = e.killPassTime = false;
  if (configItemHeldOff(family, 6)) e.channelName = false;
  if (configItemHeldOff(family, 7)) e.scrambler = false;
  return e;
}
}  // namespace

IdentityLayout identityLayout() {
  IdentityLayout l;
  switch (modPublic.family()) {
    case 0: l = {14, 15, 160, 163, 1012, 1014, 232}; break;
    case 1: l = {1016, 1017, 806, 937, 1012, 1014, 2038}; break;
    default: l = {1016, 1017, 806, 937, 992, 994, 2038}; break;
  }
  return l;
}

std::string nibbleDigits(int first, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) {
    const int b = at(first + i);
    if ((b & 0x0F) == 0x0F) break;
    s += decimal(b & 0x0F);
    if ((b >> 4) == 0x0F) break;
    s += decimal(b >> 4);
  }
  return s;
}

void putNibbleDigits(int first, int count, const std::string& digits) {
  // Each character stands for one nibble; anything but a digit is an empty one.
  auto nibble = [&](size_t k) -> int {
    if (k >= digits.size() || digits[k] < '0' || digits[k] > '9') return 0x0F;
    return digits[k] - '0';
  };
  for (int i = 0; i < count; ++i) {
    const size_t k = static_cast<size_t>(2 * i);
    at(first + i) = static_cast<uint8_t>(nibble(k + 1) * 16 + nibble(k));
  }
}

ConfigValues subGetConfigData(const ConfigEnables& given) {
  const ConfigEnables e = ownFieldsOnly(given);
  ConfigValues v;
  const IdentityLayout l = identityLayout();
  const int family = modPublic.family();
  v.strModelIndex = decimal(at(l.model));
  v.strRadioType = family == 1 ? decimal(at(1017)) : "1";
  if (e.pin) v.strPIN = nibbleDigits(l.pin, 3);
  if (!v.strPIN.empty() || e.pinTime) v.strPINTime = decimal(at(l.pinTime));
  if (e.killPass) v.strKillPass = nibbleDigits(l.killPass, 2);
  if (!v.strKillPass.empty() || e.killPassTime) v.strKillPassTime = decimal(at(l.killTime));
  if (e.serial) {
    std::string raw;
    for (int i = 0; i < 8; ++i) {
      const uint8_t b = at(l.serial + i);
      if (b == 0x20 || b == 0) continue;
      // A control byte reads as a blank, as on the printed reports.
      raw += (b < 0x20 || b == 0x7F) ? ' ' : static_cast<char>(b);
    }
    v.strSerialNo = ansi::toUtf8(raw);
  }
  if (e.channelName) v.strChannelNameOpt = (at(kChannelOptionByte) & 2) ? "1" : "0";
  if (e.scrambler) v.strScramblerOpt = (at(kChannelOptionByte) & 4) ? "1" : "0";
  const uint8_t tx = at(kTxRefByte);
  v.strTXRef = (tx == 0xFF || tx == 1) ? "1" : "0";
  if (family == 2) {
    v.str30MHzIF = at(kLowIfByte) == 0 ? "0" : "1";
    setFamily2LowIf(v.str30MHzIF == "1");
    const uint8_t u = at(kUhfIfByte);
    v.strUHFIF = (u == 0xFF || u == 0) ? "0" : "1";
    setFamily2UhfIf(v.strUHFIF == "1");
  }
  return v;
}

void subPutConfigData(const ConfigValues& v, const ConfigEnables& given, const ConfigValues& was) {
  const ConfigEnables e = ownFieldsOnly(given);
  const IdentityLayout l = identityLayout();
  const int family = modPublic.family();
  // The model code and the radio type stamp go together.
  if (v.strModelIndex != was.strModelIndex || v.strRadioType != was.strRadioType) {
    at(l.model) = byteOf(v.strModelIndex);
    if (family == 0) at(15) = 4;
    else if (family == 1) at(1017) = byteOf(v.strRadioType);
    else at(1017) = 3;
  }
  if (e.pin && v.strPIN != was.strPIN) putNibbleDigits(l.pin, 3, v.strPIN.substr(0, 6));
  bool pinTimeWritten = false;
  if (e.pinTime && v.strPINTime != was.strPINTime) {
    at(l.pinTime) = byteOf(v.strPINTime);
    pinTimeWritten = true;
  }
  if (e.killPass && v.strKillPass != was.strKillPass) putNibbleDigits(l.killPass, 2, v.strKillPass.substr(0, 4));
  if (e.killPassTime && v.strKillPassTime != was.strKillPassTime) at(l.killTime) = byteOf(v.strKillPassTime);
  if (e.serial && v.strSerialNo != was.strSerialNo) {
    std::string t = ansi::fromUtf8(v.strSerialNo).substr(0, 8);
    t.resize(8, ' ');
    for (int i = 0; i < 8; ++i) at(l.serial + i) = static_cast<uint8_t>(t[static_cast<size_t>(i)]);
  }
  if (e.scrambler && v.strScramblerOpt != was.strScramblerOpt)
    at(kChannelOptionByte) = static_cast<uint8_t>((at(kChannelOptionByte) & ~4) | (v.strScramblerOpt == "1" ? 4 : 0));
  if (family == 2) {
    if (v.strTXRef != was.strTXRef) at(kTxRefByte) = byteOf(v.strTXRef);
    // Byte 937 is shared with the PIN times; the 30 MHz IF choice is what it
    // holds last.
    if (v.str30MHzIF != was.str30MHzIF || pinTimeWritten) at(kLowIfByte) = byteOf(v.str30MHzIF);
    if (v.strUHFIF != was.strUHFIF) at(kUhfIfByte) = byteOf(v.strUHFIF);
  }
  if (e.channelName) {
    const bool on = v.strChannelNameOpt == "1";
    const bool bitSet = (at(kChannelOptionByte) & 2) != 0;
    if (on != bitSet) {
      if (family == 1) subSwitchChannelNames(on);
      else at(kChannelOptionByte) = static_cast<uint8_t>((at(kChannelOptionByte) & ~2) | (on ? 2 : 0));
    }
  }
}

void subSwitchChannelNames(bool namesOn) {
  const bool bitSet = (at(kChannelOptionByte) & 2) != 0;
  if (bitSet == namesOn) return;
  if (namesOn) {
    for (int i = 0; i < 400; ++i) {
      at(1024 + i) = at(400 + i);
      at(400 + i) = 0xFF;
      at(1424 + i) = 0xFF;
    }
    at(kChannelOptionByte) |= 2;
  } else {
    for (int i = 0; i < 400; ++i) at(400 + i) = at(1024 + i);
    static const uint8_t kEmptyRow[4] = {0xFF, 0x3F, 0x7F, 0x00};
    for (int a = 1024; a <= 1820; a += 4)
      for (int k = 0; k < 4; ++k) at(a + k) = kEmptyRow[k];
    at(kChannelOptionByte) &= static_cast<uint8_t>(~2);
  }
  modPublic.dimChanPara(namesOn ? 199 : 399);
}

bool channelNameSwitchDropsData(bool namesOn) {
  if (modPublic.family() != 1) return false;
  const bool bitSet = (at(kChannelOptionByte) & 2) != 0;
  if (bitSet == namesOn) return false;
  const auto& img = modPublic.bytRadioData;
  if (namesOn) {
    // Channels 101..200: rows 200..399 of the 200-channel layout.
    for (int a = 1024; a < 1824; a += 4)
      if (chanrows::rowUsed(1, &img[static_cast<size_t>(a)])) return true;
    return false;
  }
  // Names: 8 bytes each at 400..799 and 1424..1823; a first byte of 00 or FF is no name.
  for (int first : {400, 1424})
    for (int a = first; a < first + 400; a += 8)
      if (img[static_cast<size_t>(a)] != 0x00 && img[static_cast<size_t>(a)] != 0xFF) return true;
  return false;
}

int encodeFormat() {
  if (modPublic.family() == 0) return at(42) & 0x0F;
  return at(810) & 0x07;
}

bool memoryEncodeAllowed() {
  if (modPublic.family() == 2) return false;  // the base station has no table
  const int f = encodeFormat();
  if (modPublic.family() == 0) return f != 0 && f != 3 && f != 4;
  return f == 0 || f == 2;
}

bool channelNameAllowed() { return modPublic.family() == 0 || (at(kChannelOptionByte) & 2) != 0; }

void dimChannelArrays() {
  ModPublic& m = modPublic;
  int channels = 0;
  int names = 0;
  switch (m.family()) {
    case 0: channels = 255; names = 255; break;
    case 1: channels = (at(kChannelOptionByte) & 2) ? 100 : 200; names = 100; break;
    case 2: channels = 99; names = 99; break;
    default: return;
  }
  m.dimChanPara(2 * channels - 1);
  m.strChannelName.assign(static_cast<size_t>(names), std::string());
  if (m.family() == 0) m.strMemoryEncodeName.assign(16, std::string());
}

// ---- Information panel ----

namespace {
const char* kHex = "0123456789ABCDEF";

std::string hexNibbles(int first, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) {
    const int b = at(first + i);
    s += kHex[b & 0x0F];
    s += kHex[b >> 4];
  }
  return s;
}

std::string dtmfForm(const std::string& hex) {
  static const std::string lookup = "1234567890ABCDEF";
  static const std::string keys = "123456789D0*#ABC";
  std::string out;
  for (char c : hex) {
    const size_t p = lookup.find(c);
    out += p == std::string::npos ? c : keys[p];
  }
  return out;
}

std::string digitsWithTimes(int first, int count, int timesAt) {
  std::string d = nibbleDigits(first, count);
  if (d.empty()) return d;
  return d + " / " + vb::Format(at(timesAt), "##0");
}
}  // namespace

InformationPanel informationPanel() {
  InformationPanel p;
  p.lineEnabled.fill(true);
  const ModPublic& m = modPublic;
  const int family = m.family();
  if (family < 0) return p;
  const std::string& mask = m.strCfgMask[static_cast<size_t>(family)];
  auto by = [&](int line, int ch) { p.lineEnabled[static_cast<size_t>(line)] = maskEnabled(mask, ch - 1); };
  auto off = [&](int line) { p.lineEnabled[static_cast<size_t>(line)] = false; };
  if (family == 0) {
    off(3); off(5); off(6);
    by(2, 2); by(4, 4);
  } else if (family == 1) {
    off(11);
    by(2, 2); by(3, 3); by(4, 4); by(5, 6); by(6, 7);
  } else {
    off(2); off(6); off(9);
    by(3, 3); by(4, 4); by(5, 6);
    off(11);
  }
  const auto& on = p.lineEnabled;
  const IdentityLayout l = identityLayout();

  // Radio name: a variant byte beyond the table names nothing.
  const int code = at(l.model);
  if (family == 0) {
    if (const auto* r = modelRow0(code)) p.lblRadioName = r->strModelName;
  } else if (family == 1) {
    if (const auto* r = modelRow1(code)) {
      if (at(1017) == 1) p.lblRadioName = r->strModelName2;
      else if (at(1017) == 2) p.lblRadioName = r->strModelName;
    }
  } else if (const auto* r = modelRow2(code)) {
    p.lblRadioName = r->strModelName;
  }

  if (on[2]) p.lblPin = digitsWithTimes(l.pin, 3, l.pinTime);
  if (on[3]) p.lblKillPass = digitsWithTimes(l.killPass, 2, l.killTime);
  if (on[4]) {
    std::string raw;
    for (int i = 0; i < 8; ++i) {
      const uint8_t b = at(l.serial + i);
      if (b == 0x20 || b == 0) continue;
      // A control byte reads as a blank, as on the printed reports.
      raw += (b < 0x20 || b == 0x7F) ? ' ' : static_cast<char>(b);
    }
    p.lblSerialNo = ansi::toUtf8(raw);
  }
  if (on[5]) p.lblChlName = (at(kChannelOptionByte) & 2) ? "USE" : "NON";
  if (on[6]) p.lblDgiScrm = (at(kChannelOptionByte) & 4) ? "USE" : "NON";

  const int enc = encodeFormat();
  static const char* kEnc0[] = {"NON", "5Tone", "DTMF", "5Tone ANI", "DTMF ANI"};
  static const char* kEnc12[] = {"5tone", "digital", "DTMF", "DCS", "5tone ANI", "digital ANI", "DTMF ANI", "NON"};
  if (family == 0) {
    if (enc <= 4) p.lblEncode = kEnc0[enc];
  } else {
    p.lblEncode = kEnc12[enc];
  }

  if (family == 0 && enc == 1) {
    p.lblEncodeName = hexNibbles(192, 7) + kHex[at(199) & 0x0F];
  } else if (family == 1 && enc == 0) {
    p.lblEncodeName = hexNibbles(812, 4) + kHex[at(970) >> 4] + hexNibbles(971, 3);
  }
  if (!on[9]) p.lblEncodeName.clear();

  const int dec = family == 0 ? (at(66) & 0x07) : (at(834) & 0x07);
  static const char* kDec0[] = {"NON", "5Tone", "DTMF"};
  static const char* kDec12[] = {"CPU 5tone", "DCS", "digital", "DTMF Decode", "all call DTMF", "NON", "NON", "NON"};
  if (family == 0) {
    if (dec <= 2) p.lblDecode = kDec0[dec];
  } else {
    p.lblDecode = kDec12[dec];
  }
  const std::string s = hexNibbles(family == 0 ? 212 : 830, 4);
  if (family == 0) {
    if (dec == 1) p.lblDecodeName = s;
    else if (dec == 2) p.lblDecodeName = dtmfForm(s);
  } else {
    if (dec <= 2) p.lblDecodeName = s;
    else if (dec <= 4) p.lblDecodeName = dtmfForm(s);
  }

  if (family == 0 ? (at(79) & 0xE0) != 0 : (at(847) & 0x20) != 0) p.lblSingleTime = "[S]";

  if (family == 0 && m.bytRadioInfo.size() >= 12 && m.bytRadioInfo[0] != 0 && m.bytRadioInfo[1] != 0)
    p.lblFirmware = ansi::toUtf8(m.bytRadioInfo.data(), 12);
  return p;
}

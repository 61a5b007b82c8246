// The decode block of the memory image: layouts, format codes, code forms,
// keep masks, the kill status and the cross-checks against the encode side.
#include <gtest/gtest.h>

#include <functional>

#include "selcall/decode.h"

namespace {
Image filled(uint8_t value) { return Image(6888, value); }

void put(Image& image, int at, std::initializer_list<uint8_t> bytes) {
  for (uint8_t b : bytes) image.at(static_cast<size_t>(at++)) = b;
}

DecodeEnables allOn() {
  DecodeEnables e{};
  e.fill(true);
  return e;
}

// Writes `edit` applied to the decoded values back, every control enabled.
Image written(Image image, int family, const std::function<void(DecodeValues&)>& edit,
              DecodeEnables enables = allOn()) {
  const DecodeValues loaded = subGetDecodeData(image, family);
  DecodeValues v = loaded;
  edit(v);
  subPutDecodeData(image, family, v, enables, loaded);
  return image;
}

// The bytes where two images differ, as "byte=value" of the second.
std::string differences(const Image& a, const Image& b) {
  std::string out;
  char buf[32];
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) {
      std::snprintf(buf, sizeof buf, "%s%zu=%02X", out.empty() ? "" : " ", i, b[i]);
      out += buf;
    }
  return out;
}
}  // namespace

TEST(DecodeCodec, CodesReadInTheFormsOfTheFormatAndPackBack) {
  struct Case {
    int family;
    int formatAt;
    uint8_t formatCode;
    const char* format;
    const char* fill;
    const char* decodeNo;
  } cases[] = {
      {0, 66, 1, "0", "F", "12345AFF"}, {0, 66, 2, "3", "C", "123450CC"}, {0, 66, 0, "7", "", "12345AFF"},
      {1, 834, 0, "0", "F", "12345AFF"}, {1, 834, 3, "3", "C", "123450CC"}, {1, 834, 4, "4", "C", "123450CC"},
      {2, 834, 4, "4", "C", "123450CC"}, {2, 834, 7, "7", "", "12345AFF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.family) + " format code " + std::to_string(c.formatCode));
    Image image = filled(0xFF);
    image[static_cast<size_t>(c.formatAt)] = static_cast<uint8_t>(0xF8 | c.formatCode);
    const int base = c.family == 0 ? 212 : 830;
    put(image, base, {0x21, 0x43, 0xA5, 0xFF});  // decode number
    const DecodeValues v = subGetDecodeData(image, c.family);
    EXPECT_EQ(v.strDecodeFormat, c.format);
    EXPECT_EQ(v.m_strFillChar, c.fill);
    EXPECT_EQ(v.m_strDecodeNo, c.decodeNo);
    // Empty codes: "C" is the empty key; the fix display digit stays hex.
    EXPECT_EQ(v.m_strKillNo, std::string(c.fill) == "C" ? "CCCCCCCC" : "FFFFFFFF");
    EXPECT_EQ(v.m_strFixDisplayDigit, "FFFFFFFF");

    // The key "D" is the digit 0, the key "0" the digit 10; a short code is
    // filled with empty digits.
    const bool dtmf = std::string(c.fill) == "C";
    const Image after = written(image, c.family, [&](DecodeValues& w) {
      w.m_strDecodeNo = dtmf ? "D0*#ABCC" : "0ABCDEFF";
      w.m_strKillNo = "12";
      w.m_strFixDisplayDigit = "9";
    });
    const int kill = c.family == 0 ? 220 : 840, fix = c.family == 0 ? 224 : 944;
    EXPECT_EQ(differences(image, after),
              std::to_string(base) + "=A0 " + std::to_string(base + 1) + "=CB " + std::to_string(base + 2) + "=ED " +
                  std::to_string(kill) + "=21 " + std::to_string(fix) + "=F9");
  }
}

TEST(DecodeCodec, FormatCodesAndWhenTheyAreWritten) {
  const char* family0[8] = {"7", "0", "3", "7", "7", "7", "7", "7"};
  const char* family12[8] = {"0", "", "", "3", "4", "", "", "7"};
  for (int family = 0; family <= 2; ++family)
    for (int code = 0; code < 8; ++code) {
      SCOPED_TRACE(std::to_string(family) + "/" + std::to_string(code));
      Image image = filled(0x00);
      const size_t at = family == 0 ? 66 : 834;
      image[at] = static_cast<uint8_t>(0xA8 | code);
      EXPECT_EQ(subGetDecodeData(image, family).strDecodeFormat, (family == 0 ? family0 : family12)[code]);
      // Not picked by the user: the stored code stays, whatever it is.
      EXPECT_EQ(written(image, family, [](DecodeValues&) {})[at], image[at]);
    }

  // Family "0" stores DTMF as 2, 5-tone as 1, and both no decode and All Call
  // DTMF as 0; the other bits of the byte are kept.
  Image f0 = filled(0x00);
  f0[66] = 0xF9;
  EXPECT_EQ(written(f0, 0, [](DecodeValues& v) { v.strDecodeFormat = "3"; })[66], 0xFA);
  EXPECT_EQ(written(f0, 0, [](DecodeValues& v) { v.strDecodeFormat = "7"; })[66], 0xF8);
  EXPECT_EQ(written(f0, 0, [](DecodeValues& v) { v.strDecodeFormat = "4"; })[66], 0xF8);

  // Families "1"/"2": a code outside the four formats is kept until the user
  // picks a format, no decode included; the format is written even with
  // every control disabled.
  Image f1 = filled(0x00);
  f1[834] = 0x45;
  EXPECT_EQ(written(f1, 1, [](DecodeValues& v) { v.strDecodeFormat = "7"; }, DecodeEnables{})[834], 0x47);
  EXPECT_EQ(written(f1, 2, [](DecodeValues& v) { v.strDecodeFormat = "4"; })[834], 0x44);
}

TEST(DecodeCodec, EachSettingWritesOnlyItsOwnBits) {
  struct Case {
    int family;
    std::string DecodeValues::*value;
    const char* text;
    const char* expected;  // the only byte that changes, on an image of 0xFF
  } cases[] = {
      {0, &DecodeValues::m_strBeepTime, "0", "66=C7"},
      {0, &DecodeValues::m_strGroupNo5Tone, "0", "79=F0"},
      {0, &DecodeValues::m_strGroupNoDtmf, "0", "187=F0"},
      {0, &DecodeValues::m_strGroupMode, "0", "45=DF"},
      {0, &DecodeValues::m_strGroupDigit, "0", "82=0F"},
      {0, &DecodeValues::m_strMonitorOutMode, "0", "66=3F"},
      {0, &DecodeValues::m_strAnswerTime, "0", "67=1F"},
      {0, &DecodeValues::m_strAutoResetMode, "0", "67=E1"},
      {0, &DecodeValues::m_strResetNo, "0", "81=FC"},
      {0, &DecodeValues::m_strDisplayDigit, "0", "166=F0"},
      {0, &DecodeValues::m_strLimitedDecode, "0", "170=EF"},
      {0, &DecodeValues::m_strAutoResetTime, "7", "85=07"},
      // The portable stores none of these.
      {0, &DecodeValues::m_strDisplayNo, "3", ""},
      {0, &DecodeValues::m_strAniReceive, "1", ""},
      {0, &DecodeValues::m_strAniDisplayDigit, "2", ""},
      {0, &DecodeValues::m_strCallReceive, "1", ""},
      {0, &DecodeValues::m_strEmgReceiveDigit, "2", ""},
      {1, &DecodeValues::m_strBeepTime, "2", "834=D7"},
      {1, &DecodeValues::m_strGroupNo5Tone, "0", "847=F0"},
      {1, &DecodeValues::m_strGroupNoDtmf, "0", "955=F0"},
      {1, &DecodeValues::m_strGroupMode, "0", "847=EF"},
      {1, &DecodeValues::m_strGroupDigit, "8", "850=8F"},
      {1, &DecodeValues::m_strMonitorOutMode, "1", "834=7F"},
      {1, &DecodeValues::m_strAnswerTime, "0", "835=1F"},
      {1, &DecodeValues::m_strAutoResetMode, "3", "835=E7"},
      {1, &DecodeValues::m_strResetNo, "0", "849=FC"},
      {1, &DecodeValues::m_strDisplayDigit, "0", "934=F0"},
      {1, &DecodeValues::m_strDisplayNo, "0", "848=0F"},
      {1, &DecodeValues::m_strLimitedDecode, "0", "939=FE"},
      {1, &DecodeValues::m_strAniReceive, "0", "954=7F"},
      {1, &DecodeValues::m_strCallReceive, "0", "954=DF"},
      // Two bits of 958 on the mobile, three of 959 on the base station; the
      // rest of those bytes stays as it was.
      {1, &DecodeValues::m_strAniDisplayDigit, "2", "958=FE"},
      {2, &DecodeValues::m_strAniDisplayDigit, "2", "959=FA"},
      {1, &DecodeValues::m_strEmgReceiveDigit, "0", "1011=FC"},
      {2, &DecodeValues::m_strEmgReceiveDigit, "0", "1007=FC"},
      {2, &DecodeValues::m_strAutoResetTime, "200", "853=C8"},
      {2, &DecodeValues::m_strAutoResetTime, "", "853=00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.family) + " " + c.text + " -> " + c.expected);
    const Image image = filled(0xFF);
    auto edit = [&](DecodeValues& v) { v.*c.value = c.text; };
    EXPECT_EQ(differences(image, written(image, c.family, edit)), c.expected);
    // With its control disabled nothing is written.
    EXPECT_EQ(differences(image, written(image, c.family, edit, DecodeEnables{})), "");
  }
}

// What the reader takes from each field, bytes laid out by hand from the
// field maps, with every other bit of a shared byte set to something else.
TEST(DecodeCodec, EachSettingIsReadFromItsOwnBits) {
  Image f0 = filled(0x00);
  put(f0, 66, {0xE9});  // format 1 (5-tone), beep time 5, monitor out mode 3
  put(f0, 67, {0xB6});  // answer time 5, auto reset mode 11
  put(f0, 45, {0x20});
  put(f0, 79, {0xE7});
  put(f0, 81, {0xFE});
  put(f0, 82, {0x9C});
  put(f0, 85, {200});
  put(f0, 166, {0x34});
  put(f0, 170, {0x10});
  put(f0, 187, {0x1A});
  put(f0, 212, {0x21, 0x43, 0xA5, 0xFF});  // decode number
  put(f0, 216, {0x10, 0x32, 0x54, 0x76});  // answer number
  put(f0, 220, {0xEF, 0xCD, 0xAB, 0x89});  // kill number
  put(f0, 224, {0x98, 0xBA, 0xDC, 0xFE});  // fix display digit
  DecodeValues v = subGetDecodeData(f0, 0);
  EXPECT_EQ(v.strDecodeFormat, "0");
  EXPECT_EQ(v.m_strFillChar, "F");
  const std::vector<std::string> f0Read = {v.m_strBeepTime,      v.m_strMonitorOutMode, v.m_strAnswerTime,
                                           v.m_strAutoResetMode, v.m_strGroupMode,      v.m_strGroupNo5Tone,
                                           v.m_strResetNo,       v.m_strGroupDigit,     v.m_strAutoResetTime,
                                           v.m_strDisplayDigit,  v.m_strLimitedDecode,  v.m_strGroupNoDtmf};
  EXPECT_EQ(f0Read, (std::vector<std::string>{"5", "3", "5", "11", "1", "7", "2", "9", "200", "4", "1", "10"}));
  EXPECT_EQ(v.m_strDecodeNo, "12345AFF");
  EXPECT_EQ(v.m_strAnswerNo, "01234567");
  EXPECT_EQ(v.m_strKillNo, "FEDCBA98");
  EXPECT_EQ(v.m_strFixDisplayDigit, "89ABCDEF");
  EXPECT_EQ(decodeKillStatus(f0, 0), "OFF");
  put(f0, 64, {'L', 'K'});
  EXPECT_EQ(decodeKillStatus(f0, 0), "ON");

  for (int family : {1, 2}) {
    SCOPED_TRACE(family);
    Image image = filled(0x00);
    put(image, 834, {0x5B});  // format 3 (DTMF), beep time 3, monitor out mode 1
    put(image, 835, {0x4A});  // answer time 2, auto reset mode 5
    put(image, 847, {0x1C});  // group number 12, group mode on
    put(image, 848, {0x30});
    put(image, 849, {0xA1});  // reset number 1; the radio is killed
    put(image, 850, {0x70});
    put(image, 853, {45});
    put(image, 934, {0x06});
    put(image, 939, {0x01});
    put(image, 954, {0xA0});  // ANI receive and emergency-call receive on
    put(image, 955, {0x05});
    put(image, 958, {0xFD});
    put(image, 959, {0xFD});
    put(image, 1007, {0x03});
    put(image, 1011, {0xFE});
    put(image, 830, {0x21, 0x43, 0xA5, 0xFF});
    put(image, 944, {0x21, 0x43, 0xA5, 0xFF});
    v = subGetDecodeData(image, family);
    EXPECT_EQ(v.strDecodeFormat, "3");
    EXPECT_EQ(v.m_strFillChar, "C");
    const std::vector<std::string> read = {v.m_strBeepTime,      v.m_strMonitorOutMode, v.m_strAnswerTime,
                                           v.m_strAutoResetMode, v.m_strGroupNo5Tone,   v.m_strGroupMode,
                                           v.m_strDisplayNo,     v.m_strResetNo,        v.m_strGroupDigit,
                                           v.m_strAutoResetTime, v.m_strDisplayDigit,   v.m_strLimitedDecode,
                                           v.m_strAniReceive,    v.m_strCallReceive,    v.m_strGroupNoDtmf};
    EXPECT_EQ(read, (std::vector<std::string>{"3", "1", "2", "5", "12", "1", "3", "1", "7", "45", "6", "1", "1", "1",
                                              "5"}));
    // Two bits of 958 and 1011 on the mobile; three bits of 959, and 1007, on
    // the base station.
    EXPECT_EQ(v.m_strAniDisplayDigit, family == 1 ? "1" : "5");
    EXPECT_EQ(v.m_strEmgReceiveDigit, family == 1 ? "2" : "3");
    EXPECT_EQ(v.m_strDecodeNo, "123450CC");
    EXPECT_EQ(v.m_strFixDisplayDigit, "12345AFF");  // always in hex form
    EXPECT_EQ(decodeKillStatus(image, family), "ON");
    put(image, 849, {0xB1});
    EXPECT_EQ(decodeKillStatus(image, family), "OFF");
  }
}

TEST(DecodeCodec, EveryFieldWrittenAgainGivesTheSameImage) {
  // Each field forced through the writer (nothing counts as unchanged) must
  // land in the bits it was read from, in every code form.
  for (int family = 0; family <= 2; ++family)
    for (uint8_t format : {0, 1, 2, 3, 4, 7}) {
      if (family == 0 && format > 2) continue;
      SCOPED_TRACE(std::to_string(family) + "/" + std::to_string(format));
      Image image = filled(0x00);
      for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 37 + 11);
      image[family == 0 ? 66 : 834] = static_cast<uint8_t>((image[family == 0 ? 66 : 834] & 0xF8) | format);
      const DecodeValues v = subGetDecodeData(image, family);
      DecodeValues nothing;
      nothing.strDecodeFormat = "x";
      nothing.m_strDecodeNo = nothing.m_strAnswerNo = nothing.m_strFixDisplayDigit = nothing.m_strKillNo = "";
      for (std::string DecodeValues::*s : {&DecodeValues::m_strBeepTime, &DecodeValues::m_strGroupNo5Tone, &DecodeValues::m_strGroupNoDtmf,
                      &DecodeValues::m_strGroupMode, &DecodeValues::m_strGroupDigit, &DecodeValues::m_strMonitorOutMode,
                      &DecodeValues::m_strAnswerTime, &DecodeValues::m_strAutoResetMode, &DecodeValues::m_strResetNo,
                      &DecodeValues::m_strDisplayDigit, &DecodeValues::m_strDisplayNo,
                      &DecodeValues::m_strLimitedDecode, &DecodeValues::m_strAniReceive,
                      &DecodeValues::m_strAniDisplayDigit, &DecodeValues::m_strCallReceive,
                      &DecodeValues::m_strEmgReceiveDigit, &DecodeValues::m_strAutoResetTime})
        nothing.*s = "x";
      Image after = image;
      subPutDecodeData(after, family, v, allOn(), nothing);
      EXPECT_EQ(differences(image, after), "");
    }
}

TEST(DecodeCodec, KillStatusFromTheImage) {
  Image f0 = filled(0x00);
  EXPECT_EQ(decodeKillStatus(f0, 0), "OFF");
  put(f0, 64, {'L', 'K'});
  EXPECT_EQ(decodeKillStatus(f0, 0), "ON");
  put(f0, 64, {'L', 'k'});
  EXPECT_EQ(decodeKillStatus(f0, 0), "OFF");
  for (int family : {1, 2}) {
    Image f = filled(0x00);
    for (auto [b, status] : {std::pair{0xA0, "ON"}, {0xAF, "ON"}, {0xB0, "OFF"}, {0x0A, "OFF"}}) {
      f[849] = static_cast<uint8_t>(b);
      EXPECT_EQ(decodeKillStatus(f, family), status) << family << " " << b;
    }
  }
}

TEST(DecodeCodec, FormatSwitchConversions) {
  using digits::Form;
  EXPECT_EQ(decodeConvertCode("12AB0FFF", Form::Hex, Form::Key), "120*DCCC");
  EXPECT_EQ(decodeConvertCode("120*DCCC", Form::Key, Form::Hex), "12AB0FFF");
  // Missing positions are empty digits, never a real digit.
  EXPECT_EQ(decodeConvertCode("12", Form::Hex, Form::Key), "12CCCCCC");
  EXPECT_EQ(decodeConvertCode("1#", Form::Key, Form::Hex), "1CFFFFFF");
  EXPECT_EQ(decodeConvertCode("0A", Form::Hex, Form::Hex), "0AFFFFFF");
}

TEST(DecodeCodec, CrossChecksAgainstTheEncodeSettings) {
  struct Case {
    int family;
    uint8_t encode, fiveToneFormat, attach;
    int fiveTone, dtmf;  // refusal ids for the 5-tone and the DTMF formats
  } cases[] = {
      {0, 0x01, 1, 0x00, 0, 10059},     {0, 0x03, 4, 0x40, 0, 10059},   {0, 0x01, 0, 0x40, 10041, 10059},
      {0, 0x02, 1, 0x40, 10041, 0},     {0, 0x14, 1, 0x40, 10041, 0},   {0, 0x04, 1, 0x00, 10041, 10059},
      {1, 0x00, 2, 0x00, 0, 10059},     {1, 0x06, 2, 0x40, 10041, 0},
      {1, 0x02, 2, 0x00, 10041, 10059}, {2, 0x07, 2, 0x40, 10041, 10059}, {2, 0x00, 0, 0x40, 10041, 10059},
      // Stored codes 1, 3 and 5 (no page of their own) count as 5-tone.
      {1, 0x05, 2, 0x40, 0, 10059},     {2, 0xFD, 1, 0x40, 0, 10059},   {1, 0x03, 1, 0x00, 0, 10059},
      {2, 0x01, 3, 0x00, 0, 10059},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.family) + " encode " + std::to_string(c.encode));
    Image image = filled(0x00);
    image[c.family == 0 ? 42 : 810] = c.encode;
    image[c.family == 0 ? 185 : 953] = static_cast<uint8_t>(0xF8 | c.fiveToneFormat);
    image[c.family == 0 ? 186 : 954] = c.attach;
    EXPECT_EQ(decodeFiveToneOptionsAllowed(image, c.family), c.fiveToneFormat != 0);
    EXPECT_EQ(decodeDisplayDigitRefusal(image, c.family, "0"), c.fiveTone);
    EXPECT_EQ(decodeDisplayDigitRefusal(image, c.family, "3"), c.dtmf);
    if (c.family != 0) {
      EXPECT_EQ(decodeDisplayDigitRefusal(image, c.family, "4"), c.dtmf);
    }
    EXPECT_EQ(decodeDisplayDigitRefusal(image, c.family, "7"), 0);
    EXPECT_EQ(decodeDisplayDigitRefusal(image, c.family, ""), 0);  // a format outside the four shows as none
  }
}

// The encode settings in the image: reading, writing only what changed, and
// the print texts.
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "selcall/encode.h"
#include "support/testsupport.h"

namespace {
using Bytes = std::vector<uint8_t>;

Bytes initial(const std::string& family) {
  TempDir dir;
  freshModel(dir);
  EXPECT_TRUE(setUpFamily(family));
  return modPublic.bytRadioData;
}

// Writes every setting as if each had been changed: what the reader gave must
// go back as the same bits.
Bytes writtenInFull(Bytes image, int family) {
  const EncodeValues read = subGetEncodeData(image, family).values;
  subPutEncodeData(image, family, read, EncodeValues{});
  return image;
}

void firstDiff(const Bytes& a, const Bytes& b) {
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) {
      ADD_FAILURE() << "byte " << i << ": " << int(a[i]) << " became " << int(b[i]);
      return;
    }
}
}  // namespace

TEST(EncodeCodec, ReadThenWriteEverythingGivesTheSameBytesPerFamilyAndFormat) {
  std::mt19937 random(17);
  for (int family = 0; family <= 2; ++family) {
    const Bytes start = initial(std::to_string(family));
    std::vector<Bytes> images = {start};
    for (uint8_t fill : {uint8_t{0x00}, uint8_t{0xFF}}) {  // every list at its ends
      Bytes b = start;
      for (int i = family == 0 ? 38 : 810; i <= (family == 0 ? 247 : 1015); ++i) b[static_cast<size_t>(i)] = fill;
      images.push_back(b);
    }
    for (int n = 0; n < 20; ++n) {
      Bytes b(start.size());
      for (auto& x : b) x = static_cast<uint8_t>(random());
      images.push_back(b);
    }
    for (const Bytes& image : images) {
      for (int code : {0, 1, 2, 3, 4, 5, 6, 7, 9}) {
        SCOPED_TRACE("family " + std::to_string(family) + " format code " + std::to_string(code));
        Bytes b = image;
        if (family == 0) b[42] = static_cast<uint8_t>((b[42] & 0xF0) | code);
        else b[810] = static_cast<uint8_t>((b[810] & 0xF8) | (code & 7));
        const Bytes before = b;
        firstDiff(before, writtenInFull(b, family));
        subPutEncodeData(b, family, subGetEncodeData(b, family).values, subGetEncodeData(b, family).values);
        EXPECT_EQ(b, before);
      }
    }
  }
}

TEST(EncodeCodec, Family0CodingsOfFormatModesTimesAndTonePeriod) {
  Bytes image = initial("0");
  image[42] = 0x22;
  EncodeLoad load = subGetEncodeData(image, 0);
  EXPECT_EQ(load.values.strEncodeFormat, "2");
  EXPECT_EQ(load.values.strCodeForm, "C");
  EXPECT_EQ(load.values.str5ToneSet, "2");
  image[42] = 0x13;
  load = subGetEncodeData(image, 0);
  EXPECT_EQ(load.values.strEncodeFormat, "4");
  EXPECT_EQ(load.values.strCodeForm, "F");
  EXPECT_EQ(load.values.str5ToneSet, "1");

  image[77] = 0x00;  // ANI mode NON
  image[62] = 0x00;  // emergency time NON, mode NON
  image[84] = 0x37;  // 70 ms with a high nibble nobody shows
  image[90] = 25;
  load = subGetEncodeData(image, 0);
  EncodeValues v = load.values;
  EXPECT_EQ(v.strAniEncodeMode, "3");
  EXPECT_EQ(v.strEmergencyTime, "15");
  EXPECT_EQ(v.strEmergencyMode, "3");
  EXPECT_EQ(v.strTonePeriod5, "3");
  EXPECT_EQ(v.strEmergencyKeyTime, "2.5");
  v.strAniEncodeMode = "0";
  v.strEmergencyTime = "0";
  v.strTonePeriod5 = "4";
  v.strEmergencyKeyTime = "9.9";
  subPutEncodeData(image, 0, v, load.values);
  EXPECT_EQ(image[77], 0x04);
  EXPECT_EQ(image[62], 0x01);
  EXPECT_EQ(image[84], 0x3A);
  EXPECT_EQ(image[90], 99);
}

TEST(EncodeCodec, UnknownFormatAndValuesOutsideTheirListsStayUntilChosen) {
  Bytes image = initial("0");
  image[42] = 0x39;  // format code 9
  image[185] = 7;    // "Encode Format" beyond its five entries
  image[84] = 0x00;  // 5-tone tone period code 0
  image[79] = 0xC0;  // single tone 6
  EncodeLoad load = subGetEncodeData(image, 0);
  EXPECT_TRUE(load.unknownFormat);
  EXPECT_EQ(load.values.strEncodeFormat, "");
  EXPECT_EQ(load.values.strCodeForm, "");
  EXPECT_EQ(load.strays, (std::vector<int>{3, 8, kSingleToneRow}));
  const Bytes before = image;
  EncodeValues v = load.values;
  v.strDtmfEncode = "1";  // another setting changed
  subPutEncodeData(image, 0, v, load.values);
  EXPECT_EQ(image[42], 0x39);
  EXPECT_EQ(image[185], 7);
  EXPECT_EQ(image[84], 0x00);
  EXPECT_EQ(image[79], 0xC0);
  EXPECT_EQ(image[186], before[186] | 0x04);
  v.strEncodeFormat = "0";  // the user picks a format and the first entries
  v.strEncodeFormatList = "0";
  v.strTonePeriod5 = "0";
  subPutEncodeData(image, 0, v, load.values);
  EXPECT_EQ(image[42], 0x31);
  EXPECT_EQ(image[185], 0);
  EXPECT_EQ(image[84], 0x02);

  Bytes f1 = initial("1");
  f1[810] = 0x2B;  // low bits 3: a format the page does not offer
  f1[953] = 0x0E;  // bits 0-2 = 6
  load = subGetEncodeData(f1, 1);
  EXPECT_TRUE(load.unknownFormat);
  EXPECT_EQ(load.strays, (std::vector<int>{8}));
}

TEST(EncodeCodec, CodesPackIntoTheirNibblesAndKeepTheRest) {
  // Family "0": 16 stored digits, the box holds 15; the 16th stays as read.
  Bytes image = initial("0");
  image[42] = 0x01;
  for (int i = 0; i < 8; ++i) image[static_cast<size_t>(192 + i)] = static_cast<uint8_t>(0x10 * ((2 * i + 1) % 16) + 2 * i % 16);
  EncodeLoad load = subGetEncodeData(image, 0);
  EXPECT_EQ(load.values.strEncodeNo, "0123456789ABCDE");
  EncodeValues v = load.values;
  v.strEncodeNo = "9876543210";  // shorter: the rest are empty digits
  subPutEncodeData(image, 0, v, load.values);
  EXPECT_EQ(image[192], 0x89);
  EXPECT_EQ(image[196], 0x01);
  EXPECT_EQ(image[197], 0xFF);
  EXPECT_EQ(image[199], 0xFF);  // digit 15 empty, the 16th kept as F
  image[199] = 0xEF;
  v.strEncodeNo = "FFFFFFFFFFFFFF1";
  subPutEncodeData(image, 0, v, load.values);
  EXPECT_EQ(image[199], 0xE1);

  // Family "1": digit 9 is the high nibble of 970, whose low nibble stays.
  Bytes f1 = initial("1");
  f1[810] = 0x00;
  f1[970] = 0xF5;
  load = subGetEncodeData(f1, 1);
  v = load.values;
  v.strEncodeNo = "123456789ABCDEF";
  subPutEncodeData(f1, 1, v, load.values);
  EXPECT_EQ((Bytes{f1.begin() + 812, f1.begin() + 816}), (Bytes{0x21, 0x43, 0x65, 0x87}));
  EXPECT_EQ(f1[970], 0x95);
  EXPECT_EQ((Bytes{f1.begin() + 971, f1.begin() + 974}), (Bytes{0xBA, 0xDC, 0xFE}));
  EXPECT_EQ(subGetEncodeData(f1, 1).values.strEncodeNo, "123456789ABCDEF");

  // A DTMF code stays the same digits when the format leaves DTMF.
  f1[810] = 0x02;
  f1[820] = 0x21; f1[821] = 0xBA; f1[822] = 0xF0; f1[823] = 0xFF;
  load = subGetEncodeData(f1, 1);
  EXPECT_EQ(load.values.strREncodeNo, "120*DCCC");
  v = load.values;
  v.strEncodeFormat = "7";  // no encode: the texts stay in key form
  subPutEncodeData(f1, 1, v, load.values);
  EXPECT_EQ((Bytes{f1.begin() + 820, f1.begin() + 824}), (Bytes{0x21, 0xBA, 0xF0, 0xFF}));
  EXPECT_EQ(f1[810], 0x07);
  v.strREncodeNo = "#20*DCCC";
  subPutEncodeData(f1, 1, v, load.values);
  EXPECT_EQ(f1[820], 0x2C);
}

TEST(EncodeCodec, SharedBitsAreWrittenOnlyForTheSettingTheUserChanged) {
  Bytes f2 = initial("2");
  f2[844] = 0x27;
  EncodeLoad load = subGetEncodeData(f2, 2);
  EXPECT_EQ(load.values.strEncodeDigit, "7");
  EXPECT_EQ(load.values.strAutoANIencode, "1");
  EncodeValues v = load.values;
  v.strAutoANIencode = "0";
  subPutEncodeData(f2, 2, v, load.values);
  EXPECT_EQ(f2[844], 0x26);
  v.strEncodeDigit = "8";
  v.strAutoANIencode = "1";  // as read: the digit count alone decides the bit
  subPutEncodeData(f2, 2, v, load.values);
  EXPECT_EQ(f2[844], 0x28);
  EncodeValues asRead = load.values;
  asRead.strAutoANIencode = "0";  // both changed: the ANI setting is written last
  subPutEncodeData(f2, 2, v, asRead);
  EXPECT_EQ(f2[844], 0x29);

  // Family "1": bit 0 of 954 is also the scan page's; other bits of the byte
  // change without touching it.
  Bytes f1 = initial("1");
  f1[954] = 0x01;
  load = subGetEncodeData(f1, 1);
  v = load.values;
  v.strLcdClearbyPtt = "0";
  const EncodeValues lcdAsRead = v;
  v.strDtmfEncode = "1";
  subPutEncodeData(f1, 1, v, lcdAsRead);
  EXPECT_EQ(f1[954], 0x05);
  subPutEncodeData(f1, 1, v, load.values);
  EXPECT_EQ(f1[954], 0x04);

  // Single tone of family "1": off clears bit 5 only.
  f1[847] = 0xE0;
  load = subGetEncodeData(f1, 1);
  EXPECT_TRUE(load.values.blnSingleTone);
  EXPECT_EQ(load.values.strSingleToneTime, "3");
  v = load.values;
  v.blnSingleTone = false;
  subPutEncodeData(f1, 1, v, load.values);
  EXPECT_EQ(f1[847], 0xC0);
}

TEST(EncodeCodec, ChannelsWithoutDataOrOutOfRangeReadAsNoneWithoutChangingTheImage) {
  Bytes f0 = initial("0");
  f0[38] = 3;  // channel 3's record starts 00 00
  EXPECT_EQ(subGetEncodeData(f0, 0).values.strEmergencyChannel, "");
  f0[768 + 24 * 2] = 0x12;
  EXPECT_EQ(subGetEncodeData(f0, 0).values.strEmergencyChannel, "3");

  Bytes f1 = initial("1");
  for (int c : {0, 5, 201, 254}) {
    f1[828] = static_cast<uint8_t>(c);
    const Bytes before = f1;
    const EncodeLoad load = subGetEncodeData(f1, 1);
    EXPECT_EQ(load.values.strEmergencyChannel, "");
    subPutEncodeData(f1, 1, load.values, load.values);
    EXPECT_EQ(f1, before);
  }
  f1[801] |= 2;  // channel names: 100 channels
  f1[936] = 120;
  EXPECT_EQ(subGetEncodeData(f1, 1).values.strTransferChannel, "");
  EXPECT_EQ(encodeChannelLimit(f1, 1), 100);
  Bytes f2 = initial("2");
  EXPECT_EQ(encodeChannelLimit(f2, 2), 99);
  f2[0] = 0x20;  // channel 1 holds data
  f2[936] = 1;
  const EncodeLoad load = subGetEncodeData(f2, 2);
  EXPECT_EQ(load.values.strTransferChannel, "1");
  EncodeValues v = load.values;
  v.strTransferChannel = "";
  v.strEmergencyChannel = "1";
  subPutEncodeData(f2, 2, v, load.values);
  EXPECT_EQ(f2[936], 255);
  EXPECT_EQ(f2[828], 1);
}

TEST(EncodeCodec, LoadingCleanUpMakesAReferenceToAChannelWithoutDataNone) {
  Bytes f0 = initial("0");
  f0[38] = 3;
  f0[768 + 24 * 2] = 0x00;  // channel 3's record starts 00 00: no data
  f0[768 + 24 * 2 + 1] = 0x00;
  Bytes expected = f0;
  expected[38] = 0;
  EXPECT_TRUE(encodeCleanChannels(f0, 0));
  EXPECT_EQ(f0, expected);
  f0[38] = 3;
  f0[768 + 24 * 2 + 1] = 0x01;  // now it holds data
  EXPECT_FALSE(encodeCleanChannels(f0, 0));
  EXPECT_EQ(f0[38], 3);

  Bytes f1 = initial("1");
  f1[828] = 5;  // emergency channel
  f1[936] = 7;  // transfer channel
  f1[8 * 4] = 0xFF, f1[8 * 4 + 1] = 0x3F;  // channel 5: the empty-row pattern
  f1[8 * 6] = 0xFF, f1[8 * 6 + 1] = 0x3F;  // channel 7
  expected = f1;
  expected[828] = 255;
  expected[936] = 255;
  EXPECT_TRUE(encodeCleanChannels(f1, 1));
  EXPECT_EQ(f1, expected);
  EXPECT_FALSE(encodeCleanChannels(f1, 1));
  // Numbers that name no channel of the family stay as stored.
  f1[801] |= 2;  // channel names: 100 channels
  f1[828] = 0;
  f1[936] = 120;
  expected = f1;
  EXPECT_FALSE(encodeCleanChannels(f1, 1));
  EXPECT_EQ(f1, expected);
  f1[936] = 7;
  f1[8 * 6] = 0x20, f1[8 * 6 + 1] = 0x00;  // channel 7 holds data
  EXPECT_FALSE(encodeCleanChannels(f1, 1));
  EXPECT_EQ(f1[936], 7);

  // Family "2" never reads its transfer channel, so it is not cleaned.
  Bytes f2 = initial("2");
  f2[828] = 5;
  f2[936] = 7;
  f2[8 * 4] = 0xFF, f2[8 * 4 + 1] = 0x3F;
  f2[8 * 6] = 0xFF, f2[8 * 6 + 1] = 0x3F;
  expected = f2;
  expected[828] = 255;
  EXPECT_TRUE(encodeCleanChannels(f2, 2));
  EXPECT_EQ(f2, expected);
}

// Each setting read from, and written to, the bits the field maps give it,
// bytes laid out by hand: a field read and written at the same wrong place
// shows here. Only the named byte may change.
TEST(EncodeCodec, EachSettingSitsInTheBitsOfTheFieldMap) {
  using M = std::string EncodeValues::*;
  struct Case {
    int family;
    M member;
    std::vector<std::pair<int, uint8_t>> stored;
    std::string shown, typed;
    std::vector<std::pair<int, uint8_t>> written;
  };
  const Case cases[] = {
      // family "0"
      {0, &EncodeValues::str5ToneSet, {{42, 0x31}}, "3", "1", {{42, 0x11}}},
      {0, &EncodeValues::strEncodeDigit, {{76, 0xC5}}, "5", "2", {{76, 0xC2}}},
      {0, &EncodeValues::strCallingTime, {{76, 0xC5}}, "0", "3", {{76, 0xF5}}},
      {0, &EncodeValues::strTonePeriod5, {{84, 0x03}}, "1", "3", {{84, 0x07}}},
      {0, &EncodeValues::strTonePeriodDtmf, {{191, 0x02}}, "1", "0", {{191, 0x01}}},
      {0, &EncodeValues::strEncodeDelay, {{43, 0x34}}, "4", "9", {{43, 0x39}}},
      {0, &EncodeValues::strFrstToneTime, {{43, 0x34}}, "3", "0", {{43, 0x04}}},
      {0, &EncodeValues::strRepeatToneNo, {{78, 0x2D}}, "2", "5", {{78, 0x5D}}},
      {0, &EncodeValues::strBpauseTime, {{78, 0x2D}}, "1", "2", {{78, 0x2E}}},
      {0, &EncodeValues::strEncodeFormatList, {{185, 2}}, "2", "4", {{185, 4}}},
      {0, &EncodeValues::strApauseTime, {{77, 0x26}}, "2", "1", {{77, 0x25}}},
      {0, &EncodeValues::strAniEncodeMode, {{77, 0x26}}, "0", "2", {{77, 0x2E}}},
      {0, &EncodeValues::strAniEncodeMode, {{77, 0x26}}, "0", "3", {{77, 0x22}}},
      {0, &EncodeValues::strRFirstToneTime, {{77, 0x26}}, "2", "7", {{77, 0x76}}},
      {0, &EncodeValues::strEmergencyMode, {{62, 0x95}}, "0", "2", {{62, 0xB5}}},
      {0, &EncodeValues::strEmergencyTime, {{62, 0x95}}, "4", "15", {{62, 0x90}}},
      {0, &EncodeValues::strEmergencyAlarm, {{62, 0x95}}, "2", "0", {{62, 0x15}}},
      {0, &EncodeValues::strCallRepeaterNo, {{170, 0xDF}}, "0", "1", {{170, 0xFF}}},
      {0, &EncodeValues::strEmergencySpeaker, {{63, 0xFE}}, "0", "1", {{63, 0xFF}}},
      {0, &EncodeValues::strEmergencyKeyTime, {{90, 12}}, "1.2", "3.4", {{90, 34}}},
      {0, &EncodeValues::strDtmfEncode, {{186, 0xBB}}, "0", "1", {{186, 0xBF}}},
      {0, &EncodeValues::strAttachDecodeNo, {{186, 0xBB}}, "0", "1", {{186, 0xFB}}},
      {0, &EncodeValues::strAniIntervalTime, {{247, 30}}, "30", "255", {{247, 255}}},
      {0, &EncodeValues::strAniEncodeNo, {{42, 0x01}, {200, 0x21}, {201, 0x43}, {202, 0x65}, {203, 0x87}}, "12345678",
       "ABCDEF01", {{200, 0xBA}, {201, 0xDC}, {202, 0xFE}, {203, 0x10}}},
      {0, &EncodeValues::strREncodeNo, {{42, 0x01}, {204, 0x10}, {205, 0x32}, {206, 0x54}, {207, 0x76}}, "01234567",
       "FEDCBA98", {{204, 0xEF}, {205, 0xCD}, {206, 0xAB}, {207, 0x89}}},
      {0, &EncodeValues::strEmergencyNo, {{42, 0x02}, {208, 0x0A}, {209, 0xCB}, {210, 0xFF}, {211, 0xFF}}, "0D*#CCCC",
       "12", {{208, 0x21}, {209, 0xFF}}},
      // family "1"
      {1, &EncodeValues::str5ToneSet, {{810, 0xC8}}, "1", "5", {{810, 0xE8}}},
      {1, &EncodeValues::strEncodeDigit, {{844, 0xC3}}, "3", "9", {{844, 0xC9}}},
      {1, &EncodeValues::strCallingTime, {{844, 0xC3}}, "0", "2", {{844, 0xE3}}},
      {1, &EncodeValues::strTonePeriod5, {{852, 0x04}}, "2", "4", {{852, 0x0A}}},
      {1, &EncodeValues::strTonePeriodDtmf, {{960, 0x05}}, "4", "9", {{960, 0x0A}}},
      {1, &EncodeValues::strEncodeDelay, {{811, 0x52}}, "2", "7", {{811, 0x57}}},
      {1, &EncodeValues::strFrstToneTime, {{811, 0x52}}, "5", "1", {{811, 0x12}}},
      {1, &EncodeValues::strRepeatToneNo, {{846, 0x31}}, "3", "6", {{846, 0x61}}},
      {1, &EncodeValues::strBpauseTime, {{846, 0x31}}, "1", "2", {{846, 0x32}}},
      {1, &EncodeValues::strEmergencyMode, {{846, 0x31}}, "0", "2", {{846, 0x39}}},
      {1, &EncodeValues::strEncodeFormatList, {{953, 0xF9}}, "1", "3", {{953, 0xFB}}},
      {1, &EncodeValues::strApauseTime, {{845, 0x21}}, "1", "3", {{845, 0x23}}},
      {1, &EncodeValues::strAniEncodeMode, {{845, 0x21}}, "0", "2", {{845, 0x29}}},
      {1, &EncodeValues::strRFirstToneTime, {{845, 0x21}}, "2", "4", {{845, 0x41}}},
      {1, &EncodeValues::strEmergencyTime, {{829, 0xA4}}, "4", "15", {{829, 0xAF}}},
      {1, &EncodeValues::strEmergencyAlarm, {{849, 0xF3}}, "0", "1", {{849, 0xF7}}},
      {1, &EncodeValues::strCallRepeaterNo, {{935, 0xFE}}, "0", "1", {{935, 0xFF}}},
      {1, &EncodeValues::strLcdClearbyPtt, {{954, 0xB2}}, "0", "1", {{954, 0xB3}}},
      {1, &EncodeValues::strDtmfEncode, {{954, 0xB2}}, "0", "1", {{954, 0xB6}}},
      {1, &EncodeValues::strAttachDecodeNo, {{954, 0xB2}}, "0", "1", {{954, 0xF2}}},
      {1, &EncodeValues::strEmergencySpeaker, {{959, 0x80}}, "0", "1", {{959, 0x81}}},
      {1, &EncodeValues::strAniIntervalTime, {{1015, 200}}, "200", "7", {{1015, 7}}},
      {1, &EncodeValues::strAniEncodeNo, {{810, 0x00}, {816, 0x21}, {817, 0x43}, {818, 0x65}, {819, 0x87}}, "12345678",
       "ABCDEF01", {{816, 0xBA}, {817, 0xDC}, {818, 0xFE}, {819, 0x10}}},
      {1, &EncodeValues::strREncodeNo, {{810, 0x00}, {820, 0x10}, {821, 0x32}, {822, 0x54}, {823, 0x76}}, "01234567",
       "FEDCBA98", {{820, 0xEF}, {821, 0xCD}, {822, 0xAB}, {823, 0x89}}},
      {1, &EncodeValues::strEmergencyNo, {{810, 0x02}, {824, 0x0A}, {825, 0xCB}, {826, 0xFF}, {827, 0xFF}}, "0D*#CCCC",
       "12", {{824, 0x21}, {825, 0xFF}}},
      {1, &EncodeValues::strTranferNo, {{810, 0x00}, {948, 0x21}, {949, 0x43}, {950, 0x65}, {951, 0x87}}, "12345678",
       "9", {{948, 0xF9}, {949, 0xFF}, {950, 0xFF}, {951, 0xFF}}},
      // family "2": the ANI interval and "Auto ANI encode" have places of their own
      {2, &EncodeValues::strAniIntervalTime, {{995, 10}}, "10", "20", {{995, 20}}},
      {2, &EncodeValues::strAutoANIencode, {{844, 0x30}}, "0", "1", {{844, 0x31}}},
      {2, &EncodeValues::strEmergencyAlarm, {{849, 0x03}}, "0", "3", {{849, 0x0F}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("family " + std::to_string(c.family) + ", " + c.shown + " -> " + c.typed + " at byte " +
                 std::to_string(c.written.front().first));
    Bytes image = initial(std::to_string(c.family));
    for (auto [at, b] : c.stored) image[static_cast<size_t>(at)] = b;
    const EncodeLoad load = subGetEncodeData(image, c.family);
    EXPECT_EQ(load.values.*c.member, c.shown);
    Bytes expected = image;
    for (auto [at, b] : c.written) expected[static_cast<size_t>(at)] = b;
    EncodeValues v = load.values;
    v.*c.member = c.typed;
    subPutEncodeData(image, c.family, v, load.values);
    firstDiff(expected, image);
    EXPECT_EQ(image, expected);
  }

  // The single tone: family "0" byte 79 bits 5-7 (0 off, else the time + 1),
  // families "1"/"2" byte 847 bit 5 on and bits 6-7 the time.
  for (auto [family, at, stored, written] : {std::tuple{0, 79, 0x1F, 0x7F}, std::tuple{1, 847, 0x1F, 0xBF}}) {
    Bytes image = initial(std::to_string(family));
    image[static_cast<size_t>(at)] = static_cast<uint8_t>(stored);
    const EncodeLoad load = subGetEncodeData(image, family);
    EXPECT_FALSE(load.values.blnSingleTone);
    EncodeValues v = load.values;
    v.blnSingleTone = true;
    v.strSingleToneTime = "2";
    Bytes expected = image;
    expected[static_cast<size_t>(at)] = static_cast<uint8_t>(written);
    subPutEncodeData(image, family, v, load.values);
    EXPECT_EQ(image, expected) << family;
  }
}

TEST(EncodePrint, EveryFieldIsSetWithTheFamilysOwnSettingsOnly) {
  Bytes f0 = initial("0");
  f0[42] = 0x52;  // DTMF, set "EIA"
  f0[62] = 0x00;
  f0[77] = 0x08;  // ANI mode END
  f0[191] = 0x05;
  f0[90] = 95;
  f0[79] = 0x40;  // single tone, 2 Sec
  const PrintTexts p0 = encodePrintTexts(f0, 0);
  EXPECT_EQ(p0.size(), 31u);
  EXPECT_EQ(p0.at("strPrt5ToneSet"), "EIA");
  EXPECT_EQ(p0.at("strPrtEncodeNo"), "CCCCCCCCCCCCCCC");
  EXPECT_EQ(p0.at("strPrtTonePeriod"), "50 ms");
  EXPECT_EQ(p0.at("strPrtEmergencyMode"), "NON");
  EXPECT_EQ(p0.at("strPrtEmergencyTime"), "NON");
  EXPECT_EQ(p0.at("strPrtEmergencyAlarm"), "886 Hz");
  EXPECT_EQ(p0.at("strPrtAniEncodeMode"), "END");
  EXPECT_EQ(p0.at("strPrtEmergencyChannel"), "");
  EXPECT_EQ(p0.at("strPrtSingleToneTime"), "2 Sec");
  EXPECT_EQ(p0.at("strPrtEmergencyKeyTime"), "9.5");
  for (const char* none : {"strPrtTransferChannel", "strPrtTransferNo", "strPrtLcdClearbyPtt", "strPrtAutoAniEncode"})
    EXPECT_EQ(p0.at(none), "") << none;
  f0[42] = 0x51;
  EXPECT_EQ(encodePrintTexts(f0, 0).at("strPrtEncodeNo"), "FFFFFFFFFFFFFFF");
  EXPECT_EQ(encodePrintTexts(f0, 0).at("strPrtTonePeriod"), "100 ms");

  Bytes f1 = initial("1");
  f1[953] = 0x06;  // "Encode Format" beyond the list
  f1[811] = 0x00;
  const PrintTexts p1 = encodePrintTexts(f1, 1);
  EXPECT_EQ(p1.at("strPrtEncodeFormat"), "");
  EXPECT_EQ(p1.at("strPrtEncodeDelay"), "70 ms");
  EXPECT_EQ(p1.at("strPrtEmergencyTime"), "NON");
  EXPECT_EQ(p1.at("strPrtTonePeriod"), "");  // no encode format
  EXPECT_EQ(p1.at("strPrtSingleToneTime"), "NON");
  EXPECT_EQ(p1.at("strPrtLcdClearbyPtt"), "DISABLE");
  EXPECT_EQ(p1.at("strPrtTransferNo"), "FFFFFFFF");
  EXPECT_EQ(p1.at("strPrtAutoAniEncode"), "");
  EXPECT_EQ(p1.at("strPrtEmergencyKeyTime"), "");

  Bytes f2 = initial("2");
  f2[995] = 42;
  f2[844] = 0x01;
  const PrintTexts p2 = encodePrintTexts(f2, 2);
  EXPECT_EQ(p2.at("strPrtAniIntervalTime"), "42");
  EXPECT_EQ(p2.at("strPrtEncodeDelay"), "0 ms");
  EXPECT_EQ(p2.at("strPrtAutoAniEncode"), "ENABLE");
  for (const char* none : {"strPrtEncodeNo", "strPrtTransferNo", "strPrtLcdClearbyPtt", "strPrtEmergencySpeaker",
                           "strPrtEmergencyKeyTime", "strPrtTransferChannel"})
    EXPECT_EQ(p2.at(none), "") << none;
  EXPECT_EQ(encodePrintTexts(f2, 2), p2);  // the image is only read
}

// The decode print texts, rendered from the image alone.
#include <gtest/gtest.h>

#include "selcall/decode.h"

namespace {
void put(Image& image, int at, std::initializer_list<uint8_t> bytes) {
  for (uint8_t b : bytes) image.at(static_cast<size_t>(at++)) = b;
}

PrintTexts expect(std::initializer_list<const char*> texts) {
  PrintTexts out;
  size_t k = 0;
  for (const char* t : texts) out[decodePrintFields()[k++]] = t;
  return out;
}

Image family12(uint8_t format) {
  Image image(6888, 0x00);
  put(image, 830, {0x21, 0xA3, 0xFF, 0xFF});  // decode number 1 2 3 A
  image[834] = static_cast<uint8_t>(0x50 | format);  // monitor out 1, beep 2
  image[835] = 0x64;                          // answer time 3, auto reset mode 2
  put(image, 836, {0x56, 0xF7, 0xFF, 0xFF});  // answer number
  put(image, 840, {0x09, 0xFF, 0xFF, 0xFF});  // kill number 9 0
  image[847] = 0xBE;                          // encode bits 5-7, group mode on, group 0xE
  image[848] = 0xC5;                          // display no. 0xC
  image[849] = 0xA6;                          // killed, emergency alarm, reset no. 2
  image[850] = 0x30;
  image[853] = 30;
  image[934] = 0x05;
  image[939] = 0x01;
  put(image, 944, {0x21, 0x43, 0x65, 0x87});
  image[954] = 0xC0;  // ANI receive on, emergency call receive off
  image[955] = 0x0B;
  image[958] = 0xFF;
  image[959] = 0xFE;
  image[1007] = 0x02;
  image[1011] = 0x01;
  return image;
}
}  // namespace

TEST(DecodePrint, Family0PerFormat) {
  Image image(6888, 0x00);
  put(image, 212, {0x21, 0xA3, 0xFF, 0xFF});
  image[67] = 0xF3;  // answer time 7, auto reset mode 9 (beyond its list)
  put(image, 216, {0xFF, 0xFF, 0xFF, 0xFF});
  put(image, 220, {0xA0, 0xFF, 0xFF, 0xFF});
  image[79] = 0xEF;  // 5-tone group number 15, beyond its list of 15
  image[45] = 0xDF;
  image[81] = 0x03;
  image[85] = 255;
  image[166] = 0x08;
  image[170] = 0x20;
  put(image, 64, {'L', 'x'});
  struct Case {
    uint8_t format;
    PrintTexts texts;
  } cases[] = {
      {0xF9, expect({"123AFFFF", "Continue", "", "OFF", "Any", "Pow ON out", "FFFFFFFF", "3.5 Sec", "255", "", "C D",
                     "8 Digits", "", "00000000", "OFF", "", "", "", "", "0AFFFFFF", "OFF"})},
      {0xFA, expect({"1230CCCC", "Continue", "D", "OFF", "Any", "Pow ON out", "FFFFFFFF", "3.5 Sec", "255", "", "# A",
                     "8 Digits", "", "00000000", "OFF", "", "", "", "", "D0CCCCCC", "OFF"})},
      {0xFC, expect({"123AFFFF", "Continue", "", "OFF", "Any", "Pow ON out", "FFFFFFFF", "3.5 Sec", "255", "", "# A",
                     "8 Digits", "", "00000000", "OFF", "", "", "", "", "0AFFFFFF", "OFF"})},
  };
  for (const Case& c : cases) {
    image[66] = c.format;
    EXPECT_EQ(decodePrintTexts(image, 0), c.texts) << int(c.format);
  }
}

TEST(DecodePrint, Families1And2PerFormat) {
  const PrintTexts fiveTone1 = expect({"123AFFFF", "2 Time", "E", "ON", "3 Digit", "Call out", "657FFFFF", "1.5 Sec",
                                       "30", "Busy override", "D", "5 Digits", "C", "12345678", "ON", "ON", "5 Digits",
                                       "OFF", "3 Digits", "90FFFFFF", "ON"});
  const PrintTexts dtmf1 = expect({"1230CCCC", "2 Time", "*", "ON", "3 Digit", "Call out", "657FFFFF", "1.5 Sec", "30",
                                   "Busy override", "A", "5 Digits", "C", "12345678", "ON", "ON", "5 Digits", "OFF",
                                   "3 Digits", "9DCCCCCC", "ON"});
  const PrintTexts none1 = expect({"123AFFFF", "2 Time", "", "ON", "3 Digit", "Call out", "657FFFFF", "1.5 Sec", "30",
                                   "Busy override", "A", "5 Digits", "C", "12345678", "ON", "ON", "5 Digits", "OFF",
                                   "3 Digits", "90FFFFFF", "ON"});
  EXPECT_EQ(decodePrintTexts(family12(0), 1), fiveTone1);
  EXPECT_EQ(decodePrintTexts(family12(3), 1), dtmf1);
  EXPECT_EQ(decodePrintTexts(family12(4), 1), dtmf1);
  EXPECT_EQ(decodePrintTexts(family12(7), 1), none1);
  EXPECT_EQ(decodePrintTexts(family12(5), 1), none1);  // a code outside the four formats

  // The base station: the ANI display digit from three bits of 959, the
  // emergency receive digit from 1007.
  PrintTexts fiveTone2 = fiveTone1;
  fiveTone2["strPrtAniDisplayDigit"] = "8 Digits";
  fiveTone2["strPrtEmgReceiveDigit"] = "4 Digits";
  EXPECT_EQ(decodePrintTexts(family12(0), 2), fiveTone2);
}

TEST(DecodePrint, FillsTheSharedRecordFromTheImage) {
  modPublic = ModPublic{};
  modPublic.strRadioFamily = "1";
  modPublic.bytRadioData = family12(3);
  modPublic.udtPrtDecode["strPrtGroupNo"] = "stale";
  const Image before = modPublic.bytRadioData;
  EXPECT_TRUE(subSetDecodeIniData());
  EXPECT_EQ(modPublic.udtPrtDecode.size(), 21u);
  EXPECT_EQ(modPublic.udtPrtDecode["strPrtGroupNo"], "*");
  EXPECT_EQ(modPublic.bytRadioData, before);
  modPublic.bytRadioData[834] = 0x57;
  EXPECT_TRUE(subSetDecodeIniData());
  EXPECT_EQ(modPublic.udtPrtDecode["strPrtGroupNo"], "");
}

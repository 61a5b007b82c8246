// Digit nibbles in the image and their hex and DTMF key forms.
#include <gtest/gtest.h>

#include "selcall/digits.h"

using namespace digits;
using Bytes = std::vector<uint8_t>;

TEST(Digits, LowNibbleFirstAndTheKeyTable) {
  Bytes image(8, 0);
  encode(image, wholeBytes(2, 1), "12", Form::Hex);
  EXPECT_EQ(image[2], 0x21);

  // Every digit value through both forms: 0 is the key "D", 10 the key "0".
  Bytes all = {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE};
  EXPECT_EQ(decode(all, wholeBytes(0, 8), Form::Hex), "0123456789ABCDEF");
  EXPECT_EQ(decode(all, wholeBytes(0, 8), Form::Key), "D1234567890*#ABC");
  EXPECT_EQ(hexToKeys("0123456789ABCDEF"), "D1234567890*#ABC");
  EXPECT_EQ(keysToHex("D1234567890*#ABC"), "0123456789ABCDEF");
  EXPECT_EQ(hexToKeys("FFFFFFFF"), "CCCCCCCC");
  EXPECT_EQ(keysToHex("CCCCCCCC"), "FFFFFFFF");
  EXPECT_EQ(hexToKeys("1x"), "1x");  // neither alphabet: copied

  Bytes back(8, 0);
  encode(back, wholeBytes(0, 8), "D1234567890*#ABC", Form::Key);
  EXPECT_EQ(back, all);
  encode(back, wholeBytes(0, 8), "0123456789abcdef", Form::Hex);
  EXPECT_EQ(back, all);
}

TEST(Digits, ShortTextsFillWithTheEmptyDigitAndStrayKeysAreDropped) {
  Bytes image(4, 0x00);
  encode(image, wholeBytes(0, 4), "12", Form::Hex);
  EXPECT_EQ(image, (Bytes{0x21, 0xFF, 0xFF, 0xFF}));
  encode(image, wholeBytes(0, 4), "1E2", Form::Key);  // "E" is no key
  EXPECT_EQ(image, (Bytes{0x21, 0xFF, 0xFF, 0xFF}));
  encode(image, wholeBytes(0, 4), "1G2", Form::Hex);  // no hex digit: an empty digit in place
  EXPECT_EQ(image, (Bytes{0xF1, 0xF2, 0xFF, 0xFF}));
  // A DTMF code read as keys, never as hex: "120*DCCC" keeps its digits.
  encode(image, wholeBytes(0, 4), "120*DCCC", Form::Key);
  EXPECT_EQ(image, (Bytes{0x21, 0xBA, 0xF0, 0xFF}));
}

TEST(Digits, ALoneHighNibbleKeepsItsLowNibble) {
  // Digits 1-2 in byte 0, digit 3 in the high nibble of byte 2, digits 4-5 in byte 3.
  const Field f = wholeBytes(0, 1) + highNibble(2) + wholeBytes(3, 1);
  Bytes image = {0x00, 0x77, 0x0A, 0x00};
  encode(image, f, "12345", Form::Hex);
  EXPECT_EQ(image, (Bytes{0x21, 0x77, 0x3A, 0x54}));
  EXPECT_EQ(decode(image, f, Form::Hex), "12345");
  encode(image, lowNibble(1), "C", Form::Hex);
  EXPECT_EQ(image[1], 0x7C);
}

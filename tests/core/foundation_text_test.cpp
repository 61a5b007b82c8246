#include <gtest/gtest.h>

#include <clocale>

#include "platform/base/ansi.h"
#include "platform/base/vbtext.h"

TEST(VbText, ValTakesTheLeadingNumberOnly) {
  EXPECT_EQ(vb::Val("145.525"), 145.525);
  EXPECT_EQ(vb::Val("  12abc"), 12);
  EXPECT_EQ(vb::Val("1 2 3"), 123);  // blanks inside a number are skipped
  EXPECT_EQ(vb::Val("-7.5e1x"), -75);
  EXPECT_EQ(vb::Val("&HFF"), -1 + 256);  // two hex digits stay positive
  EXPECT_EQ(vb::Val("&HFFFF"), -1);      // a 16-bit literal is signed
  EXPECT_EQ(vb::Val("&H0000C000&"), 49152);
  EXPECT_EQ(vb::Val(""), 0);
  EXPECT_EQ(vb::Val("abc"), 0);
  EXPECT_EQ(vb::Val("."), 0);
}

TEST(VbText, FormatPatternsRoundHalfAwayAndIgnoreTheLocale) {
  std::setlocale(LC_ALL, "de_DE.UTF-8");  // a comma locale must not leak in
  EXPECT_EQ(vb::Format(145.525, "####0.00000"), "145.52500");
  EXPECT_EQ(vb::Format(6.25, "####0.00"), "6.25");
  EXPECT_EQ(vb::Format(12.5, "#0.0"), "12.5");
  EXPECT_EQ(vb::Format(0.05, "#0.0"), "0.1");
  EXPECT_EQ(vb::Format(2.5, "0"), "3");
  EXPECT_EQ(vb::Format(7, "00"), "07");
  EXPECT_EQ(vb::Format(0, "##0"), "0");
  EXPECT_EQ(vb::Format(-48.5, "##0.00"), "-48.50");
  EXPECT_EQ(vb::Format(0.4, "#"), "");
  std::setlocale(LC_ALL, "C");
}

TEST(VbText, IntegerConversionsUseBankersRoundingAndSaturate) {
  EXPECT_EQ(vb::CInt(2.5), 2);
  EXPECT_EQ(vb::CInt(3.5), 4);
  EXPECT_EQ(vb::CInt(-2.5), -2);
  EXPECT_EQ(vb::CInt(70000), 32767);
  EXPECT_EQ(vb::CLng(1e12), 2147483647);
  EXPECT_EQ(vb::ColorValue("&H00C00000&"), 12582912u);
  EXPECT_EQ(vb::ColorValue("green"), 0u);
}

TEST(Ansi, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = ansi::toUtf8(all);
  EXPECT_EQ(ansi::fromUtf8(utf8), all);
  EXPECT_EQ(ansi::charCount(utf8), 255u);
  EXPECT_EQ(ansi::toUtf8(std::string("\x80")), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(ansi::fromUtf8("\xE3\x81\x82"), "?");                // no such character in the code page
}

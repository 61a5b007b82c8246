// The channel layout the option pages share: limits, record addresses, the
// holds-data predicate and the scan flag, per family.
#include "options/chanlayout.h"

#include <gtest/gtest.h>

#include "core/modpublic.h"

using options::ChanLayout;
using options::chanLayout;

namespace {
std::vector<uint8_t> blank(uint8_t fill) { return std::vector<uint8_t>(kImageSize, fill); }
}  // namespace

TEST(ChanLayout, LimitsAndRecordAddressesFollowFamilyAndNameOption) {
  std::vector<uint8_t> img = blank(0xFF);
  img[801] = 0x00;
  ChanLayout f1 = chanLayout(1, img);
  EXPECT_EQ(f1.lastChannel, 200);
  EXPECT_EQ(f1.recordAddress(100), 792);
  EXPECT_EQ(f1.recordAddress(101), 1024);
  EXPECT_EQ(f1.recordAddress(200), 1816);
  EXPECT_EQ(f1.recordAddress(201), -1);

  img[801] = 0x02;
  f1 = chanLayout(1, img);
  EXPECT_EQ(f1.lastChannel, 100);
  EXPECT_EQ(f1.recordAddress(50), 392);
  EXPECT_EQ(f1.recordAddress(51), 1024);
  EXPECT_EQ(f1.recordAddress(101), -1);

  // The name option is family "1"'s alone.
  const ChanLayout f2 = chanLayout(2, img);
  EXPECT_EQ(f2.lastChannel, 99);
  EXPECT_EQ(f2.recordAddress(99), 784);
  EXPECT_EQ(f2.recordAddress(100), -1);

  const ChanLayout f0 = chanLayout(0, img);
  EXPECT_EQ(f0.lastChannel, 255);
  EXPECT_EQ(f0.recordAddress(5), 864);
  EXPECT_EQ(f0.recordAddress(255), 768 + 24 * 254);
  EXPECT_EQ(f0.recordAddress(0), -1);
  EXPECT_EQ(f0.noneByte(), 0);
  EXPECT_EQ(f2.noneByte(), 0xFF);

  EXPECT_EQ(chanLayout(7, img).lastChannel, 0);
  EXPECT_FALSE(chanLayout(-1, img).holdsData(img, 1));
}

TEST(ChanLayout, HoldsDataUsesEachFamilysEmptyPattern) {
  std::vector<uint8_t> img = blank(0);
  const ChanLayout f0 = chanLayout(0, img);
  EXPECT_FALSE(f0.holdsData(img, 5));
  img[865] = 0x01;  // second record byte alone is enough
  EXPECT_TRUE(f0.holdsData(img, 5));

  img = blank(0xFF);
  img[801] = 0;
  for (int c = 1; c <= 99; ++c) {
    const size_t at = static_cast<size_t>(8 * (c - 1));
    img[at] = 0xF9;
    img[at + 1] = 0x3F;
  }
  const ChanLayout f2 = chanLayout(2, img);
  EXPECT_FALSE(f2.holdsData(img, 7));  // F9 3F is family "2"'s empty row
  img[48] = 0x12;
  EXPECT_TRUE(f2.holdsData(img, 7));
  img[792] = 0x12;  // a row past the last channel is no channel at all
  EXPECT_FALSE(f2.holdsData(img, 100));

  const ChanLayout f1 = chanLayout(1, img);
  img[1024] = 0xFF;
  img[1025] = 0x3F;
  EXPECT_FALSE(f1.holdsData(img, 101));
  img[1024] = 0x40;
  EXPECT_TRUE(f1.holdsData(img, 101));
  EXPECT_FALSE(f1.holdsData(img, 0));
}

TEST(ChanLayout, ScanFlagSitsInTheFamilysRecordByte) {
  std::vector<uint8_t> img = blank(0);
  const ChanLayout f0 = chanLayout(0, img);
  img[864 + 4] = 0x20;
  EXPECT_TRUE(f0.scanFlag(img, 5));
  img[864 + 4] = 0xDF;
  EXPECT_FALSE(f0.scanFlag(img, 5));

  img[801] = 0x02;  // name option: channel 60 lies at 1024 + 8 * 9
  const ChanLayout f1 = chanLayout(1, img);
  img[1097] = 0x40;
  EXPECT_TRUE(f1.scanFlag(img, 60));
  EXPECT_FALSE(f1.scanFlag(img, 10));
  EXPECT_FALSE(f1.scanFlag(img, 160));
}

#include <gtest/gtest.h>

#include "core/modpublic.h"
#include "core/stamping.h"
#include "support/testsupport.h"

namespace {
class Stamping : public ::testing::Test {
 protected:
  void SetUp() override {
    freshModel(dir);
    ASSERT_TRUE(setUpFamily("0"));
  }
  uint8_t& rec(int channel, int byte) { return modPublic.bytRadioData[static_cast<size_t>(768 + 24 * (channel - 1) + byte)]; }
  uint8_t at(int i) const { return modPublic.bytRadioData[static_cast<size_t>(i)]; }
  TempDir dir;
};
}  // namespace

TEST_F(Stamping, IdentityTextIsTwelveCharactersPerFamilyPlace) {
  EXPECT_EQ(identityText(), "velmora 1.00");
  subPrepareImage();
  EXPECT_EQ(std::string(modPublic.bytRadioData.begin() + 2, modPublic.bytRadioData.begin() + 14), "velmora 1.00");
  ASSERT_TRUE(setUpFamily("2"));
  const auto before = modPublic.bytRadioData;
  subPrepareImage();
  EXPECT_EQ(std::string(modPublic.bytRadioData.begin() + 2016, modPublic.bytRadioData.begin() + 2028), "velmora 1.00");
  // Families "1" and "2" get only the stamp.
  for (size_t i = 0; i < before.size(); ++i) {
    if (i >= 2016 && i <= 2027) continue;
    ASSERT_EQ(modPublic.bytRadioData[i], before[i]) << i;
  }
}

TEST_F(Stamping, BitmapsFollowTheChannelRecords) {
  rec(1, 0) = 0x12;            // used, nothing else
  rec(8, 1) = 0x01;            // used
  rec(8, 4) = 0x20;            // bit 5 of byte 4
  rec(8, 9) = 0x05;            // TX filled by byte 9 alone
  rec(255, 0) = 1;             // the last channel
  rec(255, 16) = 1;            // 16 without 17: not marked
  rec(100, 16) = 1;            // unused channel: ignored whatever it holds
  rec(100, 17) = 1;
  modPublic.bytRadioData[300] = 0xFF;  // stale bits are cleared first
  subPrepareImage();
  EXPECT_EQ(at(256), 0x02);  // channel 1: bit 1 of the base byte
  EXPECT_EQ(at(257), 0x01);  // channel 8: bit 0 of the next byte
  EXPECT_EQ(at(287), 0x80);  // channel 255: bit 7 of the last byte
  EXPECT_EQ(at(288 + 1), 0x01);
  EXPECT_EQ(at(320 + 1), 0x01);
  for (int i = 352; i < 384; ++i) EXPECT_EQ(at(i), 0) << i;
  EXPECT_EQ(at(300), 0);
  EXPECT_EQ(at(32), 255);
  rec(255, 17) = 2;
  subPrepareImage();
  EXPECT_EQ(at(352 + 31), 0x80);
}

TEST_F(Stamping, EmptyImageClearsSummaryAndDanglingReferences) {
  for (int k = 34; k <= 39; ++k) modPublic.bytRadioData[static_cast<size_t>(k)] = static_cast<uint8_t>(k);
  modPublic.bytRadioData[32] = 77;
  subPrepareImage();
  EXPECT_EQ(at(32), 0);
  for (int k = 34; k <= 39; ++k) EXPECT_EQ(at(k), 0) << k;
  for (int i = 252; i < 384; ++i) EXPECT_EQ(at(i), 0) << i;

  rec(5, 0) = 1;
  modPublic.bytRadioData[34] = 0;  // "none" stays
  modPublic.bytRadioData[35] = 5;  // a used channel stays
  modPublic.bytRadioData[36] = 6;  // an empty one goes
  subPrepareImage();
  EXPECT_EQ(at(34), 0);
  EXPECT_EQ(at(35), 5);
  EXPECT_EQ(at(36), 0);
}

TEST_F(Stamping, MemoryEncodeBitmapMarksUsedRows) {
  modPublic.bytRadioData[384] = 0x12;            // row 1
  modPublic.bytRadioData[384 + 8 * 7] = 0x00;    // row 8
  modPublic.bytRadioData[384 + 8 * 15] = 0x01;   // row 16
  subPrepareImage();
  EXPECT_EQ(at(252), 0x02);
  EXPECT_EQ(at(253), 0x01);
  EXPECT_EQ(at(254), 0x01);
  EXPECT_EQ(at(255), 0x00);
}

TEST_F(Stamping, BaseTailStartsAtTheLastByteOfTheHighestChannel) {
  auto fillBase = [] { std::fill(modPublic.bytRadioBase.begin(), modPublic.bytRadioBase.end(), 0xAA); };
  for (auto [h, start] : {std::pair{0, 767}, {254, 6863}}) {
    fillBase();
    modPublic.bytRadioData[32] = static_cast<uint8_t>(h);
    subClearBaseTail();
    EXPECT_EQ(modPublic.bytRadioBase[static_cast<size_t>(start - 1)], 0xAA) << h;
    for (int i = start; i <= kImageLast; ++i) ASSERT_EQ(modPublic.bytRadioBase[static_cast<size_t>(i)], 0) << h << ":" << i;
  }
  fillBase();
  modPublic.bytRadioData[32] = 255;
  subClearBaseTail();
  EXPECT_EQ(modPublic.bytRadioBase[kImageLast], 0xAA);
}

TEST_F(Stamping, FirstRowSearchPerFamily) {
  modPublic.intTopRow = 7;
  EXPECT_FALSE(blnSetTopRow());
  EXPECT_EQ(modPublic.intTopRow, 7);
  rec(3, 1) = 1;
  EXPECT_TRUE(blnSetTopRow());
  EXPECT_EQ(modPublic.intTopRow, 4);
  rec(3, 1) = 0;
  rec(250, 0) = 1;
  EXPECT_TRUE(blnSetTopRow());
  EXPECT_EQ(modPublic.intTopRow, 494);  // 498 held to the last row minus 15

  ASSERT_TRUE(setUpFamily("1"));
  EXPECT_FALSE(blnSetTopRow());
  // Channel 120 without names lies in the second area: row 239 is its TX row.
  auto& d = modPublic.bytRadioData;
  d[1024 + 4 * (239 - 200)] = 0x10;
  d[1024 + 4 * (239 - 200) + 1] = 0x22;
  EXPECT_TRUE(blnSetTopRow());
  EXPECT_EQ(modPublic.intTopRow, 238);
  // With names on, the split is at row 100 and the same bytes are row 139.
  d[801] |= 2;
  EXPECT_TRUE(blnSetTopRow());
  EXPECT_EQ(modPublic.intTopRow, 138);

  ASSERT_TRUE(setUpFamily("2"));
  EXPECT_FALSE(blnSetTopRow());
  modPublic.bytRadioData[4 * 197] = 0x35;
  modPublic.bytRadioData[4 * 197 + 1] = 0x12;
  EXPECT_TRUE(blnSetTopRow());
  EXPECT_EQ(modPublic.intTopRow, 182);  // row 196, at most 197 - 15
}

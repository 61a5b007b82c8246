#include <gtest/gtest.h>

#include "core/modpublic.h"
#include "link/prewrite.h"
#include "support/testsupport.h"

namespace {
class PreWrite : public ::testing::Test {
 protected:
  void SetUp() override { freshModel(dir); }
  uint8_t& at(int i) { return modPublic.bytRadioData[static_cast<size_t>(i)]; }
  TempDir dir;
  RecordingMessages msgs;
};
}  // namespace

TEST_F(PreWrite, ChannelCheckFamily0ScansUpToTheHighestUsedChannel) {
  ASSERT_TRUE(setUpFamily("0"));
  at(768) = 1;  // channel 1 holds data, but byte 32 says none are used
  EXPECT_FALSE(blnChanCheck());
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "No Frequency Data. Please Set !");
  EXPECT_EQ(msgs.boxes[0].title, "blnChanCheck");
  EXPECT_EQ(msgs.boxes[0].style, 48);
  at(768) = 0;
  at(32) = 10;
  at(985) = 3;  // channel 10, byte 1
  EXPECT_TRUE(blnChanCheck());
  EXPECT_EQ(msgs.boxes.size(), 1u);
}

TEST_F(PreWrite, ChannelCheckFamilies1And2UseTheirRowLayouts) {
  ASSERT_TRUE(setUpFamily("1"));
  EXPECT_FALSE(blnChanCheck());
  at(1224) = 0x12;  // row 250 without channel names
  at(1225) = 0x20;
  EXPECT_TRUE(blnChanCheck());
  at(801) |= 2;  // with names the same bytes are row 150 of 0..199
  EXPECT_TRUE(blnChanCheck());

  ASSERT_TRUE(setUpFamily("2"));
  msgs.boxes.clear();
  EXPECT_FALSE(blnChanCheck());  // every row F9 3F 7F 00
  EXPECT_EQ(msgs.boxes.size(), 1u);
  at(480) = 0x35;
  at(481) = 0x12;
  EXPECT_TRUE(blnChanCheck());
}

TEST_F(PreWrite, ChannelCheckScansExactlyTheFamilysRows) {
  struct Case {
    const char* family;
    bool names;  // family "1" channel-name option
    int at;      // the only byte that differs from the empty image (-1: none)
    uint8_t value;
    bool data;
  };
  const Case cases[] = {
      {"0", false, 768 + 24 * 5, 1, false},       // channel 6 record, byte 32 says 5 channels
      {"0", false, 768 + 24 * 4 + 1, 1, true},    // channel 5, second byte
      {"1", false, -1, 0, false},                 // every row FF 3F 7F 00
      {"1", false, 1024 + 4 * 199, 0x12, true},   // row 399
      {"1", true, 400, 0x12, false},              // a name byte, not a row, with names on
      {"1", true, 1024 + 4 * 99, 0x12, true},     // row 199 with names on
      {"2", false, -1, 0, false},                 // every row F9 3F 7F 00
      {"2", false, 4 * 197, 0xFF, false},         // FF 3F is empty too
      {"2", false, 4 * 198 + 1, 0x12, false},     // beyond the last row
      {"2", false, 4 * 197 + 1, 0x12, true},      // row 197
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(setUpFamily(c.family));
    msgs.boxes.clear();
    if (std::string(c.family) == "0") at(32) = 5;
    if (c.names) at(801) |= 2;
    if (c.at >= 0) at(c.at) = c.value;
    EXPECT_EQ(blnChanCheck(), c.data) << c.family << " byte " << c.at;
    EXPECT_EQ(msgs.boxes.size(), c.data ? 0u : 1u) << c.family << " byte " << c.at;
  }
}

TEST_F(PreWrite, FormatCombinationsPerFamily) {
  struct Case {
    const char* family;
    int enc, dec;
    int expected;  // 0 = passes, else the message id
  };
  // Every alternative of every refusal rule, and neighbours that pass.
  const Case cases[] = {
      {"0", 1, 2, 10077}, {"0", 3, 2, 10077}, {"0", 2, 1, 10077}, {"0", 4, 1, 10077}, {"0", 0, 1, 10078},
      {"0", 0, 2, 10078}, {"0", 0, 0, 0},     {"0", 1, 1, 0},     {"0", 5, 2, 0},     {"0", 0, 3, 0},
      {"1", 0, 3, 10077}, {"1", 4, 3, 10077}, {"1", 2, 0, 10077}, {"1", 6, 0, 10077}, {"1", 7, 0, 10078},
      {"1", 7, 3, 10078}, {"1", 7, 7, 0},     {"1", 1, 3, 0},     {"1", 4, 0, 0},     {"1", 7, 1, 0},
      {"2", 0, 3, 10077}, {"2", 2, 0, 10077}, {"2", 7, 0, 10078}, {"2", 7, 3, 10078}, {"2", 4, 3, 0},
      {"2", 6, 0, 0},     {"2", 0, 0, 0},     {"2", 2, 3, 0},     {"2", 7, 1, 0},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(setUpFamily(c.family));
    msgs.boxes.clear();
    if (std::string(c.family) == "0") {
      at(42) = static_cast<uint8_t>(0xF0 | c.enc);  // only the low bits count
      at(66) = static_cast<uint8_t>(0xF8 | c.dec);
    } else {
      at(810) = static_cast<uint8_t>(0xF8 | c.enc);
      at(834) = static_cast<uint8_t>(0xF8 | c.dec);
    }
    EXPECT_EQ(blnWriteCheck(), c.expected == 0) << c.family << " " << c.enc << "/" << c.dec;
    if (c.expected == 0) {
      EXPECT_TRUE(msgs.boxes.empty());
    } else {
      ASSERT_EQ(msgs.boxes.size(), 1u);
      EXPECT_EQ(msgs.boxes[0].text, c.expected == 10077 ? "A wrong combination of Encode set and Decode set"
                                                        : "No Encode set !");
      EXPECT_EQ(msgs.boxes[0].title, "blnWriteCheck");
    }
  }
  modPublic.strCmdFileName = "radio.R3D";
  at(810) = 0xF8 | 7;
  at(834) = 0xF8 | 0;
  msgs.boxes.clear();
  EXPECT_FALSE(blnWriteCheck());
  EXPECT_EQ(msgs.boxes.at(0).title, "velmora Progamming blnWriteCheck");
}

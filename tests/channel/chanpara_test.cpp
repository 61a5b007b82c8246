// Channel rows of the image <-> the working grid, per family and layout.
#include <random>

#include "channel/freqcheck.h"
#include "channel/tonetables.h"
#include "chantest.h"
#include "core/chanrows.h"
#include "platform/base/vbtext.h"

using Cells = std::array<std::string, kChanParaColumns>;

TEST_F(ChannelTest, Family0RowsDecode) {
  setUpChannels("0", 4);  // 136-174 MHz, IF 48.5 MHz
  put(768, {0x47, 0x40, 0x22, 0x0C, 0xF4, 0x00, 0x00, 0x00});  // channel 1 RX
  put(776, {0x41, 0x40, 0x22, 0x05, 0x04, 0x00, 0x00, 0x00});  // channel 1 TX
  put(792, {0x00, 0x00, 0x22, 0x05, 0x04, 0x00, 0x00, 0x00});  // channel 2 RX: empty
  ASSERT_TRUE(blnGetChanPara(data));
  EXPECT_EQ(data.udtPllData[1].intPllB, 514);
  EXPECT_EQ(data.udtPllData[1].bytPllA, 34);
  EXPECT_EQ(row(1), (Cells{"64", "12.50", "411.62500", "WID", "", "", "HI", data.strCtcTable[5], "PM", "", "", "", ""}));
  EXPECT_EQ(row(0), (Cells{"64", "12.50", "363.12500", "4KH", "", "ON", "", "", "FM", data.strDcsTable[12], "", "1", "1"}));
  EXPECT_EQ(row(2), Cells{});
  EXPECT_EQ(data.udtPllData[2].intPllB, 0);

  // A negative IF raises the RX frequency; an IF of 0 shows no frequency.
  data.dblIFOffset = freq::ifHz(-48.5f);
  data.sngIF = -48.5f;
  ASSERT_TRUE(blnGetChanPara(data));
  EXPECT_EQ(row(0)[2], "460.12500");
  EXPECT_EQ(row(1)[2], "411.62500");
  data.sngIF = 0;
  ASSERT_TRUE(blnGetChanPara(data));
  EXPECT_EQ(row(0)[2], "");
  EXPECT_EQ(row(1)[2], "");
  EXPECT_EQ(row(1)[0], "64");
}

TEST_F(ChannelTest, Family1EmptyPatternsAndLayouts) {
  setUpChannels("1", 2);  // IF 48.5 MHz, 200 channels
  EXPECT_EQ(data.intMaxRow, 399);
  EXPECT_EQ(chanRowOffset(1, image(), 199), 796);
  EXPECT_EQ(chanRowOffset(1, image(), 200), 1024);
  EXPECT_EQ(chanRowOffset(1, image(), 399), 1820);
  for (int r = 0; r <= data.intMaxRow; ++r) put(static_cast<size_t>(chanRowOffset(1, image(), r)), {0xFF, 0x3F, 0x12, 0x34});
  put(0, {0x00, 0x00, 0x00, 0x00});
  put(4, {0x00, 0x00, 0x00, 0x00});
  ASSERT_TRUE(blnGetChanPara(data));
  EXPECT_EQ(row(0), (Cells{"64", "5.00", "-48.50000", "WID", "", "OFF", "", "", "", "", "", "", ""}));
  EXPECT_EQ(row(1), (Cells{"64", "5.00", "0.00000", "WID", "", "", "HI", "", "", "", "", "", ""}));
  for (int r = 2; r <= data.intMaxRow; ++r) ASSERT_EQ(row(r), Cells{}) << r;

  // The channel-name option halves the table: channel 51 starts at 1024.
  setUpChannels("1", 2, true);
  EXPECT_EQ(data.intMaxRow, 199);
  EXPECT_EQ(modPublic.chanParaLastRow(), 199);
  EXPECT_EQ(chanRowOffset(1, image(), 99), 396);
  EXPECT_EQ(chanRowOffset(1, image(), 100), 1024);
  EXPECT_EQ(modPublic.strChanParaNo[0], "001");
  EXPECT_EQ(modPublic.strChanParaTxRx[0], "RX");
  EXPECT_EQ(modPublic.strChanParaNo[1], "");
  EXPECT_EQ(modPublic.strChanParaTxRx[1], "TX");
  EXPECT_EQ(modPublic.strChanParaNo[198], "100");
  EXPECT_EQ(modPublic.strChanParaTxRx[198], "RX");
}

TEST_F(ChannelTest, CountersAndFieldsLandOnTheirBits) {
  const Cells rx0{"64", "12.50", "145.01250", "NRW", "", "ON", "", "", "FM", "", "1", "1", "1"};
  const Cells tx{"64", "12.50", "145.01250", "WID", "", "", "HI", "", "PM", "", "", "", ""};

  setUpChannels("0", 4);
  clearGrid();
  row(0) = rx0;
  row(0)[9] = data.strDcsTable[12];
  row(1) = tx;
  ASSERT_TRUE(blnPutChanPara(data));
  // RX: N = 193.5125 MHz / 12.5 kHz = 15481, B = 241, A = 57; TX: B = 181, A = 17.
  EXPECT_EQ(bytes(768, 8), (std::vector<uint8_t>{0x07, 0x8F, 0x4E, 0x8C, 0xEC, 0x00, 0x00, 0x00}));
  EXPECT_EQ(bytes(776, 8), (std::vector<uint8_t>{0x01, 0xAD, 0x44, 0x00, 0x04, 0x07, 0x00, 0x00}));
  EXPECT_EQ(data.udtPllData[1].intPllB, 1384);
  EXPECT_EQ(data.udtPllData[1].bytPllA, 68);
  EXPECT_EQ(bytes(792, 8), std::vector<uint8_t>(8, 0));

  setUpChannels("1", 2);
  clearGrid();
  row(0) = rx0;
  row(0)[8] = "";
  row(0)[9] = data.strDcsTable[12];
  row(1) = tx;
  row(1)[8] = "";
  ASSERT_TRUE(blnPutChanPara(data));
  EXPECT_EQ(bytes(0, 4), (std::vector<uint8_t>{0xC6, 0xE3, 0xCE, 0x8C}));
  EXPECT_EQ(bytes(4, 4), (std::vector<uint8_t>{0x46, 0x2B, 0x44, 0x00}));
  EXPECT_EQ(bytes(8, 4), (std::vector<uint8_t>{0xFF, 0x3F, 0x7F, 0x00}));
  EXPECT_EQ(image()[982], 0x01);  // SR of the RX row
  EXPECT_EQ(image()[996], 0x00);
  EXPECT_EQ(image()[1856], 0x01);  // SH

  setUpChannels("2", 5);  // 136-156 MHz, IF 48.5
  image()[2048] = 0xA7;
  clearGrid();
  row(0) = rx0;
  row(0)[4] = "Dupl";
  row(0)[9] = data.strDcsTable[12];
  row(0)[11] = "";
  row(1) = tx;
  row(1)[3] = "";
  row(1)[8] = "FM";
  ASSERT_TRUE(blnPutChanPara(data));
  EXPECT_EQ(bytes(0, 4), (std::vector<uint8_t>{0xC1, 0xE3, 0xCE, 0x8C}));
  EXPECT_EQ(bytes(4, 4), (std::vector<uint8_t>{0x41, 0x2B, 0x44, 0x00}));
  EXPECT_EQ(bytes(8, 4), (std::vector<uint8_t>{0xF9, 0x3F, 0x7F, 0x00}));
  EXPECT_EQ(image()[1920], 0x02);  // mode
  EXPECT_EQ(image()[1952], 0x01);  // W/N
  EXPECT_EQ(image()[1984], 0x01);  // FM on the RX row
  EXPECT_EQ(image()[2000], 0x01);  // FM on the TX row
  EXPECT_EQ(image()[2048], 0x44);  // both steps 12.5 kHz
  EXPECT_EQ(image()[2416], 14);    // band position codes
  EXPECT_EQ(image()[1816], 14);
}

TEST_F(ChannelTest, Family2StepsMapsAndEmptyRows) {
  setUpChannels("2", 5);
  for (int r = 0; r <= data.intMaxRow; ++r) put(static_cast<size_t>(4 * r), {0xFF, 0x3F, 0x00, 0x00});
  put(8, {0xF9, 0x3F, 0x55, 0x55});
  put(0, {0x41, 0x2B, 0x44, 0x00});  // channel 1 RX
  put(4, {0x41, 0x2B, 0x44, 0x00});  // channel 1 TX
  image()[2048] = 0xF2;              // RX 6.25 kHz, TX code 15
  image()[1952] = 0x03;              // W/N code 3 has no text
  image()[1920] = 0x02;              // duplex
  image()[2000] = 0x01;
  image()[2049] = 0x31;  // channel 2 (empty): its step nibbles survive the write
  ASSERT_TRUE(blnGetChanPara(data));
  EXPECT_EQ(row(0), (Cells{"64", "6.25", "24.00625", "", "Dupl", "OFF", "", "", "PM", "", "", "", ""}));
  EXPECT_EQ(row(1), (Cells{"64", "12.50", "145.01250", "", "", "", "HI", "", "FM", "", "", "", ""}));
  for (int r = 2; r <= data.intMaxRow; ++r) ASSERT_EQ(row(r), Cells{}) << r;
  EXPECT_FALSE(chanrows::channelUsed(2, image(), 2));
  EXPECT_TRUE(chanrows::channelUsed(2, image(), 1));

  // Nothing edited: the odd codes and the leftovers of empty rows stay.
  const auto before = image();
  ASSERT_TRUE(blnPutChanPara(data));
  EXPECT_EQ(image(), before);

  // Edited rows are encoded as laid out, the old mode bits cleared before
  // the new ones are set (duplex to semiduplex, not repeater); an empty row
  // emptied again is still as read and keeps its bytes.
  row(0)[4] = "Semi";
  row(0)[5] = "ON";
  row(1)[6] = "LO";
  row(2) = Cells{};
  forgetKeptTone(data, 2);  // as the page does when it empties a row
  ASSERT_TRUE(blnPutChanPara(data));
  EXPECT_EQ(bytes(0, 4), (std::vector<uint8_t>{0x41, 0x6B, 0x44, 0x00}));
  EXPECT_EQ(bytes(4, 4), (std::vector<uint8_t>{0x41, 0x6B, 0x44, 0x00}));
  EXPECT_EQ(bytes(8, 4), (std::vector<uint8_t>{0xF9, 0x3F, 0x55, 0x55}));
  for (int r = 3; r <= data.intMaxRow; ++r)
    ASSERT_EQ(bytes(static_cast<size_t>(4 * r), 4), (std::vector<uint8_t>{0xFF, 0x3F, 0x00, 0x00})) << r;
  EXPECT_EQ(image()[2049], 0x31);
  EXPECT_EQ(image()[2048], 0x42);  // code 15 is written back as the 12.5 kHz code
  EXPECT_EQ(image()[1952], 0x00);  // no W/N text: code 0
  EXPECT_EQ(image()[1920], 0x01);  // semiduplex
  EXPECT_EQ(image()[2000], 0x01);
}

TEST_F(ChannelTest, Family1SecondBankFlags) {
  setUpChannels("1", 2);
  clearGrid();
  const Cells rx{"64", "12.50", "145.01250", "WID", "", "OFF", "", "", "", "", "", "", "1"};
  const Cells tx{"64", "12.50", "145.01250", "WID", "", "", "HI", "", "", "", "", "", "1"};
  row(200) = rx;
  row(201) = tx;
  row(398) = rx;  // channel 200, bit 3 of the 13th map byte
  ASSERT_TRUE(blnPutChanPara(data));
  EXPECT_EQ(bytes(1024, 4), (std::vector<uint8_t>{0xC6, 0x23, 0x4E, 0x00}));  // channel 101 RX
  EXPECT_EQ(bytes(1028, 4), (std::vector<uint8_t>{0x46, 0x2B, 0x44, 0x00}));  // channel 101 TX
  EXPECT_EQ(image()[1824], 0x01);
  EXPECT_EQ(image()[1838], 0x01);
  EXPECT_EQ(image()[1836], 0x08);
  for (int at = 982; at <= 1009; ++at) ASSERT_EQ(image()[static_cast<size_t>(at)], 0) << at;

  // Taking the flag off channel 101's RX row: gone after close and reopen.
  row(200)[12] = "";
  ASSERT_TRUE(blnPutChanPara(data));
  ASSERT_TRUE(blnGetChanPara(data));
  EXPECT_EQ(row(200)[12], "");
  EXPECT_EQ(row(201)[12], "1");
  EXPECT_EQ(image()[1824], 0x00);
}

TEST_F(ChannelTest, EmptyFrequencyWritesTheEmptyPattern) {
  setUpChannels("0", 4);
  clearGrid();
  std::fill(image().begin() + 768, image().begin() + 768 + 24, 0x5A);
  row(0) = {"64", "12.50", "0", "NRW", "", "ON", "", "L67.0", "FM", "", "", "1", "1"};
  row(1) = {"64", "12.50", "", "NRW", "", "", "LO", "", "FM", "", "", "", "1"};
  ASSERT_TRUE(blnPutChanPara(data));
  EXPECT_EQ(bytes(768, 16), std::vector<uint8_t>(16, 0));
  EXPECT_EQ(bytes(784, 8), std::vector<uint8_t>(8, 0x5A));  // the channel name stays
}

TEST_F(ChannelTest, SixPointTwoFiveRetriesFiftyHertzHigher) {
  setUpChannels("0", 4);
  clearGrid();
  row(1) = {"64", "6.25", "145.0062", "WID", "", "", "HI", "", "PM", "", "", "", ""};
  std::vector<int> failed;
  ASSERT_TRUE(blnPutChanPara(data, &failed));
  EXPECT_TRUE(failed.empty());
  ASSERT_TRUE(blnGetChanPara(data));
  EXPECT_EQ(row(1)[2], "145.00625");
  EXPECT_EQ(row(1)[1], "6.25");
}

TEST_F(ChannelTest, RowsWithoutCountersKeepTheirBytesAndAreReported) {
  setUpChannels("1", 2);
  clearGrid();
  const std::vector<uint8_t> before{0x46, 0x2B, 0x44, 0x05};
  put(20, {0x46, 0x2B, 0x44, 0x05});  // channel 3 TX
  put(28, {0xFF, 0x3F, 0x7F, 0x00});  // channel 4 TX, empty
  image()[996] = 0x04;  // channel 3 TX SR flag
  row(5) = {"64", "12.50", "30.00000", "NRW", "", "", "LO", "", "", "", "", "", ""};
  row(6) = {"64", "12.50", "145.01250", "WID", "", "OFF", "", "", "", "", "", "", ""};
  row(7) = {"64", "12.50", "145.01000", "WID", "", "", "HI", "", "", "", "", "", ""};  // off the raster
  std::vector<int> failed;
  EXPECT_FALSE(blnPutChanPara(data, &failed));
  EXPECT_EQ(failed, (std::vector<int>{3, 4}));
  EXPECT_EQ(bytes(20, 4), before);
  EXPECT_EQ(image()[996], 0x04);
  EXPECT_EQ(bytes(28, 4), (std::vector<uint8_t>{0xFF, 0x3F, 0x7F, 0x00}));  // was empty, stays empty
  EXPECT_NE(bytes(24, 4), (std::vector<uint8_t>{0xFF, 0x3F, 0x7F, 0x00}));
}

TEST_F(ChannelTest, TonesTheTablesCannotShowSurviveUntilEdited) {
  setUpChannels("0", 4);
  put(768, {0x01, 0xAD, 0x44, 0x3C, 0x04, 0x00, 0x00, 0x00});  // CTCSS index 60
  put(776, {0x05, 0xAD, 0x44, 0xDA, 0x04, 0x07, 0x00, 0x00});  // DCS index 90 (empty in family "0"), INV
  put(792, {0x01, 0xAD, 0x44, 0x53, 0x04, 0x00, 0x00, 0x00});  // DCS bit clear, index 83
  put(800, {0x05, 0xAD, 0x44, 0x53, 0x04, 0x07, 0x00, 0x00});  // DCS element 83
  const std::vector<uint8_t> original = image();
  ASSERT_TRUE(blnGetChanPara(data));
  EXPECT_EQ(row(0)[7], "");
  EXPECT_EQ(row(1)[9], "");
  EXPECT_EQ(row(1)[10], "1");
  EXPECT_EQ(row(2)[7], "");
  EXPECT_EQ(row(3)[9], data.strDcsTable[83]);
  EXPECT_FALSE(row(3)[9].empty());
  std::vector<int> failed;
  ASSERT_TRUE(blnPutChanPara(data, &failed));
  EXPECT_TRUE(failed.empty());
  EXPECT_EQ(image(), original);

  // Edited tone cells are stored as edited.
  row(0)[7] = "88.5";
  row(1)[10] = "";
  row(2)[9] = data.strDcsTable[1];
  ASSERT_TRUE(blnPutChanPara(data));
  EXPECT_EQ(image()[771], 14);
  EXPECT_EQ(image()[776] & 4, 0);
  EXPECT_EQ(image()[779], 0);
  EXPECT_EQ(image()[792], 0x05);
  EXPECT_EQ(image()[795], 1);
  // A row with both tone texts keeps the DCS code only.
  row(0)[9] = data.strDcsTable[2];
  row(0)[10] = "1";
  ASSERT_TRUE(blnPutChanPara(data));
  EXPECT_EQ(image()[768], 0x05);
  EXPECT_EQ(image()[771], 0x82);
}

TEST_F(ChannelTest, ADeletedChannelTypedAnewGetsNoHiddenTone) {
  setUpChannels("0", 4);
  put(768, {0x01, 0xAD, 0x44, 0x3C, 0x04, 0x00, 0x00, 0x00});  // channel 1 RX: CTCSS index 60
  put(792, {0x05, 0xAD, 0x44, 0xDA, 0x04, 0x00, 0x00, 0x00});  // channel 2 RX: DCS index 90, INV
  ASSERT_TRUE(blnGetChanPara(data));
  const Cells channel1 = row(0);
  const Cells channel2 = row(2);
  ASSERT_EQ(channel1[7], "");
  ASSERT_EQ(channel2[9], "");
  auto retype = [&](int r, const Cells& typed) {
    row(r) = Cells{};  // deleted, as the page does it
    forgetKeptTone(data, r);
    row(r) = typed;  // typed anew, no tone chosen
  };
  // Typed anew with its texts as read: the channel as read, hidden tone and all.
  const auto channel1Bytes = bytes(768, 8);
  retype(0, channel1);
  ASSERT_TRUE(blnPutChanPara(data));
  EXPECT_EQ(bytes(768, 8), channel1Bytes);
  // Typed anew as another channel (here narrow): without the hidden tone.
  Cells narrow = channel1;
  narrow[3] = "NRW";
  retype(0, narrow);
  ASSERT_TRUE(blnPutChanPara(data));
  EXPECT_EQ(image()[771], 0);
  EXPECT_EQ(image()[768] & 4, 0);

  // Deleted, written, then typed anew before the next write: the same.
  row(2) = Cells{};
  ASSERT_TRUE(blnPutChanPara(data));
  row(2) = channel2;
  ASSERT_TRUE(blnPutChanPara(data));
  EXPECT_EQ(image()[795], 0);
  EXPECT_EQ(image()[792] & 4, 0);
}

TEST_F(ChannelTest, Family2BandBytesFollowEachRowsOwnFrequency) {
  setUpChannels("2", 6);  // 150-174 MHz: top 174.0, 0.75 MHz per code
  clearGrid();
  const Cells low{"64", "12.50", "152.00000", "WID", "Simp", "OFF", "", "", "FM", "", "", "", ""};
  const Cells high{"64", "12.50", "170.00000", "", "", "", "HI", "", "FM", "", "", "", ""};
  Cells lowTx = low, highRx = high;
  lowTx[3] = lowTx[4] = lowTx[5] = "";
  lowTx[6] = "HI";
  highRx[3] = "WID";
  highRx[4] = "Simp";
  highRx[5] = "OFF";
  highRx[6] = "";
  row(0) = low;       // channel 1: RX low, TX high
  row(1) = high;
  row(2) = highRx;    // channel 2: RX high, TX low
  row(3) = lowTx;
  ASSERT_TRUE(blnPutChanPara(data));
  EXPECT_EQ(image()[2416], 2);   // 31 - Fix((1740 - 1520) / 7.5)
  EXPECT_EQ(image()[1816], 26);  // 31 - Fix((1740 - 1700) / 7.5)
  EXPECT_EQ(image()[2417], 26);
  EXPECT_EQ(image()[1817], 2);
  ASSERT_TRUE(blnGetChanPara(data));
  EXPECT_EQ(row(0)[2], "152.00000");
  EXPECT_EQ(row(1)[2], "170.00000");
  EXPECT_EQ(row(3)[2], "152.00000");
}

TEST_F(ChannelTest, BandPositionCode) {
  setUpChannels("0", 4);  // top 174.0 MHz, 1.1875 MHz per code
  EXPECT_EQ(bandPositionCode(0, 145'012'500), 7);
  EXPECT_EQ(bandPositionCode(0, 150'250'000), 11);  // exactly 20 codes below the top
  EXPECT_EQ(bandPositionCode(0, 173'987'500), 31);
  EXPECT_EQ(bandPositionCode(0, 180'000'000), 31);
  EXPECT_EQ(bandPositionCode(0, 136'000'000), 0);
  EXPECT_EQ(bandPositionCode(1, 145'012'500), 0);
  image()[14] = 99;  // no such model: nothing is indexed
  EXPECT_EQ(bandPositionCode(0, 145'012'500), 0);
  float ifMHz = 1;
  EXPECT_FALSE(channelModelIf(ifMHz));
}

TEST(ChannelBits, ReverseBits) {
  EXPECT_EQ(bytReverseBits(0x01), 0x80);
  EXPECT_EQ(bytReverseBits(0x41), 0x82);
  EXPECT_EQ(bytReverseBits(0xF0), 0x0F);
  EXPECT_EQ(bytReverseBits(0xAD), 0xB5);
  EXPECT_EQ(bytReverseBits(0x00), 0x00);
}

// Images as a radio may hold them: codes outside the lists, bits the radio
// leaves zero, leftovers in empty rows and flag bits of empty channels. Read
// and written back without an edit, every byte stays; an edited row is
// encoded as its table lays it out, and nothing else moves.
TEST_F(ChannelTest, UneditedRowsKeepEveryBitTheyWereReadWith) {
  {
    SCOPED_TRACE("family 0");
    setUpChannels("0", 4);  // 136-174 MHz: band top 1740, 11.875 per code
    // Channel 1 RX: bits 3-4 of byte 0 and bit 7 of byte 2 set, step code 6,
    // W/N code 3, SR and SH, and bytes 5-7 not zero.
    put(768, {0x5B, 0xAD, 0xC4, 0x0C, 0xDE, 0x11, 0x22, 0x33});
    // Channel 1 TX, 145.0125 MHz: step code 7, W/N code 3, LO, SR, bit 7 of
    // byte 4 (zero on TX rows), a band code of 31 and bytes 6-7 not zero.
    put(776, {0x01, 0xAD, 0x44, 0x05, 0xFF, 0x1F, 0x01, 0x02});
    put(792, {0x00, 0x00, 0x22, 0x05, 0x04, 0x09, 0x00, 0x00});  // channel 2: empty with leftovers
    put(800, {0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    const auto before = image();
    ASSERT_TRUE(blnGetChanPara(data));
    ASSERT_EQ(row(0)[3], "");  // W/N code 3 shows no text
    ASSERT_EQ(row(1)[1], "12.50");
    ASSERT_EQ(row(1)[2], "145.01250");
    ASSERT_TRUE(blnPutChanPara(data));
    EXPECT_EQ(image(), before);

    row(1)[6] = "HI";
    ASSERT_TRUE(blnPutChanPara(data));
    // Prescaler 64, B = 181, A = 17, CTCSS 5; step code 4, W/N code 0, HI,
    // SR; band code 31 - Fix((1740 - 1450.125) / 11.875) = 7; bytes 6-7 zero.
    EXPECT_EQ(bytes(776, 8), (std::vector<uint8_t>{0x01, 0xAD, 0x44, 0x05, 0x44, 0x07, 0x00, 0x00}));
    auto expected = before;
    std::copy_n(image().begin() + 776, 8, expected.begin() + 776);
    EXPECT_EQ(image(), expected);
  }
  {
    SCOPED_TRACE("family 1");
    setUpChannels("1", 2);
    put(0, {0xC6, 0x23, 0x4E, 0x00});  // channel 1 RX
    put(4, {0x46, 0x2B, 0x44, 0x05});  // channel 1 TX, 145.0125 MHz, step code 3
    put(8, {0xFF, 0x3F, 0x12, 0x34});  // channel 2: empty rows with leftovers
    put(12, {0xFF, 0x3F, 0xAB, 0xCD});
    image()[982] = 0x03;   // SR of channel 1 RX and of empty channel 2
    image()[996] = 0x02;   // SR of empty channel 2's TX row
    image()[1856] = 0x02;  // SH of empty channel 2
    image()[995] = 0xF0;   // bits of channels the first SR map does not hold
    image()[1887] = 0x80;
    const auto before = image();
    ASSERT_TRUE(blnGetChanPara(data));
    ASSERT_EQ(row(1)[2], "145.01250");
    ASSERT_TRUE(blnPutChanPara(data));
    EXPECT_EQ(image(), before);

    // Empty channel 2 filled and emptied again, as an auto set and Ctrl+D do
    // it: its texts are those read, and so are its bytes and flag bits.
    row(2) = row(0);
    row(3) = row(1);
    for (int r : {2, 3}) {
      forgetKeptTone(data, r);
      row(r) = Cells{};
      forgetKeptTone(data, r);
    }
    ASSERT_TRUE(blnPutChanPara(data));
    EXPECT_EQ(image(), before);

    row(1)[6] = "LO";
    row(1)[12] = "1";
    ASSERT_TRUE(blnPutChanPara(data));
    EXPECT_EQ(bytes(4, 4), (std::vector<uint8_t>{0x46, 0x6B, 0x44, 0x05}));
    auto expected = before;
    expected[5] = 0x6B;
    expected[996] = 0x03;  // channel 1 TX SR set, channel 2's bit kept
    EXPECT_EQ(image(), expected);

    // Its step changed, frequency and prescaler not: the counters follow the
    // step. 145.0125 MHz / 6.25 kHz = 23202 = 64 x 362 + 34, step code 1.
    row(1)[1] = "6.25";
    ASSERT_TRUE(blnPutChanPara(data));
    EXPECT_EQ(bytes(4, 4), (std::vector<uint8_t>{0xA2, 0x55, 0x22, 0x05}));
  }
  {
    SCOPED_TRACE("family 2");
    setUpChannels("2", 5);  // 136-156 MHz: band top 1560, 6.25 per code
    for (int r = 0; r <= data.intMaxRow; ++r) put(static_cast<size_t>(4 * r), {0xF9, 0x3F, 0x7F, 0x00});
    put(0, {0x47, 0xAB, 0xC4, 0x00});  // channel 1 RX: bits 1-2 of byte 0 set, SR
    put(4, {0x47, 0x2B, 0x44, 0x05});  // channel 1 TX, 145.0125 MHz
    put(8, {0xFF, 0x3F, 0x12, 0x34});  // channel 2: FF 3F, not F9 3F, with leftovers
    image()[2048] = 0x95;              // step codes 5 (RX) and 9 (TX)
    image()[2049] = 0x31;              // empty channel 2's step nibbles
    image()[1952] = 0x0F;              // W/N code 3 of channels 1 and 2
    image()[1920] = 0x0C;              // mode of empty channel 2
    image()[1984] = 0x02;              // PM/FM of empty channel 2
    image()[2000] = 0x03;
    image()[1944] = 0xC0;              // channel 100 does not exist
    image()[2416] = 0x77;              // band codes as stored, not recomputed
    image()[1816] = 0x66;
    image()[2417] = 0x55;
    const auto before = image();
    ASSERT_TRUE(blnGetChanPara(data));
    ASSERT_EQ(row(0)[3], "");
    ASSERT_EQ(row(1)[2], "145.01250");
    ASSERT_TRUE(blnPutChanPara(data));
    EXPECT_EQ(image(), before);

    row(1)[6] = "LO";
    ASSERT_TRUE(blnPutChanPara(data));
    // Bits 1-2 of byte 0 cleared, LO; the TX step nibble becomes code 4 and
    // the TX band code 31 - Fix((1560 - 1450.125) / 6.25) = 14.
    EXPECT_EQ(bytes(4, 4), (std::vector<uint8_t>{0x41, 0x6B, 0x44, 0x05}));
    auto expected = before;
    std::copy_n(image().begin() + 4, 4, expected.begin() + 4);
    expected[2048] = 0x45;
    expected[1816] = 14;
    EXPECT_EQ(image(), expected);

    // Channel 2 TX, 145.0125 MHz held with prescaler "128" (N below 128 x
    // 128, which the counter check refuses): its transmit power edited, the
    // row is encoded with the counters it was read with.
    put(12, {0x86, 0x96, 0x45, 0x05});
    image()[2049] = 0x41;
    ASSERT_TRUE(blnGetChanPara(data));
    ASSERT_EQ(row(3)[0], "128");
    ASSERT_EQ(row(3)[2], "145.01250");
    row(3)[6] = "LO";
    std::vector<int> unencoded;
    ASSERT_TRUE(blnPutChanPara(data, &unencoded));
    EXPECT_TRUE(unencoded.empty());
    EXPECT_EQ(bytes(12, 4), (std::vector<uint8_t>{0x80, 0xD6, 0x45, 0x05}));
    ASSERT_TRUE(blnGetChanPara(data));
    EXPECT_EQ(row(3)[6], "LO");
    EXPECT_EQ(row(3)[2], "145.01250");
  }
}

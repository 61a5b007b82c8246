// Write transfers and sums.
#include "linktest.h"

using namespace radiolink;

namespace {
// The data frames of a family-"0" write: the word numbers between the
// command frame (4 bytes) and the sum frame (4 bytes).
std::vector<int> wordsSent(const std::vector<uint8_t>& sent) {
  std::vector<int> words;
  for (size_t i = 4; i + 4 < sent.size(); i += 4) words.push_back(sent[i] + 256 * sent[i + 1]);
  return words;
}
std::vector<int> range(int from, int to) {
  std::vector<int> v;
  for (int w = from; w <= to; ++w) v.push_back(w);
  return v;
}
}  // namespace

TEST_F(LinkTest, FamilyZeroSumAndSize) {
  setUpFamily(0, 0);
  int32_t size = 0, sum = 0;
  // Byte 32 = 0: the sum covers bytes 0..767.
  modPublic.bytRadioData[0] = 0x10;
  modPublic.bytRadioData[767] = 0x01;  // word 383, high byte
  modPublic.bytRadioData[768] = 0x55;  // beyond the range
  EXPECT_TRUE(engine.blnP1RACheckSum(size, sum));
  EXPECT_EQ(size, 768);
  EXPECT_EQ(sum, 0x10 + 0x100);
  // Byte 32 = 255: capped at 6886, every byte counted.
  std::fill(modPublic.bytRadioData.begin(), modPublic.bytRadioData.end(), 0xFF);
  modPublic.bytRadioData[32] = 255;
  EXPECT_TRUE(engine.blnP1RACheckSum(size, sum));
  EXPECT_EQ(size, 6888);
  EXPECT_EQ(sum, 3444 * 65535);

  // Sum 70000 goes out as FF FF 70 11.
  setUpFamily(0, 0);
  radio = std::make_unique<sim::Radio>(0, std::vector<uint8_t>(6888, 0));
  line.setRadio(radio.get());
  // 70000 = 0x1170 + 0xFFFF + 1.
  modPublic.bytRadioData[100] = 0x70;
  modPublic.bytRadioData[101] = 0x11;
  modPublic.bytRadioData[200] = 0xFF;
  modPublic.bytRadioData[201] = 0xFF;
  modPublic.bytRadioData[202] = 0x01;
  EXPECT_TRUE(engine.blnP1RACheckSum(size, sum));
  EXPECT_EQ(sum, 70000);
  modPublic.blnRadioRead = false;
  EXPECT_TRUE(engine.blnCommP1RACompFormat(1, size, sum, 0x69));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  // The command frame announces the 384 words the sum covers.
  EXPECT_EQ(std::vector<uint8_t>(line.sent.begin(), line.sent.begin() + 4), (std::vector<uint8_t>{0x69, 0x80, 0x01, 0x00}));
  EXPECT_EQ(wordsSent(line.sent).size(), 385u);  // words 0..383, then word 32 again
  EXPECT_EQ(sentFrom(line.sent.size() - 4), (std::vector<uint8_t>{0xFF, 0xFF, 0x70, 0x11}));
  EXPECT_EQ(radio->log().back(), "write: 385 frames stored");
  EXPECT_EQ(radio->log()[radio->log().size() - 2], "write: sum ok (4464)");
}

TEST_F(LinkTest, FamilyZeroWordChoice) {
  int32_t size = 0, sum = 0;
  // Unchanged image, baseline known: one data frame (word 32) between the
  // command frame and the sum frame.
  setUpFamily(0, 0);
  modPublic.bytRadioData[32] = modPublic.bytRadioBase[32] = 10;
  modPublic.blnRadioRead = true;
  engine.blnP1RACheckSum(size, sum);
  EXPECT_TRUE(engine.blnCommP1RACompFormat(0, size, sum, 0x69));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(line.sent, (std::vector<uint8_t>{0x69, 0xF8, 0x01, 0x00, 0x20, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x0A, 0x00}));
  EXPECT_EQ(line.pauses, (std::vector<int64_t>{47}));

  // Image byte 32 = 10 against baseline 5: changed words of bytes 0..767,
  // every word of bytes 768..1007, then word 32.
  setUpFamily(0, 0);
  modPublic.bytRadioData[32] = 10;
  modPublic.bytRadioBase[32] = 5;
  modPublic.bytRadioData[201] = 7;  // word 100
  modPublic.blnRadioRead = true;
  engine.blnP1RACheckSum(size, sum);
  EXPECT_TRUE(engine.blnCommP1RACompFormat(0, size, sum, 0x69));
  std::vector<int> want = {16, 100};
  for (int w : range(384, 503)) want.push_back(w);
  want.push_back(32);
  EXPECT_EQ(wordsSent(line.sent), want);

  // Baseline not known: every word up to the last used record, then word 32.
  setUpFamily(0, 0);
  line.sent.clear();
  modPublic.bytRadioData[32] = 1;
  modPublic.blnRadioRead = false;
  engine.blnP1RACheckSum(size, sum);
  EXPECT_TRUE(engine.blnCommP1RACompFormat(0, size, sum, 0x69));
  want = range(0, 395);
  want.push_back(32);
  EXPECT_EQ(wordsSent(line.sent), want);

  // Byte 32 = 255, compulsion write: all 3444 words, no extra word 32.
  setUpFamily(0, 0);
  line.sent.clear();
  modPublic.bytRadioData[32] = 255;
  engine.blnP1RACheckSum(size, sum);
  EXPECT_EQ(size, 6888);
  EXPECT_TRUE(engine.blnCommP1RACompFormat(1, size, sum, 0x69));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(wordsSent(line.sent), range(0, 3443));
  EXPECT_EQ(std::vector<uint8_t>(line.sent.begin(), line.sent.begin() + 4), (std::vector<uint8_t>{0x69, 0x74, 0x0D, 0x00}));
  std::vector<uint8_t> stored = radio->memory();
  EXPECT_EQ(stored, std::vector<uint8_t>(modPublic.bytRadioData.begin(), modPublic.bytRadioData.begin() + 6888));
}

TEST_F(LinkTest, FamilyOneWriteAndErase) {
  setUpFamily(1, 0);
  modPublic.bytRadioData = pattern(6888, 7);
  modPublic.bytRadioData[1017] = 1;  // ZR330
  std::vector<int> progress;
  engine.onProgress = [&progress](int p) { progress.push_back(p); };
  EXPECT_TRUE(engine.blnCommSFormat(2, 0xE7));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  ASSERT_EQ(line.sent.size(), 1u + 3u * 1024u);
  EXPECT_EQ(line.sent[0], 0xE7);
  for (int w = 0; w < 1024; ++w) ASSERT_EQ(line.sent[1 + 3 * w], w % 256) << w;
  EXPECT_EQ(line.pauses[0], 5);  // after the command byte
  EXPECT_EQ(radio->memory(), std::vector<uint8_t>(modPublic.bytRadioData.begin(), modPublic.bytRadioData.begin() + 2048));
  EXPECT_EQ(progress.size(), 1024u);
  EXPECT_EQ(progress.back(), 100);

  // The delete command: echoed, nothing else sent.
  line.sent.clear();
  EXPECT_TRUE(engine.blnSendCommand(0x4D));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(line.sent, (std::vector<uint8_t>{0x4D}));
  EXPECT_EQ(radio->log().back(), "erase");
}

TEST_F(LinkTest, FamilyTwoWrites) {
  // Compulsion write: 5A, 1280 frames, FF FF AB CD.
  setUpFamily(2, 0);
  modPublic.bytRadioData = pattern(6888, 9);
  EXPECT_TRUE(engine.blnCommSFormat(3, 0x5A));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  ASSERT_EQ(line.sent.size(), 1u + 4u * 1280u + 4u);
  EXPECT_EQ(line.sent[0], 0x5A);
  EXPECT_EQ(line.pauses[0], 47);
  EXPECT_EQ(sentFrom(line.sent.size() - 4), (std::vector<uint8_t>{0xFF, 0xFF, 0xAB, 0xCD}));
  EXPECT_EQ(radio->memory(), std::vector<uint8_t>(modPublic.bytRadioData.begin(), modPublic.bytRadioData.begin() + 2560));
  EXPECT_EQ(radio->log().back(), "write: 1280 frames stored");

  // Changed words, unchanged image, non-zero sum: the sum word, then the end.
  setUpFamily(2, 0);
  modPublic.bytRadioData[10] = modPublic.bytRadioBase[10] = 3;
  modPublic.blnRadioWritten = true;
  EXPECT_TRUE(engine.blnCommCompFormat(3, 0x5A));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(line.sent, (std::vector<uint8_t>{0x5A, 0xFF, 0x04, 0x03, 0x00, 0xFF, 0xFF, 0xAB, 0xCD}));
  EXPECT_EQ(line.pauses, (std::vector<int64_t>{47}));  // between the command and the first frame
  EXPECT_EQ(modPublic.bytRadioData[2558], 3);

  // A sum of 0 is stored as well: the old sum of bytes 2558/2559 goes, and
  // that word is sent.
  setUpFamily(2, 0);
  line.sent.clear();
  modPublic.bytRadioData[2558] = modPublic.bytRadioBase[2558] = 0x44;
  modPublic.bytRadioData[2559] = modPublic.bytRadioBase[2559] = 0x01;
  modPublic.blnRadioWritten = true;
  EXPECT_TRUE(engine.blnCommCompFormat(3, 0x5A));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(line.sent, (std::vector<uint8_t>{0x5A, 0xFF, 0x04, 0x00, 0x00, 0xFF, 0xFF, 0xAB, 0xCD}));
  EXPECT_EQ(modPublic.bytRadioData[2558], 0);
  EXPECT_EQ(modPublic.bytRadioData[2559], 0);

  // Nothing to send: 12, False, nothing on the wire.
  setUpFamily(2, 0);
  line.sent.clear();
  modPublic.blnRadioWritten = true;
  EXPECT_FALSE(engine.blnCommCompFormat(3, 0x5A));
  EXPECT_EQ(engine.lngCommState, kStateNoEdited);
  EXPECT_TRUE(line.sent.empty());

  // The third frame echoed wrongly every time: 9 after frames 0 and 1 were
  // taken; no end frame.
  setUpFamily(2, 0);
  line.sent.clear();
  modPublic.blnRadioWritten = false;
  radio->faults.wrongEchoAt = 3;  // echo 0 is the command's
  radio->faults.wrongEchoAlways = true;
  EXPECT_TRUE(engine.blnCommCompFormat(3, 0x5A));
  EXPECT_EQ(engine.lngCommState, kStateCollation);
  std::vector<uint8_t> want = {0x5A, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
  for (int i = 0; i < 3; ++i) want.insert(want.end(), {0x02, 0x00, 0x00, 0x00});
  EXPECT_EQ(line.sent, want);

  // A short echo is a wrong echo even when the missing byte is 0.
  setUpFamily(2, 0);
  line.sent.clear();
  modPublic.blnRadioWritten = false;
  radio->faults.shortEchoAt = 1;
  EXPECT_TRUE(engine.blnCommSFormat(3, 0x5A));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(std::vector<uint8_t>(line.sent.begin(), line.sent.begin() + 9),
            (std::vector<uint8_t>{0x5A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));

  // Stop during the pause after the command: 11, no frame sent.
  setUpFamily(2, 0);
  line.sent.clear();
  line.stopAtMs = line.nowMs() + 20;
  line.onStop = [this] { engine.requestStop(); };
  EXPECT_TRUE(engine.blnCommSFormat(3, 0x5A));
  EXPECT_EQ(engine.lngCommState, kStateStopped);
  EXPECT_EQ(line.sent, (std::vector<uint8_t>{0x5A}));

  // The stored write sum before a compulsion write.
  setUpFamily(2, 0);
  modPublic.bytRadioData[0] = 0xFF;
  modPublic.bytRadioData[1] = 0xFF;
  modPublic.bytRadioData[2557] = 0x01;  // word 1278 = 0x100
  LinkEngine::subStoreWriteSum();
  EXPECT_EQ(modPublic.bytRadioData[2558], 0xFF);  // 0xFFFF + 0x100 = 0x100FF
  EXPECT_EQ(modPublic.bytRadioData[2559], 0x00);
}

TEST_F(LinkTest, WriteWithoutAnEcho) {
  // No echo to the command byte: 7, nothing more; to a frame: 6.
  setUpFamily(2, 0);
  radio->faults.silent = true;
  EXPECT_TRUE(engine.blnCommSFormat(3, 0x5A));
  EXPECT_EQ(engine.lngCommState, kStateCommandTimeout);
  EXPECT_EQ(line.sent, (std::vector<uint8_t>{0x5A}));

  setUpFamily(0, 0);
  line.sent.clear();
  radio->faults.hangupAfter = -1;
  line.setAnswerer([](uint8_t, int64_t) { return std::vector<sim::Chunk>{}; });
  int32_t size = 0, sum = 0;
  engine.blnP1RACheckSum(size, sum);
  EXPECT_TRUE(engine.blnCommP1RACompFormat(1, size, sum, 0x69));
  EXPECT_EQ(engine.lngCommState, kStateFrameTimeout);
  EXPECT_EQ(line.sent.size(), 4u);
}

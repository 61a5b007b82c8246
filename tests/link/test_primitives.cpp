// The exchange primitives and the port procedures on the virtual line.
#include <algorithm>
#include <array>
#include <functional>

#include "linktest.h"

using namespace radiolink;

namespace {
// An answerer that replies to every byte with the given function's bytes.
FakeLine::Answerer replies(std::function<std::vector<uint8_t>(uint8_t)> f) {
  return [f](uint8_t b, int64_t) { return std::vector<sim::Chunk>{sim::Chunk{0, f(b), false}}; };
}
// An answerer that echoes every four bytes as `edit` changes them.
FakeLine::Answerer echoesFrames(std::function<void(std::vector<uint8_t>&)> edit) {
  auto got = std::make_shared<std::vector<uint8_t>>();
  return [got, edit](uint8_t b, int64_t) {
    got->push_back(b);
    if (got->size() % 4 != 0) return std::vector<sim::Chunk>{};
    std::vector<uint8_t> e(got->end() - 4, got->end());
    edit(e);
    return std::vector<sim::Chunk>{sim::Chunk{0, e, false}};
  };
}
}  // namespace

TEST_F(LinkTest, CommandEchoSilenceAndWrongEchoes) {
  setUpFamily(2);
  // A good echo.
  line.setAnswerer(replies([](uint8_t b) { return std::vector<uint8_t>{b}; }));
  EXPECT_TRUE(engine.blnSendCommand(0x4D));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(line.sent, (std::vector<uint8_t>{0x4D}));

  // Silence: one try, 7 after 3000 ms.
  line.setAnswerer(replies([](uint8_t) { return std::vector<uint8_t>{}; }));
  line.sent.clear();
  int64_t t0 = line.nowUs;
  EXPECT_TRUE(engine.blnSendCommand(0x5C));
  EXPECT_EQ(engine.lngCommState, kStateCommandTimeout);
  EXPECT_EQ(line.sent.size(), 1u);
  EXPECT_EQ(line.nowUs - t0, 3'000'000);

  // A state on entry: nothing is sent.
  line.sent.clear();
  EXPECT_FALSE(engine.blnSendCommand(0x5C));
  EXPECT_TRUE(line.sent.empty());

  // A wrong echo three times: three tries, 9.
  engine.lngCommState = kStateOk;
  line.setAnswerer(replies([](uint8_t b) { return std::vector<uint8_t>{static_cast<uint8_t>(b + 1)}; }));
  EXPECT_TRUE(engine.blnSendCommand(0x5C));
  EXPECT_EQ(engine.lngCommState, kStateCollation);
  EXPECT_EQ(line.sent, (std::vector<uint8_t>{0x5C, 0x5C, 0x5C}));

  // Wrong once, then right: two tries, 0.
  engine.lngCommState = kStateOk;
  line.sent.clear();
  int calls = 0;
  line.setAnswerer(replies([&calls](uint8_t b) {
    return std::vector<uint8_t>{static_cast<uint8_t>(calls++ == 0 ? b ^ 1 : b)};
  }));
  EXPECT_TRUE(engine.blnSendCommand(0x5A));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(line.sent.size(), 2u);
  EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(LinkTest, FrameEchoFaults) {
  setUpFamily(2);
  const uint8_t frame[4] = {0x12, 0x03, 0xA0, 0x00};
  uint8_t echo[4] = {9, 9, 9, 9};

  // Silence after a frame: one try, 6.
  line.setAnswerer(replies([](uint8_t) { return std::vector<uint8_t>{}; }));
  EXPECT_TRUE(engine.blnSendFrame(frame, echo, 3));
  EXPECT_EQ(engine.lngCommState, kStateFrameTimeout);
  EXPECT_EQ(line.sent.size(), 4u);
  EXPECT_EQ(echo[0], 0);  // cleared as the bytes went out

  // 11 on entry: nothing sent, False.
  engine.lngCommState = kStateStopped;
  line.sent.clear();
  EXPECT_FALSE(engine.blnSendFrame(frame, echo, 3));
  EXPECT_TRUE(line.sent.empty());

  // A short echo (three of four bytes, the missing one would be 0), and an
  // echo whose last byte alone is wrong: three tries, 9.
  for (auto edit : {+[](std::vector<uint8_t>& e) { e.pop_back(); }, +[](std::vector<uint8_t>& e) { e.back() ^= 1; }}) {
    engine.lngCommState = kStateOk;
    line.sent.clear();
    line.setAnswerer(echoesFrames(edit));
    EXPECT_TRUE(engine.blnSendFrame(frame, echo, 3));
    EXPECT_EQ(engine.lngCommState, kStateCollation);
    EXPECT_EQ(line.sent.size(), 12u);
  }

  // The echo's last byte held back by a busy machine: within the frame's
  // byte wait it completes the echo (one try); past it, the try is repeated
  // only once the line has fallen quiet, so the late byte is not taken for
  // the first byte of the next echo, and the second try passes.
  for (const auto& [lateMs, sends] : {std::pair<int, size_t>{300, 4}, {700, 8}}) {
    SCOPED_TRACE(lateMs);
    engine.lngCommState = kStateOk;
    line.sent.clear();
    const size_t at = line.sentAtUs.size();
    auto got = std::make_shared<int>(0);
    line.setAnswerer([got, frame, lateMs = lateMs](uint8_t, int64_t) {
      if (++*got % 4 != 0) return std::vector<sim::Chunk>{};
      const std::vector<uint8_t> whole(frame, frame + 4);
      if (*got > 4) return std::vector<sim::Chunk>{sim::Chunk{0, whole, false}};
      return std::vector<sim::Chunk>{sim::Chunk{0, {whole.begin(), whole.end() - 1}, false},
                                     sim::Chunk{lateMs, {whole.back()}, false}};
    });
    EXPECT_TRUE(engine.blnSendFrame(frame, echo, 3));
    EXPECT_EQ(engine.lngCommState, kStateOk);
    EXPECT_EQ(line.sent.size(), sends);
    ASSERT_EQ(line.sentAtUs.size(), at + sends);
    if (sends == 8) {
      EXPECT_GE(line.sentAtUs[at + 4] - line.sentAtUs[at + 3], 700'000);
    }
    line.nowUs += 1'000'000;
  }

  // A line that never falls silent after a wrong echo or header (noise for
  // ten seconds): each further try goes ahead once the first-byte wait has
  // passed. A stop while the line is given time to fall quiet sends nothing
  // more: a frame, the delete command, a read's header request.
  const struct {
    const char* name;
    size_t perTry;               // bytes a try sends
    std::vector<uint8_t> wrong;  // the far end's answer to a try's last byte
    std::function<void()> run;
  } exchanges[] = {
      {"frame", 4, {0x12, 0x03, 0xA0, 0x01}, [&] { EXPECT_TRUE(engine.blnSendFrame(frame, echo, 3)); }},
      {"delete", 1, {0x4C}, [&] { EXPECT_TRUE(engine.blnCommDelete(0x4D)); }},
      {"header", 3, std::vector<uint8_t>(16, 0x6B), [&] {
         std::array<uint8_t, 16> header{};
         EXPECT_TRUE(engine.blnReadHeader(0x6A, header, 16));
       }}};
  for (const auto& exchange : exchanges) {
    for (const bool stop : {false, true}) {
      SCOPED_TRACE(std::string(exchange.name) + (stop ? " stopped" : " noise"));
      engine.lngCommState = kStateOk;
      line.sent.clear();
      const size_t at = line.sentAtUs.size();
      auto got = std::make_shared<size_t>(0);
      line.setAnswerer([got, per = exchange.perTry, wrong = exchange.wrong](uint8_t, int64_t) {
        if (++*got % per != 0) return std::vector<sim::Chunk>{};
        std::vector<sim::Chunk> out{sim::Chunk{0, wrong, false}};
        for (int k = 0; *got == per && k < 100; ++k) out.push_back(sim::Chunk{100, {0x55}, false});
        return out;
      });
      if (stop) {
        line.stopAtMs = line.nowMs() + 1000;
        line.onStop = [this] { engine.requestStop(); };
      }
      exchange.run();
      if (stop) {
        EXPECT_EQ(engine.lngCommState, kStateStopped);
        EXPECT_EQ(line.sent.size(), exchange.perTry);
      } else {
        EXPECT_EQ(engine.lngCommState, kStateCollation);
        ASSERT_EQ(line.sent.size(), 3 * exchange.perTry);
        const int64_t quiet = line.sentAtUs[at + exchange.perTry] - line.sentAtUs[at + exchange.perTry - 1];
        EXPECT_GE(quiet, 3'000'000);
        EXPECT_LE(quiet, 3'200'000);
      }
      line.reset();
    }
  }
  line.setRadio(radio.get());

  // Five bytes echoed for four: the first four count; the fifth waits in the
  // buffer until the next primitive discards it.
  engine.lngCommState = kStateOk;
  line.sent.clear();
  line.setAnswerer(echoesFrames([](std::vector<uint8_t>& e) { e.push_back(0x77); }));
  EXPECT_TRUE(engine.blnSendFrame(frame, echo, 3));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(line.sent.size(), 4u);
  EXPECT_EQ(std::vector<uint8_t>(echo, echo + 4), std::vector<uint8_t>(frame, frame + 4));
  line.nowUs += 5000;  // the fifth byte is in when the next frame starts
  EXPECT_TRUE(engine.blnSendFrame(frame, echo, 3));
  EXPECT_EQ(engine.lngCommState, kStateOk);

  // A wrong echo on the first try only: resent once.
  line.nowUs += 5000;
  line.sent.clear();
  radio->faults.wrongEchoAt = 0;
  line.setRadio(radio.get());
  EXPECT_TRUE(engine.blnSendCommand(0x5A));  // the radio mishears the command once
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(line.sent, (std::vector<uint8_t>{0x5A, 0x5A}));
}

TEST_F(LinkTest, FamilyOnePacesEveryByte) {
  setUpFamily(1);
  const uint8_t frame[3] = {0x00, 0x11, 0x22};
  uint8_t echo[3] = {};
  line.setAnswerer([](uint8_t b, int64_t) { return std::vector<sim::Chunk>{sim::Chunk{0, {b}, false}}; });
  EXPECT_TRUE(engine.blnSendFrame(frame, echo, 2));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  // Each byte flushed, then 4 units, including after the last one.
  EXPECT_EQ(line.pauses, (std::vector<int64_t>{4, 4, 4}));
  EXPECT_EQ(line.flushes, 3);
  ASSERT_EQ(line.sentAtUs.size(), 3u);
  EXPECT_EQ(line.sentAtUs[1] - line.sentAtUs[0], 4000);
  EXPECT_EQ(line.sentAtUs[2] - line.sentAtUs[1], 4000);

  // Families "0" and "2" send back to back.
  setUpFamily(2);
  line.pauses.clear();
  line.sent.clear();
  const uint8_t f4[4] = {1, 0, 2, 3};
  uint8_t e4[4] = {};
  EXPECT_TRUE(engine.blnSendCommand(0x5A));
  EXPECT_TRUE(engine.blnSendFrame(f4, e4, 3));
  EXPECT_TRUE(line.pauses.empty());
}

TEST_F(LinkTest, StopDuringTheFirstByteWait) {
  setUpFamily(2);
  line.setAnswerer([](uint8_t, int64_t) { return std::vector<sim::Chunk>{}; });
  line.stopAtMs = line.nowMs() + 1200;
  line.onStop = [this] { engine.requestStop(); };
  const uint8_t frame[4] = {1, 2, 3, 4};
  uint8_t echo[4] = {};
 const int64_t t0 = line.nowUs;
  EXPECT_TRUE(engine.blnSendFrame(frame, echo, 3));
  EXPECT_EQ(engine.lngCommState, kStateStopped);  // never overwritten by 6
  EXPECT_EQ(line.nowUs - t0, 1'200'000);            // the wait ended with the stop
  EXPECT_EQ(line.sent.size(), 4u);                // no retry
  EXPECT_FALSE(engine.blnSendCommand(0x5A));
  EXPECT_EQ(line.sent.size(), 4u);
}

TEST_F(LinkTest, PortProcedures) {
  setUpFamily(0);
  // The page opens at 4800; a reopen applies 9600, no parity, 8 data, 1 stop.
  engine.strCommPort = "3";
  engine.strBaudRate = "9600";
  engine.lngCommState = kStateOk;
  EXPECT_EQ(engine.subCommReopen(), kStateOk);
  EXPECT_EQ(engine.lngCommState, kStateNotOpen);  // the close's result, before the open
  EXPECT_EQ(line.line.baud, 9600);
  EXPECT_EQ(line.line.parity, 'n');
  EXPECT_EQ(line.line.dataBits, 8);
  EXPECT_EQ(line.line.stopBits, 1);
  EXPECT_EQ(line.device, "/dev/ttyS2");
  EXPECT_TRUE(line.isOpen());
  EXPECT_EQ(engine.subCommClose(), kStateNotOpen);
  EXPECT_FALSE(line.isOpen());
  EXPECT_EQ(engine.subCommClose(), kStateNotOpen);

  // A port that cannot be opened: 10, and a read then ends with 10.
  line.refuseOpen = true;
  EXPECT_EQ(engine.subCommOpen(), kStateNotOpen);
  std::array<uint8_t, 16> header{};
  EXPECT_FALSE(engine.blnReadWithHeader(3, header, 0x6A));
  EXPECT_EQ(engine.lngCommState, kStateNotOpen);
  EXPECT_TRUE(line.sent.empty());
  // A port number outside the map opens nothing.
  line.refuseOpen = false;
  engine.strCommPort = "17";
  const int opens = line.opens;
  EXPECT_EQ(engine.subCommOpen(), kStateNotOpen);
  EXPECT_EQ(line.opens, opens);

  // The send-complete notification pauses once, then never again.
  engine.lngCommState = kStateOk;
  line.pauses.clear();
  engine.subSendComplete();
  engine.subSendComplete();
  EXPECT_EQ(line.pauses, (std::vector<int64_t>{30}));
  EXPECT_FALSE(line.notifications());
}

// A port that raises the send-complete notification: the first byte that
// leaves its buffer costs one pause of 30 units, before the command's pause;
// then the port raises no more, for this write and the next.
TEST_F(LinkTest, TheFirstSendCompleteNotificationPausesOnceAndEndsThem) {
  setUpFamily(2);
  line.notifySendComplete = true;
  ASSERT_TRUE(line.notifications());
  EXPECT_TRUE(engine.blnCommSFormat(3, 0x5A));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  ASSERT_GE(line.pauses.size(), 2u);
  EXPECT_EQ(line.pauses[0], 30);
  EXPECT_EQ(line.pauses[1], 47);
  EXPECT_EQ(std::count(line.pauses.begin(), line.pauses.end(), 30), 1);
  EXPECT_FALSE(line.notifications());
  // The pause came after the command byte and before the first frame.
  EXPECT_GE(line.sentAtUs[1] - line.sentAtUs[0], (30 + 47) * 1000);
  EXPECT_EQ(radio->memory(), std::vector<uint8_t>(modPublic.bytRadioData.begin(), modPublic.bytRadioData.begin() + 2560));

  line.reset();
  EXPECT_TRUE(engine.blnCommSFormat(3, 0x5A));
  EXPECT_EQ(std::count(line.pauses.begin(), line.pauses.end(), 30), 0);
}

TEST_F(LinkTest, PortFaultEndsTheWriteWithOneMessage) {
  setUpFamily(2);
  modPublic.blnRadioWritten = false;
  // The tenth byte handed to the port fails (inside the third frame).
  line.failWriteAt = 9;
  EXPECT_TRUE(engine.blnCommSFormat(3, 0x5A));
  EXPECT_EQ(engine.lngCommState, kStateSendError);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "It is the error which isn't expected");
  EXPECT_EQ(messages.boxes[0].style, 16);
  EXPECT_EQ(messages.boxes[0].title, "blnCommErrAnalyze");
  EXPECT_EQ(line.sent.size(), 9u);  // command and two frames; nothing after the fault

  // The next operation opens the port afresh and runs normally.
  messages.boxes.clear();
  line.failWriteAt = -1;
  line.nowUs += 2'000'000;  // the radio forgets the broken exchange
  EXPECT_TRUE(engine.blnCommSFormat(3, 0x5A));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(LinkTest, HangUpDuringReadLeavesTheImage) {
  setUpFamily(2);
  const auto before = modPublic.bytRadioData;
  radio->faults.hangupAfter = 100;
  EXPECT_FALSE(engine.blnReadFrames(3, 0x5C));
  EXPECT_EQ(engine.lngCommState, kStateOther);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].text, "It is the error which isn't expected");
  EXPECT_EQ(modPublic.bytRadioData, before);
  EXPECT_EQ(modPublic.bytRadioBase, before);
}

// Read transfers of the three families against the radio on the virtual line.
#include <cstdint>

#include "linktest.h"

using namespace radiolink;

namespace {
std::vector<uint8_t> firstBytes(const std::vector<uint8_t>& v, size_t n) { return {v.begin(), v.begin() + static_cast<long>(n)}; }

// What the program must send in a whole read: the request, then every data
// frame echoed byte for byte (never the end frame).
std::vector<uint8_t> readTraffic(int family, const std::vector<uint8_t>& mem) {
  std::vector<uint8_t> out = family == 0 ? std::vector<uint8_t>{0x6A, 0x00, 0x00}
                                         : std::vector<uint8_t>{static_cast<uint8_t>(family == 1 ? 0x4C : 0x5C)};
  for (size_t w = 0; w < mem.size() / 2; ++w) {
    out.push_back(static_cast<uint8_t>(w & 0xFF));
    if (family != 1) out.push_back(static_cast<uint8_t>(w >> 8));
    out.push_back(mem[2 * w]);
    out.push_back(mem[2 * w + 1]);
  }
  return out;
}

// A family-"2" radio playing the given frames: the first right behind the
// echo of the read command, each further one after the program's four echo
// bytes, then the end frame.
// The radio's side of a read: the command echoed, then each frame after the
// echo of the one before. `lateAfter` bytes into frame `lateFrame`, the rest of
// that frame comes `lateMs` later (a busy machine holding it back).
FakeLine::Answerer playFrames(std::vector<std::vector<uint8_t>> frames, size_t lateFrame = SIZE_MAX,
                              size_t lateAfter = 0, int lateMs = 0) {
  auto received = std::make_shared<size_t>(0);
  frames.push_back({0xFF, 0xFF, 0x00, 0x00});
  return [=](uint8_t b, int64_t) {
    const size_t n = (*received)++;
    std::vector<sim::Chunk> out;
    if (n == 0) out.push_back({0, {b}, false});
    if (n % 4 != 0 || n / 4 >= frames.size()) return out;
    const auto& f = frames[n / 4];
    if (n / 4 != lateFrame) {
      out.push_back({0, f, false});
    } else {
      out.push_back({0, {f.begin(), f.begin() + static_cast<long>(lateAfter)}, false});
      out.push_back({lateMs, {f.begin() + static_cast<long>(lateAfter), f.end()}, false});
    }
    return out;
  };
}

std::vector<uint8_t> frame2(int w, const std::vector<uint8_t>& mem) {
  return {static_cast<uint8_t>(w & 0xFF), static_cast<uint8_t>(w >> 8), mem[2 * w], mem[2 * w + 1]};
}
}  // namespace

TEST_F(LinkTest, FamilyZeroReadWithHeader) {
  setUpFamily(0);
  std::array<uint8_t, 16> header{};
  std::vector<int> progress;
  engine.onProgress = [&progress](int p) { progress.push_back(p); };
  EXPECT_TRUE(engine.blnReadWithHeader(3, header, 0x6A));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(firstBytes(modPublic.bytRadioData, 6888), radio->memory());
  EXPECT_EQ(firstBytes(modPublic.bytRadioBase, 6888), radio->memory());
  EXPECT_EQ(header[0], 0x6A);
  EXPECT_EQ(header[1] + 256 * header[2], 3444);
  EXPECT_EQ(std::string(header.begin() + 4, header.end()), "ZR310SIM0001");
  // The request, then every frame echoed; the end frame is not echoed.
  EXPECT_EQ(line.sent, readTraffic(0, radio->memory()));
  EXPECT_EQ(line.pauses.size(), 3u);  // a pace after each request byte
  EXPECT_EQ(progress.back(), 99);     // 100 * 3444 / 3445
  EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(LinkTest, FamilyZeroFirstFrameRightBehindTheHeader) {
  // The header is 16 bytes: what follows it at once is the first frame.
  for (int gapMs : {0, 5}) {
    setUpFamily(0);
    radio->faults.headerGapMs = gapMs;
    std::array<uint8_t, 16> header{};
    EXPECT_TRUE(engine.blnReadWithHeader(3, header, 0x6A)) << gapMs;
    EXPECT_EQ(engine.lngCommState, kStateOk) << gapMs;
    EXPECT_EQ(std::string(header.begin() + 4, header.end()), "ZR310SIM0001");
    EXPECT_EQ(firstBytes(modPublic.bytRadioData, 6888), radio->memory()) << gapMs;
    EXPECT_EQ(line.sent, readTraffic(0, radio->memory())) << gapMs;
  }
}

TEST_F(LinkTest, FamilyZeroHeaderEdges) {
  // 15 header bytes count as a complete header.
  setUpFamily(0);
  radio->faults.headerBytes = 15;
  std::array<uint8_t, 16> header{};
  EXPECT_TRUE(engine.blnReadWithHeader(3, header, 0x6A));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(header[15], 0);
  EXPECT_EQ(firstBytes(modPublic.bytRadioData, 6888), radio->memory());

  // 14 bytes: asked three times, then 9; nothing received, image unchanged.
  setUpFamily(0);
  const auto before = modPublic.bytRadioData;
  radio->faults.headerBytes = 14;
  EXPECT_FALSE(engine.blnReadWithHeader(3, header, 0x6A));
  EXPECT_EQ(engine.lngCommState, kStateCollation);
  EXPECT_EQ(line.sent, (std::vector<uint8_t>{0x6A, 0, 0, 0x6A, 0, 0, 0x6A, 0, 0}));
  EXPECT_EQ(modPublic.bytRadioData, before);

  // A first header byte that is not the command: 9 after three tries.
  setUpFamily(0);
  line.sent.clear();
  radio->faults.wrongHeader = true;
  EXPECT_FALSE(engine.blnReadWithHeader(3, header, 0x6A));
  EXPECT_EQ(engine.lngCommState, kStateCollation);
  EXPECT_EQ(line.sent.size(), 9u);

  // No reply at all: one try, 7.
  setUpFamily(0);
  line.sent.clear();
  radio->faults.silent = true;
  EXPECT_FALSE(engine.blnReadWithHeader(3, header, 0x6A));
  EXPECT_EQ(engine.lngCommState, kStateCommandTimeout);
  EXPECT_EQ(line.sent.size(), 3u);

  // More words announced than the image holds: refused before any frame.
  setUpFamily(0);
  line.sent.clear();
  radio->faults.announceWords = 3445;
  EXPECT_FALSE(engine.blnReadWithHeader(3, header, 0x6A));
  EXPECT_EQ(engine.lngCommState, kStateReceiveError);
  EXPECT_EQ(line.sent.size(), 3u);  // no frame was echoed
  EXPECT_EQ(modPublic.bytRadioData, before);
}

TEST_F(LinkTest, FamilyZeroCountedWords) {
  // A scripted radio: header announcing n words, then words 0..sent-1, then
  // the end frame, each frame after the echo of the one before.
  auto script = [this](int announce, int frames) {
    auto state = std::make_shared<std::pair<int, int>>(0, 0);  // bytes received, frames sent
    line.setAnswerer([state, announce, frames](uint8_t, int64_t) {
      std::vector<sim::Chunk> out;
      const int got = ++state->first;
      auto frameOrEnd = [&](int gap) {
        const int w = state->second++;
        if (w < frames)
          out.push_back({gap, {static_cast<uint8_t>(w), 0, static_cast<uint8_t>(0x10 + w), static_cast<uint8_t>(0x20 + w)}, false});
        else
          out.push_back({gap, {0xFF, 0xFF, 0x12, 0x34}, false});
      };
      if (got == 3) {
        std::vector<uint8_t> h = {0x6A, static_cast<uint8_t>(announce), 0, 0};
        h.resize(16, 'x');
        out.push_back({0, h, false});
        frameOrEnd(60);
      } else if (got > 3 && (got - 3) % 4 == 0) {
        frameOrEnd(0);
      }
      return out;
    });
  };
  std::array<uint8_t, 16> header{};
  // N = 0 and an immediate end frame: no record checked, image and baseline 0.
  setUpFamily(0);
  script(0, 0);
  EXPECT_TRUE(engine.blnReadWithHeader(3, header, 0x6A));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(modPublic.bytRadioData, std::vector<uint8_t>(6888, 0));
  EXPECT_EQ(modPublic.bytRadioBase, std::vector<uint8_t>(6888, 0));

  // N = 3: words 0..2 filled, the rest 0.
  setUpFamily(0);
  script(3, 3);
  EXPECT_TRUE(engine.blnReadWithHeader(3, header, 0x6A));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  std::vector<uint8_t> want(6888, 0);
  for (int w = 0; w < 3; ++w) {
    want[2 * w] = static_cast<uint8_t>(0x10 + w);
    want[2 * w + 1] = static_cast<uint8_t>(0x20 + w);
  }
  EXPECT_EQ(modPublic.bytRadioData, want);
  EXPECT_EQ(modPublic.bytRadioBase, want);

  // N = 3 but only two words come: the table check fails with 3.
  setUpFamily(0);
  const auto before = modPublic.bytRadioData;
  script(3, 2);
  EXPECT_FALSE(engine.blnReadWithHeader(3, header, 0x6A));
  EXPECT_EQ(engine.lngCommState, kStateReceiveError);
  EXPECT_EQ(modPublic.bytRadioData, before);
}

TEST_F(LinkTest, RepeatedAndLostFrames) {
  std::array<uint8_t, 16> header{};
  // A repeated frame is stored twice at the same record: the read succeeds.
  for (int family : {0, 1, 2}) {
    setUpFamily(family);
    radio->faults.repeatedFrame = 300;
    const bool ok = family == 0 ? engine.blnReadWithHeader(3, header, 0x6A)
                                : engine.blnReadFrames(family == 1 ? 2 : 3, family == 1 ? 0x4C : 0x5C);
    EXPECT_TRUE(ok) << family;
    EXPECT_EQ(engine.lngCommState, kStateOk) << family;
    EXPECT_EQ(firstBytes(modPublic.bytRadioData, radio->memory().size()), radio->memory()) << family;
  }
  // A lost frame: 3 for families "0" and "2" (the end frame closes), 6 for
  // family "1" (word 1023 never comes); the image stays as it was.
  for (int family : {0, 1, 2}) {
    setUpFamily(family);
    const auto before = modPublic.bytRadioData;
    radio->faults.missingFrame = 700;
    const bool ok = family == 0 ? engine.blnReadWithHeader(3, header, 0x6A)
                                : engine.blnReadFrames(family == 1 ? 2 : 3, family == 1 ? 0x4C : 0x5C);
    EXPECT_FALSE(ok) << family;
    EXPECT_EQ(engine.lngCommState, family == 1 ? kStateFrameTimeout : kStateReceiveError) << family;
    EXPECT_EQ(modPublic.bytRadioData, before) << family;
    EXPECT_EQ(modPublic.bytRadioBase, before) << family;
  }
  // A first frame that is not word 0 is not taken for word 0.
  setUpFamily(2);
  const auto before = modPublic.bytRadioData;
  radio->faults.missingFrame = 0;
  EXPECT_FALSE(engine.blnReadFrames(3, 0x5C));
  EXPECT_EQ(engine.lngCommState, kStateReceiveError);
  EXPECT_EQ(modPublic.bytRadioData, before);
}

TEST_F(LinkTest, FamilyOneSequencesAndFamilyTwoEndFrame) {
  setUpFamily(1);
  EXPECT_TRUE(engine.blnReadFrames(2, 0x4C));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(firstBytes(modPublic.bytRadioData, 2048), radio->memory());
  EXPECT_EQ(firstBytes(modPublic.bytRadioBase, 2048), radio->memory());
  // The command, then 1024 three-byte echoes whose first bytes run 0..255
  // four times; each echoed byte paced.
  EXPECT_EQ(line.sent, readTraffic(1, radio->memory()));
  EXPECT_EQ(line.pauses.size(), 3u * 1024u);
  // Done right after the last echo: no time-out was waited for.
  EXPECT_LT(line.nowMs(), 1024 * 20);

  setUpFamily(2);
  EXPECT_TRUE(engine.blnReadFrames(3, 0x5C));
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(firstBytes(modPublic.bytRadioData, 2560), radio->memory());
  EXPECT_EQ(line.sent.size(), 1u + 4u * 1280u);

  EXPECT_EQ(line.sent, readTraffic(2, radio->memory()));

  // Every word arrived but no end frame: 6 after 3000 ms, image unchanged.
  setUpFamily(2);
  const auto before = modPublic.bytRadioData;
  radio->faults.missingEnd = true;
  EXPECT_FALSE(engine.blnReadFrames(3, 0x5C));
  EXPECT_EQ(engine.lngCommState, kStateFrameTimeout);
  EXPECT_EQ(modPublic.bytRadioData, before);
}

TEST_F(LinkTest, OlderAndIncompleteFramesAreNeverTaken) {
  // A family-"2" read whose frames `play` lays out word by word.
  using Frames = std::vector<std::vector<uint8_t>>;
  auto readPlaying = [this](const std::function<void(int, const std::vector<uint8_t>&, Frames&)>& play) {
    setUpFamily(2);
    Frames frames;
    for (int w = 0; w < 1280; ++w) play(w, radio->memory(), frames);
    line.setAnswerer(playFrames(frames));
    return engine.blnReadFrames(3, 0x5C);
  };
  const std::vector<uint8_t> untouched(kImageSize, 0x5A);  // the image as setUpFamily leaves it

  // Word 1 sent again after word 2: every word still arrives, but a radio
  // going back is not believed.
  EXPECT_FALSE(readPlaying([](int w, const auto& mem, Frames& f) {
    f.push_back(frame2(w, mem));
    if (w == 2) f.push_back(frame2(1, mem));
  }));
  EXPECT_EQ(engine.lngCommState, kStateReceiveError);
  EXPECT_EQ(modPublic.bytRadioData, untouched);

  // Word 2 cut short and the radio silent after it: the short frame is
  // neither echoed nor stored with the bytes the previous frame left behind,
  // and the read ends as a time-out.
  EXPECT_FALSE(readPlaying([](int w, const auto& mem, Frames& f) {
    f.push_back(frame2(w, mem));
    if (w == 2) f.back().pop_back();
  }));
  EXPECT_EQ(engine.lngCommState, kStateFrameTimeout);
  EXPECT_EQ(line.sent.size(), 1u + 2 * 4);  // the command, words 0 and 1 echoed
  EXPECT_EQ(modPublic.bytRadioData, untouched);

  // The rest of frames held back for longer than the gap between two bytes on
  // the wire (a busy machine): each frame is still read whole, and the read
  // is exact.
  for (const auto& [after, ms] : {std::pair<size_t, int>{1, 120}, {2, 250}, {3, 450}}) {
    SCOPED_TRACE(std::to_string(after) + " bytes, then " + std::to_string(ms) + " ms");
    setUpFamily(2);
    Frames frames;
    for (int w = 0; w < 1280; ++w) frames.push_back(frame2(w, radio->memory()));
    line.setAnswerer(playFrames(frames, 2, after, ms));
    EXPECT_TRUE(engine.blnReadFrames(3, 0x5C));
    EXPECT_EQ(engine.lngCommState, kStateOk);
    EXPECT_EQ(firstBytes(modPublic.bytRadioData, 2560), radio->memory());
    EXPECT_EQ(line.sent.size(), 1u + 1280 * 4);
  }
}

TEST_F(LinkTest, StopDuringReadKeepsTheImage) {
  // Stops landing at every point of a frame exchange, the middle of an
  // arriving frame included.
  for (int family : {0, 1, 2}) {
    for (int64_t at = 400; at < 412; ++at) {
      SCOPED_TRACE("family " + std::to_string(family) + " stop at " + std::to_string(at));
      setUpFamily(family);
      const auto before = modPublic.bytRadioData;
      line.stopAtMs = line.nowMs() + at;
      line.onStop = [this] { engine.requestStop(); };
      std::array<uint8_t, 16> header{};
      const bool ok = family == 0 ? engine.blnReadWithHeader(3, header, 0x6A)
                                  : engine.blnReadFrames(family == 1 ? 2 : 3, family == 1 ? 0x4C : 0x5C);
      EXPECT_FALSE(ok);
      EXPECT_EQ(engine.lngCommState, kStateStopped);
      EXPECT_EQ(modPublic.bytRadioData, before);
      EXPECT_EQ(modPublic.bytRadioBase, before);
      // Whatever was echoed is what the radio sent: a frame cut off by the
      // stop is not echoed.
      for (const std::string& l : radio->log()) EXPECT_EQ(l.find("differs"), std::string::npos) << l;
      line.nowUs += 2'000'000;
    }
  }
}

#include "simradio.h"

#include <cstdio>
#include <utility>

namespace sim {

namespace {
// Silence after which a half-finished exchange is forgotten.
constexpr int64_t kResetMs = 1500;

std::string hex2(unsigned v) {
  char b[8];
  std::snprintf(b, sizeof b, "%02X", v & 0xFF);
  return b;
}
}  // namespace

uint16_t family0Sum(const std::vector<uint8_t>& mem, int words) {
  uint32_t sum = 0;
  for (int w = 0; w < words && 2 * w + 1 < static_cast<int>(mem.size()); ++w) sum += mem[2 * w] + 256u * mem[2 * w + 1];
  return static_cast<uint16_t>(sum & 0xFFFF);
}

Radio::Radio(int family, std::vector<uint8_t> memory) : fam(family), mem(std::move(memory)) {
  static const size_t sizes[] = {6888, 2048, 2560};
  mem.resize(sizes[family < 0 || family > 2 ? 0 : family], 0);
}

void Radio::note(const std::string& line) { events.push_back(line); }

std::vector<std::string> Radio::takeNewLog() {
  std::vector<std::string> out(events.begin() + static_cast<long>(logged), events.end());
  logged = events.size();
  return out;
}

void Radio::lineClosed() {
  if (mode != Mode::Idle) note("line closed: exchange abandoned");
  mode = Mode::Idle;
  pending.clear();
}

std::vector<Chunk> Radio::receive(uint8_t b, int64_t nowMs) {
  if (anyByte && mode != Mode::Idle && nowMs - lastByteMs > kResetMs) {
    note("silence: exchange abandoned");
    mode = Mode::Idle;
    pending.clear();
  }
  anyByte = true;
  lastByteMs = nowMs;
  if (faults.silent) return {};
  if (mode == Mode::Idle) return idleByte(b);
  pending.push_back(b);
  if (pending.size() < need) return {};
  switch (mode) {
    case Mode::ReadRequest: {
      pending.clear();
      return startRead();
    }
    case Mode::WriteCommand: {
      announcedWords = pending[1] + 256 * pending[2];
      note("write command " + hex2(pending[0]) + " announces " + std::to_string(announcedWords) + " words");
      bool garbled = false;
      auto out = echo(pending, &garbled);
      pending.clear();
      if (garbled) {
        mode = Mode::Idle;
      } else {
        mode = Mode::WriteFrames;
        need = 4;
        dataFrames = 0;
      }
      return out;
    }
    case Mode::WriteFrames: return writeFrame();
    case Mode::AwaitEcho: {
      if (pending != lastSent) {
        ++echoMismatches;
        note("read: echo of frame " + std::to_string(dataFrames) + " differs");
      }
      pending.clear();
      if (faults.hangupAfter >= 0 && dataFrames >= faults.hangupAfter) {
        note("hang-up");
        mode = Mode::Idle;
        return {Chunk{0, {}, true}};
      }
      return nextReadFrame(0);
    }
    case Mode::Idle: break;
  }
  return {};
}

std::vector<Chunk> Radio::idleByte(uint8_t b) {
  pending.clear();
  command = b;
  echoes = 0;
  dataFrames = 0;
  echoMismatches = 0;
  if (fam == 0) {
    if (b == 0x6A) {
      mode = Mode::ReadRequest;
      pending.push_back(b);
      need = 3;
      return {};
    }
    if (b == 0x69) {
      mode = Mode::WriteCommand;
      pending.push_back(b);
      need = 4;
      return {};
    }
  } else if ((fam == 1 && b == 0x4C) || (fam == 2 && b == 0x5C)) {
    bool garbled = false;
    auto out = echo({b}, &garbled);
    if (garbled) return out;
    auto more = startRead();
    out.insert(out.end(), more.begin(), more.end());
    return out;
  } else if ((fam == 1 && (b == 0xE6 || b == 0xE7)) || (fam == 2 && b == 0x5A)) {
    note("write command " + hex2(b));
    bool garbled = false;
    auto out = echo({b}, &garbled);
    if (!garbled) {
      mode = Mode::WriteFrames;
      need = fam == 1 ? 3 : 4;
      nextWord = 0;
    }
    return out;
  } else if (fam == 1 && b == 0x4D) {
    bool garbled = false;
    auto out = echo({b}, &garbled);
    if (!garbled) {
      std::fill(mem.begin(), mem.end(), 0xFF);
      note("erase");
      ++completed;
    }
    return out;
  }
  note("unknown byte " + hex2(b));
  return {};
}

std::vector<Chunk> Radio::echo(const std::vector<uint8_t>& bytes, bool* garbled) {
  const int n = echoes++;
  std::vector<uint8_t> out = bytes;
  *garbled = false;
  if (n == faults.wrongEchoAt || (faults.wrongEchoAlways && faults.wrongEchoAt >= 0 && n >= faults.wrongEchoAt)) {
    out[0] ^= 0x55;
    *garbled = true;
    if (!faults.wrongEchoAlways) faults.wrongEchoAt = -1;  // once
    note("echo " + std::to_string(n) + " garbled");
  } else if (n == faults.shortEchoAt && out.size() > 1) {
    out.pop_back();
    *garbled = true;
    faults.shortEchoAt = -1;  // once
    note("echo " + std::to_string(n) + " cut short");
  }
  return {Chunk{0, out, false}};
}

std::vector<Chunk> Radio::startRead() {
  const int words = wordCount();
  readOrder.clear();
  for (int w = 0; w < words; ++w) {
    if (w == faults.missingFrame) continue;
    readOrder.push_back(w);
    if (w == faults.repeatedFrame) readOrder.push_back(w);
  }
  readPos = 0;
  dataFrames = 0;
  std::vector<Chunk> out;
  int gap = 0;
  if (fam == 0) {
    const int announce = faults.announceWords >= 0 ? faults.announceWords : words;
    std::vector<uint8_t> h = {static_cast<uint8_t>(faults.wrongHeader ? 0x00 : 0x6A),
                              static_cast<uint8_t>(announce & 0xFF), static_cast<uint8_t>((announce >> 8) & 0xFF), 0x00};
    for (int i = 0; i < 12; ++i) h.push_back(static_cast<uint8_t>(i < static_cast<int>(info.size()) ? info[i] : ' '));
    h.resize(static_cast<size_t>(std::max(0, std::min(faults.headerBytes, 16))));
    note("read: header announces " + std::to_string(announce) + " words, " + std::to_string(h.size()) + " bytes");
    out.push_back(Chunk{0, h, false});
    if (faults.wrongHeader || faults.headerBytes < 15) {
      mode = Mode::Idle;  // the PC asks again
      return out;
    }
    gap = faults.headerGapMs;
  } else {
    note("read command " + hex2(command));
  }
  auto first = nextReadFrame(gap);
  out.insert(out.end(), first.begin(), first.end());
  return out;
}

std::vector<Chunk> Radio::nextReadFrame(int gapMs) {
  if (readPos >= readOrder.size()) {
    mode = Mode::Idle;
    note("read: " + std::to_string(dataFrames) + " frames sent, " + std::to_string(echoMismatches) + " echo errors");
    if (fam == 1 || faults.missingEnd) return {};
    return {Chunk{gapMs, {0xFF, 0xFF, 0x00, 0x00}, false}};
  }
  const int w = readOrder[readPos++];
  if (fam == 1)
    lastSent = {static_cast<uint8_t>(w & 0xFF), mem[2 * w], mem[2 * w + 1]};
  else
    lastSent = {static_cast<uint8_t>(w & 0xFF), static_cast<uint8_t>(w >> 8), mem[2 * w], mem[2 * w + 1]};
  ++dataFrames;
  mode = Mode::AwaitEcho;
  need = lastSent.size();
  return {Chunk{gapMs, lastSent, false}};
}

std::vector<Chunk> Radio::writeFrame() {
  std::vector<uint8_t> f = std::move(pending);
  pending.clear();
  if (faults.hangupAfter >= 0 && dataFrames >= faults.hangupAfter) {
    note("hang-up");
    mode = Mode::Idle;
    return {Chunk{0, {}, true}};
  }
  bool garbled = false;
  auto out = echo(f, &garbled);
  if (fam != 1 && f[0] == 0xFF && f[1] == 0xFF) {
    mode = Mode::Idle;
    if (fam == 0) {
      const uint16_t want = family0Sum(mem, announcedWords);
      const uint16_t got = static_cast<uint16_t>(f[2] + 256 * f[3]);
      note(std::string("write: sum ") + (got == want ? "ok" : "wrong") + " (" + std::to_string(got) + ")");
      finishWrite("write: " + std::to_string(dataFrames) + " frames stored");
    } else {
      const bool ok = f[2] == 0xAB && f[3] == 0xCD;
      note(std::string("write: end frame ") + (ok ? "ok" : "wrong"));
      finishWrite("write: " + std::to_string(dataFrames) + " frames stored");
    }
    return out;
  }
  if (garbled) return out;  // a frame the radio misheard is not taken
  if (fam == 1) {
    int w = -1;
    if (f[0] == (nextWord & 0xFF))
      w = nextWord++;
    else if (nextWord > 0 && f[0] == ((nextWord - 1) & 0xFF))
      w = nextWord - 1;
    if (w < 0 || w >= wordCount()) {
      note("write: frame out of sequence " + hex2(f[0]));
    } else {
      mem[2 * w] = f[1];
      mem[2 * w + 1] = f[2];
      ++dataFrames;
    }
    if (nextWord >= wordCount()) {
      mode = Mode::Idle;
      finishWrite("write: " + std::to_string(dataFrames) + " frames stored");
    }
    return out;
  }
  const int w = f[0] + 256 * f[1];
  if (w >= wordCount()) {
    note("write: word " + std::to_string(w) + " beyond memory");
  } else {
    mem[2 * w] = f[2];
    mem[2 * w + 1] = f[3];
    ++dataFrames;
  }
  return out;
}

void Radio::finishWrite(const std::string& what) {
  note(what);
  ++completed;
}

}  // namespace sim

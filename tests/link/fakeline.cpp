#include "fakeline.h"

#include <algorithm>

FakeLine::FakeLine(sim::Radio* radio) { setRadio(radio); }

void FakeLine::setRadio(sim::Radio* radio) {
  if (radio)
    answer = [radio](uint8_t b, int64_t ms) { return radio->receive(b, ms); };
  else
    answer = [](uint8_t, int64_t) { return std::vector<sim::Chunk>(); };
}

void FakeLine::reset() {
  sent.clear();
  sentAtUs.clear();
  pauses.clear();
  flushes = 0;
  inbox.clear();
  stopAtMs = -1;
  onStop = nullptr;
  failWriteAt = -1;
  refuseOpen = false;
  nowUs = (nowUs / 1'000'000 + 3) * 1'000'000;
  txFreeUs = nowUs;
}

bool FakeLine::open(const std::string& dev, const radiolink::LineSettings& l) {
  ++opens;
  device = dev;
  line = l;
  if (refuseOpen) return false;
  if (refuseNextOpens > 0) {
    --refuseNextOpens;
    return false;
  }
  opened = true;
  faultNumber = 0;
  return true;
}

void FakeLine::discardInput() {
  while (!inbox.empty() && inbox.front().us <= nowUs && !inbox.front().hangup) inbox.pop_front();
}

bool FakeLine::write(uint8_t byte) {
  const int index = writes++;
  if (!opened || faultNumber) return false;
  if (index == failWriteAt) {
    faultNumber = faultCode;
    return false;
  }
  sent.push_back(byte);
  sentAtUs.push_back(nowUs);
  for (const sim::Chunk& c : answer(byte, nowMs())) {
    int64_t at = std::max(txFreeUs, nowUs) + static_cast<int64_t>(c.gapMs) * 1000;
    if (c.hangup) {
      inbox.push_back({at, 0, true});
      txFreeUs = at;
      continue;
    }
    for (uint8_t b : c.bytes) {
      at += byteUs;
      inbox.push_back({at, b, false});
    }
    txFreeUs = at;
  }
  // The byte has left at once: the send buffer is empty again.
  if (notifySendComplete) sendBufferEmptied();
  return true;
}

int FakeLine::bytesWaiting() {
  fireDue(nowUs);
  int n = 0;
  for (const Timed& t : inbox) {
    if (t.us > nowUs || t.hangup) break;
    ++n;
  }
  return n;
}

bool FakeLine::takeByte(uint8_t& byte) {
  if (bytesWaiting() == 0) return false;
  byte = inbox.front().byte;
  inbox.pop_front();
  return true;
}

// Delivers what is due by `untilUs`: a hang-up (the device goes away) and the
// stop request. True when something happened that ends a wait.
bool FakeLine::fireDue(int64_t untilUs) {
  bool ended = false;
  if (!inbox.empty() && inbox.front().hangup && inbox.front().us <= untilUs) {
    inbox.clear();
    faultNumber = radiolink::kErrUnexpected;
    ended = true;
  }
  if (stopAtMs >= 0 && stopAtMs * 1000 <= untilUs) {
    stopAtMs = -1;
    interrupted = false;
    if (onStop) onStop();
    ended = ended || interrupted;
  }
  return ended;
}

int64_t FakeLine::nextEvent() const {
  int64_t next = -1;
  if (!inbox.empty()) next = inbox.front().us;
  if (stopAtMs >= 0 && (next < 0 || stopAtMs * 1000 < next)) next = stopAtMs * 1000;
  return next;
}

void FakeLine::waitReply(radiolink::SerialPort&, int ms) {
  const int64_t deadline = nowUs + static_cast<int64_t>(ms) * 1000;
  for (;;) {
    if (bytesWaiting() > 0 || faultNumber) return;
    const int64_t next = nextEvent();
    if (next < 0 || next > deadline) {
      nowUs = deadline;
      fireDue(nowUs);
      return;
    }
    nowUs = std::max(nowUs, next);
    if (fireDue(nowUs)) return;
  }
}

void FakeLine::pause(int64_t units) {
  pauses.push_back(units);
  const int64_t deadline = nowUs + units * 1000;
  if (stopAtMs >= 0 && stopAtMs * 1000 <= deadline) {
    nowUs = std::max(nowUs, stopAtMs * 1000);
    if (fireDue(nowUs)) return;
  }
  nowUs = deadline;
}

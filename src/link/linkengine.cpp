#include "link/linkengine.h"

#include <algorithm>
#include <cctype>

#include "core/modpublic.h"
#include "core/soundmsg.h"
#include "platform/base/appinfo.h"
#include "platform/base/msgservice.h"
#include "platform/base/portmap.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"

namespace radiolink {

namespace {

struct StateMessage {
  int id;
  SoundKind kind;
};

StateMessage stateMessage(int32_t state) {
  switch (state) {
    case kStateOk: return {10020, SoundKind::Information};
    case kStateBusy: return {10021, SoundKind::Attention};
    case kStateSendError: return {10022, SoundKind::Attention};
    case kStateReceiveError: return {10023, SoundKind::Attention};
    case kStateStatusError: return {10024, SoundKind::Attention};
    case kStateRetryOver: return {10025, SoundKind::Attention};
    case kStateFrameTimeout:
    case kStateCommandTimeout: return {10026, SoundKind::Attention};
    case kStateStartLimit: return {10048, SoundKind::Attention};
    case kStateCollation: return {10027, SoundKind::Attention};
    case kStateNotOpen: return {10018, SoundKind::Attention};
    case kStateStopped: return {10057, SoundKind::Attention};
    case kStateNoEdited: return {10073, SoundKind::Attention};
    default: return {10028, SoundKind::Attention};  // 13, and any code no routine sets
  }
}

bool wordDiffers(int32_t w) {
  const auto& d = modPublic.bytRadioData;
  const auto& b = modPublic.bytRadioBase;
  return d[2 * w] != b[2 * w] || d[2 * w + 1] != b[2 * w + 1];
}

std::array<uint8_t, 4> wordFrame(int32_t w) {
  const auto& d = modPublic.bytRadioData;
  return {static_cast<uint8_t>(w & 0xFF), static_cast<uint8_t>((w >> 8) & 0xFF), d[2 * w], d[2 * w + 1]};
}

bool familyOne() { return modPublic.family() == 1; }

}  // namespace

int stateMessageId(int32_t state) { return stateMessage(state).id; }

int serialErrorMessageId(int errorNumber) {
  switch (errorNumber) {
    case kErrBreak: return 10049;
    case kErrFrame: return 10050;
    case kErrOverrun: return 10051;
    case kErrRxOver: return 10052;
    case kErrParity: return 10053;
    case kErrTxFull: return 10054;
    case kErrUnexpected: return 10055;
    default: return 10056;
  }
}

LinkEngine::LinkEngine(SerialPort& p, LinkWaiter& w) : port(p), waiter(w) {
  port.setSendCompleteHandler([this] { subSendComplete(); });
}

LinkEngine::~LinkEngine() { port.setSendCompleteHandler(nullptr); }

// ---------------------------------------------------------------- port

int32_t LinkEngine::subCommOpen() {
  LineSettings line;
  line.baud = static_cast<int>(vb::Val(strBaudRate));
  line.parity = strParity.empty() ? 'n' : static_cast<char>(std::tolower(static_cast<unsigned char>(strParity[0])));
  line.dataBits = static_cast<int>(vb::Val(strDataBits));
  line.stopBits = static_cast<int>(vb::Val(strStopBits));
  const int number = static_cast<int>(vb::Val(strCommPort));
  const std::string device = portmap::devicePath(number);
  faultReported = false;
  if (device.empty()) return kStateNotOpen;
  if (!port.open(device, line)) return kStateNotOpen;
  openedPort = std::to_string(number) + " (" + device + ")";
  return kStateOk;
}

int32_t LinkEngine::subCommReopen() {
  lngCommState = subCommClose();
  return subCommOpen();
}

std::string LinkEngine::portText() const {
  const int number = static_cast<int>(vb::Val(strCommPort));
  const std::string device = portmap::devicePath(number);
  if (device.empty()) return portmap::unavailable(number).empty() ? LoadResString(10093) : std::to_string(number);
  return std::to_string(number) + " (" + device + ")";
}

std::string LinkEngine::openCause() const {
  const int number = static_cast<int>(vb::Val(strCommPort));
  if (portmap::devicePath(number).empty()) return portmap::unavailable(number);
  return port.openFailure();
}

int32_t LinkEngine::subCommClose() {
  if (port.isOpen()) port.close();
  return kStateNotOpen;
}

void LinkEngine::subSendComplete() {
  if (!port.notifications()) return;
  // Off before the pause: the pause runs the event loop, and a notification
  // arriving meanwhile must not start a second one.
  port.stopNotifications();
  waiter.pause(intSendPause);
}

void LinkEngine::requestStop() {
  lngCommState = kStateStopped;
  waiter.interrupt();
}

// A state set from outside (a stop) ends every exchange at its next test, so
// waits and pauses are not started once the state is no longer 0.
void LinkEngine::waitReply(int ms) {
  if (lngCommState == kStateOk) waiter.waitReply(port, ms);
}

void LinkEngine::pause(int64_t units) {
  if (lngCommState == kStateOk && units > 0) waiter.pause(units);
}

// Before a try is repeated: what is still on its way from the last try (the
// rest of an echo a busy machine held back) is let in and dropped, until the
// line has been silent for a frame's byte wait, so the next try's echo starts
// with its own first byte. A line that never falls silent is given up on
// once the first-byte wait has passed, and the try goes ahead.
void LinkEngine::quietLine() {
  const int64_t start = waiter.clockMs();
  for (;;) {
    port.discardInput();
    const int64_t left = intFirstByteWait - (waiter.clockMs() - start);
    if (lngCommState != kStateOk || left <= 0) return;
    waiter.waitReply(port, static_cast<int>(std::min<int64_t>(intFrameByteWait, left)));
    if (port.fault() != 0 || port.bytesWaiting() == 0) return;
  }
}

// A port fault is reported once, and the operation ends with a failure state
// (a stop that came first keeps its 11).
bool LinkEngine::portFaulted(int32_t failState) {
  const int number = port.fault();
  if (number == 0) return false;
  if (!faultReported) {
    faultReported = true;
    modPublic.blnResult = blnCommErrAnalyze(number);
  }
  if (lngCommState == kStateOk || lngCommState == kStateCollation || lngCommState == kStateFrameTimeout ||
      lngCommState == kStateCommandTimeout)
    lngCommState = failState;
  return true;
}

bool LinkEngine::writeByte(uint8_t byte, bool paced) {
  if (!port.write(byte)) {
    if (!portFaulted(kStateSendError)) {
      // A port that refuses a byte without naming a fault still fails the send.
      if (lngCommState == kStateOk) lngCommState = kStateSendError;
    }
    return false;
  }
  if (paced) {
    port.flush();
    pause(intBytePace);
  }
  return true;
}

bool LinkEngine::ensureOpen() {
  lngCommState = kStateOk;
  // A port that faulted (a device that went away) is opened afresh.
  if (port.isOpen() && port.fault() != 0) port.close();
  if (!port.isOpen()) lngCommState = subCommOpen();
  return port.isOpen();
}

void LinkEngine::progress(int64_t done, int64_t total) {
  if (onProgress && total > 0) onProgress(static_cast<int>(100 * done / total));
}

int32_t LinkEngine::wordCount() const { return (modPublic.lngDataLast + 1) / 2; }

// ---------------------------------------------------------------- primitives

bool LinkEngine::blnSendCommand(uint8_t command) {
  if (lngCommState != kStateOk) return false;
  for (int attempt = 0; attempt < 3; ++attempt) {
    lngCommState = kStateOk;
    if (attempt > 0) {
      quietLine();
      if (lngCommState != kStateOk) break;  // a stop while the line fell quiet
    }
    port.discardInput();
    port.discardOutput();
    if (!writeByte(command, false)) break;
    waitReply(intFirstByteWait);
    if (portFaulted(kStateOther)) break;
    uint8_t b = 0;
    if (lngCommState == kStateOk && port.bytesWaiting() > 0) {
      if (!port.takeByte(b)) {
        portFaulted(kStateOther);
        break;
      }
      if (b != command) lngCommState = kStateCollation;
    } else if (lngCommState == kStateOk) {
      lngCommState = kStateCommandTimeout;
    }
    if (lngCommState != kStateCollation) break;
  }
  return true;
}

bool LinkEngine::blnSendFrame(const uint8_t* send, uint8_t* echo, int16_t last) {
  if (lngCommState != kStateOk) return false;
  const bool paced = familyOne();
  for (int attempt = 0; attempt < 3; ++attempt) {
    lngCommState = kStateOk;
    if (attempt > 0) {
      quietLine();
      if (lngCommState != kStateOk) break;  // a stop while the line fell quiet
    }
    port.discardInput();
    port.discardOutput();
    for (int k = 0; k <= last; ++k) {
      if (!writeByte(send[k], paced)) return false;
      echo[k] = 0;
    }
    waitReply(intFirstByteWait);
    if (portFaulted(kStateOther)) return false;
    if (lngCommState == kStateOk && port.bytesWaiting() > 0) {
      int k = 0;
      while (port.bytesWaiting() > 0) {
        if (!port.takeByte(echo[k])) break;
        ++k;
        if (k > last) break;
        waitReply(intFrameByteWait);
      }
      if (portFaulted(kStateOther)) return false;
      if (lngCommState == kStateOk) {
        // A short echo is wrong even where the missing bytes would have been 0.
        if (k <= last) lngCommState = kStateCollation;
        for (int j = 0; j <= last && lngCommState == kStateOk; ++j)
          if (send[j] != echo[j]) lngCommState = kStateCollation;
      }
    } else if (lngCommState == kStateOk) {
      lngCommState = kStateFrameTimeout;
    }
    if (lngCommState != kStateCollation) break;
  }
  return true;
}

bool LinkEngine::blnCommDelete(uint8_t command) {
  // Like every other operation it starts afresh: the state of an earlier
  // failure or stop is cleared and a port that a fault closed is reopened.
  if (!ensureOpen()) return false;
  return blnSendCommand(command);
}

// ---------------------------------------------------------------- reads

bool LinkEngine::blnReadHeader(uint8_t command, std::array<uint8_t, 16>& header, int length) {
  if (lngCommState != kStateOk) return false;
  length = std::clamp(length, 1, static_cast<int>(header.size()));
  const uint8_t request[3] = {command, 0x00, 0x00};
  for (int attempt = 0; attempt < 3; ++attempt) {
    lngCommState = kStateOk;
    if (attempt > 0) {
      quietLine();
      if (lngCommState != kStateOk) break;  // a stop while the line fell quiet
    }
    port.discardInput();
    port.discardOutput();
    header.fill(0);
    bool sent = true;
    for (uint8_t b : request)
      if (!(sent = writeByte(b, true))) break;
    if (!sent) break;
    waitReply(intFirstByteWait);
    if (portFaulted(kStateOther)) break;
    int count = 0;
    int p = 0;
    if (lngCommState == kStateOk && port.bytesWaiting() > 0) {
      // The header ends with its last byte: a radio may start the first frame
      // right behind it, and those bytes belong to the receiver.
      while (port.bytesWaiting() > 0) {
        if (!port.takeByte(header[p])) break;
        ++count;
        if (count == length) break;
        if (p < length - 1) ++p;
        // A header of one byte less is whole too: after that byte, silence
        // ends it; before it, the missing bytes are still on their way.
        waitReply(count >= length - 1 ? intNextByteWait : intFrameByteWait);
      }
      if (portFaulted(kStateOther)) break;
    } else if (lngCommState == kStateOk) {
      lngCommState = kStateCommandTimeout;
    }
    if (lngCommState == kStateOk || lngCommState == kStateCommandTimeout) {
      if (count >= length - 1)
        lngCommState = header[0] == command ? kStateOk : kStateCollation;
      else if (count >= 1)
        lngCommState = kStateCollation;
      else
        lngCommState = kStateCommandTimeout;
    }
    if (lngCommState != kStateCollation) break;
  }
  return true;
}

bool LinkEngine::receive(std::vector<uint8_t>& frame, std::vector<ReadRecord>& table, int32_t limit, bool endFrame,
                         bool stopAtLimit) {
  if (lngCommState != kStateOk) return false;
  const int last = static_cast<int>(frame.size()) - 1;
  const bool threeByte = last == 2;
  const bool paced = familyOne();
  std::fill(frame.begin(), frame.end(), 0);
  int32_t P = 0;
  while (lngCommState == kStateOk) {
    waitReply(intFirstByteWait);
    if (portFaulted(kStateOther)) break;
    if (lngCommState != kStateOk || port.bytesWaiting() == 0) {
      if (lngCommState == kStateOk) lngCommState = kStateFrameTimeout;
      break;
    }
    int i = 0;
    while (port.bytesWaiting() > 0) {
      if (!port.takeByte(frame[i])) break;
      ++i;
      if (i > last) break;
      waitReply(intFrameByteWait);
    }
    if (portFaulted(kStateOther)) break;
    // A stop that came while the frame arrived ends the read here: the radio
    // gets no echo of a frame cut short.
    if (lngCommState != kStateOk) break;
    if (endFrame && i >= 2 && frame[0] == 0xFF && frame[1] == 0xFF) break;
    // A frame whose rest did not come is neither echoed (the radio would take
    // the old bytes in its missing places for its own) nor stored: the radio
    // gave no complete frame.
    if (i <= last) {
      lngCommState = kStateFrameTimeout;
      break;
    }
    bool echoed = true;
    for (int k = 0; k <= last && echoed; ++k) echoed = writeByte(frame[k], paced);
    if (!echoed) break;
    // Only the next word or a repeat of the current one is taken; anything
    // else (a gap, a stray older frame) spoils the reception.
    bool take = false;
    if (threeByte) {
      if (frame[0] == ((P + 1) & 0xFF)) {
        P += 1;
        take = true;
      } else if (frame[0] == (P & 0xFF)) {
        take = true;
      }
    } else {
      const int32_t n = frame[0] + 256 * frame[1];
      if (n == P + 1) {
        P = n;
        take = true;
      } else if (n == P) {
        take = true;
      }
    }
    if (!take) {
      receptionBroken = true;
      continue;
    }
    if (P <= limit && P < static_cast<int32_t>(table.size())) {
      const int d = threeByte ? 1 : 2;
      table[P] = {true, P, frame[d], frame[d + 1]};
      progress(P + 1, static_cast<int64_t>(limit) + 1);
    }
    if (stopAtLimit && P == limit) break;
  }
  return true;
}

bool LinkEngine::blnReceiveCounted(std::vector<uint8_t>& frame, std::vector<ReadRecord>& table, int32_t count) {
  return receive(frame, table, count, true, false);
}

bool LinkEngine::blnReceiveFrames(std::vector<uint8_t>& frame, std::vector<ReadRecord>& table, int16_t last) {
  (void)last;  // the frame buffer is sized by it
  const bool f1 = familyOne();
  return receive(frame, table, static_cast<int32_t>(table.size()) - 1, !f1, f1);
}

bool LinkEngine::checkAndFill(const std::vector<ReadRecord>& table, int32_t checked) {
  if (receptionBroken) {
    lngCommState = kStateReceiveError;
    return false;
  }
  for (int32_t k = 0; k < checked; ++k) {
    if (!table[k].filled || table[k].word != k) {
      lngCommState = kStateReceiveError;
      return false;
    }
  }
  auto& d = modPublic.bytRadioData;
  auto& b = modPublic.bytRadioBase;
  for (size_t k = 0; k < table.size(); ++k) {
    d[2 * k] = b[2 * k] = table[k].first;
    d[2 * k + 1] = b[2 * k + 1] = table[k].second;
  }
  return true;
}

bool LinkEngine::blnReadWithHeader(int16_t last, std::array<uint8_t, 16>& header, uint8_t command) {
  if (!ensureOpen()) return false;
  receptionBroken = false;
  std::vector<uint8_t> frame(static_cast<size_t>(last) + 1);
  std::vector<ReadRecord> table(static_cast<size_t>(wordCount()));
  modPublic.blnResult = blnReadHeader(command, header, static_cast<int>(header.size()));
  const int32_t count = header[1] + 256 * header[2];
  if (lngCommState == kStateOk) {
    // A radio announcing more words than the image holds is not believed.
    if (count > static_cast<int32_t>(table.size()))
      lngCommState = kStateReceiveError;
    else
      modPublic.blnResult = blnReceiveCounted(frame, table, count);
  }
  port.discardInput();
  port.discardOutput();
  if (lngCommState != kStateOk) return false;
  return checkAndFill(table, count);
}

bool LinkEngine::blnReadFrames(int16_t last, uint8_t command) {
  if (!ensureOpen()) return false;
  receptionBroken = false;
  std::vector<uint8_t> frame(static_cast<size_t>(last) + 1);
  std::vector<ReadRecord> table(static_cast<size_t>(wordCount()));
  modPublic.blnResult = blnSendCommand(command);
  if (lngCommState == kStateOk) modPublic.blnResult = blnReceiveFrames(frame, table, last);
  port.discardInput();
  port.discardOutput();
  if (lngCommState != kStateOk) return false;
  return checkAndFill(table, static_cast<int32_t>(table.size()));
}

// ---------------------------------------------------------------- writes

bool LinkEngine::blnP1RACheckSum(int32_t& lngDataSize, int32_t& lngSum) {
  trace.open();
  trace.line("Start of blnP1RACheckSum:  " + trace.dateTime());
  const auto& d = modPublic.bytRadioData;
  const int32_t lngWork = std::min<int32_t>(24 * d[32] + 766, 6886);
  lngSum = 0;
  for (int32_t k = 0; k <= lngWork; k += 2) lngSum += d[k] + 256 * d[k + 1];
  lngDataSize = lngWork + 2;
  trace.line("    lngSum=" + LinkTrace::num(lngSum) + " lngWork=" + LinkTrace::num(lngWork));
  trace.line("End of blnP1RACheckSum");
  trace.close();
  return true;
}

bool LinkEngine::beginWrite(const char* routine) {
  trace.open();
  trace.line(std::string("Start of ") + routine + ":  " + trace.dateTime());
  if (!ensureOpen()) {
    trace.close();
    return false;
  }
  return true;
}

void LinkEngine::endWrite(const char* routine) {
  trace.line(std::string("End of ") + routine + "  " + trace.dateTime());
  trace.line("");
  trace.close();
}

bool LinkEngine::sendFrames(const std::vector<std::array<uint8_t, 4>>& frames) {
  std::array<uint8_t, 4> echo{};
  const int64_t n = static_cast<int64_t>(frames.size());
  for (int64_t j = 0; j < n; ++j) {
    const auto& f = frames[static_cast<size_t>(j)];
    trace.line("byte address=" + LinkTrace::hex(2u * (f[0] + 256u * f[1])) + "  " + LinkTrace::send(f.data(), 4));
    modPublic.blnResult = blnSendFrame(f.data(), echo.data(), 3);
    if (lngCommState != kStateOk) return false;
    progress(j + 1, n);
  }
  return true;
}

bool LinkEngine::blnCommP1RACompFormat(int16_t intMode, int32_t lngDataSize, int32_t lngSum, uint8_t command) {
  if (!beginWrite("blnCommP1RACompFormat")) return false;
  const int32_t intMaxLen = lngDataSize - 2;
  trace.line("lngDataSize=" + LinkTrace::num(lngDataSize) + " intMaxLen=" + LinkTrace::num(intMaxLen));
  const auto& d = modPublic.bytRadioData;
  const auto& b = modPublic.bytRadioBase;
  const int32_t table = wordCount();
  const int32_t lastWord = std::min(intMaxLen / 2, table - 1);
  const bool known = modPublic.blnRadioRead;
  std::vector<std::array<uint8_t, 4>> frames;
  if (intMode != 0) {
    for (int32_t w = 0; w <= lastWord; ++w) frames.push_back(wordFrame(w));
  } else if (d[32] > b[32]) {
    for (int32_t w = 0; w <= 383; ++w)
      if (wordDiffers(w) || !known) frames.push_back(wordFrame(w));
    for (int32_t w = 384; w <= lastWord; ++w) frames.push_back(wordFrame(w));
  } else {
    for (int32_t w = 0; w <= lastWord; ++w)
      if (wordDiffers(w) || !known) frames.push_back(wordFrame(w));
  }
  // The kill status (word 32) was just cleared by the driver: always sent.
  if (static_cast<int32_t>(frames.size()) < table) frames.push_back(wordFrame(32));
  trace.line("lngBuffCount=" + LinkTrace::num(static_cast<int64_t>(frames.size())));

  const int32_t words = lngDataSize / 2;
  const std::array<uint8_t, 4> cmd = {command, static_cast<uint8_t>(words & 0xFF),
                                      static_cast<uint8_t>((words >> 8) & 0xFF), 0x00};
  std::array<uint8_t, 4> echo{};
  trace.line("Send Write Command:  " + LinkTrace::send(cmd.data(), 4));
  modPublic.blnResult = blnSendFrame(cmd.data(), echo.data(), 3);
  if (lngCommState == kStateOk) {
    pause(intP1RADataPause);
    sendFrames(frames);
  }
  if (lngCommState == kStateOk) {
    const std::array<uint8_t, 4> sum = {0xFF, 0xFF, static_cast<uint8_t>(lngSum & 0xFF),
                                        static_cast<uint8_t>((lngSum >> 8) & 0xFF)};
    trace.line("lngSum=" + LinkTrace::num(lngSum));
    trace.line(LinkTrace::send(sum.data(), 4));
    modPublic.blnResult = blnSendFrame(sum.data(), echo.data(), 3);
  }
  endWrite("blnCommP1RACompFormat");
  return true;
}

bool LinkEngine::blnCommSFormat(int16_t last, uint8_t command) {
  if (!beginWrite("blnCommSFormat")) return false;
  const bool f1 = familyOne();
  const bool f2 = modPublic.family() == 2;
  const size_t size = static_cast<size_t>(f1 ? 3 : 4);
  last = static_cast<int16_t>(size - 1);
  std::vector<uint8_t> send(size), echo(size);
  modPublic.blnResult = blnSendCommand(command);
  if (lngCommState == kStateOk) {
    pause(f2 ? intDataPauseLong : intDataPause);
    const auto& d = modPublic.bytRadioData;
    const int32_t W = wordCount();
    for (int32_t w = 0; w < W; ++w) {
      if (f1) {
        const uint8_t f[3] = {static_cast<uint8_t>(w & 0xFF), d[2 * w], d[2 * w + 1]};
        std::copy(f, f + 3, send.begin());
      } else {
        const auto f = wordFrame(w);
        std::copy(f.begin(), f.end(), send.begin());
        trace.line("byte address=" + LinkTrace::hex(2u * static_cast<uint32_t>(w)) + "  " +
                   LinkTrace::send(f.data(), 4));
      }
      modPublic.blnResult = blnSendFrame(send.data(), echo.data(), last);
      if (lngCommState != kStateOk) break;
      progress(w + 1, W);
    }
  }
  if (f2 && lngCommState == kStateOk) {
    const std::array<uint8_t, 4> end = {0xFF, 0xFF, 0xAB, 0xCD};
    std::array<uint8_t, 4> e{};
    trace.line("  " + LinkTrace::send(end.data(), 4));
    modPublic.blnResult = blnSendFrame(end.data(), e.data(), 3);
  }
  endWrite("blnCommSFormat");
  return true;
}

bool LinkEngine::blnCommCompFormat(int16_t last, uint8_t command) {
  (void)last;  // always four-byte frames
  if (!beginWrite("blnCommCompFormat")) return false;
  auto& d = modPublic.bytRadioData;
  const int32_t W = wordCount();
  int64_t sum = 0;
  std::vector<std::array<uint8_t, 4>> frames;
  for (int32_t w = 0; w < W; ++w) {
    if (w < W - 1) sum += d[2 * w] + 256 * d[2 * w + 1];
    const bool sumWord = w == W - 1;
    if (sumWord) {
      // Stored whatever its value: a sum of 0 must not leave an old sum of
      // another image in the radio.
      d[2 * w] = static_cast<uint8_t>(sum & 0xFF);
      d[2 * w + 1] = static_cast<uint8_t>((sum >> 8) & 0xFF);
    }
    if (wordDiffers(w) || !modPublic.blnRadioWritten || (sumWord && sum > 0)) frames.push_back(wordFrame(w));
  }
  if (frames.empty()) {
    lngCommState = kStateNoEdited;
    trace.line("End of blnCommCompFormat  There are no send data" + trace.dateTime());
    trace.line("");
    trace.close();
    return false;
  }
  modPublic.blnResult = blnSendCommand(command);
  if (lngCommState == kStateOk) {
    pause(intDataPauseLong);
    sendFrames(frames);
  }
  if (lngCommState == kStateOk) {
    const std::array<uint8_t, 4> end = {0xFF, 0xFF, 0xAB, 0xCD};
    std::array<uint8_t, 4> e{};
    trace.line("  " + LinkTrace::send(end.data(), 4));
    modPublic.blnResult = blnSendFrame(end.data(), e.data(), 3);
  }
  endWrite("blnCommCompFormat");
  return true;
}

void LinkEngine::subStoreWriteSum() {
  auto& d = modPublic.bytRadioData;
  const int32_t last = modPublic.lngDataLast;
  int64_t sum = 0;
  for (int32_t k = 0; k + 1 < last - 1; k += 2) sum += d[k] + 256 * d[k + 1];
  d[last - 1] = static_cast<uint8_t>(sum & 0xFF);
  d[last] = static_cast<uint8_t>((sum >> 8) & 0xFF);
}

// ---------------------------------------------------------------- messages

bool LinkEngine::blnCommStateAnalyze(bool afterWrite) {
  const StateMessage m = stateMessage(lngCommState);
  std::string text = LoadResString(m.id);
  if (afterWrite && lngCommState == kStateStopped) text += "\r" + LoadResString(10131);
  // A radio that did not answer: the port and the device it was waited on,
  // so a wrong device (a number that fell to another device) shows.
  if (lngCommState == kStateFrameTimeout || lngCommState == kStateCommandTimeout)
    text += "\rPORT : " + (openedPort.empty() ? portText() : openedPort);
  if (modPublic.strCmdFileName.empty()) {
    intSoundMsgBox(m.kind, text, "blnCommStateAnalyze");
  } else if (lngCommState != kStateOk) {
    intSoundMsgBox(m.kind, text, std::string(app::kTitle) + " Progamming blnCommStateAnalyze");
  } else if (modPublic.intSoundOn != 0) {
    // Unattended success: the sound only.
    messageService().playWave(modPublic.strSoundPath + modPublic.strSoundInformation);
  }
  return true;
}

bool LinkEngine::blnCommErrAnalyze(int errorNumber) {
  intSoundMsgBox(SoundKind::Warning, LoadResString(serialErrorMessageId(errorNumber)), "blnCommErrAnalyze");
  return true;
}

}  // namespace radiolink

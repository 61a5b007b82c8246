#pragma once
// The radio link: port handling, the exchange primitives, the read and write
// transfers of the three families, their sums, the state code with its
// messages, and the write trace.
//
// The link page owns one radiolink::QtLink (port and waiter) and one engine on
// it, and wires:
//   - onProgress            -> the progress bar's value (percent);
//   - the stop button        -> requestStop() while an operation runs;
//   - its load / exit         -> subCommOpen() / subCommClose();
//   - its timing and line fields are the engine's public fields.
// The engine itself takes the port's send-complete notification
// (subSendComplete) for as long as it lives.
// The page's driver calls the transfers below and reads lngCommState after
// each; blnCommStateAnalyze() shows the outcome.
#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "link/linkport.h"
#include "link/linktrace.h"

namespace radiolink {

// Link state codes.
enum : int32_t {
  kStateOk = 0,
  kStateBusy = 1,
  kStateSendError = 2,
  kStateReceiveError = 3,
  kStateStatusError = 4,
  kStateRetryOver = 5,
  kStateFrameTimeout = 6,
  kStateCommandTimeout = 7,
  kStateStartLimit = 8,
  kStateCollation = 9,
  kStateNotOpen = 10,
  kStateStopped = 11,
  kStateNoEdited = 12,
  kStateOther = 13,
};

// One record of a read: which word it holds and its two bytes. `filled` tells
// a stored record from one no frame reached.
struct ReadRecord {
  bool filled = false;
  int32_t word = 0;
  uint8_t first = 0;
  uint8_t second = 0;
};

// Message id of a state code, of a serial error number.
int stateMessageId(int32_t state);
int serialErrorMessageId(int errorNumber);

class LinkEngine {
 public:
  // The engine handles the port's send-complete notification while it lives.
  LinkEngine(SerialPort& port, LinkWaiter& waiter);
  ~LinkEngine();
  LinkEngine(const LinkEngine&) = delete;
  LinkEngine& operator=(const LinkEngine&) = delete;

  // Line settings and timing, as the page sets them when it loads.
  std::string strCommPort = "1";
  std::string strBaudRate = "4800";
  std::string strParity = "n";
  std::string strDataBits = "8";
  std::string strStopBits = "1";
  int16_t intDataPause = 5;
  int16_t intDataPauseLong = 47;
  int16_t intP1RADataPause = 47;
  int16_t intFirstByteWait = 3000;
  int16_t intSendPause = 30;
  int16_t intNextByteWait = 30;
  int16_t intBytePace = 4;
  // Longest wait for each further byte of a frame whose length is known (an
  // echo, a data frame, the first 15 bytes of a header), and the silence that
  // counts as a quiet line before a retry. A busy machine may hold this
  // program or the serial layer back far longer than the gap between two
  // bytes on the wire; only where silence itself ends something (after the
  // 15th header byte) is the short `intNextByteWait` the limit.
  int16_t intFrameByteWait = 500;

  // The link state code of the last operation.
  int32_t lngCommState = kStateOk;

  // Progress of a transfer in percent (the page's progress bar).
  std::function<void(int)> onProgress;
  // The trace file of writes (used when modPublic.intDebugLog is 1).
  LinkTrace trace;

  // Port handling: each returns a state code (0 ready, 10 not open).
  int32_t subCommOpen();
  int32_t subCommReopen();
  int32_t subCommClose();
  // The port for messages: "3 (/dev/ttyS2)", or "none chosen" for a number
  // that stands for no device.
  std::string portText() const;
  // Why the port did not open: the device's cause, or the port map's setting
  // that leaves the number without a device; "" when unknown.
  std::string openCause() const;
  // The port's send-complete notification: one pause, then the port's
  // notifications are off for good.
  void subSendComplete();

  // The stop button while busy: state 11, and the wait in progress ends.
  void requestStop();

  // Exchange primitives.
  bool blnSendCommand(uint8_t command);
  bool blnSendFrame(const uint8_t* send, uint8_t* echo, int16_t last);
  // The family-"1" delete: the port opened as for any operation, then the
  // command byte with its echo. False when the port cannot be opened.
  bool blnCommDelete(uint8_t command);

  // Reads.
  bool blnReadWithHeader(int16_t last, std::array<uint8_t, 16>& header, uint8_t command);
  bool blnReadFrames(int16_t last, uint8_t command);
  bool blnReadHeader(uint8_t command, std::array<uint8_t, 16>& header, int length);
  bool blnReceiveCounted(std::vector<uint8_t>& frame, std::vector<ReadRecord>& table, int32_t count);
  bool blnReceiveFrames(std::vector<uint8_t>& frame, std::vector<ReadRecord>& table, int16_t last);

  // Writes and sums.
  bool blnP1RACheckSum(int32_t& lngDataSize, int32_t& lngSum);
  bool blnCommP1RACompFormat(int16_t intMode, int32_t lngDataSize, int32_t lngSum, uint8_t command);
  bool blnCommSFormat(int16_t last, uint8_t command);
  bool blnCommCompFormat(int16_t last, uint8_t command);

  // The family-"2" write sum of bytes 0..2557 stored into bytes 2558/2559
  // (before a compulsion write).
  static void subStoreWriteSum();

  // Messages: the state code's message, a serial error's message. After a
  // write the user stopped, the message adds that the radio's memory may be
  // partly written (a read that was stopped changed nothing in the radio).
  bool blnCommStateAnalyze(bool afterWrite = false);
  static bool blnCommErrAnalyze(int errorNumber);

 private:
  void waitReply(int ms);
  void pause(int64_t units);
  void quietLine();
  bool portFaulted(int32_t failState);
  bool writeByte(uint8_t byte, bool paced);
  bool beginWrite(const char* routine);
  void endWrite(const char* routine);
  bool sendFrames(const std::vector<std::array<uint8_t, 4>>& frames);
  bool ensureOpen();
  bool receive(std::vector<uint8_t>& frame, std::vector<ReadRecord>& table, int32_t limit, bool endFrame,
               bool stopAtLimit);
  bool checkAndFill(const std::vector<ReadRecord>& table, int32_t checked);
  void progress(int64_t done, int64_t total);
  int32_t wordCount() const;

  SerialPort& port;
  LinkWaiter& waiter;
  bool faultReported = false;
  bool receptionBroken = false;
  // The port number and device of the last open: a time-out names what was
  // really waited on, even when the port map changes meanwhile.
  std::string openedPort;
};

}  // namespace radiolink

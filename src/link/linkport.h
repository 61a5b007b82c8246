#pragma once
// The two seams the link protocol runs against: a serial port and a waiter.
// The real ones sit on QSerialPort and the Qt event loop (qtlink.h); tests use
// a scripted radio on a virtual clock.
#include <cstdint>
#include <functional>
#include <string>

namespace radiolink {

// Serial error numbers of the port control, as the messages know them.
constexpr int kErrBreak = 1001;
constexpr int kErrFrame = 1004;
constexpr int kErrOverrun = 1006;
constexpr int kErrRxOver = 1008;
constexpr int kErrParity = 1009;
constexpr int kErrTxFull = 1010;
constexpr int kErrUnexpected = 1011;
constexpr int kErrOther = 1100;

struct LineSettings {
  int baud = 4800;
  char parity = 'n';
  int dataBits = 8;
  int stopBits = 1;
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;
  // Applies the line settings and opens the device; false when it cannot be
  // opened (missing, in use, settings refused). Clears any earlier fault.
  virtual bool open(const std::string& device, const LineSettings& line) = 0;
  // Why the last open failed, as a line for the user ("Cause: ..."); "" when
  // the port cannot tell.
  virtual std::string openFailure() const { return {}; }
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  virtual void discardInput() = 0;
  virtual void discardOutput() = 0;
  // Hands one byte to the port; false on a port fault (see fault()).
  virtual bool write(uint8_t byte) = 0;
  // Pushes what was written out to the line before a pacing pause starts.
  virtual void flush() = 0;
  // Count of received bytes waiting to be taken.
  virtual int bytesWaiting() = 0;
  // Takes exactly one received byte; false on a port fault or when none waits.
  virtual bool takeByte(uint8_t& byte) = 0;
  // The serial error number of the first fault since the port was opened
  // (a write or read error, a device that went away); 0 when none.
  virtual int fault() const = 0;

  // The send-complete notification: while notifications are on, the port
  // calls the handler whenever what it was handed has left its send buffer.
  // Switching them off (both notification thresholds 0) holds for the port's
  // life, across closes and opens.
  void setSendCompleteHandler(std::function<void()> handler) { sendComplete = std::move(handler); }
  void stopNotifications() { notifying = false; }
  bool notifications() const { return notifying; }

 protected:
  // Implementations call this when their send buffer has emptied.
  void sendBufferEmptied() {
    if (notifying && sendComplete) sendComplete();
  }

 private:
  std::function<void()> sendComplete;
  bool notifying = true;
};

class LinkWaiter {
 public:
  virtual ~LinkWaiter() = default;
  // Returns as soon as the port has a byte waiting (or has faulted), when `ms`
  // milliseconds have passed, or when interrupt() is called meanwhile.
  virtual void waitReply(SerialPort& port, int ms) = 0;
  // A pause of `units` (1 unit = 1 ms); interrupt() ends it early.
  virtual void pause(int64_t units) = 0;
  // Ends the wait or pause in progress, if any (a stop request).
  virtual void interrupt() = 0;
  // A steady clock, in milliseconds, for waits that end by time.
  virtual int64_t clockMs() const = 0;
};

}  // namespace radiolink

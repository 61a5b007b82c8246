#pragma once
// A serial line on a virtual clock: the engine's port and waiter in one, with
// the simulated radio (or a scripted answerer) on the far end. Waits advance
// the clock to the next arriving byte, so time-outs cost no real time.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/linkport.h"
#include "simradio.h"

class FakeLine : public radiolink::SerialPort, public radiolink::LinkWaiter {
 public:
  // Answers one byte from the program at a time (ms); by default the radio.
  using Answerer = std::function<std::vector<sim::Chunk>(uint8_t, int64_t)>;

  explicit FakeLine(sim::Radio* radio = nullptr);
  void setRadio(sim::Radio* radio);
  void setAnswerer(Answerer a) { answer = std::move(a); }
  // Forgets what was sent and what waits on the line; the clock moves on to
  // the next whole second after a 2 s silence.
  void reset();

  // SerialPort
  bool open(const std::string& device, const radiolink::LineSettings& line) override;
  void close() override { opened = false; }
  bool isOpen() const override { return opened; }
  void discardInput() override;
  void discardOutput() override {}
  bool write(uint8_t byte) override;
  void flush() override { ++flushes; }
  int bytesWaiting() override;
  bool takeByte(uint8_t& byte) override;
  int fault() const override { return faultNumber; }

  // LinkWaiter
  void waitReply(radiolink::SerialPort& port, int ms) override;
  void pause(int64_t units) override;
  void interrupt() override { interrupted = true; }
  int64_t clockMs() const override { return nowMs(); }

  // The clock, in microseconds.
  int64_t nowUs = 0;
  int64_t nowMs() const { return nowUs / 1000; }
  // Time a radio byte takes on the line.
  int64_t byteUs = 1000;

  // What the program put on the wire, with the time of each byte.
  std::vector<uint8_t> sent;
  std::vector<int64_t> sentAtUs;
  // Every pause asked for, in units.
  std::vector<int64_t> pauses;
  int flushes = 0;

  // Line settings of the last open, the device it named, and the opens so far.
  radiolink::LineSettings line;
  std::string device;
  int opens = 0;
  bool refuseOpen = false;
  // The next this many opens fail, the later ones pass: another program
  // holds the port for a while.
  int refuseNextOpens = 0;

  // Raise the send-complete notification after each byte. Off by default:
  // most tests count every pause the link asks for, and its one pause
  // would be in the way.
  bool notifySendComplete = false;

  // Faults: the write with this index (0-based) fails with `faultCode`.
  int failWriteAt = -1;
  int faultCode = radiolink::kErrUnexpected;

  // A stop request arrives at this time (ms) during a wait or pause.
  int64_t stopAtMs = -1;
  std::function<void()> onStop;

 private:
  struct Timed {
    int64_t us;
    uint8_t byte;
    bool hangup;
  };
  bool fireDue(int64_t untilUs);
  int64_t nextEvent() const;

  Answerer answer;
  std::deque<Timed> inbox;
  int64_t txFreeUs = 0;
  bool opened = false;
  int faultNumber = 0;
  bool interrupted = false;
  int writes = 0;
};

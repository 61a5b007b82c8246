#pragma once
// The real link: QSerialPort behind the port seam, and waits on the Qt event
// loop that sleep until a byte, the time limit or a stop arrives.
#include <QObject>
#include <QSerialPort>
#include <string>
#include <vector>

#include "link/linkport.h"

class QEventLoop;

namespace radiolink {

class QtSerialPort : public SerialPort {
 public:
  QtSerialPort();
  ~QtSerialPort() override;
  bool open(const std::string& device, const LineSettings& line) override;
  void close() override;
  bool isOpen() const override;
  void discardInput() override;
  void discardOutput() override;
  bool write(uint8_t byte) override;
  void flush() override;
  int bytesWaiting() override;
  bool takeByte(uint8_t& byte) override;
  int fault() const override { return faultNumber; }
  std::string openFailure() const override { return openFailure_; }

  QSerialPort& device() { return serial; }
  // The serial error number a port error stands for.
  static int errorNumber(QSerialPort::SerialPortError error);
  // Why `device` did not open, from the port's error and a look at the path
  // (without opening it): the message line of the string table.
  static std::string openCause(const std::string& device, QSerialPort::SerialPortError error,
                               const std::string& errorText);
  // Whether the device's lock files keep it closed (link/portlock.h): a lock
  // ("LCK..<name>" in the lock folders) names a process that runs, or a lock
  // name is no plain file or cannot be read. `cause` gets the open failure.
  static bool heldByAnotherProgram(const std::string& device, std::string* cause = nullptr);
  // The lock folders (link/portlock.h); tests use their own, {} restores them.
  static void setLockFolders(std::vector<std::string> folders);

 private:
  void onError(QSerialPort::SerialPortError error);
  QSerialPort serial;
  int faultNumber = 0;
  std::string openFailure_;
  int endId = 0;      // closes the port when the program ends on a signal
  int lockEndId = 0;  // removes its lock when the program ends blocked
};

class QtLinkWaiter : public QObject, public LinkWaiter {
 public:
  void waitReply(SerialPort& port, int ms) override;
  void pause(int64_t units) override;
  void interrupt() override;
  int64_t clockMs() const override;
  // Something arrived: the wait in progress looks again.
  void wake();

 private:
  void run(int64_t ms, const std::function<bool()>& done);
  QEventLoop* loop = nullptr;
  bool interrupted = false;
};

// A port and a waiter wired together, as the link page owns them.
struct QtLink {
  QtLink();
  QtSerialPort port;
  QtLinkWaiter waiter;
};

}  // namespace radiolink

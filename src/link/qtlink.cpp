#include "link/qtlink.h"

#include <grp.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <QEventLoop>
#include <QTimer>
#include <functional>

#include "link/portlock.h"
#include "platform/base/endsignals.h"
#include "platform/base/portmap.h"
#include "platform/base/strtable.h"

namespace radiolink {

QtSerialPort::QtSerialPort() {
  QObject::connect(&serial, &QSerialPort::errorOccurred, &serial,
                   [this](QSerialPort::SerialPortError e) { onError(e); });
  QObject::connect(&serial, &QSerialPort::bytesWritten, &serial, [this] {
    if (serial.bytesToWrite() == 0) sendBufferEmptied();
  });
  // Interrupted (Ctrl-C, kill): the device's lock file and exclusive use go
  // with the port, so the next run, or another program, can open it.
  endId = endsignals::onEnd([this] { close(); });
}

QtSerialPort::~QtSerialPort() {
  endsignals::forget(endId);
  close();
}

int QtSerialPort::errorNumber(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError: return kErrUnexpected;
    default: return kErrOther;
  }
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
  if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError) return;
  if (!serial.isOpen()) return;  // open failures are reported by open()
  if (faultNumber == 0) faultNumber = errorNumber(error);
  if (error == QSerialPort::ResourceError) {
    // The device went away: close it once control is back in the event loop,
    // so a hung-up line cannot keep waking it.
    QTimer::singleShot(0, &serial, [this] { close(); });
  }
}

namespace {
// A character device the kernel lists under a class other than tty (the null
// device, a sound card) is no serial port. Pseudo-terminals are not listed,
// and without the kernel's attributes nothing is known: both pass.
bool listedOutsideTty(dev_t device) {
  char link[80];
  std::snprintf(link, sizeof link, "/sys/dev/char/%u:%u/subsystem", major(device), minor(device));
  std::error_code ec;
  const std::filesystem::path kind = std::filesystem::read_symlink(link, ec);
  return !ec && kind.filename() != "tty";
}
// "crw-rw----", as ls shows a file's type and permissions.
std::string modeText(mode_t mode) {
  std::string text = S_ISCHR(mode) ? "c" : S_ISDIR(mode) ? "d" : S_ISLNK(mode) ? "l" : "-";
  const char* letters = "rwxrwxrwx";
  for (int bit = 0; bit < 9; ++bit) text += (mode & (0400 >> bit)) ? letters[bit] : '-';
  return text;
}

bool inGroup(gid_t group) {
  if (group == ::getegid()) return true;
  std::vector<gid_t> groups(static_cast<size_t>(std::max(::getgroups(0, nullptr), 0)));
  const int n = ::getgroups(static_cast<int>(groups.size()), groups.data());
  return std::find(groups.begin(), groups.begin() + std::max(n, 0), group) != groups.begin() + std::max(n, 0);
}

// Why the user may not open `path`. What refuses is the device, or a folder
// on the way the user may not search. Joining its group helps only when that
// group may use it and the user is neither in it nor its owner; otherwise
// its owner, group and permissions say who may.
std::string permissionCause(const std::string& path) {
  std::string refusing = path;
  for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1))
    if (::access(path.substr(0, at).c_str(), X_OK) != 0) {
      refusing = path.substr(0, at);
      break;
    }
  struct stat st {};
  if (::stat(refusing.c_str(), &st) != 0) return LoadResString(10118) + std::strerror(EACCES);
  const passwd* owner = ::getpwuid(st.st_uid);
  const group* grp = ::getgrgid(st.st_gid);
  const QString groupName = grp ? QString::fromLocal8Bit(grp->gr_name) : QString::number(st.st_gid);
  const mode_t groupMay = S_ISDIR(st.st_mode) ? S_IXGRP : S_IRGRP | S_IWGRP;
  if (st.st_uid != ::geteuid() && !inGroup(st.st_gid) && (st.st_mode & groupMay) == groupMay)
    return QString::fromStdString(LoadResString(10111)).arg(groupName).toStdString();
  return QString::fromStdString(LoadResString(10119))
      .arg(QString::fromStdString(refusing), owner ? QString::fromLocal8Bit(owner->pw_name) : QString::number(st.st_uid),
           groupName, QString::fromStdString(modeText(st.st_mode)))
      .toStdString();
}
}  // namespace

void QtSerialPort::setLockFolders(std::vector<std::string> folders) { portlock::setFolders(std::move(folders)); }

bool QtSerialPort::heldByAnotherProgram(const std::string& device, std::string* cause) {
  const portlock::Finding lock = portlock::look(portmap::openedPath(device));
  const QString file = QString::fromStdString(lock.file);
  if (!cause) return lock.kind != portlock::Finding::kFree;
  switch (lock.kind) {
    case portlock::Finding::kHeld:
      *cause = QString::fromStdString(LoadResString(10122)).arg(QString::number(lock.pid), file).toStdString();
      break;
    case portlock::Finding::kUnreadable:
      *cause = QString::fromStdString(LoadResString(10120)).arg(file).toStdString();
      break;
    case portlock::Finding::kNoProcess:
      *cause = QString::fromStdString(LoadResString(10121)).arg(file).toStdString();
      break;
    case portlock::Finding::kFree: return false;
  }
  return true;
}

std::string QtSerialPort::openCause(const std::string& device, QSerialPort::SerialPortError error,
                                     const std::string& errorText) {
  const std::string path = portmap::openedPath(device);
  struct stat st {};
  const auto noDevice = [&] {
    return QString::fromStdString(LoadResString(10123)).arg(QString::fromStdString(path)).toStdString();
  };
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return noDevice();
    if (errno == EACCES) return permissionCause(path);
  } else if (!S_ISCHR(st.st_mode) || listedOutsideTty(st.st_rdev)) {
    return LoadResString(10113);
  }
  switch (error) {
    case QSerialPort::DeviceNotFoundError: return noDevice();
    case QSerialPort::PermissionError:
      // The port says the same when another program holds the device (its
      // lock file, or exclusive use): only a device the user may not open
      // is a matter of group membership.
      if (::access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES) return permissionCause(path);
      return LoadResString(10112);
    default: return LoadResString(10118) + errorText;
  }
}

bool QtSerialPort::open(const std::string& device, const LineSettings& line) {
  close();
  faultNumber = 0;
  openFailure_.clear();
  // A control character (a NUL, say) in a path names no device; the port
  // itself would take it into its lock file's name.
  if (device.empty() || std::any_of(device.begin(), device.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
      })) {
    openFailure_ = LoadResString(10110);
    return false;
  }
  // Another program's lock, or a lock name that is no plain file: the port's
  // own check would take a lock that names no program of ours, or an old one,
  // for a stale one and remove it.
  if (heldByAnotherProgram(device, &openFailure_)) return false;
  serial.setPortName(QString::fromStdString(device));
  serial.setBaudRate(line.baud);
  serial.setDataBits(static_cast<QSerialPort::DataBits>(line.dataBits));
  switch (line.parity) {
    case 'e': serial.setParity(QSerialPort::EvenParity); break;
    case 'o': serial.setParity(QSerialPort::OddParity); break;
    case 'm': serial.setParity(QSerialPort::MarkParity); break;
    case 's': serial.setParity(QSerialPort::SpaceParity); break;
    default: serial.setParity(QSerialPort::NoParity); break;
  }
  serial.setStopBits(line.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
  serial.setFlowControl(QSerialPort::NoFlowControl);
  const bool ok = serial.open(QIODevice::ReadWrite);
  if (!ok) openFailure_ = openCause(device, serial.error(), serial.errorString().toStdString());
  faultNumber = 0;
  // The lock the port made, in whichever folder it chose: a program ended
  // while its main thread is blocked removes it, and nothing else.
  if (ok) {
    const portlock::OwnLock lock = portlock::own(portmap::openedPath(device));
    if (!lock.file.empty()) lockEndId = endsignals::removeFileOnEnd(lock.file, lock.device, lock.inode, lock.head);
  }
  return ok;
}

void QtSerialPort::close() {
  if (serial.isOpen()) serial.close();
  // Closing removed the lock.
  if (lockEndId != 0) endsignals::keepFileOnEnd(lockEndId);
  lockEndId = 0;
}

bool QtSerialPort::isOpen() const { return serial.isOpen(); }

void QtSerialPort::discardInput() {
  if (serial.isOpen()) serial.clear(QSerialPort::Input);
}

void QtSerialPort::discardOutput() {
  if (serial.isOpen()) serial.clear(QSerialPort::Output);
}

bool QtSerialPort::write(uint8_t byte) {
  if (!serial.isOpen()) {
    if (faultNumber == 0) faultNumber = kErrUnexpected;
    return false;
  }
  const char c = static_cast<char>(byte);
  if (serial.write(&c, 1) != 1) {
    if (faultNumber == 0) faultNumber = kErrUnexpected;
    return false;
  }
  // Each byte goes to the driver at once, as the radio expects it.
  serial.flush();
  return faultNumber == 0;
}

void QtSerialPort::flush() {
  if (!serial.isOpen()) return;
  serial.flush();
  // Wait until the driver has put the byte on the line, so the pause that
  // follows is a real gap on the wire.
  if (serial.handle() >= 0) tcdrain(serial.handle());
}

int QtSerialPort::bytesWaiting() {
  if (!serial.isOpen()) return 0;
  // The port's buffer fills only when the event loop gets to its read
  // notification; a busy machine may get there after a wait's timer. So an
  // empty buffer is not the last word: what the system already holds for the
  // port is taken in now.
  if (serial.bytesAvailable() == 0) {
    int held = 0;
    if (serial.handle() >= 0 && ::ioctl(serial.handle(), FIONREAD, &held) == 0 && held > 0) serial.waitForReadyRead(0);
  }
  return static_cast<int>(serial.bytesAvailable());
}

bool QtSerialPort::takeByte(uint8_t& byte) {
  char c = 0;
  if (!serial.isOpen() || !serial.getChar(&c)) return false;
  byte = static_cast<uint8_t>(c);
  return true;
}

void QtLinkWaiter::run(int64_t ms, const std::function<bool()>& done) {
  if (done()) return;
  QEventLoop l;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  bool expired = false;
  QObject::connect(&timer, &QTimer::timeout, &l, [&] {
    expired = true;
    l.quit();
  });
  QEventLoop* outer = loop;
  const bool outerInterrupted = interrupted;
  loop = &l;
  interrupted = false;
  timer.start(static_cast<int>(std::min<int64_t>(ms, 0x7FFFFFFF)));
  while (!expired && !interrupted && !done()) l.exec();
  loop = outer;
  // The wait around this one looks again: what woke it may have been taken
  // by this one (a byte that arrived during a pause of the send-complete
  // notification), and a stop that ended this one ends it as well.
  if (outer) outer->quit();
  interrupted = outer ? (outerInterrupted || interrupted) : false;
}

void QtLinkWaiter::waitReply(SerialPort& port, int ms) {
  run(ms, [&port] { return port.bytesWaiting() > 0 || port.fault() != 0 || !port.isOpen(); });
}

void QtLinkWaiter::pause(int64_t units) {
  if (units <= 0) return;
  run(units, [] { return false; });
}

void QtLinkWaiter::interrupt() {
  if (!loop) return;
  interrupted = true;
  loop->quit();
}

int64_t QtLinkWaiter::clockMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void QtLinkWaiter::wake() {
  if (loop) loop->quit();
}

QtLink::QtLink() {
  QObject::connect(&port.device(), &QSerialPort::readyRead, &waiter, [this] { waiter.wake(); });
  QObject::connect(&port.device(), &QSerialPort::errorOccurred, &waiter, [this] { waiter.wake(); });
}

}  // namespace radiolink

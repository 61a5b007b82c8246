// Opening the real port: a device that cannot be opened says why.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "link/qtlink.h"
#include "support/devices.h"
#include "support/testsupport.h"

using radiolink::QtSerialPort;

namespace {
// The serial lock files of the folders the port may keep them in, for the
// device named `device` only: other programs (and other tests running at the
// same time) hold locks of their own.
std::set<std::string> lockFiles(const std::string& device) {
  const std::string number = std::filesystem::path(device).filename().string();
  std::set<std::string> out;
  for (const char* folder : {"/var/lock", "/run/lock", "/tmp"}) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
      const std::string name = e.path().filename().string();
      if (name.rfind("LCK..", 0) != 0 || name.size() <= number.size() + 5) continue;
      const size_t at = name.size() - number.size();
      if (name.compare(at, std::string::npos, number) == 0 && !std::isdigit(static_cast<unsigned char>(name[at - 1])))
        out.insert(std::filesystem::weakly_canonical(e.path(), ec).string());
    }
  }
  return out;
}

const std::string kNoDevice = "Cause: the device does not exist";
}  // namespace

TEST(PortOpen, AFailedOpenNamesItsCause) {
  TempDir dir;
  const radiolink::LineSettings line;
  QtSerialPort port;
  EXPECT_FALSE(port.open(dir.file("no-such-device"), line));
  EXPECT_EQ(port.openFailure(), kNoDevice);

  writeFileBytes(dir.file("plain"), {1});
  EXPECT_FALSE(port.open(dir.file("plain"), line));
  EXPECT_EQ(port.openFailure(), "Cause: the path is not a serial port");
  // A control character never reaches the device or its lock file.
  Pty pty;
  ASSERT_FALSE(pty.slave.empty());
  const auto locksBefore = lockFiles(pty.slave);
  for (const std::string& bad : {pty.slave + std::string("\0x", 2), pty.slave + "\x01", std::string("\0", 1)}) {
    EXPECT_FALSE(port.open(bad, line));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.openFailure(), kNoDevice);
  }
  EXPECT_EQ(lockFiles(pty.slave), locksBefore);

  // A device another program holds.
  ASSERT_TRUE(port.open(pty.slave, line)) << port.device().errorString().toStdString();
  EXPECT_EQ(port.openFailure(), "");
  EXPECT_EQ(lockFiles(pty.slave).size(), locksBefore.size() + 1);  // the lock looked for is the port's own
  QtSerialPort other;
  EXPECT_FALSE(other.open(pty.slave, line));
  EXPECT_EQ(other.openFailure(), "Cause: the port is in use by another program");
  port.close();
  EXPECT_EQ(lockFiles(pty.slave), locksBefore);

  // A character device that is no terminal says the same, not the system's
  // "Inappropriate ioctl for device": a null device of the test's own.
  if (!std::filesystem::exists("/sys/dev/char/1:3")) GTEST_SKIP() << "the kernel lists no null device (1:3)";
  if (!makeNullNode(dir.file("null"))) GTEST_SKIP() << "only root may make the device node a non-terminal needs";
  EXPECT_FALSE(port.open(dir.file("null"), line));
  EXPECT_EQ(port.openFailure(), "Cause: the path is not a serial port");
}

TEST(PortOpen, ADeviceTheUserMayNotOpenAsksForTheDialoutGroup) {
  if (::geteuid() == 0) GTEST_SKIP() << "root opens every device: no permission error to see";
  Pty pty;
  ASSERT_FALSE(pty.slave.empty());
  ASSERT_EQ(::chmod(pty.slave.c_str(), 0), 0);
  QtSerialPort port;
  EXPECT_FALSE(port.open(pty.slave, radiolink::LineSettings{}));
  EXPECT_EQ(port.openFailure(),
            "Cause: permission denied. Your user must be a member of the group dialout (sudo adduser <user> dialout, "
            "then log in again)");
}

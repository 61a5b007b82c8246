// The real link (QSerialPort, event-loop waits) against the simulated radio
// program over a pseudo-terminal.
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "core/modpublic.h"
#include "link/linkengine.h"
#include "link/qtlink.h"
#include "linktest.h"
#include "platform/base/appinfo.h"
#include "platform/base/portmap.h"
#include "simprocess.h"
#include "support/devices.h"

using namespace radiolink;

namespace {

class EndToEnd : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    freshModel(dir);
    portmap::setConfigFile(dir.file("ports.conf"));
    static const int32_t last[] = {6887, 2047, 2559};
    family = GetParam();
    modPublic.strRadioFamily = std::to_string(family);
    modPublic.lngDataLast = last[family];
    modPublic.dimImage();
    memoryFile = dir.file("radio.bin");
    radioMemory = pattern(static_cast<size_t>(last[family]) + 1, 11);
    writeFileBytes(memoryFile, radioMemory);
  }

  bool startRadio(const std::vector<std::string>& extra = {}) {
    if (!sim.start(app::path() + "/velmora-simradio", family, memoryFile, extra)) return false;
    setenv("VELMORA_COM9", sim.device().c_str(), 1);
    engine.strCommPort = "9";
    engine.strBaudRate = family == 1 ? "4800" : "9600";
    return engine.subCommOpen() == kStateOk;
  }

  bool read() {
    std::array<uint8_t, 16> header{};
    if (family == 0) return engine.blnReadWithHeader(3, header, 0x6A);
    return engine.blnReadFrames(family == 1 ? 2 : 3, family == 1 ? 0x4C : 0x5C);
  }

  std::vector<uint8_t> image() const {
    return {modPublic.bytRadioData.begin(), modPublic.bytRadioData.begin() + modPublic.lngDataLast + 1};
  }

  TempDir dir;
  RecordingMessages messages;
  int family = 0;
  std::string memoryFile;
  std::vector<uint8_t> radioMemory;
  SimProcess sim;
  QtLink link;
  LinkEngine engine{link.port, link.waiter};
};

}  // namespace

TEST_P(EndToEnd, ReadThenFullWrite) {
  ASSERT_TRUE(startRadio());
  ASSERT_TRUE(link.port.notifications());
  EXPECT_TRUE(read());
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(image(), radioMemory);
  // The real port told the engine its first bytes had left; the engine
  // paused once and switched the notifications off.
  EXPECT_FALSE(link.port.notifications());
  EXPECT_EQ(std::vector<uint8_t>(modPublic.bytRadioBase.begin(), modPublic.bytRadioBase.begin() + modPublic.lngDataLast + 1),
            radioMemory);
  // The radio compared every echoed frame with what it sent.
  const std::string sent = std::to_string(radioMemory.size() / 2) + " frames sent, 0 echo errors";
  EXPECT_TRUE(sim.waitForLine(sent, 3000)) << sim.lines().back();

  // Every word of a new image goes to the radio.
  std::vector<uint8_t> fresh = pattern(static_cast<size_t>(modPublic.lngDataLast) + 1, 23);
  std::copy(fresh.begin(), fresh.end(), modPublic.bytRadioData.begin());
  if (family == 0) {
    modPublic.bytRadioData[32] = 255;
    int32_t size = 0, sum = 0;
    engine.blnP1RACheckSum(size, sum);
    EXPECT_TRUE(engine.blnCommP1RACompFormat(1, size, sum, 0x69));
  } else if (family == 1) {
    EXPECT_TRUE(engine.blnCommSFormat(2, 0xE6));
  } else {
    LinkEngine::subStoreWriteSum();
    EXPECT_TRUE(engine.blnCommSFormat(3, 0x5A));
  }
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_TRUE(sim.waitForLine("frames stored", 3000));
  EXPECT_EQ(readFileBytes(memoryFile), image());
  if (family == 0) {
    EXPECT_TRUE(sim.waitForLine("write: sum ok", 1000));
  } else if (family == 2) {
    EXPECT_TRUE(sim.waitForLine("write: end frame ok", 1000));
  }

  if (family == 1) {
    // The delete command.
    EXPECT_TRUE(engine.blnSendCommand(0x4D));
    EXPECT_EQ(engine.lngCommState, kStateOk);
    EXPECT_TRUE(sim.waitForLine("erase", 3000));
    EXPECT_EQ(readFileBytes(memoryFile), std::vector<uint8_t>(2048, 0xFF));
  }
  EXPECT_TRUE(messages.boxes.empty());
  engine.subCommClose();
}

TEST_P(EndToEnd, RadioHangsUpDuringRead) {
  ASSERT_TRUE(startRadio({"--fault", "hangup-after=40"}));
  const auto before = image();
  EXPECT_FALSE(read());
  EXPECT_EQ(engine.lngCommState, kStateOther);
  EXPECT_EQ(image(), before);
  ASSERT_EQ(messages.boxes.size(), 1u);
  EXPECT_EQ(messages.boxes[0].title, "blnCommErrAnalyze");
  engine.subCommClose();
}

INSTANTIATE_TEST_SUITE_P(Families, EndToEnd, ::testing::Values(0, 1, 2));

namespace {
// A fresh model of a base station (family "2") with a port map of the test's own.
void baseStationModel(TempDir& dir) {
  freshModel(dir);
  portmap::setConfigFile(dir.file("ports.conf"));
  modPublic.strRadioFamily = "2";
  modPublic.lngDataLast = 2559;
  modPublic.dimImage();
}
}  // namespace

// A busy machine: the program's event loop is held for 150 ms just as a frame
// starts to arrive; one byte comes in meanwhile, the rest is handed over
// 60 ms after the loop runs again (the serial layer behind as well). The
// frame is read whole, echoed once, and the read is exact.
TEST(EndToEndStall, AFrameArrivingWhileTheEventLoopIsHeldIsReadWhole) {
  TempDir dir;
  RecordingMessages messages;
  baseStationModel(dir);
  const std::vector<uint8_t> memory = pattern(2560, 5);
  Pty pty;
  ASSERT_FALSE(pty.slave.empty());
  setenv("VELMORA_COM9", pty.slave.c_str(), 1);
  QtLink link;
  LinkEngine engine(link.port, link.waiter);
  engine.strCommPort = "9";
  engine.strBaudRate = "9600";
  ASSERT_EQ(engine.subCommOpen(), kStateOk);

  constexpr int kStalled = 7;  // the frame that meets the held loop
  std::atomic<bool> stallNow{false}, held{false}, released{false}, farEndFailed{false};
  std::atomic<int> echoesOfStalled{0};
  // The radio: the command echoed, then each frame after the echo of the last.
  std::thread radio([&] {
    const auto put = [&](std::vector<uint8_t> bytes) {
      if (::write(pty.master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) farEndFailed = true;
    };
    const auto take = [&](size_t n) {
      std::vector<uint8_t> got;
      while (got.size() < n) {
        pollfd p{pty.master, POLLIN, 0};
        if (::poll(&p, 1, 5000) != 1) break;
        uint8_t b[8];
        const ssize_t r = ::read(pty.master, b, std::min<size_t>(sizeof b, n - got.size()));
        if (r <= 0) break;
        got.insert(got.end(), b, b + r);
      }
      if (got.size() < n) farEndFailed = true;
      return got;
    };
    const auto waitFor = [](std::atomic<bool>& flag) {
      for (int i = 0; i < 500 && !flag; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    };
    if (take(1) != std::vector<uint8_t>{0x5C}) farEndFailed = true;
    put({0x5C});
    for (int w = 0; w < 1280 && !farEndFailed; ++w) {
      const std::vector<uint8_t> f = {static_cast<uint8_t>(w & 0xFF), static_cast<uint8_t>(w >> 8), memory[2 * w],
                                      memory[2 * w + 1]};
      if (w == kStalled) {
        stallNow = true;
        put({f[0]});
        waitFor(held);
        put({f[1]});
        waitFor(released);
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        put({f[2], f[3]});
      } else {
        put(f);
      }
      if (take(4) != f) farEndFailed = true;
      if (w == kStalled) {
        // A second echo would mean the frame was taken cut short and tried again.
        pollfd p{pty.master, POLLIN, 0};
        if (::poll(&p, 1, 100) == 1) echoesOfStalled = 2;
      }
    }
    put({0xFF, 0xFF, 0x00, 0x00});
  });
  bool stalled = false;
  QObject::connect(&link.port.device(), &QSerialPort::readyRead, &link.waiter, [&] {
    if (stalled || !stallNow) return;
    stalled = true;
    // Held inside the wait for the rest of the frame.
    QTimer::singleShot(0, [&] {
      held = true;
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      released = true;
    });
  });
  EXPECT_TRUE(engine.blnReadFrames(3, 0x5C));
  radio.join();
  EXPECT_TRUE(stalled);
  EXPECT_FALSE(farEndFailed);
  EXPECT_EQ(echoesOfStalled, 0);
  EXPECT_EQ(engine.lngCommState, kStateOk);
  EXPECT_EQ(std::vector<uint8_t>(modPublic.bytRadioData.begin(), modPublic.bytRadioData.begin() + 2560), memory);
  EXPECT_TRUE(messages.boxes.empty());
  // The last look at the port: bytes the system holds for it, which the port
  // has not taken in (no event loop ran since they came), are waiting.
  const uint8_t late[3] = {1, 2, 3};
  ASSERT_EQ(::write(pty.master, late, 3), 3);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(link.port.bytesWaiting(), 3);
  engine.subCommClose();
  unsetenv("VELMORA_COM9");
}

// The stop button's click arrives through the event loop while the link waits
// for a radio that stays silent.
TEST(EndToEndStop, StopArrivesDuringAWait) {
  TempDir dir;
  RecordingMessages messages;
  baseStationModel(dir);
  const auto before = modPublic.bytRadioData;
  SimProcess sim;
  ASSERT_TRUE(sim.start(app::path() + "/velmora-simradio", 2, "", {"--fault", "silent"}));
  setenv("VELMORA_COM9", sim.device().c_str(), 1);
  QtLink link;
  LinkEngine engine(link.port, link.waiter);
  engine.strCommPort = "9";
  engine.strBaudRate = "9600";
  ASSERT_EQ(engine.subCommOpen(), kStateOk);
  bool clicked = false;
  QTimer::singleShot(200, [&] {
    clicked = true;
    engine.requestStop();
  });
  EXPECT_FALSE(engine.blnReadFrames(3, 0x5C));
  EXPECT_TRUE(clicked);
  EXPECT_EQ(engine.lngCommState, kStateStopped);
  EXPECT_EQ(modPublic.bytRadioData, before);
  EXPECT_TRUE(messages.boxes.empty());
}

// A program that took the line for itself and was killed in the middle of a
// write: the simulated radio takes the next connection, from any user, as a
// new one.
TEST(SimulatedRadio, TakesANewConnectionHoweverTheLastOneEnded) {
  TempDir dir;
  SimProcess sim;
  ASSERT_TRUE(sim.start(app::path() + "/velmora-simradio", 2, dir.file("radio.bin")));
  const auto openLine = [&sim] {
    const int fd = ::open(sim.device().c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    if (fd >= 0 && tcgetattr(fd, &t) == 0) {
      cfmakeraw(&t);
      cfsetspeed(&t, B9600);
      tcsetattr(fd, TCSANOW, &t);
    }
    return fd;
  };
  const pid_t program = ::fork();
  if (program == 0) {
    const int fd = openLine();
    ::ioctl(fd, TIOCEXCL);
    const uint8_t started[] = {0x5A, 0x00, 0x00};  // the write command, half a frame
    if (::write(fd, started, sizeof started) == 3) ::pause();
    ::_exit(1);
  }
  ASSERT_GT(program, 0);
  const bool started = sim.waitForLine("write command 5A", 5000);
  ::kill(program, SIGKILL);
  ::waitpid(program, nullptr, 0);
  ASSERT_TRUE(started);
  ASSERT_TRUE(sim.waitForLine("line closed", 5000));
  const int fd = openLine();
  ASSERT_GE(fd, 0) << std::strerror(errno);
  int exclusive = -1;
  EXPECT_EQ(::ioctl(fd, TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0);
  // A read command is answered at once, not taken for the rest of the frame.
  const uint8_t read = 0x5C;
  ASSERT_EQ(::write(fd, &read, 1), 1);
  pollfd answer{fd, POLLIN, 0};
  uint8_t echo = 0;
  ASSERT_EQ(::poll(&answer, 1, 1000), 1);
  EXPECT_EQ(::read(fd, &echo, 1), 1);
  EXPECT_EQ(echo, 0x5C);
  ::close(fd);
}

// A --link name that is there already is someone's: the simulator refuses it
// and leaves it as it was, unless it is a link its own earlier run left to a
// pseudo-terminal that is gone.
TEST(SimulatedRadio, ALinkNameThatIsTakenIsRefused) {
  TempDir dir;
  const std::string program = app::path() + "/velmora-simradio";
  writeFileBytes(dir.file("taken"), {1, 2, 3});
  std::filesystem::create_symlink(dir.file("taken"), dir.file("elsewhere"));
  for (const char* name : {"taken", "elsewhere"}) {
    QProcess sim;
    sim.start(QString::fromStdString(program), {"--family", "2", "--link", QString::fromStdString(dir.file(name))});
    ASSERT_TRUE(sim.waitForFinished(5000)) << name;
    EXPECT_NE(sim.exitCode(), 0) << name;
    EXPECT_TRUE(sim.readAllStandardError().contains("the name is taken")) << name;
  }
  EXPECT_EQ(readFileBytes(dir.file("taken")), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(std::filesystem::read_symlink(dir.file("elsewhere")), dir.file("taken"));

  std::filesystem::create_symlink("/dev/pts/987654", dir.file("stale"));  // a run that was killed
  SimProcess sim;
  ASSERT_TRUE(sim.start(program, 2, "", {"--link", dir.file("stale")}));
  EXPECT_EQ(std::filesystem::read_symlink(dir.file("stale")), sim.device());
}

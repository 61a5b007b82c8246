// The unattended write with a port map the user wrote: a line that cannot be
// read sends nothing anywhere, and the run says which line it was; a port
// that does not open says why.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>

#include "platform/base/appinfo.h"
#include "programrun.h"
#include "simprocess.h"
#include "support/testsupport.h"

namespace {
ProgramRun runWithMap(const TempDir& home, const std::string& map) {
  std::filesystem::create_directories(home.file("config/velmora"));
  writeFileBytes(home.file("config/velmora/ports.conf"), std::vector<uint8_t>(map.begin(), map.end()));
  return runProgram(home, "", {"/RZR340", "/COM1", QString::fromStdString("/F" + home.file("myradio"))}, 30000);
}
}  // namespace

TEST(CommandLinePortMap, ABrokenLineForThePortSendsNothingAndNamesTheLine) {
  using namespace std::string_literals;
  TempDir home;
  auto file = readFileBytes(app::path() + "/InitialP3RC.dat");
  // Channel 1 in use, encode and decode off, as the radio takes it.
  file[0] = 0x55;
  file[1] = 0x12;
  file[2] = 0x7F;
  file[3] = 0x00;
  file[1100] = 0x42;
  writeFileBytes(home.file("myradio.R3D"), file);
  const std::vector<uint8_t> memory(2560, 0x77);
  writeFileBytes(home.file("sim.R3D"), memory);
  SimProcess sim;
  ASSERT_TRUE(sim.start(app::path() + "/velmora-simradio", 2, home.file("sim.R3D")));
  const std::string conf = home.file("config/velmora/ports.conf");

  // A NUL in the radio's own path: the bytes before it would name the radio.
  ProgramRun r = runWithMap(home, "COM1="s + sim.device() + "\0x\n"s);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.errors.find("The communication port was not able to be opened\nPORT : 1\nThis port number is not "
                          "available"),
            std::string::npos)
      << r.errors;
  EXPECT_NE(r.errors.find(conf + " line 1: COM1=" + sim.device() + "\\x00x"), std::string::npos) << r.errors;

  // An empty path: not the built-in first port either.
  r = runWithMap(home, "# radio\nCOM1=\n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.errors.find(conf + " line 2: COM1="), std::string::npos) << r.errors;
  EXPECT_EQ(r.errors.find("/dev/ttyS0"), std::string::npos) << r.errors;

  // A line for a number outside 1..16 (meant for the radio): port 1 does not
  // fall back to its built-in device, and the line is named.
  r = runWithMap(home, "COM0=" + sim.device() + "\n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.errors.find("PORT : 1\nThis port number is not available"), std::string::npos) << r.errors;
  EXPECT_NE(r.errors.find(conf + " line 1: COM0=" + sim.device()), std::string::npos) << r.errors;
  EXPECT_EQ(r.errors.find("/dev/ttyS0"), std::string::npos) << r.errors;

  // A path that names no device: the message says so, with the device.
  r = runWithMap(home, "COM1=" + home.file("ttyGone") + "\n");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.errors.find("The communication port was not able to be opened\nPORT : 1 (" + home.file("ttyGone") +
                          ")\nCause: the device " + home.file("ttyGone") + " does not exist"),
            std::string::npos)
      << r.errors;
  EXPECT_TRUE(sim.lines().empty()) << sim.lines().front();
  EXPECT_EQ(readFileBytes(home.file("sim.R3D")), memory);

  // "COM01" is COM1: the write arrives.
  r = runWithMap(home, "COM01=" + sim.device() + "\n");
  EXPECT_EQ(r.exitCode, 0) << r.errors;
  ASSERT_TRUE(sim.waitForLine("end frame ok", 5000));
  sim.stop();
  EXPECT_EQ(readFileBytes(home.file("sim.R3D"))[1100], 0x42);
}

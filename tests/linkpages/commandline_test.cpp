// The unattended write, end to end: the program itself, started with a radio,
// a port and a data file, against the simulated radio on a pseudo-terminal.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "platform/base/appinfo.h"
#include "simprocess.h"
#include "support/testsupport.h"

namespace {
struct ProgramRun {
  int exitCode = -1;
  std::string errors;
};

ProgramRun runProgram(const TempDir& home, const std::string& device, const QStringList& args, int waitMs = 60000) {
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("HOME", QString::fromStdString(home.str()));
  env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.file("config")));
  env.insert("XDG_DATA_HOME", QString::fromStdString(home.file("data")));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("VELMORA_COM1", QString::fromStdString(device));
  program.setProcessEnvironment(env);
  program.setWorkingDirectory(QString::fromStdString(home.str()));
  program.start(QString::fromStdString(app::path() + "/velmora"), args);
  ProgramRun r;
  if (!program.waitForFinished(waitMs)) {
    program.kill();
    program.waitForFinished();
    return r;
  }
  r.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -2;
  r.errors = program.readAllStandardError().toStdString();
  return r;
}

// A base-station image with channel 1 in use and encode/decode formats off.
std::vector<uint8_t> dataFile() {
  auto d = readFileBytes(app::path() + "/InitialP3RC.dat");
  d[0] = 0x55;
  d[1] = 0x12;
  d[2] = 0x7F;
  d[3] = 0x00;
  for (size_t i = 1100; i < 1200; ++i) d[i] = static_cast<uint8_t>(i);
  return d;
}
}  // namespace

TEST(CommandLine, WritesTheDataFileIntoTheRadioAndExitsZero) {
  TempDir home;
  const auto file = dataFile();
  writeFileBytes(home.file("myradio.R3D"), file);
  SimProcess sim;
  ASSERT_TRUE(sim.start(app::path() + "/velmora-simradio", 2, home.file("sim.R3D")));
  const ProgramRun r = runProgram(home, sim.device(), {"/RZR340", "/COM1", QString::fromStdString("/F" + home.file("myradio"))});
  EXPECT_EQ(r.exitCode, 0) << r.errors;
  ASSERT_TRUE(sim.waitForLine("end frame ok", 5000));
  sim.stop();
  const auto radio = readFileBytes(home.file("sim.R3D"));
  ASSERT_EQ(radio.size(), 2560u);
  // The radio holds the file, with the program's stamp and the write sum.
  for (size_t i = 0; i < 2016; ++i) ASSERT_EQ(radio[i], file[i]) << i;
  EXPECT_EQ(std::string(radio.begin() + 2016, radio.begin() + 2028), "velmora 1.00");
  uint32_t sum = 0;
  for (size_t k = 0; k < 1279; ++k) sum += radio[2 * k] + 256u * radio[2 * k + 1];
  EXPECT_EQ(radio[2558] | radio[2559] << 8, sum & 0xFFFF);
}

TEST(CommandLine, ASilentRadioOrAMissingFileExitsNonZero) {
  TempDir home;
  writeFileBytes(home.file("myradio.R3D"), dataFile());
  SimProcess sim;
  ASSERT_TRUE(sim.start(app::path() + "/velmora-simradio", 2, home.file("sim.R3D"), {"--fault", "silent"}));
  ProgramRun r = runProgram(home, sim.device(), {"/RZR340", "/COM1", QString::fromStdString("/F" + home.file("myradio"))});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.errors.find("Reception time-out"), std::string::npos) << r.errors;

  r = runProgram(home, sim.device(), {"/RZR340", "/COM1", QString::fromStdString("/F" + home.file("nothere"))});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.errors.find("nothere.R3D is not found !"), std::string::npos) << r.errors;
}

// Whenever the write cannot start, the run ends at once with a failure status
// and a message that says why, and the radio hears nothing.
TEST(CommandLine, AWriteThatCannotStartSendsNothingAndExitsNonZero) {
  TempDir home;
  writeFileBytes(home.file("myradio.R3D"), dataFile());
  writeFileBytes(home.file("short.R3D"), std::vector<uint8_t>(1000, 0x00));
  const std::vector<uint8_t> memory(2560, 0x77);
  writeFileBytes(home.file("sim.R3D"), memory);
  SimProcess sim;
  ASSERT_TRUE(sim.start(app::path() + "/velmora-simradio", 2, home.file("sim.R3D")));
  const QString good = QString::fromStdString("/F" + home.file("myradio"));
  const struct {
    QStringList args;
    std::string says;
  } cases[] = {
      {{"/RZR340", "/COM1", QString::fromStdString("/F" + home.file("short"))},
       "The file is shorter than the radio's data: nothing was read\n1000 / 2560 bytes"},
      {{"/COM1", good}, "A data file (/F) is written only into a radio named with /R"},
      {{"/RZR999", "/COM1", good}, "A data file (/F) is written only into a radio named with /R"},
      {{"/RZR340", "/COM0", good}, "PORT : /COM0"},
      {{"/RZR340", "/COM17", good}, "PORT : /COM17"},
      {{"/RZR340", "/COM", good}, "PORT : /COM"},
      {{"/RZR340", good}, "PORT : none chosen"},
  };
  for (const auto& c : cases) {
    const ProgramRun r = runProgram(home, sim.device(), c.args, 15000);
    const std::string line = c.args.join(' ').toStdString();
    EXPECT_EQ(r.exitCode, 1) << line;
    EXPECT_NE(r.errors.find(c.says), std::string::npos) << line << "\n" << r.errors;
  }
  sim.stop();
  EXPECT_TRUE(sim.lines().empty()) << sim.lines().front();
  EXPECT_EQ(readFileBytes(home.file("sim.R3D")), memory);
}

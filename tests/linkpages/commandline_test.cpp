// The unattended write, end to end: the program itself, started with a radio,
// a port and a data file, against the simulated radio on a pseudo-terminal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <cstring>

#include "platform/base/appinfo.h"
#include "programrun.h"
#include "simprocess.h"
#include "support/testsupport.h"

namespace {

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

// What an unattended write cut short by a signal says, once, on standard
// error: the stop button's warning, in the program's language.
const std::string kPartlyWritten =
    "velmora: The radio may now hold a partly written memory: write it again before using it\n";
const std::string kPartlyWrittenJa =
    "velmora: 無線機のメモリが途中まで書き込まれている可能性があります。使用する前にもう一度書き込んでください\n";

// What the simulated radio saw last, to tell which side of a failed
// transfer stalled.
std::string lastLines(SimProcess& sim) {
  const std::vector<std::string> lines = sim.lines();
  std::string out = "the radio's last lines:\n";
  for (size_t i = lines.size() > 8 ? lines.size() - 8 : 0; i < lines.size(); ++i) out += lines[i] + "\n";
  return out;
}

size_t occurrences(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}
}  // namespace

// A write that succeeds says nothing: standard error stays empty (cron
// mails whatever a job says), whatever Qt has to remark on the way.
TEST(CommandLine, WritesTheDataFileIntoTheRadioAndExitsZero) {
  TempDir home;
  const auto file = dataFile();
  writeFileBytes(home.file("myradio.R3D"), file);
  SimProcess sim;
  ASSERT_TRUE(sim.start(app::path() + "/velmora-simradio", 2, home.file("sim.R3D")));
  ProgramRun r = runProgram(home, sim.device(), {"/RZR340", "/COM1", QString::fromStdString("/F" + home.file("myradio"))});
  EXPECT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_EQ(r.errors, "");
  ASSERT_TRUE(sim.waitForLine("end frame ok", 5000));

  // Settings that cannot be stored are said on standard error, not in a box
  // that would hold the write up where a screen is (one nobody watches here).
  writeFileBytes(home.file("no-folder"), {});
  r = runProgram(home, sim.device(), {"/RZR340", "/COM1", QString::fromStdString("/F" + home.file("myradio"))}, 30000,
                 [&](QProcessEnvironment& env) {
                   env.insert("QT_QPA_PLATFORM", "vnc:port=0");
                   env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.file("no-folder/config")));
                 });
  EXPECT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_EQ(r.errors, "velmora: The settings could not be stored; the settings file keeps what it held:\n" +
                          home.file("no-folder/config/velmora/velmora-settings.ini") + "\nCause: " +
                          std::strerror(ENOTDIR) + "\n");
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

// The arguments reach the program as the shell passed them: a quoted name
// with blanks is one file, given with or without the radio's extension. A
// file "my.R3D" beside it must not be the one written.
TEST(CommandLine, ANameWithBlanksReachesTheRadioWhole) {
  TempDir home;
  auto file = dataFile();
  writeFileBytes(home.file("my radio.R3D"), file);
  auto decoy = dataFile();
  decoy[0] = 0x66;
  writeFileBytes(home.file("my.R3D"), decoy);
  for (const char* typed : {"my radio", "my radio.R3D"}) {
    SCOPED_TRACE(typed);
    file[5] = static_cast<uint8_t>(file[5] + 1);  // each run writes something new
    writeFileBytes(home.file("my radio.R3D"), file);
    SimProcess sim;
    ASSERT_TRUE(sim.start(app::path() + "/velmora-simradio", 2, home.file("sim.R3D")));
    const ProgramRun r =
        runProgram(home, sim.device(), {"/RZR340", "/COM1", QString::fromStdString("/F" + home.file(typed))});
    EXPECT_EQ(r.exitCode, 0) << r.errors;
    ASSERT_TRUE(sim.waitForLine("end frame ok", 5000));
    sim.stop();
    const auto radio = readFileBytes(home.file("sim.R3D"));
    ASSERT_EQ(radio.size(), 2560u);
    EXPECT_TRUE(std::equal(radio.begin(), radio.begin() + 2016, file.begin()));
  }
}

TEST(CommandLine, ASilentRadioOrAMissingFileExitsNonZero) {
  TempDir home;
  writeFileBytes(home.file("myradio.R3D"), dataFile());
  SimProcess sim;
  ASSERT_TRUE(sim.start(app::path() + "/velmora-simradio", 2, home.file("sim.R3D"), {"--fault", "silent"}));
  ProgramRun r = runProgram(home, sim.device(), {"/RZR340", "/COM1", QString::fromStdString("/F" + home.file("myradio"))});
  EXPECT_NE(r.exitCode, 0);
  const size_t timeOut = r.errors.find("Reception time-out");
  EXPECT_NE(timeOut, std::string::npos) << r.errors;
  // A failed run also says what Qt said on the way, kept until the run's own
  // words are out: its remark on the runtime folder, made as it starts, long
  // before the time-out, and its offscreen platform's on each window shown.
  for (const char* remark :
       {"QStandardPaths: XDG_RUNTIME_DIR not set", "This plugin does not support propagateSizeHints()"}) {
    EXPECT_NE(r.errors.find(remark), std::string::npos) << r.errors;
    EXPECT_GT(r.errors.find(remark), timeOut) << r.errors;
  }

  r = runProgram(home, sim.device(), {"/RZR340", "/COM1", QString::fromStdString("/F" + home.file("nothere"))});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.errors.find("nothere.R3D is not found !"), std::string::npos) << r.errors;
}

// Interrupted while it holds the port (Ctrl-C, a closed terminal, kill), the
// program lets go of it before it ends: the device is not left in exclusive
// use, which would refuse the next run and every other program but root's.
// The write had begun: the radio may be partly written, and the run says so.
TEST(CommandLine, AnInterruptedWriteLetsGoOfThePort) {
  TempDir home;
  writeFileBytes(home.file("myradio.R3D"), dataFile());
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    // A line of the test's own, held open at both ends: through the near end
    // the test sees what the program left on the device.
    const int far = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(far >= 0 && grantpt(far) == 0 && unlockpt(far) == 0);
    const std::string device = ptsname(far);
    const int near = ::open(device.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(near, 0);
    QProcess program;
    QProcessEnvironment env = programEnvironment(home, device);
    env.insert("LC_ALL", signal == SIGHUP ? "ja_JP.UTF-8" : "C");
    program.setProcessEnvironment(env);
    program.setChildProcessModifier(endSignalsAsDefault);
    program.start(QString::fromStdString(app::path() + "/velmora"),
                  {"/RZR340", "/COM1", QString::fromStdString("/F" + home.file("myradio"))});
    pollfd command{far, POLLIN, 0};  // the write command: the program holds the port
    ASSERT_EQ(::poll(&command, 1, 20000), 1) << signal;
    ::kill(static_cast<pid_t>(program.processId()), signal);
    ASSERT_TRUE(program.waitForFinished(10000)) << signal;
    EXPECT_EQ(program.exitStatus(), QProcess::CrashExit) << signal;  // ended by the signal, as a shell expects
    EXPECT_EQ(program.exitCode(), signal);
    const std::string errors = program.readAllStandardError().toStdString();
    EXPECT_EQ(occurrences(errors, signal == SIGHUP ? kPartlyWrittenJa : kPartlyWritten), 1u) << signal << "\n" << errors;
    int exclusive = -1;
    ASSERT_EQ(::ioctl(near, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0) << signal;
    ::close(near);
    ::close(far);
  }
}

// Ctrl-C in the middle of an unattended write to the radio: the run ends as
// Ctrl-C ends it, and says once that the radio may be partly written. A
// write started under nohup (hang-ups ignored) goes on through a hang-up,
// ends as written and says nothing of the kind.
TEST(CommandLine, CtrlCDuringAWriteSaysTheRadioMayBePartlyWritten) {
  TempDir home;
  writeFileBytes(home.file("myradio.R3D"), dataFile());
  const QStringList args{"/RZR340", "/COM1", QString::fromStdString("/F" + home.file("myradio"))};
  const QString velmora = QString::fromStdString(app::path() + "/velmora");
  {
    SimProcess sim;  // at the radio's pace, the write takes several seconds
    ASSERT_TRUE(sim.start(app::path() + "/velmora-simradio", 2, home.file("sim.R3D"), {"--pace"}));
    QProcess program;
    QProcessEnvironment env = programEnvironment(home, sim.device());
    env.insert("LC_ALL", "C");
    program.setProcessEnvironment(env);
    program.setChildProcessModifier(endSignalsAsDefault);
    program.start(velmora, args);
    ASSERT_TRUE(sim.waitForLine("write command 5A", 20000));
    ::kill(static_cast<pid_t>(program.processId()), SIGINT);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(program.exitCode(), SIGINT);
    const std::string errors = program.readAllStandardError().toStdString();
    EXPECT_EQ(occurrences(errors, kPartlyWritten), 1u) << errors;
    sim.stop();
    for (const std::string& line : sim.lines()) EXPECT_EQ(line.find("end frame"), std::string::npos) << line;
  }
  SimProcess sim;
  ASSERT_TRUE(sim.start(app::path() + "/velmora-simradio", 2, home.file("sim.R3D"), {"--pace"}));
  QProcess program;
  QProcessEnvironment env = programEnvironment(home, sim.device());
  env.insert("LC_ALL", "C");
  program.setProcessEnvironment(env);
  program.setChildProcessModifier([] {
    endSignalsAsDefault();
    ::signal(SIGHUP, SIG_IGN);
  });
  program.start(velmora, args);
  ASSERT_TRUE(sim.waitForLine("write command 5A", 20000));
  ::kill(static_cast<pid_t>(program.processId()), SIGHUP);
  ASSERT_TRUE(program.waitForFinished(60000));
  const std::string errors = program.readAllStandardError().toStdString();
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0) << errors << lastLines(sim);
  EXPECT_EQ(occurrences(errors, kPartlyWritten), 0u) << errors;
  EXPECT_TRUE(sim.waitForLine("end frame ok", 5000));
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
  writeFileBytes(home.file("my.R3D"), dataFile());
  // One byte short, one byte too many; a ZR310 image, one a byte short of
  // it, and one with a byte appended; a model the ZR340/350 does not have.
  auto file = dataFile();
  file.pop_back();
  writeFileBytes(home.file("onebyte.R3D"), file);
  file = dataFile();
  file.push_back(0x00);
  writeFileBytes(home.file("onemore.R3D"), file);
  writeFileBytes(home.file("zr310.R3D"), readFileBytes(app::path() + "/InitialP1RA.dat"));
  file = readFileBytes(app::path() + "/InitialP1RA.dat");
  file.pop_back();
  writeFileBytes(home.file("zr310short.R3D"), file);
  file = readFileBytes(app::path() + "/InitialP1RA.dat");
  file.push_back(0x00);
  writeFileBytes(home.file("zr310plus.R3D"), file);
  file = dataFile();
  file[1016] = 0x40;
  writeFileBytes(home.file("model.R3D"), file);
  const QString good = QString::fromStdString("/F" + home.file("myradio"));
  const auto named = [&home](const char* name) { return QString::fromStdString("/F" + home.file(name)); };
  QStringList tooMany{"/RZR340", "/COM1"};
  while (tooMany.size() < 10) tooMany << "/DEBUG";
  tooMany << good;
  const struct {
    QStringList args;
    std::string says;
  } cases[] = {
      {{"/RZR340", "/COM1", QString::fromStdString("/F" + home.file("short"))},
       "The file is 1000 bytes long but the radio's data is 2560 bytes (a data file must be exactly as long): "
       "nothing was read\nFile:" + home.file("short.R3D") + "\n"},
      {{"/RZR340", "/COM1", named("onebyte")},
       "The file is 2559 bytes long but the radio's data is 2560 bytes (a data file must be exactly as long): "
       "nothing was read\nFile:" + home.file("onebyte.R3D") + "\n"},
      {{"/RZR340", "/COM1", named("onemore")},
       "The file is 2561 bytes long but the radio's data is 2560 bytes (a data file must be exactly as long): "
       "nothing was read\nFile:" + home.file("onemore.R3D") + "\n"},
      {{"/RZR340", "/COM1", named("zr310")},
       "The file is 6888 bytes long but the radio's data is 2560 bytes (a data file must be exactly as long): "
       "nothing was read\nFile:" + home.file("zr310.R3D") + "\n"},
      {{"/RZR340", "/COM1", named("zr310short")},
       "The file is 6887 bytes long but the radio's data is 2560 bytes (a data file must be exactly as long): "
       "nothing was read\nFile:" + home.file("zr310short.R3D") + "\n"},
      {{"/RZR340", "/COM1", named("zr310plus")},
       "The file is 6889 bytes long but the radio's data is 2560 bytes (a data file must be exactly as long): "
       "nothing was read\nFile:" + home.file("zr310plus.R3D") + "\n"},
      {{"/RZR340", "/COM1", named("model")}, "The radio model in the data is not one of this radio's models"},
      // "my radio" unquoted: the shell made two arguments of it.
      {{"/RZR340", "/COM1", named("my"), "radio"}, "This is no option of the command line"},
      {{"/RZR340", "/COM1", "/F"}, "The data file (/F) names no file"},
      {{"/F"}, "The data file (/F) names no file"},
      {{"/F", "/RZR340", "/COM1"}, "The data file (/F) names no file"},
      {tooMany, "An unattended write (/F) takes at most ten options"},
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

// A write the pre-write checks refuse inside the link page: the check's
// message, a failure status, and a radio that heard nothing.
TEST(CommandLine, AWriteThePreWriteChecksRefuseExitsOneAndLeavesTheRadio) {
  TempDir home;
  // No channel in use (the initial image has none); encode off against a
  // decode that needs one.
  writeFileBytes(home.file("empty.R3D"), readFileBytes(app::path() + "/InitialP3RC.dat"));
  auto file = dataFile();
  file[810] = static_cast<uint8_t>(file[810] & ~7);
  file[834] = static_cast<uint8_t>((file[834] & ~7) | 3);
  writeFileBytes(home.file("formats.R3D"), file);
  const std::vector<uint8_t> memory(2560, 0x77);
  writeFileBytes(home.file("sim.R3D"), memory);
  SimProcess sim;
  ASSERT_TRUE(sim.start(app::path() + "/velmora-simradio", 2, home.file("sim.R3D")));
  const struct {
    const char* name;
    std::string says;
  } cases[] = {{"empty", "No Frequency Data. Please Set !"},
               {"formats", "A wrong combination of Encode set and Decode set"}};
  for (const auto& c : cases) {
    const ProgramRun r =
        runProgram(home, sim.device(), {"/RZR340", "/COM1", QString::fromStdString("/F" + home.file(c.name))}, 15000);
    EXPECT_EQ(r.exitCode, 1) << c.name << "\n" << r.errors;
    EXPECT_NE(r.errors.find(c.says), std::string::npos) << c.name << "\n" << r.errors;
  }
  sim.stop();
  EXPECT_TRUE(sim.lines().empty()) << sim.lines().front();
  EXPECT_EQ(readFileBytes(home.file("sim.R3D")), memory);
}

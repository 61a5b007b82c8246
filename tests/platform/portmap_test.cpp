// The port map read from a file and the environment: a setting it cannot
// understand is reported with its place and never falls back to a default
// device; a control character never reaches a device path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

#include "platform/base/portmap.h"
#include "platform/base/strtable.h"
#include "support/testsupport.h"

namespace {
class PortMap : public ::testing::Test {
 protected:
  void SetUp() override {
    strtable::load("", "en");
    portmap::setConfigFile(conf);
    for (int n = 1; n <= 16; ++n) unsetenv(("VELMORA_COM" + std::to_string(n)).c_str());
  }
  void TearDown() override {
    for (int n = 1; n <= 16; ++n) unsetenv(("VELMORA_COM" + std::to_string(n)).c_str());
    portmap::setConfigFile("");
  }
  void writeConf(const std::string& text) { writeFileBytes(conf, std::vector<uint8_t>(text.begin(), text.end())); }
  TempDir dir;
  const std::string conf = dir.file("ports.conf");
};

const std::string kCannotRead =
    "The port map has a setting it cannot read (expected COM<n>=<device path>, n from 1 to 16, no control "
    "characters)";
}  // namespace

TEST_F(PortMap, ABrokenLineIsReportedAndItsNumberPointsNowhere) {
  using namespace std::string_literals;
  writeConf("# my adapters\n"
                        "COM01=/dev/pts/91\n"            // leading zeros: COM1
                        "COM2=/dev/tty\0USB0\n"          // a NUL in the path
                        "COM3=\n"                        // no path
                        "COM4=/dev/pts/94\r\n"
                        "COM4=\n"                        // empty after a good one: changes nothing
                        "just some words\n"
                        "COM17=/dev/pts/97\n"            // no such number
                        "  com5 = /dev/pts/95  \n"
                        "COM6 /dev/ttyUSB1\n"            // the "=" forgotten
                        "COM7=/dev/tty\x1bX\n"s);      // an escape character
  EXPECT_EQ(portmap::devicePath(1), "/dev/pts/91");
  EXPECT_EQ(portmap::devicePath(2), "");
  EXPECT_EQ(portmap::devicePath(3), "");
  EXPECT_EQ(portmap::devicePath(4), "/dev/pts/94");
  EXPECT_EQ(portmap::devicePath(5), "/dev/pts/95");
  EXPECT_EQ(portmap::devicePath(6), "");
  EXPECT_EQ(portmap::devicePath(7), "");
  // Not mentioned, yet not its default either: a line whose number cannot be
  // told (COM17, the words) may have meant it.
  EXPECT_EQ(portmap::devicePath(8), "");
  EXPECT_FALSE(portmap::present(2));
  EXPECT_FALSE(portmap::userMapped(2));
  EXPECT_TRUE(portmap::userMapped(1));

  const auto problems = portmap::problems();
  ASSERT_EQ(problems.size(), 7u);
  const int lines[] = {3, 4, 6, 7, 8, 10, 11};
  const int ports[] = {2, 3, 4, 0, 0, 6, 7};
  for (size_t i = 0; i < problems.size(); ++i) {
    EXPECT_EQ(problems[i].where, conf);
    EXPECT_EQ(problems[i].line, lines[i]) << i;
    EXPECT_EQ(problems[i].port, ports[i]) << i;
  }
  EXPECT_EQ(portmap::problemText(problems[0]), kCannotRead + "\r" + conf + " line 3: COM2=/dev/tty\\x00USB0");
  EXPECT_EQ(portmap::problemText(problems[6]), kCannotRead + "\r" + conf + " line 11: COM7=/dev/tty\\x1BX");
  // Beside the port list and in the message of a number without a device:
  // what is wrong once, then every place.
  const std::string all = portmap::problemsText();
  EXPECT_EQ(all.rfind(kCannotRead + "\r" + conf + " line 3: COM2=/dev/tty\\x00USB0\r" + conf + " line 4: COM3=\r", 0), 0u)
      << all;
  EXPECT_NE(all.find("\r" + conf + " line 8: COM17=/dev/pts/97\r"), std::string::npos) << all;
  EXPECT_EQ(all.find(kCannotRead, 1), std::string::npos);
  const std::string notAvailable = "This port number is not available: no setting that can be read names its device, "
                                   "and the port map has one it cannot read\r";
  EXPECT_EQ(portmap::unavailable(3), notAvailable + all);
  EXPECT_EQ(portmap::unavailable(8), notAvailable + all);
  EXPECT_EQ(portmap::unavailable(4), "");

  // A line for a number outside 1..16, alone in the map: no number is left to
  // its default device, and the line is named.
  for (const char* key : {"COM0", "COM17", "COM+1", "COM-1", "COM4294967297"}) {
    writeConf(std::string("# the radio\n") + key + "=/dev/pts/90\n");
    for (int n = 1; n <= 16; ++n) EXPECT_EQ(portmap::devicePath(n), "") << key << " " << n;
    EXPECT_EQ(portmap::unavailable(1), notAvailable + kCannotRead + "\r" + conf + " line 2: " + key + "=/dev/pts/90");
  }
}

TEST_F(PortMap, TheEnvironmentWinsAndAControlCharacterInItIsRefused) {
  writeConf("COM1=/dev/pts/81\nCOM2=/dev/pts/82\nCOM3=/dev/pts/83\n");
  setenv("VELMORA_COM1", "/dev/pts/71", 1);
  setenv("VELMORA_COM2", "/dev/pts/7\n2", 1);  // a line end in the value
  setenv("VELMORA_COM3", "", 1);              // empty: not set
  EXPECT_EQ(portmap::devicePath(1), "/dev/pts/71");
  EXPECT_EQ(portmap::devicePath(2), "");  // neither the file's path nor the default
  EXPECT_EQ(portmap::devicePath(3), "/dev/pts/83");
  const auto problems = portmap::problems();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(portmap::problemText(problems[0]), kCannotRead + "\rVELMORA_COM2: /dev/pts/7\\x0A2");
}

TEST_F(PortMap, AFileInUtf16IsOneProblemAndEveryNumberItMentionsIsNotAvailable) {
  const std::u16string text = u"\uFEFFCOM1=/dev/pts/5\r\nCOM12=/dev/ttyUSB9\r\n";
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  writeFileBytes(conf, bytes);
  EXPECT_EQ(portmap::devicePath(1), "");
  EXPECT_EQ(portmap::devicePath(12), "");
  EXPECT_EQ(portmap::devicePath(2), "");  // the file may have meant any number
  ASSERT_EQ(portmap::problems().size(), 1u);
  EXPECT_EQ(portmap::problemsText(),
            kCannotRead + "\r" + conf + ": the file is saved as UTF-16; save it as plain text (UTF-8)");

  // The same lines in UTF-8 with a byte-order mark are read.
  writeConf("\xEF\xBB\xBF" "COM1=/dev/pts/5\r\nCOM12=/dev/ttyUSB9\r\n");
  EXPECT_EQ(portmap::devicePath(1), "/dev/pts/5");
  EXPECT_EQ(portmap::devicePath(12), "/dev/ttyUSB9");
  EXPECT_TRUE(portmap::problems().empty());
  EXPECT_EQ(portmap::problemsText(), "");
}

TEST_F(PortMap, AMapThatIsThereButCannotBeReadSetsNoNumberButTheEnvironments) {
  // A folder (it crashed the reader), a pipe (opening it would wait for a
  // writer for ever) and a dangling link: the map may set any number, so none
  // falls back to its default device; the environment still decides.
  setenv("VELMORA_COM2", "/dev/pts/72", 1);
  const std::string cannot = "the file cannot be read (a folder, a pipe or a device, or your user may not read it): "
                             "no port number is available unless VELMORA_COM<n> sets it";
  for (const char* kind : {"folder", "pipe", "dangling link"}) {
    std::filesystem::remove_all(conf);
    const std::string k = kind;
    if (k == "folder") {
      ASSERT_TRUE(std::filesystem::create_directory(conf));
    }
    if (k == "pipe") {
      ASSERT_EQ(::mkfifo(conf.c_str(), 0600), 0);
    }
    if (k == "dangling link") std::filesystem::create_symlink(dir.file("gone.conf"), conf);
    EXPECT_EQ(portmap::devicePath(1), "") << kind;
    EXPECT_EQ(portmap::devicePath(16), "") << kind;
    EXPECT_EQ(portmap::devicePath(2), "/dev/pts/72") << kind;
    EXPECT_EQ(portmap::problemsText(), kCannotRead + "\r" + conf + ": " + cannot) << kind;
    EXPECT_NE(portmap::unavailable(1).find(cannot), std::string::npos) << kind;
  }
  // No map at all is no problem: every number has its default device.
  std::filesystem::remove_all(conf);
  EXPECT_EQ(portmap::devicePath(1), "/dev/ttyS0");
  EXPECT_TRUE(portmap::problems().empty());
}

TEST_F(PortMap, AnEmptyVariableLeavesTheNumberToTheFileAndNeverToItsDefault) {
  // "VELMORA_COM1=$DEVICE velmora ..." with $DEVICE unset.
  writeConf("COM3=/dev/pts/83\n");
  setenv("VELMORA_COM1", "", 1);
  setenv("VELMORA_COM3", "", 1);
  EXPECT_EQ(portmap::devicePath(1), "");
  EXPECT_EQ(portmap::devicePath(3), "/dev/pts/83");
  const auto problems = portmap::problems();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(portmap::problemText(problems[0]), kCannotRead + "\rVELMORA_COM1: ");
  EXPECT_EQ(portmap::unavailable(1).rfind("This port number is not available", 0), 0u);
  // It names its own number: the others keep their devices.
  EXPECT_EQ(portmap::devicePath(2), "/dev/ttyS1");
  EXPECT_EQ(portmap::devicePath(5), "/dev/ttyUSB0");
  EXPECT_EQ(portmap::devicePath(16), "/dev/ttyACM3");
  EXPECT_EQ(portmap::unavailable(5), "");

  // Without a map file: only the empty variable's number goes.
  std::filesystem::remove(conf);
  unsetenv("VELMORA_COM1");
  EXPECT_EQ(portmap::devicePath(3), "");
  EXPECT_NE(portmap::unavailable(3).find("VELMORA_COM3: "), std::string::npos);
  EXPECT_EQ(portmap::devicePath(1), "/dev/ttyS0");
  EXPECT_EQ(portmap::devicePath(5), "/dev/ttyUSB0");
  EXPECT_EQ(portmap::devicePath(12), "/dev/ttyUSB7");
  EXPECT_EQ(portmap::unavailable(1), "");
  // A line that cannot be read still takes every number it may have meant.
  writeConf("COM17=/dev/pts/90\n");
  EXPECT_EQ(portmap::devicePath(1), "");
  EXPECT_EQ(portmap::devicePath(5), "");
  EXPECT_EQ(portmap::problems().size(), 2u);
}

// The command line and the window placement rule.
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <thread>

#include "app/program.h"
#include "core/pages/cmdline.h"
#include "core/pages/placement.h"
#include "startup_fixture.h"

using CommandLine = StartupRoad;

TEST_F(CommandLine, TokensSetRadioPortFileHelpAndTrace) {
  EXPECT_EQ(intGetCommandLine({"/rzr310", "/com3", "/fC:\\DATA\\MYRADIO"}), 0);
  EXPECT_EQ(modPublic.intCmdCommPort, 3);
  EXPECT_EQ(modPublic.strCmdFileName, "C:\\DATA\\MYRADIO");
  EXPECT_EQ(modPublic.strHelpFile, "evelmora.hlp");
  EXPECT_EQ(modPublic.intDebugLog, 0);

  EXPECT_EQ(intGetCommandLine({"", "/Hguide", "", "/debug"}), -1);
  EXPECT_EQ(modPublic.strHelpFile, "guide.hlp");
  EXPECT_EQ(modPublic.intDebugLog, 1);
  EXPECT_EQ(modPublic.strCmdFileName, "");
  intGetCommandLine({"/Hguide.HLP"});
  EXPECT_EQ(modPublic.strHelpFile, "guide.HLP");

  // Later models in the same token override earlier ones; later tokens too.
  EXPECT_EQ(intGetCommandLine({"/RZR330"}), 11);
  EXPECT_EQ(intGetCommandLine({"/rzr320"}), 1);
  EXPECT_EQ(intGetCommandLine({"/rZR350"}), 2);
  EXPECT_EQ(intGetCommandLine({"/rzr340"}), 2);
  EXPECT_EQ(intGetCommandLine({"/rzr310zr330"}), 11);
  EXPECT_EQ(intGetCommandLine({"/rzr330", "/rzr310"}), 0);
  EXPECT_EQ(intGetCommandLine({"/rzr999"}), -1);
  EXPECT_EQ(intGetCommandLine({"/r"}), -1);
}

TEST_F(CommandLine, PortNumbersOutsideOneToSixteenNameNoPort) {
  for (const char* t : {"/COM", "/COM0", "/COM17", "/COM-3", "/COMx", "/COM99999999999", "/COM1e300"}) {
    intGetCommandLine({t});
    EXPECT_EQ(modPublic.intCmdCommPort, -1) << t;
  }
  intGetCommandLine({"/com16"});
  EXPECT_EQ(modPublic.intCmdCommPort, 16);
  intGetCommandLine({"/COM1"});
  EXPECT_EQ(modPublic.intCmdCommPort, 1);
  intGetCommandLine({"/COM2.4"});
  EXPECT_EQ(modPublic.intCmdCommPort, 2);
  intGetCommandLine({"/COM5", "/COM0"});
  EXPECT_EQ(modPublic.intCmdCommPort, -1);
}

TEST_F(CommandLine, EachArgumentIsOneTokenAndOptionsCountOnlyAtItsStart) {
  // A Linux path behind /F holding "/r", "/h" or "/com" is just a path.
  EXPECT_EQ(intGetCommandLine({"/F/home/radio/zr310/hcom/com4/debug/data"}), -1);
  EXPECT_EQ(modPublic.strCmdFileName, "/home/radio/zr310/hcom/com4/debug/data");
  EXPECT_EQ(modPublic.strHelpFile, "evelmora.hlp");
  EXPECT_EQ(modPublic.intCmdCommPort, -1);
  EXPECT_EQ(modPublic.intDebugLog, 0);
  EXPECT_EQ(intGetCommandLine({"data/rzr310", "x/com3", "y/Hhelp"}), -1);
  EXPECT_EQ(modPublic.intCmdCommPort, -1);
  EXPECT_EQ(modPublic.strHelpFile, "evelmora.hlp");
  // "/F" alone names no file.
  intGetCommandLine({"/F"});
  EXPECT_EQ(modPublic.strCmdFileName, "");
  // A name the shell passed with its blanks stays whole, blanks and tabs alike.
  EXPECT_EQ(intGetCommandLine({"/RZR340", "/F/data/my radio\tsite 2", "/COM1"}), 2);
  EXPECT_EQ(modPublic.strCmdFileName, "/data/my radio\tsite 2");
  EXPECT_EQ(modPublic.intCmdCommPort, 1);
  // Quotes that reach the program are ordinary characters.
  intGetCommandLine({"\"/Fmy", "file\""});
  EXPECT_EQ(modPublic.strCmdFileName, "");
}

TEST_F(CommandLine, ThePortTokenIsNamedAsTyped) {
  EXPECT_EQ(cmdPortToken({"/rzr310", "/com17", "/fx"}), "/com17");
  EXPECT_EQ(cmdPortToken({"/COM3", "/COM"}), "/COM");
  EXPECT_EQ(cmdPortToken({"/rzr310", "x/com3"}), "");
}

// An unattended write that cannot start ends the run with a failure status
// and says why; nothing is left waiting at a page.
TEST_F(CommandLine, AWriteThatCannotStartEndsTheRunWithAFailure) {
  auto run = [this](const CmdArgs& args) {
    std::string line;
    for (const auto& a : args) line += "[" + a + "]";
    program::resetEnded();
    msgs.boxes.clear();
    freshModel(dir);
    program::setArguments(args);
    auto* page = new FrmStartUp;
    page->Start();
    EXPECT_TRUE(program::ended()) << line;
    EXPECT_EQ(program::exitStatus(), 1) << line;
    EXPECT_EQ(front<FrmConfiguration>(), nullptr) << line;
    EXPECT_EQ(msgs.boxes.size(), 1u) << line;
    return msgs.boxes.empty() ? ShownBox{} : msgs.boxes.back();
  };
  // "/F" without a radio, or with one the program does not know.
  for (const char* radio : {"", "/rzr999"}) {
    CmdArgs args{"/com1", "/F/home/tech/site4"};
    if (*radio) args.insert(args.begin(), radio);
    const auto box = run(args);
    EXPECT_EQ(box.text,
              "A data file (/F) is written only into a radio named with /R (ZR310, ZR320, ZR330, ZR340 or ZR350): "
              "nothing was written\r/home/tech/site4");
    EXPECT_EQ(box.style, 48);
    EXPECT_EQ(box.title, "velmora StartUp Form_Load");
  }

  // Arguments that are no option: a name with a blank the shell split, a
  // stray word. The file named before them exists and is whole.
  writeFileBytes(dir.file("my.R3D"), std::vector<uint8_t>(2560, 0x11));
  auto box = run({"/rzr340", "/com1", "/f" + dir.file("my"), "radio"});
  EXPECT_EQ(box.text, "This is no option of the command line; a name holding blanks goes in quotes: nothing was "
                      "written\rradio");
  EXPECT_EQ(box.style, 48);
  EXPECT_EQ(box.title, "velmora StartUp Form_Load");
  box = run({"-f", "/rzr340", "/com1", "/f" + dir.file("my")});
  EXPECT_EQ(box.text, "This is no option of the command line; a name holding blanks goes in quotes: nothing was "
                      "written\r-f");

  // "/F" that names no file: bare, or a folder; with a radio and without.
  for (const CmdArgs& args : {CmdArgs{"/rzr340", "/com1", "/F"}, CmdArgs{"/F"}, CmdArgs{"/rzr340", "/f" + dir.str() + "/"},
                              CmdArgs{"/rzr340", "/com1", "/f" + dir.file("my"), "/F"}}) {
    box = run(args);
    EXPECT_EQ(box.text, "The data file (/F) names no file: nothing was written\r" + args.back());
  }

  // "/F" past the tenth token, where the parser no longer reads.
  CmdArgs many(10, "/DEBUG");
  many.push_back("/f" + dir.file("my"));
  box = run(many);
  EXPECT_EQ(box.text, "An unattended write (/F) takes at most ten options: nothing was written\r/f" + dir.file("my"));
  many = {"/rzr340", "/com1", "/f" + dir.file("my")};
  many.resize(11, "/DEBUG");
  box = run(many);
  EXPECT_EQ(box.text, "An unattended write (/F) takes at most ten options: nothing was written\r/DEBUG");

  // A file of any other length than the radio's data: shorter (a ZR320
  // file for a ZR340, one a single byte short) or longer (a ZR310 image, one
  // byte short of it or with a byte after it; one byte too many), named with
  // both lengths and refused before any port is looked at.
  writeFileBytes(dir.file("site.R3D"), std::vector<uint8_t>(2048, 0x11));
  box = run({"/rzr340", "/com1", "/f" + dir.file("site")});
  EXPECT_EQ(box.text, "The file is 2048 bytes long but the radio's data is 2560 bytes (a data file must be exactly as "
                      "long): nothing was read\rFile:" + dir.file("site.R3D"));
  EXPECT_EQ(box.title, "velmora StartUp Form_Load");
  const auto wrongLength = [](size_t size, size_t radio, const std::string& path) {
    return "The file is " + std::to_string(size) + " bytes long but the radio's data is " + std::to_string(radio) +
           " bytes (a data file must be exactly as long): nothing was read\rFile:" + path;
  };
  const struct {
    const char* radio;
    const char* ext;
    size_t radioLength;
    std::vector<size_t> sizes;
  } lengths[] = {{"/rzr340", ".R3D", 2560, {0, 2559, 2561, 6887, 6888, 6889}},
                 {"/rzr320", ".R2C", 2048, {2047, 2049, 2559, 2560, 2561, 6888, 6889}},
                 {"/rzr310", ".R1A", 6888, {2560, 6887, 6889}}};
  for (const auto& l : lengths) {
    for (const size_t size : l.sizes) {
      SCOPED_TRACE(std::string(l.radio) + " " + std::to_string(size));
      std::vector<uint8_t> file(size, 0x11);
      if (size > 1017) file[1017] = 2;  // a ZR320 in the ZR320's file
      writeFileBytes(dir.file("site" + std::string(l.ext)), file);
      box = run({l.radio, "/com1", "/f" + dir.file("site")});
      EXPECT_EQ(box.text, wrongLength(size, l.radioLength, dir.file("site" + std::string(l.ext))));
      EXPECT_EQ(box.title, "velmora StartUp Form_Load");
    }
  }

  // A whole file of this length whose model code has no row in the radio's table.
  std::vector<uint8_t> file(2560, 0x11);
  file[1016] = 19;
  writeFileBytes(dir.file("site.R3D"), file);
  box = run({"/rzr340", "/com1", "/f" + dir.file("site")});
  EXPECT_EQ(box.text, "The radio model in the data is not one of this radio's models: nothing was written\rModel:19\r"
                      "File:" + dir.file("site.R3D"));
  EXPECT_EQ(box.style, 48);

  // A whole file, but no port the write may go to.
  writeFileBytes(dir.file("site.R3D"), std::vector<uint8_t>(2560, 0x11));
  for (const char* port : {"/COM0", "/COM17", "/com"}) {
    box = run({"/rzr340", port, "/f" + dir.file("site")});
    EXPECT_EQ(box.text, "An unattended write (/F) goes only to the port named with /COM1 to /COM16: nothing was "
                        "written\rPORT : " + std::string(port));
    EXPECT_EQ(box.style, 48);
  }
  box = run({"/rzr340", "/f" + dir.file("site")});
  EXPECT_EQ(box.text, "An unattended write (/F) goes only to the port named with /COM1 to /COM16: nothing was "
                      "written\rPORT : none chosen");
}

// The file named, whole and as named: a name with blanks or backslashes (a
// character of a name, not a folder separator), a name given with an
// extension of the radio's family in any case.
TEST_F(CommandLine, TheDataFileNamedIsTheOneRead) {
  struct Case {
    std::string radio, typed, onDisk;
    size_t size;
    std::string name;  // what the road keeps: the name without the extension
  } cases[] = {
      {"/rzr340", "my radio", "my radio.R3D", 2560, "my radio"},
      {"/rzr340", "my radio.R3D", "my radio.R3D", 2560, "my radio"},
      {"/rzr340", "my\\radio", "my\\radio.R3D", 2560, "my\\radio"},
      {"/rzr340", "site\\", "site\\.R3D", 2560, "site\\"},
      {"/rzr340", "site.r3d", "site.r3d", 2560, "site"},
      {"/rzr330", "mobile.R2B", "mobile.R2B", 2048, "mobile"},
      {"/rzr310", "port.R1A", "port.R1A", 6888, "port"},
      // ZR320 and ZR330 data are one family's: either extension is used as
      // typed; without one the radio's own file is read, else the other's.
      {"/rzr330", "zr320.R2C", "zr320.R2C", 2048, "zr320"},
      {"/rzr320", "zr330.r2b", "zr330.r2b", 2048, "zr330"},
      {"/rzr330", "saved", "saved.R2C", 2048, "saved"},
      {"/rzr320", "both", "both.R2C", 2048, "both"},
      {"/rzr330", "both", "both.R2B", 2048, "both"},  // both.R2C is there too
  };
  uint8_t seed = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    program::resetEnded();
    msgs.boxes.clear();
    freshModel(dir);
    std::vector<uint8_t> file(c.size);
    ++seed;
    for (size_t i = 0; i < file.size(); ++i) file[i] = static_cast<uint8_t>(i * 7 + seed);
    file[14] = 1;    // a ZR310 model code
    file[1016] = 2;  // a ZR320/330 and ZR340/350 model code
    file[1017] = 1;  // a ZR330
    writeFileBytes(dir.file(c.onDisk), file);
    program::setArguments({c.radio, "/com1", "/f" + dir.file(c.typed)});
    auto* page = new FrmStartUp;
    page->Start();
    // The road goes on past the start-up page (to a main menu without a link
    // page here); the image holds the file.
    EXPECT_TRUE(msgs.boxes.empty()) << (msgs.boxes.empty() ? "" : msgs.boxes[0].text);
    ASSERT_EQ(static_cast<size_t>(modPublic.lngDataLast) + 1, file.size());
    EXPECT_TRUE(std::equal(file.begin(), file.end(), modPublic.bytRadioData.begin()));
    EXPECT_EQ(modPublic.strCmdFileName, c.name);
  }

  // The radio's own file is there but cannot be read: it is the one named,
  // its read error says so, and the family's other file is not read instead.
  // Root reads any file: as root, an ordinary user whose files they are
  // runs the road.
  program::resetEnded();
  msgs.boxes.clear();
  freshModel(dir);
  std::vector<uint8_t> good(2048, 0x22);
  good[1016] = 2;
  good[1017] = 1;
  writeFileBytes(dir.file("site.R2B"), good);
  writeFileBytes(dir.file("site.R2C"), good);
  ASSERT_EQ(chmod(dir.file("site.R2C").c_str(), 0), 0);
  ASSERT_TRUE(ownedByOrdinaryUser(dir.str()));
  program::setArguments({"/rzr320", "/com1", "/f" + dir.file("site")});
  const std::string seen = asOrdinaryUser(dir.str(), [&] {
    auto* page = new FrmStartUp;
    page->Start();
    std::string seen = "ended " + std::to_string(program::ended()) + ", status " + std::to_string(program::exitStatus());
    for (const ShownBox& box : msgs.boxes) seen += "\n" + box.title + ": " + box.text;
    return seen + (modPublic.bytRadioData[0] == 0x22 ? "\nsite.R2B read" : "");
  });
  EXPECT_EQ(seen, "ended 1, status 1\nblnGetEEROMData: They are other errors\rFile:" + dir.file("site.R2C"));
  chmod(dir.file("site.R2C").c_str(), 0600);
}

TEST_F(CommandLine, AnEleventhTokenIsIgnored) {
  CmdArgs args;
  for (int i = 0; i < 10; ++i) args.push_back("x" + std::to_string(i));
  args.push_back("/rzr310");
  args.push_back("/com2");
  EXPECT_EQ(intGetCommandLine(args), -1);
  EXPECT_EQ(modPublic.intCmdCommPort, -1);
  EXPECT_EQ(intGetCommandLine({"a", "b", "c", "d", "e", "f", "g", "h", "i", "/rzr310", "/com2"}), 0);
  EXPECT_EQ(modPublic.intCmdCommPort, -1);
}

TEST_F(CommandLine, DataFileSplitsIntoFolderAndNameWithTheRadiosExtension) {
  // Only "/" separates folders; a backslash is a character of the name.
  CmdDataFile d = splitCmdDataFile("C:\\DATA\\MYRADIO", 0);
  EXPECT_EQ(d.folder, app::path());
  EXPECT_EQ(d.fileName, "C:\\DATA\\MYRADIO");
  EXPECT_EQ(d.fileToOpen, "C:\\DATA\\MYRADIO.R1A");
  d = splitCmdDataFile("/data/my\\radio\\", 2);
  EXPECT_EQ(d.folder, "/data");
  EXPECT_EQ(d.fileName, "my\\radio\\");
  EXPECT_EQ(d.fileToOpen, "my\\radio\\.R3D");
  d = splitCmdDataFile("/home/tech/radios/site4", 11);
  EXPECT_EQ(d.folder, "/home/tech/radios");
  EXPECT_EQ(d.fileToOpen, "site4.R2B");
  EXPECT_EQ(splitCmdDataFile("x", 1).fileToOpen, "x.R2C");
  EXPECT_EQ(splitCmdDataFile("x", 2).fileToOpen, "x.R3D");
  d = splitCmdDataFile("plain", 2);
  EXPECT_EQ(d.folder, app::path());
  EXPECT_EQ(d.fileName, "plain");
  d = splitCmdDataFile("/top", 0);
  EXPECT_EQ(d.folder, "/");
  EXPECT_EQ(d.fileName, "top");
  // The radio's own extension, in any case, is not added twice; the name is
  // kept as typed. Another radio's extension is part of the name.
  d = splitCmdDataFile("/data/my radio.R3D", 2);
  EXPECT_EQ(d.folder, "/data");
  EXPECT_EQ(d.fileName, "my radio");
  EXPECT_EQ(d.fileToOpen, "my radio.R3D");
  EXPECT_EQ(splitCmdDataFile("site.r2b", 11).fileToOpen, "site.r2b");
  EXPECT_EQ(splitCmdDataFile("/data/.R3D", 2).fileToOpen, ".R3D.R3D");
  EXPECT_EQ(splitCmdDataFile("site.R2B", 2).fileToOpen, "site.R2B.R3D");
  // The ZR320 and ZR330 share their family's two extensions; without one the
  // radio's own comes first, the other's second.
  d = splitCmdDataFile("site.R2C", 11);
  EXPECT_EQ(d.fileToOpen, "site.R2C");
  EXPECT_EQ(d.fileName, "site");
  EXPECT_EQ(d.otherFileToOpen, "");
  EXPECT_EQ(splitCmdDataFile("site.r2b", 1).fileToOpen, "site.r2b");
  d = splitCmdDataFile("site", 11);
  EXPECT_EQ(d.fileToOpen, "site.R2B");
  EXPECT_EQ(d.otherFileToOpen, "site.R2C");
  d = splitCmdDataFile("site.R3D", 1);
  EXPECT_EQ(d.fileToOpen, "site.R3D.R2C");
  EXPECT_EQ(d.otherFileToOpen, "site.R3D.R2B");
  EXPECT_EQ(splitCmdDataFile("site", 2).otherFileToOpen, "");
}

TEST(Placement, StoredPositionsAreCentredOrClamped) {
  // Screen 15000 x 11000 twips, window 6000 x 4000.
  EXPECT_EQ(placeTop(-200, 11000, 4000), 3500);
  EXPECT_EQ(placeTop(-199, 11000, 4000), -199);
  EXPECT_EQ(placeTop(7500, 11000, 4000), 7000);
  EXPECT_EQ(placeTop(7000, 11000, 4000), 7000);
  EXPECT_EQ(placeTop(1234, 11000, 4000), 1234);
  EXPECT_EQ(placeTop(1234, 3000, 4000), 0);
  EXPECT_EQ(placeLeft(-5000, 15000, 6000), 4500);
  EXPECT_EQ(placeLeft(-4999, 15000, 6000), -4999);
  EXPECT_EQ(placeLeft(9500, 15000, 6000), 9000);
  EXPECT_EQ(placeLeft(500, 5000, 6000), 0);
  // The configuration page allows no negative left.
  EXPECT_EQ(placeLeft(-3000, 15000, 6000, true), 0);
  EXPECT_EQ(placeLeft(-5000, 15000, 6000, true), 4500);
  EXPECT_EQ(placeLeft(300, 15000, 6000, true), 300);
  // A place stored on a larger screen keeps the whole window on this one.
  EXPECT_EQ(placeTop(7000, 9000, 4000), 5000);
  EXPECT_EQ(placeTop(6000, 9000, 4000), 5000);
  EXPECT_EQ(placeTop(4999, 9000, 4000), 4999);
  EXPECT_EQ(placeLeft(9500, 12000, 6000), 6000);
  EXPECT_EQ(placeLeft(7000, 12000, 6000, true), 6000);
}

namespace {
// An X server that answers: it takes anyone's connection setup on its
// display and says yes, with no screens (it knows nothing else). It listens
// on the abstract socket of its display, where X clients look first, so
// nothing of it lands in the machine's folders.
class AnsweringXServer {
 public:
  AnsweringXServer() {
    for (int n = 40000 + ::getpid() % 20000, tries = 0; tries < 100 && fd < 0; ++n, ++tries) {
      fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
      const std::string name = "/tmp/.X11-unix/X" + std::to_string(n);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      std::memcpy(address.sun_path + 1, name.data(), name.size());
      const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
      if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0 && ::listen(fd, 4) == 0) {
        display = ":" + std::to_string(n);
      } else {
        ::close(fd);
        fd = -1;
      }
    }
    if (fd >= 0) server = std::thread([this] { serve(); });
  }
  ~AnsweringXServer() {
    stop = true;
    if (server.joinable()) server.join();
    if (fd >= 0) ::close(fd);
  }
  AnsweringXServer(const AnsweringXServer&) = delete;
  AnsweringXServer& operator=(const AnsweringXServer&) = delete;
  std::string display;  // empty when no display number was free

 private:
  static bool take(int client, size_t count) {
    char byte = 0;
    for (; count > 0; --count)
      if (::read(client, &byte, 1) != 1) return false;
    return true;
  }
  void serve() {
    while (!stop) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 50) != 1) continue;
      const int client = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      uint8_t request[12];
      if (::read(client, request, sizeof request) == sizeof request) {
        const size_t name = request[6] | request[7] << 8, data = request[8] | request[9] << 8;
        take(client, ((name + 3) & ~size_t{3}) + ((data + 3) & ~size_t{3}));
        // Success, protocol 11.0, 8 words more: ids from 0x200000 (mask
        // 0x1FFFFF), requests up to 65535 words, key codes 8..255, no
        // vendor, screens or formats.
        const uint8_t reply[40] = {1, 0, 11, 0, 0, 0, 8,    0,    0, 0, 0, 0, 0, 0, 0x20, 0, 0xFF, 0xFF, 0x1F, 0,
                                   0, 0, 0,  0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 8,    255, 0,  0,    0,    0};
        if (::write(client, reply, sizeof reply) == sizeof reply)
          while (take(client, 1)) {  // until the client lets go
          }
      }
      ::close(client);
    }
  }
  int fd = -1;
  std::atomic<bool> stop{false};
  std::thread server;
};
}  // namespace

TEST(Screen, AnUnattendedWriteRunsOffscreenWhereNoScreenCanBeOpenedAndAChosenPlatformStays) {
  // Qt ends the program ("no Qt platform plugin could be initialized",
  // status 134) when it cannot open a display; a write started from cron or
  // over ssh must still run and answer with its exit status. An interactive
  // start there cannot run: main() says so and ends with status 1.
  const char* const names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "QT_PLUGIN_PATH",
                               "QT_QPA_PLATFORM_PLUGIN_PATH", "QT_LOGGING_RULES", "QT_MESSAGE_PATTERN"};
  std::map<std::string, std::string> kept;
  for (const char* name : names) {
    if (const char* v = std::getenv(name)) kept[name] = v;
    unsetenv(name);
  }
  const auto platform = [] {
    const char* v = std::getenv("QT_QPA_PLATFORM");
    return std::string(v ? v : "");
  };
  EXPECT_FALSE(program::chooseScreen({"/RZR340", "/COM1"}));  // interactive: no screen at all
  EXPECT_EQ(platform(), "");
  EXPECT_TRUE(program::chooseScreen({"/RZR340", "/COM1", "/f/data/my radio"}));
  EXPECT_EQ(platform(), "offscreen");
  setenv("QT_QPA_PLATFORM", "vnc", 1);
  EXPECT_TRUE(program::chooseScreen({"/RZR340", "/COM1", "/F/data/my radio"}));
  EXPECT_EQ(platform(), "vnc");
  EXPECT_TRUE(program::chooseScreen({}));  // the user's platform, interactive too
  EXPECT_EQ(platform(), "vnc");
  unsetenv("QT_QPA_PLATFORM");
  EXPECT_TRUE(program::chooseScreen({"-platform", "vnc"}));  // Qt's own option is the user's choice too
  EXPECT_EQ(platform(), "");

  // A display set but served by nothing (a dropped ssh forwarding), and a
  // Wayland socket nobody listens on: the write goes on without a screen;
  // an interactive run cannot start.
  TempDir dir;
  setenv("DISPLAY", (dir.str() + "/no-server:0").c_str(), 1);
  EXPECT_FALSE(program::chooseScreen({"/RZR340", "/COM1"}));
  EXPECT_EQ(platform(), "");
  EXPECT_TRUE(program::chooseScreen({"/F/data/my radio"}));
  EXPECT_EQ(platform(), "offscreen");
  unsetenv("QT_QPA_PLATFORM");
  const std::string socketPath = dir.file("wayland-0");
  setenv("WAYLAND_DISPLAY", socketPath.c_str(), 1);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
  const int compositor = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(bind(compositor, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  EXPECT_TRUE(program::chooseScreen({"/F/data/my radio"}));
  EXPECT_EQ(platform(), "offscreen");
  unsetenv("QT_QPA_PLATFORM");
  EXPECT_FALSE(program::chooseScreen({}));
  // One that listens: Qt may use it, and goes on offscreen if it cannot.
  ASSERT_EQ(listen(compositor, 1), 0);
  EXPECT_TRUE(program::chooseScreen({"/F/data/my radio"}));
  EXPECT_EQ(platform(), "wayland;offscreen");
  unsetenv("QT_QPA_PLATFORM");
  // An interactive run starts on it where Qt has a Wayland plugin.
  std::filesystem::create_directories(dir.file("plugins/platforms"));
  writeFileBytes(dir.file("plugins/platforms/libqwayland-generic.so"), {});
  setenv("QT_PLUGIN_PATH", dir.file("plugins").c_str(), 1);
  EXPECT_TRUE(program::chooseScreen({"/RZR340", "/COM1"}));
  EXPECT_EQ(platform(), "");
  close(compositor);

  // An X server that answers and lets us in: an interactive start and a
  // write both run on it, through Qt's own X platform.
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("QT_PLUGIN_PATH");
  {
    AnsweringXServer x;
    ASSERT_FALSE(x.display.empty()) << "no free display number";
    setenv("DISPLAY", x.display.c_str(), 1);
    EXPECT_TRUE(program::chooseScreen({"/RZR340", "/COM1"}));
    EXPECT_EQ(platform(), "");
    EXPECT_TRUE(program::chooseScreen({"/RZR340", "/COM1", "/F/data/my radio"}));
    EXPECT_EQ(platform(), "");
  }

  for (const char* name : names) unsetenv(name);
  for (const auto& [name, value] : kept) setenv(name.c_str(), value.c_str(), 1);

  // The program itself, started interactively where no screen answers, and
  // with a platform the user chose that cannot start: a message in the
  // program's language on standard error and status 1, not Qt's abort. An
  // unattended write on such a platform says what Qt said after its own.
  const std::string xcbFails = "velmora: The screen cannot be opened, so the program cannot start here. An "
                               "unattended write (/F) runs without a screen\nQT_QPA_PLATFORM=xcb\n";
  const struct {
    const char* platform;
    const char* language;
    std::string says;
    QStringList args = {"/RZR340", "/COM1"};
    std::vector<std::string> qtSaysAfter = {};
  } starts[] = {
      {"", "C", "velmora: The screen cannot be opened, so the program cannot start here. An unattended write (/F) "
                "runs without a screen\nDISPLAY=" + dir.str() + "/no-server:0\n"},
      {"", "ja_JP.UTF-8", "velmora: 画面を開けないため、ここではプログラムを開始できません。無人書き込み(/F)は画面なしで実行できます"},
      {"xcb", "C", xcbFails},
      {"xcb", "C", xcbFails, {"/RZR340", "/COM1", "/F" + QString::fromStdString(dir.file("my"))},
       {"could not connect to display", "no Qt platform plugin could be initialized"}},
  };
  for (const auto& start : starts) {
    SCOPED_TRACE(std::string(start.platform) + " " + start.language);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : names) env.remove(name);
    for (const char* name : {"LANG", "LANGUAGE", "LC_MESSAGES"}) env.remove(name);
    env.insert("LC_ALL", start.language);
    env.insert("HOME", QString::fromStdString(dir.str()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file("config")));
    env.insert("DISPLAY", QString::fromStdString(dir.str() + "/no-server:0"));
    if (*start.platform) env.insert("QT_QPA_PLATFORM", start.platform);
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(QString::fromStdString(dir.str()));
    program.start(QString::fromStdString(app::path() + "/velmora"), start.args);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);  // not ended by a signal
    EXPECT_EQ(program.exitCode(), 1);
    const std::string errors = program.readAllStandardError().toStdString();
    EXPECT_NE(errors.find(start.says), std::string::npos) << errors;
    for (const std::string& qtSays : start.qtSaysAfter) {
      EXPECT_NE(errors.find(qtSays), std::string::npos) << errors;
      EXPECT_GT(errors.find(qtSays), errors.find(start.says)) << errors;
    }
  }
}

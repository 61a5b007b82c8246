// The command line and the window placement rule.
#include "core/pages/cmdline.h"
#include "core/pages/placement.h"
#include "startup_fixture.h"

using CommandLine = StartupRoad;

TEST_F(CommandLine, TokensSetRadioPortFileHelpAndTrace) {
  EXPECT_EQ(intGetCommandLine("/rzr310 /com3 /fC:\\DATA\\MYRADIO"), 0);
  EXPECT_EQ(modPublic.intCmdCommPort, 3);
  EXPECT_EQ(modPublic.strCmdFileName, "C:\\DATA\\MYRADIO");
  EXPECT_EQ(modPublic.strHelpFile, "evelmora.hlp");
  EXPECT_EQ(modPublic.intDebugLog, 0);

  EXPECT_EQ(intGetCommandLine("\t/Hguide  /debug"), -1);
  EXPECT_EQ(modPublic.strHelpFile, "guide.hlp");
  EXPECT_EQ(modPublic.intDebugLog, 1);
  EXPECT_EQ(modPublic.strCmdFileName, "");
  intGetCommandLine("/Hguide.HLP");
  EXPECT_EQ(modPublic.strHelpFile, "guide.HLP");

  // Later models in the same token override earlier ones; later tokens too.
  EXPECT_EQ(intGetCommandLine("/RZR330"), 11);
  EXPECT_EQ(intGetCommandLine("/rzr320"), 1);
  EXPECT_EQ(intGetCommandLine("/rZR350"), 2);
  EXPECT_EQ(intGetCommandLine("/rzr340"), 2);
  EXPECT_EQ(intGetCommandLine("/rzr310zr330"), 11);
  EXPECT_EQ(intGetCommandLine("/rzr330 /rzr310"), 0);
  EXPECT_EQ(intGetCommandLine("/rzr999"), -1);
  EXPECT_EQ(intGetCommandLine("/r"), -1);
}

TEST_F(CommandLine, PortNumbersOutsideOneToSixteenNameNoPort) {
  for (const char* t : {"/COM", "/COM0", "/COM17", "/COM-3", "/COMx", "/COM99999999999", "/COM1e300"}) {
    intGetCommandLine(t);
    EXPECT_EQ(modPublic.intCmdCommPort, -1) << t;
  }
  intGetCommandLine("/com16");
  EXPECT_EQ(modPublic.intCmdCommPort, 16);
  intGetCommandLine("/COM1");
  EXPECT_EQ(modPublic.intCmdCommPort, 1);
  intGetCommandLine("/COM2.4");
  EXPECT_EQ(modPublic.intCmdCommPort, 2);
  intGetCommandLine("/COM5 /COM0");
  EXPECT_EQ(modPublic.intCmdCommPort, -1);
}

TEST_F(CommandLine, OptionsCountOnlyAtTheStartOfAToken) {
  // A Linux path behind /F holding "/r", "/h" or "/com" is just a path.
  EXPECT_EQ(intGetCommandLine("/F/home/radio/zr310/hcom/com4/debug/data"), -1);
  EXPECT_EQ(modPublic.strCmdFileName, "/home/radio/zr310/hcom/com4/debug/data");
  EXPECT_EQ(modPublic.strHelpFile, "evelmora.hlp");
  EXPECT_EQ(modPublic.intCmdCommPort, -1);
  EXPECT_EQ(modPublic.intDebugLog, 0);
  EXPECT_EQ(intGetCommandLine("data/rzr310 x/com3 y/Hhelp"), -1);
  EXPECT_EQ(modPublic.intCmdCommPort, -1);
  EXPECT_EQ(modPublic.strHelpFile, "evelmora.hlp");
  // "/F" alone names no file.
  intGetCommandLine("/F");
  EXPECT_EQ(modPublic.strCmdFileName, "");
  // Quotes are ordinary characters.
  intGetCommandLine("\"/Fmy file\"");
  EXPECT_EQ(modPublic.strCmdFileName, "");
}

TEST_F(CommandLine, ThePortTokenIsNamedAsTyped) {
  EXPECT_EQ(cmdPortToken("/rzr310 /com17 /fx"), "/com17");
  EXPECT_EQ(cmdPortToken("/COM3 /COM"), "/COM");
  EXPECT_EQ(cmdPortToken("/rzr310 x/com3"), "");
}

// An unattended write that cannot start ends the run with a failure status
// and says why; nothing is left waiting at a page.
TEST_F(CommandLine, AWriteThatCannotStartEndsTheRunWithAFailure) {
  auto run = [this](const std::string& line) {
    program::resetEnded();
    msgs.boxes.clear();
    freshModel(dir);
    program::setCommandLine(line);
    auto* page = new FrmStartUp;
    page->Start();
    EXPECT_TRUE(program::ended()) << line;
    EXPECT_EQ(program::exitStatus(), 1) << line;
    EXPECT_EQ(front<FrmConfiguration>(), nullptr) << line;
    EXPECT_EQ(msgs.boxes.size(), 1u) << line;
    return msgs.boxes.empty() ? ShownBox{} : msgs.boxes.back();
  };
  // "/F" without a radio, or with one the program does not know.
  for (const char* radio : {"", "/rzr999 "}) {
    const auto box = run(std::string(radio) + "/com1 /F/home/tech/site4");
    EXPECT_EQ(box.text,
              "A data file (/F) is written only into a radio named with /R (ZR310, ZR320, ZR330, ZR340 or ZR350): "
              "nothing was written\r/home/tech/site4");
    EXPECT_EQ(box.style, 48);
    EXPECT_EQ(box.title, "velmora StartUp Form_Load");
  }

  // A file shorter than the radio's image (here a ZR320 file for a ZR340).
  writeFileBytes(dir.file("site.R3D"), std::vector<uint8_t>(2048, 0x11));
  auto box = run("/rzr340 /com1 /f" + dir.file("site"));
  EXPECT_EQ(box.text, "The file is shorter than the radio's data: nothing was read\r2048 / 2560 bytes\rFile:" +
                          dir.file("site.R3D"));
  EXPECT_EQ(box.title, "velmora StartUp Form_Load");

  // A whole file, but no port the write may go to.
  writeFileBytes(dir.file("site.R3D"), std::vector<uint8_t>(2560, 0x11));
  for (const char* port : {"/COM0", "/COM17", "/com"}) {
    box = run("/rzr340 " + std::string(port) + " /f" + dir.file("site"));
    EXPECT_EQ(box.text, "An unattended write (/F) goes only to the port named with /COM1 to /COM16: nothing was "
                        "written\rPORT : " + std::string(port));
    EXPECT_EQ(box.style, 48);
  }
  box = run("/rzr340 /f" + dir.file("site"));
  EXPECT_EQ(box.text, "An unattended write (/F) goes only to the port named with /COM1 to /COM16: nothing was "
                      "written\rPORT : none chosen");
}

TEST_F(CommandLine, AnEleventhTokenIsIgnored) {
  std::string line;
  for (int i = 0; i < 10; ++i) line += "x" + std::to_string(i) + " ";
  EXPECT_EQ(intGetCommandLine(line + "/rzr310 /com2"), -1);
  EXPECT_EQ(modPublic.intCmdCommPort, -1);
  EXPECT_EQ(intGetCommandLine("a b c d e f g h i /rzr310 /com2"), 0);
  EXPECT_EQ(modPublic.intCmdCommPort, -1);
}

TEST_F(CommandLine, DataFileSplitsIntoFolderAndNameWithTheRadiosExtension) {
  CmdDataFile d = splitCmdDataFile("C:\\DATA\\MYRADIO", 0);
  EXPECT_EQ(d.folder, "C:\\DATA");
  EXPECT_EQ(d.fileName, "MYRADIO");
  EXPECT_EQ(d.fileToOpen, "MYRADIO.R1A");
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

#include <gtest/gtest.h>

#include <fstream>

#include "core/controldata.h"
#include "core/modpublic.h"
#include "platform/base/appinfo.h"
#include "support/testsupport.h"

namespace {
const char* kModels[3] = {"310", "320", "350"};

// Every key of the file, each with a value of forty "1".
std::vector<std::string> allKeyLines() {
  std::vector<std::string> lines;
  const std::string ones(40, '1');
  for (auto k : {"Str", "Cfg", "Man", "Scn"})
    for (auto m : kModels) lines.push_back(std::string("[") + k + " " + m + "]=" + ones);
  for (auto m : {"310", "320", "330", "350"}) lines.push_back(std::string("[Mis ") + m + "]=" + ones);
  for (auto m : kModels)
    for (auto t : {"5TN", "DTM", "5TA", "DTA", "NON"}) lines.push_back(std::string("[Enc ") + m + " " + t + "]=" + ones);
  for (auto m : kModels)
    for (auto t : {"5TN", "DTM", "NON"}) lines.push_back(std::string("[Dec ") + m + " " + t + "]=" + ones);
  return lines;
}

class ControlData : public ::testing::Test {
 protected:
  void SetUp() override {
    freshModel(dir);
    app::setPath(dir.str());
  }
  void TearDown() override { app::setPath(""); }
  void writeIni(const std::vector<std::string>& lines) {
    std::ofstream out(dir.file("velmora.ini"), std::ios::binary);
    for (const auto& l : lines) out << l << "\r\n";
  }
  TempDir dir;
  RecordingMessages msgs;
};
}  // namespace

TEST(MaskNormalize, PadsCutsAndKeepsOnlyOnes) {
  std::string m = "1 1 1";
  strMaskNormalize(m);
  EXPECT_EQ(m, "10101" + std::string(35, '0'));
  m = "12Y1" + std::string(50, '1');
  strMaskNormalize(m);
  EXPECT_EQ(m, "1001" + std::string(36, '1'));
  m = "";
  strMaskNormalize(m);
  EXPECT_EQ(m, std::string(40, '0'));
}

TEST_F(ControlData, CompleteFileFillsEveryTableRowAndPage) {
  auto lines = allKeyLines();
  lines.insert(lines.begin(), "// [Str 310]=0000 is only a comment");
  lines.push_back("[Man 320]=0101");  // a later line wins
  lines.push_back("[str 310]=0000");  // keys are case-sensitive: ignored
  lines.push_back("x[Scn 350]=1 1 1 trailing text that is cut at forty characters, 1111");
  writeIni(lines);
  ASSERT_TRUE(blnGetControlData());
  EXPECT_TRUE(msgs.boxes.empty());
  EXPECT_EQ(modPublic.strStrMask[0], std::string(40, '1'));
  EXPECT_EQ(modPublic.strManMask[1], "0101" + std::string(36, '0'));
  EXPECT_EQ(modPublic.strScnMask[2], "10101" + std::string(35, '0'));
  // Miscellaneous rows: 320 -> 3, 330 -> 4; row 1 stays for the page to fill.
  EXPECT_EQ(modPublic.strMiscMask[3], std::string(40, '1'));
  EXPECT_EQ(modPublic.strMiscMask[4], std::string(40, '1'));
  EXPECT_TRUE(modPublic.strMiscMask[1].empty());
  // Encode pages 0,2,4,6,7 and decode pages 0,3,7 have keys; the others stay empty.
  for (int r = 0; r < 3; ++r) {
    for (int p : {0, 2, 4, 6, 7}) EXPECT_EQ(modPublic.strEncMask[r][p].size(), 40u) << r << "/" << p;
    for (int p : {1, 3, 5}) EXPECT_TRUE(modPublic.strEncMask[r][p].empty());
    for (int p : {0, 3, 7}) EXPECT_EQ(modPublic.strDecMask[r][p].size(), 40u);
    for (int p : {1, 2, 4, 5, 6}) EXPECT_TRUE(modPublic.strDecMask[r][p].empty());
  }
}

TEST_F(ControlData, OneLineCanHoldSeveralKeys) {
  auto lines = allKeyLines();
  lines.push_back("[Cfg 310]=11[Cfg 320]=00");
  writeIni(lines);
  ASSERT_TRUE(blnGetControlData());
  // The first key's value runs on over the second key's text.
  EXPECT_EQ(modPublic.strCfgMask[0], "11" + std::string(38, '0'));
  EXPECT_EQ(modPublic.strCfgMask[1], std::string(40, '0'));
}

TEST_F(ControlData, MissingKeysNameTheLastEmptyOne) {
  auto lines = allKeyLines();
  std::erase_if(lines, [](const std::string& l) { return l.rfind("[Scn 350]", 0) == 0 || l.rfind("[Str 310]", 0) == 0; });
  writeIni(lines);
  EXPECT_FALSE(blnGetControlData());
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "[Scn 350]  is not found in velmora.ini");
  EXPECT_EQ(msgs.boxes[0].title, "velmora StartUp blnGetControlData");
  EXPECT_EQ(msgs.boxes[0].style, 48);
  EXPECT_TRUE(msgs.waves.empty());
}

TEST_F(ControlData, MiscKeysAreCheckedWith350BeforeTheOthers) {
  // Missing 320 and 350: the check order is 310, 350, 320, 330, so 320 is named last.
  auto lines = allKeyLines();
  std::erase_if(lines, [](const std::string& l) { return l.rfind("[Mis 320]", 0) == 0 || l.rfind("[Mis 350]", 0) == 0; });
  writeIni(lines);
  EXPECT_FALSE(blnGetControlData());
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "[Mis 320]  is not found in velmora.ini");
}

TEST_F(ControlData, MissingFileIsReported) {
  EXPECT_FALSE(blnGetControlData());
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "velmora.ini  is not found in " + dir.str());
}

TEST(ControlDataShipped, TheDeliveredFileIsCompleteAndKeepsSharedBytesOff) {
  TempDir dir;
  freshModel(dir);
  RecordingMessages msgs;
  ASSERT_TRUE(blnGetControlData()) << (msgs.boxes.empty() ? "" : msgs.boxes[0].text);
  // ZR310: kill password, channel-name, scrambler and TX reference lie in channel records.
  for (int item : {2, 5, 6, 7}) EXPECT_FALSE(maskEnabled(modPublic.strCfgMask[0], item)) << item;
  // ZR340/350: the PIN shares its times byte with the 30 MHz IF.
  EXPECT_FALSE(maskEnabled(modPublic.strCfgMask[2], 1));
  for (int f = 0; f < 3; ++f) EXPECT_TRUE(maskEnabled(modPublic.strStrMask[f], 0));
}

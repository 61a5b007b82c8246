// Tone tables: the committed files, loading them, and the two lookups.
#include <filesystem>

#include "channel/tonetables.h"
#include "chantest.h"
#include "platform/base/appinfo.h"
#include "tonegen/tonegen.h"

namespace fs = std::filesystem;

TEST(ToneTables, GeneratedFilesMatchTheCommittedOnes) {
  TempDir out;
  std::string error;
  ASSERT_TRUE(tonegen::generate(std::string(VELMORA_SOURCE_DIR) + "/tools/tonegen", out.str(), error)) << error;
  int files = 0;
  for (int family = 0; family < 3; ++family) {
    for (const std::string& name : {tones::ctcFile(family), tones::dcsFile(family)}) {
      const auto generated = readFileBytes(out.file(name));
      ASSERT_FALSE(generated.empty()) << name;
      EXPECT_EQ(generated, readFileBytes(std::string(VELMORA_SOURCE_DIR) + "/resources/" + name)) << name;
      EXPECT_EQ(generated, readFileBytes(app::path() + "/" + name)) << name << " in the program folder";
      ++files;
    }
  }
  EXPECT_EQ(files, 6);
}

TEST_F(ChannelTest, TablesOfEachFamily) {
  for (const char* family : {"0", "1", "2"}) {
    SCOPED_TRACE(family);
    setUpChannels(family, 5);
    ASSERT_EQ(data.strCtcTable.size(), 56u);
    ASSERT_EQ(data.strDcsTable.size(), 105u);
    EXPECT_EQ(data.strCtcTable[0], "");
    EXPECT_EQ(data.strCtcTable[1], "L67.0");
    EXPECT_EQ(data.strCtcTable[6], "67.0");
    EXPECT_EQ(data.strCtcTable[7], std::string(family) == "2" ? "69.3" : "69.4");
    EXPECT_EQ(data.strCtcTable[55], "254.1");
    EXPECT_EQ(data.strDcsTable[0], "");
    EXPECT_EQ(data.strDcsTable[1], "023");
    const int last = std::string(family) == "0" ? 83 : 104;
    EXPECT_EQ(data.strDcsTable[static_cast<size_t>(last)], "754");
    for (int i = 2; i <= last; ++i) ASSERT_LT(data.strDcsTable[static_cast<size_t>(i) - 1], data.strDcsTable[static_cast<size_t>(i)]);
    for (int i = last + 1; i <= 104; ++i) ASSERT_EQ(data.strDcsTable[static_cast<size_t>(i)], "");
  }
}

TEST_F(ChannelTest, CtcssLookupTakesTheShortForm) {
  setUpChannels("0", 4);
  struct Case {
    std::string typed, stored;
    int index;
  };
  for (const Case& c : {Case{"88", "88.5", 14}, Case{"l67", "L67.0", 1}, Case{"100", "100.0", 18}, Case{"88.5", "88.5", 14},
                        Case{"L88.5", "L88.5", 5}, Case{"254", "254.1", 55}, Case{"69", "69.4", 7}}) {
    std::string text = c.typed;
    EXPECT_EQ(tones::ctcLookup(data.strCtcTable, text), c.index) << c.typed;
    EXPECT_EQ(text, c.stored) << c.typed;
  }
  for (const char* refused : {"88.6", "NON", "", "8", "88.", "0"}) {
    std::string text = refused;
    EXPECT_EQ(tones::ctcLookup(data.strCtcTable, text), -1) << refused;
  }
  setUpChannels("2", 5);
  std::string text = "69";
  EXPECT_EQ(tones::ctcLookup(data.strCtcTable, text), 7);
  EXPECT_EQ(text, "69.3");
}

TEST_F(ChannelTest, DcsLookupIsExact) {
  setUpChannels("1", 2);
  EXPECT_EQ(tones::dcsLookup(data.strDcsTable, "023"), 1);
  EXPECT_EQ(tones::dcsLookup(data.strDcsTable, "036"), 6);
  EXPECT_EQ(tones::dcsLookup(data.strDcsTable, "754"), 104);
  EXPECT_EQ(tones::dcsLookup(data.strDcsTable, "23"), -1);
  EXPECT_EQ(tones::dcsLookup(data.strDcsTable, ""), -1);
  EXPECT_EQ(tones::dcsLookup(data.strDcsTable, "NON"), -1);

  // Family "0" leaves out 21 codes and closes up.
  setUpChannels("0", 4);
  for (const char* missing : {"036", "053", "122", "145", "212", "225", "246", "252", "255", "266", "274", "325", "332",
                              "356", "446", "452", "454", "455", "462", "523", "526"})
    EXPECT_EQ(tones::dcsLookup(data.strDcsTable, missing), -1) << missing;
  EXPECT_EQ(tones::dcsLookup(data.strDcsTable, "043"), 6);
  EXPECT_EQ(tones::dcsLookup(data.strDcsTable, "754"), 83);
}

TEST_F(ChannelTest, MissingOrBrokenTablesStopTheSetUp) {
  setUpChannels("1", 2);
  const std::string program = app::path();
  TempDir folder;
  struct Restore {
    std::string path;
    ~Restore() { app::setPath(path); }
  } restore{program};
  app::setPath(folder.str());
  std::string failed;
  ChannelData fresh;

  EXPECT_FALSE(blnChanIniSet(fresh, 48.5f, &failed));
  EXPECT_EQ(failed, "CTCP2RBFixedData.dat");  // the DCS file is not tried

  fs::copy_file(program + "/CTCP2RBFixedData.dat", folder.file("CTCP2RBFixedData.dat"));
  EXPECT_FALSE(blnChanIniSet(fresh, 48.5f, &failed));
  EXPECT_EQ(failed, "DCSP2RBFixedData.dat");

  // A table one element short is refused like a missing one.
  auto dcs = readFileBytes(program + "/DCSP2RBFixedData.dat");
  dcs.resize(dcs.size() - 5);
  writeFileBytes(folder.file("DCSP2RBFixedData.dat"), dcs);
  EXPECT_FALSE(blnChanIniSet(fresh, 48.5f, &failed));
  EXPECT_EQ(failed, "DCSP2RBFixedData.dat");
  // A count running past the end of the file.
  dcs = readFileBytes(program + "/DCSP2RBFixedData.dat");
  dcs[dcs.size() - 5] = 0x40;
  writeFileBytes(folder.file("DCSP2RBFixedData.dat"), dcs);
  EXPECT_FALSE(blnChanIniSet(fresh, 48.5f, &failed));

  fs::copy_file(program + "/DCSP2RBFixedData.dat", folder.file("DCSP2RBFixedData.dat"), fs::copy_options::overwrite_existing);
  EXPECT_TRUE(blnChanIniSet(fresh, 48.5f, &failed));
  EXPECT_EQ(fresh.strDcsTable[104], "754");

  app::setPath(program);
  EXPECT_EQ(tones::missingText("DCSP2RBFixedData.dat"),
            "Configuration file is not found\rFileName:DCSP2RBFixedData.dat\rProcessing is discontinued");
}

TEST_F(ChannelTest, SetUpOfTheGrid) {
  setUpChannels("0", 4);
  EXPECT_EQ(data.intMaxRow, 509);
  EXPECT_EQ(modPublic.chanParaLastRow(), 509);
  EXPECT_EQ(modPublic.strChanParaNo[508], "255");
  EXPECT_EQ(data.dblIFOffset, 48'500'000);
  setUpChannels("2", 0);
  EXPECT_EQ(data.intMaxRow, 197);
  EXPECT_EQ(data.udtPllData.size(), 198u);
  EXPECT_EQ(data.dblIFOffset, 73'350'000);
  EXPECT_FLOAT_EQ(data.sngIF, 73.35f);
  EXPECT_EQ(modPublic.strChanParaNo[196], "099");
  EXPECT_EQ(modPublic.strChanParaTxRx[197], "TX");
}

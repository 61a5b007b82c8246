#include <gtest/gtest.h>

#include <filesystem>

#include "core/filecontrol.h"
#include "core/modpublic.h"
#include "platform/base/appinfo.h"
#include "support/testsupport.h"

namespace {
class Files : public ::testing::Test {
 protected:
  void SetUp() override { freshModel(dir); }
  TempDir dir;
  RecordingMessages msgs;
  clsFileControl files;
};

std::vector<uint8_t> counting(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + 1);
  return v;
}
}  // namespace

TEST(FullPath, OneSeparatorWhateverTheFolderEndsWith) {
  std::string a, b;
  objSimpleFunc().w_zMakeFullPath("/tmp/x", "f.dat", a);
  objSimpleFunc().w_zMakeFullPath("/tmp/x/", "f.dat", b);
  EXPECT_EQ(a, "/tmp/x/f.dat");
  EXPECT_EQ(b, a);
}

TEST_F(Files, ShortFileIsZeroPaddedInBothArraysAndMissingFileChangesNothing) {
  writeFileBytes(dir.file("short.dat"), counting(2048));
  std::vector<uint8_t> a(kImageSize, 0x55), b(kImageSize, 0x66);
  ASSERT_TRUE(files.blnGetBinaryData(dir.str(), "short.dat", a, b, kImageLast));
  EXPECT_EQ(std::vector<uint8_t>(a.begin(), a.begin() + 2048), counting(2048));
  EXPECT_EQ(a, b);
  for (size_t i = 2048; i < a.size(); ++i) ASSERT_EQ(a[i], 0) << i;

  std::vector<uint8_t> c(kImageSize, 0x77), d = c;
  EXPECT_FALSE(files.blnGetBinaryData(dir.str(), "none.dat", c, d, kImageLast));
  EXPECT_FALSE(files.blnGetEEPROMData(dir.str(), "none.dat", c, d, kImageLast));
  EXPECT_EQ(c, std::vector<uint8_t>(kImageSize, 0x77));
  EXPECT_TRUE(msgs.boxes.empty());
}

TEST_F(Files, EmptyFolderMeansTheProgramFolder) {
  std::vector<uint8_t> a(kImageSize), b(kImageSize);
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  const bool ok = files.blnGetBinaryData("", "InitialP2RB.dat", a, b, kImageLast);
  std::filesystem::current_path(cwd);
  ASSERT_TRUE(ok);
  EXPECT_EQ(files.strFullPath, app::path() + "/InitialP2RB.dat");
  EXPECT_EQ(a[0], 0xFF);
}

TEST_F(Files, SaveWritesExactlyTheFamilysBytesAndReplacesAtomically) {
  modPublic.lngDataLast = 2047;
  const auto image = counting(kImageSize);
  writeFileBytes(dir.file("radio.R2B"), std::vector<uint8_t>(6888, 0xEE));  // a longer old file
  ASSERT_TRUE(files.blnPutBinaryData(dir.str(), "radio.R2B", image));
  EXPECT_EQ(readFileBytes(dir.file("radio.R2B")), std::vector<uint8_t>(image.begin(), image.begin() + 2048));

  // A save that cannot complete leaves the old file exactly as it was and says so.
  const auto old = readFileBytes(dir.file("radio.R2B"));
  std::filesystem::create_directory(files.strFullPath + ".tmp~" + std::to_string(::getpid()));
  modPublic.lngDataLast = 6887;
  EXPECT_FALSE(files.blnPutBinaryData(dir.str(), "radio.R2B", std::vector<uint8_t>(kImageSize, 1)));
  EXPECT_EQ(readFileBytes(dir.file("radio.R2B")), old);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "The specified passing is not found\r\rPath:" + dir.str());
  EXPECT_EQ(msgs.boxes[0].title, "blnPutBinaryData");
  EXPECT_EQ(msgs.boxes[0].style, 16);
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    EXPECT_EQ(e.path().filename().string().find(".tmp~"), std::string::npos) << "left " << e.path();
}

TEST_F(Files, SaveIntoAMissingFolderFails) {
  modPublic.lngDataLast = 2559;
  EXPECT_FALSE(files.blnPutBinaryData(dir.file("no/such"), "x.R3D", std::vector<uint8_t>(kImageSize)));
  ASSERT_EQ(msgs.boxes.size(), 1u);
}

TEST_F(Files, DeleteRemovesTheFileOrReports) {
  writeFileBytes(dir.file("old.R1A"), {1, 2, 3});
  EXPECT_TRUE(files.blnDelFile(dir.str(), "old.R1A"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("old.R1A")));
  EXPECT_FALSE(files.blnDelFile(dir.str(), "old.R1A"));
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text,
            "Deleted file is not found\rProcessing is discontinued\rFile:" + dir.file("old.R1A"));
  EXPECT_EQ(msgs.boxes[0].title, "blnDelFile");
}

TEST_F(Files, ToneTableLayoutAndShortFiles) {
  app::setPath(dir.str());
  // Three elements: "", "67.0", and an ANSI character outside ASCII.
  std::vector<uint8_t> bytes = {0, 0, 4, 0, '6', '7', '.', '0', 2, 0, 'A', 0xB5};
  writeFileBytes(dir.file("tones.dat"), bytes);
  std::vector<std::string> table(3, "keep");
  ASSERT_TRUE(files.blnGetStringData("/ignored", "tones.dat", table, 2));
  EXPECT_EQ(table, (std::vector<std::string>{"", "67.0", "A\xC2\xB5"}));
  // Asking for more elements than the file holds is a missing table, not garbage.
  std::vector<std::string> more(4, "keep");
  EXPECT_FALSE(files.blnGetStringData("", "tones.dat", more, 3));
  EXPECT_EQ(more, std::vector<std::string>(4, "keep"));
  // A count running past the end of the file as well.
  bytes.back() = 'B';
  bytes[8] = 9;
  writeFileBytes(dir.file("tones.dat"), bytes);
  EXPECT_FALSE(files.blnGetStringData("", "tones.dat", table, 2));
  app::setPath("");
}

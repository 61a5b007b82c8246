#include <gtest/gtest.h>

#include "core/modeltables.h"
#include "core/modpublic.h"
#include "core/settingkeys.h"
#include "core/soundmsg.h"
#include "support/testsupport.h"

TEST(Settings, EmptyStoreGivesEveryDefaultAndValuesRoundTrip) {
  TempDir dir;
  freshModel(dir);
  EXPECT_EQ(readSetting(keys::StartUpTop), "-200");
  EXPECT_EQ(readSetting(keys::StartUpLeft), "-5000");
  EXPECT_EQ(readSetting(keys::RadioSelect), "2");
  EXPECT_EQ(readSetting(keys::ConfigTop), "-200");
  EXPECT_EQ(readSetting(keys::MainLeft), "-5000");
  EXPECT_EQ(readSetting(keys::ZRSelect), "");
  EXPECT_EQ(readSetting(keys::OutPutText), "0");
  EXPECT_EQ(readSetting(keys::SoundOnOff), "0");
  EXPECT_EQ(readSetting(keys::Inquiry), "DING.WAV");
  EXPECT_EQ(readSetting(keys::Worning), "CHORD.WAV");
  // Two keys named alike in different sections stay apart.
  saveSetting(keys::ConfigDirectory, "/home/tech/radios");
  saveSetting(keys::PrinterDirectory, "/home/tech/reports");
  EXPECT_EQ(readSetting(keys::ConfigDirectory), "/home/tech/radios");
  EXPECT_EQ(readSetting(keys::PrinterDirectory), "/home/tech/reports");
  saveSetting(keys::StartUpTop, "1234.5");
  EXPECT_EQ(readSetting(keys::StartUpTop), "1234.5");

  // The file keeps the INI layout settings have always been stored in:
  // sections and keys by name, a blank line between sections, a value with
  // a comma, a quote or a blank at an end in quotes and escaped.
  saveSetting(keys::PrinterDirectory, "/home/tech/\"Q3\" reports, 2024 ");
  saveSetting(keys::Inquiry, "@bell\tring.wav");
  const auto file = readFileBytes(dir.file("settings.ini"));
  EXPECT_EQ(std::string(file.begin(), file.end()),
            "[CONFIGURATION]\nDirectory=/home/tech/radios\n\n"
            "[PRINTER]\nDirectory=\"/home/tech/\\\"Q3\\\" reports, 2024 \"\n\n"
            "[SOUND]\nInquiry=@@bell\\tring.wav\n\n"
            "[STARTUP]\nStartUpTop=1234.5\n");
  EXPECT_EQ(readSetting(keys::PrinterDirectory), "/home/tech/\"Q3\" reports, 2024 ");
  EXPECT_EQ(readSetting(keys::Inquiry), "@bell\tring.wav");
  // A store written before, with escapes of the same layout.
  const std::string stored = "[CONFIGURATION]\r\nDirectory = \"/srv/a;b\\\\c\\x1\\x31\\101\" \r\n[STARTUP]\nStartUpLeft=\"  12\"\n";
  writeFileBytes(dir.file("settings.ini"), std::vector<uint8_t>(stored.begin(), stored.end()));
  EXPECT_EQ(readSetting(keys::ConfigDirectory), "/srv/a;b\\c\x01" "1A");
  EXPECT_EQ(readSetting(keys::StartUpLeft), "  12");
}

TEST(FamilySetUp, EachFamilyGetsItsConstantsAndIsRemembered) {
  TempDir dir;
  freshModel(dir);
  modPublic.strRadioFamily = "0";
  FamilyTexts t = subSetRadioTable();
  EXPECT_EQ(t.titleId, 190);
  EXPECT_EQ(modPublic.lngDataLast, 6887);
  EXPECT_EQ(modPublic.strLabelColor, "&H00808040&");
  ASSERT_EQ(modPublic.udtModelTable0.size(), 17u);
  for (int placeholder : {1, 2, 5, 7, 8, 9, 11, 13, 14, 16})
    EXPECT_EQ(modPublic.udtModelTable0[static_cast<size_t>(placeholder)].strModelName.find_first_not_of(' '), std::string::npos);
  EXPECT_EQ(modPublic.udtModelTable0[13].strModelName.size(), 10u);
  EXPECT_EQ(readSetting(keys::RadioSelect), "0");

  modPublic.strRadioFamily = "1";
  t = subSetRadioTable();
  EXPECT_EQ(t.welcomeId, 196);
  EXPECT_EQ(modPublic.lngDataLast, 2047);
  EXPECT_EQ(modPublic.udtModelTable1.size(), 15u);
  EXPECT_EQ(modPublic.udtModelTable0.size(), 17u);  // the earlier family's table stays

  modPublic.strRadioFamily = "2";
  subSetRadioTable();
  ASSERT_EQ(modPublic.udtModelTable2.size(), 19u);
  EXPECT_EQ(modPublic.udtModelTable2[4].dblTuneStep, 1.0);
  setFamily2UhfIf(true);
  setFamily2LowIf(false);
  EXPECT_EQ(modPublic.udtModelTable2[18].sngIFOffset, -73.35f);
  subSetRadioTable();  // choosing the family again restores the defaults
  EXPECT_EQ(modPublic.udtModelTable2[11].sngIFOffset, -48.5f);
  EXPECT_EQ(modPublic.udtModelTable2[0].sngIFOffset, 73.35f);

  modPublic.strRadioFamily = "9";
  EXPECT_FALSE(subSetRadioTable().matched);
  EXPECT_EQ(readSetting(keys::RadioSelect), "9");
}

TEST(FamilySetUp, ModelCodesOutsideTheTableNeverIndexIt) {
  TempDir dir;
  freshModel(dir);
  ASSERT_TRUE(setUpFamily("1"));
  float ifMHz = 0;
  std::string name, band;
  modPublic.bytRadioData[1016] = 3;
  modPublic.bytRadioData[1017] = 1;
  ASSERT_TRUE(currentModel(ifMHz, name, band));
  EXPECT_EQ(name, "ZR330-15B  ");
  modPublic.bytRadioData[1017] = 2;
  ASSERT_TRUE(currentModel(ifMHz, name, band));
  EXPECT_EQ(name, "ZR320-15B  ");
  EXPECT_EQ(band, "(146-174MHz)");
  modPublic.bytRadioData[1016] = 15;
  EXPECT_FALSE(currentModel(ifMHz, name, band));
  EXPECT_EQ(modelRow1(15), nullptr);
  EXPECT_EQ(modelRow0(-1), nullptr);
  EXPECT_NE(modelRow1(14), nullptr);
}

TEST(FamilySetUp, Family2IfRowsFollowImageBytes) {
  TempDir dir;
  freshModel(dir);
  ASSERT_TRUE(setUpFamily("2"));
  auto& d = modPublic.bytRadioData;
  d[937] = 0;
  d[948] = 0xFF;
  deriveFamily2IfFromImage();
  EXPECT_EQ(modPublic.udtModelTable2[2].sngIFOffset, 21.6f);
  EXPECT_EQ(modPublic.udtModelTable2[11].sngIFOffset, -48.5f);
  EXPECT_EQ(modPublic.udtModelTable2[3].sngIFOffset, 48.5f);
  d[937] = 1;
  d[948] = 5;
  deriveFamily2IfFromImage();
  EXPECT_EQ(modPublic.udtModelTable2[0].sngIFOffset, 73.35f);
  EXPECT_EQ(modPublic.udtModelTable2[18].sngIFOffset, -73.35f);
  EXPECT_EQ(modPublic.udtModelTable2[10].sngIFOffset, 48.5f);
}

TEST(SoundAndMessage, WavePlaysFirstOnlyWhenSoundIsOn) {
  TempDir dir;
  freshModel(dir);
  RecordingMessages msgs;
  modPublic.strSoundPath = "/media/";
  modPublic.strSoundInquiry = "DING.WAV";
  modPublic.strSoundWarning = "ERR.WAV";
  msgs.answers = {2};
  EXPECT_EQ(intSoundMsgBox(SoundKind::Inquiry, "End Program And Return Windows", "Are You Sure ?"), 2);
  EXPECT_EQ(modPublic.intMsgBoxResult, 2);
  EXPECT_TRUE(msgs.waves.empty());
  EXPECT_EQ(msgs.boxes[0].style, 33);
  modPublic.intSoundOn = 1;
  intSoundMsgBox(SoundKind::Warning, "x", "t");
  ASSERT_EQ(msgs.waves.size(), 1u);
  EXPECT_EQ(msgs.waves[0], "/media/ERR.WAV");
  EXPECT_EQ(msgs.boxes[1].style, 16);
  EXPECT_EQ(soundKindStyle(SoundKind::Attention), 48);
  EXPECT_EQ(soundKindStyle(SoundKind::Information), 64);
}

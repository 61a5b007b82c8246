#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "core/modpublic.h"
#include "core/pages/frmsound.h"
#include "core/pages/updown.h"
#include "core/settingkeys.h"
#include "platform/base/appinfo.h"
#include "support/testsupport.h"

TEST(SoundPage, ListsTheWavesTestsAndSavesWithSoundOff) {
  TempDir dir;
  freshModel(dir);
  RecordingMessages msgs;
  modPublic.strSoundPath = app::path() + "/media/";
  modPublic.strSoundInquiry = "DING.WAV";
  modPublic.strSoundAttention = "CHORD.WAV";
  modPublic.strSoundInformation = "CHORD.WAV";
  modPublic.strSoundWarning = "MISSING.WAV";
  modPublic.intSoundOn = 1;
  FrmSound page;
  page.Show();
  ASSERT_EQ(page.ComInquiry->count(), 2);
  EXPECT_EQ(page.ComInquiry->itemText(0), "CHORD.WAV");
  EXPECT_EQ(page.ComWorning->count(), 2);
  EXPECT_EQ(page.ComWorning->currentText(), "MISSING.WAV");

  // Each list and each Test button is read out with the wave it is for.
  auto read = [](QObject* o, QAccessible::Text t) { return QAccessible::queryAccessibleInterface(o)->text(t).toStdString(); };
  EXPECT_EQ(read(page.ComWorning, QAccessible::Name), "Worning");
  EXPECT_EQ(read(page.ComWorning, QAccessible::Value), "MISSING.WAV");
  EXPECT_EQ(read(page.ComWorning->lineEdit(), QAccessible::Name), "Worning");
  EXPECT_EQ(read(page.ComInqTest[1], QAccessible::Name), "Attention Test");

  page.ComInqTest[0]->click();
  page.ComInqTest_Click(7);  // no such list: nothing
  ASSERT_EQ(msgs.waves.size(), 1u);
  EXPECT_EQ(msgs.waves[0], modPublic.strSoundPath + "DING.WAV");

  page.ComAttention->setCurrentText("typed.wav");
  page.ComSoundSet->click();
  EXPECT_EQ(readSetting(keys::SoundOnOff), "0");
  EXPECT_EQ(readSetting(keys::Attention), "typed.wav");
  EXPECT_EQ(readSetting(keys::Worning), "MISSING.WAV");
  EXPECT_EQ(modPublic.strSoundAttention, "typed.wav");
  EXPECT_EQ(modPublic.intSoundOn, 1);  // the switch read at start-up stays for this run
  EXPECT_TRUE(page.isLoaded());
  page.ComSoundExit->click();
  EXPECT_FALSE(page.isLoaded());
}

TEST(UpDown, StepsWithinTheListAndNeverWraps) {
  QComboBox combo;
  combo.addItems({"NON", "USE"});
  EXPECT_EQ(objUpDownControl().binUpDown(&combo, 1, 1), 1);
  EXPECT_EQ(combo.currentIndex(), 1);
  EXPECT_EQ(objUpDownControl().binUpDown(&combo, 0, 0), 0);
  EXPECT_EQ(combo.currentIndex(), 0);
  QListWidget list;
  list.addItems({"a", "b", "c"});
  EXPECT_EQ(objUpDownControl().binUpDown(&list, 1, -1), 0);
  EXPECT_TRUE(list.item(0)->isSelected());
  EXPECT_EQ(objUpDownControl().binUpDown(&list, 0, -1), -1);
  EXPECT_EQ(objUpDownControl().binUpDown(&list, 5, 2), 2);

  QLineEdit box("1234");
  objCursorControl().intCursorPos = 3;
  EXPECT_TRUE(objCursorControl().blnIniCursorPos(&box));
  EXPECT_EQ(objCursorControl().intCursorPos, 0);
  EXPECT_EQ(box.selectedText(), "1");
}

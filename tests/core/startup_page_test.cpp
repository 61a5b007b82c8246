// The start-up page driven headless: family options, Next, End, the direct
// start and the command-line road.
#include <QAccessible>
#include <QTest>
#include <QCoreApplication>
#include <QAction>
#include <QGroupBox>
#include <QLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <fstream>

#include "core/pages/frmmainmenu.h"
#include "core/settingkeys.h"
#include "platform/base/settings.h"
#include "core/soundmsg.h"
#include "platform/base/strtable.h"
#include "startup_fixture.h"

namespace fs = std::filesystem;

class StartUpPage : public StartupRoad {
 protected:
  // A program folder of our own with the shipped files, the control data
  // changed by `edit`.
  void ownProgramFolder(const std::function<void(std::string&)>& edit, bool withInitialFiles = true) {
    const fs::path bin = app::path();
    const fs::path own = dir.path() / "bin";
    fs::create_directories(own);
    std::string ini;
    {
      std::ifstream in(bin / "velmora.ini");
      ini.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    edit(ini);
    std::ofstream(own / "velmora.ini") << ini;
    if (withInitialFiles)
      for (const char* f : {"InitialP1RA.dat", "InitialP2RB.dat", "InitialP3RC.dat"}) fs::copy_file(bin / f, own / f);
    app::setPath(own.string());
  }

  FrmStartUp* start(const std::vector<std::string>& args = {}) {
    program::setArguments(args);
    auto* page = new FrmStartUp;
    page->Start();
    return page;
  }
};

TEST_F(StartUpPage, FirstRunOffersTheFamiliesAndChoosesTheBaseStation) {
  FrmStartUp* page = start();
  ASSERT_EQ(front<FrmStartUp>(), page);
  EXPECT_TRUE(page->isVisible());
  EXPECT_EQ(page->lblMessage[2]->text(), "PROGRAMMING SOFT  1.00  2009");
  EXPECT_EQ(page->lblMessage[5]->text(), "Notice 2000-2009 Corvane");
  EXPECT_EQ(page->windowTitle(), "velmora-StartUp");
  EXPECT_TRUE(page->optSelectRadio[2]->isChecked());
  EXPECT_EQ(modPublic.strRadioFamily, "2");
  EXPECT_EQ(page->lblMessage[1]->text(), "VHF/UHF Base Station ZR340/350");
  EXPECT_EQ(page->lblMessage[3]->text(), "Welcome to 99ch with Narrow/Wide");
  EXPECT_TRUE(page->CmdAction[0]->isEnabled());
  EXPECT_GE(modPublic.intWaitFactor, 1);
  EXPECT_EQ(modPublic.intMainMenuIndex, 99);
  EXPECT_EQ(modPublic.strSoundWarning, "CHORD.WAV");
  EXPECT_TRUE(msgs.boxes.empty());

  page->optSelectRadio[0]->click();
  EXPECT_EQ(modPublic.strRadioFamily, "0");
  EXPECT_EQ(modPublic.lngDataLast, 6887);
  EXPECT_EQ(readSetting(keys::RadioSelect), "0");
  EXPECT_EQ(page->lblMessage[3]->text(), "Welcome to 255ch with Narrow/Wide");

  // The blink alternates the prompt line.
  page->tmrLight_Timer();
  EXPECT_TRUE(page->lblMessage[4]->isHidden());
  page->tmrLight_Timer();
  EXPECT_FALSE(page->lblMessage[4]->isHidden());
  page->Unload();
}

TEST_F(StartUpPage, PanelLinesStayPutAndReadOnEveryFamilyColour) {
  FrmStartUp* page = start();
  for (int family = 0; family < 3; ++family) {
    SCOPED_TRACE(family);
    page->optSelectRadio[static_cast<size_t>(family)]->click();
    const QColor back = page->ShpFlame->palette().color(QPalette::Window);
    EXPECT_EQ(back, vbui::colorFromLiteral(modPublic.strLabelColor));  // the family colour itself stays
    for (QLabel* line : page->lblMessage)
      EXPECT_GE(vbui::contrastRatio(line->palette().color(QPalette::WindowText), back), 4.5)
          << line->objectName().toStdString();
  }
  EXPECT_EQ(page->lblMessage[0]->palette().color(QPalette::WindowText), QColor(Qt::white));  // on dark blue

  auto lines = [&] {
    QCoreApplication::sendPostedEvents();
    page->layout()->activate();
    page->ShpFlame->layout()->activate();
    std::vector<QRect> g;
    for (QLabel* line : page->lblMessage) g.push_back(line->geometry());
    return g;
  };
  const std::vector<QRect> shown = lines();
  page->tmrLight_Timer();  // the prompt hides
  ASSERT_TRUE(page->lblMessage[4]->isHidden());
  EXPECT_EQ(lines(), shown);
  page->Unload();
}

TEST_F(StartUpPage, MaskAndRememberedFamilyDecideTheOptions) {
  ownProgramFolder([](std::string& ini) {
    const std::string key = "[Str 320]=1";
    ini.replace(ini.find(key), key.size(), "[Str 320]=0");
  });
  saveSetting(keys::RadioSelect, "0");
  saveSetting(keys::StartUpTop, "300");
  saveSetting(keys::StartUpLeft, "450");
  FrmStartUp* page = start();
  EXPECT_TRUE(page->optSelectRadio[0]->isChecked());
  EXPECT_TRUE(page->optSelectRadio[0]->isEnabled());
  EXPECT_FALSE(page->optSelectRadio[1]->isEnabled());
  EXPECT_TRUE(page->optSelectRadio[2]->isEnabled());
  EXPECT_EQ(page->Top(), 300);
  EXPECT_EQ(page->Left(), 450);
  page->Unload();

  // A remembered number naming no option falls back to the default option.
  saveSetting(keys::RadioSelect, "7");
  page = start();
  EXPECT_FALSE(page->optSelectRadio[0]->isChecked());
  EXPECT_FALSE(page->optSelectRadio[1]->isChecked());
  EXPECT_TRUE(page->optSelectRadio[2]->isChecked());
  EXPECT_EQ(modPublic.strRadioFamily, "2");
  page->Unload();

  // A remembered family that is not offered gives way to the first one offered.
  saveSetting(keys::RadioSelect, "1");
  page = start();
  EXPECT_TRUE(page->optSelectRadio[0]->isChecked());
  EXPECT_FALSE(page->optSelectRadio[1]->isChecked());
  EXPECT_EQ(modPublic.strRadioFamily, "0");
  EXPECT_TRUE(page->CmdAction[0]->isEnabled());
  page->Unload();
}

TEST_F(StartUpPage, NoFamilyOfferedLeavesNextOff) {
  ownProgramFolder([](std::string& ini) {
    for (const char* key : {"[Str 310]=1", "[Str 320]=1", "[Str 350]=1"}) {
      const std::string k = key;
      ini.replace(ini.find(k), k.size(), k.substr(0, k.size() - 1) + "0");
    }
  });
  FrmStartUp* page = start();
  for (QRadioButton* o : page->optSelectRadio) {
    EXPECT_FALSE(o->isEnabled());
    EXPECT_FALSE(o->isChecked());
  }
  EXPECT_FALSE(page->CmdAction[0]->isEnabled());
  EXPECT_TRUE(page->CmdAction[1]->isEnabled());
  page->Unload();
}

TEST_F(StartUpPage, NextLoadsTheInitialImageAndOpensTheConfigurationPage) {
  FrmStartUp* page = start();
  page->optSelectRadio[1]->click();
  modPublic.blnRadioWritten = true;
  modPublic.blnRadioRead = true;
  page->Move(600, 900);
  page->CmdAction_Click(0);
  EXPECT_FALSE(page->isLoaded());
  auto* config = front<FrmConfiguration>();
  ASSERT_NE(config, nullptr);
  EXPECT_TRUE(config->isVisible());
  EXPECT_EQ(modPublic.strInitialFile, "InitialP2RB.dat");
  EXPECT_EQ(modPublic.bytRadioData.size(), 6888u);
  EXPECT_EQ(modPublic.bytRadioInfo.size(), 12u);
  const auto file = readFileBytes(app::path() + "/InitialP2RB.dat");
  EXPECT_TRUE(std::equal(file.begin(), file.end(), modPublic.bytRadioData.begin()));
  EXPECT_TRUE(std::equal(file.begin(), file.end(), modPublic.bytRadioBase.begin()));
  EXPECT_FALSE(modPublic.blnRadioWritten);
  EXPECT_FALSE(modPublic.blnRadioRead);
  EXPECT_EQ(modPublic.strLabelColor, "&H0000C000&");
  EXPECT_EQ(readSetting(keys::StartUpTop), "900");
  EXPECT_EQ(readSetting(keys::StartUpLeft), "600");
  config->Unload();
}

TEST_F(StartUpPage, EndAsksAndEndsOnlyOnOk) {
  FrmStartUp* page = start();
  msgs.answers = {vb::vbCancel, vb::vbOK};
  page->CmdAction_Click(1);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "End Program And Close Its Windows\rAre You Sure ?");
  EXPECT_EQ(msgs.boxes[0].style, 33);
  EXPECT_EQ(msgs.boxes[0].title, "CmdAction_Click");
  EXPECT_FALSE(program::ended());
  EXPECT_TRUE(page->isLoaded());
  page->CmdAction_Click(1);
  EXPECT_TRUE(program::ended());
  EXPECT_EQ(program::exitStatus(), 0);
  page->Unload();
  // Worded for this platform in Japanese too: the program has no Windows to
  // return to.
  strtable::load(std::string(), "ja");
  const std::string ja = msgText(10003, 10004);
  strtable::load(std::string(), "en");
  EXPECT_EQ(ja, "プログラムを終了してウィンドウを閉じます\rよろしいですか ?");
}

TEST_F(StartUpPage, TheWindowsCloseButtonAsksTheEndQuestionOnEveryRoadPage) {
  auto tryClose = [&](Page* page) {
    msgs.boxes.clear();
    msgs.answers = {vb::vbCancel, vb::vbOK};
    page->close();
    ASSERT_EQ(msgs.boxes.size(), 1u);
    EXPECT_EQ(msgs.boxes[0].text, "End Program And Close Its Windows\rAre You Sure ?");
    EXPECT_EQ(msgs.boxes[0].style, 33);
    EXPECT_FALSE(program::ended());
    EXPECT_TRUE(page->isLoaded());
    EXPECT_TRUE(page->isVisible());
    page->close();
    EXPECT_TRUE(program::ended());
    EXPECT_EQ(program::exitStatus(), 0);
    page->Unload();
    program::resetEnded();
  };
  {
    SCOPED_TRACE("start-up");
    tryClose(start());
  }
  family("1");
  {
    SCOPED_TRACE("configuration");
    auto* config = new FrmConfiguration;
    config->Show();
    tryClose(config);
  }
  {
    SCOPED_TRACE("main menu");
    auto* menu = new FrmMainMenu;
    menu->Show();
    tryClose(menu);
  }
}

TEST_F(StartUpPage, MenusAndTheSoundLabelFollowTheLanguage) {
  strtable::load(std::string(), "ja");
  FrmStartUp* page = start();
  EXPECT_EQ(page->mnuHelp->text().toStdString(), "ヘルプ(&H)");
  EXPECT_EQ(page->lblSound->text().toStdString(), "サウンド...");
  page->Unload();
  strtable::load(std::string(), "en");
  page = start();
  EXPECT_EQ(page->mnuHelp->text(), "&Help");
  EXPECT_EQ(page->lblSound->text(), "Sound...");
  page->Unload();
}

// The sound label opens the sound page from the keyboard and from assistive
// tools as well as from the mouse.
TEST_F(StartUpPage, TheSoundLabelCanBePressedWithoutAMouse) {
  FrmStartUp* page = start();
  QAccessibleInterface* sound = QAccessible::queryAccessibleInterface(page->lblSound);
  ASSERT_NE(sound->actionInterface(), nullptr);
  EXPECT_EQ(sound->text(QAccessible::Name), "Sound...");
  EXPECT_NE(page->lblSound->focusPolicy() & Qt::TabFocus, 0);
  sound->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  // A press is shown first, then it clicks.
  ASSERT_TRUE(QTest::qWaitFor([page] { return Page::front() != page; }, 2000));
  Page* opened = Page::front();
  EXPECT_EQ(opened->windowTitle(), "ZR-Sound");
  opened->Unload();
  page->Unload();
}

TEST_F(StartUpPage, MissingInitialFileIsNamedBeforeTheEnd) {
  ownProgramFolder([](std::string&) {}, false);
  FrmStartUp* page = start();
  page->CmdAction_Click(0);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Configuration file is not found\rFileName:" + app::path() +
                                    "/InitialP3RC.dat\rProcessing is discontinued");
  EXPECT_EQ(msgs.boxes[0].style, 16);
  EXPECT_TRUE(program::ended());
  EXPECT_EQ(program::exitStatus(), 1);
  EXPECT_EQ(front<FrmConfiguration>(), nullptr);
  page->Unload();
}

TEST_F(StartUpPage, MissingControlDataEndsTheProgramAfterItsMessage) {
  ownProgramFolder([](std::string& ini) { ini.clear(); });
  start();
  ASSERT_FALSE(msgs.boxes.empty());
  EXPECT_TRUE(program::ended());
}

TEST_F(StartUpPage, RadioOnTheCommandLineStartsDirectlyWithThatModel) {
  start({"/rzr320", "/com7"});
  auto* config = front<FrmConfiguration>();
  ASSERT_NE(config, nullptr);
  EXPECT_EQ(modPublic.strRadioFamily, "1");
  EXPECT_EQ(modPublic.strLabelColor, "&H0000C000&");
  EXPECT_TRUE(config->OptZRSelect[2]->isChecked());
  EXPECT_EQ(config->values.strRadioType, "2");
  EXPECT_FALSE(config->CmdAction[3]->isEnabled());
  EXPECT_EQ(modPublic.intCmdRadio, -1);
  EXPECT_FALSE(modPublic.blnNoCmdRadio);
  EXPECT_EQ(modPublic.intCommPort, 7);
  EXPECT_NE(readSetting(keys::StartUpTop), "-200");  // the direct start stores the position
  config->Unload();
}

TEST_F(StartUpPage, CommandLineModeWithAMissingFileEnds) {
  start({"/rzr310", "/f" + dir.str() + "/NOFILE"});
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, dir.str() + "/NOFILE.R1A is not found !");
  EXPECT_EQ(msgs.boxes[0].style, 48);
  EXPECT_EQ(msgs.boxes[0].title, "velmora StartUp Form_Load");
  EXPECT_TRUE(program::ended());
  EXPECT_EQ(program::exitStatus(), 1);

  // A ZR320/330 name without an extension: both files looked for.
  msgs.boxes.clear();
  program::resetEnded();
  start({"/rzr330", "/f" + dir.str() + "/NOFILE"});
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text,
            dir.str() + "/NOFILE.R2B is not found !\r" + dir.str() + "/NOFILE.R2C is not found !");
  EXPECT_EQ(program::exitStatus(), 1);
}

TEST_F(StartUpPage, CommandLineModeNamesAMissingFileInTheProgramsLanguage) {
  struct BackToEnglish {
    ~BackToEnglish() { strtable::load(std::string(), "en"); }
  } back;
  ASSERT_TRUE(strtable::load(std::string(), "ja"));
  start({"/rzr310", "/f" + dir.str() + "/NOFILE"});
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, dir.str() + "/NOFILE.R1A が見つかりません !");
  EXPECT_EQ(program::exitStatus(), 1);
}

// An unattended write never shows the start-up page, so it must not replace
// the place the user left the window at: neither on a failed start nor on
// the road to the write.
TEST_F(StartUpPage, AnUnattendedRunKeepsTheRememberedWindowPlace) {
  auto remembered = [] {
    return std::make_pair(readSetting(keys::StartUpTop), readSetting(keys::StartUpLeft));
  };
  saveSetting(keys::StartUpTop, "900");
  saveSetting(keys::StartUpLeft, "1200");
  start({"/rzr310", "/com1", "/f" + dir.str() + "/NOFILE"});
  EXPECT_TRUE(program::ended());
  EXPECT_EQ(remembered(), std::make_pair(std::string("900"), std::string("1200")));

  program::resetEnded();
  writeFileBytes(dir.file("site.R1A"), std::vector<uint8_t>(6888, 0));
  start({"/rzr310", "/com1", "/f" + dir.file("site")});
  EXPECT_EQ(remembered(), std::make_pair(std::string("900"), std::string("1200")));
  if (auto* config = front<FrmConfiguration>()) config->Unload();
}

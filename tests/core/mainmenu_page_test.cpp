// The main menu driven headless: buttons, refusals, pages plugged in, the
// information panel and the command-line road.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <stdexcept>

#include "core/pages/frmmainmenu.h"
#include "core/settingkeys.h"
#include "startup_fixture.h"

namespace {
using Bytes = std::vector<uint8_t>;

// A page plugged into the main menu that records how it was opened.
struct Opened {
  int count = 0;
  int menuTop = 0;
  int menuLeft = 0;
  std::vector<uint8_t> imageAtLoad;
  std::string cmdFileName;
  int commPort = 0;
  bool menuVisible = false;
};

class RecordingPage : public Page {
 public:
  explicit RecordingPage(Opened& o) : o_(o) {}

 protected:
  void Form_Load() override {
    ++o_.count;
    if (FrmMainMenu* m = FrmMainMenu::instance()) {
      o_.menuTop = m->Top();
      o_.menuLeft = m->Left();
      o_.menuVisible = m->isVisible();
    }
    o_.imageAtLoad = modPublic.bytRadioData;
    o_.cmdFileName = modPublic.strCmdFileName;
    o_.commPort = modPublic.intCommPort;
  }

 private:
  Opened& o_;
};
}  // namespace

class MainMenuPage : public StartupRoad {
 protected:
  void plug(int index) {
    program::registerMainMenuPage(index, [this] { return std::make_unique<RecordingPage>(opened); });
  }
  FrmMainMenu* open() {
    auto* menu = new FrmMainMenu;
    menu->Show();
    return menu;
  }
  Opened opened;
};

TEST_F(MainMenuPage, ButtonsNeedTheMaskAndAPluggedPage) {
  family("0");
  FrmMainMenu* menu = open();
  EXPECT_EQ(menu->lblInformation[0]->text(), "velmora");
  EXPECT_EQ(menu->lblInformation[11]->text(), "Firmware");
  EXPECT_EQ(menu->lblRadioModelMsg->text(), "ZR310 PROGRAMMING SOFT  1.00");
  for (auto* b : menu->cmdMainMenu) EXPECT_FALSE(b->isEnabled());  // nothing plugged in yet
  EXPECT_TRUE(menu->CmdAction[2]->isEnabled());
  menu->Unload();

  for (int i : {0, 4, 7}) plug(i);
  modPublic.strManMask[0][0] = '0';
  menu = open();
  EXPECT_FALSE(menu->cmdMainMenu[0]->isEnabled());
  EXPECT_TRUE(menu->cmdMainMenu[4]->isEnabled());
  EXPECT_TRUE(menu->cmdMainMenu[7]->isEnabled());
  EXPECT_FALSE(menu->cmdMainMenu[1]->isEnabled());
  // The first enabled button takes the focus index.
  EXPECT_EQ(modPublic.intMainMenuIndex, 4);
  menu->Unload();

  family("2");
  modPublic.blnNoCmdRadio = false;
  menu = open();
  EXPECT_TRUE(menu->cmdMainMenu[0]->isEnabled());
  EXPECT_FALSE(menu->cmdMainMenu[4]->isEnabled());  // never on the base station
  EXPECT_FALSE(menu->CmdAction[2]->isEnabled());
  EXPECT_EQ(modPublic.chanParaLastRow(), 197);
  menu->Unload();
}

TEST_F(MainMenuPage, MemoryEncodeAndChannelNameAreRefusedWhereTheyCannotWork) {
  for (int i : {4, 7}) plug(i);
  family("0");
  put(42, {0x03});
  FrmMainMenu* menu = open();
  menu->cmdMainMenu_Click(4);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Wrong Encode Set");
  EXPECT_EQ(msgs.boxes[0].style, 48);
  EXPECT_EQ(msgs.boxes[0].title, "cmdMainMenu_Click");
  EXPECT_EQ(opened.count, 0);
  put(42, {0x02});
  menu->cmdMainMenu_Click(4);
  EXPECT_EQ(opened.count, 1);
  menu->cmdMainMenu_Click(7);  // the portable always has channel names
  EXPECT_EQ(opened.count, 2);
  menu->Unload();

  family("1");
  put(810, {0x04});
  msgs.boxes.clear();
  menu = open();
  menu->cmdMainMenu_Click(4);
  menu->cmdMainMenu_Click(7);
  ASSERT_EQ(msgs.boxes.size(), 2u);
  EXPECT_EQ(msgs.boxes[0].text, "Wrong Encode Set");
  EXPECT_EQ(msgs.boxes[1].text,
            "A channel name menu isn't available at present\rChoose it again after you change it to a setup to "
            "use\rThe change in setting is in the configuration menu");
  EXPECT_EQ(msgs.boxes[1].style, 48);
  EXPECT_EQ(opened.count, 2);
  put(810, {0x02});
  put(801, {0x02});
  menu->cmdMainMenu_Click(4);
  menu->cmdMainMenu_Click(7);
  EXPECT_EQ(opened.count, 4);
  menu->Unload();
}

TEST_F(MainMenuPage, OpenedPagesSeeTheMenuAndThePanelFollowsTheirEdits) {
  family("1");
  saveSetting(keys::MainTop, "1500");
  saveSetting(keys::MainLeft, "3000");
  program::registerMainMenuPage(1, [this] { return std::make_unique<RecordingPage>(opened); });
  Page::setModalHook([this](Page&) { put(806, {0x21, 0x43, 0xFF}); });
  FrmMainMenu* menu = open();
  EXPECT_EQ(menu->Top(), 1500);
  EXPECT_EQ(menu->Left(), 3000);
  EXPECT_EQ(menu->lblPin->text(), "");
  menu->cmdMainMenu_Click(1);
  EXPECT_EQ(opened.count, 1);
  EXPECT_EQ(opened.menuTop, 1500);
  EXPECT_EQ(opened.menuLeft, 3000);
  QCoreApplication::processEvents();  // the menu comes to the front again
  EXPECT_EQ(menu->lblPin->text(), "1234 / 0");
  EXPECT_EQ(modPublic.intMainMenuIndex, 1);
  menu->Unload();
}

TEST_F(MainMenuPage, WhileItsPageIsOpenTheMenuIsInertAndKeepsThatPage) {
  family("0");
  for (int i : {1, 8}) plug(i);
  FrmMainMenu* menu = open();
  QPointer<Page> shown;
  Page::setModalHook([&](Page& p) {
    shown = &p;
    // Pressed as a screen reader or a test robot does, past Qt's modality.
    QAccessible::queryAccessibleInterface(menu->cmdMainMenu[1])
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QEventLoop wait;
    QTimer::singleShot(250, &wait, &QEventLoop::quit);
    wait.exec();
    for (QPushButton* b : {menu->cmdMainMenu[1], menu->CmdAction[0], menu->CmdAction[1], menu->CmdAction[2]})
      b->click();
    // Any other road to the handlers leaves the open page alone too.
    menu->cmdMainMenu_Click(1);
    menu->CmdAction_Click(0);
    menu->CmdAction_Click(2);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->isLoaded());
  });
  menu->cmdMainMenu[8]->click();
  EXPECT_EQ(opened.count, 1);
  EXPECT_TRUE(msgs.boxes.empty());
  EXPECT_FALSE(program::ended());
  EXPECT_TRUE(menu->isLoaded());
  EXPECT_FALSE(shown);  // released once it had unloaded
  EXPECT_TRUE(menu->cmdMainMenu[1]->isEnabled());
  EXPECT_FALSE(menu->cmdMainMenu[2]->isEnabled());  // no page behind it, as before
  menu->cmdMainMenu[1]->click();
  EXPECT_EQ(opened.count, 2);
  menu->Unload();
}

TEST_F(MainMenuPage, APageThatFailsIsReportedAndTheMenuStays) {
  family("2");
  program::registerMainMenuPage(3, []() -> std::unique_ptr<Page> { throw std::runtime_error("Scan table damaged"); });
  FrmMainMenu* menu = open();
  menu->cmdMainMenu_Click(3);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Scan table damaged");
  EXPECT_EQ(msgs.boxes[0].style, 0);
  EXPECT_EQ(msgs.boxes[0].title, "velmora Error");
  EXPECT_TRUE(menu->isLoaded());
  EXPECT_TRUE(msgs.waves.empty());
  menu->Unload();
}

TEST_F(MainMenuPage, EndConfigAndStartupActions) {
  family("0");
  FrmMainMenu* menu = open();
  menu->Move(0, 0);
  saveSetting(keys::MainTop, "4321");
  msgs.answers = {vb::vbCancel, vb::vbOK};
  menu->CmdAction_Click(1);
  EXPECT_FALSE(program::ended());
  menu->CmdAction_Click(1);
  EXPECT_TRUE(program::ended());
  EXPECT_EQ(readSetting(keys::MainTop), "4321");  // a top of 0 is not stored
  EXPECT_EQ(msgs.boxes.at(1).title, "CmdAction_Click");
  menu->Unload();
  program::resetEnded();

  menu = open();
  menu->CmdAction_Click(0);
  EXPECT_FALSE(menu->isLoaded());
  auto* config = front<FrmConfiguration>();
  ASSERT_NE(config, nullptr);
  config->CmdAction_Click(0);
  menu = front<FrmMainMenu>();
  ASSERT_NE(menu, nullptr);
  msgs.boxes.clear();
  msgs.answers = {vb::vbOK};
  menu->CmdAction_Click(2);
  EXPECT_EQ(msgs.boxes.at(0).text, "All Data is Reset.\rAre You Sure ?");
  auto* start = front<FrmStartUp>();
  ASSERT_NE(start, nullptr);
  start->Unload();
}

TEST_F(MainMenuPage, CommandLineRoadHandsTheFileToTheLinkPageAndEnds) {
  plug(program::kProgrammingButton);
  setUpFamily("0");
  Bytes file(modPublic.bytRadioData.begin(), modPublic.bytRadioData.begin() + 6888);
  file[160] = 0x21;  // a PIN the configuration page must not rewrite
  file[2000] = 0x5A;
  writeFileBytes(dir.file("MYRADIO.R1A"), file);
  freshModel(dir);
  program::setArguments({"/rzr310", "/com3", "/f" + dir.str() + "/MYRADIO"});
  auto* start = new FrmStartUp;
  start->Start();
  EXPECT_EQ(opened.count, 1);
  EXPECT_FALSE(opened.menuVisible);
  EXPECT_EQ(opened.cmdFileName, "MYRADIO");
  EXPECT_EQ(opened.commPort, 3);
  ASSERT_EQ(opened.imageAtLoad.size(), 6888u);
  EXPECT_EQ(opened.imageAtLoad, file);
  EXPECT_TRUE(program::ended());
  EXPECT_EQ(program::exitStatus(), 0);
  EXPECT_TRUE(msgs.boxes.empty());
}

TEST_F(MainMenuPage, CommandLineRoadWithoutTheLinkPageEndsWithFailure) {
  setUpFamily("2");
  writeFileBytes(dir.file("SITE.R3D"), Bytes(modPublic.bytRadioData.begin(), modPublic.bytRadioData.begin() + 2560));
  freshModel(dir);
  program::setArguments({"/rzr350", "/com2", "/f" + dir.str() + "/SITE"});
  auto* start = new FrmStartUp;
  start->Start();
  EXPECT_TRUE(program::ended());
  EXPECT_EQ(program::exitStatus(), 1);
}

TEST_F(MainMenuPage, TheRoadFromStartUpToAFilledPanelForEachFamily) {
  const char* names[] = {"ZR310-15   ", "ZR320-15A  ", "ZR340/350-15B"};
  for (int f = 0; f < 3; ++f) {
    SCOPED_TRACE(f);
    auto* start = new FrmStartUp;
    start->Start();
    start->optSelectRadio[static_cast<size_t>(f)]->click();
    start->CmdAction_Click(0);
    auto* config = front<FrmConfiguration>();
    ASSERT_NE(config, nullptr);
    ASSERT_TRUE(config->isVisible());
    config->CmdAction_Click(0);
    auto* menu = front<FrmMainMenu>();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->lblRadioName->text().toStdString(), names[f]);
    EXPECT_EQ(menu->lblEncode->text(), "NON");
    EXPECT_EQ(menu->lblDecode->text(), "NON");
    menu->CmdAction_Click(2);  // Startup, answered OK
    ASSERT_NE(front<FrmStartUp>(), nullptr);
    front<FrmStartUp>()->Unload();
  }
  EXPECT_EQ(msgs.boxes.size(), 3u);  // the three Startup questions, nothing else
}

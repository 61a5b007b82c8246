// The configuration page driven headless.
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <termios.h>
#include <unistd.h>

#include "core/pages/frmclearselect.h"
#include "core/pages/frmmainmenu.h"
#include "core/settingkeys.h"
#include "platform/base/portmap.h"
#include "startup_fixture.h"
#include "support/devices.h"
#include "support/outside.h"
#include "support/widths.h"
#include "support/oddimages.h"
#include "platform/base/strtable.h"

namespace {
using Bytes = std::vector<uint8_t>;

void typeInto(QWidget* w, const std::string& text) {
  for (char c : text) {
    int key = 0;
    if (c >= '0' && c <= '9') key = Qt::Key_0 + (c - '0');
    else if (c >= 'a' && c <= 'z') key = Qt::Key_A + (c - 'a');
    else if (c >= 'A' && c <= 'Z') key = Qt::Key_A + (c - 'A');
    else if (c == ' ') key = Qt::Key_Space;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(c)));
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(QChar(c)));
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
  }
}

bool painted(QWidget* w, uint32_t bgr) {
  return w->palette().color(QPalette::Base) == vbui::color(bgr);
}
}  // namespace

class ConfigPage : public StartupRoad {
 protected:
  FrmConfiguration* open() {
    auto* page = new FrmConfiguration;
    page->Show();
    return page;
  }
};

TEST_F(ConfigPage, InputCheckRefusesShortOrNonDigitCodesAndTimesAbove255) {
  family("1");
  FrmConfiguration* page = open();
  struct Case {
    const char *pin, *pinTime, *kill, *killTime;
    bool ok;
    const char* message;
  } cases[] = {
      {"", "", "", "", true, ""},
      {"5", "", "", "", false, "Input ID(password) No with 2 digits"},
      {"1a", "", "", "", false, "Input value range outside error\rInput is the range of the numerical value (0 - 9)"},
      {"12", "256", "", "", false, "Input value range outside error"},
      {"12", "255", "", "", true, ""},
      {"12", "2x", "", "", false, "Input value range outside error\rInput is the range of the numerical value (0 - 9)"},
      {"", "", "123", "", false, "Input Kill Data Enable Password with 4 Digits"},
      {"", "", "12a4", "", false, "Input value range outside error\rInput is the range of the numerical value (0 - 9)"},
      {"", "", "1234", "300", false, "Input value range outside error"},
      {"5", "999", "1", "x", false, "Input ID(password) No with 2 digits"},  // the first failure only
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pin) + "/" + c.pinTime + "/" + c.kill + "/" + c.killTime);
    msgs.boxes.clear();
    page->txtPIN->setText(c.pin);
    page->txtPINTime->setText(c.pinTime);
    page->txtKillPass->setText(c.kill);
    page->txtKillPassTime->setText(c.killTime);
    EXPECT_EQ(page->InputDataCheck(), c.ok);
    if (c.ok) {
      EXPECT_TRUE(msgs.boxes.empty());
    } else {
      ASSERT_EQ(msgs.boxes.size(), 1u);
      EXPECT_EQ(msgs.boxes[0].text, c.message);
      EXPECT_EQ(msgs.boxes[0].style, 64);
      EXPECT_EQ(msgs.boxes[0].title, "InputDataCheck");
    }
  }
  page->Unload();
}

TEST_F(ConfigPage, LeavingABoxTakesItsValueOrPutsTheLastOneBack) {
  family("1");
  FrmConfiguration* page = open();
  EXPECT_FALSE(page->txtPINTime->isEnabled());  // no PIN in the blank image
  typeInto(page->txtPIN, "1x2y34");
  EXPECT_EQ(page->txtPIN->text(), "1234");
  EXPECT_TRUE(page->txtPINTime->isEnabled());
  page->txtPIN_LostFocus();
  EXPECT_EQ(page->values.strPIN, "1234");
  page->subSetConfigControls();
  EXPECT_EQ(page->txtPINTime->text(), "0");  // empty times show as 0
  page->txtPINTime->setText("007");
  page->txtPINTime_LostFocus();
  EXPECT_EQ(page->values.strPINTime, "007");
  EXPECT_EQ(page->txtPINTime->text(), "7");

  page->txtPIN->setText("9");
  page->txtPIN_LostFocus();
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(page->values.strPIN, "1234");
  EXPECT_EQ(page->txtPIN->text(), "1234");

  // Emptying the PIN empties and disables its times.
  page->txtPIN->clear();
  page->txtPIN_KeyUp();
  EXPECT_FALSE(page->txtPINTime->isEnabled());
  EXPECT_TRUE(painted(page->txtPINTime, 0xC0C0C0));
  EXPECT_EQ(page->values.strPINTime, "");
  page->Unload();
}

TEST_F(ConfigPage, TextPutInFromOutsideIsJudgedAsTypedTextAndWritten) {
  family("1");
  const IdentityLayout l = identityLayout();
  FrmConfiguration* page = open();
  EXPECT_FALSE(page->txtPINTime->isEnabled());
  putFromOutside(page->txtPINTime, "5");  // no PIN: no times to enter
  EXPECT_EQ(page->txtPINTime->text(), "");
  putFromOutside(page->txtPIN, "1234");
  EXPECT_TRUE(page->txtPINTime->isEnabled());
  putFromOutside(page->txtPINTime, "007");
  EXPECT_EQ(page->txtPINTime->text(), "7");
  putFromOutside(page->txtPIN, "9");
  QApplication::processEvents();
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Input ID(password) No with 2 digits");
  EXPECT_EQ(page->txtPIN->text(), "1234");
  EXPECT_EQ(page->focusWidget(), page->txtPIN);
  page->cboRsPort->setFocus();
  QApplication::processEvents();
  putFromOutside(page->txtSerialNo, "ab1");  // the mobile's serial is in capitals
  EXPECT_EQ(page->txtSerialNo->text(), "AB1");
  page->CmdAction_Click(0);
  EXPECT_EQ(bytes(l.serial, 8), (Bytes{'A', 'B', '1', ' ', ' ', ' ', ' ', ' '}));
  EXPECT_EQ(bytes(l.pin, 3), (Bytes{0x21, 0x43, 0xFF}));
  EXPECT_EQ(image()[static_cast<size_t>(l.pinTime)], 7);
  ASSERT_NE(front<FrmMainMenu>(), nullptr);
  front<FrmMainMenu>()->Unload();
}

TEST_F(ConfigPage, SerialBoxTakesLettersAndDigitsUpperCasedForTheMobile) {
  family("1");
  FrmConfiguration* page = open();
  typeInto(page->txtSerialNo, "ab-1 c");
  EXPECT_EQ(page->txtSerialNo->text(), "AB1C");
  page->Unload();
  family("0");
  page = open();
  typeInto(page->txtSerialNo, "ab1");
  EXPECT_EQ(page->txtSerialNo->text(), "ab1");
  page->Unload();
}

TEST_F(ConfigPage, PastedSerialTextMeetsTheKeyFilterWhenTheBoxIsLeft) {
  family("1");
  FrmConfiguration* page = open();
  page->txtSerialNo->setText(QString::fromUtf8("ab-1\u00e9\u20ac7"));  // as a paste puts it
  page->txtSerialNo_LostFocus();
  EXPECT_EQ(page->txtSerialNo->text(), "AB17");
  EXPECT_EQ(page->values.strSerialNo, "AB17");
  page->CmdAction_Click(0);
  EXPECT_EQ(bytes(2038, 8), (Bytes{'A', 'B', '1', '7', ' ', ' ', ' ', ' '}));
  front<FrmMainMenu>()->Unload();

  // Characters the radio's own serial holds survive an edit; others go.
  family("0");
  put(232, {'Q', '-', '7', ' ', ' ', ' ', ' ', ' '});
  page = open();
  page->txtSerialNo->setText(QString::fromUtf8("Q-7x/\u00e9"));
  page->txtSerialNo_LostFocus();
  EXPECT_EQ(page->values.strSerialNo, "Q-7x");
  page->CmdAction_Click(0);
  EXPECT_EQ(bytes(232, 8), (Bytes{'Q', '-', '7', 'x', ' ', ' ', ' ', ' '}));
  front<FrmMainMenu>()->Unload();
}

TEST_F(ConfigPage, MaskEnablesTheControlsAndGreysTheRest) {
  family("1");
  modPublic.strCfgMask[1] = std::string(8, '1') + std::string(32, '0');
  FrmConfiguration* page = open();
  EXPECT_FALSE(page->cboFUHFIF->isEnabled());
  EXPECT_TRUE(painted(page->cboFUHFIF, 0xC0C0C0));
  EXPECT_FALSE(page->lblConfmenu[9]->isEnabled());
  EXPECT_EQ(page->lblConfmenu[9]->text(), "UHF IF");
  for (QWidget* w : std::initializer_list<QWidget*>{page->cboRadioModel, page->txtPIN, page->txtKillPass,
                                                    page->txtSerialNo, page->cboRsPort, page->LstChannelName,
                                                    page->LstDigitalScrambler, page->cboTXRef})
    EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
  for (int i = 0; i <= 7; ++i) EXPECT_TRUE(page->lblConfmenu[static_cast<size_t>(i)]->isEnabled());
  EXPECT_EQ(page->lblRadioModelMsg->text(), "ZR320/330 PROGRAMMING SOFT  1.00");
  page->Unload();

  family("2");  // shipped mask: no PIN on the base station
  page = open();
  EXPECT_FALSE(page->txtPIN->isEnabled());
  EXPECT_FALSE(page->txtPINTime->isEnabled());
  EXPECT_TRUE(page->cboFUHFIF->isEnabled());
  EXPECT_TRUE(page->txtKillPass->isEnabled());
  EXPECT_FALSE(page->OptZRSelect[1]->isEnabled());
  page->Unload();

  // Items whose bytes belong to other fields stay off even when the mask offers them.
  family("2");
  modPublic.strCfgMask[2] = std::string(40, '1');
  page = open();
  EXPECT_FALSE(page->txtPIN->isEnabled());
  EXPECT_FALSE(page->txtPINTime->isEnabled());
  EXPECT_FALSE(page->lblConfmenu[1]->isEnabled());
  EXPECT_TRUE(page->txtKillPass->isEnabled());
  page->Unload();
  family("0");
  modPublic.strCfgMask[0] = std::string(40, '1');
  page = open();
  for (QWidget* w : std::initializer_list<QWidget*>{page->txtKillPass, page->txtKillPassTime, page->LstChannelName,
                                                    page->updChangeSelect[0][1], page->LstDigitalScrambler,
                                                    page->updChangeSelect[1][1], page->cboTXRef, page->lblConfmenu[2],
                                                    page->lblConfmenu[5], page->lblConfmenu[6], page->lblConfmenu[7]})
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  EXPECT_TRUE(page->txtPIN->isEnabled());
  EXPECT_TRUE(page->txtSerialNo->isEnabled());
  page->Unload();
}

TEST_F(ConfigPage, ProbedPortsAreListedAndTheEarlierChoiceStays) {
  family("1");
  FrmConfiguration::setPortProbe([](int port) { return port == 2 || port == 5; });
  FrmConfiguration* page = open();
  ASSERT_EQ(page->cboRsPort->count(), 2);
  EXPECT_EQ(page->cboRsPort->itemText(0), "COM  2");
  EXPECT_EQ(page->cboRsPort->itemText(1), "COM  5");
  EXPECT_EQ(page->cboRsPort->itemData(1).toInt(), 5);
  EXPECT_EQ(modPublic.intCommPort, 2);
  EXPECT_EQ(page->cboRsPort->currentIndex(), 0);
  EXPECT_EQ(page->lblPortDevice->text().toStdString(), portmap::devicePath(2));
  EXPECT_EQ(page->cboRsPort->itemData(1, Qt::ToolTipRole).toString().toStdString(), portmap::devicePath(5));
  page->cboRsPort->setCurrentIndex(1);
  EXPECT_EQ(modPublic.intCommPort, 5);
  EXPECT_EQ(page->strCommPortText, "5");
  page->Unload();

  page = open();  // loaded again: port 5 is still there and stays chosen
  EXPECT_EQ(modPublic.intCommPort, 5);
  EXPECT_EQ(page->cboRsPort->currentIndex(), 1);
  page->Unload();

  FrmConfiguration::setPortProbe([](int) { return false; });
  // An empty list says why and names the port map file the run reads (the
  // home folder as "~") and the variable: an installed program has no README.
  portmap::setConfigFile(dir.file("ports.conf"));
  page = open();
  EXPECT_EQ(page->cboRsPort->count(), 0);
  EXPECT_EQ(modPublic.intCommPort, 5);
  EXPECT_TRUE(page->lblNoPort->isVisibleTo(page));
  EXPECT_EQ(page->lblNoPort->text().toStdString(),
            "No serial port was found. Map a device to a port number with a line COMn=device in " +
                dir.file("ports.conf") + ", or with the environment variable VELMORA_COMn.");
  EXPECT_EQ(page->cboRsPort->toolTip().toStdString(), page->lblNoPort->text().toStdString());
  page->Unload();
  // A number pointed at a device that is not there yet: named with its device.
  setenv("VELMORA_COM3", dir.file("radio").c_str(), 1);
  page = open();
  EXPECT_EQ(page->lblNoPort->text().toStdString(), "COM3 is mapped to " + dir.file("radio") +
                                                       ", a device that does not exist (not plugged in, or the "
                                                       "simulated radio not started).");
  EXPECT_EQ(page->cboRsPort->toolTip().toStdString(), page->lblNoPort->text().toStdString());
  page->Unload();
  // A bare name is the device of that name under /dev, whatever the working
  // folder holds under it.
  const std::string bare = "velmora-radio-" + std::to_string(::getpid());
  writeFileBytes(dir.file(bare), {1});
  const auto was = std::filesystem::current_path();
  std::filesystem::current_path(dir.str());
  setenv("VELMORA_COM3", bare.c_str(), 1);
  page = open();
  std::filesystem::current_path(was);
  EXPECT_EQ(page->lblNoPort->text().toStdString(),
            "COM3 is mapped to /dev/" + bare +
                ", a device that does not exist (not plugged in, or the simulated radio not started).");
  page->Unload();
  unsetenv("VELMORA_COM3");
  portmap::setConfigFile(QDir::homePath().toStdString() + "/.config/velmora/ports.conf");
  page = open();
  EXPECT_EQ(page->lblNoPort->text(),
            "No serial port was found. Map a device to a port number with a line COMn=device in "
            "~/.config/velmora/ports.conf, or with the environment variable VELMORA_COMn.");
  page->Unload();
  portmap::setConfigFile("");

  modPublic.intCmdCommPort = 7;  // given on the command line: no probe
  page = open();
  ASSERT_EQ(page->cboRsPort->count(), 16);
  EXPECT_EQ(page->cboRsPort->itemText(0), "COM 1");
  EXPECT_EQ(page->cboRsPort->currentText(), "COM 7");
  EXPECT_EQ(modPublic.intCommPort, 7);
  EXPECT_FALSE(page->lblNoPort->isVisibleTo(page));
  page->Unload();
}

TEST_F(ConfigPage, TheRealSearchFindsPortsWithoutTouchingThem) {
  Pty pty;
  ASSERT_FALSE(pty.slave.empty());
  const std::string slave = pty.slave;
  // Another program's settings on the port: the search must leave them.
  const int held = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(held, 0);
  termios t{};
  ASSERT_EQ(tcgetattr(held, &t), 0);
  cfsetispeed(&t, B9600);
  cfsetospeed(&t, B9600);
  ASSERT_EQ(tcsetattr(held, TCSANOW, &t), 0);

  // Kernel tty attributes: a UART slot without a UART, and one with, for
  // two character devices of the test's own.
  Pty noUart, uart;
  ASSERT_FALSE(noUart.slave.empty() || uart.slave.empty());
  const std::string attributes = dir.file("tty");
  const auto slot = [&](const Pty& pty, char type) {
    const std::string folder = attributes + "/" + std::filesystem::path(pty.slave).filename().string();
    std::filesystem::create_directories(folder);
    writeFileBytes(folder + "/type", {static_cast<uint8_t>(type), '\n'});
  };
  slot(noUart, '0');
  slot(uart, '4');
  portmap::setTtyAttributesFolder(attributes);
  writeFileBytes(dir.file("plain"), {1});
  const std::string bare = "velmora-terminal-" + std::to_string(::getpid());
  std::filesystem::create_symlink(slave, dir.file(bare));
  const auto was = std::filesystem::current_path();
  std::filesystem::current_path(dir.str());
  for (int n = 1; n <= 16; ++n) {
    std::string path = dir.str() + "/no-such-device";
    if (n == 3) path = slave;            // a pseudo-terminal the user pointed at
    if (n == 4) path = noUart.slave;     // character device, no UART behind it
    if (n == 6) path = uart.slave;       // character device with a UART
    if (n == 7) path = dir.file("plain");  // not a device
    if (n == 8) path = bare;               // under /dev, not the working folder's link to the terminal
    setenv(("VELMORA_COM" + std::to_string(n)).c_str(), path.c_str(), 1);
  }
  family("2");
  FrmConfiguration::setPortProbe(nullptr);
  FrmConfiguration* page = open();
  std::filesystem::current_path(was);
  ASSERT_EQ(page->cboRsPort->count(), 2);
  EXPECT_EQ(page->cboRsPort->itemText(0), "COM  3");
  EXPECT_EQ(page->cboRsPort->itemText(1), "COM  6");
  EXPECT_EQ(page->lblPortDevice->text().toStdString(), slave);
  EXPECT_FALSE(page->lblNoPort->isVisibleTo(page));
  page->Unload();
  termios after{};
  ASSERT_EQ(tcgetattr(held, &after), 0);
  EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B9600));
  for (int n = 1; n <= 16; ++n) unsetenv(("VELMORA_COM" + std::to_string(n)).c_str());
  portmap::setTtyAttributesFolder("/sys/class/tty");
  close(held);
}

TEST_F(ConfigPage, ModelListsMapToModelCodes) {
  family("0");
  FrmConfiguration* page = open();
  ASSERT_EQ(page->cboRadioModel->count(), 17);
  EXPECT_EQ(page->cboRadioModel->itemText(4), "ZR310-15     (136-174MHz)");
  EXPECT_EQ(page->cboRadioModel->currentIndex(), 4);
  page->cboRadioModel->setCurrentIndex(1);  // a placeholder row is refused
  EXPECT_EQ(page->values.strModelIndex, "4");
  EXPECT_EQ(page->cboRadioModel->currentIndex(), 4);
  page->cboRadioModel->setCurrentIndex(10);
  EXPECT_EQ(page->values.strModelIndex, "10");
  page->Unload();

  family("2");
  page = open();
  ASSERT_EQ(page->cboRadioModel->count(), 18);
  EXPECT_EQ(page->cboRadioModel->currentIndex(), 5);  // code 6
  page->cboRadioModel->setCurrentIndex(4);
  EXPECT_EQ(page->values.strModelIndex, "5");
  page->cboRadioModel->setCurrentIndex(3);
  EXPECT_EQ(page->values.strModelIndex, "3");
  page->Unload();

  // A stored code beyond the list shows no row and is kept.
  family("2");
  put(1016, {40});
  const Bytes before = image();
  page = open();
  EXPECT_EQ(page->cboRadioModel->currentIndex(), -1);
  EXPECT_EQ(page->values.strModelIndex, "40");
  page->CmdAction_Click(0);
  EXPECT_EQ(image(), before);
  if (auto* menu = front<FrmMainMenu>()) menu->Unload();
}

TEST_F(ConfigPage, RadioTypeOptionsSwitchTheNamesAndAreWrittenOnMain) {
  family("1");  // blank image: ZR320, row 2
  FrmConfiguration* page = open();
  EXPECT_TRUE(page->OptZRSelect[2]->isChecked());
  EXPECT_EQ(page->OptZRSelect[1]->text(), "ZR330");
  EXPECT_EQ(page->cboRadioModel->count(), 15);
  EXPECT_EQ(page->cboRadioModel->currentText(), "ZR320-15A    (136-162MHz)");
  page->OptZRSelect[1]->click();
  EXPECT_EQ(page->values.strRadioType, "1");
  EXPECT_EQ(page->cboRadioModel->currentText(), "ZR330-15A    (136-162MHz)");
  EXPECT_EQ(readSetting(keys::ZRSelect), "1");
  page->CmdAction_Click(0);
  EXPECT_EQ(bytes(1016, 2), (Bytes{2, 1}));
  auto* menu = front<FrmMainMenu>();
  ASSERT_NE(menu, nullptr);
  menu->Unload();
}

TEST_F(ConfigPage, ChannelNameOptionRearrangesOnlyOnWriteAndAsksBeforeDroppingData) {
  family("1");
  for (int i = 0; i < 400; ++i) image()[static_cast<size_t>(400 + i)] = static_cast<uint8_t>(i & 0x7F);  // channels 51-100
  put(1024 + 4 * 150, {0x46, 0x2B, 0x44, 0x05});  // channel 176 RX in use
  const Bytes original = image();
  const Bytes channels51to100 = bytes(400, 400);
  FrmConfiguration* page = open();
  // Back and forth: the option changes, the image never does.
  for (int round = 0; round < 2; ++round) {
    page->updChangeSelect_Next(0);
    EXPECT_EQ(page->values.strChannelNameOpt, "1");
    EXPECT_EQ(image(), original);
    page->updChangeSelect_Previous(0);
    EXPECT_EQ(page->values.strChannelNameOpt, "0");
    EXPECT_EQ(image(), original);
  }
  page->updChangeSelect_Next(0);

  // Switching names on drops channels 101-200: asked first; Cancel writes nothing.
  msgs.answers = {vb::vbCancel, vb::vbCancel};
  page->CmdAction_Click(0);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Channels 101 to 200 are deleted when channel names are used\rAre You Sure ?");
  EXPECT_EQ(msgs.boxes[0].style, 33);
  EXPECT_TRUE(page->isLoaded());
  EXPECT_EQ(image(), original);
  page->CmdAction_Click(2);  // Clear asks the same and opens nothing on Cancel
  EXPECT_EQ(msgs.boxes.size(), 2u);
  EXPECT_EQ(image(), original);

  page->CmdAction_Click(0);  // OK
  EXPECT_EQ(bytes(1024, 400), channels51to100);
  EXPECT_EQ(bytes(400, 400), Bytes(400, 0xFF));
  EXPECT_EQ(bytes(1424, 400), Bytes(400, 0xFF));
  EXPECT_EQ(image()[801] & 2, 2);
  auto* menu = front<FrmMainMenu>();
  ASSERT_NE(menu, nullptr);

  // Names off with no name entered loses nothing: no question.
  menu->CmdAction_Click(0);
  page = front<FrmConfiguration>();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->values.strChannelNameOpt, "1");
  msgs.boxes.clear();
  page->updChangeSelect_Previous(0);
  page->CmdAction_Click(0);
  EXPECT_TRUE(msgs.boxes.empty());
  EXPECT_EQ(bytes(400, 400), channels51to100);
  EXPECT_EQ(image()[801] & 2, 0);

  // With a name in the image, names off asks.
  front<FrmMainMenu>()->CmdAction_Click(0);
  page = front<FrmConfiguration>();
  page->updChangeSelect_Next(0);
  page->CmdAction_Click(0);
  put(1424, {'R', 'E', 'P', 'E', 'A', 'T', 'E', 'R'});
  front<FrmMainMenu>()->CmdAction_Click(0);
  page = front<FrmConfiguration>();
  page->updChangeSelect_Previous(0);
  msgs.boxes.clear();
  msgs.answers = {vb::vbCancel};
  page->CmdAction_Click(0);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "All channel names are deleted when channel names are not used\rAre You Sure ?");
  EXPECT_EQ(image()[801] & 2, 2);
  EXPECT_EQ(bytes(1424, 1), Bytes{'R'});

  // The scrambler arrows only change the option; Main writes its bit and
  // leaves the channel-name bit and the channel rows alone.
  page->updChangeSelect_Next(0);
  page->updChangeSelect_Next(1);
  EXPECT_EQ(page->values.strScramblerOpt, "1");
  EXPECT_EQ(image()[801] & 4, 0);
  const Bytes named = image();
  page->CmdAction_Click(0);
  Bytes expect = named;
  expect[801] |= 4;
  EXPECT_EQ(image(), expect);
  if (auto* m = front<FrmMainMenu>()) m->Unload();
}

TEST_F(ConfigPage, MainWithoutEditsChangesNoByteAndEditsAreWritten) {
  for (const char* f : {"0", "1", "2"}) {
    SCOPED_TRACE(f);
    family(f);
    const IdentityLayout l = identityLayout();
    put(l.serial, {'7', ' ', 'Q', 0, 'X', ' ', ' ', ' '});
    put(l.pin, {0x21, 0xC3, 0xFF, 5});
    put(l.killPass, {0x21, 0x43, 200});
    put(856, {0xFF});
    put(948, {0x02});
    const Bytes before = image();
    FrmConfiguration* page = open();
    page->CmdAction_Click(0);
    EXPECT_EQ(image(), before);
    auto* menu = front<FrmMainMenu>();
    ASSERT_NE(menu, nullptr);
    menu->CmdAction_Click(0);  // Config, then Main again
    page = front<FrmConfiguration>();
    ASSERT_NE(page, nullptr);
    page->txtSerialNo->setText("NEW1");
    page->txtSerialNo_LostFocus();
    page->CmdAction_Click(0);
    EXPECT_EQ(bytes(l.serial, 8), (Bytes{'N', 'E', 'W', '1', ' ', ' ', ' ', ' '}));
    Bytes expect = before;
    std::copy_n(image().begin() + l.serial, 8, expect.begin() + l.serial);
    EXPECT_EQ(image(), expect);
    front<FrmMainMenu>()->Unload();
  }
}

TEST_F(ConfigPage, MainOnImagesWeDidNotWriteChangesNoByte) {
  for (int f : {0, 1, 2}) {
    family(std::to_string(f));
    int n = 0;
    for (const Bytes& odd : oddImages(image(), 71u + static_cast<unsigned>(f))) {
      SCOPED_TRACE("family " + std::to_string(f) + " image " + std::to_string(n++));
      image() = odd;
      FrmConfiguration* page = open();
      page->CmdAction_Click(0);
      EXPECT_EQ(image(), odd);
      if (auto* menu = front<FrmMainMenu>()) menu->Unload();
    }
  }
}

TEST_F(ConfigPage, ClearDialogIsFollowedByAFreshDecode) {
  family("1");
  put(806, {0x21, 0x43, 0xFF});
  FrmConfiguration* page = open();
  EXPECT_EQ(page->values.strPIN, "1234");
  Page::setModalHook([](Page& p) {
    auto* dialog = dynamic_cast<FrmClearSelect*>(&p);
    ASSERT_NE(dialog, nullptr);
    dialog->cmdAllDataClear_Click();
  });
  page->CmdAction_Click(2);
  EXPECT_EQ(page->values.strPIN, "");
  EXPECT_EQ(page->txtPIN->text(), "");
  EXPECT_EQ(bytes(806, 3), (Bytes{0xFF, 0xFF, 0xFF}));
  page->CmdAction_Click(0);
  EXPECT_EQ(bytes(806, 3), (Bytes{0xFF, 0xFF, 0xFF}));  // no stale PIN written back
  front<FrmMainMenu>()->Unload();
}

TEST_F(ConfigPage, PlacementStartupAndEnd) {
  family("1");
  saveSetting(keys::ConfigTop, "-150");  // whole pixels, so the twips come back exactly
  saveSetting(keys::ConfigLeft, "-3000");
  FrmConfiguration* page = open();
  EXPECT_EQ(page->Top(), -150);
  EXPECT_EQ(page->Left(), 0);
  EXPECT_EQ(page->windowTitle(), "velmora-Configuration");
  EXPECT_TRUE(page->CmdAction[3]->isEnabled());

  msgs.answers = {vb::vbCancel};
  page->CmdAction_Click(3);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "All Data is Reset.\rAre You Sure ?");
  EXPECT_EQ(msgs.boxes[0].style, 33);
  EXPECT_TRUE(page->isLoaded());
  page->CmdAction_Click(3);
  EXPECT_FALSE(page->isLoaded());
  auto* start = front<FrmStartUp>();
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(readSetting(keys::ConfigLeft), "0");
  start->Unload();

  family("1");
  page = open();
  msgs.boxes.clear();
  page->CmdAction_Click(1);
  EXPECT_EQ(msgs.boxes.at(0).text, "End Program And Close Its Windows\rAre You Sure ?");
  EXPECT_TRUE(program::ended());
  page->Unload();
}

TEST_F(ConfigPage, EnterAndEscapeDoNotLeaveThePage) {
  family("1");
  FrmConfiguration* page = open();
  for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(page->txtPIN, &press);
    QKeyEvent pagePress(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(page, &pagePress);
  }
  EXPECT_TRUE(page->isLoaded());
  EXPECT_EQ(front<FrmConfiguration>(), page);
  EXPECT_EQ(front<FrmMainMenu>(), nullptr);
  page->Unload();
}
TEST_F(ConfigPage, OptionsSitOnThePageColourAndTheListsShowTheirOptionWithoutFocus) {
  family("1");
  put(801, {0x04});  // scrambler on
  FrmConfiguration* page = open();
  const QColor green = vbui::colorFromLiteral("&H0000C000&");
  for (QRadioButton* o : {page->OptZRSelect[1], page->OptZRSelect[2]})
    EXPECT_EQ(o->palette().color(o->backgroundRole()), green) << o->text().toStdString();
  EXPECT_EQ(page->LstChannelName->currentRow(), 0);
  EXPECT_EQ(page->LstDigitalScrambler->currentRow(), 1);
  const QPalette p = page->LstChannelName->palette();
  EXPECT_EQ(p.color(QPalette::Inactive, QPalette::Highlight), p.color(QPalette::Active, QPalette::Highlight));
  page->updChangeSelect_Next(0);
  page->LstChannelName_LostFocus();  // the focus moves on
  EXPECT_EQ(page->LstChannelName->currentRow(), 1);
  EXPECT_EQ(page->values.strChannelNameOpt, "1");
  page->Unload();
}

TEST_F(ConfigPage, EveryNumberBoxShowsItsLongestValueWholeInBothLanguages) {
  widths::inEachLanguage([&](const char* language) {
    for (const char* f : {"0", "1", "2"}) {
      SCOPED_TRACE(std::string(language) + " family " + f);
      family(f);
      FrmConfiguration* page = open();
      for (QLineEdit* box : {page->txtPIN, page->txtPINTime, page->txtKillPass, page->txtKillPassTime})
        EXPECT_TRUE(widths::showsWhole(box, widths::longest(box, "0123456789"))) << box->objectName().toStdString();
      EXPECT_TRUE(widths::showsWhole(page->txtSerialNo, widths::longest(page->txtSerialNo, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ")));
      page->Unload();
    }
  });
}

// Settings of the port map that cannot be read are named beside the port
// list, with their file and line, and the numbers they meant point nowhere.
TEST_F(ConfigPage, ThePortMapsUnreadableLinesAreShownBesideTheList) {
  using namespace std::string_literals;
  const std::string conf = dir.file("ports.conf");
  portmap::setConfigFile(conf);
  const std::string text = "COM2=/dev/tty\0USB0\nCOM3=\n"s;
  writeFileBytes(conf, Bytes(text.begin(), text.end()));
  const std::string cannotRead =
      "The port map has a setting it cannot read (expected COM<n>=<device path>, n from 1 to 16, no control "
      "characters)\n";
  const std::string shown = cannotRead + conf + " line 1: COM2=/dev/tty\\x00USB0\n" + conf + " line 2: COM3=";
  const std::string notAvailable = "This port number is not available: no setting that can be read names its device, "
                                   "and the port map has one it cannot read";
  family("2");
  FrmConfiguration::setPortProbe([](int port) { return port == 5; });
  FrmConfiguration* page = open();
  ASSERT_EQ(page->cboRsPort->count(), 1);
  EXPECT_TRUE(page->lblNoPort->isVisibleTo(page));
  EXPECT_EQ(page->lblNoPort->text().toStdString(), shown);
  page->Unload();

  modPublic.intCmdCommPort = 2;  // all sixteen listed: the broken number says why it has no device
  page = open();
  EXPECT_EQ(page->lblPortDevice->text().toStdString(), notAvailable);
  EXPECT_EQ(page->cboRsPort->itemData(2, Qt::ToolTipRole).toString().toStdString(), notAvailable);
  // Not even a number the map does not mention falls back to its default device.
  EXPECT_EQ(page->cboRsPort->itemData(3, Qt::ToolTipRole).toString().toStdString(), notAvailable);
  EXPECT_EQ(page->lblNoPort->text().toStdString(), shown);
  page->Unload();
  portmap::setConfigFile("");
}

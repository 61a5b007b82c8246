// The miscellaneous page on real widgets: enabling by mask row and family,
// the checks of the typed fields, the list and key rules, the starting
// message filter, and closing through the focus sink.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "core/controldata.h"
#include "core/modpublic.h"
#include "options/chanlayout.h"
#include "options/pages/frmmiscellaneous.h"
#include "support/keys.h"
#include "support/widths.h"
#include "support/oddimages.h"
#include "platform/base/strtable.h"
#include "support/outside.h"
#include "support/testsupport.h"

using namespace options;
using Bytes = std::vector<uint8_t>;

namespace {

bool grey(QWidget* w) { return w->palette().color(QPalette::Base) == vbui::color(0xC0C0C0); }

class MiscPage : public ::testing::Test {
 protected:
  void SetUp() override {
    freshModel(dir);
    ASSERT_TRUE(blnGetControlData());
  }
  void TearDown() override {
    if (page && page->isLoaded()) page->Unload();
    page.reset();
  }
  // Sets up the family (its initial image), lets `prepare` change the image,
  // then opens the page and gives it the keyboard.
  void open(const std::string& family, const std::function<void(Bytes&)>& prepare = {}) {
    ASSERT_TRUE(setUpFamily(family));
    if (prepare) prepare(modPublic.bytRadioData);
    page = std::make_unique<FrmMiscellaneous>();
    page->Show();
    page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
  }
  // Types a text into a box and leaves it for the next control.
  void enter(QLineEdit* box, const QString& text) {
    box->setFocus();
    QApplication::processEvents();
    box->setText(text);
    page->CmdAction[1]->setFocus();
    QApplication::processEvents();
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> t;
    for (const ShownBox& b : msgs.boxes) t.push_back(b.title + ": " + b.text);
    return t;
  }
  Bytes& image() { return modPublic.bytRadioData; }

  TempDir dir;
  RecordingMessages msgs;
  std::unique_ptr<FrmMiscellaneous> page;
};

}  // namespace

TEST_F(MiscPage, EnablesWhatTheFamilysRowOffers) {
  open("0");
  FrmMiscellaneous& p = *page;
  EXPECT_FALSE(p.lstKeyONBeep->isEnabled());  // no beeps in this family
  EXPECT_TRUE(grey(p.lstKeyONBeep));
  EXPECT_FALSE(p.updChangeSelect[0]->up->isEnabled());
  EXPECT_FALSE(grey(p.updChangeSelect[0]->up));  // arrows are only disabled
  EXPECT_TRUE(p.txtVOXResetTime->isEnabled());
  EXPECT_TRUE(p.Label2->isEnabled());
  EXPECT_FALSE(p.txtAutoTXResetTime->isEnabled());
  EXPECT_FALSE(p.Label1->isEnabled());
  EXPECT_TRUE(p.cboKeyAssign[2]->isEnabled());
  EXPECT_FALSE(p.CboRepeaterMode->isEnabled());
  EXPECT_EQ(p.cboSquelchSetVer->count(), 16);
  // Variable squelch stored: its level box is the one offered.
  EXPECT_TRUE(p.optSquelchSet[0]->isChecked());
  EXPECT_TRUE(p.cboSquelchSetVer->isEnabled());
  EXPECT_FALSE(p.cboSquelchSetFix->isEnabled());
  EXPECT_TRUE(p.optSquelchSet[0]->hasFocus());
  EXPECT_EQ(p.m_intLastChannel, 255);
  p.Unload();

  open("2");
  EXPECT_FALSE(page->optSquelchSet[0]->isEnabled());
  EXPECT_FALSE(page->cboSquelchSetFix->isEnabled());
  EXPECT_FALSE(page->cboPOWOFFTime->isEnabled());
  EXPECT_EQ(page->cboPOWOFFTime->currentIndex(), -1);  // a setting the family lacks shows none
  EXPECT_TRUE(page->lstLowBatteryAlarm->isEnabled());
  EXPECT_TRUE(page->CboCTCSSdeviation[2]->isEnabled());
  EXPECT_TRUE(msgs.boxes.empty());
}

TEST_F(MiscPage, FamilyOneTakesItsRowFromTheModelByteAndNeverAnEarlierOne) {
  // Rows told apart: the ZR330 row offers no TTL time.
  modPublic.strMiscMask[4][2] = '0';
  open("1", [](Bytes& b) {
    b[1017] = 1;
    b[801] |= 0x02;  // channel names: 100 channels
  });
  EXPECT_FALSE(page->txtTTLTime->isEnabled());
  EXPECT_EQ(page->cboSquelchSetFix->count(), 8);
  EXPECT_EQ(page->m_intLastChannel, 100);
  EXPECT_EQ(page->m_intChannelSplit, 50);
  page->Unload();

  modPublic.strMiscMask[4][2] = '0';
  open("1", [](Bytes& b) { b[1017] = 2; });
  EXPECT_TRUE(page->txtTTLTime->isEnabled());
  EXPECT_EQ(modPublic.strMiscMask[1], modPublic.strMiscMask[3]);
  page->Unload();

  // A model byte that is neither: every setting disabled, one message, and
  // nothing written, not even the starting-channel clean-up.
  open("1", [](Bytes& b) {
    b[1017] = 7;
    b[952] = 5;  // names an empty channel
  });
  const Bytes before = image();
  EXPECT_FALSE(page->txtTTLTime->isEnabled());
  EXPECT_FALSE(page->optSquelchSet[0]->isEnabled());
  EXPECT_FALSE(page->chkPTTKey->isEnabled());
  EXPECT_EQ(modPublic.strMiscMask[1], "");
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].title, "Form_Load");
  EXPECT_EQ(msgs.boxes[0].text,
            "No miscellaneous settings are known for this radio model\rThe settings are shown but can not be changed");
  page->txtEndForcus->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_FALSE(page->isLoaded());
  EXPECT_EQ(image(), before);
}

TEST_F(MiscPage, TypedFieldsAreCheckedWithTheirOwnTitles) {
  open("0", [](Bytes& b) {
    b[768 + 24 * 6] = 0x11;  // channel 7 holds data
    b[167] = 200;             // VOX reset 20.0 s: stored beyond what can be typed
  });
  FrmMiscellaneous& p = *page;
  // A stored value out of range holds nothing up.
  enter(p.txtTTLTime, "255");
  EXPECT_TRUE(msgs.boxes.empty());
  EXPECT_EQ(p.values.strTTLTime, "255");
  EXPECT_EQ(p.txtVOXResetTime->text(), "20.0");

  for (const char* bad : {"0", "256", "a1"}) {
    enter(p.txtStartingChannel, bad);
    EXPECT_EQ(p.values.strStartingChannel, "");
  }
  enter(p.txtStartingChannel, "5");
  enter(p.txtStartingChannel, "7");
  EXPECT_EQ(p.values.strStartingChannel, "7");
  enter(p.txtTTLTime, "256");
  enter(p.txtTTLTime, "2a");
  enter(p.txtVOXResetTime, "1.2.");
  enter(p.txtVOXResetTime, "9.96");
  enter(p.txtVOXResetTime, "1x");
  EXPECT_EQ(p.values.strVOXResetTime, "20");  // refused entries leave the stored value
  enter(p.txtVOXResetTime, "5");
  EXPECT_EQ(p.txtVOXResetTime->text(), "5.0");
  EXPECT_EQ(p.values.strVOXResetTime, "5.0");
  const std::vector<std::string> expected = {
      "InputDataCheck_StartingChannel: It is input beyond the number of maximums of the channel",
      "InputDataCheck_StartingChannel: It is input beyond the number of maximums of the channel",
      "InputDataCheck_StartingChannel: Input value range outside error\rInput is the range of the numerical value (0 - 9)",
      "InputDataCheck_StartingChannel: The channel of the input number is un-input",
      "InputDataCheck_TTLTime-P2: Input value range outside error",
      "InputDataCheck_TTLTime-P1: Input value range outside error\rInput is the range of the numerical value (0 - 9)",
      "InputDataCheck_VOXResetTime: The input of the decimal point overlaps",
      "InputDataCheck_VOXResetTime: Input value range outside error",
      "InputDataCheck_VOXResetTime: Input value range outside error\rInput is the range of the numerical value (0 - 9)",
  };
  EXPECT_EQ(texts(), expected);

  // A refused entry puts the stored value back and the focus into the box.
  enter(p.txtTTLTime, "999");
  QApplication::processEvents();
  EXPECT_EQ(p.txtTTLTime->text(), "255");
  EXPECT_TRUE(p.txtTTLTime->hasFocus());
  // Typed characters outside a box's set do not arrive.
  p.txtTTLTime->clear();
  QTest::keyClicks(p.txtTTLTime, "1a.2");
  EXPECT_EQ(p.txtTTLTime->text(), "12");
  p.txtVOXResetTime->clear();
  QTest::keyClicks(p.txtVOXResetTime, "1a.2");
  EXPECT_EQ(p.txtVOXResetTime->text(), "1.2");
  // Nor do letters outside Latin-1 (a Cyrillic keyboard layout).
  for (QLineEdit* box : {p.txtTTLTime, p.txtVOXResetTime}) {
    box->clear();
    QTest::keyClicks(box, "1");
    key(box, Qt::Key_A, QString::fromUtf8("\u0444"));
    key(box, Qt::Key_unknown, QString::fromUtf8("\u03b1"));
    EXPECT_EQ(box->text(), "1") << box->objectName().toStdString();
  }
  // Cleared and left, the TTL box shows 0 and the VOX box 0.0.
  enter(p.txtTTLTime, "");
  EXPECT_EQ(p.txtTTLTime->text(), "0");
  enter(p.txtVOXResetTime, "");
  EXPECT_EQ(p.txtVOXResetTime->text(), "0.0");
  p.Unload();
  EXPECT_EQ(image()[188], 0);
  EXPECT_EQ(image()[167], 0);
  EXPECT_EQ(image()[39], 7);
}

TEST_F(MiscPage, TheLastChannelOfEachFamilyIsAStartingChannel) {
  struct Case {
    const char* family;
    bool names;
    int last;
  } cases[] = {{"0", false, 255}, {"1", false, 200}, {"1", true, 100}, {"2", false, 99}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.family) + (c.names ? " with names" : ""));
    msgs.boxes.clear();
    open(c.family, [&c](Bytes& b) {
      if (c.names) b[801] |= 0x02;
      const ChanLayout layout = chanLayout(std::stoi(c.family), b);
      ASSERT_EQ(layout.lastChannel, c.last);
      b[static_cast<size_t>(layout.recordAddress(c.last))] = 0x12;  // the last channel holds data
      b[static_cast<size_t>(layout.recordAddress(c.last)) + 1] = 0x04;
    });
    FrmMiscellaneous& p = *page;
    enter(p.txtStartingChannel, QString::number(c.last + 1));
    ASSERT_EQ(msgs.boxes.size(), 1u);
    EXPECT_EQ(msgs.boxes[0].text, "It is input beyond the number of maximums of the channel");
    enter(p.txtStartingChannel, QString::number(c.last));
    EXPECT_EQ(msgs.boxes.size(), 1u);
    EXPECT_EQ(p.values.strStartingChannel, std::to_string(c.last));
    p.Unload();
    EXPECT_EQ(image()[std::string(c.family) == "0" ? 39 : 952], c.last);
  }
}

TEST_F(MiscPage, TextPutInFromOutsideIsCheckedAndTakenAsTypedText) {
  open("0", [](Bytes& b) { b[768 + 24 * 6] = 0x11; });  // channel 7 holds data
  FrmMiscellaneous& p = *page;
  p.CmdAction[1]->setFocus();
  QApplication::processEvents();
  putFromOutside(p.txtTTLTime, "200");
  putFromOutside(p.txtStartingChannel, "7");
  EXPECT_TRUE(msgs.boxes.empty());
  putFromOutside(p.txtVOXResetTime, "1x");
  QApplication::processEvents();
  const std::vector<std::string> expected = {
      "InputDataCheck_VOXResetTime: Input value range outside error\rInput is the range of the numerical value (0 - "
      "9)"};
  EXPECT_EQ(texts(), expected);
  EXPECT_EQ(p.txtVOXResetTime->text(), "0.0");
  EXPECT_TRUE(p.txtVOXResetTime->hasFocus());
  p.Unload();
  EXPECT_EQ(image()[188], 200);
  EXPECT_EQ(image()[39], 7);

  // The starting message drops what the family cannot show.
  open("1");
  page->CmdAction[1]->setFocus();
  QApplication::processEvents();
  putFromOutside(page->txtStartingMessage, "ab#c");
  EXPECT_EQ(page->txtStartingMessage->text(), "ABC");
  EXPECT_EQ(page->values.strStartingMessage, "ABC");
}

TEST_F(MiscPage, StartingMessageTakesOnlyTheFamilysCharacters) {
  open("1");
  QLineEdit* m = page->txtStartingMessage;
  m->setFocus();
  QApplication::processEvents();
  QTest::keyClicks(m, "ab#c");
  EXPECT_EQ(m->text(), "ABC");
  EXPECT_EQ(m->cursorPosition(), 3);
  m->setCursorPosition(1);
  m->insert("x%y");  // pasted: the sign in the middle drops out
  EXPECT_EQ(m->text(), "AXYBC");
  EXPECT_EQ(m->cursorPosition(), 3);
  EXPECT_EQ(m->maxLength(), 8);
  page->Unload();

  // A stored message is shown as stored; typing keeps the caret in place.
  open("0", [](Bytes& b) {
    const char stored[] = "ab{}cd      ";
    std::copy(stored, stored + 12, b.begin() + 48);
  });
  m = page->txtStartingMessage;
  EXPECT_EQ(m->text(), "ab{}cd      ");
  m->setFocus();
  QApplication::processEvents();
  m->setCursorPosition(1);
  QTest::keyClick(m, Qt::Key_Delete);
  EXPECT_EQ(m->text(), "acd      ");
  EXPECT_EQ(m->cursorPosition(), 1);
  m->setCursorPosition(3);
  QTest::keyClicks(m, "#");
  EXPECT_EQ(m->text(), "acd#      ");
  EXPECT_EQ(m->cursorPosition(), 4);
}

TEST_F(MiscPage, ListsCombosAndKeysStoreOnlyAllowedValues) {
  open("0");
  FrmMiscellaneous& p = *page;
  // Two-entry lists step within their ends.
  p.updChangeSelect_UpClick(5);
  EXPECT_EQ(p.values.strTXPowerChange, "0");
  p.updChangeSelect_DownClick(5);
  p.updChangeSelect_DownClick(5);
  EXPECT_EQ(p.values.strTXPowerChange, "1");

  // A function other than "Non" belongs to one key.
  p.cboKeyAssign[0]->setCurrentIndex(1);
  EXPECT_EQ(p.values.strFKeyAssign, "1");
  p.cboKeyAssign[1]->setCurrentIndex(1);
  EXPECT_EQ(p.values.strF1KeyAssign, "0");
  EXPECT_EQ(p.cboKeyAssign[1]->currentIndex(), 0);
  p.cboKeyAssign[0]->setCurrentIndex(0);
  p.cboKeyAssign[1]->setCurrentIndex(0);
  p.cboKeyAssign[2]->setCurrentIndex(0);
  p.cboKeyAssign[1]->setCurrentIndex(1);
  EXPECT_EQ(p.values.strFKeyAssign + p.values.strF1KeyAssign + p.values.strOptionKeyAssign, "010");

  // A combo change while a typed field is refused is undone.
  p.txtTTLTime->setFocus();
  QApplication::processEvents();
  p.txtTTLTime->setText("300");
  p.cboTXInhibit->setCurrentIndex(3);
  EXPECT_EQ(p.cboTXInhibit->currentIndex(), 0);
  EXPECT_EQ(p.values.strTXInhibit, "0");

  // Key lock captions follow the boxes.
  p.chkCallKey->setChecked(true);
  EXPECT_EQ(p.chkCallKey->text().toStdString(), "Call Key [DISABLE]");
  EXPECT_EQ(p.values.strKeyLockCall, "1");
  p.chkCallKey->setChecked(false);
  EXPECT_EQ(p.chkCallKey->text().toStdString(), "Call Key [ENABLE]");

  // The squelch mode switch moves the level boxes.
  p.optSquelchSet[1]->click();
  EXPECT_FALSE(p.cboSquelchSetVer->isEnabled());
  EXPECT_TRUE(p.cboSquelchSetFix->isEnabled());
  p.cboSquelchSetFix->setCurrentIndex(12);
  p.txtTTLTime->setText("0");
  p.Unload();
  EXPECT_EQ(image()[45] & 0x01, 1);
  EXPECT_EQ(image()[44] & 0x0F, 12);
  EXPECT_EQ(image()[87], 1);
  EXPECT_EQ(image()[45] & 0x10, 0x10);
}

TEST_F(MiscPage, FocusSinkClosesOnlyAfterAnAcceptedField) {
  open("2", [](Bytes& b) {
    b[1001] = 11;  // no list entry: stays as stored
    b[869] = 0x1F;
  });
  const Bytes before = image();
  FrmMiscellaneous& p = *page;
  EXPECT_EQ(p.CboTransmissionTime->currentIndex(), -1);
  p.txtAutoTXResetTime->setFocus();
  QApplication::processEvents();
  p.txtAutoTXResetTime->setText("12");
  p.txtEndForcus->setFocus(Qt::TabFocusReason);  // refused on the way to the sink
  QApplication::processEvents();
  QApplication::processEvents();
  EXPECT_TRUE(p.isLoaded());
  EXPECT_TRUE(p.txtAutoTXResetTime->hasFocus());
  EXPECT_EQ(msgs.boxes.size(), 1u);
  // The same through a list that is left for the sink.
  p.txtAutoTXResetTime->setText("2.5");
  p.lstLowBatteryAlarm->setFocus();
  QApplication::processEvents();
  p.CboCTCSSdeviation[1]->setCurrentIndex(7);
  p.txtEndForcus->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_FALSE(p.isLoaded());
  Bytes expected = before;
  expected[958] = 25;
  expected[869] = 0xFF;
  EXPECT_EQ(image(), expected);
}

TEST_F(MiscPage, ExitAndTheWindowsCloseTakeTheFieldBeingEdited) {
  // Pressed without the focus moving (a screen reader, a shortcut), Exit and
  // the window's close judge and take the field being edited all the same.
  open("0", [](Bytes& b) { b[768 + 24 * 6] = 0x11; });  // channel 7 holds data
  FrmMiscellaneous& p = *page;
  p.txtStartingChannel->setFocus();
  QApplication::processEvents();
  p.txtStartingChannel->setText("300");
  p.CmdAction_Click(1);
  EXPECT_TRUE(p.isLoaded());  // refused: the page stays with its message
  EXPECT_EQ(texts(), std::vector<std::string>{
                         "InputDataCheck_StartingChannel: It is input beyond the number of maximums of the channel"});
  QApplication::processEvents();
  p.txtStartingChannel->setText("7");
  p.CmdAction_Click(1);
  EXPECT_FALSE(p.isLoaded());
  EXPECT_EQ(image()[39], 7);
  page.reset();

  open("0");
  page->lstTXPowerChange->setFocus();
  QApplication::processEvents();
  page->lstTXPowerChange->setCurrentRow(1);
  page->close();
  EXPECT_FALSE(page->isLoaded());
  EXPECT_EQ(image()[45] & 0x10, 0x10);
}

TEST_F(MiscPage, OpeningAndClosingChangesNoByteButTheStartingChannelCleanUp) {
  for (const char* family : {"0", "1", "2"}) {
    SCOPED_TRACE(family);
    open(family, [](Bytes& b) {
      for (int i = 0; i < 64; ++i) b[static_cast<size_t>(800 + i)] ^= 0x5A;
      b[44] = 0xF3;
      b[957] = 0;
      b[848] = 0x03;
    });
    const Bytes before = image();
    page->subSetIniData();
    EXPECT_EQ(modPublic.udtPrtMisc, miscPrintTexts(before, modPublic.family()));
    page->CmdAction_Click(1);
    EXPECT_FALSE(page->isLoaded());
    EXPECT_EQ(image(), before);
  }
}

TEST_F(MiscPage, OpeningAndClosingOnImagesWeDidNotWriteChangesOnlyTheStartingChannelCleanUp) {
  for (int f : {0, 1, 2}) {
    ASSERT_TRUE(setUpFamily(std::to_string(f)));
    int n = 0;
    for (const Bytes& odd : oddImages(image(), 51u + static_cast<unsigned>(f))) {
      SCOPED_TRACE("family " + std::to_string(f) + " image " + std::to_string(n++));
      Bytes expected = odd;
      miscCleanStartingChannel(expected, f);
      open(std::to_string(f), [&odd](Bytes& b) { b = odd; });
      page->CmdAction[1]->click();
      EXPECT_FALSE(page->isLoaded());
      EXPECT_EQ(image(), expected);
      open(std::to_string(f), [&odd](Bytes& b) { b = odd; });
      page->close();
      EXPECT_EQ(image(), expected);
    }
  }
}

TEST_F(MiscPage, ScreenReadersFindEveryControlByItsCaption) {
  open("2");
  FrmMiscellaneous& p = *page;
  auto name = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
  for (int i = 2; i <= 32; ++i) {
    QLabel* l = p.lblMiscellaneous[static_cast<size_t>(i)];
    ASSERT_TRUE(l && l->buddy()) << i;
    EXPECT_EQ(name(l->buddy()), l->text()) << i;
  }
  // The rows of the two-entry lists (list and arrows) carry the caption too.
  for (kit::UpDownList* row : p.updChangeSelect) EXPECT_EQ(name(row), name(row->list));
  EXPECT_EQ(name(p.updChangeSelect[0]), "Key ON Beep");
  EXPECT_EQ(name(p.txtEndForcus), "Exit");  // tabbing onto it closes the page
  EXPECT_EQ(name(p.cboSquelchSetVer), "Squelch Set <Ver>");
  EXPECT_EQ(name(p.cboSquelchSetFix), "Squelch Set <Fix>");
  // A drop-down list reads its chosen entry as its value and its text.
  QAccessibleInterface* repeater = QAccessible::queryAccessibleInterface(p.CboRepeaterMode);
  EXPECT_EQ(repeater->role(), QAccessible::ComboBox);
  EXPECT_EQ(repeater->text(QAccessible::Value), "Mode 1");
  ASSERT_TRUE(repeater->textInterface());
  EXPECT_EQ(repeater->textInterface()->text(0, -1), "Mode 1");
  EXPECT_TRUE(QAccessible::queryAccessibleInterface(p.cboPOWOFFTime)->state().disabled);
}

TEST_F(MiscPage, EveryNumberBoxAndTheMessageShowTheirLongestValueWholeInBothLanguages) {
  const QString digits = "0123456789", times = "0123456789.";
  widths::inEachLanguage([&](const char* language) {
    for (const char* f : {"0", "1", "2"}) {
      SCOPED_TRACE(std::string(language) + " family " + f);
      open(f);
      FrmMiscellaneous& p = *page;
      for (QLineEdit* box : {p.txtTTLTime, p.txtStartingChannel})
        EXPECT_TRUE(widths::showsWhole(box, widths::longest(box, digits))) << box->objectName().toStdString();
      for (QLineEdit* box : {p.txtVOXResetTime, p.txtAutoTXResetTime})
        EXPECT_TRUE(widths::showsWhole(box, widths::longest(box, times))) << box->objectName().toStdString();
      // The message at its family's length, in the widest of the letters it takes.
      const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
      EXPECT_EQ(p.txtStartingMessage->maxLength(), std::string(f) == "0" ? 12 : std::string(f) == "1" ? 8 : 14);
      EXPECT_TRUE(widths::showsWhole(p.txtStartingMessage, widths::longest(p.txtStartingMessage, letters)));
      p.Unload();
    }
  });
}

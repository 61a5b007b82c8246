// The decode page driven headless with real widgets.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "core/startup_fixture.h"
#include "platform/base/strtable.h"
#include "platform/gui/settingskit.h"
#include "selcall/pages/frmdecodeset.h"
#include "support/outside.h"
#include "support/keys.h"
#include "support/widths.h"
#include "support/oddimages.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {
using Bytes = std::vector<uint8_t>;



bool grey(QWidget* w) { return w->palette().color(QPalette::Base) == vbui::color(0xC0C0C0); }

const char* kFormatMessage = "As for setting up this item\r5Tone It is the setup of Encode Format 2-5";
const char* kAttachMessage = "Only applicable for\rDTMF Encode Attach Decode No. [ON]";
}  // namespace

class DecodePage : public StartupRoad {
 protected:
  FrmDecodeSet* open() {
    auto* page = new FrmDecodeSet;
    page->Show();
    pages.emplace_back(page);
    return page;
  }
  // Opened as the active window, as the keyboard and focus tests need it.
  FrmDecodeSet* openActive() {
    FrmDecodeSet* page = open();
    page->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(page));
    return page;
  }
  // The encode side the cross-checks read: its format code, its 5-tone
  // "Encode Format" index and "Attach Decode No.".
  void encode(int code, int fiveToneFormat, bool attach) {
    const bool f0 = modPublic.family() == 0;
    image()[f0 ? 42 : 810] = static_cast<uint8_t>(code);
    image()[f0 ? 185 : 953] = static_cast<uint8_t>(fiveToneFormat);
    image()[f0 ? 186 : 954] = attach ? 0x40 : 0x00;
  }
  std::vector<std::unique_ptr<FrmDecodeSet>> pages;
};

TEST_F(DecodePage, OpeningAndClosingWithoutEditsChangesNoByte) {
  for (const char* f : {"0", "1", "2"}) {
    for (int variant = 0; variant < 3; ++variant) {
      SCOPED_TRACE(std::string(f) + " variant " + std::to_string(variant));
      family(f);
      const bool f0 = std::string(f) == "0";
      if (variant == 1) {
        // 5-tone (DTMF for the portable) with values beyond their lists.
        put(f0 ? 66 : 834, {static_cast<uint8_t>(f0 ? 0xFA : 0xF8)});
        put(f0 ? 79 : 847, {0xFF});
        put(f0 ? 67 : 835, {0xFF});
        put(f0 ? 81 : 849, {0xA7});
        if (!f0) put(959, {0xFF});
      } else if (variant == 2) {
        // A format code outside the four formats (the portable: none).
        put(f0 ? 66 : 834, {0xFD});
      }
      const Bytes before = image();
      // Closed by Exit, by tabbing past the last field and by the window's box.
      FrmDecodeSet* page = open();
      page->CmdAction_Click(1);
      EXPECT_FALSE(page->isLoaded());
      EXPECT_EQ(image(), before);
      page = open();
      page->txtEndForcus_GotFocus();
      EXPECT_FALSE(page->isLoaded());
      page = open();
      page->close();
      EXPECT_FALSE(page->isLoaded());
      EXPECT_EQ(image(), before);
    }
  }
  EXPECT_TRUE(msgs.boxes.empty());
}

TEST_F(DecodePage, OpeningAndClosingOnImagesWeDidNotWriteChangesNoByte) {
  for (int f : {0, 1, 2}) {
    family(std::to_string(f));
    int n = 0;
    for (const Bytes& odd : oddImages(image(), 41u + static_cast<unsigned>(f))) {
      SCOPED_TRACE("family " + std::to_string(f) + " image " + std::to_string(n++));
      image() = odd;
      FrmDecodeSet* page = open();
      page->CmdAction_Click(1);
      EXPECT_FALSE(page->isLoaded());
      EXPECT_EQ(image(), odd);
      page = open();
      page->close();
      EXPECT_EQ(image(), odd);
    }
  }
}

TEST_F(DecodePage, FormatSwitchEnablesByMaskRebuildsListsAndConvertsCodes) {
  family("1");
  put(834, {0x00});                    // 5-tone
  put(830, {0x21, 0xBA, 0xF0, 0xFF});  // decode number 12AB0FFF
  put(944, {0x21, 0x43, 0xFF, 0xFF});  // fix display digit 1234FFFF
  put(847, {0x03});                    // 5-tone group number 3
  put(955, {0x0B});                    // DTMF group number 11 ("*")
  put(849, {0x02});                    // reset number "D"
  FrmDecodeSet* page = open();
  EXPECT_TRUE(page->optDecodeMenu[0]->isChecked());
  EXPECT_FALSE(page->optDecodeMenu[4]->isEnabled());
  EXPECT_EQ(page->txtDecodeNo->text(), "12AB0FFF");
  EXPECT_EQ(page->cboGroupNo->count(), 15);
  EXPECT_EQ(page->cboGroupNo->currentText(), "3");
  EXPECT_EQ(page->cboResetNo->currentText(), "D");
  EXPECT_TRUE(page->txtAnswerNo->isEnabled());
  EXPECT_FALSE(page->cboAnswerTime->isEnabled());
  EXPECT_TRUE(grey(page->cboAnswerTime));
  EXPECT_FALSE(page->lblDecodeSetting[kDecAnswerTime]->isEnabled());
  EXPECT_TRUE(page->lstLimitedDecode->isEnabled());
  EXPECT_TRUE(page->updChangeSelect[1]->up->isEnabled());

  page->optDecodeMenu[3]->click();  // DTMF
  EXPECT_EQ(page->values.strDecodeFormat, "3");
  EXPECT_EQ(page->txtDecodeNo->text(), "120*DCCC");
  EXPECT_EQ(page->txtDecodeNo->toolTip(), "Valid Data : 1 2 3 4 5 6 7 8 9 0 * # A B C D");
  EXPECT_EQ(page->txtFixDsplayDigit->text(), "1234FFFF");  // always in hex form
  EXPECT_EQ(page->txtFixDsplayDigit->toolTip(), "Valid Data : 0 1 2 3 4 5 6 7 8 9 A B C D E F");
  EXPECT_EQ(page->cboGroupNo->count(), 16);
  EXPECT_EQ(page->cboGroupNo->currentText(), "*");
  EXPECT_EQ(page->cboResetNo->currentText(), "A");
  EXPECT_FALSE(page->txtAnswerNo->isEnabled());
  EXPECT_TRUE(page->cboAnswerTime->isEnabled());
  EXPECT_FALSE(grey(page->cboAnswerTime));
  EXPECT_FALSE(page->lstLimitedDecode->isEnabled());
  EXPECT_FALSE(page->updChangeSelect[1]->up->isEnabled());
  page->cboGroupNo->setCurrentIndex(12);
  emit page->cboGroupNo->activated(12);  // "#" for DTMF
  EXPECT_EQ(page->values.m_strGroupNoDtmf, "12");
  EXPECT_EQ(page->values.m_strGroupNo5Tone, "3");

  page->optDecodeMenu[7]->click();  // no decode keeps the DTMF form
  EXPECT_EQ(page->txtDecodeNo->text(), "120*DCCC");
  EXPECT_FALSE(page->txtDecodeNo->isEnabled());
  EXPECT_FALSE(page->lblDecodeSetting[kDecKillStatus]->isEnabled());
  page->optDecodeMenu[0]->click();
  EXPECT_EQ(page->txtDecodeNo->text(), "12AB0FFF");
  EXPECT_EQ(page->cboGroupNo->currentText(), "3");
  page->optDecodeMenu[3]->click();
  page->CmdAction_Click(1);
  EXPECT_EQ(image()[834] & 0x07, 3);
  EXPECT_EQ(bytes(830, 4), (Bytes{0x21, 0xBA, 0xF0, 0xFF}));  // same digits, no byte changed
  EXPECT_EQ(image()[955], 0x0C);
  EXPECT_EQ(image()[847], 0x03);
}

TEST_F(DecodePage, StoredFormatOutsideTheFourShowsAsNoDecodeUntilAFormatIsPicked) {
  family("2");
  put(834, {0x06});
  put(847, {0x0F});  // a 5-tone group number beyond the list of 15
  FrmDecodeSet* page = open();
  EXPECT_TRUE(page->optDecodeMenu[7]->isChecked());
  EXPECT_EQ(page->values.strDecodeFormat, "");
  EXPECT_FALSE(page->txtDecodeNo->isEnabled());
  page->optDecodeMenu[7]->click();  // choosing no decode is a choice too
  page->CmdAction_Click(1);
  EXPECT_EQ(image()[834], 0x07);

  put(834, {0x06});
  page = open();
  page->optDecodeMenu[0]->click();
  EXPECT_EQ(page->cboGroupNo->currentIndex(), -1);  // beyond the list: nothing shown
  page->CmdAction_Click(1);
  EXPECT_EQ(image()[834], 0x00);
  EXPECT_EQ(image()[847], 0x0F);
  EXPECT_TRUE(msgs.boxes.empty());
}

TEST_F(DecodePage, CodeBoxesTypeOverInTheFormsAlphabetAndAreTakenOnLeaving) {
  family("0");
  put(66, {0x02});  // DTMF
  put(212, {0xFF, 0xFF, 0xFF, 0xFF});
  put(224, {0x00, 0x00, 0x00, 0x00});
  encode(0x02, 1, true);
  FrmDecodeSet* page = open();
  QLineEdit* box = page->txtDecodeNo;
  EXPECT_EQ(box->text(), "CCCCCCCC");
  page->codeBox_GotFocus(box);
  type(box, "1e#");  // "E" is no DTMF key
  key(box, Qt::Key_3, "#", Qt::ShiftModifier);
  key(box, Qt::Key_Asterisk, "*", Qt::KeypadModifier);
  EXPECT_EQ(box->text(), "1##*CCCC");
  key(box, Qt::Key_Left);
  key(box, Qt::Key_Backspace);  // removes the "*", the empty key comes in at the end
  EXPECT_EQ(box->text(), "1##CCCCC");
  EXPECT_EQ(box->selectionStart(), 2);
  key(box, Qt::Key_Escape);  // refused, the page stays
  EXPECT_TRUE(page->isLoaded());
  page->codeBox_LostFocus(box);
  EXPECT_EQ(page->values.m_strDecodeNo, "1##CCCCC");

  // 5-tone: the same digits in hex form; the fix display digit, a 5-tone
  // setting, takes hex digits only.
  page->optDecodeMenu[0]->click();
  EXPECT_EQ(box->text(), "1CCFFFFF");
  encode(0x01, 2, true);
  page->codeBox_GotFocus(page->txtFixDsplayDigit);
  type(page->txtFixDsplayDigit, "a#9");
  EXPECT_EQ(page->txtFixDsplayDigit->text(), "A9000000");
  page->codeBox_LostFocus(page->txtFixDsplayDigit);
  EXPECT_TRUE(msgs.boxes.empty());
  page->CmdAction_Click(1);
  EXPECT_EQ(bytes(212, 4), (Bytes{0xC1, 0xFC, 0xFF, 0xFF}));
  EXPECT_EQ(bytes(224, 4), (Bytes{0x9A, 0x00, 0x00, 0x00}));
  EXPECT_EQ(image()[66] & 0x07, 1);
}

TEST_F(DecodePage, CodeBoxesWithoutAFormTakeNoKeyAndStillEnd) {
  family("1");
  modPublic.strDecMask[1][7] = std::string(40, '1');  // a control data that offers the codes with no decode
  FrmDecodeSet* page = open();
  QLineEdit* box = page->txtKillNo;
  const QString before = box->text();
  page->codeBox_GotFocus(box);
  type(box, "12");
  EXPECT_EQ(box->text(), before);
  key(box, Qt::Key_Delete);
  key(box, Qt::Key_Backspace);
  EXPECT_EQ(box->text(), before.mid(2) + "FF");
  EXPECT_EQ(box->text().size(), 8);
}

TEST_F(DecodePage, DisplayDigitAndFixDisplayDigitAgreeWithTheEncodeSettings) {
  family("2");
  put(834, {0x00});  // 5-tone
  encode(0x00, 0, false);  // 5-tone encode, first Encode Format
  FrmDecodeSet* page = open();

  page->cboDisplayDigit->setCurrentIndex(3);
  emit page->cboDisplayDigit->activated(3);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, kFormatMessage);
  EXPECT_EQ(msgs.boxes[0].title, "cboDisplayDigit_Change");
  EXPECT_EQ(msgs.boxes[0].style, 48);
  EXPECT_EQ(page->cboDisplayDigit->currentIndex(), 0);
  EXPECT_EQ(page->values.m_strDisplayDigit, "0");

  page->codeBox_GotFocus(page->txtFixDsplayDigit);
  type(page->txtFixDsplayDigit, "7");
  ASSERT_EQ(msgs.boxes.size(), 2u);
  EXPECT_EQ(msgs.boxes[1].text, kFormatMessage);
  EXPECT_EQ(page->txtFixDsplayDigit->text().toStdString(), page->values.m_strFixDisplayDigit);

  page->optDecodeMenu[3]->click();  // DTMF: needs a DTMF encode with Attach Decode No.
  page->cboDisplayDigit->setCurrentIndex(2);
  emit page->cboDisplayDigit->activated(2);
  ASSERT_EQ(msgs.boxes.size(), 3u);
  EXPECT_EQ(msgs.boxes[2].text, kAttachMessage);
  EXPECT_EQ(page->values.m_strDisplayDigit, "0");
  page->CmdAction_Click(1);

  encode(0x02, 0, true);
  page = open();
  page->optDecodeMenu[3]->click();
  page->cboDisplayDigit->setCurrentIndex(2);
  emit page->cboDisplayDigit->activated(2);
  EXPECT_EQ(msgs.boxes.size(), 3u);
  EXPECT_EQ(page->values.m_strDisplayDigit, "2");
  page->CmdAction_Click(1);
  EXPECT_EQ(image()[934] & 0x0F, 2);
}

TEST_F(DecodePage, LimitedDecodeRuleHoldsForTheArrowsAndTheKeyboard) {
  family("0");
  put(66, {0x01});  // 5-tone
  put(170, {0x20});  // limited decode OFF, an encode bit beside it
  encode(0x01, 0, false);
  FrmDecodeSet* page = openActive();

  page->updChangeSelect[1]->down->click();
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, kFormatMessage);
  EXPECT_EQ(page->values.m_strLimitedDecode, "0");

  page->lstLimitedDecode->setFocus();
  QApplication::processEvents();
  key(page->lstLimitedDecode, Qt::Key_Down);
  QApplication::processEvents();
  EXPECT_EQ(msgs.boxes.size(), 2u);
  EXPECT_EQ(page->lstLimitedDecode->currentRow(), 0);
  page->txtKillNo->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(page->values.m_strLimitedDecode, "0");

  // The other lists are never held back by the encode format.
  page->updChangeSelect[0]->down->click();
  EXPECT_EQ(page->values.m_strGroupMode, "1");
  EXPECT_EQ(msgs.boxes.size(), 2u);
  page->CmdAction_Click(1);
  EXPECT_EQ(image()[170], 0x20);

  encode(0x01, 3, false);
  page = openActive();
  page->lstLimitedDecode->setFocus();
  QApplication::processEvents();
  key(page->lstLimitedDecode, Qt::Key_Down);
  page->txtKillNo->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(page->values.m_strLimitedDecode, "1");
  EXPECT_EQ(page->lstLimitedDecode->currentRow(), -1);  // no entry highlighted without the focus
  EXPECT_EQ(page->lstLimitedDecode->accessibleDescription(), "ON");  // but the value is in view
  page->CmdAction_Click(1);
  EXPECT_EQ(image()[170], 0x30);
  EXPECT_EQ(msgs.boxes.size(), 2u);
}

TEST_F(DecodePage, AutoResetTimeTakesDigitsUpTo255) {
  family("1");
  put(834, {0x00});
  put(853, {20});
  FrmDecodeSet* page = open();
  page->txtAutoResetTime->clear();
  type(page->txtAutoResetTime, "2a56");
  EXPECT_EQ(page->txtAutoResetTime->text(), "256");
  page->txtAutoResetTime_LostFocus();
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Input value range outside error");
  EXPECT_EQ(msgs.boxes[0].title, "InputDataCheck");
  EXPECT_EQ(page->txtAutoResetTime->text(), "20");
  // A paste holds to the digits as typing does.
  QApplication::clipboard()->setText("1a");
  page->txtAutoResetTime->selectAll();
  page->txtAutoResetTime->paste();
  EXPECT_EQ(page->txtAutoResetTime->text(), "20");
  // A refused time holds back the other changes too.
  page->txtAutoResetTime->setText("300");
  page->updChangeSelect[0]->down->click();
  EXPECT_EQ(msgs.boxes.size(), 2u);
  EXPECT_EQ(page->values.m_strGroupMode, "0");
  page->txtAutoResetTime->setText("255");
  page->txtAutoResetTime_LostFocus();
  page->CmdAction_Click(1);
  EXPECT_EQ(image()[853], 255);
}

TEST_F(DecodePage, TextPutInFromOutsideMeetsTheKeysRulesAndTheCheck) {
  family("0");
  put(66, {0x02});  // DTMF
  put(212, {0xFF, 0xFF, 0xFF, 0xFF});
  encode(0x02, 1, true);
  FrmDecodeSet* page = open();
  putFromOutside(page->txtDecodeNo, "1#*");
  EXPECT_EQ(page->txtDecodeNo->text(), "1#*CCCCC");
  putFromOutside(page->txtDecodeNo, "1E");  // no DTMF key: refused silently
  EXPECT_EQ(page->txtDecodeNo->text(), "1#*CCCCC");
  EXPECT_TRUE(msgs.boxes.empty());
  page->CmdAction_Click(1);
  EXPECT_EQ(bytes(212, 4), (Bytes{0xC1, 0xFB, 0xFF, 0xFF}));

  // The fix display digit keeps its rule and its message.
  family("2");
  put(834, {0x00});  // 5-tone
  encode(0x00, 0, false);
  page = open();
  const QString fix = page->txtFixDsplayDigit->text();
  putFromOutside(page->txtFixDsplayDigit, "7");
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, kFormatMessage);
  EXPECT_EQ(page->txtFixDsplayDigit->text(), fix);
  page->CmdAction_Click(1);

  // The reset time: the check's refusal puts the value and the focus back;
  // a letter never gets in; a value in range is written.
  family("1");
  put(834, {0x00});
  put(853, {20});
  msgs.boxes.clear();
  page = open();
  putFromOutside(page->txtAutoResetTime, "300");
  QApplication::processEvents();
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Input value range outside error");
  EXPECT_EQ(page->txtAutoResetTime->text(), "20");
  EXPECT_EQ(page->focusWidget(), page->txtAutoResetTime);
  page->CmdAction[1]->setFocus();
  QApplication::processEvents();
  putFromOutside(page->txtAutoResetTime, "2a");
  EXPECT_EQ(page->txtAutoResetTime->text(), "20");
  putFromOutside(page->txtAutoResetTime, "255");
  EXPECT_EQ(msgs.boxes.size(), 1u);
  page->CmdAction_Click(1);
  EXPECT_EQ(image()[853], 255);
}

TEST_F(DecodePage, KillStatusIsReadOnActivation) {
  family("1");
  put(849, {0xA1});
  FrmDecodeSet* page = open();
  EXPECT_EQ(page->labKillStatus->text(), "ON");
  page->CmdAction_Click(1);
  EXPECT_EQ(image()[849], 0xA1);
}

TEST_F(DecodePage, ClosingByTheWindowsBoxKeepsTheFieldBeingEdited) {
  family("2");
  put(834, {0x00});
  put(830, {0xFF, 0xFF, 0xFF, 0xFF});
  FrmDecodeSet* page = openActive();
  page->txtDecodeNo->setFocus();
  QApplication::processEvents();
  type(page->txtDecodeNo, "42");
  page->close();
  EXPECT_FALSE(page->isLoaded());
  EXPECT_EQ(bytes(830, 4), (Bytes{0x24, 0xFF, 0xFF, 0xFF}));

  // The auto reset time at its upper end, typed and closed the same way.
  put(853, {20});
  page = openActive();
  page->txtAutoResetTime->setFocus();
  QApplication::processEvents();
  page->txtAutoResetTime->clear();
  type(page->txtAutoResetTime, "255");
  page->close();
  EXPECT_FALSE(page->isLoaded());
  EXPECT_EQ(image()[853], 255);
  EXPECT_TRUE(msgs.boxes.empty());
}

namespace {
// Message boxes that come up as windows in front of the page, as on a
// desktop, and stay up until the test takes them away.
struct BoxesInFront : MessageService {
  explicit BoxesInFront(RecordingMessages& r) : record(r) { setMessageService(this); }
  ~BoxesInFront() override { setMessageService(&record); }
  int msgBox(const std::string& text, int style, const std::string& title) override {
    box = std::make_unique<QWidget>();
    box->show();
    box->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(box.get()));
    return record.msgBox(text, style, title);
  }
  void playWave(const std::string& path) override { record.playWave(path); }
  // The box is answered: the page's window comes to the front again.
  void answered(QWidget* page) {
    box.reset();
    page->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(page));
    QApplication::processEvents();
  }
  RecordingMessages& record;
  std::unique_ptr<QWidget> box;
};
}  // namespace

TEST_F(DecodePage, RefusedLimitedDecodeKeepsItsValueWhenThePageClosesByTheWindowsBox) {
  family("0");
  put(66, {0x01});   // 5-tone
  put(170, {0x30});  // limited decode ON, an encode bit beside it
  encode(0x01, 0, false);
  FrmDecodeSet* page = openActive();
  page->txtKillNo->setFocus();
  QApplication::processEvents();
  BoxesInFront boxes(msgs);

  // The arrows are refused; the list gets the focus while the box is up.
  page->updChangeSelect[1]->up->click();
  boxes.answered(page);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_TRUE(page->lstLimitedDecode->hasFocus());
  EXPECT_EQ(page->lstLimitedDecode->currentRow(), 1);
  page->close();
  EXPECT_EQ(image()[170], 0x30);

  // The keyboard's step is refused the same way, with the list focused all along.
  put(170, {0x30});
  page = openActive();
  page->lstLimitedDecode->setFocus();
  QApplication::processEvents();
  key(page->lstLimitedDecode, Qt::Key_Up);
  QApplication::processEvents();
  boxes.answered(page);
  ASSERT_EQ(msgs.boxes.size(), 2u);
  EXPECT_EQ(page->lstLimitedDecode->currentRow(), 1);
  page->close();
  EXPECT_EQ(image()[170], 0x30);

  // Closed before the refusal could come: the step is not taken either.
  page = openActive();
  page->lstLimitedDecode->setFocus();
  QApplication::processEvents();
  key(page->lstLimitedDecode, Qt::Key_Up);
  page->CmdAction_Click(1);
  EXPECT_EQ(image()[170], 0x30);
}

TEST_F(DecodePage, MenuAndFramesFollowTheLanguage) {
  family("1");
  struct BackToEnglish {
    ~BackToEnglish() { strtable::load(std::string(), "en"); }
  } back;
  strtable::load(std::string(), "ja");
  FrmDecodeSet* page = open();
  EXPECT_EQ(page->mnuHelp->text().toStdString(), "ヘルプ(&H)");
  EXPECT_EQ(page->fraDecodeSetting->title().toStdString(), "デコード設定");
  page->CmdAction_Click(1);
}

TEST_F(DecodePage, EveryStopOfTheTabOrderHasAnAccessibleName) {
  family("2");
  put(834, {0x00});
  FrmDecodeSet* page = open();
  int stops = 0;
  for (QWidget* w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
    if (!(w->focusPolicy() & Qt::TabFocus) || !page->isAncestorOf(w)) continue;
    ++stops;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << w->objectName().toStdString();
  }
  EXPECT_GE(stops, kDecodeSettings + 2);  // every setting, Exit and the last stop
}

TEST_F(DecodePage, PressesThatDoNotMoveTheFocusLeaveTheFieldBeingEditedFirst) {
  family("1");
  put(834, {0x00});
  put(830, {0x21, 0x43, 0xFF, 0xFF});
  FrmDecodeSet* page = openActive();
  page->txtDecodeNo->setFocus();
  QApplication::processEvents();
  type(page->txtDecodeNo, "987");
  // A screen reader's press on the option does not move the focus first.
  page->optDecodeMenu[3]->click();
  EXPECT_EQ(page->values.strDecodeFormat, "3");
  EXPECT_EQ(page->txtDecodeNo->text(), "9874CCCC");
  // A time out of range is refused before the format changes.
  page->txtAutoResetTime->setFocus();
  QApplication::processEvents();
  page->txtAutoResetTime->setText("300");
  page->optDecodeMenu[0]->click();
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Input value range outside error");
  EXPECT_EQ(page->values.strDecodeFormat, "3");
  EXPECT_TRUE(page->optDecodeMenu[3]->isChecked());
  EXPECT_EQ(page->txtDecodeNo->text(), "9874CCCC");
  // So is Exit pressed with the time still out of range.
  page->txtAutoResetTime->setFocus();
  QApplication::processEvents();
  page->txtAutoResetTime->setText("300");
  page->CmdAction_Click(1);
  ASSERT_EQ(msgs.boxes.size(), 2u);
  EXPECT_TRUE(page->isLoaded());
  QApplication::processEvents();
  EXPECT_TRUE(page->txtAutoResetTime->hasFocus());
  page->txtAutoResetTime->setText("45");
  page->CmdAction_Click(1);
  EXPECT_FALSE(page->isLoaded());
  EXPECT_EQ(bytes(830, 4), (Bytes{0x89, 0x47, 0xFF, 0xFF}));
  EXPECT_EQ(image()[834] & 0x07, 3);
  EXPECT_EQ(image()[853], 45);
}

TEST_F(DecodePage, EveryCodeAndNumberBoxShowsItsLongestValueWholeInBothLanguages) {
  widths::inEachLanguage([&](const char* language) {
    for (const char* f : {"0", "1"}) {
      SCOPED_TRACE(std::string(language) + " family " + f);
      family(f);
      FrmDecodeSet* page = open();
      int boxes = 0;
      for (QLineEdit* box : page->fraDecodeSetting->findChildren<QLineEdit*>()) {
        const bool time = box == page->txtAutoResetTime;
        EXPECT_EQ(box->maxLength(), time ? 3 : 8);
        EXPECT_TRUE(widths::showsWhole(box, widths::longest(box, time ? "0123456789" : "0123456789ABCDEF*#")))
            << box->objectName().toStdString();
        ++boxes;
      }
      EXPECT_GE(boxes, 5);
      page->CmdAction_Click(1);
    }
  });
}

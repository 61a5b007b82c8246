// The encode and memory-encode pages driven headless with real widgets.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "core/identity.h"
#include "core/startup_fixture.h"
#include "platform/gui/helpviewer.h"
#include "selcall/pages/frmencodeset.h"
#include "selcall/pages/frmmemoryencode.h"
#include "support/outside.h"
#include "support/keys.h"
#include "support/widths.h"
#include "support/oddimages.h"
#include "platform/base/strtable.h"
#include "selcall/memenc.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {
using Bytes = std::vector<uint8_t>;



bool grey(QWidget* w) { return w->palette().color(QPalette::Base) == vbui::color(0xC0C0C0); }
}  // namespace

class EncodePage : public StartupRoad {
 protected:
  FrmEncodeSet* open() {
    auto* page = new FrmEncodeSet;
    page->Show();
    pages.emplace_back(page);
    return page;
  }
  FrmMemoryEncode* openMemory() {
    auto* page = new FrmMemoryEncode;
    page->Show();
    memoryPages.emplace_back(page);
    return page;
  }
  std::vector<std::unique_ptr<FrmEncodeSet>> pages;
  std::vector<std::unique_ptr<FrmMemoryEncode>> memoryPages;
};

TEST_F(EncodePage, OpeningAndClosingWithoutEditsChangesNoByte) {
  for (const char* f : {"0", "1", "2"}) {
    SCOPED_TRACE(f);
    family(f);
    const Bytes before = image();
    FrmEncodeSet* page = open();
    page->CmdAction_Click(1);
    EXPECT_FALSE(page->isLoaded());
    EXPECT_EQ(image(), before);
    FrmMemoryEncode* memory = openMemory();
    memory->CmdAction_Click(1);
    EXPECT_EQ(image(), before);
  }
  EXPECT_TRUE(msgs.boxes.empty());
  std::string text;
  for (const char* topic : {"Encode Set Menu", "Memory Encode Menu"})
    EXPECT_TRUE(help::topicText(help::locate("evelmora.hlp"), topic, text)) << topic;
}

TEST_F(EncodePage, OpeningAndClosingOnImagesWeDidNotWriteChangesOnlyTheLoadingCleanUp) {
  for (int f : {0, 1, 2}) {
    family(std::to_string(f));
    int n = 0;
    for (const Bytes& odd : oddImages(image(), 31u + static_cast<unsigned>(f))) {
      SCOPED_TRACE("family " + std::to_string(f) + " image " + std::to_string(n++));
      image() = odd;
      Bytes expected = odd;
      encodeCleanChannels(expected, f);
      FrmEncodeSet* page = open();
      page->CmdAction_Click(1);
      EXPECT_FALSE(page->isLoaded());
      EXPECT_EQ(image(), expected);
      image() = odd;
      page = open();
      page->close();  // the window's box
      EXPECT_EQ(image(), expected);
      image() = odd;
      FrmMemoryEncode* memory = openMemory();
      memory->CmdAction_Click(1);
      EXPECT_EQ(image(), odd);
    }
  }
}

TEST_F(EncodePage, AChannelWithoutDataShownAsNoneIsNoneInTheRadio) {
  for (int f : {0, 1, 2}) {
    SCOPED_TRACE(f);
    family(std::to_string(f));
    const int emergency = f == 0 ? 38 : 828;
    put(emergency, {5});
    if (f == 0) put(768 + 24 * 4, {0x00, 0x00});  // channel 5: no data
    else put(8 * 4, {0xFF, 0x3F});
    if (f != 0) put(936, {7});
    if (f != 0) put(8 * 6, {0xFF, 0x3F});
    Bytes expected = image();
    expected[static_cast<size_t>(emergency)] = f == 0 ? 0 : 255;
    if (f == 1) expected[936] = 255;  // family "2" never reads its transfer channel
    FrmEncodeSet* page = open();
    EXPECT_EQ(page->txtEmergencyChannel->text(), "");
    EXPECT_EQ(page->txtTransferChannel->text(), "");
    page->CmdAction_Click(1);
    EXPECT_EQ(image(), expected);
  }
  EXPECT_TRUE(msgs.boxes.empty());
}

TEST_F(EncodePage, FormatSwitchConvertsTheCodesRebuildsTonePeriodsAndEnablesByMask) {
  family("0");
  put(42, {0x01});                     // 5-tone
  put(200, {0x21, 0xBA, 0xF0, 0xFF});  // ANI number 12AB0FFF
  put(84, {0x07});
  put(191, {0x03});
  FrmEncodeSet* page = open();
  EXPECT_TRUE(page->optEncodeMenu[0]->isChecked());
  EXPECT_EQ(page->txtAniEncodeNo->text(), "12AB0FFF");
  EXPECT_EQ(page->cboTonePeriod->count(), 5);
  EXPECT_EQ(page->cboTonePeriod->currentText(), "70 ms");
  EXPECT_TRUE(page->cbo5ToneSet->isEnabled());
  EXPECT_FALSE(page->lstDtmfEncode->isEnabled());
  EXPECT_FALSE(page->updChangeSelect[2]->up->isEnabled());
  EXPECT_TRUE(grey(page->lstDtmfEncode));
  EXPECT_FALSE(page->txtAniEncodeNo->isEnabled());  // no ANI on plain 5-tone
  EXPECT_EQ(page->txtAniEncodeNo->toolTip(), "Valid Data : 0 1 2 3 4 5 6 7 8 9 A B C D E F");

  page->optEncodeMenu[6]->click();  // DTMF ANI
  EXPECT_EQ(page->values.strCodeForm, "C");
  EXPECT_EQ(page->txtAniEncodeNo->text(), "120*DCCC");
  EXPECT_EQ(page->txtEncodeNo->text(), "CCCCCCCCCCCCCCC");
  EXPECT_EQ(page->cboTonePeriod->count(), 10);
  EXPECT_EQ(page->cboTonePeriod->currentText(), "30 ms");
  EXPECT_FALSE(page->cbo5ToneSet->isEnabled());
  EXPECT_TRUE(grey(page->cbo5ToneSet));
  EXPECT_TRUE(page->txtAniEncodeNo->isEnabled());
  EXPECT_FALSE(grey(page->txtAniEncodeNo));
  EXPECT_TRUE(page->lblEncodeSetting[13]->isEnabled());
  EXPECT_TRUE(page->lstDtmfEncode->isEnabled());
  page->cboTonePeriod->setCurrentIndex(9);  // 100 ms for DTMF

  page->optEncodeMenu[7]->click();  // none: the codes keep their form and digits
  EXPECT_EQ(page->txtAniEncodeNo->text(), "120*DCCC");
  EXPECT_EQ(page->cboTonePeriod->currentIndex(), 0);
  EXPECT_FALSE(page->txtAniEncodeNo->isEnabled());
  page->optEncodeMenu[0]->click();
  EXPECT_EQ(page->txtAniEncodeNo->text(), "12AB0FFF");
  EXPECT_EQ(page->cboTonePeriod->currentText(), "70 ms");
  page->optEncodeMenu[2]->click();
  page->CmdAction_Click(1);
  EXPECT_EQ(bytes(200, 4), (Bytes{0x21, 0xBA, 0xF0, 0xFF}));
  EXPECT_EQ(image()[42], 0x02);
  EXPECT_EQ(image()[191], 0x0A);
  EXPECT_EQ(image()[84], 0x07);

  family("2");
  FrmEncodeSet* base = open();
  EXPECT_FALSE(base->optEncodeMenu[4]->isEnabled());
  EXPECT_FALSE(base->optEncodeMenu[6]->isEnabled());
  EXPECT_TRUE(base->optEncodeMenu[0]->isEnabled());
  base->Unload();
}

TEST_F(EncodePage, ControlsAreNamedByTheirCaptionsAndDropDownListsReadTheirEntry) {
  family("0");
  put(42, {0x13});  // 5-tone ANI, set 1ZVEI
  FrmEncodeSet* page = open();
  // A screen reader finds every setting by its row's caption; a drop-down
  // list reads its entry as its text.
  for (int i = 0; i < 30; ++i) {
    QWidget* control = page->lblEncodeSetting[static_cast<size_t>(i)]->buddy();
    ASSERT_NE(control, nullptr) << i;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
    ASSERT_NE(a, nullptr) << i;
    EXPECT_EQ(a->text(QAccessible::Name), page->lblEncodeSetting[static_cast<size_t>(i)]->text()) << i;
  }
  QAccessibleInterface* set = QAccessible::queryAccessibleInterface(page->cbo5ToneSet);
  ASSERT_NE(set->textInterface(), nullptr);
  EXPECT_EQ(set->textInterface()->text(0, set->textInterface()->characterCount()), "1ZVEI");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(page->cboSingleToneEncodeTime)->text(QAccessible::Name),
            "Single Tone Encode Time");
}

TEST_F(EncodePage, SingleToneTimeGreyWhileOffAndTheFocusStartsOnTheChosenFormat) {
  family("0");
  put(42, {0x13});  // 5-tone ANI
  put(79, {0x00});  // single tone off
  FrmEncodeSet* page = open();
  // Its time list is disabled and grey like the rows' lists, face included.
  EXPECT_FALSE(page->cboSingleToneEncodeTime->isEnabled());
  EXPECT_EQ(page->cboSingleToneEncodeTime->palette().color(QPalette::Button), vbui::color(0xC0C0C0));
  EXPECT_EQ(page->focusWidget(), page->optEncodeMenu[4]);  // not the first, unchosen format
}

TEST_F(EncodePage, ExitPressedWithoutTheFocusTakesTheFieldBeingEdited) {
  family("0");
  put(42, {0x01});
  FrmEncodeSet* page = open();
  page->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(page));
  // As a screen reader presses Exit: the focus stays in the box.
  page->txtEmergencyKeyTime->setFocus();
  QApplication::processEvents();
  page->txtEmergencyKeyTime->setText("12");
  page->CmdAction[1]->click();
  EXPECT_TRUE(page->isLoaded());  // refused: the page stays on the saved value
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].title, "InputDataCheck_EmergencyKeyTime");
  EXPECT_EQ(page->txtEmergencyKeyTime->text(), "0.0");
  QApplication::processEvents();
  EXPECT_TRUE(page->txtEmergencyKeyTime->hasFocus());
  page->txtEmergencyKeyTime->setText("4.5");
  page->CmdAction[1]->click();
  EXPECT_FALSE(page->isLoaded());
  EXPECT_EQ(image()[90], 45);
}

TEST_F(EncodePage, FormatPressedByAScreenReaderTakesTheCodeBeingTypedFirst) {
  family("0");
  put(42, {0x01});  // 5-tone
  put(192, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x5F});
  FrmEncodeSet* page = open();
  page->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(page));
  page->txtEncodeNo->setFocus();
  QApplication::processEvents();
  type(page->txtEncodeNo, "12B");
  // A screen reader switches the DTMF button on through its action (the one
  // it offers for an option button): the focus stays in the box, yet the
  // typed code is taken and converted.
  QAccessibleInterface* dtmf = QAccessible::queryAccessibleInterface(page->optEncodeMenu[2]);
  ASSERT_NE(dtmf, nullptr);
  ASSERT_NE(dtmf->actionInterface(), nullptr);
  ASSERT_TRUE(dtmf->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
  dtmf->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(page->txtEncodeNo->hasFocus() || page->optEncodeMenu[2]->hasFocus());
  QTest::qWait(250);
  EXPECT_EQ(page->values.strEncodeFormat, "2");
  EXPECT_EQ(page->txtEncodeNo->text(), "12*CCCCCCCCCCCC");
  // A refused entry keeps the format: the key time out of range, then 5-tone
  // switched on the same way.
  page->txtEmergencyKeyTime->setFocus();
  QApplication::processEvents();
  page->txtEmergencyKeyTime->setText("12");
  QAccessible::queryAccessibleInterface(page->optEncodeMenu[0])
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::toggleAction());
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].title, "InputDataCheck_EmergencyKeyTime");
  EXPECT_EQ(page->values.strEncodeFormat, "2");
  EXPECT_TRUE(page->optEncodeMenu[2]->isChecked());
  EXPECT_FALSE(page->optEncodeMenu[0]->isChecked());
  EXPECT_EQ(page->txtEncodeNo->text(), "12*CCCCCCCCCCCC");
  msgs.boxes.clear();
  page->CmdAction_Click(1);
  // Digits 1, 2, 11 then the empty digits, low nibble first; the box holds
  // 15 digits, and the high nibble of the last byte stays as stored.
  EXPECT_EQ(bytes(192, 8), (Bytes{0x21, 0xFB, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x5F}));
  EXPECT_EQ(image()[42] & 0x0F, 2);
  EXPECT_TRUE(msgs.boxes.empty());
}

TEST_F(EncodePage, TextPutInFromOutsideIsTakenOrRefusedAsTypedTextWouldBe) {
  family("1");
  put(810, {0x02});  // DTMF
  FrmEncodeSet* page = open();
  // A code box fills a short code with empty keys; a character no key types
  // is refused silently, as the box takes no paste.
  putFromOutside(page->txtEmergencyNo, "12*#0d");
  EXPECT_EQ(page->txtEmergencyNo->text(), "12*#0DCC");
  EXPECT_EQ(page->values.strEmergencyNo, "12*#0DCC");
  putFromOutside(page->txtEmergencyNo, "12E");
  EXPECT_EQ(page->txtEmergencyNo->text(), "12*#0DCC");
  EXPECT_TRUE(msgs.boxes.empty());
  page->CmdAction_Click(1);
  EXPECT_EQ(bytes(824, 4), (Bytes{0x21, 0xCB, 0x0A, 0xFF}));

  family("0");
  put(42, {0x01});
  page = open();
  // A number box: the check's refusal, with its message and the focus back;
  // a character its keys refuse; then a value that passes.
  putFromOutside(page->txtEmergencyKeyTime, "12");
  QApplication::processEvents();
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].title, "InputDataCheck_EmergencyKeyTime");
  EXPECT_EQ(page->txtEmergencyKeyTime->text(), "0.0");
  EXPECT_EQ(page->focusWidget(), page->txtEmergencyKeyTime);
  page->CmdAction[1]->setFocus();
  QApplication::processEvents();
  putFromOutside(page->txtEmergencyKeyTime, "4x");
  EXPECT_EQ(page->txtEmergencyKeyTime->text(), "0.0");
  EXPECT_EQ(msgs.boxes.size(), 1u);
  putFromOutside(page->txtEmergencyKeyTime, "4.5");
  EXPECT_EQ(page->values.strEmergencyKeyTime, "4.5");
  page->CmdAction_Click(1);
  EXPECT_EQ(image()[90], 45);
  EXPECT_EQ(msgs.boxes.size(), 1u);
}

TEST_F(EncodePage, CodeBoxesOverwriteTheirDigitsAndLeavingWritesTheKeys) {
  family("1");
  put(810, {0x02});  // DTMF
  FrmEncodeSet* page = open();
  QLineEdit* box = page->txtREncodeNo;
  EXPECT_EQ(box->text(), "CCCCCCCC");
  page->codes.focus(box);
  type(box, "12");
  key(box, Qt::Key_Asterisk, "*", Qt::KeypadModifier);
  key(box, Qt::Key_NumberSign, "#", Qt::ShiftModifier);
  type(box, "e0d");  // "E" is no DTMF key; "d" is the key D
  EXPECT_EQ(box->text(), "12*#0DCC");
  key(box, Qt::Key_Left);
  key(box, Qt::Key_Backspace);  // removes the D, refills with the empty key
  EXPECT_EQ(box->text(), "12*#0CCC");
  key(box, Qt::Key_Escape);  // accepted, then the page closes and writes
  EXPECT_FALSE(page->isLoaded());
  EXPECT_EQ(bytes(820, 4), (Bytes{0x21, 0xCB, 0xFA, 0xFF}));
}

TEST_F(EncodePage, InputCheckRangesChannelsAndKeyTimeMessages) {
  family("0");
  put(768 + 24 * 4, {0x11, 0x22});  // channel 5 holds data
  put(42, {0x01});
  FrmEncodeSet* page = open();
  page->txtAniIntervalTime->setEnabled(true);
  page->txtEmergencyChannel->setEnabled(true);
  struct Case {
    QLineEdit* box;
    const char* text;
    const char* message;  // "" passes
    const char* title;
  } cases[] = {
      {page->txtAniIntervalTime, "255", "", ""},
      {page->txtAniIntervalTime, "256", "Input value range outside error", "InputDataCheck_AniIntervalTime"},
      {page->txtEmergencyChannel, "0", "Input value range outside error", "InputDataCheck_EmergencyChannel"},
      {page->txtEmergencyChannel, "256", "Input value range outside error", "InputDataCheck_EmergencyChannel"},
      {page->txtEmergencyChannel, "3", "The channel of the input number is un-input", "InputDataCheck_EmergencyChannel"},
      {page->txtEmergencyChannel, "5", "", ""},
      {page->txtEmergencyKeyTime, "9.9", "", ""},
      {page->txtEmergencyKeyTime, "10", "Input value range outside error", "InputDataCheck_EmergencyKeyTime"},
      {page->txtEmergencyKeyTime, "1..", "The input of the decimal point overlaps", "InputDataCheck_EmergencyKeyTime"},
      {page->txtEmergencyKeyTime, "1a",
       "Input value range outside error\rInput is the range of the numerical value (0 - 9)",
       "InputDataCheck_EmergencyKeyTime"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    msgs.boxes.clear();
    page->subRestoreEncodeControls();
    c.box->setText(c.text);
    const bool ok = page->InputDataCheck();
    EXPECT_EQ(ok, std::string(c.message).empty());
    if (!ok) {
      ASSERT_EQ(msgs.boxes.size(), 1u);
      EXPECT_EQ(msgs.boxes[0].text, c.message);
      EXPECT_EQ(msgs.boxes[0].title, c.title);
      EXPECT_EQ(msgs.boxes[0].style, 64);
    }
  }
  // Pasted text takes the typed keys' filter: nothing but digits (and the
  // key time's point) gets in.
  page->subRestoreEncodeControls();
  page->txtEmergencyChannel->setText("5");
  page->txtEmergencyChannel->insert("x");
  page->txtAniIntervalTime->insert("1 s");
  page->txtEmergencyKeyTime->clear();
  page->txtEmergencyKeyTime->insert("1.5");
  EXPECT_EQ(page->txtEmergencyChannel->text(), "5");
  EXPECT_EQ(page->txtAniIntervalTime->text(), "0");
  EXPECT_EQ(page->txtEmergencyKeyTime->text(), "1.5");
  page->subRestoreEncodeControls();
  page->txtEmergencyKeyTime->setText("5");
  EXPECT_TRUE(page->InputDataCheck());
  EXPECT_EQ(page->txtEmergencyKeyTime->text(), "5.0");
  page->txtEmergencyKeyTime->setText("1..");
  EXPECT_FALSE(page->InputDataCheck());
  EXPECT_EQ(page->txtEmergencyKeyTime->text(), "");  // the restore that follows refills it
  page->txtEmergencyKeyTime->setEnabled(false);
  page->txtAniIntervalTime->setText("999");
  page->txtAniIntervalTime->setEnabled(false);  // a disabled box is not tested
  EXPECT_TRUE(page->InputDataCheck());
  page->Unload();

  // Limits by family: 200 channels, 100 with channel names, 99 on the base station.
  family("1");
  put(1024 + 8 * 99, {0x12, 0x00});  // channel 200
  put(810, {0x00});
  page = open();
  page->txtEmergencyChannel->setText("200");
  EXPECT_TRUE(page->InputDataCheck());
  page->txtEmergencyChannel->setText("201");
  EXPECT_FALSE(page->InputDataCheck());
  page->Unload();
  family("2");
  put(810, {0x00});
  put(8 * 98, {0xF9, 0x3F});  // channel 99 as the channel editor leaves an empty row
  page = open();
  msgs.boxes.clear();
  page->txtEmergencyChannel->setText("99");
  EXPECT_FALSE(page->InputDataCheck());
  EXPECT_EQ(msgs.boxes.back().text, "The channel of the input number is un-input");
  page->txtEmergencyChannel->setText("100");
  EXPECT_FALSE(page->InputDataCheck());
  EXPECT_EQ(msgs.boxes.back().text, "Input value range outside error");
  page->Unload();
}

TEST_F(EncodePage, ClosingPathsCheckOrNotAndAlwaysWriteTheSavedValues) {
  family("0");
  put(42, {0x03});  // 5-tone ANI: the interval box is enabled
  FrmEncodeSet* page = open();
  // The focus sink: a refused entry keeps the page open; the next arrival closes.
  page->txtAniIntervalTime->setText("300");
  page->txtEndForcus_GotFocus();
  EXPECT_TRUE(page->isLoaded());
  EXPECT_EQ(page->txtAniIntervalTime->text(), "0");
  page->values.strAniIntervalTime = "12";
  page->txtEndForcus_GotFocus();
  EXPECT_FALSE(page->isLoaded());
  EXPECT_EQ(image()[247], 12);

  // Esc in a list box with a refused entry: the page stays, the sink is marked.
  page = open();
  page->txtAniIntervalTime->setText("300");
  page->lstCallRepeaterNo->setCurrentRow(1);
  key(page->lstCallRepeaterNo, Qt::Key_Escape);
  EXPECT_TRUE(page->isLoaded());
  EXPECT_TRUE(page->txtEndForcus->marked());
  EXPECT_EQ(page->values.strCallRepeaterNo, "0");
  page->lstCallRepeaterNo->setCurrentRow(1);
  key(page->lstCallRepeaterNo, Qt::Key_Escape);  // now accepted
  EXPECT_FALSE(page->isLoaded());
  EXPECT_EQ(image()[170] & 0x20, 0x20);

  // Esc in a drop-down list closes at once, without a check; the change made
  // before is written.
  page = open();
  page->cboEncodeDelay->setCurrentIndex(3);
  page->txtAniIntervalTime->setText("300");
  key(page->cboEncodeDelay, Qt::Key_Escape);
  EXPECT_FALSE(page->isLoaded());
  EXPECT_EQ(image()[43] & 0x0F, 3);
  EXPECT_EQ(image()[247], 12);

  // An arrow steps from the saved value; a refused check steps nothing.
  page = open();
  page->updChangeSelect_DownClick(5);
  EXPECT_EQ(page->values.strEmergencySpeaker, "1");
  page->txtAniIntervalTime->setText("300");
  page->updChangeSelect_UpClick(5);
  EXPECT_EQ(page->values.strEmergencySpeaker, "1");
  page->chkSingleTone->setChecked(true);
  EXPECT_TRUE(page->cboSingleToneEncodeTime->isEnabled());
  page->cboSingleToneEncodeTime->setCurrentIndex(2);
  page->Unload();  // the window closed
  EXPECT_EQ(image()[63] & 1, 1);
  EXPECT_EQ(image()[79] >> 5, 3);
}

TEST_F(EncodePage, UnknownFormatAndStrayValuesWarnOnceAndStayUntilChosen) {
  family("1");
  put(810, {0x0D});  // set 1, format bits 5: none the page offers
  put(852, {0x00});  // 5-tone tone period code 0
  FrmEncodeSet* page = open();
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text,
            "The stored encode format is none of this menu's formats; it is kept until you choose one\r"
            "These stored values cannot be shown here; each is kept as stored until you change it:\rTone Period");
  for (int index : {0, 2, 4, 6, 7}) EXPECT_FALSE(page->optEncodeMenu[static_cast<size_t>(index)]->isChecked());
  EXPECT_FALSE(page->cbo5ToneSet->isEnabled());  // the rows of "no encode"
  page->subRestoreEncodeControls();
  page->CmdAction_Click(1);
  EXPECT_EQ(image()[810], 0x0D);
  EXPECT_EQ(image()[852], 0x00);
  EXPECT_EQ(msgs.boxes.size(), 1u);

  page = open();
  page->optEncodeMenu[0]->click();
  EXPECT_EQ(page->cboTonePeriod->currentIndex(), 0);
  emit page->cboTonePeriod->activated(0);  // choosing the first entry shown
  page->CmdAction_Click(1);
  EXPECT_EQ(image()[810], 0x08);
  EXPECT_EQ(image()[852], 0x02);

  // Choosing a 5-tone set brings its standard tone period.
  page = open();
  page->cbo5ToneSet->setCurrentIndex(5);  // EIA: 30 ms
  EXPECT_EQ(page->cboTonePeriod->currentText(), "30 ms");
  page->CmdAction_Click(1);
  EXPECT_EQ(image()[852], 0x03);
  EXPECT_EQ(image()[810], 0x28);
}

TEST_F(EncodePage, MemoryEncodeRowsInTheFormsAlphabetWithOverwriteEntry) {
  family("0");
  put(42, {0x01});
  put(384 + 8, {0x21, 0x43, 0x65, 0x87, 0xA9, 0xCB, 0xED, 0x0F});
  put(512, {0x00, 'X', 'Y'});                               // empty name
  put(520, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 0x7E});      // "~" is no name character
  FrmMemoryEncode* page = openMemory();
  ASSERT_EQ(msgs.boxes.size(), 1u);  // one warning for the kept name
  EXPECT_EQ(page->txtMemory[1]->text(), "123456789ABCDEF0");
  EXPECT_EQ(page->txtName[0]->text(), "");
  EXPECT_EQ(page->txtName[1]->text(), "ABCDEFG~");
  QLineEdit* row = page->txtMemory[1];
  row->setCursorPosition(15);
  type(row, "a");
  EXPECT_EQ(row->text(), "123456789ABCDEFA");
  type(row, "b");  // the caret stays on the last digit
  EXPECT_EQ(row->text(), "123456789ABCDEFB");
  key(row, Qt::Key_Backspace);
  key(row, Qt::Key_Delete);
  key(row, Qt::Key_Period, ".");
  type(row, "g");
  EXPECT_EQ(row->text(), "123456789ABCDEFB");
  EXPECT_EQ(row->text().size(), 16);
  key(page->txtMemory[15], Qt::Key_Down);  // the last row keeps the focus
  EXPECT_EQ(page->txtMemory[15]->cursorPosition(), 0);
  type(page->txtName[2], "ab#~");
  EXPECT_EQ(page->txtName[2]->text(), "ab#");
  page->txtName[3]->setText("A~B");  // pasted: refused, the name stays
  EXPECT_EQ(page->txtName[3]->text(), "");
  EXPECT_EQ(msgs.boxes.back().title, "txtName_Change");
  page->CmdAction_Click(1);
  EXPECT_EQ(bytes(392, 8), (Bytes{0x21, 0x43, 0x65, 0x87, 0xA9, 0xCB, 0xED, 0xBF}));
  EXPECT_EQ(bytes(512, 3), (Bytes{0x00, 'X', 'Y'}));
  EXPECT_EQ(image()[527], 0x7E);
  EXPECT_EQ(bytes(528, 8), (Bytes{'a', 'b', '#', ' ', ' ', ' ', ' ', ' '}));

  put(42, {0x02});  // DTMF: the same digits as keys
  page = openMemory();
  EXPECT_EQ(page->lblMemoryEncode[8]->text(), "  9");
  EXPECT_EQ(page->lblMemoryEncode[9]->text(), "10");
  // Text put into a row other than by its keys (a middle click pastes the
  // selection, an accessibility tool sets it) stays only as 16 keys.
  QLineEdit* pasted = page->txtMemory[4];
  pasted->insert("ZZ99");
  EXPECT_EQ(pasted->text(), "CCCCCCCCCCCCCCCC");
  pasted->setText("*#");
  EXPECT_EQ(pasted->text(), "CCCCCCCCCCCCCCCC");
  pasted->setText("d1234567890*#abc");
  EXPECT_EQ(pasted->text(), "D1234567890*#ABC");
  EXPECT_EQ(page->txtMemory[1]->text(), "1234567890*#ABC*");
  page->txtMemory[1]->setCursorPosition(0);
  type(page->txtMemory[1], "#*0d");
  EXPECT_EQ(page->txtMemory[1]->text(), "#*0D567890*#ABC*");
  page->CmdAction_Click(1);
  EXPECT_EQ(bytes(392, 2), (Bytes{0xBC, 0x0A}));
  EXPECT_EQ(bytes(416, 8), (Bytes{0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE}));

  family("1");
  put(810, {0x00});
  const Bytes before = image();
  page = openMemory();
  EXPECT_EQ(page->lblMemoryEncode[0]->text(), "  0");
  EXPECT_EQ(page->txtMemory[9]->text(), "FFFFFFFFFFFFFFFF");
  EXPECT_FALSE(page->txtMemory[10]->isEnabled());
  EXPECT_EQ(page->txtMemory[10]->text(), "");
  EXPECT_FALSE(page->txtName[0]->isEnabled());
  page->CmdAction_Click(1);
  EXPECT_EQ(image(), before);

  family("2");
  put(810, {0x00});
  EXPECT_FALSE(memoryEncodeAllowed());
}

TEST_F(EncodePage, MemoryEncodeRowsFollowTheAniFormatsAndTheLastRowIsWritten) {
  family("0");
  put(42, {0x03});  // 5-tone ANI: hex digits
  put(504, {0x21, 0x43, 0x65, 0x87, 0xA9, 0xCB, 0xED, 0x0F});  // row 16, the last
  FrmMemoryEncode* page = openMemory();
  QLineEdit* last = page->txtMemory[15];
  EXPECT_EQ(last->text(), "123456789ABCDEF0");
  last->setCursorPosition(0);
  type(last, "fe");
  EXPECT_EQ(last->text(), "FE3456789ABCDEF0");
  page->CmdAction_Click(1);
  EXPECT_EQ(bytes(504, 8), (Bytes{0xEF, 0x43, 0x65, 0x87, 0xA9, 0xCB, 0xED, 0x0F}));

  put(42, {0x04});  // DTMF ANI: the same digits as keys
  page = openMemory();
  last = page->txtMemory[15];
  EXPECT_EQ(last->text(), "CB34567890*#ABCD");
  last->setCursorPosition(0);
  type(last, "1d");
  page->CmdAction_Click(1);
  EXPECT_EQ(bytes(504, 8), (Bytes{0x01, 0x43, 0x65, 0x87, 0xA9, 0xCB, 0xED, 0x0F}));

  family("1");
  put(810, {0x06});  // DTMF ANI; row 10 of the mobile sits at 926
  put(926, {0x21, 0x43, 0x65, 0x87, 0xA9, 0xCB, 0xED, 0x0F});
  page = openMemory();
  EXPECT_EQ(page->txtMemory[9]->text(), "1234567890*#ABCD");
  page->txtMemory[9]->setCursorPosition(15);
  type(page->txtMemory[9], "#");
  page->CmdAction_Click(1);
  EXPECT_EQ(bytes(926, 8), (Bytes{0x21, 0x43, 0x65, 0x87, 0xA9, 0xCB, 0xED, 0xCF}));
  EXPECT_TRUE(msgs.boxes.empty());
}

TEST_F(EncodePage, EveryCodeAndNumberBoxShowsItsLongestValueWholeInBothLanguages) {
  const QString codes = "0123456789ABCDEF*#", digits = "0123456789";
  widths::inEachLanguage([&](const char* language) {
    for (const char* f : {"0", "1"}) {
      SCOPED_TRACE(std::string(language) + " family " + f);
      family(f);
      FrmEncodeSet* page = open();
      const std::pair<QLineEdit*, QString> boxes[] = {
          {page->txtEncodeNo, codes},        {page->txtREncodeNo, codes},        {page->txtAniEncodeNo, codes},
          {page->txtEmergencyNo, codes},     {page->txtTranferNo, codes},        {page->txtAniIntervalTime, digits},
          {page->txtEmergencyChannel, digits}, {page->txtTransferChannel, digits},
          {page->txtEmergencyKeyTime, digits + "."}};
      for (const auto& [box, characters] : boxes)
        EXPECT_TRUE(widths::showsWhole(box, widths::longest(box, characters))) << box->objectName().toStdString();
      EXPECT_EQ(page->txtEncodeNo->maxLength(), 15);
      page->Unload();
      FrmMemoryEncode* memory = openMemory();
      for (QLineEdit* row : memory->txtMemory)
        EXPECT_TRUE(widths::showsWhole(row, widths::longest(row, codes, kMemoryEncodeDigits))) << row->objectName().toStdString();
      for (QLineEdit* name : memory->txtName)
        EXPECT_TRUE(widths::showsWhole(name, widths::longest(name, QString::fromStdString(kMemoryNameSet))))
            << name->objectName().toStdString();
      memory->Unload();
    }
  });
}

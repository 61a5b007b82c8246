// The scan settings and priority-channel pages driven headless.
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

#include "core/controldata.h"
#include "core/modpublic.h"
#include "options/chanlayout.h"
#include "options/priority.h"
#include "options/scan.h"
#include "options/pages/frmprioritychset.h"
#include "options/pages/frmscanset.h"
#include "platform/base/strtable.h"
#include "support/outside.h"
#include "support/testsupport.h"
#include "support/keys.h"
#include "support/widths.h"
#include "support/oddimages.h"

namespace {
const char* kRange = "Input value range outside error";
const char* kPoint = "The input of the decimal point overlaps";
const char* kBeyond = "It is input beyond the number of maximums of the channel";
const char* kSame = "You can't choose the same CH !";
const char* kScanOff = "When this item is set up\rPlease make the scanning data\"ON\"";

bool grey(QWidget* w) { return w->palette().color(QPalette::Base) == vbui::color(0xC0C0C0); }


void type(QLineEdit* box, const std::string& text) {
  QApplication::processEvents();  // a refusal puts the focus back first
  box->setFocus();
  QApplication::processEvents();
  box->clear();
  for (char c : text) key(box, c == '.' ? Qt::Key_Period : Qt::Key_0 + (c - '0'), QString(QChar(c)));
}

void focus(QWidget* w) {
  w->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  QApplication::processEvents();
}
}  // namespace

class ScanPages : public ::testing::Test {
 protected:
  void SetUp() override {
    freshModel(dir);
    Page::setModalHook(nullptr);
  }
  void TearDown() override { pages.clear(); }

  void family(const std::string& f) {
    ASSERT_TRUE(blnGetControlData());
    ASSERT_TRUE(setUpFamily(f));
  }
  template <class P>
  P* open() {
    auto* p = new P;
    pages.emplace_back(p);
    p->Show();
    p->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(p));
    QApplication::processEvents();
    return p;
  }
  uint8_t& at(int i) { return modPublic.bytRadioData.at(static_cast<size_t>(i)); }
  // Data in a channel of the current family, with or without its scan flag.
  void program(int channel, bool scans) {
    const int a = options::chanLayout().recordAddress(channel);
    ASSERT_GE(a, 0);
    if (modPublic.family() == 0) {
      at(a) = 0x41;
      at(a + 4) = scans ? 0x20 : 0;
    } else {
      at(a) = 0x12;
      at(a + 1) = scans ? 0x44 : 0x04;
    }
  }
  std::vector<std::string> shown() const {
    std::vector<std::string> t;
    for (const ShownBox& b : msgs.boxes) t.push_back(b.text);
    return t;
  }

  TempDir dir;
  RecordingMessages msgs;
  std::vector<std::unique_ptr<Page>> pages;
};

TEST_F(ScanPages, EachFamilyOffersItsFieldsAndAnUntouchedPageChangesNoByte) {
  struct Expect {
    const char* family;
    std::array<bool, 12> on;
  } families[] = {
      {"0", {1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0}},
      {"1", {1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1}},
      {"2", {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
  };
  for (const Expect& e : families) {
    SCOPED_TRACE(e.family);
    family(e.family);
    if (modPublic.family() == 1) at(974) = 25, at(975) = 15;
    program(3, true);
    at(modPublic.family() == 0 ? 34 : 802) = 3;
    const std::vector<uint8_t> before = modPublic.bytRadioData;
    FrmScanSet* page = open<FrmScanSet>();
    const QWidget* controls[12] = {page->txtAllScanPchLOW,       page->txtAllScanPchHIGH,    page->txtPrgScanPchLOW,
                                   page->txtPrgScanPchHIGH,      page->cboScanTime,          page->lstScanDecodeQuit,
                                   page->txtScanStartDelayTime,  page->txtPchWatchIntTime,   page->lstRemoteScanControl,
                                   page->lstRemoteScanChannel,   page->lstPriorityChannelChange, page->lstAutoAllChannelScan};
    for (int i = 0; i < 12; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(controls[i]->isEnabled(), e.on[static_cast<size_t>(i)]);
      EXPECT_EQ(grey(const_cast<QWidget*>(controls[i])), !e.on[static_cast<size_t>(i)]);
      EXPECT_EQ(page->lblScanSet[static_cast<size_t>(i)]->isEnabled(), e.on[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(page->txtAllScanPchLOW->text(), "3");
    // Arrows beside a disabled list are disabled and, pressed anyway, move
    // neither the value nor the focus.
    EXPECT_EQ(page->updChangeSelect[2]->down->isEnabled(), e.on[9]);
    focus(page->txtAllScanPchHIGH);
    page->updChangeSelect_Click(2, 1);
    QApplication::processEvents();
    EXPECT_EQ(page->values.strRemoteScanChannel, e.on[9] ? "1" : "0");
    EXPECT_EQ(page->lstRemoteScanChannel->hasFocus(), e.on[9]);
    page->updChangeSelect_Click(2, 0);
    EXPECT_EQ(page->values.strRemoteScanChannel, "0");
    page->CmdAction_Click(1);
    EXPECT_FALSE(page->isLoaded());
    EXPECT_EQ(modPublic.bytRadioData, before);
  }
}

TEST_F(ScanPages, OpeningAndClosingOnImagesWeDidNotWriteChangesOnlyTheLoadingFixes) {
  using namespace options;
  for (int f : {0, 1, 2}) {
    family(std::to_string(f));
    int n = 0;
    for (const std::vector<uint8_t>& odd : oddImages(modPublic.bytRadioData, 61u + static_cast<unsigned>(f))) {
      SCOPED_TRACE("family " + std::to_string(f) + " image " + std::to_string(n++));
      auto fixed = [&odd](const std::vector<ImageFix>& fixes) {
        std::vector<uint8_t> b = odd;
        for (const ImageFix& x : fixes) b.at(static_cast<size_t>(x.at)) = x.value;
        return b;
      };
      const ChanLayout layout = chanLayout(f, odd);
      modPublic.bytRadioData = odd;
      const std::vector<uint8_t> scanExpected = fixed(decodeScan(odd, layout, scanEnables()).fixes);
      FrmScanSet* scan = open<FrmScanSet>();
      scan->CmdAction_Click(1);
      EXPECT_FALSE(scan->isLoaded());
      EXPECT_EQ(modPublic.bytRadioData, scanExpected);
      modPublic.bytRadioData = odd;
      const std::vector<uint8_t> priorityExpected = fixed(decodePriority(odd, layout, priorityEnables(f)).fixes);
      FrmPriorityCHSet* priority = open<FrmPriorityCHSet>();
      priority->close();
      EXPECT_FALSE(priority->isLoaded());
      EXPECT_EQ(modPublic.bytRadioData, priorityExpected);
    }
  }
}

TEST_F(ScanPages, TimeBoxesReformatOnEnterAndRefuseOnlyTheFieldBeingLeft) {
  family("2");
  at(854) = 0;  // shows 0.0, which the page itself would not accept
  at(855) = 12;
  FrmScanSet* page = open<FrmScanSet>();
  EXPECT_EQ(page->txtScanStartDelayTime->text(), "0.0");
  focus(page->txtScanStartDelayTime);
  focus(page->txtPchWatchIntTime);  // passing through a stored value is no refusal
  EXPECT_TRUE(msgs.boxes.empty());

  type(page->txtPchWatchIntTime, "5");
  // A letter outside Latin-1 is dropped as the other refused keys are.
  key(page->txtPchWatchIntTime, Qt::Key_A, QString::fromUtf8("\u0444"));
  EXPECT_EQ(page->txtPchWatchIntTime->text(), "5");
  key(page->txtPchWatchIntTime, Qt::Key_Return);
  EXPECT_EQ(page->txtPchWatchIntTime->text(), "5.0");
  focus(page->txtAllScanPchLOW);
  EXPECT_EQ(page->values.strPchWatchIntTime, "5.0");

  for (auto [typed, message] : {std::pair{"10", kRange}, std::pair{"1.2.", kPoint}}) {
    SCOPED_TRACE(typed);
    msgs.boxes.clear();
    type(page->txtPchWatchIntTime, typed);
    EXPECT_EQ(page->txtPchWatchIntTime->text(), typed);
    focus(page->txtAllScanPchLOW);
    EXPECT_EQ(shown(), std::vector<std::string>{message});
    EXPECT_EQ(msgs.boxes[0].title, "InputDataCheck");
    EXPECT_EQ(msgs.boxes[0].style, 64);
    EXPECT_EQ(page->txtPchWatchIntTime->text(), "5.0");
    EXPECT_TRUE(page->txtPchWatchIntTime->hasFocus());
    EXPECT_EQ(page->values.strPchWatchIntTime, "5.0");
  }
  // Letters never reach a time box.
  key(page->txtPchWatchIntTime, Qt::Key_A, "a");
  EXPECT_EQ(page->txtPchWatchIntTime->text(), "5.0");
  page->CmdAction_Click(1);
  EXPECT_EQ(at(855), 50);
  EXPECT_EQ(at(854), 0);
}

TEST_F(ScanPages, AProgramScanChannelWithoutDataIsRefusedByEachFamilysMessage) {
  const char* kEmpty = "The channel of the input number is un-input";
  // Family "0" tells the program-scan boxes' user to make the channel scan;
  // the mobile and the base station say it holds no data, and ask for the
  // scan flag of a channel that holds data.
  for (const char* f : {"0", "1", "2"}) {
    SCOPED_TRACE(f);
    family(f);
    program(12, false);
    FrmScanSet* page = open<FrmScanSet>();
    msgs.boxes.clear();
    for (QLineEdit* box : {page->txtPrgScanPchLOW, page->txtPrgScanPchHIGH}) {
      type(box, "5");  // no data
      focus(page->txtAllScanPchLOW);
      type(box, "12");  // data, not scanning
      focus(page->txtAllScanPchLOW);
    }
    const bool portable = std::string(f) == "0";
    const std::vector<std::string> expected = {portable ? kScanOff : kEmpty, kScanOff, portable ? kScanOff : kEmpty,
                                               kScanOff};
    EXPECT_EQ(shown(), expected);
    EXPECT_EQ(page->txtPrgScanPchLOW->text(), "");
    page->Unload();
  }
}

TEST_F(ScanPages, EscapeTakesAnAcceptedValueAndClosesOrKeepsTheRefusedFieldOpen) {
  family("2");
  program(12, true);
  program(14, false);
  FrmScanSet* page = open<FrmScanSet>();

  // Refused: the message, the old value, the focus kept, the page open; the
  // sink then only clears its marker.
  type(page->txtPrgScanPchLOW, "14");
  key(page->txtPrgScanPchLOW, Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_EQ(shown(), std::vector<std::string>{kScanOff});
  EXPECT_TRUE(page->isLoaded());
  EXPECT_EQ(page->txtPrgScanPchLOW->text(), "");
  EXPECT_TRUE(page->txtPrgScanPchLOW->hasFocus());
  EXPECT_TRUE(page->txtEndForcus->marked());

  // A refused field left for the focus sink: the arrival only clears the
  // marker, the page stays open and the focus goes back.
  msgs.boxes.clear();
  type(page->txtPrgScanPchLOW, "14");
  focus(page->txtEndForcus);
  EXPECT_EQ(shown(), std::vector<std::string>{kScanOff});
  EXPECT_TRUE(page->isLoaded());
  EXPECT_FALSE(page->txtEndForcus->marked());
  EXPECT_TRUE(page->txtPrgScanPchLOW->hasFocus());

  msgs.boxes.clear();
  type(page->txtPrgScanPchLOW, "150");
  key(page->txtPrgScanPchLOW, Qt::Key_Escape);
  EXPECT_EQ(shown(), std::vector<std::string>{kBeyond});
  type(page->txtPrgScanPchHIGH, "12");
  focus(page->txtPrgScanPchLOW);
  type(page->txtPrgScanPchLOW, "012");
  key(page->txtPrgScanPchLOW, Qt::Key_Escape);
  EXPECT_EQ(shown().back(), kSame);  // one channel, however it is written

  // Accepted: taken and written, the page closes.
  type(page->txtAllScanPchLOW, "12");
  key(page->txtAllScanPchLOW, Qt::Key_Escape);
  EXPECT_FALSE(page->isLoaded());
  EXPECT_EQ(at(802), 12);
  EXPECT_EQ(at(805), 12);
}

TEST_F(ScanPages, ExitAndTheWindowsCloseTakeTheFieldBeingEdited) {
  // Pressed without the focus moving (a screen reader, a shortcut), Exit and
  // the window's close judge and take the field being edited all the same.
  family("2");
  program(5, true);
  FrmScanSet* scan = open<FrmScanSet>();
  EXPECT_EQ(QAccessible::queryAccessibleInterface(scan->txtEndForcus)->text(QAccessible::Name), "Exit");
  focus(scan->txtPrgScanPchHIGH);
  scan->txtPrgScanPchHIGH->setText("5");
  scan->CmdAction_Click(1);
  EXPECT_FALSE(scan->isLoaded());
  EXPECT_EQ(at(805), 5);

  const uint8_t high = at(804);
  FrmPriorityCHSet* priority = open<FrmPriorityCHSet>();
  focus(priority->txtPriorityChannelHIGH);
  priority->txtPriorityChannelHIGH->setText("150");
  priority->close();
  EXPECT_TRUE(priority->isLoaded());  // refused: the page stays with its message
  EXPECT_EQ(shown(), std::vector<std::string>{kBeyond});
  QApplication::processEvents();
  focus(priority->lstAutoScan);
  priority->lstAutoScan->setCurrentRow(1);
  priority->close();
  EXPECT_FALSE(priority->isLoaded());
  EXPECT_EQ(at(844) & 0x80, 0x80);
  EXPECT_EQ(at(804), high);  // the refused channel was not taken
}

TEST_F(ScanPages, ListsScanTimeAndTheWaysOutStoreOnlyValidValues) {
  family("2");
  at(851) = 0x55;
  at(844) = 0x2A;
  FrmScanSet* page = open<FrmScanSet>();
  EXPECT_EQ(page->cboScanTime->currentText(), "35 ms");
  EXPECT_EQ(page->lstPriorityChannelChange->currentRow(), -1);  // no entry highlighted

  // Arrows stop at the ends and hand the focus to their list.
  page->updChangeSelect_Click(3, 0);
  EXPECT_EQ(page->values.strPriorityChannelChange, "0");
  page->updChangeSelect_Click(3, 1);
  page->updChangeSelect_Click(3, 1);
  QApplication::processEvents();
  EXPECT_EQ(page->values.strPriorityChannelChange, "1");
  EXPECT_TRUE(page->lstPriorityChannelChange->hasFocus());

  // The page's own filling takes nothing and checks nothing.
  page->values.strScanTime = "12";
  page->subShowScanData();
  EXPECT_EQ(page->cboScanTime->currentText(), "100 ms");
  page->cboScanTime->setCurrentIndex(15);
  EXPECT_EQ(page->values.strScanTime, "15");
  // Escape with no scan time chosen never stores -1.
  focus(page->cboScanTime);
  page->cboScanTime->setCurrentIndex(-1);
  key(page->cboScanTime, Qt::Key_Escape);
  EXPECT_FALSE(page->isLoaded());
  EXPECT_TRUE(msgs.boxes.empty());
  EXPECT_EQ(at(851), 0x5F);
  EXPECT_EQ(at(844), 0x6A);

  // Tabbing into the focus sink closes the page with its values; so does the
  // window's close box.
  FrmScanSet* again = open<FrmScanSet>();
  again->updChangeSelect_Click(4, 1);
  focus(again->txtEndForcus);
  EXPECT_FALSE(again->isLoaded());
  EXPECT_EQ(at(844), 0xEA);
  FrmScanSet* third = open<FrmScanSet>();
  third->updChangeSelect_Click(0, 1);
  third->close();
  EXPECT_FALSE(third->isLoaded());
  EXPECT_EQ(at(954) & 0x10, 0x10);
}

TEST_F(ScanPages, PriorityPageChecksItsChannelsAndKeepsByte844ForItsFamilies) {
  family("2");
  program(7, true);
  program(8, false);
  at(844) = 0x15;
  at(803) = 0xF5;
  FrmPriorityCHSet* page = open<FrmPriorityCHSet>();
  EXPECT_EQ(page->txtScanPriorityCHLOW->text(), "");
  type(page->txtPriorityChannelLOW, "7");
  focus(page->txtPriorityChannelHIGH);
  type(page->txtPriorityChannelHIGH, "07");
  focus(page->txtScanPriorityCHLOW);
  type(page->txtScanPriorityCHLOW, "8");
  focus(page->txtScanPriorityCHHIGH);
  type(page->txtScanPriorityCHHIGH, "9");
  focus(page->txtPriorityChannelLOW);
  EXPECT_EQ(shown(), (std::vector<std::string>{kSame, kScanOff, "The channel of the input number is un-input"}));
  page->updChangeSelect_Click(0, 1);
  page->updChangeSelect_Click(1, 1);
  page->CmdAction_Click(1);
  EXPECT_EQ(at(802), 7);
  EXPECT_EQ(at(803), 0xF5);  // untouched: never accepted
  EXPECT_EQ(at(844), 0xD5);

  // Family "0" keeps channel 4's record at byte 844: no flags there.
  family("0");
  at(844) = 0x3C;
  FrmPriorityCHSet* f0 = open<FrmPriorityCHSet>();
  EXPECT_FALSE(f0->lstAutoScan->isEnabled());
  EXPECT_TRUE(grey(f0->lstAutoScan));
  EXPECT_FALSE(f0->updChangeSelect[1]->up->isEnabled());
  f0->updChangeSelect_Click(1, 1);
  f0->CmdAction_Click(1);
  EXPECT_EQ(at(844), 0x3C);
}

TEST_F(ScanPages, TextPutInFromOutsideIsCheckedAndTakenOnBothPages) {
  family("2");
  program(12, true);
  program(14, false);
  FrmScanSet* page = open<FrmScanSet>();
  focus(page->CmdAction[1]);
  putFromOutside(page->txtAllScanPchLOW, "12");
  EXPECT_EQ(page->values.strAllScanPchLow, "12");
  putFromOutside(page->txtPrgScanPchLOW, "14");
  QApplication::processEvents();
  EXPECT_EQ(shown(), std::vector<std::string>{kScanOff});
  EXPECT_EQ(page->txtPrgScanPchLOW->text(), "");
  EXPECT_TRUE(page->txtPrgScanPchLOW->hasFocus());
  focus(page->CmdAction[1]);
  putFromOutside(page->txtPchWatchIntTime, "5");
  EXPECT_EQ(page->txtPchWatchIntTime->text(), "5.0");
  page->CmdAction_Click(1);
  EXPECT_EQ(at(802), 12);
  EXPECT_EQ(at(855), 50);

  program(7, true);
  FrmPriorityCHSet* priority = open<FrmPriorityCHSet>();
  focus(priority->CmdAction[1]);
  putFromOutside(priority->txtPriorityChannelLOW, "7");
  EXPECT_EQ(shown().size(), 1u);
  priority->CmdAction_Click(1);
  EXPECT_EQ(at(802), 7);
}

TEST_F(ScanPages, HelpMenuComesFromTheLanguagesTable) {
  family("1");
  strtable::load(std::string(), "ja");
  auto* scan = open<FrmScanSet>();
  auto* priority = open<FrmPriorityCHSet>();
  strtable::load(std::string(), "en");
  for (ScanPageBase* p : std::initializer_list<ScanPageBase*>{scan, priority})
    EXPECT_EQ(p->mnuHelp->text().toStdString(), "ヘルプ(&H)");
}

TEST_F(ScanPages, EveryNumberBoxShowsItsLongestValueWholeInBothLanguages) {
  widths::inEachLanguage([&](const char* language) {
    for (const char* f : {"0", "1", "2"}) {
      SCOPED_TRACE(std::string(language) + " family " + f);
      family(f);
      FrmScanSet* scan = open<FrmScanSet>();
      for (QLineEdit* box : {scan->txtAllScanPchLOW, scan->txtAllScanPchHIGH, scan->txtPrgScanPchLOW, scan->txtPrgScanPchHIGH})
        EXPECT_TRUE(widths::showsWhole(box, widths::longest(box, "0123456789"))) << box->objectName().toStdString();
      for (QLineEdit* box : {scan->txtScanStartDelayTime, scan->txtPchWatchIntTime})
        EXPECT_TRUE(widths::showsWhole(box, widths::longest(box, "0123456789."))) << box->objectName().toStdString();
      scan->Unload();
      FrmPriorityCHSet* priority = open<FrmPriorityCHSet>();
      for (QLineEdit* box : {priority->txtPriorityChannelLOW, priority->txtPriorityChannelHIGH,
                             priority->txtScanPriorityCHLOW, priority->txtScanPriorityCHHIGH})
        EXPECT_TRUE(widths::showsWhole(box, widths::longest(box, "0123456789"))) << box->objectName().toStdString();
      priority->Unload();
    }
  });
}

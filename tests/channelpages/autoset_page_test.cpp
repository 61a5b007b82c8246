// The auto channel-set dialog over the channel editor, driven through its
// widgets: template entry by the cells' rules, the refusals of Set, and a
// fill that the editor then encodes exactly as the channel codec does.
#include <QClipboard>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QWindow>
#include <functional>

#include "channel/freqcheck.h"
#include "channel/pages/chancells.h"
#include "channel/pages/frmautoset.h"
#include "chanpage.h"
#include "platform/base/strtable.h"
#include "platform/gui/helpviewer.h"
#include "support/outside.h"

namespace {
using A = autoset::Cell;

class AutoSetPage : public ChannelPage {
 protected:
  void TearDown() override {
    Page::setModalHook(nullptr);
    ChannelPage::TearDown();
  }

  // The editor on a full image of family `f`, the dialog plugged in.
  void openEditor(const std::string& f, int model, int64_t baseHz) {
    family(f, model);
    fillChannels(baseHz);
    before = image();
    FrmChannel::setAutoSetOpener(&FrmAutoSet::open);
    open();
  }

  // F3 (or the Auto Set menu) in the editor; `drive` works the dialog while
  // it is open. Returns whether the dialog opened.
  bool autoSet(const std::function<void(FrmAutoSet&)>& drive, bool byMenu = false) {
    bool opened = false;
    Page::setModalHook([&](Page& p) {
      opened = true;
      auto& d = static_cast<FrmAutoSet&>(p);
      dialog = &d;
      d.show();
      d.activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
      QApplication::processEvents();
      drive(d);
      dialog = nullptr;
    });
    if (byMenu) page->mnuAutoSet->trigger();
    else key(Qt::Key_F3);
    QApplication::processEvents();
    // The window manager gives the editor the keyboard back.
    if (page->isVisible()) {
      page->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(page.get()));
      QApplication::processEvents();
    }
    return opened;
  }

  QLineEdit* t(int column, int row) const { return dialog->cell(column, row); }
  std::string tt(int column, int row) const { return dialog->cellText(column, row); }
  void to(QWidget* w) {
    w->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
  }
  void enter(QWidget* w, const char* text) {
    to(w);
    if (auto* box = qobject_cast<QLineEdit*>(w)) box->selectAll();
    type(text);
    key(Qt::Key_Return);
  }
  void set() {
    QTest::mouseClick(dialog->CmdAction[1], Qt::LeftButton);
    QApplication::processEvents();
  }
  // The last message box: its text and title.
  std::pair<std::string, std::string> last() const {
    if (msgs.boxes.empty()) return {};
    return {msgs.boxes.back().text, msgs.boxes.back().title};
  }

  FrmAutoSet* dialog = nullptr;
  std::vector<uint8_t> before;
};

// A panel of the editor that the dialog shows is seen whole: what stands at
// its corners on the screen is the panel, not the dialog covering the editor;
// and it is not greyed with the editor the dialog holds off meanwhile.
void expectSeen(QWidget* panel) {
  ASSERT_TRUE(panel->isVisible());
  EXPECT_TRUE(panel->isEnabled());
  const QPoint at = panel->mapToGlobal(QPoint(0, 0));
  for (QPoint corner : {at + QPoint(2, 2), at + QPoint(panel->width() - 3, panel->height() - 3)}) {
    QWindow* top = QGuiApplication::topLevelAt(corner);
    EXPECT_TRUE(top && top == panel->window()->windowHandle()) << corner.x() << "," << corner.y();
  }
}

}  // namespace

TEST_F(AutoSetPage, TemplateCellsTakeWhatTheEditorsCellsTake) {
  openEditor("0", 4, 145'000'000);
  QApplication::clipboard()->setText("1a5");
  EXPECT_TRUE(page->mnuAutoSet->isEnabled());
  ASSERT_TRUE(autoSet([&](FrmAutoSet& d) {
    EXPECT_EQ(d.windowTitle(), "velmora-AutoSet");
    EXPECT_EQ(d.labTitle->text(), "<< Auto Channel Edit in Specified Range >>");
    EXPECT_EQ(d.labChanParaNo[0]->text(), "1");
    EXPECT_EQ(d.labChanParaTxRx[1]->text(), "TX");
    EXPECT_EQ(focused(), t(A::kFreq, 0));
    // Family "0": no mode, INV until a DCS code, no TX power on RX, no scan or SH on TX.
    for (auto [column, row] : {std::pair{A::kMode, 0}, {A::kMode, 1}, {A::kINV, 0}, {A::kTxPower, 0}, {A::kScan, 1}, {A::kSH, 1}})
      EXPECT_FALSE(t(column, row)->isEnabled()) << column << " " << row;

    // Letters never reach a frequency cell, typed or pasted; the clipboard
    // keeps what the user put there.
    type("14x6");
    EXPECT_EQ(tt(A::kFreq, 0), "146");
    EXPECT_EQ(QApplication::clipboard()->text(), "1a5");
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(tt(A::kFreq, 0), "14615");
    t(A::kFreq, 0)->setText("146");
    key(Qt::Key_Return);
    EXPECT_EQ(tt(A::kFreq, 0), "146.00000");
    EXPECT_EQ(tt(A::kRef, 0), "12.50");
    EXPECT_EQ(tt(A::kPres, 0), "64");
    EXPECT_EQ(tt(A::kWN, 0), "WID");
    EXPECT_EQ(tt(A::kScan, 0), "OFF");
    EXPECT_EQ(tt(A::kPMFM, 0), "PM");  // added when Enter left the cell
    EXPECT_EQ(focused(), t(A::kWN, 0));
    EXPECT_TRUE(d.fraWNSelect->isVisible());
    EXPECT_TRUE(d.optWideNarrow[0]->isChecked());
    // A digit picks its option and moves on past the greyed mode cell.
    type("2");
    EXPECT_EQ(tt(A::kWN, 0), "NRW");
    EXPECT_EQ(focused(), t(A::kScan, 0));
    EXPECT_FALSE(d.fraWNSelect->isVisible());
    type("3");  // no third scan option: undone
    EXPECT_EQ(tt(A::kScan, 0), "OFF");
    key(Qt::Key_Right);  // past the greyed TX power
    EXPECT_EQ(focused(), t(A::kCTCSS, 0));
    EXPECT_FALSE(t(A::kScan, 0)->hasSelectedText());  // the cell left shows no selection

    type("89");
    key(Qt::Key_Return);
    EXPECT_EQ(last(), std::make_pair(std::string("Input value range outside error"), std::string("txtCTCSS_KeyUp")));
    EXPECT_EQ(tt(A::kCTCSS, 0), "");
    type("88");
    key(Qt::Key_Return);
    EXPECT_EQ(tt(A::kCTCSS, 0), "88.5");
    EXPECT_EQ(focused(), t(A::kDCS, 0));
    type("02");
    EXPECT_FALSE(t(A::kINV, 0)->isEnabled());
    type("3");
    EXPECT_TRUE(t(A::kINV, 0)->isEnabled());
    key(Qt::Key_Return);
    EXPECT_EQ(tt(A::kCTCSS, 0), "");  // one tone a row
    EXPECT_EQ(focused(), t(A::kINV, 0));
    type("1");
    EXPECT_EQ(tt(A::kINV, 0), "1");
    EXPECT_EQ(focused(), t(A::kSH, 0));

    // A code spelled in exponent form is a number, not a crash, and no code.
    to(t(A::kDCS, 0));
    type("9E9");
    EXPECT_TRUE(t(A::kINV, 0)->isEnabled());
    key(Qt::Key_Return);
    EXPECT_EQ(tt(A::kDCS, 0), "023");
    EXPECT_EQ(t(A::kDCS, 0)->selectedText(), "023");
    // Refused on leaving too: the code put back is selected, so the next
    // keys replace it.
    type("9E9");
    to(t(A::kPMFM, 0));
    EXPECT_EQ(last(), std::make_pair(std::string("Input value range outside error"), std::string("txtDCS_LostFocus")));
    EXPECT_EQ(focused(), t(A::kDCS, 0));
    EXPECT_EQ(t(A::kDCS, 0)->selectedText(), "023");
    type("754");
    key(Qt::Key_Return);
    EXPECT_EQ(tt(A::kDCS, 0), "754");
    // PM/FM keeps only its two words.
    to(t(A::kPMFM, 0));
    type("X");
    to(t(A::kFreq, 1));
    EXPECT_EQ(tt(A::kPMFM, 0), "PM");

    // The TX row: a frequency refused, then the row emptied by Ctrl+D.
    type("146.0031");
    key(Qt::Key_Return);
    EXPECT_EQ(last(), std::make_pair(std::string("Frequency input error"), std::string("txtFrequency_KeyUp")));
    EXPECT_EQ(tt(A::kFreq, 1), "");
    type("1.2.3");
    key(Qt::Key_Return);
    EXPECT_EQ(last().first, "Input value range outside error\rThe decimal point overlaps");
    type("151");
    key(Qt::Key_Return);
    EXPECT_EQ(tt(A::kTxPower, 1), "HI");
    EXPECT_EQ(tt(A::kWN, 1), "WID");
    to(t(A::kFreq, 1));
    key(Qt::Key_D, Qt::ControlModifier);
    for (int k = 0; k < FrmAutoSet::kColumns; ++k) EXPECT_EQ(tt(k, 1), "") << k;

    // Up from the TX row's frequency goes to the RX row's.
    key(Qt::Key_Up);
    EXPECT_EQ(focused(), t(A::kFreq, 0));
    // Tab leaves a row without a frequency for the step, range and Set: no
    // cell of it takes the focus only to hand it back.
    to(t(A::kFreq, 1));
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), d.lstSign);
    key(Qt::Key_Backtab);
    EXPECT_EQ(focused(), t(A::kFreq, 1));
    // Once the row has a frequency its step belongs to the check: Shift+Tab
    // goes on to the RX row instead of bouncing off the step cell.
    type("151");
    key(Qt::Key_Backtab);
    EXPECT_EQ(focused(), t(A::kPMFM, 0));
    EXPECT_EQ(tt(A::kFreq, 1), "151.00000");
    // A pop-up goes with the focus: Shift+Tab from the step cell of the
    // emptied RX row goes round to Exit and leaves no options shown there.
    to(t(A::kFreq, 0));
    key(Qt::Key_D, Qt::ControlModifier);
    to(t(A::kRef, 0));
    ASSERT_TRUE(d.fraReference->isVisible());
    key(Qt::Key_Backtab);
    EXPECT_EQ(focused(), d.CmdAction[0]);
    EXPECT_FALSE(d.fraReference->isVisible());
    EXPECT_EQ(tt(A::kRef, 0), "");
  }));
  // Exit: the editor is as it was.
  EXPECT_EQ(modPublic.strChanPara(0, 2), "145.00000");
  close();
  EXPECT_EQ(image(), before);
}

TEST_F(AutoSetPage, StepAndRangeFieldsAndEveryRefusalOfSet) {
  openEditor("2", 5, 140'000'000);
  const auto grid = modPublic.chanParaRows;
  ASSERT_TRUE(autoSet([&](FrmAutoSet& d) {
    set();
    EXPECT_EQ(last(), std::make_pair(std::string("No Frequency Data. Please Set !"), std::string("blnChannelSet")));
    EXPECT_EQ(focused(), t(A::kFreq, 0));
    type("146");
    key(Qt::Key_Return);
    set();
    EXPECT_EQ(last().first, "Frequency increase-and-decrease value is inputted");
    EXPECT_EQ(focused(), d.txtValue);

    // The step field: Enter checks and moves on; leaving checks too.
    type("0.003");
    key(Qt::Key_Return);
    EXPECT_EQ(last(), std::make_pair(std::string("Frequency input error"), std::string("txtValue_KeyUp")));
    EXPECT_EQ(d.txtValue->text(), "");
    type("1.2.5");
    to(d.txtStartNo);
    EXPECT_EQ(last(), std::make_pair(std::string("Input value range outside error\rThe decimal point overlaps"),
                                     std::string("txtValue_LostFocus")));
    EXPECT_EQ(d.txtValue->text(), "");
    EXPECT_EQ(focused(), d.txtValue);
    // The largest step shows whole once formatted.
    type("999.99");
    key(Qt::Key_Return);
    EXPECT_EQ(d.txtValue->text(), "999.99000");
    {
      const QLineEdit* v = d.txtValue;
      const int frame = v->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, v);
      EXPECT_GE(v->width() - 2 * frame - FrmAutoSet::kLineEditTextRoom, v->fontMetrics().horizontalAdvance(v->text()));
      EXPECT_LT(v->geometry().right(), d.Label1[22]->x());  // the unit beside it, not over it
      EXPECT_LT(d.Label1[22]->geometry().right(), d.Label1[0]->x());
    }
    enter(d.txtValue, "0.0125");
    EXPECT_EQ(d.txtValue->text(), "0.01250");
    EXPECT_EQ(focused(), d.txtStartNo);
    set();
    EXPECT_EQ(last().first, "The setting channel range is inputted");

    type("100");
    key(Qt::Key_Return);
    EXPECT_EQ(last(), std::make_pair(std::string("It is input beyond the number of maximums of the channel"),
                                     std::string("txtStartNo_KeyUp")));
    type("5");
    key(Qt::Key_Return);
    EXPECT_EQ(focused(), d.txtEndNo);
    type("4");
    key(Qt::Key_Return);
    EXPECT_EQ(last(), std::make_pair(std::string("A channel larger than a start cahnnel is set up"),
                                     std::string("txtEndNo_KeyUp")));
    type("7");
    key(Qt::Key_Return);
    // A start changed after the end was accepted: Set refuses it.
    to(d.txtStartNo);
    type("9");
    const size_t shown = msgs.boxes.size();
    set();
    ASSERT_EQ(msgs.boxes.size(), shown + 1);
    EXPECT_EQ(last(), std::make_pair(std::string("A channel larger than a start cahnnel is set up"), std::string("blnChannelSet")));
    EXPECT_FALSE(page->blnAutoSet);

    // A 6.25 kHz step from a 12.5 kHz template: the dry run fails and no row changes.
    EXPECT_EQ(focused(), d.txtEndNo);
    enter(d.txtEndNo, "12");
    enter(d.txtValue, "0.00625");
    set();
    EXPECT_EQ(last().first, "Frequency check error\rSetting value is checked");
    EXPECT_EQ(focused(), t(A::kFreq, 0));
    EXPECT_EQ(modPublic.chanParaRows, grid);
    EXPECT_TRUE(d.isVisible());

    // The sign: the down arrow chooses "-", the list shows it.
    QTest::mouseClick(d.updSignDown, Qt::LeftButton);
    EXPECT_EQ(d.intSignIndex, 1);
    EXPECT_EQ(focused(), d.lstSign);
    key(Qt::Key_Up);
    EXPECT_EQ(d.intSignIndex, 0);
  }));
  EXPECT_EQ(modPublic.chanParaRows, grid);
}

TEST_F(AutoSetPage, FilledRangeIsWhatTheChannelCodecEncodes) {
  struct Case {
    std::string family;
    int model;
    int64_t baseHz;
    const char *rx, *tx, *value;
    int start, end;
    bool down;
  };
  const Case cases[] = {
      {"0", 4, 150'000'000, "146.0000", "151.0000", "0.0125", 5, 16, false},
      {"1", 2, 150'000'000, "", "146.5000", "0.00625", 195, 200, true},
      {"2", 5, 140'000'000, "145.5000", "", "0.0125", 90, 99, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.family);
    openEditor(c.family, c.model, c.baseHz);
    std::array<std::array<std::string, 13>, 2> tmpl;
    ASSERT_TRUE(autoSet([&](FrmAutoSet& d) {
      if (c.family == "1") {
        // A 6.25 kHz step chosen before the frequency is typed stays.
        to(t(A::kRef, 1));
        type("3");
        EXPECT_EQ(tt(A::kRef, 1), "6.25");
        EXPECT_EQ(focused(), t(A::kFreq, 1));
      }
      if (*c.rx) enter(t(A::kFreq, 0), c.rx);
      if (*c.tx) enter(t(A::kFreq, 1), c.tx);
      if (c.down) QTest::mouseClick(d.updSignDown, Qt::LeftButton);
      enter(d.txtValue, c.value);
      enter(d.txtStartNo, std::to_string(c.start).c_str());
      enter(d.txtEndNo, std::to_string(c.end).c_str());
      for (int r = 0; r < 2; ++r)
        for (int k = 0; k < 13; ++k) tmpl[static_cast<size_t>(r)][static_cast<size_t>(autoset::gridColumn(k))] = tt(k, r);
      set();
      EXPECT_FALSE(d.isLoaded());
    }));
    QApplication::processEvents();
    EXPECT_FALSE(page->blnAutoSet);
    EXPECT_EQ(top(), 0);
    EXPECT_EQ(focused(), cell(FrmChannel::kFreq, 0));
    // The rows the fill paged through while the dialog held the editor off
    // keep the editor's rules: scan on RX rows, TX power on TX rows, INV
    // with a DCS code.
    for (int i = 0; i < 16; ++i) {
      EXPECT_EQ(cell(FrmChannel::kScan, i)->isEnabled(), i % 2 == 0) << i;
      EXPECT_EQ(cell(FrmChannel::kTxPower, i)->isEnabled(), i % 2 == 1) << i;
      EXPECT_EQ(cell(FrmChannel::kINV, i)->isEnabled(), !text(FrmChannel::kDCS, i).empty()) << i;
    }
    close();
    const std::vector<uint8_t> filled = image();

    // The same rows put into the grid directly and encoded by the codec.
    image() = before;
    ChannelData data;
    float ifMHz = 0;
    ASSERT_TRUE(channelModelIf(ifMHz));
    ASSERT_TRUE(blnChanIniSet(data, ifMHz));
    ASSERT_TRUE(blnGetChanPara(data));
    const int64_t step = (c.down ? -1 : 1) * freq::micros(c.value);
    for (int r = 0; r < 2; ++r) {
      const auto& row = tmpl[static_cast<size_t>(r)];
      if (row[2].empty()) continue;
      for (int ch = c.start; ch <= c.end; ++ch) {
        auto& g = modPublic.chanParaRows[static_cast<size_t>(2 * (ch - 1) + r)];
        g = row;
        g[2] = freq::mhzText((freq::micros(row[2]) + step * (ch - c.start)) * 1000);
      }
    }
    std::vector<int> unencoded;
    ASSERT_TRUE(blnPutChanPara(data, &unencoded));
    EXPECT_TRUE(unencoded.empty());
    EXPECT_EQ(filled, image());
    EXPECT_NE(filled, before);
  }
}

// F3 on a channel the encoder did not write (a prescaler the check would
// not choose, step codes above the list, W/N code 3, bits the radio leaves
// zero), the dialog looked at and left: no byte changes.
TEST_F(AutoSetPage, OpenedAndLeftOverChannelsTheEncoderDidNotWriteItChangesNoByte) {
  family("2", 5);
  fillChannels(140'000'000);
  const uint8_t ch3tx[] = {0x86, 0x96, 0x45, 0x05};  // 145.0125 MHz with "128", bits 1-2 set
  std::copy(std::begin(ch3tx), std::end(ch3tx), image().begin() + 20);
  image()[2050] = 0x95;
  image()[1952] |= 0x30;
  image()[1818] = 0x66;
  const auto odd = image();
  FrmChannel::setAutoSetOpener(&FrmAutoSet::open);
  open();
  focus(FrmChannel::kFreq, 5);
  ASSERT_EQ(text(FrmChannel::kPres, 5), "128");
  ASSERT_TRUE(autoSet([&](FrmAutoSet& d) {
    for (int i = 0; i < 6; ++i) key(Qt::Key_Tab);
    QTest::mouseClick(d.CmdAction[0], Qt::LeftButton);
  }));
  EXPECT_EQ(text(FrmChannel::kPres, 5), "128");
  key(Qt::Key_Tab);
  close();
  EXPECT_EQ(image(), odd);
  EXPECT_TRUE(msgs.boxes.empty());
}

TEST_F(AutoSetPage, ExitAndHelpAndAModelOutsideItsTable) {
  openEditor("1", 2, 150'000'000);
  ASSERT_TRUE(autoSet([&](FrmAutoSet& d) {
    EXPECT_EQ(d.txtReference[0]->toolTip(), "2:5.00KHz   3:6.25KHz   4:10.00KHz   5:12.50KHz");
    // Family "1": no 2.5 kHz option, no 4 kHz width, no PM/FM.
    to(t(A::kRef, 0));
    EXPECT_TRUE(d.fraReference->isVisible());
    EXPECT_FALSE(d.optReference[0]->isVisible());
    type("1");
    EXPECT_EQ(tt(A::kRef, 0), "");
    EXPECT_FALSE(t(A::kPMFM, 0)->isEnabled());
    key(Qt::Key_F1);
    expectSeen(page->fraHelp);
    // F2 in a tone cell shows the editor's list of the family's codes.
    to(t(A::kFreq, 0));
    type("150");
    key(Qt::Key_Return);
    to(t(A::kDCS, 0));
    key(Qt::Key_F2);
    EXPECT_FALSE(page->fraHelp->isVisible());
    expectSeen(page->fraDCS[1]);
    to(t(A::kCTCSS, 0));
    key(Qt::Key_F2);
    expectSeen(page->fraCTC[1]);
    to(t(A::kDCS, 0));
    key(Qt::Key_F2);
    QTest::mouseClick(d.CmdAction[0], Qt::LeftButton);
  }));
  EXPECT_FALSE(page->fraHelp->isVisible());
  EXPECT_FALSE(page->fraDCS[1]->isVisible());
  EXPECT_EQ(image(), before);

  // The editor closed below the dialog (a screen reader reaches its Exit):
  // the dialog goes with it and fills nothing.
  ASSERT_TRUE(autoSet([&](FrmAutoSet& d) {
    enter(t(A::kFreq, 0), "150");
    page->CmdAction_Click(0);
    QApplication::processEvents();
    EXPECT_FALSE(d.isLoaded());
  }));
  EXPECT_FALSE(page->isLoaded());
  open();
  std::string topic;
  EXPECT_TRUE(help::topicText(help::locate("evelmora.hlp"), "Auto Channel Set Menu", topic));

  // A model code the family's table does not hold: no IF to check with, so
  // the dialog does not open.
  image()[1016] = 200;
  msgs.boxes.clear();
  EXPECT_FALSE(autoSet([](FrmAutoSet&) {}));
  EXPECT_EQ(last(), std::make_pair(std::string("The radio model in the data is not in the model table: the channel menu cannot open"),
                                   std::string("Form_Load")));
  image()[1016] = 2;
  close();
  EXPECT_EQ(image(), before);
}

TEST_F(AutoSetPage, ACodeOfAnotherFamilyIsNoCodeHere) {
  // Family "1" holds DCS 526 among its last codes; family "0" has no 526.
  openEditor("1", 2, 150'000'000);
  ASSERT_TRUE(autoSet([&](FrmAutoSet&) {
    enter(t(A::kFreq, 0), "150");
    enter(t(A::kDCS, 0), "526");
    EXPECT_EQ(tt(A::kDCS, 0), "526");
  }));
  close();
  openEditor("0", 4, 145'000'000);
  msgs.boxes.clear();
  ASSERT_TRUE(autoSet([&](FrmAutoSet&) {
    enter(t(A::kFreq, 0), "150");
    enter(t(A::kDCS, 0), "526");
    EXPECT_EQ(last(), std::make_pair(std::string("Input value range outside error"), std::string("txtDCS_KeyUp")));
    EXPECT_EQ(tt(A::kDCS, 0), "");
  }));
}

TEST_F(AutoSetPage, AFilledChannelHasNoToneOfTheOneItReplaced) {
  family("0", 4);
  fillChannels(145'000'000);
  for (int channel : {6, 9}) hiddenDcs(channel);
  FrmChannel::setAutoSetOpener(&FrmAutoSet::open);
  open();
  ASSERT_TRUE(autoSet([&](FrmAutoSet&) {
    enter(t(A::kFreq, 0), "146");
    enter(dialog->txtValue, "0.0125");
    enter(dialog->txtStartNo, "5");
    enter(dialog->txtEndNo, "7");
    set();
  }));
  close();
  const auto record = [&](int channel) { return image()[static_cast<size_t>(768 + 24 * (channel - 1) + 3)]; };
  EXPECT_EQ(record(6), 0);
  EXPECT_EQ(image()[768 + 24 * 5] & 4, 0);
  EXPECT_EQ(record(9), 100);  // outside the range: kept
}

// In Japanese the longer column heads and field labels still show whole, and
// the dialog's menu speaks the language too.
TEST_F(AutoSetPage, JapaneseCaptionsFitTheirPlaces) {
  strtable::load(std::string(), "ja");
  openEditor("0", 4, 145'000'000);
  auto fits = [](const QLabel* l) {
    return l->fontMetrics().horizontalAdvance(l->text()) <= l->contentsRect().width();
  };
  // Heads stand edge to edge: every caption keeps a margin inside its head,
  // and, measured with the head's own font, clear of its neighbours'.
  auto apart = [&](const ColumnHeads& heads) {
    std::vector<const QLabel*> row(heads.begin(), heads.end());
    std::sort(row.begin(), row.end(), [](const QLabel* a, const QLabel* b) { return a->x() < b->x(); });
    auto span = [](const QLabel* l) {
      const QRect r = l->contentsRect();
      const int w = l->fontMetrics().horizontalAdvance(l->text());
      const int left = l->x() + r.x() + (r.width() - w) / 2;
      return std::make_pair(left, left + w);
    };
    for (size_t i = 0; i < row.size(); ++i) {
      const QLabel* l = row[i];
      EXPECT_TRUE(fits(l)) << l->text().toStdString();
      EXPECT_GE(l->contentsRect().left(), kColumnHeadGap) << l->text().toStdString();
      EXPECT_GE(l->width() - 1 - l->contentsRect().right(), kColumnHeadGap) << l->text().toStdString();
      if (i + 1 < row.size() && row[i + 1]->y() == l->y()) {
        EXPECT_GE(span(row[i + 1]).first - span(l).second, 2 * kColumnHeadGap)
            << l->text().toStdString() << " | " << row[i + 1]->text().toStdString();
      }
    }
  };
  apart(page->labChanParaEdit);
  EXPECT_EQ(page->labChanParaEdit[5]->text().toStdString(), "モード");
  ASSERT_TRUE(autoSet([&](FrmAutoSet& d) {
    EXPECT_EQ(d.mnuHelp->text().toStdString(), "ヘルプ(&H)");
    apart(d.labChanParaEdit);
    for (const QLabel* field : {d.Label3, d.Label1[0], d.Label2}) EXPECT_TRUE(fits(field)) << field->text().toStdString();
  }));
  strtable::load(std::string(), "en");
}

// A screen reader or test tool sets the template's cells and the range
// fields without giving them the focus: each is judged as typing it and
// leaving would judge it, and Set fills the range from what was taken.
TEST_F(AutoSetPage, TextPutInFromOutsideIsJudgedAsTypingAndLeavingWould) {
  openEditor("2", 5, 140'000'000);
  using Box = std::pair<std::string, std::string>;
  ASSERT_TRUE(autoSet([&](FrmAutoSet& d) {
    ASSERT_EQ(focused(), t(A::kFreq, 0));
    // A row without a frequency takes no option.
    putFromOutside(t(A::kWN, 0), "NRW");
    EXPECT_EQ(tt(A::kWN, 0), "");
    // The TX frequency: filtered, checked, formatted, with the row's step,
    // prescaler and defaults; the focus stays. The RX frequency being typed
    // is judged first, as moving into the TX cell would judge it.
    type("146");
    putFromOutside(t(A::kFreq, 1), "15x0.0125");
    EXPECT_TRUE(msgs.boxes.empty());
    EXPECT_EQ(tt(A::kFreq, 0), "146.00000");
    EXPECT_EQ(tt(A::kPMFM, 0), "PM");
    EXPECT_EQ(tt(A::kFreq, 1), "150.01250");
    EXPECT_EQ(tt(A::kRef, 1), "12.50");
    EXPECT_EQ(tt(A::kPres, 1), "64");
    EXPECT_EQ(tt(A::kTxPower, 1), "HI");
    EXPECT_EQ(tt(A::kPMFM, 1), "PM");
    EXPECT_EQ(focused(), t(A::kFreq, 0));
    // A start beyond the last channel: the field's message, emptied, the
    // focus in it.
    putFromOutside(d.txtStartNo, "200");
    QApplication::processEvents();
    EXPECT_EQ(last(), Box("It is input beyond the number of maximums of the channel", "txtStartNo_LostFocus"));
    EXPECT_EQ(d.txtStartNo->text(), "");
    EXPECT_EQ(focused(), d.txtStartNo);
    // A frequency off every step: the message of leaving the cell, the text
    // before it back, the focus in the cell.
    to(t(A::kFreq, 0));
    putFromOutside(t(A::kFreq, 1), "146.0031");
    QApplication::processEvents();
    EXPECT_EQ(last(), Box("Frequency input error", "txtFrequency_LostFocus"));
    EXPECT_EQ(tt(A::kFreq, 1), "150.01250");
    EXPECT_EQ(focused(), t(A::kFreq, 1));
    // An entry not yet taken when the focus comes to its cell is judged first.
    to(t(A::kFreq, 0));
    QAccessible::queryAccessibleInterface(t(A::kFreq, 1))->editableTextInterface()->replaceText(0, 9, "146.0031");
    const size_t refused = msgs.boxes.size();
    to(t(A::kFreq, 1));
    ASSERT_EQ(msgs.boxes.size(), refused + 1);
    EXPECT_EQ(last().second, "txtFrequency_LostFocus");
    EXPECT_EQ(tt(A::kFreq, 1), "150.01250");
    // Options by word or digit; other text is undone without a message.
    const size_t shown = msgs.boxes.size();
    putFromOutside(t(A::kTxPower, 1), "lo");
    putFromOutside(t(A::kPMFM, 1), "2");
    putFromOutside(t(A::kPMFM, 1), "XYZ");
    EXPECT_EQ(tt(A::kTxPower, 1), "LO");
    EXPECT_EQ(tt(A::kPMFM, 1), "FM");
    // The RX frequency and the range.
    putFromOutside(t(A::kFreq, 0), "146.0");
    putFromOutside(d.txtValue, "0.0125");
    putFromOutside(d.txtStartNo, "3");
    putFromOutside(d.txtEndNo, "4");
    EXPECT_EQ(tt(A::kFreq, 0), "146.00000");
    EXPECT_EQ(d.txtValue->text(), "0.01250");
    // Tones are looked up; one the table lacks is refused with its message.
    putFromOutside(t(A::kDCS, 1), "023");
    EXPECT_EQ(tt(A::kDCS, 1), "023");
    EXPECT_EQ(msgs.boxes.size(), shown);
    putFromOutside(t(A::kCTCSS, 1), "999");
    QApplication::processEvents();
    EXPECT_EQ(last(), Box("Input value range outside error", "txtCTCSS_LostFocus"));
    EXPECT_EQ(tt(A::kCTCSS, 1), "");
    EXPECT_EQ(tt(A::kDCS, 1), "023");
    EXPECT_EQ(focused(), t(A::kCTCSS, 1));
    // Set pressed without a click (a screen reader's press): a refused entry
    // was no refused click, so Set fills at once.
    d.CmdAction_Click(1);
    EXPECT_FALSE(d.isLoaded());
  }));
  const std::vector<std::pair<int, std::vector<std::string>>> rows = {
      {4, {"64", "12.50", "146.00000", "WID", "Simp", "OFF", "", "", "PM", "", "", "", ""}},
      {5, {"64", "12.50", "150.01250", "", "", "", "LO", "", "FM", "023", "", "", ""}},
      {6, {"64", "12.50", "146.01250", "WID", "Simp", "OFF", "", "", "PM", "", "", "", ""}},
      {7, {"64", "12.50", "150.02500", "", "", "", "LO", "", "FM", "023", "", "", ""}}};
  for (const auto& [row, texts] : rows)
    for (int c = 0; c < kChanParaColumns; ++c)
      EXPECT_EQ(modPublic.strChanPara(row, c), texts[static_cast<size_t>(c)]) << row << " " << c;
}

// A tone typed into the editor and not yet committed when F3 or the menu
// opens the dialog is judged first, as leaving its cell would judge it:
// taken into the grid (and so into the image), or refused with its message
// and the dialog left closed. The tone-key hint follows the focus.
TEST_F(AutoSetPage, ATypedToneIsJudgedBeforeTheDialogOpens) {
  using F = FrmChannel;
  const auto grid = [](int row, int column) { return modPublic.strChanPara(row, column); };
  openEditor("0", 4, 145'000'000);
  focus(F::kCTCSS, 2);
  ASSERT_EQ(grid(2, 7), "");
  type("88");
  std::string seen;
  ASSERT_TRUE(autoSet([&](FrmAutoSet& d) {
    seen = grid(2, 7);
    QTest::mouseClick(d.CmdAction[0], Qt::LeftButton);
  }));
  EXPECT_EQ(seen, "88.5");
  EXPECT_EQ(text(F::kCTCSS, 2), "88.5");
  EXPECT_EQ(focused(), cell(F::kFreq, 0));
  EXPECT_FALSE(page->LabHelpMenu->isVisible());
  EXPECT_TRUE(msgs.boxes.empty());

  // Refused: the message of leaving the cell, the code before it back and
  // selected, the focus and the hint still there, no dialog.
  focus(F::kDCS, 4);
  const std::string code = grid(4, 9);
  ASSERT_NE(code, "");
  type("23");
  EXPECT_FALSE(autoSet([](FrmAutoSet&) {}, true));
  EXPECT_EQ(last(), std::make_pair(std::string("Input value range outside error"), std::string("txtDCS_LostFocus")));
  EXPECT_EQ(text(F::kDCS, 4), code);
  EXPECT_EQ(grid(4, 9), code);
  EXPECT_EQ(focused(), cell(F::kDCS, 4));
  EXPECT_TRUE(page->LabHelpMenu->isVisible());
  type("754");
  ASSERT_TRUE(autoSet([&](FrmAutoSet& d) {
    seen = grid(4, 9);
    QTest::mouseClick(d.CmdAction[0], Qt::LeftButton);
  }, true));
  EXPECT_EQ(seen, "754");
  EXPECT_EQ(grid(4, 10), "1");
  EXPECT_FALSE(page->LabHelpMenu->isVisible());
  EXPECT_EQ(msgs.boxes.size(), 1u);

  // The hint goes with the focus also when nothing was typed.
  focus(F::kCTCSS, 6);
  EXPECT_TRUE(page->LabHelpMenu->isVisible());
  ASSERT_TRUE(autoSet([](FrmAutoSet& d) { QTest::mouseClick(d.CmdAction[0], Qt::LeftButton); }));
  EXPECT_EQ(focused(), cell(F::kFreq, 0));
  EXPECT_FALSE(page->LabHelpMenu->isVisible());
  close();

  ChannelData data;
  float ifMHz = 0;
  ASSERT_TRUE(channelModelIf(ifMHz) && blnChanIniSet(data, ifMHz) && blnGetChanPara(data));
  EXPECT_EQ(grid(2, 7), "88.5");
  EXPECT_EQ(grid(4, 9), "754");
  EXPECT_EQ(grid(4, 10), "1");
}

// A template frequency refused after Enter or on leaving comes back selected:
// the next number typed replaces it instead of being added to it.
TEST_F(AutoSetPage, ARefusedTemplateFrequencyComesBackSelected) {
  openEditor("0", 4, 145'000'000);
  ASSERT_TRUE(autoSet([&](FrmAutoSet&) {
    enter(t(A::kFreq, 0), "146");
    ASSERT_EQ(tt(A::kFreq, 0), "146.00000");
    enter(t(A::kFreq, 0), "146.0031");
    EXPECT_EQ(last(), std::make_pair(std::string("Frequency input error"), std::string("txtFrequency_KeyUp")));
    EXPECT_EQ(tt(A::kFreq, 0), "146.00000");
    EXPECT_EQ(t(A::kFreq, 0)->selectedText(), "146.00000");
    type("147");
    key(Qt::Key_Return);
    EXPECT_EQ(tt(A::kFreq, 0), "147.00000");

    const size_t shown = msgs.boxes.size();
    to(t(A::kFreq, 0));
    t(A::kFreq, 0)->selectAll();
    type("147.0031");
    to(t(A::kScan, 0));
    ASSERT_EQ(msgs.boxes.size(), shown + 1);
    EXPECT_EQ(last(), std::make_pair(std::string("Frequency input error"), std::string("txtFrequency_LostFocus")));
    QApplication::processEvents();
    EXPECT_EQ(focused(), t(A::kFreq, 0));
    EXPECT_EQ(t(A::kFreq, 0)->selectedText(), "147.00000");
    type("148");
    key(Qt::Key_Return);
    EXPECT_EQ(tt(A::kFreq, 0), "148.00000");
  }));
}

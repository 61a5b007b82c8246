// The channel editor's step, option, flag and tone cells driven through their
// widgets: digits pick options, other keys and pastes are undone, tones are
// looked up, and a grid set from the keyboard is what the image holds.
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <map>

#include "chanpage.h"
#include "support/outside.h"

namespace {
using F = FrmChannel;
using Row = std::array<std::string, kChanParaColumns>;
const std::string& grid(int row, int col) { return modPublic.strChanPara(row, col); }

std::vector<std::string> labels(const QGroupBox* box) {
  std::vector<std::string> t;
  for (const QLabel* l : box->findChildren<QLabel*>()) t.push_back(l->text().trimmed().toStdString());
  return t;
}
bool has(const std::vector<std::string>& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); }

// The grid the channel codec decodes from the current image.
std::vector<Row> decoded() {
  ChannelData d;
  float ifMHz = 0;
  EXPECT_TRUE(channelModelIf(ifMHz) && blnChanIniSet(d, ifMHz) && blnGetChanPara(d));
  return modPublic.chanParaRows;
}

// The image the channel codec gives for `rows` written over `image`.
std::vector<uint8_t> encoded(const std::vector<uint8_t>& image, const std::map<int, Row>& rows) {
  const auto keep = modPublic.bytRadioData;
  modPublic.bytRadioData = image;
  ChannelData d;
  float ifMHz = 0;
  EXPECT_TRUE(channelModelIf(ifMHz) && blnChanIniSet(d, ifMHz) && blnGetChanPara(d));
  for (const auto& [r, texts] : rows) modPublic.chanParaRows[static_cast<size_t>(r)] = texts;
  blnPutChanPara(d);
  std::vector<uint8_t> out = modPublic.bytRadioData;
  modPublic.bytRadioData = keep;
  return out;
}
}  // namespace

TEST_F(ChannelPage, OptionCellsTakeTheirDigitsAndUndoOtherKeys) {
  family("0", 4);
  fillChannels(145'000'000);
  open();
  focus(F::kWN, 2);
  EXPECT_TRUE(page->fraWNSelect->isVisible());
  EXPECT_EQ(page->fraWNSelect->y(), cell(F::kWN, 2)->mapTo(page->fraWNSelect->parentWidget(), QPoint()).y() + 18);
  EXPECT_TRUE(page->optWideNarrow[2]->isVisible());
  EXPECT_TRUE(page->optWideNarrow[1]->isChecked());  // "NRW"
  type("x");
  key(Qt::Key_Backspace);
  EXPECT_EQ(text(F::kWN, 2), "NRW");
  EXPECT_EQ(focused(), cell(F::kWN, 2));
  type("3");
  EXPECT_EQ(grid(2, 3), "4KH");
  EXPECT_FALSE(page->fraWNSelect->isVisible());
  EXPECT_EQ(focused(), cell(F::kScan, 2));  // mode is not used by this family
  EXPECT_TRUE(page->fraScan->isVisible());
  type("2");
  EXPECT_EQ(grid(2, 5), "OFF");
  EXPECT_EQ(focused(), cell(F::kCTCSS, 2));
  // An arrow leaves the cell as it found it, and without a selection that
  // would look like the cell being typed into.
  focus(F::kWN, 4);
  key(Qt::Key_Right);
  EXPECT_EQ(focused(), cell(F::kScan, 4));
  EXPECT_FALSE(cell(F::kWN, 4)->hasSelectedText());
  key(Qt::Key_Left);
  EXPECT_EQ(focused(), cell(F::kWN, 4));
  EXPECT_FALSE(cell(F::kScan, 4)->hasSelectedText());
  // A digit picks its option again when it is already marked; the keypad's digits count.
  focus(F::kTxPower, 3);
  QTest::keyClick(focused(), Qt::Key_1, Qt::KeypadModifier);
  EXPECT_EQ(grid(3, 6), "HI");
  focus(F::kTxPower, 3);
  type("1");
  EXPECT_EQ(focused(), cell(F::kCTCSS, 3));
  // A digit typed beside the text picks nothing.
  focus(F::kScan, 4);
  cell(F::kScan, 4)->end(false);
  type("1");
  EXPECT_EQ(text(F::kScan, 4), "ON");
  EXPECT_EQ(focused(), cell(F::kScan, 4));
  close();

  family("1", 2);
  fillChannels(140'000'000);
  open();
  focus(F::kWN, 0);
  EXPECT_FALSE(page->optWideNarrow[2]->isVisible());
  type("3");  // no 4 kHz width in this family
  EXPECT_EQ(grid(0, 3), "NRW");
  EXPECT_EQ(focused(), cell(F::kWN, 0));
  type("1");
  EXPECT_EQ(grid(0, 3), "WID");
  close();

  family("2", 5);
  open();
  focus(F::kMode, 0);  // a row without a frequency: the frequency cell takes the focus
  EXPECT_EQ(focused(), cell(F::kFreq, 0));
  EXPECT_FALSE(page->fraMode->isVisible());
  type("145.5");
  key(Qt::Key_Return);
  focus(F::kMode, 0);
  type("4");
  EXPECT_EQ(grid(0, 4), "Repe");
  // Under the last rows the pop-up opens above the cell, inside the page.
  focus(F::kFreq, 14);
  type("146");
  key(Qt::Key_Return);
  focus(F::kMode, 14);
  EXPECT_LE(page->fraMode->geometry().bottom(), cell(F::kMode, 14)->mapTo(page->fraMode->parentWidget(), QPoint()).y());
  close();
}

TEST_F(ChannelPage, FlagCellsTakeOneAndTwoAndMoveRight) {
  family("0", 4);
  fillChannels(145'000'000);
  open();
  focus(F::kPMFM, 2);
  EXPECT_TRUE(page->fraPMFM->isVisible());
  EXPECT_TRUE(page->optPMFM[1]->isChecked());
  type("1");
  EXPECT_EQ(grid(2, 8), "PM");
  EXPECT_EQ(focused(), cell(F::kFreq, 3));  // PM/FM is the row's last cell
  // INV of a row with a DCS code: "2" empties it, "1" sets it.
  focus(F::kINV, 1);
  type("2");
  EXPECT_EQ(grid(1, 10), "");
  EXPECT_EQ(focused(), cell(F::kSR, 1));  // SH is not used on a TX row
  focus(F::kINV, 1);
  EXPECT_FALSE(page->optINV[0]->isChecked());
  EXPECT_FALSE(page->optINV[1]->isChecked());
  type("1");
  EXPECT_EQ(grid(1, 10), "1");
  focus(F::kSH, 0);
  for (const char* other : {"3", "a", " "}) {
    type(other);
    EXPECT_EQ(text(F::kSH, 0), "1") << other;
    EXPECT_EQ(focused(), cell(F::kSH, 0)) << other;
  }
  type("2");
  EXPECT_EQ(grid(0, 11), "");
  EXPECT_EQ(focused(), cell(F::kSR, 0));
  // Clicking an option chooses it as its digit does.
  focus(F::kSH, 0);
  QTest::mouseClick(page->optSH[0], Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(grid(0, 11), "1");
  EXPECT_EQ(focused(), cell(F::kSR, 0));
  EXPECT_FALSE(page->fraSH->isVisible());
  // Leaving restores a text that is no option's.
  focus(F::kSR, 4);
  cell(F::kSR, 4)->setText("7");
  EXPECT_EQ(grid(4, 12), "1");
  focus(F::kFreq, 4);
  EXPECT_EQ(grid(4, 12), "1");
  EXPECT_EQ(text(F::kSR, 4), "1");
  close();

  // Family "1" has no PM/FM: a chosen SR moves to the next row, and on the
  // last visible row the grid moves down one channel.
  family("1", 2);
  fillChannels(140'000'000);
  open();
  focus(F::kSR, 6);
  type("1");
  EXPECT_EQ(grid(6, 12), "1");
  EXPECT_EQ(focused(), cell(F::kFreq, 7));
  focus(F::kSR, 15);
  type("2");
  EXPECT_EQ(grid(15, 12), "");
  EXPECT_EQ(top(), 2);
  EXPECT_EQ(focused(), cell(F::kFreq, 15));
  close();
}

TEST_F(ChannelPage, ToneCellsLookUpTheirTableAndKeepOneToneARow) {
  family("0", 4);
  fillChannels(145'000'000);
  open();
  // Row 0 holds a CTCSS tone, row 1 a DCS code with INV.
  focus(F::kCTCSS, 0);
  EXPECT_TRUE(page->LabHelpMenu->isVisible());
  type("88");
  key(Qt::Key_Return);
  EXPECT_EQ(grid(0, 7), "88.5");
  EXPECT_EQ(focused(), cell(F::kDCS, 0));
  focus(F::kCTCSS, 0);
  type("l67");
  key(Qt::Key_Return);
  EXPECT_EQ(grid(0, 7), "L67.0");
  focus(F::kCTCSS, 0);
  type("L67.0");  // a full cell takes Enter; the length limit stays
  key(Qt::Key_Return);
  EXPECT_EQ(cell(F::kCTCSS, 0)->maxLength(), 5);
  EXPECT_TRUE(msgs.boxes.empty());
  focus(F::kCTCSS, 0);
  type("88.6");
  key(Qt::Key_Return);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Input value range outside error");
  EXPECT_EQ(msgs.boxes[0].style, 48);
  EXPECT_EQ(msgs.boxes[0].title, "txtCTCSS_KeyUp");
  EXPECT_EQ(text(F::kCTCSS, 0), "L67.0");
  EXPECT_EQ(focused(), cell(F::kCTCSS, 0));
  type("NON");
  key(Qt::Key_Tab);
  ASSERT_EQ(msgs.boxes.size(), 2u);
  EXPECT_EQ(msgs.boxes[1].title, "txtCTCSS_LostFocus");
  EXPECT_EQ(focused(), cell(F::kCTCSS, 0));
  EXPECT_EQ(grid(0, 7), "L67.0");

  // DCS codes match exactly.
  focus(F::kDCS, 1);
  const std::string code = grid(1, 9);
  type("23");
  key(Qt::Key_Return);
  ASSERT_EQ(msgs.boxes.size(), 3u);
  EXPECT_EQ(msgs.boxes[2].title, "txtDCS_KeyUp");
  EXPECT_EQ(text(F::kDCS, 1), code);
  EXPECT_TRUE(cell(F::kINV, 1)->isEnabled());
  type("023");
  key(Qt::Key_Return);
  EXPECT_EQ(grid(1, 9), "023");
  EXPECT_EQ(grid(1, 10), "1");
  EXPECT_EQ(focused(), cell(F::kINV, 1));
  // A CTCSS tone on a DCS row takes the code and its INV away.
  focus(F::kCTCSS, 1);
  type("100");
  key(Qt::Key_Return);
  EXPECT_EQ(grid(1, 7), "100.0");
  EXPECT_EQ(text(F::kDCS, 1), "");
  EXPECT_EQ(text(F::kINV, 1), "");
  EXPECT_FALSE(cell(F::kINV, 1)->isEnabled());
  EXPECT_EQ(grid(1, 9), "");
  EXPECT_EQ(grid(1, 10), "");
  // A DCS code on a CTCSS row takes the tone away.
  focus(F::kDCS, 3);
  ASSERT_NE(grid(3, 7), "");
  type("754");
  key(Qt::Key_Return);
  EXPECT_EQ(grid(3, 9), "754");
  EXPECT_EQ(text(F::kCTCSS, 3), "");
  EXPECT_EQ(grid(3, 7), "");
  // "NON" empties a DCS cell and its INV at the third key.
  focus(F::kDCS, 4);
  ASSERT_EQ(grid(4, 10), "1");
  type("NON");
  EXPECT_EQ(text(F::kDCS, 4), "");
  EXPECT_EQ(text(F::kINV, 4), "");
  EXPECT_FALSE(cell(F::kINV, 4)->isEnabled());
  EXPECT_EQ(grid(4, 9), "");
  EXPECT_EQ(grid(4, 10), "");
  // Emptying a CTCSS cell and leaving it clears the tone only.
  focus(F::kCTCSS, 6);
  key(Qt::Key_Delete);
  focus(F::kFreq, 6);
  EXPECT_EQ(grid(6, 7), "");
  EXPECT_FALSE(page->LabHelpMenu->isVisible());

  // F2 lists the family's codes: family "0" has 83 DCS codes.
  focus(F::kDCS, 2);
  key(Qt::Key_F2);
  EXPECT_TRUE(page->fraDCS[0]->isVisible());
  const auto dcs = labels(page->fraDCS[0]);
  EXPECT_EQ(dcs.size(), 83u + 2);  // the codes, "NON", "= Press Any Key ! ="
  EXPECT_TRUE(has(dcs, "023") && has(dcs, "754") && has(dcs, "NON"));
  EXPECT_FALSE(has(dcs, "036"));
  key(Qt::Key_Escape);
  EXPECT_FALSE(page->fraDCS[0]->isVisible());
  close();

  family("2", 5);
  open();
  focus(F::kFreq, 0);
  type("145.5");
  key(Qt::Key_Return);
  focus(F::kCTCSS, 0);
  key(Qt::Key_F2);
  EXPECT_TRUE(page->fraCTC[2]->isVisible());
  const auto ctc = labels(page->fraCTC[2]);
  EXPECT_TRUE(has(ctc, "69(  69.3)") && has(ctc, "NON(Deleate)"));
  // Numbers are padded to their columns, letter codes are not.
  std::vector<std::string> raw;
  for (const QLabel* l : page->fraCTC[2]->findChildren<QLabel*>()) raw.push_back(l->text().toStdString());
  EXPECT_TRUE(has(raw, "L67(L67.0)"));
  EXPECT_TRUE(has(raw, "  88(  88.5)"));
  EXPECT_TRUE(has(raw, " 100( 100.0)"));
  EXPECT_EQ(labels(page->fraDCS[2]).size(), 104u + 2);
  type("69");
  key(Qt::Key_Return);
  EXPECT_EQ(grid(0, 7), "69.3");
  close();
}

// Messages shown as a real box is: a window of its own that takes the
// activation from the page while it is up.
struct BoxElsewhere : RecordingMessages {
  QWidget box;
  int msgBox(const std::string& text, int style, const std::string& title) override {
    box.show();
    box.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
    return RecordingMessages::msgBox(text, style, title);
  }
};

// The message box is a window of its own: when it closes, the page's window
// is not active until the window manager gives it back. The tone put back
// after a refusal is selected all the same, so the next keys replace it.
TEST_F(ChannelPage, ARefusedToneComesBackSelected) {
  BoxElsewhere boxes;
  family("0", 4);
  fillChannels(145'000'000);
  open();
  auto back = [&](int nav, int row) {
    page->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(page.get()));
    QApplication::processEvents();
    EXPECT_EQ(focused(), cell(nav, row));
  };
  const std::string tone = grid(0, 7);
  ASSERT_FALSE(tone.empty());
  focus(F::kCTCSS, 0);
  type("88.6");
  key(Qt::Key_Return);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(text(F::kCTCSS, 0), tone);
  EXPECT_EQ(cell(F::kCTCSS, 0)->selectedText().toStdString(), tone);
  back(F::kCTCSS, 0);
  type("100");
  key(Qt::Key_Return);
  EXPECT_EQ(grid(0, 7), "100.0");

  const std::string code = grid(1, 9);
  ASSERT_FALSE(code.empty());
  focus(F::kDCS, 1);
  type("999");
  key(Qt::Key_Tab);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].title, "txtDCS_LostFocus");
  EXPECT_EQ(cell(F::kDCS, 1)->selectedText().toStdString(), code);
  back(F::kDCS, 1);
  type("754");
  key(Qt::Key_Return);
  EXPECT_EQ(grid(1, 9), "754");
  close();
}

// A refused frequency comes back selected too, after Enter and on leaving:
// the next number typed replaces it instead of being added to it.
TEST_F(ChannelPage, ARefusedFrequencyComesBackSelected) {
  BoxElsewhere boxes;
  family("0", 4);
  fillChannels(145'000'000);
  open();
  auto back = [&](int row) {
    page->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(page.get()));
    QApplication::processEvents();
    EXPECT_EQ(focused(), cell(F::kFreq, row));
  };
  const std::string first = grid(0, 2);
  ASSERT_FALSE(first.empty());
  focus(F::kFreq, 0);
  cell(F::kFreq, 0)->selectAll();
  type("1000");
  key(Qt::Key_Return);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Frequency input error");
  EXPECT_EQ(text(F::kFreq, 0), first);
  EXPECT_EQ(cell(F::kFreq, 0)->selectedText().toStdString(), first);
  back(0);
  key(Qt::Key_Return);  // the release after the message box is skipped
  type("145.5");
  key(Qt::Key_Return);
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(grid(0, 2), "145.50000");

  const std::string second = grid(2, 2);
  ASSERT_FALSE(second.empty());
  focus(F::kFreq, 2);
  cell(F::kFreq, 2)->selectAll();
  type("1000");
  key(Qt::Key_Tab);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].title, "txtFrequency_LostFocus");
  EXPECT_EQ(text(F::kFreq, 2), second);
  EXPECT_EQ(cell(F::kFreq, 2)->selectedText().toStdString(), second);
  back(2);
  type("146.5");
  key(Qt::Key_Return);
  EXPECT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(grid(2, 2), "146.50000");
  close();
}

// The page moves its cells to other rows before the focus leaves the cell:
// what the cell showed stays with the row it came from.
TEST_F(ChannelPage, MovingThePageUnderAFocusedCellWritesNoOtherRow) {
  family("0", 4);
  fillChannels(145'000'000);
  open();
  focus(F::kSR, 4);
  ASSERT_EQ(grid(4, 12), "1");
  ASSERT_EQ(grid(6, 12), "");
  page->vscChanPara->setValue(2);
  EXPECT_EQ(grid(6, 12), "");
  EXPECT_EQ(grid(4, 12), "1");
  // A tone typed and not yet entered goes, as an unchecked frequency does.
  focus(F::kCTCSS, 6);
  const std::string ctc = grid(8, 7), dcs = grid(10, 9);
  type("88");
  page->vscChanPara->setValue(4);
  EXPECT_EQ(grid(8, 7), ctc);
  EXPECT_EQ(grid(10, 7), "");
  EXPECT_EQ(grid(10, 9), dcs);
  EXPECT_TRUE(msgs.boxes.empty());
  close();
}

TEST_F(ChannelPage, PassingThroughToneCellsKeepsAToneTheTableCannotShow) {
  family("0", 4);
  fillChannels(145'000'000);
  // Channel 1's TX row: a DCS index past the family's 83 codes, inverted.
  image()[768 + 8] |= 4;
  image()[768 + 8 + 3] = 0x80 | 100;
  const auto before = image();
  open();
  ASSERT_EQ(text(F::kDCS, 1), "");
  for (int nav : {F::kCTCSS, F::kDCS}) {
    focus(nav, 1);
    key(Qt::Key_Right);
    key(Qt::Key_Left);
    key(Qt::Key_Tab);
  }
  close();
  EXPECT_EQ(image(), before);
}

TEST_F(ChannelPage, StepIsChosenOnlyInARowWithoutFrequency) {
  family("1", 2);
  open();
  focus(F::kPres, 0);  // the prescaler hands the focus on
  EXPECT_EQ(focused(), cell(F::kRef, 0));
  EXPECT_TRUE(page->fraReference->isVisible());
  EXPECT_FALSE(page->optReference[0]->isVisible());
  type("1");  // no 2.50 kHz step in this family
  EXPECT_EQ(text(F::kRef, 0), "");
  EXPECT_EQ(focused(), cell(F::kRef, 0));
  type("2");
  EXPECT_EQ(grid(0, 1), "5.00");
  EXPECT_EQ(focused(), cell(F::kFreq, 0));
  EXPECT_FALSE(page->fraReference->isVisible());
  // A held key types its digit again and again before its one release: the
  // cell then holds several digits, which choose no step.
  focus(F::kRef, 2);
  for (bool repeat : {false, true, true}) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_3, Qt::NoModifier, "3", repeat);
    QApplication::sendEvent(cell(F::kRef, 2), &press);
  }
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_3, Qt::NoModifier, "3");
  QApplication::sendEvent(cell(F::kRef, 2), &release);
  QApplication::processEvents();
  EXPECT_EQ(text(F::kRef, 2), "");
  EXPECT_EQ(grid(2, 1), "");
  EXPECT_EQ(focused(), cell(F::kRef, 2));
  EXPECT_TRUE(page->fraReference->isVisible());
  close();

  family("0", 4);
  fillChannels(145'000'000);
  open();
  focus(F::kRef, 2);  // a row with a frequency: its step is the check's
  EXPECT_EQ(focused(), cell(F::kFreq, 2));
  EXPECT_FALSE(page->fraReference->isVisible());
  focus(F::kPres, 2);
  EXPECT_EQ(focused(), cell(F::kFreq, 2));
  key(Qt::Key_D, Qt::ControlModifier);
  focus(F::kRef, 2);
  EXPECT_TRUE(page->optReference[0]->isVisible());
  type("3");
  EXPECT_EQ(grid(2, 1), "6.25");
  EXPECT_EQ(focused(), cell(F::kFreq, 2));
  // Keys that are no step are undone; Up moves one row, once.
  focus(F::kRef, 3);
  type("x");
  EXPECT_EQ(text(F::kRef, 3), "");
  key(Qt::Key_Up);
  EXPECT_EQ(focused(), cell(F::kRef, 2));
  key(Qt::Key_Up);
  EXPECT_EQ(focused(), cell(F::kFreq, 1));
  // Left at the top row moves the page up one channel.
  page->vscChanPara->setValue(10);
  focus(F::kFreq, 0);
  key(Qt::Key_D, Qt::ControlModifier);
  key(Qt::Key_Left);
  ASSERT_EQ(focused(), cell(F::kRef, 0));
  key(Qt::Key_Left);
  EXPECT_EQ(top(), 8);
  EXPECT_EQ(focused(), cell(F::kFreq, 0));
  close();
}

TEST_F(ChannelPage, PastedTextMeetsTheTypedTextRules) {
  family("0", 4);
  fillChannels(145'000'000);
  open();
  auto paste = [&](int nav, int row, const char* clip) {
    focus(nav, row);
    QApplication::clipboard()->setText(clip);
    cell(nav, row)->paste();  // as the mouse's menu does, without a key
    QApplication::processEvents();
  };
  for (const char* clip : {"FM", "pm", "2", "xyz"}) {
    paste(F::kPMFM, 2, clip);
    EXPECT_EQ(text(F::kPMFM, 2), "FM") << clip;
    EXPECT_EQ(grid(2, 8), "FM") << clip;
  }
  paste(F::kWN, 2, "4KH");
  EXPECT_EQ(grid(2, 3), "NRW");
  paste(F::kDCS, 1, "NON");
  EXPECT_EQ(text(F::kDCS, 1), "");
  EXPECT_FALSE(cell(F::kINV, 1)->isEnabled());
  EXPECT_EQ(grid(1, 10), "");
  paste(F::kCTCSS, 0, "l67");
  key(Qt::Key_Return);
  EXPECT_EQ(grid(0, 7), "L67.0");
  close();
}

// Every column of a channel set once from the keyboard, closed, decoded
// again: the same texts, and the bytes the channel codec gives for them.
TEST_F(ChannelPage, EveryColumnSetFromTheKeyboardIsWhatTheImageHolds) {
  struct Case {
    const char* family;
    int model;
    const char* stepDigit;
    const char* rxFreq;
    Row rx, tx;
  };
  const Case cases[] = {
      {"0", 4, "1", "145.5",
       {"64", "2.50", "145.50000", "NRW", "", "ON", "", "88.5", "FM", "", "", "1", "1"},
       {"64", "12.50", "150.01250", "4KH", "", "", "LO", "", "PM", "023", "1", "", "1"}},
      {"1", 2, "2", "141.5",
       {"64", "5.00", "141.50000", "NRW", "", "ON", "", "88.5", "", "", "", "1", "1"},
       {"64", "12.50", "150.01250", "NRW", "", "", "LO", "", "", "023", "1", "", "1"}},
      {"2", 5, "5", "145.5",
       {"64", "12.50", "145.50000", "NRW", "Dupl", "ON", "", "88.5", "FM", "", "", "", "1"},
       {"64", "12.50", "150.01250", "", "", "", "LO", "", "PM", "023", "1", "", "1"}},
  };
  for (const Case& c : cases) {
    const std::string f = c.family;
    SCOPED_TRACE("family " + f);
    family(f, c.model);
    const auto before = image();
    open();
    // RX row: the step first (the row has no frequency yet), then the rest
    // from left to right.
    key(Qt::Key_Left);
    ASSERT_EQ(focused(), cell(F::kRef, 0));
    type(c.stepDigit);
    type(c.rxFreq);
    key(Qt::Key_Return);
    key(Qt::Key_Right);
    type("2");                  // W/N narrow
    if (f == "2") type("3");    // mode duplex
    type("1");                  // scan on
    type("88");                 // CTCSS
    key(Qt::Key_Return);
    key(Qt::Key_Right);         // past the empty DCS (INV is not usable)
    if (f != "2") type("1");    // SH
    type("1");                  // SR
    if (f != "1") type("2");    // PM/FM
    // TX row.
    ASSERT_EQ(focused(), cell(F::kFreq, 1));
    type("150.0125");
    key(Qt::Key_Return);
    key(Qt::Key_Right);
    if (f == "0") type("3");    // W/N 4 kHz
    if (f == "1") type("2");
    type("2");                  // TX power low
    key(Qt::Key_Right);         // past the CTCSS
    type("023");                // DCS
    key(Qt::Key_Return);
    type("1");                  // INV
    type("1");                  // SR
    if (f != "1") type("1");    // PM/FM
    EXPECT_EQ(focused(), cell(F::kFreq, 2));
    EXPECT_TRUE(msgs.boxes.empty());
    close();
    const auto rows = decoded();
    for (int col = 0; col < kChanParaColumns; ++col) {
      EXPECT_EQ(rows[0][static_cast<size_t>(col)], c.rx[static_cast<size_t>(col)]) << "RX column " << col;
      EXPECT_EQ(rows[1][static_cast<size_t>(col)], c.tx[static_cast<size_t>(col)]) << "TX column " << col;
    }
    EXPECT_EQ(image(), encoded(before, {{0, c.rx}, {1, c.tx}}));
  }
}

// A screen reader or test tool sets a cell's text without giving it the
// focus: the cell judges it as typing it and leaving the cell would, and the
// image holds what was taken.
TEST_F(ChannelPage, TextPutInFromOutsideIsJudgedAsTypingAndLeavingWould) {
  family("2", 5);
  open();
  ASSERT_EQ(focused(), cell(F::kFreq, 0));
  // A frequency: letters filtered as typed ones are, checked, formatted, the
  // row's step, prescaler and defaults derived; the focus stays where it was.
  putFromOutside(cell(F::kFreq, 2), "14a5.5");
  EXPECT_TRUE(msgs.boxes.empty());
  const Row rx = {"64", "12.50", "145.50000", "WID", "Simp", "OFF", "", "", "PM", "", "", "", ""};
  for (int c = 0; c < kChanParaColumns; ++c) EXPECT_EQ(grid(2, c), rx[static_cast<size_t>(c)]) << c;
  EXPECT_EQ(text(F::kFreq, 2), "145.50000");
  EXPECT_EQ(text(F::kRef, 2), "12.50");
  EXPECT_EQ(focused(), cell(F::kFreq, 0));
  // Out of band: the message of leaving the cell, the row as it was, the
  // focus in the cell.
  putFromOutside(cell(F::kFreq, 4), "999.0");
  ASSERT_EQ(boxTexts(), std::vector<std::string>{"Frequency input error"});
  EXPECT_EQ(msgs.boxes[0].title, "txtFrequency_LostFocus");
  EXPECT_EQ(text(F::kFreq, 4), "");
  EXPECT_EQ(grid(4, 2), "");
  EXPECT_EQ(focused(), cell(F::kFreq, 4));
  EXPECT_EQ(page->intCurRow, 4);

  // Options and flags by their words or digits; other text is undone
  // without a message, as typing it would be.
  putFromOutside(cell(F::kWN, 2), "nrw");
  putFromOutside(cell(F::kMode, 2), "3");
  putFromOutside(cell(F::kSR, 2), "1");
  putFromOutside(cell(F::kPMFM, 2), "fm");
  putFromOutside(cell(F::kScan, 2), "XYZ");
  putFromOutside(cell(F::kPMFM, 2), "");  // a row in use has PM or FM
  EXPECT_EQ(grid(2, 3), "NRW");
  EXPECT_EQ(grid(2, 4), "Dupl");
  EXPECT_EQ(grid(2, 12), "1");
  EXPECT_EQ(grid(2, 8), "FM");
  EXPECT_EQ(text(F::kScan, 2), "OFF");
  EXPECT_EQ(text(F::kPMFM, 2), "FM");
  EXPECT_EQ(msgs.boxes.size(), 1u);
  // A row without a frequency takes no option; its step, chosen before the
  // frequency, it does.
  putFromOutside(cell(F::kWN, 6), "WID");
  putFromOutside(cell(F::kRef, 6), "2");
  EXPECT_EQ(text(F::kWN, 6), "");
  EXPECT_EQ(grid(6, 3), "");
  EXPECT_EQ(grid(6, 1), "5.00");

  // Tones are looked up; one the table lacks is refused with its message.
  putFromOutside(cell(F::kCTCSS, 2), "69");
  EXPECT_EQ(grid(2, 7), "69.3");
  putFromOutside(cell(F::kDCS, 2), "23");
  ASSERT_EQ(msgs.boxes.size(), 2u);
  EXPECT_EQ(msgs.boxes[1].text, "Input value range outside error");
  EXPECT_EQ(msgs.boxes[1].title, "txtDCS_LostFocus");
  EXPECT_EQ(text(F::kDCS, 2), "");
  EXPECT_EQ(focused(), cell(F::kDCS, 2));
  focus(F::kFreq, 0);
  putFromOutside(cell(F::kDCS, 2), "023");
  EXPECT_EQ(grid(2, 9), "023");
  EXPECT_EQ(grid(2, 7), "");  // one tone a row

  // A frequency being typed into another cell is judged first, as moving
  // into the entry's cell would judge it; the focus stays in its cell.
  focus(F::kFreq, 8);
  type("146");
  putFromOutside(cell(F::kFreq, 10), "147");
  EXPECT_EQ(grid(8, 2), "146.00000");
  EXPECT_EQ(grid(10, 2), "147.00000");
  EXPECT_EQ(focused(), cell(F::kFreq, 8));
  type("1");  // the visit goes on from the judged text
  EXPECT_EQ(text(F::kFreq, 8), "146.000001");
  key(Qt::Key_Backspace);
  // So is a tone: its cell keeps the focus and the key hint of a tone cell.
  focus(F::kCTCSS, 10);
  type("100");
  putFromOutside(cell(F::kSR, 10), "1");
  EXPECT_EQ(grid(10, 7), "100.0");
  EXPECT_EQ(grid(10, 12), "1");
  EXPECT_EQ(focused(), cell(F::kCTCSS, 10));
  EXPECT_TRUE(page->LabHelpMenu->isVisible());
  focus(F::kFreq, 8);
  // Refused there, its message comes first and the entry waits a turn.
  cell(F::kFreq, 8)->selectAll();
  type("999");
  putFromOutside(cell(F::kFreq, 12), "148");
  ASSERT_EQ(msgs.boxes.size(), 3u);
  EXPECT_EQ(msgs.boxes[2].title, "txtFrequency_LostFocus");
  EXPECT_EQ(text(F::kFreq, 8), "146.00000");
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid(12, 2) == "148.00000"; }, 2000));
  EXPECT_EQ(focused(), cell(F::kFreq, 8));
  // An entry not yet taken when the focus comes to its cell is judged first.
  // (Put in without a turn of the event loop, as a second call may come.)
  const auto replace = [](QLineEdit* c, const char* text) {
    QAccessible::queryAccessibleInterface(c)->editableTextInterface()->replaceText(0, c->text().size(), text);
  };
  replace(cell(F::kFreq, 12), "999");
  focus(F::kFreq, 12);
  ASSERT_EQ(msgs.boxes.size(), 4u);
  EXPECT_EQ(msgs.boxes[3].title, "txtFrequency_LostFocus");
  EXPECT_EQ(text(F::kFreq, 12), "148.00000");
  cell(F::kFreq, 12)->selectAll();
  type("149");
  key(Qt::Key_Return);
  EXPECT_EQ(grid(12, 2), "149.00000");
  // Two entries in one turn: a refusal ends the turn, and the entry after it
  // is judged on the next.
  replace(cell(F::kFreq, 14), "999");
  replace(cell(F::kScan, 10), "on");
  QApplication::processEvents();
  ASSERT_EQ(msgs.boxes.size(), 5u);
  EXPECT_EQ(text(F::kFreq, 14), "");
  EXPECT_TRUE(QTest::qWaitFor([&] { return grid(10, 5) == "ON"; }, 2000));
  EXPECT_EQ(focused(), cell(F::kFreq, 14));
  // A page move before its turn: the text goes with the rows it was put
  // into, and no other row takes it.
  focus(F::kFreq, 0);
  replace(cell(F::kFreq, 14), "150");
  page->vscChanPara->setValue(2);
  QApplication::processEvents();
  EXPECT_EQ(grid(14, 2), "");
  EXPECT_EQ(grid(16, 2), "");
  EXPECT_EQ(text(F::kFreq, 14), "");
  EXPECT_EQ(msgs.boxes.size(), 5u);
  page->vscChanPara->setValue(0);

  close();
  const auto rows = decoded();
  for (int c = 0; c < kChanParaColumns; ++c) {
    const std::vector<std::string> expected = {"64", "12.50", "145.50000", "NRW", "Dupl", "OFF", "", "", "FM", "023", "", "", "1"};
    EXPECT_EQ(rows[2][static_cast<size_t>(c)], expected[static_cast<size_t>(c)]) << c;
  }
  for (int r : {4, 6}) EXPECT_EQ(rows[static_cast<size_t>(r)][2], "") << r;
  EXPECT_EQ(rows[10][2], "147.00000");
}

// Closed without leaving the cell (the window's close box takes no focus), a
// typed tone is judged as leaving would judge it: kept, or refused with its
// message and dropped, as a typed frequency is on closing.
TEST_F(ChannelPage, ATypedToneIsJudgedWhenThePageCloses) {
  family("0", 4);
  fillChannels(145'000'000);
  open();
  focus(F::kCTCSS, 2);
  type("88");
  close();
  EXPECT_TRUE(msgs.boxes.empty());
  EXPECT_EQ(decoded()[2][7], "88.5");
  const auto before = image();
  open();
  focus(F::kDCS, 4);
  type("23");
  close();
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "Input value range outside error");
  EXPECT_EQ(msgs.boxes[0].title, "txtDCS_LostFocus");
  EXPECT_EQ(image(), before);
}

// The template cells of the auto channel-set dialog: frequency and prescaler,
// the option cells with their pop-ups, the tone cells, and the keys that move
// between them.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "channel/cellrules.h"
#include "channel/pages/choicecells.h"
#include "channel/pages/frmautoset.h"
#include "channel/pages/frmchannel.h"
#include "channel/tonetables.h"
#include "core/modpublic.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/settingskit.h"

using namespace autoset;

namespace {

constexpr int kRowTop[FrmAutoSet::kRows] = {990, 1260};
constexpr int kCellHeight = 270;

// The cells that leave the tab order while their row has no frequency. PM/FM
// too: it would take the focus only to hand it back to the frequency cell,
// and Tab could never leave the row.
constexpr int kTabOptionCells[] = {kWN, kMode, kScan, kTxPower, kCTCSS, kDCS, kINV, kSH, kSR, kPMFM};

bool isTone(int column) { return column == kCTCSS || column == kDCS; }

// The rules of an option column's cells.
cellrules::Choice choiceOf(int column) { return *cellrules::choiceAt(column); }

}  // namespace

// ---------------------------------------------------------------- shared procedures

bool FrmAutoSet::pblnIniCursorPos(QLineEdit* c) {
  if (c) c->setSelection(0, 1);
  return true;
}

bool FrmAutoSet::pblnSetCursor(QLineEdit* cur, QLineEdit* left, QLineEdit* right, int keyCode) {
  if (!left || !left->isEnabled()) left = cur;
  if (!right || !right->isEnabled()) right = cur;
  if (keyCode == 37 && left) left->setFocus(Qt::OtherFocusReason);
  else if (keyCode == 39 && right) right->setFocus(Qt::OtherFocusReason);
  return true;
}

int FrmAutoSet::objFindEnabledCell(int& row, int column, int step) {
  int result = -1;
  const int end = step == 1 ? kColumns - 1 : 0;
  for (int c = column; step == 1 ? c <= end : c >= end; c += step) {
    if (cell(c, row)->isEnabled()) {
      result = c;
      if (c != column) return result;
    }
  }
  // Past the end of the RX row the TX row's frequency cell is next.
  if (step == 1 && row < intTemplateEndRow) {
    result = kFreq;
    ++row;
  }
  return result;
}

bool FrmAutoSet::blnChkFrequency(int row) {
  Template t = templateTexts();
  if (!autoset::blnChkFrequency(t, row)) return false;
  for (int k : {kFreq, kRef, kPres}) setCellText(k, row, t.text(row, k));
  return true;
}

bool FrmAutoSet::blnChanRowClear(int row) {
  if (vb::Val(cellText(kFreq, row)) == 0) {
    for (int k : {kPres, kRef, kWN, kMode, kScan, kTxPower, kCTCSS, kDCS, kINV}) setCellText(k, row, "");
    paintGrey(kINV, row);
    for (int k : {kSH, kSR, kPMFM}) setCellText(k, row, "");
  }
  return true;
}

void FrmAutoSet::blnSetOptionFromText() {
  intOptionSetting = 1;
  for (int column : {kRef, kWN, kMode, kScan, kTxPower, kPMFM, kINV, kSH, kSR}) {
    QGroupBox* frame = popup(column);
    if (!frame->isVisible()) continue;
    markOptions(frame, choiceOf(column), cellText(column, intCurrentRow));
    break;
  }
  intOptionSetting = 0;
}

bool FrmAutoSet::blnKeyDownMove(int index, int keyCode, int shift, int column, int direction) {
  if (editor_.fraHelp->isVisible()) {
    editor_.fraHelp->hide();
    editor_.picShadow->hide();
    return false;
  }
  if (family_ >= 0) {
    editor_.fraCTC[static_cast<size_t>(family_)]->hide();
    editor_.fraDCS[static_cast<size_t>(family_)]->hide();
  }
  switch (keyCode) {
    case 33:
    case 34: return false;
    case 35:
    case 36: focusCell(column, index); return false;
    case 38:  // Up
      if (index > 0) {
        if (cell(column, index - 1)->isEnabled()) {
          focusCell(column, index - 1);
        } else {
          int r = intCurrentRow - 1;
          focusCell(objFindEnabledCell(r, column, direction), intCurrentRow - 1);
        }
      }
      return false;
    case 40:  // Down
      if (index < intTemplateEndRow) {
        if (cell(column, index + 1)->isEnabled()) {
          focusCell(column, index + 1);
        } else {
          int r = intCurrentRow + 1;
          focusCell(objFindEnabledCell(r, column, direction), intCurrentRow + 1);
        }
      }
      return true;
    case 68:  // Ctrl+D empties the row
      if (shift == 2) {
        for (int k : {kFreq, kPres, kRef, kWN, kMode, kScan, kTxPower, kCTCSS, kDCS, kINV}) setCellText(k, index, "");
        paintGrey(kINV, index);
        for (int k : {kSH, kSR, kPMFM}) setCellText(k, index, "");
        strFreqOnFocus.clear();
        freqArrival_.clear();
      }
      return true;
    case 112:  // F1: the editor's key help
      editor_.placePanel(editor_.picShadow, 660, 2630);
      editor_.showPanel(editor_.fraHelp, 450, 2450);
      return false;
    case 113:  // F2: the editor's list of the family's tones or codes
      if (family_ >= 0 && isTone(column)) {
        QGroupBox* list = column == kCTCSS ? editor_.fraCTC[static_cast<size_t>(family_)]
                                           : editor_.fraDCS[static_cast<size_t>(family_)];
        editor_.showPanel(list, 450, column == kCTCSS ? 2450 : 3150);
      }
      return true;
    default: return true;
  }
}

void FrmAutoSet::horizontalStep(int column, int keyCode) {
  int n = intCurrentRow;
  int r = intCurrentRow;
  const int left = objFindEnabledCell(r, column, -1);
  const int right = objFindEnabledCell(n, column, 1);
  modPublic.blnResult = pblnSetCursor(cell(column, intCurrentRow), left >= 0 ? cell(left, intCurrentRow) : nullptr,
                                      right >= 0 ? cell(right, n) : nullptr, keyCode);
}

// ---------------------------------------------------------------- events by column

void FrmAutoSet::cellGotFocus(int column, int row) {
  intCurrentRow = row;
  const bool noFrequency = cellText(kFreq, row).empty();
  if (column == kPres) {
    hidePopups();
    focusCell(kRef, row);
    return;
  }
  if (column == kFreq) {
    const std::string text = cellText(kFreq, row);
    strFreqOnFocus = text;
    freqArrival_ = text;
    hidePopups();
    for (int k : kTabOptionCells) setTabStop(k, row, !text.empty());
    QLineEdit* c = txtFrequency[static_cast<size_t>(row)];
    if (c->cursorPosition() != c->text().size()) c->setCursorPosition(0);
    return;
  }
  if (isTone(column)) {
    hidePopups(nullptr, column);
    if (noFrequency) {
      focusCell(kFreq, row);
      return;
    }
    editor_.LabHelpMenu->show();
    modPublic.blnResult = pblnIniCursorPos(cell(column, row));
    strOnFocus[static_cast<size_t>(column)] = cellText(column, row);
    selectAll(cell(column, row));
    return;
  }
  QGroupBox* frame = popup(column);
  hidePopups(frame);
  // The step is chosen before the frequency (a frequency chooses its own);
  // every other option needs the row's frequency first.
  if (column == kRef ? !noFrequency : noFrequency) {
    focusCell(kFreq, row);
    return;
  }
  strOnFocus[static_cast<size_t>(column)] = cellText(column, row);
  selectAll(cell(column, row));
  if (column == kRef) intOptionSetting = 1;
  frame->move(frame->x(), vbui::twipsToPixels(kRowTop[row] + kCellHeight));
  frame->show();
  frame->raise();
  const bool wideFamily = family_ == 0 || family_ == 2;
  if (column == kRef && wideFamily) {
    optReference[0]->show();
    Label1[8]->show();
  }
  if (column == kWN && wideFamily) {
    optWideNarrow[2]->show();
    Label1[9]->show();
  }
  blnSetOptionFromText();
  if (column == kScan || column == kTxPower || column == kPMFM || column == kINV)
    modPublic.blnResult = pblnIniCursorPos(cell(column, row));
  selectAll(cell(column, row));
}

bool FrmAutoSet::cellKeyDown(int column, int row, int keyCode, int shift) {
  if (column == kRef) return false;  // the step cell acts on key release only
  if (column == kPres || column == kFreq) {
    blnKeyDownMove(row, keyCode, shift, column, 1);
    return keyCode == 68 && shift == 2;
  }
  if (column == kSR && row == 1 && keyCode == 39) lstSign->setFocus(Qt::OtherFocusReason);
  const bool more = blnKeyDownMove(row, keyCode, shift, column, -1);
  if (more && (column == kTxPower || column == kPMFM) && cellText(kFreq, row).empty()) focusCell(kFreq, row);
  return keyCode == 68 && shift == 2;
}

bool FrmAutoSet::cellKeyPress(int column, int, int keyAscii) {
  if (keyAscii == 13) return false;  // Enter acts on its release
  if (column == kFreq) return keyAscii == 8 || cellrules::numberCharacter(static_cast<char>(keyAscii));
  return true;
}

void FrmAutoSet::cellKeyUp(int column, int row, int keyCode, int shift) {
  switch (column) {
    case kPres:
      modPublic.blnResult = pblnSetCursor(cell(kPres, row), cell(kPres, row), cell(kRef, row), keyCode);
      return;
    case kRef: referenceKeyUp(row, keyCode, shift); return;
    case kFreq: frequencyKeyUp(row, keyCode); return;
    case kCTCSS:
    case kDCS: toneKeyUp(column, row, keyCode, shift); return;
    default: optionKeyUp(column, row, keyCode, shift); return;
  }
}

void FrmAutoSet::cellLostFocus(int column, int row) {
  if (column == kFreq) {
    checkRefused_ = false;
    std::string text = cellText(kFreq, row);
    if (text.empty()) {
      setTabStop(kRef, row, true);
      modPublic.blnResult = blnChanRowClear(row);
      return;
    }
    setTabStop(kRef, row, false);
    if (text == strFreqOnFocus) strFreqOnFocus.clear();
    setCellText(kFreq, row, cellrules::frequencyFormat(text));
    acceptFrequency(row, "txtFrequency_LostFocus", true);
    return;
  }
  if (isTone(column)) {
    toneLostFocus(column, row);
    return;
  }
  // The pop-up goes with the focus (its options never take it).
  if (QGroupBox* frame = popup(column)) frame->hide();
  if (column == kRef || column == kPres) return;
  if (!cellrules::allowed(choiceOf(column), cellText(column, row)))
    setCellText(column, row, strOnFocus[static_cast<size_t>(column)]);
}

void FrmAutoSet::cellMouseUp(int column, int row) {
  if (editor_.fraHelp->isVisible()) {
    editor_.fraHelp->hide();
    editor_.picShadow->hide();
  }
  if (column != kFreq && column != kPres) selectAll(cell(column, row));
}

void FrmAutoSet::cellChange(int column, int row) {
  if (column != kFreq) return;
  const bool on = !cellText(kFreq, row).empty();
  for (int k : kTabOptionCells) setTabStop(k, row, on);
  // A row with a frequency has its step from the check: Shift+Tab passes the
  // step cell by rather than have it hand the focus back.
  setTabStop(kRef, row, !on);
}

// ---------------------------------------------------------------- frequency cells

bool FrmAutoSet::acceptFrequency(int row, const std::string& title, bool leaving) {
  if (cellrules::twoPoints(cellText(kFreq, row))) {
    message(SoundKind::Information, msgText(10032, 10070), title);
    frequencyRefused(row, leaving);
    return false;
  }
  if (!blnChkFrequency(row)) {
    message(SoundKind::Attention, LoadResString(10031), title);
    frequencyRefused(row, leaving);
    return false;
  }
  setCellText(kFreq, row, cellrules::frequencyFormat(cellText(kFreq, row)));
  writeDefaults(row, leaving);
  return true;
}

void FrmAutoSet::frequencyRefused(int row, bool leaving) {
  setCellText(kFreq, row, freqArrival_);
  // The text put back is selected, so the next keys replace it.
  if (leaving) {
    checkRefused_ = true;
    refocus(cell(kFreq, row), true);
  } else {
    selectAll(cell(kFreq, row));
  }
}

void FrmAutoSet::writeDefaults(int row, bool leaving) {
  for (const auto& [column, word] : cellrules::kDefaultWords) {
    if (column == kPMFM && !leaving) continue;
    if (column == kMode && labChanParaTxRx[static_cast<size_t>(row)]->text() != "RX") continue;
    if (cell(column, row)->isEnabled() && cellText(column, row).empty()) setCellText(column, row, word);
  }
}

void FrmAutoSet::frequencyKeyUp(int row, int keyCode) {
  QLineEdit* c = txtFrequency[static_cast<size_t>(row)];
  const std::string text = cellText(kFreq, row);
  if (keyCode == 13) {
    if (text.empty()) {
      modPublic.blnResult = blnChanRowClear(row);
      return;
    }
    if (!acceptFrequency(row, "txtFrequency_KeyUp", false)) return;
    int r = intCurrentRow;
    const int next = objFindEnabledCell(r, kFreq, 1);
    focusCell(next, r);
    return;
  }
  if (keyCode == 37 && c->cursorPosition() == 0) {
    if (text.empty()) {
      focusCell(kRef, row);
    } else if (row == 1) {
      if (txtSR[0]->isEnabled()) {
        focusCell(kSR, 0);
      } else {
        int r = 0;
        focusCell(objFindEnabledCell(r, kSR, -1), 0);
      }
    }
  } else if (keyCode == 39 && c->cursorPosition() == c->text().size()) {
    if (!text.empty()) {
      int r = intCurrentRow;
      const int next = objFindEnabledCell(r, kFreq, 1);
      focusCell(next, r);
    } else if (row == 0) {
      focusCell(kRef, 1);
    }
  } else if (keyCode == 38 && row == 1) {
    focusCell(kFreq, 0);
  } else if (keyCode == 40 && row == 0) {
    focusCell(kFreq, 1);
  }
}

// ---------------------------------------------------------------- option cells

bool FrmAutoSet::optionDigit(int column, int row, int keyCode) {
  const int option = cellrules::typedOption(choiceOf(column), family_, cellText(column, row), keyCode);
  if (option < 0) return false;
  optionClick(column, option);
  return true;
}

void FrmAutoSet::optionKeyUp(int column, int row, int keyCode, int) {
  if (optionDigit(column, row, keyCode)) return;
  QLineEdit* left = nullptr;
  if (column == kWN) {
    left = txtFrequency[static_cast<size_t>(row)];
  } else {
    int r = intCurrentRow;
    const int c = objFindEnabledCell(r, column, -1);
    if (c >= 0) left = cell(c, intCurrentRow);
  }
  int n = intCurrentRow;
  const int right = objFindEnabledCell(n, column, 1);
  modPublic.blnResult = pblnSetCursor(cell(column, row), left, right >= 0 ? cell(right, n) : nullptr, keyCode);
  // Anything but a chosen digit leaves the cell as its pop-up found it.
  setCellText(column, row, strOnFocus[static_cast<size_t>(column)]);
  selectAll(cell(column, row));
}

void FrmAutoSet::referenceKeyUp(int row, int keyCode, int shift) {
  const std::string typed = cellText(kRef, row);
  setCellText(kRef, row, strOnFocus[kRef]);
  const int option = cellrules::typedOption(cellrules::Choice::Step, family_, typed, keyCode);
  if (option >= 0) {
    optionClick(kRef, option);
    return;
  }
  QLineEdit* self = txtReference[static_cast<size_t>(row)];
  if (keyCode == 37) {
    if (row == 0) return;
    if (txtSR[0]->isEnabled()) {
      focusCell(kSR, 0);
      selectAll(self);
    } else {
      int r = 0;
      focusCell(objFindEnabledCell(r, kSR, -1), 0);
    }
  } else if (keyCode == 39) {
    focusCell(kFreq, row);
    selectAll(self);
  } else if (blnKeyDownMove(row, keyCode, shift, kRef, 1)) {
    selectAll(self);
  }
}

void FrmAutoSet::optionClick(int column, int index) {
  if (intOptionSetting == 1) return;
  const int row = intCurrentRow;
  // An option the family does not offer (family "1" has no 2.5 kHz step)
  // writes nothing.
  std::string word;
  if (cellrules::optionText(choiceOf(column), family_, index, word)) {
    setCellText(column, row, word);
    if (column == kRef) strOnFocus[kRef] = word;
  }
  if (row == 1 && (column == kPMFM || (column == kSR && !txtPMFM[1]->isEnabled()))) {
    lstSign->setFocus(Qt::OtherFocusReason);
  } else {
    int r = row;
    const int next = objFindEnabledCell(r, column, 1);
    focusCell(next, r);
  }
  popup(column)->hide();
}

// ---------------------------------------------------------------- tone cells

void FrmAutoSet::dcsInvState(int row) {
  const std::string text = cellText(kDCS, row);
  if (cellrules::dcsClears(text)) {
    setCellText(kDCS, row, "");
    setCellEnabled(kINV, row, false);
  } else if (text.size() < 3) {
    // Too short for a code: no inversion to choose yet.
    setCellText(kINV, row, "");
    setCellEnabled(kINV, row, false);
  } else {
    setCellEnabled(kINV, row, true);
  }
}

bool FrmAutoSet::enterTone(int column, int row) {
  cellrules::ToneTexts t{cellText(kCTCSS, row), cellText(kDCS, row), cellText(kINV, row)};
  const std::string typed = cellText(column, row);
  const bool found = column == kCTCSS ? cellrules::enterCtcss(strCtcssTable, typed, t) : cellrules::enterDcs(strDcsTable, typed, t);
  if (!found) return false;
  setCellText(kCTCSS, row, t.ctcss);
  setCellText(kDCS, row, t.dcs);
  setCellText(kINV, row, t.inv);
  // INV is for a DCS code only.
  setCellEnabled(kINV, row, column == kDCS);
  strOnFocus[static_cast<size_t>(column)] = cellText(column, row);
  return true;
}

void FrmAutoSet::toneKeyUp(int column, int row, int keyCode, int) {
  if (column == kDCS) {
    const bool zero = cellrules::dcsClears(cellText(kDCS, row));
    dcsInvState(row);
    if (zero) return;
  }
  if (keyCode == 13) {
    if (cellText(column, row).empty()) return;
    if (!enterTone(column, row)) {
      message(SoundKind::Attention, LoadResString(10032), column == kCTCSS ? "txtCTCSS_KeyUp" : "txtDCS_KeyUp");
      setCellText(column, row, strOnFocus[static_cast<size_t>(column)]);
      focusCell(column, row);
      selectAll(cell(column, row));
      if (column == kDCS) setCellEnabled(kINV, row, false);
      return;
    }
    int r = intCurrentRow;
    focusCell(objFindEnabledCell(r, column, 1), r);
    return;
  }
  horizontalStep(column, keyCode);
  if (keyCode == 38 || keyCode == 40) selectAll(cell(column, row));
}

void FrmAutoSet::toneLostFocus(int column, int row) {
  editor_.LabHelpMenu->hide();
  toneChecked(column, row);
}

bool FrmAutoSet::toneChecked(int column, int row) {
  checkRefused_ = false;
  if (cellText(column, row).empty()) return true;
  if (enterTone(column, row)) return true;
  message(SoundKind::Attention, LoadResString(10032), column == kCTCSS ? "txtCTCSS_LostFocus" : "txtDCS_LostFocus");
  setCellText(column, row, strOnFocus[static_cast<size_t>(column)]);
  if (column == kDCS) setCellEnabled(kINV, row, false);
  checkRefused_ = true;
  // The text put back is selected: the next key replaces it.
  refocus(cell(column, row), true);
  return false;
}

// ---------------------------------------------------------------- entries from outside

std::pair<int, int> FrmAutoSet::cellOf(const QLineEdit* box) const {
  for (int k = 0; k < kColumns; ++k)
    for (int r = 0; r < kRows; ++r)
      if (cell(k, r) == box) return {k, r};
  return {-1, -1};
}

bool FrmAutoSet::typingPending() const {
  const auto [column, row] = cellOf(current_);
  return column >= 0 && cellText(column, row) != judged_[static_cast<size_t>(column)][static_cast<size_t>(row)];
}

bool FrmAutoSet::leaveEditedCell() {
  const auto [column, row] = cellOf(current_);
  checkRefused_ = false;
  cellLostFocus(column, row);
  judged_[static_cast<size_t>(column)][static_cast<size_t>(row)] = cellText(column, row);
  // The focus never left: the cell's visit goes on from the judged text.
  cellGotFocus(column, row);
  return !checkRefused_;
}

bool FrmAutoSet::takeEntry(QLineEdit* box) {
  // A box that has come to be edited holds typed text now: leaving it
  // judges the text.
  if (box == current_ || box->hasFocus()) {
    if (const auto [column, row] = cellOf(box); column >= 0) cellChange(column, row);
    return true;
  }
  return judgeEntry(box);
}

bool FrmAutoSet::judgeEntry(QLineEdit* box) {
  const auto [column, row] = cellOf(box);
  // Refused or taken, the text of an entry is no click's: a Set pressed
  // next is a Set.
  const bool refusedBefore = checkRefused_;
  bool taken = true;
  if (typingPending() && !leaveEditedCell()) {
    // As moving into the box would, the cell being edited is left first and
    // its typed text judged; a refusal there holds the entry back a turn.
    outside_->put(box);
  } else if (column < 0) {
    // A field: judged by its lost-focus check.
    checkRefused_ = false;
    events_->leave(box);
    taken = !checkRefused_;
  } else {
    taken = cellEntry(column, row);
  }
  checkRefused_ = refusedBefore;
  return taken;
}

bool FrmAutoSet::cellEntry(int column, int row) {
  const auto k = static_cast<size_t>(column);
  const std::string before = judged_[k][static_cast<size_t>(row)];
  // Only a cell that keeps the focus can be typed into: not the prescaler,
  // the step only in a row without a frequency, the options and tones only
  // in a row with one.
  const bool hasFrequency = !cellText(kFreq, row).empty();
  if (!cell(column, row)->isEnabled() || column == kPres ||
      (column != kFreq && (column == kRef ? hasFrequency : !hasFrequency))) {
    setCellText(column, row, before);
    return false;
  }
  // The entry is the cell's own visit; the visit of the cell being edited
  // goes on afterwards.
  const int visitRow = intCurrentRow;
  const std::string visitFreq = strFreqOnFocus, visitArrival = freqArrival_, visitText = strOnFocus[k];
  intCurrentRow = row;
  strFreqOnFocus = freqArrival_ = strOnFocus[k] = before;
  bool taken = false;
  bool told = false;  // refused with a message
  if (column == kFreq) {
    cellChange(kFreq, row);
    cellLostFocus(kFreq, row);
    told = checkRefused_;
    taken = !told;
  } else if (isTone(column)) {
    // A key's release would first apply the DCS rules.
    const bool zero = column == kDCS && cellrules::dcsClears(cellText(kDCS, row));
    if (column == kDCS) dcsInvState(row);
    taken = zero || toneChecked(column, row);
    told = !taken;
  } else {
    const cellrules::Choice rule = choiceOf(column);
    std::string word;
    taken = cellrules::optionText(rule, family_, cellrules::enteredOption(rule, family_, cellText(column, row)), word);
    setCellText(column, row, taken ? word : before);
  }
  if (told) {
    enterCell(column, row);
    return false;
  }
  intCurrentRow = visitRow;
  strFreqOnFocus = visitFreq;
  freqArrival_ = visitArrival;
  strOnFocus[k] = visitText;
  return taken;
}

void FrmAutoSet::enterCell(int column, int row) {
  // The tone key hint belongs to the cell left.
  editor_.LabHelpMenu->hide();
  current_ = cell(column, row);
  cellGotFocus(column, row);
}

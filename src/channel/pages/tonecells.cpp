#include "channel/pages/tonecells.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "channel/pages/frmchannel.h"
#include "core/modpublic.h"
#include "core/soundmsg.h"
#include "platform/base/strtable.h"

namespace {
constexpr int kCtcColumn = 7;  // grid columns
constexpr int kDcsColumn = 9;
constexpr int kInvColumn = 10;
}  // namespace

ToneColumn::ToneColumn(FrmChannel& p, int nav) : ChannelColumn(p, nav) {}

bool ToneColumn::isDcs() const { return nav_ == FrmChannel::kDCS; }

void ToneColumn::attach() {
  // Shown only while a tone cell of a row in use has the focus.
  page.LabHelpMenu->hide();
}

void ToneColumn::hideOtherPopups() {
  // The cell's own code list stays as it is; every other pop-up goes.
  const int f = page.family();
  QGroupBox* own = f < 0 ? nullptr : (isDcs() ? page.fraDCS : page.fraCTC)[static_cast<size_t>(f)];
  const bool shown = own && own->isVisible();
  page.hidePopups();
  if (shown) own->show();
}

void ToneColumn::GotFocus(int row) {
  pressedKey_ = -1;
  page.intCurRow = row;
  hideOtherPopups();
  modPublic.blnResult = page.subClearRowIfNoFrequency(row);
  // No tone on a row without a frequency.
  if (page.cellText(FrmChannel::kFreq, row).empty()) {
    page.focusCell(FrmChannel::kFreq, row);
    return;
  }
  page.LabHelpMenu->show();
  page.selectAll(nav_, row);
}

bool ToneColumn::KeyDown(int row, int keyCode, int shift) {
  pressedKey_ = keyCode;
  if (commonKeyDown(row, keyCode, shift, true)) return true;
  // A full cell takes Enter as a key without refusing it for its length; the
  // key press sets the design length back.
  QLineEdit* c = page.cell(nav_, row);
  if (keyCode == 13 && !page.cellText(FrmChannel::kFreq, row).empty() && c->text().size() == designLength())
    c->setMaxLength(designLength() + 1);
  return false;
}

bool ToneColumn::KeyPress(int row, int keyAscii) {
  if (keyAscii != 13) return true;
  page.cell(nav_, row)->setMaxLength(designLength());
  return false;
}

bool ToneColumn::dcsKeyState(int row) {
  const std::string text = page.cellText(FrmChannel::kDCS, row);
  if (text.empty() && modPublic.strChanPara(page.topRow() + row, kDcsColumn).empty()) {
    // No code was shown: the row keeps what it holds (also an INV bit stored
    // with a code the table cannot show), and INV stays out of reach.
    page.setCellEnabled(FrmChannel::kINV, row, false);
    return true;
  }
  if (cellrules::dcsClears(text) || text.empty()) {
    // The code is gone: the row keeps no INV without it, in the grid too, so
    // that a page move cannot bring back the code without its INV.
    cellrules::ToneTexts t{page.cellText(FrmChannel::kCTCSS, row), text, page.cellText(FrmChannel::kINV, row)};
    cellrules::enterDcs(page.data.strDcsTable, "", t);
    apply(row, t);
    return text.empty();
  }
  page.setCellEnabled(FrmChannel::kINV, row, true);
  return true;
}

void ToneColumn::KeyUp(int row, int keyCode, int) {
  // A key pressed elsewhere (the arrow that brought the focus here, the key
  // that closed a message) is not this cell's.
  if (keyCode != pressedKey_) return;
  pressedKey_ = -1;
  if (isDcs() && !dcsKeyState(row)) return;
  if (keyCode == 13) {
    if (page.cellText(nav_, row).empty()) return;
    if (!commit(row, isDcs() ? "txtDCS_KeyUp" : "txtCTCSS_KeyUp")) return;
    int next = page.intCurRow;
    const int found = page.objFindEnabledCell(next, nav_, 1);
    if (found >= 0) page.focusCell(found, next);
    return;
  }
  page.moveLeftRight(nav_, row, keyCode);
  if (keyCode == 38 || keyCode == 40) page.selectAll(nav_, row);
}

void ToneColumn::MouseUp(int row) {
  ChannelColumn::MouseUp(row);
  page.selectAll(nav_, row);
}

void ToneColumn::Change(int row) {
  // The grid takes a tone only when it is committed. A text pasted or dropped
  // with the mouse meets the rules a key's release applies to typed text.
  if (page.intCellLock == 1 || !isDcs() || pressedKey_ >= 0 || !page.cell(nav_, row)->isModified()) return;
  dcsKeyState(row);
}

void ToneColumn::LostFocus(int row) {
  pressedKey_ = -1;
  page.LabHelpMenu->hide();
  // While the page moves, its cells are refilled for other rows: a tone not
  // yet committed is dropped, as a frequency not yet checked is.
  if (page.intCellLock == 1) return;
  page.blnCheckFailed = false;
  commit(row, isDcs() ? "txtDCS_LostFocus" : "txtCTCSS_LostFocus");
}

bool ToneColumn::Entry(int row) {
  // No tone on a row without a frequency: its tone cells never keep the focus.
  if (page.cellText(FrmChannel::kFreq, row).empty()) return false;
  if (isDcs() && !dcsKeyState(row)) return true;
  if (lookUp(row)) return true;
  page.enterCell(nav_, row);
  refuse(row, isDcs() ? "txtDCS_LostFocus" : "txtCTCSS_LostFocus");
  return false;
}

bool ToneColumn::commit(int row, const char* title) {
  if (lookUp(row)) return true;
  refuse(row, title);
  return false;
}

bool ToneColumn::lookUp(int row) {
  // Unchanged: the row keeps what it holds, also a tone the table cannot show.
  if (page.cellText(nav_, row) == modPublic.strChanPara(page.topRow() + row, isDcs() ? kDcsColumn : kCtcColumn))
    return true;
  cellrules::ToneTexts t{page.cellText(FrmChannel::kCTCSS, row), page.cellText(FrmChannel::kDCS, row),
                         page.cellText(FrmChannel::kINV, row)};
  const std::string typed = page.cellText(nav_, row);
  const bool accepted = isDcs() ? cellrules::enterDcs(page.data.strDcsTable, typed, t)
                                : cellrules::enterCtcss(page.data.strCtcTable, typed, t);
  if (accepted) apply(row, t);
  return accepted;
}

void ToneColumn::refuse(int row, const char* title) {
  // Refused: what the grid holds comes back, and the focus stays (it is back
  // before the message, so no other cell runs its handlers meanwhile).
  const std::string back = modPublic.strChanPara(page.topRow() + row, isDcs() ? kDcsColumn : kCtcColumn);
  page.setCellText(nav_, row, back);
  if (isDcs()) page.setCellEnabled(FrmChannel::kINV, row, !back.empty());
  QLineEdit* c = page.cell(nav_, row);
  if (!c->hasFocus()) c->setFocus(Qt::OtherFocusReason);
  page.blnCheckFailed = true;
  page.message(SoundKind::Attention, LoadResString(10032), title);
  // The key that closes the message is released in this cell.
  pressedKey_ = -1;
  // The text put back is selected, so the next keys replace it; refused on
  // leaving, the cell's own focus-out handling has yet to run and would take
  // the selection off, so it is selected again once that is over.
  page.selectAll(nav_, row);
  QTimer::singleShot(0, c, [this, row, c] {
    if (page.cell(nav_, row) == c) page.selectAll(nav_, row);
  });
}

void ToneColumn::apply(int row, const cellrules::ToneTexts& t) {
  const int g = page.topRow() + row;
  modPublic.strChanPara(g, kCtcColumn) = t.ctcss;
  modPublic.strChanPara(g, kDcsColumn) = t.dcs;
  modPublic.strChanPara(g, kInvColumn) = t.inv;
  page.setCellText(FrmChannel::kCTCSS, row, t.ctcss);
  page.setCellText(FrmChannel::kDCS, row, t.dcs);
  page.setCellText(FrmChannel::kINV, row, t.inv);
  page.setCellEnabled(FrmChannel::kINV, row, !t.dcs.empty());
}

#include "channel/pages/chancells.h"

#include <QChar>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QGroupBox>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>

#include "channel/cellrules.h"
#include "channel/pages/choicecells.h"
#include "channel/pages/frmchannel.h"
#include "channel/pages/tonecells.h"
#include "core/modpublic.h"
#include "core/soundmsg.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"

std::unique_ptr<ChannelColumn> makeChannelColumn(FrmChannel& page, int nav) {
  switch (nav) {
    case FrmChannel::kFreq: return std::make_unique<FrequencyColumn>(page);
    case FrmChannel::kPres: return std::make_unique<PrescalerColumn>(page);
    case FrmChannel::kRef: return std::make_unique<StepColumn>(page);
    case FrmChannel::kWN: case FrmChannel::kMode: case FrmChannel::kScan: case FrmChannel::kTxPower:
    case FrmChannel::kPMFM: case FrmChannel::kINV: case FrmChannel::kSH: case FrmChannel::kSR:
      return std::make_unique<ChoiceColumn>(page, nav);
    case FrmChannel::kCTCSS: case FrmChannel::kDCS: return std::make_unique<ToneColumn>(page, nav);
    default: return std::make_unique<ChannelColumn>(page, nav);
  }
}

void fitCaption(QLabel* label) {
  // Measured from the font the label inherits, so a caption shown again in
  // another language starts from the full size.
  QFont font = label->parentWidget() ? label->parentWidget()->font() : label->font();
  const int room = label->contentsRect().width();
  int size = QFontInfo(font).pixelSize();
  constexpr int kSmallest = 8;
  while (size > kSmallest && QFontMetrics(font).horizontalAdvance(label->text()) > room) font.setPixelSize(--size);
  label->setFont(font);
}

void setColumnHeads(const ColumnHeads& heads, int base) {
  for (size_t k = 0; k < heads.size(); ++k) {
    heads[k]->setContentsMargins(kColumnHeadGap, 0, kColumnHeadGap, 0);
    heads[k]->setText(QString::fromStdString(LoadResString(base + static_cast<int>(k))));
    fitCaption(heads[k]);
  }
}

void paintColumnHeads(const ColumnHeads& heads, const std::string& colour) {
  const uint32_t c = vb::ColorValue(colour);
  for (QLabel* l : heads) vbui::setBackColor(l, c);
}

QValidator::State CharacterFilter::validate(QString& input, int& pos) const {
  if (bypass_ && *bypass_) return Acceptable;
  QString kept;
  int newPos = 0;
  for (int i = 0; i < input.size(); ++i) {
    if (!accepts_(input.at(i))) continue;
    kept += input.at(i);
    if (i < pos) ++newPos;
  }
  input = kept;
  pos = newPos;
  return Acceptable;
}

// ---------------------------------------------------------------- read-only columns

ChannelColumn::ChannelColumn(FrmChannel& p, int nav) : page(p), nav_(nav) {}

int ChannelColumn::searchDirection() const {
  return nav_ == FrmChannel::kPres || nav_ == FrmChannel::kRef || nav_ == FrmChannel::kFreq || nav_ == FrmChannel::kSR
             ? 1
             : -1;
}

bool ChannelColumn::accepts(QChar) const { return false; }

void ChannelColumn::GotFocus(int row) {
  page.intCurRow = row;
  page.hidePopups();
  // A row without a frequency has no options to look at: the frequency cell
  // takes the focus.
  if (nav_ >= FrmChannel::kWN) {
    modPublic.blnResult = page.subClearRowIfNoFrequency(row);
    if (page.cellText(FrmChannel::kFreq, row).empty()) {
      page.focusCell(FrmChannel::kFreq, row);
      return;
    }
  }
  page.savedText(nav_) = page.cellText(nav_, row);
  page.selectAll(nav_, row);
}

bool ChannelColumn::KeyPress(int, int keyAscii) { return keyAscii != 13; }

bool ChannelColumn::commonKeyDown(int row, int keyCode, int shift, bool checkRow) {
  if (!page.blnGridKeyDown(row, keyCode, shift, nav_, searchDirection())) return true;
  if (checkRow) {
    modPublic.blnResult = page.subClearRowIfNoFrequency(row);
    if (page.cellText(FrmChannel::kFreq, row).empty()) page.focusCell(FrmChannel::kFreq, row);
  }
  return false;
}

bool ChannelColumn::KeyDown(int row, int keyCode, int shift) {
  return commonKeyDown(row, keyCode, shift, nav_ != FrmChannel::kRef);
}

void ChannelColumn::KeyUp(int row, int keyCode, int) { page.moveLeftRight(nav_, row, keyCode); }

void ChannelColumn::MouseUp(int) {
  if (page.fraHelp->isVisible()) {
    page.fraHelp->hide();
    page.picShadow->hide();
  }
}

void ChannelColumn::Change(int row) {
  // The tone cells have no change handler: their texts reach the grid only
  // when the code that checks them stores them.
  if (page.intCellLock == 1 || nav_ == FrmChannel::kCTCSS || nav_ == FrmChannel::kDCS) return;
  modPublic.strChanPara(page.topRow() + row, FrmChannel::gridColumn(nav_)) = page.cellText(nav_, row);
}

void ChannelColumn::LostFocus(int) {}

bool ChannelColumn::Entry(int) { return false; }

// ---------------------------------------------------------------- frequency cells

FrequencyColumn::FrequencyColumn(FrmChannel& p) : ChannelColumn(p, FrmChannel::kFreq) {}

bool frequencyCharacter(QChar c) { return c.unicode() < 128 && cellrules::numberCharacter(static_cast<char>(c.unicode())); }

bool FrequencyColumn::accepts(QChar c) const { return frequencyCharacter(c); }

void FrequencyColumn::GotFocus(int row) {
  const std::string text = page.cellText(FrmChannel::kFreq, row);
  page.intCurRow = row;
  page.strSavedFreq = text;
  page.hidePopups();
  // Tab passes over the option cells of a row not in use.
  page.setRowTabStops(row);
  QLineEdit* c = page.txtFrequency[static_cast<size_t>(row)];
  if (c->cursorPosition() != c->text().size()) c->setCursorPosition(0);
}

bool FrequencyColumn::KeyPress(int, int keyAscii) {
  if (keyAscii == 8) return true;
  return keyAscii < 128 && cellrules::numberCharacter(static_cast<char>(keyAscii));
}

bool FrequencyColumn::KeyDown(int row, int keyCode, int shift) { return commonKeyDown(row, keyCode, shift, false); }

void FrequencyColumn::MouseUp(int row) { ChannelColumn::MouseUp(row); }

void FrequencyColumn::Change(int row) {
  if (page.intCellLock == 1) return;
  const int gridRow = page.topRow() + row;
  const std::string text = page.cellText(FrmChannel::kFreq, row);
  page.beginFrequencyEdit(gridRow);
  page.blnFreqPending = true;
  page.intEditRow = gridRow;
  modPublic.strChanPara(gridRow, 2) = text;
  if (text.empty()) {
    page.intCellLock = 1;
    page.subChannelDataDelete(row);
    page.intCellLock = 0;
    // Emptying the frequency deletes the channel at once; a later page move
    // has no edit of it to drop.
    page.endFrequencyEdit();
    return;
  }
  page.setRowTabStops(row);
}

void FrequencyColumn::KeyUp(int row, int keyCode, int) {
  if (page.blnSkipKeyUp) {
    page.blnSkipKeyUp = false;
    return;
  }
  if (keyCode == 13) {
    enterKey(row);
    return;
  }
  QLineEdit* c = page.txtFrequency[static_cast<size_t>(row)];
  const bool empty = c->text().isEmpty();
  if (keyCode == 39 && c->cursorPosition() >= c->text().size()) {
    if (!empty) {
      int r = page.intCurRow;
      const int nav = page.objFindEnabledCell(r, FrmChannel::kFreq, 1);
      if (nav >= 0) page.focusCell(nav, r);
    } else if (row < page.intLastVisibleRow) {
      page.focusCell(FrmChannel::kRef, row + 1);
    } else {
      const int last = page.intMaxRow - page.intLastVisibleRow;
      if (page.topRow() < last) {
        page.vscChanPara->setValue(std::min(page.topRow() + 2, last));
        page.focusCell(FrmChannel::kRef, page.intLastVisibleRow);
      }
    }
  } else if (keyCode == 37 && c->cursorPosition() == 0) {
    if (empty) {
      page.focusCell(FrmChannel::kRef, row);
    } else if (row > 0) {
      if (page.cellEnabled(FrmChannel::kSR, row - 1)) {
        page.focusCell(FrmChannel::kSR, row - 1);
      } else {
        int r = row - 1;
        const int nav = page.objFindEnabledCell(r, FrmChannel::kSR, -1);
        if (nav >= 0) page.focusCell(nav, row - 1);
      }
    }
  }
  page.blnSkipKeyUp = false;
}

void FrequencyColumn::enterKey(int row) {
  bool shown = false;
  const std::string text = page.cellText(FrmChannel::kFreq, row);
  if (text.empty()) {
    modPublic.blnResult = page.subClearRowIfNoFrequency(row);
    page.strSavedFreq.clear();
    page.blnSkipKeyUp = false;
    return;
  }
  bool refused = true;
  // Enter on a text the row already had changes nothing of the row.
  const bool keep = page.keepsItsChannel(row, page.strSavedFreq);
  if (cellrules::twoPoints(text)) {
    page.message(SoundKind::Information, msgText(10032, 10070), "txtFrequency_KeyUp");
    shown = true;
  } else if (keep ? page.frequencyPasses(row) : page.blnCheckFrequency(row)) {
    if (!keep) {
      page.setCellText(FrmChannel::kFreq, row, cellrules::frequencyFormat(page.cellText(FrmChannel::kFreq, row)));
      page.writeDefaults(row);
    }
    // The checked text is the channel now; moving the page keeps it.
    page.endFrequencyEdit();
    refused = false;
  } else {
    page.message(SoundKind::Attention, LoadResString(10031), "txtFrequency_KeyUp");
    shown = true;
  }
  if (refused) {
    if (page.blnFreqPending) page.dropPendingFrequency();
    else page.setCellText(FrmChannel::kFreq, row, page.strSavedFreq);
  }
  page.strSavedFreq = page.cellText(FrmChannel::kFreq, row);
  page.focusCell(FrmChannel::kFreq, row);
  // The text put back is selected, so the next keys replace it.
  if (refused) page.selectAll(FrmChannel::kFreq, row);
  // The key release that closed the message box comes to this cell next.
  page.blnSkipKeyUp = shown;
}

void FrequencyColumn::LostFocus(int row) {
  page.blnCheckFailed = false;
  if (page.cellText(FrmChannel::kFreq, row).empty()) {
    page.setTabStop(FrmChannel::kRef, row, true);
    modPublic.blnResult = page.subClearRowIfNoFrequency(row);
    page.endFrequencyEdit();
    return;
  }
  page.setTabStop(FrmChannel::kRef, row, false);
  page.commitFrequency(row, "txtFrequency_LostFocus", false);
}

bool FrequencyColumn::Entry(int row) {
  // The check compares with the text the cell had, as its arrival would have
  // kept it; the cell being edited keeps its own afterwards.
  const std::string arrival = page.strSavedFreq;
  page.strSavedFreq = page.gridText(FrmChannel::kFreq, row);
  Change(row);
  LostFocus(row);
  if (page.blnCheckFailed) {
    page.enterCell(FrmChannel::kFreq, row);
    return false;
  }
  page.strSavedFreq = arrival;
  return true;
}

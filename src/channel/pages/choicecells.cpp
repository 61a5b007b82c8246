#include "channel/pages/choicecells.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>
#include <functional>
#include <map>

#include "channel/pages/frmchannel.h"
#include "core/modpublic.h"
#include "platform/gui/vbui.h"

namespace {

// Runs an option's click when the button is chosen by the mouse or gets the
// focus by the mouse or an arrow key: moving onto an option that way chooses
// it. Tab and Shift+Tab only pass over it. `left` runs when the focus leaves
// an option for a control of the page that is none of the pop-up's.
class OptionWatcher : public QObject {
 public:
  OptionWatcher(std::function<void(int, bool)> chosen, std::function<void()> left)
      : chosen_(std::move(chosen)), left_(std::move(left)) {}
  void watch(QRadioButton* b, int index) {
    index_[b] = index;
    b->installEventFilter(this);
    connect(b, &QAbstractButton::toggled, this, [this, index](bool on) {
      if (on) chosen_(index, false);
    });
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress: {
        // An arrow key moves the focus to the next option with a Tab reason.
        const int key = static_cast<QKeyEvent*>(event)->key();
        arrow_ = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
        break;
      }
      case QEvent::KeyRelease: arrow_ = false; break;
      case QEvent::FocusIn: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const bool tab = (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && !arrow_;
        arrow_ = false;
        const auto it = index_.find(watched);
        if (reason != Qt::ActiveWindowFocusReason && !tab && it != index_.end()) chosen_(it->second, true);
        break;
      }
      case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        QWidget* to = QApplication::focusWidget();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            reason != Qt::MenuBarFocusReason && to && index_.count(to) == 0)
          left_();
        break;
      }
      default: break;
    }
    return false;
  }

 private:
  std::function<void(int, bool)> chosen_;
  std::function<void()> left_;
  std::map<QObject*, int> index_;
  bool arrow_ = false;  // an arrow key is down on an option
};

}  // namespace

// ---------------------------------------------------------------- shared

void markOptions(QGroupBox* frame, cellrules::Choice c, const std::string& text) {
  const QList<QRadioButton*> options = frame->findChildren<QRadioButton*>();
  const int index = cellrules::markedOption(c, text);
  if (index == cellrules::kClearMarks) {
    for (QRadioButton* o : options) {
      // One button of a group cannot be unmarked on its own.
      o->setAutoExclusive(false);
      o->setChecked(false);
      o->setAutoExclusive(true);
    }
  } else if (index >= 0 && index < options.size()) {
    options[index]->setChecked(true);
  }
}

PopupColumn::PopupColumn(FrmChannel& p, int nav, cellrules::Choice rule) : ChannelColumn(p, nav), rule_(rule) {}

PopupColumn::~PopupColumn() = default;

void PopupColumn::attach() {
  auto take = [this](QGroupBox* f, const auto& options) {
    frame_ = f;
    options_.assign(options.begin(), options.end());
  };
  switch (nav_) {
    case FrmChannel::kRef: take(page.fraReference, page.optReference); break;
    case FrmChannel::kWN: take(page.fraWNSelect, page.optWideNarrow); break;
    case FrmChannel::kMode: take(page.fraMode, page.optMode); break;
    case FrmChannel::kScan: take(page.fraScan, page.optScan); break;
    case FrmChannel::kTxPower: take(page.fraTxPower, page.optTxPower); break;
    case FrmChannel::kPMFM: take(page.fraPMFM, page.optPMFM); break;
    case FrmChannel::kINV: take(page.fraINV, page.optINV); break;
    case FrmChannel::kSH: take(page.fraSH, page.optSH); break;
    case FrmChannel::kSR: take(page.fraSR, page.optSR); break;
    default: return;
  }
  // Wide enough for every caption in the platform's font.
  int right = 0;
  for (QRadioButton* b : options_) {
    b->resize(std::max(b->width(), b->sizeHint().width()), b->height());
    right = std::max(right, b->x() + b->width());
  }
  if (frame_->width() < right + 4) frame_->resize(right + 4, frame_->height());
  auto watcher = std::make_unique<OptionWatcher>(
      [this](int index, bool byFocus) {
        // A mark set while the pop-up is hidden is the page's own doing.
        if (byFocus || frame_->isVisible()) optionClick(index);
      },
      [this] { frame_->hide(); });
  for (size_t i = 0; i < options_.size(); ++i) watcher->watch(options_[i], static_cast<int>(i));
  watcher_ = std::move(watcher);
}

bool PopupColumn::KeyDown(int row, int keyCode, int shift) {
  pressedKey_ = keyCode;
  return ChannelColumn::KeyDown(row, keyCode, shift);
}

void PopupColumn::Change(int row) {
  if (page.intCellLock == 1) return;
  const int gridRow = page.topRow() + row;
  const int column = FrmChannel::gridColumn(nav_);
  if (page.cell(nav_, row)->isModified()) {
    // Typed text waits for its key's release, which picks an option or
    // undoes it. Text that came without a key (pasted or dropped with the
    // mouse) is undone at once, as a typed character would be: the grid
    // only ever holds the column's words.
    if (pressedKey_ >= 0) return;
    page.setCellText(nav_, row, modPublic.strChanPara(gridRow, column));
    page.selectAll(nav_, row);
    return;
  }
  const std::string text = page.cellText(nav_, row);
  const std::string kept = cellrules::folded(rule_, text);
  if (kept != text) {
    page.setCellText(nav_, row, kept);
    return;
  }
  if (cellrules::allowed(rule_, kept)) modPublic.strChanPara(gridRow, column) = kept;
}

void PopupColumn::LostFocus(int) {
  pressedKey_ = -1;
  // The pop-up goes with the focus, unless the focus went onto one of its
  // options (a click on one begins so).
  if (!frame_->isAncestorOf(QApplication::focusWidget())) frame_->hide();
}

bool PopupColumn::Entry(int row) {
  // The cells keep the focus only where they can be chosen: the step in a
  // row without a frequency, the other options in a row in use.
  const bool used = !page.cellText(FrmChannel::kFreq, row).empty();
  if (used != (nav_ != FrmChannel::kRef)) return false;
  std::string word;
  if (!cellrules::optionText(rule_, page.family(), cellrules::enteredOption(rule_, page.family(), page.cellText(nav_, row)),
                             word))
    return false;
  page.setCellText(nav_, row, word);
  modPublic.strChanPara(page.topRow() + row, FrmChannel::gridColumn(nav_)) = word;
  return true;
}

void PopupColumn::choose(int index) {
  if (index < 0 || index >= static_cast<int>(options_.size())) return;
  const int lock = page.intCellLock;
  page.intCellLock = 1;
  options_[static_cast<size_t>(index)]->setChecked(true);
  page.intCellLock = lock;
  optionClick(index);
}

void PopupColumn::showPopup(int row) {
  const QLineEdit* c = page.cell(nav_, row);
  QWidget* body = frame_->parentWidget();
  const int cellTop = c->mapTo(body, QPoint(0, 0)).y();
  int top = cellTop + vbui::twipsToPixels(270);
  // Under the last rows there is no room below the cell: the pop-up opens
  // above it instead of being cut off by the page's edge.
  if (top + frame_->height() > body->height()) top = std::max(0, cellTop - frame_->height());
  frame_->move(frame_->x(), top);
  frame_->show();
  frame_->raise();
}

// ---------------------------------------------------------------- W/N, mode, scan, TX power, flags

ChoiceColumn::ChoiceColumn(FrmChannel& p, int nav) : PopupColumn(p, nav, *cellrules::choiceAt(nav)) {}

void ChoiceColumn::attach() {
  PopupColumn::attach();
  // Each cell names the digits of its options.
  const char* tip = "1:1   2:NON";
  switch (nav_) {
    case FrmChannel::kWN: tip = "1:WIDE   2:NARROW   3:4KHz"; break;
    case FrmChannel::kMode: tip = "1:Simplex   2:Semiduplex   3:Duplex   4:Repeater"; break;
    case FrmChannel::kScan: tip = "1:ON   2:OFF"; break;
    case FrmChannel::kTxPower: tip = "1:HIGH   2:LOW"; break;
    case FrmChannel::kPMFM: tip = "1:PM   2:FM"; break;
    default: break;
  }
  for (QLineEdit* c : page.cells[static_cast<size_t>(nav_)]) c->setToolTip(tip);
}

void ChoiceColumn::GotFocus(int row) {
  pressedKey_ = -1;
  page.intCurRow = row;
  page.hidePopups();
  modPublic.blnResult = page.subClearRowIfNoFrequency(row);
  if (page.cellText(FrmChannel::kFreq, row).empty()) {
    page.focusCell(FrmChannel::kFreq, row);
    return;
  }
  if (nav_ == FrmChannel::kWN && page.family() != 1) {
    page.optWideNarrow[2]->show();
    page.Label1[10]->show();
  }
  showPopup(row);
  page.subSyncOptionButtons();
  page.savedText(nav_) = page.cellText(nav_, row);
  page.selectAll(nav_, row);
}

void ChoiceColumn::KeyUp(int row, int keyCode, int) {
  // A key pressed elsewhere (the Down arrow that brought the focus here, the
  // key that closed a message) is not this cell's.
  if (keyCode != pressedKey_) return;
  pressedKey_ = -1;
  const int option = cellrules::typedOption(rule(), page.family(), page.cellText(nav_, row), keyCode);
  if (option >= 0) {
    choose(option);
    return;
  }
  page.moveLeftRight(nav_, row, keyCode);
  page.setCellText(nav_, row, page.savedText(nav_));
  page.selectAll(nav_, row);
}

void ChoiceColumn::MouseUp(int row) {
  ChannelColumn::MouseUp(row);
  page.selectAll(nav_, row);
}

void ChoiceColumn::LostFocus(int row) {
  PopupColumn::LostFocus(row);
  // While the page moves, its cells are refilled for other rows; what they
  // held is in the grid already.
  if (page.intCellLock == 1) return;
  const std::string text = page.cellText(nav_, row);
  // A row in use always has PM or FM; a row without a frequency has nothing.
  const bool emptyPMFM = nav_ == FrmChannel::kPMFM && text.empty() && !page.cellText(FrmChannel::kFreq, row).empty();
  if (cellrules::allowed(rule(), text) && !emptyPMFM)
    modPublic.strChanPara(page.topRow() + row, FrmChannel::gridColumn(nav_)) = text;
  else
    page.setCellText(nav_, row, page.savedText(nav_));
}

void ChoiceColumn::optionClick(int index) {
  if (page.intCellLock == 1) return;
  const int row = page.intCurRow;
  std::string word;
  if (cellrules::optionText(rule(), page.family(), index, word)) page.setCellText(nav_, row, word);
  int next = row;
  const int found = page.objFindEnabledCell(next, nav_, 1);
  // At the grid's very end there is no cell further right: the focus stays.
  if (found >= 0) page.focusCell(found, next);
  else page.focusCell(nav_, row);
  frame()->hide();
}

// ---------------------------------------------------------------- step

StepColumn::StepColumn(FrmChannel& p) : PopupColumn(p, FrmChannel::kRef, cellrules::Choice::Step) {}

void StepColumn::GotFocus(int row) {
  pressedKey_ = -1;
  page.intCurRow = row;
  page.hidePopups();
  // The step of a row with a frequency belongs to the frequency check.
  if (!page.cellText(FrmChannel::kFreq, row).empty()) {
    page.focusCell(FrmChannel::kFreq, row);
    return;
  }
  page.strSavedRef = page.cellText(FrmChannel::kRef, row);
  page.selectAll(FrmChannel::kRef, row);
  showPopup(row);
  if (page.family() != 1) {
    page.optReference[0]->show();
    page.Label1[0]->show();
  }
  page.subSyncOptionButtons();
}

void StepColumn::KeyUp(int row, int keyCode, int) {
  if (keyCode != pressedKey_) return;
  pressedKey_ = -1;
  // Typed characters never stay in the cell.
  const std::string typed = page.cellText(FrmChannel::kRef, row);
  page.setCellText(FrmChannel::kRef, row, page.strSavedRef);
  page.selectAll(FrmChannel::kRef, row);
  const int option = cellrules::typedOption(rule(), page.family(), typed, keyCode);
  if (option >= 0) {
    choose(option);
    return;
  }
  if (keyCode == 37) {
    if (row == 0) {
      const int top = page.topRow();
      if (top > 0) {
        page.vscChanPara->setValue(std::max(top - 2, 0));
        page.focusCell(FrmChannel::kFreq, page.intCurRow);
      }
    } else if (page.cellEnabled(FrmChannel::kSR, row - 1)) {
      page.focusCell(FrmChannel::kSR, row - 1);
      modPublic.blnResult = page.subClearRowIfNoFrequency(row);
    } else {
      int above = row - 1;
      const int found = page.objFindEnabledCell(above, FrmChannel::kSR, -1);
      if (found >= 0) page.focusCell(found, row - 1);
    }
  } else if (keyCode == 39) {
    page.focusCell(FrmChannel::kFreq, page.intCurRow);
    modPublic.blnResult = page.subClearRowIfNoFrequency(row);
  } else {
    // The key's navigation ran when it went down; running it again on its
    // release would move twice and close the key help it just opened.
    modPublic.blnResult = page.subClearRowIfNoFrequency(row);
  }
}

void StepColumn::optionClick(int index) {
  if (page.intCellLock == 1) return;
  const int row = page.intCurRow;
  std::string step;
  if (cellrules::optionText(rule(), page.family(), index, step)) {
    page.setCellText(FrmChannel::kRef, row, step);
    page.strSavedRef = step;
  }
  int next = row;
  const int found = page.objFindEnabledCell(next, FrmChannel::kRef, 1);
  if (found >= 0) page.focusCell(found, next);
  frame()->hide();
}

// ---------------------------------------------------------------- prescaler

PrescalerColumn::PrescalerColumn(FrmChannel& p) : ChannelColumn(p, FrmChannel::kPres) {}

void PrescalerColumn::GotFocus(int row) {
  page.intCurRow = row;
  page.hidePopups();
  page.focusCell(FrmChannel::kRef, row);
}

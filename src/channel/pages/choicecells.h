#pragma once
// The channel editor's columns whose cells hold one word of a short list:
// the step, W/N, mode, scan, TX power, PM/FM, INV, SH and SR columns, each
// with a pop-up of option buttons under the focused cell; and the prescaler
// column, which only hands the focus on to the step cell.
//
// The user never types a word: a digit typed over the selected text picks
// the option of that number, clicking (or moving onto) an option picks it,
// and anything else typed or pasted is undone. What a column's words and
// digits are is cellrules' business, shared with the auto channel-set
// dialog's template.
#include <QChar>
#include <memory>
#include <string>
#include <vector>

#include "channel/cellrules.h"
#include "channel/pages/chancells.h"

class QGroupBox;
class QObject;
class QRadioButton;

// Marks the option of `frame` that a cell text stands for, as a pop-up opens
// or its cell shows another row: none for an empty text (a flag's "NON"
// neither), and the marks as they are for a text that is no option's. The
// caller keeps the options' clicks quiet meanwhile. The editor's pop-ups and
// the auto channel-set template's mark alike.
void markOptions(QGroupBox* frame, cellrules::Choice c, const std::string& text);

// What the step and option columns share: the pop-up and its options, the
// change handler, and the rule that a text arriving without a key of its
// own (a mouse paste or a drop) is judged as a typed one would be.
class PopupColumn : public ChannelColumn {
 public:
  PopupColumn(FrmChannel& page, int nav, cellrules::Choice rule);
  ~PopupColumn() override;
  void attach() override;
  bool KeyDown(int row, int keyCode, int shift) override;
  void Change(int row) override;
  void LostFocus(int row) override;
  // A digit or an option's word takes the option; any other text is refused.
  bool Entry(int row) override;
  bool accepts(QChar) const override { return true; }
  bool readOnly() const override { return false; }

  // An option button chosen (clicked, moved onto, or by its digit).
  virtual void optionClick(int index) = 0;

 protected:
  // Marks option `index` without running its click, then runs the click:
  // a digit picks its option again even when it is already marked.
  void choose(int index);
  // Shows the pop-up under the cell of visible row `row`.
  void showPopup(int row);
  QGroupBox* frame() const { return frame_; }
  cellrules::Choice rule() const { return rule_; }
  // The key code of a key pressed in one of the column's cells, until its
  // release there; -1 when none. A release of another key (one that went
  // down elsewhere, or was taken by a menu shortcut) is not the cell's.
  int pressedKey_ = -1;

 private:
  const cellrules::Choice rule_;
  QGroupBox* frame_ = nullptr;
  std::vector<QRadioButton*> options_;
  // Watches the option buttons; deleting it ends the watching.
  std::unique_ptr<QObject> watcher_;
};

// W/N, mode, scan, TX power and the four two-valued flag columns (PM/FM, INV,
// SH, SR): one implementation, the differences being the column's words
// (cellrules) and that a PM/FM cell of a row in use is never left empty.
class ChoiceColumn : public PopupColumn {
 public:
  ChoiceColumn(FrmChannel& page, int nav);
  void attach() override;
  void GotFocus(int row) override;
  void KeyUp(int row, int keyCode, int shift) override;
  void MouseUp(int row) override;
  void LostFocus(int row) override;
  void optionClick(int index) override;
};

// The step cells: a step is chosen only in a row without a frequency (the
// frequency check derives it otherwise).
class StepColumn : public PopupColumn {
 public:
  explicit StepColumn(FrmChannel& page);
  void GotFocus(int row) override;
  void KeyUp(int row, int keyCode, int shift) override;
  void optionClick(int index) override;
};

// The prescaler cells show what the frequency check derived; the focus goes
// on to the step cell of the row.
class PrescalerColumn : public ChannelColumn {
 public:
  explicit PrescalerColumn(FrmChannel& page);
  void GotFocus(int row) override;
};

#pragma once
// What the cells of one column of the channel editor do. The page routes every
// event of a cell to its column's object; a column is plugged in by
// makeChannelColumn (chancells.cpp), one line per column.
//
// The base class is a read-only column: it shows the grid's texts, stores
// texts the page writes into its cells, and takes part in navigation. The
// frequency column is FrequencyColumn; the step, prescaler, option and flag
// columns are in choicecells.h, the tone columns in tonecells.h.
#include <QValidator>
#include <array>
#include <functional>
#include <memory>
#include <string>

class FrmChannel;
class QLabel;

class ChannelColumn {
 public:
  ChannelColumn(FrmChannel& page, int nav);
  virtual ~ChannelColumn() = default;
  int nav() const { return nav_; }
  // Called once the page's controls exist (the columns are made before
  // them): a column takes its pop-up's option buttons here.
  virtual void attach() {}

  // Events of the cell in visible row `row` (0..15).
  virtual void GotFocus(int row);
  // A typed character; false drops it.
  virtual bool KeyPress(int row, int keyAscii);
  // A key pressed; true when the key was used and the cell must not see it.
  virtual bool KeyDown(int row, int keyCode, int shift);
  virtual void KeyUp(int row, int keyCode, int shift);
  virtual void MouseUp(int row);
  virtual void Change(int row);
  virtual void LostFocus(int row);
  // Text put into the cell from outside while it lacks the focus, judged as
  // typing it and leaving the cell would judge it. False when refused: the
  // page shows the grid's text again; a refusal with a message has put the
  // focus in the cell. The base column takes nothing.
  virtual bool Entry(int row);

  // Whether a character may stand in the cell; pasted and dropped text goes
  // through it character by character, as typed text does.
  virtual bool accepts(QChar c) const;
  // A column whose cells the user cannot type into.
  virtual bool readOnly() const { return true; }
  // Direction of the search for an enabled cell when Up or Down lands on a
  // disabled one: +1 for the prescaler, step, frequency and SR cells.
  int searchDirection() const;

 protected:
  // The common key-down pattern: the dispatcher, then the check of the row it
  // came from (an emptied row sends the focus to its frequency cell).
  bool commonKeyDown(int row, int keyCode, int shift, bool checkRow);
  FrmChannel& page;
  const int nav_;
};

// The frequency cells: digits and one decimal point, checked on Enter and on
// leaving, formatted "####0.00000", defaults for the row's empty cells.
class FrequencyColumn : public ChannelColumn {
 public:
  explicit FrequencyColumn(FrmChannel& page);
  void GotFocus(int row) override;                        // txtFrequency_GotFocus
  bool KeyPress(int row, int keyAscii) override;          // txtFrequency_KeyPress
  bool KeyDown(int row, int keyCode, int shift) override; // txtFrequency_KeyDown
  void KeyUp(int row, int keyCode, int shift) override;   // txtFrequency_KeyUp
  void MouseUp(int row) override;                         // txtFrequency_MouseUp
  void Change(int row) override;                          // txtFrequency_Change
  void LostFocus(int row) override;                       // txtFrequency_LostFocus
  bool Entry(int row) override;
  bool accepts(QChar c) const override;
  bool readOnly() const override { return false; }

 private:
  void enterKey(int row);
};

// The column object of navigation column `nav` (FrmChannel::Nav).
std::unique_ptr<ChannelColumn> makeChannelColumn(FrmChannel& page, int nav);

// A character a frequency cell takes, typed or pasted: a digit or ".".
bool frequencyCharacter(QChar c);

// A caption too wide for its label (column heads and field labels run longer
// in Japanese) is set in a smaller font, down to a legible floor, so that it
// shows whole instead of cut at both ends.
void fitCaption(QLabel* label);

// The grid's fourteen column heads (0 the channel, k + 1 over grid column k),
// which the editor and the auto-set template both show: captions from the
// string table from `base` on, and the family colour. The heads stand edge
// to edge; each caption keeps kColumnHeadGap pixels from both edges of its
// head, so neighbouring captions never meet, whatever the font.
using ColumnHeads = std::array<QLabel*, 14>;
constexpr int kColumnHeadGap = 2;
void setColumnHeads(const ColumnHeads& heads, int base);
void paintColumnHeads(const ColumnHeads& heads, const std::string& colour);

// Pasted or dropped text keeps only the characters its cell accepts, as
// typed text does. While `bypass` is set (the page writes a cell itself) a
// text passes as it is.
class CharacterFilter : public QValidator {
 public:
  CharacterFilter(std::function<bool(QChar)> accepts, const bool* bypass, QObject* parent)
      : QValidator(parent), accepts_(std::move(accepts)), bypass_(bypass) {}
  State validate(QString& input, int& pos) const override;

 private:
  std::function<bool(QChar)> accepts_;
  const bool* bypass_;
};

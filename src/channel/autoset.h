#pragma once
// The auto channel set without widgets: the check of a template row, the
// checks of the step and range fields, and the range fill, which tests every
// frequency of the range before it writes a single cell of the editor.
//
// The template check is the editor's frequency check (freqcheck.h) with the
// two things a template adds: a channel frequency stepped from the typed one
// (tested with the row's step and prescaler), and a step chosen anew for a
// frequency typed during the cell's current visit.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/soundmsg.h"

namespace autoset {

// Cells of a template row in cursor order (the cells' Tag, the editor's
// column numbers).
enum Cell { kPres, kRef, kFreq, kWN, kMode, kScan, kTxPower, kCTCSS, kDCS, kINV, kSH, kSR, kPMFM, kCells };

// Grid column (of the channel text grid) of a template cell.
int gridColumn(int cell);

// The two template rows, row 0 RX and row 1 TX.
struct Template {
  std::array<std::array<std::string, kCells>, 2> rows;
  int family = 0;
  int64_t ifHz = 0;  // receiver IF, added to the RX row's frequencies
  // strFreqOnFocus: the frequency cell's text when it got the focus, emptied
  // when it is left unchanged. Not empty: the frequency was typed during this
  // visit, and its check chooses the step anew.
  std::string freqOnFocus;

  std::string& text(int row, int cell) { return rows.at(static_cast<size_t>(row)).at(static_cast<size_t>(cell)); }
  const std::string& text(int row, int cell) const {
    return rows.at(static_cast<size_t>(row)).at(static_cast<size_t>(cell));
  }
};

// blnChkFrequency. Without a channel frequency: the row's own text, as its
// frequency cell checks it (a 50 Hz correction of the text, a step chosen
// when the cell has none or the frequency was just typed). With one: that
// frequency of the range, with the step the row shows. On success the row's
// frequency, step and prescaler cells hold the texts used; on failure the
// row is left as it was. The synthesizer test itself (blnChkFreqStep) is the
// editor's blnCheckPllCounters.
bool blnChkFrequency(Template& t, int row, std::optional<int64_t> channelHz = std::nullopt);

// Fields a refusal sends the focus to.
enum class Field { None, TemplateFrequency0, Value, StartNo, EndNo };

// A refused input: the message (one or two string-table lines), the sound
// and box style it takes, and the field that gets the focus.
struct Refusal {
  int message = 0;   // 0: nothing refused
  int message2 = 0;  // second line, 0 for none
  SoundKind kind = SoundKind::Attention;
  Field focus = Field::None;
  explicit operator bool() const { return message != 0; }
  std::string text() const;
};

// A field check: an empty field is left alone; an accepted value comes back
// as the text the field shows from now on, which is the value used.
struct FieldCheck {
  bool empty = false;
  std::string text;
  Refusal refusal;
  bool accepted() const { return !empty && !refusal; }
};

// The step field (MHz): digits and one decimal point, below 1000 MHz, a whole
// multiple in Hz of one of the family's channel steps (0 too). Accepted texts
// read "####0.00000".
FieldCheck checkStep(int family, const std::string& text);
// The start field: a channel 1..channels. Accepted texts read as the channel.
FieldCheck checkStart(int channels, const std::string& text);
// The end field: a channel 1..channels, not below the start (an empty start
// passes).
FieldCheck checkEnd(int channels, const std::string& start, const std::string& end);

// The channel editor as the range fill sees it: sixteen visible rows over the
// grid, paged by the scroll value. Writing a cell runs the editor's own change
// handler, which carries the text into the grid row shown; the tone cells
// have none, so their texts go into the grid directly.
class FillTarget {
 public:
  virtual ~FillTarget() = default;
  virtual int scrollValue() const = 0;
  // Shows grid rows value .. value + 15 (the editor reloads its cells).
  virtual void setScrollValue(int value) = 0;
  virtual void setCell(int cell, int visibleRow, const std::string& text) = 0;
  virtual void setGridText(int gridRow, int column, const std::string& text) = 0;
};

struct RangeFields {
  std::string value;    // step, MHz
  std::string startNo;  // first channel
  std::string endNo;    // last channel
  int signIndex = 0;    // 0 "+" adds the step, 1 "-" subtracts it
  int lastGridRow = 0;  // 2N - 1 for the family's N channels
};

// blnChannelSet: refuses a template without a frequency, an empty or invalid
// step, an empty range, a channel outside 1..N or a start above the end, and
// then any frequency of the range the template check refuses; otherwise it
// writes every channel of the range into the editor and ends with the editor
// at its first page. Nothing is written when it refuses.
Refusal blnChannelSet(Template& t, const RangeFields& fields, FillTarget& target);

}  // namespace autoset

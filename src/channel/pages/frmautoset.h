#pragma once
// The auto channel-set dialog: a two-row template (RX and TX) with the
// channel editor's thirteen cells, the step with its sign and the channel
// range. Set tests every frequency of the range and fills the editor's rows;
// Exit leaves the editor as it was. The dialog never touches the memory
// image: the editor encodes its grid when it closes.
//
// The template's cells follow the editor's cell rules (cellrules.h); the
// check and the fill are the byte logic of autoset.h.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "channel/autoset.h"
#include "platform/gui/vbui.h"

class FrmChannel;
class QAction;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QToolButton;
class QWidget;
namespace kit {
class Events;
class OutsideEntries;
class UpDownList;
}  // namespace kit

class FrmAutoSet : public Page {
  Q_OBJECT
 public:
  // What a line edit keeps free beside its text, left and right together.
  static constexpr int kLineEditTextRoom = 4;
  static constexpr int kRows = 2;
  static constexpr int kColumns = autoset::kCells;
  using Cell = autoset::Cell;

  // The dialog over the editor `editor`, which stays loaded below it.
  explicit FrmAutoSet(FrmChannel& editor);
  ~FrmAutoSet() override;

  // Opens the dialog modally over the editor; the editor's Auto Set menu and
  // F3 call this (FrmChannel::setAutoSetOpener).
  static void open(FrmChannel& editor);

  // ---- Controls ----
  using CellPair = std::array<QLineEdit*, kRows>;
  std::array<CellPair, kColumns> cells{};  // [column][template row]
  CellPair& txtPrescaler = cells[autoset::kPres];
  CellPair& txtReference = cells[autoset::kRef];
  CellPair& txtFrequency = cells[autoset::kFreq];
  CellPair& txtWideNarrow = cells[autoset::kWN];
  CellPair& txtMode = cells[autoset::kMode];
  CellPair& txtScan = cells[autoset::kScan];
  CellPair& txtTxPower = cells[autoset::kTxPower];
  CellPair& txtCTCSS = cells[autoset::kCTCSS];
  CellPair& txtDCS = cells[autoset::kDCS];
  CellPair& txtINV = cells[autoset::kINV];
  CellPair& txtSH = cells[autoset::kSH];
  CellPair& txtSR = cells[autoset::kSR];
  CellPair& txtPMFM = cells[autoset::kPMFM];

  QLabel* labTitle = nullptr;
  std::array<QLabel*, 14> labChanParaEdit{};  // 0 channel, k + 1 over grid column k
  std::array<QLabel*, kRows> labChanParaNo{};
  std::array<QLabel*, kRows> labChanParaTxRx{};
  QLabel* labChanParaMHz = nullptr;
  QLabel* labChanParaKHz = nullptr;
  QLabel* Label3 = nullptr;  // "Value"
  QLabel* Label2 = nullptr;  // "End No."
  // 0 "Start No.", 8 and 9 the digits of the family-dependent options
  // (2.50 kHz, 4 kHz), 22 "MHz"; the other digit labels are in digitLabels.
  std::array<QLabel*, 23> Label1{};
  std::vector<QLabel*> digitLabels;
  kit::UpDownList* signRow = nullptr;
  QListWidget* lstSign = nullptr;
  QToolButton* updSignUp = nullptr;    // updSignSelect, up arrow
  QToolButton* updSignDown = nullptr;  // updSignSelect, down arrow
  QLineEdit* txtValue = nullptr;
  QLineEdit* txtStartNo = nullptr;
  QLineEdit* txtEndNo = nullptr;
  QGroupBox* fraAction = nullptr;
  std::array<QPushButton*, 2> CmdAction{};  // 0 Exit, 1 Set
  QMenuBar* menuBar = nullptr;
  QAction* mnuHelp = nullptr;

  // Option pop-ups of the template, one per option column.
  QGroupBox* fraReference = nullptr;
  QGroupBox* fraWNSelect = nullptr;
  QGroupBox* fraMode = nullptr;
  QGroupBox* fraScan = nullptr;
  QGroupBox* fraTxPower = nullptr;
  QGroupBox* fraPMFM = nullptr;
  QGroupBox* fraINV = nullptr;
  QGroupBox* fraSH = nullptr;
  QGroupBox* fraSR = nullptr;
  std::array<QRadioButton*, 5> optReference{};
  std::array<QRadioButton*, 3> optWideNarrow{};
  std::array<QRadioButton*, 4> optMode{};
  std::array<QRadioButton*, 2> optScan{};
  std::array<QRadioButton*, 2> optTxPower{};
  std::array<QRadioButton*, 2> optPMFM{};
  std::array<QRadioButton*, 2> optINV{};
  std::array<QRadioButton*, 2> optSH{};
  std::array<QRadioButton*, 2> optSR{};

  // ---- Dialog state ----
  int intCurrentRow = 0;      // template row of the cell that last got the focus
  int intTemplateEndRow = 1;  // last template row
  int intLastGridRow = -1;    // last row of the editor's grid, 2N - 1
  int intSignIndex = 0;       // 0 "+", 1 "-"
  int64_t dblIFOffsetHz = 0;  // receiver IF in Hz, added to the RX row
  int intOptionSetting = 0;   // 1 while the dialog marks an option itself
  std::vector<std::string> strCtcssTable;
  std::vector<std::string> strDcsTable;
  std::string strFreqOnFocus;  // frequency text on arrival; emptied when left unchanged
  std::array<std::string, kColumns> strOnFocus;  // option and tone cells: text when opened or last accepted

  // ---- Routines ----
  bool blnChanIniSet(float sngIF);
  bool blnChanLabChange(int base);
  bool blnChanLabColor(const std::string& colour);
  bool pblnIniCursorPos(QLineEdit* cell);
  bool pblnSetCursor(QLineEdit* cur, QLineEdit* left, QLineEdit* right, int keyCode);
  bool blnChannelSet();
  bool blnChkFrequency(int row);
  bool blnChanRowClear(int row);
  // The nearest enabled cell from `column` in direction `step` on `row`; to
  // the right past the row's end, the next row's frequency cell (row
  // advanced). -1 when none.
  int objFindEnabledCell(int& row, int column, int step);
  // Up/Down between the rows and the command keys; false when the key was
  // used up here.
  bool blnKeyDownMove(int index, int keyCode, int shift, int column, int direction);
  void blnSetOptionFromText();

  // Handlers.
  void CmdAction_Click(int index);
  void mnuHelp_Click();
  void lstSign_GotFocus();
  void lstSign_LostFocus();
  void lstSign_Scroll();
  void updSignSelect_UpClick();
  void updSignSelect_DownClick();
  void txtValue_GotFocus();
  void txtValue_KeyUp(int keyCode);
  void txtValue_LostFocus();
  void txtStartNo_KeyUp(int keyCode);
  void txtStartNo_LostFocus();
  void txtEndNo_KeyUp(int keyCode);
  void txtEndNo_LostFocus();

  // Template cell events, by column and template row.
  void cellGotFocus(int column, int row);
  // True when the key is used up and the cell must not see it.
  bool cellKeyDown(int column, int row, int keyCode, int shift);
  bool cellKeyPress(int column, int row, int keyAscii);
  void cellKeyUp(int column, int row, int keyCode, int shift);
  void cellLostFocus(int column, int row);
  void cellMouseUp(int column, int row);
  void cellChange(int column, int row);
  void optionClick(int column, int index);

  // Helpers.
  QLineEdit* cell(int column, int row) const { return cells[static_cast<size_t>(column)][static_cast<size_t>(row)]; }
  std::string cellText(int column, int row) const;
  void setCellText(int column, int row, const std::string& text);
  void focusCell(int column, int row);
  void selectAll(QLineEdit* box);
  // Greys a cell (disabled, &HC0C0C0) or makes it white and enabled again.
  void setCellEnabled(int column, int row, bool enabled);
  void paintGrey(int column, int row);
  void setTabStop(int column, int row, bool on);
  bool tabStop(int column, int row) const;
  // The template as the byte logic sees it, and its texts put back.
  autoset::Template templateTexts() const;
  void applyTemplate(const autoset::Template& t);
  // The option pop-up of an option column (nullptr for the other columns).
  QGroupBox* popup(int column) const;
  // Hides the template's pop-ups except `keep`, then the editor's tone lists
  // (both, or all but the one of tone column `keepTone`), help and shadow.
  void hidePopups(QGroupBox* keep = nullptr, int keepTone = -1);
  int family() const { return family_; }
  FrmChannel& editor() { return editor_; }
  // True after a field or cell refused what it was left with, until the next
  // check passes: a Set click that moved the focus out of it is not a Set.
  bool checkRefused() const { return checkRefused_; }
  // Text put into a template cell or a field from outside (a screen reader
  // or test tool) while it lacks the focus is judged a turn later as typing
  // it and leaving would judge it: the cell's typed-text rules and check,
  // then taken, or refused and the cell's text before it put back. Typed
  // text not judged yet in the cell being edited is judged first. True when
  // the entry was taken.
  bool takeEntry(QLineEdit* box);

 protected:
  void reject() override;
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(bool& cancel) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildTemplate(QWidget* body);
  void buildPopups(QWidget* body);
  void buildFields(QWidget* body);
  void bindEvents();
  void message(SoundKind kind, const std::string& text, const std::string& title);
  // A refused value: the focus goes back to `box` once the focus change in
  // progress is over, without the controls it passes taking it as an arrival.
  void refocus(QLineEdit* box, bool select);
  // A field's check: an accepted value is shown as used; a refused one is
  // reported and emptied, the focus staying in the field. True when accepted.
  bool fieldChecked(QLineEdit* box, const autoset::FieldCheck& check, const std::string& title, bool leaving);
  int channels() const;
  // Widens the step field to show its longest formatted value whole.
  void fitStepField();
  // One step of the sign's up-down arrows: 0 up ("+"), 1 down ("-").
  void signStep(int direction);
  // A frequency typed into row `row`, checked on Enter or when the cell is
  // left: formatted with the row's defaults, or refused with its message and
  // the text of arrival put back. True when accepted.
  bool acceptFrequency(int row, const std::string& title, bool leaving);
  void frequencyRefused(int row, bool leaving);
  void writeDefaults(int row, bool leaving);
  void optionKeyUp(int column, int row, int keyCode, int shift);
  void referenceKeyUp(int row, int keyCode, int shift);
  void toneKeyUp(int column, int row, int keyCode, int shift);
  void frequencyKeyUp(int row, int keyCode);
  void toneLostFocus(int column, int row);
  // The tone check of leaving the cell: an empty cell or a tone found is
  // taken; otherwise the message, the text of the visit's start back and the
  // focus in the cell. True when taken.
  bool toneChecked(int column, int row);
  // An entry judged now, whichever control has the focus.
  bool judgeEntry(QLineEdit* box);
  bool cellEntry(int column, int row);
  // The visit of a cell whose entry was refused begins, the focus coming
  // back to it; the cell that had the focus holds no text to judge.
  void enterCell(int column, int row);
  bool typingPending() const;
  // Judges that text as leaving the cell would, the focus staying in it.
  // False when it was refused.
  bool leaveEditedCell();
  // Column and template row of a cell; column -1 for another box.
  std::pair<int, int> cellOf(const QLineEdit* box) const;
  // A tone or code entered in the row's cell of `column`: the row then holds
  // it alone. False when the family's table has no such entry.
  bool enterTone(int column, int row);
  void horizontalStep(int column, int keyCode);
  void dcsInvState(int row);
  bool optionDigit(int column, int row, int keyCode);

  FrmChannel& editor_;
  QWidget* body_ = nullptr;
  kit::Events* events_ = nullptr;
  int family_ = -1;
  bool loadFailed_ = false;
  bool checkRefused_ = false;
  bool editorHelpMenuShown_ = false;  // the editor's tone-key hint as the dialog found it
  std::string freqArrival_;           // the frequency text a refused entry goes back to
  QWidget* pressedIn_ = nullptr;      // the control that saw the last key press, and the key
  int pressedKey_ = 0;
  std::unique_ptr<kit::OutsideEntries> outside_;
  // Each cell's text as the dialog last wrote it or judged it; typing and
  // entries from outside do not change it.
  std::array<std::array<std::string, kRows>, kColumns> judged_{};
  QLineEdit* current_ = nullptr;  // the cell whose got-focus ran last and whose lost-focus has not
  int writing_ = 0;               // the dialog is writing a cell
};

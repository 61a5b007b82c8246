#pragma once
// The channel editor: sixteen rows of thirteen cells paged over the working
// grid (modPublic.strChanPara), the frequency cell, key navigation, the
// channel-number jump box, the menus and channel deletion.
//
// What each column's cells do lives in one ChannelColumn object per column
// (chancells.h); the page routes every event of a cell to its column. The auto
// channel-set dialog drives this page through its public members: blnAutoSet,
// the cell arrays, vscChanPara and the pop-up frames.
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "channel/chanpara.h"
#include "core/modpublic.h"
#include "platform/gui/vbui.h"

class ChannelColumn;
namespace kit {
class OutsideEntries;
}  // namespace kit
enum class SoundKind;
class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QMoveEvent;
class QHideEvent;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QWidget;

class FrmChannel : public Page {
  Q_OBJECT
 public:
  static constexpr int kVisibleRows = 16;
  static constexpr int kColumns = 13;
  // Navigation (cursor-order) numbers of the columns, as the cells' Tag holds them.
  enum Nav { kPres = 0, kRef, kFreq, kWN, kMode, kScan, kTxPower, kCTCSS, kDCS, kINV, kSH, kSR, kPMFM };
  // Grid column (of strChanPara) of a navigation column.
  static int gridColumn(int nav);

  explicit FrmChannel(QWidget* parent = nullptr);
  ~FrmChannel() override;

  // The auto channel-set dialog, opened modally by the Auto Set menu (F3).
  // Until one is plugged in, the menu and F3 stay disabled.
  using AutoSetOpener = std::function<void(FrmChannel&)>;
  static void setAutoSetOpener(AutoSetOpener opener);

  // ---- Controls ----
  using CellArray = std::array<QLineEdit*, kVisibleRows>;
  std::array<CellArray, kColumns> cells{};  // [navigation column][visible row]
  CellArray& txtPrescaler = cells[kPres];
  CellArray& txtReference = cells[kRef];
  CellArray& txtFrequency = cells[kFreq];
  CellArray& txtWideNarrow = cells[kWN];
  CellArray& txtMode = cells[kMode];
  CellArray& txtScan = cells[kScan];
  CellArray& txtTxPower = cells[kTxPower];
  CellArray& txtCTCSS = cells[kCTCSS];
  CellArray& txtDCS = cells[kDCS];
  CellArray& txtINV = cells[kINV];
  CellArray& txtSH = cells[kSH];
  CellArray& txtSR = cells[kSR];
  CellArray& txtPMFM = cells[kPMFM];

  std::array<QLabel*, 14> labChanParaEdit{};  // headers: 0 channel, k + 1 over grid column k
  std::array<QLabel*, kVisibleRows> labChanParaNo{};
  std::array<QLabel*, kVisibleRows> labChanParaTxRx{};
  QLabel* labChanParaKHz = nullptr;
  QLabel* labChanParaMHz = nullptr;
  std::array<QLabel*, 2> Labinfo{};
  QLabel* labTitle = nullptr;
  std::array<QLabel*, 5> LabFuncMenu{};
  QLabel* LabHelpMenu = nullptr;
  QLabel* LabChannelRange = nullptr;
  QLineEdit* txtInputChannel = nullptr;
  QScrollBar* vscChanPara = nullptr;
  QGroupBox* fraAction = nullptr;
  std::array<QPushButton*, 1> CmdAction{};

  // Pop-up choosers shown under a cell (their behaviour belongs to the columns).
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
  // Digit labels beside the options; element 0 (2.50 kHz) and 10 (4 kHz)
  // start hidden, as their options do.
  std::array<QLabel*, 18> Label1{};
  // Code tables, one per family (element = family number), and the key help
  // with its shadow. They float over the page in windows of their own (the
  // page deletes them), so that they also stand above the auto channel-set
  // dialog, which shows them while it covers the page; showPanel places them.
  std::array<QGroupBox*, 3> fraCTC{};
  std::array<QGroupBox*, 3> fraDCS{};
  QGroupBox* fraHelp = nullptr;
  QFrame* picShadow = nullptr;

  QMenuBar* menuBar = nullptr;
  QAction* mnuEditHelp = nullptr;
  QAction* mnuAutoSet = nullptr;
  QAction* mnuFreqDel = nullptr;
  QAction* mnuHelp = nullptr;

  // ---- Page state ----
  int intCurRow = 0;            // visible row of the cell that last got the focus
  int intCellLock = 0;          // 1 while the page fills cells itself: change handlers do nothing
  int intMaxRow = -1;           // last grid row
  int intLastVisibleRow = kVisibleRows - 1;
  int intEditRow = 0;           // grid row whose frequency text changed last
  bool blnFreqPending = false;  // a frequency text changed and has not passed its check
  std::string strSavedFreq;
  std::string strSavedRef, strSavedWN, strSavedMode, strSavedScan, strSavedTxPower, strSavedCTCSS, strSavedDCS,
      strSavedINV, strSavedSH, strSavedSR, strSavedPMFM;
  bool blnSkipKeyUp = false;    // the next key release in a frequency cell is ignored
  bool blnCheckFailed = false;  // the last lost-focus check of a cell failed
  bool blnActive = false;
  bool blnAutoSet = false;      // the auto channel-set dialog is filling the grid
  ChannelData data;             // IF, tone tables, PLL records of the open page

  // ---- Routines ----
  bool blnChanIniSet(float sngIF);
  bool blnChanLabChange(int base);
  bool blnChanLabColor(const std::string& colour);
  bool blnGetChanPara();
  bool blnPutChanPara();
  bool subCopyRowsToCells();
  void subSyncOptionButtons();
  // The column (navigation number) of the first enabled cell after `start` in
  // direction dir (+1/-1) in visible row `row`; -1 when none. Forward past the
  // row's end it wraps to the next row's frequency cell (row advanced) or, on
  // the last visible row, scrolls two rows (never past the last page).
  int objFindEnabledCell(int& row, int start, int dir);
  bool subClearRowIfNoFrequency(int row);
  bool blnCheckFrequency(int row);
  // The same check of visible row `row` without writing any cell.
  bool frequencyPasses(int row) const;
  // The row's frequency is `unchangedText`, a text it already had, and the
  // row holds the step and prescaler that text is stored with: it keeps
  // them, and leaving or committing the cell changes no cell of the row.
  bool keepsItsChannel(int row, const std::string& unchangedText) const;
  void subChannelDataDelete(int row);
  // The key dispatcher of every cell: true when the caller shall check the row
  // it came from, false when the key was used (a move, a page, the help).
  bool blnGridKeyDown(int row, int keyCode, int shift, int nav, int searchDir);
  bool pblnSetCursor(QLineEdit* cur, QLineEdit* left, QLineEdit* right, int keyCode);
  bool pblnIniCursorPos(QLineEdit* cell);
  // Left/right arrow between the enabled neighbours of a cell; the rightward
  // search (which may wrap and scroll) runs only for the right arrow.
  void moveLeftRight(int nav, int row, int keyCode);

  // Handlers.
  void CmdAction_Click(int index);
  void vscChanPara_Change();
  void mnuEditHelp_Click();
  void mnuAutoSet_Click();
  void mnuFreqDel_Click();
  void mnuHelp_Click();
  void txtInputChannel_KeyPress(int& keyAscii);
  void txtInputChannel_KeyDown(int keyCode);
  void txtInputChannel_LostFocus();

  // Helpers for the columns.
  QLineEdit* cell(int nav, int row) const { return cells[static_cast<size_t>(nav)][static_cast<size_t>(row)]; }
  std::string cellText(int nav, int row) const;
  void setCellText(int nav, int row, const std::string& text);
  void focusCell(int nav, int row);
  void selectAll(int nav, int row);
  bool cellEnabled(int nav, int row) const;
  // Enables or disables a cell, painted to match.
  void setCellEnabled(int nav, int row, bool enabled);
  // Paints a cell grey or white without touching whether it is enabled.
  void paintCell(int nav, int row, bool grey);
  // Tab stop of a cell (a cell without one is still reached by the mouse).
  void setTabStop(int nav, int row, bool on);
  bool tabStop(int nav, int row) const;
  // Tab stops of the option cells of a row (W/N .. PM/FM).
  void setOptionTabStops(int row, bool on);
  // Tab stops of a row by its frequency: the step cell while it has none,
  // the option cells once it has one.
  void setRowTabStops(int row);
  bool isRxRow(int row) const;          // by the visible row's label
  int topRow() const;                   // the scroll value
  int family() const { return family_; }
  // Hides every pop-up, the code tables, the key help and its shadow.
  void hidePopups();
  // Shows a code table, the key help or its shadow with its top left corner
  // at (left, top) twips of the page's body, over whatever covers the page.
  void showPanel(QWidget* panel, int leftTwips, int topTwips);
  // Places it there without showing it.
  void placePanel(QWidget* panel, int leftTwips, int topTwips);
  std::string& savedText(int nav);
  // A typed frequency not yet checked is put back, with the rows the edit
  // cleared meanwhile.
  void dropPendingFrequency();
  // Marks the start of a frequency edit of grid row `gridRow`, keeping the
  // rows it may clear so that dropping the edit restores them.
  void beginFrequencyEdit(int gridRow);
  void endFrequencyEdit();
  // The check of a frequency cell when it is left or the page closes: the
  // defaults and formats on success, the message and the restore on failure.
  // `closing`: the focus is not put back.
  bool commitFrequency(int row, const std::string& title, bool closing);
  // Default texts of a row whose frequency passed its check.
  void writeDefaults(int row);
  bool messageShown() const { return messageShown_; }
  // A message box of the page (sound first, as every message). While one is
  // open, the page takes no command: a screen reader's actions reach the page
  // past the box, and a half-done check must not meet a closed page.
  void message(SoundKind kind, const std::string& text, const std::string& title);
  bool boxOpen() const { return boxOpen_; }
  // Text put into a cell from outside (a screen reader or test tool) while
  // it lacks the focus is judged a turn later as typing it and leaving the
  // cell would judge it: its column's typed-text rules and check, then the
  // grid takes it or the cell shows the grid's text again. Entries wait
  // while a message box is open or the page closes; typed text not judged
  // yet in the cell being edited is judged first. True when the entry was
  // taken.
  bool takeCellEntry(QLineEdit* c);
  // The focus goes to a cell whose entry from outside was refused, as
  // leaving the cell puts it back; the cell that had it holds no text to
  // judge, so its lost-focus handler does not run.
  void enterCell(int nav, int row);
  // The grid's text behind a visible cell ("" below the last row).
  std::string gridText(int nav, int row) const;

 protected:
  void reject() override {}
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(bool& cancel) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The floating panels go when the page moves or hides.
  void moveEvent(QMoveEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void hidePanels();
  void buildGrid(QWidget* body);
  void buildPopups(QWidget* body);
  void buildCodeTables();
  void buildHelp();
  static void floatOver(QWidget* panel);
  void showHelp();  // the key help at its place, over the grid
  void relabelRows();
  void closingChecks();
  void jump(bool fromKeyDown);
  bool routeCellEvent(int nav, int row, QEvent* event);
  // The cell being edited holds typed text its column has not judged yet.
  bool typingPending() const;
  // Judges that text as leaving the cell would, the focus staying in it.
  // False when it was refused.
  bool leaveEditedCell();
  bool cellKeyPress(int nav, int row, QEvent* event);

  std::array<std::unique_ptr<ChannelColumn>, kColumns> columns_;
  std::vector<std::pair<QObject*, int>> cellIndex_;  // sorted by object: (cell, nav * 16 + row)
  int cellAt(QObject* c) const;                       // nav * 16 + row, -1 for no cell
  std::unique_ptr<kit::OutsideEntries> outside_;
  QLineEdit* focusCell_ = nullptr;  // the cell whose GotFocus ran last and whose LostFocus has not
  QWidget* body_ = nullptr;
  int family_ = -1;
  bool loadFailed_ = false;
  bool closing_ = false;
  bool checking_ = false;  // a lost-focus check (with its message) is running
  bool jumping_ = false;
  bool messageShown_ = false;
  bool boxOpen_ = false;
  bool pageWrites_ = false;  // setCellText is writing: the paste filter lets the text pass
  // The grid rows a pending frequency edit may clear, as they were before it.
  struct Snapshot {
    int row = -1;
    std::array<std::string, kChanParaColumns> texts;
  };
  std::vector<Snapshot> pendingRows_;
};

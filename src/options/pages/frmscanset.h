#pragma once
// The scan settings page: priority channels of all-channel and program scan,
// scan time, scan decode quit, the two delays and the remote-scan, priority
// channel change and auto all-channel scan settings, each offered by the
// family's scan mask row.
#include <array>
#include <cstdint>

#include "options/chanlayout.h"
#include "options/scan.h"
#include "platform/gui/settingskit.h"
#include "platform/gui/vbui.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPushButton;

class FrmScanSet : public Page {
  Q_OBJECT
 public:
  explicit FrmScanSet(QWidget* parent = nullptr);

  // The working texts: what the page has taken, written back when it closes.
  options::ScanValues values;
  int16_t intMaxChannel = 0;
  int16_t intBankSplit = 0;
  // True while the page fills its own controls.
  bool blnDataSetting() const { return kit_.busy.on(); }

  // The check of the field being left (a channel or time box; the lists and
  // the scan time need none). Shows its message and answers false on refusal.
  bool InputDataCheck(QWidget* field);
  // Puts the working texts into the controls.
  void subShowScanData();

  // Handlers, named after the events they stand for.
  void txtBox_LostFocus(QLineEdit* box);
  bool txtBox_KeyPress(QLineEdit* box, int keyCode);
  void txtTime_KeyUp(QLineEdit* box, int keyCode);
  void lstList_GotFocus(int index);
  void lstList_LostFocus(int index);
  void lstList_KeyPress(int index, int keyCode);
  void updChangeSelect_Click(int index, int direction);  // 0 up arrow, 1 down arrow
  void cboScanTime_Change();
  void cboScanTime_KeyPress(int keyCode);
  void CmdAction_Click(int index);
  void txtEndForcus_GotFocus();
  void mnuHelp_Click();

  QGroupBox* fraScanSet = nullptr;
  std::array<QLabel*, 12> lblScanSet{};
  QLineEdit* txtAllScanPchLOW = nullptr;
  QLineEdit* txtAllScanPchHIGH = nullptr;
  QLineEdit* txtPrgScanPchLOW = nullptr;
  QLineEdit* txtPrgScanPchHIGH = nullptr;
  QComboBox* cboScanTime = nullptr;
  QLineEdit* txtScanStartDelayTime = nullptr;
  QLineEdit* txtPchWatchIntTime = nullptr;
  std::array<QLabel*, 2> Label1{};  // "Sec" beside the two time boxes
  // The five lists and their arrows, index as the arrows' index.
  std::array<kit::UpDownList*, 5> updChangeSelect{};
  QListWidget* lstScanDecodeQuit = nullptr;
  QListWidget* lstRemoteScanControl = nullptr;
  QListWidget* lstRemoteScanChannel = nullptr;
  QListWidget* lstPriorityChannelChange = nullptr;
  QListWidget* lstAutoAllChannelScan = nullptr;
  QGroupBox* fraAction = nullptr;
  std::array<QPushButton*, 2> CmdAction{};  // 1 Exit
  kit::FocusSink* txtEndForcus = nullptr;
  QMenuBar* menuBar = nullptr;
  QAction* mnuHelp = nullptr;

 protected:
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(bool& cancel) override;

 private:
  // The control that shows a setting, in ScanField order.
  QWidget* control(options::ScanField f) const;
  int fieldOf(const QWidget* w) const;
  int listField(int index) const;
  void subPutScanData();
  // Takes an accepted value and closes the page (Escape in a field).
  void closeAfter(QWidget* field);

  kit::SettingsKit kit_;
  kit::MaskRows maskRows_;
  options::ScanEnables enables_{};
  options::ScanValues asLoaded_;
  options::ChanLayout layout_;
  QWidget* leaving_ = nullptr;  // the field the kit's check looks at
};

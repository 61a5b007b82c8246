#pragma once
// The scan settings page: priority channels of all-channel and program scan,
// scan time, scan decode quit, the two delays and the remote-scan, priority
// channel change and auto all-channel scan settings, each offered by the
// family's scan mask row where the family's layout keeps it.
#include <array>
#include <cstdint>

#include "options/chanlayout.h"
#include "options/pages/scanpagebase.h"
#include "options/scan.h"

class QComboBox;

class FrmScanSet : public ScanPageBase {
  Q_OBJECT
 public:
  explicit FrmScanSet(QWidget* parent = nullptr);

  // The working texts: what the page has taken, written back when it closes.
  options::ScanValues values;
  int16_t intMaxChannel = 0;
  int16_t intBankSplit = 0;

  // Channel and time boxes are checked; the lists and the scan time need none.
  bool InputDataCheck(QWidget* field) override;
  // Puts the working texts into the controls.
  void subShowScanData();

  void txtTime_KeyUp(QLineEdit* box, int keyCode);
  void cboScanTime_Change();
  void cboScanTime_KeyPress(int keyCode);

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
  QListWidget* lstScanDecodeQuit = nullptr;
  QListWidget* lstRemoteScanControl = nullptr;
  QListWidget* lstRemoteScanChannel = nullptr;
  QListWidget* lstPriorityChannelChange = nullptr;
  QListWidget* lstAutoAllChannelScan = nullptr;

 protected:
  void Form_Load() override;
  int fieldOf(const QWidget* w) const override;
  std::string& saved(int field) override { return values[static_cast<options::ScanField>(field)]; }
  void showValues() override { subShowScanData(); }
  void putValues() override;

 private:
  // The control that shows a setting.
  QWidget* control(options::ScanField f) const;

  kit::MaskRows maskRows_;
  options::ScanEnables enables_{};
  options::ScanValues asLoaded_;
  options::ChanLayout layout_;
};

#pragma once
// The priority-channel page: the priority channel pair, the scan priority
// channel pair and, where the family keeps them, scan priority channel change
// and auto all-channel scan.
#include <array>
#include <cstdint>

#include "options/chanlayout.h"
#include "options/pages/scanpagebase.h"
#include "options/priority.h"

class FrmPriorityCHSet : public ScanPageBase {
  Q_OBJECT
 public:
  explicit FrmPriorityCHSet(QWidget* parent = nullptr);

  // The working texts, written back when the page closes.
  options::PriorityValues values;
  int16_t intMaxChannel = 0;
  int16_t intBankSplit = 0;

  // The four channel boxes are checked; the lists need none.
  bool InputDataCheck(QWidget* field) override;
  // Puts the working texts into the controls.
  void subSetPriorityControls();

  QGroupBox* fraPriorityCHSet = nullptr;
  std::array<QLabel*, 6> lblPriorityCHSet{};
  QLineEdit* txtPriorityChannelLOW = nullptr;
  QLineEdit* txtPriorityChannelHIGH = nullptr;
  QLineEdit* txtScanPriorityCHLOW = nullptr;
  QLineEdit* txtScanPriorityCHHIGH = nullptr;
  QListWidget* lstPriorityCHChange = nullptr;
  QListWidget* lstAutoScan = nullptr;

 protected:
  void Form_Load() override;
  int fieldOf(const QWidget* w) const override;
  std::string& saved(int field) override { return values[static_cast<options::PriorityField>(field)]; }
  void showValues() override { subSetPriorityControls(); }
  void putValues() override;

 private:
  QWidget* control(options::PriorityField f) const;

  options::PriorityEnables enables_{};
  options::PriorityValues asLoaded_;
  options::ChanLayout layout_;
};

#pragma once
// The priority-channel page: the priority channel pair, the scan priority
// channel pair and, where the family keeps them, scan priority channel change
// and auto all-channel scan.
#include <array>
#include <cstdint>

#include "options/chanlayout.h"
#include "options/priority.h"
#include "platform/gui/settingskit.h"
#include "platform/gui/vbui.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPushButton;

class FrmPriorityCHSet : public Page {
  Q_OBJECT
 public:
  explicit FrmPriorityCHSet(QWidget* parent = nullptr);

  // The working texts, written back when the page closes.
  options::PriorityValues values;
  int16_t intMaxChannel = 0;
  int16_t intBankSplit = 0;

  // The check of the channel box being left; shows its message and answers
  // false on refusal. Other controls need none.
  bool InputDataCheck(QWidget* field);
  // Puts the working texts into the controls.
  void subSetPriorityControls();

  void txtBox_LostFocus(QLineEdit* box);
  bool txtBox_KeyPress(QLineEdit* box, int keyCode);
  void lstList_GotFocus(int index);
  void lstList_LostFocus(int index);
  void lstList_KeyPress(int index, int keyCode);
  void updChangeSelect_Click(int index, int direction);  // 0 up arrow, 1 down arrow
  void CmdAction_Click(int index);
  void txtEndForcus_GotFocus();
  void mnuHelp_Click();

  QGroupBox* fraPriorityCHSet = nullptr;
  std::array<QLabel*, 6> lblPriorityCHSet{};
  QLineEdit* txtPriorityChannelLOW = nullptr;
  QLineEdit* txtPriorityChannelHIGH = nullptr;
  QLineEdit* txtScanPriorityCHLOW = nullptr;
  QLineEdit* txtScanPriorityCHHIGH = nullptr;
  std::array<kit::UpDownList*, 2> updChangeSelect{};
  QListWidget* lstPriorityCHChange = nullptr;
  QListWidget* lstAutoScan = nullptr;
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
  QWidget* control(options::PriorityField f) const;
  int fieldOf(const QWidget* w) const;
  void subPutPriorityData();
  void closeAfter(QWidget* field);

  kit::SettingsKit kit_;
  options::PriorityEnables enables_{};
  options::PriorityValues asLoaded_;
  options::ChanLayout layout_;
  QWidget* leaving_ = nullptr;
};

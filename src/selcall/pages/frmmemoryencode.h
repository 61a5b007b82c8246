#pragma once
// The memory-encode page: the table of stored call numbers, 16 digits a row,
// in the digit form of the stored encode format, with a name per row for
// family "0". Decoded when the page loads, written back (only the rows and
// names that changed) when it unloads.
#include <array>
#include <string>
#include <vector>

#include "platform/gui/settingskit.h"
#include "platform/gui/vbui.h"
#include "selcall/digits.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;

class FrmMemoryEncode : public Page {
  Q_OBJECT
 public:
  explicit FrmMemoryEncode(QWidget* parent = nullptr);

  std::array<QLineEdit*, 16> txtMemory{};
  std::array<QLineEdit*, 16> txtName{};
  std::array<QLabel*, 16> lblMemoryEncode{};
  QLabel* lblMemoryData = nullptr;
  QLabel* lblMemoryName = nullptr;
  QGroupBox* fraMemoryEncodeSetting = nullptr;
  QGroupBox* fraAction = nullptr;
  std::array<QPushButton*, 2> CmdAction{};  // index 1: Exit
  QMenuBar* menuBar = nullptr;
  QAction* mnuHelp = nullptr;

  bool subGetMemoryEncodeData();
  bool subPutMemoryEncodeData();
  void CmdAction_Click(int index);
  void mnuHelp_Click();
  void txtName_Change(int index);

 protected:
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(bool& cancel) override;

 private:
  bool txtMemory_KeyDown(int index, QKeyEvent* e);
  void txtMemory_Change(int index);
  bool txtName_KeyDown(int index, QKeyEvent* e);
  int rows_ = 0;
  digits::Form form_ = digits::Form::Hex;
  std::vector<std::string> rowsAsLoaded_;
  std::vector<std::string> namesAsLoaded_;
  std::vector<std::string> names_;  // the last accepted text of each name box
  kit::Events* events_ = nullptr;
  kit::Busy busy_;
  std::vector<std::string> shown_ = std::vector<std::string>(16);  // the last text of 16 digits of each row
};

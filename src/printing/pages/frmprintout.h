#pragma once
// The print window: a print title, printer or text file, the printer set-up,
// and the channel-data and all-data reports of the loaded radio family.
#include <array>
#include <string>

#include "platform/gui/vbui.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrintDialog;
class QPrinter;
class QPushButton;
class QTimer;

class FrmPrintOut : public Page {
  Q_OBJECT
 public:
  explicit FrmPrintOut(QWidget* parent = nullptr);

  std::array<QPushButton*, 2> comPrintStart{};  // 0 Channel Data Print, 1 All Data Print
  QPushButton* comTitleName = nullptr;
  QLineEdit* txtPrintTitleName = nullptr;
  QLabel* labPrintTitle = nullptr;
  QGroupBox* Frame1 = nullptr;
  QCheckBox* chkOutText = nullptr;
  QPushButton* comPrinter = nullptr;
  QPushButton* comExit = nullptr;
  QLabel* labTitle = nullptr;
  QLabel* lblMessage = nullptr;
  QTimer* tmrLight = nullptr;
  QAction* mnuHelp = nullptr;

  // The name part and the folder (with its "/") of the last text file.
  std::string strFileTitle;
  std::string strFileFolder;

  void comTitleName_Click();
  void chkOutText_Click();
  void comPrinter_Click();
  // `fieldCheck`: the dialog's own slot that checks its fields and accepts.
  void guardOutputFile(QPrintDialog& dialog, const char* fieldCheck = "_q_checkFields");
  void comPrintStart_Click(int index);
  void tmrLight_Timer();
  void comExit_Click();
  void mnuHelp_Click();

  bool printing() const { return printing_; }
  // The printer of the run: what the set-up dialog chose stays for the next job.
  static QPrinter& printer();

 protected:
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void closeTitleBox();
  void takeOpenTitle();
  void subPrintingState();
  void subReadyState();
  void subPrintChannel(const std::string& strPath);
  void subPrintAll(const std::string& strPath);
  std::string strAskTextFile();
  bool printing_ = false;
};

#pragma once
// The main menu: the information panel and the buttons that open every
// editing and service page.
#include <array>
#include <memory>

#include "platform/gui/vbui.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenuBar;
class QPushButton;

class FrmMainMenu : public Page {
  Q_OBJECT
 public:
  explicit FrmMainMenu(QWidget* parent = nullptr);
  ~FrmMainMenu() override;

  // The loaded main menu; pages it opens place themselves by its Top and Left.
  static FrmMainMenu* instance();

  void cmdMainMenu_Click(int index);
  void cmdMainMenu_GotFocus(int index);
  void CmdAction_Click(int index);
  void mnuHelp_Click();
  // Fills the information panel from the image; always True.
  bool blnSetInformation();

  std::array<QPushButton*, 11> cmdMainMenu{};
  std::array<QPushButton*, 3> CmdAction{};
  std::array<QLabel*, 12> lblInformation{};
  QLabel* lblRadioName = nullptr;
  QLabel* lblPin = nullptr;
  QLabel* lblKillPass = nullptr;
  QLabel* lblSerialNo = nullptr;
  QLabel* lblChlName = nullptr;
  QLabel* lblDgiScrm = nullptr;
  QLabel* lblEncode = nullptr;
  QLabel* lblDecode = nullptr;
  QLabel* lblEncodeName = nullptr;
  QLabel* lblDecodeName = nullptr;
  QLabel* lblSingleTime = nullptr;
  QLabel* lblFirmware = nullptr;
  QLabel* lblMainMenu = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblCompanyMsg = nullptr;
  QLabel* lblRadioModelMsg = nullptr;
  QGroupBox* fraMainMenu = nullptr;
  QGroupBox* fraInformation = nullptr;
  QGroupBox* fraAction = nullptr;
  QMenuBar* menuBar = nullptr;
  QAction* mnuHelp = nullptr;

 protected:
  // Escape means nothing on this page; it is left by its buttons or closed.
  void reject() override {}
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(bool& cancel) override;
  // The window's close button is End: the same question, the same end.
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void savePositionKeys();
  void openPage(int index);
  bool pageOpenAbove() const;
  std::unique_ptr<Page> openedPage_;
};

#pragma once
// The configuration page: the radio's identity fields, the serial port, and
// the road on to the main menu.
#include <array>
#include <functional>

#include "core/identity.h"
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
class QRadioButton;
class QToolButton;

class FrmConfiguration : public Page {
  Q_OBJECT
 public:
  explicit FrmConfiguration(QWidget* parent = nullptr);

  // Page values (texts), decoded from and encoded into the image.
  ConfigValues values;
  std::string strCommPortText;

  // Handlers, named after the events they stand for.
  void OptZRSelect_Click(int index);
  void cboRadioModel_Change();
  void cboTXRef_Change();
  void cboFUHFIF_Change();
  void updChangeSelect_Previous(int index);
  void updChangeSelect_Next(int index);
  void LstChannelName_GotFocus();
  void LstChannelName_LostFocus();
  void LstDigitalScrambler_GotFocus();
  void LstDigitalScrambler_LostFocus();
  void cboRsPort_Change();
  void txtPIN_KeyUp();
  void txtKillPass_KeyUp();
  void txtPIN_LostFocus();
  void txtPINTime_LostFocus();
  void txtKillPass_LostFocus();
  void txtKillPassTime_LostFocus();
  void txtSerialNo_LostFocus();
  void CmdAction_Click(int index);
  void mnuHelp_Click();

  // The shared routines of the page.
  bool InputDataCheck();
  void subSetConfigControls();
  void subGetConfigData();
  // Writes the page's values into the image; false when the user declined a
  // channel-name switch that would drop channels or names (nothing written).
  bool subPutConfigData();
  ConfigEnables enables() const;

  // Whether a port is there; tests replace it. The default asks the port
  // map, which finds the device without opening it.
  using PortProbe = std::function<bool(int port)>;
  static void setPortProbe(PortProbe probe);

  std::array<QLabel*, 10> lblConfmenu{};  // 0..7 and 9
  QComboBox* cboRadioModel = nullptr;
  QGroupBox* FraZRSelect = nullptr;
  std::array<QRadioButton*, 3> OptZRSelect{};  // 1 ZR330, 2 ZR320
  QLineEdit* txtPIN = nullptr;
  QLineEdit* txtPINTime = nullptr;
  QLineEdit* txtKillPass = nullptr;
  QLineEdit* txtKillPassTime = nullptr;
  QLineEdit* txtSerialNo = nullptr;
  QComboBox* cboRsPort = nullptr;
  QLabel* lblPortDevice = nullptr;
  QLabel* lblNoPort = nullptr;  // shown when no port was found
  QListWidget* LstChannelName = nullptr;
  QListWidget* LstDigitalScrambler = nullptr;
  std::array<std::array<QToolButton*, 2>, 2> updChangeSelect{};  // [index][0 previous, 1 next]
  QComboBox* cboTXRef = nullptr;
  QComboBox* cboFUHFIF = nullptr;
  std::array<QPushButton*, 4> CmdAction{};
  QLabel* lblCompanyMsg = nullptr;
  QLabel* lblRadioModelMsg = nullptr;
  QGroupBox* fraConfmenu = nullptr;
  QGroupBox* fraAction = nullptr;
  QMenuBar* menuBar = nullptr;
  QAction* mnuHelp = nullptr;

 protected:
  // Escape means nothing on this page; it is left by its buttons or closed.
  void reject() override {}
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;
  // The window's close button is End: the same question, the same end.
  void closeEvent(QCloseEvent* e) override;

 private:
  void enableFromMask();
  void bindEvents();
  void nameControls();
  void fillPortList();
  int subProbeCommPort(int port);
  void subRestoreConfigPosition();
  void updChangeSelect_Step(int index, int direction);
  void leaveBox(QLineEdit* box, std::string& value, bool isTime);
  bool typingRefused(QLineEdit* box, QKeyEvent* e);
  void followCode(QLineEdit* code, QLineEdit* times, std::string& value);
  void showPortDevice();
  void showOptionRows();
  void goToMainMenu();
  void goToStartUp();
  void savePositionKeys();
  ConfigValues asLoaded_;
  // The check-first handling the settings pages share; a refused value
  // brings back every control through subSetConfigControls.
  kit::SettingsKit kit_;
  kit::MaskRows mask_;
};

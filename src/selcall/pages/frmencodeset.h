#pragma once
// The encode page: which selective-call format the radio sends (5-tone, DTMF,
// their ANI variants, none), its codes, timing, ANI, emergency, transfer and
// single-tone settings. The page decodes the image when it loads, keeps one
// saved value per control while it is open and writes the settings the user
// changed back into the image when it unloads, however it is closed.
#include <array>
#include <functional>
#include <string>

#include "platform/gui/settingskit.h"
#include "platform/gui/vbui.h"
#include "selcall/encode.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPushButton;
class QRadioButton;

class FrmEncodeSet : public Page {
  Q_OBJECT
 public:
  explicit FrmEncodeSet(QWidget* parent = nullptr);

  // Saved values; `values.strEncodeFormat` and `values.strCodeForm` are the
  // page's format and the form of its code texts.
  EncodeValues values;
  std::string strOldDigits, strNewDigits;  // alphabets of the last code-form change

  // Handlers, named after the events they stand for.
  void optEncodeMenu_Click(int index);
  void updChangeSelect_UpClick(int index);
  void updChangeSelect_DownClick(int index);
  void cboTonePeriod_Change();
  void cbo5ToneSet_Change();
  void chkSingleTone_Click();
  void CmdAction_Click(int index);
  void txtEndForcus_GotFocus();
  void mnuHelp_Click();

  bool InputDataCheck();
  void subRestoreEncodeControls();
  void subGetEncodeData();
  void subPutEncodeData();

  // Controls (a format button exists for indexes 0, 2, 4, 6 and 7).
  std::array<QRadioButton*, 8> optEncodeMenu{};
  std::array<QLabel*, 30> lblEncodeSetting{};
  QComboBox* cbo5ToneSet = nullptr;
  QComboBox* cboEncodeDigit = nullptr;
  QLineEdit* txtEncodeNo = nullptr;
  QComboBox* cboTonePeriod = nullptr;
  QComboBox* cboEncodeDelay = nullptr;
  QComboBox* cboFrstToneTime = nullptr;
  QComboBox* cboRepeatToneNo = nullptr;
  QComboBox* cboCallingTime = nullptr;
  QComboBox* cboEncodeFormat = nullptr;
  QComboBox* cboApauseTime = nullptr;
  QLineEdit* txtREncodeNo = nullptr;
  QComboBox* cboRFirstToneTime = nullptr;
  QComboBox* cboBpauseTime = nullptr;
  QLineEdit* txtAniEncodeNo = nullptr;
  QComboBox* cboAniEncodeMode = nullptr;
  QLineEdit* txtAniIntervalTime = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* txtEmergencyNo = nullptr;
  QComboBox* cboEmergencyMode = nullptr;
  QLineEdit* txtEmergencyChannel = nullptr;
  QComboBox* cboEmergencyTime = nullptr;
  QComboBox* cboEmergencyAlarm = nullptr;
  QLineEdit* txtTransferChannel = nullptr;
  QLineEdit* txtTranferNo = nullptr;
  QLineEdit* txtEmergencyKeyTime = nullptr;
  QLabel* Label2 = nullptr;
  // The six two-entry lists with their arrows: 0 lstCallRepeaterNo,
  // 1 lstLcdClearbyPtt, 2 lstDtmfEncode, 3 lstAttachDecodeNo,
  // 4 lstAutoANIencode, 5 lstEmergencySpeaker.
  std::array<kit::UpDownList*, 6> updChangeSelect{};
  QListWidget* lstCallRepeaterNo = nullptr;
  QListWidget* lstLcdClearbyPtt = nullptr;
  QListWidget* lstDtmfEncode = nullptr;
  QListWidget* lstAttachDecodeNo = nullptr;
  QListWidget* lstAutoANIencode = nullptr;
  QListWidget* lstEmergencySpeaker = nullptr;
  QGroupBox* fraSingleTone = nullptr;
  QCheckBox* chkSingleTone = nullptr;
  QComboBox* cboSingleToneEncodeTime = nullptr;
  QGroupBox* fraEncodeMenu = nullptr;
  QGroupBox* fraEncodeSetting = nullptr;
  QGroupBox* fraAction = nullptr;
  std::array<QPushButton*, 2> CmdAction{};  // index 1: Exit
  kit::FocusSink* txtEndForcus = nullptr;
  QMenuBar* menuBar = nullptr;
  QAction* mnuHelp = nullptr;

  kit::SettingsKit kit;
  kit::CodeBoxes codes;

 protected:
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(bool& cancel) override;

 private:
  void applyMask(int format);
  void stepList(int index, int direction);
  void closeAfterCheck(QWidget* control, const std::function<void()>& take);
  void bindCodeBox(QLineEdit* box, std::string EncodeValues::*value);
  // The code boxes' alphabet and empty digit for the current code form.
  void useCodeForm();
  void bindNumberBox(QLineEdit* box, std::string EncodeValues::*value, const char* accepted);
  void bindList(int index, std::string EncodeValues::*value);
  void bindCombo(QComboBox* combo, std::string EncodeValues::*value);
  void selectFormatButton(const std::string& format);
  void warnStrays();
  bool failCheck(const std::string& text, const std::string& title);
  kit::MaskRows rows_;
  EncodeValues asLoaded_;
  bool unknownFormat_ = false;
  std::vector<int> strays_;
  bool warned_ = false;
};

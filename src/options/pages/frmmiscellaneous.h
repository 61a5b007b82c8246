#pragma once
// The miscellaneous page: the radio-wide functions that belong to no channel
// (squelch, TTL, beeps, power and key functions, starting channel and
// message, reset times, repeater, voting and CTCSS options, key lock).
#include <array>
#include <memory>
#include <string>

#include "options/misc.h"
#include "platform/gui/settingskit.h"
#include "platform/gui/vbui.h"

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

class FrmMiscellaneous : public Page {
  Q_OBJECT
 public:
  explicit FrmMiscellaneous(QWidget* parent = nullptr);
  ~FrmMiscellaneous() override;

  // The working values (decoded at load, written back at unload) and what
  // decoding gave, so that only changed settings are written.
  options::MiscValues values;
  options::MiscEnables enables;
  int m_intLastChannel = 0;
  int m_intChannelSplit = 0;

  // Renders the working values into the shared miscellaneous print texts.
  bool subSetIniData();

  // Handlers, named after the events they stand for.
  void lstList_GotFocus(int index);
  void lstList_LostFocus(int index);
  void updChangeSelect_UpClick(int index);
  void updChangeSelect_DownClick(int index);
  void cboCombo_Change(QComboBox* combo);
  void cboKeyAssign_Change(int index);
  void chkKeyLock_Click(int index);
  void optSquelchSet_Click(int index);
  void txtStartingMessage_Change();
  void txtField_LostFocus(QLineEdit* box);
  void txtEndForcus_GotFocus();
  void CmdAction_Click(int index);
  void mnuHelp_Click();

  bool InputDataCheck();
  void subShowMiscData();
  void subGetMiscData();
  void subPutMiscData();

  // The settings' labels by index 2..32 (text 400 + index).
  std::array<QLabel*, 33> lblMiscellaneous{};
  QGroupBox* fraMiscellaneous = nullptr;
  std::array<QRadioButton*, 2> optSquelchSet{};
  QComboBox* cboSquelchSetVer = nullptr;
  QComboBox* cboSquelchSetFix = nullptr;
  QLineEdit* txtTTLTime = nullptr;
  QLabel* labTTLTime = nullptr;
  QLabel* Label2 = nullptr;  // unit of the VOX reset time
  QLabel* Label1 = nullptr;  // unit of the auto TX reset time
  // The eleven two-entry lists with their arrows (updChangeSelect 0..10).
  std::array<kit::UpDownList*, 11> updChangeSelect{};
  QListWidget* lstKeyONBeep = nullptr;
  QListWidget* lstPTTONBeep = nullptr;
  QListWidget* lstPTTOFFBeep = nullptr;
  QListWidget* lstCTSSMute = nullptr;
  QListWidget* lstDecodeoutalways = nullptr;
  QListWidget* lstTXPowerChange = nullptr;
  QListWidget* lstPoweronResume = nullptr;
  QListWidget* lstToneSystemChange = nullptr;
  QListWidget* lstInformationDisplay = nullptr;
  QListWidget* lstAutoVoiceMute = nullptr;
  QListWidget* lstLowBatteryAlarm = nullptr;
  QComboBox* cboPOWOFFTime = nullptr;
  QComboBox* cboTXInhibit = nullptr;
  QComboBox* cboPowerSaveTime = nullptr;
  QComboBox* cboCHNameDelay = nullptr;
  QLineEdit* txtVOXResetTime = nullptr;
  QLineEdit* txtAutoTXResetTime = nullptr;
  QLineEdit* txtStartingChannel = nullptr;
  QLineEdit* txtStartingMessage = nullptr;
  std::array<QComboBox*, 3> cboKeyAssign{};
  QComboBox* CboRepeaterMode = nullptr;
  QComboBox* CboVotingTone = nullptr;
  QComboBox* CboCTCSScutoff = nullptr;
  std::array<QComboBox*, 3> CboCTCSSdeviation{};
  QComboBox* CboVotingInterval = nullptr;
  QComboBox* CboTransmissionTime = nullptr;
  QGroupBox* fraKeyLockMode = nullptr;
  QCheckBox* chkPTTKey = nullptr;
  QCheckBox* chkCallKey = nullptr;
  QCheckBox* chkMuteKey = nullptr;
  QGroupBox* fraAction = nullptr;
  std::array<QPushButton*, 2> CmdAction{};  // element 1: Exit
  kit::FocusSink* txtEndForcus = nullptr;
  QMenuBar* menuBar = nullptr;
  QAction* mnuHelp = nullptr;

 protected:
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(bool& cancel) override;
  void closeEvent(QCloseEvent* e) override;
  // Escape means nothing on this page; it closes by Exit, the window or
  // tabbing past the last field.
  void reject() override {}

 private:
  std::string& listValue(int index);
  QComboBox* singleCombo(int item) const;
  std::string* comboValue(QComboBox* combo);
  // A box whose text is not what the page last showed for its value: only
  // such a box is checked, so a stored value out of range never holds up the
  // rest of the page.
  bool edited(QLineEdit* box) const;
  std::string shownText(QLineEdit* box) const;
  // Takes what the field with the focus holds, as leaving it would, before
  // the page closes; false when its check refused it (the page stays).
  bool takeFocusedField();
  void applyEnables();
  void showListValue(int index);
  // A page wider than the room right of the main menu moves back onto the screen.
  void keepOnScreen();
  void showSquelchMode();
  void selectEntry(QComboBox* combo, const std::string& value);

  std::unique_ptr<kit::SettingsKit> kit_;
  kit::MaskRows mask_;
  options::MiscValues asLoaded_;
  QLineEdit* refused_ = nullptr;  // the box the last failed check emptied
  int family_ = -1;
};

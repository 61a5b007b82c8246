#pragma once
// The decode settings page: how the radio answers a received 5-tone or DTMF
// call. The page holds one working text per control while it is open and
// writes the changed ones into the image when it closes.
#include <array>
#include <memory>
#include <string>

#include "platform/gui/vbui.h"
#include "selcall/decode.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPushButton;
class QRadioButton;

namespace kit {
class CodeBoxes;
class FocusSink;
class MaskRows;
class SettingsKit;
class UpDownList;
struct CodeKey;
}  // namespace kit

class FrmDecodeSet : public Page {
  Q_OBJECT
 public:
  explicit FrmDecodeSet(QWidget* parent = nullptr);
  ~FrmDecodeSet() override;

  // Working values (what the controls show) and what decoding gave.
  DecodeValues values;
  const DecodeValues& asLoaded() const { return asLoaded_; }
  // The alphabet the code texts are converted from and to by the format switch.
  std::string m_strValidKeys, m_strPrevKeys;
  std::string m_strKillStatus = "OFF";

  // Handlers, named after the events they stand for.
  void optDecodeMenu_Click(int index);
  void updChangeSelect_Click(int index, int direction);
  void lstOnOff_GotFocus(int index);
  void lstOnOff_LostFocus(int index);
  void lstLimitedDecode_Change();
  void codeBox_GotFocus(QLineEdit* box);
  bool codeBox_KeyDown(QLineEdit* box, const kit::CodeKey& key);
  // Text put into a code box from outside: what typing could have made.
  bool codeBox_Entry(QLineEdit* box);
  void codeBox_LostFocus(QLineEdit* box);
  void txtAutoResetTime_LostFocus();
  void combo_Change(QComboBox* combo, std::string& saved);
  void cboGroupNo_Change();
  void cboDisplayDigit_Change();
  void CmdAction_Click(int index);
  void txtEndForcus_GotFocus();
  void mnuHelp_Click();

  bool InputDataCheck();
  void subSetDecodeControls();
  // Which setting controls the current format's mask row enables.
  const DecodeEnables& enables() const { return enables_; }

  QGroupBox* fraDecodeMenu = nullptr;
  std::array<QRadioButton*, 8> optDecodeMenu{};  // 0, 3, 4 and 7
  QGroupBox* fraDecodeSetting = nullptr;
  std::array<QLabel*, kDecodeLines> lblDecodeSetting{};
  QLineEdit* txtDecodeNo = nullptr;
  QLineEdit* txtAnswerNo = nullptr;
  QLineEdit* txtFixDsplayDigit = nullptr;
  QLineEdit* txtKillNo = nullptr;
  QLineEdit* txtAutoResetTime = nullptr;
  QLabel* Label1 = nullptr;
  QComboBox* cboBeepTime = nullptr;
  QComboBox* cboGroupNo = nullptr;
  QComboBox* cboGroupDigit = nullptr;
  QComboBox* cboMonitorOutMode = nullptr;
  QComboBox* cboAnswerTime = nullptr;
  QComboBox* cboAutoResetMode = nullptr;
  QComboBox* cboResetNo = nullptr;
  QComboBox* cboDisplayDigit = nullptr;
  QComboBox* cboDisplayNo = nullptr;
  QComboBox* cboAniDisplayDigit = nullptr;
  QComboBox* cboEmgReceiveDigit = nullptr;
  // The four ON/OFF lists with their up-down arrows (updChangeSelect 0-3):
  // group mode, limited decode, ANI receive, emergency call receive.
  std::array<kit::UpDownList*, 4> updChangeSelect{};
  QListWidget* lstGroupMode = nullptr;
  QListWidget* lstLimitedDecode = nullptr;
  QListWidget* lstAniReceive = nullptr;
  QListWidget* lstCallReceive = nullptr;
  QLabel* labKillStatus = nullptr;
  QGroupBox* fraAction = nullptr;
  std::array<QPushButton*, 2> CmdAction{};  // 1 Exit
  kit::FocusSink* txtEndForcus = nullptr;
  QMenuBar* menuBar = nullptr;
  QAction* mnuHelp = nullptr;

 protected:
  // Escape means nothing on this page; it closes by Exit, the last tab stop
  // or the window's close box.
  void reject() override {}
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(bool& cancel) override;

 private:
  std::string& onOffValue(int index);
  QListWidget* onOffList(int index);
  std::string* codeValue(QLineEdit* box);
  void useCodeAlphabet(QLineEdit* box);
  // A changed fix display digit where the encode settings allow no five-tone
  // options: refused with its message.
  bool fixDisplayDigitRefused(QLineEdit* box);
  void refuse(int firstId, QWidget* focusBack);
  void rebuild(QComboBox* combo, const std::vector<std::string>& items, int index);
  void bindEvents();

  std::unique_ptr<kit::SettingsKit> kit_;
  std::unique_ptr<kit::MaskRows> masks_;
  std::unique_ptr<kit::CodeBoxes> codes_;
  DecodeValues asLoaded_;
  DecodeEnables enables_{};
  int family_ = 0;
  bool limitedRefusalPending_ = false;
};

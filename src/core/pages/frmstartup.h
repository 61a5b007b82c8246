#pragma once
// The first page: command line, family choice, speed calibration, and the
// road on to the configuration page.
#include <QTimer>
#include <array>

#include "platform/gui/vbui.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QMenuBar;
class QAction;

class FrmStartUp : public Page {
  Q_OBJECT
 public:
  explicit FrmStartUp(QWidget* parent = nullptr);

  // Loads the page: the whole start-up sequence. The page either waits for
  // the user or hands over to the configuration page by itself.
  void Start() { Show(); }

  void optSelectRadio_Click(int index);
  void CmdAction_Click(int index);
  void tmrBase_Timer();
  void tmrLight_Timer();
  void lblSound_Click();
  void mnuHelp_Click();

  // Tests shorten the calibration clock (200 ms in the program).
  static void setCalibrationTickMs(int ms);

  std::array<QLabel*, 6> lblMessage{};
  QGroupBox* fraSelectRadio = nullptr;
  std::array<QRadioButton*, 3> optSelectRadio{};
  QGroupBox* fraAction = nullptr;
  std::array<QPushButton*, 2> CmdAction{};
  // Looks like a label; a flat button, so the keyboard and assistive tools
  // can press it too.
  QPushButton* lblSound = nullptr;
  QWidget* ShpFlame = nullptr;
  QTimer tmrBase;
  QTimer tmrLight;
  QMenuBar* menuBar = nullptr;
  QAction* mnuHelp = nullptr;
  int intTickCount = 0;

 protected:
  // Escape means nothing on this page; it is left by its buttons or closed.
  void reject() override {}
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;
  // The window's close button is End: the same question, the same end.
  void closeEvent(QCloseEvent* e) override;

 private:
  void subStartUpShow();
  void subSpeedCheck();
  void subDirectStart();
  void commandLineMode();
  bool loadInitialImage(const char* title);
  void handOverToConfiguration();
  void savePositionKeys();
  bool calibrated_ = false;
  bool placed_ = false;  // placed on the screen from the stored position
  QButtonGroup* group_ = nullptr;
};

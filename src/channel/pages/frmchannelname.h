#pragma once
// The channel-name page: the names of the radio's channels, 50 boxes a page,
// pages chosen in a list. Names are read from the image each time the page
// comes to the front and written back when it closes.
#include <array>
#include <string>
#include <vector>

#include "platform/gui/vbui.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;

class FrmChannelName : public Page {
  Q_OBJECT
 public:
  explicit FrmChannelName(QWidget* parent = nullptr);

  void cboPageNo_Click();
  void CmdAction_Click(int index);
  void mnuHelp_Click();
  // A change of a box's text that the page did not make itself (typing,
  // deleting, pasting, dropping, an assistive tool setting it).
  void txtChannelMenu_Change(int index);
  // Key handlers; each returns true when it used the key up.
  bool txtChannelMenu_KeyDown(int index, int keyCode, int shift);
  bool txtChannelMenu_KeyPress(int index, int keyAscii);
  void txtChannelMenu_KeyUp(int index, int keyCode);

  void subGetChannelNameData();
  void subPutChannelNameData();
  void subShowNamePage();

  int currentPage() const { return intPage_; }

  std::array<QLineEdit*, 50> txtChannelMenu{};
  std::array<QLabel*, 50> labChannelName{};
  std::array<QLabel*, 50> LabColon{};
  QComboBox* cboPageNo = nullptr;
  QLabel* Label2 = nullptr;  // page title
  QLabel* Label3 = nullptr;  // "PAGE"
  QGroupBox* fraChannelName = nullptr;
  QGroupBox* fraAction = nullptr;
  std::array<QPushButton*, 1> CmdAction{};
  QMenuBar* menuBar = nullptr;
  QAction* mnuHelp = nullptr;

 protected:
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload(bool& cancel) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int nameIndex(int box) const;
  int lastName() const;
  // Shows another page (list entry included) and focuses one of its boxes.
  void goToPage(int page, int box);
  void focusBox(int box);
  // Puts a box's text without it counting as the user's change.
  void putBoxText(int box, const std::string& text, int caret);
  void warnForeignNames();

  int family_ = 0;
  int intPage_ = 0;
  int intLastPage_ = 0;
  bool filling_ = false;  // the page itself writes the boxes
  bool warned_ = false;   // the one warning of this visit was shown
  std::vector<std::string> asLoaded_;
};

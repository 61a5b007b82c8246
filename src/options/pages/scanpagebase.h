#pragma once
// What the scan settings page and the priority-channel page share: number
// boxes checked as they are left, two-entry lists stepped by up-down arrows,
// Escape in a field taking its value and closing the page, the Exit button,
// the Help menu and the focus sink that closes the page from the tab order.
// Each page keeps one working text per field; a field is any of its controls,
// numbered as the page numbers its settings.
#include <QString>
#include <array>
#include <string>
#include <vector>

#include "platform/gui/settingskit.h"
#include "platform/gui/vbui.h"

class QAction;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QPushButton;

class ScanPageBase : public Page {
  Q_OBJECT
 public:
  // The check of the field being left; shows its message and answers false
  // on refusal. A field whose text is what the page already holds passes.
  virtual bool InputDataCheck(QWidget* field) = 0;
  // True while the page fills its own controls.
  bool blnDataSetting() const { return kit_.busy.on(); }

  // Handlers, named after the events they stand for.
  void txtBox_LostFocus(QLineEdit* box);
  // Escape: a passing check takes the value and closes the page; a refused
  // one puts the value back and keeps the focus. Answers whether the key was
  // taken.
  bool txtBox_KeyPress(QLineEdit* box, int keyCode);
  void lstList_GotFocus(int index);
  void lstList_LostFocus(int index);
  void lstList_KeyPress(int index, int keyCode);
  void updChangeSelect_Click(int index, int direction);  // 0 up arrow, 1 down arrow
  void CmdAction_Click(int index);
  void txtEndForcus_GotFocus();
  void mnuHelp_Click();

  QGroupBox* fraAction = nullptr;
  std::array<QPushButton*, 2> CmdAction{};  // 1 Exit
  kit::FocusSink* txtEndForcus = nullptr;
  QMenuBar* menuBar = nullptr;
  QAction* mnuHelp = nullptr;
  // The lists and their arrows, by arrow index.
  std::vector<kit::UpDownList*> updChangeSelect;

 protected:
  explicit ScanPageBase(QWidget* parent, const char* helpTopic);

  // What the page provides.
  virtual int fieldOf(const QWidget* w) const = 0;
  virtual std::string& saved(int field) = 0;
  virtual void showValues() = 0;
  virtual void putValues() = 0;

  // Building the page: the settings frame with its label column, then boxes
  // and lists in its rows, then finish().
  QGroupBox* makeFrame(int firstCaption, int labels, const char* labelName);
  QLineEdit* addBox(int row, const char* name, int maxLength, const char* keys);
  QListWidget* addList(int row, int field, const QStringList& entries);
  void finish();

  // Shows a refusal the one way the checks do; answers whether `message`
  // (a message id, 0 for none) lets the value pass.
  static bool passes(int message);
  // Each list shows its working entry, none highlighted.
  void showLists();
  void Form_Activate() override { showValues(); }
  void Form_Unload(bool& cancel) override;
  void closeEvent(QCloseEvent* e) override;
  // Takes what the field with the focus holds, as leaving it would, before
  // the page closes; false when its check refused it (the page stays).
  bool takeFocusedField();
  // Takes what a field holds as its working text and closes the page.
  void closeAfter(QWidget* field);
  // Places, colours and captions the page; `frame` is the settings frame.
  void loadLayout(int dTop, int dLeft, const std::string& caption, int frameCaption);

  kit::SettingsKit kit_;
  QGroupBox* frame_ = nullptr;
  QGridLayout* grid_ = nullptr;
  std::vector<QLabel*> labels_;
  std::vector<int> listFields_;  // the field of each list, by arrow index
  QWidget* leaving_ = nullptr;   // the field the kit's check looks at

 private:
  const char* helpTopic_;
};

#pragma once
// The initialise / clear dialog of the configuration page: empty every
// channel, or reload the whole image from the family's initial file.
#include "platform/gui/vbui.h"

class QLabel;
class QPushButton;

class FrmClearSelect : public Page {
  Q_OBJECT
 public:
  // `owner` is the page the dialog places itself by.
  explicit FrmClearSelect(Page* owner);

  void cmdChannelClear_Click();
  void cmdAllDataClear_Click();
  void cmdExit_Click();

  // Writes the family's empty channel pattern into every channel entry of
  // the image (the baseline is not touched).
  static void subClearChannels();

  QLabel* labInitializeMenu = nullptr;
  QPushButton* cmdChannelClear = nullptr;
  QPushButton* cmdAllDataClear = nullptr;
  QPushButton* cmdExit = nullptr;

 protected:
  void Form_Load() override;

 private:
  void resetAfterClear();
  Page* owner_;
};

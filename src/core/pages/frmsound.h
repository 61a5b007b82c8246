#pragma once
// The sound settings page: one wave per kind of message.
#include <array>

#include "platform/gui/vbui.h"

class QComboBox;
class QLabel;
class QPushButton;

class FrmSound : public Page {
  Q_OBJECT
 public:
  explicit FrmSound(QWidget* parent = nullptr);

  QLabel* lblHeading = nullptr;
  QComboBox* ComInquiry = nullptr;
  QComboBox* ComAttention = nullptr;
  QComboBox* ComInfomation = nullptr;
  QComboBox* ComWorning = nullptr;
  std::array<QPushButton*, 4> ComInqTest{};
  QPushButton* ComSoundSet = nullptr;
  QPushButton* ComSoundExit = nullptr;

  void ComInqTest_Click(int index);
  void ComSoundSet_Click();
  void ComSoundExit_Click();

 protected:
  void Form_Load() override;

 private:
  QComboBox* listOf(int index) const;
};

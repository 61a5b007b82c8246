#pragma once
// The data-file page: open a data file into the image, save the image, and
// the delete page.
#include <array>
#include <string>

#include "platform/gui/vbui.h"

class QLabel;
class QPushButton;

class FrmFileUtility : public Page {
  Q_OBJECT
 public:
  explicit FrmFileUtility(QWidget* parent = nullptr);

  std::array<QPushButton*, 3> comReadWrite{};
  QPushButton* comExit = nullptr;
  QLabel* labTitle = nullptr;

  void comReadWrite_Click(int index);
  void comExit_Click();
  void subFileRead();
  void subFileSave();
  const std::string& filter() const { return strFilter; }

 protected:
  void Form_Load() override;

 private:
  bool chooseDataFile(bool save, std::string& folder, std::string& name);
  std::string strFilter;
  std::string strDataFolder;
};

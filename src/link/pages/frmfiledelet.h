#pragma once
// The data-file delete page: browse to a folder, delete data files of the
// current family.
#include <array>
#include <string>

#include "platform/gui/vbui.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

class FrmFileDelet : public Page {
  Q_OBJECT
 public:
  explicit FrmFileDelet(QWidget* parent = nullptr);

  QComboBox* Drive1 = nullptr;     // filesystem roots and mounted media
  QListWidget* Dir1 = nullptr;     // sub-folders of the current folder ("..": up)
  QLabel* LabChangePath = nullptr;
  QListWidget* filSetUpFile = nullptr;
  QLabel* labFileList = nullptr;
  QLabel* Label1 = nullptr;
  std::array<QPushButton*, 2> CmdAction{};

  void Drive1_Change();
  void Dir1_Change();
  void filSetUpFile_Click();
  void CmdAction_Click(int index);

  // The folder list's path (with no trailing "/" except for the root).
  const std::string& dirPath() const { return strDirPath; }
  void setDirPath(const std::string& path);  // runs Dir1_Change
  void setDrive(const std::string& drive);    // runs Drive1_Change
  const std::string& selectedFile() const { return strSelectFile; }

 protected:
  void Form_Load() override;

 private:
  void refreshFolders();
  void refreshFiles();
  std::string strSelectFile;
  std::string strDirPath;
  std::string strPattern;
  bool settingDrive = false;
};

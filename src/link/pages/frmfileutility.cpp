#include "link/pages/frmfileutility.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/filecontrol.h"
#include "core/modeltables.h"
#include "core/modpublic.h"
#include "core/settingkeys.h"
#include "core/soundmsg.h"
#include "core/stamping.h"
#include "link/datafile.h"
#include "link/pages/frmfiledelet.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/helpviewer.h"

namespace {
QString res(int id) { return QString::fromStdString(LoadResString(id)); }
}  // namespace

FrmFileUtility::FrmFileUtility(QWidget* parent) : Page(parent) {
  auto* layout = new QVBoxLayout(this);
  auto* menu = new QMenuBar(this);
  QAction* help = menu->addAction(res(1406));
  connect(help, &QAction::triggered, this, [this] { help::showTopic(modPublic.strHelpFile, "File Utility Menu", this); });
  layout->setMenuBar(menu);
  labTitle = new QLabel(this);
  labTitle->setAlignment(Qt::AlignCenter);
  layout->addWidget(labTitle);
  const char* tips[3] = {"Read Radio configuration data from file", "Write Radio configuration data to file",
                         "Delete Radio configuration data file"};
  for (int i = 0; i < 3; ++i) {
    auto* b = new QPushButton(this);
    b->setObjectName(QString("comReadWrite%1").arg(i));
    b->setToolTip(tips[i]);
    b->setMinimumWidth(200);
    layout->addWidget(b);
    comReadWrite[static_cast<size_t>(i)] = b;
    connect(b, &QPushButton::clicked, this, [this, i] { comReadWrite_Click(i); });
  }
  comExit = new QPushButton(this);
  comExit->setToolTip("Close this menu");
  layout->addWidget(comExit);
  connect(comExit, &QPushButton::clicked, this, [this] { comExit_Click(); });
}

void FrmFileUtility::Form_Load() {
  placeFromMainMenu(1800, 2500);
  setCaption(std::string(app::kTitle) + "-FileUtility");
  vbui::setBackColor(this, vb::ColorValue(modPublic.strLabelColor));
  strFilter = datafile::dialogFilter();
  for (int i = 0; i < 3; ++i) comReadWrite[static_cast<size_t>(i)]->setText(res(1400 + i));
  comExit->setText(res(1403));
  labTitle->setText(res(1404));
}

void FrmFileUtility::comReadWrite_Click(int index) {
  switch (index) {
    case 0: subFileRead(); break;
    case 1: subFileSave(); break;
    case 2: {
      FrmFileDelet page(this);
      page.showModal();
      break;
    }
    default: break;
  }
}

void FrmFileUtility::comExit_Click() { Unload(); }

bool FrmFileUtility::chooseDataFile(bool save, std::string& folder, std::string& name) {
  FileDialogRequest r;
  r.save = save;
  r.title = std::string(app::kTitle) + (save ? "-File Save" : "-File Open");
  r.folder = readFolderSetting(keys::ConfigDirectory);
  r.filter = strFilter;
  // A name typed without an extension gets the family's own from the dialog,
  // before it asks whether to overwrite that file.
  if (save && !datafile::extension().empty()) r.defaultSuffix = datafile::extension().substr(1);
  const std::string chosen = chooseFile(this, r);
  if (chosen.empty()) return false;  // Cancel changes nothing and says nothing
  return datafile::splitPath(chosen, folder, name);
}

void FrmFileUtility::subFileRead() {
  std::string folder, name;
  if (!chooseDataFile(false, folder, name)) return;
  strDataFolder = folder;
  ModPublic& m = modPublic;
  const bool ok = objFileControl().getDataFile(folder, name, m.bytRadioData, m.lngDataLast, "subFileRead") ==
                  clsFileControl::DataFile::Read;
  if (ok) {
    subSetTopRowAfterLoad();
    if (m.family() == 0) {
      m.bytRadioData[64] = 0;
      m.bytRadioData[65] = 0;
    }
    if (m.family() == 2) deriveFamily2IfFromImage();
    intSoundMsgBox(SoundKind::Information, LoadResString(10008), "subFileRead");
  }
  saveSetting(keys::ConfigDrive, strDataFolder.substr(0, 1));
  saveSetting(keys::ConfigDirectory, strDataFolder);
  if (m.family() == 0 || m.family() == 2) m.blnRadioWritten = false;
}

void FrmFileUtility::subFileSave() {
  std::string folder, name;
  if (!chooseDataFile(true, folder, name)) return;
  strDataFolder = folder;
  ModPublic& m = modPublic;
  subPrepareImage();
  if (m.family() == 1 || m.family() == 2) datafile::storeFileSum(m.bytRadioData);
  if (objFileControl().blnPutBinaryData(folder, name, m.bytRadioData))
    intSoundMsgBox(SoundKind::Information, LoadResString(10010), "CmdAction_Click");
  saveSetting(keys::ConfigDrive, strDataFolder.substr(0, 1));
  saveSetting(keys::ConfigDirectory, strDataFolder);
}

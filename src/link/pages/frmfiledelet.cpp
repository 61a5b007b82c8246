#include "link/pages/frmfiledelet.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

#include "core/filecontrol.h"
#include "core/modpublic.h"
#include "core/settingkeys.h"
#include "core/soundmsg.h"
#include "link/datafile.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"

namespace {
// The "drives" of a Linux machine: the root and the usual mount folders.
QStringList driveList() {
  QStringList drives{"/"};
  for (const QString& base : {QStringLiteral("/media"), QStringLiteral("/mnt"), QStringLiteral("/run/media")}) {
    QDir d(base);
    for (const QString& e : d.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
      const QString p = base + "/" + e;
      // /media/<user>/<stick> and /run/media/<user>/<stick> hold the mounts one level down.
      const QStringList inner = QDir(p).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
      if (base != "/mnt" && !inner.isEmpty())
        for (const QString& i : inner) drives << p + "/" + i;
      else
        drives << p;
    }
  }
  return drives;
}

// The folder path in the room the page gives it: a long path loses its
// middle (both its root and the folder's own name stay readable), and the
// whole path is the tool tip and the accessible name.
class PathLabel : public QLabel {
 public:
  using QLabel::QLabel;
  void setPath(const QString& path) {
    path_ = path;
    setToolTip(path);
    setAccessibleName(path);
    elide();
  }
  QSize sizeHint() const override { return {120, QLabel::sizeHint().height()}; }
  QSize minimumSizeHint() const override { return {40, QLabel::minimumSizeHint().height()}; }

 protected:
  void resizeEvent(QResizeEvent* e) override {
    QLabel::resizeEvent(e);
    elide();
  }

 private:
  void elide() { setText(fontMetrics().elidedText(path_, Qt::ElideMiddle, std::max(0, contentsRect().width()))); }
  QString path_;
};

std::string trimSlash(std::string p) {
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}
}  // namespace

FrmFileDelet::FrmFileDelet(QWidget* parent) : Page(parent) {
  setCaption("FileDelete");
  auto* grid = new QGridLayout(this);
  Label1 = new QLabel("File Delete", this);
  grid->addWidget(Label1, 0, 0, 1, 2);
  Drive1 = new QComboBox(this);
  Drive1->setEditable(false);
  Drive1->addItems(driveList());
  grid->addWidget(Drive1, 1, 0);
  LabChangePath = new PathLabel(this);
  LabChangePath->setObjectName("LabChangePath");
  grid->addWidget(LabChangePath, 2, 0);  // the file list holds column 1 from row 1 to 3
  Dir1 = new QListWidget(this);
  Dir1->setMinimumSize(220, 200);
  grid->addWidget(Dir1, 3, 0);
  auto* files = new QVBoxLayout;
  labFileList = new QLabel("File List", this);
  files->addWidget(labFileList);
  filSetUpFile = new QListWidget(this);
  filSetUpFile->setMinimumSize(200, 180);
  files->addWidget(filSetUpFile);
  grid->addLayout(files, 1, 1, 3, 1);
  auto* fraAction = new QGroupBox(QString::fromStdString(LoadResString(161)), this);
  auto* actions = new QHBoxLayout(fraAction);
  CmdAction[0] = new QPushButton("Delete", fraAction);
  CmdAction[1] = new QPushButton("Exit", fraAction);
  CmdAction[1]->setToolTip("Close this menu");
  actions->addWidget(CmdAction[0]);
  actions->addWidget(CmdAction[1]);
  grid->addWidget(fraAction, 4, 0, 1, 2);

  connect(Drive1, &QComboBox::currentTextChanged, this, [this] {
    if (!settingDrive) Drive1_Change();
  });
  connect(Dir1, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    const QString name = item->text();
    if (name == "..") {
      const size_t slash = strDirPath.rfind('/');
      setDirPath(slash == 0 || slash == std::string::npos ? "/" : strDirPath.substr(0, slash));
    } else {
      setDirPath(trimSlash(strDirPath) == "/" ? "/" + name.toStdString() : strDirPath + "/" + name.toStdString());
    }
  });
  connect(filSetUpFile, &QListWidget::currentRowChanged, this, [this] { filSetUpFile_Click(); });
  connect(CmdAction[0], &QPushButton::clicked, this, [this] { CmdAction_Click(0); });
  connect(CmdAction[1], &QPushButton::clicked, this, [this] { CmdAction_Click(1); });
}

void FrmFileDelet::Form_Load() {
  placeFromMainMenu(700, 1100);
  vbui::setBackColor(this, vb::ColorValue(modPublic.strLabelColor));
  strPattern = datafile::filePattern();
  // Both remembered values are read before either list moves: moving to the
  // drive stores its folder, which would otherwise replace the remembered one.
  const std::string drive = readSetting(keys::ConfigDrive);
  const std::string folder = trimSlash(readFolderSetting(keys::ConfigDirectory));
  setDrive(drive);
  setDirPath(folder);
  if (filSetUpFile->count() > 0) filSetUpFile->setCurrentRow(0);
}

void FrmFileDelet::setDrive(const std::string& drive) {
  {
    settingDrive = true;
    const int at = Drive1->findText(QString::fromStdString(drive));
    if (at >= 0) {
      Drive1->setCurrentIndex(at);
    } else {
      Drive1->addItem(QString::fromStdString(drive));
      Drive1->setCurrentIndex(Drive1->count() - 1);
    }
    settingDrive = false;
  }
  Drive1_Change();
}

void FrmFileDelet::Drive1_Change() {
  const std::string drive = Drive1->currentText().toStdString();
  if (!QDir(QString::fromStdString(drive)).exists()) {
    // Not ready: say so, then go back to the program folder.
    intSoundMsgBoxStyled(SoundKind::Inquiry, 48, LoadResString(10005) + drive, "Drive1_Change");
    settingDrive = true;
    Drive1->setCurrentIndex(0);
    settingDrive = false;
    setDirPath(app::path());
    return;
  }
  setDirPath(drive);
  saveSetting(keys::ConfigDrive, drive);
}

void FrmFileDelet::setDirPath(const std::string& path) {
  std::string p = trimSlash(path.empty() ? "/" : path);
  if (!QDir(QString::fromStdString(p)).exists()) return;  // a vanished folder is skipped
  strDirPath = p;
  Dir1_Change();
}

void FrmFileDelet::Dir1_Change() {
  saveSetting(keys::ConfigDirectory, strDirPath == "/" ? "/" : strDirPath + "/");
  static_cast<PathLabel*>(LabChangePath)->setPath(QString::fromStdString(strDirPath));
  refreshFolders();
  refreshFiles();
}

void FrmFileDelet::refreshFolders() {
  Dir1->clear();
  if (strDirPath != "/") Dir1->addItem("..");
  Dir1->addItems(QDir(QString::fromStdString(strDirPath)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name));
}

void FrmFileDelet::refreshFiles() {
  const QSignalBlocker block(filSetUpFile);
  filSetUpFile->clear();
  QStringList filters;
  if (!strPattern.empty()) filters << QString::fromStdString(strPattern);
  filSetUpFile->addItems(QDir(QString::fromStdString(strDirPath)).entryList(filters, QDir::Files, QDir::Name));
}

void FrmFileDelet::filSetUpFile_Click() {
  if (filSetUpFile->currentRow() >= 0) strSelectFile = filSetUpFile->currentItem()->text().toStdString();
}

void FrmFileDelet::CmdAction_Click(int index) {
  if (index == 1) {
    Unload();
    return;
  }
  if (index != 0) return;
  // The question names exactly the file that will go: the list's selection
  // in the folder shown now.
  const int row = filSetUpFile->currentRow();
  if (row < 0) return;
  const std::string file = filSetUpFile->item(row)->text().toStdString();
  strSelectFile = file;
  intSoundMsgBox(SoundKind::Inquiry, LoadResString(10014) + "\rFileName:" + file, "CmdAction_Click");
  if (modPublic.intMsgBoxResult != 1) return;
  if (!objFileControl().blnDelFile(strDirPath, file)) return;
  intSoundMsgBox(SoundKind::Information, LoadResString(10013), "CmdAction_Click");
  refreshFiles();
  const int count = filSetUpFile->count();
  {
    const QSignalBlocker block(filSetUpFile);
    filSetUpFile->setCurrentRow(count > row ? row : count - 1);
  }
  strSelectFile = filSetUpFile->currentRow() >= 0 ? filSetUpFile->currentItem()->text().toStdString() : "";
}

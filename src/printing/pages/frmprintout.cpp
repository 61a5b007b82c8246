#include "printing/pages/frmprintout.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <sys/stat.h>

#include "core/modpublic.h"
#include "core/pages/pagekit.h"
#include "core/settingkeys.h"
#include "core/soundmsg.h"
#include "platform/base/appinfo.h"
#include "platform/base/safefile.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/filedialogs.h"
#include "platform/gui/helpviewer.h"
#include "printing/pages/qtprintsurface.h"
#include "printing/reports.h"

namespace {
QString res(int id) { return QString::fromStdString(LoadResString(id)); }

// The folder of a PDF name typed without one: the folder the printer set-up's
// own first name is in, the working folder when it lies inside the home
// folder, else the home folder.
QString bareNameFolder() {
  QString home = QDir::homePath();
  const QString cwd = QDir::currentPath();
  if (!home.endsWith('/')) home += '/';
  return cwd.startsWith(home) ? cwd : QDir::homePath();
}
}  // namespace

QPrinter& FrmPrintOut::printer() {
  // Lives for the run, like the system printer object it stands for.
  static QPrinter* p = new QPrinter(QPrinter::HighResolution);
  return *p;
}

FrmPrintOut::FrmPrintOut(QWidget* parent) : Page(parent) {
  setObjectName("frmPrintOut");
  auto* root = new QVBoxLayout(this);
  auto* menu = new QMenuBar(this);
  mnuHelp = menu->addAction(res(1406));
  connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });
  root->setMenuBar(menu);

  labTitle = new QLabel("Print Out", this);
  labTitle->setAlignment(Qt::AlignCenter);
  QFont big = labTitle->font();
  big.setPointSizeF(big.pointSizeF() * 1.4);
  big.setBold(true);
  labTitle->setFont(big);
  root->addWidget(labTitle);

  auto* grid = new QGridLayout;
  comTitleName = new QPushButton("Print Title Name", this);
  comTitleName->setToolTip("Input print header");
  labPrintTitle = new QLabel("Print Title Name :", this);
  txtPrintTitleName = new QLineEdit(this);
  txtPrintTitleName->setObjectName("txtPrintTitleName");
  txtPrintTitleName->setAccessibleName("Print Title Name :");
  labPrintTitle->setBuddy(txtPrintTitleName);
  txtPrintTitleName->installEventFilter(this);
  grid->addWidget(comTitleName, 0, 0);
  grid->addWidget(labPrintTitle, 0, 1);
  grid->addWidget(txtPrintTitleName, 0, 2, 1, 2);

  Frame1 = new QGroupBox(this);
  auto* frame = new QHBoxLayout(Frame1);
  chkOutText = new QCheckBox("Output Text ", Frame1);
  chkOutText->setToolTip("Output Radio configuration data to the text file");
  frame->addWidget(chkOutText);
  comPrinter = new QPushButton("Printer", this);
  comPrinter->setToolTip("Printer Setting");
  grid->addWidget(Frame1, 1, 0, 1, 2);
  grid->addWidget(comPrinter, 1, 2, 1, 2);

  for (int i = 0; i < 2; ++i) {
    auto* b = new QPushButton(i == 0 ? "Channel Data Print" : "All Data Print", this);
    b->setObjectName(QString("comPrintStart%1").arg(i));
    b->setMinimumWidth(180);
    comPrintStart[static_cast<size_t>(i)] = b;
    grid->addWidget(b, 2, 2 * i, 1, 2);
    connect(b, &QPushButton::clicked, this, [this, i] { comPrintStart_Click(i); });
  }
  root->addLayout(grid);

  lblMessage = new QLabel("Now Printing!", this);
  lblMessage->setAlignment(Qt::AlignCenter);
  QFont bold = lblMessage->font();
  bold.setBold(true);
  lblMessage->setFont(bold);
  // Keeps its room while hidden, so the window does not jump as it blinks.
  QSizePolicy keep = lblMessage->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  lblMessage->setSizePolicy(keep);
  lblMessage->hide();
  root->addWidget(lblMessage);

  comExit = new QPushButton("Exit", this);
  comExit->setToolTip("Close this menu");
  root->addWidget(comExit);

  tmrLight = new QTimer(this);
  tmrLight->setProperty("Tag", "0");
  connect(tmrLight, &QTimer::timeout, this, [this] { tmrLight_Timer(); });
  connect(comTitleName, &QPushButton::clicked, this, [this] { comTitleName_Click(); });
  // Any change of the box counts as its click: a mouse, a key, a screen reader, the stored choice.
  connect(chkOutText, &QCheckBox::toggled, this, [this] { chkOutText_Click(); });
  connect(comPrinter, &QPushButton::clicked, this, [this] { comPrinter_Click(); });
  connect(comExit, &QPushButton::clicked, this, [this] { comExit_Click(); });
  noDefaultButtons(this);
}

void FrmPrintOut::Form_Load() {
  const ModPublic& m = modPublic;
  placeFromMainMenu(1500, 1700);
  setCaption(std::string(app::kTitle) + "-" + "PrintOut");
  const uint32_t colour = vb::ColorValue(m.strLabelColor);
  for (QWidget* w : std::initializer_list<QWidget*>{this, Frame1, chkOutText}) vbui::setBackColor(w, colour);
  plainButtonColours(this);
  for (int i = 0; i < 2; ++i) comPrintStart[static_cast<size_t>(i)]->setText(res(1100 + i));
  comTitleName->setText(res(1102));
  comPrinter->setText(res(1103));
  comExit->setText(res(1104));
  labTitle->setText(res(1105));
  lblMessage->setText(res(1106));
  txtPrintTitleName->setText(QString::fromStdString(m.strPrintTitle));
  closeTitleBox();
  printing::setPrinterSurfaceFactory([] { return std::make_unique<printing::QtPrintSurface>(printer()); });
  // The blinking message keeps going while a report runs.
  printing::setYield([] { QCoreApplication::processEvents(); });

  chkOutText->setChecked(vb::Val(readSetting(keys::OutPutText)) != 0);
  comPrinter->setEnabled(!chkOutText->isChecked());
}

void FrmPrintOut::Form_Unload(bool& cancel) {
  // A running report finishes first; the window stays until it has.
  if (printing_) {
    cancel = true;
    return;
  }
  takeOpenTitle();
}

void FrmPrintOut::takeOpenTitle() {
  // A press or a close that leaves the focus in the open title box (a screen
  // reader's, the window's close) takes the title as leaving the box would;
  // the box has kept only the text from before its last key.
  if (!txtPrintTitleName->isEnabled()) return;
  modPublic.strPrintTitle = txtPrintTitleName->text().toStdString();
  closeTitleBox();
}

void FrmPrintOut::closeTitleBox() {
  vbui::setEnabledPainted(txtPrintTitleName, false);
  labPrintTitle->setEnabled(false);
}

void FrmPrintOut::comTitleName_Click() {
  vbui::setEnabledPainted(txtPrintTitleName, true);
  labPrintTitle->setEnabled(true);
  txtPrintTitleName->setFocus();
}

bool FrmPrintOut::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtPrintTitleName) {
    if (event->type() == QEvent::FocusIn && !txtPrintTitleName->text().isEmpty()) {
      // Selected after the click that gave the focus has placed the cursor.
      QTimer::singleShot(0, txtPrintTitleName, [box = txtPrintTitleName] { box->selectAll(); });
    } else if (event->type() == QEvent::KeyPress) {
      modPublic.strPrintTitle = txtPrintTitleName->text().toStdString();
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        closeTitleBox();
        return true;
      }
    } else if (event->type() == QEvent::FocusOut) {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      // A message box or a menu taking the focus is not leaving the box.
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        closeTitleBox();
        modPublic.strPrintTitle = txtPrintTitleName->text().toStdString();
      }
    }
  }
  return Page::eventFilter(watched, event);
}

void FrmPrintOut::chkOutText_Click() {
  comPrinter->setEnabled(!chkOutText->isChecked());
  saveSetting(keys::OutPutText, chkOutText->isChecked() ? "1" : "0");
}

void FrmPrintOut::comPrinter_Click() {
  QPrintDialog dialog(&printer(), this);
  dialog.setWindowTitle(QString::fromStdString(std::string(app::kTitle) + "-" + LoadResString(1103)));
  // A report prints whole: no selection, no page range.
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  guardOutputFile(dialog);
  vbui::execModal(dialog);
}

void FrmPrintOut::guardOutputFile(QPrintDialog& dialog, const char* fieldCheck) {
  // The dialog's own check of the output file opens it for appending and, for
  // a file that did not exist, removes it again: on a pipe that waits for a
  // reader for ever, and a dangling link is removed and its target left empty.
  // A name that is no file is refused here; a link is handed on as the file
  // it leads to, which the check then leaves alone and the PDF is written into.
  // The check takes a name without a folder in the working folder, the
  // dialog writes it into the home folder: such a name is put into the folder
  // the set-up's first name is in, so the check, its overwrite question and
  // the PDF meet one file.
  auto* buttons = dialog.findChild<QDialogButtonBox*>();
  auto* file = dialog.findChild<QLineEdit*>("filename");
  if (!buttons || !file) return;
  QObject::disconnect(buttons, &QDialogButtonBox::accepted, &dialog, nullptr);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog, file, fieldCheck] {
    if (file->isEnabled() && !file->text().isEmpty()) {
      QString path = file->text();
      if (QDir::isRelativePath(path)) path = bareNameFolder() + "/" + path;
      std::string target;
      struct stat st {};
      const bool ends = safefile::followLinks(path.toStdString(), target);
      if (!ends || (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))) {
        intSoundMsgBox(SoundKind::Warning, LoadResString(10151) + "\r" + file->text().toStdString(),
                       dialog.windowTitle().toStdString());
        return;
      }
      file->setText(QString::fromStdString(target));
    }
    // The check is a slot Qt keeps to itself: a Qt without it is said, not
    // left as a Print button that does nothing.
    if (!QMetaObject::invokeMethod(&dialog, fieldCheck))
      intSoundMsgBox(SoundKind::Warning, LoadResString(10152), dialog.windowTitle().toStdString());
  });
}

void FrmPrintOut::subPrintingState() {
  lblMessage->show();
  for (QPushButton* b : {comPrintStart[0], comPrintStart[1], comTitleName, comPrinter, comExit}) b->setEnabled(false);
  // The medium chosen for this job is the one it uses to its end.
  chkOutText->setEnabled(false);
}

void FrmPrintOut::subReadyState() {
  for (QPushButton* b : {comPrintStart[0], comPrintStart[1], comTitleName, comPrinter, comExit}) b->setEnabled(true);
  chkOutText->setEnabled(true);
  lblMessage->hide();
}

void FrmPrintOut::subPrintChannel(const std::string& strPath) {
  if (printing::clsPrintReport* report = printing::reportFor(modPublic.strRadioFamily))
    modPublic.blnResult = report->blnPrintChannelData(strPath, chkOutText->isChecked() ? 1 : 0);
}

void FrmPrintOut::subPrintAll(const std::string& strPath) {
  if (printing::clsPrintReport* report = printing::reportFor(modPublic.strRadioFamily))
    modPublic.blnResult = report->blnPrintAllData(strPath, chkOutText->isChecked() ? 1 : 0);
}

std::string FrmPrintOut::strAskTextFile() {
  strFileTitle.clear();
  FileDialogRequest request;
  request.save = true;  // new names allowed; an existing file is replaced only after asking
  request.title = std::string(app::kTitle) + "-File Save";
  request.folder = readFolderSetting(keys::PrinterDirectory);
  request.filter = "Text(*.txt)|*.txt";
  const std::string path = chooseFile(this, request);
  if (path.empty()) return {};
  const size_t slash = path.find_last_of('/');
  strFileTitle = slash == std::string::npos ? path : path.substr(slash + 1);
  return path;
}

void FrmPrintOut::comPrintStart_Click(int index) {
  if (printing_) return;
  takeOpenTitle();
  printing_ = true;
  subPrintingState();
  tmrLight->setInterval(300);
  tmrLight->start();
  std::string path;
  strFileTitle.clear();
  const bool toText = chkOutText->isChecked();
  if (toText) {
    path = strAskTextFile();
    if (path.empty()) {
      tmrLight->stop();
      subReadyState();
      printing_ = false;
      return;
    }
  }
  if (index == 0) subPrintChannel(path);
  else subPrintAll(path);
  tmrLight->stop();
  if (toText) {
    // The folder is the chosen file's own folder, whatever its name holds.
    strFileFolder = path.substr(0, path.size() - strFileTitle.size());
    saveSetting(keys::PrinterDrive, strFileFolder.substr(0, 1));
    saveSetting(keys::PrinterDirectory, strFileFolder);
  }
  subReadyState();
  printing_ = false;
}

void FrmPrintOut::tmrLight_Timer() {
  const QString tag = tmrLight->property("Tag").toString();
  if (tag == "0") {
    tmrLight->setProperty("Tag", "1");
    lblMessage->hide();
  } else if (tag == "1") {
    tmrLight->setProperty("Tag", "0");
    lblMessage->show();
  }
}

void FrmPrintOut::comExit_Click() {
  if (!printing_) Unload();
}

void FrmPrintOut::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, "Print Out Menu"); }

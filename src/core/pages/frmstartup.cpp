#include "core/pages/frmstartup.h"

#include <QAction>
#include <QCloseEvent>
#include <QButtonGroup>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/program.h"
#include "core/controldata.h"
#include "core/filecontrol.h"
#include "core/modeltables.h"
#include "core/modpublic.h"
#include "core/pages/cmdline.h"
#include "core/pages/frmconfiguration.h"
#include "core/pages/pagekit.h"
#include "core/pages/placement.h"
#include "core/settingkeys.h"
#include "core/soundmsg.h"
#include "platform/base/appinfo.h"
#include "platform/base/msgservice.h"
#include "platform/base/portmap.h"
#include "platform/base/settings.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/helpviewer.h"
#include "platform/gui/waits.h"

#if __has_include("core/pages/frmsound.h")
#include "core/pages/frmsound.h"
#define VELMORA_HAVE_SOUND_PAGE 1
#endif

namespace {
int g_tickMs = 200;
constexpr const char* kGreen = "&H0000C000&";

QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

void FrmStartUp::setCalibrationTickMs(int ms) { g_tickMs = std::max(1, ms); }

FrmStartUp::FrmStartUp(QWidget* parent) : Page(parent) {
  setObjectName("frmStartUp");
  auto* root = new QVBoxLayout(this);
  menuBar = new QMenuBar(this);
  mnuHelp = menuBar->addAction(q(LoadResString(1405)));
  mnuHelp->setObjectName("mnuHelp");
  root->setMenuBar(menuBar);

  ShpFlame = new QWidget(this);
  auto* messages = new QVBoxLayout(ShpFlame);
  for (size_t i = 0; i < lblMessage.size(); ++i) {
    lblMessage[i] = new QLabel(ShpFlame);
    lblMessage[i]->setObjectName(QString("lblMessage%1").arg(i));
    lblMessage[i]->setAlignment(Qt::AlignCenter);
    messages->addWidget(lblMessage[i]);
  }
  {
    // The blinking prompt keeps its room while hidden: the other lines stay put.
    QSizePolicy keep = lblMessage[4]->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    lblMessage[4]->setSizePolicy(keep);
  }
  root->addWidget(ShpFlame);

  auto* row = new QHBoxLayout;
  fraSelectRadio = new QGroupBox(this);
  auto* radios = new QVBoxLayout(fraSelectRadio);
  group_ = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    optSelectRadio[static_cast<size_t>(i)] = new QRadioButton(fraSelectRadio);
    optSelectRadio[static_cast<size_t>(i)]->setObjectName(QString("optSelectRadio%1").arg(i));
    radios->addWidget(optSelectRadio[static_cast<size_t>(i)]);
    group_->addButton(optSelectRadio[static_cast<size_t>(i)], i);
    connect(optSelectRadio[static_cast<size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) optSelectRadio_Click(i);
    });
  }
  row->addWidget(fraSelectRadio, 3);

  fraAction = new QGroupBox(this);
  auto* actions = new QVBoxLayout(fraAction);
  for (int i = 0; i < 2; ++i) {
    auto* b = new QPushButton(fraAction);
    b->setObjectName(QString("CmdAction%1").arg(i));
    CmdAction[static_cast<size_t>(i)] = b;
    actions->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, i] { CmdAction_Click(i); });
  }
  CmdAction[0]->setToolTip("Go to Configuration menu");
  CmdAction[1]->setToolTip("End this application");
  CmdAction[0]->setEnabled(false);
  lblSound = new QPushButton(q(LoadResString(1407)), fraAction);
  lblSound->setObjectName("lblSound");
  lblSound->setFlat(true);
  lblSound->setCursor(Qt::PointingHandCursor);
  lblSound->setStyleSheet("text-align: left; padding: 0px;");
  connect(lblSound, &QPushButton::clicked, this, [this] { lblSound_Click(); });
  actions->addWidget(lblSound);
  row->addWidget(fraAction, 1);
  root->addLayout(row);
#ifndef VELMORA_HAVE_SOUND_PAGE
  lblSound->setEnabled(false);
#endif

  tmrBase.setInterval(g_tickMs);
  connect(&tmrBase, &QTimer::timeout, this, [this] { tmrBase_Timer(); });
  tmrLight.setInterval(500);
  tmrLight.setProperty("Tag", "0");
  connect(&tmrLight, &QTimer::timeout, this, [this] { tmrLight_Timer(); });
  connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });
  setMinimumSize(520, 300);
  noDefaultButtons(this);
}

void FrmStartUp::Form_Load() {
  ModPublic& m = modPublic;
  m.intMainMenuIndex = 99;
  m.intTopRow = 0;
  const CmdArgs& args = program::arguments();
  m.intCmdRadio = intGetCommandLine(args);
  settings::setFailureShownInBox(!cmdFileGiven(args));

  // Whoever gave "/F" waits for the write, not at this page, and may have no
  // screen at all: when the arguments alone rule the write out (a data file
  // goes only into the radio named with it, whole, as named), the run ends
  // here with a failure status and nothing is sent.
  if (cmdFileGiven(args)) {
    const CmdRefusal refusal = unattendedRefusal(args, m.intCmdRadio);
    if (refusal.messageId != 0) {
      MsgBoxNoSound(LoadResString(refusal.messageId) + "\r" + refusal.names, vb::vbExclamation,
                    std::string(app::kTitle) + " StartUp Form_Load");
      program::End(1);
      return;
    }
  }
  if (m.strCmdFileName.empty()) {
    adjustSize();
    placeFromSettings(*this, keys::StartUpTop, keys::StartUpLeft);
    placed_ = true;
    setCaption(std::string(app::kTitle) + "-" + "StartUp");
  }

  // The wave files ship in the program folder's "media" folder.
  m.strSoundPath = app::path() + "/media/";
  m.strSoundOnOff = readSetting(keys::SoundOnOff);
  m.intSoundOn = vb::CInt(vb::Val(m.strSoundOnOff));
  m.strSoundInquiry = readSetting(keys::Inquiry);
  m.strSoundAttention = readSetting(keys::Attention);
  m.strSoundInformation = readSetting(keys::Information);
  m.strSoundWarning = readSetting(keys::Worning);

  lblMessage[0]->setText(q(LoadResString(100)));
  lblMessage[1]->setText(q(LoadResString(101)));
  lblMessage[2]->setText(q(LoadResString(102) + app::versionText() + "  " + LoadResString(1)));
  lblMessage[3]->setText(q(LoadResString(103)));
  lblMessage[4]->setText(q(LoadResString(104)));
  lblMessage[5]->setText(q(LoadResString(105) + LoadResString(107) + "-" + LoadResString(1) + " " + LoadResString(106)));
  fraSelectRadio->setTitle(q(LoadResString(160)));
  fraAction->setTitle(q(LoadResString(161)));
  for (int i = 0; i < 2; ++i) CmdAction[static_cast<size_t>(i)]->setText(q(LoadResString(180 + i)));
  for (int i = 0; i < 3; ++i) optSelectRadio[static_cast<size_t>(i)]->setText(q(LoadResString(190 + i)));

  m.blnNoCmdRadio = m.intCmdRadio < 0;
  m.blnResult = blnGetControlData();
  if (!m.blnResult && m.strCmdFileName.empty()) {
    program::End(1);
    return;
  }

  if (m.intCmdRadio < 0) {
    for (size_t i = 0; i < 3; ++i) optSelectRadio[i]->setEnabled(maskEnabled(m.strStrMask[i], 0));
    // A remembered number that names no option falls back to the default one;
    // a family the control data does not offer gives way to the first one it
    // does, and with none offered nothing is chosen and Next stays off.
    int k = vb::CInt(vb::Val(readSetting(keys::RadioSelect)));
    if (k < 0 || k > 2) k = vb::CInt(vb::Val(keys::RadioSelect.def));
    if (!optSelectRadio[static_cast<size_t>(k)]->isEnabled()) {
      k = -1;
      for (int i = 0; i < 3 && k < 0; ++i)
        if (optSelectRadio[static_cast<size_t>(i)]->isEnabled()) k = i;
    }
    if (k >= 0) optSelectRadio[static_cast<size_t>(k)]->setChecked(true);
  } else {
    optSelectRadio[m.intCmdRadio == 11 ? 1 : static_cast<size_t>(m.intCmdRadio)]->setChecked(true);
  }

  if (m.intCmdRadio < 0) {
    subStartUpShow();
  } else if (m.strCmdFileName.empty()) {
    subDirectStart();
    if (program::ended()) return;
    subSpeedCheck();
    m.strLabelColor = kGreen;
    handOverToConfiguration();
  } else {
    commandLineMode();
  }
}

void FrmStartUp::commandLineMode() {
  ModPublic& m = modPublic;
  subDirectStart();
  if (program::ended()) return;
  const CmdDataFile d = splitCmdDataFile(m.strCmdFileName, m.intCmdRadio);
  m.strCmdFileName = d.fileName;
  const std::string title = std::string(app::kTitle) + " StartUp Form_Load";
  // Only a whole image of the radio is written: a file of any other length is
  // refused as the data-file page refuses it, so no byte the user did not
  // give is sent, and no other radio's.
  const auto fullPath = [&d](const std::string& file) {
    std::string full;
    objSimpleFunc().w_zMakeFullPath(d.folder, file, full);
    return full;
  };
  const auto notFound = [&fullPath](const std::string& file) {
    std::string text = LoadResString(1520);
    if (const size_t at = text.find("%1"); at != std::string::npos) text.replace(at, 2, fullPath(file));
    return text;
  };
  std::string file = d.fileToOpen;
  auto read = objFileControl().getDataFile(d.folder, file, m.bytRadioData, m.lngDataLast, title);
  std::string lookedFor = notFound(file);
  // A ZR320/330 name without an extension: the family's other radio's file
  // when there is no file of the radio named. One that is there but cannot
  // be read is the one named: its read error has been said, and the run ends.
  if (read == clsFileControl::DataFile::NotRead && objFileControl().lastFileSize() < 0 &&
      !d.otherFileToOpen.empty()) {
    file = d.otherFileToOpen;
    read = objFileControl().getDataFile(d.folder, file, m.bytRadioData, m.lngDataLast, title);
    lookedFor += "\r" + notFound(file);
  }
  // Not found only where no file was there: a file that could not be read was
  // named by its own message.
  if (read == clsFileControl::DataFile::NotRead && objFileControl().lastFileSize() < 0)
    MsgBoxNoSound(lookedFor, vb::vbExclamation + vb::vbOKOnly, title);
  if (read != clsFileControl::DataFile::Read) {
    program::End(1);
    return;
  }
  // The radio takes only an image of one of its own models: the rule the
  // channel menu applies before it computes a frequency.
  float ifMHz = 0;
  std::string model, band;
  if (!currentModel(ifMHz, model, band)) {
    MsgBoxNoSound(LoadResString(10102) + "\rModel:" + std::to_string(modelCode()) + "\rFile:" + fullPath(file),
                  vb::vbExclamation + vb::vbOKOnly, title);
    program::End(1);
    return;
  }
  // Unattended, the write goes only to the port the user named; the port
  // search is for the interactive start.
  if (m.intCmdCommPort < portmap::kFirstPort || m.intCmdCommPort > portmap::kLastPort) {
    const std::string given = cmdPortToken(program::arguments());
    MsgBoxNoSound(LoadResString(10092) + "\rPORT : " + (given.empty() ? LoadResString(10093) : given),
                  vb::vbExclamation + vb::vbOKOnly, title);
    program::End(1);
    return;
  }
  if (m.strRadioFamily == "0" || m.strRadioFamily == "2") m.blnRadioWritten = false;
  subSpeedCheck();
  handOverToConfiguration();
}

void FrmStartUp::handOverToConfiguration() {
  if (program::ended()) return;
  auto* next = new FrmConfiguration;
  next->Show();
  Unload();
  deleteLater();
}

void FrmStartUp::subStartUpShow() {
  show();
  tmrLight.start();
  subSpeedCheck();
  if (program::ended() || !isLoaded()) return;
  calibrated_ = true;
  const QAbstractButton* chosen = group_->checkedButton();
  CmdAction[0]->setEnabled(chosen && chosen->isEnabled());
}

void FrmStartUp::subSpeedCheck() {
  // Counts event-loop passes during five clock ticks. Each pass waits for
  // the next event instead of spinning, and the whole measurement is held
  // to about one second even when the clock does not tick.
  tmrBase.setInterval(g_tickMs);
  intTickCount = 0;
  tmrBase.start();
  double passes = 0;
  QElapsedTimer guard;
  guard.start();
  const qint64 limit = 5LL * g_tickMs + 500;
  while (intTickCount < 5 && guard.elapsed() < limit) {
    vbui::waitForEvents(g_tickMs);
    passes += 1;
  }
  tmrBase.stop();
  // Pauses of the link are real milliseconds; the factor stays for the
  // pages that read it, never 0 and never beyond 16 bits.
  modPublic.intWaitFactor = static_cast<int16_t>(std::clamp<int>(vb::CInt(passes / 1000.0), 1, 32767));
}

bool FrmStartUp::loadInitialImage(const char* title) {
  ModPublic& m = modPublic;
  m.dimImage();
  if (m.strRadioFamily == "0") m.strInitialFile = "InitialP1RA.dat";
  else if (m.strRadioFamily == "1") m.strInitialFile = "InitialP2RB.dat";
  else if (m.strRadioFamily == "2") m.strInitialFile = "InitialP3RC.dat";
  if (!objFileControl().blnGetBinaryData("", m.strInitialFile, m.bytRadioData, m.bytRadioBase, kImageLast)) {
    std::string full;
    objSimpleFunc().w_zMakeFullPath(app::path(), m.strInitialFile, full);
    MsgBoxNoSound(LoadResString(10015) + "\r" + "FileName:" + full + "\r" + LoadResString(10016), vb::vbCritical,
                  title);
    program::End(1);
    return false;
  }
  m.blnRadioWritten = false;
  m.blnRadioRead = false;
  return true;
}

void FrmStartUp::subDirectStart() {
  modPublic.strLabelColor = kGreen;
  if (!loadInitialImage("subDirectStart")) return;
  savePositionKeys();
}

void FrmStartUp::savePositionKeys() {
  // An unattended write never places the page: what it would store is no
  // place the user chose, and the next start would open in the corner.
  if (!placed_) return;
  savePosition(*this, keys::StartUpTop, keys::StartUpLeft);
}

void FrmStartUp::optSelectRadio_Click(int index) {
  ModPublic& m = modPublic;
  m.strRadioFamily = std::to_string(index);
  const FamilyTexts t = subSetRadioTable();
  if (t.matched) {
    lblMessage[1]->setText(q(LoadResString(t.titleId)));
    lblMessage[3]->setText(q(LoadResString(t.welcomeId)));
  }
  vbui::setBackColor(ShpFlame, vb::ColorValue(m.strLabelColor));
  if (calibrated_) CmdAction[0]->setEnabled(true);
}

void FrmStartUp::CmdAction_Click(int index) {
  ModPublic& m = modPublic;
  m.strLabelColor = kGreen;
  if (index == 0) {
    tmrLight.stop();
    if (!loadInitialImage("CmdAction_Click")) return;
    if (m.strCmdFileName.empty()) savePositionKeys();
    handOverToConfiguration();
  } else if (index == 1) {
    intSoundMsgBox(SoundKind::Inquiry, msgText(10003, 10004), "CmdAction_Click");
    if (m.intMsgBoxResult == vb::vbOK) {
      savePositionKeys();
      program::End(0);
    }
  }
}

void FrmStartUp::tmrBase_Timer() { ++intTickCount; }

void FrmStartUp::tmrLight_Timer() {
  const QString tag = tmrLight.property("Tag").toString();
  if (tag == "0") {
    tmrLight.setProperty("Tag", "1");
    lblMessage[4]->setVisible(false);
  } else if (tag == "1") {
    tmrLight.setProperty("Tag", "0");
    lblMessage[4]->setVisible(true);
  }
}

void FrmStartUp::lblSound_Click() {
#ifdef VELMORA_HAVE_SOUND_PAGE
  auto* page = new FrmSound;
  page->setAttribute(Qt::WA_DeleteOnClose, true);
  page->Show();
#endif
}

void FrmStartUp::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, "StartUp Menu", this); }

void FrmStartUp::Form_Unload(bool& cancel) {
  (void)cancel;
  tmrLight.stop();
  tmrBase.stop();
  savePositionKeys();
}

void FrmStartUp::closeEvent(QCloseEvent* e) {
  e->ignore();
  if (isLoaded() && !program::ended()) CmdAction_Click(1);
}

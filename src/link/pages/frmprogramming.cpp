#include "link/pages/frmprogramming.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "app/program.h"
#include "core/modeltables.h"
#include "core/modpublic.h"
#include "core/soundmsg.h"
#include "core/stamping.h"
#include "link/prewrite.h"
#include "link/qtlink.h"
#include "platform/base/appinfo.h"
#include "platform/base/endsignals.h"
#include "platform/base/msgservice.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/helpviewer.h"

using namespace radiolink;

namespace {
QString res(int id) { return QString::fromStdString(LoadResString(id)); }
}  // namespace

FrmProgramming::FrmProgramming(QWidget* parent) : Page(parent), ownLink(std::make_unique<QtLink>()) {
  link = std::make_unique<LinkEngine>(ownLink->port, ownLink->waiter);
  build();
}

FrmProgramming::FrmProgramming(SerialPort& port, LinkWaiter& waiter, QWidget* parent)
    : Page(parent), link(std::make_unique<LinkEngine>(port, waiter)) {
  build();
}

FrmProgramming::~FrmProgramming() {
  // The port never outlives the page.
  if (link) link->subCommClose();
}

void FrmProgramming::build() {
  auto* grid = new QGridLayout(this);
  auto* menu = new QMenuBar(this);
  QAction* help = menu->addAction(res(1406));
  connect(help, &QAction::triggered, this, [this] { mnuHelp_Click(); });
  grid->setMenuBar(menu);
  labTitle = new QLabel("Program Menu", this);
  labTitle->setAlignment(Qt::AlignCenter);
  grid->addWidget(labTitle, 0, 0, 1, 3);
  const char* designed[3] = {"Program Read", "Program Write", "Program Delete"};
  for (int i = 0; i < 3; ++i) {
    auto* b = new QPushButton(designed[i], this);
    b->setObjectName(QString("comReadWrite%1").arg(i));
    b->setMinimumWidth(220);
    grid->addWidget(b, 1 + i, 0, 1, 3);
    comReadWrite[static_cast<size_t>(i)] = b;
    connect(b, &QPushButton::clicked, this, [this, i] { comReadWrite_Click(i); });
  }
  comReadWrite[0]->setToolTip("Read all configuration data from the radio at click");
  comReadWrite[1]->setToolTip("Write all configuration data to the radio at click");
  comReadWrite[2]->setToolTip("Delete all configuration data on the radio at click");
  labRate[0] = new QLabel("0%", this);
  labRate[1] = new QLabel("100%", this);
  prbProcessRate = new QProgressBar(this);
  prbProcessRate->setRange(0, 100);
  prbProcessRate->setTextVisible(false);
  prbProcessRate->setAccessibleName(res(1501).isEmpty() ? "Progress" : res(1501));
  grid->addWidget(labRate[0], 4, 0);
  grid->addWidget(prbProcessRate, 4, 1);
  grid->addWidget(labRate[1], 4, 2);
  // The progress row keeps its room while hidden: showing it must not move
  // a button under the mouse (Exit's old place would become another button).
  for (QWidget* w : {static_cast<QWidget*>(prbProcessRate), static_cast<QWidget*>(labRate[0]),
                     static_cast<QWidget*>(labRate[1])}) {
    QSizePolicy keep = w->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    w->setSizePolicy(keep);
  }
  comExit = new QPushButton("Exit", this);
  comExit->setToolTip("Close this menu");
  grid->addWidget(comExit, 5, 0, 1, 3);
  connect(comExit, &QPushButton::clicked, this, [this] { comExit_Click(); });
  link->onProgress = [this](int percent) { prbProcessRate->setValue(std::clamp(percent, 0, 100)); };
  subIdleState();
}

void FrmProgramming::Form_Load() {
  ModPublic& m = modPublic;
  placeFromMainMenu(1800, 2500);
  LinkEngine& e = *link;
  e.strCommPort = std::to_string(m.intCommPort);
  e.strBaudRate = "4800";
  e.strParity = "n";
  e.strDataBits = "8";
  e.strStopBits = "1";
  e.intDataPause = 5;
  e.intDataPauseLong = 47;
  e.intP1RADataPause = 47;
  e.intFirstByteWait = 3000;
  e.intSendPause = 30;
  e.intNextByteWait = 30;
  e.intFrameByteWait = 500;
  e.intBytePace = 4;
  e.lngCommState = e.subCommOpen();
  if (e.lngCommState == kStateNotOpen) {
    const std::string cause = e.openCause();
    intSoundMsgBox(SoundKind::Warning,
                   LoadResString(10017) + "\rPORT : " + e.portText() + (cause.empty() ? "" : "\r" + cause),
                   "Form_Load");
  }
  setCaption(std::string(app::kTitle) + "-Programming");
  vbui::setBackColor(this, vb::ColorValue(m.strLabelColor));
  for (int i = 0; i < 3; ++i) comReadWrite[static_cast<size_t>(i)]->setText(res(1090 + i));
  comExit->setText(res(1093));
  if (m.family() == 0 || m.family() == 2) {
    comReadWrite[2]->setText(res(1094));
    comReadWrite[1]->setToolTip("Write the changed configuration data to the radio at click");
    comReadWrite[2]->setToolTip(res(1094) + " all configuration data to the radio at click");
  }
  labTitle->setText(res(1095));
  if (!m.strCmdFileName.empty()) commandLineWrite();
}

void FrmProgramming::commandLineWrite() {
  // Unattended: Program Write by code, only failures shown, then the end.
  // The run ends at its first failure: a port that did not open as the page
  // loaded (its cause has been said) sends nothing, even should the other
  // program let go of it before the write would open it again.
  const bool portOpened = lngCommState() != kStateNotOpen;
  lngCommState() = kStateOther;  // nothing done yet counts as a failure
  if (portOpened) comReadWrite_Click(1);
  const int status = lngCommState() == kStateOk ? 0 : 1;
  link->subCommClose();
  Unload();
  program::End(status);
}

void FrmProgramming::Form_Unload(bool& cancel) {
  if (busy()) {
    // Closing the window while a transfer runs is a stop request; the page
    // goes once the transfer has ended.
    link->requestStop();
    closeWhenIdle = true;
    cancel = true;
    return;
  }
  link->subCommClose();
}

void FrmProgramming::subBusyState() {
  comExit->setText(res(1096).isEmpty() ? "stop" : res(1096));
  // While a transfer runs the button stops it; it closes nothing.
  comExit->setToolTip(res(1500).isEmpty() ? "Stop the transfer at click" : res(1500));
  prbProcessRate->setValue(0);
  prbProcessRate->show();
  labRate[0]->show();
  labRate[1]->show();
  for (auto* b : comReadWrite) b->setEnabled(false);
  // Unattended, no one sees the page: should a signal (Ctrl-C, kill) end the
  // run from here on, it says on standard error what the stop button says of
  // a write cut short. The line is made now; the end has no time to make it.
  if (writes && !modPublic.strCmdFileName.empty())
    endsignals::sayOnEnd(std::string(app::kTitle) + ": " + res(10131).toLocal8Bit().toStdString() + "\n");
}

void FrmProgramming::subIdleState() {
  comExit->setText(res(1093).isEmpty() ? "Exit" : res(1093));
  comExit->setToolTip("Close this menu");
  prbProcessRate->setValue(0);
  prbProcessRate->hide();
  labRate[0]->hide();
  labRate[1]->hide();
  for (auto* b : comReadWrite) b->setEnabled(true);
}

void FrmProgramming::comExit_Click() {
  if (busy()) {
    link->requestStop();
    return;
  }
  link->lngCommState = link->subCommClose();
  Unload();
}

void FrmProgramming::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, "Program Menu", this); }

// Family "1": the write command of the image's radio type. False (with a
// failure state and its own message) when the type byte names neither radio.
bool FrmProgramming::familyOneType(uint8_t& command, bool write) const {
  const uint8_t type = modPublic.bytRadioData[1017];
  if (type == 2 || type == 1) {
    command = write ? (type == 2 ? 0xE6 : 0xE7) : 0x4C;
    return true;
  }
  link->lngCommState = kStateOther;
  intSoundMsgBox(SoundKind::Warning, LoadResString(10090), "comReadWrite_Click");
  return false;
}

void FrmProgramming::comReadWrite_Click(int index) {
  if (busy()) return;
  busyMark = "1";
  bool tail = false;
  // A stopped write leaves the radio partly written; a stopped read does not.
  const bool write = index == 1 || (index == 2 && modPublic.family() != 1);
  writes = write;
  switch (index) {
    case 0: tail = programRead(); break;
    case 1: tail = programWrite(false); break;
    case 2: tail = modPublic.family() == 1 ? programDelete() : programWrite(true); break;
    default: break;
  }
  writes = false;
  endsignals::sayOnEnd("");
  if (tail) modPublic.blnResult = link->blnCommStateAnalyze(write);
  subIdleState();
  busyMark = "0";
  if (closeWhenIdle) {
    closeWhenIdle = false;
    QTimer::singleShot(0, this, [this] { Unload(); });
  }
}

bool FrmProgramming::programRead() {
  ModPublic& m = modPublic;
  LinkEngine& e = *link;
  subBusyState();
  switch (m.family()) {
    case 0: {
      e.strBaudRate = "9600";
      e.lngCommState = e.subCommReopen();
      std::array<uint8_t, 16> header{};
      if (e.blnReadWithHeader(3, header, 0x6A) && e.lngCommState == kStateOk) {
        m.bytRadioBase = m.bytRadioData;
        m.blnRadioRead = true;
        subSetTopRowAfterLoad();
        for (size_t i = 0; i < 12; ++i) m.bytRadioInfo[i] = header[i + 4];
      }
      break;
    }
    case 1: {
      uint8_t command = 0;
      // The refusal is the only message: no exchange ran to report on.
      if (!familyOneType(command, false)) return false;
      m.blnResult = e.blnReadFrames(2, command);
      if (m.blnResult) subSetTopRowAfterLoad();
      break;
    }
    case 2:
      e.strBaudRate = "9600";
      e.lngCommState = e.subCommReopen();
      if (e.blnReadFrames(3, 0x5C) && e.lngCommState == kStateOk) {
        m.bytRadioBase = m.bytRadioData;
        m.blnRadioWritten = true;
        subSetTopRowAfterLoad();
        deriveFamily2IfFromImage();
      }
      break;
    default: break;
  }
  return true;
}

bool FrmProgramming::programWrite(bool compulsion) {
  ModPublic& m = modPublic;
  LinkEngine& e = *link;
  const int family = m.family();
  subPrepareImage();
  if (!blnChanCheck()) return false;
  if (!blnWriteCheck()) return false;
  auto& d = m.bytRadioData;
  // The kill status as the image held it, to put back if the write fails.
  const std::array<uint8_t, 3> before{d[64], d[65], d[849]};
  if (family == 1) {
    uint8_t command = 0;
    if (!familyOneType(command, true)) return false;
    subBusyState();
    d[849] &= 0x0F;
    m.blnResult = e.blnCommSFormat(2, command);
    if (!m.blnResult || e.lngCommState != kStateOk) restoreKillStatus(family, before);
    return true;
  }
  subBusyState();
  if (family == 0) {
    e.strBaudRate = "9600";
    e.lngCommState = e.subCommReopen();
    d[64] = 0;
    d[65] = 0;
    if (!compulsion) subClearBaseTail();
    int32_t count = 0, sum = 0;
    e.blnP1RACheckSum(count, sum);
    writeOutcome(family, e.blnCommP1RACompFormat(compulsion ? 1 : 0, count, sum, 0x69), before);
  } else if (family == 2) {
    e.strBaudRate = "9600";
    e.lngCommState = e.subCommReopen();
    const std::string stamp = identityText();
    for (size_t k = 0; k < 12; ++k) d[2016 + k] = static_cast<uint8_t>(stamp[k]);
    d[849] &= 0x0F;
    bool ok;
    if (compulsion) {
      LinkEngine::subStoreWriteSum();
      ok = e.blnCommSFormat(3, 0x5A);
    } else {
      ok = e.blnCommCompFormat(3, 0x5A);
    }
    writeOutcome(family, ok, before);
  }
  return true;
}

bool FrmProgramming::programDelete() {
  uint8_t command = 0;
  if (!familyOneType(command, false)) return false;
  // The delete erases the whole radio at one click: asked first, with No as
  // the answer Enter gives; No sends nothing.
  intSoundMsgBoxStyled(SoundKind::Inquiry, vb::vbYesNo | vb::vbQuestion | vb::vbDefaultButton2, msgText(10130, 10004),
                       "comReadWrite_Click");
  if (modPublic.intMsgBoxResult != vb::vbYes) return false;
  subBusyState();
  modPublic.blnResult = link->blnCommDelete(0x4D);
  return true;
}

void FrmProgramming::restoreKillStatus(int family, const std::array<uint8_t, 3>& before) {
  auto& d = modPublic.bytRadioData;
  if (family == 0) {
    d[64] = before[0];
    d[65] = before[1];
  } else {
    d[849] = static_cast<uint8_t>((d[849] & 0x0F) | (before[2] & 0xF0));
  }
}

void FrmProgramming::writeOutcome(int family, bool ok, const std::array<uint8_t, 3>& before) {
  ModPublic& m = modPublic;
  bool& flag = family == 0 ? m.blnRadioRead : m.blnRadioWritten;
  const int32_t state = link->lngCommState;
  if (!ok) {
    restoreKillStatus(family, before);
  } else if (state == kStateOk) {
    m.bytRadioBase = m.bytRadioData;
    flag = true;
  } else if (state != kStateCommandTimeout) {
    flag = false;
  }
  // A write that returned True with an error still failed: the radio keeps
  // the kill status it had, and so does the image.
  if (ok && state != kStateOk) restoreKillStatus(family, before);
}

#include "core/pages/frmconfiguration.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstring>

#include "app/program.h"
#include "core/modeltables.h"
#include "core/modpublic.h"
#include "core/pages/frmclearselect.h"
#include "core/pages/frmmainmenu.h"
#include "core/pages/frmstartup.h"
#include "core/pages/pagekit.h"
#include "core/pages/placement.h"
#include "core/settingkeys.h"
#include "core/soundmsg.h"
#include "platform/base/appinfo.h"
#include "platform/base/msgservice.h"
#include "platform/base/portmap.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/helpviewer.h"

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

FrmConfiguration::PortProbe& portProbe() {
  static FrmConfiguration::PortProbe p;
  return p;
}

// Family "0" rows without a variant (placeholders in the table).
bool isPlaceholderRow0(int index) {
  switch (index) {
    case 1: case 2: case 5: case 7: case 8: case 9: case 11: case 13: case 14: case 16: return true;
    default: return false;
  }
}

bool allDigits(const QString& s) {
  for (QChar c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

const char* kTimesTip = "0: Free Entry,  1-255: Entry Times,  Over Entry: Kill Mode";
const char* kDigits = "0123456789";
const char* kSerialChars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
}  // namespace

void FrmConfiguration::setPortProbe(PortProbe probe) { portProbe() = std::move(probe); }

FrmConfiguration::FrmConfiguration(QWidget* parent)
    : Page(parent), kit_(this, [this] { return InputDataCheck(); }, [this] { subSetConfigControls(); }) {
  setObjectName("frmConfiguration");
  auto* root = new QVBoxLayout(this);
  menuBar = new QMenuBar(this);
  mnuHelp = menuBar->addAction(q(LoadResString(1405)));
  root->setMenuBar(menuBar);

  fraConfmenu = new QGroupBox(this);
  auto* grid = new QGridLayout(fraConfmenu);
  auto label = [&](int i, int row) {
    lblConfmenu[static_cast<size_t>(i)] = new QLabel(fraConfmenu);
    lblConfmenu[static_cast<size_t>(i)]->setObjectName(QString("lblConfmenu%1").arg(i));
    grid->addWidget(lblConfmenu[static_cast<size_t>(i)], row, 0);
  };
  label(0, 0);
  cboRadioModel = new QComboBox(fraConfmenu);
  grid->addWidget(cboRadioModel, 0, 1, 1, 2);
  FraZRSelect = new QGroupBox(fraConfmenu);
  auto* zr = new QHBoxLayout(FraZRSelect);
  for (int i = 1; i <= 2; ++i) {
    OptZRSelect[static_cast<size_t>(i)] = new QRadioButton(FraZRSelect);
    zr->addWidget(OptZRSelect[static_cast<size_t>(i)]);
    connect(OptZRSelect[static_cast<size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) OptZRSelect_Click(i);
    });
  }
  grid->addWidget(FraZRSelect, 1, 1, 1, 2);

  auto box = [&](QLineEdit*& e, int maxLen, const char* name) {
    e = new QLineEdit(fraConfmenu);
    e->setObjectName(name);
    e->setMaxLength(maxLen);
    kit::fitWidth(e, std::string(name) == "txtSerialNo" ? kSerialChars : kDigits);
  };
  label(1, 2);
  box(txtPIN, 6, "txtPIN");
  box(txtPINTime, 3, "txtPINTime");
  grid->addWidget(txtPIN, 2, 1);
  grid->addWidget(txtPINTime, 2, 2);
  label(2, 3);
  box(txtKillPass, 4, "txtKillPass");
  box(txtKillPassTime, 3, "txtKillPassTime");
  grid->addWidget(txtKillPass, 3, 1);
  grid->addWidget(txtKillPassTime, 3, 2);
  label(3, 4);
  box(txtSerialNo, 8, "txtSerialNo");
  grid->addWidget(txtSerialNo, 4, 1, 1, 2);
  txtPIN->setToolTip("Input ID(Password) No. with 2 digits or more");
  txtKillPass->setToolTip("Input Kill Data Enable Password with 4 Digits");
  txtPINTime->setToolTip(kTimesTip);
  txtKillPassTime->setToolTip(kTimesTip);

  label(4, 5);
  cboRsPort = new QComboBox(fraConfmenu);
  grid->addWidget(cboRsPort, 5, 1);
  lblPortDevice = new QLabel(fraConfmenu);
  lblPortDevice->setObjectName("lblPortDevice");
  grid->addWidget(lblPortDevice, 5, 2);
  lblNoPort = new QLabel(fraConfmenu);
  lblNoPort->setObjectName("lblNoPort");
  lblNoPort->setWordWrap(true);
  lblNoPort->hide();
  grid->addWidget(lblNoPort, 6, 0, 1, 3);

  auto yesNo = [&](QListWidget*& list, int index, int row) {
    list = new QListWidget(fraConfmenu);
    list->addItems({"NON", "USE"});
    list->setMaximumHeight(44);
    // The option in force stays marked when the focus is elsewhere.
    QPalette marked = list->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
      marked.setColor(QPalette::Inactive, role, marked.color(QPalette::Active, role));
    list->setPalette(marked);
    grid->addWidget(list, row, 1);
    auto* arrows = new QVBoxLayout;
    for (int d = 0; d < 2; ++d) {
      auto* b = new QToolButton(fraConfmenu);
      b->setArrowType(d == 0 ? Qt::UpArrow : Qt::DownArrow);
      updChangeSelect[static_cast<size_t>(index)][static_cast<size_t>(d)] = b;
      arrows->addWidget(b);
      connect(b, &QToolButton::clicked, this, [this, index, d] {
        if (d == 0) updChangeSelect_Previous(index);
        else updChangeSelect_Next(index);
      });
    }
    grid->addLayout(arrows, row, 2, Qt::AlignLeft);
  };
  label(5, 7);
  yesNo(LstChannelName, 0, 7);
  label(6, 8);
  yesNo(LstDigitalScrambler, 1, 8);
  label(7, 9);
  cboTXRef = new QComboBox(fraConfmenu);
  cboTXRef->addItems({"10MHz", "12MHz"});
  grid->addWidget(cboTXRef, 9, 1);
  lblConfmenu[9] = new QLabel("UHF IF", fraConfmenu);
  grid->addWidget(lblConfmenu[9], 10, 0);
  cboFUHFIF = new QComboBox(fraConfmenu);
  cboFUHFIF->addItems({"-48.50MHz", "-73.35MHz"});
  grid->addWidget(cboFUHFIF, 10, 1);
  root->addWidget(fraConfmenu);

  fraAction = new QGroupBox(this);
  auto* actions = new QHBoxLayout(fraAction);
  const char* tips[4] = {"Go to Main menu", "End this application", "Clear Radio configuration data", "Go to Startup"};
  for (int i = 0; i < 4; ++i) {
    auto* b = new QPushButton(fraAction);
    b->setObjectName(QString("CmdAction%1").arg(i));
    b->setToolTip(tips[i]);
    CmdAction[static_cast<size_t>(i)] = b;
    actions->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, i] { CmdAction_Click(i); });
  }
  root->addWidget(fraAction);
  lblCompanyMsg = new QLabel(this);
  lblRadioModelMsg = new QLabel(this);
  root->addWidget(lblCompanyMsg);
  root->addWidget(lblRadioModelMsg);

  connect(cboRadioModel, &QComboBox::currentIndexChanged, this, [this] { cboRadioModel_Change(); });
  connect(cboTXRef, &QComboBox::currentIndexChanged, this, [this] { cboTXRef_Change(); });
  connect(cboFUHFIF, &QComboBox::currentIndexChanged, this, [this] { cboFUHFIF_Change(); });
  connect(cboRsPort, &QComboBox::currentIndexChanged, this, [this] { cboRsPort_Change(); });
  connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });
  bindEvents();
  noDefaultButtons(this);

  // Which characters of the family's mask row enable which rows; the arrows
  // follow their list.
  mask_.add(1, {lblConfmenu[0]}, {cboRadioModel});
  mask_.add(2, {lblConfmenu[1]}, {txtPIN, txtPINTime});
  mask_.add(3, {lblConfmenu[2]}, {txtKillPass, txtKillPassTime});
  mask_.add(4, {lblConfmenu[3]}, {txtSerialNo});
  mask_.add(5, {lblConfmenu[4]}, {cboRsPort});
  mask_.add(6, {lblConfmenu[5], updChangeSelect[0][0], updChangeSelect[0][1]}, {LstChannelName});
  mask_.add(7, {lblConfmenu[6], updChangeSelect[1][0], updChangeSelect[1][1]}, {LstDigitalScrambler});
  mask_.add(8, {lblConfmenu[7]}, {cboTXRef});
  mask_.add(10, {lblConfmenu[9]}, {cboFUHFIF});
}

void FrmConfiguration::bindEvents() {
  kit::Events& ev = *kit_.events;
  const std::pair<QLineEdit*, void (FrmConfiguration::*)()> boxes[] = {
      {txtPIN, &FrmConfiguration::txtPIN_LostFocus},
      {txtPINTime, &FrmConfiguration::txtPINTime_LostFocus},
      {txtKillPass, &FrmConfiguration::txtKillPass_LostFocus},
      {txtKillPassTime, &FrmConfiguration::txtKillPassTime_LostFocus},
      {txtSerialNo, &FrmConfiguration::txtSerialNo_LostFocus}};
  for (const auto& [box, leave] : boxes) {
    ev.keyDown(box, [this, box](QKeyEvent* e) { return typingRefused(box, e); });
    ev.lostFocus(box, [this, leave] { (this->*leave)(); });
  }
  ev.keyUp(txtPIN, [this](QKeyEvent*) { txtPIN_KeyUp(); });
  ev.keyUp(txtKillPass, [this](QKeyEvent*) { txtKillPass_KeyUp(); });
  // A code put in from outside opens or closes its times as typing it would.
  kit_.entryRule(txtPIN, [this] {
    txtPIN_KeyUp();
    return true;
  });
  kit_.entryRule(txtKillPass, [this] {
    txtKillPass_KeyUp();
    return true;
  });
  ev.gotFocus(LstChannelName, [this] { LstChannelName_GotFocus(); });
  ev.lostFocus(LstChannelName, [this] { LstChannelName_LostFocus(); });
  ev.gotFocus(LstDigitalScrambler, [this] { LstDigitalScrambler_GotFocus(); });
  ev.lostFocus(LstDigitalScrambler, [this] { LstDigitalScrambler_LostFocus(); });
}

bool FrmConfiguration::typingRefused(QLineEdit* box, QKeyEvent* e) {
  const bool serial = box == txtSerialNo;
  if (kit::refusedCharacter(e, serial ? kSerialChars : kDigits)) return true;
  // The mobile keeps its serial number in capitals: a small letter goes in as
  // its capital.
  const int ascii = vbui::keyAscii(e);
  if (serial && modPublic.family() == 1 && ascii >= 'a' && ascii <= 'z') {
    box->insert(QString(QChar(ascii - 'a' + 'A')));
    return true;
  }
  return false;
}

void FrmConfiguration::nameControls() {
  // Every control answers to the caption beside it; the second box of a
  // "code / times" pair and the arrows say which part they are.
  const std::pair<int, QWidget*> pairs[] = {{0, cboRadioModel}, {1, txtPIN},         {2, txtKillPass},
                                            {3, txtSerialNo},   {4, cboRsPort},      {5, LstChannelName},
                                            {6, LstDigitalScrambler}, {7, cboTXRef}, {9, cboFUHFIF}};
  for (const auto& [i, w] : pairs) {
    lblConfmenu[static_cast<size_t>(i)]->setBuddy(w);
    w->setAccessibleName(lblConfmenu[static_cast<size_t>(i)]->text());
  }
  auto code = [](QString caption) { return caption.section('/', 0, 0).trimmed(); };
  auto times = [](QString caption) { return caption.replace('/', ' ').simplified(); };
  txtPIN->setAccessibleName(code(lblConfmenu[1]->text()));
  txtPINTime->setAccessibleName(times(lblConfmenu[1]->text()));
  txtKillPass->setAccessibleName(code(lblConfmenu[2]->text()));
  txtKillPassTime->setAccessibleName(times(lblConfmenu[2]->text()));
  for (int k = 0; k < 2; ++k) {
    const QString caption = lblConfmenu[static_cast<size_t>(5 + k)]->text();
    updChangeSelect[static_cast<size_t>(k)][0]->setAccessibleName(caption + QString::fromUtf8(" \u25B2"));
    updChangeSelect[static_cast<size_t>(k)][1]->setAccessibleName(caption + QString::fromUtf8(" \u25BC"));
  }
}

ConfigEnables FrmConfiguration::enables() const {
  ConfigEnables e;
  e.model = cboRadioModel->isEnabled();
  e.pin = txtPIN->isEnabled();
  e.pinTime = txtPINTime->isEnabled();
  e.killPass = txtKillPass->isEnabled();
  e.killPassTime = txtKillPassTime->isEnabled();
  e.serial = txtSerialNo->isEnabled();
  e.channelName = LstChannelName->isEnabled();
  e.scrambler = LstDigitalScrambler->isEnabled();
  return e;
}

void FrmConfiguration::Form_Load() {
  ModPublic& m = modPublic;
  const int family = m.family();
  setCaption(std::string(app::kTitle) + "-" + "Configuration");
  const uint32_t colour = vb::ColorValue(m.strLabelColor);
  for (QWidget* w : std::initializer_list<QWidget*>{this, fraConfmenu, fraAction, FraZRSelect, OptZRSelect[1],
                                                    OptZRSelect[2]})
    vbui::setBackColor(w, colour);
  plainButtonColours(this);

  OptZRSelect[1]->setText(q(LoadResString(251)));
  OptZRSelect[2]->setText(q(LoadResString(252)));
  for (int i = 0; i <= 7; ++i) lblConfmenu[static_cast<size_t>(i)]->setText(q(LoadResString(200 + i)));
  nameControls();

  cboRadioModel->clear();
  enableFromMask();

  if (family == 0) {
    OptZRSelect[1]->setEnabled(false);
    OptZRSelect[2]->setEnabled(false);
    const kit::Busy::Hold filling(kit_.busy);
    for (const auto& r : m.udtModelTable0) cboRadioModel->addItem(q(r.strModelName + "  " + r.strBandName));
    cboRadioModel->setCurrentIndex(-1);
  } else if (family == 1) {
    OptZRSelect[1]->setChecked(true);
  } else if (family == 2) {
    OptZRSelect[1]->setEnabled(false);
    OptZRSelect[2]->setEnabled(false);
    const kit::Busy::Hold filling(kit_.busy);
    for (size_t i = 0; i < m.udtModelTable2.size(); ++i)
      if (i != 4) cboRadioModel->addItem(q(m.udtModelTable2[i].strModelName + "  " + m.udtModelTable2[i].strBandName));
    cboRadioModel->setCurrentIndex(-1);
  }

  for (int i = 0; i < 4; ++i) CmdAction[static_cast<size_t>(i)]->setText(q(LoadResString(280 + i)));
  fillPortList();
  lblCompanyMsg->setText(q(LoadResString(100)));
  lblRadioModelMsg->setText(q(LoadResString(290 + std::max(family, 0)) + LoadResString(102) + app::versionText()));

  if (!m.strCmdFileName.empty()) {
    subGetConfigData();
    subSetConfigControls();
    asLoaded_ = values;
    goToMainMenu();
    return;
  }
  subRestoreConfigPosition();
  asLoaded_ = values;
  if (m.intCmdRadio == 1) OptZRSelect[2]->setChecked(true);
  else if (m.intCmdRadio == 11) OptZRSelect[1]->setChecked(true);
  CmdAction[3]->setEnabled(m.blnNoCmdRadio);
  m.intCmdRadio = -1;
}

void FrmConfiguration::enableFromMask() {
  const int family = modPublic.family();
  std::string mask = family >= 0 ? modPublic.strCfgMask[static_cast<size_t>(family)] : std::string();
  // An item whose bytes hold another field in this family stays off, whatever
  // the mask offers.
  for (size_t i = 0; i < mask.size(); ++i)
    if (configItemHeldOff(family, static_cast<int>(i) + 1)) mask[i] = '0';
  mask_.apply(mask);
}

int FrmConfiguration::subProbeCommPort(int port) {
  const bool there = portProbe() ? portProbe()(port) : portmap::present(port);
  return there ? 0 : 10;
}

void FrmConfiguration::fillPortList() {
  ModPublic& m = modPublic;
  const kit::Busy::Hold filling(kit_.busy);
  cboRsPort->clear();
  if (m.intCmdCommPort != -1) {
    for (int n = portmap::kFirstPort; n <= portmap::kLastPort; ++n) {
      cboRsPort->addItem(QString("COM %1").arg(n), n);
      const std::string path = portmap::devicePath(n);
      cboRsPort->setItemData(n - 1, q(path.empty() ? LoadResString(10115) : path), Qt::ToolTipRole);
    }
    strCommPortText = std::to_string(m.intCmdCommPort);
    m.intCommPort = m.intCmdCommPort;
  } else {
    bool earlierFound = false;
    for (int n = portmap::kFirstPort; n <= portmap::kLastPort; ++n) {
      if (subProbeCommPort(n) != 0) continue;
      cboRsPort->addItem(QString("COM  %1").arg(n), n);
      cboRsPort->setItemData(cboRsPort->count() - 1, q(portmap::devicePath(n)), Qt::ToolTipRole);
      if (n == m.intCommPort) earlierFound = true;
    }
    if (cboRsPort->count() > 0) {
      // The user's earlier choice stays while its port is still there.
      if (!earlierFound) m.intCommPort = static_cast<int16_t>(cboRsPort->itemData(0).toInt());
      strCommPortText = std::to_string(m.intCommPort);
    }
  }
  // An empty list says why, and how to map a device: the port map file this
  // run reads (the home folder written as "~" to keep the line short) and the
  // environment variable. An installed program has no README beside it.
  // Settings of the port map that cannot be read are named with their file
  // and line.
  // A number the user pointed at a device that is not there (not plugged in,
  // the simulated radio not started) is named with its device instead.
  QString note;
  if (cboRsPort->count() == 0) {
    for (int n = portmap::kFirstPort; n <= portmap::kLastPort; ++n) {
      const QString path = q(portmap::openedPath(portmap::devicePath(n)));
      if (portmap::userMapped(n) && !QFileInfo::exists(path))
        note += (note.isEmpty() ? "" : "\n") + q(LoadResString(1410)).arg(QString::number(n), path);
    }
  }
  if (cboRsPort->count() == 0 && note.isEmpty()) {
    QString mapFile = q(portmap::configFile());
    const QString home = QDir::homePath();
    if (home != "/" && mapFile.startsWith(home + "/")) mapFile = "~" + mapFile.mid(home.size());
    note = q(LoadResString(1408)).arg(mapFile);
  }
  if (const std::string map = portmap::problemsText(); !map.empty())
    note += (note.isEmpty() ? "" : "\n") + q(map).replace('\r', '\n');
  lblNoPort->setText(note);
  lblNoPort->setVisible(!note.isEmpty());
  lblPortDevice->setVisible(cboRsPort->count() > 0);
  showPortDevice();
}

void FrmConfiguration::showPortDevice() {
  if (cboRsPort->count() == 0) {  // no number to name: the note says why
    cboRsPort->setToolTip(lblNoPort->text());
    return;
  }
  const int port = static_cast<int>(vb::Val(strCommPortText));
  std::string path = portmap::devicePath(port);
  if (path.empty()) path = LoadResString(10115);  // a number the port map leaves without a device
  lblPortDevice->setText(q(path));
  cboRsPort->setToolTip(q(path));
}

void FrmConfiguration::subRestoreConfigPosition() {
  adjustSize();
  placeFromSettings(*this, keys::ConfigTop, keys::ConfigLeft, true);
  subGetConfigData();
  subSetConfigControls();
}

void FrmConfiguration::subGetConfigData() { values = ::subGetConfigData(enables()); }

bool FrmConfiguration::subPutConfigData() {
  const ConfigEnables e = enables();
  // The mobile's channel-name option rearranges its channel areas; what that
  // would drop is named first, and nothing is written without an OK.
  if (e.channelName) {
    const bool namesOn = values.strChannelNameOpt == "1";
    if (channelNameSwitchDropsData(namesOn)) {
      intSoundMsgBox(SoundKind::Inquiry, msgText(namesOn ? 10094 : 10095, 10004), "CmdAction_Click");
      if (modPublic.intMsgBoxResult != vb::vbOK) return false;
    }
  }
  ::subPutConfigData(values, e, asLoaded_);
  return true;
}

void FrmConfiguration::subSetConfigControls() {
  const kit::Busy::Hold showing(kit_.busy);
  const int family = modPublic.family();
  if (values.strRadioType == "1" || values.strRadioType == "2")
    OptZRSelect[values.strRadioType == "1" ? 1 : 2]->setChecked(true);
  int model = static_cast<int>(vb::Val(values.strModelIndex));
  if (family == 2 && model >= 4) model -= 1;
  cboRadioModel->setCurrentIndex(model < cboRadioModel->count() ? model : -1);
  txtPIN->setText(q(values.strPIN));
  txtKillPass->setText(q(values.strKillPass));
  txtSerialNo->setText(q(values.strSerialNo));
  const int port = static_cast<int>(vb::Val(strCommPortText));
  cboRsPort->setCurrentIndex(strCommPortText.empty() ? -1 : cboRsPort->findData(port));
  cboTXRef->setCurrentIndex(static_cast<int>(vb::Val(values.strTXRef)));
  cboFUHFIF->setCurrentIndex(static_cast<int>(vb::Val(values.strUHFIF)));
  followCode(txtPIN, txtPINTime, values.strPINTime);
  followCode(txtKillPass, txtKillPassTime, values.strKillPassTime);
  // Times shown as a number: an empty value shows as 0.
  if (!txtPIN->text().isEmpty()) txtPINTime->setText(q(vb::Format(vb::Val(values.strPINTime), "##0")));
  if (!txtKillPass->text().isEmpty()) txtKillPassTime->setText(q(vb::Format(vb::Val(values.strKillPassTime), "##0")));
  showOptionRows();
}

void FrmConfiguration::showOptionRows() {
  // Each yes/no list shows its option's row, with or without the focus, so
  // the page always tells which entry is in force.
  // A list the family does not offer marks nothing: it holds no option.
  LstChannelName->setCurrentRow(LstChannelName->isEnabled() ? static_cast<int>(vb::Val(values.strChannelNameOpt)) : -1);
  LstDigitalScrambler->setCurrentRow(
      LstDigitalScrambler->isEnabled() ? static_cast<int>(vb::Val(values.strScramblerOpt)) : -1);
}

bool FrmConfiguration::InputDataCheck() {
  auto fail = [](const std::string& text) {
    intSoundMsgBox(SoundKind::Information, text, "InputDataCheck");
    return false;
  };
  const std::string range = msgText(10032, 10033);
  auto codeBox = [&](QLineEdit* box, int minLen, int lengthMsg) {
    const QString t = box->text();
    if (t.isEmpty()) return true;
    if (t.size() < minLen) return fail(LoadResString(lengthMsg));
    if (!allDigits(t)) return fail(range);
    return true;
  };
  auto timeBox = [&](QLineEdit* box) {
    const QString t = box->text();
    if (t.isEmpty()) return true;
    if (!allDigits(t)) return fail(range);
    if (t.toLongLong() > 255) return fail(LoadResString(10032));
    return true;
  };
  return codeBox(txtPIN, 2, 10074) && timeBox(txtPINTime) && codeBox(txtKillPass, 4, 10075) &&
         timeBox(txtKillPassTime);
}

void FrmConfiguration::OptZRSelect_Click(int index) {
  if (modPublic.family() != 1) return;
  if (!kit_.checked()) return;
  {
    const kit::Busy::Hold filling(kit_.busy);
    cboRadioModel->clear();
    const bool zr330 = OptZRSelect[1]->isChecked();
    saveSetting(keys::ZRSelect, zr330 ? "1" : "2");
    for (const auto& r : modPublic.udtModelTable1)
      cboRadioModel->addItem(q((zr330 ? r.strModelName2 : r.strModelName) + "  " + r.strBandName));
    cboRadioModel->setCurrentIndex(-1);
  }
  values.strRadioType = std::to_string(index);
  cboRadioModel->setCurrentIndex(static_cast<int>(vb::Val(values.strModelIndex)));
  subSetConfigControls();
}

void FrmConfiguration::cboRadioModel_Change() {
  if (kit_.busy.on()) return;  // the page filling its list
  int index = cboRadioModel->currentIndex();
  if (index < 0) return;  // nothing chosen: the stored code stays
  if (!kit_.checked()) return;
  const int family = modPublic.family();
  if (family == 0 && isPlaceholderRow0(index)) {
    subSetConfigControls();
    return;
  }
  if (family == 2 && index >= 4) index += 1;
  values.strModelIndex = std::to_string(index);
}

void FrmConfiguration::cboTXRef_Change() { kit_.comboChanged(cboTXRef, values.strTXRef); }

void FrmConfiguration::cboFUHFIF_Change() {
  if (modPublic.family() != 2) return;
  if (kit_.comboChanged(cboFUHFIF, values.strUHFIF)) setFamily2UhfIf(values.strUHFIF != "0");
}

void FrmConfiguration::updChangeSelect_Previous(int index) { updChangeSelect_Step(index, 0); }
void FrmConfiguration::updChangeSelect_Next(int index) { updChangeSelect_Step(index, 1); }

void FrmConfiguration::updChangeSelect_Step(int index, int direction) {
  // Only the page value changes: the mobile's channel areas are rearranged
  // when the values are written, from the image as the page found it.
  if (index == 0) kit_.listStep(LstChannelName, values.strChannelNameOpt, direction);
  else if (index == 1) kit_.listStep(LstDigitalScrambler, values.strScramblerOpt, direction);
}

void FrmConfiguration::LstChannelName_GotFocus() { kit_.listGotFocus(LstChannelName, values.strChannelNameOpt); }

void FrmConfiguration::LstChannelName_LostFocus() {
  kit_.listTake(LstChannelName, values.strChannelNameOpt);
  showOptionRows();
}

void FrmConfiguration::LstDigitalScrambler_GotFocus() {
  kit_.listGotFocus(LstDigitalScrambler, values.strScramblerOpt);
}

void FrmConfiguration::LstDigitalScrambler_LostFocus() {
  kit_.listTake(LstDigitalScrambler, values.strScramblerOpt);
  showOptionRows();
}

void FrmConfiguration::cboRsPort_Change() {
  if (kit_.busy.on() || cboRsPort->currentIndex() < 0) return;
  if (!kit_.checked()) return;
  const int port = cboRsPort->currentData().toInt();
  strCommPortText = std::to_string(port);
  modPublic.intCommPort = static_cast<int16_t>(port);
  showPortDevice();
}

void FrmConfiguration::followCode(QLineEdit* code, QLineEdit* times, std::string& value) {
  // The times belong to their code: without a code there are none to enter.
  const kit::Busy::Hold showing(kit_.busy);
  if (!code->text().isEmpty()) {
    vbui::setEnabledPainted(times, true);
  } else {
    value.clear();
    times->clear();
    vbui::setEnabledPainted(times, false);
  }
}

void FrmConfiguration::txtPIN_KeyUp() { followCode(txtPIN, txtPINTime, values.strPINTime); }
void FrmConfiguration::txtKillPass_KeyUp() { followCode(txtKillPass, txtKillPassTime, values.strKillPassTime); }

void FrmConfiguration::leaveBox(QLineEdit* box, std::string& value, bool isTime) {
  if (kit_.leaveField(box, value) && isTime && box->isEnabled()) box->setText(q(vb::Format(vb::Val(value), "##0")));
}

void FrmConfiguration::txtPIN_LostFocus() { leaveBox(txtPIN, values.strPIN, false); }
void FrmConfiguration::txtPINTime_LostFocus() { leaveBox(txtPINTime, values.strPINTime, true); }
void FrmConfiguration::txtKillPass_LostFocus() { leaveBox(txtKillPass, values.strKillPass, false); }
void FrmConfiguration::txtKillPassTime_LostFocus() { leaveBox(txtKillPassTime, values.strKillPassTime, true); }
void FrmConfiguration::txtSerialNo_LostFocus() {
  // Pasted, dropped or composed text never met the key filter: its rules
  // apply here. A character the image itself held is kept, so editing a
  // serial the radio gave does not lose its own characters.
  if (txtSerialNo->text().toStdString() != values.strSerialNo) {
    const QString loaded = q(asLoaded_.strSerialNo);
    const bool upper = modPublic.family() == 1;
    QString kept;
    for (QChar c : txtSerialNo->text()) {
      const bool allowed = c.unicode() < 128 && std::strchr(kSerialChars, c.toLatin1()) != nullptr;
      if (allowed) kept += upper ? c.toUpper() : c;
      else if (loaded.contains(c)) kept += c;
    }
    if (kept != txtSerialNo->text()) txtSerialNo->setText(kept);
  }
  leaveBox(txtSerialNo, values.strSerialNo, false);
}

void FrmConfiguration::savePositionKeys() {
  if (modPublic.strCmdFileName.empty()) savePosition(*this, keys::ConfigTop, keys::ConfigLeft);
}

void FrmConfiguration::goToMainMenu() {
  auto* menu = new FrmMainMenu;
  menu->Show();
  if (program::ended()) return;
  Unload();
  deleteLater();
}

void FrmConfiguration::goToStartUp() {
  auto* start = new FrmStartUp;
  start->Start();
  if (program::ended()) return;
  Unload();
  deleteLater();
}

void FrmConfiguration::CmdAction_Click(int index) {
  switch (index) {
    case 0:
      if (!subPutConfigData()) break;
      savePositionKeys();
      goToMainMenu();
      break;
    case 1:
      intSoundMsgBox(SoundKind::Inquiry, msgText(10003, 10004), "CmdAction_Click");
      if (modPublic.intMsgBoxResult == vb::vbOK) {
        savePositionKeys();
        program::End(0);
      }
      break;
    case 2: {
      if (!subPutConfigData()) break;
      FrmClearSelect dialog(this);
      dialog.showModal();
      // The dialog may have reloaded or cleared the image: show what it holds
      // now, so a later Main writes no stale values back.
      subGetConfigData();
      subSetConfigControls();
      asLoaded_ = values;
      break;
    }
    case 3:
      intSoundMsgBox(SoundKind::Inquiry, msgText(10079, 10004), "CmdAction_Click");
      if (modPublic.intMsgBoxResult == vb::vbOK && subPutConfigData()) {
        savePositionKeys();
        goToStartUp();
      }
      break;
    default: break;
  }
}

void FrmConfiguration::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, "Configuration Menu", this); }

void FrmConfiguration::Form_Unload(bool& cancel) {
  (void)cancel;
  savePositionKeys();
}

void FrmConfiguration::closeEvent(QCloseEvent* e) {
  e->ignore();
  if (isLoaded() && !program::ended()) CmdAction_Click(1);
}

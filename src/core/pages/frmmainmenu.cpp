#include "core/pages/frmmainmenu.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>
#include <iostream>

#include "app/program.h"
#include "core/controldata.h"
#include "core/identity.h"
#include "core/modpublic.h"
#include "core/pages/frmconfiguration.h"
#include "core/pages/frmstartup.h"
#include "core/pages/pagekit.h"
#include "core/pages/placement.h"
#include "core/settingkeys.h"
#include "core/soundmsg.h"
#include "platform/base/appinfo.h"
#include "platform/base/msgservice.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/helpviewer.h"

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

FrmMainMenu* FrmMainMenu::instance() { return qobject_cast<FrmMainMenu*>(Page::mainMenu()); }

FrmMainMenu::FrmMainMenu(QWidget* parent) : Page(parent) {
  setObjectName("frmMainMenu");
  auto* root = new QVBoxLayout(this);
  menuBar = new QMenuBar(this);
  mnuHelp = menuBar->addAction(q(LoadResString(1405)));
  root->setMenuBar(menuBar);
  lblCompanyMsg = new QLabel(this);
  lblRadioModelMsg = new QLabel(this);
  lblVersion = new QLabel(this);
  root->addWidget(lblCompanyMsg);
  root->addWidget(lblRadioModelMsg);

  auto* body = new QHBoxLayout;
  fraMainMenu = new QGroupBox(this);
  auto* buttons = new QGridLayout(fraMainMenu);
  lblMainMenu = new QLabel(fraMainMenu);
  buttons->addWidget(lblMainMenu, 0, 0, 1, 2);
  for (int i = 0; i < 11; ++i) {
    auto* b = new QPushButton(fraMainMenu);
    b->setObjectName(QString("cmdMainMenu%1").arg(i));
    b->installEventFilter(this);
    cmdMainMenu[static_cast<size_t>(i)] = b;
    buttons->addWidget(b, 1 + i / 2, i % 2);
    connect(b, &QPushButton::clicked, this, [this, i] { cmdMainMenu_Click(i); });
  }
  body->addWidget(fraMainMenu, 3);

  fraInformation = new QGroupBox(this);
  auto* info = new QGridLayout(fraInformation);
  for (int i = 0; i < 12; ++i) {
    lblInformation[static_cast<size_t>(i)] = new QLabel(fraInformation);
    lblInformation[static_cast<size_t>(i)]->setObjectName(QString("lblInformation%1").arg(i));
    info->addWidget(lblInformation[static_cast<size_t>(i)], i, 0);
  }
  QLabel** values[11] = {&lblRadioName,  &lblPin,    &lblKillPass,   &lblSerialNo,   &lblChlName,  &lblDgiScrm,
                         &lblEncode,     &lblDecode, &lblEncodeName, &lblDecodeName, &lblFirmware};
  for (int i = 0; i < 11; ++i) {
    *values[i] = new QLabel(fraInformation);
    info->addWidget(*values[i], i + 1, 1);
  }
  for (int i = 0; i < 11; ++i) (*values[i])->setMinimumWidth(150);
  info->setColumnStretch(1, 1);
  lblSingleTime = new QLabel(fraInformation);
  info->addWidget(lblSingleTime, 10, 2);
  body->addWidget(fraInformation, 2);
  root->addLayout(body);

  fraAction = new QGroupBox(this);
  auto* actions = new QHBoxLayout(fraAction);
  for (int i = 0; i < 3; ++i) {
    auto* b = new QPushButton(fraAction);
    b->setObjectName(QString("CmdAction%1").arg(i));
    CmdAction[static_cast<size_t>(i)] = b;
    actions->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, i] { CmdAction_Click(i); });
  }
  root->addWidget(fraAction);
  root->addWidget(lblVersion);
  connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });
  noDefaultButtons(this);
}

FrmMainMenu::~FrmMainMenu() {
  if (Page::mainMenu() == this) Page::setMainMenu(nullptr);
}

void FrmMainMenu::Form_Load() {
  Page::setMainMenu(this);
  ModPublic& m = modPublic;
  const int family = m.family();
  setCaption(std::string(app::kTitle) + "-" + "MainMenu");
  const uint32_t colour = vb::ColorValue(m.strLabelColor);
  vbui::setBackColor(this, colour);
  vbui::setBackColor(fraInformation, colour);
  vbui::setBackColor(fraAction, colour);
  vbui::setBackColor(fraMainMenu, 16711680);
  vbui::setForeColor(lblMainMenu, 16777215);
  plainButtonColours(this);

  for (int i = 0; i < 12; ++i) lblInformation[static_cast<size_t>(i)]->setText(q(LoadResString(300 + i)));
  for (int i = 0; i < 11; ++i) cmdMainMenu[static_cast<size_t>(i)]->setText(q(LoadResString(320 + i)));
  lblInformation[0]->setText(app::kTitle);

  // A button works when the model offers it and its page is part of the program.
  const std::string mask = family >= 0 ? m.strManMask[static_cast<size_t>(family)] : std::string();
  for (int i = 0; i < 11; ++i)
    cmdMainMenu[static_cast<size_t>(i)]->setEnabled(maskEnabled(mask, i) && program::hasMainMenuPage(i));

  dimChannelArrays();
  if (family == 2) cmdMainMenu[4]->setEnabled(false);

  lblMainMenu->setText(q(LoadResString(370)));
  lblVersion->setText(q("Ver " + app::versionText()));
  for (int i = 0; i < 3; ++i) CmdAction[static_cast<size_t>(i)]->setText(q(LoadResString(380 + i)));
  lblCompanyMsg->setText(q(LoadResString(100)));
  lblRadioModelMsg->setText(q(LoadResString(290 + std::max(family, 0)) + LoadResString(102) + app::versionText()));

  if (!m.strCmdFileName.empty()) {
    // The command-line road: the link page writes the file into the radio
    // by itself; the main menu is never shown.
    m.blnResult = blnSetInformation();
    openedPage_ = program::makeMainMenuPage(program::kProgrammingButton);
    if (!openedPage_) {
      std::cerr << app::kTitle << ": the link page is not part of this program; nothing was written\n";
      program::End(1);
      return;
    }
    openedPage_->showModal();
    openedPage_.reset();
    if (!program::ended()) program::End(0);
    return;
  }
  CmdAction[2]->setEnabled(m.blnNoCmdRadio);
  adjustSize();
}

void FrmMainMenu::Form_Activate() {
  placeFromSettings(*this, keys::MainTop, keys::MainLeft);
  modPublic.blnResult = blnSetInformation();
  ModPublic& m = modPublic;
  if (m.intMainMenuIndex <= 10 && m.intMainMenuIndex >= 0) {
    QPushButton* b = cmdMainMenu[static_cast<size_t>(m.intMainMenuIndex)];
    if (b->isEnabled()) b->setFocus();
    return;
  }
  for (int i = 0; i < 11; ++i) {
    if (cmdMainMenu[static_cast<size_t>(i)]->isEnabled()) {
      cmdMainMenu[static_cast<size_t>(i)]->setFocus();
      cmdMainMenu_GotFocus(i);
      break;
    }
  }
  CmdAction[0]->setFocus();
}

void FrmMainMenu::cmdMainMenu_GotFocus(int index) { modPublic.intMainMenuIndex = static_cast<int16_t>(index); }

bool FrmMainMenu::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    for (int i = 0; i < 11; ++i)
      if (watched == cmdMainMenu[static_cast<size_t>(i)]) cmdMainMenu_GotFocus(i);
  }
  return Page::eventFilter(watched, event);
}

bool FrmMainMenu::blnSetInformation() {
  const InformationPanel p = informationPanel();
  for (int i = 1; i <= 11; ++i) lblInformation[static_cast<size_t>(i)]->setEnabled(p.lineEnabled[static_cast<size_t>(i)]);
  const std::pair<QLabel*, const std::string*> texts[] = {
      {lblRadioName, &p.lblRadioName},   {lblPin, &p.lblPin},           {lblKillPass, &p.lblKillPass},
      {lblSerialNo, &p.lblSerialNo},     {lblChlName, &p.lblChlName},   {lblDgiScrm, &p.lblDgiScrm},
      {lblEncode, &p.lblEncode},         {lblDecode, &p.lblDecode},     {lblEncodeName, &p.lblEncodeName},
      {lblDecodeName, &p.lblDecodeName}, {lblSingleTime, &p.lblSingleTime}, {lblFirmware, &p.lblFirmware}};
  for (const auto& [label, text] : texts) label->setText(q(*text));
  return true;
}

void FrmMainMenu::savePositionKeys() { savePosition(*this, keys::MainTop, keys::MainLeft); }

void FrmMainMenu::cmdMainMenu_Click(int index) {
  if (pageOpenAbove()) return;
  savePositionKeys();
  if (index == 4 && !memoryEncodeAllowed()) {
    intSoundMsgBox(SoundKind::Attention, LoadResString(10034), "cmdMainMenu_Click");
    return;
  }
  if (index == 7 && !channelNameAllowed()) {
    intSoundMsgBox(SoundKind::Attention,
                   LoadResString(10035) + "\r" + LoadResString(10036) + "\r" + LoadResString(10037),
                   "cmdMainMenu_Click");
    return;
  }
  openPage(index);
}

void FrmMainMenu::openPage(int index) {
  // A page that fails while it is opened or used is reported; the main menu stays.
  try {
    openedPage_ = program::makeMainMenuPage(index);
    if (openedPage_) openedPage_->showModal();
  } catch (const std::exception& e) {
    MsgBoxNoSound(e.what(), vb::vbOKOnly, std::string(app::kTitle) + " " + LoadResString(10076));
  } catch (...) {
    MsgBoxNoSound(LoadResString(10055), vb::vbOKOnly, std::string(app::kTitle) + " " + LoadResString(10076));
  }
  openedPage_.reset();
}

bool FrmMainMenu::pageOpenAbove() const {
  // The menu's controls are inert while its page is open; whatever road still
  // reaches a handler must not replace or delete the menu, and with it that
  // page in the middle of its modal loop.
  return openedPage_ != nullptr;
}

void FrmMainMenu::CmdAction_Click(int index) {
  if (pageOpenAbove()) return;
  ModPublic& m = modPublic;
  switch (index) {
    case 0: {
      savePositionKeys();
      auto* config = new FrmConfiguration;
      config->Show();
      if (program::ended()) return;
      Unload();
      deleteLater();
      break;
    }
    case 1:
      intSoundMsgBox(SoundKind::Inquiry, msgText(10003, 10004), "CmdAction_Click");
      if (m.intMsgBoxResult == vb::vbOK) {
        if (Top() > 0) savePositionKeys();
        program::End(0);
      }
      break;
    case 2:
      intSoundMsgBox(SoundKind::Inquiry, msgText(10079, 10004), "CmdAction_Click");
      if (m.intMsgBoxResult == vb::vbOK) {
        savePositionKeys();
        auto* start = new FrmStartUp;
        start->Start();
        if (program::ended()) return;
        Unload();
        deleteLater();
      }
      break;
    default: break;
  }
}

void FrmMainMenu::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, "Main Menu", this); }

void FrmMainMenu::Form_Unload(bool& cancel) {
  (void)cancel;
  if (Top() > 0) savePositionKeys();
  if (Page::mainMenu() == this) Page::setMainMenu(nullptr);
}

void FrmMainMenu::closeEvent(QCloseEvent* e) {
  e->ignore();
  if (isLoaded() && !program::ended()) CmdAction_Click(1);
}

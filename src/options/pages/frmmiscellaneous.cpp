#include "options/pages/frmmiscellaneous.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
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
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/modpublic.h"
#include "core/pages/pagekit.h"
#include "core/soundmsg.h"
#include "options/chanlayout.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/helpviewer.h"

using namespace options;

namespace {
QString res(int id) { return QString::fromStdString(LoadResString(id)); }
QString q(const std::string& s) { return QString::fromStdString(s); }

// The whole number a working value holds, -1 when it holds none.
int indexOf(const std::string& value) {
  if (value.empty() || value.size() > 5) return -1;
  for (char c : value)
    if (c < '0' || c > '9') return -1;
  return std::stoi(value);
}

bool allDigits(const QString& s) {
  return std::all_of(s.begin(), s.end(), [](QChar c) { return c >= '0' && c <= '9'; });
}

// The characters a starting message may hold.
const QString kMessageChars02 =
    " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz.-+*=?<>,[]()#\\_:;%$!/";
constexpr int kControlWidth = 120;  // pixels of every value control

const QString kMessageChars1 = " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-+*/_";

// The eleven two-entry lists in arrow order: mask character and working value.
struct ListRow {
  int item;
  std::string MiscValues::*value;
};
const std::array<ListRow, 11> kLists = {{
    {kMisKeyONBeep, &MiscValues::strKeyONBeep},
    {kMisPTTONBeep, &MiscValues::strPTTONBeep},
    {kMisPTTOFFBeep, &MiscValues::strPTTOFFBeep},
    {kMisCTCSSMute, &MiscValues::strCTCSSMute},
    {kMisDecodeOutAlways, &MiscValues::strDecodeOutAlways},
    {kMisTXPowerChange, &MiscValues::strTXPowerChange},
    {kMisPowerOnResume, &MiscValues::strPowerOnResume},
    {kMisToneSystemChange, &MiscValues::strToneSystemChange},
    {kMisInformationDisplay, &MiscValues::strInformationDisplay},
    {kMisAutoVoiceMute, &MiscValues::strAutoVoiceMute},
    {kMisLowBatteryAlarm, &MiscValues::strLowBatteryAlarm},
}};

// The single combo boxes: mask character and working value.
struct ComboRow {
  int item;
  std::string MiscValues::*value;
};
const std::array<ComboRow, 14> kCombos = {{
    {kMisSquelchVer, &MiscValues::strSquelchVer},
    {kMisSquelchFix, &MiscValues::strSquelchFix},
    {kMisPOWOFFTime, &MiscValues::strPOWOFFTime},
    {kMisTXInhibit, &MiscValues::strTXInhibit},
    {kMisPowerSaveTime, &MiscValues::strPowerSaveTime},
    {kMisCHNameDelay, &MiscValues::strCHNameDelay},
    {kMisRepeaterMode, &MiscValues::strRepeaterMode},
    {kMisVotingTone, &MiscValues::strVotingTone},
    {kMisCTCSSCutoff, &MiscValues::strCTCSSCutoff},
    {kMisCTCSSDevWide, &MiscValues::strCTCSSDevWide},
    {kMisCTCSSDevNarrow, &MiscValues::strCTCSSDevNarrow},
    {kMisCTCSSDev4k, &MiscValues::strCTCSSDev4k},
    {kMisVotingInterval, &MiscValues::strVotingInterval},
    {kMisTransmissionTime, &MiscValues::strTransmissionTime},
}};

std::string MiscValues::*const kKeyValues[3] = {&MiscValues::strFKeyAssign, &MiscValues::strF1KeyAssign,
                                                 &MiscValues::strOptionKeyAssign};
}  // namespace

FrmMiscellaneous::FrmMiscellaneous(QWidget* parent) : Page(parent) {
  setObjectName("frmMiscellaneous");
  kit_ = std::make_unique<kit::SettingsKit>(this, [this] { return InputDataCheck(); }, [this] { subShowMiscData(); });

  auto* root = new QVBoxLayout(this);
  menuBar = new QMenuBar(this);
  mnuHelp = menuBar->addAction(res(1433));
  root->setMenuBar(menuBar);
  connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });

  fraMiscellaneous = new QGroupBox(this);
  auto* grid = new QGridLayout(fraMiscellaneous);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  root->addWidget(fraMiscellaneous);

  // Three columns of settings: label, control, unit.
  int column = 0, row = 0;
  auto next = [&] {
    if (++row == 11) {
      row = 0;
      column += 3;
    }
  };
  auto label = [&](int index) {
    auto* l = new QLabel(res(400 + index), fraMiscellaneous);
    l->setObjectName(QString("lblMiscellaneous%1").arg(index));
    l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    lblMiscellaneous[static_cast<size_t>(index)] = l;
    grid->addWidget(l, row, column, Qt::AlignVCenter);
    return l;
  };
  auto combo = [&](QComboBox*& c, int index, const char* name) {
    c = new QComboBox(fraMiscellaneous);
    c->setObjectName(name);
    c->setFixedWidth(kControlWidth);
    if (index >= 2) {
      label(index)->setBuddy(c);
      c->setAccessibleName(res(400 + index));
    }
    grid->addWidget(c, row, column + 1);
    connect(c, &QComboBox::currentIndexChanged, this, [this, c] { cboCombo_Change(c); });
    next();
  };
  auto text = [&](QLineEdit*& t, int index, const char* name, int maxLength) {
    t = new QLineEdit(fraMiscellaneous);
    t->setObjectName(name);
    t->setMaxLength(maxLength);
    t->setFixedWidth(kControlWidth);
    t->setAccessibleName(res(400 + index));
    label(index)->setBuddy(t);
    grid->addWidget(t, row, column + 1);
    kit_->events->lostFocus(t, [this, t] { txtField_LostFocus(t); });
  };
  auto unit = [&](QLabel*& u, const char* name) {
    u = new QLabel(res(1432), fraMiscellaneous);
    u->setObjectName(name);
    grid->addWidget(u, row, column + 2);
    next();
  };
  auto list = [&](int k, int index, bool disableEnable) {
    const QStringList entries = disableEnable ? QStringList{"DISABLE", "ENABLE"} : QStringList{"OFF", "ON"};
    auto* l = new kit::UpDownList(fraMiscellaneous, entries, res(400 + index));
    l->list->setObjectName(QString("updChangeSelect%1").arg(k));
    // One entry in sight: the list shows its value, the arrows scroll it.
    l->list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int height = l->list->sizeHintForRow(0) + 2 * l->list->frameWidth();
    l->list->setFixedSize(kControlWidth - 20, height);
    l->up->setFixedSize(18, height / 2 + 2);
    l->down->setFixedSize(18, height / 2 + 2);
    updChangeSelect[static_cast<size_t>(k)] = l;
    label(index)->setBuddy(l->list);
    grid->addWidget(l, row, column + 1);
    kit_->events->gotFocus(l->list, [this, k] { lstList_GotFocus(k); });
    kit_->events->lostFocus(l->list, [this, k] { lstList_LostFocus(k); });
    connect(l->up, &QToolButton::clicked, this, [this, k] { updChangeSelect_UpClick(k); });
    connect(l->down, &QToolButton::clicked, this, [this, k] { updChangeSelect_DownClick(k); });
    next();
    return l->list;
  };

  for (int i = 0; i < 2; ++i) {
    optSquelchSet[static_cast<size_t>(i)] = new QRadioButton(res(400 + i), fraMiscellaneous);
    optSquelchSet[static_cast<size_t>(i)]->setObjectName(QString("optSquelchSet%1").arg(i));
    grid->addWidget(optSquelchSet[static_cast<size_t>(i)], row, column);
    connect(optSquelchSet[static_cast<size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on && !kit_->busy.on()) optSquelchSet_Click(i);
    });
    combo(i == 0 ? cboSquelchSetVer : cboSquelchSetFix, i, i == 0 ? "cboSquelchSetVer" : "cboSquelchSetFix");
  }
  cboSquelchSetVer->setAccessibleName(res(400));
  cboSquelchSetFix->setAccessibleName(res(401));
  text(txtTTLTime, 2, "txtTTLTime", 3);
  txtTTLTime->setToolTip("Valid range : 0-255(sec)");
  unit(labTTLTime, "labTTLTime");
  lstKeyONBeep = list(0, 3, false);
  lstPTTONBeep = list(1, 4, false);
  lstPTTOFFBeep = list(2, 5, false);
  combo(cboPOWOFFTime, 6, "cboPOWOFFTime");
  combo(cboTXInhibit, 7, "cboTXInhibit");
  combo(cboPowerSaveTime, 8, "cboPowerSaveTime");
  lstCTSSMute = list(3, 9, false);
  lstDecodeoutalways = list(4, 10, false);

  // Four characters: a stored time can reach 25.5 s, shown whole until it is retyped.
  text(txtVOXResetTime, 11, "txtVOXResetTime", 4);
  txtVOXResetTime->setToolTip("Valid range : 0.0-9.9(sec)");
  unit(Label2, "Label2");
  lstTXPowerChange = list(5, 12, true);
  lstPoweronResume = list(6, 13, true);
  text(txtStartingChannel, 14, "txtStartingChannel", 3);
  next();
  text(txtStartingMessage, 15, "txtStartingMessage", 8);
  next();
  lstToneSystemChange = list(7, 16, true);
  lstInformationDisplay = list(8, 17, true);
  combo(cboCHNameDelay, 18, "cboCHNameDelay");
  lstAutoVoiceMute = list(9, 19, false);
  text(txtAutoTXResetTime, 20, "txtAutoTXResetTime", 4);
  txtAutoTXResetTime->setToolTip("Valid range : 0.0-9.9(sec)");
  unit(Label1, "Label1");
  lstLowBatteryAlarm = list(10, 21, false);

  for (int k = 0; k < 3; ++k) {
    label(22 + k);
    QComboBox*& c = cboKeyAssign[static_cast<size_t>(k)];
    c = new QComboBox(fraMiscellaneous);
    c->setObjectName(QString("cboKeyAssign%1").arg(k));
    c->setFixedWidth(kControlWidth);
    c->setAccessibleName(res(422 + k));
    lblMiscellaneous[static_cast<size_t>(22 + k)]->setBuddy(c);
    grid->addWidget(c, row, column + 1);
    connect(c, &QComboBox::currentIndexChanged, this, [this, k] { cboKeyAssign_Change(k); });
    next();
  }
  combo(CboRepeaterMode, 25, "CboRepeaterMode");
  CboRepeaterMode->setToolTip("Mode2: Mic input availably ");
  combo(CboVotingTone, 26, "CboVotingTone");
  combo(CboCTCSScutoff, 27, "CboCTCSScutoff");
  for (int k = 0; k < 3; ++k) {
    combo(CboCTCSSdeviation[static_cast<size_t>(k)], 28 + k, "CboCTCSSdeviation");
    CboCTCSSdeviation[static_cast<size_t>(k)]->setObjectName(QString("CboCTCSSdeviation%1").arg(k));
  }
  combo(CboVotingInterval, 31, "CboVotingInterval");
  combo(CboTransmissionTime, 32, "CboTransmissionTime");

  fraKeyLockMode = new QGroupBox(res(435), this);
  fraKeyLockMode->setToolTip(QString::fromUtf8("Check On \u2192 DISABLE"));
  auto* locks = new QHBoxLayout(fraKeyLockMode);
  QCheckBox** boxes[3] = {&chkPTTKey, &chkCallKey, &chkMuteKey};
  const char* names[3] = {"chkPTTKey", "chkCallKey", "chkMuteKey"};
  for (int k = 0; k < 3; ++k) {
    *boxes[k] = new QCheckBox(res(440 + k), fraKeyLockMode);
    (*boxes[k])->setObjectName(names[k]);
    locks->addWidget(*boxes[k]);
    connect(*boxes[k], &QCheckBox::toggled, this, [this, k] { chkKeyLock_Click(k); });
  }
  root->addWidget(fraKeyLockMode);

  fraAction = new QGroupBox(res(161), this);
  auto* actions = new QHBoxLayout(fraAction);
  actions->addStretch();
  CmdAction[1] = new QPushButton(res(480), fraAction);
  CmdAction[1]->setObjectName("CmdAction1");
  CmdAction[1]->setToolTip("Close this menu");
  actions->addWidget(CmdAction[1]);
  connect(CmdAction[1], &QPushButton::clicked, this, [this] { CmdAction_Click(1); });
  root->addWidget(fraAction);

  // Typed characters each field takes.
  auto filter = [this](QLineEdit* box, const char* accepted) {
    kit_->events->keyDown(box, [accepted](QKeyEvent* e) { return kit::refusedCharacter(e, accepted); });
  };
  filter(txtTTLTime, "0123456789");
  filter(txtStartingChannel, "0123456789");
  filter(txtAutoTXResetTime, "0123456789.");
  filter(txtVOXResetTime, "0123456789.");
  connect(txtStartingMessage, &QLineEdit::textChanged, this, [this] { txtStartingMessage_Change(); });

  txtEndForcus = kit_->makeSink([this] { txtEndForcus_GotFocus(); });
  // Tabbing onto it closes the page: a screen reader reads it as Exit.
  txtEndForcus->setAccessibleName(res(480));

  // What each mask character enables.
  auto arrows = [this](int k) -> std::vector<QWidget*> {
    return {updChangeSelect[static_cast<size_t>(k)]->up, updChangeSelect[static_cast<size_t>(k)]->down};
  };
  auto lbl = [this](int index) -> QWidget* { return lblMiscellaneous[static_cast<size_t>(index)]; };
  mask_.add(kMisSquelchVer, {optSquelchSet[0]}, {cboSquelchSetVer});
  mask_.add(kMisSquelchFix, {optSquelchSet[1]}, {cboSquelchSetFix});
  mask_.add(kMisTTLTime, {lbl(2), labTTLTime}, {txtTTLTime});
  for (size_t k = 0; k < kLists.size(); ++k) {
    std::vector<QWidget*> plain = arrows(static_cast<int>(k));
    plain.push_back(lbl(kLists[k].item - 1));
    mask_.add(kLists[k].item, plain, {updChangeSelect[k]->list});
  }
  for (const ComboRow& c : kCombos)
    if (c.item > kMisSquelchFix) mask_.add(c.item, {lbl(c.item - 1)}, {singleCombo(c.item)});
  mask_.add(kMisVOXResetTime, {lbl(11), Label2}, {txtVOXResetTime});
  mask_.add(kMisStartingChannel, {lbl(14)}, {txtStartingChannel});
  mask_.add(kMisStartingMessage, {lbl(15)}, {txtStartingMessage});
  mask_.add(kMisAutoTXResetTime, {lbl(20), Label1}, {txtAutoTXResetTime});
  for (int k = 0; k < 3; ++k) mask_.add(kMisFKeyAssign + k, {lbl(22 + k)}, {cboKeyAssign[static_cast<size_t>(k)]});
  mask_.add(kMisKeyLock, {chkPTTKey, chkCallKey, chkMuteKey});

  noDefaultButtons(this);
}

FrmMiscellaneous::~FrmMiscellaneous() = default;

QComboBox* FrmMiscellaneous::singleCombo(int item) const {
  switch (item) {
    case kMisSquelchVer: return cboSquelchSetVer;
    case kMisSquelchFix: return cboSquelchSetFix;
    case kMisPOWOFFTime: return cboPOWOFFTime;
    case kMisTXInhibit: return cboTXInhibit;
    case kMisPowerSaveTime: return cboPowerSaveTime;
    case kMisCHNameDelay: return cboCHNameDelay;
    case kMisRepeaterMode: return CboRepeaterMode;
    case kMisVotingTone: return CboVotingTone;
    case kMisCTCSSCutoff: return CboCTCSScutoff;
    case kMisCTCSSDevWide: return CboCTCSSdeviation[0];
    case kMisCTCSSDevNarrow: return CboCTCSSdeviation[1];
    case kMisCTCSSDev4k: return CboCTCSSdeviation[2];
    case kMisVotingInterval: return CboVotingInterval;
    case kMisTransmissionTime: return CboTransmissionTime;
    default: return nullptr;
  }
}

std::string* FrmMiscellaneous::comboValue(QComboBox* combo) {
  for (const ComboRow& c : kCombos)
    if (singleCombo(c.item) == combo) return &(values.*c.value);
  return nullptr;
}

std::string& FrmMiscellaneous::listValue(int index) { return values.*kLists[static_cast<size_t>(index)].value; }

void FrmMiscellaneous::Form_Load() {
  ModPublic& m = modPublic;
  family_ = m.family();
  adjustSize();
  placeFromMainMenu(250, 550);
  keepOnScreen();
  setCaption(std::string(app::kTitle) + "-MiscellaneousMenu");  // the design caption, in every language
  fraMiscellaneous->setTitle(res(1430));

  const uint32_t colour = vb::ColorValue(m.strLabelColor);
  for (QWidget* w : std::initializer_list<QWidget*>{this, fraMiscellaneous, fraKeyLockMode, chkPTTKey, chkCallKey,
                                                    chkMuteKey, fraAction, optSquelchSet[0], optSquelchSet[1]})
    vbui::setBackColor(w, colour);
  for (QLabel* l : lblMiscellaneous)
    if (l) vbui::setBackColor(l, vbui::kDisabledBack);
  // Option buttons and check boxes paint their back in the page's colour too,
  // and a disabled caption stays readable on its grey or coloured back.
  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{optSquelchSet[0], optSquelchSet[1], chkPTTKey,
                                                                    chkCallKey, chkMuteKey})
    b->setBackgroundRole(QPalette::Window);
  for (QWidget* w : fraMiscellaneous->findChildren<QWidget*>()) {
    if (!qobject_cast<QLabel*>(w) && !qobject_cast<QRadioButton*>(w)) continue;
    QPalette p = w->palette();
    p.setColor(QPalette::Disabled, QPalette::WindowText, vbui::color(vbui::kDisabledText));
    w->setPalette(p);
  }
  plainButtonColours(this);

  {
    // The design-time lists; family "1" squelch levels end at "7".
    kit::Busy::Hold hold(kit_->busy);
    auto fill = [this](QComboBox* c, int item) {
      c->clear();
      for (const std::string& e : miscList(item, family_)) c->addItem(q(e));
    };
    for (const ComboRow& c : kCombos) fill(singleCombo(c.item), c.item);
    for (int k = 0; k < 3; ++k) fill(cboKeyAssign[static_cast<size_t>(k)], kMisFKeyAssign + k);
  }

  // The model's row; family "1" copies it into the working row afresh on
  // every opening, so another image's model is never used.
  const std::string row = miscMaskRow(family_, m.bytRadioData, m.strMiscMask);
  if (family_ == 1) m.strMiscMask[1] = row;
  enables = miscEnables(family_, row);
  applyEnables();

  const ChanLayout layout = chanLayout(family_, m.bytRadioData);
  m_intLastChannel = layout.lastChannel;
  m_intChannelSplit = layout.split;
  txtStartingMessage->setMaxLength(miscMessageLength(family_));
  // Each box shows its longest value whole, whatever the font.
  kit::fitWidth(txtTTLTime, kit::kDigitCharacters);
  kit::fitWidth(txtStartingChannel, kit::kDigitCharacters);
  kit::fitWidth(txtVOXResetTime, QString(kit::kDigitCharacters) + ".");
  kit::fitWidth(txtAutoTXResetTime, QString(kit::kDigitCharacters) + ".");
  kit::fitWidth(txtStartingMessage, family_ == 1 ? kMessageChars1 : kMessageChars02);

  if (row.size() < static_cast<size_t>(kMiscItems)) {
    // Nothing known to offer: every setting is shown, none can be changed,
    // and the image stays exactly as it is.
    intSoundMsgBox(SoundKind::Attention, msgText(10088, 10089), "Form_Load");
  } else {
    miscCleanStartingChannel(m.bytRadioData, family_);
  }
  subGetMiscData();
}

void FrmMiscellaneous::applyEnables() {
  std::string effective(40, '0');
  for (int item = 1; item <= kMiscItems; ++item)
    if (enables(item)) effective[static_cast<size_t>(item - 1)] = '1';
  mask_.apply(effective);
}

void FrmMiscellaneous::subGetMiscData() {
  values = miscDecode(modPublic.bytRadioData, family_, enables);
  asLoaded_ = values;
  showSquelchMode();
}

void FrmMiscellaneous::showSquelchMode() {
  // Only a page that offers the choice switches the level boxes by the mode.
  if (!enables(kMisSquelchVer)) return;
  kit::Busy::Hold hold(kit_->busy);
  const bool fixed = values.strSquelchMode == "1";
  optSquelchSet[fixed ? 1 : 0]->setChecked(true);
  kit::setEnabledPainted(cboSquelchSetVer, !fixed);
  kit::setEnabledPainted(cboSquelchSetFix, fixed);
}

void FrmMiscellaneous::subPutMiscData() {
  if (family_ < 0) return;
  miscEncode(modPublic.bytRadioData, family_, enables, values, asLoaded_);
  asLoaded_ = values;
}

void FrmMiscellaneous::selectEntry(QComboBox* combo, const std::string& value) {
  // A value without an entry shows no entry and stays as stored.
  const int i = indexOf(value.empty() ? "0" : value);
  combo->setCurrentIndex(i >= 0 && i < combo->count() ? i : -1);
}

std::string FrmMiscellaneous::shownText(QLineEdit* box) const {
  if (box == txtTTLTime) return values.strTTLTime;
  if (box == txtStartingChannel) return values.strStartingChannel;
  if (box == txtStartingMessage) return values.strStartingMessage;
  if (box == txtAutoTXResetTime) return formatTenths(values.strAutoTXResetTime);
  if (box == txtVOXResetTime) return formatTenths(values.strVOXResetTime);
  return std::string();
}

bool FrmMiscellaneous::edited(QLineEdit* box) const {
  return box->isEnabled() && box->text() != q(shownText(box));
}

void FrmMiscellaneous::subShowMiscData() {
  kit::Busy::Hold hold(kit_->busy);
  for (const ComboRow& c : kCombos) selectEntry(singleCombo(c.item), values.*c.value);
  for (int k = 0; k < 3; ++k) selectEntry(cboKeyAssign[static_cast<size_t>(k)], values.*kKeyValues[k]);
  txtTTLTime->setText(q(values.strTTLTime));
  txtStartingChannel->setText(q(values.strStartingChannel));
  txtStartingMessage->setText(q(values.strStartingMessage));
  // A disabled time box keeps its text: its family has no such time.
  if (txtAutoTXResetTime->isEnabled()) txtAutoTXResetTime->setText(q(formatTenths(values.strAutoTXResetTime)));
  if (txtVOXResetTime->isEnabled()) txtVOXResetTime->setText(q(formatTenths(values.strVOXResetTime)));
  chkPTTKey->setChecked(indexOf(values.strKeyLockPTT) == 1);
  chkCallKey->setChecked(indexOf(values.strKeyLockCall) == 1);
  chkMuteKey->setChecked(indexOf(values.strKeyLockMute) == 1);
  for (int k = 0; k < 11; ++k) showListValue(k);
  // A setting its family does not have shows no value.
  for (const ComboRow& c : kCombos)
    if (!miscLayoutHas(family_, c.item)) singleCombo(c.item)->setCurrentIndex(-1);
  for (int k = 0; k < 3; ++k)
    if (!miscLayoutHas(family_, kMisFKeyAssign + k)) cboKeyAssign[static_cast<size_t>(k)]->setCurrentIndex(-1);
}

void FrmMiscellaneous::showListValue(int index) {
  // The list scrolls to its value; the entry is highlighted only while the
  // list holds the focus.
  QListWidget* list = updChangeSelect[static_cast<size_t>(index)]->list;
  const int i = miscLayoutHas(family_, kLists[static_cast<size_t>(index)].item) ? indexOf(listValue(index)) : -1;
  list->clearSelection();
  if (i >= 0 && i < list->count()) {
    list->setCurrentRow(i, QItemSelectionModel::NoUpdate);
    list->scrollToItem(list->item(i), QAbstractItemView::PositionAtTop);
  } else {
    list->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
  }
}

void FrmMiscellaneous::keepOnScreen() {
  const QScreen* s = screen();
  if (!s) return;
  const QRect room = s->availableGeometry();
  const QRect frame = frameGeometry();
  const int x = std::max(room.left(), std::min(frame.x(), room.right() - frame.width()));
  const int y = std::max(room.top(), std::min(frame.y(), room.bottom() - frame.height()));
  if (x != frame.x() || y != frame.y()) move(x, y);
}

bool FrmMiscellaneous::InputDataCheck() {
  refused_ = nullptr;
  auto refuse = [this](QLineEdit* box, const std::string& text, const std::string& title) {
    intSoundMsgBox(SoundKind::Information, text, title);
    box->setText("");
    refused_ = box;
    return false;
  };
  const std::string range = msgText(10032, 10033);

  if (edited(txtStartingChannel) && !txtStartingChannel->text().isEmpty()) {
    const QString t = txtStartingChannel->text();
    const std::string title = "InputDataCheck_StartingChannel";
    if (!allDigits(t)) return refuse(txtStartingChannel, range, title);
    const ChanLayout layout = chanLayout(family_, modPublic.bytRadioData);
    const int n = t.size() > 5 ? 99999 : t.toInt();
    if (n < 1 || n > m_intLastChannel) return refuse(txtStartingChannel, LoadResString(10043), title);
    if (!layout.holdsData(modPublic.bytRadioData, n)) return refuse(txtStartingChannel, LoadResString(10038), title);
  }
  if (edited(txtTTLTime) && !txtTTLTime->text().isEmpty()) {
    const QString t = txtTTLTime->text();
    if (!allDigits(t)) return refuse(txtTTLTime, range, "InputDataCheck_TTLTime-P1");
    if (t.size() > 5 || t.toInt() > 255) return refuse(txtTTLTime, LoadResString(10032), "InputDataCheck_TTLTime-P2");
  }
  auto seconds = [&](QLineEdit* box, const std::string& title) {
    if (!edited(box) || box->text().isEmpty()) return true;
    box->setText(q(formatTenths(box->text().toStdString())));
    bool point = false;
    for (QChar c : box->text()) {
      if (c >= '0' && c <= '9') continue;
      if (c == '.' && !point) {
        point = true;
        continue;
      }
      return refuse(box, c == '.' ? LoadResString(10039) : range, title);
    }
    if (vb::Val(box->text().toStdString()) > 9.9) return refuse(box, LoadResString(10032), title);
    return true;
  };
  return seconds(txtAutoTXResetTime, "InputDataCheck_AutoTXResetTime") &&
         seconds(txtVOXResetTime, "InputDataCheck_VOXResetTime");
}

void FrmMiscellaneous::lstList_GotFocus(int index) {
  kit_->listGotFocus(updChangeSelect[static_cast<size_t>(index)]->list, listValue(index));
}

void FrmMiscellaneous::lstList_LostFocus(int index) {
  QListWidget* list = updChangeSelect[static_cast<size_t>(index)]->list;
  if (InputDataCheck()) {
    if (list->currentRow() >= 0) listValue(index) = std::to_string(list->currentRow());
  } else {
    kit_->refuse(refused_ ? static_cast<QWidget*>(refused_) : list);
  }
  showListValue(index);
}

void FrmMiscellaneous::updChangeSelect_UpClick(int index) {
  if (index < 0 || index > 10) return;
  kit_->listStep(updChangeSelect[static_cast<size_t>(index)]->list, listValue(index), 0);
}

void FrmMiscellaneous::updChangeSelect_DownClick(int index) {
  if (index < 0 || index > 10) return;
  kit_->listStep(updChangeSelect[static_cast<size_t>(index)]->list, listValue(index), 1);
}

void FrmMiscellaneous::cboCombo_Change(QComboBox* combo) {
  if (std::string* value = comboValue(combo)) kit_->comboChanged(combo, *value);
}

void FrmMiscellaneous::cboKeyAssign_Change(int index) {
  if (index < 0 || index > 2 || kit_->busy.on()) return;
  const int n = cboKeyAssign[static_cast<size_t>(index)]->currentIndex();
  if (n < 0 || !kit_->checked()) return;
  // A function other than "Non" belongs to one key at most.
  for (int other = 0; other < 3; ++other)
    if (other != index && n != 0 && indexOf(values.*kKeyValues[other]) == n) {
      subShowMiscData();
      return;
    }
  values.*kKeyValues[index] = std::to_string(n);
}

void FrmMiscellaneous::chkKeyLock_Click(int index) {
  QCheckBox* boxes[3] = {chkPTTKey, chkCallKey, chkMuteKey};
  std::string* lockValues[3] = {&values.strKeyLockPTT, &values.strKeyLockCall, &values.strKeyLockMute};
  if (index < 0 || index > 2) return;
  const bool ticked = boxes[index]->isChecked();
  boxes[index]->setText(res((ticked ? 450 : 440) + index));
  *lockValues[index] = ticked ? "1" : "0";
}

void FrmMiscellaneous::optSquelchSet_Click(int index) {
  const bool fixed = index == 1;
  kit::setEnabledPainted(cboSquelchSetVer, !fixed);
  kit::setEnabledPainted(cboSquelchSetFix, fixed);
  values.strSquelchMode = fixed ? "1" : "0";
}

void FrmMiscellaneous::txtStartingMessage_Change() {
  if (kit_->busy.on()) return;
  const QString& set = family_ == 1 ? kMessageChars1 : kMessageChars02;
  const QString text = txtStartingMessage->text();
  int caret = txtStartingMessage->cursorPosition();
  QString kept;
  for (int i = 0; i < text.size(); ++i) {
    if (set.contains(text[i])) {
      kept += family_ == 1 ? text[i].toUpper() : text[i];
    } else if (i < caret) {
      --caret;  // the caret stays behind the characters it followed
    }
  }
  if (kept == text) return;
  txtStartingMessage->setText(kept);
  txtStartingMessage->setCursorPosition(std::clamp(caret, 0, static_cast<int>(kept.size())));
}

void FrmMiscellaneous::txtField_LostFocus(QLineEdit* box) {
  std::string* value = box == txtTTLTime           ? &values.strTTLTime
                       : box == txtStartingChannel ? &values.strStartingChannel
                       : box == txtStartingMessage ? &values.strStartingMessage
                       : box == txtAutoTXResetTime ? &values.strAutoTXResetTime
                                                   : &values.strVOXResetTime;
  if (!edited(box)) {
    // Passing through a field does not rewrite what it holds.
    txtEndForcus->clearMark();
  } else if (InputDataCheck()) {
    *value = box->text().toStdString();
    txtEndForcus->clearMark();
  } else {
    kit_->refuse(refused_ ? refused_ : box);
  }
  if (box->text().isEmpty() && box->isEnabled()) {
    if (box == txtTTLTime) box->setText("0");
    if (box == txtVOXResetTime) box->setText("0.0");
  }
}

void FrmMiscellaneous::txtEndForcus_GotFocus() {
  if (!InputDataCheck()) {
    kit_->refuse(refused_ ? static_cast<QWidget*>(refused_) : CmdAction[1]);
    return;
  }
  subPutMiscData();
  Unload();
}

void FrmMiscellaneous::CmdAction_Click(int index) {
  if (index != 1) return;
  // A mouse click moves the focus to Exit first, so the field being edited is
  // left and judged; a press by keyboard shortcut or screen reader does not.
  if (takeFocusedField()) Unload();
}

bool FrmMiscellaneous::takeFocusedField() {
  QWidget* w = focusWidget();
  auto* box = qobject_cast<QLineEdit*>(w);
  if (box && box != txtEndForcus && edited(box)) {
    txtField_LostFocus(box);
    return refused_ == nullptr;
  }
  for (int k = 0; k < 11; ++k)
    if (w == updChangeSelect[static_cast<size_t>(k)]->list) lstList_LostFocus(k);
  return true;
}

void FrmMiscellaneous::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, "Miscellaneous Menu"); }

void FrmMiscellaneous::Form_Activate() {
  subShowMiscData();
  if (cboSquelchSetVer->isEnabled()) optSquelchSet[0]->setFocus();
  else if (cboSquelchSetFix->isEnabled()) optSquelchSet[1]->setFocus();
}

void FrmMiscellaneous::closeEvent(QCloseEvent* e) {
  // Closing the window while a field holds a typed value takes that value
  // as leaving the field would, or keeps the page open when it is refused.
  if (isLoaded() && !takeFocusedField()) {
    e->ignore();
    return;
  }
  Page::closeEvent(e);
}

void FrmMiscellaneous::Form_Unload(bool& cancel) {
  (void)cancel;
  subPutMiscData();
}

bool FrmMiscellaneous::subSetIniData() {
  modPublic.udtPrtMisc = miscPrintTexts(values, modPublic.bytRadioData, family_);
  return true;
}

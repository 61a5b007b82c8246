#include "options/pages/frmscanset.h"

#include <QAction>
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
#include <QToolButton>
#include <QVBoxLayout>

#include "core/modpublic.h"
#include "core/pages/pagekit.h"
#include "core/pages/updown.h"
#include "core/soundmsg.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/helpviewer.h"

using options::ScanField;

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

constexpr const char* kChannelKeys = "0123456789";
constexpr const char* kTimeKeys = "0123456789.";
constexpr int kEnter = 13;
constexpr int kEscape = 27;

// The lists stepped by the arrows, by arrow index: their setting and caption.
constexpr std::array<ScanField, 5> kListFields = {ScanField::ScanDecodeQuit, ScanField::RemoteScanControl,
                                                  ScanField::RemoteScanChannel, ScanField::PriorityChannelChange,
                                                  ScanField::AutoAllChannelScan};

bool isTimeField(ScanField f) { return f == ScanField::ScanStartDelayTime || f == ScanField::PchWatchIntTime; }
bool isProgramScanField(ScanField f) { return f == ScanField::PrgScanPchLow || f == ScanField::PrgScanPchHigh; }
ScanField partnerOf(ScanField f) {
  switch (f) {
    case ScanField::AllScanPchLow: return ScanField::AllScanPchHigh;
    case ScanField::AllScanPchHigh: return ScanField::AllScanPchLow;
    case ScanField::PrgScanPchLow: return ScanField::PrgScanPchHigh;
    default: return ScanField::PrgScanPchLow;
  }
}
}  // namespace

FrmScanSet::FrmScanSet(QWidget* parent)
    : Page(parent), kit_(this, [this] { return InputDataCheck(leaving_); }, [this] { subShowScanData(); }) {
  setObjectName("frmScanSet");
  auto* root = new QVBoxLayout(this);
  menuBar = new QMenuBar(this);
  mnuHelp = menuBar->addAction("Help(&H)");
  root->setMenuBar(menuBar);

  fraScanSet = new QGroupBox(this);
  auto* grid = new QGridLayout(fraScanSet);
  for (int i = 0; i < 12; ++i) {
    auto* l = new QLabel(q(LoadResString(700 + i)), fraScanSet);
    l->setObjectName(QString("lblScanSet%1").arg(i));
    lblScanSet[static_cast<size_t>(i)] = l;
    grid->addWidget(l, i, 0);
  }
  auto box = [&](QLineEdit*& e, int row, const char* name, int maxLength) {
    e = new QLineEdit(fraScanSet);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    e->setAccessibleName(lblScanSet[static_cast<size_t>(row)]->text());
    grid->addWidget(e, row, 1);
  };
  box(txtAllScanPchLOW, 0, "txtAllScanPchLOW", 3);
  box(txtAllScanPchHIGH, 1, "txtAllScanPchHIGH", 3);
  box(txtPrgScanPchLOW, 2, "txtPrgScanPchLOW", 3);
  box(txtPrgScanPchHIGH, 3, "txtPrgScanPchHIGH", 3);
  cboScanTime = new QComboBox(fraScanSet);
  cboScanTime->setObjectName("cboScanTime");
  for (const char* item : options::kScanTimeItems) cboScanTime->addItem(item);
  cboScanTime->setAccessibleName(lblScanSet[4]->text());
  grid->addWidget(cboScanTime, 4, 1);

  auto list = [&](int index, int row, const std::array<const char*, 2>& items) {
    auto* r = new kit::UpDownList(fraScanSet, {items[0], items[1]}, lblScanSet[static_cast<size_t>(row)]->text());
    r->list->setObjectName(QString("lstScanSet%1").arg(row));
    r->oneRowHigh();
    updChangeSelect[static_cast<size_t>(index)] = r;
    grid->addWidget(r, row, 1);
    connect(r->up, &QToolButton::clicked, this, [this, index] { updChangeSelect_Click(index, 0); });
    connect(r->down, &QToolButton::clicked, this, [this, index] { updChangeSelect_Click(index, 1); });
    return r->list;
  };
  lstScanDecodeQuit = list(0, 5, options::kOffOnItems);
  box(txtScanStartDelayTime, 6, "txtScanStartDelayTime", 4);
  box(txtPchWatchIntTime, 7, "txtPchWatchIntTime", 4);
  for (int i = 0; i < 2; ++i) {
    auto* unit = new QLabel(q(LoadResString(1437)), fraScanSet);
    unit->setObjectName(QString("Label1%1").arg(i));
    Label1[static_cast<size_t>(i)] = unit;
    grid->addWidget(unit, 6 + i, 2);
  }
  const QString timeTip = q(LoadResString(1438));
  txtScanStartDelayTime->setToolTip(timeTip);
  txtPchWatchIntTime->setToolTip(timeTip);
  lstRemoteScanControl = list(1, 8, options::kOffOnItems);
  lstRemoteScanChannel = list(2, 9, options::kRemoteScanChannelItems);
  lstPriorityChannelChange = list(3, 10, options::kDisableEnableItems);
  lstAutoAllChannelScan = list(4, 11, options::kDisableEnableItems);
  root->addWidget(fraScanSet);

  fraAction = new QGroupBox(this);
  auto* actions = new QHBoxLayout(fraAction);
  CmdAction[1] = new QPushButton(fraAction);
  CmdAction[1]->setObjectName("CmdAction1");
  CmdAction[1]->setToolTip(q(LoadResString(1439)));
  actions->addWidget(CmdAction[1]);
  root->addWidget(fraAction);
  connect(CmdAction[1], &QPushButton::clicked, this, [this] { CmdAction_Click(1); });

  // Each mask character governs its label, its control and the control's
  // unit label or arrows.
  for (int i = 0; i < options::kScanFields; ++i) {
    const auto f = static_cast<ScanField>(i);
    std::vector<QWidget*> plain{lblScanSet[static_cast<size_t>(i)]};
    if (f == ScanField::ScanStartDelayTime) plain.push_back(Label1[0]);
    if (f == ScanField::PchWatchIntTime) plain.push_back(Label1[1]);
    for (size_t k = 0; k < kListFields.size(); ++k)
      if (kListFields[k] == f) plain.insert(plain.end(), {updChangeSelect[k]->up, updChangeSelect[k]->down});
    maskRows_.add(i + 1, plain, {control(f)});
  }

  kit::Events* ev = kit_.events;
  for (QLineEdit* b : {txtAllScanPchLOW, txtAllScanPchHIGH, txtPrgScanPchLOW, txtPrgScanPchHIGH, txtScanStartDelayTime,
                       txtPchWatchIntTime}) {
    const bool time = b == txtScanStartDelayTime || b == txtPchWatchIntTime;
    ev->lostFocus(b, [this, b] { txtBox_LostFocus(b); });
    ev->keyDown(b, [this, b, time](QKeyEvent* e) {
      if (txtBox_KeyPress(b, vbui::keyCode(e))) return true;
      return kit::refusedCharacter(e, time ? kTimeKeys : kChannelKeys);
    });
    if (time) ev->keyUp(b, [this, b](QKeyEvent* e) { txtTime_KeyUp(b, vbui::keyCode(e)); });
  }
  for (int k = 0; k < 5; ++k) {
    QListWidget* l = updChangeSelect[static_cast<size_t>(k)]->list;
    ev->gotFocus(l, [this, k] { lstList_GotFocus(k); });
    ev->lostFocus(l, [this, k] { lstList_LostFocus(k); });
    ev->keyDown(l, [this, k](QKeyEvent* e) {
      const int code = vbui::keyCode(e);
      lstList_KeyPress(k, code);
      return code == kEscape;
    });
  }
  ev->keyDown(cboScanTime, [this](QKeyEvent* e) {
    const int code = vbui::keyCode(e);
    cboScanTime_KeyPress(code);
    return code == kEscape;
  });
  connect(cboScanTime, &QComboBox::currentIndexChanged, this, [this] { cboScanTime_Change(); });
  connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });
  txtEndForcus = kit_.makeSink([this] { txtEndForcus_GotFocus(); });
  noDefaultButtons(this);
}

QWidget* FrmScanSet::control(ScanField f) const {
  switch (f) {
    case ScanField::AllScanPchLow: return txtAllScanPchLOW;
    case ScanField::AllScanPchHigh: return txtAllScanPchHIGH;
    case ScanField::PrgScanPchLow: return txtPrgScanPchLOW;
    case ScanField::PrgScanPchHigh: return txtPrgScanPchHIGH;
    case ScanField::ScanTime: return cboScanTime;
    case ScanField::ScanDecodeQuit: return lstScanDecodeQuit;
    case ScanField::ScanStartDelayTime: return txtScanStartDelayTime;
    case ScanField::PchWatchIntTime: return txtPchWatchIntTime;
    case ScanField::RemoteScanControl: return lstRemoteScanControl;
    case ScanField::RemoteScanChannel: return lstRemoteScanChannel;
    case ScanField::PriorityChannelChange: return lstPriorityChannelChange;
    case ScanField::AutoAllChannelScan: break;
  }
  return lstAutoAllChannelScan;
}

int FrmScanSet::fieldOf(const QWidget* w) const {
  for (int i = 0; i < options::kScanFields; ++i)
    if (w && control(static_cast<ScanField>(i)) == w) return i;
  return -1;
}

int FrmScanSet::listField(int index) const { return options::index(kListFields[static_cast<size_t>(index)]); }

void FrmScanSet::Form_Load() {
  ModPublic& m = modPublic;
  placeFromMainMenu(600, 2500);
  setCaption(std::string(app::kTitle) + "-" + "ScanSet");
  const uint32_t colour = vb::ColorValue(m.strLabelColor);
  for (QWidget* w : std::initializer_list<QWidget*>{this, fraScanSet, fraAction}) vbui::setBackColor(w, colour);
  plainButtonColours(this);
  fraScanSet->setTitle(q(LoadResString(1435)));
  fraAction->setTitle(q(LoadResString(161)));

  // The mask row offers a setting only where the family's layout keeps it.
  enables_ = options::scanEnables();
  std::string offered(40, '0');
  for (int i = 0; i < options::kScanFields; ++i) offered[static_cast<size_t>(i)] = enables_[static_cast<size_t>(i)] ? '1' : '0';
  maskRows_.apply(offered);

  layout_ = options::chanLayout();
  intMaxChannel = static_cast<int16_t>(layout_.lastChannel);
  intBankSplit = static_cast<int16_t>(layout_.split);
  CmdAction[1]->setText(q(LoadResString(780)));
  {
    const kit::Busy::Hold hold(kit_.busy);
    values = options::subGetScanData(enables_);
  }
  asLoaded_ = values;
  adjustSize();
}

void FrmScanSet::Form_Activate() { subShowScanData(); }

void FrmScanSet::Form_Unload(bool& cancel) {
  (void)cancel;
  subPutScanData();
}

void FrmScanSet::subPutScanData() { options::subPutScanData(values, enables_, asLoaded_); }

void FrmScanSet::subShowScanData() {
  const kit::Busy::Hold hold(kit_.busy);
  txtAllScanPchLOW->setText(q(values.strAllScanPchLow));
  txtAllScanPchHIGH->setText(q(values.strAllScanPchHigh));
  txtPrgScanPchLOW->setText(q(values.strPrgScanPchLow));
  txtPrgScanPchHIGH->setText(q(values.strPrgScanPchHigh));
  const int time = options::channelNumber(values.strScanTime);
  cboScanTime->setCurrentIndex(time >= 0 && time < cboScanTime->count() ? time : -1);
  txtScanStartDelayTime->setText(q(values.strScanStartDelayTime));
  txtPchWatchIntTime->setText(q(values.strPchWatchIntTime));
  // The lists show their entry without highlighting it.
  for (int k = 0; k < 5; ++k) {
    QListWidget* l = updChangeSelect[static_cast<size_t>(k)]->list;
    l->setCurrentRow(-1);
    l->clearSelection();
    updChangeSelect[static_cast<size_t>(k)]->showValue(options::channelNumber(values[kListFields[static_cast<size_t>(k)]]));
  }
}

bool FrmScanSet::InputDataCheck(QWidget* field) {
  if (blnDataSetting()) return false;
  const int i = fieldOf(field);
  auto* box = qobject_cast<QLineEdit*>(field);
  if (i < 0 || !box || !box->isEnabled()) return true;
  const auto f = static_cast<ScanField>(i);
  std::string text = box->text().toStdString();
  int message = 0;
  if (isTimeField(f)) {
    message = options::delayTimeMessage(text);
    box->setText(q(text));
    // What the page already holds passes as it is: a stored delay outside
    // the range the page accepts stays until the user types another.
    if (text == values[f]) return true;
  } else {
    if (text == values[f]) return true;
    auto* partner = qobject_cast<QLineEdit*>(control(partnerOf(f)));
    message = options::channelRefMessage(text, partner->text().toStdString(), isProgramScanField(f),
                                         layout_.family == 0 && isProgramScanField(f), layout_,
                                         modPublic.bytRadioData);
  }
  if (message == 0) return true;
  intSoundMsgBox(SoundKind::Information, options::checkMessageText(message), "InputDataCheck");
  return false;
}

void FrmScanSet::closeAfter(QWidget* field) {
  const int i = fieldOf(field);
  if (auto* box = qobject_cast<QLineEdit*>(field)) {
    values[static_cast<ScanField>(i)] = box->text().toStdString();
  } else if (auto* l = qobject_cast<QListWidget*>(field)) {
    if (l->currentRow() >= 0) values[static_cast<ScanField>(i)] = std::to_string(l->currentRow());
  } else if (field == cboScanTime && cboScanTime->currentIndex() >= 0) {
    values.strScanTime = std::to_string(cboScanTime->currentIndex());
  }
  txtEndForcus->clearMark();
  Unload();
}

void FrmScanSet::txtBox_LostFocus(QLineEdit* box) {
  if (blnDataSetting() || !isLoaded()) return;
  leaving_ = box;
  kit_.leaveField(box, values[static_cast<ScanField>(fieldOf(box))]);
}

bool FrmScanSet::txtBox_KeyPress(QLineEdit* box, int keyCode) {
  if (keyCode != kEscape) return false;
  if (InputDataCheck(box)) closeAfter(box);
  else kit_.refuse(box);
  return true;
}

void FrmScanSet::txtTime_KeyUp(QLineEdit* box, int keyCode) {
  if (keyCode != kEnter) return;
  std::string text = box->text().toStdString();
  options::delayTimeMessage(text);
  box->setText(q(text));
}

void FrmScanSet::lstList_GotFocus(int index) {
  if (blnDataSetting()) return;
  kit_.listGotFocus(updChangeSelect[static_cast<size_t>(index)]->list, values[kListFields[static_cast<size_t>(index)]]);
}

void FrmScanSet::lstList_LostFocus(int index) {
  if (blnDataSetting() || !isLoaded()) return;
  QListWidget* l = updChangeSelect[static_cast<size_t>(index)]->list;
  std::string& saved = values[kListFields[static_cast<size_t>(index)]];
  leaving_ = l;
  kit_.listLostFocus(l, saved);
  updChangeSelect[static_cast<size_t>(index)]->showValue(options::channelNumber(saved));
}

void FrmScanSet::lstList_KeyPress(int index, int keyCode) {
  if (keyCode != kEscape) return;
  QListWidget* l = updChangeSelect[static_cast<size_t>(index)]->list;
  if (InputDataCheck(l)) closeAfter(l);
  else kit_.refuse(l);
}

void FrmScanSet::updChangeSelect_Click(int index, int direction) {
  if (blnDataSetting() || index < 0 || index >= 5) return;
  QListWidget* l = updChangeSelect[static_cast<size_t>(index)]->list;
  // Arrows beside a disabled list never give it the focus or a value.
  if (!l->isEnabled()) return;
  // The focus moves to the list: the field that has it is being left.
  leaving_ = focusWidget();
  kit_.listStep(l, values[kListFields[static_cast<size_t>(index)]], direction);
}

void FrmScanSet::cboScanTime_Change() {
  if (blnDataSetting()) return;
  leaving_ = focusWidget();
  kit_.comboChanged(cboScanTime, values.strScanTime);
}

void FrmScanSet::cboScanTime_KeyPress(int keyCode) {
  if (keyCode != kEscape) return;
  if (InputDataCheck(cboScanTime)) closeAfter(cboScanTime);
  else kit_.refuse(cboScanTime);
}

void FrmScanSet::CmdAction_Click(int index) {
  if (index != 1) return;
  subPutScanData();
  Unload();
}

void FrmScanSet::txtEndForcus_GotFocus() {
  if (!isLoaded()) return;
  subPutScanData();
  Unload();
}

void FrmScanSet::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, "Scan Set Menu"); }

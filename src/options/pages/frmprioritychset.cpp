#include "options/pages/frmprioritychset.h"

#include <QAction>
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
#include "core/soundmsg.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/helpviewer.h"

using options::PriorityField;

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

constexpr const char* kChannelKeys = "0123456789";
constexpr int kEscape = 27;
constexpr std::array<PriorityField, 2> kListFields = {PriorityField::PriorityChChange, PriorityField::AutoScan};

PriorityField partnerOf(PriorityField f) {
  switch (f) {
    case PriorityField::PriorityChannelLow: return PriorityField::PriorityChannelHigh;
    case PriorityField::PriorityChannelHigh: return PriorityField::PriorityChannelLow;
    case PriorityField::ScanPriorityChLow: return PriorityField::ScanPriorityChHigh;
    default: return PriorityField::ScanPriorityChLow;
  }
}
}  // namespace

FrmPriorityCHSet::FrmPriorityCHSet(QWidget* parent)
    : Page(parent), kit_(this, [this] { return InputDataCheck(leaving_); }, [this] { subSetPriorityControls(); }) {
  setObjectName("frmPriorityCHSet");
  auto* root = new QVBoxLayout(this);
  menuBar = new QMenuBar(this);
  mnuHelp = menuBar->addAction("Help(&H)");
  root->setMenuBar(menuBar);

  fraPriorityCHSet = new QGroupBox(this);
  auto* grid = new QGridLayout(fraPriorityCHSet);
  for (int i = 0; i < 6; ++i) {
    auto* l = new QLabel(q(LoadResString(800 + i)), fraPriorityCHSet);
    l->setObjectName(QString("lblPriorityCHSet%1").arg(i));
    lblPriorityCHSet[static_cast<size_t>(i)] = l;
    grid->addWidget(l, i, 0);
  }
  auto box = [&](QLineEdit*& e, int row, const char* name) {
    e = new QLineEdit(fraPriorityCHSet);
    e->setObjectName(name);
    e->setMaxLength(3);
    e->setAccessibleName(lblPriorityCHSet[static_cast<size_t>(row)]->text());
    grid->addWidget(e, row, 1);
  };
  box(txtPriorityChannelLOW, 0, "txtPriorityChannelLOW");
  box(txtPriorityChannelHIGH, 1, "txtPriorityChannelHIGH");
  box(txtScanPriorityCHLOW, 2, "txtScanPriorityCHLOW");
  box(txtScanPriorityCHHIGH, 3, "txtScanPriorityCHHIGH");
  for (int k = 0; k < 2; ++k) {
    const int row = 4 + k;
    auto* r = new kit::UpDownList(fraPriorityCHSet, {options::kPriorityListItems[0], options::kPriorityListItems[1]},
                                  lblPriorityCHSet[static_cast<size_t>(row)]->text());
    r->list->setObjectName(k == 0 ? "lstPriorityCHChange" : "lstAutoScan");
    r->oneRowHigh();
    updChangeSelect[static_cast<size_t>(k)] = r;
    grid->addWidget(r, row, 1);
    connect(r->up, &QToolButton::clicked, this, [this, k] { updChangeSelect_Click(k, 0); });
    connect(r->down, &QToolButton::clicked, this, [this, k] { updChangeSelect_Click(k, 1); });
  }
  lstPriorityCHChange = updChangeSelect[0]->list;
  lstAutoScan = updChangeSelect[1]->list;
  root->addWidget(fraPriorityCHSet);

  fraAction = new QGroupBox(this);
  auto* actions = new QHBoxLayout(fraAction);
  CmdAction[1] = new QPushButton(fraAction);
  CmdAction[1]->setObjectName("CmdAction1");
  CmdAction[1]->setToolTip(q(LoadResString(1439)));
  actions->addWidget(CmdAction[1]);
  root->addWidget(fraAction);
  connect(CmdAction[1], &QPushButton::clicked, this, [this] { CmdAction_Click(1); });

  kit::Events* ev = kit_.events;
  for (QLineEdit* b : {txtPriorityChannelLOW, txtPriorityChannelHIGH, txtScanPriorityCHLOW, txtScanPriorityCHHIGH}) {
    ev->lostFocus(b, [this, b] { txtBox_LostFocus(b); });
    ev->keyDown(b, [this, b](QKeyEvent* e) {
      if (txtBox_KeyPress(b, vbui::keyCode(e))) return true;
      return kit::refusedCharacter(e, kChannelKeys);
    });
  }
  for (int k = 0; k < 2; ++k) {
    QListWidget* l = updChangeSelect[static_cast<size_t>(k)]->list;
    ev->gotFocus(l, [this, k] { lstList_GotFocus(k); });
    ev->lostFocus(l, [this, k] { lstList_LostFocus(k); });
    ev->keyDown(l, [this, k](QKeyEvent* e) {
      const int code = vbui::keyCode(e);
      lstList_KeyPress(k, code);
      return code == kEscape;
    });
  }
  connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });
  txtEndForcus = kit_.makeSink([this] { txtEndForcus_GotFocus(); });
  noDefaultButtons(this);
}

QWidget* FrmPriorityCHSet::control(PriorityField f) const {
  switch (f) {
    case PriorityField::PriorityChannelLow: return txtPriorityChannelLOW;
    case PriorityField::PriorityChannelHigh: return txtPriorityChannelHIGH;
    case PriorityField::ScanPriorityChLow: return txtScanPriorityCHLOW;
    case PriorityField::ScanPriorityChHigh: return txtScanPriorityCHHIGH;
    case PriorityField::PriorityChChange: return lstPriorityCHChange;
    case PriorityField::AutoScan: break;
  }
  return lstAutoScan;
}

int FrmPriorityCHSet::fieldOf(const QWidget* w) const {
  for (int i = 0; i < options::kPriorityFields; ++i)
    if (w && control(static_cast<PriorityField>(i)) == w) return i;
  return -1;
}

void FrmPriorityCHSet::Form_Load() {
  placeFromMainMenu(1800, 2500);
  setCaption(std::string(app::kTitle) + "-" + "Priority CH Set");
  const uint32_t colour = vb::ColorValue(modPublic.strLabelColor);
  for (QWidget* w : std::initializer_list<QWidget*>{this, fraPriorityCHSet, fraAction}) vbui::setBackColor(w, colour);
  plainButtonColours(this);
  fraPriorityCHSet->setTitle(q(LoadResString(1436)));
  fraAction->setTitle(q(LoadResString(161)));

  // No mask row: a setting is offered where the family's layout keeps it.
  layout_ = options::chanLayout();
  enables_ = options::priorityEnables(layout_.family);
  for (int i = 0; i < options::kPriorityFields; ++i) {
    const bool on = enables_[static_cast<size_t>(i)];
    lblPriorityCHSet[static_cast<size_t>(i)]->setEnabled(on);
    kit::setEnabledPainted(control(static_cast<PriorityField>(i)), on);
  }
  for (kit::UpDownList* r : updChangeSelect) r->setArrowsEnabled(r->list->isEnabled());
  intMaxChannel = static_cast<int16_t>(layout_.lastChannel);
  intBankSplit = static_cast<int16_t>(layout_.split);
  CmdAction[1]->setText(q(LoadResString(780)));
  values = options::subGetPriorityData(enables_);
  asLoaded_ = values;
  adjustSize();
}

void FrmPriorityCHSet::Form_Activate() { subSetPriorityControls(); }

void FrmPriorityCHSet::Form_Unload(bool& cancel) {
  (void)cancel;
  subPutPriorityData();
}

void FrmPriorityCHSet::subPutPriorityData() { options::subPutPriorityData(values, enables_, asLoaded_); }

void FrmPriorityCHSet::subSetPriorityControls() {
  const kit::Busy::Hold hold(kit_.busy);
  for (int i = 0; i < 4; ++i) {
    const auto f = static_cast<PriorityField>(i);
    qobject_cast<QLineEdit*>(control(f))->setText(q(values[f]));
  }
  for (size_t k = 0; k < kListFields.size(); ++k) {
    QListWidget* l = updChangeSelect[k]->list;
    l->setCurrentRow(-1);
    l->clearSelection();
    updChangeSelect[k]->showValue(options::channelNumber(values[kListFields[k]]));
  }
}

bool FrmPriorityCHSet::InputDataCheck(QWidget* field) {
  if (kit_.busy.on()) return false;
  const int i = fieldOf(field);
  auto* box = qobject_cast<QLineEdit*>(field);
  if (i < 0 || !box || !box->isEnabled()) return true;
  const auto f = static_cast<PriorityField>(i);
  const std::string text = box->text().toStdString();
  if (text == values[f]) return true;
  auto* partner = qobject_cast<QLineEdit*>(control(partnerOf(f)));
  const int message =
      options::priorityChannelMessage(f, text, partner->text().toStdString(), layout_, modPublic.bytRadioData);
  if (message == 0) return true;
  intSoundMsgBox(SoundKind::Information, options::checkMessageText(message), "InputDataCheck");
  return false;
}

void FrmPriorityCHSet::closeAfter(QWidget* field) {
  const int i = fieldOf(field);
  if (auto* box = qobject_cast<QLineEdit*>(field)) {
    values[static_cast<PriorityField>(i)] = box->text().toStdString();
  } else if (auto* l = qobject_cast<QListWidget*>(field)) {
    if (l->currentRow() >= 0) values[static_cast<PriorityField>(i)] = std::to_string(l->currentRow());
  }
  txtEndForcus->clearMark();
  Unload();
}

void FrmPriorityCHSet::txtBox_LostFocus(QLineEdit* box) {
  if (kit_.busy.on() || !isLoaded()) return;
  leaving_ = box;
  kit_.leaveField(box, values[static_cast<PriorityField>(fieldOf(box))]);
}

bool FrmPriorityCHSet::txtBox_KeyPress(QLineEdit* box, int keyCode) {
  if (keyCode != kEscape) return false;
  if (InputDataCheck(box)) closeAfter(box);
  else kit_.refuse(box);
  return true;
}

void FrmPriorityCHSet::lstList_GotFocus(int index) {
  if (kit_.busy.on()) return;
  kit_.listGotFocus(updChangeSelect[static_cast<size_t>(index)]->list, values[kListFields[static_cast<size_t>(index)]]);
}

void FrmPriorityCHSet::lstList_LostFocus(int index) {
  if (kit_.busy.on() || !isLoaded()) return;
  QListWidget* l = updChangeSelect[static_cast<size_t>(index)]->list;
  std::string& saved = values[kListFields[static_cast<size_t>(index)]];
  leaving_ = l;
  kit_.listLostFocus(l, saved);
  updChangeSelect[static_cast<size_t>(index)]->showValue(options::channelNumber(saved));
}

void FrmPriorityCHSet::lstList_KeyPress(int index, int keyCode) {
  if (keyCode != kEscape) return;
  QListWidget* l = updChangeSelect[static_cast<size_t>(index)]->list;
  if (InputDataCheck(l)) closeAfter(l);
  else kit_.refuse(l);
}

void FrmPriorityCHSet::updChangeSelect_Click(int index, int direction) {
  if (kit_.busy.on() || index < 0 || index >= 2) return;
  QListWidget* l = updChangeSelect[static_cast<size_t>(index)]->list;
  if (!l->isEnabled()) return;
  leaving_ = focusWidget();
  kit_.listStep(l, values[kListFields[static_cast<size_t>(index)]], direction);
}

void FrmPriorityCHSet::CmdAction_Click(int index) {
  if (index == 1) Unload();
}

void FrmPriorityCHSet::txtEndForcus_GotFocus() {
  if (!isLoaded()) return;
  subPutPriorityData();
  Unload();
}

void FrmPriorityCHSet::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, "Priority Channel Set Menu"); }

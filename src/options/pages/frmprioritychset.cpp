#include "options/pages/frmprioritychset.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "core/modpublic.h"

using options::PriorityField;

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

constexpr const char* kChannelKeys = "0123456789";

PriorityField partnerOf(PriorityField f) {
  switch (f) {
    case PriorityField::PriorityChannelLow: return PriorityField::PriorityChannelHigh;
    case PriorityField::PriorityChannelHigh: return PriorityField::PriorityChannelLow;
    case PriorityField::ScanPriorityChLow: return PriorityField::ScanPriorityChHigh;
    default: return PriorityField::ScanPriorityChLow;
  }
}
}  // namespace

FrmPriorityCHSet::FrmPriorityCHSet(QWidget* parent) : ScanPageBase(parent, "Priority Channel Set Menu") {
  setObjectName("frmPriorityCHSet");
  fraPriorityCHSet = makeFrame(800, 6, "lblPriorityCHSet");
  for (size_t i = 0; i < lblPriorityCHSet.size(); ++i) lblPriorityCHSet[i] = labels_[i];
  txtPriorityChannelLOW = addBox(0, "txtPriorityChannelLOW", 3, kChannelKeys);
  txtPriorityChannelHIGH = addBox(1, "txtPriorityChannelHIGH", 3, kChannelKeys);
  txtScanPriorityCHLOW = addBox(2, "txtScanPriorityCHLOW", 3, kChannelKeys);
  txtScanPriorityCHHIGH = addBox(3, "txtScanPriorityCHHIGH", 3, kChannelKeys);
  const QStringList items = {options::kPriorityListItems[0], options::kPriorityListItems[1]};
  lstPriorityCHChange = addList(4, static_cast<int>(PriorityField::PriorityChChange), items);
  lstAutoScan = addList(5, static_cast<int>(PriorityField::AutoScan), items);
  lstPriorityCHChange->setObjectName("lstPriorityCHChange");
  lstAutoScan->setObjectName("lstAutoScan");
  finish();
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
  loadLayout(1800, 2500, "Priority CH Set", 1436);
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
  values = options::subGetPriorityData(enables_);
  asLoaded_ = values;
  adjustSize();
}

void FrmPriorityCHSet::putValues() { options::subPutPriorityData(values, enables_, asLoaded_); }

void FrmPriorityCHSet::subSetPriorityControls() {
  const kit::Busy::Hold hold(kit_.busy);
  for (int i = 0; i < 4; ++i) {
    const auto f = static_cast<PriorityField>(i);
    qobject_cast<QLineEdit*>(control(f))->setText(q(values[f]));
  }
  showLists();
}

bool FrmPriorityCHSet::InputDataCheck(QWidget* w) {
  if (blnDataSetting()) return false;
  const int i = fieldOf(w);
  auto* box = qobject_cast<QLineEdit*>(w);
  if (i < 0 || !box || !box->isEnabled()) return true;
  const auto f = static_cast<PriorityField>(i);
  const std::string text = box->text().toStdString();
  if (text == values[f]) return true;
  const auto* partner = qobject_cast<QLineEdit*>(control(partnerOf(f)));
  return passes(options::priorityChannelMessage(f, text, partner->text().toStdString(), layout_, modPublic.bytRadioData));
}

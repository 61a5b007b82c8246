#include "options/pages/frmscanset.h"

#include <QComboBox>
#include <QGroupBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>

#include "core/modpublic.h"
#include "platform/base/strtable.h"

using options::ScanField;

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

constexpr const char* kChannelKeys = "0123456789";
constexpr const char* kTimeKeys = "0123456789.";
constexpr int kEnter = 13;
constexpr int kEscape = 27;

QStringList entries(const std::array<const char*, 2>& items) { return {items[0], items[1]}; }
int field(ScanField f) { return options::index(f); }
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

FrmScanSet::FrmScanSet(QWidget* parent) : ScanPageBase(parent, "Scan Set Menu") {
  setObjectName("frmScanSet");
  fraScanSet = makeFrame(700, 12, "lblScanSet");
  for (size_t i = 0; i < lblScanSet.size(); ++i) lblScanSet[i] = labels_[i];
  txtAllScanPchLOW = addBox(0, "txtAllScanPchLOW", 3, kChannelKeys);
  txtAllScanPchHIGH = addBox(1, "txtAllScanPchHIGH", 3, kChannelKeys);
  txtPrgScanPchLOW = addBox(2, "txtPrgScanPchLOW", 3, kChannelKeys);
  txtPrgScanPchHIGH = addBox(3, "txtPrgScanPchHIGH", 3, kChannelKeys);
  cboScanTime = new QComboBox(fraScanSet);
  cboScanTime->setObjectName("cboScanTime");
  for (const char* item : options::kScanTimeItems) cboScanTime->addItem(item);
  cboScanTime->setAccessibleName(lblScanSet[4]->text());
  grid_->addWidget(cboScanTime, 4, 1);
  lstScanDecodeQuit = addList(5, field(ScanField::ScanDecodeQuit), entries(options::kOffOnItems));
  txtScanStartDelayTime = addBox(6, "txtScanStartDelayTime", 4, kTimeKeys);
  txtPchWatchIntTime = addBox(7, "txtPchWatchIntTime", 4, kTimeKeys);
  const QString timeTip = q(LoadResString(1438));
  for (int i = 0; i < 2; ++i) {
    auto* unit = new QLabel(q(LoadResString(1437)), fraScanSet);
    unit->setObjectName(QString("Label1%1").arg(i));
    Label1[static_cast<size_t>(i)] = unit;
    grid_->addWidget(unit, 6 + i, 2);
    QLineEdit* box = i == 0 ? txtScanStartDelayTime : txtPchWatchIntTime;
    box->setToolTip(timeTip);
    kit_.events->keyUp(box, [this, box](QKeyEvent* e) { txtTime_KeyUp(box, vbui::keyCode(e)); });
  }
  lstRemoteScanControl = addList(8, field(ScanField::RemoteScanControl), entries(options::kOffOnItems));
  lstRemoteScanChannel = addList(9, field(ScanField::RemoteScanChannel), entries(options::kRemoteScanChannelItems));
  lstPriorityChannelChange = addList(10, field(ScanField::PriorityChannelChange), entries(options::kDisableEnableItems));
  lstAutoAllChannelScan = addList(11, field(ScanField::AutoAllChannelScan), entries(options::kDisableEnableItems));

  // Each mask character governs its label, its control and the control's
  // unit label or arrows.
  for (int i = 0; i < options::kScanFields; ++i) {
    const auto f = static_cast<ScanField>(i);
    std::vector<QWidget*> plain{lblScanSet[static_cast<size_t>(i)]};
    if (f == ScanField::ScanStartDelayTime) plain.push_back(Label1[0]);
    if (f == ScanField::PchWatchIntTime) plain.push_back(Label1[1]);
    for (size_t k = 0; k < updChangeSelect.size(); ++k)
      if (listFields_[k] == i) {
        plain.push_back(updChangeSelect[k]->up);
        plain.push_back(updChangeSelect[k]->down);
      }
    maskRows_.add(i + 1, plain, {control(f)});
  }
  kit_.events->keyDown(cboScanTime, [this](QKeyEvent* e) {
    const int code = vbui::keyCode(e);
    cboScanTime_KeyPress(code);
    return code == kEscape;
  });
  connect(cboScanTime, &QComboBox::currentIndexChanged, this, [this] { cboScanTime_Change(); });
  finish();
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

void FrmScanSet::Form_Load() {
  loadLayout(600, 2500, "ScanSet", 1435);
  // The mask row offers a setting only where the family's layout keeps it.
  enables_ = options::scanEnables();
  std::string offered(40, '0');
  for (int i = 0; i < options::kScanFields; ++i) offered[static_cast<size_t>(i)] = enables_[static_cast<size_t>(i)] ? '1' : '0';
  maskRows_.apply(offered);
  layout_ = options::chanLayout();
  intMaxChannel = static_cast<int16_t>(layout_.lastChannel);
  intBankSplit = static_cast<int16_t>(layout_.split);
  {
    const kit::Busy::Hold hold(kit_.busy);
    values = options::subGetScanData(enables_);
  }
  asLoaded_ = values;
  adjustSize();
}

void FrmScanSet::putValues() { options::subPutScanData(values, enables_, asLoaded_); }

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
  showLists();
}

bool FrmScanSet::InputDataCheck(QWidget* w) {
  if (blnDataSetting()) return false;
  const int i = fieldOf(w);
  auto* box = qobject_cast<QLineEdit*>(w);
  if (i < 0 || !box || !box->isEnabled()) return true;
  const auto f = static_cast<ScanField>(i);
  std::string text = box->text().toStdString();
  if (isTimeField(f)) {
    const int message = options::delayTimeMessage(text);
    box->setText(q(text));
    // What the page already holds passes as it is: a stored delay outside
    // the range the page accepts stays until the user types another.
    return text == values[f] || passes(message);
  }
  if (text == values[f]) return true;
  const auto* partner = qobject_cast<QLineEdit*>(control(partnerOf(f)));
  const bool programScan = isProgramScanField(f);
  return passes(options::channelRefMessage(text, partner->text().toStdString(), programScan,
                                           layout_.family == 0 && programScan, layout_, modPublic.bytRadioData));
}

void FrmScanSet::txtTime_KeyUp(QLineEdit* box, int keyCode) {
  if (keyCode != kEnter) return;
  std::string text = box->text().toStdString();
  options::delayTimeMessage(text);
  box->setText(q(text));
}

void FrmScanSet::cboScanTime_Change() {
  if (blnDataSetting()) return;
  // A change made with the focus elsewhere leaves that field.
  leaving_ = focusWidget();
  kit_.comboChanged(cboScanTime, values.strScanTime);
}

void FrmScanSet::cboScanTime_KeyPress(int keyCode) {
  if (keyCode != kEscape) return;
  if (!InputDataCheck(cboScanTime)) {
    kit_.refuse(cboScanTime);
    return;
  }
  // Nothing chosen keeps the working value: -1 is no scan time.
  if (cboScanTime->currentIndex() >= 0) values.strScanTime = std::to_string(cboScanTime->currentIndex());
  closeAfter(cboScanTime);
}

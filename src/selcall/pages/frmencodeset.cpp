#include "selcall/pages/frmencodeset.h"

#include <QAction>
#include <QCheckBox>
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
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/chanrows.h"
#include "core/modpublic.h"
#include "core/pages/pagekit.h"
#include "core/soundmsg.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/helpviewer.h"
#include "selcall/digits.h"

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

const char* kHexTip = "Valid Data : 0 1 2 3 4 5 6 7 8 9 A B C D E F";
const char* kKeyTip = "Valid Data = 1 2 3 4 5 6 7 8 9 0 * # A B C D";
const int kFormats[5] = {0, 2, 4, 6, 7};
const int kFormatCaptions[8] = {500, 0, 502, 0, 501, 0, 503, 504};

bool isDtmf(const std::string& format) { return format == "2" || format == "6"; }
bool isFiveTone(const std::string& format) { return format == "0" || format == "4"; }
digits::Form formOf(const std::string& codeForm) { return codeForm == "C" ? digits::Form::Key : digits::Form::Hex; }

void fill(QComboBox* combo, const std::vector<std::string>& entries) {
  combo->clear();
  for (const std::string& e : entries) combo->addItem(q(e));
}

int indexOf(const std::string& saved) { return static_cast<int>(vb::CInt(vb::Val(saved))); }

// A number with at most one decimal point: what "#0.0" can format.
bool isNumber(const QString& t) {
  static const QRegularExpression number(R"(^\s*(\d+\.?\d*|\.\d+)\s*$)");
  return number.match(t).hasMatch();
}
}  // namespace

FrmEncodeSet::FrmEncodeSet(QWidget* parent)
    : Page(parent), kit(this, [this] { return InputDataCheck(); }, [this] { subRestoreEncodeControls(); }) {
  setObjectName("frmEncodeSet");
  auto* root = new QVBoxLayout(this);
  menuBar = new QMenuBar(this);
  mnuHelp = menuBar->addAction(QString());
  root->setMenuBar(menuBar);

  auto* body = new QHBoxLayout;
  root->addLayout(body);
  auto* left = new QVBoxLayout;
  body->addLayout(left);

  fraEncodeMenu = new QGroupBox(this);
  auto* menu = new QVBoxLayout(fraEncodeMenu);
  for (int index : kFormats) {
    auto* b = new QRadioButton(fraEncodeMenu);
    b->setObjectName(QString("optEncodeMenu%1").arg(index));
    optEncodeMenu[static_cast<size_t>(index)] = b;
    menu->addWidget(b);
    // A press that did not move the focus (a screen reader's) leaves the
    // field being edited first, as a click would, so that the switch
    // converts what was typed; a refused entry has put the format back.
    connect(b, &QRadioButton::toggled, this, [this, b, index](bool on) {
      if (on && !kit.busy.on() && kit.leaveFocusedField(b)) optEncodeMenu_Click(index);
    });
  }
  left->addWidget(fraEncodeMenu);

  fraSingleTone = new QGroupBox("Single Tone On/Off", this);
  auto* single = new QVBoxLayout(fraSingleTone);
  chkSingleTone = new QCheckBox(fraSingleTone);
  cboSingleToneEncodeTime = new QComboBox(fraSingleTone);
  single->addWidget(chkSingleTone);
  single->addWidget(cboSingleToneEncodeTime);
  left->addWidget(fraSingleTone);

  const kit::ActionFrame action = kit::makeActionFrame(this);
  fraAction = action.frame;
  CmdAction[1] = action.exit;
  left->addWidget(fraAction);
  left->addStretch();

  fraEncodeSetting = new QGroupBox(this);
  auto* grid = new QGridLayout(fraEncodeSetting);
  body->addWidget(fraEncodeSetting);
  // Thirty rows in two columns of fifteen: label, control, unit.
  auto place = [&](int row, QWidget* control, QWidget* unit = nullptr) {
    auto* label = new QLabel(fraEncodeSetting);
    label->setObjectName(QString("lblEncodeSetting%1").arg(row));
    lblEncodeSetting[static_cast<size_t>(row)] = label;
    const int r = row % 15, c = 3 * (row / 15);
    grid->addWidget(label, r, c);
    grid->addWidget(control, r, c + 1);
    if (unit) grid->addWidget(unit, r, c + 2);
    label->setBuddy(control);
  };
  auto combo = [&](QComboBox*& c, const char* name, int row) {
    c = new QComboBox(fraEncodeSetting);
    c->setObjectName(name);
    place(row, c);
  };
  auto box = [&](QLineEdit*& e, const char* name, int row, QLabel** unit = nullptr) {
    e = new QLineEdit(fraEncodeSetting);
    e->setObjectName(name);
    if (unit) {
      *unit = new QLabel("Sec", fraEncodeSetting);
      (*unit)->setObjectName(row == 15 ? "Label1" : "Label2");
    }
    place(row, e, unit ? *unit : nullptr);
  };
  combo(cbo5ToneSet, "cbo5ToneSet", 0);
  combo(cboEncodeDigit, "cboEncodeDigit", 1);
  box(txtEncodeNo, "txtEncodeNo", 2);
  combo(cboTonePeriod, "cboTonePeriod", 3);
  combo(cboEncodeDelay, "cboEncodeDelay", 4);
  combo(cboFrstToneTime, "cboFrstToneTime", 5);
  combo(cboRepeatToneNo, "cboRepeatToneNo", 6);
  combo(cboCallingTime, "cboCallingTime", 7);
  combo(cboEncodeFormat, "cboEncodeFormat", 8);
  combo(cboApauseTime, "cboApauseTime", 9);
  box(txtREncodeNo, "txtREncodeNo", 10);
  combo(cboRFirstToneTime, "cboRFirstToneTime", 11);
  combo(cboBpauseTime, "cboBpauseTime", 12);
  box(txtAniEncodeNo, "txtAniEncodeNo", 13);
  combo(cboAniEncodeMode, "cboAniEncodeMode", 14);
  box(txtAniIntervalTime, "txtAniIntervalTime", 15, &Label1);
  box(txtEmergencyNo, "txtEmergencyNo", 16);
  combo(cboEmergencyMode, "cboEmergencyMode", 17);
  box(txtEmergencyChannel, "txtEmergencyChannel", 18);
  combo(cboEmergencyTime, "cboEmergencyTime", 19);
  combo(cboEmergencyAlarm, "cboEmergencyAlarm", 20);
  const int listRows[6] = {21, 24, 25, 26, 27, 28};
  const EncList listKinds[6] = {EncList::CallRepeaterNo, EncList::LcdClearbyPtt, EncList::DtmfEncode,
                                EncList::AttachDecodeNo, EncList::AutoANIencode, EncList::EmergencySpeaker};
  const char* listNames[6] = {"lstCallRepeaterNo", "lstLcdClearbyPtt", "lstDtmfEncode",
                              "lstAttachDecodeNo", "lstAutoANIencode", "lstEmergencySpeaker"};
  for (int i = 0; i < 6; ++i) {
    QStringList entries;
    for (const std::string& e : encodeList(listKinds[i], 0)) entries << q(e);
    auto* list = new kit::UpDownList(fraEncodeSetting, entries, QString());
    list->list->setObjectName(listNames[i]);
    list->oneRowHigh();
    updChangeSelect[static_cast<size_t>(i)] = list;
  }
  lstCallRepeaterNo = updChangeSelect[0]->list;
  lstLcdClearbyPtt = updChangeSelect[1]->list;
  lstDtmfEncode = updChangeSelect[2]->list;
  lstAttachDecodeNo = updChangeSelect[3]->list;
  lstAutoANIencode = updChangeSelect[4]->list;
  lstEmergencySpeaker = updChangeSelect[5]->list;
  place(21, updChangeSelect[0]);
  box(txtTransferChannel, "txtTransferChannel", 22);
  box(txtTranferNo, "txtTranferNo", 23);
  for (int i = 1; i < 6; ++i) place(listRows[i], updChangeSelect[static_cast<size_t>(i)]);
  box(txtEmergencyKeyTime, "txtEmergencyKeyTime", 29, &Label2);
  for (int i = 0; i < 6; ++i) lblEncodeSetting[static_cast<size_t>(listRows[i])]->setBuddy(updChangeSelect[static_cast<size_t>(i)]->list);

  // Fixed lists (the tone-period list is built by the format switch, the
  // encode-delay list by family at load).
  fill(cbo5ToneSet, encodeList(EncList::FiveToneSet, 0));
  fill(cboEncodeDigit, encodeList(EncList::EncodeDigit, 0));
  fill(cboTonePeriod, encodeList(EncList::TonePeriod5, 0));
  for (int j = 0; j < cboTonePeriod->count(); ++j) cboTonePeriod->setItemData(j, tonePeriodCodes(false)[static_cast<size_t>(j)]);
  fill(cboFrstToneTime, encodeList(EncList::FirstToneTime, 0));
  fill(cboRepeatToneNo, encodeList(EncList::RepeatToneNo, 0));
  fill(cboCallingTime, encodeList(EncList::CallingTime, 0));
  fill(cboApauseTime, encodeList(EncList::ApauseTime, 0));
  fill(cboRFirstToneTime, encodeList(EncList::RFirstToneTime, 0));
  fill(cboBpauseTime, encodeList(EncList::BpauseTime, 0));
  fill(cboAniEncodeMode, encodeList(EncList::AniEncodeMode, 0));
  fill(cboEmergencyMode, encodeList(EncList::EmergencyMode, 0));
  fill(cboEmergencyTime, encodeList(EncList::EmergencyTime, 0));
  fill(cboEmergencyAlarm, encodeList(EncList::EmergencyAlarm, 0));
  fill(cboSingleToneEncodeTime, encodeList(EncList::SingleToneTime, 0));

  for (QLineEdit* e : {txtEncodeNo, txtREncodeNo, txtAniEncodeNo, txtEmergencyNo, txtTranferNo})
    kit::CodeBoxes::prepare(e, e == txtEncodeNo ? 15 : 8);
  txtEncodeNo->setText("FFFFFFFFFFFFFFF");
  for (QLineEdit* e : {txtREncodeNo, txtAniEncodeNo, txtEmergencyNo, txtTranferNo}) e->setText("FFFFFFFF");
  for (QLineEdit* e : {txtAniIntervalTime, txtEmergencyChannel, txtTransferChannel, txtEmergencyKeyTime})
    e->setMaxLength(3);
  for (QLineEdit* e : {txtEncodeNo, txtREncodeNo, txtAniEncodeNo, txtEmergencyNo, txtTranferNo})
    kit::fitWidth(e, kit::kCodeCharacters);
  for (QLineEdit* e : {txtAniIntervalTime, txtEmergencyChannel, txtTransferChannel})
    kit::fitWidth(e, kit::kDigitCharacters);
  kit::fitWidth(txtEmergencyKeyTime, QString(kit::kDigitCharacters) + ".");
  txtAniIntervalTime->setToolTip("Valid range : 0-255(sec)");
  txtEmergencyKeyTime->setToolTip("Valid range : 0.0-9.9(sec)");

  // Which controls each mask character governs; row 29's box and unit follow
  // its label.
  auto row = [&](int i, std::vector<QWidget*> plain, std::vector<QWidget*> controls) {
    plain.insert(plain.begin(), lblEncodeSetting[static_cast<size_t>(i)]);
    rows_.add(i + 1, plain, controls);
  };
  const std::array<QWidget*, 30> controls = {
      cbo5ToneSet,       cboEncodeDigit,      txtEncodeNo,         cboTonePeriod,      cboEncodeDelay,
      cboFrstToneTime,   cboRepeatToneNo,     cboCallingTime,      cboEncodeFormat,    cboApauseTime,
      txtREncodeNo,      cboRFirstToneTime,   cboBpauseTime,       txtAniEncodeNo,     cboAniEncodeMode,
      txtAniIntervalTime, txtEmergencyNo,     cboEmergencyMode,    txtEmergencyChannel, cboEmergencyTime,
      cboEmergencyAlarm, lstCallRepeaterNo,   txtTransferChannel,  txtTranferNo,       lstLcdClearbyPtt,
      lstDtmfEncode,     lstAttachDecodeNo,   lstAutoANIencode,    lstEmergencySpeaker, txtEmergencyKeyTime};
  for (int i = 0; i < 30; ++i) {
    std::vector<QWidget*> plain;
    if (i == 15) plain.push_back(Label1);
    if (i == 29) plain.push_back(Label2);
    for (int k = 0; k < 6; ++k)
      if (listRows[k] == i) {
        plain.push_back(updChangeSelect[static_cast<size_t>(k)]->up);
        plain.push_back(updChangeSelect[static_cast<size_t>(k)]->down);
      }
    row(i, plain, {controls[static_cast<size_t>(i)]});
  }

  // Tab order: the formats, the rows in order, single tone, Exit; the focus
  // sink comes last.
  std::vector<QWidget*> order;
  for (int index : kFormats) order.push_back(optEncodeMenu[static_cast<size_t>(index)]);
  order.insert(order.end(), controls.begin(), controls.end());
  order.insert(order.end(), {chkSingleTone, cboSingleToneEncodeTime, CmdAction[1]});
  for (size_t k = 1; k < order.size(); ++k) QWidget::setTabOrder(order[k - 1], order[k]);

  // Handlers.
  bindCombo(cbo5ToneSet, &EncodeValues::str5ToneSet);
  bindCombo(cboEncodeDigit, &EncodeValues::strEncodeDigit);
  bindCombo(cboTonePeriod, nullptr);
  bindCombo(cboEncodeDelay, &EncodeValues::strEncodeDelay);
  bindCombo(cboFrstToneTime, &EncodeValues::strFrstToneTime);
  bindCombo(cboRepeatToneNo, &EncodeValues::strRepeatToneNo);
  bindCombo(cboCallingTime, &EncodeValues::strCallingTime);
  bindCombo(cboEncodeFormat, &EncodeValues::strEncodeFormatList);
  bindCombo(cboApauseTime, &EncodeValues::strApauseTime);
  bindCombo(cboRFirstToneTime, &EncodeValues::strRFirstToneTime);
  bindCombo(cboBpauseTime, &EncodeValues::strBpauseTime);
  bindCombo(cboAniEncodeMode, &EncodeValues::strAniEncodeMode);
  bindCombo(cboEmergencyMode, &EncodeValues::strEmergencyMode);
  bindCombo(cboEmergencyTime, &EncodeValues::strEmergencyTime);
  bindCombo(cboEmergencyAlarm, &EncodeValues::strEmergencyAlarm);
  bindCombo(cboSingleToneEncodeTime, &EncodeValues::strSingleToneTime);
  bindCodeBox(txtEncodeNo, &EncodeValues::strEncodeNo);
  bindCodeBox(txtREncodeNo, &EncodeValues::strREncodeNo);
  bindCodeBox(txtAniEncodeNo, &EncodeValues::strAniEncodeNo);
  bindCodeBox(txtEmergencyNo, &EncodeValues::strEmergencyNo);
  bindCodeBox(txtTranferNo, &EncodeValues::strTranferNo);
  bindNumberBox(txtAniIntervalTime, &EncodeValues::strAniIntervalTime, "0123456789");
  bindNumberBox(txtEmergencyChannel, &EncodeValues::strEmergencyChannel, "0123456789");
  bindNumberBox(txtTransferChannel, &EncodeValues::strTransferChannel, "0123456789");
  bindNumberBox(txtEmergencyKeyTime, &EncodeValues::strEmergencyKeyTime, "0123456789.");
  bindList(0, &EncodeValues::strCallRepeaterNo);
  bindList(1, &EncodeValues::strLcdClearbyPtt);
  bindList(2, &EncodeValues::strDtmfEncode);
  bindList(3, &EncodeValues::strAttachDecodeNo);
  bindList(4, &EncodeValues::strAutoANIencode);
  bindList(5, &EncodeValues::strEmergencySpeaker);
  connect(chkSingleTone, &QCheckBox::toggled, this, [this] { chkSingleTone_Click(); });
  connect(CmdAction[1], &QPushButton::clicked, this, [this] { CmdAction_Click(1); });
  connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });
  txtEndForcus = kit.makeSink([this] { txtEndForcus_GotFocus(); });
  noDefaultButtons(this);
}

void FrmEncodeSet::bindCombo(QComboBox* combo, std::string EncodeValues::*value) {
  auto change = [this, combo, value] {
    if (combo == cboTonePeriod) cboTonePeriod_Change();
    else if (combo == cbo5ToneSet) cbo5ToneSet_Change();
    else kit.comboChanged(combo, values.*value);
  };
  connect(combo, &QComboBox::currentIndexChanged, this, change);
  // A stored value outside the list shows the first entry: choosing that
  // entry is a choice too, though the index does not change.
  connect(combo, &QComboBox::activated, this, [this, combo, value, change] {
    std::string* saved = value ? &(values.*value) : nullptr;
    if (combo == cboTonePeriod)
      saved = isDtmf(values.strEncodeFormat) ? &values.strTonePeriodDtmf
                                             : isFiveTone(values.strEncodeFormat) ? &values.strTonePeriod5 : nullptr;
    if (saved && saved->empty()) change();
  });
}

void FrmEncodeSet::bindCodeBox(QLineEdit* box, std::string EncodeValues::*value) {
  kit.events->gotFocus(box, [this, box] { codes.focus(box); });
  kit.events->mouseUp(box, [this, box] { codes.focus(box); });
  kit.events->keyDown(box, [this, box, value](QKeyEvent* e) {
    const kit::CodeKey k = kit::CodeKey::of(e);
    if (k.kind == kit::CodeKey::Tab) return false;
    if (k.kind == kit::CodeKey::Escape) {
      closeAfterCheck(box, [this, box, value] { values.*value = box->text().toStdString(); });
      return true;
    }
    useCodeForm();
    codes.press(box, k);
    return true;
  });
  // Text put in from outside holds only what the keys could have typed.
  kit.entryRule(box, [this, box] {
    useCodeForm();
    return codes.take(box);
  });
  // Leaving the emergency number never marks the sink (nor clears it).
  const bool marks = box != txtEmergencyNo;
  kit.events->lostFocus(box, [this, box, value, marks] { kit.leaveField(box, values.*value, marks); });
}

void FrmEncodeSet::useCodeForm() {
  codes.alphabet = strNewDigits;
  codes.fill = values.strCodeForm.empty() ? "F" : values.strCodeForm;
}

void FrmEncodeSet::bindNumberBox(QLineEdit* box, std::string EncodeValues::*value, const char* accepted) {
  const std::string set = accepted;
  // Pasted text (Ctrl+V, the box's menu, a middle click) passes the filter
  // of typed keys too.
  box->setValidator(new QRegularExpressionValidator(
      QRegularExpression("[" + QRegularExpression::escape(accepted) + "]*"), box));
  kit.events->keyDown(box, [this, box, value, set](QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
      closeAfterCheck(box, [this, box, value] { values.*value = box->text().toStdString(); });
      return true;
    }
    return kit::refusedCharacter(e, set);
  });
  kit.events->lostFocus(box, [this, box, value] { kit.leaveField(box, values.*value); });
}

void FrmEncodeSet::bindList(int index, std::string EncodeValues::*value) {
  QListWidget* list = updChangeSelect[static_cast<size_t>(index)]->list;
  kit.events->gotFocus(list, [this, list, value] { kit.listGotFocus(list, values.*value); });
  kit.events->lostFocus(list, [this, index, list, value] {
    kit.listLostFocus(list, values.*value);
    updChangeSelect[static_cast<size_t>(index)]->showValue(indexOf(values.*value));
  });
  kit.events->keyDown(list, [this, list, value](QKeyEvent* e) {
    if (e->key() != Qt::Key_Escape) return false;
    closeAfterCheck(list, [this, list, value] {
      if (list->currentRow() > -1) values.*value = std::to_string(list->currentRow());
    });
    return true;
  });
  connect(updChangeSelect[static_cast<size_t>(index)]->up, &QToolButton::clicked, this,
          [this, index] { updChangeSelect_UpClick(index); });
  connect(updChangeSelect[static_cast<size_t>(index)]->down, &QToolButton::clicked, this,
          [this, index] { updChangeSelect_DownClick(index); });
}

// Esc in a box or list box: the entry is checked and taken before the page
// closes; a refused one keeps the page open.
void FrmEncodeSet::closeAfterCheck(QWidget* control, const std::function<void()>& take) {
  if (!InputDataCheck()) {
    kit.refuse(control);
    return;
  }
  take();
  txtEndForcus->clearMark();
  Unload();
}

void FrmEncodeSet::Form_Load() {
  ModPublic& m = modPublic;
  const int family = m.family();
  placeFromMainMenu(0, -50);
  setCaption(std::string(app::kTitle) + "-" + "EncodeSet");
  const uint32_t colour = vb::ColorValue(m.strLabelColor);
  for (QWidget* w : std::initializer_list<QWidget*>{this, fraEncodeSetting, fraAction, fraEncodeMenu, fraSingleTone,
                                                    chkSingleTone})
    vbui::setBackColor(w, colour);
  for (int index : kFormats) {
    QRadioButton* b = optEncodeMenu[static_cast<size_t>(index)];
    vbui::setBackColor(b, colour);
    b->setText(q(LoadResString(kFormatCaptions[index])));
  }
  plainButtonColours(this);

  // Captions, and the accessible names of the row controls after them.
  for (int i = 0; i < 30; ++i) lblEncodeSetting[static_cast<size_t>(i)]->setText(q(LoadResString(520 + i)));
  for (int i = 0; i < 30; ++i) {
    QLabel* label = lblEncodeSetting[static_cast<size_t>(i)];
    if (label->buddy()) label->buddy()->setAccessibleName(label->text());
  }
  for (auto* list : updChangeSelect) {
    const QString name = list->list->accessibleName();
    list->up->setAccessibleName(name + " " + q(LoadResString(1420)));
    list->down->setAccessibleName(name + " " + q(LoadResString(1421)));
  }
  chkSingleTone->setText(q(LoadResString(550)));
  cboSingleToneEncodeTime->setAccessibleName(q(LoadResString(550)));
  CmdAction[1]->setText(q(LoadResString(580)));
  mnuHelp->setText(q(LoadResString(1406)));
  fraEncodeMenu->setTitle(q(LoadResString(1422)));
  fraEncodeSetting->setTitle(q(LoadResString(1423)));
  Label1->setText(q(LoadResString(1437)));
  Label2->setText(q(LoadResString(1437)));
  fraAction->setTitle(q(LoadResString(161)));
  txtEndForcus->setAccessibleName(q(LoadResString(580)));

  {
    kit::Busy::Hold hold(kit.busy);
    fill(cboEncodeDelay, encodeList(EncList::EncodeDelay, family));
    fill(cboEncodeFormat, encodeList(EncList::EncodeFormat, family));
  }
  if (family == 2) {
    // The base station offers no ANI format.
    optEncodeMenu[4]->setEnabled(false);
    optEncodeMenu[6]->setEnabled(false);
  }
  strOldDigits = strNewDigits = digits::strDtmfCodeDigits;
  subGetEncodeData();
  adjustSize();
}

void FrmEncodeSet::subGetEncodeData() {
  // A channel reference the page shows as none is none in the radio too.
  encodeCleanChannels(modPublic.bytRadioData, modPublic.family());
  const EncodeLoad load = ::subGetEncodeData(modPublic.bytRadioData, modPublic.family());
  values = load.values;
  asLoaded_ = load.values;
  unknownFormat_ = load.unknownFormat;
  strays_ = load.strays;
  {
    kit::Busy::Hold hold(kit.busy);
    chkSingleTone->setChecked(values.blnSingleTone);
  }
  chkSingleTone_Click();
  if (values.strEncodeFormat.empty()) {
    // A format this page does not offer: no button, the rows of "no encode",
    // the codes shown as read.
    selectFormatButton("");
    applyMask(7);
    strNewDigits = digits::alphabet(formOf(values.strCodeForm));
    subRestoreEncodeControls();
    return;
  }
  selectFormatButton(values.strEncodeFormat);
  optEncodeMenu_Click(indexOf(values.strEncodeFormat));
}

void FrmEncodeSet::selectFormatButton(const std::string& format) {
  kit::Busy::Hold hold(kit.busy);
  for (int index : kFormats) {
    QRadioButton* b = optEncodeMenu[static_cast<size_t>(index)];
    const bool on = !format.empty() && indexOf(format) == index;
    if (b->isChecked() == on) continue;
    // An exclusive button cannot be switched off directly: none is chosen
    // while the stored format is one the page does not offer.
    b->setAutoExclusive(false);
    b->setChecked(on);
    b->setAutoExclusive(true);
  }
}

void FrmEncodeSet::applyMask(int format) {
  const int family = modPublic.family();
  if (family < 0 || format < 0 || format > 7) return;
  rows_.apply(modPublic.strEncMask[static_cast<size_t>(family)][static_cast<size_t>(format)]);
}

void FrmEncodeSet::optEncodeMenu_Click(int index) {
  kit::Busy::Hold hold(kit.busy);
  values.strEncodeFormat = std::to_string(index);
  applyMask(index);

  const std::string& hex = digits::strDtmfCodeDigits;
  const std::string& keys = digits::strDtmfKeys;
  auto tips = [&](const char* tip) {
    for (QLineEdit* e : {txtEncodeNo, txtREncodeNo, txtAniEncodeNo, txtEmergencyNo, txtTranferNo}) e->setToolTip(tip);
  };
  auto rebuild = [&](bool dtmf, const std::string& saved) {
    const std::vector<int>& codes5 = tonePeriodCodes(dtmf);
    fill(cboTonePeriod, encodeList(dtmf ? EncList::TonePeriodDtmf : EncList::TonePeriod5, modPublic.family()));
    for (int j = 0; j < cboTonePeriod->count(); ++j) cboTonePeriod->setItemData(j, codes5[static_cast<size_t>(j)]);
    cboTonePeriod->setCurrentIndex(indexOf(saved));
  };
  if (index == 0 || index == 4) {
    strOldDigits = values.strCodeForm == "C" ? keys : hex;
    strNewDigits = hex;
    values.strCodeForm = "F";
    tips(kHexTip);
    rebuild(false, values.strTonePeriod5);
  } else if (index == 2 || index == 6) {
    strOldDigits = values.strCodeForm == "C" ? keys : hex;
    strNewDigits = keys;
    values.strCodeForm = "C";
    tips(kKeyTip);
    rebuild(true, values.strTonePeriodDtmf);
  } else {
    cboTonePeriod->setCurrentIndex(0);
    // The codes stay in the form they are in; with none set yet they are hex.
    strOldDigits = strNewDigits = values.strCodeForm == "C" ? keys : hex;
  }

  const digits::Form from = strOldDigits == keys ? digits::Form::Key : digits::Form::Hex;
  const digits::Form to = strNewDigits == keys ? digits::Form::Key : digits::Form::Hex;
  const std::pair<QLineEdit*, std::string EncodeValues::*> fields[] = {
      {txtEncodeNo, &EncodeValues::strEncodeNo},       {txtREncodeNo, &EncodeValues::strREncodeNo},
      {txtAniEncodeNo, &EncodeValues::strAniEncodeNo}, {txtEmergencyNo, &EncodeValues::strEmergencyNo},
      {txtTranferNo, &EncodeValues::strTranferNo}};
  for (const auto& [box, value] : fields) {
    values.*value = digits::convert(values.*value, from, to);
    box->setText(q(values.*value));
  }
}

void FrmEncodeSet::Form_Activate() {
  subRestoreEncodeControls();
  // The format buttons are one stop of the tab order: the focus that would
  // start on the first of them starts on the chosen format, so that a key
  // pressed there does not choose another one.
  QWidget* focused = focusWidget();
  const bool onFormats =
      !focused || std::find(optEncodeMenu.begin(), optEncodeMenu.end(), focused) != optEncodeMenu.end();
  for (int index : kFormats)
    if (onFormats && optEncodeMenu[static_cast<size_t>(index)]->isChecked())
      optEncodeMenu[static_cast<size_t>(index)]->setFocus(Qt::OtherFocusReason);
  if (!warned_) {
    warned_ = true;
    warnStrays();
  }
}

void FrmEncodeSet::warnStrays() {
  std::string text;
  if (unknownFormat_) text = LoadResString(10084);
  if (!strays_.empty()) {
    if (!text.empty()) text += "\r";
    text += LoadResString(10085);
    for (int row : strays_) text += "\r" + LoadResString(row == kSingleToneRow ? 550 : 520 + row);
  }
  if (!text.empty()) intSoundMsgBox(SoundKind::Attention, text, "subGetEncodeData");
}

void FrmEncodeSet::subRestoreEncodeControls() {
  kit::Busy::Hold hold(kit.busy);
  selectFormatButton(values.strEncodeFormat);
  auto list = [](QComboBox* c, const std::string& saved) { c->setCurrentIndex(indexOf(saved)); };
  auto text = [](QLineEdit* e, const std::string& saved) { e->setText(q(saved)); };
  // A two-entry list shows its value one entry high without selecting it.
  auto row = [this](QListWidget* l, const std::string& saved) {
    l->setCurrentRow(-1);
    l->clearSelection();
    for (kit::UpDownList* u : updChangeSelect)
      if (u->list == l) u->showValue(indexOf(saved));
  };
  list(cbo5ToneSet, values.str5ToneSet);
  list(cboEncodeDigit, values.strEncodeDigit);
  text(txtEncodeNo, values.strEncodeNo);
  list(cboEncodeDelay, values.strEncodeDelay);
  list(cboFrstToneTime, values.strFrstToneTime);
  list(cboRepeatToneNo, values.strRepeatToneNo);
  list(cboCallingTime, values.strCallingTime);
  list(cboEncodeFormat, values.strEncodeFormatList);
  list(cboApauseTime, values.strApauseTime);
  text(txtREncodeNo, values.strREncodeNo);
  list(cboRFirstToneTime, values.strRFirstToneTime);
  list(cboBpauseTime, values.strBpauseTime);
  text(txtAniEncodeNo, values.strAniEncodeNo);
  list(cboAniEncodeMode, values.strAniEncodeMode);
  text(txtAniIntervalTime, values.strAniIntervalTime);
  text(txtEmergencyNo, values.strEmergencyNo);
  list(cboEmergencyMode, values.strEmergencyMode);
  text(txtEmergencyChannel, values.strEmergencyChannel);
  list(cboEmergencyTime, values.strEmergencyTime);
  list(cboEmergencyAlarm, values.strEmergencyAlarm);
  row(lstCallRepeaterNo, values.strCallRepeaterNo);
  text(txtTransferChannel, values.strTransferChannel);
  text(txtTranferNo, values.strTranferNo);
  row(lstLcdClearbyPtt, values.strLcdClearbyPtt);
  row(lstDtmfEncode, values.strDtmfEncode);
  row(lstAttachDecodeNo, values.strAttachDecodeNo);
  row(lstAutoANIencode, values.strAutoANIencode);
  row(lstEmergencySpeaker, values.strEmergencySpeaker);
  text(txtEmergencyKeyTime, values.strEmergencyKeyTime);
  list(cboSingleToneEncodeTime, values.strSingleToneTime);
  if (isFiveTone(values.strEncodeFormat)) list(cboTonePeriod, values.strTonePeriod5);
  if (isDtmf(values.strEncodeFormat)) list(cboTonePeriod, values.strTonePeriodDtmf);
}

bool FrmEncodeSet::failCheck(const std::string& text, const std::string& title) {
  intSoundMsgBox(SoundKind::Information, text, title);
  return false;
}

bool FrmEncodeSet::InputDataCheck() {
  const std::vector<uint8_t>& image = modPublic.bytRadioData;
  const int family = modPublic.family();
  auto tested = [](QLineEdit* box) { return box->isEnabled() && !box->text().isEmpty(); };
  auto number = [](QLineEdit* box) { return vb::Val(box->text().toStdString()); };
  if (tested(txtAniIntervalTime)) {
    const double v = number(txtAniIntervalTime);
    if (v < 0 || v > 255) return failCheck(LoadResString(10032), "InputDataCheck_AniIntervalTime");
  }
  const int limit = encodeChannelLimit(image, family);
  auto channel = [&](QLineEdit* box, const std::string& title) {
    if (!tested(box)) return true;
    const double v = number(box);
    if (v <= 0 || v > limit) return failCheck(LoadResString(10032), title);
    if (!chanrows::channelUsed(family, image, vb::CInt(v))) return failCheck(LoadResString(10038), title);
    return true;
  };
  if (!channel(txtEmergencyChannel, "InputDataCheck_EmergencyChannel")) return false;
  if (!channel(txtTransferChannel, "InputDataCheck_TransferChannel")) return false;
  if (tested(txtEmergencyKeyTime)) {
    const std::string title = "InputDataCheck_EmergencyKeyTime";
    auto refuse = [&](const std::string& text) {
      failCheck(text, title);
      txtEmergencyKeyTime->clear();
      return false;
    };
    QString t = txtEmergencyKeyTime->text();
    if (isNumber(t)) {
      t = q(vb::Format(vb::Val(t.trimmed().toStdString()), "#0.0"));
      txtEmergencyKeyTime->setText(t);
    }
    const qsizetype point = t.indexOf('.');
    for (qsizetype i = 0; i < t.size(); ++i) {
      const QChar c = t.at(i);
      if (c == '.' && i != point) return refuse(LoadResString(10039));
      if (c != '.' && (c < '0' || c > '9')) return refuse(msgText(10032, 10033));
    }
    const double v = vb::Val(t.toStdString());
    if (v < 0 || v > 9.9) return refuse(LoadResString(10032));
  }
  return true;
}

void FrmEncodeSet::updChangeSelect_UpClick(int index) { stepList(index, 0); }
void FrmEncodeSet::updChangeSelect_DownClick(int index) { stepList(index, 1); }

void FrmEncodeSet::stepList(int index, int direction) {
  static std::string EncodeValues::*const kValues[6] = {
      &EncodeValues::strCallRepeaterNo, &EncodeValues::strLcdClearbyPtt,  &EncodeValues::strDtmfEncode,
      &EncodeValues::strAttachDecodeNo, &EncodeValues::strAutoANIencode, &EncodeValues::strEmergencySpeaker};
  if (index < 0 || index > 5) return;
  QListWidget* list = updChangeSelect[static_cast<size_t>(index)]->list;
  if (!list->isEnabled()) return;  // arrows beside a disabled list do nothing
  kit.listStep(list, values.*kValues[index], direction);
}

void FrmEncodeSet::cboTonePeriod_Change() {
  if (kit.busy.on() || cboTonePeriod->currentIndex() < 0) return;
  if (!kit.checked()) return;
  const std::string index = std::to_string(cboTonePeriod->currentIndex());
  if (isFiveTone(values.strEncodeFormat)) values.strTonePeriod5 = index;
  if (isDtmf(values.strEncodeFormat)) values.strTonePeriodDtmf = index;
}

void FrmEncodeSet::cbo5ToneSet_Change() {
  if (kit.busy.on() || cbo5ToneSet->currentIndex() < 0) return;
  if (!kit.checked()) return;
  values.str5ToneSet = std::to_string(cbo5ToneSet->currentIndex());
  // The set's standard tone period comes with it.
  const int entry = cboTonePeriod->findData(fiveToneSetPeriod(cbo5ToneSet->currentIndex()));
  if (entry < 0) return;
  std::string* saved = nullptr;
  if (isFiveTone(values.strEncodeFormat)) saved = &values.strTonePeriod5;
  if (isDtmf(values.strEncodeFormat)) saved = &values.strTonePeriodDtmf;
  if (!saved) return;
  *saved = std::to_string(entry);
  cboTonePeriod->setCurrentIndex(entry);
}

void FrmEncodeSet::chkSingleTone_Click() {
  const bool on = chkSingleTone->isChecked();
  // Painted as the rows' lists are: a drop-down list's face is its button.
  kit::setEnabledPainted(cboSingleToneEncodeTime, on);
  if (!kit.busy.on()) values.blnSingleTone = on;
}

void FrmEncodeSet::CmdAction_Click(int index) {
  if (index != 1) return;
  // Pressed without the focus coming to it first (a screen reader, an
  // accessibility tool): the field being edited is taken as a click would
  // take it; a refused entry keeps the page open on its restored value.
  if (!kit.leaveFocusedField(CmdAction[1])) return;
  Unload();
}

void FrmEncodeSet::txtEndForcus_GotFocus() {
  if (InputDataCheck()) {
    subPutEncodeData();
    Unload();
  } else {
    subRestoreEncodeControls();
  }
}

void FrmEncodeSet::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, "Encode Set Menu"); }

void FrmEncodeSet::subPutEncodeData() {
  ::subPutEncodeData(modPublic.bytRadioData, modPublic.family(), values, asLoaded_);
}

void FrmEncodeSet::Form_Unload(bool& cancel) {
  (void)cancel;
  subPutEncodeData();
}

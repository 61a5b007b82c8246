#include "selcall/pages/frmdecodeset.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/modpublic.h"
#include "core/pages/pagekit.h"
#include "core/soundmsg.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/helpviewer.h"
#include "platform/gui/settingskit.h"

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

const char* kHexTip = "Valid Data : 0 1 2 3 4 5 6 7 8 9 A B C D E F";
const char* kDtmfTip = "Valid Data : 1 2 3 4 5 6 7 8 9 0 * # A B C D";
const int kFormats[4] = {0, 3, 4, 7};

int indexOf(const std::string& value) { return static_cast<int>(vb::CInt(vb::Val(value))); }

using digits::strDtmfCodeDigits;
using digits::strDtmfKeys;

// The form whose alphabet the code texts are taken to be in; no alphabet yet
// (a page opened with no decode) means the hex form.
digits::Form formOf(const std::string& alphabet) {
  return alphabet == strDtmfKeys ? digits::Form::Key : digits::Form::Hex;
}

// A stored index beyond the list shows no entry (and stays as stored).
void showIndex(QComboBox* combo, const std::string& value) {
  const int i = indexOf(value);
  const QSignalBlocker lock(combo);
  combo->setCurrentIndex(i >= 0 && i < combo->count() ? i : -1);
}

void fill(QComboBox* combo, const std::vector<std::string>& items) {
  const QSignalBlocker lock(combo);
  combo->clear();
  for (const auto& s : items) combo->addItem(q(s));
}
}  // namespace

FrmDecodeSet::FrmDecodeSet(QWidget* parent) : Page(parent) {
  setObjectName("frmDecodeSet");
  kit_ = std::make_unique<kit::SettingsKit>(
      this, [this] { return InputDataCheck(); }, [this] { subSetDecodeControls(); });
  masks_ = std::make_unique<kit::MaskRows>();
  codes_ = std::make_unique<kit::CodeBoxes>();

  auto* root = new QVBoxLayout(this);
  menuBar = new QMenuBar(this);
  mnuHelp = menuBar->addAction(q(LoadResString(1406)));
  root->setMenuBar(menuBar);

  auto* body = new QHBoxLayout;
  fraDecodeMenu = new QGroupBox(this);
  auto* formats = new QVBoxLayout(fraDecodeMenu);
  for (int index : kFormats) {
    auto* o = new QRadioButton(fraDecodeMenu);
    o->setObjectName(QString("optDecodeMenu%1").arg(index));
    // Painted in the page's colour like its frame (a button's own fill would
    // be the button colour).
    o->setBackgroundRole(QPalette::Window);
    optDecodeMenu[static_cast<size_t>(index)] = o;
    formats->addWidget(o);
    // A press that did not move the focus (a screen reader's) leaves the
    // field being edited first, as a click would, so the switch converts
    // what was typed.
    connect(o, &QRadioButton::toggled, this, [this, o, index](bool on) {
      if (!on || kit_->busy.on()) return;
      // A refused entry has put every control back, the format included.
      if (kit_->leaveFocusedField(o)) optDecodeMenu_Click(index);
    });
    // A stored format outside the four shows as no decode; choosing no decode
    // there is a choice too.
    connect(o, &QRadioButton::clicked, this, [this, o, index] {
      if (kit_->busy.on() || !values.strDecodeFormat.empty()) return;
      if (kit_->leaveFocusedField(o)) optDecodeMenu_Click(index);
    });
  }
  auto* left = new QVBoxLayout;
  left->addWidget(fraDecodeMenu);
  body->addLayout(left);

  fraDecodeSetting = new QGroupBox(this);
  auto* grid = new QGridLayout(fraDecodeSetting);
  // Lines 0-10 on the left, 11-20 on the right; tab order follows the lines.
  auto place = [&](int line, QWidget* control, QWidget* extra = nullptr) {
    const int row = line <= 10 ? line : line - 11;
    const int col = line <= 10 ? 0 : 3;
    auto* label = new QLabel(fraDecodeSetting);
    label->setObjectName(QString("lblDecodeSetting%1").arg(line));
    lblDecodeSetting[static_cast<size_t>(line)] = label;
    grid->addWidget(label, row, col);
    grid->addWidget(control, row, col + 1);
    if (extra) grid->addWidget(extra, row, col + 2);
    label->setBuddy(control);
  };
  auto code = [&](QLineEdit*& box, const char* name) {
    box = new QLineEdit(fraDecodeSetting);
    box->setObjectName(name);
    kit::CodeBoxes::prepare(box, 8);
    box->setText("FFFFFFFF");
    return box;
  };
  auto combo = [&](QComboBox*& c, const char* name) {
    c = new QComboBox(fraDecodeSetting);
    c->setObjectName(name);
    return c;
  };
  auto onOff = [&](int index, QListWidget*& list, int captionId, const char* name) {
    auto* row = new kit::UpDownList(fraDecodeSetting, {"OFF", "ON"}, q(LoadResString(captionId)));
    row->oneRowHigh();
    updChangeSelect[static_cast<size_t>(index)] = row;
    list = row->list;
    list->setObjectName(name);
    return row;
  };
  place(kDecDecodeNo, code(txtDecodeNo, "txtDecodeNo"));
  place(kDecBeepTime, combo(cboBeepTime, "cboBeepTime"));
  place(kDecGroupNo, combo(cboGroupNo, "cboGroupNo"));
  place(kDecGroupMode, onOff(0, lstGroupMode, 913, "lstGroupMode"));
  place(kDecGroupDigit, combo(cboGroupDigit, "cboGroupDigit"));
  place(kDecMonitorOutMode, combo(cboMonitorOutMode, "cboMonitorOutMode"));
  place(kDecAnswerNo, code(txtAnswerNo, "txtAnswerNo"));
  place(kDecAnswerTime, combo(cboAnswerTime, "cboAnswerTime"));
  txtAutoResetTime = new QLineEdit(fraDecodeSetting);
  txtAutoResetTime->setObjectName("txtAutoResetTime");
  txtAutoResetTime->setMaxLength(3);
  txtAutoResetTime->setToolTip("Valid range : 0-255(sec)");
  // A paste (the box's menu, Ctrl+V, a middle click) holds to the digits
  // that typing is held to.
  txtAutoResetTime->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), txtAutoResetTime));
  Label1 = new QLabel(fraDecodeSetting);
  place(kDecAutoResetTime, txtAutoResetTime, Label1);
  place(kDecAutoResetMode, combo(cboAutoResetMode, "cboAutoResetMode"));
  place(kDecResetNo, combo(cboResetNo, "cboResetNo"));
  place(kDecDisplayDigit, combo(cboDisplayDigit, "cboDisplayDigit"));
  place(kDecDisplayNo, combo(cboDisplayNo, "cboDisplayNo"));
  place(kDecFixDisplayDigit, code(txtFixDsplayDigit, "txtFixDsplayDigit"));
  place(kDecLimitedDecode, onOff(1, lstLimitedDecode, 924, "lstLimitedDecode"));
  place(kDecAniReceive, onOff(2, lstAniReceive, 925, "lstAniReceive"));
  place(kDecAniDisplayDigit, combo(cboAniDisplayDigit, "cboAniDisplayDigit"));
  place(kDecCallReceive, onOff(3, lstCallReceive, 927, "lstCallReceive"));
  place(kDecEmgReceiveDigit, combo(cboEmgReceiveDigit, "cboEmgReceiveDigit"));
  place(kDecKillNo, code(txtKillNo, "txtKillNo"));
  labKillStatus = new QLabel("OFF", fraDecodeSetting);
  labKillStatus->setObjectName("labKillStatus");
  place(kDecKillStatus, labKillStatus);
  grid->setColumnMinimumWidth(2, 30);
  grid->setHorizontalSpacing(10);  // a long caption never touches its box
  // Eight digits or the longest list entry fit; the page stays compact.
  for (QWidget* w : fraDecodeSetting->findChildren<QWidget*>())
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QListWidget*>(w))
      w->setFixedWidth(150);
  // ... and a box is wider still when its font needs it.
  for (QLineEdit* box : fraDecodeSetting->findChildren<QLineEdit*>())
    kit::fitWidth(box, box == txtAutoResetTime ? kit::kDigitCharacters : kit::kCodeCharacters);
  body->addWidget(fraDecodeSetting, 1);
  root->addLayout(body);

  const kit::ActionFrame action = kit::makeActionFrame(this);
  fraAction = action.frame;
  CmdAction[1] = action.exit;
  left->addWidget(fraAction);
  left->addStretch();
  connect(CmdAction[1], &QPushButton::clicked, this, [this] { CmdAction_Click(1); });
  connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });

  // The mask row: character k + 1 switches label k with the controls of its line.
  QWidget* valueOf[kDecodeSettings] = {
      txtDecodeNo,  cboBeepTime,      cboGroupNo,       lstGroupMode,       cboGroupDigit,
      cboMonitorOutMode, txtAnswerNo, cboAnswerTime,    txtAutoResetTime,   cboAutoResetMode,
      cboResetNo,   cboDisplayDigit,  cboDisplayNo,     txtFixDsplayDigit,  lstLimitedDecode,
      lstAniReceive, cboAniDisplayDigit, lstCallReceive, cboEmgReceiveDigit, txtKillNo};
  for (int k = 0; k < kDecodeSettings; ++k) {
    std::vector<QWidget*> plain = {lblDecodeSetting[static_cast<size_t>(k)]};
    if (k == kDecAutoResetTime) plain.push_back(Label1);
    for (const auto* row : updChangeSelect)
      if (row->list == valueOf[k]) {
        plain.push_back(row->up);
        plain.push_back(row->down);
      }
    masks_->add(k + 1, plain, {valueOf[k]});
  }
  masks_->add(kDecodeLines, {lblDecodeSetting[kDecKillStatus]});

  bindEvents();
  txtEndForcus = kit_->makeSink([this] { txtEndForcus_GotFocus(); });
  noDefaultButtons(this);
}

FrmDecodeSet::~FrmDecodeSet() = default;

void FrmDecodeSet::bindEvents() {
  kit::Events* ev = kit_->events;
  for (QLineEdit* box : {txtDecodeNo, txtAnswerNo, txtFixDsplayDigit, txtKillNo}) {
    ev->gotFocus(box, [this, box] { codeBox_GotFocus(box); });
    ev->mouseUp(box, [this, box] { codeBox_GotFocus(box); });
    ev->keyDown(box, [this, box](QKeyEvent* e) { return codeBox_KeyDown(box, kit::CodeKey::of(e)); });
    ev->lostFocus(box, [this, box] { codeBox_LostFocus(box); });
    kit_->entryRule(box, [this, box] { return codeBox_Entry(box); });
  }
  ev->keyDown(txtAutoResetTime, [](QKeyEvent* e) { return kit::refusedCharacter(e, "0123456789"); });
  ev->lostFocus(txtAutoResetTime, [this] { txtAutoResetTime_LostFocus(); });
  for (int i = 0; i < 4; ++i) {
    ev->gotFocus(onOffList(i), [this, i] { lstOnOff_GotFocus(i); });
    ev->lostFocus(onOffList(i), [this, i] { lstOnOff_LostFocus(i); });
    connect(updChangeSelect[static_cast<size_t>(i)]->up, &QToolButton::clicked, this,
            [this, i] { updChangeSelect_Click(i, 0); });
    connect(updChangeSelect[static_cast<size_t>(i)]->down, &QToolButton::clicked, this,
            [this, i] { updChangeSelect_Click(i, 1); });
  }
  // A list that gets the focus back with no entry picks its first one by
  // itself; only a move from an entry is a step.
  connect(lstLimitedDecode->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex&, const QModelIndex& previous) {
            if (previous.isValid()) lstLimitedDecode_Change();
          });

  // Only the user's choice stores a value: the page's own refills never do.
  const std::pair<QComboBox*, std::string DecodeValues::*> plain[] = {
      {cboBeepTime, &DecodeValues::m_strBeepTime},
      {cboGroupDigit, &DecodeValues::m_strGroupDigit},
      {cboMonitorOutMode, &DecodeValues::m_strMonitorOutMode},
      {cboAnswerTime, &DecodeValues::m_strAnswerTime},
      {cboAutoResetMode, &DecodeValues::m_strAutoResetMode},
      {cboResetNo, &DecodeValues::m_strResetNo},
      {cboDisplayNo, &DecodeValues::m_strDisplayNo},
      {cboAniDisplayDigit, &DecodeValues::m_strAniDisplayDigit},
      {cboEmgReceiveDigit, &DecodeValues::m_strEmgReceiveDigit},
  };
  for (const auto& [c, member] : plain)
    connect(c, &QComboBox::activated, this, [this, c = c, member = member] { combo_Change(c, values.*member); });
  connect(cboGroupNo, &QComboBox::activated, this, [this] { cboGroupNo_Change(); });
  connect(cboDisplayDigit, &QComboBox::activated, this, [this] { cboDisplayDigit_Change(); });
}

void FrmDecodeSet::Form_Load() {
  const kit::Busy::Hold showing(kit_->busy);
  ModPublic& m = modPublic;
  family_ = m.family();
  placeFromMainMenu(800, 350);
  setCaption(std::string(app::kTitle) + "-" + "DecodeSet");
  const uint32_t colour = vb::ColorValue(m.strLabelColor);
  for (QWidget* w : std::initializer_list<QWidget*>{this, fraDecodeSetting, fraAction, fraDecodeMenu})
    vbui::setBackColor(w, colour);
  for (int index : kFormats) vbui::setBackColor(optDecodeMenu[static_cast<size_t>(index)], colour);
  plainButtonColours(this);

  for (int i = 0; i < 4; ++i) optDecodeMenu[static_cast<size_t>(kFormats[i])]->setText(q(LoadResString(900 + i)));
  for (int k = 0; k < kDecodeLines; ++k) {
    const QString caption = q(LoadResString(910 + k));
    lblDecodeSetting[static_cast<size_t>(k)]->setText(caption);
    if (QWidget* buddy = lblDecodeSetting[static_cast<size_t>(k)]->buddy(); buddy && buddy != labKillStatus)
      buddy->setAccessibleName(caption);
  }
  CmdAction[1]->setText(q(LoadResString(980)));
  // Reaching the last stop closes the page, as Exit does.
  txtEndForcus->setAccessibleName(q(LoadResString(980)));
  fraDecodeMenu->setTitle(q(LoadResString(1425)));
  fraDecodeSetting->setTitle(q(LoadResString(1426)));
  fraAction->setTitle(q(LoadResString(1427)));
  Label1->setText(q(LoadResString(1428)));

  fill(cboBeepTime, decodeListItems(kDecBeepTime, family_, false));
  fill(cboGroupNo, decodeListItems(kDecGroupNo, family_, false));
  fill(cboGroupDigit, decodeListItems(kDecGroupDigit, family_, false));
  fill(cboMonitorOutMode, decodeListItems(kDecMonitorOutMode, family_, false));
  fill(cboAnswerTime, decodeListItems(kDecAnswerTime, family_, false));
  fill(cboAutoResetMode, decodeListItems(kDecAutoResetMode, family_, false));
  fill(cboResetNo, decodeListItems(kDecResetNo, family_, true));
  fill(cboDisplayDigit, decodeListItems(kDecDisplayDigit, family_, false));
  fill(cboDisplayNo, decodeListItems(kDecDisplayNo, family_, false));
  fill(cboAniDisplayDigit, decodeListItems(kDecAniDisplayDigit, family_, false));
  fill(cboEmgReceiveDigit, decodeListItems(kDecEmgReceiveDigit, family_, false));
  txtFixDsplayDigit->setToolTip(kHexTip);

  // All Call DTMF is shown when the radio holds it, never offered.
  optDecodeMenu[4]->setEnabled(false);

  values = subGetDecodeData(m.bytRadioData, family_);
  asLoaded_ = values;
  subSetDecodeControls();
  // The keyboard starts at the format the radio holds.
  for (int index : kFormats)
    if (optDecodeMenu[static_cast<size_t>(index)]->isChecked()) optDecodeMenu[static_cast<size_t>(index)]->setFocus();
}

void FrmDecodeSet::Form_Activate() {
  subSetDecodeControls();
  m_strKillStatus = decodeKillStatus(modPublic.bytRadioData, family_);
  labKillStatus->setText(q(m_strKillStatus));
}

void FrmDecodeSet::Form_Unload(bool& cancel) {
  (void)cancel;
  // Closing by the window's box does not leave the field being edited: a code
  // box always holds a whole code, a list its entry, and a time in range is
  // taken too.
  QWidget* focused = focusWidget();
  if (std::string* code = codeValue(qobject_cast<QLineEdit*>(focused))) {
    *code = static_cast<QLineEdit*>(focused)->text().toStdString();
  } else if (focused == txtAutoResetTime) {
    const std::string t = txtAutoResetTime->text().toStdString();
    if (!t.empty() && vb::Val(t) >= 0 && vb::Val(t) <= 255) values.m_strAutoResetTime = t;
  } else {
    // A limited-decode step the encode settings refuse is not taken, even
    // when the page closes before its message came.
    const bool limitedRefused = !decodeFiveToneOptionsAllowed(modPublic.bytRadioData, family_);
    for (int i = 0; i < 4; ++i)
      if (focused == onOffList(i) && onOffList(i)->currentRow() >= 0 && !(i == 1 && limitedRefused))
        onOffValue(i) = std::to_string(onOffList(i)->currentRow());
  }
  subPutDecodeData(modPublic.bytRadioData, family_, values, enables_, asLoaded_);
}

// ---- Format switch ----

void FrmDecodeSet::optDecodeMenu_Click(int index) {
  values.strDecodeFormat = std::to_string(index);
  const std::string row = decodeMaskRow(family_, values.strDecodeFormat);
  masks_->apply(row);
  enables_ = decodeEnablesFromMask(row);

  std::string& fillChar = values.m_strFillChar;
  if (index == 0 || index == 3 || index == 4) {
    const bool dtmf = index != 0;
    m_strPrevKeys = fillChar == "C" ? strDtmfKeys : strDtmfCodeDigits;
    fillChar = dtmf ? "C" : "F";
    m_strValidKeys = dtmf ? strDtmfKeys : strDtmfCodeDigits;
    for (QLineEdit* box : {txtDecodeNo, txtAnswerNo, txtKillNo}) box->setToolTip(dtmf ? kDtmfTip : kHexTip);
    rebuild(cboResetNo, decodeListItems(kDecResetNo, family_, dtmf), indexOf(values.m_strResetNo));
    rebuild(cboGroupNo, decodeListItems(kDecGroupNo, family_, dtmf),
            indexOf(dtmf ? values.m_strGroupNoDtmf : values.m_strGroupNo5Tone));
  } else {
    // No decode keeps the code form the texts are in.
    {
      const QSignalBlocker lock(cboGroupNo);
      cboGroupNo->setCurrentIndex(0);
    }
    if (fillChar == "F") m_strValidKeys = m_strPrevKeys = strDtmfCodeDigits;
    else if (fillChar == "C") m_strValidKeys = m_strPrevKeys = strDtmfKeys;
  }
  // The fix display digit is held in hex form in every format.
  auto convert = [&](std::string& text, QLineEdit* box) {
    text = decodeConvertCode(text, formOf(m_strPrevKeys), formOf(m_strValidKeys));
    const kit::Busy::Hold showing(kit_->busy);
    box->setText(q(text));
  };
  convert(values.m_strDecodeNo, txtDecodeNo);
  convert(values.m_strAnswerNo, txtAnswerNo);
  convert(values.m_strKillNo, txtKillNo);
}

void FrmDecodeSet::rebuild(QComboBox* combo, const std::vector<std::string>& items, int index) {
  fill(combo, items);
  const QSignalBlocker lock(combo);
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

// ---- Showing the working values ----

void FrmDecodeSet::subSetDecodeControls() {
  const kit::Busy::Hold showing(kit_->busy);
  const std::string& format = values.strDecodeFormat;
  if (format.empty()) {
    // A stored format outside the four: shown as no decode, its bits kept.
    for (int index : kFormats) {
      const QSignalBlocker lock(optDecodeMenu[static_cast<size_t>(index)]);
      optDecodeMenu[static_cast<size_t>(index)]->setChecked(index == 7);
    }
    const std::string row = decodeMaskRow(family_, kFormatNone);
    masks_->apply(row);
    enables_ = decodeEnablesFromMask(row);
  } else {
    const int index = indexOf(format);
    optDecodeMenu[static_cast<size_t>(index)]->setChecked(true);
    optDecodeMenu_Click(index);
  }
  txtDecodeNo->setText(q(values.m_strDecodeNo));
  showIndex(cboBeepTime, values.m_strBeepTime);
  showIndex(cboGroupDigit, values.m_strGroupDigit);
  showIndex(cboMonitorOutMode, values.m_strMonitorOutMode);
  txtAnswerNo->setText(q(values.m_strAnswerNo));
  showIndex(cboAnswerTime, values.m_strAnswerTime);
  txtAutoResetTime->setText(q(values.m_strAutoResetTime));
  showIndex(cboAutoResetMode, values.m_strAutoResetMode);
  showIndex(cboResetNo, values.m_strResetNo);
  showIndex(cboDisplayDigit, values.m_strDisplayDigit);
  showIndex(cboDisplayNo, values.m_strDisplayNo);
  txtFixDsplayDigit->setText(q(values.m_strFixDisplayDigit));
  showIndex(cboAniDisplayDigit, values.m_strAniDisplayDigit);
  showIndex(cboEmgReceiveDigit, values.m_strEmgReceiveDigit);
  txtKillNo->setText(q(values.m_strKillNo));
  if (format == kFormat5Tone) showIndex(cboGroupNo, values.m_strGroupNo5Tone);
  else if (format == kFormatDtmf || format == kFormatAllCall) showIndex(cboGroupNo, values.m_strGroupNoDtmf);
  // The ON/OFF lists highlight their entry only while they have the focus;
  // without it, one entry high, they show their value.
  for (int i = 0; i < 4; ++i) {
    QListWidget* list = onOffList(i);
    if (list->hasFocus()) {
      kit_->listGotFocus(list, onOffValue(i));
    } else {
      list->setCurrentRow(-1);
      list->clearSelection();
      updChangeSelect[static_cast<size_t>(i)]->showValue(indexOf(onOffValue(i)));
    }
  }
}

// ---- Checks ----

bool FrmDecodeSet::InputDataCheck() {
  const std::string t = txtAutoResetTime->text().toStdString();
  if (t.empty()) return true;
  const double v = vb::Val(t);
  if (v < 0 || v > 255) {
    intSoundMsgBox(SoundKind::Information, LoadResString(10032), "InputDataCheck");
    return false;
  }
  return true;
}

void FrmDecodeSet::refuse(int firstId, QWidget* focusBack) {
  intSoundMsgBox(SoundKind::Attention, msgText(firstId, firstId + 1), "cboDisplayDigit_Change");
  subSetDecodeControls();
  if (focusBack) focusBack->setFocus(Qt::OtherFocusReason);
}

// ---- ON/OFF lists and their arrows ----

QListWidget* FrmDecodeSet::onOffList(int index) {
  switch (index) {
    case 0: return lstGroupMode;
    case 1: return lstLimitedDecode;
    case 2: return lstAniReceive;
    default: return lstCallReceive;
  }
}

std::string& FrmDecodeSet::onOffValue(int index) {
  switch (index) {
    case 0: return values.m_strGroupMode;
    case 1: return values.m_strLimitedDecode;
    case 2: return values.m_strAniReceive;
    default: return values.m_strCallReceive;
  }
}

void FrmDecodeSet::lstOnOff_GotFocus(int index) { kit_->listGotFocus(onOffList(index), onOffValue(index)); }

void FrmDecodeSet::lstOnOff_LostFocus(int index) {
  if (index == 1 && !decodeFiveToneOptionsAllowed(modPublic.bytRadioData, family_)) {
    // A refused step is never taken, even before its message has come.
    const kit::Busy::Hold hold(kit_->busy);
    lstLimitedDecode->setCurrentRow(indexOf(values.m_strLimitedDecode));
  }
  kit_->listLostFocus(onOffList(index), onOffValue(index));
  updChangeSelect[static_cast<size_t>(index)]->showValue(indexOf(onOffValue(index)));
}

void FrmDecodeSet::lstLimitedDecode_Change() {
  // The keyboard's and the mouse's way of stepping the list: the same rule as
  // the arrows. The refusal waits until the list has done with the key or
  // click that moved it, and comes once.
  const int row = lstLimitedDecode->currentRow();
  if (kit_->busy.on() || !lstLimitedDecode->hasFocus() || row < 0 || row == indexOf(values.m_strLimitedDecode))
    return;
  if (limitedRefusalPending_ || decodeFiveToneOptionsAllowed(modPublic.bytRadioData, family_)) return;
  limitedRefusalPending_ = true;
  QTimer::singleShot(0, this, [this] {
    limitedRefusalPending_ = false;
    if (isLoaded()) refuse(10041, lstLimitedDecode);
  });
}

void FrmDecodeSet::updChangeSelect_Click(int index, int direction) {
  if (index == 1 && !decodeFiveToneOptionsAllowed(modPublic.bytRadioData, family_)) {
    if (kit_->checked()) refuse(10041, lstLimitedDecode);
    return;
  }
  kit_->listStep(onOffList(index), onOffValue(index), direction);
}

// ---- Code boxes ----

std::string* FrmDecodeSet::codeValue(QLineEdit* box) {
  if (!box) return nullptr;
  if (box == txtDecodeNo) return &values.m_strDecodeNo;
  if (box == txtAnswerNo) return &values.m_strAnswerNo;
  if (box == txtFixDsplayDigit) return &values.m_strFixDisplayDigit;
  if (box == txtKillNo) return &values.m_strKillNo;
  return nullptr;
}

void FrmDecodeSet::codeBox_GotFocus(QLineEdit* box) { codes_->focus(box); }

void FrmDecodeSet::useCodeAlphabet(QLineEdit* box) {
  if (box == txtFixDsplayDigit) {
    codes_->alphabet = strDtmfCodeDigits;
    codes_->fill = "F";
  } else {
    // Without a code form nothing can be typed, and a removed digit is
    // refilled with the hex form's empty digit the texts are in.
    const std::string& form = values.m_strFillChar;
    codes_->alphabet = form.empty() ? std::string() : m_strValidKeys;
    codes_->fill = form.empty() ? "F" : form;
  }
}

bool FrmDecodeSet::fixDisplayDigitRefused(QLineEdit* box) {
  if (box != txtFixDsplayDigit || kit_->busy.on() || box->text().toStdString() == values.m_strFixDisplayDigit ||
      decodeFiveToneOptionsAllowed(modPublic.bytRadioData, family_))
    return false;
  intSoundMsgBox(SoundKind::Attention, msgText(10041, 10042), "cboDisplayDigit_Change");
  return true;
}

bool FrmDecodeSet::codeBox_KeyDown(QLineEdit* box, const kit::CodeKey& key) {
  if (key.kind == kit::CodeKey::Tab) return false;  // moving on is the focus chain's
  useCodeAlphabet(box);
  codes_->press(box, key);
  if (fixDisplayDigitRefused(box)) {
    box->setText(q(values.m_strFixDisplayDigit));
    codes_->cursor = 0;
    codes_->select(box);
  }
  return true;
}

bool FrmDecodeSet::codeBox_Entry(QLineEdit* box) {
  useCodeAlphabet(box);
  return codes_->take(box) && !fixDisplayDigitRefused(box);
}

void FrmDecodeSet::codeBox_LostFocus(QLineEdit* box) {
  if (std::string* value = codeValue(box)) kit_->leaveField(box, *value);
}

void FrmDecodeSet::txtAutoResetTime_LostFocus() { kit_->leaveField(txtAutoResetTime, values.m_strAutoResetTime); }

// ---- Combo boxes ----

void FrmDecodeSet::combo_Change(QComboBox* combo, std::string& saved) { kit_->comboChanged(combo, saved); }

void FrmDecodeSet::cboGroupNo_Change() {
  // Each code form keeps its own group number; no decode stores none.
  const std::string& f = values.strDecodeFormat;
  if (f == kFormat5Tone) kit_->comboChanged(cboGroupNo, values.m_strGroupNo5Tone);
  else if (f == kFormatDtmf || f == kFormatAllCall) kit_->comboChanged(cboGroupNo, values.m_strGroupNoDtmf);
  else if (!kit_->busy.on()) kit_->checked();
}

void FrmDecodeSet::cboDisplayDigit_Change() {
  if (kit_->busy.on()) return;
  if (const int refusal = decodeDisplayDigitRefusal(modPublic.bytRadioData, family_, values.strDecodeFormat)) {
    refuse(refusal, nullptr);
    return;
  }
  kit_->comboChanged(cboDisplayDigit, values.m_strDisplayDigit);
}

// ---- Closing and help ----

void FrmDecodeSet::CmdAction_Click(int index) {
  // A press that did not move the focus leaves the field being edited as a
  // click would: a refused entry keeps the page open.
  if (index == 1 && kit_->leaveFocusedField(CmdAction[1])) Unload();
}

void FrmDecodeSet::txtEndForcus_GotFocus() { Unload(); }

void FrmDecodeSet::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, "Decode Set Menu"); }

#include "selcall/pages/frmmemoryencode.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cctype>

#include "core/modpublic.h"
#include "core/pages/pagekit.h"
#include "core/soundmsg.h"
#include "platform/base/appinfo.h"
#include "platform/base/msgservice.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/helpviewer.h"
#include "selcall/memenc.h"

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
constexpr int kLastCaret = kMemoryEncodeDigits - 1;
}  // namespace

FrmMemoryEncode::FrmMemoryEncode(QWidget* parent) : Page(parent), events_(new kit::Events(this)) {
  setObjectName("frmMemoryEncode");
  auto* root = new QVBoxLayout(this);
  menuBar = new QMenuBar(this);
  mnuHelp = menuBar->addAction(QString());
  root->setMenuBar(menuBar);

  fraMemoryEncodeSetting = new QGroupBox(this);
  auto* grid = new QGridLayout(fraMemoryEncodeSetting);
  lblMemoryData = new QLabel("  Memory Data", fraMemoryEncodeSetting);
  lblMemoryName = new QLabel("  Memory Name", fraMemoryEncodeSetting);
  grid->addWidget(lblMemoryData, 0, 1);
  grid->addWidget(lblMemoryName, 0, 2);
  for (int i = 0; i < 16; ++i) {
    // Row numbers "  1" .. "  9", then "10" .. "16" (family "1" numbers its
    // rows from its own captions at load).
    auto* label = new QLabel(QString(i < 9 ? "  %1" : "%1").arg(i + 1), fraMemoryEncodeSetting);
    label->setObjectName(QString("lblMemoryEncode%1").arg(i));
    auto* memory = new QLineEdit(fraMemoryEncodeSetting);
    memory->setObjectName(QString("txtMemory%1").arg(i));
    memory->setContextMenuPolicy(Qt::NoContextMenu);
    memory->setAcceptDrops(false);
    memory->setDragEnabled(false);
    memory->setAttribute(Qt::WA_InputMethodEnabled, false);
    kit::fitWidth(memory, kit::kCodeCharacters, kMemoryEncodeDigits);
    auto* name = new QLineEdit(fraMemoryEncodeSetting);
    name->setObjectName(QString("txtName%1").arg(i));
    name->setMaxLength(kMemoryNameLength);
    kit::fitWidth(name, QString::fromStdString(kMemoryNameSet));
    lblMemoryEncode[static_cast<size_t>(i)] = label;
    txtMemory[static_cast<size_t>(i)] = memory;
    txtName[static_cast<size_t>(i)] = name;
    grid->addWidget(label, i + 1, 0);
    grid->addWidget(memory, i + 1, 1);
    grid->addWidget(name, i + 1, 2);
    events_->keyDown(memory, [this, i](QKeyEvent* e) { return txtMemory_KeyDown(i, e); });
    events_->gotFocus(memory, [memory] {
      // Arriving from the keyboard: the caret on the first digit, nothing
      // selected (after the box's own handling, which selects all on Tab).
      if (QApplication::mouseButtons() != Qt::NoButton) return;
      QTimer::singleShot(0, memory, [memory] {
        memory->deselect();
        memory->setCursorPosition(0);
      });
    });
    events_->mouseUp(memory, [memory] {
      // A click only places the caret: no selection, never past the last digit.
      memory->deselect();
      if (memory->cursorPosition() > kLastCaret) memory->setCursorPosition(kLastCaret);
    });
    connect(memory, &QLineEdit::textChanged, this, [this, i] { txtMemory_Change(i); });
    events_->keyDown(name, [this, i](QKeyEvent* e) { return txtName_KeyDown(i, e); });
    connect(name, &QLineEdit::textChanged, this, [this, i] { txtName_Change(i); });
  }
  root->addWidget(fraMemoryEncodeSetting);

  const kit::ActionFrame action = kit::makeActionFrame(this);
  fraAction = action.frame;
  CmdAction[1] = action.exit;
  root->addWidget(fraAction);
  connect(CmdAction[1], &QPushButton::clicked, this, [this] { CmdAction_Click(1); });
  connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });
  noDefaultButtons(this);
}

void FrmMemoryEncode::Form_Load() {
  ModPublic& m = modPublic;
  const int family = m.family();
  placeFromMainMenu(450, 2000);
  setCaption(std::string(app::kTitle) + "-" + "MemoryEncode");
  const uint32_t colour = vb::ColorValue(m.strLabelColor);
  for (QWidget* w : std::initializer_list<QWidget*>{this, fraMemoryEncodeSetting, fraAction}) vbui::setBackColor(w, colour);
  plainButtonColours(this);
  rows_ = memoryEncodeRows(family);
  m.blnResult = subGetMemoryEncodeData();
  CmdAction[1]->setText(q(LoadResString(680)));
  mnuHelp->setText(q(LoadResString(1406)));
  fraMemoryEncodeSetting->setTitle(q(LoadResString(1424)));
  fraAction->setTitle(q(LoadResString(161)));
  for (int i = 0; i < 16; ++i) {
    const QString row = lblMemoryEncode[static_cast<size_t>(i)]->text().trimmed();
    txtMemory[static_cast<size_t>(i)]->setAccessibleName(lblMemoryData->text().trimmed() + " " + row);
    txtName[static_cast<size_t>(i)]->setAccessibleName(lblMemoryName->text().trimmed() + " " + row);
  }
  if (family != 0) {
    // Rows the family has no bytes for, and names it does not have.
    const kit::Busy::Hold hold(busy_);
    for (int i = rows_; i < 16; ++i) {
      txtMemory[static_cast<size_t>(i)]->clear();
      kit::setEnabledPainted(txtMemory[static_cast<size_t>(i)], false);
      lblMemoryEncode[static_cast<size_t>(i)]->setEnabled(false);  // greyed text
    }
    for (QLineEdit* name : txtName) {
      name->clear();
      kit::setEnabledPainted(name, false);
    }
    lblMemoryName->setEnabled(false);
  }
  adjustSize();
}

bool FrmMemoryEncode::subGetMemoryEncodeData() {
  const std::vector<uint8_t>& image = modPublic.bytRadioData;
  const int family = modPublic.family();
  form_ = memoryEncodeForm(image, family);
  const kit::Busy::Hold hold(busy_);
  if (family == 1)
    for (int i = 0; i < 16; ++i) lblMemoryEncode[static_cast<size_t>(i)]->setText(q(LoadResString(600 + i)));
  rowsAsLoaded_.clear();
  shown_.assign(16, std::string());
  for (int r = 0; r < rows_; ++r) {
    rowsAsLoaded_.push_back(memoryEncodeRow(image, family, r, form_));
    shown_[static_cast<size_t>(r)] = rowsAsLoaded_.back();
    txtMemory[static_cast<size_t>(r)]->setText(q(rowsAsLoaded_.back()));
  }
  namesAsLoaded_.assign(16, std::string());
  names_.assign(16, std::string());
  if (family != 0) return true;
  std::vector<int> kept;
  for (int n = 0; n < 16; ++n) {
    namesAsLoaded_[static_cast<size_t>(n)] = memoryEncodeName(image, n);
    names_[static_cast<size_t>(n)] = namesAsLoaded_[static_cast<size_t>(n)];
    txtName[static_cast<size_t>(n)]->setText(q(names_[static_cast<size_t>(n)]));
    if (!inMemoryNameSet(names_[static_cast<size_t>(n)])) kept.push_back(n);
  }
  modPublic.strMemoryEncodeName = names_;
  if (!kept.empty()) {
    // A stored name the keyboard could not type is kept as it is, unless the
    // user changes it.
    std::string text = LoadResString(10085);
    for (int n : kept) text += "\r" + lblMemoryName->text().trimmed().toStdString() + " " + std::to_string(n + 1);
    intSoundMsgBox(SoundKind::Attention, text, "subGetMemoryEncodeData");
  }
  return true;
}

bool FrmMemoryEncode::subPutMemoryEncodeData() {
  std::vector<uint8_t>& image = modPublic.bytRadioData;
  const int family = modPublic.family();
  for (int r = 0; r < rows_; ++r) {
    const std::string text = txtMemory[static_cast<size_t>(r)]->text().toStdString();
    if (text != rowsAsLoaded_[static_cast<size_t>(r)]) putMemoryEncodeRow(image, family, r, text, form_);
  }
  if (family != 0) return true;
  for (int n = 0; n < 16; ++n)
    if (names_[static_cast<size_t>(n)] != namesAsLoaded_[static_cast<size_t>(n)])
      putMemoryEncodeName(image, n, names_[static_cast<size_t>(n)]);
  return true;
}

bool FrmMemoryEncode::txtMemory_KeyDown(int index, QKeyEvent* e) {
  QLineEdit* box = txtMemory[static_cast<size_t>(index)];
  int caret = std::min(box->cursorPosition(), kLastCaret);
  switch (e->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
      return false;
    case Qt::Key_Left:
      if (caret > 0) --caret;
      break;
    case Qt::Key_Right:
      if (caret < kLastCaret) ++caret;
      break;
    case Qt::Key_Up:
    case Qt::Key_Down: {
      const int next = index + (e->key() == Qt::Key_Up ? -1 : 1);
      QLineEdit* target = next >= 0 && next < rows_ ? txtMemory[static_cast<size_t>(next)] : box;
      target->setFocus(Qt::OtherFocusReason);
      target->deselect();
      target->setCursorPosition(0);
      return true;
    }
    default: {
      // Every other key is either a digit of the current form, which replaces
      // the digit at the caret, or nothing.
      const int c = vbui::keyAscii(e);
      const bool plain = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
      const std::string& keys = memoryEncodeKeys(form_);
      if (plain && c > 32 && c < 127 && keys.find(static_cast<char>(c)) != std::string::npos) {
        QString text = box->text();
        if (caret < text.size()) {
          text[caret] = QChar(std::toupper(c));
          box->setText(text);
          if (caret < kLastCaret) ++caret;
        }
      }
      break;
    }
  }
  box->deselect();
  box->setCursorPosition(caret);
  return true;
}

void FrmMemoryEncode::txtMemory_Change(int index) {
  if (busy_.on()) return;
  QLineEdit* box = txtMemory[static_cast<size_t>(index)];
  std::string& shown = shown_[static_cast<size_t>(index)];
  // A row's text changes only into 16 digits of the form: what else puts
  // text there (a middle click pasting the selection, an accessibility tool
  // setting it) is put back. Small letters become capitals.
  const std::string text = box->text().toStdString();
  const bool digits = index < rows_ && text.size() == static_cast<size_t>(kMemoryEncodeDigits) &&
                      text.find_first_not_of(memoryEncodeKeys(form_)) == std::string::npos;
  const int caret = box->cursorPosition();
  const kit::Busy::Hold hold(busy_);
  if (digits) shown = box->text().toUpper().toStdString();
  if (box->text().toStdString() == shown) return;
  box->setText(q(shown));
  box->setCursorPosition(std::min(caret, kLastCaret));
}

bool FrmMemoryEncode::txtName_KeyDown(int index, QKeyEvent* e) {
  if (modPublic.family() != 0) return false;
  const bool plain = !(e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
  const int key = e->key();
  if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down || key == Qt::Key_Up)) {
    const int next = index + (key == Qt::Key_Up ? -1 : 1);
    if (next >= 0 && next < 16) {
      txtName[static_cast<size_t>(index)]->deselect();
      txtName[static_cast<size_t>(next)]->setFocus(Qt::OtherFocusReason);
    }
    return true;
  }
  return kit::refusedCharacter(e, kMemoryNameSet);
}

void FrmMemoryEncode::txtName_Change(int index) {
  if (busy_.on() || modPublic.family() != 0) return;
  QLineEdit* box = txtName[static_cast<size_t>(index)];
  const std::string text = box->text().toStdString();
  if (inMemoryNameSet(text)) {
    names_[static_cast<size_t>(index)] = text;
    if (static_cast<size_t>(index) < modPublic.strMemoryEncodeName.size())
      modPublic.strMemoryEncodeName[static_cast<size_t>(index)] = text;
    return;
  }
  // Pasted text outside the name set: refused, and the name is what it was.
  MsgBoxNoSound(LoadResString(10032) + "\r\"" + text + "\"", vb::vbInformation, "txtName_Change");
  const kit::Busy::Hold hold(busy_);
  box->setText(q(names_[static_cast<size_t>(index)]));
}

void FrmMemoryEncode::Form_Activate() {
  QLineEdit* first = txtMemory[0];
  if (!first->isEnabled()) return;
  first->setFocus(Qt::OtherFocusReason);
  first->deselect();
  first->setCursorPosition(0);
}

void FrmMemoryEncode::CmdAction_Click(int index) {
  if (index == 1) Unload();
}

void FrmMemoryEncode::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, "Memory Encode Menu"); }

void FrmMemoryEncode::Form_Unload(bool& cancel) {
  (void)cancel;
  modPublic.blnResult = subPutMemoryEncodeData();
}

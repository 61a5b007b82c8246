#include "options/pages/scanpagebase.h"

#include <QAction>
#include <QCloseEvent>
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
#include "options/scan.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/helpviewer.h"

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
constexpr int kEscape = 27;
}  // namespace

ScanPageBase::ScanPageBase(QWidget* parent, const char* helpTopic)
    : Page(parent), kit_(this, [this] { return InputDataCheck(leaving_); }, [this] { showValues(); }),
      helpTopic_(helpTopic) {
  auto* root = new QVBoxLayout(this);
  menuBar = new QMenuBar(this);
  mnuHelp = menuBar->addAction(q(LoadResString(1406)));
  root->setMenuBar(menuBar);
  connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });
}

QGroupBox* ScanPageBase::makeFrame(int firstCaption, int labels, const char* labelName) {
  frame_ = new QGroupBox(this);
  grid_ = new QGridLayout(frame_);
  for (int i = 0; i < labels; ++i) {
    auto* l = new QLabel(q(LoadResString(firstCaption + i)), frame_);
    l->setObjectName(QString("%1%2").arg(labelName).arg(i));
    labels_.push_back(l);
    grid_->addWidget(l, i, 0);
  }
  static_cast<QVBoxLayout*>(layout())->addWidget(frame_);
  return frame_;
}

QLineEdit* ScanPageBase::addBox(int row, const char* name, int maxLength, const char* keys) {
  auto* box = new QLineEdit(frame_);
  box->setObjectName(name);
  box->setMaxLength(maxLength);
  kit::fitWidth(box, keys);
  box->setAccessibleName(labels_.at(static_cast<size_t>(row))->text());
  grid_->addWidget(box, row, 1);
  const std::string accepted = keys;
  kit_.events->lostFocus(box, [this, box] { txtBox_LostFocus(box); });
  kit_.events->keyDown(box, [this, box, accepted](QKeyEvent* e) {
    if (txtBox_KeyPress(box, vbui::keyCode(e))) return true;
    return kit::refusedCharacter(e, accepted);
  });
  return box;
}

QListWidget* ScanPageBase::addList(int row, int field, const QStringList& entries) {
  const int index = static_cast<int>(updChangeSelect.size());
  const QString caption = labels_.at(static_cast<size_t>(row))->text();
  auto* r = new kit::UpDownList(frame_, entries, caption);
  r->oneRowHigh();
  updChangeSelect.push_back(r);
  listFields_.push_back(field);
  grid_->addWidget(r, row, 1);
  connect(r->up, &QToolButton::clicked, this, [this, index] { updChangeSelect_Click(index, 0); });
  connect(r->down, &QToolButton::clicked, this, [this, index] { updChangeSelect_Click(index, 1); });
  kit_.events->gotFocus(r->list, [this, index] { lstList_GotFocus(index); });
  kit_.events->lostFocus(r->list, [this, index] { lstList_LostFocus(index); });
  kit_.events->keyDown(r->list, [this, index](QKeyEvent* e) {
    const int code = vbui::keyCode(e);
    lstList_KeyPress(index, code);
    return code == kEscape;
  });
  return r->list;
}

void ScanPageBase::finish() {
  fraAction = new QGroupBox(this);
  auto* actions = new QHBoxLayout(fraAction);
  CmdAction[1] = new QPushButton(fraAction);
  CmdAction[1]->setObjectName("CmdAction1");
  CmdAction[1]->setToolTip(q(LoadResString(1439)));
  actions->addWidget(CmdAction[1]);
  static_cast<QVBoxLayout*>(layout())->addWidget(fraAction);
  connect(CmdAction[1], &QPushButton::clicked, this, [this] { CmdAction_Click(1); });
  txtEndForcus = kit_.makeSink([this] { txtEndForcus_GotFocus(); });
  // Tabbing onto it closes the page: a screen reader reads it as Exit.
  txtEndForcus->setAccessibleName(q(LoadResString(780)));
  noDefaultButtons(this);
}

void ScanPageBase::loadLayout(int dTop, int dLeft, const std::string& caption, int frameCaption) {
  placeFromMainMenu(dTop, dLeft);
  setCaption(std::string(app::kTitle) + "-" + caption);
  const uint32_t colour = vb::ColorValue(modPublic.strLabelColor);
  for (QWidget* w : std::initializer_list<QWidget*>{this, frame_, fraAction}) vbui::setBackColor(w, colour);
  plainButtonColours(this);
  frame_->setTitle(q(LoadResString(frameCaption)));
  fraAction->setTitle(q(LoadResString(161)));
  CmdAction[1]->setText(q(LoadResString(780)));
}

bool ScanPageBase::passes(int message) {
  if (message == 0) return true;
  intSoundMsgBox(SoundKind::Information, options::checkMessageText(message), "InputDataCheck");
  return false;
}

void ScanPageBase::showLists() {
  for (size_t k = 0; k < updChangeSelect.size(); ++k) {
    QListWidget* l = updChangeSelect[k]->list;
    l->setCurrentRow(-1);
    l->clearSelection();
    updChangeSelect[k]->showValue(options::channelNumber(saved(listFields_[k])));
  }
}

void ScanPageBase::Form_Unload(bool& cancel) {
  (void)cancel;
  putValues();
}

void ScanPageBase::closeAfter(QWidget* field) {
  const int i = fieldOf(field);
  if (auto* box = qobject_cast<QLineEdit*>(field)) {
    saved(i) = box->text().toStdString();
  } else if (auto* l = qobject_cast<QListWidget*>(field)) {
    if (l->currentRow() >= 0) saved(i) = std::to_string(l->currentRow());
  }
  txtEndForcus->clearMark();
  Unload();
}

void ScanPageBase::txtBox_LostFocus(QLineEdit* box) {
  if (blnDataSetting() || !isLoaded()) return;
  leaving_ = box;
  kit_.leaveField(box, saved(fieldOf(box)));
}

bool ScanPageBase::txtBox_KeyPress(QLineEdit* box, int keyCode) {
  if (keyCode != kEscape) return false;
  if (InputDataCheck(box)) closeAfter(box);
  else kit_.refuse(box);
  return true;
}

void ScanPageBase::lstList_GotFocus(int index) {
  if (blnDataSetting()) return;
  kit_.listGotFocus(updChangeSelect.at(static_cast<size_t>(index))->list, saved(listFields_.at(static_cast<size_t>(index))));
}

void ScanPageBase::lstList_LostFocus(int index) {
  if (blnDataSetting() || !isLoaded()) return;
  kit::UpDownList* r = updChangeSelect.at(static_cast<size_t>(index));
  std::string& value = saved(listFields_.at(static_cast<size_t>(index)));
  leaving_ = r->list;
  kit_.listLostFocus(r->list, value);
  r->showValue(options::channelNumber(value));
}

void ScanPageBase::lstList_KeyPress(int index, int keyCode) {
  if (keyCode != kEscape) return;
  QListWidget* l = updChangeSelect.at(static_cast<size_t>(index))->list;
  if (InputDataCheck(l)) closeAfter(l);
  else kit_.refuse(l);
}

void ScanPageBase::updChangeSelect_Click(int index, int direction) {
  if (blnDataSetting() || index < 0 || index >= static_cast<int>(updChangeSelect.size())) return;
  QListWidget* l = updChangeSelect[static_cast<size_t>(index)]->list;
  // Arrows beside a disabled list never give it the focus or a value.
  if (!l->isEnabled()) return;
  // The focus moves to the list: the field that has it is being left.
  leaving_ = focusWidget();
  kit_.listStep(l, saved(listFields_[static_cast<size_t>(index)]), direction);
}

void ScanPageBase::CmdAction_Click(int index) {
  if (index != 1) return;
  // A mouse click moves the focus to Exit first, so the field being edited is
  // left and judged; a press by keyboard shortcut or screen reader does not.
  if (!takeFocusedField()) return;
  putValues();
  Unload();
}

bool ScanPageBase::takeFocusedField() {
  QWidget* w = focusWidget();
  const int i = fieldOf(w);
  if (i < 0 || !w->isEnabled()) return true;
  if (auto* box = qobject_cast<QLineEdit*>(w)) {
    if (box->text().toStdString() == saved(i)) return true;
    leaving_ = box;
    return kit_.leaveField(box, saved(i));
  }
  if (auto* l = qobject_cast<QListWidget*>(w); l && l->currentRow() >= 0) saved(i) = std::to_string(l->currentRow());
  return true;
}

void ScanPageBase::closeEvent(QCloseEvent* e) {
  // The window's close box takes the field being edited as Exit does.
  if (isLoaded() && !takeFocusedField()) {
    e->ignore();
    return;
  }
  Page::closeEvent(e);
}

void ScanPageBase::txtEndForcus_GotFocus() {
  if (!isLoaded()) return;
  putValues();
  Unload();
}

void ScanPageBase::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, helpTopic_); }

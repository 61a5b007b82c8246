#include "channel/pages/frmchannelname.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include "channel/names.h"
#include "core/modpublic.h"
#include "core/pages/pagekit.h"
#include "core/soundmsg.h"
#include "platform/base/msgservice.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/helpviewer.h"

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

// Hidden boxes keep their place, so a short last page keeps the grid's shape.
void keepPlaceWhenHidden(QWidget* w) {
  QSizePolicy p = w->sizePolicy();
  p.setRetainSizeWhenHidden(true);
  w->setSizePolicy(p);
}
}  // namespace

FrmChannelName::FrmChannelName(QWidget* parent) : Page(parent) {
  setObjectName("frmChannelName");
  auto* root = new QVBoxLayout(this);
  menuBar = new QMenuBar(this);
  mnuHelp = menuBar->addAction(q(LoadResString(1406)));
  root->setMenuBar(menuBar);

  auto* head = new QHBoxLayout;
  Label2 = new QLabel(this);
  Label2->setObjectName("Label2");
  QFont title = Label2->font();
  title.setBold(true);
  title.setPointSizeF(title.pointSizeF() * 1.3);
  Label2->setFont(title);
  head->addWidget(Label2, 1);
  Label3 = new QLabel(this);
  Label3->setObjectName("Label3");
  head->addWidget(Label3);
  cboPageNo = new QComboBox(this);
  cboPageNo->setObjectName("cboPageNo");
  Label3->setBuddy(cboPageNo);
  head->addWidget(cboPageNo);
  root->addLayout(head);

  fraChannelName = new QGroupBox(this);
  fraChannelName->setObjectName("fraChannelName");
  auto* grid = new QGridLayout(fraChannelName);
  grid->setHorizontalSpacing(4);
  for (int i = 0; i < names::kBoxesPerPage; ++i) {
    const auto k = static_cast<size_t>(i);
    const int row = i % 10;
    const int col = (i / 10) * 3;
    labChannelName[k] = new QLabel(fraChannelName);
    labChannelName[k]->setObjectName(QString("labChannelName%1").arg(i));
    labChannelName[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for the widest number, so the page keeps its size from page to page.
    labChannelName[k]->setMinimumWidth(labChannelName[k]->fontMetrics().horizontalAdvance(" 255"));
    LabColon[k] = new QLabel(":", fraChannelName);
    auto* box = new QLineEdit(fraChannelName);
    box->setObjectName(QString("txtChannelMenu%1").arg(i));
    box->setMaxLength(names::kNameLength);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QString(names::kNameLength + 2, 'W')));
    box->installEventFilter(this);
    txtChannelMenu[k] = box;
    labChannelName[k]->setBuddy(box);
    for (QWidget* w : std::initializer_list<QWidget*>{labChannelName[k], LabColon[k], box}) keepPlaceWhenHidden(w);
    grid->addWidget(labChannelName[k], row, col);
    grid->addWidget(LabColon[k], row, col + 1);
    grid->addWidget(box, row, col + 2);
    // Every change the page does not make itself: typing, pasting, dropping,
    // and a screen reader or other assistive tool setting the text.
    connect(box, &QLineEdit::textChanged, this, [this, i] { txtChannelMenu_Change(i); });
  }
  root->addWidget(fraChannelName);

  fraAction = new QGroupBox(this);
  fraAction->setObjectName("fraAction");
  auto* actions = new QHBoxLayout(fraAction);
  CmdAction[0] = new QPushButton(fraAction);
  CmdAction[0]->setObjectName("CmdAction0");
  CmdAction[0]->setToolTip("Close this menu");
  actions->addStretch(1);
  actions->addWidget(CmdAction[0]);
  root->addWidget(fraAction);

  connect(cboPageNo, &QComboBox::currentIndexChanged, this, [this] { cboPageNo_Click(); });
  connect(CmdAction[0], &QPushButton::clicked, this, [this] { CmdAction_Click(0); });
  connect(mnuHelp, &QAction::triggered, this, [this] { mnuHelp_Click(); });
  noDefaultButtons(this);
}

int FrmChannelName::nameIndex(int box) const { return intPage_ * names::kBoxesPerPage + box; }

int FrmChannelName::lastName() const { return static_cast<int>(modPublic.strChannelName.size()) - 1; }

void FrmChannelName::Form_Load() {
  ModPublic& m = modPublic;
  family_ = m.family();
  placeFromMainMenu(700, 500);
  setCaption("ChannelName");
  const uint32_t colour = vb::ColorValue(m.strLabelColor);
  for (QWidget* w : std::initializer_list<QWidget*>{this, fraChannelName, fraAction}) vbui::setBackColor(w, colour);
  plainButtonColours(this);

  Label2->setText(q(LoadResString(1415)));
  fraChannelName->setTitle(q(LoadResString(1416)));
  Label3->setText(q(LoadResString(1417)));
  fraAction->setTitle(q(LoadResString(161)));
  CmdAction[0]->setText(q(LoadResString(1080)));

  intLastPage_ = names::lastPage(family_);
  {
    const QSignalBlocker lock(cboPageNo);
    cboPageNo->clear();
    for (int p = 0; p <= intLastPage_; ++p) cboPageNo->addItem(QString("page %1").arg(p + 1));
  }
  intPage_ = 0;
  warned_ = false;
  // The main menu sizes the names for the family; a page opened otherwise
  // sizes them itself.
  const auto count = static_cast<size_t>(names::nameCount(family_));
  if (m.strChannelName.size() != count) m.strChannelName.assign(count, std::string());
  adjustSize();
}

void FrmChannelName::Form_Activate() {
  subGetChannelNameData();
  intPage_ = 0;
  {
    const QSignalBlocker lock(cboPageNo);
    cboPageNo->setCurrentIndex(0);
  }
  subShowNamePage();
  txtChannelMenu[0]->setFocus();
  txtChannelMenu[0]->setCursorPosition(0);
  // After the page is up, so the warning stands over the names it is about.
  QTimer::singleShot(0, this, [this] {
    if (isLoaded()) warnForeignNames();
  });
}

void FrmChannelName::warnForeignNames() {
  if (warned_) return;
  const std::vector<int> channels = names::foreignChannels(family_, modPublic.strChannelName);
  if (channels.empty()) return;
  warned_ = true;
  intSoundMsgBox(SoundKind::Information, LoadResString(10083) + "\r" + names::channelList(channels),
                 "subGetChannelNameData");
}

void FrmChannelName::Form_Unload(bool& cancel) {
  (void)cancel;
  subPutChannelNameData();
}

void FrmChannelName::subGetChannelNameData() {
  modPublic.strChannelName = names::subSetIniData(modPublic.bytRadioData, family_);
  asLoaded_ = modPublic.strChannelName;
}

void FrmChannelName::subPutChannelNameData() {
  names::subPutChannelNameData(modPublic.bytRadioData, family_, modPublic.strChannelName, asLoaded_);
}

void FrmChannelName::subShowNamePage() {
  const int last = lastName();
  for (int i = 0; i < names::kBoxesPerPage; ++i) {
    const auto k = static_cast<size_t>(i);
    const int n = nameIndex(i);
    const bool shown = n <= last;
    labChannelName[k]->setVisible(shown);
    LabColon[k]->setVisible(shown);
    txtChannelMenu[k]->setVisible(shown);
    if (!shown) continue;
    labChannelName[k]->setText(" " + QString::number(n + 1));
    txtChannelMenu[k]->setAccessibleName(QString::number(n + 1));
    putBoxText(i, modPublic.strChannelName[static_cast<size_t>(n)], -1);
  }
}

void FrmChannelName::putBoxText(int box, const std::string& text, int caret) {
  QLineEdit* b = txtChannelMenu[static_cast<size_t>(box)];
  filling_ = true;
  b->setText(q(text));
  if (caret >= 0) b->setCursorPosition(caret);
  filling_ = false;
}

void FrmChannelName::cboPageNo_Click() {
  if (cboPageNo->currentIndex() < 0) return;
  intPage_ = cboPageNo->currentIndex();
  subShowNamePage();
}

void FrmChannelName::goToPage(int page, int box) {
  intPage_ = page;
  {
    const QSignalBlocker lock(cboPageNo);
    cboPageNo->setCurrentIndex(page);
  }
  subShowNamePage();
  focusBox(box);
}

void FrmChannelName::focusBox(int box) { txtChannelMenu[static_cast<size_t>(box)]->setFocus(); }

void FrmChannelName::txtChannelMenu_Change(int index) {
  if (filling_) return;
  QLineEdit* box = txtChannelMenu[static_cast<size_t>(index)];
  if (nameIndex(index) > lastName()) {
    // A hidden box beyond the family's names holds nothing.
    putBoxText(index, std::string(), -1);
    return;
  }
  std::string& stored = modPublic.strChannelName.at(static_cast<size_t>(nameIndex(index)));
  const std::string shown = box->text().toStdString();
  const std::string text = names::enteredText(family_, shown);
  if (names::addsForeign(family_, stored, text)) {
    // A pasted or dropped text with a character a name cannot hold: the name
    // stays as it was.
    MsgBoxNoSound(LoadResString(10032) + "\r\"" + shown + "\"", vb::vbInformation, "txtChannelMenu_Change");
    putBoxText(index, stored, -1);
    box->setFocus();
    box->selectAll();
    return;
  }
  stored = text;
  if (text != shown) putBoxText(index, text, box->cursorPosition());
}

bool FrmChannelName::txtChannelMenu_KeyDown(int index, int keyCode, int shift) {
  if (shift != 0) return false;
  if (keyCode != 13 && (keyCode < 37 || keyCode > 40)) return false;
  QLineEdit* box = txtChannelMenu[static_cast<size_t>(index)];
  names::BoxPlace at;
  at.family = family_;
  at.page = intPage_;
  at.box = index;
  at.caret = box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
  at.textLength = static_cast<int>(box->text().size());
  const names::BoxMove move = names::boxMove(at, keyCode, lastName());
  switch (move.kind) {
    case names::BoxMove::Default: return keyCode == 13;
    case names::BoxMove::Stay: return true;
    case names::BoxMove::Box: focusBox(move.box); return true;
    case names::BoxMove::ShowPage: goToPage(move.page, move.box); return true;
  }
  return true;
}

bool FrmChannelName::txtChannelMenu_KeyPress(int index, int keyAscii) {
  // Backspace and the control keys (copy, paste, undo) are the box's own; a
  // paste is judged when it changes the text.
  if (keyAscii < 32 || keyAscii == 127) return false;
  const char c = names::typedChar(family_, keyAscii);
  if (c == 0) return true;  // not a name character: dropped
  QLineEdit* box = txtChannelMenu[static_cast<size_t>(index)];
  const int at = box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
  QString text = box->text();
  text.replace(at, static_cast<int>(box->selectedText().size()), QChar(c));
  if (text.size() <= names::kNameLength) {
    modPublic.strChannelName.at(static_cast<size_t>(nameIndex(index))) = text.toStdString();
    putBoxText(index, text.toStdString(), at + 1);
  }
  // The eighth character moves on to the next name, as Enter does.
  if (at >= names::kNameLength - 1) txtChannelMenu_KeyDown(index, 13, 0);
  return true;
}

void FrmChannelName::txtChannelMenu_KeyUp(int index, int keyCode) {
  if (keyCode != 8 && keyCode != 46) return;
  QLineEdit* box = txtChannelMenu[static_cast<size_t>(index)];
  const std::string& stored = modPublic.strChannelName.at(static_cast<size_t>(nameIndex(index)));
  if (box->text().toStdString() != stored) putBoxText(index, stored, box->cursorPosition());
}

bool FrmChannelName::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return Page::eventFilter(watched, event);
  int index = -1;
  for (int i = 0; i < names::kBoxesPerPage; ++i)
    if (watched == txtChannelMenu[static_cast<size_t>(i)]) index = i;
  if (index < 0) return Page::eventFilter(watched, event);
  auto* k = static_cast<QKeyEvent*>(event);
  const int code = vbui::keyCode(k);
  if (type == QEvent::KeyRelease) {
    txtChannelMenu_KeyUp(index, code);
    return false;
  }
  if (txtChannelMenu_KeyDown(index, code, vbui::shiftState(k))) return true;
  const int ascii = vbui::keyAscii(k);
  if (ascii == 0 || (vbui::shiftState(k) & 6) != 0) return false;  // Ctrl and Alt keys are shortcuts
  return txtChannelMenu_KeyPress(index, ascii);
}

void FrmChannelName::CmdAction_Click(int index) {
  if (index == 0) Unload();
}

void FrmChannelName::mnuHelp_Click() { help::showTopic(modPublic.strHelpFile, "Channel Name Menu"); }

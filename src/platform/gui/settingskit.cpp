#include "platform/gui/settingskit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <cctype>

#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"
#include "platform/gui/vbui.h"

namespace kit {

void paintByState(QWidget* control) {
  if (!control) return;
  const QColor back = control->isEnabled() ? QApplication::palette(control).color(QPalette::Active, QPalette::Base)
                                           : vbui::color(vbui::kDisabledBack);
  QPalette p = control->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    p.setColor(group, QPalette::Base, back);
    // A drop-down list's face is drawn in the button colour.
    if (qobject_cast<QComboBox*>(control))
      p.setColor(group, QPalette::Button,
                 control->isEnabled() ? QApplication::palette(control).color(group, QPalette::Button) : back);
  }
  // The value of a disabled control stays readable on the grey.
  for (auto role : {QPalette::Text, QPalette::ButtonText}) p.setColor(QPalette::Disabled, role, vbui::color(vbui::kDisabledText));
  control->setPalette(p);
}

void setEnabledPainted(QWidget* control, bool enabled) {
  if (!control) return;
  control->setEnabled(enabled);
  paintByState(control);
}

void MaskRows::add(int ch, std::vector<QWidget*> plain, std::vector<QWidget*> values) {
  rows_.push_back({ch, std::move(plain), std::move(values)});
}

void MaskRows::apply(const std::string& mask) const {
  for (const Row& r : rows_) {
    const bool on = r.ch >= 1 && static_cast<size_t>(r.ch) <= mask.size() && mask[static_cast<size_t>(r.ch - 1)] == '1';
    for (QWidget* w : r.plain)
      if (w) w->setEnabled(on);
    for (QWidget* w : r.values) setEnabledPainted(w, on);
  }
}

// ---- Events ----

Events::Events(QObject* parent) : QObject(parent) {}

Events::Handlers& Events::of(QWidget* w) {
  for (auto& [object, h] : handlers_)
    if (object == w) return h;
  w->installEventFilter(this);
  handlers_.emplace_back(w, Handlers{});
  return handlers_.back().second;
}

void Events::gotFocus(QWidget* w, std::function<void()> fn) { of(w).gotFocus = std::move(fn); }
void Events::lostFocus(QWidget* w, std::function<void()> fn) {
  of(w).lostFocus = std::move(fn);
  if (auto* box = qobject_cast<QLineEdit*>(w); box && textBoxBound) textBoxBound(box);
}
void Events::keyDown(QWidget* w, std::function<bool(QKeyEvent*)> fn) { of(w).keyDown = std::move(fn); }
void Events::keyUp(QWidget* w, std::function<void(QKeyEvent*)> fn) { of(w).keyUp = std::move(fn); }
void Events::mouseUp(QWidget* w, std::function<void()> fn) { of(w).mouseUp = std::move(fn); }

bool Events::eventFilter(QObject* watched, QEvent* event) {
  // A copy: a handler may bind more controls while it runs.
  Handlers h;
  bool bound = false;
  for (const auto& [object, handlers] : handlers_)
    if (object == watched) {
      h = handlers;
      bound = true;
    }
  if (!bound) return false;
  switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
      // A message box, a menu or another window taking the focus (and giving
      // it back) is not moving between the page's controls.
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      if (event->type() == QEvent::FocusIn && reason == Qt::ActiveWindowFocusReason && h.gotFocus)
        if (auto* view = qobject_cast<QAbstractItemView*>(watched); view && !view->currentIndex().isValid()) {
          // A list that comes back with its window showing no entry (the
          // page put its values back, or sent the focus here, while a message
          // box was in front) would take its first entry from Qt, and leaving
          // it would store that: it shows its saved entry instead.
          h.gotFocus();
          return false;
        }
      if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || quiet) return false;
      if (event->type() == QEvent::FocusIn) {
        if (h.gotFocus) h.gotFocus();
      } else if (h.lostFocus && !leaving_) {
        runLeaving(h.lostFocus);
      }
      return false;
    }
    case QEvent::KeyPress:
      return h.keyDown && h.keyDown(static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
      if (h.keyUp) h.keyUp(static_cast<QKeyEvent*>(event));
      return false;
    case QEvent::MouseButtonRelease:
      if (h.mouseUp) h.mouseUp();
      return false;
    default:
      return false;
  }
}

void Events::runLeaving(const std::function<void()>& fn) {
  leaving_ = true;
  fn();
  leaving_ = false;
}

bool Events::leave(QWidget* w) {
  if (leaving_) return false;
  for (const auto& [object, handlers] : handlers_)
    if (object == w && handlers.lostFocus) {
      const std::function<void()> fn = handlers.lostFocus;  // a handler may bind more controls
      runLeaving(fn);
      return true;
    }
  return false;
}

bool refusedCharacter(const QKeyEvent* e, const std::string& accepted) {
  // A character outside Latin-1 (a Cyrillic or Greek letter, a kana) has no
  // key code of its own, but it types a character all the same.
  const QString typed = e->text();
  if (!typed.isEmpty() && typed.at(0).unicode() > 255) return typed.at(0).isPrint();
  const int c = vbui::keyAscii(e);
  if (c < 32 || c == 127) return false;  // editing, moving and control keys
  return c > 126 || accepted.find(static_cast<char>(c)) == std::string::npos;
}

// ---- Focus sink ----

FocusSink::FocusSink(QWidget* page, std::function<void()> arrive) : QLineEdit(page), arrive_(std::move(arrive)) {
  setObjectName("txtEndForcus");
  setFocusPolicy(Qt::TabFocus);
  // Out of sight but able to take the focus: outside the page's area.
  setGeometry(-20, -20, 1, 1);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    if (now == this && old != this) cameFrom_ = old;
  });
}

void FocusSink::placeLast() {
  QWidget* page = parentWidget();
  QWidget* last = nullptr;
  for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain())
    if (w != this && page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus)) last = w;
  if (last) QWidget::setTabOrder(last, this);
}

void FocusSink::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  const auto reason = e->reason();
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
  if (marked()) {
    clearMark();
    // Unless a refusal is putting the focus back already, it returns to the
    // control it came from.
    QPointer<FocusSink> self(this);
    QTimer::singleShot(0, this, [self] {
      if (self && self->hasFocus() && self->cameFrom_) self->cameFrom_->setFocus(Qt::OtherFocusReason);
    });
    return;
  }
  if (arrive_) arrive_();
}

// ---- SettingsKit ----

SettingsKit::SettingsKit(QWidget* page, std::function<bool()> check, std::function<void()> restore)
    : events(new Events(page)), page_(page) {
  check_ = [this, check = std::move(check)] {
    Busy::Hold own(judging_);
    return check();
  };
  restore_ = [this, restore = std::move(restore)] {
    Busy::Hold own(judging_);
    restore();
  };
  // What the page, its check or its restore put into a box, and text put
  // in while a lost-focus handler runs, is no entry.
  auto judging = [this] { return busy.on() || judging_.on() || events->leaving(); };
  outside_ = std::make_unique<OutsideEntries>(
      page, events, [judging](QLineEdit*) { return judging(); }, [this, judging] { return judging() || events->quiet; },
      [this](QLineEdit* box) { return takeEntry(box); });
  events->textBoxBound = [this](QLineEdit* box) { watch(box); };
}

FocusSink* SettingsKit::makeSink(std::function<void()> arrive) {
  sink = new FocusSink(page_, std::move(arrive));
  sink->placeLast();
  return sink;
}

bool SettingsKit::checked() {
  if (check_()) return true;
  restore_();
  return false;
}

void SettingsKit::refuse(QWidget* control, bool marks) {
  ++refusals_;
  restore_();
  if (marks && sink) sink->mark();
  // The focus change that ran the check completes first; then the focus goes
  // back, without the controls it passes through taking it as an arrival.
  QPointer<QWidget> target(control);
  events->quiet = true;
  Events* ev = events;
  QTimer::singleShot(0, control, [target, ev] {
    if (target) {
      target->setFocus(Qt::OtherFocusReason);
      if (auto* box = qobject_cast<QLineEdit*>(target.data())) box->selectAll();
    }
    ev->quiet = false;
  });
}

bool SettingsKit::leaveField(QLineEdit* box, std::string& saved, bool marks) {
  if (!check_()) {
    refuse(box, marks);
    return false;
  }
  saved = box->text().toStdString();
  if (marks && sink) sink->clearMark();
  return true;
}

bool SettingsKit::comboChanged(QComboBox* combo, std::string& saved) {
  if (busy.on() || combo->currentIndex() < 0) return false;
  if (!checked()) return false;
  saved = std::to_string(combo->currentIndex());
  return true;
}

bool SettingsKit::leaveFocusedField(QWidget* to) {
  QWidget* focused = QApplication::focusWidget();
  if (!focused || focused == to || !page_->isAncestorOf(focused)) return true;
  const int before = refusals_;
  to->setFocus(Qt::OtherFocusReason);
  return refusals_ == before;
}

// ---- Entries from outside ----

OutsideEntries::OutsideEntries(QWidget* page, QObject* context, std::function<bool(QLineEdit*)> own,
                               std::function<bool()> held, std::function<bool(QLineEdit*)> take)
    : page_(page), context_(context), own_(std::move(own)), held_(std::move(held)), take_(std::move(take)) {}

void OutsideEntries::watch(QLineEdit* box) {
  const std::weak_ptr<int> life = life_;
  QObject::connect(box, &QLineEdit::textChanged, context_, [this, life, box] {
    if (!life.expired()) put(box);
  });
}

bool OutsideEntries::put(QLineEdit* box) {
  if (box->hasFocus() || own_(box)) return false;
  for (auto& [b, text] : entries_)
    if (b == box) {
      text = box->text();
      return true;
    }
  entries_.emplace_back(box, box->text());
  if (!due_) takeLater(0);
  return true;
}

bool OutsideEntries::withdraw(QLineEdit* box) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it)
    if (it->first == box) {
      const bool shown = box->text() == it->second;
      entries_.erase(it);
      return shown;
    }
  return false;
}

void OutsideEntries::takeLater(int ms) {
  due_ = true;
  const std::weak_ptr<int> life = life_;
  QTimer::singleShot(ms, context_, [this, life] {
    if (!life.expired()) takeAll();
  });
}

void OutsideEntries::takeAll() {
  due_ = false;
  if (auto* page = qobject_cast<Page*>(page_); page && !page->isLoaded()) {
    entries_.clear();  // the page has closed: nothing is taken any more
    return;
  }
  if (entries_.empty()) return;
  // A window in front of the page (a message box, help), a check or a
  // refusal in progress: the entries wait for it to end.
  if (held_() || !page_->isEnabled()) {
    takeLater(50);
    return;
  }
  auto entries = std::move(entries_);
  entries_.clear();
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    // The page has put another text in the box since.
    if (!it->first || it->first->text() != it->second) continue;
    if (take_(it->first)) continue;
    // A refusal ends the turn: the entries after it wait for the next one,
    // and meet whatever the refusal put back. One set again meanwhile
    // waits with its newer text.
    std::vector<std::pair<QPointer<QLineEdit>, QString>> rest;
    for (auto next = std::next(it); next != entries.end(); ++next)
      if (std::none_of(entries_.begin(), entries_.end(), [&](const auto& e) { return e.first == next->first; }))
        rest.push_back(*next);
    entries_.insert(entries_.begin(), rest.begin(), rest.end());
    if (!entries_.empty() && !due_) takeLater(0);
    return;
  }
}

// ---- The settings pages' entries ----

void SettingsKit::entryRule(QLineEdit* box, std::function<bool()> rule) {
  for (auto& [b, r] : rules_)
    if (b == box) {
      r = std::move(rule);
      return;
    }
  rules_.emplace_back(box, std::move(rule));
}

void SettingsKit::watch(QLineEdit* box) {
  if (std::find(watched_.begin(), watched_.end(), box) != watched_.end()) return;
  watched_.push_back(box);
  outside_->watch(box);
}

bool SettingsKit::takeEntry(QLineEdit* box) {
  // The focus came to the box: leaving it will judge the text.
  if (box->hasFocus()) return true;
  bool typable = box->isEnabled() && !box->isReadOnly();
  if (typable) {
    Busy::Hold own(judging_);
    if (const QValidator* v = box->validator()) {
      QString text = box->text();
      int at = 0;
      typable = v->validate(text, at) != QValidator::Invalid;
    }
    for (const auto& [b, rule] : rules_)
      if (typable && b == box && rule) typable = rule();
  }
  if (!typable) {
    restore_();
    return false;
  }
  const int before = refusals_;
  events->leave(box);
  return refusals_ == before;
}

namespace {
int savedIndex(const std::string& saved) { return static_cast<int>(vb::CInt(vb::Val(saved))); }

void showEntry(QListWidget* list, int index) {
  if (index >= 0 && index < list->count()) {
    list->setCurrentRow(index);
    list->item(index)->setSelected(true);
  } else {
    list->setCurrentRow(-1);
    list->clearSelection();
  }
}
}  // namespace

void SettingsKit::listGotFocus(QListWidget* list, const std::string& saved) { showEntry(list, savedIndex(saved)); }

void SettingsKit::listLostFocus(QListWidget* list, std::string& saved) {
  listTake(list, saved);
  showEntry(list, -1);
}

bool SettingsKit::listTake(QListWidget* list, std::string& saved) {
  if (!checked() || list->currentRow() < 0) return false;
  saved = std::to_string(list->currentRow());
  return true;
}

void SettingsKit::listStep(QListWidget* list, std::string& saved, int direction) {
  if (!checked()) return;
  const int index = stepIndex(list->count(), direction, savedIndex(saved));
  showEntry(list, index);
  if (index >= 0) saved = std::to_string(index);
  list->setFocus(Qt::OtherFocusReason);
}

int stepIndex(int count, int direction, int index) {
  if (direction == 0) {
    if (index >= 1) --index;
  } else if (direction == 1) {
    if (index < count - 1) ++index;
  }
  return index;
}

// ---- UpDownList ----

UpDownList::UpDownList(QWidget* parent, const QStringList& entries, const QString& accessibleName) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  // The row, its list and its arrows all carry the setting's caption.
  setAccessibleName(accessibleName);
  list = new QListWidget(this);
  list->addItems(entries);
  list->setAccessibleName(accessibleName);
  list->setMaximumHeight(44);
  list->viewport()->installEventFilter(this);
  row->addWidget(list);
  auto* arrows = new QVBoxLayout;
  arrows->setSpacing(0);
  // The arrows are for the mouse; from the keyboard the list's own arrow
  // keys choose the entry, and the tab order stays one stop per setting.
  up = new QToolButton(this);
  up->setFocusPolicy(Qt::NoFocus);
  up->setArrowType(Qt::UpArrow);
  up->setAccessibleName(accessibleName + " " + QString::fromStdString(LoadResString(1420)));
  down = new QToolButton(this);
  down->setFocusPolicy(Qt::NoFocus);
  down->setArrowType(Qt::DownArrow);
  down->setAccessibleName(accessibleName + " " + QString::fromStdString(LoadResString(1421)));
  arrows->addWidget(up);
  arrows->addWidget(down);
  row->addLayout(arrows);
}

bool UpDownList::eventFilter(QObject* watched, QEvent* event) {
  return watched == list->viewport() && event->type() == QEvent::Wheel;
}

void UpDownList::setArrowsEnabled(bool enabled) {
  up->setEnabled(enabled);
  down->setEnabled(enabled);
}

void UpDownList::oneRowHigh() {
  const int height = list->sizeHintForRow(0) + 2 * list->frameWidth();
  list->setFixedHeight(height);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The two arrows share the list's height, so the row is no taller than a
  // text box's and the list does not sit squeezed between tall arrows.
  up->setFixedHeight(height / 2 + 1);
  down->setFixedHeight(height - height / 2 + 1);
}

void UpDownList::showValue(int index) {
  QListWidgetItem* item = index >= 0 && index < list->count() ? list->item(index) : nullptr;
  if (item) list->scrollToItem(item, QAbstractItemView::PositionAtTop);
  list->setAccessibleDescription(item ? item->text() : QString());
}

ActionFrame makeActionFrame(QWidget* parent) {
  ActionFrame a;
  a.frame = new QGroupBox(parent);
  a.frame->setObjectName("fraAction");
  auto* row = new QHBoxLayout(a.frame);
  a.exit = new QPushButton(a.frame);
  a.exit->setObjectName("CmdAction1");
  a.exit->setToolTip("Close this menu");
  row->addWidget(a.exit);
  return a;
}

// ---- Widths ----

void fitWidth(QLineEdit* box, const QString& characters, int length) {
  if (length < 0) length = box->maxLength();
  if (length <= 0 || length > 1000 || characters.isEmpty()) return;
  const QFontMetrics fm = box->fontMetrics();
  QChar widest = characters.at(0);
  for (QChar c : characters)
    if (fm.horizontalAdvance(c) > fm.horizontalAdvance(widest)) widest = c;
  // The line as the box lays it out: its style's frame, its text margins and
  // two pixels on each side of the text, and one for the cursor after it.
  QStyleOptionFrame opt;
  opt.initFrom(box);
  opt.rect = QRect(0, 0, 1000, box->sizeHint().height());
  opt.lineWidth = box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box) : 0;
  opt.midLineWidth = 0;
  const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &opt, box);
  const QMargins margins = box->textMargins();
  const int width = fm.horizontalAdvance(QString(length, widest)) + 2 * 2 + 2 + margins.left() + margins.right() +
                    (opt.rect.width() - contents.width());
  if (box->maximumWidth() < width) box->setMaximumWidth(width);
  if (box->minimumWidth() < width) box->setMinimumWidth(width);
}

// ---- Code boxes ----

CodeKey CodeKey::of(const QKeyEvent* e) {
  CodeKey k;
  switch (e->key()) {
    case Qt::Key_Backspace: k.kind = Backspace; return k;
    case Qt::Key_Delete: k.kind = Delete; return k;
    case Qt::Key_Left: k.kind = Left; return k;
    case Qt::Key_Right: k.kind = Right; return k;
    case Qt::Key_Up: k.kind = Up; return k;
    case Qt::Key_Down: k.kind = Down; return k;
    case Qt::Key_Escape: k.kind = Escape; return k;
    case Qt::Key_Tab: case Qt::Key_Backtab: k.kind = Tab; return k;
    default: break;
  }
  if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return k;
  const int c = vbui::keyAscii(e);
  if (c < 33 || c > 126) return k;
  // Judged by the character typed, whatever keys typed it (keypad digits and
  // "*", Shift+3 or a "#" key, a capital with Shift or Caps Lock).
  k.kind = Typed;
  k.ch = static_cast<char>(std::toupper(c));
  return k;
}

void CodeBoxes::prepare(QLineEdit* box, int length) {
  box->setMaxLength(length);
  box->setContextMenuPolicy(Qt::NoContextMenu);
  box->setAcceptDrops(false);
  box->setDragEnabled(false);
  box->setAttribute(Qt::WA_InputMethodEnabled, false);
}

void CodeBoxes::select(QLineEdit* box) const {
  if (box->text().isEmpty()) return;
  box->setSelection(std::clamp(cursor, 0, static_cast<int>(box->text().size()) - 1), 1);
}

bool CodeBoxes::take(QLineEdit* box) const {
  QString text;
  for (QChar c : box->text()) {
    const char ch = c.unicode() < 128 ? static_cast<char>(std::toupper(c.toLatin1())) : '\0';
    if (ch == '\0' || alphabet.find(ch) == std::string::npos) return false;
    text += QChar(ch);
  }
  // A code typed shorter than the box is followed by the digits Delete leaves.
  if (!fill.empty())
    while (text.size() < box->maxLength()) text += QString::fromStdString(fill).left(1);
  if (text != box->text()) box->setText(text);
  return true;
}

void CodeBoxes::focus(QLineEdit* box) {
  cursor = 0;
  select(box);
}

void CodeBoxes::press(QLineEdit* box, const CodeKey& key) {
  std::string text = box->text().toStdString();
  const int size = static_cast<int>(text.size());
  cursor = std::clamp(cursor, 0, std::max(size - 1, 0));
  auto refill = [&] {
    text.erase(static_cast<size_t>(cursor), 1);
    if (!fill.empty())
      while (static_cast<int>(text.size()) < box->maxLength()) text += fill;
  };
  switch (key.kind) {
    case CodeKey::Typed:
      if (size > 0 && alphabet.find(key.ch) != std::string::npos) {
        text[static_cast<size_t>(cursor)] = key.ch;
        if (cursor < size - 1) ++cursor;
      }
      break;
    case CodeKey::Backspace:
      if (size > 0) {
        refill();
        if (cursor > 0) --cursor;
      }
      break;
    case CodeKey::Delete:
      if (size > 0) refill();
      break;
    case CodeKey::Left:
    case CodeKey::Down:
      if (cursor > 0) --cursor;
      break;
    case CodeKey::Right:
    case CodeKey::Up:
      if (cursor < size - 1) ++cursor;
      break;
    default:
      break;
  }
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (QString::fromStdString(text) != box->text()) box->setText(QString::fromStdString(text));
  cursor = std::clamp(cursor, 0, std::max(static_cast<int>(text.size()) - 1, 0));
  select(box);
}

}  // namespace kit

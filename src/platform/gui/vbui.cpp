#include "platform/gui/vbui.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QComboBox>
#include <QLineEdit>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/base/vbtext.h"
#include "platform/gui/accessible.h"

namespace vbui {

QColor color(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

QColor colorFromLiteral(const std::string& s) { return color(vb::ColorValue(s)); }

namespace {
double channel(double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }
double luminance(const QColor& c) {
  return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableTextOn(const QColor& back) {
  return contrastRatio(back, Qt::white) > contrastRatio(back, Qt::black) ? QColor(Qt::white) : QColor(Qt::black);
}

void setBackColor(QWidget* w, uint32_t bgr) {
  if (!w) return;
  // An entry field's back colour is its text area; anything else (a page, a
  // frame, a label) paints its window. Children keep their own entry fields
  // and buttons white and grey as usual.
  const bool entry = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                     qobject_cast<QAbstractItemView*>(w) || qobject_cast<QAbstractSpinBox*>(w);
  QPalette p = w->palette();
  const QColor c = color(bgr);
  // A control fills its back with its own role (an option button's is the
  // button colour), so that role takes the colour too.
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    p.setColor(group, entry ? QPalette::Base : QPalette::Window, c);
    if (!entry) p.setColor(group, w->backgroundRole(), c);
  }
  if (!entry) {
    const QColor text = readableTextOn(c);
    // Disabled text a third of the way to the back colour: visibly off, still
    // legible (halfway is too faint on the grey of a disabled caption).
    const QColor off(text.red() + (c.red() - text.red()) / 3, text.green() + (c.green() - text.green()) / 3,
                     text.blue() + (c.blue() - text.blue()) / 3);
    for (auto role : {QPalette::WindowText, w->foregroundRole()}) {
      p.setColor(QPalette::Active, role, text);
      p.setColor(QPalette::Inactive, role, text);
      p.setColor(QPalette::Disabled, role, off);
    }
  }
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

void setForeColor(QWidget* w, uint32_t bgr) {
  if (!w) return;
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, color(bgr));
  p.setColor(QPalette::Text, color(bgr));
  w->setPalette(p);
}

void setEnabledPainted(QWidget* w, bool enabled) {
  if (!w) return;
  w->setEnabled(enabled);
  QPalette p = w->palette();
  const QColor back = color(enabled ? kEnabledBack : kDisabledBack);
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) p.setColor(group, QPalette::Base, back);
  w->setPalette(p);
}

int keyCode(const QKeyEvent* e) {
  const int k = e->key();
  switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Space: return 32;
    default: break;
  }
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return 48 + (k - Qt::Key_0);
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return 65 + (k - Qt::Key_A);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return 112 + (k - Qt::Key_F1);
  return 0;
}

int shiftState(const QKeyEvent* e) {
  int s = 0;
  if (e->modifiers() & Qt::ShiftModifier) s |= 1;
  if (e->modifiers() & Qt::ControlModifier) s |= 2;
  if (e->modifiers() & Qt::AltModifier) s |= 4;
  return s;
}

int keyAscii(const QKeyEvent* e) {
  const QString t = e->text();
  if (t.isEmpty()) return 0;
  const int c = t.at(0).unicode();
  return c < 256 ? c : 0;
}

namespace {
bool inside(const QWidget* w, const QWidget* root) {
  for (; w; w = w->parentWidget())
    if (w == root) return true;
  return false;
}

// How many windows own this one: owners are disabled before the windows they
// own, which then follow them and are given back with them instead of being
// held disabled on their own.
int ownerDepth(const QWidget* w) {
  int depth = 0;
  for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
    if (p->isWindow()) ++depth;
  return depth;
}

// Disabling a window takes the keyboard from its control: to the page that is
// the modal window arriving, which it otherwise hears as a loss of activation.
class FocusOutAsDeactivation : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::FocusOut) return false;
    if (static_cast<QFocusEvent*>(event)->reason() == Qt::ActiveWindowFocusReason) return false;
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(watched, &out);
    return true;
  }
};

void disableMenuItems(const QList<QAction*>& items, std::vector<QPointer<QAction>>& held) {
  for (QAction* a : items) {
    if (QMenu* sub = a->menu()) disableMenuItems(sub->actions(), held);
    if (!a->isEnabled()) continue;
    a->setEnabled(false);
    held.emplace_back(a);
  }
}

void giveFocusBack(QWidget* window, QWidget* focus) {
  // As on reactivation: a returning focus is no move between the page's controls.
  if (window && focus && window->isEnabled() && !window->focusWidget() && focus->window() == window &&
      focus->isEnabled())
    focus->setFocus(Qt::ActiveWindowFocusReason);
}
}  // namespace

ModalCover::ModalCover(QWidget* modal) {
  QWidget* front = modal ? modal->window() : nullptr;
  std::vector<QWidget*> live;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    const Qt::WindowType type = w->windowType();
    if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::Desktop) continue;
    if (front && inside(w, front)) continue;  // the modal window and the windows it owns
    if (w->isEnabled()) live.push_back(w);    // a window already covered stays with its cover
  }
  std::stable_sort(live.begin(), live.end(),
                   [](const QWidget* a, const QWidget* b) { return ownerDepth(a) < ownerDepth(b); });
  for (QWidget* w : live) focus_.push_back({w, w->focusWidget()});
  const QPointer<QWidget> frontFocus = front ? front->focusWidget() : nullptr;
  {
    FocusOutAsDeactivation quiet;
    qApp->installEventFilter(&quiet);
    for (QWidget* w : live) {
      if (!w->isEnabled()) continue;  // went with its owner
      w->setEnabled(false);
      disabled_.emplace_back(w);
    }
    qApp->removeEventFilter(&quiet);
  }
  for (QWidget* w : live)
    for (QMenuBar* bar : w->findChildren<QMenuBar*>())
      if (bar->window() == w) disableMenuItems(bar->actions(), menuItems_);
  // A modal window owned by a covered page went with it: it alone stays live.
  if (front && !front->isEnabled()) {
    front->setEnabled(true);
    giveFocusBack(front, frontFocus);
  }
}

ModalCover::~ModalCover() {
  for (auto it = menuItems_.rbegin(); it != menuItems_.rend(); ++it)
    if (*it) (*it)->setEnabled(true);
  for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it)
    if (*it) (*it)->setEnabled(true);
  for (const Held& h : focus_) giveFocusBack(h.window, h.focus);
}

int execModal(QDialog& dialog) {
  ModalCover cover(&dialog);
  return dialog.exec();
}

namespace {
class EnterPressesButton : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* button = qobject_cast<QPushButton*>(watched);
    if (!button || !qobject_cast<Page*>(button->window())) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if (key->modifiers() & ~Qt::KeypadModifier) return false;  // Ctrl+Enter and the like are no press
    // A held key presses once: the page may be gone or changed after the first.
    if (key->isAutoRepeat()) return true;
    if (button->isEnabled() && button->isVisible()) button->click();
    return true;
  }
};
}  // namespace

void installEnterPressesButton() {
  static EnterPressesButton* filter = [] {
    auto* f = new EnterPressesButton;
    f->setParent(qApp);
    qApp->installEventFilter(f);
    return f;
  }();
  (void)filter;
}

void keepDisabledTextReadable() {
  QPalette p = QApplication::palette();
  const QColor text = color(kDisabledText);
  bool changed = false;
  for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText}) {
    if (p.color(QPalette::Disabled, role) == text) continue;
    p.setColor(QPalette::Disabled, role, text);
    changed = true;
  }
  if (changed) QApplication::setPalette(p);
}

}  // namespace vbui

namespace {
std::vector<QPointer<Page>>& frontStack() {
  static std::vector<QPointer<Page>> s;
  return s;
}
Page::ModalHook& modalHook() {
  static Page::ModalHook h;
  return h;
}
}  // namespace

Page::Page(QWidget* parent) : QDialog(parent) {
  vbui::installAccessibility();
  vbui::installEnterPressesButton();
  vbui::keepDisabledTextReadable();
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

Page::~Page() { popFront(); }

int Page::Top() const { return vbui::pixelsToTwips(frameGeometry().y()); }
int Page::Left() const { return vbui::pixelsToTwips(frameGeometry().x()); }
int Page::Width() const { return vbui::pixelsToTwips(frameGeometry().width()); }
int Page::Height() const { return vbui::pixelsToTwips(frameGeometry().height()); }
void Page::Move(int leftTwips, int topTwips) { move(vbui::twipsToPixels(leftTwips), vbui::twipsToPixels(topTwips)); }
void Page::setTop(int twips) { Move(Left(), twips); }
void Page::setLeft(int twips) { Move(twips, Top()); }
void Page::setCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

namespace {
QPointer<Page>& mainMenuRef() {
  static QPointer<Page> p;
  return p;
}
}  // namespace

void Page::setMainMenu(Page* menu) { mainMenuRef() = menu; }
Page* Page::mainMenu() { return mainMenuRef().data(); }

void Page::placeFromMainMenu(int dTop, int dLeft) {
  Page* m = mainMenu();
  if (!m) return;
  Move(m->Left() + dLeft, m->Top() + dTop);
  besideMainMenu_ = true;
  keepOnScreen();
}

QSize Page::outerSizeToShow() const {
  // Before its first show a page that nobody sized still has Qt's default
  // size; it will show at its size hint.
  if (isVisible() || testAttribute(Qt::WA_Resized)) return frameGeometry().size();
  return sizeHint().expandedTo(minimumSize());
}

void Page::keepOnScreen() {
  // The offsets beside the main menu were laid out for pages smaller than
  // ours: a page that would run past an edge of the screen moves back onto
  // it (as far as it fits), so none of its controls is out of reach. A page
  // knows its full size only as it shows (loaded, styled, laid out), so this
  // runs again then.
  Page* m = mainMenu();
  QScreen* screen = m && m->screen() ? m->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize size = outerSizeToShow();
  QPoint at = pos();
  at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - size.width())));
  at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - size.height())));
  move(at);
}

void Page::setModalHook(ModalHook hook) { modalHook() = std::move(hook); }

Page* Page::front() {
  auto& s = frontStack();
  while (!s.empty() && s.back().isNull()) s.pop_back();
  return s.empty() ? nullptr : s.back().data();
}

void Page::pushFront() {
  auto& s = frontStack();
  s.erase(std::remove(s.begin(), s.end(), QPointer<Page>(this)), s.end());
  s.push_back(this);
}

void Page::popFront() {
  auto& s = frontStack();
  const bool wasFront = !s.empty() && s.back() == this;
  s.erase(std::remove_if(s.begin(), s.end(), [this](const QPointer<Page>& p) { return p.isNull() || p == this; }),
          s.end());
  // The page below comes to the front again.
  if (wasFront && !s.empty() && s.back() && s.back()->loaded_ && !s.back()->unloading_) {
    QPointer<Page> below = s.back();
    QTimer::singleShot(0, below, [below] {
      if (!below || !below->loaded_) return;
      // It takes the keyboard back (a window manager would give it back;
      // without one the keys would go nowhere).
      if (below->isVisible()) below->activateWindow();
      below->Form_Activate();
    });
  }
}

void Page::ensureLoaded() {
  if (loaded_) return;
  loaded_ = true;
  unloading_ = false;
  Form_Load();
}

void Page::Show() {
  ensureLoaded();
  if (!loaded_) return;  // Form_Load may unload the page again
  pushFront();
  show();
  activateWindow();
  if (!activatedOnce_) {
    activatedOnce_ = true;
    Form_Activate();
  }
}

void Page::showModal() {
  // From its loading to its unloading: message boxes of its Form_Load already
  // cover the page below.
  vbui::ModalCover cover(this);
  ensureLoaded();
  if (!loaded_) return;
  pushFront();
  if (!activatedOnce_) {
    activatedOnce_ = true;
    Form_Activate();
  }
  if (!loaded_) return;  // unloaded by its own activation (command-line road)
  if (modalHook()) {
    modalHook()(*this);
    if (loaded_) Unload();
    return;
  }
  setModal(true);
  exec();
}

void Page::Unload() {
  if (!loaded_ || unloading_) return;
  bool cancel = false;
  unloading_ = true;
  Form_Unload(cancel);
  if (cancel) {
    unloading_ = false;
    return;
  }
  loaded_ = false;
  activatedOnce_ = false;
  popFront();
  if (isVisible()) {
    if (isModal()) done(0);
    else hide();
  }
  unloading_ = false;
}

void Page::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!besideMainMenu_) return;
  keepOnScreen();
  // A layout that settles once shown can widen the page once more.
  QTimer::singleShot(0, this, [this] {
    if (isVisible()) keepOnScreen();
  });
}

void Page::closeEvent(QCloseEvent* e) {
  if (loaded_) {
    Unload();
    if (loaded_) {
      e->ignore();
      return;
    }
  }
  e->accept();
}

void Page::reject() {
  // Escape and the window's close button both come here; a page decides by
  // its own Form_Unload whether it may go.
  Unload();
}

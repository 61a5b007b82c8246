#include "platform/gui/accessible.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <algorithm>

namespace vbui {

namespace {

// A drop-down list that is not editable: its caption as name, its chosen entry
// as value and as a read-only text, its pop-up list as its one child.
class AccessibleComboBox : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit AccessibleComboBox(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return combo()->currentText();
    QString s = QAccessibleWidget::text(t);  // the accessible name, or the label's caption
    if (t == QAccessible::Name && s.isEmpty()) s = combo()->currentText();
    return s;
  }

  int childCount() const override { return 1; }
  QAccessibleInterface* child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(combo()->view()) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* c) const override {
    return c && c->object() == combo()->view() ? 0 : -1;
  }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
  void doAction(const QString& name) override {
    if (name != showMenuAction() && name != pressAction()) return;
    if (combo()->view()->isVisible()) combo()->hidePopup();
    else combo()->showPopup();
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

  // The chosen entry as a read-only text.
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override {
    const QString t = combo()->currentText();
    start = std::clamp(start, 0, static_cast<int>(t.size()));
    end = end < 0 ? static_cast<int>(t.size()) : std::clamp(end, start, static_cast<int>(t.size()));
    return t.mid(start, end - start);
  }
  int characterCount() const override { return static_cast<int>(combo()->currentText().size()); }
  QRect characterRect(int) const override { return QRect(); }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return QString();
  }

 private:
  QComboBox* combo() const { return static_cast<QComboBox*>(object()); }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
  if (className != QLatin1String("QComboBox")) return nullptr;
  auto* combo = qobject_cast<QComboBox*>(object);
  // An editable one reads as its entry field, which Qt already names well.
  if (!combo || combo->isEditable()) return nullptr;
  return new AccessibleComboBox(combo);
}

}  // namespace

void installAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(factory);
    return true;
  }();
  (void)installed;
}

}  // namespace vbui

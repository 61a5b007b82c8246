#include "platform/gui/accessible.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>

namespace {

// The caption of the label whose buddy the control is, without its mnemonic.
QString labelCaption(const QWidget* control) {
  const QWidget* parent = control->parentWidget();
  if (!parent) return {};
  for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
    if (label->buddy() == control) return label->text().remove(QLatin1Char('&')).trimmed();
  return {};
}

// A drop-down list (not editable): named by its setting, its current entry
// as its text, its list of entries as its one child, opened by its action.
class DropDownAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit DropDownAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      QString name = combo()->accessibleName();
      if (name.isEmpty()) name = labelCaption(combo());
      return name.isEmpty() ? combo()->currentText() : name;
    }
    if (t == QAccessible::Value) return combo()->currentText();
    return QAccessibleWidget::text(t);
  }

  int childCount() const override { return 1; }
  QAccessibleInterface* child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(combo()->view()) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child && child->object() == combo()->view() ? 0 : -1;
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = combo()->isVisible() && combo()->view()->isVisible();
    return s;
  }

  QStringList actionNames() const override {
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (action != showMenuAction() && action != pressAction()) return QAccessibleWidget::doAction(action);
    if (combo()->view()->isVisible()) combo()->hidePopup();
    else combo()->showPopup();
  }

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  // The text: the current entry, read only.
  QString text(int start, int end) const override { return combo()->currentText().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(combo()->currentText().size()); }
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
  }

 private:
  QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
  if (className != QLatin1String("QComboBox")) return nullptr;
  auto* combo = qobject_cast<QComboBox*>(object);
  // An editable list is named by its typed text and keeps Qt's interface.
  if (!combo || combo->isEditable()) return nullptr;
  return new DropDownAccessible(combo);
}

}  // namespace

namespace vbui {

void installAccessibleNames() { QAccessible::installFactory(factory); }

}  // namespace vbui

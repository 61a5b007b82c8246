#pragma once
// Text put into a box as a screen reader or test tool puts it: through the
// box's accessible editable text, without giving it the keyboard focus.
#include <QAccessible>
#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

// Replaces the whole text, then lets the page take the entry up.
inline void putFromOutside(QWidget* box, const QString& text) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(a->editableTextInterface(), nullptr);
  ASSERT_FALSE(box->hasFocus());
  a->editableTextInterface()->replaceText(0, a->textInterface()->characterCount(), text);
  QApplication::processEvents();
}

#include "core/pages/pagekit.h"

#include <QApplication>
#include <QPushButton>
#include <QToolButton>

void noDefaultButtons(QWidget* page) {
  for (QPushButton* b : page->findChildren<QPushButton*>()) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
}

namespace {
void plain(QWidget* w) {
  const QPalette app = QApplication::palette(w);
  QPalette p = w->palette();
  // Colours set role by role, so they no longer follow the page's.
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    for (auto role : {QPalette::Button, QPalette::Window, QPalette::Base, QPalette::WindowText, QPalette::ButtonText})
      p.setColor(group, role, app.color(group, role));
  w->setPalette(p);
}
}  // namespace

void plainButtonColours(QWidget* page) {
  for (QPushButton* b : page->findChildren<QPushButton*>()) plain(b);
  for (QToolButton* b : page->findChildren<QToolButton*>()) plain(b);
}

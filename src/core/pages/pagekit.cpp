#include "core/pages/pagekit.h"

#include <QPushButton>

void noDefaultButtons(QWidget* page) {
  for (QPushButton* b : page->findChildren<QPushButton*>()) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
}

#include "core/pages/updown.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include "platform/gui/settingskit.h"

int clsUpDownControl::step(int count, int direction, int index) { return kit::stepIndex(count, direction, index); }

int clsUpDownControl::binUpDown(QComboBox* list, int direction, int index) {
  if (!list) return index;
  index = step(list->count(), direction, index);
  if (index >= 0 && index < list->count()) list->setCurrentIndex(index);
  return index;
}

int clsUpDownControl::binUpDown(QListWidget* list, int direction, int index) {
  if (!list) return index;
  index = step(list->count(), direction, index);
  if (index >= 0 && index < list->count()) {
    list->setCurrentRow(index);
    list->item(index)->setSelected(true);
  }
  return index;
}

bool clsCursorControl::blnIniCursorPos(QLineEdit* box) {
  intCursorPos = 0;
  if (box) box->setSelection(0, 1);
  return true;
}

clsUpDownControl& objUpDownControl() {
  static clsUpDownControl instance;
  return instance;
}

clsCursorControl& objCursorControl() {
  static clsCursorControl instance;
  return instance;
}

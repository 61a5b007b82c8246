#pragma once
// List stepping for the up-down arrows beside the settings pages' lists, and
// the one-character overwrite cursor of code boxes.
#include <cstdint>

class QComboBox;
class QListWidget;
class QLineEdit;

class clsUpDownControl {
 public:
  // Direction 0 steps back, 1 forward; never beyond the first or last item,
  // never wrapping. Selects the new index and returns it. With nothing
  // selected (-1), stepping back selects nothing and returns -1.
  int binUpDown(QComboBox* list, int direction, int index);
  int binUpDown(QListWidget* list, int direction, int index);
  static int step(int count, int direction, int index);
};

class clsCursorControl {
 public:
  int16_t intCursorPos = 0;
  // Selects the first character, so typing replaces it.
  bool blnIniCursorPos(QLineEdit* box);
};

clsUpDownControl& objUpDownControl();
clsCursorControl& objCursorControl();

#include "core/pages/program.h"

#include <QApplication>

#include "platform/base/strtable.h"
#include "platform/gui/qtmessages.h"

int runProgram(QApplication& application) {
  static QtMessageService messages;
  setMessageService(&messages);
  strtable::load();
  application.setApplicationName("velmora");
  return 0;
}

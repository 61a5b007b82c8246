#include <QApplication>

#include "core/pages/program.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  return runProgram(application);
}

#include <QApplication>

#include "core/pages/program.h"
#include "link/pages/frmfileutility.h"
#include "link/pages/frmprogramming.h"
#include "selcall/pages/frmencodeset.h"
#include "selcall/pages/frmmemoryencode.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The pages the main menu opens; a button without one stays disabled.
  program::registerMainMenuPage(8, [] { return std::make_unique<FrmFileUtility>(); });
  program::registerMainMenuPage(program::kProgrammingButton, [] { return std::make_unique<FrmProgramming>(); });
  program::registerMainMenuPage(2, [] { return std::make_unique<FrmEncodeSet>(); });
  program::registerMainMenuPage(4, [] { return std::make_unique<FrmMemoryEncode>(); });
  return runProgram(application);
}

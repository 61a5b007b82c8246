#include <QApplication>

#include "channel/pages/frmchannelname.h"
#include "channel/pages/frmautoset.h"
#include "channel/pages/frmchannel.h"
#include "core/pages/program.h"
#include "link/pages/frmfileutility.h"
#include "link/pages/frmprogramming.h"
#include "options/pages/frmprioritychset.h"
#include "options/pages/frmscanset.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The pages the main menu opens; a button without one stays disabled.
  program::registerMainMenuPage(7, [] { return std::make_unique<FrmChannelName>(); });
  program::registerMainMenuPage(0, [] { return std::make_unique<FrmChannel>(); });
  FrmChannel::setAutoSetOpener(&FrmAutoSet::open);
  program::registerMainMenuPage(8, [] { return std::make_unique<FrmFileUtility>(); });
  program::registerMainMenuPage(program::kProgrammingButton, [] { return std::make_unique<FrmProgramming>(); });
  program::registerMainMenuPage(3, [] { return std::make_unique<FrmScanSet>(); });
  program::registerMainMenuPage(5, [] { return std::make_unique<FrmPriorityCHSet>(); });
  return runProgram(application);
}

#include <QApplication>

#include "app/program.h"
#include "channel/pages/frmautoset.h"
#include "channel/pages/frmchannel.h"
#include "channel/pages/frmchannelname.h"
#include "core/pages/frmstartup.h"
#include "link/pages/frmfileutility.h"
#include "link/pages/frmprogramming.h"
#include "options/pages/frmmiscellaneous.h"
#include "options/pages/frmprioritychset.h"
#include "options/pages/frmscanset.h"
#include "printing/pages/frmprintout.h"
#include "selcall/pages/frmdecodeset.h"
#include "selcall/pages/frmencodeset.h"
#include "selcall/pages/frmmemoryencode.h"

int main(int argc, char** argv) {
  program::holdQtMessages(std::vector<std::string>(argv + 1, argv + argc));
  if (!program::chooseScreen(std::vector<std::string>(argv + 1, argv + argc))) return program::sayNoScreen();
  program::watchScreenStart(true);
  QApplication application(argc, argv);
  program::watchScreenStart(false);
  program::registerStartPage([] { return std::make_unique<FrmStartUp>(); });
  // The pages the main menu opens; a button without one stays disabled.
  program::registerMainMenuPage(0, [] { return std::make_unique<FrmChannel>(); });
  FrmChannel::setAutoSetOpener(&FrmAutoSet::open);
  program::registerMainMenuPage(1, [] { return std::make_unique<FrmMiscellaneous>(); });
  program::registerMainMenuPage(7, [] { return std::make_unique<FrmChannelName>(); });
  program::registerMainMenuPage(8, [] { return std::make_unique<FrmFileUtility>(); });
  program::registerMainMenuPage(program::kProgrammingButton, [] { return std::make_unique<FrmProgramming>(); });
  program::registerMainMenuPage(3, [] { return std::make_unique<FrmScanSet>(); });
  program::registerMainMenuPage(5, [] { return std::make_unique<FrmPriorityCHSet>(); });
  program::registerMainMenuPage(2, [] { return std::make_unique<FrmEncodeSet>(); });
  program::registerMainMenuPage(4, [] { return std::make_unique<FrmMemoryEncode>(); });
  program::registerMainMenuPage(6, [] { return std::make_unique<FrmDecodeSet>(); });
  program::registerMainMenuPage(10, [] { return std::make_unique<FrmPrintOut>(); });
  // The arguments as the shell passed them, byte for byte (Qt has taken its
  // own options out of argv by now): a file name is never re-encoded.
  return program::sayHeldMessages(runProgram(application, std::vector<std::string>(argv + 1, argv + argc)));
}

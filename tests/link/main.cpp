#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "link/qtlink.h"
#include "platform/base/endsignals.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"

namespace {
// The program the end-signal tests end (started as this binary with
// "--blocked-child GONE HELD"): it opens the port GONE and lets it go, holds
// HELD open, has "partly written" said on standard error should a signal end
// it, says "blocked", then keeps its main thread outside the event loop for
// five seconds, as a drain or an open that stalls would, and exits 0.
int blockedChild(const char* gone, const char* held) {
  const radiolink::LineSettings line;
  {
    radiolink::QtSerialPort port;
    if (!port.open(gone, line)) return 2;
  }
  auto* port = new radiolink::QtSerialPort;
  if (!port->open(held, line)) return 3;
  endsignals::sayOnEnd("partly written\n");
  QTimer::singleShot(0, [] {
    std::puts("blocked");
    std::fflush(stdout);
    timespec left{5, 0};
    while (::nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
    std::_Exit(0);
  });
  return QCoreApplication::exec();
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc == 4 && std::strcmp(argv[1], "--blocked-child") == 0) return blockedChild(argv[2], argv[3]);
  ::testing::InitGoogleTest(&argc, argv);
  strtable::load(app::path(), "en");
  return RUN_ALL_TESTS();
}

#include "platform/gui/waits.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace vbui {

void waitForEvents(int maxWaitMs) {
  // The guard timer wakes the wait when nothing else happens.
  QTimer guard;
  guard.setSingleShot(true);
  guard.start(maxWaitMs > 0 ? maxWaitMs : 0);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace vbui

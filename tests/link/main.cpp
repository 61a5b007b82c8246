#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "link/portlock.h"
#include "link/qtlink.h"
#include "platform/base/endsignals.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"
#include "support/testsupport.h"

namespace {
// The first lock folder read-only for this process alone (a mount namespace
// of its own; an ordinary user's in a user namespace of its own, as the same
// user), so that the port library makes its lock in a later one, as it does
// where the first is not writable.
bool closeFirstLockFolder() {
  if (!unshareAsSameUser(CLONE_NEWNS)) return false;
  const char* first = radiolink::portlock::folders().front().c_str();
  struct statvfs was {};
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 || ::statvfs(first, &was) != 0 ||
      ::mount(first, first, nullptr, MS_BIND, nullptr) != 0)
    return false;
  // A remount keeps what the mount it copies may not lose.
  unsigned long keep = 0;
  for (const auto& [has, flag] : {std::pair{ST_NOSUID, MS_NOSUID}, {ST_NODEV, MS_NODEV}, {ST_NOEXEC, MS_NOEXEC},
                                  {ST_NOATIME, MS_NOATIME}, {ST_NODIRATIME, MS_NODIRATIME}, {ST_RELATIME, MS_RELATIME}})
    if (was.f_flag & has) keep |= flag;
  return ::mount(nullptr, first, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY | keep, nullptr) == 0 &&
         ::access(first, W_OK) != 0;
}

// The program the end-signal tests end (started as this binary with
// "--blocked-child GONE HELD"): it opens the port GONE and lets it go, holds
// HELD open, has "partly written" said on standard error should a signal end
// it, says "blocked", then keeps its main thread outside the event loop for
// five seconds, as a drain or an open that stalls would, and exits 0. With
// "--first-lock-folder-read-only" after them, it first makes the first lock
// folder read-only for itself, or says "no namespace" and exits 4.
int blockedChild(const char* gone, const char* held, bool firstFolderReadOnly) {
  if (firstFolderReadOnly && !closeFirstLockFolder()) {
    std::puts("no namespace");
    return 4;
  }
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
  if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "--blocked-child") == 0)
    return blockedChild(argv[2], argv[3], argc == 5 && std::strcmp(argv[4], "--first-lock-folder-read-only") == 0);
  ::testing::InitGoogleTest(&argc, argv);
  strtable::load(app::path(), "en");
  return RUN_ALL_TESTS();
}

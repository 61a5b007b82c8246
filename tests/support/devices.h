#pragma once
// Devices of a test's own. A test never points at one of the machine's
// device nodes (/dev/null and the like): a writer gone wrong would replace
// it for everyone.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <string>

// A pseudo-terminal pair, a character device any user can make; the other
// end stays open for the test.
struct Pty {
  Pty() {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0) slave = ptsname(master);
  }
  ~Pty() {
    if (master >= 0) close(master);
  }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;
  int master = -1;
  std::string slave;
};

// A node of the null device (1:3) at `path`, in the test's own folder: a
// character device that is no terminal. False where the user may not make
// nodes (only root may).
inline bool makeNullNode(const std::string& path) {
  return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

// A character device for a test that needs one, any one: the null node made
// at `path` where that is allowed, else the terminal side of `pty`.
inline std::string ownCharacterDevice(const std::string& path, const Pty& pty) {
  return makeNullNode(path) ? path : pty.slave;
}

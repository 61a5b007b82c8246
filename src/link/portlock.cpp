#include "link/portlock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>

namespace radiolink::portlock {

namespace {
std::vector<std::string>& lockFolders() {
  static std::vector<std::string> folders = {"/run/lock", "/var/lock"};
  return folders;
}

// A lock is a few dozen bytes: the process id as ten characters, the
// program's name and the host's. More than that is never read, so a big
// file under a lock's name costs nothing.
constexpr size_t kLockBytes = 128;

// The process a lock names, or 0 when it names none. Locks hold the id as
// ten characters ("      1234\n"), as a first line followed by the program's
// name (the port's own locks), or as four binary bytes (the old way).
long long lockedProcess(const std::string& bytes) {
  long long pid = 0;
  if (bytes.size() == 4 && bytes.find_first_not_of(" 0123456789\n") != std::string::npos) {
    int32_t binary = 0;
    std::memcpy(&binary, bytes.data(), sizeof binary);
    pid = binary;
  } else {
    const std::string first = bytes.substr(0, bytes.find('\n'));
    char* end = nullptr;
    pid = std::strtoll(first.c_str(), &end, 10);
    if (end == first.c_str() || std::string(end).find_first_not_of(" \r") != std::string::npos) return 0;
  }
  return pid > 0 && pid <= std::numeric_limits<pid_t>::max() ? pid : 0;
}

// No lock can be there: the name is not there, the folder is none, or the
// name is longer than a file's name may be.
bool noSuchName(int error) { return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG; }

// What the lock `file` says. Anyone may put anything under a lock's name:
// a pipe would hold the read for ever, a link may lead to a device that
// never ends, and neither is a lock any program wrote. So the name is
// looked at without following a link, only a plain file is opened (without
// waiting), and such a name keeps the port closed until someone looks at
// it. A lock whose process runs holds the device whatever that process's
// program is called now (it may have been upgraded while it runs, and a
// process of another user cannot even be looked at); only a lock whose
// process has ended (a program that was killed leaves it) is removed. A
// lock that names no process is left to the port.
Finding::Kind judge(const std::string& file) {
  struct stat named {};
  if (::lstat(file.c_str(), &named) != 0) return noSuchName(errno) ? Finding::kFree : Finding::kUnreadable;
  // A device node or a pipe is not even opened: opening some devices acts.
  if (!S_ISREG(named.st_mode)) return Finding::kUnreadable;
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return noSuchName(errno) ? Finding::kFree : Finding::kUnreadable;
  struct stat opened {};
  std::string bytes;
  bool readable = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode);
  char buffer[kLockBytes];
  while (readable && bytes.size() < kLockBytes) {
    const ssize_t n = ::read(fd, buffer, kLockBytes - bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) readable = false;
    if (n <= 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  if (!readable) return Finding::kUnreadable;
  const long long pid = lockedProcess(bytes);
  if (pid == 0) return Finding::kFree;
  // Only "no such process" says it has ended; "not permitted" is another
  // user's process that runs.
  if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) return Finding::kHeld;
  // Removed by name only while the name still is the file that was read.
  struct stat now {};
  if (::lstat(file.c_str(), &now) == 0 && S_ISREG(now.st_mode) && now.st_dev == opened.st_dev &&
      now.st_ino == opened.st_ino)
    ::unlink(file.c_str());
  return Finding::kFree;
}

std::string underDev(std::string path) {
  if (path.rfind("/dev/", 0) == 0) path.erase(0, 5);
  std::replace(path.begin(), path.end(), '/', '_');
  return "LCK.." + path;
}
}  // namespace

std::vector<std::string> names(const std::string& path) {
  std::vector<std::string> out{underDev(path)};
  const std::string given = std::filesystem::path(path).filename().string();
  if (!given.empty() && given != "." && given != "..") out.push_back("LCK.." + given);
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(path, ec);
  if (!ec) {
    out.push_back(underDev(real.string()));
    out.push_back("LCK.." + real.filename().string());
  }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

Finding look(const std::string& path) {
  for (const std::string& folder : lockFolders())
    for (const std::string& name : names(path)) {
      const std::string file = folder + "/" + name;
      const Finding::Kind kind = judge(file);
      if (kind != Finding::kFree) return {kind, file};
    }
  return {};
}

void setFolders(std::vector<std::string> folders) { lockFolders() = std::move(folders); }

}  // namespace radiolink::portlock

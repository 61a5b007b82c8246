#include "link/portlock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <thread>

namespace radiolink::portlock {

namespace {
std::vector<std::string> defaultFolders() {
  std::vector<std::string> out = {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp",
                                  "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};
  const char* tmp = std::getenv("TMPDIR");
  std::string temp = tmp && *tmp ? std::filesystem::path(tmp).lexically_normal().string() : "/tmp";
  while (temp.size() > 1 && temp.back() == '/') temp.pop_back();
  if (std::find(out.begin(), out.end(), temp) == out.end()) out.push_back(temp);
  return out;
}

std::vector<std::string>& lockFolders() {
  static std::vector<std::string> folders = defaultFolders();
  return folders;
}

// A lock is a few dozen bytes: the process id as ten characters, the
// program's name and the user's or host's. More than that is never read, so
// a big file under a lock's name costs nothing.
constexpr size_t kLockBytes = 128;

// The kernel never gives a process a larger id (its PID_MAX_LIMIT), so the
// highest byte of a binary lock is zero: "-12\n" and "+12\n" are no id.
constexpr long long kLargestBinaryId = 4L * 1024 * 1024;

// No lock can be there: the name is not there, the folder is none, or the
// name is longer than a file's name may be.
bool noSuchName(int error) { return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG; }

enum class Read { kMissing, kUnreadable, kRead };

// The first bytes of the plain file `file`, and what it is. Anyone may put
// anything under a lock's name: a pipe would hold the read for ever, a link
// may lead to a device that never ends, and neither is a lock any program
// wrote. So the name is looked at without following a link, and only a
// plain file is opened (without waiting) and read.
Read readLock(const std::string& file, struct stat& opened, std::string& bytes) {
  struct stat named {};
  if (::lstat(file.c_str(), &named) != 0) return noSuchName(errno) ? Read::kMissing : Read::kUnreadable;
  // A device node or a pipe is not even opened: opening some devices acts.
  if (!S_ISREG(named.st_mode)) return Read::kUnreadable;
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return noSuchName(errno) ? Read::kMissing : Read::kUnreadable;
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
  return readable ? Read::kRead : Read::kUnreadable;
}

// A lock another program has made but not yet written is empty for a
// moment; one that stays empty was left by a program that ended before it
// wrote it, or is being written very slowly. Either way no process can be
// read from it.
constexpr auto kEmptyLockWait = std::chrono::milliseconds(500);
constexpr auto kEmptyLockLook = std::chrono::milliseconds(25);

// What the lock `file` says. A lock whose process runs holds the device
// whatever that process's program is called now (it may have been upgraded
// while it runs, and a process of another user cannot even be looked at);
// only a lock whose every process has ended (a program that was killed
// leaves it) is removed. A lock that names no process, or stays empty, may
// be any program's that the port library would take for stale: it keeps the
// port closed.
Finding judge(const std::string& file) {
  struct stat opened {};
  std::string bytes;
  Read read = readLock(file, opened, bytes);
  for (auto waited = std::chrono::milliseconds(0); read == Read::kRead && bytes.empty() && waited < kEmptyLockWait;
       waited += kEmptyLockLook) {
    std::this_thread::sleep_for(kEmptyLockLook);
    read = readLock(file, opened, bytes);
  }
  if (read != Read::kRead) return {read == Read::kMissing ? Finding::kFree : Finding::kUnreadable, file};
  const LockContent content = parse(bytes);
  if (content.kind != LockContent::kProcess) return {Finding::kNoProcess, file};
  // Only "no such process" says it has ended; "not permitted" is another
  // user's process that runs.
  for (const long long pid : content.pids)
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) return {Finding::kHeld, file, pid};
  // Removed by name only while the name still is the file that was read.
  struct stat now {};
  if (::lstat(file.c_str(), &now) == 0 && S_ISREG(now.st_mode) && now.st_dev == opened.st_dev &&
      now.st_ino == opened.st_ino)
    ::unlink(file.c_str());
  return {};
}

std::string underDev(std::string path) {
  if (path.rfind("/dev/", 0) == 0) path.erase(0, 5);
  std::replace(path.begin(), path.end(), '/', '_');
  return "LCK.." + path;
}

// The number at the start of `bytes` as text: "   4242 minicom root\n",
// "4242\r\n", "\t54\n", and padded with zero bytes past the number
// ("4242\0\0\0\0\0\0"). 0 when they name no process so.
long long textId(const std::string& bytes) {
  size_t at = bytes.find_first_not_of(" \t");
  const size_t first = at == std::string::npos ? bytes.size() : at;
  long long pid = 0;
  bool tooLong = false;
  for (at = first; at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9'; ++at) {
    tooLong = tooLong || pid > std::numeric_limits<pid_t>::max();
    if (!tooLong) pid = pid * 10 + (bytes[at] - '0');
  }
  const auto endsNumber = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; };
  const bool text = at > first && (at == bytes.size() || endsNumber(bytes[at]));
  return text && !tooLong && pid <= std::numeric_limits<pid_t>::max() ? pid : 0;
}
}  // namespace

LockContent parse(const std::string& bytes) {
  if (bytes.empty()) return {};
  LockContent content{LockContent::kNoProcess, {}};
  // The old binary form: a process id in four bytes of the machine's order.
  // No id reaches the highest byte, so it is zero. Its low bytes may well
  // look like digits and a line end ("89\0\0" is process 14648), so it is
  // known by its length and last byte alone; its text reading comes second.
  if (bytes.size() == 4 && bytes[3] == '\0') {
    int32_t binary = 0;
    std::memcpy(&binary, bytes.data(), sizeof binary);
    if (binary > 0 && binary <= kLargestBinaryId) content.pids.push_back(binary);
  }
  const long long text = textId(bytes);
  if (text > 0 && std::find(content.pids.begin(), content.pids.end(), text) == content.pids.end())
    content.pids.push_back(text);
  if (!content.pids.empty()) content.kind = LockContent::kProcess;
  return content;
}

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
      const Finding finding = judge(file);
      if (finding.kind != Finding::kFree) return finding;
    }
  return {};
}

OwnLock own(const std::string& path) {
  for (const std::string& folder : lockFolders()) {
    const std::string file = folder + "/" + underDev(path);
    struct stat opened {};
    std::string bytes;
    if (readLock(file, opened, bytes) != Read::kRead || opened.st_uid != ::geteuid()) continue;
    const LockContent content = parse(bytes);
    if (content.kind == LockContent::kProcess &&
        std::find(content.pids.begin(), content.pids.end(), ::getpid()) != content.pids.end())
      return {file, opened.st_dev, opened.st_ino, bytes};
  }
  return {};
}

void setFolders(std::vector<std::string> folders) {
  lockFolders() = folders.empty() ? defaultFolders() : std::move(folders);
}

const std::vector<std::string>& folders() { return lockFolders(); }

}  // namespace radiolink::portlock

#include "platform/base/safefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <random>
#include <vector>

namespace safefile {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kMaxLinks = 40;  // as the kernel's own limit

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool followLinks(std::string path, std::string& target) {
  for (int hop = 0; hop <= kMaxLinks; ++hop) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      target = path;
      return true;
    }
    std::vector<char> link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n < 0 || static_cast<std::size_t>(n) >= link.size()) return false;
    const std::string to(link.data(), static_cast<std::size_t>(n));
    path = !to.empty() && to[0] == '/' ? to : folderOf(path) + "/" + to;
  }
  return false;
}

void ignoreFileSizeSignal() {
  // Under a file-size limit (ulimit -f) a write past it fails with EFBIG
  // instead of ending the program, so it is reported like a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
}

namespace {

std::string tempName(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  static std::mt19937 random{std::random_device{}()};
  std::string name = nameOf(target);
  if (name.size() > 200) name.resize(200);  // room for the suffix within NAME_MAX
  const std::string folder = folderOf(target);
  return (folder == "/" ? std::string() : folder) + "/." + name + "." + std::to_string(::getpid()) + "-" +
         std::to_string(counter++) + "-" + std::to_string(random() % 1000000) + ".tmp";
}
}  // namespace

bool mayWrite(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  // Root passes every access check; a file that nobody may write was made
  // read-only on purpose, and root's save does not replace it either.
  if (::geteuid() == 0) return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
  return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

SafeFile::SafeFile(std::string path) : path_(std::move(path)) {}

SafeFile::~SafeFile() { cancel(); }

bool SafeFile::fail(Problem p, int err) {
  if (problem_ == Problem::None) {
    problem_ = p;
    error_ = err;
  }
  cancel();
  return false;
}

bool SafeFile::open() {
  ignoreFileSizeSignal();
  cancel();
  problem_ = Problem::None;
  error_ = 0;
  buffer_.clear();
  if (path_.empty()) return fail(Problem::Create, ENOENT);
  if (!followLinks(path_, target_)) return fail(Problem::LinkLoop, ELOOP);

  struct stat old {};
  bool exists = false;
  if (::stat(target_.c_str(), &old) == 0) {
    exists = true;
    if (!S_ISREG(old.st_mode)) return fail(Problem::NotRegular, 0);
    if (!mayWrite(target_)) return fail(Problem::ReadOnly, EACCES);
  } else if (errno != ENOENT) {
    return fail(Problem::Create, errno);
  }

  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temp_ = tempName(target_);
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) {
      const int err = errno;
      temp_.clear();
      return fail(Problem::Create, err);
    }
  }
  if (fd_ < 0) {
    temp_.clear();
    return fail(Problem::Create, EEXIST);
  }
  if (exists) {
    // The owner first: changing it may clear set-id bits the mode then restores.
    struct stat mine {};
    if (::fstat(fd_, &mine) == 0 && (mine.st_uid != old.st_uid || mine.st_gid != old.st_gid) &&
        ::fchown(fd_, old.st_uid, old.st_gid) != 0) {
      // Not allowed for an ordinary user: the file becomes the saver's own.
    }
    if (::fchmod(fd_, old.st_mode & 07777) != 0) return fail(Problem::Create, errno);
  }
  return true;
}

bool SafeFile::flushBuffer() {
  std::size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail(Problem::Write, n < 0 ? errno : ENOSPC);
    done += static_cast<std::size_t>(n);
  }
  buffer_.clear();
  return true;
}

bool SafeFile::write(const void* data, std::size_t size) {
  if (fd_ < 0) return false;
  buffer_.append(static_cast<const char*>(data), size);
  return buffer_.size() < kBufferSize || flushBuffer();
}

bool SafeFile::commit(const std::function<bool(const std::string&)>& complete) {
  if (fd_ < 0) return false;
  if (!flushBuffer()) return false;
  if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) return fail(Problem::Write, errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) return fail(Problem::Write, errno);
  if (complete && !complete(temp_)) return fail(Problem::Incomplete, 0);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return fail(Problem::Rename, errno);
  temp_.clear();
  // The rename itself reaches the disk with its folder.
  const int dir = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

void SafeFile::cancel() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  buffer_.clear();
}

int readPlainFile(const std::string& path, std::size_t limit, std::string& bytes, long long* size) {
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat st {};
  int error = ::fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : EISDIR;
  if (size) *size = error == 0 ? static_cast<long long>(st.st_size) : -1;
  char buffer[kBufferSize];
  while (error == 0 && bytes.size() < limit) {
    const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, limit - bytes.size()));
    if (n > 0) {
      bytes.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      error = errno;
    }
  }
  ::close(fd);
  if (error != 0) bytes.clear();
  return error;
}

}  // namespace safefile

#include "platform/base/endsignals.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

namespace endsignals {
namespace {
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

int g_loop[2] = {-1, -1};   // wakes the event loop
int g_watch[2] = {-1, -1};  // wakes the thread that ends a blocked program
int g_next = 0;
// The signal the program ends on; 0 until one arrives. The handler, the
// event loop and the thread all read it, so it is a lock-free atomic.
std::atomic<int> g_ending{0};
std::atomic<const std::string*> g_line{nullptr};
std::atomic<bool> g_said{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<const std::string*>::is_always_lock_free &&
              std::atomic<bool>::is_always_lock_free);

std::map<int, std::function<void()>>& releases() {
  static std::map<int, std::function<void()>> r;
  return r;
}

// Every line ever handed to sayOnEnd(), kept for the life of the program
// (and past it, never destroyed): a handler may be writing one while the
// main thread hands in the next, or while the program winds down.
std::set<std::string>& lines() {
  static auto* l = new std::set<std::string>;
  return *l;
}

// say(), endBy() and onSignal() do only what a signal handler may do.
void say() {
  const std::string* line = g_line.load();
  if (!line || g_said.exchange(true)) return;
  size_t done = 0;
  while (done < line->size()) {
    const ssize_t n = ::write(STDERR_FILENO, line->data() + done, line->size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno != EINTR) {
      break;
    }
  }
}

[[noreturn]] void endBy(int signal) {
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  ::sigaction(signal, &fallback, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  ::raise(signal);
  ::_exit(128 + signal);  // as a shell reports it, should the signal not end it
}

void onSignal(int signal) {
  const int saved = errno;
  int none = 0;
  if (!g_ending.compare_exchange_strong(none, signal)) {
    // The second: whoever sent it will not wait for the first.
    say();
    endBy(signal);
  }
  const auto byte = static_cast<unsigned char>(signal);
  [[maybe_unused]] const ssize_t toLoop = ::write(g_loop[1], &byte, 1);
  [[maybe_unused]] const ssize_t toWatch = ::write(g_watch[1], &byte, 1);
  errno = saved;
}

void endOnSignal() {
  unsigned char byte = 0;
  if (::read(g_loop[0], &byte, 1) != 1) return;
  say();
  // Each release is looked up when its turn comes: one may end another's
  // owner, which forgets it.
  std::vector<int> ids;
  for (const auto& entry : releases()) ids.push_back(entry.first);
  for (int id : ids) {
    const auto found = releases().find(id);
    if (found == releases().end()) continue;
    const std::function<void()> release = found->second;
    release();
  }
  endBy(g_ending.load());
}

// Files the program made that must not outlive it. The watcher thread reads
// them while the main thread may hand in or take back one, and the program
// may be winding down: kept under a lock, and never destroyed.
struct OwnFile {
  std::string file;
  dev_t device;
  ino_t inode;
  std::string head;
};
std::mutex& ownFilesLock() {
  static auto* m = new std::mutex;
  return *m;
}
std::map<int, OwnFile>& ownFiles() {
  static auto* f = new std::map<int, OwnFile>;
  return *f;
}

// Each is removed only while its name is still the file handed in: the same
// plain file, beginning with the same bytes. Another program may have taken
// the name since its owner removed it.
void removeOwnFiles() {
  std::lock_guard<std::mutex> hold(ownFilesLock());
  for (const auto& [id, own] : ownFiles()) {
    const int fd = ::open(own.file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat opened {};
    std::string head(own.head.size(), '\0');
    ssize_t n = -1;
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_dev == own.device &&
        opened.st_ino == own.inode)
      n = ::read(fd, head.data(), head.size());
    ::close(fd);
    struct stat named {};
    if (n == static_cast<ssize_t>(head.size()) && head == own.head && ::lstat(own.file.c_str(), &named) == 0 &&
        named.st_dev == own.device && named.st_ino == own.inode)
      ::unlink(own.file.c_str());
  }
}

// The event loop had a second to end the program and did not: the main
// thread is held outside it. The end of the process closes the devices, and
// with them their exclusive use; the port's lock file, which closing the
// port would have removed, is removed here.
void watch() {
  unsigned char byte = 0;
  while (::read(g_watch[0], &byte, 1) != 1)
    if (errno != EINTR) return;
  timespec grace{1, 0};
  while (::nanosleep(&grace, &grace) != 0 && errno == EINTR) {
  }
  say();
  removeOwnFiles();
  endBy(g_ending.load());
}

void install() {
  if (g_loop[0] >= 0 || !QCoreApplication::instance()) return;
  if (::pipe2(g_loop, O_CLOEXEC | O_NONBLOCK) != 0) {
    g_loop[0] = g_loop[1] = -1;
    return;
  }
  auto* notifier = new QSocketNotifier(g_loop[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { endOnSignal(); });
  sigset_t ends;
  sigemptyset(&ends);
  for (int signal : kSignals) sigaddset(&ends, signal);
  if (::pipe2(g_watch, O_CLOEXEC) == 0 && ::fcntl(g_watch[1], F_SETFL, O_NONBLOCK) == 0) {
    // The thread takes none of the signals: it is started with them blocked.
    sigset_t before;
    ::pthread_sigmask(SIG_BLOCK, &ends, &before);
    try {
      std::thread(watch).detach();
    } catch (const std::system_error&) {
      // No thread: the event loop alone ends the program.
    }
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
  }
  struct sigaction action {};
  action.sa_handler = onSignal;
  action.sa_mask = ends;
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals) {
    // A signal ignored from the start (nohup, a background job) stays ignored.
    struct sigaction was {};
    if (::sigaction(signal, nullptr, &was) == 0 && was.sa_handler == SIG_IGN) continue;
    ::sigaction(signal, &action, nullptr);
  }
}
}  // namespace

int onEnd(std::function<void()> release) {
  install();
  releases()[++g_next] = std::move(release);
  return g_next;
}

void forget(int id) { releases().erase(id); }

int removeFileOnEnd(const std::string& file, dev_t device, ino_t inode, const std::string& head) {
  std::lock_guard<std::mutex> hold(ownFilesLock());
  ownFiles()[++g_next] = {file, device, inode, head};
  return g_next;
}

void keepFileOnEnd(int id) {
  std::lock_guard<std::mutex> hold(ownFilesLock());
  ownFiles().erase(id);
}

void sayOnEnd(const std::string& line) {
  g_line.store(line.empty() ? nullptr : &*lines().insert(line).first);
}

}  // namespace endsignals

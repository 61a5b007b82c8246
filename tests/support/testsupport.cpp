#include "support/testsupport.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <random>

#include "core/filecontrol.h"
#include "core/modeltables.h"
#include "core/modpublic.h"
#include "platform/base/settings.h"

RecordingMessages::RecordingMessages() { setMessageService(this); }
RecordingMessages::~RecordingMessages() { setMessageService(nullptr); }

int RecordingMessages::msgBox(const std::string& text, int style, const std::string& title) {
  boxes.push_back({text, style, title});
  if (answers.empty()) return vb::vbOK;
  const int a = answers.front();
  answers.pop_front();
  return a;
}

void RecordingMessages::playWave(const std::string& path) { waves.push_back(path); }

TempDir::TempDir() {
  std::random_device rd;
  path_ = std::filesystem::temp_directory_path() / ("velmora-test-" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void freshModel(const TempDir& dir) {
  modPublic = ModPublic{};
  settings::setStoreFile(dir.file("settings.ini"));
}

bool setUpFamily(const std::string& family) {
  modPublic.strRadioFamily = family;
  subSetRadioTable();
  modPublic.strLabelColor = "&H0000C000&";
  modPublic.dimImage();
  static const char* files[] = {"InitialP1RA.dat", "InitialP2RB.dat", "InitialP3RC.dat"};
  modPublic.strInitialFile = files[modPublic.family()];
  return objFileControl().blnGetBinaryData("", modPublic.strInitialFile, modPublic.bytRadioData, modPublic.bytRadioBase,
                                           kImageLast);
}

std::vector<uint8_t> readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

size_t openDescriptors() {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

namespace {
// nobody and nogroup: an ordinary user who owns nothing of root's.
constexpr uid_t kOrdinaryUser = 65534;
constexpr gid_t kOrdinaryGroup = 65534;

// Whether the ordinary user may pass through the folder `path`.
bool ordinaryUserPasses(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return true;  // the user's own look tells
  const mode_t may = st.st_uid == kOrdinaryUser ? S_IXUSR : st.st_gid == kOrdinaryGroup ? S_IXGRP : S_IXOTH;
  return (st.st_mode & may) != 0;
}

// In the child that becomes the ordinary user, while it is still root: where
// a folder on the way to `folder` is closed to that user (a private
// temporary folder, mode 0700, as Debian's pam_tmpdir makes for TMPDIR), the
// child alone, in a mount namespace of its own, sees an open folder in the
// closed one's place that leads to `folder` and to the test program's home,
// each the real one. Nothing changes for anyone else, and it all goes with
// the child. Returns "" or what could not be done.
std::string openTheWayTo(const std::string& folder) {
  const std::filesystem::path target = std::filesystem::path(folder).lexically_normal();
  std::filesystem::path closed;
  for (std::filesystem::path step = target.root_path(); const auto& part : target.relative_path()) {
    if (step != target.root_path() && !ordinaryUserPasses(step)) {
      closed = step;
      break;
    }
    step /= part;
  }
  if (closed.empty()) return "";
  const auto failed = [](const std::string& what) { return what + ": " + std::strerror(errno); };
  if (::unshare(CLONE_NEWNS) != 0) return failed("no mount namespace");
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return failed("no private mounts");
  // Held open in the namespace's own mounts, which a bind takes from.
  std::vector<std::filesystem::path> ways{target};
  if (const char* home = std::getenv("VELMORA_TEST_HOME"); home && *home) ways.emplace_back(home);
  std::vector<std::pair<std::filesystem::path, int>> binds;
  for (const auto& way : ways) {
    const auto below = way.lexically_normal().lexically_relative(closed);
    if (below.empty() || *below.begin() == "..") continue;
    const int fd = ::open(way.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) binds.emplace_back(way.lexically_normal(), fd);
  }
  if (::mount("tmpfs", closed.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "mode=0755,size=64k") != 0)
    return failed("no open folder over " + closed.string());
  for (const auto& [way, fd] : binds) {
    std::error_code ec;
    std::filesystem::create_directories(way, ec);
    const std::string source = "/proc/self/fd/" + std::to_string(fd);
    if (ec || ::mount(source.c_str(), way.c_str(), nullptr, MS_BIND, nullptr) != 0)
      return failed("no way to " + way.string());
    ::close(fd);
  }
  return "";
}
}  // namespace

std::string inChild(const std::function<std::string()>& body) {
  int out[2];
  if (::pipe(out) != 0) return std::string("[no pipe to a child: ") + std::strerror(errno) + "]";
  std::fflush(nullptr);  // nothing buffered is written twice
  const pid_t child = ::fork();
  if (child < 0) {
    const int error = errno;
    ::close(out[0]);
    ::close(out[1]);
    return std::string("[no child: ") + std::strerror(error) + "]";
  }
  if (child == 0) {
    ::close(out[0]);
    std::string said;
    try {
      said = body();
    } catch (const std::exception& e) {
      said = std::string("[the child threw: ") + e.what() + "]";
    } catch (...) {
      said = "[the child threw]";
    }
    for (size_t at = 0; at < said.size();) {
      const ssize_t n = ::write(out[1], said.data() + at, said.size() - at);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) ::_exit(1);
      at += static_cast<size_t>(n);
    }
    ::_exit(0);  // not the parent's exit handlers, nor its test results
  }
  ::close(out[1]);
  // The child has only the thread that forked it: what waits on one of the
  // others (Qt's painting helpers, say) would wait for ever. A child far
  // slower than any of these checks is ended rather than waited on.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  std::string said;
  bool ended = false;
  char buf[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd ready{out[0], POLLIN, 0};
    const int polled = ::poll(&ready, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
    if (polled < 0 && errno == EINTR) continue;
    if (polled == 0) {
      ::kill(child, SIGKILL);
      ended = true;
      break;
    }
    const ssize_t n = polled < 0 ? -1 : ::read(out[0], buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    said.append(buf, static_cast<size_t>(n));
  }
  ::close(out[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (ended) said += "[the child was still busy after 30 s, and was ended]";
  else if (WIFSIGNALED(status)) said += "[the child ended by signal " + std::to_string(WTERMSIG(status)) + "]";
  else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) said += "[the child could not tell all it saw]";
  return said;
}

std::string asOrdinaryUser(const std::string& folder, const std::function<std::string()>& body) {
  if (::geteuid() != 0) return body();
  return inChild([&]() -> std::string {
    if (const std::string closed = openTheWayTo(folder); !closed.empty())
      return "[uid 65534 cannot reach " + folder + ": " + closed + "]";
    if (::setgroups(0, nullptr) != 0 || ::setgid(kOrdinaryGroup) != 0 || ::setuid(kOrdinaryUser) != 0)
      return std::string("[the child could not become uid 65534: ") + std::strerror(errno) + "]";
    if (::access(folder.c_str(), X_OK) != 0)
      return "[uid 65534 cannot reach " + folder + ": " + std::strerror(errno) + "]";
    return body();
  });
}

bool unshareAsSameUser(int namespaces) {
  const uid_t uid = ::geteuid();
  const gid_t gid = ::getegid();
  if (::unshare(namespaces) == 0) return true;
  const auto writeFile = [](const char* file, const std::string& text) {
    const int fd = ::open(file, O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool whole = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    return whole;
  };
  return ::unshare(CLONE_NEWUSER | namespaces) == 0 && writeFile("/proc/self/setgroups", "deny") &&
         writeFile("/proc/self/uid_map", std::to_string(uid) + " " + std::to_string(uid) + " 1") &&
         writeFile("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1");
}

std::string inOwnProcessIds(const std::function<std::string()>& body) {
  return inChild([&]() -> std::string {
    if (!unshareAsSameUser(CLONE_NEWPID)) return std::string("[no process-id namespace: ") + std::strerror(errno) + "]";
    return inChild(body);  // the namespace's first process
  });
}

pid_t startWithProcessId(pid_t id) {
  const int fd = ::open("/proc/sys/kernel/ns_last_pid", O_WRONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  const std::string last = std::to_string(id - 1);
  const bool set = ::write(fd, last.data(), last.size()) == static_cast<ssize_t>(last.size());
  ::close(fd);
  if (!set) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    ::pause();
    ::_exit(0);
  }
  if (child > 0 && child != id) {
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return -1;
  }
  return child;
}

void endSignalsAsDefault() {
  for (int signal : {SIGINT, SIGQUIT, SIGTERM, SIGHUP}) ::signal(signal, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

bool ownedByOrdinaryUser(const std::string& path) {
  if (::geteuid() != 0) return true;
  if (::lchown(path.c_str(), kOrdinaryUser, kOrdinaryGroup) != 0) return false;
  std::error_code ec;
  if (!std::filesystem::is_directory(std::filesystem::symlink_status(path, ec))) return true;
  for (std::filesystem::recursive_directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec))
    if (::lchown(it->path().c_str(), kOrdinaryUser, kOrdinaryGroup) != 0) return false;
  return !ec;
}

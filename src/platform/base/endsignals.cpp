#include "platform/base/endsignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <map>

namespace endsignals {
namespace {
int g_pipe[2] = {-1, -1};
int g_next = 0;

std::map<int, std::function<void()>>& releases() {
  static std::map<int, std::function<void()>> r;
  return r;
}

// Only what may be done inside a signal handler: the signal goes down a pipe
// the event loop watches.
void onSignal(int signal) {
  const auto byte = static_cast<unsigned char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

void endOnSignal() {
  unsigned char signal = 0;
  if (::read(g_pipe[0], &signal, 1) != 1) return;
  const auto pending = releases();
  for (const auto& [id, release] : pending) release();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void install() {
  if (g_pipe[0] >= 0 || !QCoreApplication::instance()) return;
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    g_pipe[0] = g_pipe[1] = -1;
    return;
  }
  auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { endOnSignal(); });
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    // A signal ignored from the start (nohup, a background job) stays ignored.
    struct sigaction before {};
    if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
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

}  // namespace endsignals

// velmora-simradio: a simulated radio on a pseudo-terminal pair.
//
//   velmora-simradio --family 0|1|2 [--memory FILE] [--link PATH] [--pace]
//                    [--baud N] [--fault NAME[=N]]...
//
// It prints "PORT <device>" (the pseudo-terminal the program opens; point a
// port number at it, e.g. VELMORA_COM1=<device>), then one line per event it
// sees. The memory image is loaded from FILE when it exists and saved back to
// it after every completed write or erase and at exit. With --pace every byte
// takes its time on the line at the family's baud rate (4800 for family "1",
// 9600 otherwise) in both directions. Faults: silent, wrong-echo=N,
// wrong-echo-always=N, short-echo=N, header-bytes=N, wrong-header,
// missing-frame=W, repeated-frame=W, missing-end, announce=N, hangup-after=N,
// header-gap=MS.
//
// The radio listens at one baud rate only: bytes the program sends while its
// side of the line is set to another rate are garbage to it and get no answer.
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "simradio.h"

namespace {

volatile std::sig_atomic_t quit = 0;
void onSignal(int) { quit = 1; }

int64_t nowUs() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

std::vector<uint8_t> loadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void saveFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (path.empty()) return;
  const std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) return;
  }
  std::rename(tmp.c_str(), path.c_str());
}

bool applyFault(sim::Faults& f, const std::string& spec) {
  const auto eq = spec.find('=');
  const std::string name = spec.substr(0, eq);
  const int n = eq == std::string::npos ? 0 : std::atoi(spec.c_str() + eq + 1);
  if (name == "silent") f.silent = true;
  else if (name == "wrong-echo") f.wrongEchoAt = n;
  else if (name == "wrong-echo-always") { f.wrongEchoAt = n; f.wrongEchoAlways = true; }
  else if (name == "short-echo") f.shortEchoAt = n;
  else if (name == "header-bytes") f.headerBytes = n;
  else if (name == "wrong-header") f.wrongHeader = true;
  else if (name == "missing-frame") f.missingFrame = n;
  else if (name == "repeated-frame") f.repeatedFrame = n;
  else if (name == "missing-end") f.missingEnd = true;
  else if (name == "announce") f.announceWords = n;
  else if (name == "hangup-after") f.hangupAfter = n;
  else if (name == "header-gap") f.headerGapMs = n;
  else return false;
  return true;
}

struct Timed {
  int64_t us;
  uint8_t byte;
  bool hangup;
};

// The baud rate the program set on its side of the pseudo-terminal (the
// master sees the slave's settings); 0 when it names no common rate.
int programBaud(int master) {
  termios t{};
  if (tcgetattr(master, &t) != 0) return 0;
  switch (cfgetospeed(&t)) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    default: return 0;
  }
}

// Counts the program's opens and closes of the pseudo-terminal (the watch
// sees every one, however the program ended); true once no program has it
// open any more. The exclusive use is then taken off: a program that was
// killed leaves it on, and every later open but root's would be refused until
// the simulator ends.
bool freeWhenClosed(int watch, int slave, int& opened) {
  bool closed = false;
  alignas(inotify_event) char buf[4096];
  for (ssize_t n; (n = read(watch, buf, sizeof buf)) > 0;) {
    for (ssize_t at = 0; at < n;) {
      const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
      if (e->mask & IN_OPEN) ++opened;
      if (e->mask & IN_CLOSE) {
        --opened;
        closed = true;
      }
      at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
    }
  }
  if (opened > 0) return false;
  opened = 0;
  ioctl(slave, TIOCNXCL);
  return closed;
}

// Makes `link` a symbolic link to the device. A name that is there already is
// used only when it is a link of this user's to a pseudo-terminal that no
// longer exists, or is this run's own (an earlier run that was killed);
// anything else (a file, another user's link, a live terminal) may be
// someone's, and is kept.
bool makeLink(const std::string& link, const std::string& device) {
  struct stat st {};
  if (lstat(link.c_str(), &st) == 0) {
    char target[256] = {};
    const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
    struct stat gone {};
    // The number of a pseudo-terminal that went is soon given again, often
    // to this run's own.
    const bool stale = S_ISLNK(st.st_mode) && st.st_uid == geteuid() && n > 0 &&
                       std::string(target).rfind("/dev/pts/", 0) == 0 &&
                       (device == target || (stat(target, &gone) != 0 && errno == ENOENT));
    if (!stale || unlink(link.c_str()) != 0) {
      std::fprintf(stderr, "velmora-simradio: --link %s: the name is taken (%s); choose another name\n", link.c_str(),
                   S_ISLNK(st.st_mode) ? "a link this simulator did not leave behind" : "not a link");
      return false;
    }
  }
  if (symlink(device.c_str(), link.c_str()) != 0) {
    std::fprintf(stderr, "velmora-simradio: --link %s: %s\n", link.c_str(), std::strerror(errno));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int family = -1;
  std::string memoryFile, linkPath;
  bool pace = false;
  int baud = 0;
  sim::Faults faults;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
    if (a == "--family") family = std::atoi(value().c_str());
    else if (a == "--memory") memoryFile = value();
    else if (a == "--link") linkPath = value();
    else if (a == "--pace") pace = true;
    else if (a == "--baud") baud = std::atoi(value().c_str());
    else if (a == "--fault") {
      if (!applyFault(faults, value())) {
        std::fprintf(stderr, "unknown fault\n");
        return 2;
      }
    } else {
      std::fprintf(stderr, "usage: velmora-simradio --family 0|1|2 [--memory FILE] [--link PATH] [--pace] [--baud N] [--fault NAME[=N]]...\n");
      return 2;
    }
  }
  if (family < 0 || family > 2) {
    std::fprintf(stderr, "--family 0, 1 or 2 is required\n");
    return 2;
  }
  if (baud <= 0) baud = family == 1 ? 4800 : 9600;
  // One start bit, eight data bits, one stop bit.
  const int64_t byteUs = pace ? (10LL * 1000000 + baud / 2) / baud : 0;

  sim::Radio radio(family, memoryFile.empty() ? std::vector<uint8_t>() : loadFile(memoryFile));
  radio.faults = faults;

  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    std::perror("pseudo-terminal");
    return 1;
  }
  const std::string slavePath = ptsname(master);
  // Holding the slave open keeps the master readable while the program
  // closes and reopens its side; raw mode keeps the line discipline out.
  int slave = open(slavePath.c_str(), O_RDWR | O_NOCTTY);
  termios tio{};
  if (slave < 0 || tcgetattr(slave, &tio) != 0) {
    std::perror("pseudo-terminal slave");
    return 1;
  }
  cfmakeraw(&tio);
  tcsetattr(slave, TCSANOW, &tio);
  tcgetattr(master, &tio);
  cfmakeraw(&tio);
  tcsetattr(master, TCSANOW, &tio);
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  if (!linkPath.empty() && !makeLink(linkPath, slavePath)) return 1;
  const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (watch >= 0) inotify_add_watch(watch, slavePath.c_str(), IN_OPEN | IN_CLOSE);
  int opened = 0;

  std::signal(SIGTERM, onSignal);
  std::signal(SIGINT, onSignal);
  std::signal(SIGHUP, onSignal);
  std::printf("PORT %s\n", slavePath.c_str());
  std::fflush(stdout);

  const int64_t start = nowUs();
  std::deque<Timed> rx, tx;
  int64_t rxFree = 0, txFree = 0;
  int lastCompleted = 0;
  int wrongBaud = baud;  // the wrong rate last reported, so it is said once
  bool hungUp = false;
  while (!quit && !hungUp) {
    int64_t now = nowUs();
    // Due bytes from the PC reach the radio.
    while (!rx.empty() && rx.front().us <= now) {
      const Timed t = rx.front();
      rx.pop_front();
      for (const sim::Chunk& c : radio.receive(t.byte, (t.us - start) / 1000)) {
        int64_t at = std::max(txFree, t.us) + static_cast<int64_t>(c.gapMs) * 1000;
        if (c.hangup) {
          tx.push_back({at, 0, true});
          txFree = at;
          continue;
        }
        for (uint8_t b : c.bytes) {
          at += byteUs;
          tx.push_back({at, b, false});
        }
        txFree = at;
      }
      for (const std::string& line : radio.takeNewLog()) std::printf("RADIO: %s\n", line.c_str());
      std::fflush(stdout);
      if (radio.writesCompleted() != lastCompleted) {
        lastCompleted = radio.writesCompleted();
        saveFile(memoryFile, radio.memory());
      }
    }
    // Due bytes of the radio go on the line.
    while (!tx.empty() && tx.front().us <= now) {
      if (tx.front().hangup) {
        hungUp = true;
        break;
      }
      const uint8_t b = tx.front().byte;
      if (write(master, &b, 1) != 1) break;
      tx.pop_front();
    }
    if (hungUp) break;
    int64_t next = -1;
    if (!rx.empty()) next = rx.front().us;
    if (!tx.empty() && (next < 0 || tx.front().us < next)) next = tx.front().us;
    int timeoutMs = 200;
    if (next >= 0) timeoutMs = static_cast<int>(std::max<int64_t>(0, (next - nowUs() + 999) / 1000));
    if (next >= 0 && next - nowUs() < 1000) timeoutMs = 0;
    pollfd p[2] = {{master, POLLIN, 0}, {watch, POLLIN, 0}};
    const int r = poll(p, watch >= 0 ? 2 : 1, timeoutMs);
    if (r > 0 && (p[1].revents & POLLIN) && freeWhenClosed(watch, slave, opened)) {
      // What was on its way belonged to the program that went, as on a
      // real line, where bytes sent to a closed port are lost.
      radio.lineClosed();
      rx.clear();
      tx.clear();
      tcflush(slave, TCIFLUSH);
      for (const std::string& line : radio.takeNewLog()) std::printf("RADIO: %s\n", line.c_str());
      std::fflush(stdout);
    }
    if (r > 0 && (p[0].revents & POLLIN)) {
      uint8_t buf[512];
      const ssize_t n = read(master, buf, sizeof buf);
      const int64_t t = nowUs();
      const int heard = programBaud(master);
      if (n > 0 && heard != baud) {
        if (heard != wrongBaud) std::printf("RADIO: line set to %d baud, the radio listens at %d: bytes lost\n", heard, baud);
        std::fflush(stdout);
        wrongBaud = heard;
        continue;
      }
      wrongBaud = baud;
      for (ssize_t i = 0; i < n; ++i) {
        rxFree = std::max(rxFree, t) + byteUs;
        rx.push_back({rxFree, buf[i], false});
      }
    } else if (next >= 0) {
      // Sub-millisecond remainder: sleep it off instead of spinning. The
      // clock is read once: read again for the sleep, it may have passed the
      // due time on a busy machine, and a negative remainder, made unsigned,
      // slept for an hour and held the radio silent.
      const int64_t left = next - nowUs();
      if (left > 0 && left < 1000) usleep(static_cast<useconds_t>(left));
    }
  }
  if (hungUp) std::printf("RADIO: line closed\n");
  saveFile(memoryFile, radio.memory());
  std::fflush(stdout);
  close(master);
  close(slave);
  if (watch >= 0) close(watch);
  // The link goes only while it is still this run's.
  char target[256] = {};
  if (!linkPath.empty() && readlink(linkPath.c_str(), target, sizeof target - 1) > 0 && slavePath == target)
    unlink(linkPath.c_str());
  return 0;
}

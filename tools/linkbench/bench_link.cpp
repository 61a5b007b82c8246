// bench_link: a full read and a full write of each family through the real
// link (QSerialPort and event-loop waits) against the simulated radio, which
// paces every byte at the line's baud rate (--pace). Per operation it prints
// the elapsed time, the ideal time (the least the operation can take: see
// idealSeconds), their ratio, and the CPU time this program used (the radio
// runs as its own process and is not counted).
//
// Then the same six operations again while as many busy loops as the machine
// has cores run beside them, with the radio at the highest priority this user
// may give it (a build in the background, a radio that keeps its timing): a
// stall of this program must not break the link. It prints each operation's
// outcome and elapsed time, busy against idle. BENCH_BUSY_RUNS=N repeats the
// busy round N times (default 1); BENCH_BUSY_RUNS=0 leaves it out. The exit
// status is 1 when any transfer failed.
#include <benchmark/benchmark.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/modpublic.h"
#include "link/linkengine.h"
#include "link/qtlink.h"
#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"
#include "simprocess.h"

using namespace radiolink;

namespace {

struct Figures {
  std::string name;
  double elapsed = 0, ideal = 0, cpu = 0;
  int32_t state = -1;
};
std::vector<Figures> table;
int failures = 0;  // transfers that did not run or did not succeed

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The least time an operation can take against a radio at the line's speed,
// in seconds: every byte on the wire in both directions, one after another
// where one side waits for the other, and the pauses and waits the protocol
// mandates. A pause after a paced byte starts when the byte is handed to the
// line, so the byte's time on the wire runs inside it; and the radio
// answers once the last byte of a request is in, while the program still
// pauses after it. What overlaps is counted once, so no transfer can beat
// this figure.
double idealSeconds(int family, bool write) {
  QtLink unused;
  const LinkEngine defaults(unused.port, unused.waiter);  // the page's timing values
  const double byteMs = 10.0 * 1000.0 / (family == 1 ? 4800 : 9600);  // start, eight data, stop bits
  // Paced bytes follow each other a pause apart, or a byte's time if longer.
  const double spacing = std::max<double>(defaults.intBytePace, byteMs);
  double ms = 0;
  switch (family) {
    case 0:
      if (!write)  // three paced request bytes, a 16-byte header ended by one
                   // next-byte wait, 3444 frames and their echoes, the end frame
        ms = 2 * spacing + byteMs + 16 * byteMs + defaults.intNextByteWait + 3444 * 8 * byteMs + 4 * byteMs;
      else  // the command frame and its echo, a pause, 3444 frames and echoes, the sum frame and its echo
        ms = 8 * byteMs + defaults.intP1RADataPause + 3444 * 8 * byteMs + 8 * byteMs;
      break;
    case 1: {
      // A frame's three bytes are paced; its echo starts once the third is in
      // and ends before the next frame can start, unless the pauses are longer.
      const double frame = std::max(2 * spacing + 4 * byteMs, 3 * spacing);
      ms = 2 * byteMs + (write ? defaults.intDataPause : 0) + 1024 * frame;  // the command and its echo, then frames
      break;
    }
    default:
      if (!write)  // the command and its echo, 1280 frames and echoes, the end frame
        ms = 2 * byteMs + 1280 * 8 * byteMs + 4 * byteMs;
      else  // the command and its echo, a pause, 1280 frames and echoes, the end frame and its echo
        ms = 2 * byteMs + defaults.intDataPauseLong + 1280 * 8 * byteMs + 8 * byteMs;
  }
  return ms / 1000.0;
}

// One read or write of the family against a pacing simulated radio; `radioNice`
// is the radio's priority (0 leaves it as it starts). An empty error means it
// ran; the outcome is in `state`.
Figures measure(int family, bool write, int radioNice, std::string& error) {
  static const int32_t last[] = {6887, 2047, 2559};
  const int baud = family == 1 ? 4800 : 9600;
  Figures f;
  f.name = std::string(write ? "write" : "read") + " family " + std::to_string(family);
  const auto dir = std::filesystem::temp_directory_path() / ("velmora-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string memory = (dir / "radio.bin").string();
  std::vector<uint8_t> bytes(static_cast<size_t>(last[family]) + 1);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
  {
    std::ofstream out(memory, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  modPublic = ModPublic{};
  modPublic.strRadioFamily = std::to_string(family);
  modPublic.lngDataLast = last[family];
  modPublic.dimImage();
  for (size_t i = 0; i < modPublic.bytRadioData.size(); ++i) modPublic.bytRadioData[i] = static_cast<uint8_t>(i * 13);
  modPublic.bytRadioData[32] = family == 0 ? 255 : modPublic.bytRadioData[32];

  SimProcess sim;
  if (!sim.start(app::path() + "/velmora-simradio", family, memory, {"--pace"})) {
    error = "the simulated radio did not start";
    std::filesystem::remove_all(dir);
    return f;
  }
  if (radioNice != 0) setpriority(PRIO_PROCESS, static_cast<id_t>(sim.pid()), radioNice);
  setenv("VELMORA_COM9", sim.device().c_str(), 1);
  QtLink link;
  LinkEngine engine(link.port, link.waiter);
  engine.strCommPort = "9";
  engine.strBaudRate = std::to_string(baud);
  if (engine.subCommOpen() != kStateOk) {
    error = "the port did not open";
    std::filesystem::remove_all(dir);
    return f;
  }

  const double cpu0 = cpuSeconds();
  const auto t0 = std::chrono::steady_clock::now();
  if (!write) {
    std::array<uint8_t, 16> header{};
    if (family == 0)
      engine.blnReadWithHeader(3, header, 0x6A);
    else
      engine.blnReadFrames(family == 1 ? 2 : 3, family == 1 ? 0x4C : 0x5C);
  } else if (family == 0) {
    int32_t size = 0, sum = 0;
    engine.blnP1RACheckSum(size, sum);
    engine.blnCommP1RACompFormat(1, size, sum, 0x69);
  } else {
    if (family == 2) LinkEngine::subStoreWriteSum();
    engine.blnCommSFormat(family == 1 ? 2 : 3, family == 1 ? 0xE6 : 0x5A);
  }
  f.elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  f.cpu = cpuSeconds() - cpu0;
  f.state = engine.lngCommState;
  engine.subCommClose();
  sim.stop();
  // A transfer that failed: what the radio saw last tells which side stalled.
  if (f.state != kStateOk) {
    const std::vector<std::string> seen = sim.lines();
    std::fprintf(stderr, "%s ended with state %d after %.3f s; the radio's last lines:\n", f.name.c_str(), f.state,
                 f.elapsed);
    for (size_t i = seen.size() > 8 ? seen.size() - 8 : 0; i < seen.size(); ++i)
      std::fprintf(stderr, "  %s\n", seen[i].c_str());
  }
  // A read must have brought the radio's memory whole, a write must have left
  // the image in the radio.
  if (f.state == kStateOk) {
    const auto image = std::vector<uint8_t>(modPublic.bytRadioData.begin(), modPublic.bytRadioData.begin() + last[family] + 1);
    std::ifstream in(memory, std::ios::binary);
    const std::vector<uint8_t> radio((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (write ? radio != image : image != bytes) f.state = -2;
  }
  f.ideal = idealSeconds(family, write);
  std::filesystem::remove_all(dir);
  return f;
}

void runOperation(benchmark::State& state, int family, bool write) {
  for (auto _ : state) {
    std::string error;
    const Figures f = measure(family, write, 0, error);
    if (!error.empty()) {
      ++failures;
      state.SkipWithError(error.c_str());
      break;
    }
    if (f.state != kStateOk) ++failures;
    state.SetIterationTime(f.elapsed);
    state.counters["elapsed_s"] = f.elapsed;
    state.counters["ideal_s"] = f.ideal;
    state.counters["ratio"] = f.elapsed / f.ideal;
    state.counters["cpu_s"] = f.cpu;
    state.counters["cpu_pct"] = 100.0 * f.cpu / f.elapsed;
    state.counters["state"] = f.state;
    table.push_back(f);
  }
}

// Busy loops, one a core, at this program's own priority: they end with it.
std::vector<pid_t> startBusyLoops() {
  std::vector<pid_t> loops;
  const long cores = std::max(1L, sysconf(_SC_NPROCESSORS_ONLN));
  for (long i = 0; i < cores; ++i) {
    const pid_t pid = fork();
    if (pid == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive the benchmark
      volatile unsigned long spin = 0;
      for (;;) spin = spin + 1;
    }
    if (pid > 0) loops.push_back(pid);
  }
  return loops;
}

void stopBusyLoops(const std::vector<pid_t>& loops) {
  for (pid_t pid : loops) kill(pid, SIGKILL);
  for (pid_t pid : loops) waitpid(pid, nullptr, 0);
}

constexpr int kProgramNice = 10;

// The highest priority (lowest nice value) this user may give a process.
int highestNice() {
  rlimit limit{};
  int floor = 0;
  if (getrlimit(RLIMIT_NICE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
    floor = 20 - static_cast<int>(std::min<rlim_t>(limit.rlim_cur, 40));
  if (geteuid() == 0) floor = -20;
  return std::min(floor, 0);
}

void busyRound(int runs) {
  if (runs <= 0) return;
  const int radioNice = highestNice();
  const std::vector<Figures> idle = table;
  std::vector<Figures> busy;
  const std::vector<pid_t> loops = startBusyLoops();
  // This program's side at a lower priority than the loops and the radio, as
  // a tool started beside a build is: its waits are where a stall shows.
  // (Raised for the rest of the run: a user may not lower it again.)
  setpriority(PRIO_PROCESS, 0, kProgramNice);
  for (int run = 0; run < runs; ++run)
    for (const Figures& i : idle) {
      const int family = i.name.back() - '0';
      std::string error;
      Figures f = measure(family, i.name.rfind("write", 0) == 0, radioNice, error);
      if (!error.empty()) f.state = -1;
      busy.push_back(f);
    }
  stopBusyLoops(loops);
  std::printf("\nBusy: %zu busy loops beside the link, the radio at nice %d, the link at nice %d (state 0 = success)\n",
              loops.size(), radioNice, kProgramNice);
  std::printf("%-16s %10s %10s %7s %6s\n", "operation", "idle s", "busy s", "busy/idle", "state");
  int ok = 0;
  for (const Figures& f : busy) {
    double idleElapsed = 0;
    for (const Figures& i : idle)
      if (i.name == f.name) idleElapsed = i.elapsed;
    std::printf("%-16s %10.3f %10.3f %9.3f %6d\n", f.name.c_str(), idleElapsed, f.elapsed,
                idleElapsed > 0 ? f.elapsed / idleElapsed : 0.0, f.state);
    if (f.state == kStateOk) ++ok;
  }
  failures += static_cast<int>(busy.size()) - ok;
  std::printf("%d of %zu transfers succeeded while busy\n", ok, busy.size());
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  strtable::load(app::path(), "en");
  for (int family = 0; family < 3; ++family) {
    for (bool write : {false, true}) {
      const std::string name = std::string("BM_") + (write ? "Write" : "Read") + "/family:" + std::to_string(family);
      benchmark::RegisterBenchmark(name.c_str(), [family, write](benchmark::State& s) { runOperation(s, family, write); })
          ->Iterations(1)
          ->UseManualTime()
          ->Unit(benchmark::kSecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("\n%-16s %10s %10s %7s %9s %7s %6s\n", "operation", "elapsed s", "ideal s", "ratio", "cpu s", "cpu %",
              "state");
  for (const Figures& f : table)
    std::printf("%-16s %10.3f %10.3f %7.3f %9.3f %7.2f %6d\n", f.name.c_str(), f.elapsed, f.ideal, f.elapsed / f.ideal,
                f.cpu, 100.0 * f.cpu / f.elapsed, f.state);
  const char* runs = std::getenv("BENCH_BUSY_RUNS");
  busyRound(runs ? std::atoi(runs) : 1);
  if (failures > 0) std::printf("\n%d transfer%s failed\n", failures, failures == 1 ? "" : "s");
  return failures > 0 ? 1 : 0;
}

// bench_link: a full read and a full write of each family through the real
// link (QSerialPort and event-loop waits) against the simulated radio, which
// paces every byte at the line's baud rate (--pace). Per operation it prints
// the elapsed time, the ideal time (every byte on the wire at the baud rate,
// both directions, plus the pauses and waits the protocol mandates), their
// ratio, and the CPU time this program used (the radio runs as its own
// process and is not counted).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Bytes on the wire (both directions) and mandated pauses/waits in ms.
struct Ideal {
  int64_t bytes;
  double pausesMs;
};

Ideal idealOf(int family, bool write) {
  QtLink unused;
  const LinkEngine defaults(unused.port, unused.waiter);  // the page's timing values
  const double pace = defaults.intBytePace;
  switch (family) {
    case 0:
      if (!write)  // request, header, 3444 frames and echoes, end frame; the
                   // header ends with one next-byte wait
        return {3 + 16 + 3444 * 8 + 4, 3 * pace + defaults.intNextByteWait};
      return {8 + 3444 * 8 + 8, static_cast<double>(defaults.intP1RADataPause)};
    case 1:
      if (!write) return {2 + 1024 * 6, 1024 * 3 * pace};
      return {2 + 1024 * 6, defaults.intDataPause + 1024 * 3 * pace};
    default:
      if (!write) return {2 + 1280 * 8 + 4, 0};
      return {2 + 1280 * 8 + 8, static_cast<double>(defaults.intDataPauseLong)};
  }
}

void runOperation(benchmark::State& state, int family, bool write) {
  static const int32_t last[] = {6887, 2047, 2559};
  const int baud = family == 1 ? 4800 : 9600;
  const auto dir = std::filesystem::temp_directory_path() / ("velmora-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string memory = (dir / "radio.bin").string();
  for (auto _ : state) {
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
      state.SkipWithError("the simulated radio did not start");
      break;
    }
    setenv("VELMORA_COM9", sim.device().c_str(), 1);
    QtLink link;
    LinkEngine engine(link.port, link.waiter);
    engine.strCommPort = "9";
    engine.strBaudRate = std::to_string(baud);
    if (engine.subCommOpen() != kStateOk) {
      state.SkipWithError("the port did not open");
      break;
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
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = cpuSeconds() - cpu0;
    engine.subCommClose();
    sim.stop();

    const Ideal id = idealOf(family, write);
    const double ideal = static_cast<double>(id.bytes) * 10.0 / baud + id.pausesMs / 1000.0;
    state.SetIterationTime(elapsed);
    state.counters["elapsed_s"] = elapsed;
    state.counters["ideal_s"] = ideal;
    state.counters["ratio"] = elapsed / ideal;
    state.counters["cpu_s"] = cpu;
    state.counters["cpu_pct"] = 100.0 * cpu / elapsed;
    state.counters["state"] = engine.lngCommState;
    table.push_back({std::string(write ? "write" : "read") + " family " + std::to_string(family), elapsed, ideal, cpu,
                     engine.lngCommState});
  }
  std::filesystem::remove_all(dir);
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
  return 0;
}

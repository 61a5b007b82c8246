// bench_channel: a full family-"0" table (255 channels, RX and TX rows)
// decoded into the grid and encoded back, and 10,000 typed frequencies
// checked. Run from the program folder (the tone tables sit there).
#include <benchmark/benchmark.h>

#include <cinttypes>
#include <cstdio>
#include <random>

#include "channel/chanpara.h"
#include "channel/freqcheck.h"
#include "core/modeltables.h"
#include "core/modpublic.h"
#include "support/testsupport.h"

namespace {

struct Family0 {
  TempDir dir;
  ChannelData data;
  bool ok = false;

  Family0() {
    freshModel(dir);
    modPublic.strRadioFamily.assign(1, '0');
    subSetRadioTable();
    modPublic.dimImage();
    modPublic.bytRadioData[14] = 4;  // 136-174 MHz, IF 48.5 MHz
    float ifMHz = 0;
    if (!channelModelIf(ifMHz) || !blnChanIniSet(data, ifMHz)) return;
    // Every channel used: 145 MHz upwards in 12.5 kHz steps, a tone on each row.
    for (int r = 0; r <= data.intMaxRow; ++r) {
      auto& c = modPublic.chanParaRows[static_cast<size_t>(r)];
      char text[32];
      std::snprintf(text, sizeof text, "%.5f", 145.0 + 0.0125 * (r / 2));
      c = {"64", "12.50", text, "WID", "", r % 2 ? "" : "ON", r % 2 ? "HI" : "", data.strCtcTable[1 + r % 55], "PM", "", "",
           "", ""};
    }
    std::vector<int> failed;
    ok = blnPutChanPara(data, &failed);
  }
};

void BM_DecodeEncodeFamily0(benchmark::State& state) {
  Family0 f;
  if (!f.ok) {
    state.SkipWithError("set-up failed (run from the program folder)");
    return;
  }
  for (auto _ : state) {
    blnGetChanPara(f.data);
    blnPutChanPara(f.data);
    benchmark::DoNotOptimize(modPublic.bytRadioData.data());
  }
  state.SetItemsProcessed(state.iterations() * 255);
}
BENCHMARK(BM_DecodeEncodeFamily0)->Unit(benchmark::kMicrosecond);

void BM_Check10000Frequencies(benchmark::State& state) {
  std::mt19937 rng(7);
  std::vector<FrequencyInput> typed(10000);
  for (size_t i = 0; i < typed.size(); ++i) {
    const int64_t hz = 30'000'000 + static_cast<int64_t>(rng() % 196'000) * 2500;
    char text[32];
    std::snprintf(text, sizeof text, "%" PRId64 ".%06" PRId64, hz / 1'000'000, hz % 1'000'000);
    typed[i] = {static_cast<int>(i % 3), i % 2 == 0, text, "", "", 48'500'000};
  }
  for (auto _ : state) {
    int accepted = 0;
    FrequencyEntry e;
    for (const FrequencyInput& in : typed) accepted += blnCheckFrequency(in, e);
    benchmark::DoNotOptimize(accepted);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(typed.size()));
}
BENCHMARK(BM_Check10000Frequencies)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

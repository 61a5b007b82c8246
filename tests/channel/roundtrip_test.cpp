// Whole tables: grid -> image -> grid and image -> grid -> image, for every
// family and layout, and a seeded sweep of typed frequencies per step.
#include <cinttypes>
#include <cstdio>
#include <random>

#include "channel/freqcheck.h"
#include "channel/tonetables.h"
#include "chantest.h"
#include "platform/base/vbtext.h"

namespace {

struct Layout {
  const char* family;
  int model;
  bool nameOption;
  int64_t loHz, hiHz;  // band of the model variant
};

const Layout kLayouts[] = {
    {"0", 4, false, 136'000'000, 174'000'000},  {"0", 12, false, 400'000'000, 470'000'000},
    {"0", 0, false, 30'000'000, 60'000'000},    {"1", 2, false, 136'000'000, 162'000'000},
    {"1", 2, true, 136'000'000, 162'000'000},   {"1", 10, false, 400'000'000, 435'000'000},
    {"1", 0, false, 30'000'000, 66'000'000},    {"2", 5, false, 136'000'000, 156'000'000},
    {"2", 14, false, 400'000'000, 435'000'000}, {"2", 0, false, 29'500'000, 40'000'000},
};

std::string mhz(int64_t hz) {
  char text[32];
  std::snprintf(text, sizeof text, "%" PRId64 ".%06" PRId64, hz / 1'000'000, hz % 1'000'000);
  return text;
}

template <class T, size_t N>
const T& pick(std::mt19937& rng, const T (&list)[N]) {
  return list[rng() % N];
}

}  // namespace

class RoundTrip : public ChannelTest {
 protected:
  // A random table of valid channels, as the page would leave the grid.
  int fillRandomGrid(std::mt19937& rng, const Layout& layout) {
    const int family = modPublic.family();
    clearGrid();
    int rows = 0;
    for (int r = 0; r <= data.intMaxRow; ++r) {
      const bool rx = r % 2 == 0;
      if (rng() % 5 == 0) continue;
      FrequencyEntry e;
      bool ok = false;
      for (int tries = 0; tries < 20 && !ok; ++tries) {
        const int64_t hz = layout.loHz + static_cast<int64_t>(rng() % static_cast<uint32_t>((layout.hiHz - layout.loHz) / 2500)) * 2500;
        ok = blnCheckFrequency({family, rx, mhz(hz), "", "", data.dblIFOffset}, e);
      }
      if (!ok) continue;
      ++rows;
      auto& c = row(r);
      c[0] = e.prescaler;
      c[1] = e.step;
      c[2] = vb::Format(vb::Val(e.frequency), "####0.00000");
      static const char* const widths3[] = {"WID", "NRW", "4KH"};
      static const char* const widths2[] = {"WID", "NRW"};
      static const char* const modes[] = {"Simp", "Semi", "Dupl", "Repe"};
      static const char* const onOff[] = {"ON", "OFF"};
      static const char* const power[] = {"HI", "LO"};
      static const char* const pmfm[] = {"PM", "FM"};
      static const char* const flag[] = {"1", ""};
      if (family == 0) c[3] = pick(rng, widths3);
      if (family == 1) c[3] = pick(rng, widths2);
      if (family == 2 && rx) {
        c[3] = pick(rng, widths3);
        c[4] = pick(rng, modes);
      }
      if (rx) c[5] = pick(rng, onOff);
      else c[6] = pick(rng, power);
      switch (rng() % 3) {
        case 1: c[7] = data.strCtcTable[1 + rng() % 55]; break;
        case 2:
          c[9] = data.strDcsTable[1 + rng() % static_cast<unsigned>(tones::dcsLast(family))];
          c[10] = pick(rng, flag);
          break;
      }
      if (family != 1) c[8] = pick(rng, pmfm);
      if (rx && family != 2) c[11] = pick(rng, flag);
      c[12] = pick(rng, flag);
    }
    return rows;
  }
};

TEST_F(RoundTrip, EveryFamilyAndLayout) {
  for (const Layout& layout : kLayouts) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
      SCOPED_TRACE(std::string("family ") + layout.family + " model " + std::to_string(layout.model) +
                   (layout.nameOption ? " names" : "") + " seed " + std::to_string(seed));
      setUpChannels(layout.family, layout.model, layout.nameOption);
      std::mt19937 rng(seed);
      const int rows = fillRandomGrid(rng, layout);
      ASSERT_GT(rows, data.intMaxRow / 2);
      const auto grid = modPublic.chanParaRows;
      std::vector<int> failed;
      ASSERT_TRUE(blnPutChanPara(data, &failed));
      const std::vector<uint8_t> encoded = image();

      ASSERT_TRUE(blnGetChanPara(data));
      for (int r = 0; r <= data.intMaxRow; ++r) ASSERT_EQ(row(r), grid[static_cast<size_t>(r)]) << "row " << r;
      ASSERT_TRUE(blnPutChanPara(data));
      ASSERT_EQ(image(), encoded);
    }
  }
}

TEST_F(RoundTrip, AcceptedFrequenciesComeBackAsTyped) {
  const Layout* layouts[] = {&kLayouts[0], &kLayouts[1], &kLayouts[2], &kLayouts[3], &kLayouts[5],
                             &kLayouts[6], &kLayouts[7], &kLayouts[8], &kLayouts[9]};
  std::mt19937 rng(20261207);
  for (const Layout* layout : layouts) {
    setUpChannels(layout->family, layout->model);
    const int family = modPublic.family();
    for (int64_t step : freq::stepList(family)) {
      SCOPED_TRACE(std::string("family ") + layout->family + " model " + std::to_string(layout->model) + " step " +
                   std::to_string(step));
      clearGrid();
      std::vector<FrequencyEntry> accepted(static_cast<size_t>(data.intMaxRow) + 1);
      int count = 0;
      for (int r = 0; r <= data.intMaxRow; ++r) {
        // Half on this step's raster anywhere from 20 to 530 MHz, half on a 50 Hz raster.
        const int64_t hz = r % 4 < 2 ? (20'000'000'000 + static_cast<int64_t>(rng() % 510'000'000) * 1000) / step * step / 1000
                                     : 20'000'000 + static_cast<int64_t>(rng() % 10'200'000) * 50;
        FrequencyEntry e;
        if (!blnCheckFrequency({family, r % 2 == 0, mhz(hz), freq::stepText(step), "", data.dblIFOffset}, e)) continue;
        ++count;
        row(r)[0] = e.prescaler;
        row(r)[1] = e.step;
        row(r)[2] = vb::Format(vb::Val(e.frequency), "####0.00000");
        accepted[static_cast<size_t>(r)] = e;
      }
      EXPECT_GT(count, data.intMaxRow / 8);
      const auto grid = modPublic.chanParaRows;
      std::vector<int> failed;
      ASSERT_TRUE(blnPutChanPara(data, &failed));
      ASSERT_TRUE(blnGetChanPara(data));
      for (int r = 0; r <= data.intMaxRow; ++r) {
        const auto& typed = grid[static_cast<size_t>(r)];
        if (typed[2].empty()) continue;
        ASSERT_EQ(row(r)[2], typed[2]) << "row " << r;
        ASSERT_EQ(row(r)[1], typed[1]) << "row " << r;
        ASSERT_EQ(row(r)[0], typed[0]) << "row " << r;
        ASSERT_EQ(data.udtPllData[static_cast<size_t>(r)].intPllB, accepted[static_cast<size_t>(r)].counters.B);
        ASSERT_EQ(data.udtPllData[static_cast<size_t>(r)].bytPllA, accepted[static_cast<size_t>(r)].counters.A);
      }
    }
  }
}

// The auto channel set's byte logic: the template check, the step and range
// fields, and the range fill against an editor that keeps its grid as the
// channel editor does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "channel/autoset.h"
#include "platform/base/strtable.h"

using namespace autoset;

namespace {

// The editor as the fill sees it: cells show grid rows V..V+15; a cell's
// change handler stores its text into the grid, except the tone cells'.
class Editor : public FillTarget {
 public:
  explicit Editor(int lastGridRow) : grid(static_cast<size_t>(lastGridRow) + 1) {
    for (auto& row : grid) row.fill("old");
  }
  int scrollValue() const override { return v; }
  void setScrollValue(int value) override {
    EXPECT_GE(value, 0);
    EXPECT_LE(value, static_cast<int>(grid.size()) - 16);
    v = value;
    scrolls.push_back(value);
  }
  void setCell(int cell, int visibleRow, const std::string& text) override {
    EXPECT_GE(visibleRow, 0);
    EXPECT_LT(visibleRow, 16);
    ++writes;
    order.push_back(cell);
    if (cell == kCTCSS || cell == kDCS) return;
    grid.at(static_cast<size_t>(v + visibleRow)).at(static_cast<size_t>(gridColumn(cell))) = text;
    visibleRows.push_back(visibleRow);
  }
  void setGridText(int gridRow, int column, const std::string& text) override {
    ++writes;
    grid.at(static_cast<size_t>(gridRow)).at(static_cast<size_t>(column)) = text;
  }
  const std::string& freq(int channel, int row) const { return grid.at(static_cast<size_t>(2 * (channel - 1) + row))[2]; }

  std::vector<std::array<std::string, 13>> grid;
  int v = 0;
  int writes = 0;
  std::vector<int> scrolls, order, visibleRows;
};

// Family `f`, the RX row typed `rx` and the TX row `tx` (empty: unused),
// checked as their cells check them.
Template typed(int f, const std::string& rx, const std::string& tx = "", int64_t ifHz = 48'500'000,
               const std::string& step = "") {
  Template t;
  t.family = f;
  t.ifHz = ifHz;
  const std::string texts[2] = {rx, tx};
  for (int r = 0; r < 2; ++r) {
    if (texts[r].empty()) continue;
    t.text(r, kFreq) = texts[r];
    t.text(r, kRef) = step;
    EXPECT_TRUE(blnChkFrequency(t, r)) << texts[r];
    t.text(r, kWN) = "NRW";
    t.text(r, r == 0 ? kScan : kTxPower) = r == 0 ? "ON" : "LO";
    t.text(r, kCTCSS) = r == 0 ? "88.5" : "";
    t.text(r, kDCS) = r == 0 ? "" : "023";
    t.text(r, kINV) = r == 0 ? "" : "1";
    t.text(r, kPMFM) = "FM";
  }
  return t;
}

RangeFields range(const std::string& value, int start, int end, int lastGridRow, int sign = 0) {
  return {value, std::to_string(start), std::to_string(end), sign, lastGridRow};
}

}  // namespace

TEST(AutoSetTemplate, RowCheckChoosesStepAndPrescalerAsTheEditorDoes) {
  Template t;
  t.family = 0;
  t.text(1, kFreq) = "146.52";
  ASSERT_TRUE(blnChkFrequency(t, 1));
  EXPECT_EQ(t.text(1, kRef), "10.00");  // 12.5 kHz leaves 7.5 kHz
  EXPECT_EQ(t.text(1, kPres), "64");
  EXPECT_EQ(t.text(1, kFreq), "146.52");

  // Four typed decimals of a 6.25 kHz channel: the text is raised by 50 Hz
  // and the cell's check accepts the corrected frequency.
  t.text(1, kFreq) = "146.5187";
  t.text(1, kRef) = "";
  ASSERT_TRUE(blnChkFrequency(t, 1));
  EXPECT_EQ(t.text(1, kFreq), "146.51875");
  EXPECT_EQ(t.text(1, kRef), "6.25");

  // A shown step stays unless the frequency was typed in this visit.
  t.text(1, kFreq) = "146.0050";
  t.text(1, kRef) = "12.50";
  t.text(1, kPres) = "";
  EXPECT_FALSE(blnChkFrequency(t, 1));
  EXPECT_EQ(t.text(1, kRef), "12.50");
  EXPECT_EQ(t.text(1, kPres), "");
  t.freqOnFocus = "146.00000";
  ASSERT_TRUE(blnChkFrequency(t, 1));
  EXPECT_EQ(t.text(1, kRef), "5.00");

  // RX row: step and counters on frequency + IF, prescaler on the frequency.
  t.family = 2;
  t.ifHz = -48'500'000;
  t.freqOnFocus.clear();
  t.text(0, kFreq) = "340.0000";
  ASSERT_TRUE(blnChkFrequency(t, 0));
  EXPECT_EQ(t.text(0, kPres), "128");
  EXPECT_EQ(t.text(0, kRef), "12.50");
  t.text(0, kFreq) = "40.0000";
  t.text(0, kRef) = "";
  EXPECT_FALSE(blnChkFrequency(t, 0));

  // Family "1" has no 2.5 kHz step.
  t.family = 1;
  t.text(1, kFreq) = "146.5025";
  t.text(1, kRef) = "";
  EXPECT_FALSE(blnChkFrequency(t, 1));
}

TEST(AutoSetTemplate, ChannelFrequenciesUseTheRowsStepAndPrescaler) {
  Template t = typed(0, "", "146.0000");
  ASSERT_EQ(t.text(1, kRef), "12.50");
  EXPECT_TRUE(blnChkFrequency(t, 1, 146'012'500));
  EXPECT_FALSE(blnChkFrequency(t, 1, 146'006'250));  // not on the row's 12.5 kHz
  EXPECT_EQ(t.text(1, kFreq), "146.0000");

  // A channel across the prescaler threshold would be written with the
  // template's prescaler, which its frequency does not take.
  t = typed(0, "", "299.9875");
  EXPECT_TRUE(blnChkFrequency(t, 1, 299'975'000));
  EXPECT_FALSE(blnChkFrequency(t, 1, 300'000'000));
  t = typed(1, "", "59.9875", 48'500'000);
  EXPECT_EQ(t.text(1, kPres), "32");
  EXPECT_FALSE(blnChkFrequency(t, 1, 60'000'000));

  // RX row of a 48.5 MHz IF: 0 MHz would be synthesized as 48.5 MHz, but a
  // channel of 0 MHz or below is not a channel.
  t = typed(0, "1.0000");
  ASSERT_EQ(t.text(0, kRef), "10.00");
  EXPECT_TRUE(blnChkFrequency(t, 0, 500'000));
  EXPECT_FALSE(blnChkFrequency(t, 0, 0));
  EXPECT_FALSE(blnChkFrequency(t, 0, -10'000));
  // The synthesizer's top: 999,999,990 Hz.
  t = typed(0, "", "999.9875");
  EXPECT_FALSE(blnChkFrequency(t, 1, 1'000'000'000));
}

TEST(AutoSetFields, StepIsAWholeMultipleInHertz) {
  auto ok = [](int f, const char* text, const char* shown) {
    const FieldCheck c = checkStep(f, text);
    EXPECT_TRUE(c.accepted()) << text;
    EXPECT_EQ(c.text, shown);
  };
  auto no = [](int f, const char* text, int m, int m2) {
    const FieldCheck c = checkStep(f, text);
    EXPECT_FALSE(c.accepted()) << text;
    EXPECT_EQ(c.refusal.message, m) << text;
    EXPECT_EQ(c.refusal.message2, m2) << text;
    EXPECT_EQ(c.refusal.focus, Field::Value);
  };
  ok(0, "0.0125", "0.01250");
  ok(2, "0.0025", "0.00250");
  ok(0, "0.5025", "0.50250");  // 201 × 2.5 kHz, exact in Hz
  ok(1, "0.00625", "0.00625");
  ok(1, "999.99", "999.99000");
  ok(0, "0", "0.00000");
  ok(0, ".5", "0.50000");
  no(1, "0.0025", 10031, 0);
  no(1, "0.5025", 10031, 0);
  no(0, "0.003", 10031, 0);
  no(0, "1000", 10032, 0);
  no(0, "12a", 10032, 10033);
  no(0, "-1", 10032, 10033);
  no(0, "1.2.5", 10032, 10070);  // also when the field is left with it
  EXPECT_TRUE(checkStep(0, "").empty);
  EXPECT_EQ(checkStep(0, "1.2.5").refusal.kind, SoundKind::Information);
  EXPECT_EQ(checkStep(0, "0.003").refusal.kind, SoundKind::Attention);
}

TEST(AutoSetFields, RangeWithinTheChannelsAndInOrder) {
  EXPECT_EQ(checkStart(255, "0").refusal.message, 10043);
  EXPECT_EQ(checkStart(99, "100").refusal.message, 10043);
  EXPECT_EQ(checkStart(99, "abc").refusal.message, 10043);
  EXPECT_EQ(checkStart(99, "99").text, "99");
  EXPECT_EQ(checkStart(99, "9.5").text, "9");  // the channel used is shown
  EXPECT_TRUE(checkStart(99, "").empty);
  EXPECT_EQ(checkEnd(99, "5", "4").refusal.message, 10065);
  EXPECT_EQ(checkEnd(99, "5", "4").refusal.focus, Field::EndNo);
  EXPECT_TRUE(checkEnd(99, "5", "5").accepted());
  EXPECT_TRUE(checkEnd(99, "", "1").accepted());
  EXPECT_EQ(checkEnd(99, "5", "100").refusal.message, 10043);
}

TEST(AutoSetFill, RefusalsWriteNothing) {
  strtable::load("", "en");
  struct Case {
    Template t;
    RangeFields f;
    int message, message2;
    Field focus;
  };
  Template none;
  Template zero;
  zero.text(0, kFreq) = "0";
  const Template rx = typed(0, "146.0000");
  const std::vector<Case> cases = {
      {none, range("0.0125", 1, 3, 509), 10061, 0, Field::TemplateFrequency0},
      {zero, range("0.0125", 1, 3, 509), 10061, 0, Field::TemplateFrequency0},
      {rx, range("", 1, 3, 509), 10066, 0, Field::Value},
      {rx, range("0.003", 1, 3, 509), 10031, 0, Field::Value},
      {rx, range("0.0125", 1, 3, 509), 0, 0, Field::None},
      {rx, {"0.0125", "", "3", 0, 509}, 10067, 0, Field::StartNo},
      {rx, {"0.0125", "1", "", 0, 509}, 10067, 0, Field::StartNo},
      {rx, range("0.0125", 0, 3, 509), 10043, 0, Field::StartNo},
      {rx, range("0.0125", 1, 256, 509), 10043, 0, Field::EndNo},
      {rx, range("0.0125", 5, 4, 509), 10065, 0, Field::EndNo},
      // 146 MHz and 12.5 kHz: the 6.25 kHz channel in the middle fails.
      {rx, range("0.00625", 1, 3, 509), 10068, 10069, Field::TemplateFrequency0},
      // Family "0" across 300 MHz: 300.0000 would need prescaler 128.
      {typed(0, "299.9750"), range("0.0125", 1, 4, 509), 10068, 10069, Field::TemplateFrequency0},
      // Family "1" across 60 MHz, going down from the TX row's 60.0125.
      {typed(1, "", "60.0125"), range("0.0125", 1, 3, 399, 1), 10068, 10069, Field::TemplateFrequency0},
      // RX row 1 MHz with a 48.5 MHz IF, stepping down 0.5 MHz: channel 3
      // would be 0 MHz, channel 4 below it.
      {typed(0, "1.0000"), range("0.5", 1, 3, 509, 1), 10068, 10069, Field::TemplateFrequency0},
  };
  for (const Case& c : cases) {
    Template t = c.t;
    Editor editor(c.f.lastGridRow);
    const Refusal r = blnChannelSet(t, c.f, editor);
    EXPECT_EQ(r.message, c.message) << c.f.value << " " << c.f.startNo << ".." << c.f.endNo;
    EXPECT_EQ(r.message2, c.message2);
    EXPECT_EQ(r.focus, c.focus);
    if (c.message) {
      EXPECT_EQ(editor.writes + static_cast<int>(editor.scrolls.size()), 0);
    }
  }
  Template t = typed(0, "146.0000");
  Editor editor(509);
  const Refusal r = blnChannelSet(t, range("0.00625", 1, 3, 509), editor);
  EXPECT_EQ(r.text(), "Frequency check error\rSetting value is checked");
}

TEST(AutoSetFill, WritesEveryChannelOfTheRangeUpOrDown) {
  // Family "0": RX only, 12.5 kHz up; the TX rows keep what they held.
  Template t = typed(0, "146.0000");
  Editor up(509);
  ASSERT_FALSE(blnChannelSet(t, range("0.0125", 1, 3, 509), up));
  EXPECT_EQ(up.freq(1, 0), "146.00000");
  EXPECT_EQ(up.freq(2, 0), "146.01250");
  EXPECT_EQ(up.freq(3, 0), "146.02500");
  EXPECT_EQ(up.freq(4, 0), "old");
  EXPECT_EQ(up.freq(2, 1), "old");
  const std::array<std::string, 13> rx2 = {"64", "12.50", "146.01250", "NRW", "", "ON", "", "88.5", "FM", "", "", "", ""};
  EXPECT_EQ(up.grid[2], rx2);
  // Thirteen cells a row, the frequency third and PM/FM last.
  ASSERT_EQ(up.order.size(), 39u);
  EXPECT_EQ(std::vector<int>(up.order.begin(), up.order.begin() + 13),
            (std::vector<int>{kPres, kRef, kFreq, kWN, kMode, kScan, kTxPower, kCTCSS, kDCS, kINV, kSH, kSR, kPMFM}));
  EXPECT_EQ(up.scrolls, (std::vector<int>{0, 1, 0}));

  // Both rows, "-": each row steps from its own frequency.
  t = typed(2, "146.0000", "151.0000");
  Editor down(197);
  ASSERT_FALSE(blnChannelSet(t, range("0.0125", 1, 3, 197, 1), down));
  EXPECT_EQ(down.freq(2, 0), "145.98750");
  EXPECT_EQ(down.freq(3, 0), "145.97500");
  EXPECT_EQ(down.freq(3, 1), "150.97500");
  const std::array<std::string, 13> tx3 = {"64", "12.50", "150.97500", "NRW", "", "", "LO", "", "FM", "023", "1", "", ""};
  EXPECT_EQ(down.grid[5], tx3);

  // 6.25 kHz: the step chosen with an empty frequency is kept when the
  // frequency is typed afterwards.
  t = typed(1, "", "146.0000", 48'500'000, "6.25");
  ASSERT_EQ(t.text(1, kRef), "6.25");
  Editor fine(399);
  ASSERT_FALSE(blnChannelSet(t, range("0.00625", 7, 9, 399), fine));
  EXPECT_EQ(fine.freq(7, 1), "146.00000");
  EXPECT_EQ(fine.freq(8, 1), "146.00625");
  EXPECT_EQ(fine.freq(9, 1), "146.01250");

  // A template frequency of four decimals: its check raises it by 50 Hz onto
  // the 6.25 kHz raster and the range steps from there.
  Template raw;
  raw.family = 0;
  raw.ifHz = 48'500'000;
  raw.text(0, kFreq) = "146.0062";
  Editor corrected(509);
  ASSERT_FALSE(blnChannelSet(raw, range("0.00625", 1, 3, 509), corrected));
  EXPECT_EQ(raw.text(0, kFreq), "146.00625");
  EXPECT_EQ(corrected.freq(1, 0), "146.00625");
  EXPECT_EQ(corrected.freq(3, 0), "146.01875");
  EXPECT_EQ(corrected.grid[0][1], "6.25");

  // A step of 0 writes the template frequency into every channel.
  t = typed(0, "146.0000");
  Editor same(509);
  ASSERT_FALSE(blnChannelSet(t, range("0", 1, 2, 509), same));
  EXPECT_EQ(same.freq(2, 0), "146.00000");
}

TEST(AutoSetFill, PagesTheEditorLikeAUserWould) {
  Template t = typed(0, "146.0000", "151.0000");
  // Ten channels from 1: eight fit, then one channel's scroll before 9 and 10.
  Editor ten(509);
  ASSERT_FALSE(blnChannelSet(t, range("0.0125", 1, 10, 509), ten));
  EXPECT_EQ(ten.scrolls, (std::vector<int>{0, 2, 4, 0}));
  EXPECT_EQ(ten.freq(10, 1), "151.11250");
  // Channel 10 went into the last two visible rows, after channel 9 had.
  const std::vector<int> rows10(ten.visibleRows.end() - 22, ten.visibleRows.end());
  EXPECT_EQ(rows10, (std::vector<int>{14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15}));

  // Family "2", the last channels: the editor's last page, no scrolling.
  t = typed(2, "146.0000", "151.0000");
  Editor last(197);
  ASSERT_FALSE(blnChannelSet(t, range("0.0125", 95, 99, 197), last));
  EXPECT_EQ(last.scrolls, (std::vector<int>{182, 0}));
  EXPECT_EQ(last.visibleRows.front(), 6);
  EXPECT_EQ(last.visibleRows.back(), 15);
  EXPECT_EQ(last.freq(99, 1), "151.05000");
  EXPECT_EQ(last.freq(94, 0), "old");

  // 91..99: 91 at the top of position 180, 99 after one scroll.
  Editor tail(197);
  ASSERT_FALSE(blnChannelSet(t, range("0.0125", 91, 99, 197), tail));
  EXPECT_EQ(tail.scrolls, (std::vector<int>{180, 182, 0}));
  EXPECT_EQ(tail.freq(99, 0), "146.10000");

  // Every channel of family "0", the last one on the last row of the grid.
  t = typed(0, "146.0000", "151.0000");
  Editor all(509);
  ASSERT_FALSE(blnChannelSet(t, range("0.0125", 1, 255, 509), all));
  EXPECT_EQ(all.freq(255, 0), "149.17500");
  EXPECT_EQ(all.freq(255, 1), "154.17500");
  EXPECT_EQ(all.scrolls.back(), 0);
  EXPECT_EQ(all.scrolls[all.scrolls.size() - 2], 494);
}

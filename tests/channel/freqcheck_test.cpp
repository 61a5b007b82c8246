// Typed frequencies: raster pre-check, prescaler, step choice, counters.
#include <gtest/gtest.h>

#include "channel/freqcheck.h"

namespace {

FrequencyInput typed(int family, bool rx, const std::string& f, const std::string& step = "",
                     const std::string& old = "", int64_t ifHz = 0) {
  FrequencyInput in;
  in.family = family;
  in.rxRow = rx;
  in.frequency = f;
  in.step = step;
  in.oldFrequency = old;
  in.ifHz = ifHz;
  return in;
}

}  // namespace

TEST(FrequencyCheck, RangeOfTheTypedValue) {
  FrequencyEntry e;
  e.step = "untouched";
  EXPECT_FALSE(blnCheckFrequency(typed(0, false, ""), e));
  EXPECT_FALSE(blnCheckFrequency(typed(0, false, "0"), e));
  EXPECT_FALSE(blnCheckFrequency(typed(0, false, "1000"), e));
  EXPECT_FALSE(blnCheckFrequency(typed(1, false, "1200.0000"), e));
  EXPECT_FALSE(blnCheckFrequency(typed(0, false, "-145.0125"), e));
  // A refused frequency leaves the caller's texts alone.
  EXPECT_EQ(e.step, "untouched");
  EXPECT_TRUE(e.frequency.empty());
}

TEST(FrequencyCheck, StepChosenForAnEmptyStepCell) {
  FrequencyEntry e;
  // 2.5 kHz passes the pre-check, but 12.5 kHz is the largest step that
  // divides and keeps N above 64 * 64.
  ASSERT_TRUE(blnCheckFrequency(typed(0, false, "145.0125"), e));
  EXPECT_EQ(e.frequency, "145.0125");
  EXPECT_EQ(e.step, "12.50");
  EXPECT_EQ(e.prescaler, "64");
  EXPECT_EQ(e.counters.B, 181);
  EXPECT_EQ(e.counters.A, 17);

  // 30 MHz: 12.5 and 10 kHz give N = 2400 and 3000, below 4096.
  ASSERT_TRUE(blnCheckFrequency(typed(0, false, "30.0000"), e));
  EXPECT_EQ(e.step, "6.25");
  EXPECT_EQ(e.prescaler, "64");
  EXPECT_EQ(e.counters.B * 64 + e.counters.A, 4800);
  // The same frequency with the step cell already "12.50" is refused.
  EXPECT_FALSE(blnCheckFrequency(typed(0, false, "30.0000", "12.50"), e));
  EXPECT_FALSE(blnCheckFrequency(typed(0, false, "30.0000", "12.50", "29.98750"), e));

  // Family "1" has no 2.5 kHz step.
  EXPECT_FALSE(blnCheckFrequency(typed(1, false, "145.0025"), e));
  ASSERT_TRUE(blnCheckFrequency(typed(0, false, "145.0025"), e));
  EXPECT_EQ(e.step, "2.50");
  ASSERT_TRUE(blnCheckFrequency(typed(2, false, "145.0075"), e));
  EXPECT_EQ(e.step, "2.50");
  EXPECT_EQ(e.prescaler, "64");
}

TEST(FrequencyCheck, FiftyHertzCorrectionForSixPointTwoFive) {
  FrequencyEntry e;
  ASSERT_TRUE(blnCheckFrequency(typed(0, false, "145.0062"), e));
  EXPECT_EQ(e.frequency, "145.00625");
  EXPECT_EQ(e.step, "6.25");
  EXPECT_EQ(e.prescaler, "64");
  EXPECT_EQ(e.counters.B * 64 + e.counters.A, 145006250 / 6250);
  // Also on an RX row, where the counters include the IF.
  ASSERT_TRUE(blnCheckFrequency(typed(1, true, "150.0187", "", "", 48'500'000), e));
  EXPECT_EQ(e.frequency, "150.01875");
  EXPECT_EQ(e.step, "6.25");
  EXPECT_EQ(e.counters.B * 64 + e.counters.A, (150018750 + 48500000) / 6250);
  // No correction when a step is already given.
  EXPECT_FALSE(blnCheckFrequency(typed(0, false, "145.0062", "6.25"), e));
  // 50 Hz more does not reach any raster either.
  EXPECT_FALSE(blnCheckFrequency(typed(0, false, "145.0061"), e));
}

TEST(FrequencyCheck, PrescalerThresholdsUseTheTypedFrequency) {
  FrequencyEntry e;
  ASSERT_TRUE(blnCheckFrequency(typed(1, false, "50.0000"), e));
  EXPECT_EQ(e.prescaler, "32");
  ASSERT_TRUE(blnCheckFrequency(typed(1, false, "59.9950"), e));
  EXPECT_EQ(e.prescaler, "32");
  ASSERT_TRUE(blnCheckFrequency(typed(1, false, "60.0000"), e));
  EXPECT_EQ(e.prescaler, "64");
  ASSERT_TRUE(blnCheckFrequency(typed(0, false, "299.9875"), e));
  EXPECT_EQ(e.prescaler, "64");
  ASSERT_TRUE(blnCheckFrequency(typed(0, false, "300.0000"), e));
  EXPECT_EQ(e.prescaler, "128");
  ASSERT_TRUE(blnCheckFrequency(typed(2, false, "300.0000"), e));
  EXPECT_EQ(e.prescaler, "128");
  EXPECT_EQ(e.counters.B, 187);
  EXPECT_EQ(e.counters.A, 64);

  // RX row of a 21.6 MHz model: 290 MHz typed is below 300 MHz, so P = 64,
  // while step and counters are those of 311.6 MHz.
  ASSERT_TRUE(blnCheckFrequency(typed(0, true, "290.0000", "", "", 21'600'000), e));
  EXPECT_EQ(e.prescaler, "64");
  EXPECT_EQ(e.step, "12.50");
  EXPECT_EQ(e.counters.B, 389);
  EXPECT_EQ(e.counters.A, 32);
  // The TX row of the same frequency has its own counters.
  ASSERT_TRUE(blnCheckFrequency(typed(0, false, "290.0000", "", "", 21'600'000), e));
  EXPECT_EQ(e.counters.B * 64 + e.counters.A, 23200);
}

TEST(FrequencyCheck, GivenStepsAndPreviousFrequencies) {
  FrequencyEntry e;
  // A step given: the typed value must sit on it (families "0"/"2").
  EXPECT_FALSE(blnCheckFrequency(typed(0, false, "145.0050", "12.50"), e));
  ASSERT_TRUE(blnCheckFrequency(typed(0, false, "145.0050", "5.00"), e));
  EXPECT_EQ(e.step, "5.00");
  // Family "1" pre-checks against its list; the counters then need the given step.
  EXPECT_FALSE(blnCheckFrequency(typed(1, false, "145.0050", "12.50"), e));
  ASSERT_TRUE(blnCheckFrequency(typed(1, false, "145.0050", "5.00"), e));
  // A changed frequency of a row with a step: only the counters decide, on
  // the synthesizer frequency (typed + IF on RX rows).
  ASSERT_TRUE(blnCheckFrequency(typed(0, true, "145.0000", "12.50", "146.00000", -48'500'000), e));
  EXPECT_EQ(e.counters.B * 64 + e.counters.A, (145000000 - 48500000) / 12500);
  EXPECT_FALSE(blnCheckFrequency(typed(0, true, "145.0050", "12.50", "146.00000", -48'500'000), e));
  // A negative IF that leaves nothing to synthesize.
  EXPECT_FALSE(blnCheckFrequency(typed(0, true, "40.0000", "12.50", "146.00000", -48'500'000), e));
}

TEST(FrequencyCheck, CountersBeyondElevenBitsAreRefused) {
  FrequencyEntry e;
  // 299.9975 MHz on a 48.5 MHz RX row: only 2.5 kHz divides 348.4975 MHz,
  // N = 139399 and P = 64 would need B = 2178.
  EXPECT_FALSE(blnCheckFrequency(typed(0, true, "299.9975", "", "", 48'500'000), e));
  // 131071 steps of 2.5 kHz: with P = 128 (from 300 MHz) B is 1023; with
  // P = 64 it would be the largest 11-bit B.
  ASSERT_TRUE(blnCheckFrequency(typed(0, false, "327.6775", "2.50"), e));
  EXPECT_EQ(e.prescaler, "128");
  freq::PllCounters c;
  EXPECT_TRUE(freq::pllCounters(327'677'500, 2'500'000, 64, c));
  EXPECT_EQ(c.B, 2047);
  EXPECT_EQ(c.A, 63);
  EXPECT_FALSE(freq::pllCounters(327'680'000, 2'500'000, 64, c));
  // N below P * P, off the raster, beyond 999,999,990 Hz, no prescaler.
  EXPECT_FALSE(freq::pllCounters(4095LL * 12500, 12'500'000, 64, c));
  EXPECT_TRUE(freq::pllCounters(4096LL * 12500, 12'500'000, 64, c));
  EXPECT_FALSE(freq::pllCounters(145'012'510, 12'500'000, 64, c));
  EXPECT_FALSE(freq::pllCounters(1'000'000'000, 2'500'000, 128, c));
  EXPECT_FALSE(freq::pllCounters(145'012'500, 12'500'000, 0, c));
  EXPECT_FALSE(blnCheckPllCounters(145'012'500, 64, ""));
}

TEST(FrequencyCheck, TextsAndNumbers) {
  // Decimal texts are read exactly; digits beyond the Hz round to the nearest.
  EXPECT_EQ(freq::micros("145.0125"), 145'012'500);
  EXPECT_EQ(freq::micros("  145.01250 MHz"), 145'012'500);
  EXPECT_EQ(freq::micros("145.0000005"), 145'000'000);
  EXPECT_EQ(freq::micros("145.0000015"), 145'000'002);
  EXPECT_EQ(freq::micros("145.00000051"), 145'000'001);
  EXPECT_EQ(freq::micros("6.25"), 6'250'000);
  EXPECT_EQ(freq::micros(""), 0);
  EXPECT_EQ(freq::micros("abc"), 0);
  EXPECT_EQ(freq::mhzText(145'006'249'620), "145.00625");

  // The IF in Hz: 73.35 exactly, other values from the single-precision number.
  EXPECT_EQ(freq::ifHz(73.35f), 73'350'000);
  EXPECT_EQ(freq::ifHz(-73.35f), -73'350'000);
  EXPECT_EQ(freq::ifHz(48.5f), 48'500'000);
  EXPECT_EQ(freq::ifHz(-48.5f), -48'500'000);
  EXPECT_EQ(freq::ifHz(21.6f), 21'600'000);
  EXPECT_EQ(freq::ifHz(0.0f), 0);

  EXPECT_DOUBLE_EQ(dblModData(10, 3), 1);
  EXPECT_NEAR(dblModData(145012500.1, 12500), 0.1, 1e-6);
  EXPECT_DOUBLE_EQ(dblModData(2.5, 5), 2.5);
  EXPECT_DOUBLE_EQ(dblModData(-1, 3), -1);
  EXPECT_DOUBLE_EQ(dblModData(5, 0), 5);   // would never end by subtraction
  EXPECT_DOUBLE_EQ(dblModData(1e15 + 7, 10), 7);
}

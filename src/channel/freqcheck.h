#pragma once
// Typed frequencies against the radio's synthesizer: which steps and
// prescalers a frequency can use, and the PLL counters that follow from them.
// Frequencies are whole Hz; steps are kept in mHz so that any step text is
// exact. Nothing here touches a widget: the channel page hands in the texts
// of a row and applies the texts that come back.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace freq {

// Val(text) × 1,000,000 rounded to a whole number (a half to the even one):
// a text in MHz gives Hz, a step text in kHz gives mHz. Decimal texts are
// read exactly, without binary rounding.
int64_t micros(const std::string& text);

// Val(text) rounded to a whole number (a half to the even one), as the
// prescaler texts are read.
int whole(const std::string& text);

// The channel steps of a family in mHz, ascending: 2.5, 5, 6.25, 10 and
// 12.5 kHz; family "1" has no 2.5 kHz step.
const std::vector<int64_t>& stepList(int family);

// Prescaler for a typed frequency (never including the IF): family "1" 32
// below 60 MHz, else 64; families "0" and "2" 64 below 300 MHz, else 128.
int prescalerFor(int family, int64_t hz);

// The first IF in Hz. 73.35 and -73.35 MHz are exact; other values are the
// single-precision number × 1,000,000 to the nearest Hz.
int64_t ifHz(float sngIF);

// "####0.00000" of a frequency given in mHz (exact, half away from zero).
std::string mhzText(int64_t milliHz);
// The shortest decimal MHz text of a frequency in Hz ("145.00625").
std::string plainMhzText(int64_t hz);
// "####0.00" of a step given in mHz, in kHz ("6.25").
std::string stepText(int64_t milliHz);

struct PllCounters {
  int B = 0;  // 11 bits
  int A = 0;  // swallow counter, below P
};

// Counters of a synthesizer frequency (IF already added) for a step in mHz
// and prescaler P. False when the frequency is not a whole multiple of the
// step, N = f / step is below P × P, the frequency is outside 1 .. 999,999,990
// Hz, or B would need more than 11 bits.
bool pllCounters(int64_t hz, int64_t stepMilliHz, int P, PllCounters& out);

}  // namespace freq

// The same with the step as the row's step text (kHz).
bool blnCheckPllCounters(int64_t hz, int P, const std::string& stepText, freq::PllCounters* out = nullptr);

// What a channel page hands to the frequency check for one row.
struct FrequencyInput {
  int family = 0;
  bool rxRow = false;      // the IF is added on RX rows only
  std::string frequency;   // the typed text, MHz
  std::string step;        // the row's step text, kHz, may be empty
  std::string oldFrequency;  // the text the cell had before the edit ("" when none)
  int64_t ifHz = 0;
};

// The texts the row takes when the check succeeds.
struct FrequencyEntry {
  std::string frequency;  // as typed, or raised by 50 Hz to reach a 6.25 kHz raster
  std::string step;       // the row's step text, or the step chosen for an empty one
  std::string prescaler;  // "32", "64" or "128"
  freq::PllCounters counters;
};

// The check of a typed frequency. Works on copies: `out` is filled only when
// the frequency is acceptable, and the row keeps its texts otherwise.
bool blnCheckFrequency(const FrequencyInput& in, FrequencyEntry& out);
// The same for a channel frequency stepped from the typed one (the auto
// channel set fills a range from one template row): step and prescaler still
// come from the typed text, only `channelHz` is synthesized, and it must need
// the same prescaler, since every channel of the range gets the row's texts.
// out.counters are the channel's.
bool blnCheckFrequency(const FrequencyInput& in, FrequencyEntry& out, std::optional<int64_t> channelHz);

// Remainder of a non-negative dividend by a positive divisor; other
// arguments give the dividend back.
double dblModData(double dividend, double divisor);

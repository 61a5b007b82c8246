#include "channel/freqcheck.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "platform/base/vbtext.h"

namespace freq {

namespace {

constexpr int64_t kHuge = 1'000'000'000'000'000;  // beyond any frequency, far from overflow

int64_t clampedRound(double v) {
  if (std::isnan(v)) return 0;
  if (v > static_cast<double>(kHuge)) return kHuge;
  if (v < -static_cast<double>(kHuge)) return -kHuge;
  return static_cast<int64_t>(std::nearbyint(v));
}

// a / b to the nearest whole number, a half to the even one (a >= 0, b > 0).
int64_t divNearestEven(int64_t a, int64_t b) {
  int64_t q = a / b;
  const int64_t r2 = 2 * (a % b);
  if (r2 > b || (r2 == b && (q & 1))) ++q;
  return q;
}

// The step raster test: the remainder of f + 0.1 Hz by the step is below 0.5 Hz.
bool onRaster(int64_t hz, int64_t stepMilliHz) {
  const int64_t m = hz * 1000 + 100;
  return m % stepMilliHz < 500;
}

// nearest(nearest(f / S) × S) = nearest(f) for whole-Hz f: f is the multiple
// of S that lies nearest to it.
bool nearestMultiple(int64_t hz, int64_t stepMilliHz) {
  const int64_t q = divNearestEven(hz * 1000, stepMilliHz);
  return divNearestEven(q * stepMilliHz, 1000) == hz;
}

int64_t firstNearestStep(int family, int64_t hz) {
  for (int64_t s : stepList(family))
    if (nearestMultiple(hz, s)) return s;
  return 0;
}

}  // namespace

int64_t micros(const std::string& text) {
  const size_t n = text.size();
  size_t i = 0;
  while (i < n && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
  if (i < n && text[i] == '&') return clampedRound(vb::Val(text) * 1e6);
  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  // Whole part, then up to 6 decimals; the 7th decides the rounding, any
  // further non-zero digit breaks a tie.
  int64_t v = 0;
  int wholeDigits = 0, decimals = 0;
  bool point = false, any = false;
  char seventh = 0;
  bool beyond = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c == ' ' || c == '\t') continue;
    if (c >= '0' && c <= '9') {
      any = true;
      if (!point) {
        if (wholeDigits > 0 || c != '0') ++wholeDigits;
        if (wholeDigits > 12) return negative ? -kHuge : kHuge;
        v = v * 10 + (c - '0');
      } else if (decimals < 6) {
        v = v * 10 + (c - '0');
        ++decimals;
      } else if (seventh == 0) {
        seventh = c;
      } else if (c != '0') {
        beyond = true;
      }
      continue;
    }
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    break;
  }
  if (!any) return 0;
  if (i < n && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd'))
    return clampedRound(vb::Val(text) * 1e6);  // exponent form: rare enough for binary arithmetic
  for (; decimals < 6; ++decimals) v *= 10;
  if (seventh > '5' || (seventh == '5' && (beyond || (v & 1)))) ++v;
  return negative ? -v : v;
}

int whole(const std::string& text) {
  const int64_t m = micros(text);
  const int64_t a = divNearestEven(m < 0 ? -m : m, 1'000'000);
  const int64_t w = m < 0 ? -a : a;
  return static_cast<int>(std::clamp<int64_t>(w, -32768, 32767));
}

const std::vector<int64_t>& stepList(int family) {
  static const std::vector<int64_t> five{2'500'000, 5'000'000, 6'250'000, 10'000'000, 12'500'000};
  static const std::vector<int64_t> four{5'000'000, 6'250'000, 10'000'000, 12'500'000};
  return family == 1 ? four : five;
}

int prescalerFor(int family, int64_t hz) {
  if (family == 1) return hz < 60'000'000 ? 32 : 64;
  return hz < 300'000'000 ? 64 : 128;
}

int64_t ifHz(float sngIF) {
  if (sngIF == 73.35f) return 73'350'000;
  if (sngIF == -73.35f) return -73'350'000;
  return clampedRound(static_cast<double>(sngIF) * 1e6);
}

std::string mhzText(int64_t milliHz) {
  const bool negative = milliHz < 0;
  const int64_t a = negative ? -milliHz : milliHz;
  const int64_t tens = (a + 5000) / 10000;  // 10 Hz units, the last digit shown
  std::string frac = std::to_string(tens % 100000);
  frac.insert(0, 5 - frac.size(), '0');
  return std::string(negative && tens != 0 ? "-" : "") + std::to_string(tens / 100000) + "." + frac;
}

std::string plainMhzText(int64_t hz) {
  const bool negative = hz < 0;
  const int64_t a = negative ? -hz : hz;
  std::string frac = std::to_string(a % 1'000'000);
  frac.insert(0, 6 - frac.size(), '0');
  while (!frac.empty() && frac.back() == '0') frac.pop_back();
  std::string text = (negative ? "-" : "") + std::to_string(a / 1'000'000);
  if (!frac.empty()) text += "." + frac;
  return text;
}

std::string stepText(int64_t milliHz) {
  const bool negative = milliHz < 0;
  const int64_t a = negative ? -milliHz : milliHz;
  const int64_t tens = (a + 5000) / 10000;  // 10 Hz units: the two decimals of kHz
  std::string frac = std::to_string(tens % 100);
  frac.insert(0, 2 - frac.size(), '0');
  return std::string(negative && tens != 0 ? "-" : "") + std::to_string(tens / 100) + "." + frac;
}

bool pllCounters(int64_t hz, int64_t stepMilliHz, int P, PllCounters& out) {
  if (P <= 0 || stepMilliHz <= 0 || stepMilliHz >= kHuge) return false;
  if (hz <= 0 || hz > 999'999'990) return false;
  if (!onRaster(hz, stepMilliHz)) return false;
  const int64_t n = (hz * 1000 + 100) / stepMilliHz;
  if (n < static_cast<int64_t>(P) * P) return false;
  const int64_t b = n / P;
  const int64_t a = n % P;
  // B has 11 bits and A 7 in the row bytes: anything wider would be stored cut.
  if (b > 2047 || a > 127) return false;
  out.B = static_cast<int>(b);
  out.A = static_cast<int>(a);
  return true;
}

}  // namespace freq

bool blnCheckPllCounters(int64_t hz, int P, const std::string& stepText, freq::PllCounters* out) {
  freq::PllCounters c;
  if (!freq::pllCounters(hz, freq::micros(stepText), P, c)) return false;
  if (out) *out = c;
  return true;
}

bool blnCheckFrequency(const FrequencyInput& in, FrequencyEntry& out) { return blnCheckFrequency(in, out, std::nullopt); }

bool blnCheckFrequency(const FrequencyInput& in, FrequencyEntry& out, std::optional<int64_t> channelHz) {
  using namespace freq;
  int64_t f = micros(in.frequency);
  const int64_t ref = micros(in.step);
  if (f <= 0 || f >= 1'000'000'000) return false;
  std::string frequency = in.frequency;

  // The typed value itself must lie on a step raster.
  if (ref == 0) {
    if (firstNearestStep(in.family, f) == 0) {
      if (firstNearestStep(in.family, f + 50) == 0) return false;
      // Four typed decimals cannot hold a 6.25 kHz channel: 145.0062 means 145.00625.
      f += 50;
      frequency = plainMhzText(f);
    }
  } else if (in.oldFrequency.empty()) {
    if (in.family == 1) {
      if (firstNearestStep(in.family, f) == 0) return false;
    } else if (!nearestMultiple(f, ref)) {
      return false;
    }
  }

  const int P = prescalerFor(in.family, f);
  const int64_t synth = f + (in.rxRow ? in.ifHz : 0);

  std::string step = in.step;
  if (ref == 0) {
    // The largest step that the synthesizer frequency sits on and that keeps
    // N = f / S at or above P × P.
    auto pick = [&](int64_t hz) -> int64_t {
      const auto& list = stepList(in.family);
      for (auto s = list.rbegin(); s != list.rend(); ++s)
        if (onRaster(hz, *s) && hz * 1000 >= static_cast<int64_t>(P) * P * *s) return *s;
      return 0;
    };
    int64_t s = pick(synth);
    if (s == 0) s = pick(synth + 50);
    if (s == 0) return false;
    step = stepText(s);
  }
  if (synth <= 0) return false;
  int64_t synthesized = synth;
  if (channelHz) {
    // A frequency that stepped to zero or below, or across the prescaler
    // threshold, is not a channel of this row any more.
    if (*channelHz <= 0 || prescalerFor(in.family, *channelHz) != P) return false;
    synthesized = *channelHz + (in.rxRow ? in.ifHz : 0);
    if (synthesized <= 0) return false;
  }

  PllCounters counters;
  if (!blnCheckPllCounters(synthesized, P, step, &counters)) return false;
  out.frequency = frequency;
  out.step = step;
  out.prescaler = std::to_string(P);
  out.counters = counters;
  return true;
}

double dblModData(double dividend, double divisor) {
  if (!(divisor > 0) || !(dividend >= divisor)) return dividend;
  return std::fmod(dividend, divisor);
}

#include "channel/autoset.h"

#include <algorithm>
#include <cmath>

#include "channel/cellrules.h"
#include "channel/freqcheck.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"

namespace autoset {

namespace {

constexpr int kGridColumn[kCells] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 8};

// The order in which a channel row's cells are written (the frequency third,
// PM/FM last), as the editor expects them.
constexpr int kFillOrder[kCells] = {kPres, kRef, kFreq, kWN, kMode, kScan, kTxPower, kCTCSS, kDCS, kINV, kSH, kSR, kPMFM};

constexpr int kVisibleRows = 16;

Refusal refuse(int message, int message2, SoundKind kind, Field focus) { return {message, message2, kind, focus}; }

// The check with the row's step kept (`newStep` false) or chosen anew.
bool check(Template& t, int row, bool newStep, std::optional<int64_t> channelHz) {
  FrequencyInput in;
  in.family = t.family;
  in.rxRow = row == 0;
  in.frequency = t.text(row, kFreq);
  in.step = newStep ? std::string() : t.text(row, kRef);
  in.ifHz = t.ifHz;
  FrequencyEntry out;
  if (!blnCheckFrequency(in, out, channelHz)) return false;
  t.text(row, kFreq) = out.frequency;
  t.text(row, kRef) = out.step;
  t.text(row, kPres) = out.prescaler;
  return true;
}

// Whole channel number of a range field, saturated far outside any range.
int channelNumber(const std::string& text) {
  const double v = vb::Val(text);
  if (!(v > -1e6 && v < 1e6)) return v > 0 ? 1'000'000 : -1'000'000;
  return static_cast<int>(std::trunc(v));
}

}  // namespace

int gridColumn(int cell) { return kGridColumn[cell]; }

std::string Refusal::text() const {
  if (!message) return std::string();
  return message2 ? msgText(message, message2) : LoadResString(message);
}

bool blnChkFrequency(Template& t, int row, std::optional<int64_t> channelHz) {
  const bool newStep = !channelHz && !t.freqOnFocus.empty();
  return check(t, row, newStep, channelHz);
}

FieldCheck checkStep(int family, const std::string& text) {
  FieldCheck c;
  if (text.empty()) {
    c.empty = true;
    return c;
  }
  c.text = text;
  if (!std::all_of(text.begin(), text.end(), cellrules::numberCharacter)) {
    c.refusal = refuse(10032, 10033, SoundKind::Information, Field::Value);
    return c;
  }
  // Whatever the way out of the field, a text with two points is refused
  // rather than used as the number before its second point.
  if (cellrules::twoPoints(text)) {
    c.refusal = refuse(10032, 10070, SoundKind::Information, Field::Value);
    return c;
  }
  const int64_t hz = freq::micros(text);
  if (hz >= 1'000'000'000) {
    c.refusal = refuse(10032, 0, SoundKind::Attention, Field::Value);
    return c;
  }
  bool multiple = false;
  for (int64_t s : freq::stepList(family)) multiple = multiple || (hz * 1000) % s == 0;
  if (!multiple) {
    c.refusal = refuse(10031, 0, SoundKind::Attention, Field::Value);
    return c;
  }
  c.text = freq::mhzText(hz * 1000);
  return c;
}

namespace {

// A channel number 1..channels; accepted, the field shows the channel used.
FieldCheck channelField(int channels, const std::string& text, Field focus) {
  FieldCheck c;
  c.empty = text.empty();
  c.text = text;
  if (c.empty) return c;
  const double n = vb::Val(text);
  if (n < 1 || n > channels) c.refusal = refuse(10043, 0, SoundKind::Attention, focus);
  else c.text = std::to_string(channelNumber(text));
  return c;
}

}  // namespace

FieldCheck checkStart(int channels, const std::string& text) { return channelField(channels, text, Field::StartNo); }

FieldCheck checkEnd(int channels, const std::string& start, const std::string& end) {
  FieldCheck c = channelField(channels, end, Field::EndNo);
  if (c.accepted() && vb::Val(start) > vb::Val(end)) {
    c.refusal = refuse(10065, 0, SoundKind::Attention, Field::EndNo);
    c.text = end;
  }
  return c;
}

Refusal blnChannelSet(Template& t, const RangeFields& fields, FillTarget& target) {
  std::array<int64_t, 2> hz{freq::micros(t.text(0, kFreq)), freq::micros(t.text(1, kFreq))};
  // A row takes part when its template has a frequency; one is enough.
  const std::array<bool, 2> active{hz[0] > 0, hz[1] > 0};
  if (!active[0] && !active[1]) return refuse(10061, 0, SoundKind::Attention, Field::TemplateFrequency0);
  if (fields.value.empty()) return refuse(10066, 0, SoundKind::Attention, Field::Value);
  const FieldCheck step = checkStep(t.family, fields.value);
  if (step.refusal) return step.refusal;
  if (fields.startNo.empty() || fields.endNo.empty())
    return refuse(10067, 0, SoundKind::Attention, Field::StartNo);

  // The range is tested here as well as in its fields: a start changed after
  // the end was accepted, or a text that never passed its field, must not
  // fill nothing and report success, nor page the editor past its grid.
  const int n = (fields.lastGridRow + 1) / 2;
  const int s = channelNumber(fields.startNo);
  const int e = channelNumber(fields.endNo);
  if (s < 1 || s > n) return refuse(10043, 0, SoundKind::Attention, Field::StartNo);
  if (e < 1 || e > n) return refuse(10043, 0, SoundKind::Attention, Field::EndNo);
  if (s > e) return refuse(10065, 0, SoundKind::Attention, Field::EndNo);

  const int64_t stepHz = (fields.signIndex == 1 ? -1 : 1) * freq::micros(step.text);
  const Refusal failed = refuse(10068, 10069, SoundKind::Attention, Field::TemplateFrequency0);

  // Dry run: every frequency the fill will write. The first channel is the
  // template's own text, which its check may raise by 50 Hz onto a 6.25 kHz
  // raster; the range then steps from the corrected frequency.
  for (int r = 0; r < 2; ++r) {
    if (!active[static_cast<size_t>(r)]) continue;
    if (!check(t, r, false, std::nullopt)) return failed;
    int64_t f = freq::micros(t.text(r, kFreq));
    hz[static_cast<size_t>(r)] = f;
    for (int c = s + 1; c <= e; ++c) {
      f += stepHz;
      if (!check(t, r, false, f)) return failed;
    }
  }

  // Positioning: the first channel at the top, or within the last page.
  const int last = fields.lastGridRow;
  int v = s > n - 8 ? last - (kVisibleRows - 1) : 2 * (s - 1);
  int k = s > n - 8 ? 2 * (s - (n - 7)) : 0;
  target.setScrollValue(v);

  for (int c = s; c <= e; ++c) {
    for (int r = 0; r < 2; ++r, ++k) {
      if (!active[static_cast<size_t>(r)]) continue;
      auto& f = hz[static_cast<size_t>(r)];
      for (int cell : kFillOrder)
        target.setCell(cell, k, cell == kFreq ? freq::mhzText(f * 1000) : t.text(r, cell));
      f += stepHz;
      const int gridRow = target.scrollValue() + k;
      target.setGridText(gridRow, gridColumn(kCTCSS), t.text(r, kCTCSS));
      target.setGridText(gridRow, gridColumn(kDCS), t.text(r, kDCS));
    }
    if (k > kVisibleRows - 2 && c < e) {
      // One channel down: the next one goes into the last two visible rows.
      k = kVisibleRows - 2;
      v += 2;
      target.setScrollValue(v);
    }
  }
  // The editor ends at its first page, having reloaded its rows at least once
  // after the last write.
  if (target.scrollValue() == 0) target.setScrollValue(1);
  target.setScrollValue(0);
  return {};
}

}  // namespace autoset

#include "channel/chanpara.h"

#include <algorithm>
#include <cstdio>

#include "channel/freqcheck.h"
#include "channel/tonetables.h"
#include "core/chanrows.h"
#include "core/modeltables.h"
#include "core/modpublic.h"

namespace {

using Image = std::vector<uint8_t>;
using Row = std::array<std::string, kChanParaColumns>;

// Grid columns.
enum Col { kPres, kStep, kFreq, kWN, kMode, kScan, kTxPower, kCtc, kPMFM, kDcs, kInv, kSH, kSR };

const char* const kSteps[] = {"2.50", "5.00", "6.25", "10.00", "12.50"};  // codes of families "0" and "2"
const char* const kStepsF1[] = {"5.00", "6.25", "10.00", "12.50"};        // family "1", no 2.5 kHz
const char* const kWidths[] = {"WID", "NRW", "4KH", ""};
const char* const kModes[] = {"Simp", "Semi", "Dupl", "Repe"};

// text == word without a strlen and library compare per cell: the encoder
// and decoder test a dozen cells on every one of up to 510 rows.
bool is(const std::string& text, const char* word) {
  size_t i = 0;
  for (; i < text.size(); ++i)
    if (word[i] != text[i]) return false;  // also stops at the word's end
  return word[i] == '\0';
}

std::string stepOfCode(int family, int code) {
  if (family == 1) return kStepsF1[code & 3];
  return kSteps[std::min(code, 4)];
}

int codeOfStep(int family, const std::string& text) {
  if (family == 1) {
    for (int i = 1; i < 4; ++i)
      if (is(text, kStepsF1[i])) return i;
    return 0;
  }
  for (int i = 0; i < 5; ++i)
    if (is(text, kSteps[i])) return i;
  return 0;
}

int codeOf(const std::string& text, const char* const* words, int count) {
  for (int i = 1; i < count; ++i)
    if (is(text, words[i])) return i;
  return 0;
}

// Per-channel areas. k is the channel index (channel - 1).
struct Bit {
  size_t at;
  uint8_t mask;
};
struct Pair {
  size_t at;
  int shift;
};

Bit oneBit(int start, int k) { return {static_cast<size_t>(start + k / 8), static_cast<uint8_t>(1u << (k % 8))}; }
// Family "1" SR flags: channels 1..100 at 982 (RX) / 996 (TX), 101..200 at 1824 / 1838.
Bit srBit(int k, bool rx) { return k < 100 ? oneBit(rx ? 982 : 996, k) : oneBit(rx ? 1824 : 1838, k - 100); }
Bit shBit(int k) { return oneBit(1856, k); }                       // family "1", RX rows
Bit pmfmBit(int k, bool rx) { return oneBit(rx ? 1984 : 2000, k); }  // family "2"
Pair modePair(int k) { return {static_cast<size_t>(1920 + k / 4), 2 * (k % 4)}; }  // family "2", RX rows
Pair wnPair(int k) { return {static_cast<size_t>(1952 + k / 4), 2 * (k % 4)}; }    // family "2", RX rows
size_t stepByte(int k) { return static_cast<size_t>(2048 + k); }                   // family "2"
// Family "2" band position bytes go by row parity.
size_t bandByte(int row) { return static_cast<size_t>((row % 2 == 0 ? 2416 : 1816) + row / 2); }

bool bitSet(const Image& img, Bit b) { return (img[b.at] & b.mask) != 0; }
int pairOf(const Image& img, Pair p) { return (img[p.at] >> p.shift) & 3; }
int reverse11(int b) { return (bytReverseBits(static_cast<uint8_t>(b & 0xFF)) << 3) | (bytReverseBits(static_cast<uint8_t>((b >> 8) & 7)) >> 5); }

bool ready(const ChannelData& d) {
  const ModPublic& m = modPublic;
  const auto rows = static_cast<size_t>(d.intMaxRow) + 1;
  return m.family() >= 0 && d.intMaxRow >= 0 && m.bytRadioData.size() >= static_cast<size_t>(kImageSize) &&
         m.chanParaRows.size() >= rows && m.strChanParaTxRx.size() >= rows && d.udtPllData.size() >= rows &&
         d.keptTone.size() >= rows;
}

}  // namespace

uint8_t bytReverseBits(uint8_t b) {
  static const auto table = [] {
    std::array<uint8_t, 256> t{};
    for (int v = 0; v < 256; ++v)
      for (int i = 0; i < 8; ++i)
        if (v & (1 << i)) t[static_cast<size_t>(v)] = static_cast<uint8_t>(t[static_cast<size_t>(v)] | (0x80u >> i));
    return t;
  }();
  return table[b];
}

int chanRowOffset(int family, const Image& image, int row) {
  if (family == 0) return chanrows::kF0RecordBase + (row % 2 == 0 ? 12 * row : 12 * (row - 1) + 8);
  return chanrows::rowOffset(family, image, row);
}

int bandPositionCode(int family, int64_t hz) {
  const typModelData* model = family == 0 ? modelRow0(modelCode()) : family == 2 ? modelRow2(modelCode()) : nullptr;
  if (!model) return 0;
  // (top - 10 f[MHz]) / step in 0.1 MHz units, scaled by 100,000 so that it
  // stays in whole numbers: every step of the tables is a 32nd of 0.1 MHz.
  const int64_t step = static_cast<int64_t>(model->dblTuneStep * 100000.0 + 0.5);
  if (step <= 0) return 0;
  const int64_t q = (static_cast<int64_t>(model->intBandTop) * 100000 - hz) / step;
  return static_cast<int>(std::clamp<int64_t>(31 - q, 0, 31));
}

bool channelModelIf(float& sngIF) {
  std::string name, band;
  return currentModel(sngIF, name, band);
}

bool blnChanIniSet(ChannelData& d, float sngIF, std::string* failedFile) {
  ModPublic& m = modPublic;
  const int family = m.family();
  if (family < 0) return false;
  d.sngIF = sngIF;
  d.dblIFOffset = freq::ifHz(sngIF);
  d.intMaxRow = chanrows::lastGridRow(family, m.bytRadioData);
  std::string failed;
  if (!tones::load(family, d.strCtcTable, d.strDcsTable, failed)) {
    if (failedFile) *failedFile = failed;
    return false;
  }
  if (m.chanParaLastRow() != d.intMaxRow) m.dimChanPara(d.intMaxRow);
  for (int r = 0; r <= d.intMaxRow; ++r) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", r / 2 + 1);
    m.strChanParaNo[static_cast<size_t>(r)] = r % 2 == 0 ? number : "";
    m.strChanParaTxRx[static_cast<size_t>(r)] = r % 2 == 0 ? "RX" : "TX";
  }
  const auto rows = static_cast<size_t>(d.intMaxRow) + 1;
  d.udtPllData.assign(rows, {});
  d.keptTone.assign(rows, {});
  d.asRead.clear();
  return true;
}

void forgetKeptTone(ChannelData& d, int row) {
  if (row >= 0 && static_cast<size_t>(row) < d.keptTone.size()) d.keptTone[static_cast<size_t>(row)] = {};
}

std::string strFormatFrequency(const ChannelData& d, int row, int rx) {
  const Row& cells = modPublic.chanParaRows.at(static_cast<size_t>(row));
  if (d.sngIF == 0 || cells[kStep].empty() || cells[kPres].empty()) return "";
  const int P = freq::whole(cells[kPres]);
  const int64_t step = freq::micros(cells[kStep]);
  if (P <= 0 || step <= 0 || step > 1'000'000'000'000) return "";
  const typPllData& pll = d.udtPllData.at(static_cast<size_t>(row));
  const int64_t n = static_cast<int64_t>(pll.intPllB) * P + pll.bytPllA;
  return freq::mhzText(n * step - rx * d.dblIFOffset * 1000);
}

bool blnSetPllData(ChannelData& d, int row, int64_t hz) {
  const ModPublic& m = modPublic;
  typPllData& pll = d.udtPllData.at(static_cast<size_t>(row));
  pll = {};
  if (is(m.strChanParaTxRx.at(static_cast<size_t>(row)), "RX")) hz += d.dblIFOffset;
  const Row& cells = m.chanParaRows.at(static_cast<size_t>(row));
  freq::PllCounters c;
  if (!freq::pllCounters(hz, freq::micros(cells[kStep]), freq::whole(cells[kPres]), c)) return false;
  pll.intPllB = static_cast<int16_t>(reverse11(c.B));
  pll.bytPllA = static_cast<uint8_t>(bytReverseBits(static_cast<uint8_t>(c.A)) >> 1);
  return true;
}

bool blnGetChanPara(ChannelData& d) {
  if (!ready(d)) return false;
  ModPublic& m = modPublic;
  const int family = m.family();
  const Image& img = m.bytRadioData;
  for (int r = 0; r <= d.intMaxRow; ++r) {
    const auto ur = static_cast<size_t>(r);
    Row& cells = m.chanParaRows[ur];
    cells.fill("");
    d.udtPllData[ur] = {};
    d.keptTone[ur] = {};
    const size_t o = static_cast<size_t>(chanRowOffset(family, img, r));
    const uint8_t* b = &img[o];
    if (!chanrows::rowUsed(family, b)) continue;
    const bool rx = is(m.strChanParaTxRx[ur], "RX");
    const int k = r / 2;

    const bool presBit = (b[0] & 1) != 0;
    cells[kPres] = family == 1 ? (presBit ? "32" : "64") : (presBit ? "64" : "128");
    if (family == 0) cells[kStep] = stepOfCode(0, b[4] & 7);
    else if (family == 1) cells[kStep] = stepOfCode(1, (b[0] >> 1) & 3);
    else cells[kStep] = stepOfCode(2, rx ? img[stepByte(k)] & 0x0F : img[stepByte(k)] >> 4);

    int B;
    if (family == 0) B = (bytReverseBits(b[0]) & 7) * 256 + bytReverseBits(b[1]);
    else B = (bytReverseBits(b[0]) & 31) * 64 + (bytReverseBits(b[1]) & 252) / 4;
    const int A = (bytReverseBits(b[2]) & 254) / 2;
    d.udtPllData[ur] = {static_cast<int16_t>(B), static_cast<uint8_t>(A)};
    cells[kFreq] = strFormatFrequency(d, r, rx ? 1 : 0);

    bool scanOrPower;
    if (family == 0) {
      cells[kWN] = kWidths[(b[4] >> 3) & 3];
      scanOrPower = (b[4] & 0x20) != 0;
    } else {
      if (family == 1) cells[kWN] = (b[1] & 0x80) ? "NRW" : "WID";
      else if (rx) {
        cells[kWN] = kWidths[pairOf(img, wnPair(k))];
        cells[kMode] = kModes[pairOf(img, modePair(k))];
      }
      scanOrPower = (b[1] & 0x40) != 0;
    }
    if (rx) cells[kScan] = scanOrPower ? "ON" : "OFF";
    else cells[kTxPower] = scanOrPower ? "LO" : "HI";

    const bool dcs = family == 0 ? (b[0] & 4) != 0 : (b[2] & 0x80) != 0;
    const size_t index = b[3] & 127;
    const std::vector<std::string>& table = dcs ? d.strDcsTable : d.strCtcTable;
    const std::string tone = index < table.size() ? table[index] : "";
    cells[dcs ? kDcs : kCtc] = tone;
    cells[kInv] = (b[3] & 0x80) ? "1" : "";
    if (tone.empty() && (dcs || b[3] != 0)) d.keptTone[ur] = {true, dcs, b[3], cells[kCtc], cells[kDcs], cells[kInv]};

    if (rx) {
      if (family == 1) cells[kSH] = bitSet(img, shBit(k)) ? "1" : "";
      else if (family == 0) cells[kSH] = (b[4] & 0x80) ? "1" : "";
    }
    bool sr;
    if (family == 1) sr = bitSet(img, srBit(k, rx));
    else if (family == 2) sr = (b[1] & 0x80) != 0;
    else sr = (b[4] & 0x40) != 0;
    cells[kSR] = sr ? "1" : "";
    if (family == 0) cells[kPMFM] = (b[0] & 2) ? "FM" : "PM";
    else if (family == 2) cells[kPMFM] = bitSet(img, pmfmBit(k, rx)) ? "FM" : "PM";
  }
  d.asRead.assign(m.chanParaRows.begin(), m.chanParaRows.begin() + d.intMaxRow + 1);
  return true;
}

bool blnPutChanPara(ChannelData& d, std::vector<int>* unencoded) {
  if (!ready(d)) return false;
  ModPublic& m = modPublic;
  const int family = m.family();
  Image& img = m.bytRadioData;

  // Each row writes its record and its own bits of the per-channel maps;
  // a bit no written row owns keeps its value.
  auto clearBit = [&img](Bit b) { img[b.at] = static_cast<uint8_t>(img[b.at] & ~b.mask); };
  auto clearPair = [&img](Pair p) { img[p.at] = static_cast<uint8_t>(img[p.at] & ~(3u << p.shift)); };
  auto clearOwnBits = [&](int k, bool rx) {
    if (family == 1) {
      clearBit(srBit(k, rx));
      if (rx) clearBit(shBit(k));
    } else if (family == 2) {
      clearBit(pmfmBit(k, rx));
      if (rx) {
        clearPair(wnPair(k));
        clearPair(modePair(k));
      }
    }
  };

  bool all = true;
  for (int r = 0; r <= d.intMaxRow; ++r) {
    const auto ur = static_cast<size_t>(r);
    const Row& cells = m.chanParaRows[ur];
    // Texts as read: the row's bytes are the radio's own, left as they are.
    const bool read = ur < d.asRead.size();
    if (read && d.asRead[ur] == cells) continue;
    const bool rx = is(m.strChanParaTxRx[ur], "RX");
    const int k = r / 2;
    const size_t o = static_cast<size_t>(chanRowOffset(family, img, r));
    uint8_t* b = &img[o];
    const size_t length = family == 0 ? 8 : 4;

    const int64_t hz = freq::micros(cells[kFreq]);
    if (hz == 0) {
      static const uint8_t empty1[] = {0xFF, 0x3F, 0x7F, 0x00};
      static const uint8_t empty2[] = {0xF9, 0x3F, 0x7F, 0x00};
      if (family == 0) std::fill(b, b + 8, 0);
      else std::copy_n(family == 1 ? empty1 : empty2, 4, b);
      if (family == 2) img[bandByte(r)] = 0;
      clearOwnBits(k, rx);
      d.udtPllData[ur] = {};
      d.keptTone[ur] = {};  // the old channel is gone, its hidden tone with it
      if (read) d.asRead[ur] = cells;
      continue;
    }

    // A row edited elsewhere than in its frequency, step and prescaler keeps
    // the counters it was read with: they are that frequency, also where the
    // radio holds them with a prescaler the check would not choose.
    const bool sameChannel = read && d.asRead[ur][kFreq] == cells[kFreq] && d.asRead[ur][kStep] == cells[kStep] &&
                             d.asRead[ur][kPres] == cells[kPres];
    const uint8_t counterMask0 = family == 0 ? 0xE1 : 0xF9;  // prescaler bit and the top of B
    const uint8_t counterMask1 = family == 0 ? 0xFF : 0x3F;
    const uint8_t counters[3] = {static_cast<uint8_t>(b[0] & counterMask0), static_cast<uint8_t>(b[1] & counterMask1),
                                 static_cast<uint8_t>(b[2] & 0x7F)};

    // Counters first: a row they cannot be computed for keeps what it had.
    bool ok = sameChannel || blnSetPllData(d, r, hz);
    if (!ok && is(cells[kStep], "6.25")) ok = blnSetPllData(d, r, hz + 50);
    m.blnResult = ok;
    if (!ok) {
      all = false;
      if (unencoded && (unencoded->empty() || unencoded->back() != k + 1)) unencoded->push_back(k + 1);
      continue;
    }
    // The image holds these texts now.
    if (read) d.asRead[ur] = cells;
    clearOwnBits(k, rx);

    std::fill(b, b + length, 0);
    if (!sameChannel && is(cells[kPres], family == 1 ? "32" : "64")) b[0] |= 1;
    const int stepCode = codeOfStep(family, cells[kStep]);
    if (family == 1) b[0] = static_cast<uint8_t>(b[0] | stepCode << 1);
    else if (family == 0) b[4] = static_cast<uint8_t>(stepCode);
    else {
      uint8_t& s = img[stepByte(k)];
      s = rx ? static_cast<uint8_t>((s & 0xF0) | stepCode) : static_cast<uint8_t>((s & 0x0F) | stepCode << 4);
    }

    if (sameChannel) {
      b[0] = static_cast<uint8_t>(b[0] | counters[0]);
      b[1] = counters[1];
      b[2] = counters[2];
    } else {
      const int pb = d.udtPllData[ur].intPllB;
      if (family == 0) {
        b[0] = static_cast<uint8_t>(b[0] | (pb & 7) << 5);
        b[1] = static_cast<uint8_t>((pb >> 3) & 0xFF);
      } else {
        b[0] = static_cast<uint8_t>(b[0] | (pb & 31) << 3);
        b[1] = static_cast<uint8_t>((pb >> 5) & 63);
      }
      b[2] = static_cast<uint8_t>(d.udtPllData[ur].bytPllA & 127);
    }

    if (family == 0 && r % 2 == 1) b[5] = static_cast<uint8_t>(bandPositionCode(0, hz));
    if (family == 2) img[bandByte(r)] = static_cast<uint8_t>(bandPositionCode(2, hz));

    const int wn = codeOf(cells[kWN], kWidths, 3);
    if (family == 0) b[4] = static_cast<uint8_t>(b[4] | wn << 3);
    else if (family == 1 && is(cells[kWN], "NRW")) b[1] |= 0x80;
    else if (family == 2 && rx) {
      const Pair w = wnPair(k), md = modePair(k);
      img[w.at] = static_cast<uint8_t>(img[w.at] | wn << w.shift);
      img[md.at] = static_cast<uint8_t>(img[md.at] | codeOf(cells[kMode], kModes, 4) << md.shift);
    }

    if ((rx && is(cells[kScan], "ON")) || (!rx && is(cells[kTxPower], "LO"))) {
      if (family == 0) b[4] |= 0x20;
      else b[1] |= 0x40;
    }

    const ChannelData::KeptTone& kept = d.keptTone[ur];
    bool dcsType = false;
    if (kept.kept && cells[kCtc] == kept.ctc && cells[kDcs] == kept.dcsText && cells[kInv] == kept.inv) {
      dcsType = kept.dcs;
      b[3] = kept.byte3;
    } else {
      // The same elements the DCS cell's lookup accepts, so an accepted code
      // is never stored as "no tone".
      const int dcs = cells[kDcs].empty() ? -1 : tones::dcsLookup(d.strDcsTable, cells[kDcs]);
      if (dcs >= 0) {
        // A row holds one tone: with a DCS code a stray CTCSS text is not added in.
        dcsType = true;
        b[3] = static_cast<uint8_t>(dcs | (is(cells[kInv], "1") ? 0x80 : 0));
      } else if (!cells[kCtc].empty()) {
        const int last = std::min<int>(tones::kCtcLast, static_cast<int>(d.strCtcTable.size()) - 1);
        for (int i = 1; i <= last; ++i)
          if (tones::same(d.strCtcTable[static_cast<size_t>(i)], cells[kCtc])) {
            b[3] = static_cast<uint8_t>(i);
            break;
          }
      }
    }
    if (dcsType) {
      if (family == 0) b[0] |= 4;
      else b[2] |= 0x80;
    }

    if (rx && is(cells[kSH], "1")) {
      if (family == 1) img[shBit(k).at] |= shBit(k).mask;
      else if (family == 0) b[4] |= 0x80;
    }
    if (is(cells[kSR], "1")) {
      if (family == 1) img[srBit(k, rx).at] |= srBit(k, rx).mask;
      else if (family == 2) b[1] |= 0x80;
      else b[4] |= 0x40;
    }
    if (is(cells[kPMFM], "FM")) {
      if (family == 0) b[0] |= 2;
      else if (family == 2) img[pmfmBit(k, rx).at] |= pmfmBit(k, rx).mask;
    }
  }
  return all;
}

#include "options/priority.h"

namespace options {

namespace {
using Image = std::vector<uint8_t>;

constexpr bool isChannelField(PriorityField f) { return static_cast<int>(f) <= static_cast<int>(PriorityField::ScanPriorityChHigh); }
constexpr bool isScanPair(PriorityField f) {
  return f == PriorityField::ScanPriorityChLow || f == PriorityField::ScanPriorityChHigh;
}
PriorityField fieldAt(int i) { return static_cast<PriorityField>(i); }

constexpr std::array<const char*, kPriorityFields> kPrintFields = {
    "strPrtPriorityChLow",     "strPrtPriorityChHigh",       "strPrtScanPriorityChLow",
    "strPrtScanPriorityChHigh", "strPrtScanPriorityChChange", "strPrtAutoAllChScan"};
}  // namespace

std::string& PriorityValues::operator[](PriorityField f) {
  return const_cast<std::string&>(static_cast<const PriorityValues&>(*this)[f]);
}

const std::string& PriorityValues::operator[](PriorityField f) const {
  switch (f) {
    case PriorityField::PriorityChannelLow: return strPriorityChannelLow;
    case PriorityField::PriorityChannelHigh: return strPriorityChannelHigh;
    case PriorityField::ScanPriorityChLow: return strScanPriorityChLow;
    case PriorityField::ScanPriorityChHigh: return strScanPriorityChHigh;
    case PriorityField::PriorityChChange: return strPriorityChChange;
    case PriorityField::AutoScan: break;
  }
  return strAutoScan;
}

// The same bytes as the scan page's priority channels and flags.
FieldPlace priorityFieldPlace(int family, PriorityField f) {
  switch (f) {
    case PriorityField::PriorityChannelLow: return scanFieldPlace(family, ScanField::AllScanPchLow);
    case PriorityField::PriorityChannelHigh: return scanFieldPlace(family, ScanField::AllScanPchHigh);
    case PriorityField::ScanPriorityChLow: return scanFieldPlace(family, ScanField::PrgScanPchLow);
    case PriorityField::ScanPriorityChHigh: return scanFieldPlace(family, ScanField::PrgScanPchHigh);
    case PriorityField::PriorityChChange: return scanFieldPlace(family, ScanField::PriorityChannelChange);
    case PriorityField::AutoScan: break;
  }
  return scanFieldPlace(family, ScanField::AutoAllChannelScan);
}

PriorityEnables priorityEnables(int family) {
  PriorityEnables on{};
  for (int i = 0; i < kPriorityFields; ++i) on[static_cast<size_t>(i)] = priorityFieldPlace(family, fieldAt(i)).byte >= 0;
  return on;
}

PriorityDecoded decodePriority(const Image& image, const ChanLayout& layout, const PriorityEnables& on) {
  PriorityDecoded d;
  for (int i = 0; i < kPriorityFields; ++i) {
    const PriorityField f = fieldAt(i);
    const FieldPlace p = priorityFieldPlace(layout.family, f);
    if (!on[static_cast<size_t>(i)] || p.byte < 0) continue;
    if (isChannelField(f)) {
      d.values[f] = decodeChannelByte(image, layout, p.byte, false, d.fixes);
    } else {
      d.values[f] = (image.at(static_cast<size_t>(p.byte)) & p.bits) ? "1" : "0";
    }
  }
  return d;
}

PriorityValues subGetPriorityData(const PriorityEnables& on) {
  Image& image = modPublic.bytRadioData;
  PriorityDecoded d = decodePriority(image, chanLayout(), on);
  for (const ImageFix& fix : d.fixes)
    if (fix.at >= 0 && static_cast<size_t>(fix.at) < image.size()) image[static_cast<size_t>(fix.at)] = fix.value;
  return d.values;
}

void encodePriority(Image& image, const ChanLayout& layout, const PriorityValues& values, const PriorityEnables& on,
                    const PriorityValues& asLoaded) {
  for (int i = 0; i < kPriorityFields; ++i) {
    const PriorityField f = fieldAt(i);
    const FieldPlace p = priorityFieldPlace(layout.family, f);
    if (!on[static_cast<size_t>(i)] || p.byte < 0 || values[f] == asLoaded[f]) continue;
    if (isChannelField(f)) {
      encodeChannelByte(image, layout, p.byte, values[f]);
    } else if (values[f] == "0" || values[f] == "1") {
      uint8_t& b = image.at(static_cast<size_t>(p.byte));
      b = static_cast<uint8_t>(values[f] == "1" ? (b | p.bits) : (b & ~p.bits));
    }
  }
}

void subPutPriorityData(const PriorityValues& values, const PriorityEnables& on, const PriorityValues& asLoaded) {
  encodePriority(modPublic.bytRadioData, chanLayout(), values, on, asLoaded);
}

int priorityChannelMessage(PriorityField box, const std::string& text, const std::string& partner,
                           const ChanLayout& layout, const Image& image) {
  return channelRefMessage(text, partner, isScanPair(box), false, layout, image);
}

PrintTexts priorityPrintTexts(const Image& image, int family) {
  const PriorityEnables on = priorityEnables(family);
  const PriorityValues v = decodePriority(image, chanLayout(family, image), on).values;
  PrintTexts texts;
  for (int i = 0; i < kPriorityFields; ++i) {
    const PriorityField f = fieldAt(i);
    std::string& t = texts[kPrintFields[static_cast<size_t>(i)]];
    if (!on[static_cast<size_t>(i)]) continue;
    if (isChannelField(f)) t = v[f];
    else t = kPriorityListItems[v[f] == "1" ? 1 : 0];
  }
  return texts;
}

}  // namespace options

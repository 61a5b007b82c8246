#pragma once
// The priority-channel settings of the memory image: the priority channel
// pair, the scan priority channel pair (the bytes the scan page calls the
// all-scan and program-scan priority channels) and the two DISABLE/ENABLE
// settings of byte 844. No widgets here.
#include <array>
#include <string>
#include <vector>

#include "options/scan.h"

namespace options {

enum class PriorityField : int {
  PriorityChannelLow,
  PriorityChannelHigh,
  ScanPriorityChLow,
  ScanPriorityChHigh,
  PriorityChChange,
  AutoScan,
};
constexpr int kPriorityFields = 6;

// Which settings the page offers, in PriorityField order. The page has no
// mask row: the four channels always; the two flags only where the family
// keeps byte 844 for them (family "0" keeps a channel record there).
using PriorityEnables = std::array<bool, kPriorityFields>;
PriorityEnables priorityEnables(int family);

struct PriorityValues {
  std::string strPriorityChannelLow;
  std::string strPriorityChannelHigh;
  std::string strScanPriorityChLow;
  std::string strScanPriorityChHigh;
  std::string strPriorityChChange = "0";
  std::string strAutoScan = "0";

  std::string& operator[](PriorityField f);
  const std::string& operator[](PriorityField f) const;
  bool operator==(const PriorityValues&) const = default;
};

inline constexpr std::array<const char*, 2> kPriorityListItems = {"DISABLE", "ENABLE"};

// Where a setting lives (byte -1: nowhere in this family).
FieldPlace priorityFieldPlace(int family, PriorityField f);

struct PriorityDecoded {
  PriorityValues values;
  std::vector<ImageFix> fixes;
};

// The working texts read from `image` without changing it; `fixes` clears
// channel bytes that name a channel without data.
PriorityDecoded decodePriority(const std::vector<uint8_t>& image, const ChanLayout& layout, const PriorityEnables& on);
// Decodes the shared image and applies the fixes.
PriorityValues subGetPriorityData(const PriorityEnables& on);

// Writes the offered settings whose texts differ from `asLoaded`, each by its
// own bits; an invalid text leaves its bits as they are.
void encodePriority(std::vector<uint8_t>& image, const ChanLayout& layout, const PriorityValues& values,
                    const PriorityEnables& on, const PriorityValues& asLoaded);
void subPutPriorityData(const PriorityValues& values, const PriorityEnables& on, const PriorityValues& asLoaded);

// The check of one channel box of the page (`box` one of the four channel
// fields), against its partner: 0 or the id of the refusing message. The scan
// priority pair must also name scanning channels.
int priorityChannelMessage(PriorityField box, const std::string& text, const std::string& partner,
                           const ChanLayout& layout, const std::vector<uint8_t>& image);

// The print texts of the page (strPrtPriorityChLow .. strPrtAutoAllChScan):
// what the page would show for this image. Pure: the image is not changed.
PrintTexts priorityPrintTexts(const std::vector<uint8_t>& image, int family);

}  // namespace options

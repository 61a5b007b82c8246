#pragma once
// The scan settings of the memory image: two pairs of priority channels (all
// channel scan and program scan), the scan time, scan decode quit, the scan
// start delay and priority-channel watch interval, and four on/off settings.
// No widgets here: the scan page hands in which settings it offers and gets
// its working texts back; the priority-channel page shares the channel
// reference rules. The print texts are computed from the image alone.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/modpublic.h"
#include "options/chanlayout.h"

namespace options {

enum class ScanField : int {
  AllScanPchLow,
  AllScanPchHigh,
  PrgScanPchLow,
  PrgScanPchHigh,
  ScanTime,
  ScanDecodeQuit,
  ScanStartDelayTime,
  PchWatchIntTime,
  RemoteScanControl,
  RemoteScanChannel,
  PriorityChannelChange,
  AutoAllChannelScan,
};
constexpr int kScanFields = 12;
inline constexpr int index(ScanField f) { return static_cast<int>(f); }

// Which settings the page offers, in ScanField order.
using ScanEnables = std::array<bool, kScanFields>;

// The page's working texts: a channel as its decimal number or empty for
// none, a list as the index of its item, a delay in seconds as "#0.0".
struct ScanValues {
  std::string strAllScanPchLow;
  std::string strAllScanPchHigh;
  std::string strPrgScanPchLow;
  std::string strPrgScanPchHigh;
  std::string strScanTime = "0";
  std::string strScanDecodeQuit = "0";
  std::string strScanStartDelayTime;
  std::string strPchWatchIntTime;
  std::string strRemoteScanControl = "0";
  std::string strRemoteScanChannel = "0";
  std::string strPriorityChannelChange = "0";
  std::string strAutoAllChannelScan = "0";

  std::string& operator[](ScanField f);
  const std::string& operator[](ScanField f) const;
  bool operator==(const ScanValues&) const = default;
};

// The items of the page's lists, which the print texts name as well.
inline constexpr std::array<const char*, 16> kScanTimeItems = {
    "NON SCAN", "15 ms", "20 ms", "25 ms", "30 ms", "35 ms", "40 ms", "45 ms",
    "50 ms", "55 ms", "60 ms", "65 ms", "100 ms", "150 ms", "200 ms", "250 ms"};
inline constexpr std::array<const char*, 2> kOffOnItems = {"Off", "On"};
inline constexpr std::array<const char*, 2> kRemoteScanChannelItems = {"All Channel", "Prg Channel"};
inline constexpr std::array<const char*, 2> kDisableEnableItems = {"Disable", "Enable"};

// Where a setting lives for a family: its byte and the bits it owns there
// (0xFF for a whole byte). byte -1: the family's layout has no place for it
// (family "0" keeps channel records where the other families keep the four
// on/off settings; family "1" keeps the SR flags of channels 17..24 where
// family "2" keeps the remote-scan channel).
struct FieldPlace {
  int byte = -1;
  uint8_t bits = 0;
};
FieldPlace scanFieldPlace(int family, ScanField f);

// Which settings the page offers: a setting is offered when its character of
// the family's mask row is "1" and the family's layout has a place for it.
ScanEnables scanEnables(int family, const std::string& maskRow);
// The same for the shared model's family (row 0, 1, or 2 for any other family).
ScanEnables scanEnables();
const std::string& scanMaskRow(int family);

// A byte the decoding wants changed in the image: a priority channel that
// names a channel it cannot use, or a family "1" delay of 0.
struct ImageFix {
  int at = 0;
  uint8_t value = 0;
};

struct ScanDecoded {
  ScanValues values;
  std::vector<ImageFix> fixes;
};

// The working texts of the offered settings, read from `image`; nothing is
// changed. A setting not offered keeps its default text.
ScanDecoded decodeScan(const std::vector<uint8_t>& image, const ChanLayout& layout, const ScanEnables& on);

// Decodes the shared image and applies the decoding's fixes to it.
ScanValues subGetScanData(const ScanEnables& on);

// Writes the offered settings whose texts differ from `asLoaded` (what the
// page showed after decoding) into `image`, each by its own bits. A text that
// is no valid value of its setting leaves the setting's bits as they are.
void encodeScan(std::vector<uint8_t>& image, const ChanLayout& layout, const ScanValues& values, const ScanEnables& on,
                const ScanValues& asLoaded);
void subPutScanData(const ScanValues& values, const ScanEnables& on, const ScanValues& asLoaded);

// The print texts of the scan settings (fields strPrtAllScanPchLow ..
// strPrtAutoAllChannelScan): what the page would show for this image, empty
// for a setting the family does not offer. Pure: the image is not changed.
PrintTexts scanPrintTexts(const std::vector<uint8_t>& image, int family, const std::string& maskRow);
// Fills modPublic.udtPrtScan from the shared image; always true.
bool subSetScanIniData();

// ---- Channel references, shared with the priority-channel page ----

// The working text of a stored channel byte: the channel's number, or empty
// when the byte names no channel of the family (the none value, 0, or a
// number beyond the last channel). `fix` is set when the byte names a channel
// that holds no data or, with `needsScan`, does not scan: such a reference
// is cleared to the family's none value.
std::string decodeChannelByte(const std::vector<uint8_t>& image, const ChanLayout& layout, int at, bool needsScan,
                              std::vector<ImageFix>& fixes);
// Stores a channel text: empty as the none value, a channel number of the
// family as itself; anything else keeps the stored byte. 
void encodeChannelByte(std::vector<uint8_t>& image, const ChanLayout& layout, int at, const std::string& text);
// The channel a text names: its decimal number, or -1 when it is not a run
// of decimal digits.
int channelNumber(const std::string& text);

// Message ids of the checks.
constexpr int kMsgRange = 10032;
constexpr int kMsgNoData = 10038;
constexpr int kMsgDecimalPoint = 10039;
constexpr int kMsgBeyondMax = 10043;
constexpr int kMsgSameChannel = 10044;
constexpr int kMsgScanOff = 10045;  // shown with 10046 on a second line
constexpr int kMsgScanOffSecond = 10046;

// The check of one channel box: 0 when `text` may be taken, else the id of
// the message that refuses it. An empty text passes. The same channel as the
// partner box (by number, so "5" and "05" are one channel), a number outside
// 1..last channel, a channel without data and, with `needsScan`, a channel
// whose scan flag is off are refused in that order. `noDataIsScanOff`: the
// family "0" program-scan boxes report a channel without data as not scanning.
int channelRefMessage(const std::string& text, const std::string& partner, bool needsScan, bool noDataIsScanOff,
                      const ChanLayout& layout, const std::vector<uint8_t>& image);

// The check of a delay box: rewrites `text` as "#0.0" when it is a number,
// then 0 when it may be taken, kMsgDecimalPoint for a second decimal point,
// kMsgRange for a value outside 0.1..9.9 seconds or a text that is no number.
int delayTimeMessage(std::string& text);

// The message a check's id stands for, as it is shown.
std::string checkMessageText(int id);

}  // namespace options

#pragma once
// The miscellaneous settings of the memory image (squelch, TTL, beeps, power
// and key functions, starting channel and message, reset times, repeater and
// CTCSS options): where each family keeps them, the texts the page shows, the
// decoder, the write-back and the print texts. No widgets here: the page hands
// in which of its controls are enabled and keeps the values as texts.
#include <array>
#include <string>
#include <vector>

#include "core/modpublic.h"

namespace options {

// The settings by their character in the page's mask row (1..34).
enum MiscItem : int {
  kMisSquelchVer = 1,
  kMisSquelchFix,
  kMisTTLTime,
  kMisKeyONBeep,
  kMisPTTONBeep,
  kMisPTTOFFBeep,
  kMisPOWOFFTime,
  kMisTXInhibit,
  kMisPowerSaveTime,
  kMisCTCSSMute,
  kMisDecodeOutAlways,
  kMisVOXResetTime,
  kMisTXPowerChange,
  kMisPowerOnResume,
  kMisStartingChannel,
  kMisStartingMessage,
  kMisToneSystemChange,
  kMisInformationDisplay,
  kMisCHNameDelay,
  kMisAutoVoiceMute,
  kMisAutoTXResetTime,
  kMisLowBatteryAlarm,
  kMisFKeyAssign,
  kMisF1KeyAssign,
  kMisOptionKeyAssign,
  kMisRepeaterMode,
  kMisVotingTone,
  kMisCTCSSCutoff,
  kMisCTCSSDevWide,
  kMisCTCSSDevNarrow,
  kMisCTCSSDev4k,
  kMisVotingInterval,
  kMisTransmissionTime,
  kMisKeyLock,  // the three key-lock boxes together
};
constexpr int kMiscItems = 34;

// Which settings the page may edit, by mask character.
struct MiscEnables {
  std::array<bool, kMiscItems + 1> on{};  // index 1..34
  bool operator()(int item) const { return item >= 1 && item <= kMiscItems && on[static_cast<size_t>(item)]; }
};

// The page's working values, all texts: a list as its entry index, a flag
// "0"/"1", a typed value as typed. A list value may lie beyond its list when
// the image holds a value without an entry; it then stays as stored.
struct MiscValues {
  std::string strSquelchMode;  // "0" variable, "1" fixed, "" neither chosen
  std::string strSquelchVer = "0";
  std::string strSquelchFix = "0";
  std::string strTTLTime = "0";
  std::string strKeyONBeep = "0";
  std::string strPTTONBeep = "0";
  std::string strPTTOFFBeep = "0";
  std::string strPOWOFFTime = "0";
  std::string strTXInhibit = "0";
  std::string strPowerSaveTime = "0";
  std::string strCTCSSMute = "0";
  std::string strDecodeOutAlways = "0";
  std::string strTXPowerChange = "0";
  std::string strPowerOnResume = "0";
  std::string strStartingChannel;
  std::string strStartingMessage;
  std::string strToneSystemChange = "0";
  std::string strInformationDisplay = "0";
  std::string strCHNameDelay = "0";
  std::string strAutoVoiceMute = "0";
  std::string strAutoTXResetTime;
  std::string strLowBatteryAlarm = "0";
  std::string strKeyLockPTT = "0";
  std::string strKeyLockCall = "0";
  std::string strKeyLockMute = "0";
  std::string strFKeyAssign = "0";
  std::string strF1KeyAssign = "0";
  std::string strOptionKeyAssign = "0";
  std::string strVOXResetTime;
  std::string strRepeaterMode = "0";
  std::string strVotingTone = "0";
  std::string strCTCSSCutoff = "0";
  std::string strCTCSSDevWide = "0";
  std::string strCTCSSDevNarrow = "0";
  std::string strCTCSSDev4k = "0";
  std::string strVotingInterval = "0";
  std::string strTransmissionTime = "1";
  bool operator==(const MiscValues&) const = default;
};

// The family's layout has the setting (a setting it lacks is never decoded,
// written or printed, whatever a mask row says).
bool miscLayoutHas(int family, int item);

// The mask row for this image: family "0" row 0, family "2" row 2, family
// "1" the ZR330 row (byte 1017 = 1) or the ZR320 row (byte 1017 = 2). Empty
// when the model is unknown or the row is missing.
std::string miscMaskRow(int family, const std::vector<uint8_t>& image, const std::array<std::string, 5>& masks);
// The row's characters, limited to what the family's layout has. A row
// shorter than 34 characters (an empty one) enables nothing.
MiscEnables miscEnables(int family, const std::string& maskRow);

// The design-time list of a setting's control ("OFF"/"ON", "1 Hour" ...),
// empty for the typed ones. Family "1" squelch levels end at "7".
const std::vector<std::string>& miscList(int item, int family);

// Length of the family's starting message: 12, 8 or 14.
int miscMessageLength(int family);

// Decodes the settings of the image. Reads only: a starting channel that
// names no channel of the family, or a channel without data, decodes empty.
MiscValues miscDecode(const std::vector<uint8_t>& image, int family, const MiscEnables& enables);

// The loading's clean-up: a starting channel that names a channel of the
// family without data is set to "none" (0 or 255). A stored number that is no
// channel of the family at all is left as it is. True when a byte changed.
bool miscCleanStartingChannel(std::vector<uint8_t>& image, int family);

// Writes the values into the image. A setting is written only when its
// control is enabled, the family's layout has it and its value differs from
// `asLoaded` (what decoding gave), and then only its own bits; a value that
// does not fit its field is not written.
void miscEncode(std::vector<uint8_t>& image, int family, const MiscEnables& enables, const MiscValues& values,
                const MiscValues& asLoaded);

// The "#0.0" form of a time text ("3" -> "3.0", "7.26" -> "7.3"); a text that
// is not a plain number is returned unchanged.
std::string formatTenths(const std::string& text);

// The print texts of the settings, keyed by field name (strPrtSquelchVer ...),
// computed from the image alone. Fields the family does not have are empty.
PrintTexts miscPrintTexts(const std::vector<uint8_t>& image, int family, const MiscEnables& enables);
// The same with the enables of the control data's row for the image's model.
PrintTexts miscPrintTexts(const std::vector<uint8_t>& image, int family);
// The print texts of working values; the image gives only the squelch mode.
PrintTexts miscPrintTexts(const MiscValues& values, const std::vector<uint8_t>& image, int family);

}  // namespace options

#pragma once
// The selective-call encode settings in the memory image: the encode format,
// the 5-tone and DTMF numbers with their timing, ANI, emergency, transfer and
// single-tone settings. Family "0" keeps them in bytes 38..247, families "1"
// and "2" in bytes 810..1015; many of those bytes also hold other pages'
// settings, so the writer changes only the bits of the settings the user
// changed and keeps everything else as it was read.
#include <cstdint>
#include <string>
#include <vector>

#include "core/modpublic.h"

// The encode page's saved values: one text per control, the last value that
// passed the page's check. A list holds its entry index in decimal; an empty
// text is a stored value outside its list (the page shows the first entry,
// and the stored bits stay until the user chooses an entry).
struct EncodeValues {
  // "0" 5-tone, "2" DTMF, "4" 5-tone ANI, "6" DTMF ANI, "7" no encode; empty:
  // a stored format the page does not offer, kept until the user picks one.
  std::string strEncodeFormat;
  // The form the five code texts are in: "F" hex, "C" DTMF keys, "" not set
  // yet (hex texts). The letter is that form's empty digit.
  std::string strCodeForm;
  std::string str5ToneSet;
  std::string strEncodeDigit;
  std::string strEncodeNo;
  std::string strTonePeriod5;     // index in the 5-tone tone-period list
  std::string strTonePeriodDtmf;  // index in the DTMF tone-period list
  std::string strEncodeDelay;
  std::string strFrstToneTime;
  std::string strRepeatToneNo;
  std::string strCallingTime;
  std::string strEncodeFormatList;  // the "Encode Format" list (cboEncodeFormat)
  std::string strApauseTime;
  std::string strREncodeNo;
  std::string strRFirstToneTime;
  std::string strBpauseTime;
  std::string strAniEncodeNo;
  std::string strAniEncodeMode;
  std::string strAniIntervalTime;
  std::string strEmergencyNo;
  std::string strEmergencyMode;
  std::string strEmergencyChannel;
  std::string strEmergencyTime;
  std::string strEmergencyAlarm;
  std::string strCallRepeaterNo;
  std::string strTransferChannel;
  std::string strTranferNo;
  std::string strLcdClearbyPtt;
  std::string strDtmfEncode;
  std::string strAttachDecodeNo;
  std::string strAutoANIencode;
  std::string strEmergencySpeaker;
  std::string strEmergencyKeyTime;
  bool blnSingleTone = false;  // chkSingleTone
  std::string strSingleToneTime;
};

// Row of the single-tone time in warnings (the thirty rows are 0..29).
constexpr int kSingleToneRow = 30;

struct EncodeLoad {
  EncodeValues values;
  bool unknownFormat = false;  // the stored format is none the page offers
  std::vector<int> strays;     // rows whose stored value lies outside their list
};

// Reads the family's encode settings; the image is not changed. A channel of
// 0, above the family's channel count or naming a channel without data reads
// as no channel.
EncodeLoad subGetEncodeData(const std::vector<uint8_t>& image, int family);

// The loading's clean-up: an emergency channel, or the family-"1" transfer
// channel, that names a channel of the family without data becomes "none"
// (0 for family "0", 255 otherwise), so that the radio holds what the page
// shows. A number that is no channel of the family is left as it is. True
// when a byte changed.
bool encodeCleanChannels(std::vector<uint8_t>& image, int family);

// Writes every setting whose saved value differs from `asLoaded` (what the
// reader gave), each into its own bits only. Codes count as changed when
// their digits change, whatever form they are shown in.
void subPutEncodeData(std::vector<uint8_t>& image, int family, const EncodeValues& values,
                      const EncodeValues& asLoaded);

// The page's lists; their texts are also the print texts of the values.
enum class EncList {
  FiveToneSet, EncodeDigit, TonePeriod5, TonePeriodDtmf, EncodeDelay, FirstToneTime, RepeatToneNo,
  CallingTime, EncodeFormat, ApauseTime, RFirstToneTime, BpauseTime, AniEncodeMode, EmergencyMode,
  EmergencyTime, EmergencyAlarm, CallRepeaterNo, LcdClearbyPtt, DtmfEncode, AttachDecodeNo,
  AutoANIencode, EmergencySpeaker, SingleToneTime
};
std::vector<std::string> encodeList(EncList list, int family);
// The stored tone-period codes (tone period in 10 ms) of the list entries.
const std::vector<int>& tonePeriodCodes(bool dtmf);
// The standard tone-period code of each "CPU 5Tone Set" entry.
int fiveToneSetPeriod(int set);

// The code form of a format: "F" for 5-tone, "C" for DTMF, "" otherwise.
std::string codeFormOf(const std::string& format);

// Channels the emergency and transfer settings can name: the family's count.
int encodeChannelLimit(const std::vector<uint8_t>& image, int family);

// The 31 print texts of the encode settings, keyed by their field names
// (strPrt5ToneSet ... strPrtEmergencyKeyTime); a setting the family does not
// have prints empty, as does a stored value outside its list.
PrintTexts encodePrintTexts(const std::vector<uint8_t>& image, int family);

#pragma once
// The selective-call decode settings of the memory image: which received
// calls open the radio's speaker (decode format, decode / answer / fix-display
// / kill numbers, group, reset and display options, auto reset, limited
// decode, ANI and emergency reception) and the radio's kill status.
//
// Family "0" has a layout of its own; families "1" and "2" share one, except
// that the ANI display digit and the emergency receive digit sit in other
// bytes for family "2". No widgets here: the decode page hands in which of its
// controls are enabled and gets texts back.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/modpublic.h"
#include "selcall/digits.h"

using Image = std::vector<uint8_t>;

// The lines of the decode page, in the order of its labels and of its mask
// row: line k is enabled by character k + 1 of the row.
enum DecodeLine : int {
  kDecDecodeNo,
  kDecBeepTime,
  kDecGroupNo,
  kDecGroupMode,
  kDecGroupDigit,
  kDecMonitorOutMode,
  kDecAnswerNo,
  kDecAnswerTime,
  kDecAutoResetTime,
  kDecAutoResetMode,
  kDecResetNo,
  kDecDisplayDigit,
  kDecDisplayNo,
  kDecFixDisplayDigit,
  kDecLimitedDecode,
  kDecAniReceive,
  kDecAniDisplayDigit,
  kDecCallReceive,
  kDecEmgReceiveDigit,
  kDecKillNo,
  kDecKillStatus,  // the label only: the status is read from the image, never written
};
constexpr int kDecodeLines = 21;
constexpr int kDecodeSettings = 20;  // the lines that hold a setting

// Which setting controls are enabled (by line). A setting whose control is
// disabled is never written.
using DecodeEnables = std::array<bool, kDecodeSettings>;

// Decode formats as the page names them (the index of its format option).
inline const std::string kFormat5Tone = "0";
inline const std::string kFormatDtmf = "3";
inline const std::string kFormatAllCall = "4";
inline const std::string kFormatNone = "7";

// The page's working values: one text per control, as the page holds them.
struct DecodeValues {
  // "0" 5-tone, "3" DTMF, "4" All Call DTMF, "7" no decode; empty while a
  // family-"1"/"2" image holds a format outside these four (shown as no
  // decode, and its bits stay as stored until the user picks a format).
  std::string strDecodeFormat;
  // Eight characters each, in the code form `m_strFillChar` names; the fix
  // display digit is always in hex form.
  std::string m_strDecodeNo, m_strAnswerNo, m_strFixDisplayDigit, m_strKillNo;
  // List settings: the decimal text of the list index as stored, also when
  // the stored index lies beyond its list.
  std::string m_strBeepTime = "0", m_strGroupNo5Tone = "0", m_strGroupNoDtmf = "0", m_strGroupMode = "0",
              m_strGroupDigit = "0", m_strMonitorOutMode = "0", m_strAnswerTime = "0", m_strAutoResetMode = "0",
              m_strResetNo = "0", m_strDisplayDigit = "0", m_strDisplayNo = "0", m_strLimitedDecode = "0",
              m_strAniReceive = "0", m_strAniDisplayDigit = "0", m_strCallReceive = "0", m_strEmgReceiveDigit = "0";
  std::string m_strAutoResetTime = "0";  // seconds 0-255
  // The empty digit of the form the four code texts are in: "F" hex form,
  // "C" DTMF form, "" no form yet (the texts are then in hex form).
  std::string m_strFillChar;

  bool operator==(const DecodeValues&) const = default;
};

// Whether the codes of a format are written in DTMF form: family "0" only
// for DTMF, families "1"/"2" for DTMF and All Call DTMF.
bool decodeDtmfForm(int family, const std::string& format);

// Decodes the decode block of `image` into working values.
DecodeValues subGetDecodeData(const Image& image, int family);

// Writes the working values into `image`. A setting is written only when its
// control is enabled and its value differs from `asLoaded` (what decoding
// gave), and then only its own bits; so opening and closing the page without
// an edit changes no byte, and values outside a list survive as stored. The
// format is written whenever it was changed, whatever the enables say.
void subPutDecodeData(Image& image, int family, const DecodeValues& values, const DecodeEnables& enables,
                      const DecodeValues& asLoaded);

// "ON" when the radio has been killed: family "0" bytes 64-65 hold "LK",
// families "1"/"2" hold 0xA in the high nibble of byte 849; else "OFF".
std::string decodeKillStatus(const Image& image, int family);

// The code conversion of a format switch: the eight positions of `text` from
// one form into the other. A missing position is the empty digit, never a
// real one.
std::string decodeConvertCode(const std::string& text, digits::Form from, digits::Form to);

// The mask row that enables the page's lines for a family and format. All
// Call DTMF has no row of its own in the control data: it takes the DTMF
// row. A format outside the four takes the no-decode row.
std::string decodeMaskRow(int family, const std::string& format);
DecodeEnables decodeEnablesFromMask(const std::string& row);

// The lists of the page, by line (the group number and reset number lists
// depend on the code form; the ANI display digit list on the family). Lines
// without a list give an empty one.
std::vector<std::string> decodeListItems(DecodeLine line, int family, bool dtmf);
inline const std::vector<std::string> kOffOn = {"OFF", "ON"};

// What the page reads of the encode settings for its cross-checks.
// The 5-tone "Encode Format" list index (0 "Encode" ... 4 "Encode+ANI").
int encodeFiveToneFormat(const Image& image, int family);
// Limited decode and the fix display digit can be set only with a 5-tone
// encode format other than the first.
bool decodeFiveToneOptionsAllowed(const Image& image, int family);
// The display digit may change in a format: 0 when it may; otherwise the
// first id of the two-part message that refuses it (10041 in the 5-tone
// format, 10059 in the DTMF formats).
int decodeDisplayDigitRefusal(const Image& image, int family, const std::string& format);

// The decode print texts of an image, rendered as the page would show them
// on a fresh load: 21 fields keyed by their names ("strPrtDecodeNo" ...
// "strPrtKillStatus"). Every field is set; a field the family or the format
// does not have, and a stored index beyond its list, give an empty text.
PrintTexts decodePrintTexts(const Image& image, int family);
// The field names of the print texts, in record order.
const std::array<const char*, kDecodeLines>& decodePrintFields();
// Fills modPublic.udtPrtDecode from the shared image; always True.
bool subSetDecodeIniData();

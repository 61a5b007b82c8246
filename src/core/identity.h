#pragma once
// The radio's identity fields in the memory image (model variant, radio type,
// PIN, kill password, serial number, channel-name and scrambler options, TX
// reference, first-IF choices) and the read-only texts of the main menu's
// information panel. No widgets here: the pages hand in which of their
// controls are enabled and get texts back.
#include <array>
#include <string>

// Which identity controls of the configuration page are enabled. A field
// whose control is disabled is neither read from nor written to the image.
struct ConfigEnables {
  bool model = false;         // cboRadioModel
  bool pin = false;           // txtPIN
  bool pinTime = false;       // txtPINTime
  bool killPass = false;      // txtKillPass
  bool killPassTime = false;  // txtKillPassTime
  bool serial = false;        // txtSerialNo
  bool channelName = false;   // LstChannelName
  bool scrambler = false;     // LstDigitalScrambler
};

// Configuration items (control-data characters 1..10) that a family never
// offers, whatever the control data says, because their bytes belong to
// other fields of its layout: family "0"'s kill password (3), channel-name
// (6) and scrambler (7) options and TX reference (8) lie inside its channel
// records; family "2"'s PIN times (2) share their byte with the 30 MHz IF.
bool configItemHeldOff(int family, int item);

// The configuration page's values, all texts as the page holds them.
struct ConfigValues {
  std::string strRadioType = "1";  // "1" ZR330, "2" ZR320; "1" for the other families
  std::string strModelIndex;       // row of the family's model-variant table
  std::string strPIN;
  std::string strPINTime;
  std::string strKillPass;
  std::string strKillPassTime;
  std::string strSerialNo;
  std::string strChannelNameOpt = "0";  // "0" NON, "1" USE
  std::string strScramblerOpt = "0";
  std::string strTXRef = "0";    // "0" 10MHz, "1" 12MHz
  std::string str30MHzIF = "1";  // family "2": "0" 21.6 MHz, "1" 73.35 MHz
  std::string strUHFIF = "0";    // family "2": "0" -48.50MHz, "1" -73.35MHz
};

// Image offsets of the identity fields for the current family.
struct IdentityLayout {
  int model = 0;
  int radioType = 0;
  int pin = 0;       // 3 bytes of digit nibbles
  int pinTime = 0;
  int killPass = 0;  // 2 bytes of digit nibbles
  int killTime = 0;
  int serial = 0;    // 8 ANSI characters
};
IdentityLayout identityLayout();

// Decodes the identity fields of the image into page values. For family "2"
// it also sets the first IF of the model rows that follow bytes 937 and 948.
ConfigValues subGetConfigData(const ConfigEnables& enables);

// Encodes page values into the image. A field is written only when its
// control is enabled and its value differs from `asLoaded` (what the page
// showed after decoding), so leaving the page untouched changes no byte and
// digits, blanks and values outside a list survive as they were.
void subPutConfigData(const ConfigValues& values, const ConfigEnables& enables, const ConfigValues& asLoaded);

// Family "1": moves the channel areas for the channel-name option, the one
// rearrangement used whichever control changes the option. Switching names
// on keeps channels 1..100 (bytes 400..799 move to 1024..1423, the name areas
// become FF); switching off moves them back and empties channels 101..200.
// Sets byte 801 bit 1 and sizes the channel grid (2 x 200 or 2 x 100 rows).
// Does nothing when the bit already matches.
void subSwitchChannelNames(bool namesOn);

// Family "1": whether switching the channel-name option to `namesOn` would
// lose what the image holds now: a used row of channels 101..200 (names on)
// or a name (names off). False when the option already matches the image.
bool channelNameSwitchDropsData(bool namesOn);

// Digits of nibble-coded bytes: low nibble first, the first 0xF ends them.
std::string nibbleDigits(int first, int count);
// Text digits to bytes: up to 2*count digits, missing ones 0xF.
void putNibbleDigits(int first, int count, const std::string& digits);

// The information panel of the main menu.
struct InformationPanel {
  std::array<bool, 12> lineEnabled{};  // index 1..11 = line; 0 unused
  std::string lblRadioName, lblPin, lblKillPass, lblSerialNo, lblChlName, lblDgiScrm, lblEncode, lblDecode,
      lblEncodeName, lblDecodeName, lblSingleTime, lblFirmware;
};
InformationPanel informationPanel();

// Encode format of the image: family "0" byte 42 low nibble, else byte 810 bits 0-2.
int encodeFormat();
// The memory-encode page works with plain 5-tone and DTMF only, and only for
// the families that have a table.
bool memoryEncodeAllowed();
// Families "1" and "2" offer channel names only with byte 801 bit 1 set.
bool channelNameAllowed();
// Sizes the channel grid, names and memory-encode names for the family.
void dimChannelArrays();

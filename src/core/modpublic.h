#pragma once
// The shared model: everything more than one page or helper uses. One object,
// `modPublic`, lives for the whole run; everything runs on the GUI thread.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Image sizes shared by all families: the arrays always reach index 6887.
constexpr int kImageLast = 6887;
constexpr int kImageSize = kImageLast + 1;
constexpr int kChanParaColumns = 13;

// A model-variant row of families "0" and "2".
struct typModelData {
  std::string strModelName;
  std::string strBandName;
  float sngIFOffset = 0;   // first IF in MHz, negative for UHF variants
  int16_t intBandTop = 0;  // upper band edge, 0.1 MHz units
  double dblTuneStep = 0;  // a 32nd of the band's width, 0.1 MHz units
};

// A model-variant row of family "1" (ZR320 and ZR330 share the band rows).
struct typModelData1 {
  std::string strModelName;   // ZR320 (image byte 1017 = 2)
  std::string strModelName2;  // ZR330 (image byte 1017 = 1)
  std::string strBandName;
  float sngIFOffset = 0;
};

// Display texts of current values, filled by the settings pages for printing;
// keyed by the field name the page gives them.
using PrintTexts = std::map<std::string, std::string>;

struct ModPublic {
  // Family and image.
  std::string strRadioFamily;            // "0", "1" or "2"
  std::vector<uint8_t> bytRadioData;     // 0..6887 once the family is set up
  std::vector<uint8_t> bytRadioBase;     // baseline copy, same size
  std::vector<uint8_t> bytRadioInfo;     // 0..11, identification text of a family-"0" read
  int32_t lngDataLast = 0;               // 6887, 2047 or 2559
  std::string strInitialFile;
  std::vector<typModelData> udtModelTable0;
  std::vector<typModelData1> udtModelTable1;
  std::vector<typModelData> udtModelTable2;

  // Link flags about the baseline.
  bool blnRadioWritten = false;
  bool blnRadioRead = false;

  // Start-up and command-line state.
  int16_t intCmdRadio = -1;
  bool blnNoCmdRadio = true;
  int16_t intCmdCommPort = -1;
  std::string strCmdFileName;
  int16_t intDebugLog = 0;
  std::string strHelpFile = "evelmora.hlp";
  int16_t intWaitFactor = 0;
  int16_t intMainMenuIndex = 99;
  int16_t intCommPort = 0;
  int16_t intTopRow = 0;
  std::string strLabelColor;

  // Sound settings.
  int16_t intSoundOn = 0;
  std::string strSoundOnOff;
  std::string strSoundPath;
  std::string strSoundInquiry;
  std::string strSoundAttention;
  std::string strSoundInformation;
  std::string strSoundWarning;

  // Results of the last call.
  bool blnResult = false;
  int16_t intMsgBoxResult = 0;

  // Mask tables of the control-data file: texts of 40 "1"/"0".
  std::array<std::string, 3> strStrMask;
  std::array<std::string, 3> strCfgMask;
  std::array<std::string, 3> strManMask;
  std::array<std::string, 5> strMiscMask;  // 0 ZR310, 1 working copy, 2 ZR340/350, 3 ZR320, 4 ZR330
  std::array<std::array<std::string, 8>, 3> strEncMask;
  std::array<std::array<std::string, 8>, 3> strDecMask;
  std::array<std::string, 3> strScnMask;

  // Channel grid: one text per grid row (two per channel, RX then TX) and column 0..12.
  std::vector<std::array<std::string, kChanParaColumns>> chanParaRows;
  std::vector<std::string> strChanParaNo;
  std::vector<std::string> strChanParaTxRx;
  std::vector<std::string> strChannelName;
  std::vector<std::string> strMemoryEncodeName;

  // Print texts.
  PrintTexts udtPrtEncode;
  PrintTexts udtPrtDecode;
  PrintTexts udtPrtMisc;
  PrintTexts udtPrtScan;
  std::string strPrintTitle;

  // The one way into the channel grid: (grid row, column).
  std::string& strChanPara(int row, int col) { return chanParaRows.at(row).at(col); }
  const std::string& strChanPara(int row, int col) const { return chanParaRows.at(row).at(col); }
  int chanParaLastRow() const { return static_cast<int>(chanParaRows.size()) - 1; }
  // Sizes the grid and its row labels to rows 0..lastRow, every text empty.
  void dimChanPara(int lastRow);

  // Family number 0..2, or -1 when no family is set.
  int family() const;
  // Sizes image, baseline and radio info (zeroed) as the start-up does.
  void dimImage();
};

extern ModPublic modPublic;

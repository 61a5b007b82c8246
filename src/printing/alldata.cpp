// The all-data reports of the three families: everything the tool holds for
// a radio, section by section, after the heading.
#include "platform/base/strtable.h"
#include "printing/reports.h"

namespace printing {
namespace {
std::string bracket(const std::string& v) { return "[" + v + "]"; }
// A time in seconds: "[2.5sec]", or "[]" when there is none.
std::string seconds(const std::string& v) { return v.empty() ? "[]" : "[" + v + "sec]"; }
std::string itemNumber(int n) { return rightAligned3(n) + " "; }
std::string scanNumber(int n) { return n < 10 ? " " + std::to_string(n) + " " : std::to_string(n) + " "; }
}  // namespace

void clsPrintReport::scanMenu(const std::vector<std::pair<int, const char*>>& more) {
  blankRuleBlank();
  newLine("< Scan Set Menu >", engine.intLeftCol, engine.intLeftCol);
  std::vector<std::pair<int, std::string>> items = {{700, bracket(scan("strPrtAllScanPchLow"))},
                                                    {701, bracket(scan("strPrtAllScanPchHigh"))},
                                                    {702, bracket(scan("strPrtPrgScanPchLow"))},
                                                    {703, bracket(scan("strPrtPrgScanPchHigh"))},
                                                    {704, bracket(scan("strPrtScanTime"))},
                                                    {705, bracket(scan("strPrtScanDecodeQuit"))},
                                                    {706, seconds(scan("strPrtScanStartDelayTime"))},
                                                    {707, seconds(scan("strPrtPchWatchIntTime"))}};
  for (const auto& [caption, field] : more) items.push_back({caption, bracket(scan(field))});
  int n = 0;
  for (const auto& [caption, value] : items) menuItem(scanNumber(++n), caption, &value, 29);
}

std::string clsPrintReport::keyLockValue() const {
  return "[PTT=" + misc("strPrtKeyLockPtt") + "/ CALL=" + misc("strPrtKeyLockCall") + "/ MUTE=" +
         misc("strPrtKeyLockMute") + "]";
}

void clsPrintReport::channelsAndLists(bool presenceTest, int decodeBlanks) {
  channelTable(presenceTest);
  blankRuleBlank();
  newLine(encodeTypeLine(), engine.intLeftCol, engine.intLeftCol);
  valueLine(decodeTypeLine(), 95, decodeBlanks);
  listsSideBySide();
}

void clsPrintReport::singleToneLine(int blanks) {
  engine.blankLine();
  newLine("Single Tone Encode Time", 12, blanks);
  valueLine(bracket(encode("strPrtSingleToneTime")), 55, 2);
}

void clsPrintP1RA::allDataBody() {
  const std::vector<uint8_t>& img = image();
  const bool text = engine.textFile();
  const int left = engine.intLeftCol;

  std::string s = "SEL No=" + printableText(&img[232], 8);
  if (byte(160) == 255) s += text ? "  PIN =       " : "       PIN =       ";
  else s += (text ? "  PIN = " : "       PIN = ") + nibbleNumber(img, 160, 3);
  if (byte(163) != 0) s += " / " + std::to_string(byte(163));
  s += (text ? "  IF = " : "    IF = ") + ifText();
  newLine(s, left, left);
  blankRuleBlank();

  newLine("< " + LoadResString(321) + "  Menu >", left, left);
  const bool fixedSquelch = (byte(45) & 1) != 0;
  const std::string ver = bracket(misc("strPrtSquelchVer"));
  const std::string fix = bracket(misc("strPrtSquelchFix"));
  const std::string ttl = "[" + misc("strPrtTtlTime") + " Sec]";
  const std::string keyLock = keyLockValue();
  const std::string vox = seconds(misc("strPrtVoxResetTime"));
  struct Item {
    int caption;
    std::string value;
    bool hasValue = true;
  };
  const std::vector<Item> items = {{400, ver, !fixedSquelch},
                                   {401, fix, fixedSquelch},
                                   {402, ttl},
                                   {406, bracket(misc("strPrtPowOffTime"))},
                                   {407, bracket(misc("strPrtTxInhibit"))},
                                   {408, bracket(misc("strPrtPowerSaveTime"))},
                                   {410, bracket(misc("strPrtDecodeOutAlways"))},
                                   {411, vox},
                                   {412, bracket(misc("strPrtTxPowerChange"))},
                                   {413, bracket(misc("strPrtPowerOnResume"))},
                                   {435, keyLock},
                                   {414, bracket(misc("strPrtStartingChannel"))},
                                   {415, bracket(misc("strPrtStartingMessage"))},
                                   {416, bracket(misc("strPrtToneSystemChange"))},
                                   {417, bracket(misc("strPrtInfoDisplay"))},
                                   {419, bracket(misc("strPrtAutoVoiceMute"))},
                                   {422, bracket(misc("strPrtFKeyAssign"))},
                                   {423, bracket(misc("strPrtF1KeyAssign"))},
                                   {424, bracket(misc("strPrtOptionKeyAssign"))}};
  int n = 0;
  for (const Item& item : items) menuItem(itemNumber(++n), item.caption, item.hasValue ? &item.value : nullptr, 25);

  channelsAndLists(true, 24);

  const int format = encodeFormat();
  if (format != 0) {
    singleToneLine(5);
  }
  if (format == 1 || format == 2) {
    blankRuleBlank();
    newLine("< " + LoadResString(324) + " No" + " >", left, left);
    for (int i = 1; i <= 16; ++i) {
      newLine(rightAligned3(i), 12, 3);
      sameLine("[" + memoryDigits(384 + 8 * (i - 1), 8, format == 2), 20, 2);
      sameLine("]", 61, 0);
      const int at = 512 + 8 * (i - 1);
      const std::string name = byte(at) == 0 || byte(at + 1) == 0 ? std::string(8, ' ')
                                                                  : printableText(&img[static_cast<std::size_t>(at)], 8);
      sameLine("[" + name, 66, 2);
      sameLine("]", 90, 0);
    }
  }

  scanMenu({});

  channelNames(64);
}

void clsPrintP2RB::allDataBody() {
  const int left = engine.intLeftCol;
  newLine(summaryLine(), left, left);
  newLine(LoadResString(206) + " = " + ((byte(801) & 4) ? "USE" : "NON"), left, left);
  blankRuleBlank();

  newLine("< " + LoadResString(321) + "  Menu >", left, left);
  const bool fixedSquelch = (byte(801) & 1) != 0;
  const bool zr330 = byte(1017) == 1;
  struct Item {
    int caption;
    std::string value;
    bool hasValue = true;
  };
  std::vector<Item> items = {
      {400, bracket(misc("strPrtSquelchVer")), !fixedSquelch},
      {401, bracket(misc("strPrtSquelchFix")), fixedSquelch},
      {402, "[" + misc("strPrtTtlTime") + " Sec]"},
      {403, bracket(misc("strPrtKeyOnBeep"))},
      {404, bracket(misc("strPrtPttOnBeep"))},
      {405, bracket(misc("strPrtPttOffBeep"))},
      {406, bracket(misc("strPrtPowOffTime"))},
      {407, bracket(misc("strPrtTxInhibit"))}};
  // Only the ZR330 saves power.
  if (zr330) items.push_back({408, bracket(misc("strPrtPowerSaveTime"))});
  const std::vector<Item> rest = {
      {409, bracket(misc("strPrtCtcssMute"))},
      {410, bracket(misc("strPrtDecodeOutAlways"))},
      {412, bracket(misc("strPrtTxPowerChange"))},
      {413, bracket(misc("strPrtPowerOnResume"))},
      {435, keyLockValue()},
      {414, bracket(misc("strPrtStartingChannel"))},
      {415, bracket(misc("strPrtStartingMessage"))},
      {416, bracket(misc("strPrtToneSystemChange"))},
      {417, bracket(misc("strPrtInfoDisplay"))},
      {418, bracket(misc("strPrtChNameDelay"))}};
  items.insert(items.end(), rest.begin(), rest.end());
  int n = 0;
  for (const Item& item : items) menuItem(itemNumber(++n), item.caption, item.hasValue ? &item.value : nullptr, 25);

  // This report lists the table's head even for a radio without channels.
  channelsAndLists(false, 24);

  const int format = encodeFormat();
  if (format < 7) {
    singleToneLine(5);
  }
  if (format == 0 || format == 2) {
    blankRuleBlank();
    newLine("< " + LoadResString(324) + " No" + " >", left, left);
    for (int i = 0; i <= 9; ++i) newLine(rightAligned3(i) + " [" + memoryDigits(854 + 8 * i, 8, format == 2) + "]", 12, 2);
  }

  scanMenu({{804, "strPrtPriorityChannelChange"}, {805, "strPrtAutoAllChannelScan"}});

  if (byte(801) & 2) channelNames(25);
}

void clsPrintP3RC::allDataBody() {
  const std::vector<uint8_t>& img = image();
  const int left = engine.intLeftCol;
  std::string s = "SEL No=" + printableText(&img[2038], 8);
  if (byte(992) == 255) s += "      Kill Password =     ";
  else s += "      Kill Password = " + nibbleNumber(img, 992, 2);
  if (byte(994) != 0) s += " / " + std::to_string(byte(994));
  newLine(s + "   IF = " + ifText(), left, left);
  std::string second = byte(856) == 0 ? "TX Reference = 10MHz" : "TX Reference = 12MHz";
  const uint8_t uhf = byte(948);
  second += uhf == 1 ? "  UHF IF = -73.35MHz" : uhf == 0 || uhf == 255 ? "  UHF IF = -48.50MHz" : "  UHF IF = ";
  newLine(second, left, left);
  blankRuleBlank();

  newLine("< " + LoadResString(321) + "  Menu >", left, left);
  const std::vector<std::pair<int, std::string>> items = {
      {402, "[" + misc("strPrtTtlTime") + " Sec]"},
      {403, bracket(misc("strPrtKeyOnBeep"))},
      {404, bracket(misc("strPrtPttOnBeep"))},
      {405, bracket(misc("strPrtPttOffBeep"))},
      {407, bracket(misc("strPrtTxInhibit"))},
      {410, bracket(misc("strPrtDecodeOutAlways"))},
      {412, bracket(misc("strPrtTxPowerChange"))},
      {413, bracket(misc("strPrtPowerOnResume"))},
      {435, keyLockValue()},
      {414, bracket(misc("strPrtStartingChannel"))},
      {415, bracket(misc("strPrtStartingMessage"))},
      {416, bracket(misc("strPrtToneSystemChange"))},
      {417, bracket(misc("strPrtInfoDisplay"))},
      {419, bracket(misc("strPrtAutoVoiceMute"))},
      {420, seconds(misc("strPrtAutoTxResetTime"))},
      {421, bracket(misc("strPrtLowBatteryAlarm"))},
      {425, bracket(misc("strPrtRepeaterMode"))},
      {426, bracket(misc("strPrtVotingTone"))},
      {427, bracket(misc("strPrtCtcssCutoffTime"))},
      {428, bracket(misc("strPrtCtcssDevWide"))},
      {429, bracket(misc("strPrtCtcssDevNarrow"))},
      {430, bracket(misc("strPrtCtcssDev4k"))},
      {431, bracket(misc("strPrtVotingInterval"))},
      {432, bracket(misc("strPrtTransmissionTime"))}};
  int n = 0;
  for (const auto& [caption, value] : items) menuItem(itemNumber(++n), caption, &value, 30);

  channelsAndLists(true, 20);

  singleToneLine(3);

  scanMenu({{708, "strPrtRemoteScanControl"}, {709, "strPrtRemoteScanChannel"}});

  if (byte(801) & 2) channelNames(25);
}

}  // namespace printing

// The scan and priority-channel fields of the image: decoding with its
// clean-ups, read-modify-write encoding, the checks and the print texts.
#include "options/scan.h"

#include <gtest/gtest.h>

#include <random>

#include "options/priority.h"

using namespace options;

namespace {
using Image = std::vector<uint8_t>;
const std::string kAllOn(40, '1');

// A blank image of the family: every channel empty as its editor writes it.
Image blankImage(int family) {
  Image img(kImageSize, 0);
  if (family == 1) {
    for (int a = 0; a < 800; a += 4) img[a] = 0xFF, img[a + 1] = 0x3F, img[a + 2] = 0x7F;
    for (int a = 1024; a < 1824; a += 4) img[a] = 0xFF, img[a + 1] = 0x3F, img[a + 2] = 0x7F;
  } else if (family == 2) {
    for (int a = 0; a < 792; a += 4) img[a] = 0xF9, img[a + 1] = 0x3F, img[a + 2] = 0x7F;
  }
  return img;
}

// Puts data into a channel, with or without its scan flag.
void program(Image& img, int family, int channel, bool scans) {
  const ChanLayout l = chanLayout(family, img);
  const int at = l.recordAddress(channel);
  ASSERT_GE(at, 0);
  if (family == 0) {
    img[at] = 0x41;
    img[at + 1] = 0x40;
    img[at + 4] = scans ? 0x24 : 0x04;
  } else {
    img[at] = 0x12;
    img[at + 1] = scans ? 0x44 : 0x04;
  }
}

ScanValues decodeOnly(const Image& img, int family, const std::string& mask = kAllOn) {
  return decodeScan(img, chanLayout(family, img), scanEnables(family, mask)).values;
}

void applyFixes(Image& img, const std::vector<ImageFix>& fixes) {
  for (const ImageFix& f : fixes) img[f.at] = f.value;
}
}  // namespace

TEST(ScanFields, EachFamilyOffersOnlyWhatItsLayoutStores) {
  // Family "0" keeps channel records at 844, 954 and 984; family "1" keeps
  // channel 17..24's SR flags at 984. An all-ones mask cannot change that.
  const ScanEnables f0 = scanEnables(0, kAllOn), f1 = scanEnables(1, kAllOn), f2 = scanEnables(2, kAllOn);
  for (int i = 0; i < kScanFields; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(f0[i], i < 8);
    EXPECT_EQ(f1[i], i != index(ScanField::RemoteScanChannel));
    EXPECT_TRUE(f2[i]);
  }
  std::string mask = kAllOn;
  mask[9] = '0';
  EXPECT_FALSE(scanEnables(2, mask)[index(ScanField::RemoteScanChannel)]);
  EXPECT_TRUE(scanEnables(2, mask)[index(ScanField::RemoteScanControl)]);
  EXPECT_FALSE(scanEnables(2, "")[0]);
}

TEST(ScanFields, DecodingShowsStoredValuesAndCleansReferences) {
  // Family "1": delay defaults, a none marker, a channel that does not scan.
  Image f1 = blankImage(1);
  f1[801] = 0x02;  // channel names: 100 channels, second bank from channel 51
  program(f1, 1, 60, false);
  program(f1, 1, 7, true);
  f1[802] = 0xF7;
  f1[803] = 60;
  f1[804] = 7;
  f1[805] = 7;  // names channel 7, which scans
  f1[851] = 0xAC;
  f1[954] = 0x11;
  ScanDecoded d = decodeScan(f1, chanLayout(1, f1), scanEnables(1, kAllOn));
  EXPECT_EQ(d.values.strAllScanPchLow, "");
  EXPECT_EQ(d.values.strPrgScanPchLow, "");
  EXPECT_EQ(d.values.strAllScanPchHigh, "7");
  EXPECT_EQ(d.values.strPrgScanPchHigh, "7");
  EXPECT_EQ(d.values.strScanTime, "12");
  EXPECT_EQ(d.values.strScanDecodeQuit, "1");
  EXPECT_EQ(d.values.strRemoteScanControl, "1");
  EXPECT_EQ(d.values.strScanStartDelayTime, "3.0");
  EXPECT_EQ(d.values.strPchWatchIntTime, "2.0");
  Image fixed = f1;
  applyFixes(fixed, d.fixes);
  // Channel 60 lies at 1024 + 8 x 9 and does not scan: its reference goes;
  // the zero delays take their defaults; the none marker 0xF7 stays as read.
  EXPECT_EQ(fixed[803], 0xFF);
  EXPECT_EQ(fixed[974], 30);
  EXPECT_EQ(fixed[975], 20);
  EXPECT_EQ(fixed[802], 0xF7);
  fixed[803] = f1[803], fixed[974] = 0, fixed[975] = 0;
  EXPECT_EQ(fixed, f1);

  // Family "2": a zero delay stays 0; 0 and numbers beyond the last channel
  // name no channel and are kept; a reference to an empty row goes.
  Image f2 = blankImage(2);
  f2[802] = 100;
  f2[804] = 0;
  f2[803] = 5;  // channel 5's row is F9 3F: empty
  f2[854] = 0;
  f2[855] = 255;
  f2[984] = 0xFE;
  d = decodeScan(f2, chanLayout(2, f2), scanEnables(2, kAllOn));
  EXPECT_EQ(d.values.strAllScanPchLow, "");
  EXPECT_EQ(d.values.strAllScanPchHigh, "");
  EXPECT_EQ(d.values.strPrgScanPchLow, "");
  EXPECT_EQ(d.values.strScanStartDelayTime, "0.0");
  EXPECT_EQ(d.values.strPchWatchIntTime, "25.5");
  EXPECT_EQ(d.values.strRemoteScanChannel, "0");
  ASSERT_EQ(d.fixes.size(), 1u);
  EXPECT_EQ(d.fixes[0].at, 803);
  EXPECT_EQ(d.fixes[0].value, 0xFF);

  // Family "0": an empty record and a record that does not scan clear the
  // program-scan references to 0; an all-scan reference needs no scan flag.
  Image f0 = blankImage(0);
  program(f0, 0, 9, false);
  f0[34] = 9;
  f0[36] = 5;
  f0[37] = 9;
  f0[168] = 0;
  d = decodeScan(f0, chanLayout(0, f0), scanEnables(0, kAllOn));
  EXPECT_EQ(d.values.strAllScanPchLow, "9");
  EXPECT_EQ(d.values.strScanStartDelayTime, "0.0");
  applyFixes(f0, d.fixes);
  EXPECT_EQ(f0[36], 0);
  EXPECT_EQ(f0[37], 0);
  EXPECT_EQ(f0[34], 9);

  // A setting the mask leaves off is not read: its text keeps the default.
  Image g = blankImage(2);
  g[954] = 0x01;
  std::string mask = kAllOn;
  mask[8] = '0';
  EXPECT_EQ(decodeOnly(g, 2, mask).strRemoteScanControl, "0");
  EXPECT_EQ(decodeOnly(g, 2).strRemoteScanControl, "1");
}

TEST(ScanFields, EncodingWritesChangedFieldsIntoTheirOwnBits) {
  Image img = blankImage(2);
  program(img, 2, 12, true);
  img[844] = 0x2A;
  img[851] = 0xA3;
  img[954] = 0xEE;
  img[984] = 0x10;
  const ScanEnables on = scanEnables(2, kAllOn);
  const ScanValues was = decodeOnly(img, 2);
  ScanValues v = was;
  v.strPriorityChannelChange = "1";
  v.strScanTime = "15";
  v.strScanDecodeQuit = "0";
  v.strRemoteScanControl = "1";
  v.strRemoteScanChannel = "1";
  v.strScanStartDelayTime = "2.5";
  v.strPrgScanPchHigh = "12";
  Image out = img;
  encodeScan(out, chanLayout(2, out), v, on, was);
  EXPECT_EQ(out[844], 0x6A);
  EXPECT_EQ(out[851], 0xAF);
  EXPECT_EQ(out[954], 0xEF);
  EXPECT_EQ(out[984], 0x11);
  EXPECT_EQ(out[854], 25);
  EXPECT_EQ(out[805], 12);
  Image expected = img;
  for (int at : {844, 851, 954, 984, 854, 805}) expected[at] = out[at];
  EXPECT_EQ(out, expected);

  // A value no setting can hold keeps the stored bits: Escape's -1 on the
  // scan time, a list index of 2, a delay beyond 9.9 s, a channel beyond the
  // last one or not a number.
  ScanValues bad = was;
  bad.strScanTime = "-1";
  bad.strAutoAllChannelScan = "2";
  bad.strPchWatchIntTime = "10.0";
  bad.strAllScanPchLow = "100";
  bad.strAllScanPchHigh = "1x";
  out = img;
  encodeScan(out, chanLayout(2, out), bad, on, was);
  EXPECT_EQ(out, img);

  // An emptied channel stores the family's none value.
  Image named = img;
  named[805] = 12;
  const ScanValues shown = decodeOnly(named, 2);
  ASSERT_EQ(shown.strPrgScanPchHigh, "12");
  ScanValues none = shown;
  none.strPrgScanPchHigh.clear();
  encodeScan(named, chanLayout(2, named), none, on, shown);
  EXPECT_EQ(named[805], 0xFF);
}

TEST(ScanFields, RewritingEveryFieldAsDecodedChangesNoByte) {
  // Whatever the image holds (a channel byte naming a channel or none),
  // writing back every offered field as decoding showed it reproduces the
  // image once the decoding's clean-ups are made.
  std::mt19937 random(7);
  for (int family = 0; family <= 2; ++family) {
    for (int round = 0; round < 20; ++round) {
      SCOPED_TRACE(family * 100 + round);
      Image img(kImageSize);
      for (auto& b : img) b = static_cast<uint8_t>(random());
      img[801] &= 0xFD;
      const ChanLayout layout = chanLayout(family, img);
      for (int at : {34, 35, 36, 37, 802, 803, 804, 805})
        if (!layout.isChannel(img[at])) img[at] = layout.noneByte();
      ScanDecoded d = decodeScan(img, chanLayout(family, img), scanEnables(family, kAllOn));
      applyFixes(img, d.fixes);
      Image out = img;
      encodeScan(out, chanLayout(family, out), d.values, scanEnables(family, kAllOn), ScanValues{"x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x"});
      EXPECT_EQ(out, img);

      PriorityDecoded p = decodePriority(img, chanLayout(family, img), priorityEnables(family));
      applyFixes(img, p.fixes);
      out = img;
      PriorityValues forced{"x", "x", "x", "x", "x", "x"};
      encodePriority(out, chanLayout(family, out), p.values, priorityEnables(family), forced);
      EXPECT_EQ(out, img);
    }
  }
}

TEST(ScanFields, Family1SharedBitsAreLeftToTheirOwners) {
  // Byte 954 bit 0 is also the encode page's LCD clear, byte 984 bit 0 the SR
  // flag of channel 17: an untouched page writes neither, and no mask row
  // makes the page write 984.
  Image img = blankImage(1);
  img[954] = 0x01;
  img[984] = 0x01;
  const ScanEnables on = scanEnables(1, kAllOn);
  ScanValues was = decodeOnly(img, 1);
  ScanValues v = was;
  v.strRemoteScanChannel = "0";
  Image out = img;
  encodeScan(out, chanLayout(1, out), v, on, was);
  EXPECT_EQ(out[954], 0x01);
  EXPECT_EQ(out[984], 0x01);
  v.strRemoteScanControl = "0";
  encodeScan(out, chanLayout(1, out), v, on, was);
  EXPECT_EQ(out[954], 0x00);
  EXPECT_EQ(out[984], 0x01);
}

TEST(ScanChecks, ChannelReferencesAreRefusedByTheRightMessage) {
  Image f1 = blankImage(1);
  program(f1, 1, 100, true);
  program(f1, 1, 101, false);
  program(f1, 1, 200, true);
  const ChanLayout l1 = chanLayout(1, f1);
  struct Case {
    const char *text, *partner;
    bool scan;
    int message;
  } cases[] = {
      {"", "", true, 0},
      {"", "100", true, 0},
      {"100", "100", false, kMsgSameChannel},
      {"100", "0100", false, kMsgSameChannel},
      {"0", "", false, kMsgBeyondMax},
      {"201", "", false, kMsgBeyondMax},
      {"200", "", true, 0},
      {"150", "", false, kMsgNoData},
      {"101", "", false, 0},
      {"101", "", true, kMsgScanOff},
      {"100", "5", true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + "/" + c.partner);
    EXPECT_EQ(channelRefMessage(c.text, c.partner, c.scan, false, l1, f1), c.message);
  }
  // With channel names the family has 100 channels.
  f1[801] = 0x02;
  EXPECT_EQ(channelRefMessage("101", "", false, false, chanLayout(1, f1), f1), kMsgBeyondMax);

  // Family "2": both empty-row patterns hold no data.
  Image f2 = blankImage(2);
  EXPECT_EQ(channelRefMessage("5", "", false, false, chanLayout(2, f2), f2), kMsgNoData);
  f2[32] = 0xFF;
  EXPECT_EQ(channelRefMessage("5", "", false, false, chanLayout(2, f2), f2), kMsgNoData);
  f2[32] = 0xF9, f2[33] = 0x44;
  EXPECT_EQ(channelRefMessage("5", "", true, false, chanLayout(2, f2), f2), 0);

  // Family "0" program-scan boxes report an empty channel as not scanning;
  // the priority-channel page reports it as empty.
  Image f0 = blankImage(0);
  EXPECT_EQ(channelRefMessage("5", "", true, true, chanLayout(0, f0), f0), kMsgScanOff);
  EXPECT_EQ(priorityChannelMessage(PriorityField::ScanPriorityChLow, "5", "", chanLayout(0, f0), f0), kMsgNoData);
  program(f0, 0, 5, false);
  EXPECT_EQ(priorityChannelMessage(PriorityField::ScanPriorityChLow, "5", "", chanLayout(0, f0), f0), kMsgScanOff);
  EXPECT_EQ(priorityChannelMessage(PriorityField::PriorityChannelLow, "5", "", chanLayout(0, f0), f0), 0);
}

TEST(ScanChecks, DelayTimesAreReformattedAndHeldTo0_1To9_9) {
  struct Case {
    const char *text, *shown;
    int message;
  } cases[] = {
      {"5", "5.0", 0},        {"10", "10.0", kMsgRange}, {"", "", kMsgRange},       {"0.1", "0.1", 0},
      {"9.9", "9.9", 0},      {"9.96", "10.0", kMsgRange}, {".5", "0.5", 0},         {"1.2.3", "1.2.3", kMsgDecimalPoint},
      {"0", "0.0", kMsgRange}, {".", ".", kMsgRange},   {"5x", "5x", kMsgRange},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string t = c.text;
    EXPECT_EQ(delayTimeMessage(t), c.message);
    EXPECT_EQ(t, c.shown);
  }
}

TEST(ScanPrint, TextsFollowTheImageAndTheMaskWithoutChangingTheImage) {
  const std::string f0Mask = "1111111100000000000000000000000000000000";
  const std::string f1Mask = "1111111110110000000000000000000000000000";
  Image f2 = blankImage(2);
  program(f2, 2, 3, true);
  f2[802] = 3;
  f2[803] = 0xFF;
  f2[851] = 0x0C;
  f2[954] = 0x11;
  f2[984] = 0x01;
  f2[844] = 0x80;
  f2[854] = 15;
  f2[855] = 0;
  const Image f2Before = f2;
  PrintTexts t = scanPrintTexts(f2, 2, kAllOn);
  EXPECT_EQ(f2, f2Before);
  const PrintTexts f2Expected = {
      {"strPrtAllScanPchLow", "3"},         {"strPrtAllScanPchHigh", ""},         {"strPrtPrgScanPchLow", ""},
      {"strPrtPrgScanPchHigh", ""},         {"strPrtScanTime", "100 ms"},        {"strPrtScanDecodeQuit", "On"},
      {"strPrtScanStartDelayTime", "1.5"},  {"strPrtPchWatchIntTime", "0.0"},    {"strPrtRemoteScanControl", "On"},
      {"strPrtRemoteScanChannel", "Prg Channel"}, {"strPrtPriorityChannelChange", "Disable"},
      {"strPrtAutoAllChannelScan", "Enable"}};
  EXPECT_EQ(t, f2Expected);

  // Family "1": the zero delays print as their defaults, the image keeps 0.
  Image f1 = blankImage(1);
  f1[984] = 0x01;
  f1[851] = 0x00;
  const Image f1Before = f1;
  t = scanPrintTexts(f1, 1, f1Mask);
  EXPECT_EQ(f1, f1Before);
  EXPECT_EQ(t["strPrtScanStartDelayTime"], "3.0");
  EXPECT_EQ(t["strPrtPchWatchIntTime"], "2.0");
  EXPECT_EQ(t["strPrtScanTime"], "NON SCAN");
  EXPECT_EQ(t["strPrtRemoteScanChannel"], "");
  EXPECT_EQ(t["strPrtPriorityChannelChange"], "Disable");

  // Family "0": a reference to an empty channel prints empty, as the page
  // would show it; the four on/off settings are not the family's.
  Image f0 = blankImage(0);
  f0[34] = 5;
  f0[83] = 0x31;
  t = scanPrintTexts(f0, 0, f0Mask);
  EXPECT_EQ(t["strPrtAllScanPchLow"], "");
  EXPECT_EQ(t["strPrtScanTime"], "15 ms");
  EXPECT_EQ(t["strPrtRemoteScanControl"], "");
  EXPECT_EQ(t["strPrtAutoAllChannelScan"], "");
  EXPECT_EQ(t.size(), 12u);
}

TEST(PriorityFields, DecodeEncodeAndPrintPerFamily) {
  // Families "1"/"2": byte 844 bits 6 and 7 only.
  Image f2 = blankImage(2);
  program(f2, 2, 9, true);
  f2[844] = 0x15;
  f2[805] = 0xF5;
  f2[802] = 9;
  const PriorityEnables on2 = priorityEnables(2);
  const PriorityValues was = decodePriority(f2, chanLayout(2, f2), on2).values;
  EXPECT_EQ(was.strScanPriorityChHigh, "");
  EXPECT_EQ(was.strPriorityChannelLow, "9");
  PriorityValues v = was;
  v.strPriorityChChange = "1";
  v.strAutoScan = "1";
  v.strPriorityChannelHigh = "9x";  // no channel: byte kept
  Image out = f2;
  encodePriority(out, chanLayout(2, out), v, on2, was);
  EXPECT_EQ(out[844], 0xD5);
  EXPECT_EQ(out[804], f2[804]);
  EXPECT_EQ(out[805], 0xF5);
  PrintTexts t = priorityPrintTexts(out, 2);
  const PrintTexts expected = {{"strPrtPriorityChLow", "9"},       {"strPrtPriorityChHigh", ""},
                               {"strPrtScanPriorityChLow", ""},    {"strPrtScanPriorityChHigh", ""},
                               {"strPrtScanPriorityChChange", "ENABLE"}, {"strPrtAutoAllChScan", "ENABLE"}};
  EXPECT_EQ(t, expected);

  // Family "1" with channel names: 120 is beyond the last channel; shown
  // empty and left as stored.
  Image f1 = blankImage(1);
  f1[801] = 0x02;
  f1[803] = 120;
  f1[802] = 150;
  PriorityDecoded d = decodePriority(f1, chanLayout(1, f1), priorityEnables(1));
  EXPECT_EQ(d.values.strScanPriorityChLow, "");
  EXPECT_TRUE(d.fixes.empty());
  // Without names channels 120 and 150 exist but are empty: the references go.
  f1[801] = 0x00;
  d = decodePriority(f1, chanLayout(1, f1), priorityEnables(1));
  ASSERT_EQ(d.fixes.size(), 2u);
  EXPECT_EQ(d.fixes[0].at, 802);
  EXPECT_EQ(d.fixes[0].value, 0xFF);
  EXPECT_EQ(d.fixes[1].at, 803);

  // Family "0": no place for the two flags; byte 844 is channel 4's record.
  Image f0 = blankImage(0);
  f0[844] = 0x3C;
  const PriorityEnables on0 = priorityEnables(0);
  EXPECT_FALSE(on0[4]);
  EXPECT_FALSE(on0[5]);
  PriorityValues p0 = decodePriority(f0, chanLayout(0, f0), on0).values;
  PriorityValues c0 = p0;
  c0.strPriorityChChange = "1";
  c0.strAutoScan = "1";
  encodePriority(f0, chanLayout(0, f0), c0, on0, p0);
  EXPECT_EQ(f0[844], 0x3C);
  EXPECT_EQ(priorityPrintTexts(f0, 0).at("strPrtAutoAllChScan"), "");
}

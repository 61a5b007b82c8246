// The miscellaneous settings in the image: decoding, the starting-channel
// clean-up, the write-back of changed fields only, and the print texts.
#include <gtest/gtest.h>

#include <random>

#include "core/controldata.h"
#include "core/modpublic.h"
#include "options/misc.h"
#include "support/testsupport.h"

using namespace options;
using Bytes = std::vector<uint8_t>;

namespace {

const std::string kAllOn(40, '1');

class MiscCodec : public ::testing::Test {
 protected:
  void SetUp() override { freshModel(dir); }
  // The family's initial image.
  Bytes initial(int family) {
    EXPECT_TRUE(setUpFamily(std::to_string(family)));
    return modPublic.bytRadioData;
  }
  static MiscEnables all(int family) { return miscEnables(family, kAllOn); }
  static Bytes slice(const Bytes& b, int from, int count) { return {b.begin() + from, b.begin() + from + count}; }
  TempDir dir;
};

// An image holding one value throughout.
Bytes filled(uint8_t value) { return Bytes(kImageSize, value); }

}  // namespace

TEST_F(MiscCodec, DecodesEachFamilysEncodings) {
  Bytes f0 = initial(0);
  f0[61] = 0x0A;  // POW OFF nibble 0 -> "NON"
  f0[86] = 0x2B;  // key nibble 11: beyond the list, kept as stored
  f0[87] = 0x9A;  // nibble 10 "Move to P-ch"
  f0[167] = 25;
  f0[45] = 0x1F;  // fixed squelch, resume, decode out, voice mute, TX power change
  f0[44] = 0xA7;  // level 7 in bits 0-3
  f0[809] = 0x70;  // inside channel record 2: no beeps for this family
  MiscValues v = miscDecode(f0, 0, all(0));
  EXPECT_EQ(v.strPOWOFFTime, "15");
  EXPECT_EQ(v.strFKeyAssign, "11");
  EXPECT_EQ(v.strF1KeyAssign, "10");
  EXPECT_EQ(v.strVOXResetTime, "2.5");
  EXPECT_EQ(v.strSquelchMode, "1");
  EXPECT_EQ(v.strSquelchFix, "7");
  EXPECT_EQ(v.strSquelchVer, "0");
  EXPECT_EQ(v.strDecodeOutAlways + v.strPowerOnResume + v.strAutoVoiceMute + v.strTXPowerChange, "1111");
  EXPECT_EQ(v.strKeyONBeep + v.strPTTONBeep + v.strPTTOFFBeep, "000");
  f0[61] = 0x1A;
  EXPECT_EQ(miscDecode(f0, 0, all(0)).strPOWOFFTime, "0");

  // Without the squelch choice both levels show the stored level, no mode.
  MiscEnables noSquelch = all(0);
  noSquelch.on[kMisSquelchVer] = false;
  v = miscDecode(f0, 0, noSquelch);
  EXPECT_EQ(v.strSquelchMode, "");
  EXPECT_EQ(v.strSquelchVer + v.strSquelchFix, "77");

  Bytes f1 = initial(1);
  f1[829] = 0x05;  // POW OFF nibble 0 = "1 Hour"
  f1[848] = 0xF0;  // decode out nibble 0 = ON
  f1[957] = 0;     // reads as "NON delay"
  f1[801] = 0x71;  // fixed, level 7
  v = miscDecode(f1, 1, all(1));
  EXPECT_EQ(v.strPOWOFFTime, "0");
  EXPECT_EQ(v.strDecodeOutAlways, "1");
  EXPECT_EQ(v.strCHNameDelay, "0");
  EXPECT_EQ(v.strSquelchFix, "7");
  f1[829] = 0xF5;
  f1[848] = 0x01;
  f1[957] = 200;  // no entry: stays as stored
  v = miscDecode(f1, 1, all(1));
  EXPECT_EQ(v.strPOWOFFTime, "15");
  EXPECT_EQ(v.strDecodeOutAlways, "0");
  EXPECT_EQ(v.strCHNameDelay, "200");
  f1[957] = 255;  // how "NON delay" is stored
  EXPECT_EQ(miscDecode(f1, 1, all(1)).strCHNameDelay, "0");
  EXPECT_EQ(miscPrintTexts(f1, 1, all(1))["strPrtChNameDelay"], "NON delay");
  // Decode out reads ON only while its list is offered.
  f1[848] = 0x00;
  MiscEnables noDecodeOut = all(1);
  noDecodeOut.on[kMisDecodeOutAlways] = false;
  EXPECT_EQ(miscDecode(f1, 1, noDecodeOut).strDecodeOutAlways, "0");

  Bytes f2 = initial(2);
  f2[1001] = 11;
  f2[867] = 0xE0;
  f2[958] = 30;
  v = miscDecode(f2, 2, all(2));
  EXPECT_EQ(v.strTransmissionTime, "11");
  EXPECT_EQ(v.strCTCSSDevWide, "7");
  EXPECT_EQ(v.strAutoTXResetTime, "3");
  EXPECT_EQ(v.strSquelchMode, "");
}

TEST_F(MiscCodec, StartingChannelNamesOnlyAChannelWithData) {
  Bytes f0 = initial(0);
  f0[39] = 5;  // record 5 (864..) is all zero
  EXPECT_EQ(miscDecode(f0, 0, all(0)).strStartingChannel, "");
  EXPECT_TRUE(miscCleanStartingChannel(f0, 0));
  EXPECT_EQ(f0[39], 0);
  f0[39] = 5;
  f0[865] = 0x10;
  EXPECT_EQ(miscDecode(f0, 0, all(0)).strStartingChannel, "5");
  EXPECT_FALSE(miscCleanStartingChannel(f0, 0));

  // Family "1" with channel names: 100 channels; 150 is no channel at all
  // and stays stored; 51 lies in the second block.
  Bytes f1 = initial(1);
  f1[801] |= 0x02;
  f1[952] = 150;
  EXPECT_EQ(miscDecode(f1, 1, all(1)).strStartingChannel, "");
  EXPECT_FALSE(miscCleanStartingChannel(f1, 1));
  EXPECT_EQ(f1[952], 150);
  f1[952] = 51;
  f1[1024] = 0x12;
  EXPECT_EQ(miscDecode(f1, 1, all(1)).strStartingChannel, "51");
  f1[1024] = 0xFF;
  EXPECT_TRUE(miscCleanStartingChannel(f1, 1));
  EXPECT_EQ(f1[952], 255);
  f1[952] = 0;  // the initial images' zero: no channel, left alone
  EXPECT_FALSE(miscCleanStartingChannel(f1, 1));

  // Family "2": an F9 3F row is empty; channel 100 does not exist.
  Bytes f2 = initial(2);
  f2[48] = 0xF9;
  f2[49] = 0x3F;
  f2[952] = 7;
  EXPECT_EQ(miscDecode(f2, 2, all(2)).strStartingChannel, "");
  EXPECT_TRUE(miscCleanStartingChannel(f2, 2));
  EXPECT_EQ(f2[952], 255);
  f2[792] = 0x12;
  f2[952] = 100;
  EXPECT_EQ(miscDecode(f2, 2, all(2)).strStartingChannel, "");
  EXPECT_FALSE(miscCleanStartingChannel(f2, 2));
}

TEST_F(MiscCodec, StartingMessageKeepsEveryByte) {
  Bytes f0 = initial(0);
  const Bytes five = {'H', 'E', 'L', 'L', 'O', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  std::copy(five.begin(), five.end(), f0.begin() + 48);
  EXPECT_EQ(miscDecode(f0, 0, all(0)).strStartingMessage, "HELLO       ");
  std::fill(f0.begin() + 48, f0.begin() + 60, ' ');
  EXPECT_EQ(miscDecode(f0, 0, all(0)).strStartingMessage, "");

  // Bytes outside the typing set (and outside ASCII) survive a rewrite.
  Bytes f2 = initial(2);
  const Bytes odd = {0x00, 0x81, 0xE9, 0x7F, '#', 0x8D, 0xFF, 0x20, 0x0D, 'a', 0x9D, 0x80, 0x90, 0x20};
  std::copy(odd.begin(), odd.end(), f2.begin() + 962);
  const MiscValues v = miscDecode(f2, 2, all(2));
  std::fill(f2.begin() + 962, f2.begin() + 976, 'X');
  MiscValues other = v;
  other.strStartingMessage = "changed";
  miscEncode(f2, 2, all(2), v, other);
  EXPECT_EQ(slice(f2, 962, 14), odd);

  // Short messages are padded with blanks; an empty one is all blanks.
  Bytes f1 = initial(1);
  MiscValues was = miscDecode(f1, 1, all(1));
  MiscValues abc = was;
  abc.strStartingMessage = "ABC";
  miscEncode(f1, 1, all(1), abc, was);
  EXPECT_EQ(slice(f1, 962, 8), (Bytes{65, 66, 67, 32, 32, 32, 32, 32}));
  MiscValues empty = abc;
  empty.strStartingMessage = "";
  miscEncode(f1, 1, all(1), empty, abc);
  EXPECT_EQ(slice(f1, 962, 8), Bytes(8, 32));
  EXPECT_EQ(f1[961], initial(1)[961]);  // the bytes around the message stay
  EXPECT_EQ(f1[970], initial(1)[970]);
}

TEST_F(MiscCodec, UnchangedValuesWriteNoByteInAnyFamily) {
  std::mt19937 random(7);
  for (int family = 0; family <= 2; ++family) {
    SCOPED_TRACE(family);
    std::vector<Bytes> images = {initial(family), filled(0x00), filled(0xFF), filled(0x55)};
    Bytes noisy(kImageSize);
    for (auto& b : noisy) b = static_cast<uint8_t>(random());
    images.push_back(noisy);
    for (Bytes image : images) {
      miscCleanStartingChannel(image, family);
      const Bytes before = image;
      const MiscValues v = miscDecode(image, family, all(family));
      miscEncode(image, family, all(family), v, v);
      EXPECT_EQ(image, before);
    }
  }
}

TEST_F(MiscCodec, ChangedFieldsWriteOnlyTheirOwnBits) {
  Bytes f0 = filled(0xFF);
  f0[45] = 0xF0;  // variable squelch
  f0[44] = 0xF3;
  f0[61] = 0x0F;
  MiscValues was = miscDecode(f0, 0, all(0));
  MiscValues v = was;
  v.strSquelchMode = "1";
  v.strSquelchFix = "9";
  v.strPOWOFFTime = "0";
  v.strFKeyAssign = "4";
  v.strVOXResetTime = "";
  v.strStartingChannel = "";
  v.strKeyLockCall = "0";
  miscEncode(f0, 0, all(0), v, was);
  EXPECT_EQ(f0[45], 0xF1);
  EXPECT_EQ(f0[44], 0xF9);  // bits 4-7 stay as the radio had them
  EXPECT_EQ(f0[61], 0x1F);
  EXPECT_EQ(f0[86], 0xF4);
  EXPECT_EQ(f0[167], 0);
  EXPECT_EQ(f0[39], 0);
  EXPECT_EQ(f0[170], 0xFD);
  was = v;
  v.strPOWOFFTime = "15";
  miscEncode(f0, 0, all(0), v, was);
  EXPECT_EQ(f0[61], 0x0F);

  Bytes f1 = filled(0x00);
  was = miscDecode(f1, 1, all(1));
  v = was;
  v.strSquelchVer = "5";  // mode stays variable: only the level bits
  v.strPOWOFFTime = "15";
  v.strDecodeOutAlways = "0";
  v.strCHNameDelay = "0";
  v.strCTCSSMute = "1";
  miscEncode(f1, 1, all(1), v, was);
  EXPECT_EQ(f1[801], 0x50);
  EXPECT_EQ(f1[829], 0xF0);
  EXPECT_EQ(f1[848], 0x0F);
  EXPECT_EQ(f1[957], 0);  // "NON delay" was read from 0 and not changed
  EXPECT_EQ(f1[1010], 1);
  was = v;
  v.strCHNameDelay = "8";
  v.strDecodeOutAlways = "1";
  miscEncode(f1, 1, all(1), v, was);
  EXPECT_EQ(f1[957], 8);
  EXPECT_EQ(f1[848], 0x00);
  was = v;
  v.strCHNameDelay = "0";
  miscEncode(f1, 1, all(1), v, was);
  EXPECT_EQ(f1[957], 255);

  // Family "2": one deviation box on, the other two off.
  Bytes f2 = filled(0x1F);
  MiscEnables narrowOnly = all(2);
  narrowOnly.on[kMisCTCSSDevWide] = narrowOnly.on[kMisCTCSSDev4k] = false;
  was = miscDecode(f2, 2, narrowOnly);
  v = was;
  v.strCTCSSDevWide = v.strCTCSSDevNarrow = v.strCTCSSDev4k = "7";
  v.strAutoTXResetTime = "2.5";
  v.strStartingChannel = "";
  miscEncode(f2, 2, narrowOnly, v, was);
  EXPECT_EQ(f2[869], 0xFF);
  EXPECT_EQ(f2[867], 0x1F);
  EXPECT_EQ(f2[871], 0x1F);
  EXPECT_EQ(f2[958], 25);
  EXPECT_EQ(f2[952], 0xFF);

  // A value that does not fit its field is never written.
  Bytes before = f2;
  was = v;
  v.strTTLTime = "300";
  v.strAutoTXResetTime = "26";
  v.strStartingChannel = "100";
  miscEncode(f2, 2, all(2), v, was);
  EXPECT_EQ(f2, before);
}

TEST_F(MiscCodec, FieldsOutsideTheFamilysLayoutAreNeverTouched) {
  // A mask of all "1" enables only what the family has.
  EXPECT_FALSE(all(0)(kMisKeyONBeep));
  EXPECT_FALSE(all(1)(kMisVOXResetTime));
  EXPECT_FALSE(all(2)(kMisSquelchVer));
  EXPECT_TRUE(all(2)(kMisLowBatteryAlarm));
  EXPECT_FALSE(miscEnables(1, "")(kMisTTLTime));

  // Even enables that claim everything write nothing the layout lacks.
  MiscEnables claimAll;
  claimAll.on.fill(true);
  MiscValues changed;
  changed.strSquelchMode = "1";
  changed.strSquelchFix = changed.strSquelchVer = "3";
  for (std::string* s : {&changed.strKeyONBeep, &changed.strPTTONBeep, &changed.strPTTOFFBeep, &changed.strCTCSSMute,
                         &changed.strLowBatteryAlarm, &changed.strAutoVoiceMute, &changed.strRepeaterMode})
    *s = "1";
  changed.strPOWOFFTime = changed.strPowerSaveTime = "4";
  changed.strCHNameDelay = "3";
  changed.strVOXResetTime = changed.strAutoTXResetTime = "1.5";
  changed.strFKeyAssign = changed.strF1KeyAssign = changed.strOptionKeyAssign = "2";
  changed.strVotingTone = changed.strCTCSSCutoff = changed.strCTCSSDevWide = changed.strCTCSSDevNarrow =
      changed.strCTCSSDev4k = changed.strVotingInterval = changed.strTransmissionTime = "2";
  const MiscValues nothing{};
  auto untouched = [&](int family, std::initializer_list<int> owned) {
    Bytes image = filled(0xAA);
    miscEncode(image, family, claimAll, changed, nothing);
    for (int b : owned) EXPECT_EQ(image[static_cast<size_t>(b)], 0xAA) << "family " << family << " byte " << b;
  };
  untouched(0, {809, 844, 857, 867, 869, 871, 957, 958, 996, 998, 1000, 1001, 1006, 1010});
  untouched(1, {44, 86, 87, 88, 167, 857, 867, 869, 871, 958, 996, 998, 1000, 1001, 1006});
  untouched(2, {801, 829, 851, 957, 1010, 86, 87, 88, 167});
}

TEST_F(MiscCodec, PrintTextsPerFamily) {
  Bytes f0 = initial(0);
  f0[45] = 0x01;  // fixed squelch
  f0[44] = 0x0C;
  f0[188] = 120;
  f0[82] = 0x09;  // TX inhibit beyond the list
  f0[86] = 0x0B;
  f0[87] = 0x0A;
  f0[170] = 0x05;
  f0[167] = 30;
  f0[809] = 0x70;
  const Bytes msg = {'S', 'T', 'A', 'R', 'T', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  std::copy(msg.begin(), msg.end(), f0.begin() + 48);
  const Bytes before = f0;
  PrintTexts p = miscPrintTexts(f0, 0, all(0));
  EXPECT_EQ(f0, before);
  EXPECT_EQ(p["strPrtSquelchVer"], "");
  EXPECT_EQ(p["strPrtSquelchFix"], "12");
  EXPECT_EQ(p["strPrtTtlTime"], "120");
  EXPECT_EQ(p["strPrtTxInhibit"], "NON");
  EXPECT_EQ(p["strPrtPowOffTime"], "NON");
  EXPECT_EQ(p["strPrtPowerSaveTime"], "NON SAVE");
  EXPECT_EQ(p["strPrtFKeyAssign"], "Non");
  EXPECT_EQ(p["strPrtF1KeyAssign"], "Move to P-ch");
  EXPECT_EQ(p["strPrtKeyLockPtt"] + p["strPrtKeyLockCall"] + p["strPrtKeyLockMute"], "DISENADIS");
  EXPECT_EQ(p["strPrtVoxResetTime"], "3.0");
  EXPECT_EQ(p["strPrtAutoTxResetTime"], "");
  EXPECT_EQ(p["strPrtStartingMessage"], "START       ");
  EXPECT_EQ(p["strPrtKeyOnBeep"], "");  // no beeps in this family
  EXPECT_EQ(p["strPrtChNameDelay"], "");
  EXPECT_EQ(p["strPrtTransmissionTime"], "");
  EXPECT_EQ(p.size(), 36u);

  Bytes f1 = initial(1);
  f1[801] = 0x30;  // variable, level 3
  f1[809] = 0x20;
  f1[957] = 4;
  f1[954] = 0x08;
  f1[800] = 0x01;
  f1[1010] = 0x03;
  f1[848] = 0x00;
  p = miscPrintTexts(f1, 1, all(1));
  EXPECT_EQ(p["strPrtSquelchVer"], "3");
  EXPECT_EQ(p["strPrtSquelchFix"], "");
  EXPECT_EQ(p["strPrtKeyOnBeep"] + "/" + p["strPrtPttOnBeep"], "OFF/ON");
  EXPECT_EQ(p["strPrtChNameDelay"], "2.0 sec");
  EXPECT_EQ(p["strPrtInfoDisplay"] + "/" + p["strPrtToneSystemChange"], "ENABLE/DISABLE");
  EXPECT_EQ(p["strPrtPowerOnResume"], "ENABLE");
  EXPECT_EQ(p["strPrtCtcssMute"], "ON");
  EXPECT_EQ(p["strPrtDecodeOutAlways"], "ON");
  EXPECT_EQ(p["strPrtPowOffTime"], "1 Hour");
  EXPECT_EQ(p["strPrtStartingChannel"], "");
  f1[957] = 100;  // no entry: printed as nothing rather than a wrong entry
  EXPECT_EQ(miscPrintTexts(f1, 1, all(1))["strPrtChNameDelay"], "");

  Bytes f2 = initial(2);
  f2[801] = 0x01;
  f2[857] = 1;
  f2[998] = 3;
  f2[996] = 50;
  f2[867] = 0xE0;
  f2[869] = 0x20;
  f2[871] = 0x00;
  f2[1000] = 10;
  f2[1001] = 11;
  f2[958] = 99;
  f2[809] = 0x01;
  f2[0] = 0x12;  // channel 1 holds data
  f2[952] = 1;
  p = miscPrintTexts(f2, 2, all(2));
  EXPECT_EQ(p["strPrtSquelchVer"] + p["strPrtSquelchFix"], "");
  EXPECT_EQ(p["strPrtRepeaterMode"], "Mode 2");
  EXPECT_EQ(p["strPrtVotingTone"], "1600Hz");
  EXPECT_EQ(p["strPrtCtcssCutoffTime"], "500 msec");
  EXPECT_EQ(p["strPrtCtcssDevWide"] + "/" + p["strPrtCtcssDevNarrow"] + "/" + p["strPrtCtcssDev4k"], "Min/6/Max");
  EXPECT_EQ(p["strPrtVotingInterval"], "10 min");
  EXPECT_EQ(p["strPrtTransmissionTime"], "Non");
  EXPECT_EQ(p["strPrtAutoTxResetTime"], "9.9");
  EXPECT_EQ(p["strPrtLowBatteryAlarm"], "ON");
  EXPECT_EQ(p["strPrtStartingChannel"], "1");
  EXPECT_EQ(p["strPrtPowerSaveTime"], "");
  f2[1001] = 1;
  f2[996] = 1;
  p = miscPrintTexts(f2, 2, all(2));
  EXPECT_EQ(p["strPrtTransmissionTime"], " 1 sec");
  EXPECT_EQ(p["strPrtCtcssCutoffTime"], " 10 msec");
}

TEST(MiscTexts, TimesAndListsAsThePageShowsThem) {
  EXPECT_EQ(formatTenths("5"), "5.0");
  EXPECT_EQ(formatTenths("7.26"), "7.3");
  EXPECT_EQ(formatTenths("9.96"), "10.0");
  EXPECT_EQ(formatTenths("12"), "12.0");
  EXPECT_EQ(formatTenths(""), "");
  EXPECT_EQ(formatTenths("1.2.3"), "1.2.3");
  EXPECT_EQ(formatTenths("1a"), "1a");
  EXPECT_EQ(miscList(kMisSquelchVer, 1).size(), 8u);
  EXPECT_EQ(miscList(kMisSquelchFix, 2).back(), "15");
  EXPECT_EQ(miscList(kMisPOWOFFTime, 0).back(), "NON");
  EXPECT_EQ(miscList(kMisPowerSaveTime, 0)[15], "1500 ms");
  EXPECT_EQ(miscList(kMisCHNameDelay, 1)[1], "0.5 sec");
  EXPECT_EQ(miscList(kMisCHNameDelay, 1)[8], "4.0 sec");
  EXPECT_EQ(miscList(kMisCTCSSCutoff, 2).size(), 51u);
  EXPECT_EQ(miscList(kMisCTCSSCutoff, 2)[9], " 90 msec");
  EXPECT_EQ(miscList(kMisVotingInterval, 2)[9], " 9 min");
}

TEST_F(MiscCodec, ControlDataOffersExactlyWhatEachLayoutHas) {
  RecordingMessages msgs;
  ASSERT_TRUE(blnGetControlData());
  const auto& rows = modPublic.strMiscMask;
  for (auto [family, row] : {std::pair{0, 0}, {1, 3}, {1, 4}, {2, 2}}) {
    SCOPED_TRACE(row);
    const std::string& mask = rows[static_cast<size_t>(row)];
    ASSERT_EQ(mask.size(), 40u);
    for (int item = 1; item <= 40; ++item)
      EXPECT_EQ(mask[static_cast<size_t>(item - 1)] == '1', miscLayoutHas(family, item)) << "character " << item;
  }
  // Family "1" takes its row from the image's model byte, and none for another value.
  Bytes image = filled(0);
  image[1017] = 1;
  EXPECT_EQ(miscMaskRow(1, image, rows), rows[4]);
  image[1017] = 2;
  EXPECT_EQ(miscMaskRow(1, image, rows), rows[3]);
  image[1017] = 3;
  EXPECT_EQ(miscMaskRow(1, image, rows), "");
}

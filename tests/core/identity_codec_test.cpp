// The identity fields of the image, decoded and encoded as the configuration
// page does, and the texts of the main menu's information panel.
#include "core/identity.h"
#include "core/modeltables.h"
#include "startup_fixture.h"

namespace {
ConfigEnables allOn() { return {true, true, true, true, true, true, true, true}; }
using Bytes = std::vector<uint8_t>;
}  // namespace

using IdentityCodec = StartupRoad;

TEST_F(IdentityCodec, UntouchedFieldsRoundTripEveryByteInEachFamily) {
  for (const char* f : {"0", "1", "2"}) {
    SCOPED_TRACE(f);
    family(f);
    const IdentityLayout l = identityLayout();
    // Awkward contents: inner blank and zero in the serial, nibbles A-E in
    // the PIN, digits after an empty first nibble in the kill password,
    // values outside the lists.
    put(l.serial, {'A', ' ', 'B', 0, '7', ' ', ' ', ' '});
    put(l.pin, {0xB1, 0x2C, 0xFF});
    put(l.pinTime, {7});
    put(l.killPass, {0x1F, 0x34});
    put(l.killTime, {9});
    put(801, {0x06});
    put(856, {0xFF});
    put(948, {0x02});
    const Bytes before = image();
    const ConfigValues v = subGetConfigData(allOn());
    EXPECT_EQ(v.strSerialNo, "AB7");
    // 1, 11, 12, 2 as decimal texts; the base station has no PIN.
    EXPECT_EQ(v.strPIN, std::string(f) == "2" ? "" : "111122");
    EXPECT_EQ(v.strKillPass, "");
    subPutConfigData(v, allOn(), v);
    EXPECT_EQ(image(), before);
  }
}

TEST_F(IdentityCodec, ChangedFieldsAreWrittenInTheirFormat) {
  family("1");
  const ConfigEnables on = allOn();
  const ConfigValues was = subGetConfigData(on);
  ConfigValues v = was;
  v.strPIN = "12";
  v.strPINTime = "255";
  v.strKillPass = "9876";
  v.strKillPassTime = "3";
  v.strSerialNo = "AB 12";
  v.strModelIndex = "14";
  v.strRadioType = "1";
  v.strScramblerOpt = "1";
  subPutConfigData(v, on, was);
  EXPECT_EQ(bytes(806, 3), (Bytes{0x21, 0xFF, 0xFF}));
  EXPECT_EQ(bytes(937, 1), (Bytes{255}));
  EXPECT_EQ(bytes(1012, 3), (Bytes{0x89, 0x67, 3}));
  EXPECT_EQ(bytes(2038, 8), (Bytes{0x41, 0x42, 0x20, 0x31, 0x32, 0x20, 0x20, 0x20}));
  EXPECT_EQ(bytes(1016, 2), (Bytes{14, 1}));
  EXPECT_EQ(image()[801] & 6, 4);

  // Decoding gives back what was written; blanks inside the serial drop out.
  ConfigValues back = subGetConfigData(on);
  EXPECT_EQ(back.strPIN, "12");
  EXPECT_EQ(back.strSerialNo, "AB12");
  EXPECT_EQ(back.strKillPass, "9876");

  ConfigValues six = back;
  six.strPIN = "123456";
  six.strSerialNo = "ABCDEFGHIJ";
  subPutConfigData(six, on, back);
  EXPECT_EQ(bytes(806, 3), (Bytes{0x21, 0x43, 0x65}));
  EXPECT_EQ(bytes(2038, 8), (Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}));
  ConfigValues none = six;
  none.strPIN = "";
  subPutConfigData(none, on, six);
  EXPECT_EQ(bytes(806, 3), (Bytes{0xFF, 0xFF, 0xFF}));

  // A disabled control neither reads nor writes its field.
  ConfigEnables off = on;
  off.pin = off.serial = false;
  ConfigValues hidden = subGetConfigData(off);
  EXPECT_EQ(hidden.strPIN, "");
  EXPECT_EQ(hidden.strSerialNo, "");
  hidden.strPIN = "55";
  hidden.strSerialNo = "ZZ";
  subPutConfigData(hidden, off, none);
  EXPECT_EQ(bytes(806, 3), (Bytes{0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(bytes(2038, 2), (Bytes{'A', 'B'}));
}

TEST_F(IdentityCodec, EmptyFirstNibbleEndsThePinButTimesStillDecode) {
  family("0");
  put(160, {0x1F, 0x23, 0x45, 42});
  ConfigEnables e = allOn();
  ConfigValues v = subGetConfigData(e);
  EXPECT_EQ(v.strPIN, "");
  EXPECT_EQ(v.strPINTime, "42");
  e.pinTime = false;
  EXPECT_EQ(subGetConfigData(e).strPINTime, "");
  put(160, {0x21, 0xF3});
  EXPECT_EQ(subGetConfigData(e).strPIN, "123");
  EXPECT_EQ(subGetConfigData(e).strPINTime, "42");  // PIN present: times read
}

TEST_F(IdentityCodec, BaseStationListsAndFirstIfRows) {
  family("2");
  put(856, {0xFF});
  put(937, {0});
  put(948, {0});
  ConfigValues v = subGetConfigData(allOn());
  EXPECT_EQ(v.strTXRef, "1");
  EXPECT_EQ(v.str30MHzIF, "0");
  EXPECT_EQ(v.strUHFIF, "0");
  for (int r : {0, 1, 2}) EXPECT_FLOAT_EQ(modPublic.udtModelTable2[static_cast<size_t>(r)].sngIFOffset, 21.6f);
  for (int r = 11; r <= 18; ++r) EXPECT_FLOAT_EQ(modPublic.udtModelTable2[static_cast<size_t>(r)].sngIFOffset, -48.5f);
  EXPECT_FLOAT_EQ(modPublic.udtModelTable2[3].sngIFOffset, 48.5f);

  put(856, {5});
  put(937, {1});
  put(948, {2});
  v = subGetConfigData(allOn());
  EXPECT_EQ(v.strTXRef, "0");
  EXPECT_EQ(v.str30MHzIF, "1");
  EXPECT_EQ(v.strUHFIF, "1");
  for (int r : {0, 1, 2}) EXPECT_FLOAT_EQ(modPublic.udtModelTable2[static_cast<size_t>(r)].sngIFOffset, 73.35f);
  for (int r = 11; r <= 18; ++r)
    EXPECT_FLOAT_EQ(modPublic.udtModelTable2[static_cast<size_t>(r)].sngIFOffset, -73.35f);

  // Choices the user makes are written as list indexes.
  ConfigValues w = v;
  w.strTXRef = "1";
  w.strUHFIF = "0";
  subPutConfigData(w, allOn(), v);
  EXPECT_EQ(bytes(856, 1), (Bytes{1}));
  EXPECT_EQ(bytes(948, 1), (Bytes{0}));
  ConfigValues back = w;
  back.strUHFIF = "1";
  subPutConfigData(back, allOn(), w);
  EXPECT_EQ(bytes(948, 1), (Bytes{1}));
  EXPECT_EQ(bytes(1017, 1), (Bytes{3}));  // untouched radio type stays as loaded

  // Byte 937 holds the PIN times and the 30 MHz IF: the IF choice wins.
  ConfigValues pin = back;
  pin.strPINTime = "200";
  subPutConfigData(pin, allOn(), back);
  EXPECT_EQ(bytes(937, 1), (Bytes{1}));
}

TEST_F(IdentityCodec, ChannelNameOptionMovesTheSameWayFromEveryControl) {
  family("1");
  for (int i = 0; i < 400; ++i) image()[static_cast<size_t>(400 + i)] = static_cast<uint8_t>(i & 0x7F);
  for (int i = 0; i < 400; ++i) image()[static_cast<size_t>(1024 + i)] = 0x55;
  const Bytes channels1to50 = bytes(0, 400);
  const Bytes channels51to100 = bytes(400, 400);

  // Through the encoder (the yes/no list): names on.
  const ConfigValues was = subGetConfigData(allOn());
  ConfigValues v = was;
  v.strChannelNameOpt = "1";
  subPutConfigData(v, allOn(), was);
  EXPECT_EQ(bytes(0, 400), channels1to50);
  EXPECT_EQ(bytes(1024, 400), channels51to100);
  EXPECT_EQ(bytes(400, 400), Bytes(400, 0xFF));
  EXPECT_EQ(bytes(1424, 400), Bytes(400, 0xFF));
  EXPECT_EQ(image()[801] & 2, 2);
  EXPECT_EQ(modPublic.chanParaLastRow(), 199);

  // The same option again changes nothing.
  const Bytes on = image();
  subPutConfigData(v, allOn(), was);
  EXPECT_EQ(image(), on);

  // Names off: channels 51-100 come back, 101-200 are empty rows.
  subSwitchChannelNames(false);
  EXPECT_EQ(bytes(400, 400), channels51to100);
  for (int a = 1024; a < 1824; a += 4) ASSERT_EQ(bytes(a, 4), (Bytes{0xFF, 0x3F, 0x7F, 0x00})) << a;
  EXPECT_EQ(image()[801] & 2, 0);
  EXPECT_EQ(modPublic.chanParaLastRow(), 399);
  const Bytes off = image();
  subSwitchChannelNames(false);
  EXPECT_EQ(image(), off);

  // Family "2": only the bit.
  family("2");
  const Bytes b2 = image();
  const ConfigValues w2 = subGetConfigData(allOn());
  ConfigValues v2 = w2;
  v2.strChannelNameOpt = "1";
  subPutConfigData(v2, allOn(), w2);
  Bytes expect = b2;
  expect[801] |= 2;
  EXPECT_EQ(image(), expect);
}

TEST_F(IdentityCodec, EachOptionSwitchesBothWaysTouchingOnlyItsOwnBits) {
  struct Case {
    const char* family;
    int at;
    uint8_t start;
    std::string ConfigValues::*option;
    const char* first;  // the option's value after the first switch
    uint8_t afterFirst, afterSecond;
  } cases[] = {
      {"2", 801, 0xF9, &ConfigValues::strScramblerOpt, "1", 0xFD, 0xF9},
      {"2", 801, 0xFB, &ConfigValues::strChannelNameOpt, "0", 0xF9, 0xFB},
      {"1", 801, 0xF6, &ConfigValues::strScramblerOpt, "0", 0xF2, 0xF6},  // names stay on
      {"2", 856, 0xFF, &ConfigValues::strTXRef, "0", 0x00, 0x01},
      {"2", 948, 0x02, &ConfigValues::strUHFIF, "0", 0x00, 0x01},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.family) + " byte " + std::to_string(c.at));
    family(c.family);
    put(c.at, {c.start});
    const Bytes before = image();
    const ConfigValues was = subGetConfigData(allOn());
    ConfigValues v = was;
    v.*(c.option) = c.first;
    subPutConfigData(v, allOn(), was);
    Bytes expect = before;
    expect[static_cast<size_t>(c.at)] = c.afterFirst;
    EXPECT_EQ(image(), expect);
    ConfigValues back = v;
    back.*(c.option) = c.first == std::string("1") ? "0" : "1";
    subPutConfigData(back, allOn(), v);
    expect[static_cast<size_t>(c.at)] = c.afterSecond;
    EXPECT_EQ(image(), expect);
  }
}

TEST_F(IdentityCodec, FieldsInsideOtherFieldsStayOffWhateverTheMask) {
  // The portable's kill password and options lie in its channel records.
  family("0");
  put(1012, {0x21, 0x43, 7});
  put(801, {0x06});
  const Bytes portable = image();
  ConfigValues v = subGetConfigData(allOn());
  EXPECT_EQ(v.strKillPass, "");
  EXPECT_EQ(v.strChannelNameOpt, "0");
  EXPECT_EQ(v.strScramblerOpt, "0");
  ConfigValues edited = v;
  edited.strKillPass = "9999";
  edited.strKillPassTime = "1";
  edited.strChannelNameOpt = "1";
  edited.strScramblerOpt = "1";
  subPutConfigData(edited, allOn(), v);
  EXPECT_EQ(image(), portable);

  // The base station's PIN times share byte 937 with the 30 MHz IF.
  family("2");
  put(806, {0x21, 0x43, 0x65});
  put(937, {0});
  const Bytes base = image();
  v = subGetConfigData(allOn());
  EXPECT_EQ(v.strPIN, "");
  edited = v;
  edited.strPIN = "55";
  edited.strPINTime = "9";
  subPutConfigData(edited, allOn(), v);
  EXPECT_EQ(image(), base);
}

TEST_F(IdentityCodec, MainMenuRulesAndChannelArrays) {
  family("0");
  for (int code = 0; code < 16; ++code) {
    put(42, {static_cast<uint8_t>(0xF0 | code)});
    EXPECT_EQ(memoryEncodeAllowed(), code != 0 && code != 3 && code != 4) << code;
  }
  EXPECT_TRUE(channelNameAllowed());
  dimChannelArrays();
  EXPECT_EQ(modPublic.chanParaLastRow(), 509);
  EXPECT_EQ(modPublic.strChannelName.size(), 255u);
  EXPECT_EQ(modPublic.strMemoryEncodeName.size(), 16u);

  family("1");
  for (int code = 0; code < 8; ++code) {
    put(810, {static_cast<uint8_t>(0xF8 | code)});
    EXPECT_EQ(memoryEncodeAllowed(), code == 0 || code == 2) << code;
  }
  put(801, {0xFD});
  EXPECT_FALSE(channelNameAllowed());
  dimChannelArrays();
  EXPECT_EQ(modPublic.chanParaLastRow(), 399);
  EXPECT_EQ(modPublic.strChannelName.size(), 100u);
  put(801, {0x02});
  EXPECT_TRUE(channelNameAllowed());
  dimChannelArrays();
  EXPECT_EQ(modPublic.chanParaLastRow(), 199);

  family("2");
  dimChannelArrays();
  EXPECT_EQ(modPublic.chanParaLastRow(), 197);
  EXPECT_EQ(modPublic.strChannelName.size(), 99u);
}

TEST_F(IdentityCodec, PanelTextsOfThePortable) {
  family("0");
  modPublic.strCfgMask[0] = std::string("11011") + std::string(35, '0');
  put(14, {10});
  put(160, {0x21, 0x43, 0xFF, 3});
  put(232, {'S', 0, 'N', ' ', '9', ' ', ' ', ' '});
  put(42, {0x01});
  put(192, {0x21, 0x43, 0x65, 0x87, 0xA9, 0xCB, 0xED, 0xFF});
  put(66, {0x02});
  put(212, {0x21, 0xA3, 0xFF, 0xFF});
  put(79, {0x40});
  modPublic.bytRadioInfo = {'Z', 'R', '3', '1', '0', ' ', 'V', '1', '.', '0', '2', ' '};
  InformationPanel p = informationPanel();
  EXPECT_EQ(p.lblRadioName, "ZR310-40A  ");
  EXPECT_EQ(p.lblPin, "1234 / 3");
  EXPECT_EQ(p.lblSerialNo, "SN9");
  put(232, {'A', 'B', '1', '2', 0x07, 'X', 0x7F, 0x1F});
  EXPECT_EQ(informationPanel().lblSerialNo, "AB12 X  ");  // control bytes as blanks, as printed
  put(232, {'S', 0, 'N', ' ', '9', ' ', ' ', ' '});
  EXPECT_EQ(p.lblEncode, "5Tone");
  EXPECT_EQ(p.lblEncodeName, "123456789ABCDEF");
  EXPECT_EQ(p.lblDecode, "DTMF");
  EXPECT_EQ(p.lblDecodeName, "1230CCCC");
  EXPECT_EQ(p.lblSingleTime, "[S]");
  EXPECT_EQ(p.lblFirmware, "ZR310 V1.02 ");
  EXPECT_EQ(p.lblKillPass, "");
  EXPECT_EQ(p.lblChlName, "");
  EXPECT_FALSE(p.lineEnabled[3]);
  EXPECT_FALSE(p.lineEnabled[5]);
  EXPECT_TRUE(p.lineEnabled[2]);
  EXPECT_TRUE(p.lineEnabled[11]);

  put(42, {0x03});
  put(66, {0x01});
  put(79, {0x1F});
  modPublic.bytRadioInfo[1] = 0;
  p = informationPanel();
  EXPECT_EQ(p.lblEncode, "5Tone ANI");
  EXPECT_EQ(p.lblEncodeName, "");
  EXPECT_EQ(p.lblDecode, "5Tone");
  EXPECT_EQ(p.lblDecodeName, "123AFFFF");
  EXPECT_EQ(p.lblSingleTime, "");
  EXPECT_EQ(p.lblFirmware, "");
  put(42, {0x09});
  put(66, {0x05});
  p = informationPanel();
  EXPECT_EQ(p.lblEncode, "");
  EXPECT_EQ(p.lblDecode, "");  // no stale text from an earlier refresh
  EXPECT_EQ(p.lblDecodeName, "");

  // The PIN line follows the mask; a variant byte beyond the table names nothing.
  modPublic.strCfgMask[0] = std::string(40, '0');
  put(14, {40});
  p = informationPanel();
  EXPECT_FALSE(p.lineEnabled[2]);
  EXPECT_EQ(p.lblPin, "");
  EXPECT_EQ(p.lblSerialNo, "");
  EXPECT_EQ(p.lblRadioName, "");
}

TEST_F(IdentityCodec, PanelTextsOfTheMobileAndTheBaseStation) {
  family("1");
  put(806, {0x21, 0x43, 0xFF});
  put(937, {3});
  put(1012, {0x89, 0x67, 12});
  put(801, {0x06});
  put(810, {0x00});
  put(812, {0x21, 0x43, 0xF5, 0xFF});
  put(970, {0xFF, 0xFF, 0xFF, 0xFF});
  put(834, {0x03});
  put(830, {0x21, 0x43, 0x0B, 0xDC});
  put(847, {0x20});
  put(1016, {3, 1});
  InformationPanel p = informationPanel();
  EXPECT_EQ(p.lblRadioName, "ZR330-15B  ");
  EXPECT_EQ(p.lblPin, "1234 / 3");
  EXPECT_EQ(p.lblKillPass, "9876 / 12");
  EXPECT_EQ(p.lblChlName, "USE");
  EXPECT_EQ(p.lblDgiScrm, "USE");
  EXPECT_EQ(p.lblEncode, "5tone");
  EXPECT_EQ(p.lblEncodeName, "12345FFFFFFFFFF");
  EXPECT_EQ(p.lblDecode, "DTMF Decode");
  EXPECT_EQ(p.lblDecodeName, "1234*D#A");
  EXPECT_EQ(p.lblSingleTime, "[S]");
  EXPECT_FALSE(p.lineEnabled[11]);
  put(1017, {2});
  put(806, {0xFF, 0xFF, 0xFF});
  put(801, {0x00});
  put(834, {0x06});
  p = informationPanel();
  EXPECT_EQ(p.lblRadioName, "ZR320-15B  ");
  EXPECT_EQ(p.lblPin, "");
  EXPECT_EQ(p.lblChlName, "NON");
  EXPECT_EQ(p.lblDecode, "NON");
  EXPECT_EQ(p.lblDecodeName, "");

  family("2");
  put(806, {0x21, 0x43, 0xFF});
  put(992, {0x21, 0x43, 0});
  put(801, {0x06});
  put(810, {0x00});
  put(812, {0x21, 0x43, 0x65, 0x87});
  put(834, {0x02});
  put(830, {0x21, 0x43, 0x65, 0x87});
  p = informationPanel();
  EXPECT_EQ(p.lblRadioName, "ZR340/350-15B");
  EXPECT_EQ(p.lblPin, "");  // the PIN line is not offered on the base station
  EXPECT_FALSE(p.lineEnabled[2]);
  EXPECT_EQ(p.lblKillPass, "1234 / 0");
  EXPECT_EQ(p.lblChlName, "USE");
  EXPECT_EQ(p.lblDgiScrm, "");
  EXPECT_EQ(p.lblEncode, "5tone");
  EXPECT_EQ(p.lblEncodeName, "");
  EXPECT_EQ(p.lblDecode, "digital");
  EXPECT_EQ(p.lblDecodeName, "12345678");
  EXPECT_EQ(p.lblFirmware, "");
}

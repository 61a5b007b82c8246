#include "printtest.h"

#include "channel/chanpara.h"
#include "channel/freqcheck.h"
#include "channel/names.h"
#include "core/controldata.h"
#include "core/identity.h"
#include "core/modpublic.h"
#include "platform/base/strtable.h"
#include "platform/base/vbtext.h"

namespace printtest {

bool setUp(const std::string& family) {
  strtable::load("", "en");
  if (!blnGetControlData() || !setUpFamily(family)) return false;
  modPublic.strPrintTitle.clear();
  printing::setReportClock([](std::string& date, std::string& time) {
    date = "2026/01/02";
    time = "10:20:30";
  });
  return true;
}

void putBytes(int at, const std::vector<uint8_t>& bytes) {
  std::copy(bytes.begin(), bytes.end(), modPublic.bytRadioData.begin() + at);
}

void putText(int at, const std::string& text) { putBytes(at, std::vector<uint8_t>(text.begin(), text.end())); }

bool putChannels(const std::vector<Channel>& channels) {
  ChannelData data;
  float sngIF = 0;
  if (!channelModelIf(sngIF) || !blnChanIniSet(data, sngIF)) return false;
  const int family = modPublic.family();
  for (const Channel& c : channels) {
    for (int tx = 0; tx < 2; ++tx) {
      const std::string& mhz = tx ? c.tx : c.rx;
      if (mhz.empty()) continue;
      FrequencyEntry e;
      if (!blnCheckFrequency({family, tx == 0, mhz, "", "", data.dblIFOffset}, e)) return false;
      auto& row = modPublic.chanParaRows.at(static_cast<size_t>(2 * (c.number - 1) + tx));
      row = {e.prescaler, e.step, vb::Format(vb::Val(e.frequency), "####0.00000"),
             c.wn, tx ? "" : c.mode, tx ? "" : c.scan, tx ? c.power : "", tx ? c.txCtc : c.ctc, c.pmfm,
             tx ? c.txDcs : c.dcs, c.inv, tx ? "" : c.sh, c.sr};
    }
  }
  return blnPutChanPara(data);
}

namespace {
void putName(int index, const std::string& bytes) {
  const int family = modPublic.family();
  uint8_t* field = &modPublic.bytRadioData[static_cast<size_t>(names::nameOffset(family, index))];
  names::encodeName(field, "", names::fillByte(family));
  std::copy(bytes.begin(), bytes.end(), field);
}
}  // namespace

bool radioF0(int encodeFormat, int decodeFormat) {
  if (!setUp("0")) return false;
  putText(232, "AB12\aXYZ");                       // a control byte prints as a blank
  putBytes(160, {0x21, 0xA3, 0xF5});               // PIN 1 2 3 10 5
  putBytes(163, {3});
  auto& img = modPublic.bytRadioData;
  img[42] = static_cast<uint8_t>((img[42] & 0xF0) | encodeFormat);
  img[66] = static_cast<uint8_t>((img[66] & 0xF8) | decodeFormat);
  img[45] |= 1;                                    // fixed squelch
  putBytes(64, {0x4C, 0x4B});                      // killed
  putBytes(384, {0x21, 0x43, 0x65, 0x87, 0xA9, 0xCB, 0xED, 0x0F});
  putBytes(392, {0xA1});
  putText(512, "POLICE  ");
  putText(520, std::string("F\0IRE   ", 8));       // second byte 0: no name
  putText(528, "\x01MBULANC");
  putName(0, "BASE");
  putName(64, "REPEATER");
  putName(254, "LAST\x02");
  return putChannels({{1, "145.0125", "145.6125", "NRW", "ON", "LO", "88.5", "", "", "1", "1", "FM"},
                      {2, "", "146.00000"},
                      {25, "150.00000", "150.00000", "WID", "OFF", "HI", "", "023", "1", "", "", "PM"},
                      {255, "173.99375", "173.99375"}});
}

bool radioF1(bool zr330, bool names, int encodeFormat, int decodeFormat) {
  if (!setUp("1")) return false;
  auto& img = modPublic.bytRadioData;
  img[1017] = zr330 ? 1 : 2;
  if (names) subSwitchChannelNames(true);
  img[801] = static_cast<uint8_t>((img[801] & ~1) | 4);  // variable squelch, scrambler
  putText(2038, "RB-7 01 ");
  putBytes(806, {0x34, 0x12, 0xFF});
  putBytes(1012, {0x21, 0x43});
  putBytes(1014, {5});
  img[810] = static_cast<uint8_t>((img[810] & 0xF8) | encodeFormat);
  img[834] = static_cast<uint8_t>((img[834] & 0xF8) | decodeFormat);
  putBytes(854, {0xA1, 0x32});
  putBytes(862, {0x00, 0x11, 0xEE});
  img[849] = static_cast<uint8_t>((img[849] & 0x0F) | 0xB0);  // not killed
  if (names) {
    putName(0, "NORTH");
    putName(25, "SOUTH");
    putName(99, "END");
  }
  return putChannels({{1, "150.00000", "150.50000", "NRW", "ON", "LO", "67.0", "", "", "1", "1"},
                      {names ? 100 : 200, "160.00000", "", "", "OFF"}});
}

bool radioF2(bool names, int encodeFormat, int decodeFormat) {
  if (!setUp("2")) return false;
  auto& img = modPublic.bytRadioData;
  img[1016] = 5;
  if (names) img[801] |= 2;
  putText(2038, "BS340-01");
  putBytes(992, {0x90, 0xF8});  // kill password 0 9 8
  putBytes(994, {0});
  img[856] = 1;
  img[948] = 2;
  img[810] = static_cast<uint8_t>((img[810] & 0xF8) | encodeFormat);
  img[834] = static_cast<uint8_t>((img[834] & 0xF8) | decodeFormat);
  img[849] = static_cast<uint8_t>((img[849] & 0x0F) | 0xA0);  // killed
  if (names) {
    putName(0, "HQ");
    putName(98, "Z-99");
  }
  Channel one{1, "140.00000", "140.00000", "NRW", "ON", "LO", "100.0", "", "", "", "1", "FM", "Dupl"};
  one.txCtc = "L67.0";
  Channel last{99, "155.00000", "154.00000", "WID", "OFF", "HI", "", "023", "1", "", "", "PM", "Simp"};
  last.txDcs = "025";
  return putChannels({one, last});
}

bool runReport(bool allData, const std::string& path) {
  printing::clsPrintReport* report = printing::reportFor(modPublic.strRadioFamily);
  if (!report) return false;
  return allData ? report->blnPrintAllData(path, 1) : report->blnPrintChannelData(path, 1);
}

}  // namespace printtest

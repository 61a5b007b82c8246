#pragma once
// A memory image with every channel of the current family in use, encoded by
// the channel byte logic: RX rows 12.5 kHz apart upwards from `baseHz`, TX
// rows 5 MHz above, options, tones and flags varied from row to row.
#include <cstdint>
#include <vector>

#include "channel/chanpara.h"
#include "channel/freqcheck.h"
#include "core/identity.h"
#include "core/modpublic.h"

inline bool fillAllChannels(int64_t baseHz) {
  ChannelData d;
  float ifMHz = 0;
  if (!channelModelIf(ifMHz) || !blnChanIniSet(d, ifMHz)) return false;
  const int f = modPublic.family();
  for (int r = 0; r <= d.intMaxRow; ++r) {
    const int64_t hz = baseHz + 12'500 * (r / 2) + (r % 2 ? 5'000'000 : 0);
    FrequencyEntry e;
    if (!blnCheckFrequency({f, r % 2 == 0, freq::plainMhzText(hz), "", "", d.dblIFOffset}, e)) return false;
    auto& c = modPublic.chanParaRows[static_cast<size_t>(r)];
    c.fill("");
    c[0] = e.prescaler;
    c[1] = e.step;
    c[2] = freq::mhzText(hz * 1000);
    c[3] = f == 2 && r % 2 ? "" : "NRW";
    if (f == 2 && r % 2 == 0) c[4] = "Dupl";
    if (r % 2 == 0) c[5] = "ON";
    else c[6] = "LO";
    if (r % 3 == 0) c[7] = d.strCtcTable[static_cast<size_t>(1 + r % 55)];
    if (r % 3 == 1) {
      c[9] = d.strDcsTable[static_cast<size_t>(1 + r % 80)];
      c[10] = "1";
    }
    if (f != 1) c[8] = "FM";
    if (f != 2 && r % 2 == 0) c[11] = "1";
    c[12] = r % 4 == 0 ? "1" : "";
  }
  std::vector<int> failed;
  if (!blnPutChanPara(d, &failed)) return false;
  dimChannelArrays();  // the grid as the main menu leaves it
  return true;
}

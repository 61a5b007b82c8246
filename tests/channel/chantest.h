#pragma once
// A shared model set up for one family, with the channel page's data side.
#include <gtest/gtest.h>

#include <string>

#include "channel/chanpara.h"
#include "core/modeltables.h"
#include "core/modpublic.h"
#include "platform/base/strtable.h"
#include "support/testsupport.h"

class ChannelTest : public ::testing::Test {
 protected:
  TempDir dir;
  ChannelData data;

  // Family "0", "1" or "2" with model code `model`; `nameOption` sets image
  // byte 801 bit 1 (family "1": 100 channels).
  void setUpChannels(const std::string& family, int model, bool nameOption = false) {
    freshModel(dir);
    strtable::load("", "en");
    modPublic.strRadioFamily = family;
    subSetRadioTable();
    modPublic.dimImage();
    modPublic.bytRadioData[family == "0" ? 14 : 1016] = static_cast<uint8_t>(model);
    if (nameOption) modPublic.bytRadioData[801] |= 2;
    float ifMHz = 0;
    ASSERT_TRUE(channelModelIf(ifMHz));
    std::string failed;
    ASSERT_TRUE(blnChanIniSet(data, ifMHz, &failed)) << failed;
  }

  std::array<std::string, kChanParaColumns>& row(int r) { return modPublic.chanParaRows.at(static_cast<size_t>(r)); }
  std::vector<uint8_t>& image() { return modPublic.bytRadioData; }
  std::vector<uint8_t> bytes(size_t at, size_t n) {
    return std::vector<uint8_t>(image().begin() + static_cast<long>(at), image().begin() + static_cast<long>(at + n));
  }
  void put(size_t at, std::initializer_list<uint8_t> b) { std::copy(b.begin(), b.end(), image().begin() + static_cast<long>(at)); }
  // Every grid row emptied, as after deleting all channels.
  void clearGrid() {
    for (auto& r : modPublic.chanParaRows) r.fill("");
  }
};

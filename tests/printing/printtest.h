#pragma once
// Authored radios for the report tests: each family's blank image with the
// identity, formats, channels, memory-encode rows and names the reports
// print, a fixed clock, and the reports run into text files.
#include <string>
#include <vector>

#include "printing/reports.h"
#include "support/testsupport.h"

namespace printtest {

// One channel as the channel editor would hold it: RX and TX frequency
// (MHz text, "" for none) and the option cells of both rows.
struct Channel {
  int number;
  std::string rx, tx;
  std::string wn = "", scan = "", power = "", ctc = "", dcs = "", inv = "", sh = "", sr = "", pmfm = "", mode = "";
  std::string txCtc = "", txDcs = "";
};

// Sets up `family` from its initial image, with control data and a fixed
// clock ("2026/01/02", "10:20:30").
bool setUp(const std::string& family);
// Writes channels through the channel codec, as the editor does on closing.
bool putChannels(const std::vector<Channel>& channels);
void putBytes(int at, const std::vector<uint8_t>& bytes);
void putText(int at, const std::string& text);

// The authored radios of the golden files.
bool radioF0(int encodeFormat, int decodeFormat);
bool radioF1(bool zr330, bool names, int encodeFormat, int decodeFormat);
bool radioF2(bool names, int encodeFormat, int decodeFormat);

// Runs a report of the current family into `path`; its result.
bool runReport(bool allData, const std::string& path);

}  // namespace printtest

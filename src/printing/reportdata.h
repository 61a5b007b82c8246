#pragma once
// What the reports print besides their own fixed texts, all read from the
// memory image without changing it: the channel grid decoded apart from the
// user's working grid, the channel names, image bytes as text, the date and
// time of the heading.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/modpublic.h"

namespace printing {

struct ChannelGrid {
  std::vector<std::array<std::string, kChanParaColumns>> rows;  // two per channel, RX then TX
  std::vector<std::string> no;                                  // "001".. on RX rows
  std::vector<std::string> txRx;                                // "RX" / "TX"
};

// Decodes the shared image's channels into `grid`. The working grid of the
// channel editor is left exactly as it was. False, with the file's name,
// when a tone table of the family cannot be read.
bool decodeChannelGrid(ChannelGrid& grid, std::string& failedFile);

// Bytes as characters of the ANSI code page; a control byte, which no
// printer or text viewer shows as anything sensible, becomes a blank.
std::string printableText(const uint8_t* bytes, std::size_t n);
// The family's channel names as the image holds them, control bytes as blanks.
std::vector<std::string> printableNames(const std::vector<uint8_t>& image, int family);

// The date (short form) and time of the heading, in the user's locale.
// Tests fix them.
using ReportClock = std::function<void(std::string& date, std::string& time)>;
void setReportClock(ReportClock clock);
void reportDateTime(std::string& date, std::string& time);

}  // namespace printing

#pragma once
// Where the channel rows lie in each family's image, and whether a channel
// holds data. Every test of "is this channel in use" goes through here.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace chanrows {

constexpr int kF0RecordBase = 768;  // family "0": 24-byte record per channel
constexpr int kF0RecordSize = 24;
constexpr int kF0Channels = 255;

// Last grid row (two rows per channel) of the current image's layout.
int lastGridRow(int family, const std::vector<uint8_t>& image);
// Split row of families "1"/"2": rows below it start at 4k, the others at 1024 + 4(k - split).
int splitRow(int family, const std::vector<uint8_t>& image);
// First byte of a family-"1"/"2" grid row.
int rowOffset(int family, const std::vector<uint8_t>& image, int row);
// First byte of a family-"0" channel record (channel 1..255).
inline int recordOffset(int channel) { return kF0RecordBase + kF0RecordSize * (channel - 1); }

// Family "0": record bytes 0 and 1 not both zero.
bool f0ChannelUsed(const std::vector<uint8_t>& image, int channel);
// A row (RX or TX) that is not its family's empty-row pattern: family "0"
// bytes 0 and 1 both 00, family "1" FF 3F, family "2" FF 3F or F9 3F.
bool rowUsed(int family, const uint8_t* row);
// Channel (1-based) of the current family holds data: family "0" by its
// record, families "1"/"2" by its RX row.
bool channelUsed(int family, const std::vector<uint8_t>& image, int channel);

}  // namespace chanrows

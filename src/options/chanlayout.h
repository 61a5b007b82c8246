#pragma once
// The channel layout the option pages (miscellaneous, scan, priority channel)
// share: how many channels the family has, where a channel's record lies, and
// whether a channel holds data or scans. A channel number stored in a
// setting counts as a channel only inside 1..lastChannel; anything else is
// "none", so no page ever reads outside the family's records.
#include <cstdint>
#include <vector>

namespace options {

struct ChanLayout {
  int family = -1;       // 0, 1 or 2; -1 for no family (no channels)
  int lastChannel = 0;   // 255; 200, or 100 with the channel-name option; 99
  int split = 0;         // last channel of the first record block: 256 (none); 100 or 50; 100
  bool nameOption = false;  // family "1": image byte 801 bit 1

  // 1..lastChannel.
  bool isChannel(int channel) const { return channel >= 1 && channel <= lastChannel; }
  // First image byte of the channel's record (family "0": its 24-byte
  // record; families "1"/"2": its RX row), -1 when `channel` is no channel.
  int recordAddress(int channel) const;
  // The channel holds data, by the one predicate every page uses (an empty
  // record or the family's empty-row pattern does not). False for no channel.
  bool holdsData(const std::vector<uint8_t>& image, int channel) const;
  // The channel's scan flag: family "0" record byte 4 bit 5, families "1"/"2"
  // RX row byte 1 bit 6. False for no channel.
  bool scanFlag(const std::vector<uint8_t>& image, int channel) const;
  // The byte a channel setting stores for "none": 0 (family "0") or 0xFF.
  uint8_t noneByte() const { return family == 0 ? 0 : 0xFF; }
};

// The layout of `family` for this image (the channel-name option is read
// from it). A family outside 0..2 has no channels.
ChanLayout chanLayout(int family, const std::vector<uint8_t>& image);
// The layout of the current family and image of the shared model.
ChanLayout chanLayout();

}  // namespace options

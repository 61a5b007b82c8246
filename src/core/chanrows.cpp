#include "core/chanrows.h"

namespace chanrows {

static bool nameOption(const std::vector<uint8_t>& image) { return image.size() > 801 && (image[801] & 2) != 0; }

int lastGridRow(int family, const std::vector<uint8_t>& image) {
  switch (family) {
    case 0: return 2 * kF0Channels - 1;
    case 1: return nameOption(image) ? 199 : 399;
    case 2: return 197;
  }
  return -1;
}

int splitRow(int family, const std::vector<uint8_t>& image) {
  if (family == 1) return nameOption(image) ? 100 : 200;
  return 200;
}

int rowOffset(int family, const std::vector<uint8_t>& image, int row) {
  const int split = splitRow(family, image);
  return row < split ? 4 * row : 1024 + 4 * (row - split);
}

bool f0ChannelUsed(const std::vector<uint8_t>& image, int channel) {
  if (channel < 1 || channel > kF0Channels) return false;
  const size_t at = static_cast<size_t>(recordOffset(channel));
  if (image.size() < at + 2) return false;
  return rowUsed(0, &image[at]);
}

bool rowUsed(int family, const uint8_t* row) {
  if (family == 0) return row[0] != 0 || row[1] != 0;
  if (row[1] != 0x3F) return true;
  if (row[0] == 0xFF) return false;
  return !(family == 2 && row[0] == 0xF9);
}

bool channelUsed(int family, const std::vector<uint8_t>& image, int channel) {
  if (family == 0) return f0ChannelUsed(image, channel);
  const int row = 2 * (channel - 1);
  if (channel < 1 || row > lastGridRow(family, image)) return false;
  const size_t at = static_cast<size_t>(rowOffset(family, image, row));
  if (image.size() < at + 4) return false;
  return rowUsed(family, &image[at]);
}

}  // namespace chanrows

#include "options/chanlayout.h"

#include "core/chanrows.h"
#include "core/modpublic.h"

namespace options {

ChanLayout chanLayout(int family, const std::vector<uint8_t>& image) {
  ChanLayout l;
  switch (family) {
    case 0:
      l.family = 0;
      l.lastChannel = chanrows::kF0Channels;
      l.split = chanrows::kF0Channels + 1;
      break;
    case 1:
      l.family = 1;
      l.nameOption = image.size() > 801 && (image[801] & 0x02) != 0;
      l.lastChannel = l.nameOption ? 100 : 200;
      l.split = l.nameOption ? 50 : 100;
      break;
    case 2:
      l.family = 2;
      l.lastChannel = 99;
      l.split = 100;
      break;
    default: break;
  }
  return l;
}

ChanLayout chanLayout() { return chanLayout(modPublic.family(), modPublic.bytRadioData); }

int ChanLayout::recordAddress(int channel) const {
  if (!isChannel(channel)) return -1;
  if (family == 0) return chanrows::recordOffset(channel);
  return channel <= split ? 8 * (channel - 1) : 1024 + 8 * (channel - split - 1);
}

bool ChanLayout::holdsData(const std::vector<uint8_t>& image, int channel) const {
  return isChannel(channel) && chanrows::channelUsed(family, image, channel);
}

bool ChanLayout::scanFlag(const std::vector<uint8_t>& image, int channel) const {
  const int at = recordAddress(channel);
  if (at < 0) return false;
  const size_t flagByte = static_cast<size_t>(at) + (family == 0 ? 4 : 1);
  if (flagByte >= image.size()) return false;
  return (image[flagByte] & (family == 0 ? 0x20 : 0x40)) != 0;
}

}  // namespace options

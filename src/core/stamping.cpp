#include "core/stamping.h"

#include <algorithm>

#include "core/chanrows.h"
#include "core/modpublic.h"
#include "platform/base/appinfo.h"

std::string identityText() {
  std::string t = std::string(app::kTitle) + " " + app::versionText();
  t.resize(12, ' ');
  return t;
}

void subPrepareImage() {
  ModPublic& m = modPublic;
  auto& d = m.bytRadioData;
  if (d.size() < static_cast<size_t>(kImageSize)) return;
  const std::string id = identityText();
  const size_t base = m.strRadioFamily == "0" ? 2 : 2016;
  for (size_t i = 0; i < 12; ++i) d[base + i] = static_cast<uint8_t>(id[i]);
  if (m.strRadioFamily != "0") return;

  std::fill(d.begin() + 256, d.begin() + 384, 0);
  int highest = 0;
  auto setBit = [&d](int bitmapBase, int c) { d[static_cast<size_t>(bitmapBase + c / 8)] |= static_cast<uint8_t>(1u << (c % 8)); };
  for (int c = 1; c <= chanrows::kF0Channels; ++c) {
    if (!chanrows::f0ChannelUsed(d, c)) continue;
    const size_t r = static_cast<size_t>(chanrows::recordOffset(c));
    highest = c;
    setBit(256, c);
    if (d[r + 4] & 0x20) setBit(288, c);
    if (d[r + 8] != 0 || d[r + 9] != 0) setBit(320, c);
    if (d[r + 16] != 0 && d[r + 17] != 0) setBit(352, c);
  }
  d[32] = static_cast<uint8_t>(highest);

  std::fill(d.begin() + 252, d.begin() + 256, 0);
  for (int row = 1; row <= 16; ++row)
    if (d[static_cast<size_t>(384 + 8 * (row - 1))] != 255) d[static_cast<size_t>(252 + row / 8)] |= static_cast<uint8_t>(1u << (row % 8));

  for (size_t k = 34; k <= 39; ++k) {
    const int v = d[k];
    if (v != 0 && !chanrows::f0ChannelUsed(d, v)) d[k] = 0;
  }
}

void subClearBaseTail() {
  ModPublic& m = modPublic;
  if (m.bytRadioData.size() < static_cast<size_t>(kImageSize) || m.bytRadioBase.size() < static_cast<size_t>(kImageSize)) return;
  const int h = m.bytRadioData[32];
  const int start = 24 * h + 767;
  if (start < kImageLast) std::fill(m.bytRadioBase.begin() + start, m.bytRadioBase.end(), 0);
}

bool blnSetTopRow() {
  ModPublic& m = modPublic;
  const int family = m.family();
  if (family < 0) return false;
  const int last = chanrows::lastGridRow(family, m.bytRadioData);
  int found = -1;
  if (family == 0) {
    for (int c = 1; c <= chanrows::kF0Channels && found < 0; ++c)
      if (chanrows::f0ChannelUsed(m.bytRadioData, c)) found = 2 * (c - 1);
  } else {
    for (int k = 0; k <= last && found < 0; ++k) {
      const size_t at = static_cast<size_t>(chanrows::rowOffset(family, m.bytRadioData, k));
      if (at + 4 <= m.bytRadioData.size() && chanrows::rowUsed(family, &m.bytRadioData[at])) found = k & ~1;
    }
  }
  if (found < 0) return false;
  m.intTopRow = static_cast<int16_t>(std::min(found, last - 15));
  return true;
}

void subSetTopRowAfterLoad() {
  if (!blnSetTopRow()) modPublic.intTopRow = 0;
}

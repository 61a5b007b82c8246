#include "linktest.h"

#include <filesystem>

#include "platform/base/portmap.h"

std::vector<uint8_t> pattern(size_t size, unsigned seed) {
  std::vector<uint8_t> v(size);
  uint32_t x = seed * 2654435761u + 12345u;
  for (auto& b : v) {
    x = x * 1103515245u + 12345u;
    b = static_cast<uint8_t>(x >> 16);
  }
  return v;
}

void LinkTest::setUpFamily(int family, uint8_t imageByte, unsigned seed) {
  freshModel(dir);
  portmap::setConfigFile(dir.file("ports.conf"));
  static const int32_t last[] = {6887, 2047, 2559};
  modPublic.strRadioFamily = std::to_string(family);
  modPublic.lngDataLast = last[family];
  modPublic.dimImage();
  std::fill(modPublic.bytRadioData.begin(), modPublic.bytRadioData.end(), imageByte);
  modPublic.bytRadioBase = modPublic.bytRadioData;
  radio = std::make_unique<sim::Radio>(family, pattern(static_cast<size_t>(last[family]) + 1, seed));
  line.reset();
  line.setRadio(radio.get());
  engine.onProgress = nullptr;
  engine.trace.fileName = dir.file("velmora.out");
  std::filesystem::remove(engine.trace.fileName);
  ASSERT_EQ(engine.subCommOpen(), radiolink::kStateOk);
}

std::vector<uint8_t> LinkTest::sentFrom(size_t from) const {
  return std::vector<uint8_t>(line.sent.begin() + static_cast<long>(from), line.sent.end());
}

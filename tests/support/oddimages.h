#pragma once
// Images no encoder of ours wrote: every byte at random (seeded), all bits
// clear and all bits set, for the page tests that open and close a page
// without edits and expect the image back byte for byte.
#include <cstdint>
#include <random>
#include <vector>

inline std::vector<std::vector<uint8_t>> oddImages(const std::vector<uint8_t>& model, unsigned seed, int randomOnes = 4) {
  std::vector<std::vector<uint8_t>> images;
  images.emplace_back(model.size(), 0x00);
  images.emplace_back(model.size(), 0xFF);
  std::mt19937 random(seed);
  for (int n = 0; n < randomOnes; ++n) {
    std::vector<uint8_t> b(model.size());
    for (auto& x : b) x = static_cast<uint8_t>(random());
    images.push_back(b);
  }
  return images;
}

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "imagegen.h"
#include "platform/base/appinfo.h"
#include "support/testsupport.h"
#include "wavgen.h"

namespace {
std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
const std::string kSource = VELMORA_SOURCE_DIR;
}  // namespace

TEST(AuthoredData, InitialImagesMatchTheirFieldList) {
  std::string error;
  const auto images = imagegen::build(slurp(kSource + "/tools/initimages/initial-images.txt"), error);
  ASSERT_EQ(images.size(), 3u) << error;
  for (const auto& [code, bytes] : images) {
    EXPECT_EQ(readFileBytes(kSource + "/resources/" + imagegen::fileName(code)), bytes)
        << code << ": run the regenerate-initial-images target and commit the result";
    EXPECT_EQ(readFileBytes(app::path() + "/" + imagegen::fileName(code)), bytes) << "program folder copy";
  }
  // What the blank images must hold whatever the list says.
  const auto& p1 = images.at("P1RA");
  const auto& p2 = images.at("P2RB");
  const auto& p3 = images.at("P3RC");
  EXPECT_EQ(p1.size(), 6888u);
  EXPECT_EQ(p2.size(), 2048u);
  EXPECT_EQ(p3.size(), 2560u);
  EXPECT_EQ(p1[32], 0);
  for (int r = 0; r < 16; ++r) EXPECT_EQ(p1[static_cast<size_t>(384 + 8 * r)], 0xFF);
  EXPECT_EQ(p2[1017], 2);
  EXPECT_EQ(p2[810] & 7, 7);
  EXPECT_EQ(p3[834] & 7, 7);
  uint32_t sum = 0;
  for (size_t k = 0; k < 1279; ++k) sum += p3[2 * k] + 256u * p3[2 * k + 1];
  EXPECT_EQ(p3[2558], sum & 0xFF);
  EXPECT_EQ(p3[2559], (sum >> 8) & 0xFF);
}

TEST(AuthoredData, FieldListErrorsAreReported) {
  std::string error;
  EXPECT_TRUE(imagegen::build("fill P9XX 0 1 00\n", error).empty());
  EXPECT_EQ(error, "line 1: unknown family 'P9XX'");
  EXPECT_TRUE(imagegen::build("# ok\nfill P1RA 0 6888 00\n", error).empty());
  EXPECT_EQ(error, "line 2: bad range");
}

TEST(AuthoredData, WavesMatchTheirNoteList) {
  std::string error;
  const auto waves = wavgen::build(slurp(kSource + "/tools/wavgen/sounds.txt"), error);
  ASSERT_EQ(waves.size(), 2u) << error;
  for (const auto& [name, bytes] : waves) {
    const auto committed = readFileBytes(kSource + "/resources/media/" + name);
    ASSERT_EQ(committed.size(), bytes.size()) << name;
    ASSERT_EQ(std::vector<uint8_t>(committed.begin(), committed.begin() + 44),
              std::vector<uint8_t>(bytes.begin(), bytes.begin() + 44)) << name;
    // Samples may differ by one step where another maths library rounds differently.
    for (size_t i = 44; i + 1 < bytes.size(); i += 2) {
      const int a = static_cast<int16_t>(committed[i] | committed[i + 1] << 8);
      const int b = static_cast<int16_t>(bytes[i] | bytes[i + 1] << 8);
      ASSERT_LE(std::abs(a - b), 1) << name << " sample " << (i - 44) / 2;
    }
  }
}

// Every report of every family into a text file, byte for byte against the
// golden files, from authored radios and a fixed clock; the image and the
// channel editor's working grid are the same before and after.
// VELMORA_UPDATE_GOLDEN=1 rewrites the golden files from the reports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>

#include "core/modpublic.h"
#include "printtest.h"
#include "support/testsupport.h"

namespace {

struct GoldenCase {
  const char* name;
  std::function<bool()> radio;
  bool allData;
};
void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class Golden : public ::testing::TestWithParam<GoldenCase> {
 protected:
  void SetUp() override { freshModel(dir); }
  TempDir dir;
  RecordingMessages msgs;
};

}  // namespace

TEST_P(Golden, ReportMatchesItsGoldenFileAndChangesNothing) {
  const GoldenCase& c = GetParam();
  ASSERT_TRUE(c.radio());
  // The user's working grid holds an edit the image does not have yet.
  modPublic.dimChanPara(3);
  modPublic.strChanPara(0, 2) = "999.99999";
  const auto gridBefore = modPublic.chanParaRows;
  const auto imageBefore = modPublic.bytRadioData;
  const std::string path = dir.file(std::string(c.name) + ".txt");

  ASSERT_TRUE(printtest::runReport(c.allData, path));
  EXPECT_TRUE(msgs.boxes.empty());
  EXPECT_EQ(modPublic.bytRadioData, imageBefore);
  EXPECT_EQ(modPublic.chanParaRows, gridBefore);

  const std::string golden = std::string(PRINTING_GOLDEN_DIR) + "/" + c.name + ".txt";
  const std::string actual = readAll(path);
  if (std::getenv("VELMORA_UPDATE_GOLDEN")) {
    std::ofstream(golden, std::ios::binary) << actual;
    return;
  }
  EXPECT_EQ(actual, readAll(golden)) << "report " << path << " differs from " << golden;
}

INSTANTIATE_TEST_SUITE_P(
    Reports, Golden,
    ::testing::Values(
        GoldenCase{"zr310-channel", [] { return printtest::radioF0(1, 1); }, false},
        GoldenCase{"zr310-all-5tone", [] { return printtest::radioF0(1, 1); }, true},
        GoldenCase{"zr310-all-dtmf", [] { return printtest::radioF0(2, 2); }, true},
        GoldenCase{"zr310-all-ani-nodecode", [] { return printtest::radioF0(3, 0); }, true},
        GoldenCase{"zr330-channel", [] { return printtest::radioF1(true, true, 4, 0); }, false},
        GoldenCase{"zr330-all-names-5toneani", [] { return printtest::radioF1(true, true, 4, 0); }, true},
        GoldenCase{"zr320-all-dtmf", [] { return printtest::radioF1(false, false, 2, 3); }, true},
        GoldenCase{"zr320-all-5tone", [] { return printtest::radioF1(false, false, 0, 4); }, true},
        GoldenCase{"zr340-channel", [] { return printtest::radioF2(false, 0, 3); }, false},
        GoldenCase{"zr340-all-5tone", [] { return printtest::radioF2(true, 0, 3); }, true},
        GoldenCase{"zr340-all-dtmf", [] { return printtest::radioF2(false, 2, 0); }, true}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) {
      std::string n = info.param.name;
      for (char& ch : n)
        if (ch == '-') ch = '_';
      return n;
    });

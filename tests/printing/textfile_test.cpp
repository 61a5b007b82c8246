// Report text files beyond the golden English ones: bytes of the image that
// are control characters.
#include <gtest/gtest.h>

#include <fstream>

#include "core/modpublic.h"
#include "printtest.h"
#include "support/testsupport.h"

namespace {

std::vector<std::string> fileLines(const std::string& path) {
  const std::vector<uint8_t> bytes = readFileBytes(path);
  const std::string text(bytes.begin(), bytes.end());
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back(text.substr(at) + "<no line end>");
      break;
    }
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

// The lines of a section: after the line that starts with `head`, up to the
// next blank line.
std::vector<std::string> section(const std::vector<std::string>& lines, const std::string& head) {
  std::vector<std::string> out;
  bool in = false;
  for (const std::string& l : lines) {
    if (in && l.find_first_not_of(' ') == std::string::npos) break;
    if (in) out.push_back(l);
    if (l.rfind(head, 0) == 0) in = true;
  }
  return out;
}

}  // namespace

TEST(ReportTextFile, ControlBytesOfAStoredTextNeitherBreakNorDirtyItsLine) {
  TempDir dir;
  RecordingMessages msgs;
  freshModel(dir);
  ASSERT_TRUE(printtest::radioF0(1, 1));
  // A starting message whose bytes hold a line end, a NUL and a tab.
  printtest::putBytes(48, {'A', 'B', 0x0D, 0x0A, 'C', 'D', 0x00, 0x09, 'E', 'F', ' ', ' '});
  const std::string path = dir.file("all.txt");
  ASSERT_TRUE(printtest::runReport(true, path));

  // The report is the golden one but for the message, whose control bytes
  // print as blanks on its own line.
  std::vector<std::string> expected = fileLines(std::string(PRINTING_GOLDEN_DIR) + "/zr310-all-5tone.txt");
  bool replaced = false;
  for (std::string& l : expected)
    if (l == "    13 Starting Message     []") {
      l = "    13 Starting Message     [AB  CD  EF  ]";
      replaced = true;
    }
  ASSERT_TRUE(replaced);
  EXPECT_EQ(fileLines(path), expected);
}

// Report text files beyond the golden English ones: bytes of the image that
// are control characters, and Japanese captions in the Japanese code page.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "channel/names.h"
#include "core/modpublic.h"
#include "platform/base/strtable.h"
#include "printtest.h"
#include "support/disklimit.h"
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

// Columns of the single-byte `c` in a Shift_JIS line (a trail byte of a
// Japanese character may have the same value).
std::vector<std::size_t> columnsOf(const std::string& line, char c) {
  std::vector<std::size_t> at;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const auto b = static_cast<uint8_t>(line[i]);
    if ((b >= 0x81 && b <= 0x9F) || b >= 0xE0) ++i;
    else if (line[i] == c) at.push_back(i);
  }
  return at;
}

}  // namespace

TEST(ReportTextFile, ControlBytesOfAStoredTextNeitherBreakNorDirtyItsLine) {
  TempDir dir;
  RecordingMessages msgs;
  freshModel(dir);
  ASSERT_TRUE(printtest::radioF0(1, 1));
  // A starting message whose bytes hold a line end, a NUL, a tab, a DEL and
  // a unit separator; the same two bytes in the serial number, a
  // memory-encode name and a channel name.
  printtest::putBytes(48, {'A', 'B', 0x0D, 0x0A, 'C', 'D', 0x00, 0x09, 'E', 0x7F, 0x1F, 'F'});
  printtest::putBytes(232, {'A', 'B', 0x7F, '2', 0x1F, 'X', 'Y', 'Z'});
  printtest::putBytes(512, {'P', 'O', 0x7F, 'I', 'C', 'E', 0x1F, ' '});
  printtest::putBytes(names::nameOffset(0, 0), {'B', 0x7F, 'S', 0x1F});
  const std::string path = dir.file("all.txt");
  ASSERT_TRUE(printtest::runReport(true, path));

  // The report is the golden one but for these texts, whose control bytes
  // print as blanks on their own lines.
  std::vector<std::string> expected = fileLines(std::string(PRINTING_GOLDEN_DIR) + "/zr310-all-5tone.txt");
  const std::vector<std::pair<std::string, std::string>> changes = {
      {"    13 Starting Message     []", "    13 Starting Message     [AB  CD  E  F]"},
      {"   SEL No=AB12 XYZ  PIN = 123105 / 3  IF = + 48.500MHz", "   SEL No=AB 2 XYZ  PIN = 123105 / 3  IF = + 48.500MHz"},
      {"[POLICE  ]", "[PO ICE  ]"},
      {"      1   BASE  ", "      1   B S   "}};
  for (const auto& [from, to] : changes) {
    bool replaced = false;
    for (std::string& l : expected) {
      const std::size_t at = l.find(from);
      if (at == std::string::npos) continue;
      l.replace(at, from.size(), to);
      replaced = true;
    }
    EXPECT_TRUE(replaced) << from;
  }
  EXPECT_EQ(fileLines(path), expected);
}

TEST(ReportTextFile, JapaneseValuesStandInOneColumnOfTheShiftJisFile) {
  TempDir dir;
  RecordingMessages msgs;
  freshModel(dir);
  ASSERT_TRUE(printtest::radioF1(false, false, 2, 3));  // ZR320, DTMF both ways
  strtable::load("", "ja");
  // A title with a letter Shift_JIS lacks beside one it has.
  modPublic.strPrintTitle = "M\xC3\xBCller \xE6\xA7\x98";
  const std::string path = dir.file("all.txt");
  const bool done = printtest::runReport(true, path);
  strtable::load("", "en");
  ASSERT_TRUE(done);
  const std::vector<std::string> lines = fileLines(path);
  ASSERT_GT(lines.size(), 2u);

  // The missing letter becomes "?", the rest of the line keeps the code page.
  const std::string title = lines[1];
  EXPECT_EQ(title.substr(title.size() - 15), "<< M?ller \x97\x6C >>") << title;

  // Every miscellaneous value starts 25 columns after its item (column 3):
  // a Japanese character takes two columns of the file, as it takes two
  // bytes.
  const std::vector<std::string> misc = section(lines, "   < ");
  ASSERT_EQ(misc.size(), 18u);
  for (const std::string& l : misc) {
    const std::vector<std::size_t> at = columnsOf(l, '[');
    if (!at.empty()) {
      EXPECT_EQ(at.front(), 28u) << l;
    }
  }

  // A scan caption longer than its room ("プログラムスキャン P-ch LOW")
  // keeps a blank before its value.
  const std::vector<std::string> scan = section(lines, "   < Scan Set Menu >");
  ASSERT_GE(scan.size(), 8u);
  for (const std::string& l : scan) {
    const std::vector<std::size_t> at = columnsOf(l, '[');
    ASSERT_EQ(at.size(), 1u) << l;
    EXPECT_EQ(l[at[0] - 1], ' ') << l;
  }

  // The encode values start at column 25, the decode values at column 68,
  // whether or not an encode line stands beside them; only a caption too
  // wide for its column pushes its value on, one blank after it.
  const std::vector<std::string> lists = section(lines, "   Encode=");
  ASSERT_EQ(lists.size(), 17u);
  for (const std::string& l : lists) {
    const std::vector<std::size_t> at = columnsOf(l, '[');
    ASSERT_FALSE(at.empty()) << l;
    const bool encodePart = l.size() > 5 && l[5] != ' ';
    if (encodePart) {
      EXPECT_TRUE(at.front() == 25u || (at.front() > 25u && l[at.front() - 1] == ' ' && l[at.front() - 2] != ' '))
          << l;
    }
    EXPECT_TRUE(at.back() == 68u || (at.back() > 68u && l[at.back() - 1] == ' ' && l[at.back() - 2] != ' ')) << l;
  }
}

TEST(ReportTextFile, AReportTheDiskCannotHoldOrAPipeLeaveTheOldFilesAndSaySoOnce) {
  TempDir dir;
  RecordingMessages msgs;
  freshModel(dir);
  ASSERT_TRUE(printtest::radioF0(1, 1));
  const std::string path = dir.file("all.txt");
  const std::vector<uint8_t> old(5000, 'o');
  writeFileBytes(path, old);
  {
    // The report (10 KB) is more than the disk holds: its last bytes go out
    // with the final flush, which fails.
    FileSizeLimit full(8192);
    ASSERT_TRUE(full.ok());
    EXPECT_FALSE(printtest::runReport(true, path));
  }
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, LoadResString(10072));
  EXPECT_EQ(readFileBytes(path), old);
  std::vector<std::string> left;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) left.push_back(e.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"all.txt", "settings.ini"}));

  // Through a link the report reaches the linked file and the link stays.
  std::filesystem::create_directory(dir.file("reports"));
  std::filesystem::create_symlink("reports/linked.txt", dir.file("linked.txt"));
  msgs.boxes.clear();
  ASSERT_TRUE(printtest::runReport(false, dir.file("linked.txt")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("linked.txt")));
  EXPECT_EQ(fileLines(dir.file("reports/linked.txt")),
            fileLines(std::string(PRINTING_GOLDEN_DIR) + "/zr310-channel.txt"));

  // A pipe is no file to write a report over: refused, and it stays a pipe.
  ASSERT_EQ(::mkfifo(dir.file("pipe.txt").c_str(), 0644), 0);
  EXPECT_FALSE(printtest::runReport(false, dir.file("pipe.txt")));
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, LoadResString(10072));
  EXPECT_TRUE(std::filesystem::is_fifo(dir.file("pipe.txt")));
}

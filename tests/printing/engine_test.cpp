// The output engine on a page surface with fixed metrics (every character
// 2 mm wide, text 4 mm high, printable area 190 x 277 mm), and on text files.
#include <gtest/gtest.h>

#include <fstream>

#include "printing/engine.h"
#include "platform/base/strtable.h"
#include "printing/textsurface.h"
#include "support/testsupport.h"

using namespace printing;

namespace {

struct Drawn {
  int page;
  double x, y;
  std::string text;
};

class FixedPage : public ReportSurface {
 public:
  std::vector<Drawn> texts;
  std::vector<Drawn> lines;  // text = "" ; x, y = start
  int page = 1;
  bool refuseNewPage = false;
  bool ended = false, aborted = false;

  bool textFile() const override { return false; }
  bool begin() override { return true; }
  bool end() override { return ended = true; }
  void abort() override { aborted = true; }
  bool writeLine(const std::string&) override { return false; }
  void setBoldItalic(bool) override {}
  double printableWidth() const override { return 190; }
  double printableHeight() const override { return 277; }
  double textWidth(const std::string& t) const override { return 2.0 * charLength(t); }
  double textHeight(const std::string&) const override { return height; }
  void drawText(double x, double y, const std::string& t) override { texts.push_back({page, x, y, t}); }
  double height = 4;
  void drawLine(double x1, double y1, double, double) override { lines.push_back({page, x1, y1, ""}); }
  void setLineWidth(int) override {}
  bool newPage() override {
    if (refuseNewPage) return false;
    ++page;
    return true;
  }
};

// The engine owns its surface and drops it with a failed job; the tests
// keep theirs and lend it.
class Lent : public ReportSurface {
 public:
  explicit Lent(ReportSurface& s) : s_(s) {}
  bool textFile() const override { return s_.textFile(); }
  bool begin() override { return s_.begin(); }
  bool end() override { return s_.end(); }
  void abort() override { s_.abort(); }
  bool writeLine(const std::string& l) override { return s_.writeLine(l); }
  void setBoldItalic(bool on) override { s_.setBoldItalic(on); }
  double printableWidth() const override { return s_.printableWidth(); }
  double printableHeight() const override { return s_.printableHeight(); }
  double textWidth(const std::string& t) const override { return s_.textWidth(t); }
  double textHeight(const std::string& t) const override { return s_.textHeight(t); }
  void drawText(double x, double y, const std::string& t) override { s_.drawText(x, y, t); }
  void drawLine(double a, double b, double c, double d) override { s_.drawLine(a, b, c, d); }
  void setLineWidth(int dots) override { s_.setLineWidth(dots); }
  bool newPage() override { return s_.newPage(); }

 private:
  ReportSurface& s_;
};

// A text file whose disk fills up after `room` lines; what happened to it
// outlives the surface, which the engine drops with the failed job.
struct FileLog {
  std::vector<std::string> written;
  bool aborted = false, ended = false;
};
class FillingFile : public ReportSurface {
 public:
  FillingFile(int room, FileLog& log) : room_(room), log_(log) {}
  bool textFile() const override { return true; }
  bool begin() override { return true; }
  bool end() override { return log_.ended = true; }
  void abort() override { log_.aborted = true; }
  bool writeLine(const std::string& line) override {
    if (room_-- <= 0) return false;
    log_.written.push_back(line);
    return true;
  }
  void setBoldItalic(bool) override {}
  double printableWidth() const override { return 0; }
  double printableHeight() const override { return 0; }
  double textWidth(const std::string&) const override { return 0; }
  double textHeight(const std::string&) const override { return 0; }
  void drawText(double, double, const std::string&) override {}
  void drawLine(double, double, double, double) override {}
  void setLineWidth(int) override {}
  bool newPage() override { return true; }

 private:
  int room_;
  FileLog& log_;
};

class PageEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(engine.PrintInit(std::make_unique<Lent>(fixed)));
    ASSERT_TRUE(engine.PrintHeader());
  }
  // The texts drawn, after the header's label and blank.
  std::vector<Drawn> body() const { return {page->texts.begin() + 2, page->texts.end()}; }
  RecordingMessages msgs;
  FixedPage fixed;
  FixedPage* page = &fixed;
  ReportEngine engine;
};

}  // namespace

TEST_F(PageEngine, HeaderLabelRuleAndPageUnitFollowTheMetrics) {
  EXPECT_EQ(engine.lngLineHeight, 14);      // 4 + 10
  EXPECT_EQ(engine.lngRightLimit, 175);     // 190 - 15
  EXPECT_EQ(engine.lngLinesPerPage, 23);    // (277 + 50) / 14
  EXPECT_EQ(engine.intLeftCol, 10);
  ASSERT_GE(page->texts.size(), 2u);
  EXPECT_EQ(page->texts[0].text, "1Page");
  EXPECT_DOUBLE_EQ(page->texts[0].x + 10, 175);  // ends at the right limit
  EXPECT_DOUBLE_EQ(page->texts[0].y, 14);
  ASSERT_EQ(page->lines.size(), 1u);
  EXPECT_DOUBLE_EQ(page->lines[0].y, 28);
  // The body starts one text line below the rule.
  engine.subPrintText("first", 10);
  EXPECT_DOUBLE_EQ(page->texts.back().y, 32);
  engine.blnSameLine = true;
  engine.subPrintText("value", 60);
  EXPECT_DOUBLE_EQ(page->texts.back().y, 32);
  EXPECT_DOUBLE_EQ(page->texts.back().x, 60);
}

TEST_F(PageEngine, LongTextsWrapAtTheRightLimitAndNeverStall) {
  // 60 characters from 100 mm: 37 of them (74 mm) fit before 175 mm.
  engine.subPrintText(std::string(37, 'a') + std::string(23, 'b'), 100);
  auto b = body();
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0].text, std::string(37, 'a'));
  EXPECT_EQ(b[1].text, std::string(23, 'b'));
  EXPECT_DOUBLE_EQ(b[1].x, 100);
  EXPECT_DOUBLE_EQ(b[1].y, b[0].y + 4);

  // From at or right of the limit the text starts at the left column.
  engine.subPrintText("moved", 180);
  EXPECT_DOUBLE_EQ(page->texts.back().x, 10);
  EXPECT_EQ(page->texts.back().text, "moved");

  // One millimetre before the limit not even one character fits; the text
  // still goes on, a character per line.
  const size_t before = page->texts.size();
  engine.subPrintText("xyz", 174);
  ASSERT_EQ(page->texts.size(), before + 3);
  EXPECT_EQ(page->texts[before + 2].text, "z");

  // Nothing printed for an empty text, and the continuation flag is cleared.
  engine.blnSameLine = true;
  engine.subPrintText("", 20);
  EXPECT_FALSE(engine.blnSameLine);
  EXPECT_EQ(page->texts.size(), before + 3);
}

TEST_F(PageEngine, AContinuationIsNeverPrintedOverItsLine) {
  // A label reaching past the next piece's column: the piece starts where
  // the label ends; a value (kept clear) one blank further.
  engine.subPrintText(std::string(30, 'c'), 10);  // ends at 70 mm
  const double y = page->texts.back().y;
  engine.blnSameLine = true;
  engine.subPrintText("]", 60);
  EXPECT_DOUBLE_EQ(page->texts.back().x, 70);
  engine.blnSameLine = true;
  engine.subPrintText("[v]", 60, true);
  EXPECT_DOUBLE_EQ(page->texts.back().x, 74);  // "]" ends at 72, a blank is 2 mm
  engine.blnSameLine = true;
  engine.subPrintText("[far]", 100, true);  // clear of the line already: at its column
  EXPECT_DOUBLE_EQ(page->texts.back().x, 100);
  EXPECT_DOUBLE_EQ(page->texts.back().y, y);

  // Pushed out of the room left on its line, a value starts the next line
  // under its own column.
  engine.subPrintText(std::string(80, 'd'), 10);  // ends at 170 mm
  const double below = page->texts.back().y + 4;
  engine.blnSameLine = true;
  engine.subPrintText("[w]", 60, true);
  EXPECT_EQ(page->texts.back().text, "[w]");
  EXPECT_DOUBLE_EQ(page->texts.back().x, 60);
  EXPECT_DOUBLE_EQ(page->texts.back().y, below);
  // A continuation at or right of the limit starts the next line at the
  // left column, not over its line's beginning.
  engine.blnSameLine = true;
  engine.subPrintText("[z]", 180);
  EXPECT_DOUBLE_EQ(page->texts.back().x, 10);
  EXPECT_DOUBLE_EQ(page->texts.back().y, below + 4);
}

TEST_F(PageEngine, PagesBreakBelowTheLimitButNeverBeforeAContinuation) {
  // Lines run while Y + 14 <= (23 - 4) * 14 = 266.
  int lines = 0;
  while (page->page == 1) {
    engine.subPrintText("line", 10);
    ++lines;
  }
  // The body starts at 32; lines at 32, 36, ... 252 stay (Y + 14 <= 266), the
  // next one (Y = 256) moves to page 2.
  EXPECT_EQ(lines, 57);
  EXPECT_EQ(engine.intPage, 2);
  const Drawn& moved = page->texts.back();
  EXPECT_EQ(moved.text, "line");
  EXPECT_DOUBLE_EQ(moved.y, 32);  // below the new page's header
  auto label = std::find_if(page->texts.begin(), page->texts.end(), [](const Drawn& d) { return d.text == "2Page"; });
  ASSERT_NE(label, page->texts.end());
  EXPECT_DOUBLE_EQ(label->x + 10, 175);

  // At the bottom of page 2 a continuation stays on its label's line.
  while (page->texts.back().y < 248) engine.subPrintText("fill", 10);
  engine.subPrintText("label", 10);
  EXPECT_DOUBLE_EQ(page->texts.back().y, 252);
  engine.blnSameLine = true;
  engine.subPrintText("value", 60);
  EXPECT_EQ(page->texts.back().page, 2);
  EXPECT_DOUBLE_EQ(page->texts.back().y, 252);
  engine.subPrintText("next", 10);
  EXPECT_EQ(page->texts.back().page, 3);
}

TEST(ReportEngineText, LinesBlanksRulesAndTheLeadingEmptyLine) {
  TempDir dir;
  const std::string path = dir.file("r.txt");
  ReportEngine e;
  ASSERT_TRUE(e.PrintInit(std::make_unique<TextFileSurface>(path)));
  EXPECT_TRUE(e.PrintHeader());
  e.subPrintText("Label", e.intLeftCol);
  e.blnSameLine = true;
  e.subPrintText("[v]", 5);
  e.subPrintText("next", -4);  // a negative column counts as 0
  e.blankLine();
  e.singleRule();
  e.subPrintText("", 2);
  e.doubleRule();
  ASSERT_TRUE(e.PrintEnd());
  const std::string rule = "   " + std::string(76, '-') + "\r\n";
  const std::vector<uint8_t> bytes = readFileBytes(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
            "\r\n   Label     [v]\r\nnext\r\n    \r\n" + rule + "  \r\n" + rule + rule);
}

TEST(ReportEngineText, AFailedJobIsReportedOnceAndKeepsTheOldFile) {
  RecordingMessages msgs;
  TempDir dir;
  // A full disk in the middle of the report.
  {
    FileLog log;
    FileLog* f = &log;
    ReportEngine e;
    ASSERT_TRUE(e.PrintInit(std::make_unique<FillingFile>(2, log)));
    for (int i = 0; i < 10; ++i) e.subPrintText("line", 3);
    EXPECT_FALSE(e.PrintEnd());
    EXPECT_TRUE(f->aborted);
    EXPECT_FALSE(f->ended);
    EXPECT_EQ(f->written.size(), 2u);
    ASSERT_EQ(msgs.boxes.size(), 1u);
    EXPECT_EQ(msgs.boxes[0].text, LoadResString(10072));
    EXPECT_EQ(msgs.boxes[0].style, 16);
  }
  // An older report of the chosen name stays as it was when a job is
  // dropped, and is replaced only by a complete one.
  const std::string path = dir.file("old.txt");
  writeFileBytes(path, {'o', 'l', 'd'});
  TextFileSurface dropped(path);
  ASSERT_TRUE(dropped.begin());
  ASSERT_TRUE(dropped.writeLine("new"));
  dropped.abort();
  EXPECT_EQ(readFileBytes(path), (std::vector<uint8_t>{'o', 'l', 'd'}));
  TextFileSurface done(path);
  ASSERT_TRUE(done.begin());
  ASSERT_TRUE(done.writeLine("new"));
  ASSERT_TRUE(done.end());
  EXPECT_EQ(readFileBytes(path), (std::vector<uint8_t>{'n', 'e', 'w', '\r', '\n'}));

  // A folder that does not exist cannot take the file: PrintInit says so.
  msgs.boxes.clear();
  ReportEngine e;
  EXPECT_FALSE(e.PrintInit(std::make_unique<TextFileSurface>(dir.file("missing/r.txt"))));
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].title, "PrintInit");
  EXPECT_EQ(msgs.boxes[0].text, LoadResString(10072));
  // Without a printer set up the printer cannot be used.
  msgs.boxes.clear();
  EXPECT_FALSE(e.PrintInit(nullptr));
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "The specified printer cannot be used");
}

TEST_F(PageEngine, APrinterRefusingANewPageEndsTheJobOnce) {
  page->refuseNewPage = true;
  for (int i = 0; i < 200; ++i) engine.subPrintText("line", 10);
  EXPECT_TRUE(engine.failed());
  EXPECT_TRUE(page->aborted);
  EXPECT_FALSE(engine.PrintEnd());
  EXPECT_FALSE(page->ended);
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].title, "subNewPage");
}

TEST(ReportEngineText, LinesAreWrittenInTheLanguagesCodePage) {
  // Windows-1252 in English: a stored "é" is one byte.
  EXPECT_EQ(TextFileSurface::encodeLine("caf\xC3\xA9"), "caf\xE9");
  // Japanese captions in Shift_JIS ("印刷" is 88 F3 8D FC), ASCII unchanged.
  strtable::load("", "ja");
  const std::string sjis = TextFileSurface::encodeLine("A \xE5\x8D\xB0\xE5\x88\xB7");
  strtable::load("", "en");
  EXPECT_EQ(sjis, "A \x88\xF3\x8D\xFC");
}

TEST(ReportEnginePage, AValueStaysOnItsLabelsBaselineWhateverTheTextHeight) {
  RecordingMessages msgs;
  FixedPage fixed;
  fixed.height = 4.3;
  ReportEngine e;
  ASSERT_TRUE(e.PrintInit(std::make_unique<Lent>(fixed)));
  ASSERT_TRUE(e.PrintHeader());
  for (const char* label : {"one", "two", "three"}) {
    e.subPrintText(label, 10);
    e.blnSameLine = true;
    e.subPrintText("[v]", 60);
    ASSERT_EQ(fixed.texts.back().y, fixed.texts[fixed.texts.size() - 2].y) << label;
  }
  // Lines keep their spacing: the third label is two lines below the first.
  EXPECT_NEAR(fixed.texts.back().y - fixed.texts[fixed.texts.size() - 6].y, 2 * 4.3, 1e-9);
}

// The reports on a recording page surface: where each piece lands in
// millimetres. Every character is 1.7 mm wide per column it takes in the
// text file (a Japanese character takes two; 1.9 mm a column for the
// Japanese reports, about what their font takes), a blank 0.9 mm; the
// printable area is 200 x 280 mm, text 4 mm high.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/modpublic.h"
#include "platform/base/strtable.h"
#include "printing/engine.h"
#include "printing/textsurface.h"
#include "printtest.h"
#include "support/testsupport.h"

using namespace printing;

namespace {

struct Piece {
  int page;
  double x, y;
  std::string text;
};

double column = 1.7;

double widthOf(const std::string& t) {
  const double blanks = static_cast<double>(std::count(t.begin(), t.end(), ' '));
  return 0.9 * blanks + column * (static_cast<double>(TextFileSurface::columns(t)) - blanks);
}

class RecordingPage : public ReportSurface {
 public:
  explicit RecordingPage(std::vector<Piece>& out) : out_(out) {}
  bool textFile() const override { return false; }
  bool begin() override { return true; }
  bool end() override { return true; }
  void abort() override {}
  bool writeLine(const std::string&) override { return false; }
  void setBoldItalic(bool) override {}
  double printableWidth() const override { return 200; }
  double printableHeight() const override { return 280; }
  double textWidth(const std::string& t) const override { return widthOf(t); }
  double textHeight(const std::string&) const override { return 4; }
  void drawText(double x, double y, const std::string& t) override { out_.push_back({page_, x, y, t}); }
  void drawLine(double, double, double, double) override {}
  void setLineWidth(int) override {}
  bool newPage() override {
    ++page_;
    return true;
  }

 private:
  std::vector<Piece>& out_;
  int page_ = 1;
};

class PageReports : public ::testing::Test {
 protected:
  void SetUp() override {
    freshModel(dir);
    setPrinterSurfaceFactory([this] { return std::make_unique<RecordingPage>(pieces); });
  }
  void TearDown() override {
    column = 1.7;
    setPrinterSurfaceFactory(nullptr);
    strtable::load("", "en");
  }
  bool print(bool allData) {
    pieces.clear();
    clsPrintReport* report = reportFor(modPublic.strRadioFamily);
    return report && (allData ? report->blnPrintAllData("", 0) : report->blnPrintChannelData("", 0));
  }
  // The pieces of the line whose first piece is `first` (the n-th such line).
  std::vector<std::pair<std::string, double>> line(const std::string& first, int n = 0) const {
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      if ((pieces[i].text != first && pieces[i].text != first + " ") || n-- > 0) continue;
      std::vector<std::pair<std::string, double>> out;
      for (std::size_t k = i; k < pieces.size() && pieces[k].y == pieces[i].y && pieces[k].page == pieces[i].page;
           ++k) {
        // A blank after a cell's text is invisible on a page.
        std::string t = pieces[k].text;
        if (t.find_first_not_of(' ') != std::string::npos) t.erase(t.find_last_not_of(' ') + 1);
        out.emplace_back(t, pieces[k].x);
      }
      return out;
    }
    return {};
  }
  TempDir dir;
  RecordingMessages msgs;
  std::vector<Piece> pieces;
};

using Line = std::vector<std::pair<std::string, double>>;

}  // namespace

TEST_F(PageReports, ChannelTablesStandAtTheirMillimetres) {
  // Family "0": channel 1 has a cell in most columns (SH, SR, PM/FM too).
  ASSERT_TRUE(printtest::radioF0(1, 1));
  ASSERT_TRUE(print(false));
  EXPECT_EQ(line("C.H/No"), (Line{{"C.H/No", 10}, {"Frequency", 29}, {"W/N", 57}, {"Scan", 72}, {"TX/P", 87},
                                  {"CTC/Hz", 102}, {"DCS", 122}, {"INV", 133}, {"SH", 146}, {"SCR", 157},
                                  {"PM/FM", 172}}));
  EXPECT_EQ(line("  1"), (Line{{"  1", 10}, {"RX", 16}, {"145.01250", 27}, {"MHz", 43}, {"NRW", 57}, {"ON", 72},
                                {"88.5", 104}, {"1", 148}, {"1", 160}, {"FM", 175}}));
  EXPECT_EQ(line(" 25"), (Line{{" 25", 10}, {"RX", 16}, {"150.00000", 27}, {"MHz", 43}, {"WID", 57}, {"OFF", 72},
                                {"023", 123}, {"1", 135}, {"PM", 175}}));
  EXPECT_EQ(line("TX", 2), (Line{{"TX", 16}, {"150.00000", 27}, {"MHz", 43}, {"WID", 57}, {"HI", 89}, {"PM", 175}}));

  // Family "1": the same columns without PM/FM, at its own places.
  ASSERT_TRUE(printtest::radioF1(false, false, 2, 3));
  ASSERT_TRUE(print(false));
  EXPECT_EQ(line("C.H/No"), (Line{{"C.H/No", 10}, {"Frequency", 34}, {"W/N", 62}, {"Scan", 77}, {"TX/P", 92},
                                  {"CTC/Hz", 107}, {"DCS", 127}, {"INV", 143}, {"SH", 159}, {"SCR", 172}}));
  EXPECT_EQ(line("  1"), (Line{{"  1", 10}, {"RX", 16}, {"150.00000", 30}, {"MHz", 47}, {"NRW", 62}, {"ON", 77},
                                {"67.0", 109}, {"1", 161}, {"1", 175}}));
  EXPECT_EQ(line("TX"), (Line{{"TX", 16}, {"150.50000", 30}, {"MHz", 47}, {"NRW", 62}, {"LO", 94}, {"1", 175}}));

  // Family "2": a Mode column and no SH; the RX line's invisible blanks
  // under TX/P, the TX line's under W/N, Mode and Scan.
  ASSERT_TRUE(printtest::radioF2(false, 0, 3));
  ASSERT_TRUE(print(false));
  EXPECT_EQ(line("C.H/No"), (Line{{"C.H/No", 10}, {"Frequency", 31}, {"W/N", 57}, {"Mode", 71}, {"Scan", 86},
                                  {"TX/P", 99}, {"CTC/Hz", 112}, {"DCS", 130}, {"INV", 142}, {"SCR", 155},
                                  {"PM/FM", 169}}));
  EXPECT_EQ(line("  1"), (Line{{"  1", 10}, {"RX", 16}, {"140.00000", 27}, {"MHz", 43}, {"NRW", 57}, {"Dupl", 71},
                                {"ON", 86}, {"   ", 101}, {"100.0", 114}, {"1", 158}, {"FM", 172}}));
  const Line tx = line("TX");
  ASSERT_EQ(tx.size(), 8u);
  EXPECT_EQ((Line{tx[0], tx[1], tx[2]}), (Line{{"TX", 16}, {"140.00000", 27}, {"MHz", 43}}));
  EXPECT_EQ(tx[3].first, std::string(17, ' '));
  EXPECT_EQ((Line{tx[4], tx[5], tx[6], tx[7]}), (Line{{"LO", 101}, {"L67.0", 114}, {"1", 158}, {"FM", 172}}));
}

TEST_F(PageReports, JapaneseCaptionsNeverRunIntoTheirValues) {
  const std::vector<std::function<bool()>> radios = {
      [] { return printtest::radioF0(1, 1); }, [] { return printtest::radioF0(2, 2); },
      [] { return printtest::radioF1(true, true, 4, 0); }, [] { return printtest::radioF1(false, false, 2, 3); },
      [] { return printtest::radioF2(true, 0, 3); }, [] { return printtest::radioF2(false, 2, 0); }};
  int values = 0;
  column = 1.9;
  for (std::size_t r = 0; r < radios.size(); ++r) {
    ASSERT_TRUE(radios[r]());
    strtable::load("", "ja");
    ASSERT_TRUE(print(true)) << r;
    strtable::load("", "en");
    // Pieces of one line, left to right: each starts where the one before
    // it has ended or further right; a value ("[...]") a blank further.
    std::map<std::pair<int, double>, std::vector<const Piece*>> lines;
    for (const Piece& p : pieces) lines[{p.page, p.y}].push_back(&p);
    for (auto& [at, row] : lines) {
      std::sort(row.begin(), row.end(), [](const Piece* a, const Piece* b) { return a->x < b->x; });
      for (std::size_t k = 1; k < row.size(); ++k) {
        const double end = row[k - 1]->x + widthOf(row[k - 1]->text);
        const bool value = row[k]->text.rfind('[', 0) == 0 && row[k - 1]->text.find_first_not_of(' ') != std::string::npos;
        values += value;
        EXPECT_GE(row[k]->x + 1e-9, end + (value ? widthOf(" ") : 0))
            << "radio " << r << ": \"" << row[k - 1]->text << "\" then \"" << row[k]->text << "\"";
      }
    }
  }
  EXPECT_GT(values, 200);
}

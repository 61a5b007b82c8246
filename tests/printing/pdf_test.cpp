// One report through QPrinter into a PDF: as many pages as the engine
// started, and the report's text in them.
#include <gtest/gtest.h>

#include <QPrinter>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/base/strtable.h"
#include "printing/pages/qtprintsurface.h"
#include "printing/reports.h"
#include "printtest.h"
#include "support/disklimit.h"
#include "support/testsupport.h"

namespace {
std::string pdfText(const std::string& pdf) {
  std::string text;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("pdftotext -layout '" + pdf + "' -").c_str(), "r"), pclose);
  if (!pipe) return text;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe.get())) text.append(buffer, n);
  return text;
}

void toA4Pdf(QPrinter& printer, const std::string& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(QString::fromStdString(path));
}

int pdfPages(const std::vector<uint8_t>& bytes) {
  const std::string pdf(bytes.begin(), bytes.end());
  int pages = 0;
  for (size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1))
    if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
  return pages;
}
class PdfReport : public ::testing::Test {
 protected:
  void SetUp() override { freshModel(dir); }
  TempDir dir;
  RecordingMessages msgs;
  QPrinter printer{QPrinter::HighResolution};
};
}  // namespace

TEST_F(PdfReport, AllDataReportComesOutWithItsPagesAndText) {
  ASSERT_TRUE(printtest::radioF0(1, 1));
  const std::string path = dir.file("all.pdf");
  toA4Pdf(printer, path);
  printing::setPrinterSurfaceFactory([&] { return std::make_unique<printing::QtPrintSurface>(printer); });

  printing::clsPrintP1RA report;
  ASSERT_TRUE(report.blnPrintAllData("", 0));
  printing::setPrinterSurfaceFactory(nullptr);
  EXPECT_TRUE(msgs.boxes.empty());
  EXPECT_GE(report.engine.intPage, 3);  // 255 channel names alone fill more than a page
  EXPECT_EQ(pdfPages(readFileBytes(path)), report.engine.intPage);

  const std::string text = pdfText(path);
  ASSERT_FALSE(text.empty()) << "pdftotext (poppler-utils) is needed to read the PDF";
  EXPECT_NE(text.find("PIN = 123105 / 3"), std::string::npos) << text.substr(0, 2000);
  EXPECT_NE(text.find(std::to_string(report.engine.intPage) + "Page"), std::string::npos);
  EXPECT_NE(text.find("< Scan Set Menu >"), std::string::npos);
}

TEST_F(PdfReport, APrinterWithoutAFileIsRefusedAndCanStillBeSetUpAfterwards) {
  ASSERT_TRUE(printtest::radioF2(false, 0, 3));
  printer.setOutputFormat(QPrinter::PdfFormat);  // no file chosen yet
  printing::setPrinterSurfaceFactory([&] { return std::make_unique<printing::QtPrintSurface>(printer); });
  printing::clsPrintP3RC report;
  EXPECT_FALSE(report.blnPrintChannelData("", 0));
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "The specified printer cannot be used");
  EXPECT_EQ(msgs.boxes[0].title, "PrintInit");
  // The user then chooses a file in the printer set-up: the next job prints.
  printer.setOutputFileName(QString::fromStdString(dir.file("ch.pdf")));
  EXPECT_TRUE(report.blnPrintChannelData("", 0));
  printing::setPrinterSurfaceFactory(nullptr);
  EXPECT_EQ(pdfPages(readFileBytes(dir.file("ch.pdf"))), 1);
  EXPECT_NE(pdfText(dir.file("ch.pdf")).find("TX Reference = 12MHz"), std::string::npos);
}

TEST_F(PdfReport, JapaneseCaptionsShowWhileLatinTextsKeepTheirColumns) {
  ASSERT_TRUE(printtest::radioF0(1, 1));
  const std::string path = dir.file("ja.pdf");
  toA4Pdf(printer, path);
  // The frequency is laid out to end before "MHz", 16 mm to its right.
  auto frequencyWidth = [&] {
    printing::QtPrintSurface surface(printer);
    return surface.textWidth("145.01250");
  };
  const double english = frequencyWidth();
  strtable::load("", "ja");
  const double japanese = frequencyWidth();
  printing::setPrinterSurfaceFactory([&] { return std::make_unique<printing::QtPrintSurface>(printer); });
  printing::clsPrintP1RA report;
  const bool done = report.blnPrintChannelData("", 0);
  printing::setPrinterSurfaceFactory(nullptr);
  strtable::load("", "en");
  EXPECT_DOUBLE_EQ(japanese, english);
  ASSERT_TRUE(done);
  EXPECT_NE(pdfText(path).find("Encode=5\xE3\x83\x88\xE3\x83\xBC\xE3\x83\xB3"), std::string::npos);  // 5トーン
}

TEST_F(PdfReport, APdfTheDiskCannotHoldLeavesTheOldOneAndSaysSoOnce) {
  ASSERT_TRUE(printtest::radioF0(1, 1));
  printing::setPrinterSurfaceFactory([&] { return std::make_unique<printing::QtPrintSurface>(printer); });
  printing::clsPrintP1RA report;
  // The whole report's size, on a disk with room.
  toA4Pdf(printer, dir.file("room.pdf"));
  ASSERT_TRUE(report.blnPrintAllData("", 0));
  const auto size = static_cast<rlim_t>(readFileBytes(dir.file("room.pdf")).size());
  ASSERT_TRUE(printing::pdfComplete(dir.file("room.pdf")));

  // An older PDF of the name, reached through a link; the disk fills up a
  // little before the new one's end.
  std::filesystem::create_directory(dir.file("pdfs"));
  const std::string old = dir.file("pdfs/all.pdf");
  std::filesystem::copy_file(std::string(PRINTING_GOLDEN_DIR) + "/zr310-channel.txt", old);
  const auto before = readFileBytes(old);
  std::filesystem::create_symlink("pdfs/all.pdf", dir.file("all.pdf"));
  toA4Pdf(printer, dir.file("all.pdf"));
  {
    FileSizeLimit full(size - 300);
    ASSERT_TRUE(full.ok());
    EXPECT_FALSE(report.blnPrintAllData("", 0));
  }
  ASSERT_EQ(msgs.boxes.size(), 1u);
  EXPECT_EQ(msgs.boxes[0].text, "The specified printer cannot be used");
  EXPECT_EQ(readFileBytes(old), before);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("all.pdf")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("pdfs")), std::filesystem::directory_iterator()),
            1);
  // The printer keeps the file the user chose, and the next job with room replaces the old one.
  EXPECT_EQ(printer.outputFileName().toStdString(), dir.file("all.pdf"));
  ASSERT_TRUE(report.blnPrintAllData("", 0));
  printing::setPrinterSurfaceFactory(nullptr);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("all.pdf")));
  EXPECT_EQ(pdfPages(readFileBytes(old)), report.engine.intPage);
  EXPECT_TRUE(printing::pdfComplete(old));

  // A PDF cut short, even inside its closing "%%EOF", or one that lost bytes
  // on the way, is not complete; the marker with or without its end of line is.
  auto bytes = readFileBytes(old);
  ASSERT_EQ(std::string(bytes.end() - 6, bytes.end()), "%%EOF\n");
  writeFileBytes(dir.file("short.pdf"), std::vector<uint8_t>(bytes.begin(), bytes.end() - 300));
  EXPECT_FALSE(printing::pdfComplete(dir.file("short.pdf")));
  for (int cut = 1; cut <= 6; ++cut) {
    writeFileBytes(dir.file("cut.pdf"), std::vector<uint8_t>(bytes.begin(), bytes.end() - cut));
    EXPECT_EQ(printing::pdfComplete(dir.file("cut.pdf")), cut == 1) << "ends in " << cut << " bytes less";
  }
  auto crlf = bytes;
  crlf.insert(crlf.end() - 1, '\r');
  writeFileBytes(dir.file("crlf.pdf"), crlf);
  EXPECT_TRUE(printing::pdfComplete(dir.file("crlf.pdf")));
  bytes.erase(bytes.begin() + 1000, bytes.begin() + 1100);
  writeFileBytes(dir.file("gap.pdf"), bytes);
  EXPECT_FALSE(printing::pdfComplete(dir.file("gap.pdf")));
}

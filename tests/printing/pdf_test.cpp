// One report through QPrinter into a PDF: as many pages as the engine
// started, and the report's text in them.
#include <gtest/gtest.h>

#include <QPrinter>
#include <cstdio>
#include <memory>

#include "printing/pages/qtprintsurface.h"
#include "printing/reports.h"
#include "printtest.h"
#include "support/testsupport.h"

namespace {
std::string pdfText(const std::string& pdf) {
  std::string text;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("pdftotext -layout '" + pdf + "' - 2>/dev/null").c_str(), "r"), pclose);
  if (!pipe) return text;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe.get())) text.append(buffer, n);
  return text;
}

int pdfPages(const std::vector<uint8_t>& bytes) {
  const std::string pdf(bytes.begin(), bytes.end());
  int pages = 0;
  for (size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1))
    if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
  return pages;
}
}  // namespace

TEST(PdfReport, AllDataReportComesOutWithItsPagesAndText) {
  TempDir dir;
  RecordingMessages msgs;
  freshModel(dir);
  ASSERT_TRUE(printtest::radioF0(1, 1));
  const std::string path = dir.file("all.pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(QString::fromStdString(path));
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

TEST(PdfReport, APrinterWithoutAFileIsRefusedAndCanStillBeSetUpAfterwards) {
  TempDir dir;
  RecordingMessages msgs;
  freshModel(dir);
  ASSERT_TRUE(printtest::radioF2(false, 0, 3));
  QPrinter printer(QPrinter::HighResolution);
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

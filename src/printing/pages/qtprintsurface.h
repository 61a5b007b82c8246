#pragma once
// Reports on a printer the desktop knows, or in a PDF file, through QPrinter:
// millimetre placement on the printable area and the real metrics of the
// report font.
#include <QFont>
#include <QPainter>
#include <memory>

#include "printing/surface.h"

class QPrinter;
namespace safefile {
class SafeFile;
}

namespace printing {

// The report font: a face metric-compatible with the one the reports were
// laid out for, 9.75 pt, with a Japanese face for the Japanese captions when
// the program speaks Japanese.
QFont reportFont();

// Whether the PDF file at `path` was written to its end (its trailer and the
// cross-reference table the trailer points at are there).
bool pdfComplete(const std::string& path);

class QtPrintSurface : public ReportSurface {
 public:
  explicit QtPrintSurface(QPrinter& printer);
  ~QtPrintSurface() override;

  bool textFile() const override { return false; }
  bool begin() override;
  bool end() override;
  void abort() override;
  bool writeLine(const std::string&) override { return false; }

  void setBoldItalic(bool on) override;
  double printableWidth() const override;
  double printableHeight() const override;
  double textWidth(const std::string& text) const override;
  double textHeight(const std::string& text) const override;
  void drawText(double x, double y, const std::string& text) override;
  void drawLine(double x1, double y1, double x2, double y2) override;
  void setLineWidth(int dots) override;
  bool newPage() override;

 private:
  double px(double mm) const { return mm * pxPerMm_; }
  void restoreFileName();
  QPrinter& printer_;
  QPainter painter_;
  QFont font_;
  double pxPerMm_ = 1;
  int lineDots_ = 1;
  // A PDF job: the file the user chose, and the temporary file it is written to.
  QString chosenFile_;
  std::unique_ptr<safefile::SafeFile> pdf_;
};

}  // namespace printing

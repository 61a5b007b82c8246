#include "printing/pages/qtprintsurface.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string_view>
#include <QPen>
#include <QPrinter>

#include "platform/base/safefile.h"
#include "platform/base/strtable.h"

namespace printing {

QFont reportFont() {
  // The report's millimetre columns are laid out for the Latin face (a
  // frequency ends just before its "MHz"); the Japanese face, whose Latin
  // letters and digits are wider, only draws what the Latin face lacks.
  QFont font("Liberation Sans");
  if (strtable::language() == "ja") font.setFamilies({"Liberation Sans", "IPAPGothic"});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(9.75);
  return font;
}

bool pdfComplete(const std::string& path) {
  // A finished PDF ends with "startxref", the offset of its cross-reference
  // table and "%%EOF"; a file the disk cut short lacks that tail, and one that
  // lost bytes on the way has no table at the offset the tail names.
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return false;
  const std::streamoff size = in.tellg();
  const std::streamoff tailSize = std::min<std::streamoff>(size, 1024);
  std::string tail(static_cast<size_t>(tailSize), '\0');
  in.seekg(size - tailSize);
  if (!in.read(tail.data(), tailSize)) return false;
  // The whole marker, then at most one end of line.
  std::string_view end(tail);
  if (end.ends_with('\n')) end.remove_suffix(1);
  if (end.ends_with('\r')) end.remove_suffix(1);
  if (!end.ends_with("%%EOF")) return false;
  const size_t at = tail.rfind("startxref");
  if (at == std::string::npos) return false;
  const std::streamoff table = std::strtoll(tail.c_str() + at + 9, nullptr, 10);
  if (table <= 0 || table + 4 > size) return false;
  char head[4] = {};
  in.seekg(table);
  return in.read(head, 4) && std::string(head, 4) == "xref";
}

QtPrintSurface::QtPrintSurface(QPrinter& printer) : printer_(printer), font_(reportFont()) {}

QtPrintSurface::~QtPrintSurface() {
  if (painter_.isActive()) painter_.end();
  restoreFileName();
}

void QtPrintSurface::restoreFileName() {
  if (pdf_ && printer_.outputFileName() != chosenFile_) printer_.setOutputFileName(chosenFile_);
}

bool QtPrintSurface::begin() {
  // A QPrinter whose start failed stays busy for good, so a job that cannot
  // start is refused before it is tried: no printer, or a PDF without a
  // file it can be written to.
  if (!printer_.isValid()) return false;
  if (printer_.outputFormat() == QPrinter::PdfFormat) {
    // The PDF goes to a temporary file beside the chosen one and takes its
    // name only when it is complete, so an old PDF survives a failed job.
    chosenFile_ = printer_.outputFileName();
    if (chosenFile_.isEmpty()) return false;
    pdf_ = std::make_unique<safefile::SafeFile>(chosenFile_.toStdString());
    if (!pdf_->open()) {
      pdf_.reset();
      return false;
    }
    printer_.setOutputFileName(QString::fromStdString(pdf_->tempPath()));
  }
  if (!painter_.begin(&printer_)) {
    restoreFileName();
    pdf_.reset();
    return false;
  }
  pxPerMm_ = printer_.resolution() / 25.4;
  painter_.setFont(font_);
  painter_.setPen(Qt::black);
  return true;
}

bool QtPrintSurface::end() {
  // The PDF engine does not report a file it could not write whole, so the
  // finished file is looked at before it replaces the chosen one.
  bool ok = painter_.end();
  restoreFileName();
  if (pdf_) {
    ok = ok && pdf_->commit(pdfComplete);
    pdf_.reset();
  }
  return ok;
}

void QtPrintSurface::abort() {
  printer_.abort();
  if (painter_.isActive()) painter_.end();
  restoreFileName();
  pdf_.reset();
}

void QtPrintSurface::setBoldItalic(bool on) {
  font_.setBold(on);
  font_.setItalic(on);
  painter_.setFont(font_);
}

double QtPrintSurface::printableWidth() const { return printer_.pageRect(QPrinter::Millimeter).width(); }
double QtPrintSurface::printableHeight() const { return printer_.pageRect(QPrinter::Millimeter).height(); }

double QtPrintSurface::textWidth(const std::string& text) const {
  const QFontMetricsF metrics(font_, &printer_);
  return metrics.horizontalAdvance(QString::fromStdString(text)) / pxPerMm_;
}

double QtPrintSurface::textHeight(const std::string&) const {
  const QFontMetricsF metrics(font_, &printer_);
  return metrics.height() / pxPerMm_;
}

void QtPrintSurface::drawText(double x, double y, const std::string& text) {
  const QFontMetricsF metrics(font_, &printer_);
  painter_.drawText(QPointF(px(x), px(y) + metrics.ascent()), QString::fromStdString(text));
}

void QtPrintSurface::drawLine(double x1, double y1, double x2, double y2) {
  // Rule widths are given in dots of a 600 dpi printer.
  QPen pen(Qt::black);
  pen.setWidthF(lineDots_ * printer_.resolution() / 600.0);
  painter_.setPen(pen);
  painter_.drawLine(QPointF(px(x1), px(y1)), QPointF(px(x2), px(y2)));
  painter_.setPen(Qt::black);
}

void QtPrintSurface::setLineWidth(int dots) { lineDots_ = dots; }

bool QtPrintSurface::newPage() { return printer_.newPage(); }

}  // namespace printing

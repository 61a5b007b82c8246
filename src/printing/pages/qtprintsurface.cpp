#include "printing/pages/qtprintsurface.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPen>
#include <QPrinter>

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

QtPrintSurface::QtPrintSurface(QPrinter& printer) : printer_(printer), font_(reportFont()) {}

QtPrintSurface::~QtPrintSurface() {
  if (painter_.isActive()) painter_.end();
}

bool QtPrintSurface::begin() {
  // A QPrinter whose start failed stays busy for good, so a job that cannot
  // start is refused before it is tried: no printer, or a PDF without a
  // file it can be written to.
  if (!printer_.isValid()) return false;
  if (printer_.outputFormat() == QPrinter::PdfFormat) {
    const QFileInfo file(printer_.outputFileName());
    const QFileInfo folder(file.absolutePath());
    if (printer_.outputFileName().isEmpty() || !folder.isDir() || !folder.isWritable() ||
        (file.exists() && !file.isWritable()))
      return false;
  }
  if (!painter_.begin(&printer_)) return false;
  pxPerMm_ = printer_.resolution() / 25.4;
  painter_.setFont(font_);
  painter_.setPen(Qt::black);
  return true;
}

bool QtPrintSurface::end() { return painter_.end(); }

void QtPrintSurface::abort() {
  printer_.abort();
  if (painter_.isActive()) painter_.end();
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

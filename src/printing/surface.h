#pragma once
// The medium a report job is written on, behind one small interface: a text
// file, which takes finished lines, or a page device (a printer, a PDF), which
// places text and rules in millimetres from the top-left corner of its
// printable area and measures text in the report font. The report engine
// decides what to place; a surface only does it.
#include <string>

namespace printing {

class ReportSurface {
 public:
  virtual ~ReportSurface() = default;

  // True: a text file (columns are blanks, lines are written whole).
  virtual bool textFile() const = 0;

  // Starts the job; false when the medium cannot be used.
  virtual bool begin() = 0;
  // Ends the job and hands it over (the file takes its name, the printer gets
  // the document); false when that failed, so the job did not arrive.
  virtual bool end() = 0;
  // Drops the job: nothing of it reaches the medium, an old file stays.
  virtual void abort() = 0;

  // Text files: one finished line (UTF-8); false when it could not be written.
  virtual bool writeLine(const std::string& line) = 0;

  // Page devices, millimetres. The report font is chosen by the surface.
  virtual void setBoldItalic(bool on) = 0;
  virtual double printableWidth() const = 0;
  virtual double printableHeight() const = 0;
  virtual double textWidth(const std::string& text) const = 0;
  virtual double textHeight(const std::string& text) const = 0;
  // Text whose top edge is at y.
  virtual void drawText(double x, double y, const std::string& text) = 0;
  virtual void drawLine(double x1, double y1, double x2, double y2) = 0;
  // Width of rules in dots of a 600 dpi printer.
  virtual void setLineWidth(int dots) = 0;
  // False when the device refused a new page.
  virtual bool newPage() = 0;
};

}  // namespace printing

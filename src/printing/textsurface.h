#pragma once
// A report as a plain text file: one line per report line, ending in CR LF,
// in the 8-bit code page of the program's language (Windows-1252, or
// Shift_JIS for Japanese). The file goes through the safe writer
// (platform/base/safefile.h): a temporary file beside the chosen one takes
// its name only when the job ends complete on the disk, so a failed job
// leaves an older file of that name as it was.
#include <memory>
#include <string>

#include "printing/surface.h"

namespace safefile {
class SafeFile;
}

namespace printing {

class TextFileSurface : public ReportSurface {
 public:
  explicit TextFileSurface(std::string path);
  ~TextFileSurface() override;

  bool textFile() const override { return true; }
  bool begin() override;
  bool end() override;
  void abort() override;
  bool writeLine(const std::string& line) override;

  // Unused on a text file: it has no pages.
  void setBoldItalic(bool) override {}
  double printableWidth() const override { return 0; }
  double printableHeight() const override { return 0; }
  double textWidth(const std::string&) const override { return 0; }
  double textHeight(const std::string&) const override { return 0; }
  void drawText(double, double, const std::string&) override {}
  void drawLine(double, double, double, double) override {}
  void setLineWidth(int) override {}
  bool newPage() override { return true; }

  // The bytes a line is written as (without its line end).
  static std::string encodeLine(const std::string& utf8);
  // The columns a text takes in the file: one per byte of the code page, so
  // a Japanese character, two bytes of Shift_JIS, takes the two columns a
  // text viewer gives it.
  static std::size_t columns(const std::string& utf8);

 private:
  std::string path_;
  std::unique_ptr<safefile::SafeFile> file_;
};

}  // namespace printing

#pragma once
// The report output engine every report class carries: it starts a job on a
// text file or a page device, prints the page header, places each piece of
// report text at its column (blanks in a text file, millimetres on a page),
// wraps text at the right limit, breaks pages, and lets a value continue the
// line of its label. Its state lives as long as the report object, so the
// values of one job stay until the next PrintInit.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "printing/surface.h"

namespace printing {

class ReportEngine {
 public:
  // Engine state, as the reports and tests see it.
  int16_t intPage = 0;
  int16_t intLeftCol = 0;    // 3 blanks in a text file, 10 mm on a page
  int16_t intLastY = 0;      // millimetres, line of the last printed piece (whole)
  int32_t lngLineHeight = 0;  // page unit: text height + 10 mm
  int32_t lngRightLimit = 0;  // printable width - 15 mm
  int32_t lngLinesPerPage = 0;
  bool blnSameLine = false;  // the next piece continues the line just printed
  std::string strLineBuf;    // the pending line of a text file

  // Starts a job on `surface`, which the engine keeps to the job's end; a
  // medium that cannot be used is reported (10072 for a text file, 10071 for
  // a printer) and gives false.
  bool PrintInit(std::unique_ptr<ReportSurface> surface);
  // The page header of the current page (pages only).
  bool PrintHeader();
  // Ends the page and starts the next one with its header.
  void subNewPage();
  // One piece of text at `column` (blanks or millimetres by the medium).
  // On a page a continuation is never printed over the text before it: it
  // starts where that ends, or with `keepClear` (a value after its caption)
  // one blank further; one that then no longer fits goes to the next line
  // under its own column.
  void subPrintText(const std::string& text, int column, bool keepClear = false);
  // Ends the job: true only when all of it reached its medium. A job that
  // failed on the way was reported once and dropped.
  bool PrintEnd();
  // Drops the job without a message (its caller has shown one).
  void abortJob();

  // The conventions the reports write in place.
  void blankLine();
  void singleRule();
  void doubleRule();

  bool textFile() const { return textFile_; }
  bool failed() const { return failed_; }
  // Column by medium: millimetres on a page, blanks in a text file.
  int col(int mm, int blanks) const { return textFile_ ? blanks : mm; }

  // Lets pending window events run (the print page's blinking message).
  void yield() const;

 private:
  void fail(int messageId, const std::string& title);
  void printAt(double x, const std::string& text);
  double currentX_ = 0, currentY_ = 0;
  // The same line exactly: a value continues its label's line on the
  // label's own baseline, not on the whole millimetre nearest to it.
  double lastY_ = 0;
  // Where the line's last piece ended: a continuation never starts inside it.
  double lineEnd_ = 0;
  bool textFile_ = true;
  bool failed_ = false;
  std::unique_ptr<ReportSurface> surface_;
};

// The pass of the event loop the reports make between pieces; none by
// default (tests, benchmarks), the print page installs one.
void setYield(std::function<void()> yield);

// The printer the print page has set up; a report asked for the printer
// without one reports that the printer cannot be used.
using SurfaceFactory = std::function<std::unique_ptr<ReportSurface>()>;
void setPrinterSurfaceFactory(SurfaceFactory factory);
std::unique_ptr<ReportSurface> makePrinterSurface();

// Characters of a UTF-8 text, each a whole UTF-8 sequence.
std::size_t charLength(const std::string& utf8);
// The first `n` characters.
std::string charPrefix(const std::string& utf8, std::size_t n);

}  // namespace printing

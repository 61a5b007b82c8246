#include "printing/engine.h"

#include <algorithm>
#include <cmath>

#include "core/soundmsg.h"
#include "platform/base/strtable.h"

namespace printing {
namespace {

std::function<void()>& yieldHook() {
  static std::function<void()> hook;
  return hook;
}

SurfaceFactory& printerFactory() {
  static SurfaceFactory factory;
  return factory;
}

// Nearest whole number, halves to the even one.
int32_t roundEven(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

bool continuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte length of the first `n` characters.
std::size_t prefixBytes(const std::string& s, std::size_t n) {
  std::size_t i = 0;
  for (std::size_t chars = 0; i < s.size() && chars < n; ++chars) {
    ++i;
    while (i < s.size() && continuationByte(s[i])) ++i;
  }
  return i;
}

// A control character of a stored text (a starting message, a serial number)
// would end a text-file line early or dirty the page: it prints as a blank.
std::string withoutControls(const std::string& utf8) {
  std::string out = utf8;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (b < 0x20 || b == 0x7F) {
      out[i] = ' ';
    } else if (b == 0xC2 && i + 1 < out.size() && static_cast<unsigned char>(out[i + 1]) <= 0x9F &&
               continuationByte(out[i + 1])) {
      out.replace(i, 2, " ");  // C1 controls, U+0080..U+009F
    }
  }
  return out;
}

}  // namespace

void setYield(std::function<void()> yield) { yieldHook() = std::move(yield); }
void setPrinterSurfaceFactory(SurfaceFactory factory) { printerFactory() = std::move(factory); }
std::unique_ptr<ReportSurface> makePrinterSurface() { return printerFactory() ? printerFactory()() : nullptr; }

std::size_t charLength(const std::string& utf8) {
  std::size_t n = 0;
  for (char c : utf8)
    if (!continuationByte(c)) ++n;
  return n;
}

std::string charPrefix(const std::string& utf8, std::size_t n) { return utf8.substr(0, prefixBytes(utf8, n)); }

void ReportEngine::yield() const {
  if (yieldHook()) yieldHook()();
}

void ReportEngine::fail(int messageId, const std::string& title) {
  if (failed_) return;
  failed_ = true;
  if (surface_) surface_->abort();
  surface_.reset();
  intSoundMsgBox(SoundKind::Warning, LoadResString(messageId), title);
}

bool ReportEngine::PrintInit(std::unique_ptr<ReportSurface> surface) {
  failed_ = false;
  surface_ = std::move(surface);
  // Without a surface the printer was asked for and none is set up.
  textFile_ = surface_ && surface_->textFile();
  const int message = textFile_ ? 10072 : 10071;
  if (!surface_ || !surface_->begin()) {
    surface_.reset();
    fail(message, "PrintInit");
    return false;
  }
  if (textFile_) {
    strLineBuf.clear();
    intLeftCol = 3;
    return true;
  }
  surface_->setBoldItalic(false);
  const double width = surface_->printableWidth();
  const double height = surface_->printableHeight();
  lngLineHeight = roundEven(surface_->textHeight("A") + 10);
  if (width <= 15 || height <= 0 || lngLineHeight <= 10) {
    fail(message, "PrintInit");
    return false;
  }
  lngLinesPerPage = static_cast<int32_t>(std::floor((height + 50) / lngLineHeight));
  lngRightLimit = roundEven(width - 15);
  intPage = 1;
  intLeftCol = 10;
  blnSameLine = false;
  intLastY = 0;
  lastY_ = 0;
  lineEnd_ = 0;
  currentX_ = currentY_ = 0;
  return true;
}

bool ReportEngine::PrintHeader() {
  if (failed_ || !surface_) return false;
  if (textFile_) return true;
  surface_->setBoldItalic(true);
  surface_->setLineWidth(3);
  // The label ends at the right limit, however many digits the number has.
  const std::string label = std::to_string(intPage) + "Page";
  currentX_ = lngRightLimit - surface_->textWidth(label);
  currentY_ = lngLineHeight;
  printAt(currentX_, label);
  const double ruleY = 2.0 * lngLineHeight;
  surface_->drawLine(10, ruleY, lngRightLimit, ruleY);
  currentX_ = lngRightLimit;
  currentY_ = ruleY;
  subPrintText(" ", intLeftCol);
  if (surface_) surface_->setBoldItalic(false);
  return !failed_;
}

void ReportEngine::subNewPage() {
  if (failed_ || !surface_) return;
  if (!surface_->newPage()) {
    fail(10071, "subNewPage");
    return;
  }
  ++intPage;
  currentX_ = currentY_ = 0;
  PrintHeader();
}

void ReportEngine::printAt(double x, const std::string& text) {
  surface_->drawText(x, currentY_, text);
  currentY_ += surface_->textHeight(text);
  currentX_ = 0;
}

void ReportEngine::subPrintText(const std::string& piece, int column, bool keepClear) {
  const std::string text = withoutControls(piece);
  const bool same = blnSameLine;
  blnSameLine = false;
  if (failed_ || !surface_) return;
  int col = column < 0 ? 0 : column;

  if (textFile_) {
    // A line is written when the next one begins (or the job ends).
    if (!same) {
      if (!surface_->writeLine(strLineBuf)) {
        fail(10072, "subPrintText");
        return;
      }
      strLineBuf.clear();
    }
    strLineBuf.append(static_cast<std::size_t>(col), ' ');
    strLineBuf += text;
    return;
  }

  // A continuation starts at its column, or where the line's text ends (a
  // blank further for a value) if that reaches past the column, such as a
  // caption in another language: it is never printed over the text before
  // it. Pushed out of the room left on its line, it starts the next line at
  // its own column; at or right of the limit, at the left column, and never
  // over the line's beginning either.
  double x = col;
  bool joins = same;
  if (same && !text.empty()) {
    const double clear = lineEnd_ + (keepClear ? surface_->textWidth(" ") : 0.0);
    if (x < clear) {
      x = clear;
      if (x + surface_->textWidth(text) > lngRightLimit) {
        x = col;
        joins = false;
      }
    }
    if (x >= lngRightLimit) joins = false;
  }

  std::string rest = text;
  bool first = true;
  while (!rest.empty()) {
    // A continuation never starts a new page before its first piece.
    if (!(first && joins) && currentY_ + lngLineHeight > (lngLinesPerPage - 4.0) * lngLineHeight) {
      subNewPage();
      if (failed_) return;
    }
    // A text from at or right of the limit starts from the left column.
    if (x >= lngRightLimit) x = intLeftCol;
    std::size_t take = charLength(rest);
    if (surface_->textWidth(rest) + x > lngRightLimit) {
      // The first character that does not fit; the piece before it goes on
      // this line, and always at least one character, so a column too close
      // to the limit still moves the text on.
      std::size_t lo = 1, hi = take;
      while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (surface_->textWidth(charPrefix(rest, mid)) + x > lngRightLimit) hi = mid;
        else lo = mid + 1;
      }
      take = lo > 1 ? lo - 1 : 1;
    }
    if (first && joins) currentY_ = lastY_;
    lastY_ = currentY_;
    intLastY = static_cast<int16_t>(roundEven(currentY_));
    const std::size_t bytes = prefixBytes(rest, take);
    const std::string part = rest.substr(0, bytes);
    lineEnd_ = x + surface_->textWidth(part);
    printAt(x, part);
    rest.erase(0, bytes);
    first = false;
  }
  blnSameLine = false;
}

void ReportEngine::blankLine() { subPrintText(" ", intLeftCol); }

void ReportEngine::singleRule() {
  if (failed_ || !surface_) return;
  if (textFile_) {
    subPrintText(std::string(76, '-'), intLeftCol);
    return;
  }
  surface_->drawLine(10, currentY_, lngRightLimit, currentY_);
  currentX_ = lngRightLimit;
}

void ReportEngine::doubleRule() {
  if (failed_ || !surface_) return;
  if (textFile_) {
    singleRule();
    singleRule();
    return;
  }
  singleRule();
  surface_->drawLine(10, currentY_ + 1, lngRightLimit, currentY_ + 1);
  currentY_ += 1;
}

void ReportEngine::abortJob() {
  failed_ = true;
  if (surface_) surface_->abort();
  surface_.reset();
}

bool ReportEngine::PrintEnd() {
  if (failed_ || !surface_) return false;
  if (textFile_ && !strLineBuf.empty()) {
    if (!surface_->writeLine(strLineBuf)) {
      fail(10072, "PrintEnd");
      return false;
    }
    strLineBuf.clear();
  }
  if (!surface_->end()) {
    fail(textFile_ ? 10072 : 10071, "PrintEnd");
    return false;
  }
  surface_.reset();
  return true;
}

}  // namespace printing

#include "printing/textsurface.h"

#include <QList>
#include <QString>
#include <QStringEncoder>

#include "platform/base/ansi.h"
#include "platform/base/safefile.h"
#include "platform/base/strtable.h"

namespace printing {

TextFileSurface::TextFileSurface(std::string path) : path_(std::move(path)) {}

TextFileSurface::~TextFileSurface() = default;

std::string TextFileSurface::encodeLine(const std::string& utf8) {
  if (strtable::language() == "ja") {
    // Japanese captions do not exist in Windows-1252; the Japanese 8-bit code
    // page holds them and the ASCII columns alike.
    QStringEncoder sjis("Shift_JIS");
    if (!sjis.isValid()) return utf8;
    const QString text = QString::fromStdString(utf8);
    const QByteArray bytes = sjis.encode(text);
    if (!sjis.hasError()) return bytes.toStdString();
    // A character the code page lacks (an accented letter of a title or a
    // name) becomes "?", as in Windows-1252; the rest of the line keeps the
    // code page, so the file never mixes two encodings.
    std::string out;
    for (const char32_t c : text.toUcs4()) {
      QStringEncoder one("Shift_JIS");
      const QByteArray b = one.encode(QString::fromUcs4(&c, 1));
      out += one.hasError() ? std::string("?") : b.toStdString();
    }
    return out;
  }
  return ansi::fromUtf8(utf8);
}

std::size_t TextFileSurface::columns(const std::string& utf8) { return encodeLine(utf8).size(); }

bool TextFileSurface::begin() {
  // The temporary file goes beside the chosen one; a folder that does not
  // allow that, or a target that is no regular file the user may write, is
  // refused before a line is written.
  file_ = std::make_unique<safefile::SafeFile>(path_);
  if (!file_->open()) {
    file_.reset();
    return false;
  }
  return true;
}

bool TextFileSurface::writeLine(const std::string& line) {
  if (!file_) return false;
  const std::string bytes = encodeLine(line) + "\r\n";
  return file_->write(bytes);
}

bool TextFileSurface::end() {
  if (!file_) return false;
  const bool ok = file_->commit();
  file_.reset();
  return ok;
}

void TextFileSurface::abort() {
  if (file_) file_->cancel();
  file_.reset();
}

}  // namespace printing

#pragma once
// Whether a box shows its longest value whole: measured on the box as it is
// laid out, in whatever font the machine gives it.
#include <QApplication>
#include <QLineEdit>
#include <QString>
#include <functional>
#include <gtest/gtest.h>

#include "platform/base/strtable.h"

namespace widths {

// The caret's place, which the box computes after its own scrolling.
class Caret : public QLineEdit {
 public:
  using QLineEdit::cursorRect;
};

// The box's longest value: its maxLength (or `length`) of the widest of
// `characters` in the box's font.
inline QString longest(const QLineEdit* box, const QString& characters, int length = -1) {
  const QFontMetrics fm = box->fontMetrics();
  QChar widest = characters.at(0);
  for (QChar c : characters)
    if (fm.horizontalAdvance(c) > fm.horizontalAdvance(widest)) widest = c;
  return QString(length < 0 ? box->maxLength() : length, widest);
}

// True when the box, at the narrowest width a layout may give it and with the
// caret after its longest value, did not have to scroll: the first character
// still starts where an empty line starts. The box keeps its text and size.
inline bool showsWhole(QLineEdit* box, const QString& value) {
  const QSize size = box->size();
  const int narrowest = box->minimumWidth() > 0 ? box->minimumWidth() : box->minimumSizeHint().width();
  box->resize(narrowest, size.height());
  const QString kept = box->text();
  const int maxLength = box->maxLength();
  const bool blocked = box->blockSignals(true);
  auto* caret = static_cast<Caret*>(box);
  box->setMaxLength(32767);
  box->setText(QString());
  box->grab();
  const int start = caret->cursorRect().left();
  box->setText(value);
  box->setCursorPosition(static_cast<int>(value.size()));
  box->grab();  // a paint lays the line out and scrolls it to the caret
  box->setCursorPosition(0);
  const bool whole = caret->cursorRect().left() == start;
  box->setText(kept);
  box->setMaxLength(maxLength);
  box->blockSignals(blocked);
  box->resize(size);
  return whole;
}

// Runs `check` with the English string table loaded, then the Japanese one,
// and leaves English loaded for the tests that follow, whatever happened.
inline void inEachLanguage(const std::function<void(const char* language)>& check) {
  struct BackToEnglish {
    ~BackToEnglish() { strtable::load(std::string(), "en"); }
  } back;
  for (const char* language : {"en", "ja"}) {
    strtable::load(std::string(), language);
    check(language);
  }
}

}  // namespace widths

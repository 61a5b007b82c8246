#pragma once
// Keys as the user presses them: a press and a release sent to the widget.
#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>
#include <cctype>
#include <string>

inline void key(QWidget* w, int qtKey, const QString& text = QString(), Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
  QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}

// Each character typed with the key that produces it.
inline void type(QWidget* w, const std::string& text) {
  for (char c : text) {
    int k = Qt::Key_Asterisk;
    if (std::isalpha(static_cast<unsigned char>(c))) k = Qt::Key_A + (std::toupper(c) - 'A');
    else if (std::isdigit(static_cast<unsigned char>(c))) k = Qt::Key_0 + (c - '0');
    else if (c == '#') k = Qt::Key_NumberSign;
    key(w, k, QString(QChar(c)));
  }
}

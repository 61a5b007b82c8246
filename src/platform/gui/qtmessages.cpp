#include "platform/gui/qtmessages.h"

#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPointer>
#include <QSoundEffect>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

#include "platform/gui/vbui.h"

int QtMessageService::msgBox(const std::string& text, int style, const std::string& title) {
  // Without a screen (offscreen or minimal platform, as in scripts and CI) no
  // one could answer a box: the message goes to standard error and counts as
  // answered with its first button, so an unattended run never hangs.
  const QString platform = QGuiApplication::platformName();
  if (platform == "offscreen" || platform == "minimal") {
    QString t = QString::fromStdString(text);
    t.replace("\r\n", "\n").replace('\r', '\n');
    std::fprintf(stderr, "%s: %s\n", title.c_str(), t.toLocal8Bit().constData());
    // A question whose safe answer is its second button gets that one.
    const bool second = (style & vb::vbDefaultButton2) != 0;
    if ((style & 7) == vb::vbYesNo) return second ? vb::vbNo : vb::vbYes;
    return second && (style & 7) == vb::vbOKCancel ? vb::vbCancel : vb::vbOK;
  }
  // The box belongs to the window in front; with no window active (none
  // clicked yet, no window manager) that is the page in front.
  QPointer<QWidget> owner = QApplication::activeWindow();
  if (!owner && Page::front() && Page::front()->isVisible()) owner = Page::front();
  QMessageBox box(owner.data());
  // The texts use carriage returns as line breaks.
  QString t = QString::fromStdString(text);
  t.replace("\r\n", "\n").replace('\r', '\n');
  box.setText(t);
  box.setWindowTitle(QString::fromStdString(title));
  switch (style & 0x70) {
    case vb::vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vb::vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vb::vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vb::vbInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
  }
  switch (style & 7) {
    case vb::vbOKCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      if (style & vb::vbDefaultButton2) box.setDefaultButton(QMessageBox::Cancel);
      break;
    case vb::vbYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      if (style & vb::vbDefaultButton2) box.setDefaultButton(QMessageBox::No);
      break;
    default:
      box.setStandardButtons(QMessageBox::Ok);
  }
  const int answer = vbui::execModal(box);
  // The window the box came from takes the keyboard back (a window manager
  // would do so; without one the keys would go nowhere).
  if (owner && owner->isVisible()) owner->activateWindow();
  switch (answer) {
    case QMessageBox::Cancel: return vb::vbCancel;
    case QMessageBox::Yes: return vb::vbYes;
    case QMessageBox::No: return vb::vbNo;
    default: return (style & 7) == vb::vbOKCancel && box.clickedButton() == nullptr ? vb::vbCancel : vb::vbOK;
  }
}

void QtMessageService::playWave(const std::string& path) {
  const QString file = QString::fromStdString(path);
  if (!QFileInfo(file).isFile()) return;
  QSoundEffect effect;
  effect.setSource(QUrl::fromLocalFile(file));
  QEventLoop loop;
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
  QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
    if (effect.status() == QSoundEffect::Ready) effect.play();
    if (effect.status() == QSoundEffect::Error) loop.quit();
  });
  QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
    if (!effect.isPlaying() && effect.status() == QSoundEffect::Ready) loop.quit();
  });
  guard.start(10000);  // no wave of ours is that long; a stuck device never hangs a message
  if (effect.status() == QSoundEffect::Ready) effect.play();
  loop.exec();
}

bool installPlatformDialogTexts(const std::string& language) {
  static QTranslator* installed = nullptr;
  if (installed) {
    QCoreApplication::removeTranslator(installed);
    delete installed;
    installed = nullptr;
  }
  if (language.empty() || language == "en") return true;
  auto* t = new QTranslator;
  if (!t->load(QString::fromStdString("qtbase_" + language), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete t;
    return false;
  }
  QCoreApplication::installTranslator(t);
  installed = t;
  return true;
}

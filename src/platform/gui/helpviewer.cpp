#include "platform/gui/helpviewer.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "platform/base/appinfo.h"
#include "platform/base/strtable.h"

namespace help {

std::string locate(const std::string& name) {
  if (name.empty()) return std::string();
  namespace fs = std::filesystem;
  for (const fs::path& p : {fs::path(app::path()) / name, fs::path(app::path()) / "help" / name}) {
    std::error_code ec;
    if (fs::is_regular_file(p, ec)) return p.string();
  }
  return std::string();
}

bool topicText(const std::string& path, const std::string& keyword, std::string& text) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  bool inTopic = false;
  bool found = false;
  std::string out;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      if (inTopic) break;
      inTopic = line.substr(1, line.size() - 2) == keyword;
      found = found || inTopic;
      continue;
    }
    if (inTopic) out += line + "\n";
  }
  if (!found) return false;
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  text = out;
  return true;
}

bool showsTable(const std::string& text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const size_t first = line.find_first_not_of(' ');
    if (first != std::string::npos) {
      const size_t gap = line.find("  ", first);
      if (gap != std::string::npos && line.find_first_not_of(' ', gap) != std::string::npos) return true;
    }
    start = end + 1;
  }
  return false;
}

namespace {
// Whether every character of the font advances alike: what a table needs,
// whatever the font calls itself (some monospace faces are not flagged
// fixed-pitch).
bool evenAdvances(const QFont& font) {
  const QFontMetricsF m(font);
  const qreal w = m.horizontalAdvance(QLatin1Char('W'));
  if (w <= 0) return false;
  for (QChar c : QStringLiteral("i .:|-0M<>/mW"))
    if (qAbs(m.horizontalAdvance(c) - w) > 0.01) return false;
  return true;
}
}  // namespace

QFont tableFont() {
  const QFont body;
  // Known monospace families first (the build installs DejaVu Sans Mono);
  // a family the machine lacks is replaced by a fallback, which the check
  // of the advances turns down unless it is monospace too.
  for (const char* family : {"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono", "Nimbus Mono PS",
                             "Courier New", "Courier", "monospace"}) {
    QFont f(QString::fromLatin1(family));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    if (body.pointSizeF() > 0) f.setPointSizeF(body.pointSizeF());
    if (evenAdvances(f)) return f;
  }
  QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  if (body.pointSizeF() > 0) f.setPointSizeF(body.pointSizeF());
  return f;
}

namespace {
// Width (pixels) the text of a help file needs: its longest line in the
// ordinary font or in the table font, whichever is wider.
int widestLine(const std::string& path) {
  std::ifstream in(path);
  const QFontMetricsF body{QFont()}, table{tableFont()};
  qreal widest = 0;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const QString t = QString::fromStdString(line);
    widest = std::max({widest, body.horizontalAdvance(t), table.horizontalAdvance(t)});
  }
  return static_cast<int>(std::ceil(widest));
}

QPointer<QDialog>& viewerRef() {
  static QPointer<QDialog> v;
  return v;
}

// Beside the opener: to its right, else to its left, within the screen.
void placeBeside(QDialog* v, QWidget* opener) {
  if (!opener) return;
  const QRect page = opener->frameGeometry();
  QScreen* screen = opener->screen() ? opener->screen() : QGuiApplication::primaryScreen();
  const QRect room = screen ? screen->availableGeometry() : QRect(page.topLeft(), QSize(4000, 4000));
  const QSize size = v->frameGeometry().size().expandedTo(v->size());
  constexpr int kGap = 8;
  int x = page.right() + 1 + kGap;
  if (x + size.width() > room.right() + 1) x = page.left() - kGap - size.width();
  if (x < room.left()) x = std::max(room.left(), room.right() + 1 - size.width());
  const int y = std::clamp(page.top(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height()));
  v->move(x, y);
}
}  // namespace

QDialog* viewer() { return viewerRef().data(); }

bool showTopic(const std::string& helpFileName, const std::string& keyword, QWidget* opener) {
  const std::string path = locate(helpFileName);
  std::string text;
  if (path.empty() || !topicText(path, keyword, text)) return false;
  if (!opener) opener = QApplication::activeModalWidget();
  if (!opener) opener = QApplication::activeWindow();
  QWidget* owner = opener ? opener->window() : nullptr;
  QPointer<QDialog>& v = viewerRef();
  if (v && owner && (owner == v.data() || owner->window() == v.data())) owner = v->parentWidget();
  if (!v) {
    v = new QDialog(owner);
    v->setObjectName("helpViewer");
    v->setAttribute(Qt::WA_DeleteOnClose, false);
    // The viewer never keeps the program running on its own.
    v->setAttribute(Qt::WA_QuitOnClose, false);
    v->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(v);
    auto* browser = new QTextBrowser(v);
    browser->setObjectName("helpText");
    layout->addWidget(browser);
    auto* buttons = new QDialogButtonBox(v);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName("helpClose");
    QObject::connect(buttons, &QDialogButtonBox::rejected, v, &QDialog::reject);
    layout->addWidget(buttons);
    // Wide enough for the file's longest line beside the browser's frame,
    // margins and scroll bar, within the screen.
    browser->setLineWrapMode(QTextEdit::NoWrap);
    const QMargins around = layout->contentsMargins();
    const int needed = widestLine(path) + 2 * static_cast<int>(std::ceil(browser->document()->documentMargin())) +
                       2 * browser->frameWidth() + browser->verticalScrollBar()->sizeHint().width() +
                       around.left() + around.right() + 4;
    QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() : needed;
    v->resize(std::min(std::max(560, needed), room), 440);
  } else if (v->parentWidget() != owner) {
    // Owned by the page that asks now: a modal page blocks every window but
    // its own, and the help must stay usable above it.
    const Qt::WindowFlags flags = v->windowFlags();
    v->setParent(owner, flags);
    // Left disabled with a page a modal page covers, it comes alive with the
    // page that asks now.
    if (owner && owner->isEnabled() && !v->isEnabled()) v->setEnabled(true);
  }
  auto* browser = v->findChild<QTextBrowser*>("helpText");
  auto* close = v->findChild<QPushButton*>("helpClose");
  const std::string closeText = LoadResString(1409);
  close->setText(QString::fromStdString(closeText.empty() ? "Close" : closeText));
  v->setWindowTitle(QString::fromStdString(std::string(app::kTitle) + " Help - " + keyword));
  browser->setAccessibleName(QString::fromStdString(keyword));
  browser->setFont(showsTable(text) ? tableFont() : QFont());
  browser->setPlainText(QString::fromStdString(text));
  placeBeside(v, owner);
  v->show();
  v->raise();
  v->activateWindow();
  browser->setFocus();
  return true;
}

}  // namespace help

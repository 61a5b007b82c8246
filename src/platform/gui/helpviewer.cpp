#include "platform/gui/helpviewer.h"

#include <QDialog>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <filesystem>
#include <fstream>

#include "platform/base/appinfo.h"

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

bool showTopic(const std::string& helpFileName, const std::string& keyword) {
  const std::string path = locate(helpFileName);
  std::string text;
  if (path.empty() || !topicText(path, keyword, text)) return false;
  static QPointer<QDialog> viewer;
  static QTextBrowser* browser = nullptr;
  if (!viewer) {
    viewer = new QDialog;
    viewer->setAttribute(Qt::WA_DeleteOnClose, false);
    // The viewer never keeps the program running on its own.
    viewer->setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(viewer);
    browser = new QTextBrowser(viewer);
    layout->addWidget(browser);
    viewer->resize(520, 420);
  }
  viewer->setWindowTitle(QString::fromStdString(std::string(app::kTitle) + " Help - " + keyword));
  browser->setPlainText(QString::fromStdString(text));
  viewer->show();
  viewer->raise();
  return true;
}

}  // namespace help

#include "platform/gui/filedialogs.h"

#include <QFileDialog>

#include "platform/gui/vbui.h"

namespace {
std::function<std::string(const FileDialogRequest&)>& hook() {
  static std::function<std::string(const FileDialogRequest&)> h;
  return h;
}
}  // namespace

void setFileDialogHook(std::function<std::string(const FileDialogRequest&)> h) { hook() = std::move(h); }

std::string qtFilter(const std::string& filter) {
  // Pairs of description and pattern; Qt wants only the descriptions, which
  // carry the pattern in parentheses.
  std::string out;
  size_t start = 0;
  int part = 0;
  while (start <= filter.size()) {
    size_t bar = filter.find('|', start);
    if (bar == std::string::npos) bar = filter.size();
    if (part % 2 == 0 && bar > start) {
      if (!out.empty()) out += ";;";
      out += filter.substr(start, bar - start);
    }
    ++part;
    start = bar + 1;
  }
  return out;
}

std::string chooseFile(QWidget* parent, const FileDialogRequest& r) {
  if (hook()) return hook()(r);
  QFileDialog dialog(parent, QString::fromStdString(r.title), QString::fromStdString(r.folder),
                     QString::fromStdString(qtFilter(r.filter)));
  dialog.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!r.defaultSuffix.empty()) {
    dialog.setDefaultSuffix(QString::fromStdString(r.defaultSuffix));
    // Qt's own dialog adds the suffix before its overwrite question; a
    // desktop's dialog may ask about the bare name instead.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
  }
  if (vbui::execModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
  return dialog.selectedFiles().constFirst().toStdString();
}

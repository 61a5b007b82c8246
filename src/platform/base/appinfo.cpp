#include "platform/base/appinfo.h"

#include <QDir>
#include <QStandardPaths>
#include <filesystem>
#include <unistd.h>

#ifndef VELMORA_VERSION_MAJOR
#define VELMORA_VERSION_MAJOR 1
#define VELMORA_VERSION_MINOR 0
#define VELMORA_VERSION_PATCH 0
#endif

namespace app {
namespace {
std::string& overridePath() {
  static std::string p;
  return p;
}

std::string& defaultPath() {
  static std::string p = [] {
    // The kernel's link names the executable itself, so a program started
    // through a symbolic link (an installed bin/velmora) finds its own folder.
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path().string();
    return exe.parent_path().string();
  }();
  return p;
}
}  // namespace

int major() { return VELMORA_VERSION_MAJOR; }
int minor() { return VELMORA_VERSION_MINOR; }
int revision() { return VELMORA_VERSION_PATCH; }

std::string versionText() {
  return std::to_string(major()) + "." + std::to_string(minor()) + std::to_string(revision());
}

std::string path() {
  if (!overridePath().empty()) return overridePath();
  return defaultPath();
}

void setPath(const std::string& folder) { overridePath() = folder; }
void setDefaultPath(const std::string& folder) { defaultPath() = folder; }

std::string configFolder() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (base.isEmpty()) base = QDir::homePath() + "/.config";
  return (base + "/velmora").toStdString();
}

std::string dataFolder() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (base.isEmpty()) base = QDir::homePath() + "/.local/share";
  const QString folder = base + "/velmora/data";
  QDir().mkpath(folder);
  return folder.toStdString();
}

}  // namespace app

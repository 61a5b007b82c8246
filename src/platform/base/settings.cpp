#include "platform/base/settings.h"

#include <QSettings>

#include "platform/base/appinfo.h"

namespace settings {
namespace {
std::string& overrideFile() {
  static std::string f;
  return f;
}

QString keyOf(const std::string& app, const std::string& section, const std::string& key) {
  // One file per application name; "velmora" is the only one in use.
  return QString::fromStdString(section) + "/" + QString::fromStdString(key) + (app == "velmora" ? "" : "@" + QString::fromStdString(app));
}
}  // namespace

std::string storeFile() {
  if (!overrideFile().empty()) return overrideFile();
  return app::configFolder() + "/velmora-settings.ini";
}

void setStoreFile(const std::string& path) { overrideFile() = path; }

std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& def) {
  QSettings s(QString::fromStdString(storeFile()), QSettings::IniFormat);
  const QVariant v = s.value(keyOf(app, section, key));
  if (!v.isValid()) return def;
  return v.toString().toStdString();
}

void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                 const std::string& value) {
  QSettings s(QString::fromStdString(storeFile()), QSettings::IniFormat);
  s.setValue(keyOf(app, section, key), QString::fromStdString(value));
  s.sync();
}

}  // namespace settings

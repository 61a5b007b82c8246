#include "platform/base/settings.h"

#include <QSettings>
#include <sys/stat.h>

#include "platform/base/appinfo.h"
#include "platform/base/safefile.h"

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

// A store that is there but is no plain file, links followed, is not used:
// each setting reads as its default and nothing is stored. A pipe would hold
// every read up for ever (an unattended run too), and saving through a link
// to a device replaced the device node with a file of settings.
bool storeUsable(const std::string& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) != 0 || S_ISREG(st.st_mode);
}
}  // namespace

std::string storeFile() {
  if (!overrideFile().empty()) return overrideFile();
  return app::configFolder() + "/velmora-settings.ini";
}

void setStoreFile(const std::string& path) { overrideFile() = path; }

std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& def) {
  if (!storeUsable(storeFile())) return def;
  QSettings s(QString::fromStdString(storeFile()), QSettings::IniFormat);
  const QVariant v = s.value(keyOf(app, section, key));
  if (!v.isValid()) return def;
  return v.toString().toStdString();
}

void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                 const std::string& value) {
  if (!storeUsable(storeFile())) return;
  // A disk that is full for the settings never ends the program: they are
  // not stored, and whatever the user asked for goes on.
  safefile::ignoreFileSizeSignal();
  QSettings s(QString::fromStdString(storeFile()), QSettings::IniFormat);
  s.setValue(keyOf(app, section, key), QString::fromStdString(value));
  s.sync();
}

}  // namespace settings

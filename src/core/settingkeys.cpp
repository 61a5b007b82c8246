#include "core/settingkeys.h"

#include "platform/base/appinfo.h"
#include "platform/base/settings.h"

std::string readSetting(const SettingKey& k) {
  return settings::GetSetting("velmora", k.section, k.key, k.def ? k.def : "");
}

void saveSetting(const SettingKey& k, const std::string& value) {
  settings::SaveSetting("velmora", k.section, k.key, value);
}

std::string readFolderSetting(const SettingKey& k) {
  const std::string v = readSetting(k);
  return v.empty() ? app::dataFolder() + "/" : v;
}

#pragma once
// Every key of the per-user settings store (application "velmora") with its
// default, in one place.
#include <string>

struct SettingKey {
  const char* section;
  const char* key;
  const char* def;  // nullptr: no default (read as "")
};

namespace keys {
inline constexpr SettingKey StartUpTop{"STARTUP", "StartUpTop", "-200"};
inline constexpr SettingKey StartUpLeft{"STARTUP", "StartUpLeft", "-5000"};
inline constexpr SettingKey RadioSelect{"STARTUP", "RadioSelect", "2"};
inline constexpr SettingKey ConfigTop{"CONFIGURATION", "ConfigTop", "-200"};
inline constexpr SettingKey ConfigLeft{"CONFIGURATION", "ConfigLeft", "-5000"};
inline constexpr SettingKey ZRSelect{"CONFIGURATION", "ZRSelect", nullptr};
// The data-file folder: on Linux the "drive" is the filesystem root, and the
// folder defaults to the per-user data folder (see readFolderSetting).
inline constexpr SettingKey ConfigDrive{"CONFIGURATION", "Drive", "/"};
inline constexpr SettingKey ConfigDirectory{"CONFIGURATION", "Directory", nullptr};
inline constexpr SettingKey MainTop{"MAINMENU", "MainTop", "-200"};
inline constexpr SettingKey MainLeft{"MAINMENU", "MainLeft", "-5000"};
inline constexpr SettingKey OutPutText{"PRINTER", "OutPutText", "0"};
inline constexpr SettingKey PrinterDrive{"PRINTER", "Drive", nullptr};
inline constexpr SettingKey PrinterDirectory{"PRINTER", "Directory", nullptr};
inline constexpr SettingKey SoundOnOff{"SOUND", "SoundOnOff", "0"};
inline constexpr SettingKey Inquiry{"SOUND", "Inquiry", "DING.WAV"};
inline constexpr SettingKey Attention{"SOUND", "Attention", "CHORD.WAV"};
inline constexpr SettingKey Information{"SOUND", "Information", "CHORD.WAV"};
inline constexpr SettingKey Worning{"SOUND", "Worning", "CHORD.WAV"};
}  // namespace keys

std::string readSetting(const SettingKey& k);
// A folder key (CONFIGURATION or PRINTER "Directory"): the stored folder, or
// the per-user data folder when none is stored yet.
std::string readFolderSetting(const SettingKey& k);
void saveSetting(const SettingKey& k, const std::string& value);

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
inline constexpr SettingKey ConfigDrive{"CONFIGURATION", "Drive", "C"};
inline constexpr SettingKey ConfigDirectory{"CONFIGURATION", "Directory", "C:\\Program Files\\Corvane\\velmora"};
inline constexpr SettingKey MainTop{"MAINMENU", "MainTop", "-200"};
inline constexpr SettingKey MainLeft{"MAINMENU", "MainLeft", "-5000"};
inline constexpr SettingKey OutPutText{"PRINTER", "OutPutText", "0"};
inline constexpr SettingKey PrinterDrive{"PRINTER", "Drive", nullptr};
inline constexpr SettingKey PrinterDirectory{"PRINTER", "Directory", "C:\\Program Files\\Corvane\\velmora"};
inline constexpr SettingKey SoundOnOff{"SOUND", "SoundOnOff", "0"};
inline constexpr SettingKey Inquiry{"SOUND", "Inquiry", "DING.WAV"};
inline constexpr SettingKey Attention{"SOUND", "Attention", "CHORD.WAV"};
inline constexpr SettingKey Information{"SOUND", "Information", "CHORD.WAV"};
inline constexpr SettingKey Worning{"SOUND", "Worning", "CHORD.WAV"};
}  // namespace keys

std::string readSetting(const SettingKey& k);
void saveSetting(const SettingKey& k, const std::string& value);

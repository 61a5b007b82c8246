#pragma once
// The per-user settings store: application / section / key, string values.
// Held as an INI file in the user's config folder ("~/.config/velmora/velmora-settings.ini"),
// written whole through the safe writer: a store that cannot be written keeps
// its old bytes, and the failure is said once: on standard error, and in a
// message box where someone sits at the screen.
#include <string>

namespace settings {

std::string GetSetting(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& def = std::string());
void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                 const std::string& value);

// Tests (and a user who wants a portable set-up) point the store at another file.
void setStoreFile(const std::string& path);
std::string storeFile();

// Whether a failed store is also shown in a message box: only in a run
// someone attends, since a box would hold an unattended write up.
void setFailureShownInBox(bool shown);

}  // namespace settings

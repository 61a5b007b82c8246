#pragma once
// Program identity and folders.
#include <string>

namespace app {

constexpr const char* kTitle = "velmora";     // application title
int major();
int minor();
int revision();
// "1.00" for version 1.0.0: major, ".", then minor and revision written together.
std::string versionText();

// The program folder: the folder of the running executable, with symbolic
// links resolved (resources sit beside it). Tests may point it elsewhere;
// setPath("") goes back to the default.
std::string path();
void setPath(const std::string& folder);
// Replaces the default: programs built outside the program folder (the tests
// and benchmarks) point it at the program folder they exercise.
void setDefaultPath(const std::string& folder);

// Per-user config folder ("~/.config/velmora"), not created here.
std::string configFolder();

// Per-user folder for data files ("~/.local/share/velmora/data"), created on first use.
std::string dataFolder();

}  // namespace app

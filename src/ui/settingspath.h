// Where the settings file lives: "tavrel.ini" beside the executable when that
// folder is writable (a portable or build-tree copy), otherwise in the user's
// configuration folder, $XDG_CONFIG_HOME/tavrel/tavrel.ini (~/.config when the
// variable is unset, empty or not absolute).  A system-wide install thus
// keeps its settings instead of losing every write without a word.
#pragma once

#include <string>

inline constexpr const char* kSettingsFileName = "tavrel.ini";

// The folder of the running executable ("" if it cannot be found).
std::string ExecutableFolder();

// xdgConfigHome and home may be null (unset).
std::string SettingsFilePath(const std::string& executableFolder, const char* xdgConfigHome,
                             const char* home);

// SettingsFilePath for the running executable and the process environment.
std::string DefaultSettingsFilePath();

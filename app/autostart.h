// SPDX-License-Identifier: GPL-3.0-or-later
// "Start at login": the user's XDG autostart entry for Kestrelon — where it lives, what it says,
// and writing, removing and reading it.
#pragma once

#include <filesystem>
#include <string>

namespace kestrelon {

// <configHome>/autostart/kestrelon.desktop.
std::filesystem::path AutostartEntryPath(const std::filesystem::path& configHome);

// The Exec= value that starts `program`: its bare file name when the first match for that name
// on `searchPath` (a PATH value) is the same file, else its whole path; quoted and escaped as
// desktop entries require.
std::string AutostartCommand(const std::filesystem::path& program, const std::string& searchPath);

// The entry's whole text for that Exec= value.
std::string AutostartEntryText(const std::string& command);

// True when the entry exists and is not switched off (Hidden=true or
// X-GNOME-Autostart-enabled=false in its [Desktop Entry] group).
bool AutostartEnabled(const std::filesystem::path& entry);

// Write the entry (its folder made when missing, a temporary file renamed over the old one) or
// remove it (a missing entry is already removed). On failure `error` says why in one line and
// what was there stays.
bool WriteAutostartEntry(const std::filesystem::path& entry, const std::string& command,
                         std::string& error);
bool RemoveAutostartEntry(const std::filesystem::path& entry, std::string& error);

// The tray menu's calls: the running program's own entry, from the environment (XDG_CONFIG_HOME,
// HOME, PATH) and the executable's path.
bool StartsAtLogin();
bool SetStartAtLogin(bool on, std::string& error);

}  // namespace kestrelon

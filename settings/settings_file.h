// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file Settings.inf: the user's choices, loaded into the settings at start-up and
// written back whole after every change.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/settings_model.h"
#include "settings/settings_path.h"

namespace kestrelon {

inline constexpr std::string_view kSettingsSection = "settings";

// Fills every field of the settings from the file's keys.
// A missing file, section or key reads as 0, a clear flag and the alarm text ":". Numbers are read
// leniently and rounded half to even; a number too large for its field is clamped to the field's
// range. A file that exists but cannot be read is logged and read as
// empty. Draws nothing, pushes nothing, saves nothing.
void LoadSettings(Settings& settings, const std::filesystem::path& path);

// The exact bytes of the file: "[settings]" and one line per key in fixed order, CR LF endings;
// zero numbers are written as nothing ("st1="), flags as 1 or 0, the alarm text unchanged.
std::string SettingsFileText(const Settings& settings);

// Replaces the file with SettingsFileText(settings) through a temporary file in the same directory,
// creating the directory when missing. A failed save leaves the old file whole, logs one line
// and returns false.
bool SaveSettings(const Settings& settings, const std::filesystem::path& path);

// Every key with its value as loaded, in file order: numbers in decimal (0 as "0"), flags as 1 or
// 0, the alarm text as it stands.
std::vector<std::pair<std::string, std::string>> SettingsEntries(const Settings& settings);

}  // namespace kestrelon

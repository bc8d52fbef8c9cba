// SPDX-License-Identifier: GPL-3.0-or-later
// Where the settings file lives: the user's configuration directory.
#pragma once

#include <string>

namespace kestrelon {

// The user's configuration directory: $XDG_CONFIG_HOME when that variable holds an absolute path,
// else ~/.config (home from $HOME, else the password database).
std::string UserConfigHome();

// $XDG_CONFIG_HOME/kestrelon/Settings.inf when that variable holds an absolute path, else
// ~/.config/kestrelon/Settings.inf (home from $HOME, else the password database).
std::string DefaultSettingsPath();

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// Our own options file, kestrelon.conf beside Settings.inf: INI through QSettings, each value
// checked; a missing file or a bad value leaves the default.
#pragma once

#include <string>

#include "core/options.h"

namespace kestrelon {

// $XDG_CONFIG_HOME/kestrelon/kestrelon.conf (~/.config/kestrelon/kestrelon.conf when unset).
std::string DefaultOptionsPath();

// The options in the file at `path`. A missing file gives the defaults. A value that is not a
// number, lies outside its range or is an empty name keeps the default, with one log line naming
// the key and the value; so does an unknown key, and a file that cannot be read.
Options LoadOptions(const std::string& path);

}  // namespace kestrelon

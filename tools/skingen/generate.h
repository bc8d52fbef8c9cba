// SPDX-License-Identifier: GPL-3.0-or-later
// Draws and writes every file of the default skin.
#pragma once

#include <filesystem>

namespace kestrelon::skingen {

// Writes the whole skin into `dir` (made if missing). False, with log lines, when any file of the
// skin's list could not be written or was not drawn.
bool writeSkin(const std::filesystem::path& dir);

}  // namespace kestrelon::skingen

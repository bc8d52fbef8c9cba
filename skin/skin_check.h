// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up check of a skin directory: every required file present and readable.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kestrelon {

// One message per required skin file that is missing, cannot be decoded (pictures as BMP,
// pointers as cursors, the click sound as a RIFF/WAVE file) or has the wrong fixed size.
// Empty when the skin is complete. Messages carry no "kestrelon: " prefix.
std::vector<std::string> CheckSkin(const std::filesystem::path& dir);

}  // namespace kestrelon

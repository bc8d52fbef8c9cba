// SPDX-License-Identifier: GPL-3.0-or-later
// Replaces a file's whole content in one step, so that a failed write never leaves half a file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kestrelon {

// The temporary file that a replacement of `target` writes first: a hidden name beside the
// target, unique to this process.
std::filesystem::path ReplacementTempPath(const std::filesystem::path& target);

// Writes `bytes` into the temporary file, flushes it to the disk and renames it over `target`.
// The target's directory is created when missing; an existing target keeps its permissions.
// On failure the old file is left as it was, the temporary file is removed and `error` says what
// went wrong (one line, naming the path concerned).
bool ReplaceFileContent(const std::filesystem::path& target, std::string_view bytes,
                        std::string& error);

}  // namespace kestrelon

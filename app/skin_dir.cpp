// SPDX-License-Identifier: GPL-3.0-or-later
// Locating the skin from the executable's path.
#include "app/skin_dir.h"

#include <filesystem>

namespace kestrelon {

std::string SkinDirectory(const char* argv0) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) exe = fs::absolute(argv0 ? argv0 : "", ec);
    fs::path dir = exe.parent_path().parent_path() / "share" / "kestrelon";
    return dir.lexically_normal().string() + "/";
}

}  // namespace kestrelon

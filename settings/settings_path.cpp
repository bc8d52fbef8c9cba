// SPDX-License-Identifier: GPL-3.0-or-later
// The default location of Settings.inf under the user's configuration directory.
#include "settings/settings_path.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace kestrelon {

namespace {

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr)
        return found->pw_dir;
    return {};
}

}  // namespace

std::string UserConfigHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME");
        xdg != nullptr && std::filesystem::path(xdg).is_absolute())
        return xdg;
    return (std::filesystem::path(HomeDirectory()) / ".config").string();
}

std::string DefaultSettingsPath() {
    return (std::filesystem::path(UserConfigHome()) / "kestrelon" / "Settings.inf").string();
}

}  // namespace kestrelon

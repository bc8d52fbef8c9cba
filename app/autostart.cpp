// SPDX-License-Identifier: GPL-3.0-or-later
// The user's autostart entry: path, text, Exec quoting, and the safe write, remove and read.
#include "app/autostart.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string_view>

#include "settings/settings_path.h"

namespace kestrelon {

namespace fs = std::filesystem;

namespace {

// One Exec argument: quoted when it holds a reserved character, '%' doubled (it starts field
// codes), then escaped once more as every string value is.
std::string execArgument(const std::string& arg) {
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string quoted;
    if (arg.empty() || arg.find_first_of(reserved) != std::string::npos) {
        quoted = "\"";
        for (char c : arg) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
            quoted += c;
        }
        quoted += '"';
    } else {
        quoted = arg;
    }
    std::string value;
    for (char c : quoted) {
        switch (c) {
            case '%':
                value += "%%";
                break;
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\t':
                value += "\\t";
                break;
            case '\r':
                value += "\\r";
                break;
            default:
                value += c;
        }
    }
    return value;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

fs::path AutostartEntryPath(const fs::path& configHome) {
    return configHome / "autostart" / "kestrelon.desktop";
}

std::string AutostartCommand(const fs::path& program, const std::string& searchPath) {
    const fs::path name = program.filename();
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t end = searchPath.find(':', start);
        if (end == std::string::npos) end = searchPath.size();
        const std::string folder = searchPath.substr(start, end - start);
        start = end + 1;
        if (folder.empty() || folder.front() != '/') continue;  // never the current directory
        std::error_code ec;
        const fs::path candidate = fs::path(folder) / name;
        if (!fs::exists(candidate, ec)) continue;
        if (fs::equivalent(candidate, program, ec)) return execArgument(name.string());
        break;  // another program of that name comes first
    }
    return execArgument(program.string());
}

std::string AutostartEntryText(const std::string& command) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Kestrelon\n"
           "Comment=Front panel temperatures, fans and clock, in the tray from login\n"
           "Exec=" +
           command +
           "\n"
           "Icon=kestrelon\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool AutostartEnabled(const fs::path& entry) {
    std::ifstream in(entry);
    if (!in) return false;
    bool mainGroup = false;
    for (std::string line; std::getline(in, line);) {
        const std::string text = trimmed(line);
        if (text.empty() || text.front() == '#') continue;
        if (text.front() == '[') {
            mainGroup = text == "[Desktop Entry]";
            continue;
        }
        const auto equals = text.find('=');
        if (!mainGroup || equals == std::string::npos) continue;
        const std::string key = trimmed(std::string_view(text).substr(0, equals));
        const std::string value = trimmed(std::string_view(text).substr(equals + 1));
        if (key == "Hidden" && value == "true") return false;
        if (key == "X-GNOME-Autostart-enabled" && value == "false") return false;
    }
    return true;
}

bool WriteAutostartEntry(const fs::path& entry, const std::string& command, std::string& error) {
    std::error_code ec;
    fs::create_directories(entry.parent_path(), ec);
    if (ec) {
        error = "cannot make " + entry.parent_path().string() + ": " + ec.message();
        return false;
    }
    const fs::path temporary = entry.string() + ".tmp-" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << AutostartEntryText(command);
        out.flush();
        if (!out) {
            fs::remove(temporary, ec);
            error = "cannot write " + temporary.string();
            return false;
        }
    }
    fs::rename(temporary, entry, ec);
    if (ec) {
        fs::remove(temporary, ec);
        error = "cannot write " + entry.string() + ": " + ec.message();
        return false;
    }
    return true;
}

bool RemoveAutostartEntry(const fs::path& entry, std::string& error) {
    std::error_code ec;
    fs::remove(entry, ec);
    if (ec) {
        error = "cannot remove " + entry.string() + ": " + ec.message();
        return false;
    }
    return true;
}

bool StartsAtLogin() {
    return AutostartEnabled(AutostartEntryPath(UserConfigHome()));
}

bool SetStartAtLogin(bool on, std::string& error) {
    const fs::path entry = AutostartEntryPath(UserConfigHome());
    if (!on) return RemoveAutostartEntry(entry, error);
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec) {
        error = "cannot find this program's own path: " + ec.message();
        return false;
    }
    const char* path = std::getenv("PATH");
    return WriteAutostartEntry(entry, AutostartCommand(program, path ? path : ""), error);
}

}  // namespace kestrelon

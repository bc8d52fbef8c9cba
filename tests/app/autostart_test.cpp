// SPDX-License-Identifier: GPL-3.0-or-later
// "Start at login": the Exec value for awkward program paths, the bare name only when PATH finds
// the same file, the write/read/remove round trip, switched-off entries, failures that keep what
// was there, and entries that desktop-file-validate accepts.
#include "app/autostart.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace kestrelon {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// desktop-file-validate's complaints about `path` (empty when it has none); nothing when the tool
// is missing.
std::optional<std::string> validatorComplaints(const fs::path& path) {
    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0) return std::nullopt;
    const std::string command = "desktop-file-validate '" + path.string() + "' 2>&1";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char chunk[512];
        while (std::fgets(chunk, sizeof chunk, pipe)) output += chunk;
        if (::pclose(pipe) != 0 && output.empty()) output = "desktop-file-validate failed";
    }
    return output;
}

TEST(Autostart, ExecValueQuotesAndEscapesAwkwardProgramPaths) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/usr/bin/kestrelon", "/usr/bin/kestrelon"},
        {"/opt/My Apps/kestrelon", R"("/opt/My Apps/kestrelon")"},
        {"/opt/100%/kestrelon", "/opt/100%%/kestrelon"},
        {"/opt/a$b/kes\"trelon", R"("/opt/a\\$b/kes\\"trelon")"},
        {"/opt/back\\slash/kestrelon", R"("/opt/back\\\\slash/kestrelon")"},
        {"/opt/it's/kestrelon", R"("/opt/it's/kestrelon")"},
    };
    for (const auto& [program, exec] : cases) EXPECT_EQ(AutostartCommand(program, ""), exec);
}

TEST(Autostart, BareNameOnlyWhenPathFindsThatSameProgramFirst) {
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    for (const char* folder : {"ours", "other", "links"}) fs::create_directory(root / folder);
    const fs::path ours = root / "ours" / "kestrelon";
    std::ofstream(ours) << "#!/bin/sh\n";
    std::ofstream(root / "other" / "kestrelon") << "#!/bin/sh\n";
    fs::create_symlink(ours, root / "links" / "kestrelon");

    const std::string oursDir = (root / "ours").string(), otherDir = (root / "other").string();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {oursDir, "kestrelon"},
        {"/nonexistent:" + oursDir, "kestrelon"},
        {(root / "links").string(), "kestrelon"},
        {otherDir + ":" + oursDir, ours.string()},  // another kestrelon would start
        {"ours:" + otherDir, ours.string()},        // relative folders are never searched
        {"", ours.string()},
    };
    const fs::path savedDirectory = fs::current_path();
    fs::current_path(root);  // where a relative "ours" would find the program
    for (const auto& [searchPath, exec] : cases)
        EXPECT_EQ(AutostartCommand(ours, searchPath), exec) << searchPath;
    fs::current_path(savedDirectory);
}

TEST(Autostart, WrittenEntryReadsAsOnUntilRemovedAndPassesTheValidator) {
    QTemporaryDir dir;
    const fs::path entry = AutostartEntryPath(fs::path(dir.path().toStdString()) / "config");
    EXPECT_EQ(entry.filename(), "kestrelon.desktop");
    EXPECT_EQ(entry.parent_path().filename(), "autostart");
    EXPECT_FALSE(AutostartEnabled(entry));

    std::string error;
    for (const std::string program : {"/usr/bin/kestrelon", "/opt/My $Apps/100%/it's\\kestrelon"}) {
        const std::string command = AutostartCommand(program, "");
        ASSERT_TRUE(WriteAutostartEntry(entry, command, error)) << error;
        EXPECT_TRUE(AutostartEnabled(entry));
        const std::string text = readAll(entry);
        EXPECT_NE(text.find("\nExec=" + command + "\n"), std::string::npos) << text;
        if (auto complaints = validatorComplaints(entry)) {
            EXPECT_EQ(*complaints, "") << text;
        }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(entry.parent_path()), {}), 1)
        << "no temporary file is left behind";

    ASSERT_TRUE(RemoveAutostartEntry(entry, error)) << error;
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_FALSE(AutostartEnabled(entry));
    EXPECT_TRUE(RemoveAutostartEntry(entry, error)) << "removing twice is harmless";
}

TEST(Autostart, EntriesSwitchedOffInTheMainGroupReadAsOff) {
    QTemporaryDir dir;
    const fs::path entry = fs::path(dir.path().toStdString()) / "kestrelon.desktop";
    const std::string head = "[Desktop Entry]\nType=Application\nName=Kestrelon\nExec=kestrelon\n";
    const std::vector<std::pair<std::string, bool>> cases = {
        {head, true},
        {head + "Hidden=true\n", false},
        {head + "Hidden = true\n", false},
        {head + "Hidden=false\n", true},
        {head + "X-GNOME-Autostart-enabled=false\n", false},
        {head + "X-GNOME-Autostart-enabled=true\n", true},
        {head + "# Hidden=true\n", true},
        {head + "[Desktop Action quit]\nHidden=true\n", true},  // another group's key
    };
    for (const auto& [text, enabled] : cases) {
        std::ofstream(entry, std::ios::trunc) << text;
        EXPECT_EQ(AutostartEnabled(entry), enabled) << text;
    }
}

TEST(Autostart, FailedWriteOrRemoveSaysWhyAndKeepsWhatWasThere) {
    QTemporaryDir dir;
    const fs::path root = dir.path().toStdString();
    std::string error;

    std::ofstream(root / "blocked") << "a file where the autostart folder should be\n";
    EXPECT_FALSE(WriteAutostartEntry(root / "blocked" / "kestrelon.desktop", "kestrelon", error));
    EXPECT_NE(error.find((root / "blocked").string()), std::string::npos) << error;

    // An entry path taken by a folder: the rename fails, the folder and its contents stay.
    const fs::path taken = root / "autostart" / "kestrelon.desktop";
    fs::create_directories(taken);
    std::ofstream(taken / "keep") << "x";
    error.clear();
    EXPECT_FALSE(WriteAutostartEntry(taken, "kestrelon", error));
    EXPECT_NE(error.find(taken.string()), std::string::npos) << error;
    EXPECT_TRUE(fs::exists(taken / "keep"));
    EXPECT_EQ(std::distance(fs::directory_iterator(taken.parent_path()), {}), 1);

    error.clear();
    EXPECT_FALSE(RemoveAutostartEntry(taken, error));
    EXPECT_NE(error.find("cannot remove"), std::string::npos) << error;
    EXPECT_TRUE(fs::exists(taken / "keep"));
}

TEST(Autostart, TrayCallsUseTheConfigHomeAndThisProgramsOwnPath) {
    QTemporaryDir dir;
    const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = savedConfig ? savedConfig : "";
    ::setenv("XDG_CONFIG_HOME", dir.path().toUtf8().constData(), 1);

    std::string error;
    EXPECT_FALSE(StartsAtLogin());
    ASSERT_TRUE(SetStartAtLogin(true, error)) << error;
    EXPECT_TRUE(StartsAtLogin());
    const fs::path entry = AutostartEntryPath(dir.path().toStdString());
    const std::string self = fs::read_symlink("/proc/self/exe").filename().string();
    EXPECT_NE(readAll(entry).find(self + "\n"), std::string::npos) << readAll(entry);
    ASSERT_TRUE(SetStartAtLogin(false, error)) << error;
    EXPECT_FALSE(StartsAtLogin());
    EXPECT_FALSE(fs::exists(entry));

    if (savedConfig)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace kestrelon

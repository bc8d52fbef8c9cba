// SPDX-License-Identifier: GPL-3.0-or-later
// Saving is all or nothing: a failed save keeps the old file, says so once and returns false;
// the first save creates the directory. Also the file's default location.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>

#include "settings/atomic_file.h"
#include "settings/settings_file.h"
#include "core/monitor_state.h"
#include "settings_test_files.h"

namespace kestrelon {
namespace {

using testing_files::ReadBytes;
using testing_files::ScratchDir;
using testing_files::WriteBytes;

constexpr std::string_view kOldContent = "[settings]\r\nst1=42\r\n";

MonitorState ChangedState() {
    MonitorState s;
    s.settings.limitCelsius[Channel::Cpu] = 77;
    s.settings.alarm.text = "06:00";
    return s;
}

std::string SaveCapturingLog(const std::filesystem::path& path, bool& saved) {
    ::testing::internal::CaptureStderr();
    saved = SaveSettings(ChangedState().settings, path);
    return ::testing::internal::GetCapturedStderr();
}

void ExpectOneLogLine(const std::string& log) {
    EXPECT_EQ(log.rfind("kestrelon: ", 0), 0u) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_EQ(log.back(), '\n');
}

TEST(SafeSave, FirstSaveCreatesTheDirectoryAndLeavesNoTemporaryFile) {
    ScratchDir dir;
    const auto target = dir / "config" / "kestrelon" / "Settings.inf";
    ASSERT_TRUE(SaveSettings(ChangedState().settings, target));
    EXPECT_EQ(ReadBytes(target), SettingsFileText(ChangedState().settings));
    EXPECT_FALSE(std::filesystem::exists(ReplacementTempPath(target)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(target.parent_path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(SafeSave, ReplacesTheOldFileAndKeepsItsPermissions) {
    ScratchDir dir;
    const auto target = dir / "Settings.inf";
    WriteBytes(target, kOldContent);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    WriteBytes(ReplacementTempPath(target), "stale leftover of a crashed save");

    ASSERT_TRUE(SaveSettings(ChangedState().settings, target));
    EXPECT_EQ(ReadBytes(target), SettingsFileText(ChangedState().settings));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_FALSE(std::filesystem::exists(ReplacementTempPath(target)));
}

TEST(SafeSave, DirectoryInTheWayOfTheTemporaryFileKeepsTheOldFile) {
    ScratchDir dir;
    const auto target = dir / "Settings.inf";
    WriteBytes(target, kOldContent);
    std::filesystem::create_directory(ReplacementTempPath(target));
    WriteBytes(ReplacementTempPath(target) / "inside", "x");

    bool saved = true;
    const std::string log = SaveCapturingLog(target, saved);
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadBytes(target), kOldContent);
    ExpectOneLogLine(log);
    EXPECT_EQ(ReadBytes(ReplacementTempPath(target) / "inside"), "x");
}

TEST(SafeSave, FailedRenameRemovesTheTemporaryFile) {
    ScratchDir dir;
    const auto target = dir / "Settings.inf";
    std::filesystem::create_directories(target / "occupied");  // a directory is where the file goes

    bool saved = true;
    const std::string log = SaveCapturingLog(target, saved);
    EXPECT_FALSE(saved);
    ExpectOneLogLine(log);
    EXPECT_TRUE(std::filesystem::is_directory(target / "occupied"));
    EXPECT_FALSE(std::filesystem::exists(ReplacementTempPath(target)));
}

TEST(SafeSave, DirectoryThatCannotBeCreatedFails) {
    ScratchDir dir;
    WriteBytes(dir / "plain", "a file, not a directory");
    bool saved = true;
    const std::string log = SaveCapturingLog(dir / "plain" / "kestrelon" / "Settings.inf", saved);
    EXPECT_FALSE(saved);
    ExpectOneLogLine(log);
    EXPECT_EQ(ReadBytes(dir / "plain"), "a file, not a directory");
}

// The save runs in a child process that, when started as root, first becomes an unprivileged
// user: root writes into read-only directories.
TEST(SafeSaveDeathTest, ReadOnlyDirectoryKeepsTheOldFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ScratchDir dir;
    const auto settings_dir = dir / "ro";
    const auto target = settings_dir / "Settings.inf";
    std::filesystem::create_directory(settings_dir);
    WriteBytes(target, kOldContent);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0644), 0);
    ASSERT_EQ(::chmod(settings_dir.c_str(), 0555), 0);

    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(3);
            const bool saved = SaveSettings(ChangedState().settings, target);
            const bool intact = ReadBytes(target) == kOldContent;
            const bool no_temp = !std::filesystem::exists(ReplacementTempPath(target));
            std::_Exit(saved ? 1 : (!intact ? 2 : (!no_temp ? 4 : 0)));
        },
        ::testing::ExitedWithCode(0), "kestrelon: settings not saved");
    ::chmod(settings_dir.c_str(), 0755);
}

class DefaultPathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"})
            if (const char* value = std::getenv(name)) saved_[name] = value;
    }
    void TearDown() override {
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
            if (saved_.contains(name))
                ::setenv(name, saved_[name].c_str(), 1);
            else
                ::unsetenv(name);
        }
    }
    std::map<std::string, std::string> saved_;
};

TEST_F(DefaultPathTest, XdgConfigHomeWinsWhenAbsoluteElseHomeDotConfig) {
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_CONFIG_HOME", "/srv/conf", 1);
    EXPECT_EQ(DefaultSettingsPath(), "/srv/conf/kestrelon/Settings.inf");
    ::setenv("XDG_CONFIG_HOME", "relative/conf", 1);
    EXPECT_EQ(DefaultSettingsPath(), "/home/someone/.config/kestrelon/Settings.inf");
    ::setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(DefaultSettingsPath(), "/home/someone/.config/kestrelon/Settings.inf");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(DefaultSettingsPath(), "/home/someone/.config/kestrelon/Settings.inf");
    ::unsetenv("HOME");
    const std::string without_home = DefaultSettingsPath();
    EXPECT_TRUE(std::filesystem::path(without_home).is_absolute()) << without_home;
    EXPECT_TRUE(without_home.ends_with("/.config/kestrelon/Settings.inf")) << without_home;
}

}  // namespace
}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// Loading, writing and listing Settings.inf: the exact bytes, lenient reading, flags, the alarm
// text and the round trip.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "core/monitor_state.h"
#include "settings_test_files.h"

namespace kestrelon {
namespace {

using testing_files::ReadBytes;
using testing_files::ScratchDir;
using testing_files::WriteBytes;

// A state with every stored variable away from its default, zeros and negatives included.
MonitorState SampleState() {
    MonitorState s;
    s.settings.limitCelsius[Channel::Cpu] = 65, s.settings.limitCelsius[Channel::Hdd] = 0,
    s.settings.limitCelsius[Channel::Vga] = -5, s.settings.limitCelsius[Channel::Case] = 123456;
    s.settings.limitFahrenheit[Channel::Cpu] = 149, s.settings.limitFahrenheit[Channel::Hdd] = 131,
    s.settings.limitFahrenheit[Channel::Vga] = 0, s.settings.limitFahrenheit[Channel::Case] = 113;
    s.settings.backlight = Backlight::Purple;
    s.settings.fanMode = FanMode::Manual;
    s.settings.unit = TemperatureUnit::Fahrenheit;
    s.settings.alarm.text = "07:45";
    s.settings.fanSetPoint[Channel::Cpu] = 480, s.settings.fanSetPoint[Channel::Hdd] = 400,
    s.settings.fanSetPoint[Channel::Vga] = 0, s.settings.fanSetPoint[Channel::Case] = 600;
    s.settings.manualFanSpeed[Channel::Cpu] = 2400, s.settings.manualFanSpeed[Channel::Hdd] = 2000,
    s.settings.manualFanSpeed[Channel::Vga] = 1600, s.settings.manualFanSpeed[Channel::Case] = -1;
    return s;
}

// A state whose stored variables all differ from what an empty file gives.
MonitorState DirtyState() {
    MonitorState s = SampleState();
    s.settings.limitCelsius[Channel::Hdd] = 1, s.settings.limitFahrenheit[Channel::Vga] = 1,
    s.settings.fanSetPoint[Channel::Vga] = 1;
    s.settings.fanMode = FanMode::Automatic;
    return s;
}

void ExpectStoredFieldsEqual(const MonitorState& a, const MonitorState& b) {
    EXPECT_EQ(a.settings.limitCelsius, b.settings.limitCelsius);
    EXPECT_EQ(a.settings.limitFahrenheit, b.settings.limitFahrenheit);
    EXPECT_EQ(a.settings.fanSetPoint, b.settings.fanSetPoint);
    EXPECT_EQ(a.settings.manualFanSpeed, b.settings.manualFanSpeed);
    EXPECT_EQ(a.settings.backlight, b.settings.backlight);
    EXPECT_EQ(a.settings.fansAutomatic(), b.settings.fansAutomatic());
    EXPECT_EQ(a.settings.fahrenheit(), b.settings.fahrenheit());
    EXPECT_EQ(a.settings.celsiusButtonLit(), b.settings.celsiusButtonLit());
    EXPECT_EQ(a.settings.alarm.text, b.settings.alarm.text);
}

class SettingsFileTest : public ::testing::Test {
protected:
    MonitorState LoadText(std::string_view text, MonitorState start = DirtyState()) {
        WriteBytes(file_, text);
        LoadSettings(start.settings, file_);
        return start;
    }

    ScratchDir dir_;
    std::filesystem::path file_ = dir_ / "Settings.inf";
};

TEST_F(SettingsFileTest, WriterProducesTheFixedLinesWithCrLf) {
    const std::string expected =
        "[settings]\r\n"
        "st1=65\r\nst2=\r\nst3=-5\r\nst4=123456\r\n"
        "fst1=149\r\nfst2=131\r\nfst3=\r\nfst4=113\r\n"
        "color=3\r\nauto=0\r\nt_unit=1\r\nalarm=07:45\r\n"
        "sf1=480\r\nsf2=400\r\nsf3=\r\nsf4=600\r\n"
        "msf1=2400\r\nmsf2=2000\r\nmsf3=1600\r\nmsf4=-1\r\n";
    ASSERT_TRUE(SaveSettings(SampleState().settings, file_));
    EXPECT_EQ(ReadBytes(file_), expected);
    EXPECT_EQ(SettingsFileText(SampleState().settings), expected);

    MonitorState other = SampleState();
    other.settings.backlight = Backlight::Off, other.settings.fanMode = FanMode::Automatic,
        other.settings.unit = TemperatureUnit::Celsius, other.settings.alarm.text = ":";
    const std::string text = SettingsFileText(other.settings);
    // ":" (a missing alarm) is written as nothing, which loads back as ":".
    EXPECT_NE(text.find("\r\ncolor=\r\nauto=1\r\nt_unit=0\r\nalarm=\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, SaveAfterLoadReproducesTheFileByteForByte) {
    ASSERT_TRUE(SaveSettings(SampleState().settings, file_));
    const std::string written = ReadBytes(file_);

    MonitorState loaded;
    LoadSettings(loaded.settings, file_);
    ExpectStoredFieldsEqual(loaded, SampleState());

    const auto second = dir_ / "again" / "Settings.inf";
    ASSERT_TRUE(SaveSettings(loaded.settings, second));
    EXPECT_EQ(ReadBytes(second), written);
}

TEST_F(SettingsFileTest, EmptySectionOrMissingFileGivesZerosClearFlagsAndColonAlarm) {
    MonitorState expected;
    expected.settings.alarm.text = ":";
    ExpectStoredFieldsEqual(LoadText("[settings]"), expected);
    ExpectStoredFieldsEqual(LoadText("[other]\r\nst1=5\r\n"), expected);

    MonitorState missing = DirtyState();
    LoadSettings(missing.settings, dir_ / "no" / "such" / "Settings.inf");
    ExpectStoredFieldsEqual(missing, expected);
}

TEST_F(SettingsFileTest, LoadTouchesOnlyTheStoredVariables) {
    MonitorState start;
    start.panel.lcdSensor = 2, start.panel.alarmEnabled = true, start.panel.volumeLevel = 17,
    start.readings.fanLimit[Channel::Cpu] = 2400;
    const MonitorState loaded = LoadText("[settings]\r\nst1=70\r\n", start);
    EXPECT_EQ(loaded.settings.limitCelsius[Channel::Cpu], 70);
    EXPECT_EQ(loaded.panel.lcdSensor, 2);
    EXPECT_TRUE(loaded.panel.alarmEnabled);
    EXPECT_EQ(loaded.panel.volumeLevel, 17);
    EXPECT_EQ(loaded.readings.fanLimit[Channel::Cpu], 2400);
}

TEST_F(SettingsFileTest, NumbersAreReadLenientlyRoundedHalfEvenAndClamped) {
    const MonitorState s = LoadText(
        "[SETTINGS]\r\n"
        "ST1 = 72 \r\n"
        "st1=99\r\n"  // a second line for the same key is ignored
        "st2=72abc\r\n"
        "st3= -3 \r\n"
        "st4=1e2\r\n"
        "fst1=2.5\r\n"
        "fst2=3.5\r\n"
        "fst3=-2.5\r\n"
        "fst4=abc\r\n"
        "color=70000\r\n"
        "sf1=1e12\r\n"
        "sf2=-1e12\r\n"
        "sf3=2147483647.4\r\n"
        "msf1=\r\n");
    EXPECT_EQ(s.settings.limitCelsius[Channel::Cpu], 72);
    EXPECT_EQ(s.settings.limitCelsius[Channel::Hdd], 72);
    EXPECT_EQ(s.settings.limitCelsius[Channel::Vga], -3);
    EXPECT_EQ(s.settings.limitCelsius[Channel::Case], 100);
    EXPECT_EQ(s.settings.limitFahrenheit[Channel::Cpu], 2);
    EXPECT_EQ(s.settings.limitFahrenheit[Channel::Hdd], 4);
    EXPECT_EQ(s.settings.limitFahrenheit[Channel::Vga], -2);
    EXPECT_EQ(s.settings.limitFahrenheit[Channel::Case], 0);
    EXPECT_EQ(s.settings.backlight, static_cast<Backlight>(32767));
    EXPECT_EQ(s.settings.fanSetPoint[Channel::Cpu], 2147483647);
    EXPECT_EQ(s.settings.fanSetPoint[Channel::Hdd], -2147483647 - 1);
    EXPECT_EQ(s.settings.fanSetPoint[Channel::Vga], 2147483647);
    EXPECT_EQ(s.settings.fanSetPoint[Channel::Case], 0);  // missing key
    EXPECT_EQ(s.settings.manualFanSpeed[Channel::Cpu], 0);
}

TEST_F(SettingsFileTest, FlagsAreSetByAnyNumberThatRoundsToNonZero) {
    struct Case {
        const char* text;
        bool set;
    };
    for (const Case c : {Case{"1", true}, Case{"2", true}, Case{"-1", true}, Case{"0", false},
                         Case{"0.5", false}, Case{"1.5", true}, Case{"-0.5", false},
                         Case{"1e9", true}, Case{"yes", false}, Case{"", false}}) {
        const std::string value = c.text;
        const MonitorState s = LoadText("[settings]\r\nauto=" + value + "\r\nt_unit=" + value);
        EXPECT_EQ(s.settings.fansAutomatic(), c.set) << "auto=" << value;
        EXPECT_EQ(s.settings.fahrenheit(), c.set) << "t_unit=" << value;
        EXPECT_EQ(s.settings.celsiusButtonLit(), !c.set) << "t_unit=" << value;
    }
}

TEST_F(SettingsFileTest, AlarmTextIsRebuiltFromCharactersOneTwoAndFourFive) {
    struct Case {
        const char* stored;
        const char* loaded;
    };
    for (const Case c :
         {Case{"07:30", "07:30"}, Case{"23:59", "23:59"}, Case{"", ":"}, Case{"7", "7:"},
          Case{"12", "12:"}, Case{"12:", "12:"}, Case{"12:3", "12:3"}, Case{"1230", "12:0"},
          Case{"7:30", "7::0"}, Case{"12-345", "12:34"}, Case{" 08:15 ", "08:15"},
          Case{"\" 7:30\"", " 7:30"}, Case{"\"7\"", "7:"}, Case{"' '", " :"}, Case{":", "::"},
          Case{"::", ":::"}, Case{"\"'1:2'\"", "'1:2'"}, Case{"\"\"", ":"}}) {
        const MonitorState s = LoadText(std::string("[settings]\r\nalarm=") + c.stored + "\r\n");
        EXPECT_EQ(s.settings.alarm.text, c.loaded) << '"' << c.stored << '"';
        // What was loaded is saved so that it loads back the same, however often it is saved.
        MonitorState again = s;
        for (int save = 0; save < 3; ++save) {
            again = LoadText(SettingsFileText(again.settings));
            EXPECT_EQ(again.settings.alarm.text, c.loaded) << '"' << c.stored << "\" save " << save;
        }
    }
    EXPECT_EQ(LoadText("[settings]\r\n").settings.alarm.text, ":");
}

TEST_F(SettingsFileTest, EntriesListEveryKeyInFileOrderWithLoadedValues) {
    const MonitorState state = SampleState();
    const auto entries = SettingsEntries(state.settings);

    // Same keys in the same order as the written file.
    std::istringstream lines(SettingsFileText(state.settings));
    std::string line;
    std::getline(lines, line);
    std::size_t index = 0;
    while (std::getline(lines, line)) {
        ASSERT_LT(index, entries.size());
        EXPECT_EQ(line.substr(0, line.find('=')), entries[index].first);
        ++index;
    }
    EXPECT_EQ(index, entries.size());

    const auto value = [&](std::string_view key) {
        for (const auto& [k, v] : entries)
            if (k == key) return v;
        return std::string("<absent>");
    };
    EXPECT_EQ(value("st1"), "65");
    EXPECT_EQ(value("st2"), "0");  // the file writes nothing, the listing shows the number
    EXPECT_EQ(value("st3"), "-5");
    EXPECT_EQ(value("color"), "3");
    EXPECT_EQ(value("auto"), "0");
    EXPECT_EQ(value("t_unit"), "1");
    EXPECT_EQ(value("alarm"), "07:45");
    EXPECT_EQ(value("msf4"), "-1");

    // What a lenient file loads to is what the listing shows.
    const MonitorState loaded = LoadText("[settings]\r\nst1= 71.5 \r\nauto=-3\r\nalarm=9\r\n");
    const auto loaded_entries = SettingsEntries(loaded.settings);
    EXPECT_EQ(loaded_entries[0], (std::pair<std::string, std::string>("st1", "72")));
    EXPECT_EQ(loaded_entries[9], (std::pair<std::string, std::string>("auto", "1")));
    EXPECT_EQ(loaded_entries[11], (std::pair<std::string, std::string>("alarm", "9:")));
}

TEST_F(SettingsFileTest, AnUnreadableFileIsLoggedAndReadAsEmpty) {
    std::filesystem::create_directory(file_);
    MonitorState s = DirtyState();
    ::testing::internal::CaptureStderr();
    LoadSettings(s.settings, file_);
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(log.rfind("kestrelon: ", 0), 0u) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_EQ(s.settings.limitCelsius[Channel::Cpu], 0);
    EXPECT_EQ(s.settings.alarm.text, ":");
}

}  // namespace
}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// Loading, writing and listing Settings.inf: the exact bytes, lenient reading, flags, the alarm
// text and the round trip.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "settings_test_files.h"

namespace kestrelon {
namespace {

using testing_files::ReadBytes;
using testing_files::ScratchDir;
using testing_files::WriteBytes;

// A state with every stored variable away from its default, zeros and negatives included.
MonitorState SampleState() {
    MonitorState s;
    s.st[1] = 65, s.st[2] = 0, s.st[3] = -5, s.st[4] = 123456;
    s.fst[1] = 149, s.fst[2] = 131, s.fst[3] = 0, s.fst[4] = 113;
    s.back_color = 3;
    s.auto_stat = false;
    s.t_unit = true;
    s.dec_stat = false;
    s.alarm_time = "07:45";
    s.sf[1] = 480, s.sf[2] = 400, s.sf[3] = 0, s.sf[4] = 600;
    s.msf[1] = 2400, s.msf[2] = 2000, s.msf[3] = 1600, s.msf[4] = -1;
    return s;
}

// A state whose stored variables all differ from what an empty file gives.
MonitorState DirtyState() {
    MonitorState s = SampleState();
    s.st[2] = 1, s.fst[3] = 1, s.sf[3] = 1;
    s.auto_stat = true;
    return s;
}

void ExpectStoredFieldsEqual(const MonitorState& a, const MonitorState& b) {
    EXPECT_EQ(a.st, b.st);
    EXPECT_EQ(a.fst, b.fst);
    EXPECT_EQ(a.sf, b.sf);
    EXPECT_EQ(a.msf, b.msf);
    EXPECT_EQ(a.back_color, b.back_color);
    EXPECT_EQ(a.auto_stat, b.auto_stat);
    EXPECT_EQ(a.t_unit, b.t_unit);
    EXPECT_EQ(a.dec_stat, b.dec_stat);
    EXPECT_EQ(a.alarm_time, b.alarm_time);
}

class SettingsFileTest : public ::testing::Test {
protected:
    MonitorState LoadText(std::string_view text, MonitorState start = DirtyState()) {
        WriteBytes(file_, text);
        LoadSettings(start, file_);
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
    ASSERT_TRUE(SaveSettings(SampleState(), file_));
    EXPECT_EQ(ReadBytes(file_), expected);
    EXPECT_EQ(SettingsFileText(SampleState()), expected);

    MonitorState other = SampleState();
    other.back_color = 0, other.auto_stat = true, other.t_unit = false, other.alarm_time = ":";
    const std::string text = SettingsFileText(other);
    // ":" (a missing alarm) is written as nothing, which loads back as ":".
    EXPECT_NE(text.find("\r\ncolor=\r\nauto=1\r\nt_unit=0\r\nalarm=\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, SaveAfterLoadReproducesTheFileByteForByte) {
    ASSERT_TRUE(SaveSettings(SampleState(), file_));
    const std::string written = ReadBytes(file_);

    MonitorState loaded;
    LoadSettings(loaded, file_);
    ExpectStoredFieldsEqual(loaded, SampleState());

    const auto second = dir_ / "again" / "Settings.inf";
    ASSERT_TRUE(SaveSettings(loaded, second));
    EXPECT_EQ(ReadBytes(second), written);
}

TEST_F(SettingsFileTest, EmptySectionOrMissingFileGivesZerosClearFlagsAndColonAlarm) {
    MonitorState expected;
    expected.dec_stat = true;
    expected.alarm_time = ":";
    ExpectStoredFieldsEqual(LoadText("[settings]"), expected);
    ExpectStoredFieldsEqual(LoadText("[other]\r\nst1=5\r\n"), expected);

    MonitorState missing = DirtyState();
    LoadSettings(missing, dir_ / "no" / "such" / "Settings.inf");
    ExpectStoredFieldsEqual(missing, expected);
}

TEST_F(SettingsFileTest, LoadTouchesOnlyTheStoredVariables) {
    MonitorState start;
    start.lcd_mode = 2, start.alarm_en = true, start.usb_vol = 17, start.lf[1] = 2400;
    const MonitorState loaded = LoadText("[settings]\r\nst1=70\r\n", start);
    EXPECT_EQ(loaded.st[1], 70);
    EXPECT_EQ(loaded.lcd_mode, 2);
    EXPECT_TRUE(loaded.alarm_en);
    EXPECT_EQ(loaded.usb_vol, 17);
    EXPECT_EQ(loaded.lf[1], 2400);
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
    EXPECT_EQ(s.st[1], 72);
    EXPECT_EQ(s.st[2], 72);
    EXPECT_EQ(s.st[3], -3);
    EXPECT_EQ(s.st[4], 100);
    EXPECT_EQ(s.fst[1], 2);
    EXPECT_EQ(s.fst[2], 4);
    EXPECT_EQ(s.fst[3], -2);
    EXPECT_EQ(s.fst[4], 0);
    EXPECT_EQ(s.back_color, 32767);
    EXPECT_EQ(s.sf[1], 2147483647);
    EXPECT_EQ(s.sf[2], -2147483647 - 1);
    EXPECT_EQ(s.sf[3], 2147483647);
    EXPECT_EQ(s.sf[4], 0);  // missing key
    EXPECT_EQ(s.msf[1], 0);
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
        EXPECT_EQ(s.auto_stat, c.set) << "auto=" << value;
        EXPECT_EQ(s.t_unit, c.set) << "t_unit=" << value;
        EXPECT_EQ(s.dec_stat, !c.set) << "t_unit=" << value;
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
        EXPECT_EQ(s.alarm_time, c.loaded) << '"' << c.stored << '"';
        // What was loaded is saved so that it loads back the same, however often it is saved.
        MonitorState again = s;
        for (int save = 0; save < 3; ++save) {
            again = LoadText(SettingsFileText(again));
            EXPECT_EQ(again.alarm_time, c.loaded) << '"' << c.stored << "\" save " << save;
        }
    }
    EXPECT_EQ(LoadText("[settings]\r\n").alarm_time, ":");
}

TEST_F(SettingsFileTest, EntriesListEveryKeyInFileOrderWithLoadedValues) {
    const MonitorState state = SampleState();
    const auto entries = SettingsEntries(state);

    // Same keys in the same order as the written file.
    std::istringstream lines(SettingsFileText(state));
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
    const auto loaded_entries = SettingsEntries(loaded);
    EXPECT_EQ(loaded_entries[0], (std::pair<std::string, std::string>("st1", "72")));
    EXPECT_EQ(loaded_entries[9], (std::pair<std::string, std::string>("auto", "1")));
    EXPECT_EQ(loaded_entries[11], (std::pair<std::string, std::string>("alarm", "9:")));
}

TEST_F(SettingsFileTest, AnUnreadableFileIsLoggedAndReadAsEmpty) {
    std::filesystem::create_directory(file_);
    MonitorState s = DirtyState();
    ::testing::internal::CaptureStderr();
    LoadSettings(s, file_);
    const std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(log.rfind("kestrelon: ", 0), 0u) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    EXPECT_EQ(s.st[1], 0);
    EXPECT_EQ(s.alarm_time, ":");
}

}  // namespace
}  // namespace kestrelon

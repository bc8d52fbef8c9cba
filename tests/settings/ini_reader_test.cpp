// SPDX-License-Identifier: GPL-3.0-or-later
// The INI reader follows the private-profile rules: case, first key, blanks, comments, line ends,
// missing pieces, cut values and the key list.
#include "settings/ini_reader.h"

#include <gtest/gtest.h>

#include "settings_test_files.h"

namespace kestrelon {
namespace {

using testing_files::ScratchDir;
using testing_files::WriteBytes;

class IniReaderTest : public ::testing::Test {
  protected:
    std::string Read(std::string_view section, std::string_view key,
                     std::string_view fallback = "<none>") {
        return ReadIniValue(section, key, fallback, file_);
    }
    void Write(std::string_view text) { WriteBytes(file_, text); }

    ScratchDir dir_;
    std::filesystem::path file_ = dir_ / "test.ini";
};

TEST_F(IniReaderTest, NamesMatchWithoutCaseAndBlanksAroundNamesAndValuesAreDropped) {
    Write("[ Settings ]\r\n  ST1 =  72 \t\r\n\tColor\t=\t2\r\n");
    EXPECT_EQ(Read("settings", "st1"), "72");
    EXPECT_EQ(Read("SETTINGS", "St1"), "72");
    EXPECT_EQ(Read("settings", "color"), "2");
    EXPECT_EQ(Read(" settings ", " COLOR "), "2");
}

TEST_F(IniReaderTest, FirstMatchingKeyOfTheSectionWinsEvenAcrossRepeatedHeaders) {
    Write(
        "[settings]\nst1=1\nST1=2\n"
        "[other]\nst1=3\nfst1=30\n"
        "[SETTINGS]\nst1=4\nfst1=5\n");
    EXPECT_EQ(Read("settings", "st1"), "1");
    EXPECT_EQ(Read("settings", "fst1"), "5");  // the second block of the same section counts
    EXPECT_EQ(Read("other", "st1"), "3");
}

TEST_F(IniReaderTest, MissingFileSectionOrKeyGivesTheDefaultButAnEmptyValueDoesNot) {
    EXPECT_EQ(Read("settings", "st1", "dflt"), "dflt");  // no file yet
    Write("[settings]\nst1=\nst2\n");
    EXPECT_EQ(Read("settings", "st1", "dflt"), "");
    EXPECT_EQ(Read("settings", "st2", "dflt"), "");  // a line without "=" names an empty key
    EXPECT_EQ(Read("settings", "st3", "dflt"), "dflt");
    EXPECT_EQ(Read("elsewhere", "st1", "dflt"), "dflt");
    EXPECT_EQ(Read("settings", "st3", "dflt  \t"), "dflt");  // trailing blanks of the default go
    EXPECT_EQ(Read("settings", "st3", ""), "");
}

TEST_F(IniReaderTest, CommentLinesNameNoKeyButSemicolonsInsideValuesStay) {
    Write(
        "; st1=1\n"
        "[settings]\n"
        "  ;st1=9\n"
        "st1=72 ; cpu\n"
        ";fst1=9\n");
    EXPECT_EQ(Read("settings", "st1"), "72 ; cpu");
    EXPECT_EQ(Read("settings", ";st1"), "<none>");
    EXPECT_EQ(Read("settings", "fst1"), "<none>");
    EXPECT_EQ(ReadIniValue("settings", nullptr, "", file_), std::string("st1\0", 4));
}

TEST_F(IniReaderTest, LinesEndWithCrLfLfOrLoneCr) {
    Write("[settings]\r\nst1=1\r\nst2=2\nst3=3\rst4=4\r\r\n\n[next]\rx=5");
    EXPECT_EQ(Read("settings", "st1"), "1");
    EXPECT_EQ(Read("settings", "st2"), "2");
    EXPECT_EQ(Read("settings", "st3"), "3");
    EXPECT_EQ(Read("settings", "st4"), "4");
    EXPECT_EQ(Read("next", "x"), "5");  // last line without a line end
}

TEST_F(IniReaderTest, OddLinesAreToleratedTheWayTheClassicReaderDoes) {
    Write(
        "st0=5\n"  // before any section: belongs to none
        "[settings]  trailing words\n"
        "=7\n"
        "st1=a=b\n"
        "st2=\"quoted value\"\n"
        "st3='single'\n"
        "st4=\"mismatched'\n"
        "[unclosed\n"
        "x=1\n");
    EXPECT_EQ(Read("settings", "st0"), "<none>");
    EXPECT_EQ(Read("settings", "st1"), "a=b");  // split at the first "="
    EXPECT_EQ(Read("settings", ""), "<none>");  // a line with no key name is ignored
    EXPECT_EQ(Read("settings", "st2"), "quoted value");
    EXPECT_EQ(Read("settings", "st3"), "single");
    EXPECT_EQ(Read("settings", "st4"), "\"mismatched'");
    EXPECT_EQ(Read("unclosed", "x"), "1");

    Write("\xEF\xBB\xBF[settings]\r\nst1=1\r\n");  // a byte-order mark some editors add
    EXPECT_EQ(Read("settings", "st1"), "1");
}

TEST_F(IniReaderTest, ValuesAreCutTo1023Characters) {
    const std::string long_value(5000, 'x');
    Write("[settings]\nalarm=" + long_value + "\n");
    EXPECT_EQ(Read("settings", "alarm"), long_value.substr(0, kIniValueBufferSize - 1));
    EXPECT_EQ(Read("settings", "none", long_value), long_value.substr(0, 1023));
}

TEST_F(IniReaderTest, NullKeyListsTheSectionsKeyNamesEachEndedByNul) {
    Write("[settings]\nst1=1\nColor=2\n\n; note\nflag\nst1=3\n[other]\nz=1\n");
    EXPECT_EQ(ReadIniValue("SETTINGS", nullptr, "", file_),
              std::string("st1\0Color\0flag\0st1\0", 19));
    EXPECT_EQ(ReadIniValue("missing", nullptr, "dflt", file_), "dflt");
    Write("[empty]\n");
    EXPECT_EQ(ReadIniValue("empty", nullptr, "dflt", file_), "");
}

TEST_F(IniReaderTest, AKeyListLongerThanItsBufferIsCutWithTheLastNameStillEnded) {
    std::string text = "[s]\n";
    std::string full;
    for (int i = 0; i < 1000; ++i) {
        const std::string name = "key" + std::to_string(i);
        text += name + "=1\n";
        full += name + '\0';
    }
    Write(text);
    const std::string list = ReadIniValue("s", nullptr, "", file_);
    ASSERT_EQ(list.size(), kIniKeyListBufferSize - 1);
    EXPECT_EQ(list.back(), '\0');
    EXPECT_EQ(list.substr(0, list.size() - 1), full.substr(0, list.size() - 1));
}

}  // namespace
}  // namespace kestrelon

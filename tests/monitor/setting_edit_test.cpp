// SPDX-License-Identifier: GPL-3.0-or-later
// Settings from the command line: accepted and refused values, all or nothing, and the pushes of
// exactly the registers that changed.
#include "monitor/setting_edit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "device/panel_link.h"
#include "device/simulated_panel.h"
#include "settings/settings_file.h"

namespace kestrelon {
namespace {

MonitorState withLimits() {
    MonitorState s;
    s.readings.fanLimit[Channel::Cpu] = 2400, s.readings.fanLimit[Channel::Hdd] = 2000,
    s.readings.fanLimit[Channel::Vga] = 1600,
    s.readings.fanLimit[Channel::Case] = 0;  // fan 4's limit unknown
    s.settings.limitCelsius[Channel::Cpu] = 60, s.settings.limitFahrenheit[Channel::Cpu] = 140;
    s.settings.alarm.text = "12:00";
    return s;
}

// The model with known fan limits, wired to a simulated panel.
struct OnSimulatedPanel {
    VirtualTime time;
    SimulatedPanel panel{time};
    MonitorState s = withLimits();
    PanelLink link{panel, time, s};
    PanelProtocol protocol{link, s};
};

TEST(SettingEdit, AcceptedValuesTakeTheirReadableFormsAndKeepBothUnitsInStep) {
    const struct {
        std::vector<std::string> items;
        std::function<void(const MonitorState&)> check;
    } cases[] = {
        {{"st1=90"}, [](auto& s) { EXPECT_EQ(s.settings.limitFahrenheit[Channel::Cpu], 194); }},
        {{"fst2=100"}, [](auto& s) { EXPECT_EQ(s.settings.limitCelsius[Channel::Hdd], 38); }},
        {{"st1=30", "fst1=77"},
         [](auto& s) { EXPECT_EQ(s.settings.limitCelsius[Channel::Cpu], 25); }},  // in order
        {{"color=Purple"}, [](auto& s) { EXPECT_EQ(s.settings.backlight, Backlight::Purple); }},
        {{"color=1"}, [](auto& s) { EXPECT_EQ(s.settings.backlight, Backlight::Red); }},
        {{"auto=manual"}, [](auto& s) { EXPECT_FALSE(s.settings.fansAutomatic()); }},
        {{"t_unit=F"},
         [](auto& s) { EXPECT_TRUE(s.settings.fahrenheit() && !s.settings.celsiusButtonLit()); }},
        {{"alarm=7:05"}, [](auto& s) { EXPECT_EQ(s.settings.alarm.text, "07:05"); }},
        {{"msf1=1200"},
         [](auto& s) {
             EXPECT_EQ(s.settings.manualFanSpeed[Channel::Cpu], 1200);
         }},  // half the limit
        {{"msf1=2400"}, [](auto& s) { EXPECT_EQ(s.settings.manualFanSpeed[Channel::Cpu], 2400); }},
        {{"msf4=500"},
         [](auto& s) {
             EXPECT_EQ(s.settings.manualFanSpeed[Channel::Case], 500);
         }},  // unknown limit: no bound
        {{"sf3=320"}, [](auto& s) { EXPECT_EQ(s.settings.fanSetPoint[Channel::Vga], 320); }},
    };
    for (const auto& c : cases) {
        MonitorState s = withLimits();
        std::string why;
        ASSERT_TRUE(ApplySettingEdits(s, c.items, why)) << c.items.front() << ": " << why;
        c.check(s);
    }
}

TEST(SettingEdit, ARefusedValueChangesNothingAndSaysWhyInOneLine) {
    const std::vector<std::vector<std::string>> refused = {
        {"st1=91"}, {"st1=24"}, {"fst1=195"}, {"st1=6O"}, {"msf1=1100"}, {"msf2=2100"},
        {"sf1=2500"}, {"color=green"}, {"color=4"}, {"auto=2"}, {"t_unit=K"},
        {"alarm=24:00"}, {"alarm=07:60"}, {"alarm=0730"}, {"alarm=7:5"}, {"volume=3"},
        {"st1"}, {"=5"}, {},
        {"color=blue", "st1=200"},  // a good item before a bad one is not applied either
    };
    for (const auto& items : refused) {
        MonitorState s = withLimits();
        const MonitorState before = s;
        std::string why;
        EXPECT_FALSE(ApplySettingEdits(s, items, why)) << (items.empty() ? "" : items.front());
        EXPECT_FALSE(why.empty());
        EXPECT_EQ(why.find('\n'), std::string::npos);
        EXPECT_EQ(s.settings.backlight, before.settings.backlight);
        EXPECT_EQ(s.settings.limitCelsius, before.settings.limitCelsius);
        EXPECT_EQ(s.settings.manualFanSpeed, before.settings.manualFanSpeed);
    }
}

TEST(SettingEdit, OnlyTheRegistersThatChangedArePushed) {
    const struct {
        std::vector<std::string> items;
        std::vector<uint8_t> registers;
    } cases[] = {
        {{"st1=61"}, {0x20, 0x21}},
        {{"color=blue"}, {0x29}},
        {{"msf3=1000"}, {0x2C}},
        {{"sf2=300"}, {0x24}},
        {{"alarm=06:30"}, {0x2A}},
        {{"st1=60", "color=0"}, {}},  // the values it already had
    };
    for (const auto& c : cases) {
        OnSimulatedPanel on;
        auto& [time, panel, s, link, protocol] = on;
        const MonitorState before = s;
        std::string why;
        ASSERT_TRUE(ApplySettingEdits(s, c.items, why)) << why;
        const PushReport report = PushChangedSettings(before, s, protocol);
        EXPECT_TRUE(report.ok()) << report.text();
        EXPECT_EQ(report.written, static_cast<int>(c.registers.size()));
        EXPECT_EQ(std::vector<uint8_t>(panel.writeOrder().begin(), panel.writeOrder().end()),
                  c.registers)
            << c.items.front();
    }
}

// The path both kestrelonctl set and the running program's "set" request take: what is refused or
// cannot be saved leaves the state and the file alone; what is saved is pushed when a panel is
// there.
TEST(SettingEdit, AnEditIsAppliedSavedAndPushedOrLeavesEverythingAsItWas) {
    using Outcome = SettingEditResult::Outcome;
    const auto dir = std::filesystem::path(testing::TempDir()) / "setting_edit";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const auto blocked = dir / "a file, not a folder";
    { std::ofstream(blocked) << "x"; }
    const struct {
        const char* name;
        std::vector<std::string> items;
        bool unwritable, withPanel;
        Outcome outcome;
        int pushed;
    } cases[] = {
        {"refused", {"st1=200"}, false, true, Outcome::Refused, 0},
        {"not saved", {"color=red"}, true, true, Outcome::NotSaved, 0},
        {"saved, no panel", {"color=red"}, false, false, Outcome::Saved, 0},
        {"saved and pushed", {"color=red", "st1=61"}, false, true, Outcome::Saved, 3},
    };
    for (const auto& c : cases) {
        const auto path =
            c.unwritable ? blocked / "Settings.inf" : dir / (std::string(c.name) + ".inf");
        OnSimulatedPanel on;
        auto& [time, panel, s, link, protocol] = on;
        const MonitorState before = s;
        const SettingEditResult r =
            EditSettings(s, c.items, path, c.withPanel ? &protocol : nullptr);
        EXPECT_EQ(r.outcome, c.outcome) << c.name;
        EXPECT_EQ(r.push.written, c.pushed) << c.name;
        EXPECT_TRUE(r.push.ok()) << c.name;
        EXPECT_EQ(panel.writeOrder().size(), static_cast<std::size_t>(c.pushed)) << c.name;
        const bool saved = c.outcome == Outcome::Saved;
        EXPECT_EQ(r.why.empty(), saved) << c.name << ": " << r.why;
        EXPECT_EQ(std::filesystem::exists(path), saved) << c.name;
        EXPECT_EQ(s.settings == before.settings, !saved) << c.name;
        if (saved) {
            MonitorState loaded;
            LoadSettings(loaded.settings, path);
            EXPECT_EQ(loaded.settings, s.settings) << c.name;
        }
    }
}

}  // namespace
}  // namespace kestrelon

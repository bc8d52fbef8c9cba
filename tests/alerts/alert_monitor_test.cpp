// SPDX-License-Identifier: GPL-3.0-or-later
// The alert state machines as tables: each step a poll (time, temperature, fan, limit, panel)
// and the changes it must give.
#include "alerts/alert_monitor.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "alerts/alert_text.h"

namespace kestrelon {
namespace {

constexpr std::nullopt_t kNone = std::nullopt;

struct Step {
    double t;
    std::optional<double> temperature;
    std::optional<int32_t> rpm;
    int32_t limit;
    const char* expect;  // the changes, "kind state value limit" joined by "; "
    bool present = true;
};

struct AlertCase {
    const char* name;
    Channel channel;
    AlertRules rules;
    std::vector<Step> steps;
};

const AlertRules kRules{5, 3};

// One row a poll, as a state table reads.
// clang-format off
const AlertCase kCases[] = {
    {"a spike shorter than the delay is no alarm", Channel::Cpu, kRules,
     {{0, 50, 1200, 60, ""}, {1, 65, 1200, 60, ""}, {3, 70, 1200, 60, ""}, {5.9, 66, 1200, 60, ""},
      {6, 60, 1200, 60, ""},  // at the limit is not above it: the wait starts again
      {7, 61, 1200, 60, ""}, {11.5, 61, 1200, 60, ""},
      {12, 61, 1200, 60, "temperature alarm 61 60"}}},
    {"above for the delay, then back below limit - hysteresis", Channel::Hdd, kRules,
     {{0, 61, 1200, 60, ""}, {4, 62, 1200, 60, ""}, {5, 62, 1200, 60, "temperature alarm 62 60"},
      {6, 80, 1200, 60, ""}, {7, 58, 1200, 60, ""}, {8, 57, 1200, 60, ""},
      {9, 56.5, 1200, 60, "temperature normal 56.5 60"}, {10, 50, 1200, 60, ""}}},
    {"a value hovering at the limit gives one alarm", Channel::Vga, kRules,
     {{0, 61, 900, 60, ""}, {1, 60, 900, 60, ""}, {2, 61, 900, 60, ""}, {3, 61, 900, 60, ""},
      {7, 61, 900, 60, "temperature alarm 61 60"}, {8, 59, 900, 60, ""}, {9, 61, 900, 60, ""},
      {10, 57, 900, 60, ""}, {11, 62, 900, 60, ""}, {12, 59, 900, 60, ""}, {20, 60, 900, 60, ""}}},
    {"a limit raised during an alarm: the new limit judges", Channel::Cpu, kRules,
     {{0, 62, 1200, 60, ""}, {5, 62, 1200, 60, "temperature alarm 62 60"},
      {6, 62, 1200, 64, ""},  // 62 is not below 64 - 3
      {7, 62, 1200, 70, "temperature normal 62 70"}, {8, 62, 1200, 70, ""}}},
    {"a limit lowered during an alarm keeps it", Channel::Cpu, kRules,
     {{0, 62, 1200, 60, ""}, {5, 62, 1200, 60, "temperature alarm 62 60"}, {6, 58, 1200, 50, ""},
      {7, 46, 1200, 50, "temperature normal 46 50"}}},
    {"a limit changed during the wait starts it again", Channel::Cpu, kRules,
     {{0, 65, 1200, 60, ""}, {3, 65, 1200, 62, ""}, {7, 65, 1200, 62, ""},
      {8, 65, 1200, 62, "temperature alarm 65 62"}}},
    {"a limit lowered under the reading: the wait starts at the change", Channel::Cpu, kRules,
     {{0, 43, 1200, 60, ""}, {10, 43, 1200, 25, ""}, {14, 43, 1200, 25, ""},
      {15, 43, 1200, 25, "temperature alarm 43 25"},
      {16, 43, 1200, 90, "temperature normal 43 90"}}},
    {"a sensor gone during the wait: the wait starts again", Channel::Case, kRules,
     {{0, 65, 1200, 60, ""}, {3, kNone, 1200, 60, ""}, {4, 65, 1200, 60, ""}, {8, 65, 1200, 60, ""},
      {9, 65, 1200, 60, "temperature alarm 65 60"}}},
    {"a sensor gone during an alarm: no recovery until it reads low", Channel::Case, kRules,
     {{0, 65, 1200, 60, ""}, {5, 65, 1200, 60, "temperature alarm 65 60"},
      {6, kNone, 1200, 60, ""}, {60, kNone, 1200, 60, ""},
      {61, 58, 1200, 60, ""},  // back, but inside the hysteresis
      {62, 50, 1200, 60, "temperature normal 50 60"}}},
    {"the panel unplugged: nothing decided, alarms kept", Channel::Cpu, kRules,
     {{0, 65, 1200, 60, ""}, {5, 65, 1200, 60, "temperature alarm 65 60"},
      // readings that come with no panel count for nothing
      {6, 20, 0, 60, "", false}, {30, 20, 0, 60, "", false},
      {31, 65, 1200, 60, ""}, {32, 40, 1200, 60, "temperature normal 40 60"}}},
    {"unplugged during the wait: no alarm from the time away", Channel::Cpu, kRules,
     {{0, 65, 1200, 60, ""}, {2, kNone, kNone, 60, "", false}, {30, 65, 1200, 60, ""},
      {34, 65, 1200, 60, ""}, {35, 65, 1200, 60, "temperature alarm 65 60"}}},
    {"no delay: the first reading above is an alarm", Channel::Cpu, {0, 3},
     {{0, 50, 1200, 60, ""}, {1, 61, 1200, 60, "temperature alarm 61 60"}}},
    {"no hysteresis: only a reading below the limit ends the alarm",
     Channel::Cpu, {5, 0},
     {{0, 61, 1200, 60, ""}, {5, 61, 1200, 60, "temperature alarm 61 60"}, {6, 60, 1200, 60, ""},
      {7, 59.5, 1200, 60, "temperature normal 59.5 60"}}},
    {"a fan that stops for the delay, and turns again", Channel::Hdd, kRules,
     {{0, 40, 1400, 60, ""}, {1, 40, 1380, 60, ""}, {2, 40, 0, 60, ""}, {6, 40, 0, 60, ""},
      {7, 40, 0, 60, "fan alarm 0 0"}, {8, 40, 0, 60, ""}, {9, 40, 1300, 60, "fan normal 1300 0"}}},
    {"a fan stopped shorter than the delay", Channel::Hdd, kRules,
     {{0, 40, 1400, 60, ""}, {1, 40, 0, 60, ""}, {5, 40, 0, 60, ""}, {5.5, 40, 200, 60, ""},
      {6, 40, 0, 60, ""}, {10, 40, 0, 60, ""}}},
    {"a fan never seen turning is none connected", Channel::Vga, kRules,
     {{0, 40, 0, 60, ""}, {10, 40, 0, 60, ""}, {100, 40, 0, 60, ""}}},
    {"a stopped fan with its temperature missing decides nothing", Channel::Case, kRules,
     {{0, 40, 1400, 60, ""}, {1, kNone, 0, 60, ""}, {10, kNone, 0, 60, ""}, {11, 40, 0, 60, ""},
      {15, 40, 0, 60, ""}, {16, 40, 0, 60, "fan alarm 0 0"}}},
    {"a fan reading gone during its alarm keeps it", Channel::Case, kRules,
     {{0, 40, 1400, 60, ""}, {1, 40, 0, 60, ""}, {6, 40, 0, 60, "fan alarm 0 0"},
      {7, 40, kNone, 60, ""}, {8, 40, 0, 60, ""}, {9, 40, 900, 60, "fan normal 900 0"}}},
    {"a hot channel with a stopped fan: both alarms", Channel::Cpu, kRules,
     {{0, 70, 1400, 60, ""}, {1, 70, 0, 60, ""},
      {5, 70, 0, 60, "temperature alarm 70 60"}, {6, 70, 0, 60, "fan alarm 0 0"},
      {7, 50, 1500, 60, "temperature normal 50 60; fan normal 1500 0"}}},
};
// clang-format on

std::string describe(const std::vector<AlertChange>& changes, Channel expected) {
    std::string text;
    for (const AlertChange& c : changes) {
        if (!text.empty()) text += "; ";
        if (c.channel != expected) text += "[" + std::string(channelName(c.channel)) + "] ";
        text += std::string(alertKindName(c.kind)) + " " + alertStateName(c.state) + " " +
                alertNumber(c.value) + " " + alertNumber(c.limit);
    }
    return text;
}

TEST(AlertMonitor, StateTables) {
    for (const AlertCase& c : kCases) {
        SCOPED_TRACE(c.name);
        AlertMonitor monitor(c.rules);
        std::vector<AlertChange> last;  // the last change of each sensor, for the alarm list
        for (const Step& step : c.steps) {
            SCOPED_TRACE("at t=" + alertNumber(step.t));
            Sample sample;
            sample.panelPresent = step.present;
            for (Channel ch : kAllChannels) sample.limitC[ch] = 45;
            // The other channels read steadily well inside their limits.
            for (Channel ch : kAllChannels) sample.temperatureC[ch] = 30, sample.fanRpm[ch] = 1000;
            sample.temperatureC[c.channel] = step.temperature;
            sample.fanRpm[c.channel] = step.rpm;
            sample.limitC[c.channel] = step.limit;
            const std::vector<AlertChange> changes = monitor.feed(sample, step.t);
            EXPECT_EQ(describe(changes, c.channel), step.expect);
            for (const AlertChange& ch : changes) {
                std::erase_if(last, [&](const AlertChange& l) { return l.kind == ch.kind; });
                last.push_back(ch);
            }
            // The alarms are exactly the sensors whose last change was to an alarm.
            std::vector<AlertChange> alarming;
            for (AlertKind kind : {AlertKind::Temperature, AlertKind::Fan})
                for (const AlertChange& l : last)
                    if (l.kind == kind && l.state == AlertState::Alarm) alarming.push_back(l);
            std::vector<AlertChange> alarms = monitor.alarms();
            ASSERT_EQ(alarms.size(), alarming.size());
            for (std::size_t i = 0; i < alarms.size(); ++i) {
                EXPECT_EQ(alarms[i].channel, c.channel);
                EXPECT_EQ(alarms[i].kind, alarming[i].kind);
                EXPECT_EQ(monitor.state(c.channel, alarms[i].kind), AlertState::Alarm);
            }
        }
    }
}

}  // namespace
}  // namespace kestrelon

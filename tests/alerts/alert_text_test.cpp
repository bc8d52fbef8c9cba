// SPDX-License-Identifier: GPL-3.0-or-later
// What an alert says: the notification's texts, the command's environment and the tooltip, with
// the user's names for the sensors.
#include "alerts/alert_text.h"

#include <gtest/gtest.h>

#include <map>

namespace kestrelon {
namespace {

struct TextCase {
    AlertChange change;
    const char* name;
    const char* summary;
    const char* body;
    std::map<std::string, std::string> environment;
};

const TextCase kTexts[] = {
    {{Channel::Cpu, AlertKind::Temperature, AlertState::Alarm, 43.25, 25},
     "Processor",
     "Processor too hot: 43.3 °C",
     "Processor reads 43.3 °C, above its limit of 25 °C.",
     {{"KESTRELON_ALERT_SENSOR", "cpu"},
      {"KESTRELON_ALERT_NAME", "Processor"},
      {"KESTRELON_ALERT_KIND", "temperature"},
      {"KESTRELON_ALERT_STATE", "alarm"},
      {"KESTRELON_ALERT_VALUE", "43.3"},
      {"KESTRELON_ALERT_LIMIT", "25"},
      {"KESTRELON_ALERT_UNIT", "celsius"}}},
    {{Channel::Vga, AlertKind::Temperature, AlertState::Normal, 40, 90},
     "VGA",
     "VGA back to normal: 40 °C",
     "VGA reads 40 °C, below its limit of 90 °C again.",
     {{"KESTRELON_ALERT_SENSOR", "vga"},
      {"KESTRELON_ALERT_NAME", "VGA"},
      {"KESTRELON_ALERT_KIND", "temperature"},
      {"KESTRELON_ALERT_STATE", "normal"},
      {"KESTRELON_ALERT_VALUE", "40"},
      {"KESTRELON_ALERT_LIMIT", "90"},
      {"KESTRELON_ALERT_UNIT", "celsius"}}},
    {{Channel::Case, AlertKind::Fan, AlertState::Alarm, 0, 0},
     "Box",
     "Box fan stopped",
     "The Box fan reads 0 rpm.",
     {{"KESTRELON_ALERT_SENSOR", "case"},
      {"KESTRELON_ALERT_NAME", "Box"},
      {"KESTRELON_ALERT_KIND", "fan"},
      {"KESTRELON_ALERT_STATE", "alarm"},
      {"KESTRELON_ALERT_VALUE", "0"},
      {"KESTRELON_ALERT_LIMIT", "0"},
      {"KESTRELON_ALERT_UNIT", "rpm"}}},
    {{Channel::Hdd, AlertKind::Fan, AlertState::Normal, 1380, 0},
     "HDD",
     "HDD fan turns again",
     "The HDD fan reads 1380 rpm.",
     {{"KESTRELON_ALERT_SENSOR", "hdd"},
      {"KESTRELON_ALERT_NAME", "HDD"},
      {"KESTRELON_ALERT_KIND", "fan"},
      {"KESTRELON_ALERT_STATE", "normal"},
      {"KESTRELON_ALERT_VALUE", "1380"},
      {"KESTRELON_ALERT_LIMIT", "0"},
      {"KESTRELON_ALERT_UNIT", "rpm"}}},
};

TEST(AlertText, MessagesAndEnvironmentNameTheSensorItsValueAndLimit) {
    for (const TextCase& c : kTexts) {
        SCOPED_TRACE(c.summary);
        const AlertMessage m = alertMessage(c.change, c.name);
        EXPECT_EQ(m.summary, c.summary);
        EXPECT_EQ(m.body, c.body);
        std::map<std::string, std::string> environment;
        for (const auto& [variable, value] : alertEnvironment(c.change, c.name))
            EXPECT_TRUE(environment.emplace(variable, value).second) << variable << " twice";
        EXPECT_EQ(environment, c.environment);
    }
}

TEST(AlertText, TooltipListsTheAlarmsOrNothing) {
    PerChannel<std::string> names{{"Processor", "HDD", "VGA", "Box"}};
    EXPECT_EQ(alarmTooltip({}, names), "Kestrelon");
    EXPECT_EQ(alarmTooltip({{Channel::Cpu, AlertKind::Temperature, AlertState::Alarm, 44, 25},
                            {Channel::Case, AlertKind::Fan, AlertState::Alarm, 0, 0}},
                           names),
              "Kestrelon: alarm\nProcessor 44 °C (limit 25 °C)\nBox fan stopped");
}

TEST(AlertText, NumbersKeepOneDecimalAtMost) {
    const std::pair<double, const char*> numbers[] = {{43, "43"},          {43.04, "43"},
                                                      {43.06, "43.1"},     {-0.04, "0"},
                                                      {109.4444, "109.4"}, {2450, "2450"}};
    for (const auto& [value, text] : numbers) EXPECT_EQ(alertNumber(value), text) << value;
}

}  // namespace
}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// The factory values of every user setting.
#include "settings/factory_settings.h"

#include "settings/number_text.h"

namespace kestrelon {

namespace {

struct FactoryLimit {
    Channel channel;
    int32_t celsius, fahrenheit;
};
constexpr FactoryLimit kFactoryLimits[] = {{Channel::Hdd, 55, 131},
                                           {Channel::Vga, 55, 131},
                                           {Channel::Cpu, 65, 149},
                                           {Channel::Case, 45, 113}};
constexpr double kFactorySetPointShare = 0.2;  // of the fan's limit

int32_t FactorySetPoint(int32_t fanLimit) {
    return RoundToField<int32_t>(fanLimit * kFactorySetPointShare);
}

}  // namespace

void ApplyFactorySettings(MonitorState& s) {
    for (const FactoryLimit& l : kFactoryLimits) {
        s.settings.limitCelsius[l.channel] = l.celsius;
        s.settings.limitFahrenheit[l.channel] = l.fahrenheit;
    }
    for (Channel ch : kAllChannels) {
        if (s.readings.fanLimit[ch] == 0) continue;  // unknown limit: a 0 here would stop the fan
        s.settings.fanSetPoint[ch] = FactorySetPoint(s.readings.fanLimit[ch]);
        s.settings.manualFanSpeed[ch] = s.readings.fanLimit[ch];
    }
    s.settings.fanMode = FanMode::Automatic;
    s.settings.unit = TemperatureUnit::Celsius;
    s.settings.alarm.text = "12:00";
    s.panel.alarmEnabled = false;
    s.settings.backlight = Backlight::Blue;
    s.panel.lcdSensor = 0;
}

int FillUnknownFanValues(MonitorState& s) {
    int filled = 0;
    for (Channel ch : kAllChannels) {
        if (s.readings.fanLimit[ch] <= 0) continue;
        if (s.settings.fanSetPoint[ch] == 0) {
            s.settings.fanSetPoint[ch] = FactorySetPoint(s.readings.fanLimit[ch]);
            ++filled;
        }
        if (s.settings.manualFanSpeed[ch] == 0) {
            s.settings.manualFanSpeed[ch] = s.readings.fanLimit[ch];
            ++filled;
        }
    }
    return filled;
}

bool HasUnknownFanValues(const MonitorState& s) {
    for (Channel ch : kAllChannels)
        if (s.settings.fanSetPoint[ch] == 0 || s.settings.manualFanSpeed[ch] == 0) return true;
    return false;
}

}  // namespace kestrelon

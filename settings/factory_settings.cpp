// SPDX-License-Identifier: GPL-3.0-or-later
// The factory values of every user setting.
#include "settings/factory_settings.h"

#include "settings/number_text.h"

namespace kestrelon {

namespace {

struct FactoryLimit {
    int channel;
    int32_t celsius, fahrenheit;
};
constexpr FactoryLimit kFactoryLimits[] = {{2, 55, 131}, {3, 55, 131}, {1, 65, 149}, {4, 45, 113}};
constexpr double kFactorySetPointShare = 0.2;  // of the fan's limit

int32_t FactorySetPoint(int32_t fanLimit) {
    return RoundToField<int32_t>(fanLimit * kFactorySetPointShare);
}

}  // namespace

void ApplyFactorySettings(MonitorState& s) {
    for (const FactoryLimit& l : kFactoryLimits) {
        s.st[l.channel] = l.celsius;
        s.fst[l.channel] = l.fahrenheit;
    }
    for (int ch = 1; ch <= kChannels; ++ch) {
        if (s.lf[ch] == 0) continue;  // unknown limit: a 0 here would stop the fan
        s.sf[ch] = FactorySetPoint(s.lf[ch]);
        s.msf[ch] = s.lf[ch];
    }
    s.auto_stat = true;
    s.t_unit = false;
    s.dec_stat = true;
    s.alarm_time = "12:00";
    s.alarm_en = false;
    s.back_color = 2;
    s.lcd_mode = 0;
}

int FillUnknownFanValues(MonitorState& s) {
    int filled = 0;
    for (int ch = 1; ch <= kChannels; ++ch) {
        if (s.lf[ch] <= 0) continue;
        if (s.sf[ch] == 0) {
            s.sf[ch] = FactorySetPoint(s.lf[ch]);
            ++filled;
        }
        if (s.msf[ch] == 0) {
            s.msf[ch] = s.lf[ch];
            ++filled;
        }
    }
    return filled;
}

bool HasUnknownFanValues(const MonitorState& s) {
    for (int ch = 1; ch <= kChannels; ++ch)
        if (s.sf[ch] == 0 || s.msf[ch] == 0) return true;
    return false;
}

}  // namespace kestrelon

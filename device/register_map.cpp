// SPDX-License-Identifier: GPL-3.0-or-later
// Look-ups in the register table.
#include "device/register_map.h"

#include <stdexcept>
#include <utility>

namespace kestrelon {

const RegisterRow& registerRow(RegisterFamily family, ChannelPair pair) {
    for (const RegisterRow& row : kRegisterMap)
        if (row.family == family && row.pair == pair) return row;
    throw std::invalid_argument("register family has no member for this channel pair");
}

bool isReading(ChannelField field) {
    return field == ChannelField::Temperature || field == ChannelField::FanSpeed;
}

PerChannel<Reading>& readingValues(MonitorState& state, ChannelField field) {
    if (field == ChannelField::Temperature) return state.readings.temperature;
    if (field == ChannelField::FanSpeed) return state.readings.fanSpeed;
    throw std::invalid_argument("register carries no readings");
}

const PerChannel<int32_t>& channelValues(const MonitorState& state, ChannelField field) {
    switch (field) {
        case ChannelField::FanLimit:
            return state.readings.fanLimit;
        case ChannelField::LimitCelsius:
            return state.settings.limitCelsius;
        case ChannelField::LimitFahrenheit:
            return state.settings.limitFahrenheit;
        case ChannelField::FanSetPoint:
            return state.settings.fanSetPoint;
        case ChannelField::ManualFanSpeed:
            return state.settings.manualFanSpeed;
        case ChannelField::Temperature:
        case ChannelField::FanSpeed:
        case ChannelField::None:
            break;
    }
    throw std::invalid_argument("register carries no per-channel values");
}

PerChannel<int32_t>& channelValues(MonitorState& state, ChannelField field) {
    return const_cast<PerChannel<int32_t>&>(channelValues(std::as_const(state), field));
}

const std::string& timeText(const MonitorState& state, TimeField field) {
    if (field == TimeField::Clock) return state.poll.shownMinute;
    if (field == TimeField::Alarm) return state.settings.alarm.text;
    throw std::invalid_argument("register carries no time of day");
}

const RegisterRow* findRegister(uint8_t reg) {
    for (const RegisterRow& row : kRegisterMap)
        if (row.reg == reg) return &row;
    return nullptr;
}

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// The alert state machines, one per temperature and per fan.
#include "alerts/alert_monitor.h"

namespace kestrelon {

AlertMonitor::Sensor& AlertMonitor::sensor(Channel ch, AlertKind kind) {
    return kind == AlertKind::Temperature ? temperatures_[ch] : fans_[ch];
}
const AlertMonitor::Sensor& AlertMonitor::sensor(Channel ch, AlertKind kind) const {
    return kind == AlertKind::Temperature ? temperatures_[ch] : fans_[ch];
}

AlertState AlertMonitor::state(Channel channel, AlertKind kind) const {
    return sensor(channel, kind).state;
}

std::vector<AlertChange> AlertMonitor::feed(const Sample& sample, double now) {
    std::vector<AlertChange> changes;
    for (Channel ch : kAllChannels) {
        const std::optional<double> t =
            sample.panelPresent ? sample.temperatureC[ch] : std::nullopt;
        std::optional<double> rpm;
        if (sample.panelPresent && sample.fanRpm[ch]) rpm = *sample.fanRpm[ch];
        if (auto c = feedTemperature(ch, temperatures_[ch], t, sample.limitC[ch], now))
            changes.push_back(*c);
        if (auto c = feedFan(ch, fans_[ch], rpm, t.has_value(), now)) changes.push_back(*c);
    }
    return changes;
}

std::optional<AlertChange> AlertMonitor::alarmAfterDelay(Sensor& s, AlertChange change,
                                                         double now) const {
    if (now - *s.waitingSince < rules_.delaySeconds) return std::nullopt;
    s.waitingSince.reset();
    s.state = AlertState::Alarm;
    change.state = AlertState::Alarm;
    return change;
}

std::optional<AlertChange> AlertMonitor::feedTemperature(Channel ch, Sensor& s,
                                                         std::optional<double> value, double limit,
                                                         double now) {
    if (!value) {
        s.waitingSince.reset();
        return std::nullopt;
    }
    s.lastValue = *value;
    s.lastLimit = limit;
    const AlertChange change{ch, AlertKind::Temperature, AlertState::Normal, *value, limit};
    if (s.state == AlertState::Alarm) {
        if (*value >= limit - rules_.hysteresisC) return std::nullopt;
        s.state = AlertState::Normal;
        return change;
    }
    if (*value <= limit) {
        s.waitingSince.reset();
        return std::nullopt;
    }
    if (!s.waitingSince || s.waitLimit != limit) {
        s.waitingSince = now;
        s.waitLimit = limit;
    }
    return alarmAfterDelay(s, change, now);
}

std::optional<AlertChange> AlertMonitor::feedFan(Channel ch, Sensor& s, std::optional<double> rpm,
                                                 bool temperaturePresent, double now) {
    if (!rpm || !temperaturePresent) {
        s.waitingSince.reset();
        return std::nullopt;
    }
    s.lastValue = *rpm;
    const AlertChange change{ch, AlertKind::Fan, AlertState::Normal, *rpm, 0};
    if (*rpm > 0) {
        s.seenTurning = true;
        s.waitingSince.reset();
        if (s.state == AlertState::Normal) return std::nullopt;
        s.state = AlertState::Normal;
        return change;
    }
    if (s.state == AlertState::Alarm || !s.seenTurning) return std::nullopt;
    if (!s.waitingSince) s.waitingSince = now;
    return alarmAfterDelay(s, change, now);
}

std::vector<AlertChange> AlertMonitor::alarms() const {
    std::vector<AlertChange> out;
    for (Channel ch : kAllChannels)
        for (AlertKind kind : {AlertKind::Temperature, AlertKind::Fan}) {
            const Sensor& s = sensor(ch, kind);
            if (s.state == AlertState::Alarm)
                out.push_back({ch, kind, AlertState::Alarm, s.lastValue, s.lastLimit});
        }
    return out;
}

const char* alertKindName(AlertKind kind) {
    return kind == AlertKind::Temperature ? "temperature" : "fan";
}

const char* alertStateName(AlertState state) {
    return state == AlertState::Alarm ? "alarm" : "normal";
}

}  // namespace kestrelon

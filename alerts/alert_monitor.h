// SPDX-License-Identifier: GPL-3.0-or-later
// The alerts: per channel, a temperature above its limit for a while, or a fan that stopped
// turning, is an alarm. Fed each poll with the readings and the monotonic time; answers with
// the changes of state, which the desktop turns into notifications, a command and the tray icon.
#pragma once

#include <optional>
#include <vector>

#include "core/channel.h"
#include "core/sample.h"

namespace kestrelon {

enum class AlertKind : uint8_t { Temperature, Fan };
enum class AlertState : uint8_t { Normal, Alarm };

struct AlertRules {
    double delaySeconds = 5;  // how long a temperature stays above its limit, or a fan stopped
    double hysteresisC = 3;   // an alarm ends only below the limit minus this
};

// One change of state. For a temperature the value and the limit are in °C; for a fan the value
// is its speed in rpm and the limit 0: a fan at or below it has stopped.
struct AlertChange {
    Channel channel = Channel::Cpu;
    AlertKind kind = AlertKind::Temperature;
    AlertState state = AlertState::Normal;
    double value = 0;
    double limit = 0;

    bool operator==(const AlertChange&) const = default;
};

// The rules, one sensor at a time:
// - Temperature: an alarm once it has read above its limit (strictly) at every sample for the
//   delay; a dip to the limit or below starts the wait afresh, so a spike shorter than the delay
//   is no alarm. The alarm ends at the first reading below limit - hysteresis, so a value
//   hovering at the limit gives one alarm and no flapping. The limit in force is the one of the
//   sample: a limit changed during an alarm judges the next reading against the new limit, and a
//   limit changed during the wait starts the wait afresh against it.
// - Fan: one that has been seen turning and then reads 0 rpm, with its channel's temperature
//   present, for the delay is an alarm; it ends as soon as the fan turns again. A fan never seen
//   turning (none connected) is never an alarm.
// - A missing reading (no sensor, or no panel at all: then every reading is missing) decides
//   nothing: a wait under way is dropped and a state stays as it was, alarms included, since
//   nothing was seen to end them. The first readings afterwards decide again.
class AlertMonitor {
public:
    explicit AlertMonitor(AlertRules rules) : rules_(rules) {}

    std::vector<AlertChange> feed(const Sample& sample, double nowSeconds);

    AlertState state(Channel channel, AlertKind kind) const;
    // The alarms now, in channel order, temperature before fan; with their last values.
    std::vector<AlertChange> alarms() const;

private:
    struct Sensor {
        AlertState state = AlertState::Normal;
        std::optional<double> waitingSince;  // above the limit, or stopped, since
        double waitLimit = 0;                // the limit the wait started against
        bool seenTurning = false;            // fans only
        double lastValue = 0, lastLimit = 0;
    };
    // The sensor waiting since s.waitingSince: an alarm once the delay is over.
    std::optional<AlertChange> alarmAfterDelay(Sensor& s, AlertChange change, double now) const;
    std::optional<AlertChange> feedTemperature(Channel ch, Sensor& s, std::optional<double> value,
                                               double limit, double now);
    std::optional<AlertChange> feedFan(Channel ch, Sensor& s, std::optional<double> rpm,
                                       bool temperaturePresent, double now);
    Sensor& sensor(Channel ch, AlertKind kind);
    const Sensor& sensor(Channel ch, AlertKind kind) const;

    AlertRules rules_;
    PerChannel<Sensor> temperatures_, fans_;
};

const char* alertKindName(AlertKind kind);     // "temperature", "fan"
const char* alertStateName(AlertState state);  // "normal", "alarm"

}  // namespace kestrelon

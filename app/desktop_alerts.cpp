// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's alerts: each poll's readings through the alert monitor, and each change
// out as a desktop notification, the user's alert command and the tray icon and its tooltip.
#include "alerts/alert_text.h"
#include "app/alert_command.h"
#include "app/desktop_notifier.h"
#include "app/desktop_program.h"
#include "app/tray_alarm_icon.h"
#include "core/sample.h"

namespace kestrelon {

void DesktopProgram::startAlerts() {
    alerts_ = std::make_unique<AlertMonitor>(
        AlertRules{options_.alertDelaySeconds, options_.alertHysteresisC});
    notifier_ = std::make_unique<DesktopNotifier>();
}

PerChannel<bool> DesktopProgram::temperatureAlarms() const {
    PerChannel<bool> alarm{};
    if (!alerts_) return alarm;
    for (const Channel ch : kAllChannels)
        alarm[ch] = alerts_->state(ch, AlertKind::Temperature) == AlertState::Alarm;
    return alarm;
}

void DesktopProgram::checkAlerts() {
    if (!alerts_) return;
    const std::vector<AlertChange> changes =
        alerts_->feed(sampleOf(state_), clock_.monotonicSeconds());
    for (const AlertChange& change : changes) {
        const std::string& name = options_.sensorName[change.channel];
        notifier_->notify(change, name);
        if (!options_.alertCommand.empty()) RunAlertCommand(options_.alertCommand, change, name);
    }
    // While an alarm lasts its tooltip follows the readings.
    if (!changes.empty() || !alerts_->alarms().empty()) showAlarmsInTray();
}

void DesktopProgram::showAlarmsInTray() {
    if (!tray_ || !alerts_) return;
    const std::vector<AlertChange> alarms = alerts_->alarms();
    const bool alarm = !alarms.empty();
    if (alarm != trayShowsAlarm_) {
        if (alarm && trayAlarmIcon_.isNull()) trayAlarmIcon_ = AlarmIcon(trayIcon_);
        tray_->setIcon(alarm ? trayAlarmIcon_ : trayIcon_);
        trayShowsAlarm_ = alarm;
    }
    const QString tip = QString::fromStdString(alarmTooltip(alarms, options_.sensorName));
    if (tip != tray_->toolTip()) tray_->setToolTip(tip);
}

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's alerts: each change the service reports out as a desktop notification,
// and the alarms on the tray icon and in its tooltip.
#include "alerts/alert_text.h"
#include "app/desktop_notifier.h"
#include "app/desktop_program.h"
#include "app/tray_alarm_icon.h"

namespace kestrelon {

void DesktopProgram::onAlertsChanged(const std::vector<AlertChange>& changes) {
    for (const AlertChange& change : changes)
        if (notifier_) notifier_->notify(change, service_.options().sensorName[change.channel]);
    // While an alarm lasts its tooltip follows the readings.
    if (!changes.empty() || !service_.alerts().alarms().empty()) showAlarmsInTray();
}

void DesktopProgram::showAlarmsInTray() {
    if (!tray_) return;
    const std::vector<AlertChange> alarms = service_.alerts().alarms();
    const bool alarm = !alarms.empty();
    if (alarm != trayShowsAlarm_) {
        if (alarm && trayAlarmIcon_.isNull()) trayAlarmIcon_ = AlarmIcon(trayIcon_);
        tray_->setIcon(alarm ? trayAlarmIcon_ : trayIcon_);
        trayShowsAlarm_ = alarm;
    }
    const QString tip = QString::fromStdString(alarmTooltip(alarms, service_.options().sensorName));
    if (tip != tray_->toolTip()) tray_->setToolTip(tip);
}

}  // namespace kestrelon

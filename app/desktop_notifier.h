// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop notifications of alerts through org.freedesktop.Notifications on the session bus: one
// bubble per sensor, replaced by its next change. Calls never block; without a notification
// server one line goes to the log and nothing else changes.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "alerts/alert_monitor.h"

namespace kestrelon {

class DesktopNotifier {
public:
    explicit DesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus());

    // Sends the change as a notification; `name` is the sensor's name for the user.
    void notify(const AlertChange& change, const std::string& name);

private:
    using Key = std::pair<Channel, AlertKind>;
    struct Bubble {
        uint32_t id = 0;       // the server's id of the sensor's last bubble; 0: none
        bool waiting = false;  // a call is under way, its id not known yet
        std::optional<std::pair<AlertChange, std::string>> next;  // sent once the id is known
    };
    void send(const Key& key, const AlertChange& change, const std::string& name);
    void failed(const std::string& why);

    QDBusConnection bus_;
    std::map<Key, Bubble> bubbles_;
    bool failureLogged_ = false;
    QObject calls_;  // the calls under way
};

}  // namespace kestrelon

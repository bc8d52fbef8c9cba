// SPDX-License-Identifier: GPL-3.0-or-later
// The Notify call and its reply, asynchronous.
#include "app/desktop_notifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

#include "alerts/alert_text.h"
#include "core/log.h"

namespace kestrelon {

namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kDesktopEntry = "io.github.kestrelon.kestrelon";
constexpr uint8_t kUrgencyNormal = 1, kUrgencyCritical = 2;
constexpr int kServerDecidesTimeout = -1;

}  // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus) : bus_(std::move(bus)) {}

void DesktopNotifier::failed(const std::string& why) {
    if (failureLogged_) return;
    failureLogged_ = true;
    LogLine("no desktop notification sent (" + why + "); the tray icon still shows alarms");
}

void DesktopNotifier::notify(const AlertChange& change, const std::string& name) {
    const Key key{change.channel, change.kind};
    Bubble& bubble = bubbles_[key];
    // The bubble to replace is known only once the server answers the call under way.
    if (bubble.waiting) {
        bubble.next = {change, name};
        return;
    }
    send(key, change, name);
}

void DesktopNotifier::send(const Key& key, const AlertChange& change, const std::string& name) {
    if (!bus_.isConnected()) return failed("no session bus");
    Bubble& bubble = bubbles_[key];
    const AlertMessage text = alertMessage(change, name);
    const bool alarm = change.state == AlertState::Alarm;
    QVariantMap hints;
    hints.insert("urgency", QVariant::fromValue<uchar>(alarm ? kUrgencyCritical : kUrgencyNormal));
    hints.insert("desktop-entry", QString(kDesktopEntry));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, "Notify");
    call << QString("kestrelon") << uint32_t(bubble.id) << QString("kestrelon")
         << QString::fromStdString(text.summary) << QString::fromStdString(text.body)
         << QStringList() << hints << int32_t(kServerDecidesTimeout);
    bubble.waiting = true;
    // Owned by calls_: a reply that comes after the notifier is gone reaches nothing.
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), &calls_);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, &calls_,
                     [this, key](QDBusPendingCallWatcher* w) {
                         w->deleteLater();
                         Bubble& b = bubbles_[key];
                         b.waiting = false;
                         const QDBusPendingReply<uint32_t> reply = *w;
                         if (reply.isError()) {
                             b.id = 0;
                             failed(reply.error().message().toStdString());
                         } else {
                             b.id = reply.value();
                         }
                         if (b.next) {
                             const auto [change, name] = *b.next;
                             b.next.reset();
                             send(key, change, name);
                         }
                     });
}

}  // namespace kestrelon

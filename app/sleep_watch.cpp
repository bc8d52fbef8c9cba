// SPDX-License-Identifier: GPL-3.0-or-later
// logind's PrepareForSleep signal on the system bus.
#include "app/sleep_watch.h"

#include <QDBusConnection>

namespace kestrelon {

SleepWatch::SleepWatch(std::function<void()> woke) : woke_(std::move(woke)) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) return;
    // Only logind's own signal counts: the sender must own its well-known name.
    watching_ = bus.connect("org.freedesktop.login1", "/org/freedesktop/login1",
                            "org.freedesktop.login1.Manager", "PrepareForSleep", this,
                            SLOT(prepareForSleep(bool)));
}

void SleepWatch::prepareForSleep(bool sleeping) {
    if (!sleeping && woke_) woke_();
}

}  // namespace kestrelon

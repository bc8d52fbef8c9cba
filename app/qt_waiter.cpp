// SPDX-License-Identifier: GPL-3.0-or-later
// Event-loop wait with a private one-shot timer.
#include "app/qt_waiter.h"

#include <QEventLoop>
#include <QTimer>

namespace kestrelon {

void QtWaiter::delay(int ms) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms > 0 ? ms : 0);
    ++depth_;
    // User input stays queued and is delivered once the outermost wait returns to the main loop.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    --depth_;
}

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop wait: timers keep running inside it, and a wait started inside another one lasts
// its own length instead of being ended by the outer wait's timer.
#include "app/qt_waiter.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <vector>

namespace kestrelon {
namespace {

TEST(QtWaiter, NestedWaitsEachRunTheirOwnLength) {
    QtWaiter waiter;
    std::vector<std::string> order;
    // Outer wait 20 ms; 5 ms in, a handler starts an inner wait of 60 ms. A marker timer at
    // 40 ms must fire before the inner wait ends, and the outer one may only return after it.
    QTimer::singleShot(40, [&] { order.push_back("marker"); });
    QTimer::singleShot(5, [&] {
        order.push_back("inner start");
        EXPECT_EQ(waiter.depth(), 1);
        waiter.delay(60);
        order.push_back("inner end");
    });
    waiter.delay(20);
    order.push_back("outer end");
    EXPECT_EQ(order, (std::vector<std::string>{"inner start", "marker", "inner end", "outer end"}));
    EXPECT_EQ(waiter.depth(), 0);
}

TEST(QtWaiter, TimersKeepRunningDuringAWait) {
    QtWaiter waiter;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);
    QTimer::singleShot(30, [&] { timer.stop(); });
    waiter.delay(50);
    EXPECT_GT(ticks, 0);
}

}  // namespace
}  // namespace kestrelon

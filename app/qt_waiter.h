// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's wait: runs the Qt event loop for timers and painting, holds user input
// back, and gives every wait its own timer so nested waits never end each other.
#pragma once

#include "core/timing.h"

namespace kestrelon {

class QtWaiter final : public Waiter {
public:
    void delay(int ms) override;
    int depth() const { return depth_; }  // waits in progress, nested ones included

private:
    int depth_ = 0;
};

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// What the poll cycle asks of the rest of the program: redraws and the internet check.
#pragma once

#include "core/channel.h"

namespace kestrelon {

class PollHooks {
public:
    virtual ~PollHooks() = default;
    virtual void drawClockPanel() = 0;  // draws the clock and shows the window image
    virtual void drawTempReadout(Channel channel) = 0;
    virtual void drawFanReadout(Channel channel) = 0;
    virtual void refreshWindow() = 0;  // puts the window image on the screen
    // Starts an internet check; it must not block. Its result lands in `connect` and the link
    // lamp when it is known.
    virtual void checkInternet() = 0;
};

// A program without a window: nothing to draw, no probe.
class NoPollHooks final : public PollHooks {
public:
    void drawClockPanel() override {}
    void drawTempReadout(Channel) override {}
    void drawFanReadout(Channel) override {}
    void refreshWindow() override {}
    void checkInternet() override {}
};

}  // namespace kestrelon

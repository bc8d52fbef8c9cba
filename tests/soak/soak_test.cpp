// SPDX-License-Identifier: GPL-3.0-or-later
// A day of polling in virtual time (86 400 ticks) with clicks, selections, arrow steps and wing
// slides between them: the heap does not grow and the settings and selection do not drift.
#include <gtest/gtest.h>
#include <malloc.h>

#include "monitor/poll_cycle.h"
#include "skin/renderer_poll_hooks.h"
#include "tests/support/controls_harness.h"

namespace kestrelon {
namespace {

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

TEST(Soak, ADayOfPollsAndClicksKeepsMemoryAndStateSteady) {
    test::ControlsHarness h;
    h.checkShows = false;  // a day of shows; the controls tests check them
    h.connectPanel();
    h.state.readings.fanLimit[Channel::Cpu] = 2400;
    h.state.settings.limitCelsius[Channel::Cpu] = 60,
    h.state.settings.limitFahrenheit[Channel::Cpu] = 140;
    h.state.poll.lcdScanning = true;
    RendererPollHooks hooks(h.renderer, nullptr);
    PollCycle cycle(h.state, h.time, hooks);
    cycle.attachPanel(&h.link, &h.protocol);

    // Every few minutes of the day: open the limits wing, select the CPU limit, step it up and
    // back down, let the selection time out, close the wing; now and then a backlight change.
    const auto session = [&](int n) {
        h.click(326, 322);  // lower-right wing opens
        h.click(255, 237);  // CPU limit icon
        h.click(315, 260);  // up
        h.click(315, 280);  // down
        h.tick(8.5);        // the selection times out
        h.click(326, 322);  // and the wing closes
        if (n % 4 == 0) {
            h.click(124, 121);                     // upper-left wing
            h.click(n % 8 == 0 ? 169 : 136, 195);  // blue or off
            h.click(124, 121);
        }
    };

    std::size_t warm = 0;
    int sessions = 0;
    for (int tick = 1; tick <= 86400; ++tick) {
        h.time.advance(1.0);
        ASSERT_TRUE(cycle.onPollTick());
        if (tick % 300 == 0) session(sessions++);
        if (tick == 3600) warm = heapInUse();
    }
    const std::size_t end = heapInUse();
    EXPECT_LT(end, warm + 256 * 1024) << "heap grew from " << warm << " to " << end;

    EXPECT_EQ(sessions, 288);
    EXPECT_EQ(h.state.settings.limitCelsius[Channel::Cpu], 60);
    EXPECT_EQ(h.state.settings.limitFahrenheit[Channel::Cpu], 140);
    EXPECT_EQ(h.state.ui.selectedItem, 0);
    EXPECT_EQ(h.state.ui.blinking, (std::array<int16_t, 15>{}));
    EXPECT_FALSE(h.state.ui.lowerRightWingOpen || h.state.ui.upperLeftWingOpen);
    EXPECT_FALSE(h.desktop.blinkTimer);
    EXPECT_EQ(cycle.skippedTicks(), 0);
    EXPECT_EQ(h.panel.badFrames().size(), 0u);
    EXPECT_EQ(h.panel.registerBytes(0x20)->at(0), 60);  // the panel has the same limit
}

}  // namespace
}  // namespace kestrelon

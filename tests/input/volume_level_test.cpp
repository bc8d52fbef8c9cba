// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's volume level follows the master volume; the status register goes out only when the
// level changed and a panel is present.
#include "input/volume_level.h"

#include <gtest/gtest.h>

#include "device/simulated_panel.h"

namespace kestrelon {
namespace {

TEST(VolumeLevel, MasterVolumeMapsOntoThePanelsTwentyEightStepsHalfToEven) {
    const struct {
        int32_t percent;
        int16_t level;
    } cases[] = {{0, 0}, {1, 0}, {2, 1}, {50, 14}, {51, 14}, {60, 17}, {100, 28}};
    for (const auto& c : cases) EXPECT_EQ(PanelVolumeLevel(c.percent), c.level) << c.percent;
}

TEST(VolumeLevel, TheStatusGoesOutOnlyWhenTheLevelChangedAndAPanelIsPresent) {
    VirtualTime time;
    SimulatedPanel device(time);
    MonitorState state;
    PanelLink link(device, time, state);
    PanelProtocol protocol(link, state);
    PanelPort panel(state);
    panel.attach(&link, &protocol);
    const auto statusPushes = [&] {
        int n = 0;
        for (uint8_t reg : device.writeOrder()) n += reg == 0x29;
        return n;
    };
    const struct {
        int32_t percent;
        bool present;
        int pushes;  // status pushes so far
        int16_t taken;
    } steps[] = {
        {50, true, 1, 14},
        {51, true, 1, 14},    // still 14 on the panel's scale
        {100, false, 1, 28},  // taken over even without the panel
        {100, true, 1, 28},   // nothing new to send
        {0, true, 2, 0},
    };
    for (const auto& s : steps) {
        state.host.masterVolume = s.percent;
        state.panel.present = s.present;
        SyncVolumeLevel(state, panel);
        EXPECT_EQ(statusPushes(), s.pushes) << s.percent;
        EXPECT_EQ(state.panel.volumeLevel, s.taken) << s.percent;
        EXPECT_EQ(state.panel.sentVolumeLevel, s.taken) << s.percent;
    }
}

}  // namespace
}  // namespace kestrelon

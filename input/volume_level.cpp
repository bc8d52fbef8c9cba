// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's volume level from the master volume.
#include "input/volume_level.h"

#include <cmath>

namespace kestrelon {

int16_t PanelVolumeLevel(int32_t masterVolume) {
    return static_cast<int16_t>(std::nearbyint(masterVolume / 100.0 * kPanelVolumeSteps));
}

void SyncVolumeLevel(MonitorState& state, PanelPort& panel) {
    state.panel.volumeLevel = PanelVolumeLevel(state.host.masterVolume);
    if (state.panel.volumeLevel == state.panel.sentVolumeLevel) return;
    panel.PushStatusRegister();
    state.panel.sentVolumeLevel = state.panel.volumeLevel;
}

}  // namespace kestrelon

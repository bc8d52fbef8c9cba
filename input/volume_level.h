// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's volume level (0..28) follows the host's master volume: the status register goes to
// the panel when the level changes while a panel is present.
#pragma once

#include <cstdint>

#include "core/monitor_state.h"
#include "device/panel_port.h"

namespace kestrelon {

inline constexpr int kPanelVolumeSteps = 28;

// The panel's level for a master volume in percent, rounded half to even.
int16_t PanelVolumeLevel(int32_t masterVolume);

// Sets the level from the master volume; when it differs from the level last taken over, pushes
// the status register (only while a panel is present) and takes the level over.
void SyncVolumeLevel(MonitorState& state, PanelPort& panel);

}  // namespace kestrelon

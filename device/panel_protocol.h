// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's protocol: sensor, fan and limit reads, the clock set and the settings pushes,
// each one driven by its row of the register table. Callers check that a panel is present first.
#pragma once

#include "core/monitor_state.h"
#include "device/panel_link.h"
#include "device/register_map.h"

namespace kestrelon {

class PanelProtocol {
public:
    PanelProtocol(PanelLink& link, MonitorState& state);

    void ReadTemps(ChannelPair pair);      // temperatures; 255 = no sensor, stored as 0
    void ReadFans(ChannelPair pair);       // fan speeds, as read
    void ReadFanLimits(ChannelPair pair);  // fan limits, rounded down to a multiple of 100
    void SyncClock();  // the shown minute into the panel's clock; no EEPROM wait

    void PushStatusRegister();
    void PushTempLimits();
    void PushTempLimitsF();
    void PushFanSetpoints(ChannelPair pair);
    void PushManualFanSpeeds(ChannelPair pair);
    void PushAlarmTime();
    // Status, limits, set points, manual speeds and the clock, 100 ms apart, as one guarded
    // sequence. The alarm time is not part of it.
    void PushAllSettings();

private:
    void read(RegisterFamily family, ChannelPair pair);
    // One write: EEPROM wait when the row asks for it, frame, settle wait. False when the write
    // was skipped (panel busy with another exchange, or its EEPROM stayed busy).
    bool push(const RegisterRow& row);

    PanelLink& link_;
    MonitorState& state_;
};

}  // namespace kestrelon

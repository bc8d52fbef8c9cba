// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's protocol: sensor, fan and limit reads, the clock set and the settings pushes,
// each one driven by its row of the register table. Callers check that a panel is present first.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/monitor_state.h"
#include "device/panel_link.h"
#include "device/register_map.h"

namespace kestrelon {

// What a push of several registers left unwritten, and why.
struct PushReport {
    int written = 0;
    std::vector<std::pair<uint8_t, WriteOutcome>> notWritten;

    bool ok() const { return notWritten.empty(); }
    void add(uint8_t reg, WriteOutcome outcome);
    void add(const PushReport& other);
    // "REG20 not written: the write to the panel failed; REG21 ..." in one line.
    std::string text() const;
};

class PanelProtocol {
public:
    PanelProtocol(PanelLink& link, MonitorState& state);

    void ReadTemps(ChannelPair pair);      // temperatures; 255 = no sensor, a missing reading
    void ReadFans(ChannelPair pair);       // fan speeds, as read
    void ReadFanLimits(ChannelPair pair);  // fan limits, rounded down to a multiple of 100
    void SyncClock();  // the shown minute into the panel's clock; no EEPROM wait

    WriteOutcome PushStatusRegister();
    WriteOutcome PushTempLimits();
    WriteOutcome PushTempLimitsF();
    WriteOutcome PushFanSetpoints(ChannelPair pair);
    WriteOutcome PushManualFanSpeeds(ChannelPair pair);
    WriteOutcome PushAlarmTime();
    // Status, limits, set points, manual speeds and the clock, 100 ms apart, as one guarded
    // sequence. The alarm time is not part of it.
    PushReport PushAllSettings();

private:
    void read(RegisterFamily family, ChannelPair pair);
    // One write: EEPROM wait when the row asks for it, frame, settle wait. A write that was not
    // made for the panel being busy (another exchange, its EEPROM) is logged; a failed write is
    // the caller's to report, since a panel that stopped answering is reported once elsewhere.
    WriteOutcome push(const RegisterRow& row);

    PanelLink& link_;
    MonitorState& state_;
};

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// The once-a-second poll: clock text and clock set, temperature, fan and fan-limit reads,
// redraws of what changed, the periodic internet check and the status re-send.
#pragma once

#include <cstdint>

#include "core/monitor_state.h"
#include "core/poll_hooks.h"
#include "core/timing.h"

namespace kestrelon {

class PanelLink;
class PanelProtocol;

class PollCycle {
public:
    static constexpr int16_t kInternetCheckTicks = 180;

    PollCycle(MonitorState& state, const Clock& clock, PollHooks& hooks);

    // The panel to poll; both null while none is open.
    void attachPanel(PanelLink* link, PanelProtocol* protocol);

    // Sets new_time_hour to the first five characters of the time of day ("HH:MM").
    void UpdateClockText();

    // One tick. A tick that comes due while a cycle or another exchange with the panel is under
    // way is skipped, so two exchanges never interleave; returns false then.
    bool onPollTick();

    int skippedTicks() const { return skipped_; }

private:
    void runCycle();
    bool panelReady() const;

    MonitorState& s_;
    const Clock& clock_;
    PollHooks& hooks_;
    PanelLink* link_ = nullptr;
    PanelProtocol* protocol_ = nullptr;
    bool running_ = false;
    int skipped_ = 0;
};

}  // namespace kestrelon

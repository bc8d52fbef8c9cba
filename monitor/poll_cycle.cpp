// SPDX-License-Identifier: GPL-3.0-or-later
// The poll cycle, in the order the panel and the window expect it.
#include "monitor/poll_cycle.h"

#include <limits>

#include "device/panel_link.h"
#include "device/panel_protocol.h"

namespace kestrelon {

namespace {

// Copies each latest value that differs from the displayed one and redraws that readout.
template <typename Draw>
void takeChanged(PerChannel<int32_t>& shown, const PerChannel<Reading>& latest, Draw draw,
                 PollHooks& hooks) {
    for (Channel ch : kAllChannels) {
        const int32_t value = latest[ch].value_or(0);  // a missing reading shows as 0
        if (value == shown[ch]) continue;
        shown[ch] = value;
        draw(ch);
        hooks.refreshWindow();
    }
}

}  // namespace

PollCycle::PollCycle(MonitorState& state, const Clock& clock, PollHooks& hooks)
    : s_(state), clock_(clock), hooks_(hooks) {}

void PollCycle::attachPanel(PanelLink* link, PanelProtocol* protocol) {
    link_ = link;
    protocol_ = protocol;
}

void PollCycle::UpdateClockText() {
    s_.poll.currentMinute = clock_.timeOfDay().substr(0, 5);
}

bool PollCycle::panelReady() const {
    return s_.panel.present && protocol_ != nullptr;
}

bool PollCycle::onPollTick() {
    if (running_ || (link_ != nullptr && link_->busy())) {
        ++skipped_;
        return false;
    }
    running_ = true;
    runCycle();
    running_ = false;
    return true;
}

void PollCycle::runCycle() {
    UpdateClockText();
    const bool minuteChanged = s_.poll.currentMinute != s_.poll.shownMinute;
    if (minuteChanged) {
        s_.poll.shownMinute = s_.poll.currentMinute;
        hooks_.drawClockPanel();
    }
    if (panelReady()) {
        if (minuteChanged) protocol_->SyncClock();
        protocol_->ReadTemps(ChannelPair::First);
        protocol_->ReadTemps(ChannelPair::Second);
    }
    takeChanged(
        s_.readings.shownTemperature, s_.readings.temperature,
        [this](Channel ch) { hooks_.drawTempReadout(ch); }, hooks_);

    if (panelReady()) {
        protocol_->ReadFans(ChannelPair::First);
        protocol_->ReadFans(ChannelPair::Second);
    }
    takeChanged(
        s_.readings.shownFanSpeed, s_.readings.fanSpeed,
        [this](Channel ch) { hooks_.drawFanReadout(ch); }, hooks_);

    // The counter holds at its limit instead of wrapping, so a check is still due at once
    // when scanning is switched on after a long time off.
    if (s_.poll.ticksSinceProbe < std::numeric_limits<int16_t>::max()) ++s_.poll.ticksSinceProbe;
    if (s_.poll.ticksSinceProbe >= kInternetCheckTicks && s_.poll.lcdScanning) {
        s_.poll.ticksSinceProbe = 0;
        hooks_.checkInternet();
    }

    if (panelReady()) {
        protocol_->ReadFanLimits(ChannelPair::First);
        protocol_->ReadFanLimits(ChannelPair::Second);
        if (!s_.poll.lcdScanning) {
            s_.panel.saveToEeprom = false;
            protocol_->PushStatusRegister();
            s_.panel.saveToEeprom = true;
        }
    }
}

}  // namespace kestrelon

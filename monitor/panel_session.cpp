// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up's device steps and the close.
#include "monitor/panel_session.h"

namespace kestrelon {

PanelSession::PanelSession(MonitorState& state, Waiter& waiter, const Clock* settleClock)
    : state_(state), waiter_(waiter), settleClock_(settleClock) {}

PanelSession::~PanelSession() {
    CloseDevice();
}

PanelSearch::Outcome PanelSession::Open(HidBus& bus, const TransportWrapper& wrap) {
    waiter_.delay(50);
    search_ = FindDevice(bus);
    state_.panel.present = search_.found();
    if (search_.found()) {
        if (wrap) search_.transport = wrap(std::move(search_.transport));
        link_ = std::make_unique<PanelLink>(*search_.transport, waiter_, state_, settleClock_);
        protocol_ = std::make_unique<PanelProtocol>(*link_, state_);
    }
    return search_.outcome();
}

PanelSearch::Outcome PanelSession::Start(HidBus& bus, const TransportWrapper& wrap,
                                         const std::function<void()>& beforePush) {
    PanelSearch::Outcome outcome = Open(bus, wrap);
    if (beforePush) beforePush();
    state_.panel.saveToEeprom = true;
    lastPush_ = {};
    if (state_.panel.present) lastPush_ = protocol_->PushAllSettings();
    return outcome;
}

void PanelSession::CloseDevice() {
    protocol_.reset();
    link_.reset();
    search_.transport.reset();  // the transport closes its handle once, in its destructor
}

}  // namespace kestrelon

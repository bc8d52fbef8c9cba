// SPDX-License-Identifier: GPL-3.0-or-later
// The open panel for the length of a run: start-up's device steps (find, open, learn the report
// lengths, push every setting) and the close that releases it exactly once.
#pragma once

#include <functional>
#include <memory>

#include "core/monitor_state.h"
#include "core/timing.h"
#include "device/panel_finder.h"
#include "device/panel_link.h"
#include "device/panel_protocol.h"

namespace kestrelon {

class PanelSession {
public:
    // Lets a caller put a decorator (a frame trace) around the transport that was opened.
    using TransportWrapper = std::function<std::unique_ptr<Transport>(std::unique_ptr<Transport>)>;

    // `settleClock`: see PanelLink.
    PanelSession(MonitorState& state, Waiter& waiter, const Clock* settleClock = nullptr);
    ~PanelSession();
    PanelSession(const PanelSession&) = delete;
    PanelSession& operator=(const PanelSession&) = delete;

    // Waits 50 ms, looks for the panel and opens it; sets whether a panel is present. The report
    // lengths come from the device's own description.
    PanelSearch::Outcome Open(HidBus& bus, const TransportWrapper& wrap = {});
    // Open, then save to EEPROM on and, with a panel, PushAllSettings: start-up's device steps.
    // `beforePush` runs after the search, panel or not, and before the push.
    // The report of the last full push that Start made.
    const PushReport& lastPush() const { return lastPush_; }
    PanelSearch::Outcome Start(HidBus& bus, const TransportWrapper& wrap = {},
                               const std::function<void()>& beforePush = {});

    // Releases the panel; a second call releases nothing.
    void CloseDevice();

    PanelLink* link() { return link_.get(); }
    const PanelLink* link() const { return link_.get(); }
    PanelProtocol* protocol() { return protocol_.get(); }
    const PanelProtocol* protocol() const { return protocol_.get(); }
    const PanelSearch& search() const { return search_; }

private:
    MonitorState& state_;
    Waiter& waiter_;
    const Clock* settleClock_;
    PanelSearch search_;
    PushReport lastPush_;
    std::unique_ptr<PanelLink> link_;
    std::unique_ptr<PanelProtocol> protocol_;
};

}  // namespace kestrelon

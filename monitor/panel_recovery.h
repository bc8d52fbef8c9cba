// SPDX-License-Identifier: GPL-3.0-or-later
// Losing the panel and finding it again: when its exchanges keep failing it is given up (one log
// line, readouts absent, the program runs on); when a panel appears again it is opened and given
// the settings, as at start-up.
#pragma once

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "monitor/panel_session.h"
#include "core/monitor_state.h"

namespace kestrelon {

// Whether the set of HID devices may have changed since the last call. Cheap enough to ask at
// every poll tick.
class DeviceChangeWatch {
public:
    virtual ~DeviceChangeWatch() = default;
    virtual bool mayHaveChanged() = 0;
};

// One directory read per call: the hidraw nodes listed in /dev (or the given directory).
class HidrawDirectoryWatch final : public DeviceChangeWatch {
public:
    explicit HidrawDirectoryWatch(std::filesystem::path dir = "/dev") : dir_(std::move(dir)) {}
    bool mayHaveChanged() override;

private:
    std::filesystem::path dir_;
    std::set<std::string> last_;
    bool first_ = true;
};

// A bus that is cheap to list (the simulated panel): always worth a look.
class AlwaysLook final : public DeviceChangeWatch {
public:
    bool mayHaveChanged() override { return true; }
};

class PanelRecovery {
public:
    struct Hooks {
        std::function<void()> lost;       // detach everything from the panel before it closes
        std::function<void()> back;       // attach everything to the reopened panel
        std::function<void()> beforePush; // as at start-up (a first start's factory values)
    };

    PanelRecovery(MonitorState& state, PanelSession& session, HidBus& bus,
                  DeviceChangeWatch& watch, PanelSession::TransportWrapper wrap, Hooks hooks);

    // After each poll tick: gives up a panel that stopped answering, or looks for one.
    void afterPoll();
    bool waitingForPanel() const { return !state_.panel.present; }

private:
    void giveUp();
    void lookForPanel();

    MonitorState& state_;
    PanelSession& session_;
    HidBus& bus_;
    DeviceChangeWatch& watch_;
    PanelSession::TransportWrapper wrap_;
    Hooks hooks_;
    std::string lastSearchError_;
};

}  // namespace kestrelon

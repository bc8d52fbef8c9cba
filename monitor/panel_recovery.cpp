// SPDX-License-Identifier: GPL-3.0-or-later
// Losing the panel and finding it again.
#include "monitor/panel_recovery.h"

#include "core/log.h"
#include "device/panel_link.h"

namespace kestrelon {

bool HidrawDirectoryWatch::mayHaveChanged() {
    std::set<std::string> now;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir_, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("hidraw", 0) == 0) now.insert(name);
    }
    const bool changed = first_ || now != last_;
    first_ = false;
    last_ = std::move(now);
    return changed;
}

PanelRecovery::PanelRecovery(MonitorState& state, PanelSession& session, HidBus& bus,
                             DeviceChangeWatch& watch, PanelSession::TransportWrapper wrap,
                             Hooks hooks)
    : state_(state),
      session_(session),
      bus_(bus),
      watch_(watch),
      wrap_(std::move(wrap)),
      hooks_(std::move(hooks)) {}

void PanelRecovery::afterPoll() {
    if (state_.panel.present) {
        if (session_.link() && session_.link()->lost()) giveUp();
        return;
    }
    if (watch_.mayHaveChanged()) lookForPanel();
}

void PanelRecovery::giveUp() {
    LogLine("the panel at " + session_.search().device.path +
            " stopped answering; waiting for it to come back");
    if (hooks_.lost) hooks_.lost();
    session_.CloseDevice();
    state_.panel.present = false;
    for (Channel ch : kAllChannels) {  // the next tick shows them absent
        state_.readings.temperature[ch].reset();
        state_.readings.fanSpeed[ch].reset();
    }
}

void PanelRecovery::lookForPanel() {
    const PanelSearch::Outcome outcome = session_.Start(bus_, wrap_, hooks_.beforePush);
    if (outcome == PanelSearch::Outcome::Opened) {
        lastSearchError_.clear();
        LogLine("panel found at " + session_.search().device.path + "; settings pushed");
        if (hooks_.back) hooks_.back();
        return;
    }
    // A panel that is there but cannot be opened is said once, not at every tick.
    const std::string error =
        session_.search().errors.empty() ? "" : session_.search().errors.front();
    if (!error.empty() && error != lastSearchError_) LogLine("cannot open panel " + error);
    lastSearchError_ = error;
}

}  // namespace kestrelon

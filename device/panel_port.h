// SPDX-License-Identifier: GPL-3.0-or-later
// The open panel as the controls see it: present or not, and the pushes they make while it is.
#pragma once

#include "core/log.h"
#include "core/monitor_state.h"
#include "device/panel_link.h"
#include "device/panel_protocol.h"

namespace kestrelon {

class PanelPort {
public:
    explicit PanelPort(const MonitorState& state) : state_(state) {}

    // The panel opened at start-up; both null once it is closed or when none was found.
    void attach(PanelLink* link, PanelProtocol* protocol) {
        link_ = link;
        protocol_ = protocol;
    }
    void detach() { attach(nullptr, nullptr); }

    // Every push is made only while the panel is present.
    bool present() const { return state_.panel.present && protocol_ != nullptr; }
    PanelProtocol& protocol() { return *protocol_; }
    PanelLink& link() { return *link_; }

    void PushStatusRegister() {
        if (present()) logFailure(RegisterFamily::Status, protocol_->PushStatusRegister());
    }
    void PushAlarmTime() {
        if (present()) logFailure(RegisterFamily::AlarmTime, protocol_->PushAlarmTime());
    }

private:
    // The window says in one line when a write it asked for did not reach the panel.
    static void logFailure(RegisterFamily family, WriteOutcome outcome) {
        if (outcome != WriteOutcome::Failed) return;
        PushReport report;
        report.add(registerRow(family).reg, outcome);
        LogLine(report.text());
    }

    const MonitorState& state_;
    PanelLink* link_ = nullptr;
    PanelProtocol* protocol_ = nullptr;
};

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelonctl set and watch: settings changed from scripts, and readings for logging. Both (and
// push) go through a running kestrelon, so that only one program talks to the panel. unplug and
// plug reach a running kestrelon-demo's simulated panel.
#include <iostream>
#include <sstream>

#include "app/ctl_command.h"
#include "monitor/first_start.h"
#include "monitor/readings_text.h"
#include "monitor/setting_edit.h"
#include "settings/settings_file.h"

namespace kestrelon::ctl {

namespace {

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) out += (out.empty() ? "" : " ") + item;
    return out;
}

}  // namespace

Command::Asked Command::askRunning(const std::string& request, std::string& text,
                                   const std::string& context) {
    std::optional<std::string> answer;
    if (env_.running) answer = env_.running(request);
    if (!answer) return Asked::NotRunning;
    // "ok ..." or "error ...".
    const auto space = answer->find(' ');
    text = space == std::string::npos ? "" : answer->substr(space + 1);
    if (answer->rfind("ok", 0) == 0) return Asked::Answered;
    err_ << "kestrelon: " << context << text << "\n";
    return Asked::Refused;
}

void Command::readAll(PanelProtocol& p) {
    for (ChannelPair pair : {ChannelPair::First, ChannelPair::Second}) p.ReadTemps(pair);
    for (ChannelPair pair : {ChannelPair::First, ChannelPair::Second}) p.ReadFans(pair);
    for (ChannelPair pair : {ChannelPair::First, ChannelPair::Second}) p.ReadFanLimits(pair);
}

int Command::set() {
    const std::vector<std::string>& items = o_.positional;
    if (!o_.file) {
        std::string rest;
        switch (askRunning("set " + joined(items), rest)) {
            case Asked::Refused:
                return 1;
            case Asked::Answered:
                out_ << "set " << joined(items) << " in the running kestrelon"
                     << (rest.empty() ? "" : "; ") << rest << "\n";
                return 0;
            case Asked::NotRunning:
                break;
        }
    }
    // Check the items against a blank state first: a bad one is refused before anything opens.
    std::string why;
    MonitorState probe;
    if (!ApplySettingEdits(probe, items, why)) {
        err_ << "kestrelon: " << why << "\n";
        return 1;
    }
    const std::string path = o_.file.value_or(env_.settingsPath);
    PanelSession session(state_, env_.waiter);
    const PanelSearch::Outcome outcome = session.Open(bus(), tracer());
    const bool panel = outcome == PanelSearch::Outcome::Opened;
    if (outcome == PanelSearch::Outcome::CouldNotOpen) noPanel(session.search());  // says why
    PanelProtocol* protocol = panel ? session.protocol() : nullptr;
    if (protocol) {  // the fan limits bound the manual speeds
        protocol->ReadFanLimits(ChannelPair::First);
        protocol->ReadFanLimits(ChannelPair::Second);
    }
    if (IsFirstStart(path)) {
        StartFromFactorySettings(state_, nullptr, path, false);
    } else if (!loadSettings()) {
        return 1;
    }
    const SettingEditResult edit = EditSettings(state_, items, path, protocol);
    if (edit.outcome != SettingEditResult::Outcome::Saved) {
        err_ << "kestrelon: " << edit.why << "\n";
        return 1;
    }
    if (!edit.push.ok()) {
        out_ << "saved " << path << "\n";
        err_ << "kestrelon: " << edit.push.text() << "\n";
        return 1;
    }
    out_ << "saved " << path;
    if (protocol)
        out_ << "; pushed " << edit.push.written << " register(s) to "
             << session.search().device.path << "\n";
    else if (outcome == PanelSearch::Outcome::CouldNotOpen)
        out_ << "; the panel could not be opened, nothing pushed\n";
    else
        out_ << "; no panel attached, nothing pushed\n";
    return 0;
}

int Command::watch() {
    const bool viaRunning = env_.running && env_.running(o_.json ? "reading" : "reading text");
    std::unique_ptr<PanelSession> session;
    if (!viaRunning) {
        const std::string path = o_.file.value_or(env_.settingsPath);
        if (settingsReadable(path, false))
            LoadSettings(state_.settings, path);  // only for the unit
        session = std::make_unique<PanelSession>(state_, env_.waiter);
        if (session->Open(bus(), tracer()) != PanelSearch::Outcome::Opened)
            return noPanel(session->search());
    }
    for (long n = 0; !o_.count || n < *o_.count; ++n) {
        if (n > 0) env_.waiter.delay(static_cast<int>(o_.interval * 1000));
        std::string line;
        if (viaRunning) {
            const Asked asked = askRunning(o_.json ? "reading" : "reading text", line);
            if (asked == Asked::NotRunning) err_ << "kestrelon: the running kestrelon has ended\n";
            if (asked != Asked::Answered) return 1;
        } else {
            readAll(*session->protocol());
            const std::string time = env_.clock.timeOfDay();
            line = o_.json ? ReadingJson(state_, time) : ReadingText(state_, time);
        }
        out_ << line << std::endl;
        if (!out_) return 0;  // the reader went away
    }
    return 0;
}

int Command::plug() {
    std::string rest;
    const Asked asked = askRunning(o_.command, rest);
    if (asked == Asked::NotRunning)
        err_ << "kestrelon: no kestrelon-demo is running; start it first\n";
    if (asked != Asked::Answered) return 1;
    out_ << (o_.command == "unplug" ? "pulled the simulated panel's plug\n"
                                    : "put the simulated panel's plug back\n");
    return 0;
}

}  // namespace kestrelon::ctl

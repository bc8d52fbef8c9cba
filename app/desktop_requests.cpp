// SPDX-License-Identifier: GPL-3.0-or-later
// The requests that kestrelonctl and a second start send the running desktop program over its
// control socket.
#include <QTimer>
#include <sstream>

#include "app/control_request.h"
#include "app/desktop_program.h"
#include "app/history_answer.h"
#include "monitor/readings_text.h"
#include "monitor/setting_edit.h"

namespace kestrelon {

namespace {

constexpr int kRequestRetryMs = 20;

}  // namespace

void DesktopProgram::handleRequest(const std::string& request, const LocalControl::Reply& reply) {
    // One exchange at a time: a request that comes during a wait is handled after it.
    if (exchangeUnderWay()) {
        QTimer::singleShot(kRequestRetryMs, &window_,
                           [this, request, reply] { handleRequest(request, reply); });
        return;
    }
    const bool panel = state_.panel.present && session_.protocol();
    if (request == "show") {
        showFromTray();
        reply("ok");
    } else if (request == "show history") {
        showHistory();
        reply("ok");
    } else if (request == "reading" || request == "reading text") {
        const std::string time = clock_.timeOfDay();
        reply("ok " +
              (request == "reading" ? ReadingJson(state_, time) : ReadingText(state_, time)));
    } else if (request == "status") {
        if (!panel) return reply("error no panel attached to the running kestrelon");
        reply("ok " + StatusRecord(state_, session_.search().device.path));
    } else if (request == "push") {
        if (!panel) return reply("error no panel attached to the running kestrelon");
        const PushReport push = session_.protocol()->PushAllSettings();
        if (!push.ok()) return reply("error " + push.text());
        reply("ok");
    } else if (request == "unplug" || request == "plug") {
        // The demo's panel can be pulled and put back, to see the program lose and find it.
        if (!simulatedPanel_)
            return reply("error only kestrelon-demo's simulated panel has a plug to pull");
        simulatedPanel_->setPlugged(request == "plug");
        reply("ok");
    } else if (request == "metrics") {
        reply("ok " + FoldLines(metricsText()));
    } else if (request.rfind("set ", 0) == 0) {
        std::vector<std::string> items;
        std::istringstream words(request.substr(4));
        for (std::string item; words >> item;) items.push_back(item);
        const SettingEditResult edit =
            EditSettings(state_, items, o_.settingsPath, panel ? session_.protocol() : nullptr);
        if (edit.outcome != SettingEditResult::Outcome::Saved) return reply("error " + edit.why);
        controls_->RedrawSettings();
        if (!panel) return reply("ok no panel attached, nothing pushed");
        if (!edit.push.ok()) return reply("error saved, but " + edit.push.text());
        reply("ok pushed " + std::to_string(edit.push.written) + " register(s)");
    } else if (request.rfind("history ", 0) == 0) {
        // The last seconds, one row a second from the ring (a row a minute from the files before
        // it began).
        if (!recorder_) return reply("error no history recorded yet");
        const int64_t now = utcClock_.utcSeconds();
        const std::string rows =
            HistoryAnswer(recorder_->range(now - std::stol(request.substr(8)) + 1, now));
        reply(rows.empty() ? "ok" : "ok " + rows);
    } else {
        reply("error unknown request: " + request);
    }
}

}  // namespace kestrelon

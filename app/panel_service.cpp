// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's side of a program that owns it: start-up search, poll, history, alerts, recovery,
// sleep, requests and metrics.
#include "app/panel_service.h"

#include <sstream>

#include "alerts/alert_text.h"
#include "app/alert_command.h"
#include "app/control_request.h"
#include "app/history_answer.h"
#include "app/sleep_watch.h"
#include "core/log.h"
#include "core/sample.h"
#include "device/frame_trace.h"
#include "device/hidapi_bus.h"
#include "device/simulated_bus.h"
#include "metrics/exposition.h"
#include "metrics/metrics_server.h"
#include "monitor/first_start.h"
#include "monitor/readings_text.h"
#include "monitor/setting_edit.h"
#include "settings/atomic_file.h"

namespace kestrelon {

namespace {

constexpr int kPollIntervalMs = 1000;
constexpr int kExchangeRetryMs = 20;  // how soon to look again while an exchange is under way
constexpr int kTextfileIntervalMs = 15000;
constexpr const char* kNoPanel = "error no panel attached to the running kestrelon";

}  // namespace

PanelService::PanelService(MonitorState& state, PanelServiceOptions options,
                           PanelServiceHooks hooks)
    : state_(state),
      o_(std::move(options)),
      hooks_(std::move(hooks)),
      session_(state_, waiter_, &clock_) {
    if (o_.simulated) {
        auto simulated = std::make_unique<SimulatedBus>(clock_, UnrecordedPanelOptions());
        simulatedPanel_ = &simulated->panel();
        bus_ = std::move(simulated);
    } else {
        bus_ = std::make_unique<HidapiBus>();
    }
    pollTimer_.setSingleShot(true);
    pollTimer_.setInterval(kPollIntervalMs);
    QObject::connect(&pollTimer_, &QTimer::timeout, [this] { onPollTick(); });
}

PanelService::~PanelService() {
    // Its owner may be going already: nothing is told, the panel just closes.
    hooks_ = {};
    setPollTimer(false);
    textfileTimer_.stop();
    closePanel();
    finishHistory();
}

void PanelService::listen(const QString& socket, LocalControl::Handler other) {
    control_ = std::make_unique<LocalControl>(
        socket, [this, other](const std::string& request, const LocalControl::Reply& reply) {
            // One exchange at a time: a request that comes during a wait is handled after it.
            whenIdle([this, other, request, reply] {
                if (answer(request, reply)) return;
                if (other) return other(request, reply);
                reply("error unknown request: " + request);
            });
        });
}

void PanelService::makePoll(PollHooks& hooks) {
    cycle_ = std::make_unique<PollCycle>(state_, clock_, hooks);
}

void PanelService::setPollTimer(bool enabled) {
    pollEnabled_ = enabled;
    if (!enabled)
        pollTimer_.stop();
    else if (!pollTimer_.isActive())
        pollTimer_.start();
}

void PanelService::start() {
    alerts_ = AlertMonitor(AlertRules{options_.alertDelaySeconds, options_.alertHysteresisC});
    if (!o_.historyDir.empty())
        recorder_ = std::make_unique<Recorder>(RecorderConfig{o_.historyDir, options_.historyDays},
                                               utcClock_);
    openPanel();
    startMetrics();
    sleepWatch_ = std::make_unique<SleepWatch>([this] { afterSleep(); });
}

void PanelService::onPollTick() {
    const bool polled = cycle_->onPollTick();
    // What this tick read, taken before the recovery: a panel found again after the cycle has
    // not been read yet. A tick whose exchanges are failing (the panel going) read nothing.
    const Sample read = sampleOf(state_);
    checkAlerts(read);
    const PanelLink* link = session_.link();
    Sample sample = polled && link && link->failuresInARow() == 0 ? read : Sample{};
    // The panel is given up or looked for only between exchanges, never inside another wait.
    if (recovery_ && !exchangeUnderWay()) recovery_->afterPoll();
    if (!state_.panel.present) sample = Sample{};  // given up: a gap, not its last readings
    if (polled && recorder_) recorder_->record(sample, utcClock_.utcSeconds());
    if (pollEnabled_ && !pollTimer_.isActive()) pollTimer_.start();
}

void PanelService::checkAlerts(const Sample& sample) {
    const std::vector<AlertChange> changes = alerts_.feed(sample, clock_.monotonicSeconds());
    for (const AlertChange& change : changes) {
        const std::string& name = options_.sensorName[change.channel];
        if (!options_.alertCommand.empty()) RunAlertCommand(options_.alertCommand, change, name);
        if (!hooks_.alertsChanged) {
            LogLine(std::string(alertStateName(change.state)) + ": " +
                    alertMessage(change, name).body);
        }
    }
    if (hooks_.alertsChanged) hooks_.alertsChanged(changes);
}

void PanelService::openPanel() {
    PanelSession::TransportWrapper wrap;
    if (!o_.frameLog.empty()) {
        frameLog_.open(o_.frameLog, std::ios::app);
        if (!frameLog_) LogLine("cannot write the frame log " + o_.frameLog);
        wrap = [this](std::unique_ptr<Transport> inner) -> std::unique_ptr<Transport> {
            return std::make_unique<TracingTransport>(
                std::move(inner), clock_,
                [this](const TraceFrame& f) { frameLog_ << traceLine(f) << std::endl; });
        };
    }
    // A first start (no settings file yet) takes the factory values, with the fan values from
    // the limits the panel reports; so does the first panel that appears later. Fan values of 0
    // saved before any panel was seen are filled in the same way.
    const auto beforePush = [this] {
        if (!session_.protocol()) return;
        if (PrepareSettingsForPanel(state_, *session_.protocol(), o_.settingsPath) &&
            hooks_.settingsChanged)
            hooks_.settingsChanged();
    };
    session_.Start(*bus_, wrap, beforePush);
    const PanelSearch& search = session_.search();
    if (search.outcome() == PanelSearch::Outcome::NoPanel)
        LogLine("no panel found (USB vendor 0x1267, product 0xa102); running without one");
    for (const std::string& e : search.errors) LogLine("cannot open panel " + e);
    attach();

    if (o_.simulated)
        deviceWatch_ = std::make_unique<AlwaysLook>();
    else
        deviceWatch_ = std::make_unique<HidrawDirectoryWatch>();
    deviceWatch_->mayHaveChanged();  // what is there now is what the search just saw
    recovery_ = std::make_unique<PanelRecovery>(
        state_, session_, *bus_, *deviceWatch_, wrap,
        PanelRecovery::Hooks{[this] { detach(); }, [this] { attach(); }, beforePush});
}

void PanelService::attach() {
    if (cycle_) cycle_->attachPanel(session_.link(), session_.protocol());
    if (hooks_.attached) hooks_.attached(session_.link(), session_.protocol());
}

void PanelService::detach() {
    if (recorder_) recorder_->markGap(utcClock_.utcSeconds());  // no panel: no readings
    if (cycle_) cycle_->attachPanel(nullptr, nullptr);
    if (hooks_.attached) hooks_.attached(nullptr, nullptr);
}

void PanelService::closePanel() {
    recovery_.reset();  // and nothing looks for the panel any more
    if (cycle_) cycle_->attachPanel(nullptr, nullptr);
    if (hooks_.attached) hooks_.attached(nullptr, nullptr);
    session_.CloseDevice();
}

void PanelService::finishHistory() {
    if (recorder_) recorder_->finish();  // the minute so far
}

void PanelService::stop(std::function<void()> done) {
    setPollTimer(false);
    textfileTimer_.stop();
    // A signal can arrive in the middle of an exchange's wait: the panel closes only once that
    // exchange is over, never under it.
    whenIdle([this, done = std::move(done)] {
        closePanel();
        finishHistory();
        if (done) done();
    });
}

void PanelService::afterSleep() {
    if (recorder_) recorder_->markGap(utcClock_.utcSeconds());  // asleep: no readings
    whenIdle([this] {
        if (!state_.panel.present || !session_.protocol()) return;  // recovery pushes later
        // The panel may have lost its power or its time while the machine slept.
        if (cycle_) cycle_->UpdateClockText();
        state_.poll.shownMinute = state_.poll.currentMinute;
        if (hooks_.clockShown) hooks_.clockShown();
        const PushReport push = session_.protocol()->PushAllSettings();
        LogLine(push.ok() ? "awake again: the panel's clock and settings sent"
                          : "awake again, but " + push.text());
    });
}

bool PanelService::exchangeUnderWay() const {
    const PanelLink* link = session_.link();
    return waiter_.depth() > 0 || (link && link->busy());
}

void PanelService::whenIdle(std::function<void()> job) {
    if (!exchangeUnderWay()) return job();
    // Bound to the timer: a retry never outlives the service.
    QTimer::singleShot(kExchangeRetryMs, &pollTimer_,
                       [this, job = std::move(job)]() mutable { whenIdle(std::move(job)); });
}

bool PanelService::answer(const std::string& request, const LocalControl::Reply& reply) {
    const bool panel = state_.panel.present && session_.protocol();
    if (request == "reading" || request == "reading text") {
        const std::string time = clock_.timeOfDay();
        reply("ok " +
              (request == "reading" ? ReadingJson(state_, time) : ReadingText(state_, time)));
    } else if (request == "status") {
        reply(panel ? "ok " + StatusRecord(state_, session_.search().device.path) : kNoPanel);
    } else if (request == "push") {
        if (!panel) {
            reply(kNoPanel);
            return true;
        }
        const PushReport push = session_.protocol()->PushAllSettings();
        reply(push.ok() ? "ok" : "error " + push.text());
    } else if (request == "unplug" || request == "plug") {
        // The demo's panel can be pulled and put back, to see the program lose and find it.
        if (!simulatedPanel_) {
            reply("error only kestrelon-demo's simulated panel has a plug to pull");
            return true;
        }
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
        if (edit.outcome == SettingEditResult::Outcome::Saved && hooks_.settingsChanged)
            hooks_.settingsChanged();
        if (edit.outcome != SettingEditResult::Outcome::Saved)
            reply("error " + edit.why);
        else if (!panel)
            reply("ok no panel attached, nothing pushed");
        else if (!edit.push.ok())
            reply("error saved, but " + edit.push.text());
        else
            reply("ok pushed " + std::to_string(edit.push.written) + " register(s)");
    } else if (request.rfind("history ", 0) == 0) {
        // The last seconds, one row a second from the ring (a row a minute from the files before
        // it began). The request line was checked: a number of seconds within the ring's hour.
        if (!recorder_) {
            reply("error no history recorded yet");
            return true;
        }
        const int64_t now = utcClock_.utcSeconds();
        const std::string rows =
            HistoryAnswer(recorder_->range(now - std::stol(request.substr(8)) + 1, now));
        reply(rows.empty() ? "ok" : "ok " + rows);
    } else {
        return false;
    }
    return true;
}

std::string PanelService::metricsText() const {
    const bool panel = state_.panel.present && session_.protocol();
    MetricsInput in =
        metricsInput(sampleOf(state_), options_, panel ? session_.search().device.path : "");
    PerChannel<bool> alarm{};
    for (const Channel ch : kAllChannels)
        alarm[ch] = alerts_.state(ch, AlertKind::Temperature) == AlertState::Alarm;
    in.temperatureAlarm = alarm;
    return Exposition(in);
}

void PanelService::startMetrics() {
    if (!options_.metricsListen.empty()) {
        std::string why;
        if (const auto address = ParseListenAddress(options_.metricsListen, why)) {
            metricsServer_ = std::make_unique<MetricsServer>([this] { return metricsText(); });
            if (metricsServer_->listen(*address))
                LogLine("metrics served at http://" + options_.metricsListen + "/metrics");
            else
                metricsServer_.reset();
        } else {
            LogLine("metrics endpoint: " + options_.metricsListen + ": " + why);
        }
    }
    if (!options_.metricsTextfile.empty()) {
        textfileTimer_.setInterval(kTextfileIntervalMs);
        QObject::connect(&textfileTimer_, &QTimer::timeout, [this] { writeTextfile(); });
        textfileTimer_.start();
        writeTextfile();
    }
}

void PanelService::writeTextfile() {
    std::string error;
    const bool written = ReplaceFileContent(options_.metricsTextfile, metricsText(), error);
    if (!written && !textfileFailing_) LogLine("metrics textfile not written: " + error);
    if (written && textfileFailing_) LogLine("metrics textfile written again");
    textfileFailing_ = !written;
}

}  // namespace kestrelon

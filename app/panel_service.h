// SPDX-License-Identifier: GPL-3.0-or-later
// What a program that owns the panel runs, with or without a window: the bus, the panel session
// and its recovery after an unplug or a sleep, the once-a-second poll, the history it records,
// the alerts it watches, the control socket's requests that need no window, and the metrics.
// The desktop program adds the window, the tray and the controls on top of it;
// `kestrelonctl serve` runs it alone.
#pragma once

#include <QTimer>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "alerts/alert_monitor.h"
#include "app/local_control.h"
#include "app/qt_waiter.h"
#include "core/monitor_state.h"
#include "core/options.h"
#include "core/poll_hooks.h"
#include "core/sample.h"
#include "core/timing.h"
#include "device/simulated_panel.h"
#include "history/recorder.h"
#include "monitor/panel_recovery.h"
#include "monitor/panel_session.h"
#include "monitor/poll_cycle.h"

namespace kestrelon {

class MetricsServer;
class SleepWatch;

struct PanelServiceOptions {
    bool simulated = false;    // the simulated panel instead of USB
    std::string frameLog;      // every frame sent and every reply, one per line; empty: none
    std::string settingsPath;  // the panel's settings file
    std::string historyDir;    // where the day files go; empty: no history is recorded
};

// What the service tells its owner; every member may be empty.
struct PanelServiceHooks {
    std::function<void(PanelLink*, PanelProtocol*)> attached;  // a panel (or none: nullptrs)
    std::function<void()> settingsChanged;  // filled in from the panel or edited: redraw them
    std::function<void()> clockShown;       // the minute shown changed outside the poll
    // Each poll's changes of the alerts (none: not called), after the alert command ran for
    // each. Without it, each change is one log line.
    std::function<void(const std::vector<AlertChange>&)> alertsChanged;
};

class PanelService {
public:
    PanelService(MonitorState& state, PanelServiceOptions options, PanelServiceHooks hooks);
    ~PanelService();
    PanelService(const PanelService&) = delete;
    PanelService& operator=(const PanelService&) = delete;

    const Clock& clock() const { return clock_; }
    QtWaiter& waiter() { return waiter_; }
    const PanelSession& session() const { return session_; }

    // Our own options: the sensors' names, the history's days, the alerts' rules, the metrics.
    // Set before start().
    void setOptions(const Options& options) { options_ = options; }
    const Options& options() const { return options_; }

    // Listens on the control socket; requests the service does not know go to `other` (nothing:
    // answered as unknown). Every request waits for an exchange under way to end.
    void listen(const QString& socket, LocalControl::Handler other);

    // The poll, made with the owner's hooks (redraws); then turned on and off.
    void makePoll(PollHooks& hooks);
    PollCycle& poll() { return *cycle_; }
    void setPollTimer(bool enabled);

    // The history, the alerts, the start-up search and push with the recovery that looks for
    // the panel after it is lost, the metrics endpoint and textfile, the end of a sleep. After
    // makePoll.
    void start();
    // The end: the poll stopped, then, once no exchange is under way, the panel closed, the
    // history's minute so far written, and `done` called.
    void stop(std::function<void()> done);
    // The panel closed and no longer looked for (the poll goes on without it).
    void closePanel();
    // The minute gathered so far written to the day file (the program ends).
    void finishHistory();

    // The end of a sleep: the clock and the settings sent at once, as after a re-plug.
    void afterSleep();

    // Whether a wait or an exchange with the panel is in progress: the panel must not close or be
    // given a request now.
    bool exchangeUnderWay() const;
    // Runs `job` now when no exchange is under way, else as soon as the one under way is over.
    // Everything that may start an exchange from outside the poll comes through here.
    void whenIdle(std::function<void()> job);

    // Answers a request that needs no window: reading, reading text, status, push, plug, unplug,
    // set, metrics, history. False, with nothing answered, for any other request.
    bool answer(const std::string& request, const LocalControl::Reply& reply);

    const Recorder* history() const { return recorder_.get(); }
    const AlertMonitor& alerts() const { return alerts_; }
    std::string metricsText() const;

private:
    void onPollTick();
    void openPanel();
    void attach();
    void detach();
    void checkAlerts(const Sample& sample);
    void startMetrics();
    void writeTextfile();

    MonitorState& state_;
    PanelServiceOptions o_;
    PanelServiceHooks hooks_;
    Options options_;
    SystemClock clock_;
    QtWaiter waiter_;
    std::unique_ptr<HidBus> bus_;
    SimulatedPanel* simulatedPanel_ = nullptr;  // the demo's panel, in bus_
    std::ofstream frameLog_;
    PanelSession session_;
    std::unique_ptr<PollCycle> cycle_;
    QTimer pollTimer_;  // also the owner of the retries of whenIdle
    bool pollEnabled_ = false;
    std::unique_ptr<DeviceChangeWatch> deviceWatch_;
    std::unique_ptr<PanelRecovery> recovery_;
    std::unique_ptr<SleepWatch> sleepWatch_;
    std::unique_ptr<LocalControl> control_;
    SystemUtcClock utcClock_;
    std::unique_ptr<Recorder> recorder_;
    AlertMonitor alerts_{AlertRules{}};
    std::unique_ptr<MetricsServer> metricsServer_;
    QTimer textfileTimer_;
    bool textfileFailing_ = false;
};

}  // namespace kestrelon

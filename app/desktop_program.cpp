// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's start-up and shutdown: the panel, the timers and the poll, wired together.
// The tray, the control requests and the desktop services are in the desktop_*.cpp beside it.
#include "app/desktop_program.h"

#include <QApplication>
#include <QMessageBox>
#include <filesystem>
#include <iostream>

#include "core/log.h"
#include "device/frame_trace.h"
#include "device/hidapi_bus.h"
#include "device/simulated_bus.h"
#include "app/desktop_notifier.h"
#include "app/history_window.h"
#include "app/sleep_watch.h"
#include "core/options.h"
#include "core/sample.h"
#include "host/host_facts.h"
#include "metrics/metrics_server.h"
#include "monitor/first_start.h"
#include "settings/options_file.h"
#include "settings/settings_file.h"
#include "skin/skin_check.h"
#include "skin/window_shape.h"

namespace kestrelon {

namespace {

constexpr int kPollIntervalMs = 1000;
constexpr int kBlinkIntervalMs = 100;
constexpr int kCursorIntervalMs = 100;
constexpr int kExchangeRetryMs = 20;  // how soon to look again while an exchange is under way
constexpr const char* kClickSoundFile = "nimclick.wav";

}  // namespace

DesktopProgram::DesktopProgram(DesktopOptions options)
    : o_(std::move(options)),
      wayland_(QGuiApplication::platformName() == "wayland"),
      session_(state_, waiter_, &clock_) {
    if (o_.simulated) {
        auto simulated = std::make_unique<SimulatedBus>(clock_);
        simulatedPanel_ = &simulated->panel();
        bus_ = std::move(simulated);
    } else
        bus_ = std::make_unique<HidapiBus>();
    pollTimer_.setSingleShot(true);
    pollTimer_.setInterval(kPollIntervalMs);
    blinkTimer_.setInterval(kBlinkIntervalMs);
    cursorTimer_.setInterval(kCursorIntervalMs);
    QObject::connect(&pollTimer_, &QTimer::timeout, [this] { onPollTick(); });
    QObject::connect(&blinkTimer_, &QTimer::timeout, [this] { controls_->onBlinkTick(); });
    QObject::connect(&cursorTimer_, &QTimer::timeout, [this] { controls_->onCursorTick(); });
    window_.setCloseRequest([this] { hideWindow(); });
}

DesktopProgram::~DesktopProgram() {
    // Timers first, then the panel: nothing may reach it once it is closed.
    stopTimers();
    if (recorder_) recorder_->finish();  // the minute so far
    window_.setControls(nullptr);
    closeDevice();
}

void DesktopProgram::stopTimers() {
    pollEnabled_ = false;
    pollTimer_.stop();
    blinkTimer_.stop();
    cursorTimer_.stop();
}

bool DesktopProgram::checkSkin() {
    const std::vector<std::string> problems = CheckSkin(o_.skinDir);
    if (problems.empty()) return true;
    std::string all;
    for (const std::string& p : problems) {
        LogLine("skin " + o_.skinDir + ": " + p);
        all += p + "\n";
    }
    QMessageBox::critical(
        nullptr, "Kestrelon",
        QString::fromStdString("The skin in " + o_.skinDir + " is incomplete:\n\n" + all));
    return false;
}

std::optional<int> DesktopProgram::start() {
    const QString socket = ControlSocketPath(true);
    if (LocalControl::Ask(socket, o_.showHistory ? "show history" : "show")) return 0;
    if (!checkSkin()) return 1;
    options_ = LoadOptions(o_.optionsPath);
    startAlerts();
    control_ = std::make_unique<LocalControl>(
        socket, [this](const std::string& request, const LocalControl::Reply& reply) {
            handleRequest(request, reply);
        });

    // Settings, then the window's shape and place.
    if (IsFirstStart(o_.settingsPath))
        StartFromFactorySettings(state_, nullptr, o_.settingsPath, false);  // fans: see openPanel
    else
        LoadSettings(state_.settings, o_.settingsPath);
    renderer_ =
        std::make_unique<SkinRenderer>(state_, o_.skinDir, waiter_, [this] { window_.update(); });
    window_.setPicture(&renderer_->windowPicture(), renderer_->WindowRegion(), wayland_);
    window_.centre();

    // The mixer, the click sound and the controls.
    mixer_ = std::make_unique<AlsaMixer>();
    state_.host.masterVolume = mixer_->GetMasterVolume();
    sound_ = std::make_unique<AlsaClickSound>(std::filesystem::path(o_.skinDir) / kClickSoundFile);
    controls_ = std::make_unique<Controls>(
        state_, *renderer_, clock_, ControlsServices{*this, *mixer_, *sound_}, o_.settingsPath);
    window_.setControls(controls_.get());

    // Every poll's readings are kept: the last hour in memory, a row a minute in the day files.
    recorder_ = std::make_unique<Recorder>(
        RecorderConfig{DefaultHistoryDirectory(), options_.historyDays}, utcClock_);

    // The poll starts; every panel is drawn once. The clock shows (and the start-up push
    // sends) the time of day from the start.
    probe_ = std::make_unique<InternetProbe>([this](bool linked) { onProbeResult(linked); },
                                             o_.probeAddress);
    hooks_ = std::make_unique<RendererPollHooks>(*renderer_, [this] { probe_->start(); });
    cycle_ = std::make_unique<PollCycle>(state_, clock_, *hooks_);
    cycle_->UpdateClockText();
    setPollTimer(true);
    probe_->start();
    readHostFacts();
    controls_->DrawAllPanels();
    state_.poll.shownMinute = state_.poll.currentMinute;
    renderer_->DrawClockPanel();

    openPanel();
    startMetrics();
    sleepWatch_ = std::make_unique<SleepWatch>([this] { afterSleep(); });
    addTrayIcon();
    if (!trayAvailable()) showFromTray();  // no tray: the window is the only way in
    if (o_.showHistory) showHistory();
    return std::nullopt;
}

void DesktopProgram::readHostFacts() {
    const HostFactReader facts;
    if (auto v = facts.cpuMhz()) state_.host.processorMhz = *v;
    if (auto v = facts.systemDriveGb()) state_.host.diskGb = *v;
    if (auto v = facts.totalRamMb()) state_.host.memoryMb = *v;
}

void DesktopProgram::openPanel() {
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
        if (PrepareSettingsForPanel(state_, *session_.protocol(), o_.settingsPath))
            controls_->RedrawSettings();
    };
    session_.Start(*bus_, wrap, beforePush);
    const PanelSearch& search = session_.search();
    if (search.outcome() == PanelSearch::Outcome::NoPanel)
        LogLine("no panel found (USB vendor 0x1267, product 0xa102); running without one");
    for (const std::string& e : search.errors) LogLine("cannot open panel " + e);
    attachPanel();

    if (o_.simulated)
        deviceWatch_ = std::make_unique<AlwaysLook>();
    else
        deviceWatch_ = std::make_unique<HidrawDirectoryWatch>();
    deviceWatch_->mayHaveChanged();  // what is there now is what the search just saw
    recovery_ = std::make_unique<PanelRecovery>(
        state_, session_, *bus_, *deviceWatch_, wrap,
        PanelRecovery::Hooks{[this] { detachPanel(); }, [this] { attachPanel(); }, beforePush});
}

void DesktopProgram::afterSleep() {
    if (recorder_) recorder_->markGap(utcClock_.utcSeconds());  // asleep: no readings
    // One exchange at a time: a wake-up during a wait is handled after it.
    if (exchangeUnderWay()) {
        QTimer::singleShot(kExchangeRetryMs, &window_, [this] { afterSleep(); });
        return;
    }
    if (!state_.panel.present || !session_.protocol()) return;  // recovery pushes when it is back
    // The panel may have lost its power or its time while the machine slept.
    cycle_->UpdateClockText();
    state_.poll.shownMinute = state_.poll.currentMinute;
    renderer_->DrawClockPanel();
    const PushReport push = session_.protocol()->PushAllSettings();
    LogLine(push.ok() ? "awake again: the panel's clock and settings sent"
                      : "awake again, but " + push.text());
}

void DesktopProgram::attachPanel() {
    cycle_->attachPanel(session_.link(), session_.protocol());
    controls_->attachPanel(session_.link(), session_.protocol());
}

void DesktopProgram::detachPanel() {
    if (recorder_) recorder_->markGap(utcClock_.utcSeconds());  // no panel: no readings
    cycle_->attachPanel(nullptr, nullptr);
    controls_->detachPanel();
}

bool DesktopProgram::exchangeUnderWay() const {
    const PanelLink* link = session_.link();
    return waiter_.depth() > 0 || (link && link->busy());
}

void DesktopProgram::onPollTick() {
    const bool polled = cycle_->onPollTick();
    checkAlerts();
    // What this tick read, taken before the recovery: a panel found again after the cycle has
    // not been read yet. A tick whose exchanges are failing (the panel going) read nothing.
    const PanelLink* link = session_.link();
    const bool read = polled && link && link->failuresInARow() == 0;
    Sample sample = read ? sampleOf(state_) : Sample{};
    // The panel is given up or looked for only between exchanges, never inside another wait.
    if (recovery_ && !exchangeUnderWay()) recovery_->afterPoll();
    if (!state_.panel.present) sample = Sample{};  // given up: a gap, not its last readings
    if (polled && recorder_) recorder_->record(sample, utcClock_.utcSeconds());
    if (pollEnabled_ && !pollTimer_.isActive()) pollTimer_.start();
}

void DesktopProgram::onProbeResult(bool linked) {
    state_.poll.internetLinked = linked;
    renderer_->ShowLinkState(linked);
    renderer_->ShowWindowPicture();
}

void DesktopProgram::closeDevice() {
    recovery_.reset();  // and nothing looks for the panel any more
    if (cycle_) cycle_->attachPanel(nullptr, nullptr);
    if (controls_) controls_->detachPanel();
    session_.CloseDevice();
}

void DesktopProgram::endNow() {
    stopTimers();
    // A signal can arrive in the middle of an exchange's wait: the panel closes only once that
    // exchange is over, never under it.
    if (exchangeUnderWay()) {
        QTimer::singleShot(kExchangeRetryMs, &window_, [this] { endNow(); });
        return;
    }
    if (controls_) window_.setControls(nullptr);
    closeDevice();
    if (recorder_) recorder_->finish();
    removeTrayIcon();
    window_.hide();
    QCoreApplication::quit();
}

void DesktopProgram::unload() {
    stopTimers();
    if (recorder_) recorder_->finish();
    window_.hide();
    QCoreApplication::quit();
}

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's start-up and shutdown: the panel, the timers and the poll, wired together.
// The tray, the control requests and the desktop services are in the desktop_*.cpp beside it.
#include "app/desktop_program.h"

#include <QApplication>
#include <QMessageBox>
#include <filesystem>
#include <iostream>

#include "app/desktop_notifier.h"
#include "app/history_window.h"
#include "core/log.h"
#include "core/options.h"
#include "history/day_files.h"
#include "host/host_facts.h"
#include "monitor/first_start.h"
#include "settings/options_file.h"
#include "settings/settings_file.h"
#include "skin/skin_check.h"
#include "skin/window_shape.h"

namespace kestrelon {

namespace {

constexpr int kBlinkIntervalMs = 100;
constexpr int kCursorIntervalMs = 100;
// A start behind the tray puts the window's pictures away this long after the icon was added,
// so that packing them does not hold up the icon's docking.
constexpr int kPutAwayAfterStartMs = 500;
constexpr const char* kClickSoundFile = "nimclick.wav";

}  // namespace

DesktopProgram::DesktopProgram(DesktopOptions options)
    : o_(std::move(options)),
      wayland_(QGuiApplication::platformName() == "wayland"),
      service_(
          state_,
          PanelServiceOptions{o_.simulated, o_.frameLog, o_.settingsPath,
                              DefaultHistoryDirectory()},
          PanelServiceHooks{
              [this](PanelLink* link, PanelProtocol* protocol) { attachPanel(link, protocol); },
              [this] {
                  if (controls_) controls_->RedrawSettings();
              },
              [this] {
                  if (renderer_) renderer_->DrawClockPanel();
              },
              [this](const std::vector<AlertChange>& changes) { onAlertsChanged(changes); }}) {
    blinkTimer_.setInterval(kBlinkIntervalMs);
    cursorTimer_.setInterval(kCursorIntervalMs);
    QObject::connect(&blinkTimer_, &QTimer::timeout, [this] { controls_->onBlinkTick(); });
    QObject::connect(&cursorTimer_, &QTimer::timeout, [this] { controls_->onCursorTick(); });
    window_.setCloseRequest([this] { hideWindow(); });
}

DesktopProgram::~DesktopProgram() {
    // Timers first, then the panel: nothing may reach it once it is closed.
    stopTimers();
    service_.finishHistory();  // the minute so far
    window_.setControls(nullptr);
    closeDevice();
}

void DesktopProgram::stopTimers() {
    service_.setPollTimer(false);
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
    if (const auto shown = LocalControl::Ask(socket, o_.showHistory ? "show history" : "show")) {
        if (shown->rfind("error ", 0) != 0) return 0;
        LogLine(shown->substr(6));  // another program owns the panel and has no window
        return 1;
    }
    if (!checkSkin()) return 1;
    service_.setOptions(LoadOptions(o_.optionsPath));
    notifier_ = std::make_unique<DesktopNotifier>();
    service_.listen(socket, [this](const std::string& request, const LocalControl::Reply& reply) {
        handleRequest(request, reply);
    });

    // Settings, then the window's shape and place.
    if (IsFirstStart(o_.settingsPath))
        StartFromFactorySettings(state_, nullptr, o_.settingsPath, false);  // fans: see openPanel
    else
        LoadSettings(state_.settings, o_.settingsPath);
    // Only the part drawn is repainted: a full repaint of the shaped window every second would
    // blend it on Qt's pooled threads and wake them all.
    renderer_ = std::make_unique<SkinRenderer>(state_, o_.skinDir, service_.waiter(),
                                               [this](const QRect& changed) {
                                                   if (!changed.isEmpty()) window_.update(changed);
                                                   if (window_.isHidden()) packSurfacesSoon();
                                               });
    window_.setPicture(&renderer_->windowPicture(), renderer_->WindowRegion(), wayland_);
    window_.centre();

    // The mixer, the click sound and the controls.
    mixer_ = std::make_unique<AlsaMixer>();
    state_.host.masterVolume = mixer_->GetMasterVolume();
    sound_ = std::make_unique<AlsaClickSound>(std::filesystem::path(o_.skinDir) / kClickSoundFile);
    controls_ =
        std::make_unique<Controls>(state_, *renderer_, service_.clock(),
                                   ControlsServices{*this, *mixer_, *sound_}, o_.settingsPath);
    window_.setControls(controls_.get());

    // The poll starts. The clock shows (and the start-up push sends) the time of day from the
    // start. Every panel is drawn when the window first shows: a start behind the tray icon
    // draws nothing that nobody sees.
    probe_ = std::make_unique<InternetProbe>([this](bool linked) { onProbeResult(linked); },
                                             o_.probeAddress);
    hooks_ = std::make_unique<RendererPollHooks>(*renderer_, [this] { probe_->start(); });
    hooks_->setHidden(true);  // until the window shows: a tray's program starts out of sight
    service_.makePoll(*hooks_);
    service_.poll().UpdateClockText();
    setPollTimer(true);
    probe_->start();
    readHostFacts();
    controls_->SyncVolume();
    state_.poll.shownMinute = state_.poll.currentMinute;

    // The history, the alerts, the panel, the metrics and the end of a sleep.
    service_.start();
    addTrayIcon();
    if (!trayAvailable()) showFromTray();  // no tray: the window is the only way in
    if (o_.showHistory) showHistory();
    // Before the long idle, once the icon has docked: the surfaces packed, what start-up freed.
    if (window_.isHidden()) packSurfacesSoon(kPutAwayAfterStartMs);
    return std::nullopt;
}

void DesktopProgram::readHostFacts() {
    const HostFactReader facts;
    if (auto v = facts.cpuMhz()) state_.host.processorMhz = *v;
    if (auto v = facts.systemDriveGb()) state_.host.diskGb = *v;
    if (auto v = facts.totalRamMb()) state_.host.memoryMb = *v;
}

void DesktopProgram::afterSleep() {
    service_.afterSleep();
}

void DesktopProgram::attachPanel(PanelLink* link, PanelProtocol* protocol) {
    if (!controls_) return;
    if (link)
        controls_->attachPanel(link, protocol);
    else
        controls_->detachPanel();
}

void DesktopProgram::onProbeResult(bool linked) {
    state_.poll.internetLinked = linked;
    hooks_->drawLinkState();
}

void DesktopProgram::closeDevice() {
    service_.closePanel();
}

void DesktopProgram::endNow() {
    stopTimers();
    service_.stop([this] {
        if (controls_) window_.setControls(nullptr);
        removeTrayIcon();
        window_.hide();
        QCoreApplication::quit();
    });
}

void DesktopProgram::unload() {
    stopTimers();
    service_.finishHistory();
    window_.hide();
    QCoreApplication::quit();
}

}  // namespace kestrelon

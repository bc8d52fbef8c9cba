// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program: start-up in its fixed order, the skin window behind a tray icon, the
// timers, and everything the controls ask of the desktop. `kestrelon` runs it on the USB panel,
// `kestrelon-demo` on the simulated one.
#pragma once

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/local_control.h"
#include "app/main_window.h"
#include "app/panel_service.h"
#include "core/monitor_state.h"
#include "core/options.h"
#include "host/alsa_click_sound.h"
#include "host/alsa_mixer.h"
#include "host/internet_probe.h"
#include "input/controls.h"
#include "skin/renderer_poll_hooks.h"
#include "skin/skin_renderer.h"

namespace kestrelon {

class DesktopNotifier;
class HistoryWindow;

// The maker's web site, opened by the skin's WEB key.
inline constexpr const char* kMakerSiteAddress = "https://kestrelon.example/";

struct DesktopOptions {
    bool simulated = false;
    std::string frameLog;  // every frame sent and every reply, one per line; empty: none
    QUrl probeAddress{kInternetProbeAddress};
    std::string skinDir;
    std::string settingsPath;
    std::string optionsPath;   // our own options file; empty: the defaults
    bool showHistory = false;  // --history: the history window shows at start
};

// Parses the command line (without the program name). Nothing, and why, on a mistake; `help`
// is set for --help.
std::optional<DesktopOptions> ParseDesktopOptions(const std::vector<std::string>& args,
                                                  bool simulated, bool& help, std::string& why);
std::string DesktopUsage(bool simulated);

class DesktopProgram final : public DesktopServices {
public:
    explicit DesktopProgram(DesktopOptions options);
    ~DesktopProgram() override;
    DesktopProgram(const DesktopProgram&) = delete;
    DesktopProgram& operator=(const DesktopProgram&) = delete;

    // Start-up. Returns an exit status when the program should end at once (a broken skin: 1;
    // another instance was running and showed its window: 0); nothing when it runs on.
    std::optional<int> start();

    // Ends the program without a question (a termination signal): timers, panel, tray, quit.
    void endNow();
    // The machine woke up: the panel gets the clock and the settings at once, as after a re-plug.
    void afterSleep();

    // The window back from the tray, in its normal state, on a screen.
    void showFromTray();
    // The history window, made when first asked for, shown and raised.
    void showHistory();
    HistoryWindow* historyWindow() { return history_.get(); }

    MainWindow& window() { return window_; }
    MonitorState& state() { return state_; }
    Controls* controls() { return controls_.get(); }
    // Our own options, read once at start-up from the options file.
    const Options& options() const { return service_.options(); }
    // The recorded history (nothing before start()): its range() is what the history window and
    // kestrelonctl history read.
    const Recorder* history() const { return service_.history(); }
    bool trayAvailable() const;

    // DesktopServices
    bool askCloseProgram() override;
    void openMakerSite() override;
    bool dragWindow(int grabX, int grabY, int dx, int dy) override;
    void minimiseWindow() override;
    void hideWindow() override;
    bool installCursor(CursorKind kind) override;
    bool pointerOverWindow() const override;
    void setPollTimer(bool enabled) override;
    void setBlinkTimer(bool enabled) override;
    void setCursorTimer(bool enabled) override;
    void showResetHint(const QImage& picture, int x, int y) override;
    void hideResetHint() override;
    void closeDevice() override;
    void removeTrayIcon() override;
    void processPendingEvents() override;
    void unload() override;

private:
    bool checkSkin();
    void attachPanel(PanelLink* link, PanelProtocol* protocol);
    void readHostFacts();
    void addTrayIcon();
    // The alerts (desktop_alerts.cpp): each change notified, and the alarms shown on the tray
    // icon and in its tooltip.
    void onAlertsChanged(const std::vector<AlertChange>& changes);
    void showAlarmsInTray();
    void onProbeResult(bool linked);
    void stopTimers();
    void giveBackFreedMemory();
    // Puts the renderer's pictures away if the window is still out of sight after `delayMs`.
    void packSurfacesSoon(int delayMs = 0);
    // A request from kestrelonctl or a second start that needs the window: show, show history.
    // The panel's requests are answered by the service.
    void handleRequest(const std::string& request, const LocalControl::Reply& reply);

    DesktopOptions o_;
    bool wayland_;
    MonitorState state_;
    PanelService service_;
    MainWindow window_;
    std::unique_ptr<SkinRenderer> renderer_;
    std::unique_ptr<InternetProbe> probe_;
    std::unique_ptr<RendererPollHooks> hooks_;
    std::unique_ptr<AlsaMixer> mixer_;
    std::unique_ptr<AlsaClickSound> sound_;
    std::unique_ptr<Controls> controls_;
    QTimer blinkTimer_, cursorTimer_;
    bool systemMoveStarted_ = false;
    QMenu trayMenu_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    bool trayShowsOnClick_ = false;  // trays that send no double-click
    bool packPending_ = false;
    bool panelsDrawn_ = false;  // every panel drawn, at the window's first show
    std::unique_ptr<DesktopNotifier> notifier_;
    QIcon trayIcon_, trayAlarmIcon_;
    bool trayShowsAlarm_ = false;
    std::unique_ptr<HistoryWindow> history_;
};

}  // namespace kestrelon

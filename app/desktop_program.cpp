// The desktop program's start-up, timers, tray and desktop services.
#include "app/desktop_program.h"

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDesktopServices>
#include <QMessageBox>
#include <QWindow>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <array>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "app/autostart.h"
#include "app/first_start.h"
#include "app/readings_text.h"
#include "app/setting_edit.h"
#include "core/log.h"
#include "device/frame_trace.h"
#include "device/hidapi_bus.h"
#include "device/simulated_bus.h"
#include "host/host_facts.h"
#include "settings/settings_file.h"
#include "skin/cursor_file.h"
#include "skin/skin_check.h"
#include "skin/window_shape.h"

namespace kestrelon {

namespace {

constexpr int kPollIntervalMs = 1000;
constexpr int kBlinkIntervalMs = 100;
constexpr int kCursorIntervalMs = 100;
constexpr int kRequestRetryMs = 20;

// Cursor files by kind: arrow, hand, move.
constexpr std::array<const char*, 3> kCursorFiles{"arrow_m.cur", "harrow.cur", "move_r.cur"};
constexpr const char* kClickSoundFile = "nimclick.wav";
constexpr const char* kTrayIconFile = "kestrelon-tray.png";

// Trays that speak the StatusNotifierItem protocol (and every Wayland desktop) report a click
// but never a double-click.
bool trayWithoutDoubleClick(bool wayland) {
    if (wayland) return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered("org.kde.StatusNotifierWatcher").value();
}

}  // namespace

std::string DesktopUsage(bool simulated) {
    const std::string name = simulated ? "kestrelon-demo" : "kestrelon";
    return "usage: " + name +
           " [--frame-log PATH]\n"
           "  Shows the front panel's temperatures and fans behind a tray icon" +
           (simulated ? " (a simulated panel)" : "") +
           ".\n"
           "  --frame-log PATH   append every frame sent (>) and reply (<) to PATH\n"
           "  --help             this text\n";
}

std::optional<DesktopOptions> ParseDesktopOptions(const std::vector<std::string>& args,
                                                  bool simulated, bool& help, std::string& why) {
    DesktopOptions o;
    o.simulated = simulated;
    help = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--help" || a == "-h") {
            help = true;
        } else if (a == "--frame-log" && hasValue) {
            o.frameLog = args[++i];
        } else if (a == "--probe-address" && hasValue) {  // for tests: a loopback server
            o.probeAddress = QUrl(QString::fromStdString(args[++i]));
        } else if (a == "--frame-log" || a == "--probe-address") {
            why = a + " needs a value";
            return std::nullopt;
        } else {
            why = "unknown argument " + a;
            return std::nullopt;
        }
    }
    return o;
}

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
    timer1_.setSingleShot(true);
    timer1_.setInterval(kPollIntervalMs);
    timer2_.setInterval(kBlinkIntervalMs);
    timer3_.setInterval(kCursorIntervalMs);
    QObject::connect(&timer1_, &QTimer::timeout, [this] { onPollTick(); });
    QObject::connect(&timer2_, &QTimer::timeout, [this] { controls_->Timer2_Timer(); });
    QObject::connect(&timer3_, &QTimer::timeout, [this] { controls_->Timer3_Timer(); });
    window_.setCloseRequest([this] { hideWindow(); });
}

DesktopProgram::~DesktopProgram() {
    // Timers first, then the panel: nothing may reach it once it is closed.
    stopTimers();
    window_.setControls(nullptr);
    closeDevice();
}

void DesktopProgram::stopTimers() {
    pollEnabled_ = false;
    timer1_.stop();
    timer2_.stop();
    timer3_.stop();
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
    if (LocalControl::Ask(socket, "show")) return 0;
    if (!checkSkin()) return 1;
    control_ = std::make_unique<LocalControl>(
        socket, [this](const std::string& request, const LocalControl::Reply& reply) {
            handleRequest(request, reply);
        });

    // Settings, then the window's shape and place.
    if (IsFirstStart(o_.settingsPath))
        StartFromFactorySettings(state_, nullptr, o_.settingsPath, false);  // fans: see openPanel
    else
        LoadSettings(state_, o_.settingsPath);
    renderer_ =
        std::make_unique<SkinRenderer>(state_, o_.skinDir, waiter_, [this] { window_.update(); });
    window_.setPicture(&renderer_->mainback(), renderer_->WindowRegion(), wayland_);
    window_.centre();

    // The mixer, the click sound and the controls.
    mixer_ = std::make_unique<AlsaMixer>();
    state_.vol = mixer_->GetMasterVolume();
    sound_ = std::make_unique<AlsaClickSound>(std::filesystem::path(o_.skinDir) / kClickSoundFile);
    controls_ = std::make_unique<Controls>(
        state_, *renderer_, clock_, ControlsServices{*this, *mixer_, *sound_}, o_.settingsPath);
    window_.setControls(controls_.get());

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
    renderer_->DrawAllPanels();
    state_.time_hour = state_.new_time_hour;
    renderer_->DrawClockPanel();

    openPanel();
    addTrayIcon();
    if (!trayAvailable()) showFromTray();  // no tray: the window is the only way in
    return std::nullopt;
}

void DesktopProgram::handleRequest(const std::string& request, const LocalControl::Reply& reply) {
    // One exchange at a time: a request that comes during a wait is handled after it.
    if (exchangeUnderWay()) {
        QTimer::singleShot(kRequestRetryMs,
                           [this, request, reply] { handleRequest(request, reply); });
        return;
    }
    const bool panel = state_.DeviceDetected && session_.protocol();
    if (request == "show") {
        showFromTray();
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
        session_.protocol()->PushAllSettings();
        reply("ok");
    } else if (request == "unplug" || request == "plug") {
        // The demo's panel can be pulled and put back, to see the program lose and find it.
        if (!simulatedPanel_)
            return reply("error only kestrelon-demo's simulated panel has a plug to pull");
        simulatedPanel_->setPlugged(request == "plug");
        reply("ok");
    } else if (request.rfind("set ", 0) == 0) {
        std::vector<std::string> items;
        std::istringstream words(request.substr(4));
        for (std::string item; words >> item;) items.push_back(item);
        const MonitorState before = state_;
        std::string why;
        if (!ApplySettingEdits(state_, items, why)) return reply("error " + why);
        if (!SaveSettings(state_, o_.settingsPath)) {
            state_ = before;
            return reply("error cannot save " + o_.settingsPath + "; nothing changed");
        }
        controls_->RedrawSettings();
        if (!panel) return reply("ok no panel attached, nothing pushed");
        const int pushed = PushChangedSettings(before, state_, *session_.protocol());
        reply("ok pushed " + std::to_string(pushed) + " register(s)");
    } else {
        reply("error unknown request: " + request);
    }
}

void DesktopProgram::readHostFacts() {
    const HostFacts facts;
    if (auto v = facts.cpuMhz()) state_.speed = *v;
    if (auto v = facts.systemDriveGb()) state_.totalmb = *v;
    if (auto v = facts.totalRamMb()) state_.totalram = *v;
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

void DesktopProgram::attachPanel() {
    cycle_->attachPanel(session_.link(), session_.protocol());
    controls_->attachPanel(session_.link(), session_.protocol());
}

void DesktopProgram::detachPanel() {
    cycle_->attachPanel(nullptr, nullptr);
    controls_->detachPanel();
}

void DesktopProgram::addTrayIcon() {
    QIcon icon(
        QString::fromStdString((std::filesystem::path(o_.skinDir) / kTrayIconFile).string()));
    if (icon.isNull())
        icon = QIcon(QPixmap::fromImage(
            renderer_->mainback().scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    tray_ = std::make_unique<QSystemTrayIcon>(icon);
    tray_->setToolTip("Kestrelon");
    trayMenu_.addAction("Show", [this] { showFromTray(); });
    QAction* atLogin = trayMenu_.addAction("Start at login");
    atLogin->setCheckable(true);
    QObject::connect(&trayMenu_, &QMenu::aboutToShow,
                     [atLogin] { atLogin->setChecked(StartsAtLogin()); });
    QObject::connect(atLogin, &QAction::triggered, [atLogin](bool on) {
        std::string error;
        if (!SetStartAtLogin(on, error)) LogLine(error);
        atLogin->setChecked(StartsAtLogin());
    });
    trayMenu_.addAction("Quit", [this] {
        if (controls_) controls_->QuitRequested();
    });
    tray_->setContextMenu(&trayMenu_);
    trayShowsOnClick_ = trayWithoutDoubleClick(wayland_);
    QObject::connect(tray_.get(), &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (reason == QSystemTrayIcon::DoubleClick ||
                             (reason == QSystemTrayIcon::Trigger && trayShowsOnClick_))
                             showFromTray();
                     });
    tray_->show();
}

bool DesktopProgram::trayAvailable() const {
    return tray_ && tray_->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void DesktopProgram::showFromTray() {
    if (!window_.onAScreen()) window_.centre();
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    window_.show();
    window_.raise();
    window_.activateWindow();
}

bool DesktopProgram::exchangeUnderWay() const {
    const PanelLink* link = session_.link();
    return waiter_.depth() > 0 || (link && link->busy());
}

void DesktopProgram::onPollTick() {
    cycle_->Timer1_Timer();
    // The panel is given up or looked for only between exchanges, never inside another wait.
    if (recovery_ && !exchangeUnderWay()) recovery_->afterPoll();
    if (pollEnabled_ && !timer1_.isActive()) timer1_.start();
}

void DesktopProgram::onProbeResult(bool linked) {
    state_.connect = linked;
    renderer_->ShowLinkState(linked);
    renderer_->ShowMainback();
}

// ---- DesktopServices --------------------------------------------------------------------------

bool DesktopProgram::askCloseProgram() {
    QMessageBox box(QMessageBox::Question, "Kestrelon", "Close The Program?",
                    QMessageBox::Yes | QMessageBox::No, window_.isVisible() ? &window_ : nullptr);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void DesktopProgram::openMakerSite() {
    if (!QDesktopServices::openUrl(QUrl(kMakerSiteAddress)))
        LogLine(std::string("cannot open ") + kMakerSiteAddress + " in a web browser");
}

bool DesktopProgram::dragWindow(int grabX, int grabY, int, int) {
    if (wayland_) {
        // The compositor places windows: hand it the drag once; it ends with the button.
        if (!systemMoveStarted_ && window_.windowHandle())
            systemMoveStarted_ = window_.windowHandle()->startSystemMove();
        return false;
    }
    // No window manager takes the move here: the window follows the pointer itself until the
    // button's release.
    window_.followPointer(QPoint(grabX, grabY));
    return true;
}

void DesktopProgram::minimiseWindow() {
    window_.setWindowState(window_.windowState() | Qt::WindowMinimized);
    giveBackFreedMemory();
}

void DesktopProgram::hideWindow() {
    if (trayAvailable())
        window_.hide();
    else
        window_.showMinimized();  // without a tray a hidden window could not come back
    giveBackFreedMemory();
}

void DesktopProgram::giveBackFreedMemory() {
#ifdef __GLIBC__
    // Once the window is out of sight the program idles for hours: what its drawing freed goes
    // back to the system rather than staying in the heap. After the pending events, which free
    // the last of it.
    QTimer::singleShot(0, [] { malloc_trim(0); });
#endif
}

bool DesktopProgram::installCursor(int kind) {
    if (kind < 0 || kind >= static_cast<int>(kCursorFiles.size())) return false;
    const auto cursor = LoadCursorFile(std::filesystem::path(o_.skinDir) / kCursorFiles[kind]);
    if (!cursor) return false;
    window_.setCursor(
        QCursor(QPixmap::fromImage(cursor->image), cursor->hotspot.x(), cursor->hotspot.y()));
    return true;
}

bool DesktopProgram::pointerOverWindow() const {
    if (!window_.isVisible()) return false;
    const QPoint p = window_.mapFromGlobal(QCursor::pos());
    return window_.mask().isEmpty() ? window_.rect().contains(p) : window_.mask().contains(p);
}

void DesktopProgram::setPollTimer(bool enabled) {
    pollEnabled_ = enabled;
    if (!enabled) {
        timer1_.stop();
        return;
    }
    systemMoveStarted_ = false;  // a move without a drag: any handed-over drag has ended
    if (!timer1_.isActive()) timer1_.start();
}

void DesktopProgram::setBlinkTimer(bool enabled) {
    if (!enabled)
        timer2_.stop();
    else if (!timer2_.isActive())
        timer2_.start();
}

void DesktopProgram::setCursorTimer(bool enabled) {
    if (!enabled)
        timer3_.stop();
    else if (!timer3_.isActive())
        timer3_.start();
}

void DesktopProgram::showResetHint(const QImage& picture, int x, int y) {
    window_.hint().showPicture(picture, QPoint(x, y));
}

void DesktopProgram::hideResetHint() {
    window_.hint().hide();
}

void DesktopProgram::closeDevice() {
    recovery_.reset();  // and nothing looks for the panel any more
    if (cycle_) cycle_->attachPanel(nullptr, nullptr);
    if (controls_) controls_->detachPanel();
    session_.CloseDevice();
}

void DesktopProgram::removeTrayIcon() {
    if (tray_) tray_->hide();
}

void DesktopProgram::processPendingEvents() {
    QCoreApplication::processEvents();
}

void DesktopProgram::endNow() {
    stopTimers();
    // A signal can arrive in the middle of an exchange's wait: the panel closes only once that
    // exchange is over, never under it.
    if (exchangeUnderWay()) {
        QTimer::singleShot(kRequestRetryMs, [this] { endNow(); });
        return;
    }
    if (controls_) window_.setControls(nullptr);
    closeDevice();
    removeTrayIcon();
    window_.hide();
    QCoreApplication::quit();
}

void DesktopProgram::unload() {
    stopTimers();
    window_.hide();
    QCoreApplication::quit();
}

}  // namespace kestrelon

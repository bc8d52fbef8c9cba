// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's tray icon and its menu, and showing the window from the tray.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <filesystem>

#include "app/autostart.h"
#include "app/desktop_program.h"
#include "core/log.h"

namespace kestrelon {

namespace {

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

void DesktopProgram::addTrayIcon() {
    QIcon icon(
        QString::fromStdString((std::filesystem::path(o_.skinDir) / kTrayIconFile).string()));
    if (icon.isNull())
        icon = QIcon(QPixmap::fromImage(renderer_->windowPicture().scaled(
            32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    trayIcon_ = icon;
    tray_ = std::make_unique<QSystemTrayIcon>(icon);
    tray_->setToolTip("Kestrelon");
    trayMenu_.addAction("Show", [this] { showFromTray(); });
    trayMenu_.addAction("History", [this] { showHistory(); });
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
    renderer_->UnpackSurfaces();
    if (!panelsDrawn_) {  // the first show: every panel, once
        controls_->DrawAllPanels();
        renderer_->DrawClockPanel();
        panelsDrawn_ = true;
    }
    if (hooks_) hooks_->setHidden(false);  // what the poll left undrawn, drawn before it shows
    if (!window_.onAScreen()) window_.centre();
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    window_.show();
    window_.raise();
    window_.activateWindow();
}

}  // namespace kestrelon

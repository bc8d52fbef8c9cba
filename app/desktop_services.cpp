// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop services the controls ask of the window: the close question, the maker's site,
// dragging, hiding, cursors, timers and the reset hint.
#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QMessageBox>
#include <QWindow>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <array>
#include <filesystem>

#include "app/desktop_program.h"
#include "core/log.h"
#include "skin/cursor_file.h"

namespace kestrelon {

namespace {

// Cursor files by kind: arrow, hand, move.
constexpr std::array<const char*, 3> kCursorFiles{"arrow_m.cur", "harrow.cur", "move_r.cur"};

}  // namespace

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
    if (trayAvailable()) {
        window_.hide();
        if (hooks_) hooks_->setHidden(true);  // nothing is drawn while out of sight
        if (renderer_) renderer_->PutAway();
        window_.releaseBackingStore();
    } else
        window_.showMinimized();  // without a tray a hidden window could not come back
    giveBackFreedMemory();
}

void DesktopProgram::packSurfacesSoon(int delayMs) {
    // Something was drawn out of sight (a settings change, the clock after a sleep): packed
    // again once the drawing in progress is over.
    if (std::exchange(packPending_, true)) return;
    QTimer::singleShot(delayMs, &window_, [this] {
        packPending_ = false;
        if (window_.isHidden() && trayAvailable() && renderer_) {
            renderer_->PutAway();
            giveBackFreedMemory();
        }
    });
}

void DesktopProgram::giveBackFreedMemory() {
#ifdef __GLIBC__
    // Once the window is out of sight the program idles for hours: what its drawing freed goes
    // back to the system rather than staying in the heap. After the pending events, which free
    // the last of it.
    QTimer::singleShot(0, &window_, [] { malloc_trim(0); });
#endif
}

bool DesktopProgram::installCursor(CursorKind kind) {
    const auto index = static_cast<std::size_t>(kind);
    if (index >= kCursorFiles.size()) return false;
    const auto cursor = LoadCursorFile(std::filesystem::path(o_.skinDir) / kCursorFiles[index]);
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
    if (enabled) systemMoveStarted_ = false;  // a move without a drag: any handed-over drag ended
    service_.setPollTimer(enabled);
}

void DesktopProgram::setBlinkTimer(bool enabled) {
    if (!enabled)
        blinkTimer_.stop();
    else if (!blinkTimer_.isActive())
        blinkTimer_.start();
}

void DesktopProgram::setCursorTimer(bool enabled) {
    if (!enabled)
        cursorTimer_.stop();
    else if (!cursorTimer_.isActive())
        cursorTimer_.start();
}

void DesktopProgram::showResetHint(const QImage& picture, int x, int y) {
    window_.hint().showPicture(picture, QPoint(x, y));
}

void DesktopProgram::hideResetHint() {
    window_.hint().hide();
}

void DesktopProgram::removeTrayIcon() {
    if (tray_) tray_->hide();
}

void DesktopProgram::processPendingEvents() {
    QCoreApplication::processEvents();
}

}  // namespace kestrelon

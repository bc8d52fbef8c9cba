// SPDX-License-Identifier: GPL-3.0-or-later
// The skin window and its event forwarding.
#include "app/main_window.h"

#include <QBackingStore>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <cmath>
#include <cstdlib>
#if __has_include(<QtGui/qguiapplication_platform.h>)
#include <QtGui/qguiapplication_platform.h>
#endif
#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

#include "input/controls.h"
#include "skin/geometry.h"

namespace kestrelon {

namespace {

// Positions in skin pixels: a fractional position (a scaled display) belongs to the pixel it is in.
float skinPixel(double logical) {
    return static_cast<float>(std::floor(logical));
}

}  // namespace

int ButtonMask(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

int ModifierMask(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? kShiftMask : 0) |
           (modifiers & Qt::ControlModifier ? kCtrlMask : 0) |
           (modifiers & Qt::AltModifier ? kAltMask : 0);
}

QPoint PressPixel(QPoint eventPixel, std::optional<QPoint> foundPixel) {
    if (!foundPixel) return eventPixel;
    const QPoint off = *foundPixel - eventPixel;
    return std::abs(off.x()) <= 1 && std::abs(off.y()) <= 1 ? *foundPixel : eventPixel;
}

Qt::KeyboardModifiers ModifiersWithKey(Qt::KeyboardModifiers modifiers, int key, bool pressed) {
    Qt::KeyboardModifier own = Qt::NoModifier;
    if (key == Qt::Key_Shift) own = Qt::ShiftModifier;
    if (key == Qt::Key_Control) own = Qt::ControlModifier;
    if (key == Qt::Key_Alt || key == Qt::Key_AltGr) own = Qt::AltModifier;
    if (own == Qt::NoModifier) return modifiers;
    return pressed ? modifiers | own : modifiers & ~Qt::KeyboardModifiers(own);
}

HintPopup::HintPopup(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void HintPopup::showPicture(const QImage& picture, QPoint at) {
    picture_ = picture;
    setGeometry(QRect(at, picture.size()));
    show();
    raise();
    update();
}

void HintPopup::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(rect(), picture_);
}

MainWindow::MainWindow() : hint_(this) {
    setWindowTitle("Kestrelon");
    setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    setFixedSize(geo::kWindow.w, geo::kWindow.h);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void MainWindow::setPicture(const QImage* picture, const QRegion& outline,
                            bool paintOutlineTransparent) {
    picture_ = picture;
    outline_ = outline;
    paintOutlineTransparent_ = paintOutlineTransparent;
    if (paintOutlineTransparent) setAttribute(Qt::WA_TranslucentBackground);
    setMask(outline);
}

void MainWindow::releaseBackingStore() {
    // A pixel, not an empty size: QSize() is -1 x -1, which the platform's store cannot make.
    // The next paint finds the store smaller than the window and makes it whole again.
    if (QBackingStore* store = backingStore(); store && isHidden()) store->resize(QSize(1, 1));
}

void MainWindow::centre() {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect area = s->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

bool MainWindow::onAScreen() const {
    const QRect frame = frameGeometry();
    for (QScreen* s : QGuiApplication::screens())
        if (s->geometry().intersects(frame)) return true;
    return false;
}

void MainWindow::paintEvent(QPaintEvent*) {
    if (!picture_) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);  // crisp at any scale
    if (paintOutlineTransparent_) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        painter.setClipRegion(outline_);
    }
    painter.drawImage(rect(), *picture_);
}

std::optional<QPoint> MainWindow::physicalSkinPixel() const {
#if QT_CONFIG(xcb)
    const double ratio = devicePixelRatio();
    if (ratio <= 1) return std::nullopt;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return std::nullopt;
    xcb_connection_t* connection = x11->connection();
    const xcb_query_pointer_cookie_t cookie =
        xcb_query_pointer(connection, static_cast<xcb_window_t>(winId()));
    xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(connection, cookie, nullptr);
    if (!reply) return std::nullopt;
    const QPoint pixel(static_cast<int>(std::floor(reply->win_x / ratio)),
                       static_cast<int>(std::floor(reply->win_y / ratio)));
    std::free(reply);
    return pixel;
#else
    return std::nullopt;
#endif
}

void MainWindow::mousePressEvent(QMouseEvent* e) {
    if (!controls_) return;
    const QPointF p = e->position();
    const QPoint rounded(static_cast<int>(skinPixel(p.x())), static_cast<int>(skinPixel(p.y())));
    // At a display scale of 2 the xcb platform hands over positions rounded to whole logical
    // pixels, so a skin pixel's second physical pixel arrives as the next skin pixel. The click
    // goes where the pointer really is: a move to the exact pixel first, with the buttons as
    // they were before this press.
    const QPoint at = PressPixel(rounded, physicalSkinPixel());
    if (at != rounded)
        controls_->onPointerMove(ButtonMask(e->buttons() & ~e->button()),
                                 ModifierMask(e->modifiers()), at.x(), at.y());
    controls_->onPointerDown(ButtonMask(e->button()), ModifierMask(e->modifiers()), at.x(), at.y());
}

void MainWindow::followPointer(QPoint grab) {
    moveGrab_ = grab;
    move(QCursor::pos() - grab);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && moveGrab_) {
        // A move ends where the button was let go, even if the pointer's last moves before the
        // release never arrived (the platform drops a queued move when a later one is queued,
        // even past the release).
        move(e->globalPosition().toPoint() - *moveGrab_);
        moveGrab_.reset();
    }
    if (!controls_) return;
    controls_->onPointerUp(ButtonMask(e->button()));
    if (e->button() == Qt::LeftButton) controls_->onClick();
}

void MainWindow::mouseMoveEvent(QMouseEvent* e) {
    // A window being moved takes the pointer's moves, as the desktop's own move would: a pointer
    // running ahead of the window has often left the small grab corner by the time its move
    // arrives, and the move must not stop there.
    if (moveGrab_ && (e->buttons() & Qt::LeftButton)) {
        followPointer(*moveGrab_);
        return;
    }
    moveGrab_.reset();
    if (!controls_) return;
    const QPointF p = e->position();
    controls_->onPointerMove(ButtonMask(e->buttons()), ModifierMask(e->modifiers()),
                             skinPixel(p.x()), skinPixel(p.y()));
}

void MainWindow::enterEvent(QEnterEvent* e) {
    // No move event comes when the window appears under a resting pointer.
    if (!controls_) return;
    const QPointF p = e->position();
    controls_->onPointerMove(ButtonMask(QGuiApplication::mouseButtons()),
                             ModifierMask(QGuiApplication::keyboardModifiers()), skinPixel(p.x()),
                             skinPixel(p.y()));
}

void MainWindow::leaveEvent(QEvent*) {
    if (controls_) controls_->pointerLeft();
}

void MainWindow::keyPressEvent(QKeyEvent* e) {
    if (!controls_) return;
    controls_->onKeyDown(e->key(), ModifierMask(ModifiersWithKey(e->modifiers(), e->key(), true)));
}

void MainWindow::keyReleaseEvent(QKeyEvent* e) {
    if (!controls_) return;
    controls_->onKeyUp(e->key(), ModifierMask(ModifiersWithKey(e->modifiers(), e->key(), false)));
}

void MainWindow::focusOutEvent(QFocusEvent*) {
    if (controls_) controls_->focusLost();
}

void MainWindow::hideEvent(QHideEvent*) {
    moveGrab_.reset();
    if (controls_) controls_->windowHidden();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    // The program ends only through its own close question; a close from the desktop hides.
    e->ignore();
    if (closeRequest_) closeRequest_();
}

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// The skin window: frameless, shaped by the skin's outline, painting mainback at any display
// scale, and forwarding pointer, key and focus events to the controls.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>

namespace kestrelon {

class Controls;

// A picture over the window that the pointer's clicks pass through (the reset hint).
class HintPopup final : public QWidget {
public:
    explicit HintPopup(QWidget* parent);
    void showPicture(const QImage& picture, QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

class MainWindow final : public QWidget {
public:
    MainWindow();

    void setControls(Controls* controls) { controls_ = controls; }
    // What a close from the desktop (a window manager's key) does instead of closing.
    void setCloseRequest(std::function<void()> request) { closeRequest_ = std::move(request); }
    // The picture painted, outline included (transparent outside it where the desktop needs
    // that, as Wayland's, which shapes only input with the mask).
    void setPicture(const QImage* picture, const QRegion& outline, bool paintOutlineTransparent);
    HintPopup& hint() { return hint_; }
    // Centres the window on the screen it is on (or the primary one).
    void centre();
    // The hidden window's backing store shrinks to a pixel; Qt makes it whole for the next paint.
    void releaseBackingStore();
    // Whether any part of the window lies on a screen.
    bool onAScreen() const;
    // Moves the window with the pointer, held at grab (a point on the window), until the left
    // button's release, wherever the pointer goes meanwhile: the move the desktop makes of a
    // window dragged by its title, for the desktops that leave it to the program (X11).
    void followPointer(QPoint grab);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The skin pixel under the pointer from its physical position, where the platform rounds
    // positions to whole logical pixels (X11 at a display scale above 1); nothing elsewhere.
    std::optional<QPoint> physicalSkinPixel() const;

    Controls* controls_ = nullptr;
    std::optional<QPoint> moveGrab_;  // while the window follows the pointer
    std::function<void()> closeRequest_;
    const QImage* picture_ = nullptr;
    QImage transparentOutside_;
    QRegion outline_;
    bool paintOutlineTransparent_ = false;
    HintPopup hint_;
};

// The platform's button and modifier masks as the controls count them (1 left, 2 right,
// 4 middle; 1 Shift, 2 Ctrl, 4 Alt).
int ButtonMask(Qt::MouseButtons buttons);
int ModifierMask(Qt::KeyboardModifiers modifiers);
// The modifiers held during a key event, the key itself included when it is a modifier (the
// platform leaves out the key being pressed).
Qt::KeyboardModifiers ModifiersWithKey(Qt::KeyboardModifiers modifiers, int key, bool pressed);
// The skin pixel a press lands on: the pixel the pointer was found on (its physical position,
// where the platform rounds positions to whole logical pixels) when that lies within the event's
// rounding, else the event's own pixel. A press handled late finds the pointer moved on.
QPoint PressPixel(QPoint eventPixel, std::optional<QPoint> foundPixel);

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// What the controls ask of the desktop: the window, its timers, cursors and pop-up, the close
// question, the web link and the tray. The Qt shell provides it; tests provide a recording fake.
#pragma once

#include <QImage>

#include "core/monitor_state.h"

namespace kestrelon {


class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // "Close The Program?" with Yes and No; true on Yes.
    virtual bool askCloseProgram() = 0;
    virtual void openMakerSite() = 0;

    // Moves the window by (dx, dy) for a drag from a grab area. False when the desktop moves
    // the window itself (the drag was handed to it), so polling need not pause.
    // (grabX, grabY) is where the button went down on the window.
    virtual bool dragWindow(int grabX, int grabY, int dx, int dy) = 0;
    virtual void minimiseWindow() = 0;
    virtual void hideWindow() = 0;

    // Loads the cursor file of the kind and sets it on the window; false when it cannot be read.
    virtual bool installCursor(CursorKind kind) = 0;
    // Whether the pointer is over the window now.
    virtual bool pointerOverWindow() const = 0;

    // Timer1 (the poll), Timer2 (blinking) and Timer3 (cursor check). Enabling a running timer
    // leaves it running as it is.
    virtual void setPollTimer(bool enabled) = 0;
    virtual void setBlinkTimer(bool enabled) = 0;
    virtual void setCursorTimer(bool enabled) = 0;

    // The reset hint: a small picture over the skin, its top-left at (x, y) of the window.
    virtual void showResetHint(const QImage& picture, int x, int y) = 0;
    virtual void hideResetHint() = 0;

    // The confirmed exit, after the timers stopped: close the panel, take the tray icon away,
    // let pending events run, end the program.
    virtual void closeDevice() = 0;
    virtual void removeTrayIcon() = 0;
    virtual void processPendingEvents() = 0;
    virtual void unload() = 0;
};

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// The skin's controls as event handlers: clicks through the hit table, pointer moves (cursor,
// reset hint, knob, window drag), button presses, keys, and the blink and cursor ticks. The
// desktop feeds them real events; tests feed them synthetic ones in virtual time.
#pragma once

#include <filesystem>

#include "core/host_services.h"
#include "core/monitor_state.h"
#include "core/timing.h"
#include "device/panel_port.h"
#include "input/adjusters.h"
#include "input/desktop_services.h"
#include "selection/alarm_clock.h"
#include "selection/selection.h"
#include "skin/geometry.h"
#include "skin/skin_renderer.h"

namespace kestrelon {

// Button and modifier masks of the pointer and key events.
inline constexpr int kLeftButton = 1;
inline constexpr int kShiftMask = 1, kCtrlMask = 2, kAltMask = 4;

struct ControlsServices {
    DesktopServices& desktop;
    Mixer& mixer;
    ClickSound& clickSound;
};

class Controls {
public:
    Controls(MonitorState& state, SkinRenderer& renderer, const Clock& clock,
             ControlsServices services, std::filesystem::path settingsPath);
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    // The panel the controls push to; nothing while none is open.
    void attachPanel(PanelLink* link, PanelProtocol* protocol);
    void detachPanel();
    // Draws every panel of the window and brings the panel's volume level in step.
    void DrawAllPanels();
    // Brings the panel's volume level in step without drawing.
    void SyncVolume();

    void onClick();
    void onPointerDown(int button, int shift, float x, float y);
    void onPointerMove(int button, int shift, float x, float y);
    void onKeyDown(int keyCode, int shift);
    void onKeyUp(int keyCode, int shift);
    void onBlinkTick();
    void onCursorTick();

    // A drag can end without a move event: the button released, the pointer gone, the window
    // hidden. Each resumes polling; losing focus or hiding also disarms the reset spot.
    void onPointerUp(int button);
    void pointerLeft();
    void focusLost();
    void windowHidden();

    // "Quit" outside the skin (the tray's menu): the close button's question, without its click.
    void QuitRequested();

    // Puts every setting back to its factory value, saves, redraws and pushes them.
    void ResetToDefaults();
    // Redraws every panel that shows a setting, after the settings changed (the reset, or a
    // change made from outside the window).
    void RedrawSettings();
    // A control took the click: its sound plays (never waiting for it), and the panel's LCD goes
    // back to cycling through the sensors.
    void AcknowledgeClick();

    Selection& selection() { return selection_; }
    AlarmClock& alarm() { return alarm_; }

private:
    enum class Flow { Continue, End };
    Flow runControl(geo::Control control);
    void backlight(Backlight color);
    void fanMode(bool automatic);
    void unitButton(bool celsius);
    void fanArrow(int step);
    void limitArrow(int step);
    void wingButton(geo::WingId wing);
    void closeQuestion();
    void sensorIcon(int code);

    bool gateOpen(geo::Gate gate) const;
    void SetSkinCursor(CursorKind kind);
    void hoverCursor(float x, float y);
    void resetHint(float x, float y);
    void hideHint();
    void knobDrag(int button, float y);
    void windowDrag(int button, float x, float y);
    void resumePolling();
    // Runs Timer2 and Timer3 only while they have something to do.
    void syncTimers();
    void save();

    MonitorState& s_;
    SkinRenderer& renderer_;
    ControlsServices services_;
    std::filesystem::path settingsPath_;
    PanelPort panel_;
    Selection selection_;
    AlarmClock alarm_;
    bool hintShown_ = false;
    bool unloaded_ = false;  // the program is ending: no handler runs any more
};

}  // namespace kestrelon

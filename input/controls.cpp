// SPDX-License-Identifier: GPL-3.0-or-later
// The controls' pointer, key and timer handlers, and their wiring to the panel and the desktop.
#include "input/controls.h"

#include <cmath>

#include "settings/number_text.h"
#include "settings/settings_file.h"
#include "skin/wing_state.h"

namespace kestrelon {

Controls::Controls(MonitorState& state, SkinRenderer& renderer, const Clock& clock,
                   ControlsServices services, std::filesystem::path settingsPath)
    : s_(state),
      renderer_(renderer),
      services_(services),
      settingsPath_(std::move(settingsPath)),
      panel_(state),
      selection_(state, renderer, clock),
      alarm_(state, renderer, selection_, panel_) {}

void Controls::attachPanel(PanelLink* link, PanelProtocol* protocol) {
    panel_.attach(link, protocol);
    renderer_.setStatusPush([this] { panel_.PushStatusRegister(); });
}

void Controls::detachPanel() {
    panel_.detach();
}

void Controls::save() {
    SaveSettings(s_, settingsPath_);
}

void Controls::PlayClickSound() {
    services_.clickSound.play();
    s_.auto_scan = true;
}

void Controls::syncTimers() {
    if (unloaded_) return;
    services_.desktop.setBlinkTimer(selection_.timerNeeded());
    services_.desktop.setCursorTimer(s_.cur_kind != kArrowCursor);
}

bool Controls::gateOpen(geo::Gate gate) const {
    static constexpr std::pair<geo::Gate, geo::WingId> kGateWings[] = {
        {geo::Gate::UpperLeft, geo::WingId::UpperLeft},
        {geo::Gate::LowerLeft, geo::WingId::LowerLeft},
        {geo::Gate::UpperRight, geo::WingId::UpperRight},
        {geo::Gate::LowerRight, geo::WingId::LowerRight},
    };
    for (const auto& [g, wing] : kGateWings)
        if (g == gate) return wingOpen(s_, wing);
    return true;  // Gate::None
}

// ---- Pointer ----------------------------------------------------------------------------------

void Controls::mainback_MouseDown(int button, int, float x, float y) {
    if (unloaded_ || button != kLeftButton) return;
    s_.mdown_x = RoundToField<int16_t>(x);
    s_.mdown_y = RoundToField<int16_t>(y);
}

void Controls::mainback_MouseMove(int button, int, float x, float y) {
    if (unloaded_) return;
    hoverCursor(x, y);
    resetHint(x, y);
    s_.now_xx = x;
    s_.now_yy = y;
    knobDrag(button, y);
    windowDrag(button, x, y);
    syncTimers();
}

void Controls::SetSkinCursor(int kind) {
    if (s_.cur_kind == kind) return;
    if (services_.desktop.installCursor(kind)) s_.cur_kind = static_cast<int16_t>(kind);
}

void Controls::hoverCursor(float x, float y) {
    bool shown = false;
    for (const geo::ClickArea& a : geo::kHoverAreas) {
        if (!a.area.contains(x, y) || !gateOpen(a.gate)) continue;
        SetSkinCursor(kHandCursor);
        shown = true;
    }
    for (bool inGrab : {geo::inUpperGrabArea(x, y), geo::inLowerGrabArea(x, y)}) {
        if (!inGrab) continue;
        SetSkinCursor(kMoveCursor);
        shown = true;
    }
    if (!shown) SetSkinCursor(kArrowCursor);
}

void Controls::resetHint(float x, float y) {
    if (geo::kResetSpot.contains(x, y)) {
        // The hint sits at the previous move's position: its position is stored after this.
        if (!renderer_.LoadResetHint()) return;
        services_.desktop.showResetHint(renderer_.gr_temp1(), static_cast<int>(std::floor(s_.now_xx)),
                                        static_cast<int>(std::floor(s_.now_yy)) - geo::kResetHintRise);
        hintShown_ = true;
    } else {
        hideHint();
    }
}

void Controls::hideHint() {
    if (!hintShown_) return;
    services_.desktop.hideResetHint();
    hintShown_ = false;
}

void Controls::knobDrag(int button, float y) {
    const double kx = s_.knob_x, ky = s_.knob_y;
    if (!(kx - 4 <= s_.now_xx && s_.now_xx <= kx + 12 && ky - 4 <= y && y <= ky + 12)) return;
    if (!s_.ruw_open || button != kLeftButton) return;
    s_.vol = KnobVolumeAt(y);
    if (s_.new_vol == s_.vol) return;
    renderer_.DrawVolumeKnob();
    renderer_.RefreshSkin();
    s_.new_vol = s_.vol;
    services_.mixer.SetMasterVolume(s_.vol);
}

void Controls::windowDrag(int button, float x, float y) {
    if (button == kLeftButton && (geo::inUpperGrabArea(x, y) || geo::inLowerGrabArea(x, y))) {
        const bool paused = services_.desktop.dragWindow(
            s_.mdown_x, s_.mdown_y, static_cast<int>(std::floor(x)) - s_.mdown_x,
            static_cast<int>(std::floor(y)) - s_.mdown_y);
        services_.desktop.setPollTimer(!paused);
        return;
    }
    services_.desktop.setPollTimer(true);
}

void Controls::resumePolling() {
    if (!unloaded_) services_.desktop.setPollTimer(true);
}

void Controls::mainback_MouseUp(int) {
    resumePolling();
}

void Controls::pointerLeft() {
    resumePolling();
    hideHint();
}

void Controls::focusLost() {
    s_.ctrl_alt_down = false;
}

void Controls::windowHidden() {
    s_.ctrl_alt_down = false;
    pointerLeft();
}

// ---- Keys and ticks ---------------------------------------------------------------------------

void Controls::mainback_KeyDown(int, int shift) {
    s_.ctrl_alt_down = shift == (kCtrlMask | kAltMask);
}

void Controls::mainback_KeyUp(int, int) {
    s_.ctrl_alt_down = false;
}

void Controls::Timer2_Timer() {
    if (unloaded_) return;
    selection_.Timer2_Timer();
    syncTimers();
}

void Controls::Timer3_Timer() {
    if (unloaded_) return;
    if (s_.cur_kind != kArrowCursor && !services_.desktop.pointerOverWindow())
        SetSkinCursor(kArrowCursor);
    syncTimers();
}

}  // namespace kestrelon

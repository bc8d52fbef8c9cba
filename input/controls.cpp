// SPDX-License-Identifier: GPL-3.0-or-later
// The controls' pointer, key and timer handlers, and their wiring to the panel and the desktop.
#include "input/controls.h"

#include <cmath>

#include "input/volume_level.h"
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
}

void Controls::detachPanel() {
    panel_.detach();
}

void Controls::DrawAllPanels() {
    renderer_.DrawAllPanels();
    SyncVolume();
}

void Controls::SyncVolume() {
    SyncVolumeLevel(s_, panel_);
}

void Controls::save() {
    SaveSettings(s_.settings, settingsPath_);
}

void Controls::AcknowledgeClick() {
    services_.clickSound.play();
    s_.poll.lcdScanning = true;  // the LCD cycles again; a sensor icon may hold it after this
}

void Controls::syncTimers() {
    if (unloaded_) return;
    services_.desktop.setBlinkTimer(selection_.timerNeeded());
    services_.desktop.setCursorTimer(s_.ui.cursor != CursorKind::Arrow);
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

void Controls::onPointerDown(int button, int, float x, float y) {
    if (unloaded_ || button != kLeftButton) return;
    s_.ui.pressX = RoundToField<int16_t>(x);
    s_.ui.pressY = RoundToField<int16_t>(y);
}

void Controls::onPointerMove(int button, int, float x, float y) {
    if (unloaded_) return;
    hoverCursor(x, y);
    resetHint(x, y);
    s_.ui.pointerX = x;
    s_.ui.pointerY = y;
    knobDrag(button, y);
    windowDrag(button, x, y);
    syncTimers();
}

void Controls::SetSkinCursor(CursorKind kind) {
    if (s_.ui.cursor == kind) return;
    if (services_.desktop.installCursor(kind)) s_.ui.cursor = kind;
}

void Controls::hoverCursor(float x, float y) {
    bool shown = false;
    for (const geo::ClickArea& a : geo::kHoverAreas) {
        if (!a.area.contains(x, y) || !gateOpen(a.gate)) continue;
        SetSkinCursor(CursorKind::Hand);
        shown = true;
    }
    for (bool inGrab : {geo::inUpperGrabArea(x, y), geo::inLowerGrabArea(x, y)}) {
        if (!inGrab) continue;
        SetSkinCursor(CursorKind::Move);
        shown = true;
    }
    if (!shown) SetSkinCursor(CursorKind::Arrow);
}

void Controls::resetHint(float x, float y) {
    if (geo::kResetSpot.contains(x, y)) {
        // The hint sits at the previous move's position: its position is stored after this.
        if (!renderer_.LoadResetHint()) return;
        services_.desktop.showResetHint(
            renderer_.scratch(), static_cast<int>(std::floor(s_.ui.pointerX)),
            static_cast<int>(std::floor(s_.ui.pointerY)) - geo::kResetHintRise);
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
    if (!geo::inKnobHitBox(s_.ui.knobX, s_.ui.knobY, s_.ui.pointerX, y)) return;
    if (!s_.ui.upperRightWingOpen || button != kLeftButton) return;
    s_.host.masterVolume = KnobVolumeAt(y);
    if (s_.host.newMasterVolume == s_.host.masterVolume) return;
    renderer_.DrawVolumeKnob();
    SyncVolumeLevel(s_, panel_);
    renderer_.RefreshSkin();
    s_.host.newMasterVolume = s_.host.masterVolume;
    services_.mixer.SetMasterVolume(s_.host.masterVolume);
}

void Controls::windowDrag(int button, float x, float y) {
    if (button == kLeftButton && (geo::inUpperGrabArea(x, y) || geo::inLowerGrabArea(x, y))) {
        const bool paused = services_.desktop.dragWindow(
            s_.ui.pressX, s_.ui.pressY, static_cast<int>(std::floor(x)) - s_.ui.pressX,
            static_cast<int>(std::floor(y)) - s_.ui.pressY);
        services_.desktop.setPollTimer(!paused);
        return;
    }
    services_.desktop.setPollTimer(true);
}

void Controls::resumePolling() {
    if (!unloaded_) services_.desktop.setPollTimer(true);
}

void Controls::onPointerUp(int) {
    resumePolling();
}

void Controls::pointerLeft() {
    resumePolling();
    hideHint();
}

void Controls::focusLost() {
    s_.ui.resetArmed = false;
}

void Controls::windowHidden() {
    s_.ui.resetArmed = false;
    pointerLeft();
}

// ---- Keys and ticks ---------------------------------------------------------------------------

void Controls::onKeyDown(int, int shift) {
    s_.ui.resetArmed = shift == (kCtrlMask | kAltMask);
}

void Controls::onKeyUp(int, int) {
    s_.ui.resetArmed = false;
}

void Controls::onBlinkTick() {
    if (unloaded_) return;
    selection_.onBlinkTick();
    syncTimers();
}

void Controls::onCursorTick() {
    if (unloaded_) return;
    if (s_.ui.cursor != CursorKind::Arrow && !services_.desktop.pointerOverWindow())
        SetSkinCursor(CursorKind::Arrow);
    syncTimers();
}

}  // namespace kestrelon

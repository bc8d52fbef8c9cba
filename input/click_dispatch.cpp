// SPDX-License-Identifier: GPL-3.0-or-later
// The click handler: the hit table tested top to bottom at the last pointer position, each hit
// running its control; the settings are saved unless a control ended the handling.
#include <array>

#include "input/controls.h"
#include "core/log.h"
#include "input/volume_level.h"
#include "settings/factory_settings.h"
#include "skin/wing_slides.h"
#include "skin/wing_state.h"

namespace kestrelon {

namespace {

// The pause between the limits in °C and the same limits in °F after a limit arrow.
constexpr int kLimitUnitsGapMs = 100;

using geo::Control;

struct ControlItem {
    Control control;
    int code;  // selection item
};
constexpr std::array<ControlItem, 12> kIconItems{{
    {Control::SensorCpu, 1}, {Control::SensorCase, 2}, {Control::SensorVga, 3},
    {Control::SensorHdd, 4}, {Control::FanIconCpu, 7}, {Control::FanIconCase, 8},
    {Control::FanIconVga, 9}, {Control::FanIconHdd, 10}, {Control::LimitIconCpu, 11},
    {Control::LimitIconCase, 12}, {Control::LimitIconVga, 13}, {Control::LimitIconHdd, 14},
}};

struct BacklightControl {
    Control control;
    Backlight color;
};
constexpr std::array<BacklightControl, 4> kBacklightControls{{
    {Control::BacklightOff, Backlight::Off},
    {Control::BacklightBlue, Backlight::Blue},
    {Control::BacklightPurple, Backlight::Purple},
    {Control::BacklightRed, Backlight::Red},
}};

struct WingControl {
    Control control;
    geo::WingId wing;
};
constexpr std::array<WingControl, 4> kWingControls{{
    {Control::WingButtonUpperLeft, geo::WingId::UpperLeft},
    {Control::WingButtonLowerLeft, geo::WingId::LowerLeft},
    {Control::WingButtonUpperRight, geo::WingId::UpperRight},
    {Control::WingButtonLowerRight, geo::WingId::LowerRight},
}};

// The selected items of a group, in the order CPU, case, VGA, HDD.
template <typename F>
void forEachSelected(const MonitorState& s, ItemKind group, F&& f) {
    for (const SelectionItem& item : kSelectionItems)
        if (item.kind == group && s.ui.blinking[static_cast<std::size_t>(item.code)] == 1) f(item);
}

}  // namespace

void Controls::onClick() {
    if (unloaded_) return;
    const float x = s_.ui.pointerX, y = s_.ui.pointerY;
    for (std::size_t i = 0; i < geo::kClickAreas.size(); ++i) {
        const geo::ClickArea& a = geo::kClickAreas[i];
        if (!a.area.contains(x, y) || !gateOpen(a.gate)) continue;
        const Flow flow = runControl(a.control);
        if (flow == Flow::End) {
            syncTimers();
            return;
        }
        // A control of several rectangles is one test: it runs once.
        while (i + 1 < geo::kClickAreas.size() && geo::kClickAreas[i + 1].control == a.control) ++i;
    }
    save();
    syncTimers();
}

Controls::Flow Controls::runControl(Control control) {
    for (const ControlItem& c : kIconItems) {
        if (c.control != control) continue;
        const SelectionItem item = kSelectionItems[static_cast<std::size_t>(c.code)];
        if (item.kind == ItemKind::Fan && s_.settings.fansAutomatic()) return Flow::Continue;
        AcknowledgeClick();
        if (item.kind == ItemKind::Sensor) {
            s_.panel.lcdSensor = static_cast<int16_t>(channelIndex(*item.channel));
            panel_.PushStatusRegister();
        }
        selection_.Toggle(c.code);
        return Flow::End;
    }
    for (const BacklightControl& b : kBacklightControls)
        if (b.control == control) {
            backlight(b.color);
            return Flow::Continue;
        }
    for (const WingControl& w : kWingControls)
        if (w.control == control) {
            wingButton(w.wing);
            return Flow::Continue;
        }

    switch (control) {
        case Control::ResetSpot:
            if (!s_.ui.resetArmed) break;
            AcknowledgeClick();
            s_.ui.resetArmed = false;
            ResetToDefaults();
            break;
        case Control::WebLink:
            AcknowledgeClick();
            services_.desktop.openMakerSite();
            break;
        case Control::AlarmOnOff:
            AcknowledgeClick();
            alarm_.OnOffClicked();
            break;
        case Control::AlarmSet:
            AcknowledgeClick();
            return alarm_.SetClicked() ? Flow::Continue : Flow::End;
        case Control::AlarmDown:
        case Control::AlarmUp:
            AcknowledgeClick();
            alarm_.ArrowClicked(control == Control::AlarmUp ? 1 : -1);
            break;
        case Control::FanAuto:
        case Control::FanManual:
            fanMode(control == Control::FanAuto);
            break;
        case Control::Celsius:
        case Control::Fahrenheit:
            unitButton(control == Control::Celsius);
            break;
        case Control::FanArrowUp:
        case Control::FanArrowDown:
            fanArrow(control == Control::FanArrowUp ? 1 : -1);
            break;
        case Control::LimitArrowUp:
        case Control::LimitArrowDown:
            limitArrow(control == Control::LimitArrowUp ? 1 : -1);
            break;
        case Control::Minimise:
            AcknowledgeClick();
            services_.desktop.minimiseWindow();
            services_.desktop.hideWindow();
            break;
        case Control::Close:
            AcknowledgeClick();
            closeQuestion();
            break;
        default:
            break;
    }
    return Flow::Continue;
}

void Controls::backlight(Backlight color) {
    AcknowledgeClick();
    s_.settings.backlight = color;
    renderer_.ShowBacklightButtons();
    renderer_.RefreshSkin();
    panel_.PushStatusRegister();
}

void Controls::fanMode(bool automatic) {
    AcknowledgeClick();
    if (s_.settings.fansAutomatic() != automatic) {
        s_.settings.fanMode = fanModeFor(automatic);
        renderer_.ShowFanModeButtons();
        renderer_.RefreshSkin();
        for (Channel ch : kAllChannels) {
            renderer_.DrawFanSetReadout(ch);
            renderer_.RefreshSkin();
        }
    }
    panel_.PushStatusRegister();
}

void Controls::unitButton(bool celsius) {
    AcknowledgeClick();
    if (s_.settings.celsiusButtonLit() != celsius) {
        s_.settings.unit = unitFor(!celsius);
        renderer_.ShowDegreeButtons();
        renderer_.RefreshSkin();
    }
    for (Channel ch : geo::kUnitChangeOrder) renderer_.DrawThresholdReadout(ch);
    renderer_.RefreshSkin();
    renderer_.ShowTempUnit();
    renderer_.ShowWindowPicture();
    panel_.PushStatusRegister();
}

void Controls::fanArrow(int step) {
    s_.ui.selectionTouchedAt = selection_.now();
    if (s_.settings.fansAutomatic()) return;
    forEachSelected(s_, ItemKind::Fan, [&](const SelectionItem& item) {
        AcknowledgeClick();
        StepFanSetting(s_, *item.channel, step);
        renderer_.DrawFanSetReadout(*item.channel);
        renderer_.RefreshSkin();
        if (panel_.present()) panel_.protocol().PushManualFanSpeeds(pairOf(*item.channel));
    });
}

void Controls::limitArrow(int step) {
    panel_.PushStatusRegister();
    s_.ui.selectionTouchedAt = selection_.now();
    forEachSelected(s_, ItemKind::Limit, [&](const SelectionItem& item) {
        AcknowledgeClick();
        StepTempLimit(s_, *item.channel, step);
        renderer_.DrawThresholdReadout(*item.channel);
        renderer_.RefreshSkin();
        if (!panel_.present()) return;
        PanelLink::Scope both(panel_.link());  // the two units go out as one sequence
        if (!both) {
            LogLine("the limits were not sent: another exchange holds the panel");
            return;
        }
        panel_.protocol().PushTempLimits();
        panel_.link().Delay(kLimitUnitsGapMs);
        panel_.protocol().PushTempLimitsF();
    });
}

void Controls::wingButton(geo::WingId wing) {
    AcknowledgeClick();
    bool& open = wingOpen(s_, wing);
    const bool wasOpen = open;
    open = !open;
    if (wasOpen) {
        if (wing == geo::WingId::UpperLeft) alarm_.StopAlarmEditing();
        if (wing == geo::WingId::LowerLeft) selection_.ClearWingSelection(ItemKind::Fan);
        if (wing == geo::WingId::LowerRight) selection_.ClearWingSelection(ItemKind::Limit);
    }
    renderer_.AnimateWing(wing, wasOpen ? kWingClosing : kWingOpening);
}

void Controls::closeQuestion() {
    DesktopServices& desktop = services_.desktop;
    if (!desktop.askCloseProgram()) {
        desktop.hideWindow();
        s_.poll.lcdScanning = true;
        return;
    }
    // Timers first, so that no tick reaches the panel once it is closed.
    desktop.setPollTimer(false);
    desktop.setBlinkTimer(false);
    desktop.setCursorTimer(false);
    unloaded_ = true;
    if (s_.panel.present) desktop.closeDevice();
    panel_.detach();
    desktop.removeTrayIcon();
    desktop.processPendingEvents();
    desktop.unload();
}

void Controls::QuitRequested() {
    if (unloaded_) return;
    closeQuestion();
    save();
    syncTimers();
}

void Controls::ResetToDefaults() {
    ApplyFactorySettings(s_);
    save();
    RedrawSettings();
    if (!panel_.present()) return;
    PanelProtocol& p = panel_.protocol();
    p.PushTempLimits();
    p.PushTempLimitsF();
    for (ChannelPair pair : {ChannelPair::First, ChannelPair::Second}) p.PushFanSetpoints(pair);
    for (ChannelPair pair : {ChannelPair::First, ChannelPair::Second}) p.PushManualFanSpeeds(pair);
    p.PushStatusRegister();
}

void Controls::RedrawSettings() {
    renderer_.ShowTempUnit();
    for (Channel ch : geo::kRowOrder) renderer_.ShowSensorIcon(ch);
    renderer_.ShowLinkState(s_.poll.internetLinked);
    for (Channel ch : geo::kRowOrder) renderer_.DrawTempReadout(ch);
    for (Channel ch : geo::kRowOrder) renderer_.DrawFanReadout(ch);
    renderer_.DrawHostReadout(geo::HostFact::Disk);
    renderer_.DrawHostReadout(geo::HostFact::Memory);
    renderer_.DrawAlarmTime();
    renderer_.ShowAlarmEnable();
    renderer_.ShowBacklightButtons();
    renderer_.ShowFanModeButtons();
    renderer_.ShowDegreeButtons();
    for (Channel ch : geo::kRowOrder) renderer_.ShowFanIcon(ch);
    for (Channel ch : geo::kRowOrder) renderer_.ShowThresholdIcon(ch);
    renderer_.DrawVolumeKnob();
    SyncVolumeLevel(s_, panel_);
    for (Channel ch : geo::kRowOrder) renderer_.DrawFanSetReadout(ch);
    for (Channel ch : geo::kRowOrder) renderer_.DrawThresholdReadout(ch);
    renderer_.RefreshSkin();
}

}  // namespace kestrelon

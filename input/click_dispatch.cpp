// SPDX-License-Identifier: GPL-3.0-or-later
// The click handler: the hit table tested top to bottom at the last pointer position, each hit
// running its control; the settings are saved unless a control ended the handling.
#include <array>

#include "input/controls.h"
#include "settings/factory_settings.h"
#include "skin/wing_slides.h"
#include "skin/wing_state.h"

namespace kestrelon {

namespace {

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
    int16_t color;
};
constexpr std::array<BacklightControl, 4> kBacklightControls{{
    {Control::BacklightOff, 0},
    {Control::BacklightBlue, 2},
    {Control::BacklightPurple, 3},
    {Control::BacklightRed, 1},
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

ChannelPair pairOf(int channel) {
    return channel <= 2 ? ChannelPair::First : ChannelPair::Second;
}

// The selected items of a group, in the order CPU, case, VGA, HDD.
template <typename F>
void forEachSelected(const MonitorState& s, ItemKind group, F&& f) {
    for (const SelectionItem& item : kSelectionItems)
        if (item.kind == group && s.flash[static_cast<std::size_t>(item.code)] == 1) f(item);
}

}  // namespace

void Controls::mainback_Click() {
    if (unloaded_) return;
    const float x = s_.now_xx, y = s_.now_yy;
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
        if (item.kind == ItemKind::Fan && s_.auto_stat) return Flow::Continue;
        PlayClickSound();
        if (item.kind == ItemKind::Sensor) {
            s_.lcd_mode = static_cast<int16_t>(item.channel - 1);
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
            if (!s_.ctrl_alt_down) break;
            PlayClickSound();
            s_.ctrl_alt_down = false;
            ResetToDefaults();
            break;
        case Control::WebLink:
            PlayClickSound();
            services_.desktop.openMakerSite();
            break;
        case Control::AlarmOnOff:
            PlayClickSound();
            alarm_.OnOffClicked();
            break;
        case Control::AlarmSet:
            PlayClickSound();
            return alarm_.SetClicked() ? Flow::Continue : Flow::End;
        case Control::AlarmDown:
        case Control::AlarmUp:
            PlayClickSound();
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
            PlayClickSound();
            services_.desktop.minimiseWindow();
            services_.desktop.hideWindow();
            break;
        case Control::Close:
            PlayClickSound();
            closeQuestion();
            break;
        default:
            break;
    }
    return Flow::Continue;
}

void Controls::backlight(int16_t color) {
    PlayClickSound();
    s_.back_color = color;
    renderer_.ShowBacklightButtons();
    renderer_.RefreshSkin();
    panel_.PushStatusRegister();
}

void Controls::fanMode(bool automatic) {
    PlayClickSound();
    if (s_.auto_stat != automatic) {
        s_.auto_stat = automatic;
        renderer_.ShowFanModeButtons();
        renderer_.RefreshSkin();
        for (int ch = 1; ch <= kChannels; ++ch) {
            renderer_.DrawFanSetReadout(ch);
            renderer_.RefreshSkin();
        }
    }
    panel_.PushStatusRegister();
}

void Controls::unitButton(bool celsius) {
    PlayClickSound();
    if (s_.dec_stat != celsius) {
        s_.dec_stat = celsius;
        renderer_.ShowDegreeButtons();
        renderer_.RefreshSkin();
    }
    s_.t_unit = !s_.dec_stat;
    for (int ch : {1, 4, 2, 3}) renderer_.DrawThresholdReadout(ch);
    renderer_.RefreshSkin();
    renderer_.ShowTempUnit();
    renderer_.ShowMainback();
    panel_.PushStatusRegister();
}

void Controls::fanArrow(int step) {
    s_.flash_trg_time = selection_.now();
    if (s_.auto_stat) return;
    forEachSelected(s_, ItemKind::Fan, [&](const SelectionItem& item) {
        PlayClickSound();
        StepFanSetting(s_, item.channel, step);
        renderer_.DrawFanSetReadout(item.channel);
        renderer_.RefreshSkin();
        if (panel_.present()) panel_.protocol().PushManualFanSpeeds(pairOf(item.channel));
    });
}

void Controls::limitArrow(int step) {
    panel_.PushStatusRegister();
    s_.flash_trg_time = selection_.now();
    forEachSelected(s_, ItemKind::Limit, [&](const SelectionItem& item) {
        PlayClickSound();
        StepTempLimit(s_, item.channel, step);
        renderer_.DrawThresholdReadout(item.channel);
        renderer_.RefreshSkin();
        if (!panel_.present()) return;
        PanelLink::Scope both(panel_.link());  // the two units go out as one sequence
        panel_.protocol().PushTempLimits();
        panel_.link().Delay(100);
        panel_.protocol().PushTempLimitsF();
    });
}

void Controls::wingButton(geo::WingId wing) {
    PlayClickSound();
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
        s_.auto_scan = true;
        return;
    }
    // Timers first, so that no tick reaches the panel once it is closed.
    desktop.setPollTimer(false);
    desktop.setBlinkTimer(false);
    desktop.setCursorTimer(false);
    unloaded_ = true;
    if (s_.DeviceDetected) desktop.closeDevice();
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
    constexpr int kRowOrder[] = {1, 4, 3, 2};  // cpu, case, vga, hdd
    renderer_.ShowTempUnit();
    for (int ch : kRowOrder) renderer_.ShowSensorIcon(ch);
    renderer_.ShowLinkState(s_.connect);
    for (int ch : kRowOrder) renderer_.DrawTempReadout(ch);
    for (int ch : kRowOrder) renderer_.DrawFanReadout(ch);
    renderer_.DrawHostReadout(geo::HostFact::Disk);
    renderer_.DrawHostReadout(geo::HostFact::Memory);
    renderer_.DrawAlarmTime();
    renderer_.ShowAlarmEnable();
    renderer_.ShowBacklightButtons();
    renderer_.ShowFanModeButtons();
    renderer_.ShowDegreeButtons();
    for (int ch : kRowOrder) renderer_.ShowFanIcon(ch);
    for (int ch : kRowOrder) renderer_.ShowThresholdIcon(ch);
    renderer_.DrawVolumeKnob();
    for (int ch : kRowOrder) renderer_.DrawFanSetReadout(ch);
    for (int ch : kRowOrder) renderer_.DrawThresholdReadout(ch);
    renderer_.RefreshSkin();
}

}  // namespace kestrelon

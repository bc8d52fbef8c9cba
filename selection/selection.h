// SPDX-License-Identifier: GPL-3.0-or-later
// Selection blinking: which item is picked, the hand-over from one item to the next, the shared
// blink phase, the two 8-second time-outs, and the 100 ms blink tick that runs them.
#pragma once

#include "core/monitor_state.h"
#include "core/timing.h"
#include "selection/selection_items.h"
#include "skin/skin_renderer.h"

namespace kestrelon {

// An item's picture changes when more than this has passed since its last change.
inline constexpr double kBlinkStepSeconds = 0.5;
// A selection (while the LCD scans) and alarm editing end after this long without a click.
inline constexpr double kSelectionTimeoutSeconds = 8.0;

class Selection {
public:
    Selection(MonitorState& state, SkinRenderer& renderer, const Clock& clock);

    double now() const { return clock_.monotonicSeconds(); }

    // A click on an icon: selects it when its flag is clear, else deselects it. Selecting a
    // sensor stops the LCD's scanning; deselecting it starts it again.
    void Toggle(int code);
    // Draws the previously selected item normal and clears its flag, then draws the new one
    // normal and sets its flag; the alarm fields are redrawn in full. Shows the window.
    void StopBlinking();
    // Makes `code` the selected item after the current one, and hands over.
    void HandOver(int code);
    // Clears the four fan (or limit) flags and ends the current selection, whatever it is.
    void ClearWingSelection(ItemKind group);

    void onBlinkTick();
    // Whether the blink tick has anything to do: an item blinks or a time-out is pending.
    bool timerNeeded() const;

private:
    // One blink step of an icon or an alarm field: flips the shared phase and draws the item.
    void BlinkItem(const SelectionItem& item);
    void DrawNormal(const SelectionItem& item);

    MonitorState& s_;
    SkinRenderer& renderer_;
    const Clock& clock_;
};

}  // namespace kestrelon

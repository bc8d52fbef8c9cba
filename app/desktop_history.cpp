// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's history window: made when first asked for (from the tray menu, by
// --history or by a second start's request) and kept, hidden, once closed.
#include "app/desktop_program.h"
#include "app/history_window.h"

namespace kestrelon {

namespace {

// Stands in for the recorded history until the recording is wired in: no rows, so the window
// says there is no history yet.
HistoryRows noHistoryYet(int64_t /*fromUtc*/, int64_t /*toUtc*/) {
    return {};
}

}  // namespace

void DesktopProgram::showHistory() {
    if (!history_) history_ = std::make_unique<HistoryWindow>(noHistoryYet, Options{});
    history_->showAndRaise();
}

}  // namespace kestrelon

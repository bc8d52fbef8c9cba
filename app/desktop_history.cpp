// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's history window: made when first asked for (from the tray menu, by
// --history or by a second start's request) and kept, hidden, once closed. It reads what the
// program records.
#include "app/desktop_program.h"
#include "app/history_window.h"

namespace kestrelon {

void DesktopProgram::showHistory() {
    if (!history_) {
        auto source = [this](int64_t fromUtc, int64_t toUtc) {
            const Recorder* recorder = service_.history();
            return recorder ? recorder->range(fromUtc, toUtc) : HistoryRows{};
        };
        history_ = std::make_unique<HistoryWindow>(source, service_.options());
    }
    history_->showAndRaise();
}

}  // namespace kestrelon

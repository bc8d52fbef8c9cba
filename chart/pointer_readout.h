// SPDX-License-Identifier: GPL-3.0-or-later
// The values under the pointer as the history window shows them: the row's time, and per sensor
// its temperature and fan speed, with the lowest and highest where a row holds a minute.
#pragma once

#include <string>

#include "history/history_row.h"

namespace kestrelon::chart {

struct PointerReadout {
    std::string time;  // "Tue 8 14:05:07" for a second, "Tue 8 14:05" for a minute
    PerChannel<std::string> temperature;  // "45 °C", "45.3 °C (44–47)", "—" when missing
    PerChannel<std::string> fan;          // "1800 rpm", "1790 rpm (1750–1820)", "—"
};

PointerReadout ReadoutOf(const HistoryRow& row, int utcOffsetSeconds);

}  // namespace kestrelon::chart

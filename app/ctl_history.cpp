// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelonctl history: the recorded readings as a table, CSV or JSON. The last hour, one row a
// second, comes from a running kestrelon's memory; anything longer, or everything when none
// runs, from the day files, one row a minute.
#include <charconv>
#include <iomanip>
#include <sstream>

#include "app/ctl_command.h"
#include "app/history_answer.h"
#include "core/options.h"
#include "history/day_files.h"
#include "history/history_csv.h"
#include "history/history_ring.h"
#include "history/recorder.h"
#include "history/utc_time.h"

namespace kestrelon::ctl {

namespace {

// "90s", "10m", "24h", "7d": a whole number and a unit, from a second to `mostDays` days.
std::optional<int64_t> sinceSeconds(const std::string& text, int mostDays) {
    if (text.size() < 2) return std::nullopt;
    int64_t unit = 0;
    switch (text.back()) {
        case 's':
            unit = 1;
            break;
        case 'm':
            unit = 60;
            break;
        case 'h':
            unit = 3600;
            break;
        case 'd':
            unit = kSecondsPerDay;
            break;
        default:
            return std::nullopt;
    }
    int64_t count = 0;
    const char* end = text.data() + text.size() - 1;
    auto [at, ec] = std::from_chars(text.data(), end, count);
    if (ec != std::errc() || at != end || count < 1 || count > mostDays * kSecondsPerDay / unit)
        return std::nullopt;
    return count * unit;
}

std::string jsonSeries(const SeriesStats& s) {
    if (!s.mean) return "null";
    return "{\"min\": " + FormatHistoryValue(*s.min) +
           ", \"mean\": " + FormatHistoryValue(*s.mean) +
           ", \"max\": " + FormatHistoryValue(*s.max) + "}";
}

// The text padded to `width` characters on the left ("°" is two bytes, one character).
std::string padded(const std::string& text, std::size_t width) {
    std::size_t characters = 0;
    for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return std::string(width > characters ? width - characters : 0, ' ') + text;
}

std::string meanText(const SeriesStats& s, int decimals) {
    if (!s.mean) return "-";
    std::ostringstream out;
    out << std::fixed << std::setprecision(decimals) << *s.mean;
    return out.str();
}

}  // namespace

int Command::history() {
    const int mostDays = env_.options.historyDays;
    const std::optional<int64_t> span = sinceSeconds(o_.since.value_or("10m"), mostDays);
    if (!span) {
        err_ << "kestrelon: --since takes a whole number and s, m, h or d, from 1s to " << mostDays
             << "d (such as 10m, 24h or 7d), not " << *o_.since << "\n";
        return 2;
    }
    if (o_.csv && o_.json) {
        err_ << "kestrelon: history prints --csv or --json, not both\n";
        return 2;
    }
    const int64_t now = env_.utcNow ? env_.utcNow() : SystemUtcClock().utcSeconds();
    std::optional<HistoryRows> rows;
    if (*span <= kRingSeconds) {
        std::string text;
        switch (askRunning("history " + std::to_string(*span), text)) {
            case Asked::Refused:
                return 1;
            case Asked::Answered:
                rows = ParseHistoryAnswer(text);
                if (!rows) {
                    err_ << "kestrelon: the running kestrelon's answer is no history\n";
                    return 1;
                }
                break;
            case Asked::NotRunning:
                break;
        }
    }
    if (!rows) {
        const std::string dir =
            env_.historyDir.empty() ? DefaultHistoryDirectory() : env_.historyDir;
        rows = DayFileStore(dir, mostDays).read(now - *span + 1, now);
    }

    if (o_.csv) {
        out_ << CsvHeader() << "\n";
        for (const HistoryRow& row : *rows) out_ << FormatCsvRow(row) << "\n";
    } else if (o_.json) {
        out_ << "{\"since_seconds\": " << *span << ", \"rows\": [";
        for (std::size_t i = 0; i < rows->size(); ++i) {
            const HistoryRow& row = (*rows)[i];
            out_ << (i ? ", " : "") << "{\"time\": \"" << isoUtc(row.utcSeconds)
                 << "\", \"span_seconds\": " << row.spanSeconds << ", \"channels\": [";
            for (Channel ch : kAllChannels)
                out_ << (ch != Channel::Cpu ? ", " : "") << "{\"channel\": \"" << channelName(ch)
                     << "\", \"temperature_c\": " << jsonSeries(row.temperatureC[ch])
                     << ", \"fan_rpm\": " << jsonSeries(row.fanRpm[ch])
                     << ", \"limit_c\": " << row.limitC[ch] << "}";
            out_ << "], \"fan_mode\": \"" << (row.fanMode == FanMode::Automatic ? "auto" : "manual")
                 << "\"}";
        }
        out_ << "]}\n";
    } else {
        // One line a row: the mean of each series (the value itself for a second).
        out_ << "time (UTC)          ";
        for (Channel ch : kAllChannels)
            out_ << padded(std::string(kChannelNames[channelIndex(ch)]) + " °C", 9);
        for (Channel ch : kAllChannels)
            out_ << padded(std::string(kChannelNames[channelIndex(ch)]) + " rpm", 10);
        out_ << "\n";
        for (const HistoryRow& row : *rows) {
            std::string time = isoUtc(row.utcSeconds);
            time[10] = ' ';
            time.pop_back();
            out_ << time << " ";
            for (Channel ch : kAllChannels) out_ << padded(meanText(row.temperatureC[ch], 1), 9);
            for (Channel ch : kAllChannels) out_ << padded(meanText(row.fanRpm[ch], 0), 10);
            out_ << "\n";
        }
        if (rows->empty())
            out_ << "(nothing recorded in the last " << o_.since.value_or("10m") << ")\n";
    }
    return 0;
}

}  // namespace kestrelon::ctl

// SPDX-License-Identifier: GPL-3.0-or-later
// Writing and reading the day files' lines.
#include "history/history_csv.h"

#include <array>
#include <charconv>
#include <cmath>

#include "history/utc_time.h"

namespace kestrelon {

namespace {

// The fields of one channel, in the file's order, with the header's name of each.
enum class Field { TempMin, TempMean, TempMax, FanMin, FanMean, FanMax, Limit };
struct FieldColumn {
    Field field;
    std::string_view suffix;
};
constexpr FieldColumn kChannelColumns[kCsvFieldsPerChannel]{
    {Field::TempMin, "temp_min_c"},   {Field::TempMean, "temp_mean_c"},
    {Field::TempMax, "temp_max_c"},   {Field::FanMin, "fan_min_rpm"},
    {Field::FanMean, "fan_mean_rpm"}, {Field::FanMax, "fan_max_rpm"},
    {Field::Limit, "limit_c"},
};

template <typename Stats>
auto& statOf(Stats& s, int which) {
    return which == 0 ? s.min : which == 1 ? s.mean : s.max;
}

void appendNumber(std::string& out, const std::optional<double>& value) {
    if (!value) return;
    char buf[64];
    const double rounded = std::round(*value * 100) / 100;
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::fixed, 2);
    if (ec != std::errc()) return;
    std::string_view text(buf, static_cast<std::size_t>(end - buf));
    while (text.back() == '0') text.remove_suffix(1);
    if (text.back() == '.') text.remove_suffix(1);
    out += text == "-0" ? "0" : text;
}

// The line's fields, up to one more than a row has; `count` says how many there were.
using Fields = std::array<std::string_view, kCsvFields + 1>;
std::size_t splitFields(std::string_view line, Fields& fields) {
    std::size_t count = 0, start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields[count++] = line.substr(start, comma - start);
        if (comma == std::string_view::npos || count == fields.size()) return count;
        start = comma + 1;
    }
}

// No temperature or fan speed comes near this; a number beyond it is garbage, and would not
// write back to hundredths.
constexpr double kLargestValue = 1e9;

// An empty field is missing; anything but a finite number of sane size is garbage.
bool parseValue(std::string_view field, std::optional<double>& value) {
    value.reset();
    if (field.empty()) return true;
    double v = 0;
    auto [at, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
    if (ec != std::errc() || at != field.data() + field.size() || !(std::abs(v) <= kLargestValue))
        return false;
    value = v;
    return true;
}

bool parseLimit(std::string_view field, int32_t& value) {
    auto [at, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    return ec == std::errc() && at == field.data() + field.size() && !field.empty();
}

bool wholeSeries(const SeriesStats& s) {
    if (!s.min && !s.mean && !s.max) return true;
    return s.min && s.mean && s.max && *s.min <= *s.mean && *s.mean <= *s.max;
}

}  // namespace

const std::string& CsvHeader() {
    static const std::string header = [] {
        std::string h = "time";
        for (Channel ch : kAllChannels)
            for (const FieldColumn& c : kChannelColumns)
                h += "," + std::string(channelName(ch)) + "_" + std::string(c.suffix);
        return h + ",fan_mode";
    }();
    return header;
}

std::string FormatHistoryValue(double value) {
    std::string out;
    appendNumber(out, value);
    return out;
}

std::string FormatCsvRow(const HistoryRow& row) {
    std::string out = isoUtc(row.utcSeconds);
    for (Channel ch : kAllChannels) {
        for (int i = 0; i < 3; ++i) {
            out += ',';
            appendNumber(out, statOf(row.temperatureC[ch], i));
        }
        for (int i = 0; i < 3; ++i) {
            out += ',';
            appendNumber(out, statOf(row.fanRpm[ch], i));
        }
        out += ',' + std::to_string(row.limitC[ch]);
    }
    out += row.fanMode == FanMode::Automatic ? ",auto" : ",manual";
    return out;
}

std::optional<HistoryRow> ParseCsvRow(std::string_view line, int32_t spanSeconds) {
    Fields f;
    if (splitFields(line, f) != static_cast<std::size_t>(kCsvFields)) return std::nullopt;
    HistoryRow row;
    row.spanSeconds = spanSeconds;
    const std::optional<int64_t> time = parseIsoUtc(f[0]);
    if (!time) return std::nullopt;
    row.utcSeconds = *time;
    std::size_t at = 1;
    for (Channel ch : kAllChannels) {
        for (const FieldColumn& c : kChannelColumns) {
            const std::string_view field = f[at++];
            const int index = static_cast<int>(c.field);
            const bool ok = c.field == Field::Limit ? parseLimit(field, row.limitC[ch])
                            : index < 3 ? parseValue(field, statOf(row.temperatureC[ch], index))
                                        : parseValue(field, statOf(row.fanRpm[ch], index - 3));
            if (!ok) return std::nullopt;
        }
        if (!wholeSeries(row.temperatureC[ch]) || !wholeSeries(row.fanRpm[ch])) return std::nullopt;
    }
    if (f[at] == "auto")
        row.fanMode = FanMode::Automatic;
    else if (f[at] == "manual")
        row.fanMode = FanMode::Manual;
    else
        return std::nullopt;
    return row;
}

CsvReadResult ReadCsvText(std::string_view text, int64_t fromUtc, int64_t toUtc,
                          int32_t spanSeconds) {
    CsvReadResult result;
    std::optional<int64_t> previous;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line == CsvHeader()) continue;
        const std::optional<HistoryRow> row = ParseCsvRow(line, spanSeconds);
        if (!row || (previous && row->utcSeconds <= *previous)) {
            if (result.skippedLines++ == 0) result.firstSkippedLine = lineNumber;
            continue;
        }
        previous = row->utcSeconds;
        if (row->utcSeconds + row->spanSeconds > fromUtc && row->utcSeconds <= toUtc)
            result.rows.push_back(*row);
    }
    return result;
}

}  // namespace kestrelon

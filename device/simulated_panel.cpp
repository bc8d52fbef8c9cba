// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated panel's registers, readings and frame record.
#include "device/simulated_panel.h"

#include <algorithm>
#include <cmath>

#include "device/register_map.h"
#include "device/report_frame.h"

namespace kestrelon {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kManualFansBit = 0x01;  // status register byte 2, bit 0

void putWord(std::array<uint8_t, 6>& data, std::size_t at, int value) {
    uint16_t word = static_cast<uint16_t>(std::clamp(value, 0, 65535));
    data[at] = static_cast<uint8_t>(word & 0xFF);
    data[at + 1] = static_cast<uint8_t>(word >> 8);
}

int wordAt(const std::array<uint8_t, 6>& data, std::size_t at) {
    return data[at] | (data[at + 1] << 8);
}

std::size_t slot(Channel channel) {
    return channelIndex(channel);
}

}  // namespace

SimulatedPanel::SimulatedPanel(const Clock& clock, SimulatedPanelOptions options)
    : clock_(clock), options_(options) {}

int SimulatedPanel::temperature(Channel channel) const {
    if (channel == options_.absent_sensor) return 255;
    // A slow swing of a few degrees, each channel with its own period and phase.
    const int number = channelNumber(channel);
    const double t = clock_.monotonicSeconds();
    const double period = 90.0 + 25.0 * number;
    const double swing = 3.0 * std::sin(kTwoPi * t / period + number);
    return options_.base_temps[slot(channel)] + static_cast<int>(std::lround(swing));
}

bool SimulatedPanel::manualFans() const {
    auto status = registerBytes(registerRow(RegisterFamily::Status).reg);
    return status && ((*status)[0] & kManualFansBit);
}

int SimulatedPanel::fanSpeed(Channel channel) const {
    const double t = clock_.monotonicSeconds();
    const int jitter =
        static_cast<int>(std::lround(12.0 * std::sin(kTwoPi * t / 7.0 + channelNumber(channel))));
    const int limit = options_.fan_limits[slot(channel)];
    int target = options_.automatic_speeds[slot(channel)];
    if (manualFans()) {
        for (ChannelPair pair : {ChannelPair::First, ChannelPair::Second}) {
            const auto [first, second] = channelsOf(pair);
            if (channel != first && channel != second) continue;
            auto speeds = registerBytes(registerRow(RegisterFamily::ManualFanSpeeds, pair).reg);
            target = speeds ? wordAt(*speeds, channel == first ? 0 : 2) : target;
        }
    } else if (channel != options_.absent_sensor) {
        // Automatic mode: a fan speeds up as its channel warms.
        target += 40 * (temperature(channel) - options_.base_temps[slot(channel)]);
    }
    if (target <= 0) return 0;
    return std::clamp(target + jitter, 0, limit);
}

bool SimulatedPanel::eepromBusy() const {
    return clock_.monotonicSeconds() < busy_until_;
}

std::optional<std::array<uint8_t, 6>> SimulatedPanel::registerBytes(uint8_t reg) const {
    auto it = registers_.find(reg);
    if (it == registers_.end()) return std::nullopt;
    return it->second;
}

template <typename T>
void SimulatedPanel::keep(std::deque<T>& list, T item) const {
    if (options_.record_limit == 0) return;
    if (list.size() >= options_.record_limit) list.pop_front();
    list.push_back(std::move(item));
}

void SimulatedPanel::record(FrameDirection direction, std::span<const uint8_t> bytes) {
    if (!sink_ && options_.record_limit == 0) return;
    TraceFrame frame{clock_.monotonicSeconds(), direction, {bytes.begin(), bytes.end()}};
    if (sink_) sink_(frame);
    keep(frames_, std::move(frame));
}

int SimulatedPanel::write(std::span<const uint8_t> report) {
    if (!plugged_) return -1;
    record(FrameDirection::Sent, report);
    if (!frameChecksumOk(report)) {
        keep(bad_frames_, std::vector<uint8_t>(report.begin(), report.end()));
        return static_cast<int>(report.size());
    }
    const uint8_t reg = report[1];
    requested_ = reg;
    const RegisterRow* row = findRegister(reg);
    if (row && row->direction == Direction::Write) {
        std::array<uint8_t, 6> data{};
        std::copy(report.begin() + 2, report.begin() + 8, data.begin());
        registers_[reg] = data;
        keep(write_order_, reg);
        if (row->eeprom_guard)
            busy_until_ = clock_.monotonicSeconds() + options_.eeprom_busy_seconds;
    }
    return static_cast<int>(report.size());
}

std::array<uint8_t, 6> SimulatedPanel::replyData(uint8_t reg) const {
    std::array<uint8_t, 6> data{};
    const RegisterRow* row = findRegister(reg);
    if (!row) return data;
    const auto [first, second] = channelsOf(row->pair);
    switch (row->family) {
        case RegisterFamily::Temps:
            putWord(data, 0, temperature(first));
            putWord(data, 2, temperature(second));
            break;
        case RegisterFamily::Fans:
            putWord(data, 0, fanSpeed(first));
            putWord(data, 2, fanSpeed(second));
            break;
        case RegisterFamily::FanLimits:
            putWord(data, 0, options_.fan_limits[slot(first)]);
            putWord(data, 2, options_.fan_limits[slot(second)]);
            break;
        case RegisterFamily::EepromBusy:
            data[2] = eepromBusy() ? 1 : 0;
            break;  // reply byte 4
        default:
            // A written register answers with what it holds.
            if (auto held = registerBytes(reg)) data = *held;
            break;
    }
    return data;
}

int SimulatedPanel::getFeatureReport(std::span<uint8_t> buffer) {
    if (!plugged_) return -1;
    std::vector<uint8_t> reply(options_.lengths.feature, 0);
    if (reply.size() > 1 && requested_) {
        reply[1] = *requested_;
        std::array<uint8_t, 6> data = replyData(*requested_);
        for (std::size_t i = 0; i < data.size() && 2 + i < reply.size(); ++i)
            reply[2 + i] = data[i];
    }
    const std::size_t n = std::min(buffer.size(), reply.size());
    std::copy_n(reply.begin(), n, buffer.begin());
    record(FrameDirection::Reply, std::span<const uint8_t>(reply.data(), n));
    return static_cast<int>(n);
}

std::vector<std::string> SimulatedPanel::traceLines() const {
    std::vector<std::string> lines;
    lines.reserve(frames_.size());
    for (const TraceFrame& frame : frames_) lines.push_back(traceLine(frame));
    return lines;
}

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// A simulated front panel: the device side of the protocol behind the transport interface, with
// drifting readings, an EEPROM busy after writes, and a record of every frame.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/channel.h"
#include "core/timing.h"
#include "device/frame_trace.h"
#include "device/transport.h"

namespace kestrelon {

struct SimulatedPanelOptions {
    std::array<int, 4> base_temps{43, 36, 52, 31};          // degrees, in channel order
    std::optional<Channel> absent_sensor;                   // the channel answering 255 (no sensor)
    std::array<int, 4> fan_limits{2450, 2000, 1600, 3000};  // raw, as the panel reports them
    std::array<int, 4> automatic_speeds{1450, 1180, 1020, 1900};  // fans in automatic mode
    double eeprom_busy_seconds = 0.060;  // busy time after each EEPROM-backed write
    ReportLengths lengths{9, 9, 9};      // 8 data bytes plus the report ID
    std::size_t record_limit = 4096;  // frames (and writes, bad frames) kept; older ones drop out
};

// The panel the programs run on: the same panel, keeping no record. Only the tests read the
// record back, and the full one holds about 250 KiB of heap after five minutes of polling.
inline SimulatedPanelOptions UnrecordedPanelOptions() {
    SimulatedPanelOptions options;
    options.record_limit = 0;
    return options;
}

class SimulatedPanel final : public Transport {
public:
    explicit SimulatedPanel(const Clock& clock, SimulatedPanelOptions options = {});

    int write(std::span<const uint8_t> report) override;
    int getFeatureReport(std::span<uint8_t> buffer) override;
    ReportLengths reportLengths() const override { return options_.lengths; }

    // Bytes 2..7 of the last good write to `reg`, if it was ever written.
    std::optional<std::array<uint8_t, 6>> registerBytes(uint8_t reg) const;
    // Good writes in order of arrival, as register numbers (the newest record_limit of them).
    const std::deque<uint8_t>& writeOrder() const { return write_order_; }
    // Frames whose checksum was wrong (or that were too short to carry one); they were ignored.
    const std::deque<std::vector<uint8_t>>& badFrames() const { return bad_frames_; }

    // Pulls the panel's plug (every exchange fails, the bus lists nothing) or puts it back.
    void setPlugged(bool plugged) { plugged_ = plugged; }
    bool plugged() const { return plugged_; }

    // What the panel measures now, before encoding (temperature 255 = no sensor).
    int temperature(Channel channel) const;
    int fanSpeed(Channel channel) const;
    bool eepromBusy() const;

    // The record of frames, oldest first, and its text lines.
    const std::deque<TraceFrame>& frames() const { return frames_; }
    std::vector<std::string> traceLines() const;
    // Called with each frame as it happens (the command-line tool prints them).
    void setTraceSink(TraceSink sink) { sink_ = std::move(sink); }

private:
    void record(FrameDirection direction, std::span<const uint8_t> bytes);
    template <typename T>
    void keep(std::deque<T>& list, T item) const;
    std::array<uint8_t, 6> replyData(uint8_t reg) const;
    bool manualFans() const;

    const Clock& clock_;
    SimulatedPanelOptions options_;
    std::map<uint8_t, std::array<uint8_t, 6>> registers_;
    std::deque<uint8_t> write_order_;
    std::deque<std::vector<uint8_t>> bad_frames_;
    std::optional<uint8_t> requested_;  // register named by the last good frame
    double busy_until_ = -1e300;
    bool plugged_ = true;
    std::deque<TraceFrame> frames_;
    TraceSink sink_;
};

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// The frame trace: a record per report sent or read, its line ("> 00 29 ..." sent, "< ..." reply),
// and a transport wrapper that traces the frames of any other transport.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/timing.h"
#include "device/transport.h"

namespace kestrelon {

enum class FrameDirection : char { Sent = '>', Reply = '<' };

struct TraceFrame {
    double time = 0;  // monotonic seconds of the clock that recorded it
    FrameDirection direction = FrameDirection::Sent;
    std::vector<uint8_t> bytes;  // from the report-ID byte on
};

using TraceSink = std::function<void(const TraceFrame&)>;

// "> 00 29 ..." or "< 00 14 ...": direction, a blank, upper-case hexadecimal bytes.
std::string traceLine(const TraceFrame& frame);

// Passes every call on to `inner` and hands each frame written or read to `sink`.
class TracingTransport final : public Transport {
public:
    TracingTransport(std::unique_ptr<Transport> inner, const Clock& clock, TraceSink sink);

    int write(std::span<const uint8_t> report) override;
    int getFeatureReport(std::span<uint8_t> buffer) override;
    ReportLengths reportLengths() const override { return inner_->reportLengths(); }

private:
    std::unique_ptr<Transport> inner_;
    const Clock& clock_;
    TraceSink sink_;
};

}  // namespace kestrelon

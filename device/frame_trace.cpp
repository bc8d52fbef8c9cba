// SPDX-License-Identifier: GPL-3.0-or-later
// Trace lines and the tracing transport.
#include "device/frame_trace.h"

#include "device/report_frame.h"

namespace kestrelon {

std::string traceLine(const TraceFrame& frame) {
    std::string line(1, static_cast<char>(frame.direction));
    line += ' ';
    line += hexBytes(frame.bytes);
    return line;
}

TracingTransport::TracingTransport(std::unique_ptr<Transport> inner, const Clock& clock,
                                   TraceSink sink)
    : inner_(std::move(inner)), clock_(clock), sink_(std::move(sink)) {}

int TracingTransport::write(std::span<const uint8_t> report) {
    if (sink_)
        sink_({clock_.monotonicSeconds(), FrameDirection::Sent, {report.begin(), report.end()}});
    return inner_->write(report);
}

int TracingTransport::getFeatureReport(std::span<uint8_t> buffer) {
    int got = inner_->getFeatureReport(buffer);
    if (sink_) {
        // What the caller sees: the whole buffer, which a failed read leaves as it was.
        sink_({clock_.monotonicSeconds(), FrameDirection::Reply, {buffer.begin(), buffer.end()}});
    }
    return got;
}

}  // namespace kestrelon

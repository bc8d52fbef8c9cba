// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's replies from arbitrary bytes: feature reads of any length (or failing) through the
// panel link, input_data, the decoding of every read register, and the bounded EEPROM wait.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/timing.h"
#include "device/panel_link.h"
#include "device/panel_protocol.h"
#include "device/register_codec.h"
#include "device/report_frame.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/panel_session.h"

namespace {

using namespace kestrelon;

// The panel's side, played from the fuzz input; it keeps account of what the link asked for.
class ScriptedPanel final : public Transport {
public:
    explicit ScriptedPanel(std::span<const uint8_t> input) : input_(input) {
        lengths_.input = static_cast<uint16_t>(input[0] | (input[1] & 0x03) << 8);
        lengths_.output = input[2];
        at_ = fuzz::kSessionHeaderSize;
    }

    int write(std::span<const uint8_t> report) override {
        FUZZ_CHECK(report.size() == std::min<size_t>(lengths_.output, kOutReportSize),
                   "a frame is the output length, at most the buffer");
        FUZZ_CHECK(report[0] == 0, "frames carry report ID 0");
        FUZZ_CHECK(report.size() <= kChecksumIndex || frameChecksumOk(report),
                   "every frame carries its checksum");
        return static_cast<int>(report.size());
    }

    int getFeatureReport(std::span<uint8_t> buffer) override {
        FUZZ_CHECK(buffer.size() == lengths_.input, "a feature read asks for the input length");
        ++reads_;
        if (at_ >= input_.size() || (input_[at_++] & fuzz::kReadFails)) {
            std::fill(buffer.begin(), buffer.end(), 0xEE);  // a failed read may leave junk
            last_failed_ = true;
            return -1;
        }
        const size_t n = std::min(buffer.size(), input_.size() - at_);
        std::copy_n(input_.begin() + static_cast<std::ptrdiff_t>(at_), n, buffer.begin());
        at_ += n;
        last_failed_ = false;
        return static_cast<int>(n);
    }

    ReportLengths reportLengths() const override { return lengths_; }

    int reads() const { return reads_; }
    bool lastFailed() const { return last_failed_; }

private:
    std::span<const uint8_t> input_;
    ReportLengths lengths_;
    size_t at_;
    int reads_ = 0;
    bool last_failed_ = false;
};

// The reply buffer and its input_data text after a feature read.
void CheckReply(const PanelLink& link, const ScriptedPanel& panel, const MonitorState& state) {
    const std::vector<uint8_t>& reply = link.lastReply();
    const size_t length = panel.reportLengths().input;
    FUZZ_CHECK(reply.size() == length + 1, "the reply buffer holds L + 1 bytes");
    FUZZ_CHECK(reply.back() == 0, "the byte past the read stays 0");
    if (panel.lastFailed())
        FUZZ_CHECK(std::all_of(reply.begin(), reply.end(), [](uint8_t b) { return b == 0; }),
                   "a failed read gives a reply of zeros");
    FUZZ_CHECK(state.panel.lastReply.size() == 3 * length, "input_data is three characters a byte");
    for (size_t k = 1; k <= length; ++k)
        FUZZ_CHECK(replyByteFromText(state.panel.lastReply, static_cast<int>(k)) == reply[k],
                   "every reply byte reads back from input_data");
}

// What a read leaves in the monitor state, whatever the panel answered.
void CheckReadings(const MonitorState& state) {
    for (Channel ch : kAllChannels) {
        const Reading temperature = state.readings.temperature[ch];
        const Reading fanSpeed = state.readings.fanSpeed[ch];
        FUZZ_CHECK(!temperature || (*temperature >= 0 && *temperature <= 65535),
                   "a temperature is a word");
        FUZZ_CHECK(temperature != 255, "255 (no sensor) is a missing reading");
        FUZZ_CHECK(!fanSpeed || (*fanSpeed >= 0 && *fanSpeed <= 65535), "a fan speed is a word");
        FUZZ_CHECK(state.readings.fanLimit[ch] >= 0 && state.readings.fanLimit[ch] <= 65535 &&
                       state.readings.fanLimit[ch] % 100 == 0,
                   "a fan limit is a word rounded down to hundreds");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < fuzz::kSessionHeaderSize) return -1;  // not worth keeping
    ScriptedPanel panel(std::span<const uint8_t>(data, size));
    VirtualTime time;
    MonitorState state;
    PanelLink link(panel, time, state);
    PanelProtocol protocol(link, state);

    for (const fuzz::SessionStep& step : fuzz::kPanelSession) {
        const int readsBefore = panel.reads();
        step.run(protocol);
        const int reads = panel.reads() - readsBefore;
        FUZZ_CHECK(reads <= PanelLink::kMaxEepromReads, "the EEPROM wait gives up after its reads");
        if (reads > 0 || panel.reportLengths().input == 0) CheckReply(link, panel, state);
        CheckReadings(state);
        FUZZ_CHECK(!link.busy(), "the link is free after every exchange");
    }
    return 0;
}

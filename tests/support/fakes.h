// SPDX-License-Identifier: GPL-3.0-or-later
// Test doubles for the panel: a scripted transport and a wait that can run a handler in the
// middle of an exchange, as the desktop program's event loop does.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "core/timing.h"
#include "device/transport.h"

namespace kestrelon::test {

// Records every frame written; answers each feature read with the next scripted reply (bytes
// from the report ID on), or all zeros when the script has run out.
class ScriptedTransport final : public Transport {
public:
    ReportLengths lengths{9, 9, 9};
    std::vector<std::vector<uint8_t>> written;
    std::deque<std::vector<uint8_t>> replies;
    std::vector<std::size_t> read_sizes;  // buffer size of each feature read
    bool fail_reads = false;
    bool fail_writes = false;  // a write is recorded, then reported as failed
    // Answers a read once the script has run out, from the register last requested.
    std::function<std::vector<uint8_t>(uint8_t reg)> answer;

    int write(std::span<const uint8_t> report) override {
        written.emplace_back(report.begin(), report.end());
        return fail_writes ? -1 : static_cast<int>(report.size());
    }
    int getFeatureReport(std::span<uint8_t> buffer) override {
        read_sizes.push_back(buffer.size());
        if (fail_reads) {
            std::fill(buffer.begin(), buffer.end(), 0xEE);  // junk a failed read may leave
            return -1;
        }
        std::vector<uint8_t> reply;
        if (!replies.empty()) {
            reply = replies.front();
            replies.pop_front();
        } else if (answer && !written.empty()) {
            reply = answer(written.back().size() > 1 ? written.back()[1] : 0);
        }
        std::size_t n = std::min(buffer.size(), reply.size());
        std::copy_n(reply.begin(), n, buffer.begin());
        return static_cast<int>(buffer.size());
    }
    ReportLengths reportLengths() const override { return lengths; }

    // Register numbers of the frames written, in order.
    std::vector<uint8_t> registers() const {
        std::vector<uint8_t> regs;
        for (const auto& frame : written) regs.push_back(frame.size() > 1 ? frame[1] : 0);
        return regs;
    }
};

// A reply to `reg` with data bytes 2.. as given.
inline std::vector<uint8_t> reply(uint8_t reg, std::vector<uint8_t> data) {
    std::vector<uint8_t> bytes(data.size() + 2, 0);
    bytes[1] = reg;
    std::copy(data.begin(), data.end(), bytes.begin() + 2);
    return bytes;
}

// A reply to `reg` carrying two little-endian words at bytes 2-3 and 4-5.
inline std::vector<uint8_t> words(uint8_t reg, int first, int second) {
    return reply(reg, {uint8_t(first & 0xFF), uint8_t(first >> 8), uint8_t(second & 0xFF),
                       uint8_t(second >> 8)});
}

// Virtual-time wait that runs `during` (once per wait, not nested) inside each wait.
class HandlerWaiter final : public Waiter {
public:
    explicit HandlerWaiter(VirtualTime& time) : time_(time) {}
    std::function<void(int ms)> during;
    std::vector<int> waits;

    void delay(int ms) override {
        waits.push_back(ms);
        time_.delay(ms);
        if (during && !inside_) {
            inside_ = true;
            during(ms);
            inside_ = false;
        }
    }

private:
    VirtualTime& time_;
    bool inside_ = false;
};

}  // namespace kestrelon::test

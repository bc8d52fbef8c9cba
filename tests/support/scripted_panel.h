// A test transport that answers each read register with bytes the test sets, and records every
// frame sent, with the virtual time it was sent at.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <vector>

#include "app/timing.h"
#include "device/transport.h"

namespace kestrelon::test {

struct SentFrame {
    double time;
    std::vector<uint8_t> bytes;
    uint8_t reg() const { return bytes.size() > 1 ? bytes[1] : 0; }
};

class ScriptedPanel final : public Transport {
public:
    explicit ScriptedPanel(const Clock& clock, ReportLengths lengths = {9, 9, 9})
        : clock_(clock), lengths_(lengths) {}

    // Reply data bytes 1.. for a read of `reg` (byte 0, the report ID, is added).
    void answer(uint8_t reg, std::vector<uint8_t> data) { answers_[reg] = std::move(data); }
    // Two little-endian words at reply bytes 2-3 and 4-5.
    void answerWords(uint8_t reg, int first, int second) {
        answer(reg, {reg, uint8_t(first & 0xFF), uint8_t(first >> 8), uint8_t(second & 0xFF),
                     uint8_t(second >> 8)});
    }
    // Called on every write, e.g. to run a nested event in the middle of an exchange.
    std::function<void(const SentFrame&)> onWrite;

    int write(std::span<const uint8_t> report) override {
        sent.push_back({clock_.monotonicSeconds(), {report.begin(), report.end()}});
        last_ = sent.back().reg();
        if (onWrite) onWrite(sent.back());
        return static_cast<int>(report.size());
    }
    int getFeatureReport(std::span<uint8_t> buffer) override {
        auto it = answers_.find(last_);
        if (it == answers_.end()) return -1;
        for (std::size_t i = 0; i < it->second.size() && i + 1 < buffer.size(); ++i)
            buffer[i + 1] = it->second[i];
        return static_cast<int>(buffer.size());
    }
    ReportLengths reportLengths() const override { return lengths_; }

    std::vector<uint8_t> registers() const {
        std::vector<uint8_t> regs;
        for (const auto& f : sent) regs.push_back(f.reg());
        return regs;
    }

    std::vector<SentFrame> sent;

private:
    const Clock& clock_;
    ReportLengths lengths_;
    std::map<uint8_t, std::vector<uint8_t>> answers_;
    uint8_t last_ = 0;
};

}  // namespace kestrelon::test

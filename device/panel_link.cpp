// SPDX-License-Identifier: GPL-3.0-or-later
// Report frame, waits and exchanges of the panel link.
#include "device/panel_link.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "core/log.h"
#include "device/register_codec.h"
#include "device/register_map.h"

namespace kestrelon {

namespace {

// Sets a flag for the length of a scope.
class FlagHold {
public:
    explicit FlagHold(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagHold() { flag_ = false; }
    FlagHold(const FlagHold&) = delete;
    FlagHold& operator=(const FlagHold&) = delete;

private:
    bool& flag_;
};

void logRefused(uint8_t reg, const char* what) {
    char text[80];
    std::snprintf(text, sizeof text, "panel busy with another exchange; REG%02X %s refused", reg,
                  what);
    LogLine(text);
}

}  // namespace

PanelLink::PanelLink(Transport& transport, Waiter& waiter, MonitorState& state,
                     const Clock* settleClock)
    : transport_(transport), waiter_(waiter), state_(state), settleClock_(settleClock) {}

void PanelLink::PrepareReport() {
    out_report_[kChecksumIndex] =
        reportChecksum(std::span<const uint8_t, 7>(out_report_.data() + 1, 7));
}

const char* describe(WriteOutcome outcome) {
    switch (outcome) {
        case WriteOutcome::Written:
            return "written";
        case WriteOutcome::Busy:
            return "the panel is busy with another exchange";
        case WriteOutcome::Absent:
            return "no panel is attached";
        case WriteOutcome::Failed:
            break;
    }
    return "the write to the panel failed";
}

bool PanelLink::WriteReport() {
    out_report_[0] = 0;
    // A panel whose output report is longer than the buffer gets the buffer's bytes only.
    const std::size_t length =
        std::min<std::size_t>(transport_.reportLengths().output, out_report_.size());
    if (length == 0) return false;
    const int written = transport_.write(std::span<const uint8_t>(out_report_.data(), length));
    failures_ = written < 0 ? failures_ + 1 : 0;
    return written >= 0;
}

void PanelLink::ReadFeatureReport() {
    const std::size_t length = transport_.reportLengths().input;
    reply_.assign(length + 1, 0);
    if (length > 0) {
        // The read fills indices 0..L-1; index L stays 0.
        int got = transport_.getFeatureReport(std::span<uint8_t>(reply_.data(), length));
        if (got < 0) std::fill(reply_.begin(), reply_.end(), 0);  // a failed read is all zeros
        failures_ = got < 0 ? failures_ + 1 : 0;
    }
    state_.panel.lastReply = replyText(reply_);
}

void PanelLink::ReadEepromBusy() {
    const RegisterRow& row = registerRow(RegisterFamily::EepromBusy);
    std::vector<uint8_t> reply = readRegister(row.reg, row.wait_ms);
    if (!reply.empty()) decodeReply(row, reply, state_);
}

bool PanelLink::WaitEepromIdle() {
    Scope scope(*this);
    if (!scope) {
        logRefused(kEepromBusyRegister, "read");
        return false;
    }
    ReadEepromBusy();  // the first answer never ends the wait by itself
    int reads = 1;
    do {
        ReadEepromBusy();
        ++reads;
    } while (state_.panel.eepromBusy && reads < kMaxEepromReads);
    return !state_.panel.eepromBusy;
}

void PanelLink::Delay(int ms) {
    ++waiting_;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{waiting_};
    waiter_.delay(ms);
}

void PanelLink::setRequest(uint8_t reg, std::span<const uint8_t, 6> params) {
    out_report_[1] = reg;
    std::copy(params.begin(), params.end(), out_report_.begin() + 2);
}

void PanelLink::settle() {
    if (!settleClock_) return;
    // Whole milliseconds, with a margin for the clock's rounding.
    const double leftMs = (settledAt_ - settleClock_->monotonicSeconds()) * 1000;
    if (leftMs > 0.001) Delay(static_cast<int>(std::ceil(leftMs - 0.001)));
}

std::vector<uint8_t> PanelLink::readRegister(uint8_t reg, int waitMs) {
    if (!mayStart()) {
        logRefused(reg, "read");
        return {};
    }
    FlagHold hold(exchanging_);
    settle();
    static constexpr std::array<uint8_t, 6> kNoParams{};
    setRequest(reg, kNoParams);
    PrepareReport();
    WriteReport();
    Delay(waitMs);
    ReadFeatureReport();
    return reply_;
}

WriteOutcome PanelLink::writeRegister(uint8_t reg, std::span<const uint8_t, 6> params, int waitMs,
                                      bool fetchReply) {
    if (!mayStart()) {
        logRefused(reg, "write");
        return WriteOutcome::Busy;
    }
    FlagHold hold(exchanging_);
    settle();
    setRequest(reg, params);
    PrepareReport();
    const WriteOutcome outcome = WriteReport() ? WriteOutcome::Written : WriteOutcome::Failed;
    if (settleClock_ && !fetchReply) {
        settledAt_ = settleClock_->monotonicSeconds() + waitMs / 1000.0;
        return outcome;
    }
    Delay(waitMs);
    if (fetchReply) ReadFeatureReport();
    return outcome;
}

PanelLink::Scope::Scope(PanelLink& link) : link_(link), held_(link.mayStart()) {
    if (held_) ++link_.scopes_;
}

PanelLink::Scope::~Scope() {
    if (held_) --link_.scopes_;
}

}  // namespace kestrelon

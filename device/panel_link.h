// SPDX-License-Identifier: GPL-3.0-or-later
// The panel link: the output report buffer, the waits, and the read and write exchanges over one
// transport, which never interleave (one requested inside another's wait is refused and logged).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/monitor_state.h"
#include "core/timing.h"
#include "device/report_frame.h"
#include "device/transport.h"

namespace kestrelon {

// What became of one register write: written, refused (another exchange holds the panel, or no
// panel is there to write to), or handed to the panel and failed.
enum class WriteOutcome { Written, Busy, Absent, Failed };
const char* describe(WriteOutcome outcome);

class PanelLink {
public:
    // Busy reads of the EEPROM wait before a write is given up: 40 reads of 50 ms = 2 s.
    static constexpr int kMaxEepromReads = 40;

    // With `settleClock`, a write's settle time is kept by the exchange that follows it: that
    // one waits for what is left of it before its frame goes out, and a write that nothing
    // follows soon costs no wait at all. Without one, every write waits its settle time at once.
    PanelLink(Transport& transport, Waiter& waiter, MonitorState& state,
              const Clock* settleClock = nullptr);
    PanelLink(const PanelLink&) = delete;
    PanelLink& operator=(const PanelLink&) = delete;

    void PrepareReport();      // checksum of out_report[1..7] into [8]
    bool WriteReport();        // out_report[0] = 0, writes the output-length bytes; false on failure
    void ReadFeatureReport();  // zeroed reply buffer, rebuilds state.panel.lastReply
    void ReadEepromBusy();     // REG1C, 50 ms, sets state.panel.eepromBusy
    // At least two busy reads, then more until the panel reports idle; false when the panel
    // stayed busy for kMaxEepromReads reads (or the link was busy with another exchange).
    bool WaitEepromIdle();
    // A wait that keeps the link busy; waits inside a guarded sequence go through here.
    void Delay(int ms);

    // One read exchange: register, wait, feature read; returns the reply bytes (index 0 = ID),
    // or nothing when the exchange was refused because another one is under way.
    std::vector<uint8_t> readRegister(uint8_t reg, int waitMs);
    // One write exchange: register and parameter bytes 2..7, then the settle wait (kept by the
    // next exchange when there is a settle clock); with `fetchReply` the wait is made at once and
    // a feature read follows (it only replaces the last reply).
    WriteOutcome writeRegister(uint8_t reg, std::span<const uint8_t, 6> params, int waitMs,
                       bool fetchReply = false);

    bool busy() const { return exchanging_ || waiting_ > 0 || scopes_ > 0; }

    // Transport calls that failed in a row; a panel whose calls keep failing is gone (unplugged).
    static constexpr int kLostAfterFailures = 8;
    int failuresInARow() const { return failures_; }
    bool lost() const { return failures_ >= kLostAfterFailures; }

    // RAII: marks a multi-exchange sequence as busy. It holds the link only when no exchange
    // and no wait is under way; test it (`if (!scope) ...`) before running the sequence.
    class Scope {
    public:
        explicit Scope(PanelLink& link);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        explicit operator bool() const { return held_; }

    private:
        PanelLink& link_;
        bool held_;
    };

    const std::array<uint8_t, kOutReportSize>& outReport() const { return out_report_; }
    // The reply buffer of the last feature read (L + 1 bytes, index 0 = report ID).
    const std::vector<uint8_t>& lastReply() const { return reply_; }

private:
    // Another exchange may start only from the code path of its caller, never from a handler
    // that runs inside an exchange's or a sequence's wait.
    bool mayStart() const { return !exchanging_ && waiting_ == 0; }
    void setRequest(uint8_t reg, std::span<const uint8_t, 6> params);
    // Waits for what is left of the last write's settle time.
    void settle();

    Transport& transport_;
    Waiter& waiter_;
    MonitorState& state_;
    std::array<uint8_t, kOutReportSize> out_report_{};
    std::vector<uint8_t> reply_;
    bool exchanging_ = false;
    int waiting_ = 0;
    int scopes_ = 0;
    int failures_ = 0;
    const Clock* settleClock_;
    double settledAt_ = 0;  // on settleClock_, when the last write's settle time ends
};

}  // namespace kestrelon

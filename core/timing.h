// SPDX-License-Identifier: GPL-3.0-or-later
// Time sources and waits. Both are injected so that tests and the simulated panel run in virtual
// time.
#pragma once

#include <string>

namespace kestrelon {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds on a monotonic scale; only differences mean anything.
    virtual double monotonicSeconds() const = 0;
    // The host's local time of day as 24-hour "HH:MM:SS".
    virtual std::string timeOfDay() const = 0;
};

class Waiter {
public:
    virtual ~Waiter() = default;
    // Waits at least `ms` milliseconds. The desktop program keeps timers and painting running
    // meanwhile but holds user input back; each wait has its own timer.
    virtual void delay(int ms) = 0;
};

// Real time: steady clock for intervals, the local wall clock for the time of day.
class SystemClock final : public Clock {
public:
    double monotonicSeconds() const override;
    std::string timeOfDay() const override;
};

// A plain sleeping wait, for the command-line tool (it has no event loop to keep running).
class SleepWaiter final : public Waiter {
public:
    void delay(int ms) override;
};

// Virtual time: every wait advances the clock at once and is recorded.
class VirtualTime final : public Clock, public Waiter {
public:
    explicit VirtualTime(int startSecondsOfDay = 12 * 3600) : startOfDay_(startSecondsOfDay) {}

    double monotonicSeconds() const override { return elapsed_; }
    std::string timeOfDay() const override;
    void delay(int ms) override;

    void advance(double seconds) { elapsed_ += seconds; }
    // Moves the time of day without moving the monotonic clock (a host clock change).
    void setTimeOfDay(int secondsOfDay);

    int waits() const { return waits_; }
    double totalWaitSeconds() const { return waited_; }

private:
    double elapsed_ = 0;
    double waited_ = 0;
    int waits_ = 0;
    double startOfDay_;
};

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// Sounds played on a thread of their own, one at a time: whoever asks for one never waits for
// it, and a sound asked for while another plays is dropped. The thread ends with the object.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kestrelon {

class BackgroundPlayer {
public:
    // What a sound under way may ask: whether to stop, and a rest that ends early on a stop.
    class Stop {
    public:
        explicit Stop(BackgroundPlayer& player) : player_(player) {}
        bool requested() const;
        // Rests for `time`; false when a stop cut the rest short (or came before it).
        bool rest(std::chrono::milliseconds time) const;

    private:
        BackgroundPlayer& player_;
    };
    // Plays one sound to its end, or until `stop` says so.
    using PlayOnce = std::function<void(const Stop& stop)>;

    explicit BackgroundPlayer(PlayOnce play);
    // Stops a sound under way and waits for the thread to end.
    ~BackgroundPlayer();
    BackgroundPlayer(const BackgroundPlayer&) = delete;
    BackgroundPlayer& operator=(const BackgroundPlayer&) = delete;

    // Starts a sound unless one is playing; true when it was started.
    bool start();
    bool playing() const;
    // Returns once no sound plays.
    void waitUntilQuiet();

private:
    void run();

    PlayOnce play_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;   // a sound asked for, or the end
    std::condition_variable quiet_;  // a sound has ended
    bool asked_ = false;
    bool playing_ = false;
    bool ending_ = false;
    std::thread thread_;  // last: it starts once everything above exists
};

}  // namespace kestrelon

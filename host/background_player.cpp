// SPDX-License-Identifier: GPL-3.0-or-later
// The sound thread: it sleeps until a sound is asked for, plays it, and ends with its owner.
#include "host/background_player.h"

#include <utility>

namespace kestrelon {

bool BackgroundPlayer::Stop::requested() const {
    const std::lock_guard lock(player_.mutex_);
    return player_.ending_;
}

bool BackgroundPlayer::Stop::rest(std::chrono::milliseconds time) const {
    std::unique_lock lock(player_.mutex_);
    return !player_.wake_.wait_for(lock, time, [this] { return player_.ending_; });
}

BackgroundPlayer::BackgroundPlayer(PlayOnce play)
    : play_(std::move(play)), thread_([this] { run(); }) {}

BackgroundPlayer::~BackgroundPlayer() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

bool BackgroundPlayer::start() {
    {
        const std::lock_guard lock(mutex_);
        if (playing_ || ending_) return false;
        asked_ = playing_ = true;
    }
    wake_.notify_all();
    return true;
}

bool BackgroundPlayer::playing() const {
    const std::lock_guard lock(mutex_);
    return playing_;
}

void BackgroundPlayer::waitUntilQuiet() {
    std::unique_lock lock(mutex_);
    quiet_.wait(lock, [this] { return !playing_; });
}

void BackgroundPlayer::run() {
    const Stop stop(*this);
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return asked_ || ending_; });
        if (ending_) break;
        asked_ = false;
        lock.unlock();
        play_(stop);
        lock.lock();
        playing_ = false;
        quiet_.notify_all();
    }
    playing_ = false;
    quiet_.notify_all();
}

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// The sound thread with a stand-in sound that plays until the test lets it end: one sound at a
// time, the asker never waits, and the owner's end stops a sound under way.
#include "host/background_player.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace kestrelon {
namespace {

// A sound that lasts until finish() (or a stop), counting how often it started.
class HeldSound {
public:
    void play(const BackgroundPlayer::Stop& stop) {
        std::unique_lock lock(mutex_);
        ++started_;
        changed_.notify_all();
        // Rests in short steps, as a real sound watches its device.
        while (!finished_) {
            lock.unlock();
            const bool goOn = stop.rest(std::chrono::milliseconds(1));
            lock.lock();
            if (!goOn) {
                ++stopped_;
                break;
            }
        }
        finished_ = false;
    }
    void finish() {
        const std::lock_guard lock(mutex_);
        finished_ = true;
    }
    void waitStarted(int count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return started_ >= count; });
    }
    int started() const {
        const std::lock_guard lock(mutex_);
        return started_;
    }
    int stopped() const {
        const std::lock_guard lock(mutex_);
        return stopped_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int started_ = 0, stopped_ = 0;
    bool finished_ = false;
};

TEST(BackgroundPlayer, PlaysOneSoundAtATimeAndDropsTheOthers) {
    HeldSound sound;
    BackgroundPlayer player([&](const BackgroundPlayer::Stop& stop) { sound.play(stop); });
    // Each step: clicks asked for, then whether the sound is let end; the sounds started so far.
    const struct {
        int clicks;
        bool endIt;
        bool firstStarts;
        int startedAfter;
    } steps[] = {
        {1, false, true, 1},   // the first click starts a sound and returns while it plays
        {5, false, false, 1},  // clicks while it plays start nothing
        {0, true, false, 1},   // it ends
        {3, true, true, 2},    // the next click plays again; the two after it are dropped
    };
    for (const auto& s : steps) {
        for (int i = 0; i < s.clicks; ++i) EXPECT_EQ(player.start(), s.firstStarts && i == 0) << i;
        if (s.clicks > 0) sound.waitStarted(s.startedAfter);
        if (s.endIt) {
            sound.finish();
            player.waitUntilQuiet();
            EXPECT_FALSE(player.playing());
        } else {
            EXPECT_TRUE(player.playing());
        }
        EXPECT_EQ(sound.started(), s.startedAfter);
    }
    EXPECT_EQ(sound.stopped(), 0);
}

TEST(BackgroundPlayer, ItsEndStopsASoundUnderWayAndWaitsForTheThread) {
    HeldSound sound;
    {
        BackgroundPlayer player([&](const BackgroundPlayer::Stop& stop) { sound.play(stop); });
        ASSERT_TRUE(player.start());
        sound.waitStarted(1);
    }  // never finished: only the stop ends it
    EXPECT_EQ(sound.stopped(), 1);
    EXPECT_EQ(sound.started(), 1);
}

TEST(BackgroundPlayer, EndsCleanlyWithNothingPlayedOrAfterASound) {
    for (const bool playFirst : {false, true}) {
        int plays = 0;
        {
            BackgroundPlayer player([&](const BackgroundPlayer::Stop& stop) {
                ++plays;
                EXPECT_FALSE(stop.requested());
            });
            if (playFirst) {
                ASSERT_TRUE(player.start());
                player.waitUntilQuiet();
            }
        }
        EXPECT_EQ(plays, playFirst ? 1 : 0);
    }
}

TEST(BackgroundPlayer, SoundsPlayOffTheAskersThread) {
    std::thread::id playedOn;
    BackgroundPlayer player(
        [&](const BackgroundPlayer::Stop&) { playedOn = std::this_thread::get_id(); });
    ASSERT_TRUE(player.start());
    player.waitUntilQuiet();
    EXPECT_NE(playedOn, std::thread::id());
    EXPECT_NE(playedOn, std::this_thread::get_id());
}

}  // namespace
}  // namespace kestrelon

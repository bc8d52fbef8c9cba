// SPDX-License-Identifier: GPL-3.0-or-later
// The poll cycle's drawing hooks carried out by the skin renderer; the internet check is
// whatever the program supplies. While the window is out of sight nothing is drawn: the poll's
// readouts are only marked out of date, and drawn from the state once it shows again.
#pragma once

#include <functional>
#include <utility>

#include "core/poll_hooks.h"
#include "skin/skin_renderer.h"

namespace kestrelon {

class RendererPollHooks final : public PollHooks {
public:
    RendererPollHooks(SkinRenderer& renderer, std::function<void()> checkInternet)
        : renderer_(renderer), checkInternet_(std::move(checkInternet)) {}

    void drawClockPanel() override {
        if (draw()) renderer_.DrawClockPanel();
    }
    void drawTempReadout(Channel channel) override {
        if (draw()) renderer_.DrawTempReadout(channel);
    }
    void drawFanReadout(Channel channel) override {
        if (draw()) renderer_.DrawFanReadout(channel);
    }
    void refreshWindow() override {
        if (draw()) renderer_.ShowWindowPicture();
    }
    void checkInternet() override {
        if (checkInternet_) checkInternet_();
    }
    // The probe has answered: the link lamp shows the state's answer.
    void drawLinkState() {
        if (!draw()) return;
        renderer_.ShowLinkState(renderer_.state().poll.internetLinked);
        renderer_.ShowWindowPicture();
    }

    // The window went out of sight (true) or came back (false). Coming back, what was left
    // undrawn is drawn now: every readout and the link lamp, then the clock panel, which shows
    // the picture.
    void setHidden(bool hidden) {
        hidden_ = hidden;
        if (hidden_ || !std::exchange(stale_, false)) return;
        for (Channel channel : kAllChannels) {
            renderer_.DrawTempReadout(channel);
            renderer_.DrawFanReadout(channel);
        }
        renderer_.ShowLinkState(renderer_.state().poll.internetLinked);
        renderer_.DrawClockPanel();  // and the window's picture shown, once
    }

private:
    bool draw() {
        stale_ = stale_ || hidden_;
        return !hidden_;
    }

    SkinRenderer& renderer_;
    std::function<void()> checkInternet_;
    bool hidden_ = false, stale_ = false;
};

}  // namespace kestrelon

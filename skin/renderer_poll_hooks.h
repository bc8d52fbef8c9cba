// SPDX-License-Identifier: GPL-3.0-or-later
// The poll cycle's drawing hooks carried out by the skin renderer; the internet check is
// whatever the program supplies.
#pragma once

#include <functional>

#include "core/poll_hooks.h"
#include "skin/skin_renderer.h"

namespace kestrelon {

class RendererPollHooks final : public PollHooks {
  public:
    RendererPollHooks(SkinRenderer& renderer, std::function<void()> checkInternet)
        : renderer_(renderer), checkInternet_(std::move(checkInternet)) {}

    void drawClockPanel() override { renderer_.DrawClockPanel(); }
    void drawTempReadout(Channel channel) override { renderer_.DrawTempReadout(channel); }
    void drawFanReadout(Channel channel) override { renderer_.DrawFanReadout(channel); }
    void refreshWindow() override { renderer_.ShowWindowPicture(); }
    void checkInternet() override {
        if (checkInternet_) checkInternet_();
    }

  private:
    SkinRenderer& renderer_;
    std::function<void()> checkInternet_;
};

}  // namespace kestrelon

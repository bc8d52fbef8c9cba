// SPDX-License-Identifier: GPL-3.0-or-later
// kestrelonctl render: the window as it shows after start-up and one poll, as a picture.
#include <algorithm>
#include <sstream>

#include "app/ctl_command.h"
#include "input/volume_level.h"
#include "monitor/first_start.h"
#include "monitor/poll_cycle.h"
#include "skin/renderer_poll_hooks.h"
#include "skin/skin_check.h"
#include "skin/skin_renderer.h"
#include "skin/window_shape.h"
#include "skin/wing_state.h"

namespace kestrelon::ctl {

std::optional<std::array<bool, 4>> Command::openWings(const std::string& text) {
    std::array<bool, 4> open{};  // in the order of geo::kWings: ul, ll, ur, lr
    if (text == "closed") return open;
    if (text == "open") return std::array<bool, 4>{true, true, true, true};
    static constexpr std::array<const char*, 4> names{"ul", "ll", "ur", "lr"};
    std::istringstream in(text);
    for (std::string name; std::getline(in, name, ',');) {
        auto it = std::find(names.begin(), names.end(), name);
        if (it == names.end()) return std::nullopt;
        open[static_cast<std::size_t>(it - names.begin())] = true;
    }
    return open;
}

int Command::render() {
    if (o_.positional.size() != 1) {
        err_ << "kestrelon: render needs one output file\n" << kUsage;
        return 2;
    }
    auto wings = openWings(o_.wings.value_or("closed"));
    if (!wings) {
        err_ << "kestrelon: --wings takes closed, open or a list of ul, ll, ur, lr\n";
        return 2;
    }
    std::vector<std::string> problems = CheckSkin(env_.skinDir);
    for (const auto& p : problems)
        err_ << "kestrelon: skin " << env_.skinDir << ": " << p << "\n";
    if (!problems.empty()) return 1;
    const std::string settingsPath = o_.file.value_or(env_.settingsPath);
    const bool firstStart = IsFirstStart(settingsPath);
    if (!firstStart && !loadSettings()) return 1;

    // Start-up as the program runs it, then one poll.
    if (env_.hostFacts) env_.hostFacts(state_);
    SkinRenderer renderer(state_, env_.skinDir, env_.waiter, {});
    PollCycle cycle(state_, env_.clock, hooksFor(renderer));
    cycle.UpdateClockText();
    renderer.DrawAllPanels();
    PanelPort noPanelYet(state_);
    SyncVolumeLevel(state_, noPanelYet);  // the level the start-up push will carry
    PanelSession session(state_, env_.waiter);
    // A first start takes the factory values; a picture never writes the user's file.
    session.Start(bus(), tracer(), [&] {
        if (!firstStart) return;
        StartFromFactorySettings(state_, session.protocol(), settingsPath, false);
        renderer.DrawAllPanels();
    });
    cycle.attachPanel(session.link(), session.protocol());
    cycle.onPollTick();

    for (std::size_t i = 0; i < geo::kWings.size(); ++i)
        wingOpen(state_, geo::kWings[i].id) = (*wings)[i];
    renderer.RefreshSkin();

    QImage image =
        WithOutlineAlpha(renderer.windowPicture(), MakeRegionFromMask(renderer.skinPicture()));
    const std::string& path = o_.positional.front();
    if (!image.save(QString::fromStdString(path), "PNG")) {
        err_ << "kestrelon: cannot write " << path << "\n";
        return 1;
    }
    out_ << "rendered " << path << " (" << image.width() << "x" << image.height() << ")\n";
    return 0;
}

PollHooks& Command::hooksFor(SkinRenderer& renderer) {
    hooks_ = std::make_unique<RendererPollHooks>(renderer, nullptr);
    return *hooks_;
}

}  // namespace kestrelon::ctl

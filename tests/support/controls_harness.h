// SPDX-License-Identifier: GPL-3.0-or-later
// The controls over the synthetic skin and the simulated panel in virtual time, with a desktop
// that records what was asked of it.
#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "device/panel_link.h"
#include "device/panel_protocol.h"
#include "device/simulated_panel.h"
#include "input/controls.h"
#include "tests/support/synthetic_skin.h"

namespace kestrelon::test {

class RecordingDesktop final : public DesktopServices {
public:
    bool answerYes = false;
    bool compositorMoves = false;  // a desktop that takes window drags over (Wayland)
    bool cursorFilesReadable = true;
    bool pointerOver = true;
    bool pollTimer = true, blinkTimer = false, cursorTimer = false;
    std::vector<std::string> log;  // the calls that change something, in order
    std::vector<CursorKind> cursorLoads;
    std::optional<QPoint> hint;
    QSize hintSize;

    bool askCloseProgram() override {
        log.push_back("ask");
        return answerYes;
    }
    void openMakerSite() override { log.push_back("site"); }
    bool dragWindow(int gx, int gy, int dx, int dy) override {
        log.push_back("drag " + std::to_string(gx) + "," + std::to_string(gy) + " by " +
                      std::to_string(dx) + "," + std::to_string(dy));
        return !compositorMoves;
    }
    void minimiseWindow() override { log.push_back("minimise"); }
    void hideWindow() override { log.push_back("hide"); }
    bool installCursor(CursorKind kind) override {
        cursorLoads.push_back(kind);
        return cursorFilesReadable;
    }
    bool pointerOverWindow() const override { return pointerOver; }
    void setPollTimer(bool on) override { timer(pollTimer, on, "poll"); }
    void setBlinkTimer(bool on) override { timer(blinkTimer, on, "blink"); }
    void setCursorTimer(bool on) override { timer(cursorTimer, on, "cursor"); }
    void showResetHint(const QImage& picture, int x, int y) override {
        hint = QPoint(x, y);
        hintSize = picture.size();
    }
    void hideResetHint() override { hint.reset(); }
    void closeDevice() override { log.push_back("close device"); }
    void removeTrayIcon() override { log.push_back("remove tray"); }
    void processPendingEvents() override { log.push_back("events"); }
    void unload() override { log.push_back("unload"); }

private:
    void timer(bool& state, bool on, const char* name) {
        if (state != on) log.push_back(std::string(on ? "start " : "stop ") + name);
        state = on;
    }
};

class RecordingMixer final : public Mixer {
public:
    std::vector<int32_t> sets;
    int32_t GetMasterVolume() override { return sets.empty() ? 0 : sets.back(); }
    bool SetMasterVolume(int32_t percent) override {
        sets.push_back(percent);
        return true;
    }
};

class CountingSound final : public ClickSound {
public:
    int plays = 0;
    void play() override { ++plays; }
};

class ControlsHarness {
public:
    SyntheticSkin skin;
    MonitorState state;
    VirtualTime time;
    SimulatedPanel panel{time};
    PanelLink link{panel, time, state};
    PanelProtocol protocol{link, state};
    int shows = 0;
    // Every click, blink and tick names what it drew. A long run may turn the check off: it
    // compares and copies the whole picture at each show.
    bool checkShows = true;
    ShowCheck showCheck;
    SkinRenderer renderer{state, skin.dir(), time, [this](const QRect& changed) {
                              ++shows;
                              if (checkShows) showCheck.shown(renderer.windowPicture(), changed);
                          }};
    RecordingDesktop desktop;
    RecordingMixer mixer;
    CountingSound sound;
    QTemporaryDir dir;
    std::filesystem::path settingsPath =
        std::filesystem::path(dir.path().toStdString()) / "Settings.inf";
    Controls controls{state, renderer, time, {desktop, mixer, sound}, settingsPath};

    ControlsHarness() { state.settings.alarm.text = "12:00"; }
    ~ControlsHarness() { EXPECT_EQ(showCheck.unnamedChange(), "") << "unnamed change"; }

    void connectPanel() {
        state.panel.present = true;
        controls.attachPanel(&link, &protocol);
    }
    void move(float x, float y, int button = 0) { controls.onPointerMove(button, 0, x, y); }
    void click(float x, float y) {
        move(x, y);
        controls.onClick();
    }
    // Runs the blink tick every 100 ms for `seconds`.
    void tick(double seconds) {
        for (int i = 0; i < static_cast<int>(seconds * 10 + 0.5); ++i) {
            time.advance(0.1);
            controls.onBlinkTick();
        }
    }
    bool saved() const { return std::filesystem::exists(settingsPath); }
    void forgetSave() { std::filesystem::remove(settingsPath); }
    // Registers written since the last call.
    std::vector<uint8_t> pushes() {
        const auto& order = panel.writeOrder();
        std::vector<uint8_t> out(order.begin() + static_cast<std::ptrdiff_t>(seen_), order.end());
        seen_ = order.size();
        return out;
    }

private:
    std::size_t seen_ = 0;
};

}  // namespace kestrelon::test

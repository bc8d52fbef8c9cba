// SPDX-License-Identifier: GPL-3.0-or-later
// The skin renderer: owns the drawing surfaces and draws every readout, indicator and frame of
// the window from the skin's picture files. It never touches a widget: "show" is a callback.
#pragma once

#include <QImage>
#include <QRegion>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/monitor_state.h"
#include "core/timing.h"
#include "skin/geometry.h"
#include "skin/packed_picture.h"
#include "skin/picture_store.h"

namespace kestrelon {

class SkinRenderer {
public:
    // `show` puts mainback on the screen (the front end repaints its window); it is given the
    // part of mainback drawn since the last show, empty when nothing was. It may be empty.
    using Show = std::function<void(const QRect& changed)>;
    SkinRenderer(MonitorState& state, std::filesystem::path skinDir, Waiter& waiter, Show show);
    SkinRenderer(const SkinRenderer&) = delete;
    SkinRenderer& operator=(const SkinRenderer&) = delete;

    // ---- Surfaces ------------------------------------------------------------------------------
    // The three window-sized ones and blcd may be packed (see PackSurfaces): reading one unpacks
    // them.
    const QImage& windowPicture() const {
        UnpackSurfaces();
        return windowPicture_;
    }
    const QImage& skinPicture() const {
        UnpackSurfaces();
        return skinPicture_;
    }
    const QImage& composition() const {
        UnpackSurfaces();
        return composition_;
    }
    const QImage& lcdPicture() const {
        UnpackSurfaces();
        return lcdPicture_;
    }
    const QImage& scratch() const { return scratch_; }
    const QImage& digitMask() const { return digitMask_; }

    // The window's outline, taken from the skin picture as loaded.
    QRegion WindowRegion() const;
    // Puts the current mainback on the screen: the part drawn since the last show.
    void ShowWindowPicture();

    MonitorState& state() { return state_; }
    Waiter& waiter() { return waiter_; }
    PictureStore& pictures() { return pictures_; }
    // While the window is out of sight: the decoded skin files go (only the surfaces are kept),
    // and each is read again when next drawn.
    void ForgetPictures() { pictures_.forget(); }
    // While the window is out of sight: mainback, mainba2, the skin picture and blcd, 3.6 MiB
    // between them, are kept compressed. Any drawing or reading unpacks them first, bit for bit as
    // they were, so packing never changes what the window shows.
    void PackSurfaces();
    void UnpackSurfaces() const;
    bool surfacesPacked() const { return packed_.has_value(); }
    // Both of the above, for a window gone out of sight (the store would otherwise keep the skin
    // picture the surfaces were made from).
    void PutAway() {
        ForgetPictures();
        PackSurfaces();
    }

    // ---- Pictures and fonts --------------------------------------------------------------------
    // Draws the skin file opaquely with its top-left corner at (x, y) of the target.
    void ShowSkinPicture(std::string_view file, int x, int y, geo::Surface target);
    // Draws the skin file as a glyph (ANDed with mmask, then ORed) at (x, y) of the target.
    void ShowDigitPicture(std::string_view file, int x, int y, QImage& target);
    // One character of a font at (x, y); nothing for a character the font has no glyph for.
    void DrawSmallDigits(int x, int y, char character, QImage& target);
    void DrawMediumDigits(int x, int y, char character, QImage& target);
    void DrawBigDigits(int x, int y, char character, QImage& target);

    // ---- Readouts (channel 1..4) ---------------------------------------------------------------
    void DrawTempReadout(Channel channel);
    void DrawFanReadout(Channel channel);
    void DrawThresholdReadout(Channel channel);
    void DrawFanSetReadout(Channel channel);
    void DrawClockPanel();  // also shows the window
    void DrawHostReadout(geo::HostFact fact);

    // ---- Indicators ----------------------------------------------------------------------------
    void ShowSensorIcon(Channel channel);
    void ShowFanIcon(Channel channel);
    void ShowThresholdIcon(Channel channel);
    void ShowTempUnit();
    void ShowLinkState(bool on);
    void ShowDegreeButtons();
    void ShowFanModeButtons();
    void ShowBacklightButtons();

    // ---- Alarm panel and volume slider ---------------------------------------------------------
    void DrawAlarmTime();
    void ShowAlarmEnable();
    // 0 all five characters (and into blcd too), 1 without the hour, 2 without the minute,
    // anything else none; always onto mainback, then shows the window.
    void DrawAlarmSetting(int mode);
    void DrawVolumeKnob();
    // Loads the reset hint's picture into gr_temp1; false (gr_temp1 untouched) when it cannot.
    bool LoadResetHint();

    // ---- Composition and wings -----------------------------------------------------------------
    void RefreshSkin();
    void DrawWings();
    void DrawWingButton(geo::WingId wing, bool open);
    void DrawWingCenter();
    // One frame of a slide: the clean background, blcd, the wing at `at`, its button, the centre;
    // then only the wing's screen block goes to mainback, which is shown.
    void DrawWingFrame(geo::WingId wing, geo::Point at, bool open);
    // 0 opens, 1 closes, anything else draws nothing (the flag is the caller's).
    void AnimateWing(geo::WingId wing, int direction);

    // The first full draw of start-up, ending with RefreshSkin.
    void DrawAllPanels();

private:
    QImage& surface(geo::Surface which);
    // The raster copies every drawing here goes through: what lands on mainback is noted as
    // changed, so that a show repaints only that part of the window.
    void blit(QImage& target, const QImage& picture, int x, int y);
    void copyBlock(QImage& target, const QImage& source, const QRect& block);
    void noteDrawn(const QImage& target, const QRect& area);
    void DrawGlyph(const geo::Font& font, int x, int y, char character, QImage& target);
    void DrawReadout(geo::ReadoutKind kind, Channel channel);
    void DrawIcon(geo::IconRow row, Channel channel);
    void ShowIndicator(const geo::Indicator& indicator, bool on);
    // Loads a panel background into gr_temp1; false (gr_temp1 untouched) when it cannot.
    bool LoadScratch(std::string_view background);
    // Small-font text laid right to left on gr_temp1, its last character at `rightmost`.
    void DrawSmallText(const std::string& text, geo::Point rightmost);
    bool ComposeAlarmPanel(int mode);
    void DrawSprite(std::string_view picture, std::string_view mask, geo::Point at);

    MonitorState& state_;
    Waiter& waiter_;
    Show show_;
    PictureStore pictures_;
    // The surfaces that may be packed: mutable, as reading them may first unpack them.
    mutable QImage windowPicture_, skinPicture_, composition_, lcdPicture_;
    QImage scratch_, digitMask_;
    // The skin picture, packed at the first hide and kept. While packed: mainback unless it still
    // shares the skin's pixels, and mainba2 unless it still shares mainback's (as they do until
    // first drawn on).
    static constexpr int kSkinPackLevel = 6;
    std::optional<PackedPicture> packedSkin_;
    struct Packed {
        PackedPicture lcd;
        std::optional<PackedPicture> window, composition;
        bool compositionIsSkin = false;  // else mainba2 is mainback when not packed itself
    };
    mutable std::optional<Packed> packed_;
    QRect drawnSinceShow_;  // on mainback
};

}  // namespace kestrelon

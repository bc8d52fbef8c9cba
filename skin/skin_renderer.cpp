// SPDX-License-Identifier: GPL-3.0-or-later
// The renderer's surfaces, picture drawing, digit fonts and the first full draw of start-up.
#include "skin/skin_renderer.h"

#include <utility>

#include "skin/raster.h"
#include "skin/window_shape.h"
#include "skin/wing_state.h"

namespace kestrelon {

namespace {

// A surface's starting image; a blank of the given size and colour when its file cannot be
// read (the start-up skin check has already named the file by then).
QImage loadSurface(PictureStore& pictures, std::string_view file, geo::Size size, QRgb blank) {
    if (std::optional<QImage> picture = pictures.load(file)) return *picture;
    QImage image(size.w, size.h, QImage::Format_RGB32);
    image.fill(blank);
    return image;
}

// The glyph file of a character, or "" when the font has none for it.
std::string glyphFile(const geo::Font& font, char character) {
    if (character >= '0' && character <= '9') return std::string(font.prefix) + character + ".bmp";
    if (character == ':') return std::string(font.colonFile);
    if (character == '.') return std::string(font.dotFile);
    if (character == '-') return std::string(font.dashFile);
    return {};
}

}  // namespace

SkinRenderer::SkinRenderer(MonitorState& state, std::filesystem::path skinDir, Waiter& waiter,
                           Show show)
    : state_(state), waiter_(waiter), show_(std::move(show)), pictures_(std::move(skinDir)) {
    windowPicture_ = loadSurface(pictures_, geo::kSkinPictureFile, geo::kWindow, 0xFF000000u);
    skinPicture_ = windowPicture_;
    composition_ = windowPicture_;
    lcdPicture_ = loadSurface(pictures_, geo::kLcdPictureFile, geo::kLcd, 0xFF000000u);
    digitMask_ = loadSurface(pictures_, geo::kDigitMaskFile, geo::kMmask, 0xFFFFFFFFu);
    drawnSinceShow_ = windowPicture_.rect();
}

QRegion SkinRenderer::WindowRegion() const {
    UnpackSurfaces();
    return RegionFromRuns(MakeRegionFromMask(skinPicture_));
}

void SkinRenderer::ShowWindowPicture() {
    const QRect changed = std::exchange(drawnSinceShow_, QRect());
    if (show_) show_(changed);
}

void SkinRenderer::noteDrawn(const QImage& target, const QRect& area) {
    if (&target == &windowPicture_) drawnSinceShow_ |= area.intersected(windowPicture_.rect());
}

void SkinRenderer::PackSurfaces() {
    if (packed_) return;
    // The skin picture never changes: packed once, small rather than fast, and kept. mainback is
    // the skin with a few panels drawn over it, and mainba2 mostly mainback again: each is packed
    // as its difference from the one before, at the fastest level as this runs at every hide.
    // Until first drawn on, they share the skin's pixels and are not packed at all.
    if (!packedSkin_) packedSkin_ = PackPicture(skinPicture_, {}, kSkinPackLevel);
    const auto shares = [](const QImage& a, const QImage& b) {
        return a.constBits() == b.constBits();
    };
    Packed p;
    p.compositionIsSkin = shares(composition_, skinPicture_);
    if (!p.compositionIsSkin && !shares(composition_, windowPicture_))
        p.composition = PackPicture(composition_, windowPicture_);
    if (!shares(windowPicture_, skinPicture_)) p.window = PackPicture(windowPicture_, skinPicture_);
    p.lcd = PackPicture(lcdPicture_);
    composition_ = windowPicture_ = skinPicture_ = lcdPicture_ = QImage();
    packed_ = std::move(p);
}

void SkinRenderer::UnpackSurfaces() const {
    if (!packed_) return;
    const Packed p = *std::exchange(packed_, std::nullopt);
    skinPicture_ = UnpackPicture(*packedSkin_);
    lcdPicture_ = UnpackPicture(p.lcd);
    windowPicture_ = p.window ? UnpackPicture(*p.window, skinPicture_) : skinPicture_;
    composition_ = p.composition         ? UnpackPicture(*p.composition, windowPicture_)
                   : p.compositionIsSkin ? skinPicture_
                                         : windowPicture_;
}

void SkinRenderer::blit(QImage& target, const QImage& picture, int x, int y) {
    UnpackSurfaces();
    BlitPicture(target, picture, x, y);
    noteDrawn(target, QRect(QPoint(x, y), picture.size()));
}

void SkinRenderer::copyBlock(QImage& target, const QImage& source, const QRect& block) {
    UnpackSurfaces();
    CopyBlock(target, source, block);
    noteDrawn(target, block);
}

QImage& SkinRenderer::surface(geo::Surface which) {
    return which == geo::Surface::Lcd ? lcdPicture_ : windowPicture_;
}

void SkinRenderer::ShowSkinPicture(std::string_view file, int x, int y, geo::Surface target) {
    if (std::optional<QImage> picture = pictures_.load(file)) blit(surface(target), *picture, x, y);
}

void SkinRenderer::ShowDigitPicture(std::string_view file, int x, int y, QImage& target) {
    if (std::optional<QImage> glyph = pictures_.load(file))
        BlitDigit(target, *glyph, digitMask_, x, y);
}

void SkinRenderer::DrawGlyph(const geo::Font& font, int x, int y, char character, QImage& target) {
    const std::string file = glyphFile(font, character);
    if (!file.empty()) ShowDigitPicture(file, x, y, target);
}

void SkinRenderer::DrawSmallDigits(int x, int y, char character, QImage& target) {
    DrawGlyph(geo::kSmallFont, x, y, character, target);
}

void SkinRenderer::DrawMediumDigits(int x, int y, char character, QImage& target) {
    DrawGlyph(geo::kMediumFont, x, y, character, target);
}

void SkinRenderer::DrawBigDigits(int x, int y, char character, QImage& target) {
    DrawGlyph(geo::kBigFont, x, y, character, target);
}

bool SkinRenderer::LoadScratch(std::string_view background) {
    std::optional<QImage> picture = pictures_.load(background);
    if (!picture) return false;
    scratch_ = *picture;
    return true;
}

void SkinRenderer::DrawSprite(std::string_view picture, std::string_view mask, geo::Point at) {
    const std::optional<QImage> image = pictures_.load(picture);
    const std::optional<QImage> imageMask = pictures_.load(mask);
    UnpackSurfaces();
    if (image && imageMask) NoBlinkDraw(composition_, *image, *imageMask, at.x, at.y);
}

void SkinRenderer::DrawAllPanels() {
    ShowTempUnit();
    for (Channel channel : geo::kRowOrder) ShowSensorIcon(channel);
    ShowLinkState(state_.poll.internetLinked);
    for (Channel channel : geo::kRowOrder) DrawTempReadout(channel);
    for (Channel channel : geo::kRowOrder) DrawFanReadout(channel);
    for (geo::HostFact fact : {geo::HostFact::CpuClock, geo::HostFact::Disk, geo::HostFact::Memory})
        DrawHostReadout(fact);
    for (const geo::Wing& wing : geo::kWings) wingOpen(state_, wing.id) = false;
    DrawAlarmTime();
    ShowAlarmEnable();
    ShowBacklightButtons();
    ShowFanModeButtons();
    ShowDegreeButtons();
    for (Channel channel : geo::kRowOrder) ShowFanIcon(channel);
    for (Channel channel : geo::kRowOrder) ShowThresholdIcon(channel);
    for (Channel channel : geo::kSetPointOrder) DrawFanSetReadout(channel);
    for (Channel channel : geo::kSetPointOrder) DrawThresholdReadout(channel);
    DrawVolumeKnob();
    RefreshSkin();
}

}  // namespace kestrelon

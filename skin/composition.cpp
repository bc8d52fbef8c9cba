// SPDX-License-Identifier: GPL-3.0-or-later
// Frame composition: blcd and the wings assembled on mainba2, whose left block becomes the
// left part of mainback; also the single frames of a wing slide.
#include <QRect>

#include "skin/raster.h"
#include "skin/skin_renderer.h"
#include "skin/wing_slides.h"
#include "skin/wing_state.h"

namespace kestrelon {

namespace {

const QRect kComposed(0, 0, geo::kComposedBlock.w, geo::kComposedBlock.h);

}  // namespace

void SkinRenderer::RefreshSkin() {
    blit(composition_, lcdPicture_, geo::kLcdOrigin.x, geo::kLcdOrigin.y);
    DrawWings();
    copyBlock(windowPicture_, composition_, kComposed);
    ShowWindowPicture();
}

void SkinRenderer::DrawWings() {
    for (const geo::Wing& wing : geo::kWings) {
        const bool open = wingOpen(state_, wing.id);
        DrawSprite(wing.picture, wing.mask, open ? wing.open : wing.closed);
        DrawWingButton(wing.id, open);
    }
    DrawWingCenter();
}

void SkinRenderer::DrawWingButton(geo::WingId id, bool open) {
    const geo::Wing& wing = wingGeometry(id);
    if (open)
        DrawSprite(wing.buttonOpen, wing.buttonOpenMask, wing.buttonAt);
    else
        DrawSprite(wing.buttonClosed, wing.buttonClosedMask, wing.buttonAt);
}

void SkinRenderer::DrawWingCenter() {
    DrawSprite(geo::kCentrePicture, geo::kCentreMask, geo::kCentreAt);
}

void SkinRenderer::DrawWingFrame(geo::WingId id, geo::Point at, bool open) {
    const geo::Wing& wing = wingGeometry(id);
    blit(composition_, skinPicture_, 0, 0);
    blit(composition_, lcdPicture_, geo::kLcdOrigin.x, geo::kLcdOrigin.y);
    DrawSprite(wing.picture, wing.mask, at);
    DrawWingButton(id, open);
    DrawWingCenter();
    // Only the composed block ever reaches the window; the side panel is mainback's own.
    const geo::Block& b = wing.screenBlock;
    copyBlock(windowPicture_, composition_, QRect(b.x, b.y, b.w, b.h).intersected(kComposed));
    ShowWindowPicture();
}

void SkinRenderer::AnimateWing(geo::WingId wing, int direction) {
    ::kestrelon::AnimateWing(*this, wing, direction);
}

}  // namespace kestrelon

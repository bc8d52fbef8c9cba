// SPDX-License-Identifier: GPL-3.0-or-later
// Frame composition and wing slides: what reaches mainback, where the wings are, pacing.
#include <climits>
#include <functional>
#include <tuple>

#include "renderer_fixture.h"
#include "skin/renderer_poll_hooks.h"
#include "skin/wing_slides.h"

namespace kestrelon::test {

namespace {

const QRect kComposed(0, 0, 420, 438);

struct Slide {
    geo::WingId wing;
    const char* picture;
    QPoint closed, open;
    int frames;
    QRect screenBlock;
    QPoint button;
    const char *buttonClosed, *buttonOpen;
};
const Slide kSlides[] = {
    {geo::WingId::UpperLeft,
     "luw.bmp",
     {107, 104},
     {25, 22},
     42,
     {0, 0, 225, 222},
     {118, 115},
     "luwbt.bmp",
     "rdwbt.bmp"},
    {geo::WingId::LowerLeft,
     "ldw.bmp",
     {108, 228},
     {26, 310},
     42,
     {0, 225, 225, 222},
     {117, 315},
     "ldwbt.bmp",
     "ruwbt.bmp"},
    {geo::WingId::UpperRight,
     "ruw.bmp",
     {233, 103},
     {313, 23},
     41,
     {225, 0, 205, 222},
     {320, 112},
     "ruwbt.bmp",
     "ldwbt.bmp"},
    {geo::WingId::LowerRight,
     "rdw.bmp",
     {232, 228},
     {312, 308},
     41,
     {225, 225, 205, 222},
     {318, 314},
     "rdwbt.bmp",
     "luwbt.bmp"},
};

// Top-left corner of the picture whose inside colour shows in `area` (the sprite's 3-pixel
// margin taken off again), or (-1, -1) when it does not show.
QPoint spriteAt(const QImage& image, QRgb inside, const QRect& area) {
    int left = INT_MAX, top = INT_MAX;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            if (row[x] == inside) {
                left = std::min(left, x);
                top = std::min(top, y);
            }
    }
    return left == INT_MAX ? QPoint(-1, -1) : QPoint(left - 3, top - 3);
}

QPoint buttonMiddle(const Slide& s) {
    return s.button + QPoint(9, 9);
}

}  // namespace

TEST_F(RendererTest, RefreshSkinIsIdempotentAndWritesOnlyTheComposedBlock) {
    const QImage before = renderer.windowPicture().copy();
    renderer.RefreshSkin();
    const QImage once = renderer.windowPicture().copy();
    EXPECT_EQ(diffOutside(before, once, kComposed), "");
    EXPECT_NE(once, before) << "the wings must have been drawn";
    renderer.RefreshSkin();
    EXPECT_EQ(renderer.windowPicture(), once);
    EXPECT_EQ(shows, 2);
}

// A hidden window's renderer forgets its decoded pictures; drawing reads them again, the same.
TEST_F(RendererTest, PicturesForgottenWhileHiddenAreReadAgainTheSame) {
    renderer.DrawAllPanels();
    const QImage drawn = renderer.windowPicture().copy();
    ASSERT_GT(renderer.pictures().cachedPictures(), 0u);
    renderer.ForgetPictures();
    EXPECT_EQ(renderer.pictures().cachedPictures(), 0u);
    renderer.DrawAllPanels();
    EXPECT_EQ(renderer.windowPicture(), drawn);
    EXPECT_GT(renderer.pictures().cachedPictures(), 0u);
}

// A hidden window's surfaces are packed. Side by side with a renderer that never packs, one
// packed before every drawing shows the same mainback, mainba2, skin and blcd at every step: from
// the start, when the first three share the skin's pixels, and a mainback drawn on while mainba2
// still shares them, through wing slides that read the skin.
TEST_F(RendererTest, PackedSurfacesDrawAndReadAsIfNeverPacked) {
    VirtualTime packedTime;
    SkinRenderer packed(state, skin.dir(), packedTime, nullptr);
    const std::vector<std::pair<std::string, std::function<void(SkinRenderer&)>>> steps = {
        {"nothing drawn", [](SkinRenderer&) {}},
        {"a readout, on mainback alone",
         [this](SkinRenderer& r) {
             state.readings.shownTemperature[Channel::Cpu] = 47;
             r.DrawTempReadout(Channel::Cpu);
         }},
        {"every panel", [](SkinRenderer& r) { r.DrawAllPanels(); }},
        {"the link lamp", [](SkinRenderer& r) { r.ShowLinkState(true); }},
        {"a wing opening",
         [](SkinRenderer& r) { r.AnimateWing(geo::WingId::LowerLeft, kWingOpening); }},
        {"the skin refreshed",
         [this](SkinRenderer& r) {
             state.ui.lowerLeftWingOpen = true;
             r.RefreshSkin();
         }},
        {"the clock", [](SkinRenderer& r) { r.DrawClockPanel(); }},
    };
    for (const auto& [what, draw] : steps) {
        packed.PackSurfaces();
        ASSERT_TRUE(packed.surfacesPacked()) << what;
        EXPECT_FALSE(packed.windowPicture().isNull()) << what;
        EXPECT_FALSE(packed.surfacesPacked()) << what << ": reading unpacks";
        packed.PackSurfaces();
        draw(packed);
        draw(renderer);
        EXPECT_EQ(packed.windowPicture(), renderer.windowPicture()) << what;
        EXPECT_EQ(packed.composition(), renderer.composition()) << what;
        EXPECT_EQ(packed.skinPicture(), renderer.skinPicture()) << what;
        EXPECT_EQ(packed.lcdPicture(), renderer.lcdPicture()) << what;
        // Surfaces that shared their pixels still do after unpacking: no copy is made of them.
        const auto sharing = [](const SkinRenderer& r) {
            const auto same = [](const QImage& a, const QImage& b) {
                return a.constBits() == b.constBits();
            };
            return std::tuple(same(r.windowPicture(), r.skinPicture()),
                              same(r.composition(), r.skinPicture()),
                              same(r.composition(), r.windowPicture()));
        };
        packed.PackSurfaces();
        EXPECT_EQ(sharing(packed), sharing(renderer)) << what;
    }
}

TEST_F(RendererTest, RefreshSkinLaysWingsButtonsAndCentreOverTheLcd) {
    state.ui.lowerLeftWingOpen = true;
    renderer.ShowFanIcon(Channel::Cpu);
    renderer.RefreshSkin();
    for (const Slide& s : kSlides) {
        const bool open = s.wing == geo::WingId::LowerLeft;
        const QPoint at = open ? s.open : s.closed;
        EXPECT_EQ(renderer.windowPicture().pixel(at + QPoint(50, 50)), colour(s.picture))
            << s.picture;
        EXPECT_EQ(renderer.windowPicture().pixel(buttonMiddle(s)),
                  colour(open ? s.buttonOpen : s.buttonClosed))
            << s.picture;
    }
    EXPECT_EQ(renderer.windowPicture().pixel(207 + 22, 204 + 23), colour("cen.bmp"));
    EXPECT_EQ(fillMismatch(renderer.windowPicture(), QRect(132, 233, 24, 9), colour("fcpu.bmp")),
              "")
        << "the uncovered LCD shows its fan icon at its window place";
    EXPECT_EQ(renderer.windowPicture().pixel(122 + 106, 119 + 31),
              SyntheticSkin::blcdPixel(106, 31))
        << "the seam between the closed wings shows the LCD";
}

TEST_F(RendererTest, WingSlidesRunTheirFramesPacedAndEndInTheNewState) {
    for (const Slide& s : kSlides) {
        for (int direction : {kWingOpening, kWingClosing}) {
            const QRect block = s.screenBlock.intersected(kComposed);
            const bool opening = direction == kWingOpening;
            const QPoint from = opening ? s.closed : s.open, to = opening ? s.open : s.closed;
            const QPoint step = (to - from) / (s.frames - 1);
            QImage start;
            std::vector<QPoint> seen;
            bool recording = false;
            std::string stray;
            VirtualTime slideTime;
            SkinRenderer slider(state, skin.dir(), slideTime, [&](const QRect&) {
                if (!recording) return;
                seen.push_back(spriteAt(slider.composition(), colour(s.picture), kComposed));
                if (stray.empty()) stray = diffOutside(start, slider.windowPicture(), block);
            });
            slider.RefreshSkin();
            start = slider.windowPicture().copy();
            recording = true;

            slider.AnimateWing(s.wing, direction);
            ASSERT_EQ(seen.size(), static_cast<std::size_t>(s.frames)) << s.picture;
            for (int i = 0; i < s.frames; ++i)
                EXPECT_EQ(seen[i], from + i * step) << s.picture << " frame " << i;
            EXPECT_EQ(stray, "") << s.picture << ": a frame wrote outside its block";
            EXPECT_EQ(slideTime.waits(), s.frames - 1);
            EXPECT_NEAR(slideTime.totalWaitSeconds(), (s.frames - 1) * 0.008, 1e-9);
            EXPECT_EQ(slider.windowPicture().pixel(buttonMiddle(s)),
                      colour(opening ? s.buttonOpen : s.buttonClosed));
            EXPECT_EQ(slider.windowPicture().pixel(to + QPoint(50, 50)), colour(s.picture));
        }
    }
}

TEST_F(RendererTest, SlideInAnUnknownDirectionDrawsNothing) {
    renderer.RefreshSkin();
    const QImage back = renderer.windowPicture().copy(), buffer = renderer.composition().copy();
    const int before = shows;
    for (int direction : {2, -1}) renderer.AnimateWing(geo::WingId::UpperRight, direction);
    EXPECT_EQ(shows, before);
    EXPECT_EQ(time.waits(), 0);
    EXPECT_EQ(renderer.windowPicture(), back);
    EXPECT_EQ(renderer.composition(), buffer);
}

TEST_F(RendererTest, FirstFullDrawComposesEveryPanelWithTheWingsClosed) {
    state.ui.upperLeftWingOpen = state.ui.lowerRightWingOpen = true;
    state.poll.internetLinked = true;
    state.readings.shownTemperature[Channel::Case] = 33;
    state.panel.present = false;
    state.host.masterVolume = 60;
    renderer.DrawAllPanels();
    EXPECT_FALSE(state.ui.upperLeftWingOpen || state.ui.lowerLeftWingOpen ||
                 state.ui.upperRightWingOpen || state.ui.lowerRightWingOpen);
    EXPECT_EQ(state.ui.knobY, 163) << "the knob drawn for 60 %";
    EXPECT_EQ(renderer.windowPicture().pixel(494, 289), colour("linkon.bmp"));
    EXPECT_EQ(renderer.windowPicture().pixel(443, 224), colour("scase.bmp"));
    EXPECT_EQ(renderer.windowPicture().pixel(474 + 24, 224 + 1),
              colour("shddba.bmp") | colour("s3.bmp"));
    for (const Slide& s : kSlides)
        EXPECT_EQ(renderer.windowPicture().pixel(s.closed + QPoint(50, 50)), colour(s.picture));
    const QImage drawn = renderer.windowPicture().copy();
    const int showsSoFar = shows;
    renderer.RefreshSkin();
    EXPECT_EQ(renderer.windowPicture(), drawn);
    EXPECT_EQ(showsSoFar, 1) << "the first full draw shows the window once, at its end";
}

TEST_F(RendererTest, PollHooksDrawThroughTheRenderer) {
    int checks = 0;
    RendererPollHooks hooks(renderer, [&] { ++checks; });
    state.readings.shownFanSpeed[Channel::Hdd] = 1800;
    hooks.drawFanReadout(Channel::Hdd);
    EXPECT_EQ(renderer.windowPicture().pixel(518 + 6, 196 + 1),
              colour("scasefba.bmp") | colour("s1.bmp"));
    state.readings.shownTemperature[Channel::Vga] = 61;
    hooks.drawTempReadout(Channel::Vga);
    EXPECT_EQ(renderer.windowPicture().pixel(474 + 18, 210 + 1),
              colour("svgaba.bmp") | colour("s6.bmp"));
    EXPECT_EQ(shows, 0);
    hooks.refreshWindow();
    state.poll.shownMinute = "23:59";
    hooks.drawClockPanel();
    EXPECT_EQ(renderer.windowPicture().pixel(468 + 36, 161), colour("stba.bmp") | colour("m9.bmp"));
    EXPECT_EQ(shows, 2);
    hooks.checkInternet();
    EXPECT_EQ(checks, 1);
    RendererPollHooks withoutProbe(renderer, {});
    EXPECT_NO_THROW(withoutProbe.checkInternet());
}

TEST_F(RendererTest, PollHooksDrawNothingWhileHiddenAndCatchUpWhenShown) {
    RendererPollHooks hooks(renderer, {});
    const QImage before = renderer.windowPicture().copy();
    hooks.setHidden(true);
    state.readings.shownFanSpeed[Channel::Hdd] = 1800;
    state.readings.shownTemperature[Channel::Vga] = 61;
    state.poll.shownMinute = "23:59";
    hooks.drawFanReadout(Channel::Hdd);
    hooks.drawTempReadout(Channel::Vga);
    hooks.drawClockPanel();
    hooks.refreshWindow();
    EXPECT_EQ(shows, 0) << "nothing shown while hidden";
    EXPECT_EQ(renderer.windowPicture(), before) << "nothing drawn while hidden";

    hooks.setHidden(false);  // everything the poll left undrawn, now
    EXPECT_EQ(renderer.windowPicture().pixel(518 + 6, 196 + 1),
              colour("scasefba.bmp") | colour("s1.bmp"));
    EXPECT_EQ(renderer.windowPicture().pixel(474 + 18, 210 + 1),
              colour("svgaba.bmp") | colour("s6.bmp"));
    EXPECT_EQ(renderer.windowPicture().pixel(468 + 36, 161), colour("stba.bmp") | colour("m9.bmp"));
    EXPECT_EQ(shows, 1);
    hooks.setHidden(true);
    hooks.setHidden(false);
    EXPECT_EQ(shows, 1) << "hidden without a poll: nothing to catch up";
}

}  // namespace kestrelon::test

// SPDX-License-Identifier: GPL-3.0-or-later
// Skin pictures from arbitrary bytes, loaded as the renderer loads them (a BMP file decoded to
// 32-bit RGB), then outlined as the window's shape and drawn with the raster primitives.
#include <QImage>
#include <QImageReader>
#include <QRect>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_qt.h"
#include "skin/picture_store.h"
#include "skin/raster.h"
#include "skin/window_shape.h"

namespace {

using namespace kestrelon;

constexpr QRgb kBackground = 0xFF123456u;
constexpr int kLargestSkinPixels = 660 * 441;

// Every pixel of `after` outside `changed` is still the background.
bool OnlyInside(const QImage& after, const QRect& changed) {
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (!changed.contains(x, y) && after.pixel(x, y) != kBackground) return false;
    return true;
}

// The outline's runs lie inside the picture, one row after the other, never empty.
void CheckOutline(const QImage& picture) {
    const std::vector<RegionRun> runs = MakeRegionFromMask(picture);
    fuzz::NoteOutcome(4, fuzz::SizeClass(static_cast<int>(runs.size())));
    int lastTop = -1, lastRight = -1;
    for (const RegionRun& r : runs) {
        FUZZ_CHECK(r.left >= 0 && r.left < r.right && r.right <= picture.width(),
                   "a run is a non-empty part of its row");
        FUZZ_CHECK(r.top >= 0 && r.top < picture.height() && r.bottom == r.top + 1,
                   "a run lies on one row of the picture");
        FUZZ_CHECK(r.top > lastTop || (r.top == lastTop && r.left > lastRight),
                   "runs come row by row, left to right, apart");
        lastTop = r.top;
        lastRight = r.right;
    }
    FUZZ_CHECK(picture.rect().contains(RegionFromRuns(runs).boundingRect()) || runs.empty(),
               "the window's shape lies inside the picture");
    const QImage shaped = WithOutlineAlpha(picture, runs);
    FUZZ_CHECK(shaped.size() == picture.size(), "the shaped picture keeps its size");
}

// Drawn anywhere on a small surface, a picture changes only the pixels it covers.
void CheckDrawing(const QImage& picture) {
    const QRgb seed = picture.pixel(0, 0);
    const int x = static_cast<int>(seed % 97) - 48;
    const int y = static_cast<int>((seed >> 8) % 73) - 36;
    const QRect covered = QRect(QPoint(x, y), picture.size());

    QImage surface(48, 36, QImage::Format_RGB32);
    surface.fill(kBackground);
    BlitPicture(surface, picture, x, y);
    FUZZ_CHECK(OnlyInside(surface, covered), "a picture drawn clipped stays in its place");

    surface.fill(kBackground);
    const QImage mask = picture.copy(0, 0, (picture.width() + 1) / 2, (picture.height() + 1) / 2);
    NoBlinkDraw(surface, picture, mask, x, y);
    FUZZ_CHECK(OnlyInside(surface, covered), "a masked sprite drawn clipped stays in its place");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::StartQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::MemoryFile file("picture.bmp");
    file.replace(data, size);
    {
        QImageReader header(QString::fromStdString(file.path().string()), "bmp");
        fuzz::NoteOutcome(0, static_cast<size_t>(header.imageFormat()));
    }
    std::string why;
    const std::optional<QImage> picture = decodePicture(file.path(), &why);
    if (!picture) {
        FUZZ_CHECK(!why.empty(), "a picture that does not load says why");
        fuzz::NoteOutcome(1, fuzz::TextClass(QString::fromStdString(why)));
        return 0;
    }
    FUZZ_CHECK(!picture->isNull() && picture->format() == QImage::Format_RGB32,
               "a loaded picture is 32-bit RGB");
    fuzz::NoteOutcome(2, fuzz::SizeClass(picture->width()));
    fuzz::NoteOutcome(3, fuzz::SizeClass(picture->height()));
    // The window's picture is the largest the skin has; outlining larger ones only costs time.
    if (picture->width() * picture->height() <= kLargestSkinPixels) CheckOutline(*picture);
    CheckDrawing(*picture);
    return 0;
}

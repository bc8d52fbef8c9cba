// SPDX-License-Identifier: GPL-3.0-or-later
// Window outline from the key colour: one pass over the rows, then one banded region.
#include "skin/window_shape.h"

#include <QRect>
#include <algorithm>

#include "skin/raster.h"

namespace kestrelon {

std::vector<RegionRun> MakeRegionFromMask(const QImage& surface) {
    std::vector<RegionRun> runs;
    const QImage image = asRgb32(surface);
    if (image.isNull()) return runs;
    const int w = image.width();
    const int h = image.height();
    constexpr QRgb kColour = 0x00FFFFFFu;  // the three channels; alpha never counts
    const QRgb key = reinterpret_cast<const QRgb*>(image.constScanLine(0))[0] & kColour;
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int start = -1;
        for (int x = 0; x < w; ++x) {
            const bool inside = (row[x] & kColour) != key;
            if (inside && start < 0) {
                start = x;
            } else if (!inside && start >= 0) {
                runs.push_back({start, y, x, y + 1});
                start = -1;
            }
        }
        if (start >= 0) runs.push_back({start, y, w, y + 1});
    }
    return runs;
}

QRegion RegionFromRuns(const std::vector<RegionRun>& runs) {
    QRegion region;
    if (runs.empty()) return region;
    // Runs of one row never touch and rows come in order, so they already form the y-x sorted
    // bands the region takes as they are.
    std::vector<QRect> rects;
    rects.reserve(runs.size());
    for (const RegionRun& r : runs)
        rects.emplace_back(r.left, r.top, r.right - r.left, r.bottom - r.top);
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

QImage WithOutlineAlpha(const QImage& image, const std::vector<RegionRun>& runs) {
    QImage out(image.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    const QImage source = asRgb32(image);
    for (const RegionRun& r : runs) {
        if (r.top < 0 || r.top >= out.height()) continue;
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(r.top));
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(r.top));
        for (int x = std::max(r.left, 0); x < std::min(r.right, out.width()); ++x)
            to[x] = from[x] | 0xFF000000u;
    }
    return out;
}

}  // namespace kestrelon

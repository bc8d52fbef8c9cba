// SPDX-License-Identifier: GPL-3.0-or-later
// Raster primitives: per-pixel copy, AND and OR on 32-bit RGB rows with edge clipping.
#include "skin/raster.h"

#include <algorithm>
#include <cstdint>

namespace kestrelon {

namespace {

// The part of a w x h source placed at (x, y) that lands inside the target.
struct Span {
    int tx = 0, ty = 0;  // first target pixel
    int sx = 0, sy = 0;  // matching source pixel
    int w = 0, h = 0;
    bool empty() const { return w <= 0 || h <= 0; }
};

Span clipTo(const QImage& target, int x, int y, int w, int h) {
    const long long x0 = std::max<long long>(x, 0);
    const long long y0 = std::max<long long>(y, 0);
    const long long x1 = std::min<long long>(static_cast<long long>(x) + w, target.width());
    const long long y1 = std::min<long long>(static_cast<long long>(y) + h, target.height());
    Span s;
    if (x1 <= x0 || y1 <= y0) return s;
    s.tx = static_cast<int>(x0);
    s.ty = static_cast<int>(y0);
    s.sx = static_cast<int>(x0 - x);
    s.sy = static_cast<int>(y0 - y);
    s.w = static_cast<int>(x1 - x0);
    s.h = static_cast<int>(y1 - y0);
    return s;
}

QRgb* row(QImage& image, int y) {
    return reinterpret_cast<QRgb*>(image.scanLine(y));
}
const QRgb* row(const QImage& image, int y) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

bool is32Bit(const QImage& image) {
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
}

// Per-pixel combination of target, source and mask over the clipped span. The mask is read at
// source coordinates; outside it the mask value is all ones.
template <typename Op>
void combine(QImage& target, const QImage& source, const QImage* mask, int x, int y, Op op) {
    if (target.isNull() || source.isNull() || !is32Bit(target)) return;
    const QImage src = asRgb32(source);
    const QImage msk = mask ? asRgb32(*mask) : QImage();
    const Span s = clipTo(target, x, y, src.width(), src.height());
    if (s.empty()) return;
    for (int j = 0; j < s.h; ++j) {
        QRgb* t = row(target, s.ty + j) + s.tx;
        const QRgb* p = row(src, s.sy + j) + s.sx;
        const int my = s.sy + j;
        const QRgb* m = (!msk.isNull() && my < msk.height()) ? row(msk, my) : nullptr;
        const int mw = m ? msk.width() : 0;
        for (int i = 0; i < s.w; ++i) {
            const int mx = s.sx + i;
            const QRgb mv = mx < mw ? m[mx] : 0xFFFFFFFFu;
            t[i] = op(t[i], p[i], mv);
        }
    }
}

}  // namespace

QImage asRgb32(const QImage& picture) {
    if (picture.isNull() || picture.format() == QImage::Format_RGB32) return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

void BlitPicture(QImage& target, const QImage& picture, int x, int y) {
    if (target.isNull() || picture.isNull() || !is32Bit(target)) return;
    const QImage src = asRgb32(picture);
    const Span s = clipTo(target, x, y, src.width(), src.height());
    if (s.empty()) return;
    for (int j = 0; j < s.h; ++j)
        std::copy_n(row(src, s.sy + j) + s.sx, s.w, row(target, s.ty + j) + s.tx);
}

void BlitDigit(QImage& target, const QImage& glyph, const QImage& mask, int x, int y) {
    combine(target, glyph, &mask, x, y, [](QRgb t, QRgb g, QRgb m) { return (t & m) | g; });
}

void NoBlinkDraw(QImage& target, const QImage& picture, const QImage& mask, int left, int top) {
    combine(target, picture, &mask, left, top, [](QRgb t, QRgb p, QRgb m) { return (t & m) | p; });
}

void CopyBlock(QImage& target, const QImage& source, const QRect& block) {
    if (target.isNull() || source.isNull() || !is32Bit(target)) return;
    const QImage src = asRgb32(source);
    const QRect r = block.intersected(src.rect()).intersected(target.rect());
    if (r.isEmpty()) return;
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::copy_n(row(src, y) + r.left(), r.width(), row(target, y) + r.left());
}

void FillBox(QImage& target, QPoint corner0, QPoint corner1, QRgb colour) {
    if (target.isNull() || !is32Bit(target)) return;
    const QRect box =
        QRect(QPoint(std::min(corner0.x(), corner1.x()), std::min(corner0.y(), corner1.y())),
              QPoint(std::max(corner0.x(), corner1.x()), std::max(corner0.y(), corner1.y())))
            .intersected(target.rect());
    if (box.isEmpty()) return;
    for (int y = box.top(); y <= box.bottom(); ++y)
        std::fill_n(row(target, y) + box.left(), box.width(), colour);
}

void FillDisc(QImage& target, QPoint centre, int radius, QRgb colour) {
    if (target.isNull() || !is32Bit(target) || radius < 0) return;
    const long long limit = static_cast<long long>(radius) * radius + radius;
    for (int dy = -radius; dy <= radius; ++dy) {
        const int y = centre.y() + dy;
        if (y < 0 || y >= target.height()) continue;
        QRgb* r = row(target, y);
        for (int dx = -radius; dx <= radius; ++dx) {
            const int x = centre.x() + dx;
            if (x < 0 || x >= target.width()) continue;
            if (static_cast<long long>(dx) * dx + static_cast<long long>(dy) * dy <= limit)
                r[x] = colour;
        }
    }
}

}  // namespace kestrelon

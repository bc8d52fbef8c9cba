// SPDX-License-Identifier: GPL-3.0-or-later
// Binary shapes and their exact Euclidean distance fields.
#include "tools/skingen/mask.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrelon::skingen {

namespace {

constexpr double kFar = 1e10;  // beyond any squared distance on a skin, small enough for doubles

// One-dimensional squared distance transform of a sampled function (lower envelope of
// parabolas): d[q] = min over p of (q - p)^2 + f[p].
void transform1d(const double* f, double* d, int n, int stride, std::vector<int>& v,
                 std::vector<double>& z) {
    auto cut = [&](int q, int p) {
        return ((f[q * stride] + double(q) * q) - (f[p * stride] + double(p) * p)) /
               (2.0 * (q - p));
    };
    int k = 0;
    v[0] = 0;
    z[0] = -std::numeric_limits<double>::infinity();
    z[1] = std::numeric_limits<double>::infinity();
    for (int q = 1; q < n; ++q) {
        double s = cut(q, v[k]);
        while (s <= z[k]) s = cut(q, v[--k]);
        ++k;
        v[k] = q;
        z[k] = s;
        z[k + 1] = std::numeric_limits<double>::infinity();
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[k + 1] < q) ++k;
        const int p = v[k];
        d[q * stride] = double(q - p) * (q - p) + f[p * stride];
    }
}

// Squared distance from every pixel to the nearest pixel whose mask value is `seedValue`.
std::vector<double> squaredDistanceTo(const Mask& m, bool seedValue) {
    const int w = m.width(), h = m.height();
    std::vector<double> f(std::size_t(w) * h), d(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) f[std::size_t(y) * w + x] = m.at(x, y) == seedValue ? 0 : kFar;
    const int n = std::max(w, h);
    std::vector<int> v(n + 1);
    std::vector<double> z(n + 2);
    for (int x = 0; x < w; ++x) transform1d(&f[x], &d[x], h, w, v, z);
    for (int y = 0; y < h; ++y)
        transform1d(&d[std::size_t(y) * w], &f[std::size_t(y) * w], w, 1, v, z);
    return f;
}

}  // namespace

Mask Mask::fromPath(const QPainterPath& path, int width, int height) {
    QImage cover(width, height, QImage::Format_Grayscale8);
    cover.fill(0);
    {
        QPainter p(&cover);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(path, Qt::white);
    }
    Mask m(width, height);
    m.coverage_.resize(std::size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const uchar* row = cover.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            m.coverage_[std::size_t(y) * width + x] = row[x] / 255.0f;
            m.set(x, y, row[x] >= 128);
        }
    }
    return m;
}

float Mask::coverage(int x, int y) const {
    if (!at(x, y)) return 0;
    if (coverage_.empty()) return 1;
    return std::max(coverage_[std::size_t(y) * w_ + x], 0.5f);
}

Mask Mask::united(const Mask& other) const {
    Mask m(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) m.set(x, y, at(x, y) || other.at(x, y));
    return m;
}

Mask Mask::subtracted(const Mask& other) const {
    Mask m(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) m.set(x, y, at(x, y) && !other.at(x, y));
    return m;
}

Mask Mask::intersected(const Mask& other) const {
    Mask m(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) m.set(x, y, at(x, y) && other.at(x, y));
    return m;
}

Mask Mask::inverted() const {
    Mask m(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) m.set(x, y, !at(x, y));
    return m;
}

Mask Mask::grown(float radius) const {
    const bool grow = radius > 0;
    const float r2 = radius * radius;
    const std::vector<double> d = squaredDistanceTo(*this, grow);
    Mask m(w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            const double v = d[std::size_t(y) * w_ + x];
            m.set(x, y, grow ? v <= r2 : v > r2);
        }
    return m;
}

Mask Mask::closed(float radius) const {
    return grown(radius).grown(-radius);
}

Mask Mask::opened(float radius) const {
    return grown(-radius).grown(radius);
}

bool Mask::containsRect(const QRect& rect) const {
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (!at(x, y)) return false;
    return true;
}

std::vector<float> depthField(const Mask& mask) {
    const std::vector<double> d = squaredDistanceTo(mask, false);
    std::vector<float> depth(d.size());
    for (std::size_t i = 0; i < d.size(); ++i) depth[i] = float(std::sqrt(std::min(d[i], kFar)));
    return depth;
}

}  // namespace kestrelon::skingen

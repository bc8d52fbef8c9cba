// SPDX-License-Identifier: GPL-3.0-or-later
// Brushed metal, bevels, outlines and the cut to the window outline.
#include "tools/skingen/shading.h"

#include <algorithm>
#include <cmath>

#include "tools/skingen/noise.h"

namespace kestrelon::skingen {

namespace {

int clampByte(float v) {
    return std::clamp(int(std::lround(v)), 0, 255);
}

// Direction the light comes from (unit vector, pointing from the surface towards the light).
constexpr float kLightX = -0.5f, kLightY = -0.866f;

}  // namespace

QRgb shadedRgb(QRgb c, float amount) {
    const float t = std::clamp(amount, -1.0f, 1.0f);
    auto ch = [&](int v) { return t >= 0 ? clampByte(v + (255 - v) * t) : clampByte(v * (1 + t)); };
    return qRgb(ch(qRed(c)), ch(qGreen(c)), ch(qBlue(c)));
}

QColor shaded(const QColor& c, float amount) {
    return QColor(shadedRgb(c.rgb(), amount));
}

QColor mixed(const QColor& a, const QColor& b, float t) {
    return QColor(clampByte(a.red() + (b.red() - a.red()) * t),
                  clampByte(a.green() + (b.green() - a.green()) * t),
                  clampByte(a.blue() + (b.blue() - a.blue()) * t));
}

void fillBrushed(QImage& img, const Mask& where, const MetalFinish& f) {
    const int w = img.width(), h = img.height();
    const std::vector<float> streaks =
        f.vertical ? brushedStreaks(h, w, f.seed) : brushedStreaks(w, h, f.seed);
    auto streak = [&](int x, int y) {
        return f.vertical ? streaks[std::size_t(x) * h + y] : streaks[std::size_t(y) * w + x];
    };
    int top = h, bottom = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (where.at(x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    const float span = std::max(1, bottom - top);
    for (int y = top; y <= bottom; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const float fall = f.fall * (0.5f - float(y - top) / span);
        for (int x = 0; x < w; ++x) {
            if (!where.at(x, y)) continue;
            const float g = streak(x, y) * f.grain;
            const QColor c = shaded(f.base, fall);
            line[x] = qRgb(clampByte(c.red() + g), clampByte(c.green() + g),
                           clampByte(c.blue() + g * 1.1f));
        }
    }
}

void fillSpun(QImage& img, const Mask& where, QPointF centre, const MetalFinish& f) {
    const int radius = int(std::ceil(std::hypot(img.width(), img.height())));
    const std::vector<float> rings = brushedStreaks(radius + 1, 1, f.seed);
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (!where.at(x, y)) continue;
            const float dx = x + 0.5f - centre.x(), dy = y + 0.5f - centre.y();
            const float r = std::hypot(dx, dy);
            const float g = rings[std::min(int(r * 3), radius)] * f.grain;
            // A spun finish catches the light in a soft cross along the light's axis.
            const float angle = std::atan2(dy, dx);
            const float sheen = f.fall * std::cos(2 * (angle - std::atan2(kLightY, kLightX)));
            const QColor c = shaded(f.base, sheen);
            line[x] = qRgb(clampByte(c.red() + g), clampByte(c.green() + g),
                           clampByte(c.blue() + g * 1.1f));
        }
    }
}

void applyBevel(QImage& img, const Mask& shape, const Bevel& b) {
    const std::vector<float> depth = depthField(shape);
    const int w = img.width(), h = img.height();
    auto d = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h) return 0.0f;
        return std::min(depth[std::size_t(y) * w + x], b.width + 2);
    };
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const float here = d(x, y);
            if (here <= 0 || here > b.width + 0.5f) continue;
            float gx = (d(x + 1, y) - d(x - 1, y)) * 0.5f, gy = (d(x, y + 1) - d(x, y - 1)) * 0.5f;
            // Smooth the gradient with the diagonal neighbours.
            gx += (d(x + 1, y - 1) - d(x - 1, y - 1) + d(x + 1, y + 1) - d(x - 1, y + 1)) * 0.25f;
            gy += (d(x - 1, y + 1) - d(x - 1, y - 1) + d(x + 1, y + 1) - d(x + 1, y - 1)) * 0.25f;
            const float len = std::hypot(gx, gy);
            if (len < 1e-3f) continue;
            // The slope faces away from the inside: outward normal = -gradient.
            float facing = (-gx * kLightX - gy * kLightY) / len;
            if (b.sunken) facing = -facing;
            const float t = std::clamp((here - 0.5f) / b.width, 0.0f, 1.0f);
            const float slope = std::sqrt(1.0f - t);  // steep at the rim, flat inside
            const float amount = facing * slope * (facing > 0 ? b.light : b.shade);
            line[x] = shadedRgb(line[x], amount);
        }
    }
}

void applyOutline(QImage& img, const Mask& shape, const QColor& edge, float strength) {
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (!shape.onEdge(x, y)) continue;
            const float t = strength + (1 - strength) * (1 - shape.coverage(x, y)) * 2;
            line[x] = mixed(QColor(line[x]), edge, std::min(t, 1.0f)).rgb();
        }
    }
}

void applyInnerShadow(QImage& img, const Mask& shape, float depth, float strength) {
    // March from each pixel towards the light: the sooner the rim is met, the darker the pixel.
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (!shape.at(x, y)) continue;
            float k = 1;
            while (k < depth &&
                   shape.at(int(std::lround(x + kLightX * k)), int(std::lround(y + kLightY * k))))
                k += 1;
            if (k >= depth) continue;
            const float t = 1 - (k - 1) / depth;
            line[x] = shadedRgb(line[x], -strength * t * t);
        }
    }
}

void cutToOutline(QImage& img, const Mask& shape, const QColor& key) {
    const QRgb k = key.rgb() | 0xff000000u;
    const QRgb nearKey = qRgb(std::max(key.red() - 1, 0), key.green(), key.blue());
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (!shape.at(x, y))
                line[x] = k;
            else if ((line[x] | 0xff000000u) == k)
                line[x] = nearKey;
        }
    }
}

}  // namespace kestrelon::skingen

// SPDX-License-Identifier: GPL-3.0-or-later
// The wing names and the web key read at a glance on the window as shown: letters of full size,
// one piece each, and sharply brighter (or darker) than the ground right around them.
#include <gtest/gtest.h>

#include <QPoint>
#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/tools/skin_dir.h"

namespace kestrelon {
namespace {

// Relative luminance of an sRGB colour, 0..1, as contrast ratios use it.
double relativeLuminance(QRgb c) {
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(qRed(c)) + 0.7152 * lin(qGreen(c)) + 0.0722 * lin(qBlue(c));
}
double contrastRatio(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The text in a rectangle: the pixels nearly as far from the rectangle's median brightness as the
// extreme, on its side, and the ground touching them.
struct Text {
    QRect box;
    int pieces = 0;      // 8-connected groups of ink
    double weakest = 0;  // contrast of the faintest ink pixel with the strongest ground pixel
};

Text findText(const QImage& img, const QRect& r) {
    std::vector<double> lum;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            lum.push_back(skintest::luminance(img.pixel(x, y)));
    std::vector<double> sorted = lum;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const double median = sorted[sorted.size() / 2];
    double up = 0, down = 0;
    for (double l : lum) up = std::max(up, l - median), down = std::max(down, median - l);
    // Ink lies within a quarter of the range from the extreme: lit rims and grain stay ground, and
    // blurred letter edges fall into the ground where the contrast below finds them.
    const double sign = up >= down ? 1 : -1, cut = std::max(up, down) * 3 / 4;

    Text t;
    std::vector<QPoint> ink;
    std::vector<std::vector<char>> isInk(r.height(), std::vector<char>(r.width(), 0));
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x)
            if ((lum[y * r.width() + x] - median) * sign > cut) {
                isInk[y][x] = 1;
                ink.push_back(r.topLeft() + QPoint(x, y));
                t.box |= QRect(r.topLeft() + QPoint(x, y), QSize(1, 1));
            }
    auto inkAt = [&](QPoint p) {
        const QPoint q = p - r.topLeft();
        return r.contains(p) && isInk[q.y()][q.x()] != 0;
    };

    // Pieces by flood fill; the ground is every non-ink pixel touching ink.
    std::vector<std::vector<char>> seen(r.height(), std::vector<char>(r.width(), 0));
    double faintestInk = sign > 0 ? 1 : 0, strongestGround = sign > 0 ? 0 : 1;
    for (const QPoint& start : ink) {
        const double l = relativeLuminance(img.pixel(start));
        faintestInk = sign > 0 ? std::min(faintestInk, l) : std::max(faintestInk, l);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint n = start + QPoint(dx, dy);
                if (inkAt(n) || !img.rect().contains(n)) continue;
                const double g = relativeLuminance(img.pixel(n));
                strongestGround =
                    sign > 0 ? std::max(strongestGround, g) : std::min(strongestGround, g);
            }
        const QPoint s0 = start - r.topLeft();
        if (seen[s0.y()][s0.x()]) continue;
        ++t.pieces;
        std::vector<QPoint> stack{start};
        seen[s0.y()][s0.x()] = 1;
        while (!stack.empty()) {
            const QPoint p = stack.back();
            stack.pop_back();
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const QPoint n = p + QPoint(dx, dy), q = n - r.topLeft();
                    if (!inkAt(n) || seen[q.y()][q.x()]) continue;
                    seen[q.y()][q.x()] = 1;
                    stack.push_back(n);
                }
        }
    }
    t.weakest = contrastRatio(faintestInk, strongestGround);
    return t;
}

// Where each caption is expected: a band across the middle of its wing, clear of the grip slots,
// the corner button and the hub; the web key's bar left of its plate, clear of the rounded end.
QRect wingBand(const geo::Wing& w, bool open) {
    const geo::Point at = open ? w.open : w.closed;
    const QRect wing(QPoint(at.x, at.y), skintest::picture(w.picture).size());
    const QSize band(wing.width() * 16 / 25, 17);
    return QRect(wing.center() - QPoint(band.width() / 2, band.height() / 2), band);
}

QRect webBar() {
    std::vector<QRect> parts;
    for (const auto& c : geo::kClickAreas)
        if (c.control == geo::Control::WebLink) parts.push_back(skintest::rectOf(c.area));
    const QRect bar = parts.at(0).height() < parts.at(1).height() ? parts[0] : parts[1];
    const QRect plate = parts[0] == bar ? parts[1] : parts[0];
    return QRect(QPoint(bar.left() + 4, bar.top() + 2), QPoint(plate.left() - 1, bar.bottom() - 2));
}

TEST(SkinCaptions, WingNamesAndTheWebKeyStandOutInFullSizedSeparateLetters) {
    struct Caption {
        std::string_view word;
        bool wingsOpen;
        QRect where;
    };
    constexpr std::pair<geo::WingId, std::string_view> names[] = {
        {geo::WingId::UpperLeft, "ALARM"},
        {geo::WingId::LowerLeft, "FANS"},
        {geo::WingId::UpperRight, "VOLUME"},
        {geo::WingId::LowerRight, "LIMITS"},
    };
    std::vector<Caption> captions{{"WEB", false, webBar()}};
    for (const auto& w : geo::kWings)
        for (const auto& [id, word] : names)
            if (id == w.id)
                for (bool open : {false, true}) captions.push_back({word, open, wingBand(w, open)});

    const QImage shown[] = {skintest::composedSkin(false), skintest::composedSkin(true)};
    const QRect window(0, 0, geo::kComposedBlock.w, geo::kComposedBlock.h);
    for (const Caption& c : captions) {
        SCOPED_TRACE(std::string(c.word) + (c.wingsOpen ? " (open)" : " (closed)"));
        const Text t = findText(shown[c.wingsOpen], c.where);
        EXPECT_EQ(t.pieces, int(c.word.size())) << "one piece per letter";
        EXPECT_GE(t.box.height(), 7) << "letters too small to read at a glance";
        EXPECT_TRUE(c.where.adjusted(1, 1, -1, -1).contains(t.box)) << "text runs to the edge";
        EXPECT_TRUE(window.contains(t.box)) << "outside the part of the window shown";
        EXPECT_GE(t.weakest, 4.5) << "faint or blurred letter edges";
    }
}

}  // namespace
}  // namespace kestrelon

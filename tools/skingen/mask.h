// SPDX-License-Identifier: GPL-3.0-or-later
// Binary shapes with hard edges: made from anti-aliased paths by a threshold, grown, shrunk and
// measured (distance to the edge) for the bevels.
#pragma once

#include <QPainterPath>
#include <QRect>
#include <cstdint>
#include <vector>

namespace kestrelon::skingen {

class Mask {
public:
    Mask() : Mask(0, 0) {}
    Mask(int width, int height) : w_(width), h_(height), bits_(std::size_t(width) * height, 0) {}

    // Inside where an anti-aliased fill of `path` covers at least half the pixel; `coverage`
    // keeps that fill (0..1) so edge pixels can be shaded by how much of them the shape covers.
    static Mask fromPath(const QPainterPath& path, int width, int height);

    int width() const { return w_; }
    int height() const { return h_; }
    bool at(int x, int y) const {
        return x >= 0 && y >= 0 && x < w_ && y < h_ && bits_[std::size_t(y) * w_ + x];
    }
    void set(int x, int y, bool on) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_) bits_[std::size_t(y) * w_ + x] = on;
    }
    float coverage(int x, int y) const;

    Mask united(const Mask& other) const;
    Mask subtracted(const Mask& other) const;
    Mask intersected(const Mask& other) const;
    Mask inverted() const;
    // Grows (radius > 0) or shrinks (radius < 0) the shape by a disc of that radius.
    Mask grown(float radius) const;
    // Grows then shrinks: fills concave corners with round fillets, keeps convex ones.
    Mask closed(float radius) const;
    // Shrinks then grows: rounds convex corners, keeps concave ones.
    Mask opened(float radius) const;
    bool containsRect(const QRect& rect) const;
    // Pixels of the shape whose 4-neighbour lies outside it.
    bool onEdge(int x, int y) const {
        return at(x, y) && (!at(x - 1, y) || !at(x + 1, y) || !at(x, y - 1) || !at(x, y + 1));
    }

private:
    int w_, h_;
    std::vector<std::uint8_t> bits_;
    std::vector<float> coverage_;  // empty: 1 inside, 0 outside
};

// Euclidean distance from every pixel to the nearest pixel that is NOT in `mask` (0 outside the
// mask, at least 1 inside): how deep a pixel lies in its shape.
std::vector<float> depthField(const Mask& mask);

}  // namespace kestrelon::skingen

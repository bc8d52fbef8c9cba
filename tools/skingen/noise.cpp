// SPDX-License-Identifier: GPL-3.0-or-later
// Deterministic noise and the brushed-metal streak field built from it.
#include "tools/skingen/noise.h"

#include <algorithm>

namespace kestrelon::skingen {

float Noise::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<float>(state_ >> 40) / static_cast<float>(1ull << 23) - 1.0f;
}

namespace {

// Running-mean blur of one row, radius r, clamped at the ends.
void blurRow(std::vector<float>& row, int r) {
    const int n = static_cast<int>(row.size());
    std::vector<float> out(row.size());
    for (int x = 0; x < n; ++x) {
        float sum = 0;
        for (int k = -r; k <= r; ++k) sum += row[std::clamp(x + k, 0, n - 1)];
        out[x] = sum / static_cast<float>(2 * r + 1);
    }
    row.swap(out);
}

}  // namespace

std::vector<float> brushedStreaks(int width, int height, std::uint64_t seed) {
    Noise noise(seed);
    std::vector<float> field(static_cast<std::size_t>(width) * height);
    std::vector<float> row(width);
    for (int y = 0; y < height; ++y) {
        const float rowBias = noise.next() * 0.5f;
        for (float& v : row) v = noise.next();
        blurRow(row, 9);
        blurRow(row, 9);
        for (int x = 0; x < width; ++x)
            field[static_cast<std::size_t>(y) * width + x] =
                std::clamp(row[x] * 3.2f + rowBias + noise.next() * 0.25f, -1.5f, 1.5f);
    }
    return field;
}

}  // namespace kestrelon::skingen

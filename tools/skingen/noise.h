// SPDX-License-Identifier: GPL-3.0-or-later
// Deterministic noise for the metal textures: the skin comes out the same on every build.
#pragma once

#include <cstdint>
#include <vector>

namespace kestrelon::skingen {

// A small xorshift generator; its sequence depends on nothing but the seed.
class Noise {
public:
    explicit Noise(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    // Uniform in [-1, 1].
    float next();

private:
    std::uint64_t state_;
};

// Streaks of a brushed finish: per row, values in about [-1, 1] that vary slowly along x.
std::vector<float> brushedStreaks(int width, int height, std::uint64_t seed);

}  // namespace kestrelon::skingen

// SPDX-License-Identifier: GPL-3.0-or-later
// Synthesis of the click and its RIFF/WAVE wrapping.
#include "tools/skingen/click_sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "tools/skingen/little_endian.h"
#include "tools/skingen/noise.h"

namespace kestrelon::skingen {

QByteArray clickSound() {
    const int n = kClickRate * kClickMillis / 1000;
    std::vector<double> s(n);
    Noise noise(77);
    double low = 0;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kClickRate;
        const double attack = std::min(1.0, t / 0.0008);
        const double release = std::min(1.0, double(n - 1 - i) / (kClickRate * 0.003));
        low += 0.35 * (noise.next() - low);  // one-pole low-pass: a soft, woody noise
        const double tone = std::sin(2 * std::numbers::pi * 1850 * t) * std::exp(-t / 0.005) +
                            0.5 * std::sin(2 * std::numbers::pi * 3100 * t) * std::exp(-t / 0.0025);
        s[i] = (tone + 1.4 * low * std::exp(-t / 0.0018)) * attack * release;
    }
    double peak = 0;
    for (double v : s) peak = std::max(peak, std::abs(v));
    const double gain = peak > 0 ? kClickPeak / peak : 0;

    const quint32 dataBytes = quint32(n * 2);
    QByteArray b;
    b.append("RIFF", 4);
    u32(b, 36 + dataBytes);
    b.append("WAVE", 4);
    b.append("fmt ", 4);
    u32(b, 16);
    u16(b, 1);  // PCM
    u16(b, 1);  // mono
    u32(b, kClickRate);
    u32(b, kClickRate * 2);
    u16(b, 2);
    u16(b, 16);
    b.append("data", 4);
    u32(b, dataBytes);
    for (double v : s) u16(b, quint16(qint16(std::lround(v * gain * 32767))));
    return b;
}

}  // namespace kestrelon::skingen

// SPDX-License-Identifier: GPL-3.0-or-later
// The click sound "nimclick.wav": a short, soft tick synthesised as RIFF/WAVE PCM.
#pragma once

#include <QByteArray>

namespace kestrelon::skingen {

inline constexpr int kClickRate = 44100;
inline constexpr int kClickMillis = 30;
inline constexpr double kClickPeak = 0.3;  // of full scale

// 16-bit mono PCM at kClickRate: a damped tone with a little filtered noise on its attack.
QByteArray clickSound();

}  // namespace kestrelon::skingen

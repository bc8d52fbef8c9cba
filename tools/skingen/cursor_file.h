// SPDX-License-Identifier: GPL-3.0-or-later
// Writes Windows cursor files (.cur): one 32 x 32 image, 32-bit colour with alpha plus the AND
// mask, and its hotspot.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>

namespace kestrelon::skingen {

// `image` must be 32 x 32; any format, alpha kept. The hotspot is stored in the directory entry.
QByteArray cursorFile(const QImage& image, QPoint hotspot);

}  // namespace kestrelon::skingen

// SPDX-License-Identifier: GPL-3.0-or-later
// A picture kept compressed while nothing needs it: the window-sized surfaces of a window that
// stays hidden in the tray for hours. Lossless: it comes back bit for bit.
#pragma once

#include <QByteArray>
#include <QImage>

namespace kestrelon {

struct PackedPicture {
    QByteArray bytes;  // the pixel rows, zlib-compressed
    QSize size;
    QImage::Format format = QImage::Format_Invalid;
    bool againstBase = false;  // the rows were XORed with a base picture's first
};

// A base picture of the same size and format is XORed out first: a surface that differs from it
// in a few places packs to little more than those places, and quickly. The same base is needed
// to unpack it.
// `level` is zlib's, 1 (fastest) to 9 (smallest).
PackedPicture PackPicture(const QImage& picture, const QImage& base = {}, int level = 1);
// The packed picture; a null image when the bytes do not unpack to its size, or when it was
// packed against a base and `base` is not one like it.
QImage UnpackPicture(const PackedPicture& packed, const QImage& base = {});

}  // namespace kestrelon

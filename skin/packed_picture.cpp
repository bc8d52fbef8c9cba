// SPDX-License-Identifier: GPL-3.0-or-later
#include "skin/packed_picture.h"

#include <cstring>

namespace kestrelon {

namespace {

// The fastest zlib level: the surfaces are drawn with large flat areas, which it already shrinks
// about fivefold, and packing runs on the window's thread each time the window hides.
constexpr int kPackLevel = 1;

bool alike(const QImage& a, const QImage& b) {
    return !a.isNull() && a.size() == b.size() && a.format() == b.format() &&
           a.sizeInBytes() == b.sizeInBytes();
}

// picture ^= base, byte for byte over the whole buffer (row padding included).
void XorWith(QImage& picture, const QImage& base) {
    uchar* to = picture.bits();
    const uchar* from = base.constBits();
    for (qsizetype i = 0, n = picture.sizeInBytes(); i < n; ++i) to[i] ^= from[i];
}

}  // namespace

PackedPicture PackPicture(const QImage& picture, const QImage& base) {
    if (picture.isNull()) return {};
    PackedPicture packed{{}, picture.size(), picture.format(), alike(base, picture)};
    if (packed.againstBase) {
        QImage delta = picture.copy();
        XorWith(delta, base);
        packed.bytes = qCompress(delta.constBits(), delta.sizeInBytes(), kPackLevel);
    } else
        packed.bytes = qCompress(picture.constBits(), picture.sizeInBytes(), kPackLevel);
    return packed;
}

QImage UnpackPicture(const PackedPicture& packed, const QImage& base) {
    if (packed.format == QImage::Format_Invalid) return {};
    const QByteArray bytes = qUncompress(packed.bytes);
    QImage picture(packed.size, packed.format);
    if (picture.isNull() || bytes.size() != picture.sizeInBytes()) return {};
    if (packed.againstBase && !alike(base, picture)) return {};
    std::memcpy(picture.bits(), bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (packed.againstBase) XorWith(picture, base);
    return picture;
}

}  // namespace kestrelon

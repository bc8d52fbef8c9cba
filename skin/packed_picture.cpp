// SPDX-License-Identifier: GPL-3.0-or-later
#include "skin/packed_picture.h"

#include <cstring>

namespace kestrelon {

namespace {

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

PackedPicture PackPicture(const QImage& picture, const QImage& base, int level) {
    if (picture.isNull()) return {};
    PackedPicture packed{{}, picture.size(), picture.format(), alike(base, picture)};
    if (packed.againstBase) {
        QImage delta = picture.copy();
        XorWith(delta, base);
        packed.bytes = qCompress(delta.constBits(), delta.sizeInBytes(), level);
    } else
        packed.bytes = qCompress(picture.constBits(), picture.sizeInBytes(), level);
    packed.bytes.squeeze();  // zlib's worst case was set aside: keep only what it took
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

// SPDX-License-Identifier: GPL-3.0-or-later
// The .cur format: ICONDIR (type 2), one ICONDIRENTRY carrying the hotspot, then a DIB of double
// height: BITMAPINFOHEADER, BGRA rows bottom-up, and a 1-bit AND mask (1 = transparent).
#include "tools/skingen/cursor_file.h"

#include "tools/skingen/little_endian.h"

namespace kestrelon::skingen {

QByteArray cursorFile(const QImage& source, QPoint hotspot) {
    const QImage img = source.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width(), h = img.height();
    const int maskStride = ((w + 31) / 32) * 4;
    const quint32 headerSize = 40, pixelBytes = quint32(w * h * 4),
                  maskBytes = quint32(maskStride * h);
    const quint32 imageBytes = headerSize + pixelBytes + maskBytes;

    QByteArray b;
    u16(b, 0);  // reserved
    u16(b, 2);  // cursor
    u16(b, 1);  // one image
    b.append(char(w));
    b.append(char(h));
    b.append(char(0));  // no palette
    b.append(char(0));
    u16(b, quint16(hotspot.x()));
    u16(b, quint16(hotspot.y()));
    u32(b, imageBytes);
    u32(b, 6 + 16);  // the image follows the one directory entry

    u32(b, headerSize);
    u32(b, quint32(w));
    u32(b, quint32(2 * h));  // colour rows and mask rows
    u16(b, 1);
    u16(b, 32);
    u32(b, 0);  // uncompressed
    u32(b, pixelBytes + maskBytes);
    u32(b, 0);
    u32(b, 0);
    u32(b, 0);
    u32(b, 0);

    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const QRgb p = img.pixel(x, y);
            b.append(char(qBlue(p)));
            b.append(char(qGreen(p)));
            b.append(char(qRed(p)));
            b.append(char(qAlpha(p)));
        }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(img.pixel(x, y)) == 0) row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        b.append(row);
    }
    return b;
}

}  // namespace kestrelon::skingen

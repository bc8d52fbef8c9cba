// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer files are real Windows cursors with their hotspots on the drawn shape, and the
// click sound is a short, soft PCM wave.
#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <cmath>

#include "tests/tools/skin_dir.h"

namespace kestrelon {
namespace {

using skintest::skinPath;

QByteArray bytesOf(std::string_view name) {
    QFile f(skinPath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

quint16 u16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}
quint32 u32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

struct Extent {
    int left = 99, right = -1, top = 99, bottom = -1;
};
Extent opaqueExtent(const QImage& img) {
    Extent e;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) >= 128) {
                e.left = std::min(e.left, x);
                e.right = std::max(e.right, x);
                e.top = std::min(e.top, y);
                e.bottom = std::max(e.bottom, y);
            }
    return e;
}

TEST(SkinCursors, AreCursorFilesWithTheHotspotOnTheShape) {
    for (std::string_view name : {"arrow_m.cur", "harrow.cur", "move_r.cur"}) {
        SCOPED_TRACE(std::string(name));
        const QByteArray b = bytesOf(name);
        ASSERT_EQ(b.size(), 4286);
        EXPECT_EQ(u16(b, 0), 0);
        EXPECT_EQ(u16(b, 2), 2) << "type: cursor";
        EXPECT_EQ(u16(b, 4), 1);
        EXPECT_EQ(quint8(b[6]), 32);
        EXPECT_EQ(quint8(b[7]), 32);
        EXPECT_EQ(u32(b, 18), 22u) << "image offset";
        EXPECT_EQ(u32(b, 22), 40u);
        EXPECT_EQ(u32(b, 30), 64u) << "double height: colour and mask";
        EXPECT_EQ(u16(b, 36), 32);
        const QPoint hot(u16(b, 10), u16(b, 12));

        QImageReader reader(skinPath(name), "cur");
        const QImage img = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(img.size(), QSize(32, 32)) << reader.errorString().toStdString();
        // The AND mask marks exactly the transparent pixels.
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const bool maskBit =
                    quint8(b[22 + 40 + 4096 + (31 - y) * 4 + x / 8]) & (0x80 >> (x % 8));
                ASSERT_EQ(maskBit, qAlpha(img.pixel(x, y)) == 0) << x << "," << y;
            }
        int opaqueNearHot = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                opaqueNearHot += img.rect().contains(hot + QPoint(dx, dy)) &&
                                 qAlpha(img.pixel(hot + QPoint(dx, dy))) >= 128;
        EXPECT_GE(opaqueNearHot, 1) << "hotspot off the drawing";

        const Extent e = opaqueExtent(img);
        if (name == "arrow_m.cur") {  // the tip is the top-left extreme
            EXPECT_LE(hot.x() - e.left, 1);
            EXPECT_LE(hot.y() - e.top, 1);
        } else if (name == "harrow.cur") {  // the fingertip is the top
            EXPECT_LE(hot.y() - e.top, 1);
            EXPECT_GT(hot.x(), e.left + 2);
        } else {  // the move cross is centred on its hotspot
            EXPECT_LE(std::abs((hot.x() - e.left) - (e.right - hot.x())), 2);
            EXPECT_LE(std::abs((hot.y() - e.top) - (e.bottom - hot.y())), 2);
        }
    }
}

TEST(SkinSound, ClickIsAShortSoftMonoPcmWave) {
    const QByteArray b = bytesOf("nimclick.wav");
    ASSERT_GE(b.size(), 44);
    EXPECT_EQ(b.left(4), "RIFF");
    EXPECT_EQ(u32(b, 4), quint32(b.size() - 8));
    EXPECT_EQ(b.mid(8, 4), "WAVE");
    EXPECT_EQ(b.mid(12, 4), "fmt ");
    EXPECT_EQ(u16(b, 20), 1) << "PCM";
    EXPECT_EQ(u16(b, 22), 1) << "mono";
    const quint32 rate = u32(b, 24);
    EXPECT_EQ(u32(b, 28), rate * 2);
    EXPECT_EQ(u16(b, 32), 2);
    EXPECT_EQ(u16(b, 34), 16);
    EXPECT_EQ(b.mid(36, 4), "data");
    const quint32 dataBytes = u32(b, 40);
    ASSERT_EQ(dataBytes, quint32(b.size() - 44));
    const int samples = int(dataBytes / 2);
    const double ms = 1000.0 * samples / rate;
    EXPECT_GE(ms, 20);
    EXPECT_LE(ms, 40);
    int peak = 0;
    for (int i = 0; i < samples; ++i)
        peak = std::max(peak, std::abs(int(qint16(u16(b, 44 + 2 * i)))));
    EXPECT_GT(peak, 32767 / 20) << "audible";
    EXPECT_LT(peak, 32767 / 2) << "soft, well below full scale";
    // Starts and ends at rest, so it does not pop.
    EXPECT_LT(std::abs(int(qint16(u16(b, 44)))), 32767 / 50);
    EXPECT_LT(std::abs(int(qint16(u16(b, 44 + 2 * (samples - 1))))), 32767 / 50);
}

}  // namespace
}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// The generated skin is complete: every listed file is there, decodes as the renderer reads it,
// has its fixed size, and the generator rebuilds it identically.
#include "skin/skin_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/tools/skin_dir.h"

namespace kestrelon {
namespace {

using skintest::picture;
using skintest::skinPath;

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(SkinFiles, EveryListedPictureIsATwentyFourBitBmpOfItsSize) {
    for (const SkinFile& entry : skinFiles()) {
        SCOPED_TRACE(entry.name);
        const QByteArray bytes = fileBytes(skinPath(entry.name));
        ASSERT_FALSE(bytes.isEmpty());
        if (!entry.picture) continue;
        ASSERT_GE(bytes.size(), 54);
        EXPECT_EQ(bytes.left(2), "BM");
        EXPECT_EQ(quint8(bytes[28]) | quint8(bytes[29]) << 8, 24) << "bits per pixel";
        const QImage img = picture(entry.name);
        ASSERT_FALSE(img.isNull());
        if (entry.size.w > 0) {
            EXPECT_EQ(img.width(), entry.size.w);
            EXPECT_EQ(img.height(), entry.size.h);
        }
    }
}

TEST(SkinFiles, SpriteMasksArePureBlackAndWhiteAndThePicturesBlackOutside) {
    struct Pair {
        std::string_view picture, mask;
    };
    std::vector<Pair> pairs{{geo::kCentrePicture, geo::kCentreMask}};
    for (const auto& w : geo::kWings) {
        pairs.push_back({w.picture, w.mask});
        pairs.push_back({w.buttonClosed, w.buttonClosedMask});
    }
    for (const Pair& p : pairs) {
        SCOPED_TRACE(std::string(p.picture));
        const QImage pic = picture(p.picture), mask = picture(p.mask);
        ASSERT_EQ(pic.size(), mask.size());
        int shown = 0, hidden = 0;
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x) {
                const QRgb m = mask.pixel(x, y) & 0xffffff;
                ASSERT_TRUE(m == 0 || m == 0xffffff) << "mask pixel " << x << "," << y;
                if (m == 0) {
                    ++shown;
                } else {
                    ++hidden;
                    ASSERT_EQ(pic.pixel(x, y) & 0xffffff, 0u) << "picture pixel " << x << "," << y;
                }
            }
        EXPECT_GT(shown, mask.width() * mask.height() / 2) << "the shape fills most of its picture";
        EXPECT_GT(hidden, 0) << "a sprite with no background showing is a plain rectangle";
    }
}

TEST(SkinFiles, MmaskIsWhiteSoGlyphsAreOredOverTheirBackground) {
    const QImage mmask = picture(geo::kDigitMaskFile);
    for (int y = 0; y < mmask.height(); ++y)
        for (int x = 0; x < mmask.width(); ++x) ASSERT_EQ(mmask.pixel(x, y) & 0xffffff, 0xffffffu);
}

TEST(SkinFiles, GeneratorRedrawsTheSameSkinAndReportsAnUnwritableDirectory) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString generator = QStringLiteral(KESTRELON_BIN_DIR) + "/kestrelon-skingen";
    QProcess run;
    run.start(generator, {tmp.filePath("skin")});
    ASSERT_TRUE(run.waitForFinished(60000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    for (const SkinFile& entry : skinFiles()) {
        SCOPED_TRACE(entry.name);
        const QByteArray again =
            fileBytes(tmp.filePath("skin/" + QString::fromStdString(entry.name)));
        EXPECT_FALSE(again.isEmpty());
        EXPECT_TRUE(again == fileBytes(skinPath(entry.name))) << "differs from the built skin";
    }

    QFile blocker(tmp.filePath("not-a-directory"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QProcess fail;
    fail.start(generator, {blocker.fileName()});
    ASSERT_TRUE(fail.waitForFinished(60000));
    EXPECT_NE(fail.exitCode(), 0);
    EXPECT_TRUE(fail.readAllStandardError().contains("kestrelon: "));
}

}  // namespace
}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// Renderer benchmarks on a synthetic 660 x 441 skin: the window region, RefreshSkin and one
// wing-slide frame (its pause excluded).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QTemporaryDir>
#include <memory>

#include "core/monitor_state.h"
#include "core/timing.h"
#include "skin/wing_slides.h"
#include "skin/geometry.h"
#include "skin/skin_renderer.h"
#include "skin/window_shape.h"

namespace kestrelon {

namespace {

constexpr QRgb kKey = 0xFFFF00FFu;

// A skin outline like the real one: an octagonal body carrying the open wings, a hub, the side
// panel with bevelled grab corners, minimise/close ears on the left, a textured inside.
QImage skinPicture() {
    QImage image(geo::kWindow.w, geo::kWindow.h, QImage::Format_RGB32);
    image.fill(kKey);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 44, 52));
    p.drawPolygon(QPolygon(
        {{70, 18}, {360, 18}, {425, 80}, {425, 370}, {360, 432}, {70, 432}, {18, 370}, {18, 80}}));
    p.drawEllipse(QPoint(225, 225), 150, 150);
    p.drawRect(36, 205, 60, 35);
    p.drawPolygon(QPolygon({{420, 0}, {560, 0}, {659, 95}, {659, 346}, {560, 440}, {420, 440}}));
    p.end();
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (row[x] != kKey) row[x] = qRgb(40 + (x * 7 + y * 3) % 23, 44 + (x ^ y) % 17, 52);
    }
    return image;
}

QImage solid(QSize size, QRgb colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A sprite and its mask: an inset disc of colour on black, white mask outside it.
void writeSprite(const QString& dir, std::string_view picture, std::string_view mask, QSize size,
                 QRgb colour) {
    QImage image = solid(size, 0xFF000000u), shape = solid(size, 0xFFFFFFFFu);
    QPainter pi(&image), pm(&shape);
    pi.setPen(Qt::NoPen);
    pm.setPen(Qt::NoPen);
    pi.setBrush(QColor::fromRgb(colour));
    pm.setBrush(Qt::black);
    pi.drawEllipse(QRect(QPoint(2, 2), size - QSize(4, 4)));
    pm.drawEllipse(QRect(QPoint(2, 2), size - QSize(4, 4)));
    pi.end();
    pm.end();
    image.save(dir + "/" + QString::fromUtf8(picture.data(), picture.size()), "BMP");
    shape.save(dir + "/" + QString::fromUtf8(mask.data(), mask.size()), "BMP");
}

// The files RefreshSkin and the wing frames read.
struct BenchSkin {
    QTemporaryDir dir;
    BenchSkin() {
        const QString d = dir.path();
        skinPicture().save(d + "/mainback.bmp", "BMP");
        solid(QSize(210, 210), qRgb(10, 40, 50)).save(d + "/blcd.bmp", "BMP");
        solid(QSize(8, 12), 0xFFFFFFFFu).save(d + "/mmask.bmp", "BMP");
        const QSize wingSizes[] = {{118, 118}, {117, 117}, {107, 119}, {108, 117}};
        for (std::size_t i = 0; i < geo::kWings.size(); ++i) {
            const geo::Wing& w = geo::kWings[i];
            writeSprite(d, w.picture, w.mask, wingSizes[i], qRgb(90, 95, 110));
            writeSprite(d, w.buttonClosed, w.buttonClosedMask, QSize(18, 18), qRgb(200, 60, 40));
        }
        writeSprite(d, geo::kCentrePicture, geo::kCentreMask, QSize(44, 46), qRgb(120, 120, 130));
    }
};

void BM_WindowRegion(benchmark::State& st) {
    const QImage skin = skinPicture();
    std::size_t runs = 0;
    for (auto _ : st) {
        const std::vector<RegionRun> r = MakeRegionFromMask(skin);
        QRegion region = RegionFromRuns(r);
        benchmark::DoNotOptimize(region);
        runs = r.size();
    }
    st.counters["runs"] = static_cast<double>(runs);
}
BENCHMARK(BM_WindowRegion)->Unit(benchmark::kMicrosecond);

void BM_RefreshSkin(benchmark::State& st) {
    BenchSkin files;
    MonitorState state;
    VirtualTime time;
    SkinRenderer renderer(state, files.dir.path().toStdString(), time, {});
    for (auto _ : st) {
        renderer.RefreshSkin();
        benchmark::DoNotOptimize(renderer.windowPicture().constBits());
    }
}
BENCHMARK(BM_RefreshSkin)->Unit(benchmark::kMicrosecond);

void BM_WingFrame(benchmark::State& st) {
    BenchSkin files;
    MonitorState state;
    VirtualTime time;
    SkinRenderer renderer(state, files.dir.path().toStdString(), time, {});
    const geo::Wing& wing = geo::kWings[0];
    const std::vector<geo::Point> frames = WingSlidePositions(wing, kWingOpening);
    std::size_t i = 0;
    for (auto _ : st) {
        renderer.DrawWingFrame(wing.id, frames[i], true);
        i = (i + 1) % frames.size();
        benchmark::DoNotOptimize(renderer.windowPicture().constBits());
    }
}
BENCHMARK(BM_WingFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

}  // namespace kestrelon

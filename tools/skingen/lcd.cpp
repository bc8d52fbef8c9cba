// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the LCD picture: glass panes, the dividing cross and the fixed controls and labels.
#include "tools/skingen/lcd.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "tools/skingen/controls.h"
#include "tools/skingen/layout.h"
#include "tools/skingen/outline.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/pixel_font.h"
#include "tools/skingen/shading.h"
#include "tools/skingen/shapes.h"
#include "tools/skingen/wing_shape.h"

namespace kestrelon::skingen {

namespace {

constexpr int kLcdW = geo::kLcd.w, kLcdH = geo::kLcd.h;

QRect lcdRect(geo::Control c) {
    return onLcd(controlRect(c));
}

// The four panes: each quadrant a closed wing covers, a little inside the cross and the rim.
QRect paneOf(const geo::Wing& w) {
    const QRect q = onLcd(lcdQuadrant(w));
    const bool left = w.openStep.x < 0, up = w.openStep.y < 0;
    return q.adjusted(left ? 2 : 1, up ? 2 : 1, left ? -1 : -2, up ? -1 : -2);
}

void drawPanes(QImage& img) {
    Mask panes(kLcdW, kLcdH);
    for (const auto& w : geo::kWings) {
        QPainterPath p;
        p.addRoundedRect(pixelArea(paneOf(w)), 4, 4);
        panes = panes.united(Mask::fromPath(p, kLcdW, kLcdH));
    }
    // The cross and rim: dark brushed metal, raised.
    const Mask frame = panes.inverted();
    fillBrushed(img, frame, {shaded(kWingMetal, -0.2f), 5, 0.1f, 11});
    applyBevel(img, frame, {3, 0.35f, 0.55f, false});
    // The glass of each pane, darker towards its bottom.
    for (const auto& w : geo::kWings) {
        const QRect pane = paneOf(w);
        for (int y = pane.top(); y <= pane.bottom(); ++y)
            for (int x = pane.left(); x <= pane.right(); ++x)
                if (panes.at(x, y))
                    img.setPixel(
                        x, y,
                        mixed(kGlassTop, kGlassBottom, float(y - pane.top()) / float(pane.height()))
                            .rgb());
    }
    applyInnerShadow(img, panes, 5, 0.7f);
    applyOutline(img, panes, kOutline, 1.0f);
}

void label(QImage& img, int x, int y, std::string_view text) {
    paintLabel(img, x, y, text, kGlowSoft);
}

void drawAlarmQuadrant(QImage& img) {
    const geo::Font& big = geo::kBigFont;
    const QPoint at(geo::kAlarmPanelOnLcd.x, geo::kAlarmPanelOnLcd.y);
    for (int i = 0; i < 5; ++i)
        paintGhostCell(img, big, at + QPoint(i * big.advance, 0), i == 2, kGhost);

    const QRect set = lcdRect(geo::Control::AlarmSet);
    paintGlassButton(img, set, {Face::Text, "SET", {}, kGlow, false});
    paintGlassButton(img, lcdRect(geo::Control::AlarmDown),
                     {Face::ArrowDown, {}, {}, kGlow, false});
    paintGlassButton(img, lcdRect(geo::Control::AlarmUp), {Face::ArrowUp, {}, {}, kGlow, false});
    label(img, set.left(), set.bottom() + 5, "ALARM");

    const geo::Point lightAt = geo::kBacklightButtons[0].picture.at;
    label(img, lightAt.x, lightAt.y - kLabelHeight - 3, "BACKLIGHT");
}

void drawVolumeQuadrant(QImage& img) {
    const QRect v(QPoint(geo::kVolumeOnLcd.x, geo::kVolumeOnLcd.y), kVolumeSize);
    // The run-time bar fills x 1..27 from y 75 up to y 15; tick at 28..34; knob at x 38.
    const QRect bar = QRect(v.left() + 1, v.top() + 15, 27, 61);
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(3, 8, 12));
    p.drawRect(bar.adjusted(-1, -1, 1, 1));
    p.setBrush(kGhost.darker(130));
    p.drawRect(bar);
    // Graduations every 10 %, inside the bar and on the scale beyond the knob.
    for (int i = 0; i <= 10; ++i) {
        const int y = bar.bottom() - i * 6;
        const bool major = i % 5 == 0;
        p.setPen(QPen(kGhost.lighter(major ? 190 : 140), 1));
        p.drawLine(bar.left(), y, bar.right(), y);
        p.setPen(QPen(major ? kGlowSoft : kGlowDim, 1));
        p.drawLine(v.left() + 43, y, v.left() + (major ? 45 : 44), y);
    }
    // The knob's track.
    p.setPen(QPen(kGlowDim, 1));
    p.drawLine(v.left() + 38, bar.top(), v.left() + 38, bar.bottom());
    p.end();
    constexpr std::string_view marks[] = {"0", "50", "100"};
    for (int i = 0; i < 3; ++i) {
        const int y = bar.bottom() - i * 30 - 2;
        label(img, v.left() - 3 - labelWidth(marks[i]), y, marks[i]);
    }
    label(img, v.left() + 8, v.top() + 3, "VOLUME");
    paintSymbol(img, v.right() + 4,
                bar.top() + (bar.height() - symbolSize(Symbol::Speaker).height()) / 2,
                Symbol::Speaker, kGlowSoft);
}

void drawSetPointQuadrants(QImage& img) {
    for (const auto& r : geo::kReadouts)
        if (r.target == geo::Surface::Lcd)
            paintReadoutGhosts(img, QPoint(r.at.x, r.at.y), r.rightmost, readoutSize(r.rightmost));
    for (geo::Control c : {geo::Control::FanArrowUp, geo::Control::LimitArrowUp})
        paintGlassButton(img, lcdRect(c), {Face::ArrowUp, {}, {}, kGlow, false});
    for (geo::Control c : {geo::Control::FanArrowDown, geo::Control::LimitArrowDown})
        paintGlassButton(img, lcdRect(c), {Face::ArrowDown, {}, {}, kGlow, false});
    // Captions above the two button pairs, centred over each pair.
    auto caption = [&](const geo::Indicator& a, const geo::Indicator& b, geo::Control bc,
                       std::string_view text) {
        const QSize bs = sizeToClickCorner(onWindow(b.target, b.at), bc);
        const int mid = (a.at.x + b.at.x + bs.width()) / 2;
        label(img, mid - labelWidth(text) / 2, a.at.y - kLabelHeight - 3, text);
    };
    caption(geo::kAutoButton, geo::kManualButton, geo::Control::FanManual, "FAN MODE");
    caption(geo::kCelsiusButton, geo::kFahrenheitButton, geo::Control::Fahrenheit, "UNIT");
}

}  // namespace

QImage drawLcd() {
    QImage img(kLcdW, kLcdH, QImage::Format_RGB32);
    img.fill(kGlassBottom);
    drawPanes(img);
    drawAlarmQuadrant(img);
    drawVolumeQuadrant(img);
    drawSetPointQuadrants(img);
    return img;
}

}  // namespace kestrelon::skingen

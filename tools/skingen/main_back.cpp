// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the skin picture: metal case with a sunken bay for the wings, docks, tabs and the side
// panel with its display, grab ears and badge.
#include "tools/skingen/main_back.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <vector>

#include "tools/skingen/caption_font.h"
#include "tools/skingen/controls.h"
#include "tools/skingen/layout.h"
#include "tools/skingen/outline.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/pixel_font.h"
#include "tools/skingen/shading.h"
#include "tools/skingen/shapes.h"

namespace kestrelon::skingen {

namespace {

constexpr int kBackW = geo::kWindow.w, kBackH = geo::kWindow.h;

Mask pathMask(const QPainterPath& p) {
    return Mask::fromPath(p, kBackW, kBackH);
}

// Perforated floor of a dock: a grid of small holes with a lit lower lip.
void perforate(QImage& img, const Mask& where) {
    const Mask inner = where.grown(-3);
    for (int y = 0; y < kBackH; y += 4)
        for (int x = (y / 4) % 2 * 2; x < kBackW; x += 4) {
            if (!inner.at(x, y) || !inner.at(x + 1, y + 1)) continue;
            img.setPixel(x, y, kEngraveDark.rgb());
            img.setPixel(x + 1, y + 1, shaded(QColor(img.pixel(x + 1, y + 1)), 0.12f).rgb());
        }
}

// Diagonal ridges across a grab ear, parallel to its inner edge.
void ridge(QImage& img, const Mask& ear, bool upper) {
    for (int y = 0; y < kBackH; ++y)
        for (int x = 0; x < kBackW; ++x) {
            if (!ear.at(x, y)) continue;
            const int k = upper ? x - y : x + y;
            const int phase = ((k % 5) + 5) % 5;
            const float amount = phase == 0 ? -0.55f : phase == 1 ? 0.28f : phase == 2 ? 0.1f : 0;
            if (amount != 0) img.setPixel(x, y, shadedRgb(img.pixel(x, y), amount));
        }
}

void screw(QPainter& p, QPointF c, qreal r) {
    QRadialGradient g(c - QPointF(r * 0.4, r * 0.5), r * 1.6);
    g.setColorAt(0, shaded(kHubMetal, 0.35f));
    g.setColorAt(1, shaded(kHubMetal, -0.45f));
    p.setPen(QPen(kOutline, 1));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(kEngraveDark, 1.4));
    p.drawLine(c + QPointF(-r * 0.6, r * 0.6), c + QPointF(r * 0.6, -r * 0.6));
}

void drawLcdWindowFrame(QImage& img) {
    // A dark lip around the LCD picture with a lit lower-right step.
    const QRect lcd = toRect(geo::kLcdOrigin, geo::kLcd);
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(shaded(kRecessMetal, 0.25f));
    p.drawRect(lcd.adjusted(-2, -2, 3, 3));
    p.setBrush(kOutline);
    p.drawRect(lcd.adjusted(-3, -3, 2, 2));
}

void drawLeftTab(QImage& img) {
    const QRect minRect = controlRect(geo::Control::Minimise);
    const QRect closeRect = controlRect(geo::Control::Close);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // A shallow well behind the two buttons.
    const QRectF well = pixelArea(minRect.united(closeRect)).adjusted(-3, -3, 3, 3);
    p.setPen(QPen(shaded(kCaseMetal, 0.25f), 1));
    p.setBrush(kRecessMetal);
    p.drawRoundedRect(well.translated(0.5, 0.5), well.height() / 2, well.height() / 2);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(shaded(kRecessMetal, -0.3f));
    p.drawRoundedRect(well, well.height() / 2, well.height() / 2);
    p.end();
    paintRoundButton(img, minRect, RoundGlyph::Minimise, kGlow);
    paintRoundButton(img, closeRect, RoundGlyph::Close, kCloseRed);
}

void drawWebKey(QImage& img, const Mask& key) {
    fillBrushed(img, key, {kWingMetal, 5, 0.2f, 7});
    applyBevel(img, key, {2.5f, 0.5f, 0.55f, false});
    applyOutline(img, key, kOutline, 0.9f);
    // Globe on the plate, "WEB" on the bar.
    // The link's two click rectangles: the tall one is the plate, the other the bar.
    std::vector<QRect> parts;
    for (const auto& c : geo::kClickAreas)
        if (c.control == geo::Control::WebLink) parts.push_back(toRect(c.area));
    if (parts.size() != 2) return;
    const bool firstTall = parts[0].height() > parts[1].height();
    const QRect plate = firstTall ? parts[0] : parts[1], bar = firstTall ? parts[1] : parts[0];
    const QSize g = symbolSize(Symbol::Globe);
    const int gx = plate.center().x() - g.width() / 2 + 1, gy = plate.center().y() - g.height() / 2;
    paintSymbol(img, gx + 1, gy + 1, Symbol::Globe, kOutline);
    paintSymbol(img, gx, gy, Symbol::Globe, kGlow);
    // The word on the bar's part left of the plate, lit like the globe.
    const QPoint centre((bar.left() + plate.left() - 1) / 2, bar.center().y());
    paintLitCaption(img, centre, "WEB", kGlow, kOutline);
}

// Side panel ------------------------------------------------------------------------------------

QRect sideItems() {
    QRect r;
    for (const auto& ro : geo::kReadouts)
        if (ro.target == geo::Surface::Window)
            r = r.united(QRect(onWindow(ro.target, ro.at), readoutSize(ro.rightmost)));
    for (const auto& h : geo::kHostReadouts)
        r = r.united(QRect(QPoint(h.at.x, h.at.y), readoutSize(h.rightmost)));
    for (const auto& i : geo::kIcons)
        if (i.target == geo::Surface::Window)
            r = r.united(QRect(onWindow(i.target, i.at), iconSize(i)));
    r = r.united(QRect(QPoint(geo::kClockAt.x, geo::kClockAt.y), clockPanelSize()));
    r = r.united(QRect(QPoint(geo::kLinkLamp.at.x, geo::kLinkLamp.at.y), kLampSize));
    return r;
}

void drawSideLabels(QImage& img) {
    const QColor label = kGlowSoft;
    const int leftX = sideItems().left() + 3;
    auto rowOf = [](const geo::HostReadout& h) { return h.at.y + h.rightmost.y; };
    struct HostLabel {
        geo::HostFact fact;
        std::string_view name, unit;
    };
    constexpr HostLabel labels[] = {{geo::HostFact::CpuClock, "CPU", "MHz"},
                                    {geo::HostFact::Memory, "RAM", "MB"},
                                    {geo::HostFact::Disk, "DISK", "GB"}};
    // A unit that changes with the value is a picture of its own (pieces.cpp), drawn there.
    auto unitIsAPicture = [](geo::HostFact fact) {
        for (const geo::HostUnits& u : geo::kHostUnits)
            if (u.fact == fact) return true;
        return false;
    };
    for (const auto& h : geo::kHostReadouts)
        for (const HostLabel& l : labels)
            if (l.fact == h.fact) {
                const int y = rowOf(h) + 1;
                paintLabel(img, leftX, y, l.name, label);
                if (!unitIsAPicture(h.fact))
                    paintLabel(img, h.at.x + readoutSize(h.rightmost).width() + 2, y, l.unit,
                               kUnitWord);
            }
    // Fan column: "RPM" after each fan readout; captions under both columns.
    int lastRow = 0, tempX = 0, fanX = 0, fanRight = 0;
    for (const auto& r : geo::kReadouts) {
        if (r.target != geo::Surface::Window) continue;
        const int y = r.at.y + r.rightmost.y + 1;
        lastRow = std::max(lastRow, r.at.y + readoutSize(r.rightmost).height());
        if (r.kind == geo::ReadoutKind::Fan) {
            fanRight = r.at.x + readoutSize(r.rightmost).width();
            paintLabel(img, fanRight + 2, y, "RPM", kGlowDim.lighter(170));
            fanX = r.at.x;
        } else {
            tempX = r.at.x;
        }
    }
    const int captionY = lastRow + 3;
    paintLabel(img, tempX + 2, captionY, "TEMP", kGlowDim.lighter(150));
    paintLabel(img, fanX + 2, captionY, "FAN", kGlowDim.lighter(150));
    // Clock caption and the link lamp's caption.
    paintLabel(img, leftX, geo::kClockAt.y + 4, "TIME", label);
    paintLabel(img, leftX, geo::kLinkLamp.at.y + 2, "NET", label);
    // A thin rule between the sensor rows and the host facts.
    const int ruleY = captionY + kLabelHeight + 3;
    for (int x = sideItems().left(); x <= sideItems().right(); x += 2)
        img.setPixel(x, ruleY, kGlowDim.darker(150).rgb());
}

void drawReadoutWindows(QImage& img) {
    for (const auto& r : geo::kReadouts)
        if (r.target == geo::Surface::Window)
            paintReadoutGhosts(img, onWindow(r.target, r.at), r.rightmost,
                               readoutSize(r.rightmost));
    for (const auto& h : geo::kHostReadouts)
        paintReadoutGhosts(img, QPoint(h.at.x, h.at.y), h.rightmost, readoutSize(h.rightmost));
    const geo::Font& m = geo::kMediumFont;
    for (int i = 0; i < 5; ++i)
        paintGhostCell(img, m, QPoint(geo::kClockAt.x + i * m.advance, geo::kClockAt.y), i == 2,
                       kGhost);
}

void drawBadge(QImage& img, const QRect& panel) {
    const std::string_view name = "KESTRELON";
    const int scale = 2;
    const int w = labelWidth(name, scale);
    const int x = panel.center().x() - w / 2;
    const int y = sideDisplayRect().top() - 34;
    engraveLabel(img, x, y, name, kEngraveDark, shaded(kPanelMetal, 0.3f), scale);
    // A kestrel in flight above the name, cut into the metal.
    const QPointF c(panel.center().x(), y - 22);
    const QPainterPath bird = kestrelSilhouette(c, 1);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(shaded(kPanelMetal, 0.3f));
    p.drawPath(bird.translated(0.7, 1));
    p.setBrush(kEngraveDark);
    p.drawPath(bird);
    p.setBrush(kGlowDim);
    p.drawEllipse(c + QPointF(0, -3), 1.0, 1.0);
}

void drawVents(QImage& img, const QRect& panel) {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect disp = sideDisplayRect();
    const int left = disp.left() + 6, right = disp.right() - 6;
    for (int i = 0; i < 9; ++i) {
        const qreal y = disp.bottom() + 26 + i * 9;
        if (y + 4 > panel.bottom() - 24) break;
        p.setPen(Qt::NoPen);
        p.setBrush(shaded(kPanelMetal, 0.28f));
        p.drawRoundedRect(QRectF(left, y + 1, right - left, 4), 2, 2);
        p.setBrush(kEngraveDark);
        p.drawRoundedRect(QRectF(left, y, right - left, 4), 2, 2);
        p.setBrush(QColor(2, 3, 4));
        p.drawRoundedRect(QRectF(left + 1, y + 0.6, right - left - 2, 2.2), 1.1, 1.1);
    }
}

void drawSidePanel(QImage& img, const Outline& o) {
    Mask body = o.sidePanel;
    for (int i = 0; i < 2; ++i) body = body.subtracted(o.ears[i]).subtracted(o.earGrooves[i]);
    fillBrushed(img, body, {kPanelMetal, 5, 0.16f, 2, true});
    applyBevel(img, body, {4, 0.42f, 0.55f, false});
    applyOutline(img, body, kOutline, 0.6f);
    for (int i = 0; i < 2; ++i) {
        fillBrushed(img, o.earGrooves[i], {shaded(kRecessMetal, -0.5f), 2, 0, 4});
        fillBrushed(img, o.ears[i], {kWingMetal, 5, 0.2f, 5});
        ridge(img, o.ears[i], i == 0);
        applyBevel(img, o.ears[i], {3, 0.5f, 0.6f, false});
    }
    // The display glass.
    const QRect disp = sideDisplayRect();
    QPainterPath glass;
    glass.addRoundedRect(pixelArea(disp), 7, 7);
    const Mask glassMask = pathMask(glass);
    const Mask bezel = glassMask.grown(3);
    fillBrushed(img, bezel.subtracted(glassMask), {shaded(kPanelMetal, -0.35f), 3, 0, 6});
    applyBevel(img, bezel, {3, 0.4f, 0.5f, true});
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(kSideGlass);
        p.drawPath(glass);
    }
    applyInnerShadow(img, glassMask, 5, 0.6f);
    applyOutline(img, glassMask, kOutline, 0.9f);
    drawReadoutWindows(img);
    drawSideLabels(img);
    QRect panel(geo::kSidePanelX, 0, kBackW - geo::kSidePanelX, kBackH);
    drawBadge(img, panel.adjusted(0, 0, -12, 0));
    drawVents(img, panel);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    screw(p, QPointF(geo::kSidePanelX + 14, 14), 4);
    screw(p, QPointF(geo::kSidePanelX + 14, kBackH - 15), 4);
}

}  // namespace

QRect sideDisplayRect() {
    return sideItems().adjusted(-8, -8, 22, 7);
}

QImage drawMainBack() {
    const Outline& o = windowOutline();
    QImage img(kBackW, kBackH, QImage::Format_RGB32);
    img.fill(kKey);

    // Case metal, then the sunken bay with its docks.
    fillBrushed(img, o.shape, {kCaseMetal, 6, 0.14f, 1});
    fillBrushed(img, o.recess, {kRecessMetal, 4, 0.1f, 3});
    for (const Mask& dock : o.docks) perforate(img, dock);
    applyInnerShadow(img, o.recess, 7, 0.55f);
    applyBevel(img, o.recess, {2, 0.35f, 0.5f, true});
    drawLcdWindowFrame(img);
    drawLeftTab(img);
    drawSidePanel(img, o);
    drawWebKey(img, o.webTab);

    // Rim of the whole case, its crisp edge, and the cut to the outline.
    applyBevel(img, o.shape, {5, 0.4f, 0.6f, false});
    applyOutline(img, o.shape, kOutline, 0.85f);
    cutToOutline(img, o.shape, kKey);
    return img;
}

}  // namespace kestrelon::skingen

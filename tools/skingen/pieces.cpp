// SPDX-License-Identifier: GPL-3.0-or-later
// Cut pictures: one table row per picture, one painter per kind of control.
#include "tools/skingen/pieces.h"

#include <QPainter>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "tools/skingen/controls.h"
#include "tools/skingen/layout.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/pixel_font.h"
#include "tools/skingen/shapes.h"

namespace kestrelon::skingen {

namespace {

using Painter = std::function<void(QImage&, const QRect&)>;

struct Piece {
    std::string file;
    geo::Surface surface;
    QPoint at;  // on its surface
    QSize size;
    Painter paint;           // empty: the bare crop
    bool isDefault = false;  // drawn into the surface as its starting state
};

Piece piece(std::string_view file, geo::Surface s, geo::Point at, QSize size, Painter paint = {},
            bool isDefault = false) {
    return {std::string(file), s, QPoint(at.x, at.y), size, std::move(paint), isDefault};
}

// The two pictures of an indicator pair; `lit` is the state drawn by default.
void addPair(std::vector<Piece>& list, const geo::Indicator& ind, QSize size,
             const std::function<void(QImage&, const QRect&, bool)>& paint, bool defaultOn) {
    list.push_back(piece(
        ind.on, ind.target, ind.at, size, [paint](QImage& i, const QRect& r) { paint(i, r, true); },
        defaultOn));
    list.push_back(piece(
        ind.off, ind.target, ind.at, size,
        [paint](QImage& i, const QRect& r) { paint(i, r, false); }, !defaultOn));
}

QSize clickSize(const geo::Indicator& ind, geo::Control c) {
    return sizeToClickCorner(onWindow(ind.target, ind.at), c);
}

auto glassPainter(std::string_view text, QColor accent) {
    return [text, accent](QImage& img, const QRect& r, bool lit) {
        paintGlassButton(img, r, {Face::Text, text, {}, accent, lit});
    };
}

auto symbolPainter(Symbol symbol) {
    return [symbol](QImage& img, const QRect& r, bool lit) {
        paintGlassButton(img, r, {Face::Picture, {}, symbol, kGlow, lit});
    };
}

struct BacklightFace {
    Backlight color;
    geo::Control control;
    std::string_view text;
    QColor accent;
};
const BacklightFace kBacklightFaces[] = {
    {Backlight::Off, geo::Control::BacklightOff, "OFF", kBacklightOff},
    {Backlight::Red, geo::Control::BacklightRed, "RED", kBacklightRed},
    {Backlight::Blue, geo::Control::BacklightBlue, "BLUE", kBacklightBlue},
    {Backlight::Purple, geo::Control::BacklightPurple, "PURPLE", kBacklightPurple},
};

// The unit words of the host readouts, in the order of their pictures.
struct HostUnitWords {
    geo::HostFact fact;
    std::array<std::string_view, 3> words;
};
constexpr HostUnitWords kHostUnitWords[] = {
    {geo::HostFact::Memory, {"MB", "GB", "TB"}},
    {geo::HostFact::Disk, {"GB", "TB", "PB"}},
};

void addHostUnits(std::vector<Piece>& list) {
    const QSize size(geo::kHostUnitSize.w, geo::kHostUnitSize.h);
    for (const auto& u : geo::kHostUnits)
        for (const HostUnitWords& w : kHostUnitWords)
            if (w.fact == u.fact)
                for (std::size_t i = 0; i < u.pictures.size(); ++i)
                    list.push_back(piece(
                        u.pictures[i], geo::Surface::Window, u.at, size,
                        [word = w.words[i]](QImage& img, const QRect& r) {
                            paintLabel(img, r.left(), r.top(), word, kUnitWord);
                        },
                        i == 0));
}

std::vector<Piece> pieces() {
    std::vector<Piece> list;
    for (const auto& r : geo::kReadouts)
        list.push_back(piece(r.background, r.target, r.at, readoutSize(r.rightmost)));
    for (const auto& h : geo::kHostReadouts)
        list.push_back(piece(h.background, geo::Surface::Window, h.at, readoutSize(h.rightmost)));
    addHostUnits(list);
    list.push_back(
        piece(geo::kClockBackground, geo::Surface::Window, geo::kClockAt, clockPanelSize()));
    list.push_back(
        piece(geo::kAlarmBackground, geo::Surface::Lcd, geo::kAlarmPanelOnLcd, alarmPanelSize()));
    list.push_back(
        piece(geo::kVolumeBackground, geo::Surface::Lcd, geo::kVolumeOnLcd, kVolumeSize));

    for (const auto& icon : geo::kIcons)
        for (bool highlighted : {false, true})
            list.push_back(piece(
                highlighted ? icon.highlighted : icon.picture, icon.target, icon.at, iconSize(icon),
                [icon, highlighted](QImage& img, const QRect& r) {
                    paintIcon(img, r, icon.row, icon.channel, highlighted);
                },
                !highlighted));

    addPair(
        list, geo::kTempUnit, kUnitSize,
        [](QImage& img, const QRect& r, bool f) { paintUnit(img, r, f); }, false);
    addPair(
        list, geo::kLinkLamp, kLampSize,
        [](QImage& img, const QRect& r, bool on) { paintLamp(img, r, kLampGreen, on); }, false);
    addPair(
        list, geo::kAlarmSwitch, clickSize(geo::kAlarmSwitch, geo::Control::AlarmOnOff),
        [](QImage& img, const QRect& r, bool on) { paintAlarmSwitch(img, r, on); }, false);
    addPair(list, geo::kCelsiusButton, clickSize(geo::kCelsiusButton, geo::Control::Celsius),
            symbolPainter(Symbol::DegreesC), true);
    addPair(list, geo::kFahrenheitButton,
            clickSize(geo::kFahrenheitButton, geo::Control::Fahrenheit),
            symbolPainter(Symbol::DegreesF), false);
    addPair(list, geo::kAutoButton, clickSize(geo::kAutoButton, geo::Control::FanAuto),
            glassPainter("AUTO", kGlow), true);
    addPair(list, geo::kManualButton, clickSize(geo::kManualButton, geo::Control::FanManual),
            glassPainter("MAN", kGlow), false);
    for (const auto& b : geo::kBacklightButtons)
        for (const BacklightFace& f : kBacklightFaces)
            if (f.color == b.color)
                addPair(list, b.picture, clickSize(b.picture, f.control),
                        glassPainter(f.text, f.accent), b.color == Backlight::Off);
    return list;
}

}  // namespace

void writePieces(SkinWriter& out, QImage& mainBack, QImage& lcd) {
    const QImage mainBase = mainBack.copy(), lcdBase = lcd.copy();
    for (const Piece& p : pieces()) {
        const bool onLcd = p.surface == geo::Surface::Lcd;
        QImage img = (onLcd ? lcdBase : mainBase).copy(QRect(p.at, p.size));
        if (p.paint) p.paint(img, QRect(QPoint(0, 0), p.size));
        out.picture(p.file, img);
        if (p.isDefault) {
            QPainter target(onLcd ? &lcd : &mainBack);
            target.drawImage(p.at, img);
        }
    }
}

}  // namespace kestrelon::skingen

// SPDX-License-Identifier: GPL-3.0-or-later
// The synthetic test skin: file kinds and sizes chosen so that a picture at a wrong place or from
// a wrong file shows up as a wrong colour.
#include "tests/support/synthetic_skin.h"

#include <QDataStream>
#include <QFile>
#include <QString>

#include "skin/geometry.h"
#include "skin/skin_files.h"

namespace kestrelon::test {

namespace {

QSize qsize(geo::Size s) {
    return QSize(s.w, s.h);
}

QString hex(QRgb c) {
    return QString::number(c & 0xFFFFFF, 16).rightJustified(6, '0');
}

}  // namespace

QRgb SyntheticSkin::mainbackPixel(int x, int y) {
    if (x < 2 || y < 2 || x >= geo::kWindow.w - 2 || y >= geo::kWindow.h - 2) return kKey;
    return qRgb(x & 0xFF, y & 0xFF, 0x40 | (x >> 8) | ((y >> 8) << 2));
}

QRgb SyntheticSkin::blcdPixel(int x, int y) {
    return qRgb(x, y, 0x20);
}

bool SyntheticSkin::inSprite(QSize size, int x, int y) {
    return x >= 3 && y >= 3 && x < size.width() - 3 && y < size.height() - 3;
}

void SyntheticSkin::add(std::string_view name, Kind kind, QSize size) {
    if (files_.count(name)) return;
    QRgb colour = 0;
    switch (kind) {
        case Kind::Dark:  // low nibbles only: glyphs ORed over it stay recognisable
            ++darks_;
            colour = qRgb(darks_ & 0x0F, (darks_ >> 4) & 0x0F, 0x05);
            break;
        case Kind::Glyph:  // high nibbles only
            ++glyphs_;
            colour = qRgb(0x10 * (glyphs_ % 15 + 1), 0x10 * (glyphs_ / 15 + 1), 0xA0);
            break;
        case Kind::Solid:
        case Kind::Sprite:
            ++solids_;
            colour = qRgb(solids_ & 0xFF, 0x55, 0xC0);
            break;
        default:
            break;
    }
    files_.emplace(std::string(name), File{kind, size, colour});
}

SyntheticSkin::SyntheticSkin() {
    add(geo::kSkinPictureFile, Kind::SkinPattern, qsize(geo::kWindow));
    add(geo::kLcdPictureFile, Kind::LcdPattern, qsize(geo::kLcd));
    add(geo::kDigitMaskFile, Kind::White, qsize(geo::kMmask));
    for (const geo::Font* font : {&geo::kSmallFont, &geo::kMediumFont, &geo::kBigFont}) {
        for (char d = '0'; d <= '9'; ++d)
            add(std::string(font->prefix) + d + ".bmp", Kind::Glyph, qsize(font->cell));
        for (std::string_view extra : {font->colonFile, font->dotFile, font->dashFile})
            if (!extra.empty()) add(extra, Kind::Glyph, qsize(font->cell));
    }
    for (const geo::Readout& r : geo::kReadouts)
        add(r.background, Kind::Dark,
            r.target == geo::Surface::Window ? QSize(30, 9) : QSize(26, 11));
    for (const geo::HostReadout& h : geo::kHostReadouts)
        add(h.background, Kind::Dark, QSize(h.rightmost.x + 6, 9));
    for (const geo::HostUnits& u : geo::kHostUnits)
        for (std::string_view picture : u.pictures)
            add(picture, Kind::Solid, qsize(geo::kHostUnitSize));
    add(geo::kClockBackground, Kind::Dark, QSize(45, 12));
    add(geo::kAlarmBackground, Kind::Dark, QSize(54, 13));
    add(geo::kVolumeBackground, Kind::Dark, QSize(45, 80));
    for (const geo::Icon& i : geo::kIcons) {
        const QSize size = i.row == geo::IconRow::Sensor ? QSize(22, 8) : QSize(24, 9);
        add(i.picture, Kind::Solid, size);
        add(i.highlighted, Kind::Solid, size);
    }
    auto indicator = [&](const geo::Indicator& i, QSize size) {
        add(i.on, Kind::Solid, size);
        add(i.off, Kind::Solid, size);
    };
    for (const geo::Indicator* i :
         {&geo::kTempUnit, &geo::kLinkLamp, &geo::kCelsiusButton, &geo::kFahrenheitButton})
        indicator(*i, QSize(12, 9));
    for (const geo::Indicator* i : {&geo::kAutoButton, &geo::kManualButton})
        indicator(*i, QSize(31, 11));
    for (const geo::BacklightButton& b : geo::kBacklightButtons)
        indicator(b.picture, QSize(31, 11));
    indicator(geo::kAlarmSwitch, QSize(11, 11));
    const QSize wingSizes[] = {{118, 118}, {117, 117}, {107, 119}, {108, 117}};
    for (std::size_t i = 0; i < geo::kWings.size(); ++i) {
        const geo::Wing& w = geo::kWings[i];
        add(w.picture, Kind::Sprite, wingSizes[i]);
        add(w.mask, Kind::SpriteMask, wingSizes[i]);
        add(w.buttonClosed, Kind::Sprite, QSize(18, 18));
        add(w.buttonClosedMask, Kind::SpriteMask, QSize(18, 18));
    }
    add(geo::kCentrePicture, Kind::Sprite, QSize(44, 46));
    add(geo::kCentreMask, Kind::SpriteMask, QSize(44, 46));
    add(geo::kResetPicture, Kind::Solid, QSize(30, 12));

    for (const auto& [name, file] : files_) write(name, draw(file));
    for (const SkinFile& f : skinFiles()) {
        if (f.picture) continue;
        QFile out(QString::fromStdString(path(f.name).string()));
        out.open(QIODevice::WriteOnly);
        out.write(f.name.ends_with(".wav") ? waveFile() : cursorFile(3, 5));
    }
}

QImage SyntheticSkin::draw(const File& file) const {
    QImage image(file.size, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QRgb c = file.colour;
            const bool inside = inSprite(file.size, x, y);
            switch (file.kind) {
                case Kind::SkinPattern:
                    c = mainbackPixel(x, y);
                    break;
                case Kind::LcdPattern:
                    c = blcdPixel(x, y);
                    break;
                case Kind::White:
                    c = 0xFFFFFFFFu;
                    break;
                case Kind::Sprite:
                    c = inside ? file.colour : 0xFF000000u;
                    break;
                case Kind::SpriteMask:
                    c = inside ? 0xFF000000u : 0xFFFFFFFFu;
                    break;
                default:
                    break;
            }
            image.setPixel(x, y, c);
        }
    }
    return image;
}

std::filesystem::path SyntheticSkin::dir() const {
    return temp_.path().toStdString();
}

std::filesystem::path SyntheticSkin::path(std::string_view name) const {
    return dir() / name;
}

QRgb SyntheticSkin::colour(std::string_view name) const {
    return files_.find(name)->second.colour;
}

QSize SyntheticSkin::size(std::string_view name) const {
    return files_.find(name)->second.size;
}

void SyntheticSkin::write(std::string_view name, const QImage& image) const {
    image.save(QString::fromStdString(path(name).string()), "BMP");
}

void SyntheticSkin::remove(std::string_view name) const {
    std::filesystem::remove(path(name));
}

QByteArray cursorFile(int hotX, int hotY) {
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 pixels = 32 * 32 * 4, andMask = 32 * 4;
    out << quint16(0) << quint16(2) << quint16(1);              // cursor directory
    out << quint8(32) << quint8(32) << quint8(0) << quint8(0);  // entry: 32 x 32
    out << quint16(hotX) << quint16(hotY) << quint32(40 + pixels + andMask) << quint32(22);
    out << quint32(40) << qint32(32) << qint32(64) << quint16(1) << quint16(32);  // header
    out << quint32(0) << quint32(pixels + andMask) << qint32(0) << qint32(0) << quint32(0)
        << quint32(0);
    for (int i = 0; i < 32 * 32; ++i) out << quint32(i % 3 ? 0xFF000000u : 0xFFFFFFFFu);
    for (quint32 i = 0; i < andMask; ++i) out << quint8(0);
    return data;
}

QByteArray waveFile() {
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(8000) << quint16(1)
        << quint16(8);
    out.writeRawData("data", 4);
    out << quint32(0);
    return data;
}

std::string fillMismatch(const QImage& image, const QRect& area, QRgb colour) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != colour)
                return QString("(%1,%2) is %3, not %4")
                    .arg(x)
                    .arg(y)
                    .arg(hex(image.pixel(x, y)), hex(colour))
                    .toStdString();
    return {};
}

std::string diffOutside(const QImage& a, const QImage& b, const QRect& keep) {
    if (a.size() != b.size()) return "sizes differ";
    for (int y = 0; y < a.height(); ++y) {
        const QRgb* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if (ra[x] != rb[x] && !keep.contains(x, y))
                return QString("(%1,%2) changed from %3 to %4")
                    .arg(x)
                    .arg(y)
                    .arg(hex(ra[x]), hex(rb[x]))
                    .toStdString();
    }
    return {};
}

}  // namespace kestrelon::test

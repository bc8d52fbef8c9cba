// SPDX-License-Identifier: GPL-3.0-or-later
// A complete synthetic skin in a temporary directory for the renderer's tests: every picture a
// solid colour of its own or a position pattern, sprites with masks, real cursors and a sound.
#pragma once

#include <QImage>
#include <QRect>
#include <QTemporaryDir>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace kestrelon::test {

class SyntheticSkin {
public:
    SyntheticSkin();

    std::filesystem::path dir() const;
    std::filesystem::path path(std::string_view name) const;

    // The colour a file was drawn in (the inside colour of a sprite).
    QRgb colour(std::string_view name) const;
    QSize size(std::string_view name) const;

    // Patterns of the skin picture and the LCD picture: every pixel differs from its neighbours
    // and from every solid colour; the skin picture has a two-pixel key-colour border.
    static QRgb mainbackPixel(int x, int y);
    static QRgb blcdPixel(int x, int y);
    static constexpr QRgb kKey = 0xFFFF00FFu;
    // Sprites show their colour inside a 3-pixel transparent margin.
    static bool inSprite(QSize size, int x, int y);

    void write(std::string_view name, const QImage& image) const;
    void remove(std::string_view name) const;

private:
    enum class Kind { SkinPattern, LcdPattern, White, Solid, Dark, Glyph, Sprite, SpriteMask };
    struct File {
        Kind kind;
        QSize size;
        QRgb colour;
    };
    void add(std::string_view name, Kind kind, QSize size);
    QImage draw(const File& file) const;

    QTemporaryDir temp_;
    std::map<std::string, File, std::less<>> files_;
    int solids_ = 0, darks_ = 0, glyphs_ = 0;
};

// Writes a 32 x 32 cursor file with the given hotspot.
QByteArray cursorFile(int hotX, int hotY);
// A RIFF/WAVE file with an empty data chunk.
QByteArray waveFile();

// "" when every pixel of `area` in the image has the colour, else the first that does not.
std::string fillMismatch(const QImage& image, const QRect& area, QRgb colour);
// "" when the images are equal outside `keep`, else the first differing pixel.
std::string diffOutside(const QImage& a, const QImage& b, const QRect& keep);

// Checks each show of mainback against the one before: the picture may have changed only inside
// the part the show names, or the window would keep stale pixels outside it.
class ShowCheck {
public:
    void shown(const QImage& picture, const QRect& changed) {
        if (unnamedChange_.empty() && !last_.isNull())
            unnamedChange_ = diffOutside(last_, picture, changed);
        last_ = picture.copy();
    }
    // The first pixel changed outside what its show named, "" when there was none.
    const std::string& unnamedChange() const { return unnamedChange_; }

private:
    QImage last_;
    std::string unnamedChange_;
};

}  // namespace kestrelon::test

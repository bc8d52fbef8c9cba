// SPDX-License-Identifier: GPL-3.0-or-later
// The icon's smallest sizes, drawn pixel by pixel so they stay crisp in a panel or tray.
#include <string_view>
#include <vector>

#include "tools/skingen/app_icon.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/shading.h"

namespace kestrelon::skingen {

namespace {

// '.' clear, 'o' outline, 'H' lit edge, 'm' metal, 's' shaded edge, 'g' glass, 'G' unlit
// segment, 'c' lit segment or lamp.
QRgb colourOf(char c) {
    switch (c) {
        case 'o':
            return kOutline.rgba();
        case 'H':
            return shaded(kWingMetal, 0.4f).rgba();
        case 'm':
            return kWingMetal.rgba();
        case 's':
            return shaded(kWingMetal, -0.5f).rgba();
        case 'g':
            return kGlassBottom.rgba();
        case 'G':
            return shaded(kGhost, 0.06f).rgba();
        case 'c':
            return kGlow.rgba();
        default:
            return qRgba(0, 0, 0, 0);
    }
}

struct PixelArt {
    int size;
    std::vector<std::string_view> rows;
};

// The same picture at each size: the case with its lit top-left edge, the display reading 42
// degrees over its unlit segments, and below it vents and a lamp.
const PixelArt kArt[] = {
    {16,
     {
         "................",  //
         ".oooooooooooooo.",  //
         "oHHHHHHHHHHHHHmo",  //
         "oHooooooooooooso",  //
         "oHoggggggggggoso",  //
         "oHogcGcgcccgcoso",  //
         "oHogcgcgGgcggoso",  //
         "oHogcccgcccggoso",  //
         "oHogGgcgcgGggoso",  //
         "oHogGGcgcccggoso",  //
         "oHoggggggggggoso",  //
         "oHooooooooooooso",  //
         "oHmsmsmsmmmmcmso",  //
         "omssssssssssssso",  //
         ".oooooooooooooo.",  //
         "................",  //
     }},
    {22,
     {
         "......................",  //
         "......................",  //
         "..oooooooooooooooooo..",  //
         ".oHHHHHHHHHHHHHHHHHmo.",  //
         "oHmoooooooooooooooommo",  //
         "oHmoggggggggggggggomso",  //
         "oHmogcGGcgccccgccgomso",  //
         "oHmogcggcgGggcgccgomso",  //
         "oHmogcggcgGggcggggomso",  //
         "oHmogccccgccccggggomso",  //
         "oHmogGggcgcggGggggomso",  //
         "oHmogGggcgcggGggggomso",  //
         "oHmogGGGcgccccggggomso",  //
         "oHmoggggggggggggggomso",  //
         "oHmoooooooooooooooomso",  //
         "oHmmmmmmmmmmmmmmmmmmso",  //
         "oHmmsmsmsmsmmmmmccmmso",  //
         "ommmsmsmsmsmmmmmccmmso",  //
         ".omssssssssssssssssso.",  //
         "..oooooooooooooooooo..",  //
         "......................",  //
         "......................",  //
     }},
    {24,
     {
         "........................",  //
         "........................",  //
         "..oooooooooooooooooooo..",  //
         ".oHHHHHHHHHHHHHHHHHHHmo.",  //
         "oHmoooooooooooooooooommo",  //
         "oHmoggggggggggggggggomso",  //
         "oHmoggcGGcgccccgcccgomso",  //
         "oHmoggcggcgGggcgcgcgomso",  //
         "oHmoggcggcgGggcgcccgomso",  //
         "oHmoggccccgccccgggggomso",  //
         "oHmoggGggcgcggGgggggomso",  //
         "oHmoggGggcgcggGgggggomso",  //
         "oHmoggGGGcgccccgggggomso",  //
         "oHmoggggggggggggggggomso",  //
         "oHmoooooooooooooooooomso",  //
         "oHmmmmmmmmmmmmmmmmmmmmso",  //
         "oHmmsmsmsmsmsmmmmmmmmmso",  //
         "oHmmsmsmsmsmsmmmmccmmmso",  //
         "oHmmHmHmHmHmHmmmmccmmmso",  //
         "ommmmmmmmmmmmmmmmmmmmmso",  //
         ".omssssssssssssssssssso.",  //
         "..oooooooooooooooooooo..",  //
         "........................",  //
         "........................",  //
     }},
};

}  // namespace

QImage pixelArtAppIcon(int size) {
    for (const PixelArt& art : kArt) {
        if (art.size != size) continue;
        QImage img(size, size, QImage::Format_ARGB32);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) img.setPixel(x, y, colourOf(art.rows[y][x]));
        return img;
    }
    return {};
}

}  // namespace kestrelon::skingen

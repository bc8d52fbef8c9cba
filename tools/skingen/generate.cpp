// SPDX-License-Identifier: GPL-3.0-or-later
// Draws and writes every file of the default skin.
#include "tools/skingen/generate.h"

#include <cstdio>
#include <system_error>

#include "skin/geometry.h"
#include "tools/skingen/app_icon.h"
#include "tools/skingen/click_sound.h"
#include "tools/skingen/cursor_file.h"
#include "tools/skingen/cursors.h"
#include "tools/skingen/lcd.h"
#include "tools/skingen/main_back.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/pieces.h"
#include "tools/skingen/pixel_font.h"
#include "tools/skingen/reset_hint.h"
#include "tools/skingen/skin_writer.h"
#include "tools/skingen/wings.h"

namespace kestrelon::skingen {

namespace {

void writeFonts(SkinWriter& out) {
    for (const geo::Font* font : {&geo::kSmallFont, &geo::kMediumFont, &geo::kBigFont})
        for (char c : fontCharacters(*font))
            out.picture(glyphFile(*font, c), digitGlyph(*font, c, kGlow));
    QImage mmask(geo::kMmask.w, geo::kMmask.h, QImage::Format_RGB32);
    mmask.fill(Qt::white);
    out.picture(geo::kDigitMaskFile, mmask);
}

void writeSprite(SkinWriter& out, std::string_view picture, std::string_view mask,
                 const Sprite& s) {
    out.picture(picture, s.picture);
    out.picture(mask, s.mask);
}

void writeWings(SkinWriter& out) {
    for (const auto& w : geo::kWings) {
        writeSprite(out, w.picture, w.mask, drawWing(w));
        writeSprite(out, w.buttonClosed, w.buttonClosedMask, drawWingButton(w));
    }
    writeSprite(out, geo::kCentrePicture, geo::kCentreMask, drawCentre());
}

// The program's icon in the icon theme's layout, and the tray's copy.
void writeIcons(SkinWriter& out) {
    for (int size : kAppIconSizes) out.png(appIconFile(size), drawAppIcon(size));
    out.png(kTrayIconFile, drawAppIcon(kTrayIconSize));
}

}  // namespace

bool writeSkin(const std::filesystem::path& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "kestrelon: cannot make the skin directory %s: %s\n",
                     dir.string().c_str(), error.message().c_str());
        return false;
    }
    SkinWriter out(dir);
    writeFonts(out);

    QImage mainBack = drawMainBack();
    QImage lcd = drawLcd();
    writePieces(out, mainBack, lcd);
    out.picture(geo::kSkinPictureFile, mainBack);
    out.picture(geo::kLcdPictureFile, lcd);
    writeWings(out);
    out.picture(geo::kResetPicture, drawResetHint());

    for (const CursorArt& c : drawCursors()) out.bytes(c.file, cursorFile(c.image, c.hotspot));
    out.bytes("nimclick.wav", clickSound());
    writeIcons(out);

    const std::vector<std::string> missing = out.missing();
    for (const std::string& name : missing)
        std::fprintf(stderr, "kestrelon: the skin generator drew no %s\n", name.c_str());
    return out.ok() && missing.empty();
}

}  // namespace kestrelon::skingen

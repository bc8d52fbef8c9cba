// SPDX-License-Identifier: GPL-3.0-or-later
// The skin's file list, built from the geometry tables plus the few files no table names.
#include "skin/skin_files.h"

#include <algorithm>
#include <string_view>

namespace kestrelon {

namespace {

void add(std::vector<SkinFile>& files, std::string_view name, geo::Size size = {0, 0},
         bool picture = true) {
    auto same = [&](const SkinFile& f) { return f.name == name; };
    if (name.empty() || std::any_of(files.begin(), files.end(), same)) return;
    files.push_back({std::string(name), size, picture});
}

void addFont(std::vector<SkinFile>& files, const geo::Font& font) {
    for (char d = '0'; d <= '9'; ++d)
        add(files, std::string(font.prefix) + d + ".bmp", font.cell);
    add(files, font.colonFile, font.cell);
    add(files, font.dotFile, font.cell);
    add(files, font.dashFile, font.cell);
}

void addIndicator(std::vector<SkinFile>& files, const geo::Indicator& i) {
    add(files, i.on);
    add(files, i.off);
}

std::vector<SkinFile> build() {
    std::vector<SkinFile> files;
    add(files, geo::kSkinPictureFile, geo::kWindow);
    add(files, geo::kLcdPictureFile, geo::kLcd);
    add(files, geo::kDigitMaskFile, geo::kMmask);
    addFont(files, geo::kMediumFont);
    addFont(files, geo::kSmallFont);
    addFont(files, geo::kBigFont);
    for (const auto& r : geo::kReadouts) add(files, r.background);
    add(files, geo::kClockBackground);
    for (const auto& h : geo::kHostReadouts) add(files, h.background);
    for (const auto& u : geo::kHostUnits)
        for (std::string_view picture : u.pictures) add(files, picture, geo::kHostUnitSize);
    for (const auto& i : geo::kIcons) add(files, i.picture);
    for (const auto& i : geo::kIcons) add(files, i.highlighted);
    for (const auto* i : {&geo::kTempUnit, &geo::kCelsiusButton, &geo::kFahrenheitButton,
                          &geo::kAutoButton, &geo::kManualButton})
        addIndicator(files, *i);
    for (const auto& b : geo::kBacklightButtons) addIndicator(files, b.picture);
    addIndicator(files, geo::kLinkLamp);
    for (const auto& w : geo::kWings) {
        add(files, w.picture);
        add(files, w.mask);
    }
    for (const auto& w : geo::kWings) {
        add(files, w.buttonClosed);
        add(files, w.buttonClosedMask);
    }
    add(files, geo::kCentrePicture);
    add(files, geo::kCentreMask);
    add(files, geo::kAlarmBackground);
    addIndicator(files, geo::kAlarmSwitch);
    add(files, geo::kVolumeBackground);
    add(files, geo::kResetPicture);
    for (const char* other : {"arrow_m.cur", "harrow.cur", "move_r.cur", "nimclick.wav"})
        add(files, other, {0, 0}, false);
    return files;
}

}  // namespace

const std::vector<SkinFile>& skinFiles() {
    static const std::vector<SkinFile> files = build();
    return files;
}

}  // namespace kestrelon

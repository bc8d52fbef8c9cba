// SPDX-License-Identifier: GPL-3.0-or-later
// The window's outline: the runs of non-key pixels of the skin picture, and the region made of
// them.
#pragma once

#include <QImage>
#include <QRegion>
#include <vector>

namespace kestrelon {

// One horizontal run of inside pixels, half-open: x from left to right - 1 on row top.
struct RegionRun {
    int left, top, right, bottom;  // bottom is always top + 1
    bool operator==(const RegionRun&) const = default;
};

// Every run of pixels whose colour differs from the key colour (the colour of pixel (0, 0)),
// row by row top to bottom, left to right within a row. Empty for a picture made only of the
// key colour (the window then stays rectangular) and for an empty picture.
std::vector<RegionRun> MakeRegionFromMask(const QImage& surface);

// The region covered by the runs (which must be in the order MakeRegionFromMask gives them).
QRegion RegionFromRuns(const std::vector<RegionRun>& runs);

// A copy of `image` with alpha: opaque inside the runs, transparent everywhere else (what the
// desktop shows of the window).
QImage WithOutlineAlpha(const QImage& image, const std::vector<RegionRun>& runs);

}  // namespace kestrelon

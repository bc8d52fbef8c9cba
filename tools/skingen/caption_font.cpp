// SPDX-License-Identifier: GPL-3.0-or-later
// The caption font's letters, drawn by hand, and the code that paints them.
#include "tools/skingen/caption_font.h"

#include <array>

namespace kestrelon::skingen {

namespace {

struct Glyph {
    char c;
    std::array<std::string_view, kCaptionHeight> rows;
};

// Each letter is one 8-connected piece, so letters two columns apart never touch.
constexpr Glyph kGlyphs[] = {
    {'A', {".####.", "##..##", "##..##", "######", "##..##", "##..##", "##..##"}},
    {'B', {"#####.", "##..##", "##..##", "#####.", "##..##", "##..##", "#####."}},
    {'C', {".####.", "##..##", "##....", "##....", "##....", "##..##", ".####."}},
    {'D', {"####..", "##.##.", "##..##", "##..##", "##..##", "##.##.", "####.."}},
    {'E', {"######", "##....", "##....", "#####.", "##....", "##....", "######"}},
    {'F', {"######", "##....", "##....", "#####.", "##....", "##....", "##...."}},
    {'G', {".####.", "##..##", "##....", "##.###", "##..##", "##..##", ".#####"}},
    {'H', {"##..##", "##..##", "##..##", "######", "##..##", "##..##", "##..##"}},
    {'I', {"####", ".##.", ".##.", ".##.", ".##.", ".##.", "####"}},
    {'J', {"..####", "....##", "....##", "....##", "##..##", "##..##", ".####."}},
    {'K', {"##..##", "##.##.", "####..", "###...", "####..", "##.##.", "##..##"}},
    {'L', {"##....", "##....", "##....", "##....", "##....", "##....", "######"}},
    {'M', {"##...##", "###.###", "#######", "##.#.##", "##...##", "##...##", "##...##"}},
    {'N', {"##...##", "###..##", "####.##", "##.####", "##..###", "##...##", "##...##"}},
    {'O', {".####.", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."}},
    {'P', {"#####.", "##..##", "##..##", "#####.", "##....", "##....", "##...."}},
    {'Q', {".####.", "##..##", "##..##", "##..##", "##.###", "##.##.", ".##.##"}},
    {'R', {"#####.", "##..##", "##..##", "#####.", "####..", "##.##.", "##..##"}},
    {'S', {".####.", "##..##", "##....", ".####.", "....##", "##..##", ".####."}},
    {'T', {"######", "..##..", "..##..", "..##..", "..##..", "..##..", "..##.."}},
    {'U', {"##..##", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."}},
    {'V', {"##...##", "##...##", "##...##", ".##.##.", ".##.##.", "..###..", "...#..."}},
    {'W', {"##...##", "##...##", "##...##", "##.#.##", "#######", "###.###", "##...##"}},
    {'X', {"##..##", "##..##", ".####.", "..##..", ".####.", "##..##", "##..##"}},
    {'Y', {"##..##", "##..##", "##..##", ".####.", "..##..", "..##..", "..##.."}},
    {'Z', {"######", "....##", "...##.", "..##..", ".##...", "##....", "######"}},
    {' ', {"...", "...", "...", "...", "...", "...", "..."}},
};

const Glyph* glyphOf(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return &g;
    return nullptr;
}

}  // namespace

int captionWidth(std::string_view text) {
    int w = 0;
    for (char c : text)
        if (const Glyph* g = glyphOf(c)) w += int(g->rows[0].size()) + kCaptionSpacing;
    return w > 0 ? w - kCaptionSpacing : 0;
}

void paintCaption(QImage& img, int x, int y, std::string_view text, const QColor& colour) {
    const QRgb rgb = colour.rgb();
    for (char c : text) {
        const Glyph* g = glyphOf(c);
        if (!g) continue;
        for (int row = 0; row < kCaptionHeight; ++row)
            for (int col = 0; col < int(g->rows[row].size()); ++col)
                if (g->rows[row][col] == '#' && img.rect().contains(x + col, y + row))
                    img.setPixel(x + col, y + row, rgb);
        x += int(g->rows[0].size()) + kCaptionSpacing;
    }
}

QRect captionRect(QPoint centre, std::string_view text) {
    const int w = captionWidth(text);
    return QRect(centre.x() - w / 2, centre.y() - kCaptionHeight / 2, w, kCaptionHeight);
}

QRect paintLitCaption(QImage& img, QPoint centre, std::string_view text, const QColor& lit,
                      const QColor& shadow) {
    const QRect r = captionRect(centre, text);
    paintCaption(img, r.left() + 1, r.top() + 1, text, shadow);
    paintCaption(img, r.left(), r.top(), text, lit);
    return r;
}

}  // namespace kestrelon::skingen

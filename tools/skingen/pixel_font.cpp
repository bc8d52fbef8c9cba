// SPDX-License-Identifier: GPL-3.0-or-later
// The pixel data of every font and symbol, drawn by hand, and the code that paints them.
#include "tools/skingen/pixel_font.h"

#include <array>
#include <string>
#include <vector>

namespace kestrelon::skingen {

namespace {

using Rows = std::vector<std::string_view>;

// Small font, 5 x 7, dot-matrix style.
struct SmallGlyph {
    char c;
    Rows rows;
};
const std::array<SmallGlyph, 12> kSmall{{
    {'0', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
    {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
}};

// Seven-segment fonts: which segment (a..g) each pixel belongs to, and the colon's dots (':').
const Rows kMediumSegments{
    ".aaaaaa.",  //
    "f.aaaa.b",  //
    "ff....bb",  //
    "ff.::.bb",  //
    "ff.::.bb",  //
    "f.gggg.b",  //
    "e.gggg.c",  //
    "ee.::.cc",  //
    "ee.::.cc",  //
    "ee....cc",  //
    "e.dddd.c",  //
    ".dddddd.",  //
};
const Rows kBigSegments{
    ".aaaaaaaa.",  //
    "f.aaaaaa.b",  //
    "ff......bb",  //
    "ff..::..bb",  //
    "ff..::..bb",  //
    "f.gggggg.b",  //
    ".gggggggg.",  //
    "e.gggggg.c",  //
    "ee..::..cc",  //
    "ee..::..cc",  //
    "ee......cc",  //
    "e.dddddd.c",  //
    ".dddddddd.",  //
};
constexpr std::array<std::string_view, 10> kDigitSegments{
    "abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};

const Rows* segmentsOf(const geo::Font& font) {
    if (font.prefix == geo::kMediumFont.prefix) return &kMediumSegments;
    if (font.prefix == geo::kBigFont.prefix) return &kBigSegments;
    return nullptr;
}

void plot(QImage& img, int x, int y, QRgb c) {
    if (x >= 0 && y >= 0 && x < img.width() && y < img.height()) img.setPixel(x, y, c);
}

// Paints the pixels of `rows` whose character is in `on` (or any non-'.' when `on` is empty).
void paintRows(QImage& img, QPoint at, const Rows& rows, std::string_view on, QRgb c,
               int scale = 1) {
    for (int y = 0; y < int(rows.size()); ++y)
        for (int x = 0; x < int(rows[y].size()); ++x) {
            const char p = rows[y][x];
            const bool lit = on.empty() ? p != '.' : on.find(p) != std::string_view::npos;
            if (!lit) continue;
            for (int sy = 0; sy < scale; ++sy)
                for (int sx = 0; sx < scale; ++sx)
                    plot(img, at.x() + x * scale + sx, at.y() + y * scale + sy, c);
        }
}

// Label font, 5 rows high, most glyphs 3 wide.
struct LabelGlyph {
    char c;
    Rows rows;
};
const std::vector<LabelGlyph> kLabel{
    {'A', {".#.", "#.#", "###", "#.#", "#.#"}},
    {'B', {"##.", "#.#", "##.", "#.#", "##."}},
    {'C', {".##", "#..", "#..", "#..", ".##"}},
    {'D', {"##.", "#.#", "#.#", "#.#", "##."}},
    {'E', {"###", "#..", "##.", "#..", "###"}},
    {'F', {"###", "#..", "##.", "#..", "#.."}},
    {'G', {".##", "#..", "#.#", "#.#", ".##"}},
    {'H', {"#.#", "#.#", "###", "#.#", "#.#"}},
    {'I', {"###", ".#.", ".#.", ".#.", "###"}},
    {'K', {"#.#", "#.#", "##.", "#.#", "#.#"}},
    {'L', {"#..", "#..", "#..", "#..", "###"}},
    {'M', {"#...#", "##.##", "#.#.#", "#...#", "#...#"}},
    {'N', {"#..#", "##.#", "#.##", "#..#", "#..#"}},
    {'O', {".#.", "#.#", "#.#", "#.#", ".#."}},
    {'P', {"##.", "#.#", "##.", "#..", "#.."}},
    {'R', {"##.", "#.#", "##.", "#.#", "#.#"}},
    {'S', {".##", "#..", ".#.", "..#", "##."}},
    {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
    {'U', {"#.#", "#.#", "#.#", "#.#", "###"}},
    {'V', {"#.#", "#.#", "#.#", "#.#", ".#."}},
    {'W', {"#...#", "#...#", "#.#.#", "##.##", "#...#"}},
    {'X', {"#.#", "#.#", ".#.", "#.#", "#.#"}},
    {'Y', {"#.#", "#.#", ".#.", ".#.", ".#."}},
    {'Z', {"###", "..#", ".#.", "#..", "###"}},
    {'z', {"...", "###", ".#.", "#..", "###"}},
    {'0', {"###", "#.#", "#.#", "#.#", "###"}},
    {'1', {".#.", "##.", ".#.", ".#.", "###"}},
    {'2', {"##.", "..#", ".#.", "#..", "###"}},
    {'3', {"##.", "..#", ".#.", "..#", "##."}},
    {'4', {"#.#", "#.#", "###", "..#", "..#"}},
    {'5', {"###", "#..", "##.", "..#", "##."}},
    {'6', {".##", "#..", "###", "#.#", "###"}},
    {'7', {"###", "..#", ".#.", ".#.", ".#."}},
    {'8', {"###", "#.#", "###", "#.#", "###"}},
    {'9', {"###", "#.#", "###", "..#", "##."}},
    {'-', {"...", "...", "###", "...", "..."}},
    {'.', {".", ".", ".", ".", "#"}},
    {':', {".", "#", ".", "#", "."}},
    {'/', {"..#", "..#", ".#.", "#..", "#.."}},
    {'%', {"#.#", "..#", ".#.", "#..", "#.#"}},
    {' ', {"..", "..", "..", "..", ".."}},
    {'\xB0', {"###", "#.#", "###", "...", "..."}},  // degree sign (Latin-1)
};

const LabelGlyph* labelGlyph(char c) {
    for (const LabelGlyph& g : kLabel)
        if (g.c == c) return &g;
    return nullptr;
}

// Labels are written in UTF-8 in the source; the degree sign is the only non-ASCII character.
std::string latin1(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\xC2' && i + 1 < utf8.size() && utf8[i + 1] == '\xB0') {
            out += '\xB0';
            ++i;
        } else {
            out += utf8[i];
        }
    }
    return out;
}

struct SymbolArt {
    Symbol symbol;
    Rows rows;
};
const std::array<SymbolArt, 7> kSymbols{{
    {Symbol::Fan, {".###...", "..##..#", "...#.##", "#######", "##.#...", "#..##..", "...###."}},
    {Symbol::Thermometer, {".#.", "#.#", "#.#", "###", "###", "###", ".#."}},
    {Symbol::Bell,
     {"....#....", "...###...", "..#####..", "..#####..", "..#####..", ".#######.", ".#######.",
      "#########", "....#....", "........."}},
    {Symbol::Speaker, {"...#..", "..##.#", "####..", "####.#", "####..", "..##.#", "...#.."}},
    {Symbol::Globe,
     {"...#####...", ".##.#.#.##.", ".#..#.#..#.", "#.##.#.##.#", "#...#.#...#", "###########",
      "#...#.#...#", "#.##.#.##.#", ".#..#.#..#.", ".##.#.#.##.", "...#####..."}},
    {Symbol::DegreesC,
     {".#...###.", "#.#.#...#", ".#..#....", "....#....", "....#....", "....#...#", ".....###."}},
    {Symbol::DegreesF,
     {".#..#####", "#.#.#....", ".#..#....", "....####.", "....#....", "....#....", "....#...."}},
}};

}  // namespace

QImage digitGlyph(const geo::Font& font, char c, const QColor& lit) {
    QImage img(font.cell.w, font.cell.h, QImage::Format_RGB32);
    img.fill(Qt::black);
    if (const Rows* seg = segmentsOf(font)) {
        if (c == ':' && !font.colonFile.empty()) {
            paintRows(img, {0, 0}, *seg, ":", lit.rgb());
            return img;
        }
        if (c < '0' || c > '9') return {};
        paintRows(img, {0, 0}, *seg, kDigitSegments[c - '0'], lit.rgb());
        return img;
    }
    for (const SmallGlyph& g : kSmall)
        if (g.c == c) {
            if ((c == '.' && font.dotFile.empty()) || (c == '-' && font.dashFile.empty())) break;
            paintRows(img, {0, 0}, g.rows, "", lit.rgb());
            return img;
        }
    return {};
}

std::string_view fontCharacters(const geo::Font& font) {
    if (font.prefix == geo::kSmallFont.prefix) return "0123456789.-";
    return "0123456789:";
}

std::string glyphFile(const geo::Font& font, char c) {
    if (c >= '0' && c <= '9') return std::string(font.prefix) + c + ".bmp";
    if (c == ':') return std::string(font.colonFile);
    if (c == '.') return std::string(font.dotFile);
    if (c == '-') return std::string(font.dashFile);
    return {};
}

void paintGhostCell(QImage& img, const geo::Font& font, QPoint at, bool colon, const QColor& dim) {
    if (const Rows* seg = segmentsOf(font)) {
        paintRows(img, at, *seg, colon ? ":" : "abcdefg", dim.rgb());
        return;
    }
    // Dot-matrix cell: a faint checker of the pixels a character may light.
    for (int y = 0; y < font.cell.h; ++y)
        for (int x = (y % 2); x < font.cell.w; x += 2) plot(img, at.x() + x, at.y() + y, dim.rgb());
}

int labelWidth(std::string_view text, int scale) {
    int w = 0;
    for (char c : latin1(text))
        if (const LabelGlyph* g = labelGlyph(c)) w += (int(g->rows[0].size()) + 1) * scale;
    return w > 0 ? w - scale : 0;
}

void paintLabel(QImage& img, int x, int y, std::string_view text, const QColor& colour, int scale) {
    for (char c : latin1(text)) {
        const LabelGlyph* g = labelGlyph(c);
        if (!g) continue;
        paintRows(img, {x, y}, g->rows, "", colour.rgb(), scale);
        x += (int(g->rows[0].size()) + 1) * scale;
    }
}

void engraveLabel(QImage& img, int x, int y, std::string_view text, const QColor& dark,
                  const QColor& light, int scale) {
    paintLabel(img, x, y + 1, text, light, scale);
    paintLabel(img, x, y, text, dark, scale);
}

QSize symbolSize(Symbol s) {
    for (const SymbolArt& a : kSymbols)
        if (a.symbol == s) return QSize(int(a.rows[0].size()), int(a.rows.size()));
    return {};
}

void paintSymbol(QImage& img, int x, int y, Symbol s, const QColor& colour) {
    for (const SymbolArt& a : kSymbols)
        if (a.symbol == s) paintRows(img, {x, y}, a.rows, "", colour.rgb());
}

}  // namespace kestrelon::skingen

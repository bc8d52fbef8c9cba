// SPDX-License-Identifier: GPL-3.0-or-later
// Every fixed position, file name and rectangle of the skin, in one place. The renderer, the
// skin generator and the hit map all read these tables; nothing else spells out a coordinate.
#pragma once

#include <array>
#include <string_view>

#include "core/channel.h"
#include "core/settings_model.h"

namespace kestrelon::geo {

struct Point {
    int x, y;
};
struct Size {
    int w, h;
};
// Inclusive rectangle: x0 <= x <= x1 and y0 <= y <= y1.
struct Area {
    int x0, x1, y0, y1;
    constexpr bool contains(double x, double y) const {
        return x0 <= x && x <= x1 && y0 <= y && y <= y1;
    }
};

// ---- Surfaces ---------------------------------------------------------------------------------
inline constexpr Size kWindow{660, 441};
inline constexpr Size kLcd{210, 210};
inline constexpr Point kLcdOrigin{122, 119};    // blcd's place on mainba2 and on the window
inline constexpr Size kComposedBlock{420, 438};  // copied from mainba2 to mainback
inline constexpr Size kMmask{8, 12};
inline constexpr int kSidePanelX = 420;  // everything from here on is drawn straight into mainback

// Files holding the initial images of the surfaces (our own names; the program stores them loose).
inline constexpr std::string_view kSkinPictureFile = "mainback.bmp";  // mainback, mainba1, mainba2
inline constexpr std::string_view kLcdPictureFile = "blcd.bmp";
inline constexpr std::string_view kDigitMaskFile = "mmask.bmp";

enum class Surface { Window, Lcd };

// ---- Digit fonts ------------------------------------------------------------------------------
struct Font {
    std::string_view prefix;  // "s", "m", "b": glyph files prefix + digit + ".bmp"
    Size cell;
    int advance;
    std::string_view colonFile;  // "" when the font has no ':'
    std::string_view dotFile;    // "" when the font has no '.'
    std::string_view dashFile;   // "" when the font has no '-'
};
inline constexpr Font kSmallFont{"s", {5, 7}, 6, "", "sdot.bmp", "s-.bmp"};
inline constexpr Font kMediumFont{"m", {8, 12}, 9, "mcom.bmp", "", ""};
inline constexpr Font kBigFont{"b", {10, 13}, 11, "bcom.bmp", "", ""};

// ---- Drawing orders of the per-channel pieces -------------------------------------------------
// The side panel's rows, top to bottom, and the LCD's rows of icons: CPU, case, VGA, HDD.
inline constexpr std::array<Channel, 4> kRowOrder{Channel::Cpu, Channel::Case, Channel::Vga,
                                                  Channel::Hdd};
// The LCD's set point and limit readouts at a full redraw.
inline constexpr std::array<Channel, 4> kSetPointOrder{Channel::Cpu, Channel::Vga, Channel::Case,
                                                       Channel::Hdd};
// The limit readouts after a change of unit.
inline constexpr std::array<Channel, 4> kUnitChangeOrder{Channel::Cpu, Channel::Case, Channel::Hdd,
                                                         Channel::Vga};

// ---- Readouts (small font, right-aligned, "----" for absent values) ---------------------------
enum class ReadoutKind { Temp, Fan, Threshold, FanSet };
struct Readout {
    ReadoutKind kind;
    Channel channel;
    std::string_view background;
    Point rightmost;  // left edge of the last character, on the background
    Surface target;
    Point at;
};
inline constexpr std::array<Readout, 16> kReadouts{{
    {ReadoutKind::Temp, Channel::Cpu, "scpuba.bmp", {24, 1}, Surface::Window, {474, 183}},
    {ReadoutKind::Temp, Channel::Hdd, "scaseba.bmp", {24, 1}, Surface::Window, {474, 196}},
    {ReadoutKind::Temp, Channel::Vga, "svgaba.bmp", {24, 1}, Surface::Window, {474, 210}},
    {ReadoutKind::Temp, Channel::Case, "shddba.bmp", {24, 1}, Surface::Window, {474, 224}},
    {ReadoutKind::Fan, Channel::Cpu, "scpufba.bmp", {24, 1}, Surface::Window, {518, 183}},
    {ReadoutKind::Fan, Channel::Hdd, "scasefba.bmp", {24, 1}, Surface::Window, {518, 196}},
    {ReadoutKind::Fan, Channel::Vga, "svgafba.bmp", {24, 1}, Surface::Window, {518, 210}},
    {ReadoutKind::Fan, Channel::Case, "shddfba.bmp", {24, 1}, Surface::Window, {518, 224}},
    {ReadoutKind::Threshold, Channel::Cpu, "tcpuba.bmp", {20, 3}, Surface::Lcd, {153, 112}},
    {ReadoutKind::Threshold, Channel::Hdd, "tcaseba.bmp", {20, 3}, Surface::Lcd, {153, 130}},
    {ReadoutKind::Threshold, Channel::Vga, "tvgaba.bmp", {20, 3}, Surface::Lcd, {153, 146}},
    {ReadoutKind::Threshold, Channel::Case, "thddba.bmp", {20, 3}, Surface::Lcd, {153, 163}},
    {ReadoutKind::FanSet, Channel::Cpu, "fcpuba.bmp", {20, 3}, Surface::Lcd, {38, 112}},
    {ReadoutKind::FanSet, Channel::Hdd, "fcaseba.bmp", {20, 3}, Surface::Lcd, {38, 130}},
    {ReadoutKind::FanSet, Channel::Vga, "fvgaba.bmp", {20, 3}, Surface::Lcd, {38, 146}},
    {ReadoutKind::FanSet, Channel::Case, "fhddba.bmp", {20, 3}, Surface::Lcd, {38, 163}},
}};

// ---- Clock and host readouts (side panel) -----------------------------------------------------
inline constexpr std::string_view kClockBackground = "stba.bmp";
inline constexpr Point kClockAt{468, 161};  // five medium characters at x = 0, 9, 18, 27, 36

enum class HostFact { CpuClock, Memory, Disk };
struct HostReadout {
    HostFact fact;
    std::string_view background;
    Point rightmost;
    Point at;
};
inline constexpr std::array<HostReadout, 3> kHostReadouts{{
    {HostFact::CpuClock, "sspba.bmp", {25, 1}, {520, 245}},
    {HostFact::Memory, "sramba.bmp", {18, 1}, {480, 260}},
    {HostFact::Disk, "shdba.bmp", {12, 1}, {516, 274}},
}};
// How many small-font characters a readout holds: its cells from the left edge to `rightmost`.
constexpr int ReadoutDigits(Point rightmost) {
    return rightmost.x / kSmallFont.advance + 1;
}
// The unit word after a host readout, one picture per unit, each unit 1024 times the one before
// (the readout's own first): a value with more digits than the readout holds is shown in the
// next unit where it fits.
struct HostUnits {
    HostFact fact;
    std::array<std::string_view, 3> pictures;
    Point at;  // on mainback
};
inline constexpr Size kHostUnitSize{9, 5};
inline constexpr std::array<HostUnits, 2> kHostUnits{{
    {HostFact::Memory, {"srammb.bmp", "sramgb.bmp", "sramtb.bmp"}, {506, 262}},
    {HostFact::Disk, {"shdgb.bmp", "shdtb.bmp", "shdpb.bmp"}, {536, 276}},
}};

// ---- Icons: normal and highlighted pictures at one place --------------------------------------
enum class IconRow { Sensor, Fan, Threshold };
struct Icon {
    IconRow row;
    Channel channel;
    std::string_view picture;
    std::string_view highlighted;
    Surface target;
    Point at;  // on the target surface
};
inline constexpr std::array<Icon, 12> kIcons{{
    {IconRow::Sensor, Channel::Cpu, "scpu.bmp", "scpub.bmp", Surface::Window, {449, 183}},
    {IconRow::Sensor, Channel::Hdd, "shdd.bmp", "shddb.bmp", Surface::Window, {448, 196}},
    {IconRow::Sensor, Channel::Vga, "svga.bmp", "svgab.bmp", Surface::Window, {449, 210}},
    {IconRow::Sensor, Channel::Case, "scase.bmp", "scaseb.bmp", Surface::Window, {443, 224}},
    {IconRow::Fan, Channel::Cpu, "fcpu.bmp", "fcpub.bmp", Surface::Lcd, {10, 114}},
    {IconRow::Fan, Channel::Hdd, "fhdd.bmp", "fhddb.bmp", Surface::Lcd, {10, 132}},
    {IconRow::Fan, Channel::Vga, "fvga.bmp", "fvgab.bmp", Surface::Lcd, {10, 149}},
    {IconRow::Fan, Channel::Case, "fcase.bmp", "fcaseb.bmp", Surface::Lcd, {6, 165}},
    {IconRow::Threshold, Channel::Cpu, "tcpu.bmp", "tcpub.bmp", Surface::Lcd, {125, 114}},
    {IconRow::Threshold, Channel::Hdd, "thdd.bmp", "thddb.bmp", Surface::Lcd, {124, 132}},
    {IconRow::Threshold, Channel::Vga, "tvga.bmp", "tvgab.bmp", Surface::Lcd, {125, 149}},
    {IconRow::Threshold, Channel::Case, "tcase.bmp", "tcaseb.bmp", Surface::Lcd, {121, 166}},
}};

// ---- State pictures ---------------------------------------------------------------------------
// A pair of pictures drawn at one place: `on` when the state holds, else `off`.
struct Indicator {
    std::string_view on;
    std::string_view off;
    Surface target;
    Point at;
};
inline constexpr Indicator kTempUnit{"sdf.bmp", "sdc.bmp", Surface::Window, {505, 182}};  // on = °F
inline constexpr Indicator kLinkLamp{"linkon.bmp", "linkoff.bmp", Surface::Window, {494, 289}};
inline constexpr Indicator kCelsiusButton{"dcon.bmp", "dcoff.bmp", Surface::Lcd, {127, 187}};
inline constexpr Indicator kFahrenheitButton{"dfon.bmp", "dfoff.bmp", Surface::Lcd, {152, 187}};
inline constexpr Indicator kAutoButton{"auon.bmp", "auoff.bmp", Surface::Lcd, {33, 194}};
inline constexpr Indicator kManualButton{"maon.bmp", "maoff.bmp", Surface::Lcd, {68, 194}};
inline constexpr Indicator kAlarmSwitch{"alen.bmp", "aldis.bmp", Surface::Lcd, {48, 29}};

struct BacklightButton {
    Backlight color;  // the backlight it lights for
    Indicator picture;
};
// Drawing order: the four unlit, then the lit one.
inline constexpr std::array<BacklightButton, 4> kBacklightButtons{{
    {Backlight::Off, {"offon.bmp", "offoff.bmp", Surface::Lcd, {14, 72}}},
    {Backlight::Blue, {"blueon.bmp", "blueoff.bmp", Surface::Lcd, {47, 72}}},
    {Backlight::Purple, {"puron.bmp", "puroff.bmp", Surface::Lcd, {14, 85}}},
    {Backlight::Red, {"redon.bmp", "redoff.bmp", Surface::Lcd, {47, 85}}},
}};

// ---- Alarm panel and volume slider (inside the LCD) -------------------------------------------
inline constexpr std::string_view kAlarmBackground = "alba.bmp";
inline constexpr Point kAlarmPanelOnLcd{26, 8};
inline constexpr Point kAlarmPanelOnWindow{148, 127};  // five big characters at x = 11 * (i - 1)

inline constexpr std::string_view kVolumeBackground = "volba.bmp";
inline constexpr Point kVolumeOnLcd{132, 10};
// The slider drawn over kVolumeBackground: the level line sits at y = baseY - lift, the lift
// running 0..liftRange with the volume 0..100 %. Bar, tick and knob span the given columns.
struct VolumeSlider {
    int baseY, liftRange;
    int barLeft, barRight;    // filled from the level line down to baseY
    int tickLeft, tickRight;  // one-pixel line on the level line
    int knobX, knobRadius;    // filled circle centred on the level line
    int hitX, hitYOffset;     // the knob mark: x, and y = level line + hitYOffset (window pixels)
};
inline constexpr VolumeSlider kVolumeSlider{75, 60, 1, 27, 28, 34, 38, 4, 288, 124};
// The knob answers to a drag inside a box around its mark: from kKnobHitMargin pixels above and
// left of the mark, kKnobHitSize pixels wide and high. The box's centre is where the pointer holds
// the knob, so at 0 % the pointer is that far below the lowest mark.
inline constexpr int kKnobHitMargin = 4, kKnobHitSize = 16;
constexpr bool inKnobHitBox(double markX, double markY, double x, double y) {
    return markX - kKnobHitMargin <= x && x <= markX - kKnobHitMargin + kKnobHitSize &&
           markY - kKnobHitMargin <= y && y <= markY - kKnobHitMargin + kKnobHitSize;
}
inline constexpr double kKnobZeroY =
    kVolumeSlider.baseY + kVolumeSlider.hitYOffset - kKnobHitMargin + kKnobHitSize / 2.0;
inline constexpr std::string_view kResetPicture = "reset.bmp";

// ---- Wings ------------------------------------------------------------------------------------
enum class WingId { UpperLeft, LowerLeft, UpperRight, LowerRight };
struct Block {
    int x, y, w, h;
};
struct Wing {
    WingId id;
    std::string_view picture, mask;
    Point closed, open;
    Point openStep;  // per frame while opening; closing runs the other way
    int frames;
    Block screenBlock;  // refreshed on mainback by each frame
    // Corner button: fixed place; picture and mask for the closed and the open wing.
    Point buttonAt;
    std::string_view buttonClosed, buttonClosedMask;
    std::string_view buttonOpen, buttonOpenMask;
};
// In the order DrawWings lays them down.
inline constexpr std::array<Wing, 4> kWings{{
    {WingId::UpperLeft, "luw.bmp", "luwma.bmp", {107, 104}, {25, 22}, {-2, -2}, 42,
     {0, 0, 225, 222}, {118, 115}, "luwbt.bmp", "luwbtma.bmp", "rdwbt.bmp", "rdwbtma.bmp"},
    {WingId::LowerLeft, "ldw.bmp", "ldwma.bmp", {108, 228}, {26, 310}, {-2, 2}, 42,
     {0, 225, 225, 222}, {117, 315}, "ldwbt.bmp", "ldwbtma.bmp", "ruwbt.bmp", "ruwbtma.bmp"},
    {WingId::UpperRight, "ruw.bmp", "ruwma.bmp", {233, 103}, {313, 23}, {2, -2}, 41,
     {225, 0, 205, 222}, {320, 112}, "ruwbt.bmp", "ruwbtma.bmp", "ldwbt.bmp", "ldwbtma.bmp"},
    {WingId::LowerRight, "rdw.bmp", "rdwma.bmp", {232, 228}, {312, 308}, {2, 2}, 41,
     {225, 225, 205, 222}, {318, 314}, "rdwbt.bmp", "rdwbtma.bmp", "luwbt.bmp", "luwbtma.bmp"},
}};
inline constexpr std::string_view kCentrePicture = "cen.bmp";
inline constexpr std::string_view kCentreMask = "cenma.bmp";
inline constexpr Point kCentreAt{207, 204};

// ---- Clickable controls (window coordinates, inclusive) ---------------------------------------
enum class Control {
    ResetSpot, WebLink, AlarmOnOff, AlarmSet, AlarmDown, AlarmUp,
    BacklightOff, BacklightBlue, BacklightPurple, BacklightRed,
    FanAuto, FanManual, Celsius, Fahrenheit,
    SensorCpu, SensorCase, SensorVga, SensorHdd,
    FanIconCpu, FanIconCase, FanIconVga, FanIconHdd,
    LimitIconCpu, LimitIconCase, LimitIconVga, LimitIconHdd,
    FanArrowUp, FanArrowDown, LimitArrowUp, LimitArrowDown,
    WingButtonUpperLeft, WingButtonLowerLeft, WingButtonUpperRight, WingButtonLowerRight,
    Minimise, Close,
};
// The wing that must be open for a control to answer (None: always).
enum class Gate { None, UpperLeft, LowerLeft, UpperRight, LowerRight };
struct ClickArea {
    Control control;
    Area area;
    Gate gate;
};
// In the order the click handler tests them. The web link is two rectangles.
inline constexpr std::array<ClickArea, 37> kClickAreas{{
    {Control::ResetSpot, {88, 97, 220, 229}, Gate::None},
    {Control::WebLink, {357, 418, 215, 228}, Gate::None},
    {Control::WebLink, {394, 418, 203, 240}, Gate::None},
    {Control::AlarmOnOff, {170, 180, 148, 158}, Gate::UpperLeft},
    {Control::AlarmSet, {132, 147, 146, 162}, Gate::UpperLeft},
    {Control::AlarmDown, {173, 189, 162, 178}, Gate::UpperLeft},
    {Control::AlarmUp, {193, 208, 163, 178}, Gate::UpperLeft},
    {Control::BacklightOff, {136, 166, 191, 201}, Gate::UpperLeft},
    {Control::BacklightBlue, {169, 199, 191, 201}, Gate::UpperLeft},
    {Control::BacklightPurple, {136, 166, 204, 214}, Gate::UpperLeft},
    {Control::BacklightRed, {169, 199, 204, 214}, Gate::UpperLeft},
    {Control::FanAuto, {155, 185, 313, 323}, Gate::LowerLeft},
    {Control::FanManual, {190, 220, 313, 323}, Gate::LowerLeft},
    {Control::Celsius, {249, 267, 301, 321}, Gate::LowerRight},
    {Control::Fahrenheit, {274, 292, 301, 321}, Gate::LowerRight},
    {Control::SensorCpu, {449, 470, 183, 190}, Gate::None},
    {Control::SensorCase, {443, 470, 224, 233}, Gate::None},
    {Control::SensorVga, {449, 470, 210, 217}, Gate::None},
    {Control::SensorHdd, {448, 470, 196, 205}, Gate::None},
    {Control::FanIconCpu, {132, 153, 233, 241}, Gate::LowerLeft},
    {Control::FanIconCase, {128, 156, 284, 292}, Gate::LowerLeft},
    {Control::FanIconVga, {132, 153, 268, 275}, Gate::LowerLeft},
    {Control::FanIconHdd, {132, 154, 251, 260}, Gate::LowerLeft},
    {Control::LimitIconCpu, {248, 269, 233, 241}, Gate::LowerRight},
    {Control::LimitIconCase, {243, 271, 285, 293}, Gate::LowerRight},
    {Control::LimitIconVga, {248, 269, 268, 275}, Gate::LowerRight},
    {Control::LimitIconHdd, {246, 268, 251, 260}, Gate::LowerRight},
    {Control::FanArrowUp, {200, 215, 253, 269}, Gate::LowerLeft},
    {Control::FanArrowDown, {200, 215, 273, 289}, Gate::LowerLeft},
    {Control::LimitArrowUp, {310, 325, 253, 269}, Gate::LowerRight},
    {Control::LimitArrowDown, {310, 325, 273, 289}, Gate::LowerRight},
    {Control::WingButtonUpperLeft, {116, 133, 113, 130}, Gate::None},
    {Control::WingButtonLowerLeft, {117, 134, 315, 332}, Gate::None},
    {Control::WingButtonUpperRight, {320, 337, 112, 129}, Gate::None},
    {Control::WingButtonLowerRight, {318, 335, 314, 331}, Gate::None},
    {Control::Minimise, {44, 56, 217, 229}, Gate::None},
    {Control::Close, {59, 71, 217, 229}, Gate::None},
}};

// Where the pointer shows the hand: every click area under the same wing conditions, except six
// icons whose hover rectangle differs from their click rectangle.
struct HoverOverride {
    Control control;
    Area area;
};
inline constexpr std::array<HoverOverride, 6> kHoverOverrides{{
    {Control::SensorHdd, {443, 470, 196, 203}},
    {Control::SensorCase, {449, 470, 224, 231}},
    {Control::FanIconHdd, {125, 153, 251, 258}},
    {Control::FanIconCase, {132, 153, 284, 291}},
    {Control::LimitIconHdd, {241, 269, 251, 258}},
    {Control::LimitIconCase, {248, 269, 284, 291}},
}};
constexpr std::array<ClickArea, kClickAreas.size()> makeHoverAreas() {
    std::array<ClickArea, kClickAreas.size()> areas = kClickAreas;
    for (ClickArea& a : areas)
        for (const HoverOverride& o : kHoverOverrides)
            if (a.control == o.control) a.area = o.area;
    return areas;
}
// In the order the hover step tests them.
inline constexpr std::array<ClickArea, kClickAreas.size()> kHoverAreas = makeHoverAreas();

inline constexpr Area kResetSpot = kClickAreas.front().area;
static_assert(kClickAreas.front().control == Control::ResetSpot);
// The pointer's position at the reset spot shows the reset hint; the hint's top edge sits this
// far above the pointer.
inline constexpr int kResetHintRise = 20;

// ---- Grab areas at the right-hand corners (computed in single precision) ----------------------
constexpr bool inUpperGrabArea(float x, float y) {
    return y - x + 564.0f < 0.0f || (y - x + 543.0f < 0.0f && x > 628.0f) ||
           (y - x + 540.0f < 0.0f && y < 31.0f);
}
constexpr bool inLowerGrabArea(float x, float y) {
    return x + y > 1008.0f || (x + y > 985.0f && x > 631.0f) || (x + y > 988.0f && y > 412.0f);
}

}  // namespace kestrelon::geo

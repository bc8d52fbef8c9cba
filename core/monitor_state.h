// SPDX-License-Identifier: GPL-3.0-or-later
// The monitor state: every named variable the program shares between its subsystems.
// Widths follow the panel's conventions: Long = int32_t, Integer = int16_t, flags = bool.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace kestrelon {

// Four values indexed by channel number 1..4 (1 CPU, 2 HDD, 3 VGA, 4 case).
template <typename T>
struct PerChannel {
    std::array<T, 4> v{};

    T& operator[](int channel) { return v.at(index(channel)); }
    const T& operator[](int channel) const { return v.at(index(channel)); }
    bool operator==(const PerChannel&) const = default;

private:
    static std::size_t index(int channel) {
        if (channel < 1 || channel > 4) throw std::out_of_range("channel must be 1..4");
        return static_cast<std::size_t>(channel - 1);
    }
};

inline constexpr int kChannels = 4;

struct MonitorState {
    // Readings: displayed (t, f) and latest (new_t, new_f); fan limits from the panel.
    PerChannel<int32_t> t, new_t;
    PerChannel<int32_t> f, new_f;
    PerChannel<int32_t> lf;

    // Settings kept in Settings.inf.
    PerChannel<int32_t> st;   // temperature limits, Celsius
    PerChannel<int32_t> fst;  // temperature limits, Fahrenheit
    PerChannel<int32_t> sf;   // fan set points, automatic mode
    PerChannel<int32_t> msf;  // manual fan speeds
    int16_t back_color = 0;   // 0 off, 1 red, 2 blue, 3 purple
    bool auto_stat = false;   // automatic fan control
    bool t_unit = false;      // Fahrenheit
    bool dec_stat = true;     // Celsius button lit; always !t_unit
    std::string alarm_time;   // "HH:MM"

    // Status register and device link.
    int16_t usb_vol = 0;   // volume level 0..28
    int16_t lcd_mode = 0;  // sensor shown on the panel's LCD, 0..3
    bool alarm_en = false;
    bool save_reg29 = true;  // bit 2 of the status register's mode byte
    bool eeprom = false;     // EEPROM busy, as last read
    bool DeviceDetected = false;
    std::string input_data;  // last reply as "HH," pairs
    std::string time_date;   // date text for the clock and alarm records; never filled

    // Poll cycle.
    std::string time_hour, new_time_hour;  // "HH:MM"
    bool auto_scan = false;
    bool connect = false;
    int16_t tick_count = 0;

    // Host facts and volume.
    int32_t speed = 0;     // processor clock, MHz
    int32_t totalram = 0;  // memory, MB
    int32_t totalmb = 0;   // system drive, GB
    int32_t vol = 0;       // master volume, percent
    int32_t new_vol = 0;
    int16_t old_usb_vol = 0;
    int16_t knob_x = 0, knob_y = 0;

    // Wings.
    bool luw_open = false, ldw_open = false, ruw_open = false, rdw_open = false;

    // Selection blinking (item codes 0..14, 0 = nothing) and alarm editing. Times are seconds on
    // the monotonic clock, so nothing sticks or fires early when the time of day jumps.
    std::array<int16_t, 15> flash{};      // the Flash_* flags by item code: 1 = selected, blinking
    std::array<double, 15> flash_time{};  // the Flash_*_time values: last picture change by code
    int16_t Flash_static = 0;             // the blink phase all items share: 1 = blink picture
    int16_t new_flash_num = 0, old_flash_num = 0;
    double flash_trg_time = 0;  // last selection or arrow click
    bool set_alarm_hour = false, set_alarm_min = false;
    double set_alarm_trg_time = 0;  // last click on the alarm's set, up or down button

    // Pointer and keys.
    float now_xx = 0, now_yy = 0;
    int16_t mdown_x = 0, mdown_y = 0;
    bool ctrl_alt_down = false;
    int16_t cur_kind = 0;
};

}  // namespace kestrelon

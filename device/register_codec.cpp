// SPDX-License-Identifier: GPL-3.0-or-later
// Encoding of register writes and decoding of register reads.
#include "device/register_codec.h"

#include <algorithm>

namespace kestrelon {

namespace {

int digitAt(const std::string& text, int position) {
    if (position < 1 || static_cast<std::size_t>(position) > text.size()) return 0;
    char c = text[static_cast<std::size_t>(position - 1)];
    return (c >= '0' && c <= '9') ? c - '0' : 0;
}

void putWord(RequestParams& params, std::size_t at, int64_t value) {
    uint16_t word = clampWord(value);
    params[at] = static_cast<uint8_t>(word & 0xFF);
    params[at + 1] = static_cast<uint8_t>(word >> 8);
}

// Status register byte 2: bit 0 manual fans, bit 1 alarm armed, bit 2 save to EEPROM.
uint8_t modeBits(const MonitorState& s) {
    return static_cast<uint8_t>((s.settings.fansAutomatic() ? 0 : 0x01) |
                                (s.panel.alarmEnabled ? 0x02 : 0) |
                                (s.panel.saveToEeprom ? 0x04 : 0));
}

Reading applyRule(ReplyRule rule, int32_t value) {
    switch (rule) {
        case ReplyRule::NoSensor255:
            return value == 255 ? Reading() : value;
        case ReplyRule::RoundDownHundreds:
            return value / 100 * 100;
        default:
            return value;
    }
}

}  // namespace

uint8_t clampByte(int64_t value) {
    return static_cast<uint8_t>(std::clamp<int64_t>(value, 0, 255));
}

uint16_t clampWord(int64_t value) {
    return static_cast<uint16_t>(std::clamp<int64_t>(value, 0, 65535));
}

uint8_t packedBcd(const std::string& text, int position) {
    return static_cast<uint8_t>(digitAt(text, position) << 4 | digitAt(text, position + 1));
}

RequestParams encodeRequest(const RegisterRow& row, const MonitorState& state) {
    RequestParams p{};
    switch (row.payload) {
        case Payload::None:
            break;
        case Payload::ChannelBytes: {
            const auto& values = channelValues(state, row.channels);
            for (Channel ch : kAllChannels) p[channelIndex(ch)] = clampByte(values[ch]);
            break;
        }
        case Payload::PairWords: {
            const auto& values = channelValues(state, row.channels);
            const auto [first, second] = channelsOf(row.pair);
            putWord(p, 0, values[first]);
            putWord(p, 2, values[second]);
            break;
        }
        case Payload::TimeRecord: {
            const std::string& time = timeText(state, row.time);
            p[0] = packedBcd(state.panel.dateText, 7);
            p[1] = packedBcd(state.panel.dateText, 1);
            p[2] = packedBcd(state.panel.dateText, 4);
            p[3] = packedBcd(time, 1);  // hour
            p[4] = packedBcd(time, 4);  // minute
            break;
        }
        case Payload::StatusBits:
            p[0] = modeBits(state);
            p[1] = state.settings.fahrenheit() ? 0x01 : 0x00;
            p[2] = clampByte(state.panel.volumeLevel);
            p[3] = static_cast<uint8_t>(clampByte(state.panel.lcdSensor) | 0x10);
            p[4] = clampByte(static_cast<int16_t>(state.settings.backlight));
            break;
    }
    return p;
}

uint16_t replyWord(std::span<const uint8_t> reply, std::size_t k) {
    auto at = [&](std::size_t i) -> unsigned { return i < reply.size() ? reply[i] : 0u; };
    return static_cast<uint16_t>(at(k + 1) * 256u + at(k));
}

void decodeReply(const RegisterRow& row, std::span<const uint8_t> reply, MonitorState& state) {
    switch (row.reply) {
        case ReplyRule::Ignored:
            return;
        case ReplyRule::BusyFlag:
            state.panel.eepromBusy = reply.size() > 4 && reply[4] != 0;
            return;
        default:
            break;
    }
    const auto [first, second] = channelsOf(row.pair);
    const Reading firstValue = applyRule(row.reply, replyWord(reply, 2));
    const Reading secondValue = applyRule(row.reply, replyWord(reply, 4));
    if (isReading(row.channels)) {
        auto& values = readingValues(state, row.channels);
        values[first] = firstValue;
        values[second] = secondValue;
        return;
    }
    auto& values = channelValues(state, row.channels);
    values[first] = firstValue.value_or(0);
    values[second] = secondValue.value_or(0);
}

}  // namespace kestrelon

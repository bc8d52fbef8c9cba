// SPDX-License-Identifier: GPL-3.0-or-later
// Checksum and reply text of the panel's reports.
#include "device/report_frame.h"

namespace kestrelon {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

void appendHex(std::string& text, uint8_t byte) {
    text.push_back(kHexDigits[byte >> 4]);
    text.push_back(kHexDigits[byte & 0x0F]);
}
}  // namespace

uint8_t reportChecksum(std::span<const uint8_t, 7> bytes1to7) {
    unsigned sum = 0;
    for (uint8_t b : bytes1to7) sum += b;
    return static_cast<uint8_t>((sum ^ 0x3Cu) & 0xFFu);
}

bool frameChecksumOk(std::span<const uint8_t> frame) {
    if (frame.size() <= kChecksumIndex) return false;
    return reportChecksum(frame.subspan<1, 7>()) == frame[kChecksumIndex];
}

std::string replyText(std::span<const uint8_t> reply) {
    std::string text;
    if (reply.size() > 1) text.reserve(3 * (reply.size() - 1));
    for (std::size_t k = 1; k < reply.size(); ++k) {
        appendHex(text, reply[k]);
        text.push_back(',');
    }
    return text;
}

uint8_t replyByteFromText(const std::string& inputData, int k) {
    if (k < 1) return 0;
    const std::size_t high = 3 * static_cast<std::size_t>(k) - 3;  // 0-based position 3k-2
    int value = 0;
    for (std::size_t i = high; i < high + 2; ++i)
        value = value * 16 + (i < inputData.size() ? hexValue(inputData[i]) : 0);
    return static_cast<uint8_t>(value);
}

std::string hexBytes(std::span<const uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) text.push_back(' ');
        appendHex(text, bytes[i]);
    }
    return text;
}

}  // namespace kestrelon

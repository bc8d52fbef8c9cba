// SPDX-License-Identifier: GPL-3.0-or-later
// Checksums of request frames and the text form of replies.
#include "device/report_frame.h"

#include <gtest/gtest.h>

#include <array>

namespace kestrelon {

namespace {
uint8_t checksumOf(std::array<uint8_t, 7> bytes) {
    return reportChecksum(bytes);
}
}  // namespace

TEST(ReportChecksum, SumExclusiveOrKeepsTheLowEightBits) {
    EXPECT_EQ(checksumOf({0x29, 0x01, 0x00, 0x05, 0x10, 0x00, 0x00}), 0x03);
    // 7 x 0xFF = 0x6F9; 0x6F9 ^ 0x3C = 0x6C5.
    EXPECT_EQ(checksumOf({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), 0xC5);
    // 0x2C + 0xFF + 0xFF = 0x22A; ^ 0x3C = 0x216.
    EXPECT_EQ(checksumOf({0x2C, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00}), 0x16);
}

TEST(ReportChecksum, FrameCheckNeedsTheChecksumByte) {
    std::array<uint8_t, 9> frame{0x00, 0x29, 0x07, 0x00, 0x0E, 0x12, 0x03, 0x00, 0x6F};
    EXPECT_TRUE(frameChecksumOk(frame));
    frame[4] = 0x0F;
    EXPECT_FALSE(frameChecksumOk(frame));
    EXPECT_FALSE(frameChecksumOk(std::span<const uint8_t>(frame.data(), 8)));
}

TEST(ReplyText, EachByteAfterTheReportIdAtItsPositions) {
    std::array<uint8_t, 10> reply{0x00, 0x14, 0x2D, 0x00, 0xFF, 0x00, 0x0A, 0xB7, 0x01, 0x00};
    std::string text = replyText(reply);
    EXPECT_EQ(text, "14,2D,00,FF,00,0A,B7,01,00,");
    // Byte k at 1-based positions 3k-2 and 3k-1.
    for (int k = 1; k <= 9; ++k) {
        EXPECT_EQ(replyByteFromText(text, k), reply[static_cast<std::size_t>(k)]) << k;
        EXPECT_EQ(text[static_cast<std::size_t>(3 * k - 1)], ',');  // position 3k
    }
    EXPECT_EQ(replyByteFromText(text, 10), 0) << "past the end reads as 0";
    EXPECT_EQ(replyText(std::array<uint8_t, 1>{0x00}), "");
}

}  // namespace kestrelon

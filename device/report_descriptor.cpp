// SPDX-License-Identifier: GPL-3.0-or-later
// A walk over the items of a HID report descriptor that adds up the bits of every Input, Output
// and Feature main item per report ID.
#include "device/report_descriptor.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace kestrelon {

namespace {

enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };
enum MainTag : uint8_t { kInput = 0x8, kOutput = 0x9, kFeature = 0xB };
enum GlobalTag : uint8_t {
    kReportSize = 0x7,
    kReportId = 0x8,
    kReportCount = 0x9,
    kPush = 0xA,
    kPop = 0xB
};
constexpr uint8_t kLongItemPrefix = 0xFE;
// A report this long already has the longest length a ReportLengths holds.
constexpr uint64_t kMaxReportBits = uint64_t{0xFFFF} * 8;

struct GlobalState {
    uint32_t report_size = 0;
    uint32_t report_count = 0;
    uint32_t report_id = 0;
};

uint32_t itemData(std::span<const uint8_t> data) {
    uint32_t value = 0;
    for (std::size_t i = 0; i < data.size(); ++i) value |= uint32_t{data[i]} << (8 * i);
    return value;
}

std::optional<ReportLengths> fail(std::string* error, const char* why) {
    if (error) *error = why;
    return std::nullopt;
}

uint16_t lengthOf(const std::map<uint32_t, uint64_t>& bitsById) {
    uint64_t longest = 0;
    for (const auto& [id, bits] : bitsById) longest = std::max(longest, (bits + 7) / 8);
    if (bitsById.empty()) return 0;
    return static_cast<uint16_t>(std::min<uint64_t>(longest + 1, 0xFFFF));
}

}  // namespace

std::optional<ReportLengths> reportLengthsFromDescriptor(std::span<const uint8_t> descriptor,
                                                         std::string* error) {
    GlobalState global;
    std::vector<GlobalState> stack;
    std::array<std::map<uint32_t, uint64_t>, 3> bits;  // input, output, feature: bits per ID

    std::size_t pos = 0;
    while (pos < descriptor.size()) {
        const uint8_t prefix = descriptor[pos];
        if (prefix == kLongItemPrefix) {
            // 0xFE, data size, long item tag, data.
            if (pos + 3 > descriptor.size() || pos + 3 + descriptor[pos + 1] > descriptor.size())
                return fail(error, "long item runs past the end");
            pos += 3 + std::size_t{descriptor[pos + 1]};
            continue;
        }
        const std::size_t size = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
        if (pos + 1 + size > descriptor.size())
            return fail(error, "item runs past the end of the descriptor");
        const uint32_t value = itemData(descriptor.subspan(pos + 1, size));
        const uint8_t type = (prefix >> 2) & 0x3;
        const uint8_t tag = prefix >> 4;
        pos += 1 + size;

        if (type == kGlobal) {
            switch (tag) {
                case kReportSize:
                    global.report_size = value;
                    break;
                case kReportCount:
                    global.report_count = value;
                    break;
                case kReportId:
                    global.report_id = value;
                    break;
                case kPush:
                    stack.push_back(global);
                    break;
                case kPop:
                    if (stack.empty()) return fail(error, "Pop without Push");
                    global = stack.back();
                    stack.pop_back();
                    break;
                default:
                    break;
            }
        } else if (type == kMain) {
            int kind = tag == kInput ? 0 : tag == kOutput ? 1 : tag == kFeature ? 2 : -1;
            if (kind >= 0) {
                // Held at the bits of the longest length there is, so that no sum wraps around.
                uint64_t& total = bits[static_cast<std::size_t>(kind)][global.report_id];
                total =
                    std::min(total + std::min(uint64_t{global.report_size} * global.report_count,
                                              kMaxReportBits),
                             kMaxReportBits);
            }
        }
        // Local items and collections do not change the lengths.
    }
    return ReportLengths{lengthOf(bits[0]), lengthOf(bits[1]), lengthOf(bits[2])};
}

}  // namespace kestrelon

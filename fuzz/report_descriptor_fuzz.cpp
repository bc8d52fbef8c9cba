// SPDX-License-Identifier: GPL-3.0-or-later
// HID report descriptors from arbitrary bytes: the parser never reads past the descriptor, and
// its lengths behave as lengths do when the descriptor is wrapped in Push/Pop or grows an item.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "device/report_descriptor.h"
#include "fuzz/fuzz_check.h"

namespace {

constexpr uint8_t kPush = 0xA4;         // global Push, no data
constexpr uint8_t kPop = 0xB4;          // global Pop, no data
constexpr uint8_t kInputItem = 0x81;    // main Input, one data byte
constexpr uint8_t kFeatureItem = 0xB1;  // main Feature, one data byte

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using kestrelon::ReportLengths;
    using kestrelon::reportLengthsFromDescriptor;
    // A copy of exactly the input's size, so that any read past its end is caught.
    const std::vector<uint8_t> descriptor(data, data + size);
    std::string error;
    const auto lengths = reportLengthsFromDescriptor(descriptor, &error);
    if (!lengths) {
        FUZZ_CHECK(!error.empty(), "a rejected descriptor says why");
        return 0;
    }
    FUZZ_CHECK(error.empty(), "an accepted descriptor leaves no error");

    // Push and Pop around the whole descriptor change nothing.
    std::vector<uint8_t> wrapped{kPush};
    wrapped.insert(wrapped.end(), descriptor.begin(), descriptor.end());
    wrapped.push_back(kPop);
    FUZZ_CHECK(reportLengthsFromDescriptor(wrapped) == lengths,
               "Push ... Pop around a descriptor keeps its lengths");

    // One more Input item (with the global state at the end) never makes the input report
    // shorter and leaves the other kinds alone; the same for Feature.
    for (const uint8_t item : {kInputItem, kFeatureItem}) {
        std::vector<uint8_t> grown = descriptor;
        grown.push_back(item);
        grown.push_back(0x02);
        const auto more = reportLengthsFromDescriptor(grown);
        FUZZ_CHECK(more.has_value(), "a descriptor with one more main item still parses");
        const bool input = item == kInputItem;
        FUZZ_CHECK((input ? more->input >= lengths->input : more->feature >= lengths->feature),
                   "one more main item never shortens its report");
        FUZZ_CHECK(more->output == lengths->output, "the output report is not touched");
        FUZZ_CHECK((input ? more->feature == lengths->feature : more->input == lengths->input),
                   "the other report kind is not touched");
    }
    return 0;
}

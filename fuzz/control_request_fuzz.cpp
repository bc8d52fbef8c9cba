// SPDX-License-Identifier: GPL-3.0-or-later
// The control socket's request parser on arbitrary bytes: what it accepts is a short line of
// printable ASCII naming a known request, whose text reads back as the same request; what it
// refuses gets a reason of one line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/control_request.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size, so that any read past its end is caught.
    const std::string line(reinterpret_cast<const char*>(data), size);
    std::string why;
    const auto request = kestrelon::ParseControlRequest(line, why);
    if (!request) {
        FUZZ_CHECK(!why.empty(), "a refusal says why");
        FUZZ_CHECK(why.find('\n') == std::string::npos, "the reason is one line");
        FUZZ_CHECK(why.size() <= 200, "the reason is short");
        return 0;
    }
    FUZZ_CHECK(size <= kestrelon::kLongestControlRequest, "no request is too long");
    for (const char c : line) FUZZ_CHECK(c >= ' ' && c <= '~', "only printable ASCII");
    const std::string text = request->text();
    FUZZ_CHECK(text.size() <= size, "the text is no longer than the line");
    FUZZ_CHECK((request->verb == kestrelon::ControlVerb::Set) == !request->items.empty(),
               "items come with set only");
    FUZZ_CHECK((request->verb == kestrelon::ControlVerb::History) ==
                   (request->seconds >= 1 && request->seconds <= kestrelon::kLongestHistoryRequest),
               "a history request, and only it, names a number of seconds in range");
    for (const std::string& item : request->items)
        FUZZ_CHECK(item.find('=') != std::string::npos && item.find(' ') == std::string::npos,
                   "set items are KEY=VALUE words");
    std::string whyAgain;
    const auto again = kestrelon::ParseControlRequest(text, whyAgain);
    FUZZ_CHECK(again && again->verb == request->verb && again->items == request->items &&
                   again->seconds == request->seconds,
               "the text reads back as the same request");
    FUZZ_CHECK(again->text() == text, "the text is already in its one form");
    return 0;
}

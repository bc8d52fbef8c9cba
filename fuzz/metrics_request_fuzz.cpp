// SPDX-License-Identifier: GPL-3.0-or-later
// The metrics endpoint's request reader on arbitrary bytes, as one piece and split where the
// input says: it never reads past what arrived, a head it calls complete has a known form, more
// bytes never turn a verdict back to "incomplete", and every answer is one well-formed response.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "metrics/http_request.h"

using kestrelon::RequestHead;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte says where the bytes are split into two arrivals.
    const std::size_t split = size > 1 ? data[0] % size : 0;
    const std::string all(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string first = all.substr(0, split);

    const RequestHead early = kestrelon::ParseRequestHead(first);
    const RequestHead head = kestrelon::ParseRequestHead(all);
    if (early.state != RequestHead::State::Incomplete)
        FUZZ_CHECK(head.state == early.state && head.method == early.method &&
                       head.target == early.target,
                   "what arrives later never changes a verdict");
    if (all.size() > kestrelon::kMaxRequestHead)
        FUZZ_CHECK(head.state != RequestHead::State::Incomplete, "a head is bounded");
    if (head.state == RequestHead::State::Complete) {
        FUZZ_CHECK(!head.method.empty() && head.target.rfind('/', 0) == 0,
                   "a complete head has a method and a path");
        FUZZ_CHECK(head.target.find('?') == std::string::npos, "the query is cut off");
    }
    const std::string answer = kestrelon::HttpAnswer(head, "kestrelon_up 1\n");
    FUZZ_CHECK(answer.rfind("HTTP/1.1 ", 0) == 0, "an answer starts with a status line");
    const std::size_t body = answer.find("\r\n\r\n");
    FUZZ_CHECK(body != std::string::npos, "an answer has a head");
    FUZZ_CHECK(answer.find("Connection: close\r\n") < body, "every answer closes");
    return 0;
}

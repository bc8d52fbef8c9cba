// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a request head and answering it.
#include "metrics/http_request.h"

#include <algorithm>
#include <cctype>

#include "metrics/exposition.h"

namespace kestrelon {

namespace {

bool isToken(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isupper(c) != 0;
    });
}

// A header line is "name: value", the name printable without blanks or a colon.
bool isHeaderLine(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos) return false;
    return std::all_of(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(colon),
                       [](unsigned char c) { return c > 32 && c < 127; }) &&
           std::none_of(line.begin(), line.end(),
                        [](unsigned char c) { return c < 32 && c != '\t'; });
}

std::string answer(const char* status, const std::string& type, const std::string& body,
                   bool withBody) {
    std::string out = std::string("HTTP/1.1 ") + status + "\r\nContent-Type: " + type +
                      "\r\nContent-Length: " + std::to_string(body.size()) +
                      "\r\nConnection: close\r\n\r\n";
    if (withBody) out += body;
    return out;
}

}  // namespace

RequestHead ParseRequestHead(std::string_view received) {
    RequestHead head;
    std::size_t at = 0;
    bool first = true;
    while (true) {
        const std::size_t end = received.find('\n', at);
        if (end == std::string_view::npos) {
            if (received.size() > kMaxRequestHead) head.state = RequestHead::State::TooLarge;
            return head;
        }
        if (end + 1 > kMaxRequestHead) {
            head.state = RequestHead::State::TooLarge;
            return head;
        }
        std::string_view line = received.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        at = end + 1;
        if (first) {
            // METHOD SP TARGET SP HTTP/1.x
            const std::size_t a = line.find(' ');
            const std::size_t b = a == std::string_view::npos ? a : line.find(' ', a + 1);
            if (b == std::string_view::npos || line.find(' ', b + 1) != std::string_view::npos ||
                !isToken(line.substr(0, a)) || line.substr(b + 1).substr(0, 7) != "HTTP/1." ||
                line.size() != b + 9 || line.compare(a + 1, 1, "/") != 0) {
                head.state = RequestHead::State::Bad;
                return head;
            }
            head.method = std::string(line.substr(0, a));
            std::string_view target = line.substr(a + 1, b - a - 1);
            target = target.substr(0, target.find('?'));
            head.target = std::string(target);
            first = false;
            continue;
        }
        if (line.empty()) {
            head.state = RequestHead::State::Complete;
            return head;
        }
        if (!isHeaderLine(line)) {
            head.state = RequestHead::State::Bad;
            return head;
        }
    }
}

std::string HttpAnswer(const RequestHead& head, const std::string& exposition) {
    const std::string text = "text/plain; charset=utf-8";
    switch (head.state) {
        case RequestHead::State::Incomplete:
        case RequestHead::State::Bad:
            return answer("400 Bad Request", text, "bad request\n", true);
        case RequestHead::State::TooLarge:
            return answer("431 Request Header Fields Too Large", text, "request too large\n",
                          true);
        case RequestHead::State::Complete:
            break;
    }
    const bool head_only = head.method == "HEAD";
    if (head.method != "GET" && !head_only) {
        std::string out = answer("405 Method Not Allowed", text, "only GET\n", true);
        out.insert(out.find("\r\n") + 2, "Allow: GET, HEAD\r\n");
        return out;
    }
    if (head.target != "/metrics") return answer("404 Not Found", text, "not found\n", !head_only);
    return answer("200 OK", kExpositionContentType, exposition, !head_only);
}

}  // namespace kestrelon

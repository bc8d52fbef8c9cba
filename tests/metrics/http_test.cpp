// SPDX-License-Identifier: GPL-3.0-or-later
// The endpoint's HTTP: request heads good and bad, the answer to each, and the listen address.
#include <gtest/gtest.h>

#include "metrics/http_request.h"
#include "metrics/listen_address.h"

namespace kestrelon {
namespace {

using State = RequestHead::State;

TEST(MetricsHttp, RequestHeadsAndTheirAnswers) {
    struct Case {
        std::string received;
        State state;
        std::string status;  // the answer's status line; empty while incomplete
    };
    const std::string big(kMaxRequestHead, 'a');
    const Case cases[] = {
        {"GET /metrics HTTP/1.1\r\nHost: x\r\nAccept: */*\r\n\r\n", State::Complete, "200 OK"},
        {"GET /metrics?name[]=up HTTP/1.0\n\n", State::Complete, "200 OK"},
        {"HEAD /metrics HTTP/1.1\r\n\r\n", State::Complete, "200 OK"},
        {"GET / HTTP/1.1\r\n\r\n", State::Complete, "404 Not Found"},
        {"GET /metrics/x HTTP/1.1\r\n\r\n", State::Complete, "404 Not Found"},
        {"POST /metrics HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc", State::Complete,
         "405 Method Not Allowed"},
        {"GET /metrics HTTP/1.1\r\nHost: x\r\n", State::Incomplete, ""},
        {"GET /metr", State::Incomplete, ""},
        {"", State::Incomplete, ""},
        {"GET /metrics\r\n\r\n", State::Bad, "400 Bad Request"},
        {"GET  /metrics HTTP/1.1\r\n\r\n", State::Bad, "400 Bad Request"},
        {"get /metrics HTTP/1.1\r\n\r\n", State::Bad, "400 Bad Request"},
        {"GET metrics HTTP/1.1\r\n\r\n", State::Bad, "400 Bad Request"},
        {"GET /metrics HTTP/2.0\r\n\r\n", State::Bad, "400 Bad Request"},
        {"GET /metrics HTTP/1.1x\r\n\r\n", State::Bad, "400 Bad Request"},
        {"GET /metrics HTTP/1.1\r\nno colon here\r\n\r\n", State::Bad, "400 Bad Request"},
        {"GET /metrics HTTP/1.1\r\n: empty name\r\n\r\n", State::Bad, "400 Bad Request"},
        {std::string("GET /metrics HTTP/1.1\r\nX: a\0b\r\n\r\n", 33), State::Bad,
         "400 Bad Request"},
        {"\x16\x03\x01\x02\x01\xfc\x03\x03\n", State::Bad, "400 Bad Request"},
        {"GET /" + big + " HTTP/1.1\r\n\r\n", State::TooLarge,
         "431 Request Header Fields Too Large"},
        {"GET /metrics HTTP/1.1\r\nX: " + big, State::TooLarge,
         "431 Request Header Fields Too Large"},
    };
    for (const Case& c : cases) {
        const RequestHead head = ParseRequestHead(c.received);
        const std::string shown = c.received.substr(0, 60);
        EXPECT_EQ(head.state, c.state) << shown;
        if (c.status.empty()) continue;
        const std::string answer = HttpAnswer(head, "kestrelon_up 1\n");
        EXPECT_EQ(answer.rfind("HTTP/1.1 " + c.status + "\r\n", 0), 0u) << shown << answer;
        EXPECT_NE(answer.find("Connection: close\r\n"), std::string::npos) << shown;
        const std::size_t body = answer.find("\r\n\r\n") + 4;
        const std::string length = "Content-Length: " + std::to_string(
            c.status == "200 OK" ? 15 : answer.size() - body) + "\r\n";
        EXPECT_NE(answer.find(length), std::string::npos) << shown << answer;
        if (c.status != "200 OK") continue;
        EXPECT_NE(answer.find("Content-Type: text/plain; version=0.0.4"), std::string::npos);
        EXPECT_EQ(answer.substr(body), head.method == "HEAD" ? "" : "kestrelon_up 1\n") << shown;
    }
}

TEST(MetricsHttp, ListenAddresses) {
    struct Case {
        std::string text;
        std::optional<ListenAddress> address;
    };
    const Case cases[] = {
        {"127.0.0.1:9101", ListenAddress{"127.0.0.1", 9101}},
        {":9101", ListenAddress{"127.0.0.1", 9101}},  // loopback unless written otherwise
        {"localhost:80", ListenAddress{"localhost", 80}},
        {"[::1]:9101", ListenAddress{"::1", 9101}},
        {"0.0.0.0:9101", ListenAddress{"0.0.0.0", 9101}},
        {"192.168.1.20:65535", ListenAddress{"192.168.1.20", 65535}},
        {"9101", std::nullopt},
        {"127.0.0.1:0", std::nullopt},
        {"127.0.0.1:65536", std::nullopt},
        {"127.0.0.1:91x", std::nullopt},
        {"127.0.0.1:", std::nullopt},
        {"example.org:9101", std::nullopt},
        {"::1:9101", std::nullopt},
        {"[127.0.0.1]:9101", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        std::string why;
        EXPECT_EQ(ParseListenAddress(c.text, why), c.address) << c.text;
        EXPECT_EQ(why.empty(), c.address.has_value()) << c.text << ": " << why;
    }
}

}  // namespace
}  // namespace kestrelon

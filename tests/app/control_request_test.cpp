// SPDX-License-Identifier: GPL-3.0-or-later
// The control socket's request lines: what is understood, and the one-line reason for what is
// refused (too long, malformed, unknown).
#include "app/control_request.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrelon {
namespace {

TEST(ControlRequest, KnownRequestsAreUnderstoodWithTheirItems) {
    const struct {
        std::string line;
        ControlVerb verb;
        std::string text;
    } cases[] = {
        {"show", ControlVerb::Show, "show"},
        {"  show ", ControlVerb::Show, "show"},
        {"show history", ControlVerb::ShowHistory, "show history"},
        {" show  history", ControlVerb::ShowHistory, "show history"},
        {"reading", ControlVerb::Reading, "reading"},
        {"reading text", ControlVerb::ReadingText, "reading text"},
        {"reading   text", ControlVerb::ReadingText, "reading text"},
        {"status", ControlVerb::Status, "status"},
        {"push", ControlVerb::Push, "push"},
        {"unplug", ControlVerb::Unplug, "unplug"},
        {"plug", ControlVerb::Plug, "plug"},
        {"set color=blue", ControlVerb::Set, "set color=blue"},
        {"set  st1=66   alarm=07:30", ControlVerb::Set, "set st1=66 alarm=07:30"},
        {"set a=b=c", ControlVerb::Set, "set a=b=c"},  // the value is the setting's to judge
        {std::string(kLongestControlRequest - 4, ' ') + "push", ControlVerb::Push, "push"},
        {"history 600", ControlVerb::History, "history 600"},
        {" history  0042 ", ControlVerb::History, "history 42"},
        {"history 3600", ControlVerb::History, "history 3600"},
    };
    for (const auto& c : cases) {
        std::string why;
        const auto request = ParseControlRequest(c.line, why);
        ASSERT_TRUE(request) << "[" << c.line << "]: " << why;
        EXPECT_EQ(request->verb, c.verb) << c.line;
        EXPECT_EQ(request->text(), c.text) << c.line;
        // The text the handler gets reads back as the same request.
        const auto again = ParseControlRequest(request->text(), why);
        ASSERT_TRUE(again) << c.line;
        EXPECT_EQ(again->items, request->items) << c.line;
        EXPECT_EQ(again->seconds, request->seconds) << c.line;
    }
}

TEST(ControlRequest, BadLinesAreRefusedInOneLine) {
    const struct {
        std::string line;
        std::string whyStarts;
    } cases[] = {
        {std::string(kLongestControlRequest + 1, 'a'), "request too long"},
        {"set color=" + std::string(kLongestControlRequest, '1'), "request too long"},
        {"", "malformed request"},
        {"    ", "malformed request"},
        {"show\r", "malformed request"},
        {"sh\tow", "malformed request"},
        {std::string("show\0", 5), "malformed request"},
        {"r\xC3\xA9glage", "malformed request"},  // not ASCII
        {"status\x7F", "malformed request"},
        {"set", "malformed request"},
        {"set color", "malformed request"},
        {"set =1", "malformed request"},
        {"set color=", "malformed request"},
        {"set color=1 bogus", "malformed request"},
        {"frobnicate", "unknown request: frobnicate"},
        {"show me", "unknown request: show me"},
        {"show history now", "unknown request: show history now"},
        {"reading json", "unknown request: reading json"},
        {"SHOW", "unknown request: SHOW"},
        {"history", "malformed request: history takes"},
        {"history 0", "malformed request: history takes"},
        {"history 3601", "malformed request: history takes"},
        {"history 99999999999999999999", "malformed request: history takes"},
        {"history -5", "malformed request: history takes"},
        {"history 10m", "malformed request: history takes"},
        {"history 10 20", "malformed request: history takes"},
        {std::string(200, 'z'), "unknown request: " + std::string(40, 'z')},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_FALSE(ParseControlRequest(c.line, why)) << c.line.substr(0, 60);
        EXPECT_EQ(why.rfind(c.whyStarts, 0), 0u) << c.line.substr(0, 60) << ": " << why;
        EXPECT_EQ(why.find('\n'), std::string::npos) << why;
        EXPECT_LE(why.size(), 120u) << why;
    }
}

}  // namespace
}  // namespace kestrelon

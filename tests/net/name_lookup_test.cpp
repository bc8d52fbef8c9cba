// SPDX-License-Identifier: GPL-3.0-or-later
// Names resolved off the event loop: a local name comes back with its loopback addresses from the
// loop, and a lookup given up before it answers never answers, however its thread and its
// destruction fall in time.
#include "net/name_lookup.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>

#include <QTest>
#include <QThread>
#include <optional>

namespace kestrelon {
namespace {

uint16_t PortOf(const SocketAddress& address) {
    return ntohs(address.family() == AF_INET
                     ? reinterpret_cast<const sockaddr_in*>(&address.storage)->sin_port
                     : reinterpret_cast<const sockaddr_in6*>(&address.storage)->sin6_port);
}

TEST(NameLookup, ALocalNameAnswersFromTheLoopWithItsAddresses) {
    std::optional<std::vector<SocketAddress>> found;
    NameLookup lookup("localhost", 8080,
                      [&](std::vector<SocketAddress> a) { found = std::move(a); });
    EXPECT_FALSE(found) << "never from inside the constructor";
    ASSERT_TRUE(QTest::qWaitFor([&] { return found.has_value(); }, 10000));
    ASSERT_FALSE(found->empty());
    for (const SocketAddress& address : *found) {
        EXPECT_TRUE(IsLoopback(address));
        EXPECT_EQ(PortOf(address), 8080);
    }
}

TEST(NameLookup, ALookupGivenUpNeverAnswers) {
    int answers = 0;
    // Destroyed at once, after its answer was posted, and while the loop runs: each of the
    // windows a thread of its own can fall into.
    for (int i = 0; i < 60; ++i) {
        NameLookup lookup("localhost", 80, [&](std::vector<SocketAddress>) { ++answers; });
        if (i % 3 == 1) QThread::msleep(5);
        if (i % 3 == 2) QTest::qWait(0);
    }
    const int answeredWhileAlive = answers;
    QTest::qWait(300);
    EXPECT_EQ(answers, answeredWhileAlive) << "an answer arrived for a lookup already gone";
}

}  // namespace
}  // namespace kestrelon

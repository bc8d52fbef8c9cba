// SPDX-License-Identifier: GPL-3.0-or-later
// The endpoint over real loopback sockets: a scrape, and clients that misbehave (a huge request
// line, garbage, too many connections, idle or dribbling clients) answered or dropped within the
// limits, with the server serving again afterwards.
#include "metrics/metrics_server.h"

#include <gtest/gtest.h>

#include <QTcpSocket>
#include <QTest>
#include <memory>
#include <vector>

namespace kestrelon {
namespace {

class MetricsServerTest : public ::testing::Test {
protected:
    MetricsServer::Limits limits{4, 300, 1200};
    int served = 0;
    MetricsServer server{[this] {
                             ++served;
                             return std::string("kestrelon_up 1\n");
                         },
                         limits};

    void SetUp() override { ASSERT_TRUE(server.listen({"127.0.0.1", 0})); }

    std::unique_ptr<QTcpSocket> connectClient() {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost("127.0.0.1", server.port());
        EXPECT_TRUE(QTest::qWaitFor([&] { return socket->state() == QAbstractSocket::ConnectedState; },
                                    2000));
        return socket;
    }

    // Sends `bytes` and returns all the server answers until it closes the connection.
    std::string exchange(const QByteArray& bytes) {
        auto socket = connectClient();
        QByteArray answer;
        QObject::connect(socket.get(), &QTcpSocket::readyRead,
                         [&] { answer += socket->readAll(); });
        socket->write(bytes);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return socket->state() == QAbstractSocket::UnconnectedState; }, 3000))
            << bytes.left(40).toStdString();
        answer += socket->readAll();
        return answer.toStdString();
    }

    static std::string statusOf(const std::string& answer) {
        return answer.substr(0, answer.find("\r\n"));
    }
};

TEST_F(MetricsServerTest, AnswersEachRequestOnceAndCloses) {
    struct Case {
        QByteArray request;
        std::string status;
    };
    const Case cases[] = {
        {"GET /metrics HTTP/1.1\r\nHost: here\r\n\r\n", "HTTP/1.1 200 OK"},
        {"GET /favicon.ico HTTP/1.1\r\n\r\n", "HTTP/1.1 404 Not Found"},
        {"DELETE /metrics HTTP/1.1\r\n\r\n", "HTTP/1.1 405 Method Not Allowed"},
        {"\x16\x03\x01garbage\r\n\r\n", "HTTP/1.1 400 Bad Request"},
        {QByteArray(1 << 20, 'A'), "HTTP/1.1 431 Request Header Fields Too Large"},
    };
    for (const Case& c : cases) EXPECT_EQ(statusOf(exchange(c.request)), c.status);
    EXPECT_EQ(served, 1) << "only a scrape builds the exposition";
    const std::string scrape = exchange("GET /metrics HTTP/1.0\n\n");
    EXPECT_EQ(scrape.substr(scrape.find("\r\n\r\n") + 4), "kestrelon_up 1\n");
}

TEST_F(MetricsServerTest, BoundsConnectionsAndDropsIdleAndDribblingClients) {
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    for (int i = 0; i < limits.maxConnections; ++i) idle.push_back(connectClient());
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.connections() == limits.maxConnections; }, 2000));

    // One more is closed at once; the others stay until they have been idle too long.
    const std::string refused = exchange("GET /metrics HTTP/1.1\r\n\r\n");
    EXPECT_EQ(refused, "");
    EXPECT_EQ(server.connections(), limits.maxConnections);
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.connections() == 0; }, 2000));
    for (auto& socket : idle)
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return socket->state() == QAbstractSocket::UnconnectedState; }, 1000));

    // A client that keeps sending a byte just inside the idle time is dropped at the deadline.
    auto dribbler = connectClient();
    QElapsedTimer alive;
    alive.start();
    while (dribbler->state() == QAbstractSocket::ConnectedState && alive.elapsed() < 5000) {
        dribbler->write("X");
        QTest::qWait(limits.idleMs / 3);
    }
    EXPECT_GE(alive.elapsed(), limits.deadlineMs - 100);
    EXPECT_LT(alive.elapsed(), limits.deadlineMs + 1000);

    EXPECT_EQ(statusOf(exchange("GET /metrics HTTP/1.1\r\n\r\n")), "HTTP/1.1 200 OK")
        << "the server serves again";
}

TEST(MetricsServer, ABusyPortIsRefusedInOneLine) {
    MetricsServer first([] { return std::string(); });
    ASSERT_TRUE(first.listen({"127.0.0.1", 0}));
    MetricsServer second([] { return std::string(); });
    EXPECT_FALSE(second.listen({"127.0.0.1", first.port()}));
}

}  // namespace
}  // namespace kestrelon

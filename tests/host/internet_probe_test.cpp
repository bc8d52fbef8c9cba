// SPDX-License-Identifier: GPL-3.0-or-later
// The internet probe against a loopback HTTP server: every answer counts as linked, a closed port
// or a silent server does not, the probe never blocks and runs one request at a time.
#include "host/internet_probe.h"

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <optional>
#include <vector>

namespace kestrelon {
namespace {

using namespace std::chrono_literals;

// A loopback server that answers each request with a fixed status line, or never answers
// when that is empty. It keeps the request heads it received.
class LoopbackServer {
public:
    explicit LoopbackServer(QByteArray statusLine) : statusLine_(std::move(statusLine)) {
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { accept(); });
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
    }
    QUrl url() const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server_.serverPort()));
    }
    const std::vector<QByteArray>& requests() const { return requests_; }

private:
    void accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                buffer_ += socket->readAll();
                const qsizetype end = buffer_.indexOf("\r\n\r\n");
                if (end < 0) return;
                requests_.push_back(buffer_.left(end));
                buffer_.remove(0, end + 4);
                if (statusLine_.isEmpty()) return;
                socket->write("HTTP/1.1 " + statusLine_ +
                              "\r\nContent-Length: 2\r\nContent-Type: text/plain\r\n\r\nok");
            });
        }
    }

    QTcpServer server_;
    QByteArray statusLine_;
    QByteArray buffer_;
    std::vector<QByteArray> requests_;
};

// Runs the event loop until the probe has answered (or a generous bound has passed).
std::optional<bool> Await(const std::optional<bool>& result) {
    return QTest::qWaitFor([&] { return result.has_value(); }, 20000) ? result : std::nullopt;
}

TEST(InternetProbe, AnyHttpAnswerMeansLinked) {
    for (const char* status :
         {"200 OK", "301 Moved Permanently", "404 Not Found", "500 Internal Server Error"}) {
        LoopbackServer server(status);
        std::optional<bool> linked;
        InternetProbe probe([&](bool l) { linked = l; }, server.url());
        probe.start();
        EXPECT_EQ(Await(linked), true) << status;
    }
}

TEST(InternetProbe, NoServerOrNoAnswerInTimeMeansNotLinked) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QUrl refused(QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort()));
    closed.close();
    LoopbackServer silent{QByteArray()};

    for (const QUrl& url : {refused, silent.url()}) {
        std::optional<bool> linked;
        InternetProbe probe([&](bool l) { linked = l; }, url, 300ms);
        probe.start();
        EXPECT_EQ(Await(linked), false) << url.toString().toStdString();
    }
    EXPECT_EQ(silent.requests().size(), 1u);  // it was reached, and timed out waiting
}

TEST(InternetProbe, AsksTheServerItselfAsKestrelon) {
    LoopbackServer server("200 OK");
    std::optional<bool> linked;
    InternetProbe probe([&](bool l) { linked = l; }, server.url());
    probe.start();
    ASSERT_EQ(Await(linked), true);
    ASSERT_EQ(server.requests().size(), 1u);
    const QByteArray head = server.requests()[0];
    EXPECT_TRUE(head.startsWith("GET / HTTP/1.1\r\n")) << head.toStdString();
    EXPECT_TRUE(head.contains("\r\nUser-Agent: Kestrelon\r\n")) << head.toStdString();
    EXPECT_TRUE(head.contains("\r\nCache-Control: no-cache\r\n")) << head.toStdString();
}

TEST(InternetProbe, ReturnsAtOnceAndRunsOneRequestAtATime) {
    LoopbackServer server("200 OK");
    int answers = 0;
    InternetProbe* self = nullptr;
    InternetProbe probe(
        [&](bool) {
            if (++answers == 1) self->start();  // a result may start the next probe
        },
        server.url());
    self = &probe;

    probe.start();
    EXPECT_TRUE(probe.running());
    EXPECT_EQ(answers, 0);  // the answer comes from the event loop, not from start()
    probe.start();          // joins the running probe
    probe.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers == 2; }, 20000));
    EXPECT_FALSE(probe.running());
    QTest::qWait(100);  // nothing else arrives late
    EXPECT_EQ(answers, 2);
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST(InternetProbe, AProbeLeftRunningIsDroppedWithoutAnAnswer) {
    LoopbackServer silent{QByteArray()};
    int answers = 0;
    {
        InternetProbe probe([&](bool) { ++answers; }, silent.url(), 200ms);
        probe.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !silent.requests().empty(); }, 20000));
    }
    QTest::qWait(400);
    EXPECT_EQ(answers, 0);
}

}  // namespace
}  // namespace kestrelon

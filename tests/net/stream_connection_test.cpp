// SPDX-License-Identifier: GPL-3.0-or-later
// A connection against a raw socket at the other end: everything written arrives in order even
// when the reader is slow, an orderly close waits for the queue, and a peer that goes away, a
// refused connect or an abort each end the connection the way they should (never by SIGPIPE).
#include "net/stream_connection.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTest>
#include <optional>
#include <string>

#include "net/socket_address.h"

namespace kestrelon {
namespace {

struct Pair {
    UniqueFd ours;
    UniqueFd theirs;  // blocking, read by the test
};

Pair MakePair() {
    int fds[2];
    EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
    Pair pair{UniqueFd(fds[0]), UniqueFd(fds[1])};
    const int size = 4096;  // small buffers: a large answer takes many partial sends
    setsockopt(pair.ours.get(), SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
    setsockopt(pair.theirs.get(), SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    return pair;
}

// Reads what `fd` has, at most `most` bytes and a little at a time, without blocking; false once
// it has reached the end.
bool Drain(int fd, std::string& into, std::size_t most) {
    char buffer[1000];
    for (std::size_t read = 0; read < most;) {
        const ssize_t got = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got <= 0) return got != 0;
        into.append(buffer, static_cast<std::size_t>(got));
        read += static_cast<std::size_t>(got);
    }
    return true;
}

TEST(StreamConnection, ALargeAnswerReachesASlowReaderWholeAndInOrderBeforeTheEnd) {
    Pair pair = MakePair();
    StreamConnection connection(std::move(pair.ours), false);
    std::optional<int> closed;
    connection.onClosed = [&](int error) { closed = error; };
    std::string sent;
    for (int i = 0; sent.size() < 3 * 1024 * 1024; ++i) sent += std::to_string(i) + ',';
    // In pieces of uneven size, each queued behind what the socket has not taken yet.
    for (std::size_t at = 0, piece = 1; at < sent.size(); at += piece, piece = piece * 7 % 65537)
        connection.write(std::string_view(sent).substr(at, piece));
    connection.closeAfterWriting();
    connection.write("not sent: written after the close was asked for");
    EXPECT_GT(connection.bytesToWrite(), 0u);

    std::string got;
    // A slow reader: a little more at each turn of the loop, until the end after the last byte.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Drain(pair.theirs.get(), got, 64 * 1024); }, 20000));
    EXPECT_EQ(got.size(), sent.size());
    EXPECT_TRUE(got == sent) << "the bytes arrived out of order or changed";
    EXPECT_FALSE(closed) << "the connection waits for the peer to close";
    pair.theirs.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return closed.has_value(); }, 5000));
    EXPECT_EQ(*closed, 0);
    EXPECT_FALSE(connection.isOpen());
}

// The ways a connection ends, and what its owner hears of each.
TEST(StreamConnection, EachEndIsReportedOnceAndAbortNotAtAll) {
    const struct {
        const char* what;
        bool queueBeforePeerGoes;  // a large write still queued when the peer closes
        bool abortFirst;
        std::optional<int> closed;  // what onClosed gives; nothing when it is not called
        int expectError;            // 0: orderly; -1: any failure
    } cases[] = {
        {"the peer closes, nothing queued", false, false, 0, 0},
        {"the peer closes with a write queued", true, false, -1, -1},
        {"aborted by its owner", true, true, std::nullopt, 0},
    };
    for (const auto& c : cases) {
        Pair pair = MakePair();
        StreamConnection connection(std::move(pair.ours), false);
        int calls = 0;
        int error = 0;
        connection.onClosed = [&](int e) {
            ++calls;
            error = e;
        };
        if (c.queueBeforePeerGoes) connection.write(std::string(1 << 20, 'x'));
        QTest::qWait(20);
        pair.theirs.close();
        if (c.abortFirst) connection.abort();
        (void)QTest::qWaitFor([&] { return calls > 0; }, c.closed ? 5000 : 200);
        QTest::qWait(20);  // nothing more arrives late
        EXPECT_FALSE(connection.isOpen()) << c.what;
        if (!c.closed) {
            EXPECT_EQ(calls, 0) << c.what;
            continue;
        }
        EXPECT_EQ(calls, 1) << c.what;
        if (c.expectError == 0)
            EXPECT_EQ(error, 0) << c.what;
        else
            EXPECT_TRUE(error == EPIPE || error == ECONNRESET) << c.what << ": " << error;
    }
}

TEST(StreamConnection, ARefusedConnectIsReportedFromTheLoop) {
    // A port that was just given back: nobody listens there.
    const std::optional<SocketAddress> loopback = NumericAddress("127.0.0.1", 0);
    ASSERT_TRUE(loopback);
    UniqueFd listener = ListenTcp(*loopback);
    ASSERT_TRUE(listener.valid());
    const std::optional<SocketAddress> closedPort =
        NumericAddress("127.0.0.1", LocalPort(listener.get()));
    listener.close();

    UniqueFd fd = OpenStreamSocket(AF_INET);
    ASSERT_EQ(StartConnect(fd.get(), *closedPort), 0);
    StreamConnection connection(std::move(fd), true);
    bool connected = false;
    std::optional<int> closed;
    connection.onConnected = [&] { connected = true; };
    connection.onClosed = [&](int error) { closed = error; };
    ASSERT_TRUE(QTest::qWaitFor([&] { return closed.has_value(); }, 5000));
    EXPECT_EQ(*closed, ECONNREFUSED);
    EXPECT_FALSE(connected);
}

}  // namespace
}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// Who reaches the control socket: its directory (missing, the user's own, another's, open to
// others, a link, a file), the peer's user id, and a server that answers bad requests with one
// line and runs on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <thread>

#include "app/local_control.h"
#include "app/socket_access.h"
#include "core/log.h"

namespace kestrelon {
namespace {

namespace fs = std::filesystem;

unsigned ModeOf(const fs::path& p) {
    struct stat st {};
    return lstat(p.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

TEST(ControlSocketDirectory, OnlyTheUsersOwnPrivateDirectoryIsUsed) {
    const uid_t me = geteuid();
    const struct {
        const char* what;
        std::function<void(const fs::path&)> make;  // makes "dir"
        uid_t owner;                                // whose it must be
        bool create;
        const char* problem;  // "" when usable
    } cases[] = {
        {"missing, created", [](const fs::path&) {}, me, true, ""},
        {"missing, not to be created", [](const fs::path&) {}, me, false, "cannot use"},
        {"private and ours", [](const fs::path& d) { mkdir(d.c_str(), 0700); }, me, true, ""},
        {"another user's", [](const fs::path& d) { mkdir(d.c_str(), 0700); }, me + 1, true,
         "belongs to user id"},
        {"open to everyone",
         [](const fs::path& d) {
             mkdir(d.c_str(), 0700);
             chmod(d.c_str(), 0777);
         },
         me, true, "has mode 0777"},
        {"open to the group",
         [](const fs::path& d) {
             mkdir(d.c_str(), 0700);
             chmod(d.c_str(), 0750);
         },
         me, true, "has mode 0750"},
        {"sticky",
         [](const fs::path& d) {
             mkdir(d.c_str(), 0700);
             chmod(d.c_str(), 01700);
         },
         me, true, "has mode 1700"},
        {"a link to a private directory of ours",
         [](const fs::path& d) {
             mkdir((d.string() + ".real").c_str(), 0700);
             symlink((d.string() + ".real").c_str(), d.c_str());
         },
         me, true, "is a symbolic link"},
        {"a dangling link", [](const fs::path& d) { symlink("/nonexistent/k", d.c_str()); }, me,
         true, "is a symbolic link"},
        {"a file", [](const fs::path& d) { close(creat(d.c_str(), 0700)); }, me, true,
         "is not a directory"},
    };
    for (const auto& c : cases) {
        QTemporaryDir tmp;
        const fs::path dir = fs::path(tmp.path().toStdString()) / "kestrelon-test";
        c.make(dir);
        const auto problem = PrivateDirectoryProblem(dir, c.owner, c.create);
        if (*c.problem == '\0') {
            EXPECT_FALSE(problem) << c.what << ": " << problem.value_or("");
            EXPECT_EQ(ModeOf(dir), 0700u) << c.what;
        } else {
            ASSERT_TRUE(problem) << c.what;
            EXPECT_NE(problem->find(c.problem), std::string::npos) << c.what << ": " << *problem;
            EXPECT_EQ(problem->find('\n'), std::string::npos) << *problem;
        }
    }
}

TEST(ControlSocketDirectory, PathIsInTheRuntimeDirectoryElseInAPrivateOneInTmp) {
    QTemporaryDir tmp;
    const QString base = tmp.path();
    const QString own = QString("%1/kestrelon-%2").arg(base).arg(geteuid());
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR"), oldTmp = qgetenv("TMPDIR");
    mkdir((base + "/rt").toLocal8Bit().constData(), 0700);
    mkdir((base + "/open").toLocal8Bit().constData(), 0755);
    const struct {
        const char* what;
        QByteArray runtime;  // empty: unset
        bool create;
        std::function<void()> before;
        QString path;  // empty: refused
        int logLines;
    } cases[] = {
        {"the runtime directory", (base + "/rt").toLocal8Bit(), true, [] {},
         base + "/rt/kestrelon.socket", 0},
        {"a runtime directory others can enter", (base + "/open").toLocal8Bit(), true, [] {}, "",
         1},
        {"no runtime directory, a client, nothing there yet", "", false, [] {}, "", 0},
        {"no runtime directory: our own, made private", "", true, [] {}, own + "/kestrelon.socket",
         0},
        {"no runtime directory, a client, ours there", "", false, [] {}, own + "/kestrelon.socket",
         0},
        {"no runtime directory, ours opened up", "", true,
         [&] { chmod(own.toLocal8Bit().constData(), 0777); }, "", 1},
        {"no runtime directory, a client, ours opened up", "", false, [] {}, "", 1},
        {"a relative runtime directory is none", "relative/rt", true,
         [&] { chmod(own.toLocal8Bit().constData(), 0700); }, own + "/kestrelon.socket", 0},
    };
    qputenv("TMPDIR", base.toLocal8Bit());
    for (const auto& c : cases) {
        if (c.runtime.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", c.runtime);
        c.before();
        ForgetLoggedLines();
        testing::internal::CaptureStderr();
        const QString path = ControlSocketPath(c.create);
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(path, c.path) << c.what;
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), c.logLines) << c.what << ": " << log;
    }
    EXPECT_EQ(ModeOf(own.toStdString()), 0700u);
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
    qputenv("TMPDIR", oldTmp);
}

TEST(ControlSocketPeer, OnlyTheSameUserIsServed) {
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const uid_t me = geteuid();
    const struct {
        const char* what;
        int fd;
        uid_t user;
        bool served;
    } cases[] = {
        {"our own process", pair[0], me, true},
        {"the other end too", pair[1], me, true},
        {"a peer that is not the user we serve", pair[0], me + 1, false},
        {"root is not everyone", pair[0], me == 0 ? uid_t{65534} : uid_t{0}, false},
        {"a pipe is no socket", pipeFds[0], me, false},
        {"no descriptor", -1, me, false},
    };
    for (const auto& c : cases) EXPECT_EQ(PeerIsUser(c.fd, c.user), c.served) << c.what;
    EXPECT_EQ(PeerUid(pair[0]), me);
    EXPECT_FALSE(PeerUid(pipeFds[0]));
    for (int fd : {pair[0], pair[1], pipeFds[0], pipeFds[1]}) close(fd);
}

// One connection's exchange, made on another thread while this one runs the server's events.
std::string Exchange(const QString& path, const QByteArray& bytes) {
    auto answer = std::async(std::launch::async, [&] {
        QLocalSocket socket;
        socket.connectToServer(path);
        if (!socket.waitForConnected(5000)) return std::string("no connection");
        socket.write(bytes);
        socket.waitForBytesWritten(5000);
        QByteArray got;
        while (socket.waitForReadyRead(5000) || socket.bytesAvailable()) {
            got += socket.readAll();
            if (socket.state() != QLocalSocket::ConnectedState) break;
        }
        got += socket.readAll();
        return got.toStdString();
    });
    while (answer.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return answer.get();
}

TEST(ControlSocketServer, BadRequestsGetOneErrorLineAndTheServerRunsOn) {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("kestrelon.socket");
    std::vector<std::string> handled;
    LocalControl control(path, [&](const std::string& request, const LocalControl::Reply& reply) {
        handled.push_back(request);
        reply("ok " + request);
    });
    ASSERT_TRUE(control.listening());
    const struct {
        QByteArray sent;
        std::string answer;
        const char* handled;  // what the handler got; "" when it was not called
    } cases[] = {
        {"show\n", "ok show\n", "show"},
        {QByteArray(5000, 'x'), "error request too long (more than 4096 bytes)\n", ""},
        {QByteArray(5000, 'x') + "\n", "error request too long (more than 4096 bytes)\n", ""},
        {"sh\x01ow\n", "error malformed request: only printable ASCII is understood\n", ""},
        {"\n", "error malformed request: the line is empty\n", ""},
        {"set color\n", "error malformed request: set takes KEY=VALUE items, not color\n", ""},
        {"bogus\n", "error unknown request: bogus\n", ""},
        {"  set  color=2 \n", "ok set color=2\n", "set color=2"},
        {"status\nshow\n", "ok status\n", "status"},  // one request per connection
    };
    for (const auto& c : cases) {
        handled.clear();
        EXPECT_EQ(Exchange(path, c.sent), c.answer) << c.sent.left(40).toStdString();
        EXPECT_EQ(handled.empty() ? "" : handled.front(), std::string(c.handled));
        EXPECT_LE(handled.size(), 1u);
    }
    EXPECT_TRUE(control.listening());
}

TEST(ControlSocketServer, AListenThatFailsIsLoggedInOneLine) {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("no/such/dir/kestrelon.socket");
    ForgetLoggedLines();
    testing::internal::CaptureStderr();
    LocalControl control(path, [](const std::string&, const LocalControl::Reply&) {});
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(control.listening());
    EXPECT_EQ(log.rfind("kestrelon: cannot listen on the control socket " + path.toStdString(), 0),
              0u)
        << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
}

// Whatever is left at the socket's path is replaced by a private socket that answers, and the
// socket is gone again when the server goes.
TEST(ControlSocketServer, TakesThePathOverPrivatelyAndGivesItBack) {
    const struct {
        const char* what;
        std::function<void(const std::string&)> leave;  // what is at the path before
    } cases[] = {
        {"nothing", [](const std::string&) {}},
        {"the socket of a program that died",
         [](const std::string& p) {
             const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             std::strcpy(address.sun_path, p.c_str());
             bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
             close(fd);
         }},
        {"a file", [](const std::string& p) { close(creat(p.c_str(), 0666)); }},
    };
    const mode_t oldMask = umask(0);  // the socket's mode must not come from the umask
    for (const auto& c : cases) {
        QTemporaryDir tmp;
        const QString path = tmp.filePath("kestrelon.socket");
        c.leave(path.toStdString());
        {
            LocalControl control(path, [](const std::string& request,
                                          const LocalControl::Reply& reply) { reply(request); });
            ASSERT_TRUE(control.listening()) << c.what;
            struct stat st {};
            ASSERT_EQ(lstat(path.toLocal8Bit().constData(), &st), 0) << c.what;
            EXPECT_TRUE(S_ISSOCK(st.st_mode)) << c.what;
            EXPECT_EQ(st.st_mode & 07777, 0700u) << c.what;
            EXPECT_EQ(Exchange(path, "show\n"), "show\n") << c.what;
            std::vector<std::string> beside;
            for (const auto& entry : fs::directory_iterator(tmp.path().toStdString()))
                beside.push_back(entry.path().filename().string());
            EXPECT_EQ(beside, std::vector<std::string>{"kestrelon.socket"})
                << c.what << ": nothing else is left beside it";
        }
        EXPECT_FALSE(fs::exists(fs::symlink_status(path.toStdString()))) << c.what;
    }
    umask(oldMask);
}

// The client's side against a bare server: an answer arrives whole however it is cut, and a
// server that closes without a line, or says nothing in time, gave no answer.
TEST(ControlSocketClient, ReadsOneAnswerLine) {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("kestrelon.socket");
    EXPECT_EQ(LocalControl::Ask(path, "show"), std::nullopt) << "nobody listens";
    EXPECT_EQ(LocalControl::Ask(QString(), "show"), std::nullopt);
    const int server = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.toLocal8Bit().constData());
    ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(server, 4), 0);
    const struct {
        const char* what;
        std::string reply;   // what the server sends before it closes; "-": nothing in time
        std::string answer;  // what Ask returns
    } cases[] = {
        {"a line", "ok 1 2 3\n", "ok 1 2 3"},
        {"blanks around it", "  status ok \r\n", "status ok"},
        {"more after the line", "first\nsecond\n", "first"},
        {"a long line in many pieces", std::string(300000, 'y') + "\n", std::string(300000, 'y')},
        {"closed without a newline", "half", "error no answer from kestrelon"},
        {"no answer in time", "-", "error no answer from kestrelon"},
    };
    for (const auto& c : cases) {
        auto asked =
            std::async(std::launch::async, [&] { return LocalControl::Ask(path, "status", 300); });
        const int peer = accept(server, nullptr, nullptr);
        ASSERT_GE(peer, 0);
        std::string request;
        for (char b; recv(peer, &b, 1, 0) == 1 && b != '\n';) request += b;
        if (c.reply == "-") asked.wait();
        for (std::size_t at = 0; c.reply != "-" && at < c.reply.size(); at += 4096)
            send(peer, c.reply.data() + at, std::min<std::size_t>(4096, c.reply.size() - at),
                 MSG_NOSIGNAL);
        close(peer);
        EXPECT_EQ(request, "status") << c.what;
        EXPECT_EQ(asked.get(), c.answer) << c.what;
    }
    close(server);
}

}  // namespace
}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// The internet probe on a plain TCP socket: one GET at a time, no proxy but the environment's,
// each of the name's addresses tried in turn, a time-out on the connection and on every wait for
// more bytes, and the first bytes of the answer read as an HTTP status line.
#include "host/internet_probe.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "net/name_lookup.h"
#include "net/socket_address.h"
#include "net/stream_connection.h"

namespace kestrelon {

namespace {

constexpr quint16 kHttpPort = 80;
// "HTTP/1.1 200": as much of a status line as the probe reads.
constexpr qsizetype kStatusLineLength = 12;

bool IsHttp(const QUrl& url) {
    return url.scheme() == QLatin1String("http") && !url.host().isEmpty();
}

// The lower-case variable, or the upper-case one when that is unset or empty.
QByteArray Variable(const EnvironmentLookup& environment, const char* lower, const char* upper) {
    const QByteArray value = environment(lower).trimmed();
    return value.isEmpty() ? environment(upper).trimmed() : value;
}

bool IsLoopbackHost(const QString& host) {
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) return true;
    const std::optional<SocketAddress> address = NumericAddress(host.toStdString(), 0);
    return address && IsLoopback(*address);
}

bool Bypassed(const QString& host, const QByteArray& noProxy) {
    for (const QByteArray& item : noProxy.split(',')) {
        QByteArray entry = item.trimmed();
        if (entry == "*") return true;
        if (entry.startsWith('.')) entry.remove(0, 1);
        if (entry.isEmpty()) continue;
        const QString name = QString::fromUtf8(entry);
        if (host.compare(name, Qt::CaseInsensitive) == 0 ||
            host.endsWith(QLatin1Char('.') + name, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// "HTTP/1.x NNN": the status code, or 0 when the bytes are not the start of a status line.
int StatusCode(const QByteArray& bytes) {
    if (bytes.size() < kStatusLineLength || !bytes.startsWith("HTTP/1.") || bytes[8] != ' ')
        return 0;
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (!digit(bytes[7]) || !digit(bytes[9]) || !digit(bytes[10]) || !digit(bytes[11])) return 0;
    return (bytes[9] - '0') * 100 + (bytes[10] - '0') * 10 + (bytes[11] - '0');
}

}  // namespace

QByteArray ProcessEnvironment(const char* name) {
    return qgetenv(name);
}

std::optional<HttpProxy> ProxyFor(const QUrl& target, const EnvironmentLookup& environment) {
    if (!environment || !IsHttp(target) || IsLoopbackHost(target.host())) return std::nullopt;
    QByteArray address = Variable(environment, "http_proxy", "HTTP_PROXY");
    if (address.isEmpty()) return std::nullopt;
    if (Bypassed(target.host(), Variable(environment, "no_proxy", "NO_PROXY"))) return std::nullopt;

    if (!address.contains("://")) address.prepend("http://");
    const QUrl url(QString::fromUtf8(address));
    if (!url.isValid() || !IsHttp(url)) return std::nullopt;
    HttpProxy proxy{url.host(), static_cast<quint16>(url.port(kDefaultProxyPort)), {}};
    if (!url.userName().isEmpty()) {
        const QString credentials =
            url.userName(QUrl::FullyDecoded) + QLatin1Char(':') + url.password(QUrl::FullyDecoded);
        proxy.authorization = "Basic " + credentials.toUtf8().toBase64();
    }
    return proxy;
}

struct InternetProbe::Attempt {
    std::unique_ptr<NameLookup> lookup;
    std::vector<SocketAddress> addresses;  // those not tried yet, in order
    std::size_t next = 0;
    std::unique_ptr<StreamConnection> connection;
    bool connected = false;

    // Lets go of the connection from inside one of its own calls: it goes when the event loop
    // is back.
    void drop() {
        if (StreamConnection* c = connection.release()) {
            c->abort();
            c->deleteLater();
        }
    }
};

InternetProbe::InternetProbe(Result result, QUrl address, std::chrono::milliseconds timeout,
                             const EnvironmentLookup& environment)
    : result_(std::move(result)),
      address_(address.adjusted(QUrl::RemoveUserInfo | QUrl::RemoveFragment)),
      timeout_(timeout) {
    if (address_.path().isEmpty()) address_.setPath(QStringLiteral("/"));
    proxy_ = ProxyFor(address_, environment);
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { finish(false); });
}

// A probe still running is dropped: its connection closed, its lookup abandoned (the lookup's
// thread ends by itself and answers nobody).
InternetProbe::~InternetProbe() = default;

void InternetProbe::start() {
    if (running_) return;
    running_ = true;
    statusLine_.clear();
    if (!IsHttp(address_)) {
        timer_.start(0);  // the answer still comes from the event loop
        return;
    }
    attempt_ = std::make_unique<Attempt>();
    timer_.start(timeout_);
    const QString host = proxy_ ? proxy_->host : address_.host();
    const auto port = static_cast<uint16_t>(proxy_ ? proxy_->port : address_.port(kHttpPort));
    if (const std::optional<SocketAddress> numeric = NumericAddress(host.toStdString(), port)) {
        attempt_->addresses.push_back(*numeric);
        connectNext();
        return;
    }
    attempt_->lookup = std::make_unique<NameLookup>(host.toStdString(), port,
                                                    [this](std::vector<SocketAddress> addresses) {
                                                        attempt_->addresses = std::move(addresses);
                                                        connectNext();
                                                    });
}

void InternetProbe::connectNext() {
    attempt_->drop();
    while (attempt_->next < attempt_->addresses.size()) {
        const SocketAddress& address = attempt_->addresses[attempt_->next++];
        UniqueFd fd = OpenStreamSocket(address.family());
        if (!fd.valid() || StartConnect(fd.get(), address) != 0) continue;
        auto connection = std::make_unique<StreamConnection>(std::move(fd), true);
        connection->onConnected = [this] { connected(); };
        connection->onReceived = [this](std::string_view bytes) {
            received(bytes.data(), static_cast<qsizetype>(bytes.size()));
        };
        connection->onClosed = [this](int) { ended(); };
        attempt_->connection = std::move(connection);
        return;
    }
    // No address left to try: answer from the event loop, never from inside start().
    timer_.start(0);
}

QByteArray InternetProbe::request() const {
    // Through a proxy the request names the whole address; to the server itself, the path.
    const QByteArray target = proxy_
                                  ? address_.toEncoded()
                                  : address_.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority);
    QByteArray request = "GET " + target +
                         " HTTP/1.1\r\nHost: " + address_.authority(QUrl::FullyEncoded).toLatin1() +
                         "\r\nUser-Agent: " + kInternetProbeAgent +
                         "\r\nCache-Control: no-cache\r\n";
    if (proxy_ && !proxy_->authorization.isEmpty())
        request += "Proxy-Authorization: " + proxy_->authorization + "\r\n";
    return request + "Connection: close\r\n\r\n";
}

void InternetProbe::connected() {
    attempt_->connected = true;
    timer_.start(timeout_);
    const QByteArray bytes = request();
    attempt_->connection->write(std::string_view(bytes.constData(), bytes.size()));
}

void InternetProbe::received(const char* bytes, qsizetype size) {
    timer_.start(timeout_);
    statusLine_.append(bytes, std::min(size, kStatusLineLength - statusLine_.size()));
    if (statusLine_.size() >= kStatusLineLength) finish(answered());
}

void InternetProbe::ended() {
    // Refused or unreachable: the next address; closed once connected (the server may have
    // closed right after its answer): what it said.
    if (!attempt_->connected) return connectNext();
    finish(answered());
}

bool InternetProbe::answered() const {
    const int status = StatusCode(statusLine_);
    // A proxy's 502, 503 and 504 are its own answers: the server behind it was not reached.
    const bool proxyFailed = proxy_ && status >= 502 && status <= 504;
    return status > 0 && !proxyFailed;
}

void InternetProbe::finish(bool linked) {
    timer_.stop();
    if (attempt_) attempt_->drop();  // this may run inside one of the connection's calls
    attempt_.reset();                // abandons a lookup still running
    running_ = false;  // before the result, so that the result may start the next probe
    if (result_) result_(linked);
}

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// The internet link lamp's probe: an HTTP GET of one well-known page over a plain TCP socket, run
// on the event loop so that the window keeps responding while it waits.
//
// Only http:// addresses are supported; any other address answers "not linked". The probe speaks
// just enough HTTP/1.1 to read the status line over a socket of its own, resolving the name on a
// thread of its own, and never consults the desktop's proxy settings (nor loads their proxy and
// authentication libraries). A proxy set in the environment is honoured instead, see ProxyFor.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace kestrelon {

// The page the probe opens: a long-standing public page served over plain http.
inline constexpr const char* kInternetProbeAddress = "http://example.com/";
// How long the probe waits for the connection or for the next bytes of the reply.
inline constexpr std::chrono::milliseconds kInternetProbeTimeout{5000};
// The User-Agent of the probe's request.
inline constexpr const char* kInternetProbeAgent = "Kestrelon";
// The port of a proxy whose address names none (the usual one for http_proxy).
inline constexpr quint16 kDefaultProxyPort = 1080;

// An environment variable's value, empty when it is not set.
using EnvironmentLookup = std::function<QByteArray(const char* name)>;
// The process's own environment.
QByteArray ProcessEnvironment(const char* name);

// The HTTP proxy a request goes through.
struct HttpProxy {
    QString host;
    quint16 port = 0;
    // The value of a Proxy-Authorization header ("Basic ..."), empty when the proxy's address
    // carries no user name.
    QByteArray authorization;

    bool operator==(const HttpProxy&) const = default;
};

// The proxy for a request to target, from the environment as command-line tools commonly read it:
// - http_proxy, or HTTP_PROXY when that is unset or empty, as "[http://][user[:password]@]host
//   [:port][/]"; without a port the proxy is on kDefaultProxyPort. A user name and password are
//   sent as Basic Proxy-Authorization. A proxy of another scheme (https://, socks5://...) is not
//   spoken here, and the request goes straight to the server.
// - no_proxy, or NO_PROXY when that is unset or empty: comma-separated host names, each also
//   covering its subdomains (a leading dot is allowed), or "*" for every host. Names are compared
//   without regard to case; ports and address ranges in the list are not understood.
// - loopback addresses (localhost, 127.0.0.0/8, ::1) never go through a proxy.
// nullopt: connect to the server itself.
std::optional<HttpProxy> ProxyFor(const QUrl& target, const EnvironmentLookup& environment);

class InternetProbe {
public:
    // linked is true when the server answered at all (any HTTP status, 404 and 500 included),
    // false when it could not be reached or did not answer in time. Through a proxy, the proxy's
    // 502, 503 and 504 say that it could not reach the server, and count as not linked.
    using Result = std::function<void(bool linked)>;

    // environment: where the proxy settings are read, once, here.
    explicit InternetProbe(Result result, QUrl address = QUrl(kInternetProbeAddress),
                           std::chrono::milliseconds timeout = kInternetProbeTimeout,
                           const EnvironmentLookup& environment = ProcessEnvironment);
    // A probe still running is abandoned without a result.
    ~InternetProbe();
    InternetProbe(const InternetProbe&) = delete;
    InternetProbe& operator=(const InternetProbe&) = delete;

    // Starts a probe and returns at once; the result arrives later from the event loop. While a
    // probe runs, further calls join it: the one result answers them all.
    void start();
    bool running() const { return running_; }

private:
    struct Attempt;  // the name lookup, the addresses left to try and the connection

    QByteArray request() const;
    void connectNext();
    void connected();
    void received(const char* bytes, qsizetype size);
    void ended();
    bool answered() const;
    void finish(bool linked);

    Result result_;
    QUrl address_;
    std::chrono::milliseconds timeout_;
    std::optional<HttpProxy> proxy_;
    // Runs out when the connection or the next bytes take longer than the timeout, or at once
    // for an address the probe cannot open.
    QTimer timer_;
    std::unique_ptr<Attempt> attempt_;
    QByteArray statusLine_;  // the first bytes of the answer
    bool running_ = false;
};

}  // namespace kestrelon

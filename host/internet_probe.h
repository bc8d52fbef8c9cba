// SPDX-License-Identifier: GPL-3.0-or-later
// The internet link lamp's probe: an HTTP GET of one well-known page, run on the event loop so
// that the window keeps responding while it waits.
#pragma once

#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>

class QNetworkReply;

namespace kestrelon {

// The page the probe opens: a long-standing public page served over plain http.
inline constexpr const char* kInternetProbeAddress = "http://example.com/";
// How long the probe waits for the connection or for the next bytes of the reply.
inline constexpr std::chrono::milliseconds kInternetProbeTimeout{5000};
// The User-Agent of the probe's request.
inline constexpr const char* kInternetProbeAgent = "Kestrelon";

class InternetProbe {
public:
    // linked is true when the server answered at all (any HTTP status, 404 and 500 included),
    // false when it could not be reached or did not answer in time.
    using Result = std::function<void(bool linked)>;

    explicit InternetProbe(Result result, QUrl address = QUrl(kInternetProbeAddress),
                           std::chrono::milliseconds timeout = kInternetProbeTimeout);
    // A probe still running is abandoned without a result.
    ~InternetProbe();
    InternetProbe(const InternetProbe&) = delete;
    InternetProbe& operator=(const InternetProbe&) = delete;

    // Starts a probe and returns at once; the result arrives later from the event loop. While a
    // probe runs, further calls join it: the one result answers them all.
    void start();
    bool running() const { return reply_ != nullptr; }

private:
    struct DeleteLater {
        void operator()(QNetworkReply* reply) const;
    };

    void finished();

    Result result_;
    QUrl address_;
    std::chrono::milliseconds timeout_;
    QNetworkAccessManager network_;
    std::unique_ptr<QNetworkReply, DeleteLater> reply_;
    QMetaObject::Connection finishedConnection_;
};

}  // namespace kestrelon

// SPDX-License-Identifier: GPL-3.0-or-later
// The internet probe on Qt Network: one GET at a time, no cache, a transfer time-out, and any
// HTTP status counted as a reached server.
#include "host/internet_probe.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <utility>

namespace kestrelon {

void InternetProbe::DeleteLater::operator()(QNetworkReply* reply) const {
    reply->deleteLater();
}

InternetProbe::InternetProbe(Result result, QUrl address, std::chrono::milliseconds timeout)
    : result_(std::move(result)), address_(std::move(address)), timeout_(timeout) {}

InternetProbe::~InternetProbe() {
    if (!reply_) return;
    QObject::disconnect(finishedConnection_);
    reply_->abort();
}

void InternetProbe::start() {
    if (reply_) return;
    QNetworkRequest request(address_);
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromLatin1(kInternetProbeAgent));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    // A redirect is already an answer from the server; following it would only cost time.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(static_cast<int>(timeout_.count()));
    reply_.reset(network_.get(request));
    finishedConnection_ =
        QObject::connect(reply_.get(), &QNetworkReply::finished, &network_, [this] { finished(); });
}

void InternetProbe::finished() {
    const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const bool linked = status.isValid() && status.toInt() > 0;
    QObject::disconnect(finishedConnection_);
    reply_.reset();  // before the result, so that the result may start the next probe
    if (result_) result_(linked);
}

}  // namespace kestrelon

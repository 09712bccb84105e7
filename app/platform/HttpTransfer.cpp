// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/HttpTransfer.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

namespace {

constexpr int maximumRedirects = 10;

bool hasScheme(const QString &address)
{
    return address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

} // namespace

HttpTransfer::HttpTransfer(QObject *parent)
    : QObject(parent), manager_(new QNetworkAccessManager(this)), totalTimer_(new QTimer(this))
{
    totalTimer_->setSingleShot(true);
    connect(totalTimer_, &QTimer::timeout, this, [this] {
        if (reply_ != nullptr)
            fail(
                QStringLiteral("Request took longer than %1 seconds").arg(totalTimeoutMs_ / 1000.0),
                QNetworkReply::TimeoutError);
    });
}

HttpTransfer::~HttpTransfer()
{
    cancel();
}

void HttpTransfer::execute(const QString &address, const QByteArray &method)
{
    cancel();
    method_ = method;
    body_.clear();
    readOffset_ = 0;
    responseInfo_.clear();
    responseCode_ = 0;
    reached_ = icNone;

    const QString text = address.trimmed();
    url_ = QUrl(hasScheme(text) ? text : QStringLiteral("http://") + text, QUrl::TolerantMode);
    remoteHost_ = url_.host();
    const QString scheme = url_.scheme().toLower();
    if (!url_.isValid() || url_.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        // Reported from the event loop, as every other outcome is.
        QTimer::singleShot(0, this, [this, generation = generation_] {
            if (generation == generation_)
                fail(QStringLiteral("Invalid address"), QNetworkReply::ProtocolUnknownError);
        });
        return;
    }
    totalTimer_->start(totalTimeoutMs_);
    startRequest();
}

void HttpTransfer::startRequest()
{
    QNetworkRequest request(url_);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(maximumRedirects);
    request.setTransferTimeout(transferTimeoutMs_);

    reply_ = manager_->sendCustomRequest(request, method_);
    QNetworkReply *reply = reply_;
    connect(reply, &QNetworkReply::socketStartedConnecting, this,
            [this] { advanceTo(icConnecting); });
    connect(reply, &QNetworkReply::requestSent, this, [this] { advanceTo(icRequestSent); });
    connect(reply, &QNetworkReply::redirected, this, &HttpTransfer::onRedirected);
    connect(reply, &QNetworkReply::readyRead, this, &HttpTransfer::onReadyRead);
    connect(reply, &QNetworkReply::finished, this, &HttpTransfer::onFinished);
    advanceTo(icResolvingHost);
}

// Reports every state of the connect/request sequence up to `state` that has
// not been reported yet, so that the sequence is complete even when the
// network layer reuses a connection and skips its own steps.
void HttpTransfer::advanceTo(State state)
{
    QPointer<QNetworkReply> reply = reply_;
    while (reached_ < state && reply != nullptr && reply == reply_) {
        reached_ = static_cast<State>(reached_ + 1);
        emit StateChanged(reached_);
    }
}

void HttpTransfer::onRedirected(const QUrl &target)
{
    url_ = target;
    remoteHost_ = target.host();
    reached_ = icNone;
    advanceTo(icResolvingHost);
}

void HttpTransfer::onReadyRead()
{
    if (reply_ == nullptr)
        return;
    const QByteArray piece = reply_->readAll();
    if (piece.isEmpty())
        return;
    if (body_.size() + piece.size() > maximumBodySize_) {
        fail(QStringLiteral("Response too large"), QNetworkReply::UnknownContentError);
        return;
    }
    body_ += piece;
    advanceTo(icRequestSent);
    QPointer<QNetworkReply> reply = reply_;
    emit StateChanged(icReceivingResponse);
    if (reply != nullptr && reply == reply_)
        emit StateChanged(icResponseReceived);
}

void HttpTransfer::onFinished()
{
    QNetworkReply *reply = reply_;
    if (reply == nullptr || sender() != reply)
        return;
    onReadyRead();
    if (reply_ != reply)
        return; // failed or cancelled while reading

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int httpStatus = status.isValid() ? status.toInt() : 0;
    const QNetworkReply::NetworkError error = reply->error();
    QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();

    if (error == QNetworkReply::TooManyRedirectsError) {
        // Else the last answer, a redirect, would be reported as its status.
        fail(QStringLiteral("Too many redirects"), error);
        return;
    }
    if (httpStatus != 0 && (httpStatus < 200 || httpStatus > 299)) {
        if (reason.isEmpty())
            reason = reply->errorString();
        fail(reason, httpStatus);
        return;
    }
    if (error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError) {
        // Our own cancel() never gets here, so this is the transfer timeout.
        fail(QStringLiteral("Request timed out"), QNetworkReply::TimeoutError);
        return;
    }
    if (error != QNetworkReply::NoError) {
        fail(reply->errorString(), error);
        return;
    }
    responseInfo_ = reason;
    responseCode_ = httpStatus;
    advanceTo(icRequestSent);
    dropReply();
    emit StateChanged(icResponseCompleted);
}

void HttpTransfer::fail(const QString &text, int code)
{
    responseInfo_ = text;
    responseCode_ = code;
    dropReply();
    emit StateChanged(icError);
}

void HttpTransfer::dropReply()
{
    totalTimer_->stop();
    if (reply_ == nullptr)
        return;
    QNetworkReply *reply = reply_;
    reply_ = nullptr;
    reply->disconnect(this);
    if (reply->isRunning())
        reply->abort();
    reply->deleteLater();
}

void HttpTransfer::cancel()
{
    ++generation_;
    dropReply();
    reached_ = icNone;
}

QByteArray HttpTransfer::getChunk(qsizetype size)
{
    if (size <= 0 || readOffset_ >= body_.size())
        return {};
    QByteArray chunk = body_.mid(readOffset_, size);
    readOffset_ += chunk.size();
    return chunk;
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/SidsPoster.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QStringList>
#include <QTimer>

namespace sharing {

namespace {

constexpr int maximumRedirects = 5;
constexpr qsizetype answerShown = 300;

QString answerText(const QByteArray &body)
{
    return QString::fromUtf8(body.left(answerShown)).simplified();
}

} // namespace

SidsPoster::SidsPoster(QObject *parent)
    : QObject(parent), manager_(new QNetworkAccessManager(this)), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (!reply_)
            return;
        abort_ = Abort::Timeout;
        reply_->abort();
    });
}

SidsPoster::~SidsPoster()
{
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
    }
}

void SidsPoster::post(const QUrl &url, const QByteArray &body)
{
    if (reply_)
        return;
    url_ = url;
    answer_.clear();
    abort_ = Abort::None;
    abortReason_.clear();
    sslReason_.clear();

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(maximumRedirects);
    reply_ = manager_->post(request, body);
    // Bounds what the network layer buffers ahead of our reads.
    reply_->setReadBufferSize(answerCap * 16);
    connect(reply_, &QNetworkReply::readyRead, this, &SidsPoster::onReadyRead);
    connect(reply_, &QNetworkReply::redirected, this, &SidsPoster::onRedirected);
    connect(reply_, &QNetworkReply::finished, this, &SidsPoster::onFinished);
    connect(reply_, &QNetworkReply::sslErrors, this, [this](const QList<QSslError> &errors) {
        QStringList texts;
        for (const QSslError &error : errors)
            texts << error.errorString();
        sslReason_ = QStringLiteral("The server's certificate is not accepted: ") +
                     texts.join(QStringLiteral("; "));
    });
    timer_->start(timeoutMs_);
}

void SidsPoster::onReadyRead()
{
    if (!reply_ || abort_ != Abort::None)
        return;
    const qsizetype room = answerCap - answer_.size();
    answer_ += reply_->read(room);
    if (reply_->bytesAvailable() > 0) {
        // More than we care to read: the status is known, the rest is not needed.
        abort_ = Abort::BodyCapped;
        reply_->abort();
    }
}

void SidsPoster::onRedirected(const QUrl &target)
{
    if (!reply_)
        return;
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool keepsPost = status == 307 || status == 308;
    if (keepsPost && target.scheme().compare(url_.scheme(), Qt::CaseInsensitive) == 0) {
        emit reply_->redirectAllowed();
        return;
    }
    abort_ = Abort::Redirect;
    abortReason_ =
        keepsPost
            ? QStringLiteral("The server redirected the upload to another kind of address (%1); "
                             "not followed.")
                  .arg(target.toDisplayString())
            : QStringLiteral("The server answered %1 and pointed to %2; following it would "
                             "turn the upload into a plain GET, so it is not followed. Check "
                             "the URL.")
                  .arg(status)
                  .arg(target.toDisplayString());
    reply_->abort();
}

void SidsPoster::onFinished()
{
    QNetworkReply *reply = reply_;
    if (!reply || sender() != reply)
        return;
    timer_->stop();
    if (abort_ == Abort::None)
        onReadyRead();

    Result result;
    result.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString reasonPhrase =
        reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    const QString contentType = reply->header(QNetworkRequest::ContentTypeHeader).toString();
    result.answer = answerText(answer_);
    result.webPage = contentType.contains(QLatin1String("html"), Qt::CaseInsensitive) ||
                     answer_.trimmed().startsWith('<');

    if (abort_ == Abort::Timeout && result.httpStatus == 0) {
        result.reason = QStringLiteral("No answer within %1 s.").arg(timeoutMs_ / 1000.0);
    } else if (abort_ == Abort::Redirect) {
        result.httpStatus = 0;
        result.reason = abortReason_;
    } else if (result.httpStatus == 0) {
        result.reason = sslReason_.isEmpty() ? reply->errorString() : sslReason_;
    } else {
        result.reason = QString::number(result.httpStatus);
        if (!reasonPhrase.isEmpty())
            result.reason += QLatin1Char(' ') + reasonPhrase;
        // The status line is the server's verdict; a body that is too long
        // or too slow is not waited for.
        if (abort_ == Abort::BodyCapped)
            result.reason += QStringLiteral(" (a long answer; only its start was read)");
        else if (abort_ == Abort::Timeout)
            result.reason += QStringLiteral(" (the rest of the answer did not come within %1 s)")
                                 .arg(timeoutMs_ / 1000.0);
    }
    result.outcome = outcomeOfStatus(result.httpStatus);
    finish(result);
}

void SidsPoster::finish(Result result)
{
    QNetworkReply *reply = std::exchange(reply_, nullptr);
    reply->disconnect(this);
    reply->deleteLater();
    emit finished(result);
}

} // namespace sharing

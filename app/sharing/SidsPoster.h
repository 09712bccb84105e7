// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "sharing/SidsOutcome.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace sharing {

// One SiDS POST at a time, guarded against servers that misbehave:
// - the whole exchange is bounded by one overall timeout (15 s), so neither
//   a silent server nor one that answers a byte at a time can hold it;
// - the answer's body is read up to a small cap and the rest is not
//   awaited: the status line already says what became of the frame;
// - redirects are followed only with 307/308 (which keep the POST and its
//   body) and only to the same scheme; others are reported, not followed;
// - certificate errors fail the attempt; they are never ignored.
// The result arrives as finished(), always from the event loop.
class SidsPoster : public QObject
{
    Q_OBJECT
public:
    struct Result
    {
        Outcome outcome = Outcome::RetryLater;
        int httpStatus = 0;   // 0: no HTTP answer
        QString reason;       // in plain words, for the operator
        QString answer;       // the start of the answer's body, as text
        bool webPage = false; // the answer is an HTML page, not an API answer
    };

    explicit SidsPoster(QObject *parent = nullptr);
    ~SidsPoster() override;

    void post(const QUrl &url, const QByteArray &body);
    bool busy() const { return reply_ != nullptr; }

    void setTimeoutMs(int ms) { timeoutMs_ = ms; }
    static constexpr int defaultTimeoutMs = 15000;
    static constexpr qsizetype answerCap = 4096;

signals:
    void finished(const sharing::SidsPoster::Result &result);

private:
    enum class Abort { None, Timeout, BodyCapped, Redirect };

    void onReadyRead();
    void onRedirected(const QUrl &target);
    void onFinished();
    void finish(Result result);

    QNetworkAccessManager *manager_;
    QTimer *timer_;
    QNetworkReply *reply_ = nullptr;
    QUrl url_;
    QByteArray answer_;
    Abort abort_ = Abort::None;
    QString abortReason_;
    QString sslReason_;
    int timeoutMs_ = defaultTimeoutMs;
};

} // namespace sharing

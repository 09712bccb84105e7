// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

// One HTTP(S) transfer at a time, reported as the classic transfer states:
//
//   execute("celestrak.org/...")  ->  1 resolving host, 2 host resolved,
//   3 connecting (remoteHost() is the host), 4 connected, 5 requesting,
//   6 request sent, then 7 receiving / 8 response received for every piece
//   of the body that arrives, and at the end 12 completed or 11 error.
//
// A redirect starts the sequence again from 1 for the new address. The body
// is kept until the next execute() and read with getChunk(); on an error
// responseInfo() and responseCode() say why: the HTTP reason phrase and
// status ("Not Found", 404), or for a failure below HTTP a description and
// the network error number. cancel() stops a transfer without a report.
class HttpTransfer : public QObject
{
    Q_OBJECT
public:
    enum State {
        icNone = 0,
        icResolvingHost = 1,
        icHostResolved = 2,
        icConnecting = 3,
        icConnected = 4,
        icRequesting = 5,
        icRequestSent = 6,
        icReceivingResponse = 7,
        icResponseReceived = 8,
        icDisconnecting = 9,
        icDisconnected = 10,
        icError = 11,
        icResponseCompleted = 12,
    };

    explicit HttpTransfer(QObject *parent = nullptr);
    ~HttpTransfer() override;

    // Starts a GET of `address`; without a scheme "http://" is assumed.
    // A running transfer is cancelled first. An address that is not a
    // usable http or https URL ends at once in state 11.
    void execute(const QString &address, const QByteArray &method = "GET");
    // Stops the running transfer, if any; no further states are reported.
    void cancel();
    bool stillExecuting() const { return reply_ != nullptr; }

    // Milliseconds without any progress after which a transfer ends with an
    // error (default 30000).
    void setTransferTimeout(int milliseconds) { transferTimeoutMs_ = milliseconds; }
    int transferTimeout() const { return transferTimeoutMs_; }
    // Milliseconds after which a transfer ends with an error however much it
    // still receives, redirects included (default 300000), so that a server
    // sending a byte now and then cannot keep it going for ever.
    void setTotalTimeout(int milliseconds) { totalTimeoutMs_ = milliseconds; }
    int totalTimeout() const { return totalTimeoutMs_; }
    // Largest body accepted, in bytes (default 64 MiB); more is an error.
    void setMaximumBodySize(qint64 bytes) { maximumBodySize_ = bytes; }

    // The host of the current (or last) request, after redirects.
    QString remoteHost() const { return remoteHost_; }
    QString responseInfo() const { return responseInfo_; }
    int responseCode() const { return responseCode_; }
    QUrl url() const { return url_; }

    // The next at most `size` bytes of the body received so far; empty when
    // everything has been read.
    QByteArray getChunk(qsizetype size);

signals:
    void StateChanged(int state);

private:
    void startRequest();
    void advanceTo(State state);
    void onRedirected(const QUrl &target);
    void onReadyRead();
    void onFinished();
    void fail(const QString &text, int code);
    void dropReply();

    QNetworkAccessManager *manager_;
    QTimer *totalTimer_;
    QNetworkReply *reply_ = nullptr;
    QByteArray method_;
    QUrl url_;
    QString remoteHost_;
    QString responseInfo_;
    int responseCode_ = 0;
    QByteArray body_;
    qsizetype readOffset_ = 0;
    State reached_ = icNone; // last state of the connect/request sequence reported
    quint64 generation_ = 0; // counts execute() and cancel() calls
    int transferTimeoutMs_ = 30000;
    int totalTimeoutMs_ = 300000;
    qint64 maximumBodySize_ = qint64{64} * 1024 * 1024;
};

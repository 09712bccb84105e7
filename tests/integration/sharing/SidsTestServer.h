// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

#include <deque>
#include <memory>

// A SiDS server for tests on 127.0.0.1 and a free port: it keeps every
// request (with its body) and answers each with the next scripted answer,
// or "201 Created" when none is left. With `tls` it speaks HTTPS with a
// self-signed certificate for 127.0.0.1 (tests/data/sharing), which no
// client should trust.
class SidsTestServer : public QObject
{
    Q_OBJECT
public:
    struct Request
    {
        QByteArray method, path, contentType, body;
    };
    struct Answer
    {
        int status = 201;
        QByteArray reason = "Created";
        QByteArray body = "{}";
        QByteArray contentType = "application/json";
        QByteArray extraHeaders;  // "Name: value\r\n" lines
        bool neverAnswer = false; // reads the request and stays silent
        int trickleEveryMs = 0;   // > 0: the body goes out one byte at a time
        qsizetype bodyRepeat = 1; // the body sent this many times over
    };

    explicit SidsTestServer(bool tls = false);
    bool listen(quint16 port = 0);
    void close() { server_->close(); }
    quint16 port() const { return port_; }
    QUrl url(const char *path = "/api/telemetry/") const;

    void script(const Answer &answer) { answers_.push_back(answer); }

    QList<Request> requests;

private:
    void onConnection();
    void answer(class QTcpSocket *socket);

    std::unique_ptr<QTcpServer> server_;
    bool tls_;
    quint16 port_ = 0;
    std::deque<Answer> answers_;
};

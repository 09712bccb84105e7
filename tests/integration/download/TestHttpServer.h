// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QStringList>
#include <QTcpServer>

// A small HTTP/1.1 server on 127.0.0.1 and a free port, for tests. Each path
// has a canned answer; unknown paths get 404. Every answer closes the
// connection.
class TestHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Answer
    {
        int status = 200;
        QByteArray reason = "OK";
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        int trickleBytes = 0;     // > 0: the body goes out this many bytes at a time
        int trickleEveryMs = 0;   // with this pause between the pieces
        bool neverAnswer = false; // reads the request and stays silent
        qsizetype cutAfter = -1;  // >= 0: closes after this many body bytes
    };

    TestHttpServer();
    quint16 port() const { return server_.serverPort(); }
    // "127.0.0.1:<port>", the address of the server without scheme.
    QString hostAndPort() const;

    void serve(const QByteArray &path, const Answer &answer) { answers_[path] = answer; }
    void serve(const QByteArray &path, const QByteArray &body);
    void redirect(const QByteArray &path, int status, const QByteArray &location);

    // The paths asked for, in order.
    QList<QByteArray> requests;

private:
    void onConnection();
    void answer(QTcpSocket *socket, const QByteArray &path);

    QTcpServer server_;
    QHash<QByteArray, Answer> answers_;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#include "TestHttpServer.h"

#include <QTcpSocket>
#include <QTimer>

#include <memory>

TestHttpServer::TestHttpServer()
{
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, &TestHttpServer::onConnection);
}

QString TestHttpServer::hostAndPort() const
{
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

void TestHttpServer::serve(const QByteArray &path, const QByteArray &body)
{
    Answer a;
    a.body = body;
    serve(path, a);
}

void TestHttpServer::redirect(const QByteArray &path, int status, const QByteArray &location)
{
    Answer a;
    a.status = status;
    a.reason = status == 301 ? "Moved Permanently" : "Found";
    a.headers = {{"Location", location}};
    a.body = "<HTML><HEAD><TITLE>Document Moved</TITLE></HEAD><BODY>Moved</BODY></HTML>";
    serve(path, a);
}

void TestHttpServer::onConnection()
{
    while (QTcpSocket *socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto request = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] {
            if (request->contains("\r\n\r\n"))
                return; // answered already
            *request += socket->readAll();
            if (!request->contains("\r\n\r\n"))
                return;
            const QList<QByteArray> words = request->left(request->indexOf("\r\n")).split(' ');
            const QByteArray path = words.size() >= 2 ? words[1] : QByteArray("/");
            requests << path;
            answer(socket, path);
        });
    }
}

void TestHttpServer::answer(QTcpSocket *socket, const QByteArray &path)
{
    Answer a;
    if (answers_.contains(path)) {
        a = answers_[path];
    } else {
        a.status = 404;
        a.reason = "Not Found";
        a.body = "<html><body>Not here</body></html>";
    }
    if (a.neverAnswer)
        return;

    QByteArray head = "HTTP/1.1 " + QByteArray::number(a.status) + ' ' + a.reason + "\r\n";
    head += "Content-Length: " + QByteArray::number(a.body.size()) + "\r\n";
    head += "Content-Type: text/plain\r\nConnection: close\r\n";
    for (const auto &header : a.headers)
        head += header.first + ": " + header.second + "\r\n";
    head += "\r\n";
    socket->write(head);

    if (a.trickleBytes <= 0) {
        socket->write(a.cutAfter >= 0 ? a.body.left(a.cutAfter) : a.body);
        socket->disconnectFromHost();
        return;
    }
    auto *timer = new QTimer(socket);
    timer->setInterval(a.trickleEveryMs);
    auto sent = std::make_shared<qsizetype>(0);
    connect(timer, &QTimer::timeout, socket, [socket, timer, sent, a] {
        socket->write(a.body.mid(*sent, a.trickleBytes));
        *sent += a.trickleBytes;
        if (*sent >= a.body.size()) {
            timer->stop();
            socket->disconnectFromHost();
        }
    });
    timer->start();
}

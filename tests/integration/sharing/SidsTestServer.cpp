// SPDX-License-Identifier: GPL-2.0-or-later
#include "SidsTestServer.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

SidsTestServer::SidsTestServer(bool tls) : tls_(tls)
{
    if (tls) {
        auto *server = new QSslServer;
        QSslConfiguration config = QSslConfiguration::defaultConfiguration();
        QFile cert(QStringLiteral(ORVEX_SOURCE_DIR "/tests/data/sharing/sids-cert.pem"));
        QFile key(QStringLiteral(ORVEX_SOURCE_DIR "/tests/data/sharing/sids-key.pem"));
        if (cert.open(QIODevice::ReadOnly) && key.open(QIODevice::ReadOnly)) {
            config.setLocalCertificate(QSslCertificate(&cert, QSsl::Pem));
            config.setPrivateKey(QSslKey(&key, QSsl::Rsa, QSsl::Pem));
        }
        server->setSslConfiguration(config);
        server_.reset(server);
    } else {
        server_ = std::make_unique<QTcpServer>();
    }
    // Both kinds announce a connection that is ready (for TLS: after the handshake) so.
    connect(server_.get(), &QTcpServer::pendingConnectionAvailable, this,
            &SidsTestServer::onConnection);
}

bool SidsTestServer::listen(quint16 port)
{
    if (!server_->listen(QHostAddress::LocalHost, port))
        return false;
    port_ = server_->serverPort();
    return true;
}

QUrl SidsTestServer::url(const char *path) const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2%3")
                    .arg(QLatin1String(tls_ ? "https" : "http"))
                    .arg(port_)
                    .arg(QLatin1String(path)));
}

void SidsTestServer::onConnection()
{
    while (QTcpSocket *socket = server_->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            *buffer += socket->readAll();
            const qsizetype end = buffer->indexOf("\r\n\r\n");
            if (end < 0)
                return;
            Request request;
            const QList<QByteArray> lines = buffer->left(end).split('\n');
            const QList<QByteArray> words = lines[0].trimmed().split(' ');
            request.method = words.value(0);
            request.path = words.value(1);
            qsizetype length = 0;
            for (const QByteArray &line : lines) {
                const qsizetype colon = line.indexOf(':');
                const QByteArray name = line.left(colon).trimmed().toLower();
                if (name == "content-length")
                    length = line.mid(colon + 1).trimmed().toLongLong();
                else if (name == "content-type")
                    request.contentType = line.mid(colon + 1).trimmed();
            }
            if (buffer->size() < end + 4 + length)
                return;
            request.body = buffer->mid(end + 4, length);
            buffer->remove(0, end + 4 + length);
            requests << request;
            answer(socket);
        });
    }
}

void SidsTestServer::answer(QTcpSocket *socket)
{
    Answer a;
    if (!answers_.empty()) {
        a = answers_.front();
        answers_.pop_front();
    }
    if (a.neverAnswer)
        return;
    const QByteArray body = a.body.repeated(a.bodyRepeat);
    socket->write("HTTP/1.1 " + QByteArray::number(a.status) + ' ' + a.reason +
                  "\r\nContent-Type: " + a.contentType +
                  "\r\nContent-Length: " + QByteArray::number(body.size()) +
                  "\r\nConnection: close\r\n" + a.extraHeaders + "\r\n");
    if (a.trickleEveryMs <= 0) {
        socket->write(body);
        socket->disconnectFromHost();
        return;
    }
    auto *timer = new QTimer(socket);
    auto sent = std::make_shared<qsizetype>(0);
    connect(timer, &QTimer::timeout, socket, [socket, body, sent] {
        if (*sent < body.size())
            socket->write(body.mid((*sent)++, 1));
    });
    timer->start(a.trickleEveryMs);
}

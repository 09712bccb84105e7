// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/FakeAgwServer.h"

#include "support/Wait.h"

#include <QCoreApplication>

#include <QHostAddress>
#include <QtEndian>

#include <sys/socket.h>

namespace orvex::test {

namespace {

QByteArray versionData(qint32 major, qint32 minor)
{
    QByteArray data(8, '\0');
    qToLittleEndian<qint32>(major, data.data());
    qToLittleEndian<qint32>(minor, data.data() + 4);
    return data;
}

} // namespace

FakeAgwServer::FakeAgwServer(QObject *parent) : QObject(parent)
{
    connect(&server_, &QTcpServer::newConnection, this, &FakeAgwServer::onNewConnection);
}

FakeAgwServer::~FakeAgwServer()
{
    // The sockets are the server's children and report their disconnection
    // while it is destroyed, after this object's members are gone.
    for (QTcpSocket *socket : server_.findChildren<QTcpSocket *>())
        socket->disconnect(this);
}

bool FakeAgwServer::listen()
{
    return server_.listen(QHostAddress::LocalHost, 0);
}

bool FakeAgwServer::listenBelow(quint16 highest)
{
    // The program keeps its AGWPE port as a 16-bit signed number, so its
    // tests need a free port below the ephemeral range.
    const quint16 first = static_cast<quint16>(20000 + QCoreApplication::applicationPid() % 5000);
    for (quint32 port = first; port <= highest; ++port)
        if (server_.listen(QHostAddress::LocalHost, static_cast<quint16>(port)))
            return true;
    return false;
}

bool FakeAgwServer::listenOn(quint16 port)
{
    return server_.listen(QHostAddress::LocalHost, port);
}

quint16 FakeAgwServer::port() const
{
    return server_.serverPort();
}

bool FakeAgwServer::waitForClient(int timeoutMs)
{
    return waitUntil([this] { return client_ != nullptr; }, timeoutMs);
}

bool FakeAgwServer::waitForFrames(qsizetype count, int timeoutMs)
{
    return waitUntil([this, count] { return frames_.size() >= count; }, timeoutMs);
}

bool FakeAgwServer::waitForClientGone(int timeoutMs)
{
    return waitUntil([this] { return client_ == nullptr; }, timeoutMs);
}

QList<AgwFrame> FakeAgwServer::framesOfKind(char kind) const
{
    QList<AgwFrame> list;
    for (const AgwFrame &f : frames_)
        if (f.kind == kind)
            list.append(f);
    return list;
}

void FakeAgwServer::send(const QByteArray &bytes)
{
    if (!client_)
        return;
    client_->write(bytes);
    client_->flush();
}

void FakeAgwServer::sendFrame(char kind, quint16 port, const QByteArray &fromCall,
                              const QByteArray &toCall, const QByteArray &data, quint16 pid)
{
    send(AgwFrame::make(kind, port, fromCall, toCall, data, pid));
}

void FakeAgwServer::closeClient()
{
    if (client_) {
        client_->flush();
        client_->disconnectFromHost();
    }
}

void FakeAgwServer::abortClient()
{
    if (client_)
        client_->abort();
}

void FakeAgwServer::resetClient()
{
    if (!client_)
        return;
    // A zero linger time makes close() send RST at once.
    const linger now{1, 0};
    ::setsockopt(static_cast<int>(client_->socketDescriptor()), SOL_SOCKET, SO_LINGER, &now,
                 sizeof now);
    client_->abort();
}

void FakeAgwServer::onNewConnection()
{
    while (QTcpSocket *socket = server_.nextPendingConnection()) {
        if (client_) {
            // One client at a time: a new one replaces the old.
            client_->abort();
            client_->deleteLater();
        }
        client_ = socket;
        pending_.clear();
        connect(socket, &QTcpSocket::readyRead, this, &FakeAgwServer::onReadyRead);
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (client_ == socket)
                client_ = nullptr;
            socket->deleteLater();
        });
    }
}

void FakeAgwServer::onReadyRead()
{
    auto *socket = qobject_cast<QTcpSocket *>(sender());
    if (!socket || socket != client_)
        return;
    pending_ += socket->readAll();
    for (const AgwFrame &f : takeFrames(pending_)) {
        frames_.append(f);
        if (answerLinkUp && f.kind == 'R')
            sendFrame('R', 0, {}, {}, versionData(majorVersion, minorVersion));
        if (answerLinkUp && f.kind == 'G')
            sendFrame('G', 0, {}, {}, portInfo);
        emit frameReceived(f);
    }
}

} // namespace orvex::test

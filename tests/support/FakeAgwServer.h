// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "support/AgwFrame.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

namespace orvex::test {

// A scripted AGWPE engine on a free loopback port. It accepts one client at a
// time, records every frame the client sends, and sends whatever the test
// tells it to, byte for byte. With answerLinkUp set it answers "R" and "G"
// as an engine would (version and port list below).
class FakeAgwServer : public QObject
{
    Q_OBJECT

public:
    explicit FakeAgwServer(QObject *parent = nullptr);
    ~FakeAgwServer() override;

    bool listen();
    // Listens on a free loopback port no higher than `highest`.
    bool listenBelow(quint16 highest = 32767);
    // Listens on exactly this loopback port.
    bool listenOn(quint16 port);
    // Stops listening; a connected client stays connected.
    void stopListening() { server_.close(); }
    quint16 port() const;

    // Waits (event loop running) until a client is connected.
    bool waitForClient(int timeoutMs = 10000);
    // Waits until at least `count` frames have arrived since the last clear.
    bool waitForFrames(qsizetype count, int timeoutMs = 10000);
    // Waits until the client has closed its end.
    bool waitForClientGone(int timeoutMs = 10000);

    bool hasClient() const { return client_ != nullptr; }
    const QList<AgwFrame> &frames() const { return frames_; }
    QList<AgwFrame> framesOfKind(char kind) const;
    void clearFrames() { frames_.clear(); }

    // Sends raw bytes to the client and pushes them onto the wire at once.
    void send(const QByteArray &bytes);
    void sendFrame(char kind, quint16 port = 0, const QByteArray &fromCall = {},
                   const QByteArray &toCall = {}, const QByteArray &data = {}, quint16 pid = 0);
    // Closes the client's connection from the engine's side.
    void closeClient();
    // Resets the client's connection (an error on the client's side).
    void abortClient();
    // Drops the connection as a crashed engine's system does when data were
    // still unread: a TCP reset, not an orderly close.
    void resetClient();

    bool answerLinkUp = false;
    QByteArray portInfo = "2;Port1 first;Port2 second;";
    qint32 majorVersion = 2005;
    qint32 minorVersion = 127;

signals:
    void frameReceived(const orvex::test::AgwFrame &frame);

private:
    void onNewConnection();
    void onReadyRead();

    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    QByteArray pending_;
    QList<AgwFrame> frames_;
};

} // namespace orvex::test

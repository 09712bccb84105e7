// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

#include <atomic>
#include <thread>

namespace orvex::test {

// An AGWPE engine on a thread of its own that offers frames at a steady rate
// through a blocking socket. Because it does not share the program's event
// loop, the only thing that can slow it down is TCP back-pressure, which a
// real engine meets in the same way. Whatever the client sends is read and
// dropped.
class FloodEngine
{
public:
    FloodEngine() = default;
    ~FloodEngine();
    FloodEngine(const FloodEngine &) = delete;
    FloodEngine &operator=(const FloodEngine &) = delete;

    // Listens on a free loopback port no higher than `highest`.
    bool listenBelow(quint16 highest = 32767);
    quint16 port() const { return port_; }

    // Accepts one client, then sends `total` frames, cycling through
    // `frames`, at `perSecond` frames a second in slices of 10 ms, then
    // `last` (when given), and keeps the connection open until destroyed.
    void start(const QList<QByteArray> &frames, int total, int perSecond,
               const QByteArray &last = {});

    // Stops sending, hangs up on the client and stops listening.
    void stop();

    bool clientConnected() const { return connected_; }
    bool finished() const { return finished_; }
    int framesSent() const { return sent_; }
    // Wall time from the first frame to the end of the last write.
    double secondsSending() const { return secondsSending_; }

private:
    void run(QList<QByteArray> frames, int total, int perSecond, QByteArray last);
    bool sendAll(const char *bytes, qsizetype count);
    void drainClient();

    int listenFd_ = -1;
    int clientFd_ = -1;
    quint16 port_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> connected_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int> sent_{0};
    std::atomic<double> secondsSending_{0};
};

} // namespace orvex::test

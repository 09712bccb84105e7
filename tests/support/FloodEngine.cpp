// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/FloodEngine.h"

#include <QCoreApplication>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace orvex::test {

FloodEngine::~FloodEngine()
{
    stop();
}

void FloodEngine::stop()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (clientFd_ >= 0)
        ::close(clientFd_);
    if (listenFd_ >= 0)
        ::close(listenFd_);
    clientFd_ = listenFd_ = -1;
}

bool FloodEngine::listenBelow(quint16 highest)
{
    listenFd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listenFd_ < 0)
        return false;
    const int yes = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    // Below the ephemeral range, as the program keeps its port as a 16-bit
    // signed number; start from the process id so parallel tests differ.
    const quint32 first = 20000 + (QCoreApplication::applicationPid() * 7) % 10000;
    for (quint32 port = first; port <= highest; ++port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<quint16>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(listenFd_, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
            ::listen(listenFd_, 1) == 0) {
            port_ = static_cast<quint16>(port);
            return true;
        }
    }
    return false;
}

void FloodEngine::start(const QList<QByteArray> &frames, int total, int perSecond,
                        const QByteArray &last)
{
    thread_ = std::thread(&FloodEngine::run, this, frames, total, perSecond, last);
}

void FloodEngine::drainClient()
{
    char scratch[4096];
    while (::recv(clientFd_, scratch, sizeof scratch, MSG_DONTWAIT) > 0) {
    }
}

bool FloodEngine::sendAll(const char *bytes, qsizetype count)
{
    while (count > 0 && !stop_) {
        // Wait for room with a short poll, so that stopping is never blocked
        // by a client that has stopped reading.
        pollfd p{clientFd_, POLLOUT, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        const ssize_t n =
            ::send(clientFd_, bytes, static_cast<size_t>(count), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0)
            return false;
        bytes += n;
        count -= n;
    }
    return count == 0;
}

void FloodEngine::run(QList<QByteArray> frames, int total, int perSecond, QByteArray last)
{
    using Clock = std::chrono::steady_clock;
    while (!stop_ && clientFd_ < 0) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 100) > 0)
            clientFd_ = ::accept(listenFd_, nullptr, nullptr);
    }
    if (stop_ || frames.isEmpty())
        return;
    connected_ = true;

    constexpr int slicesPerSecond = 100;
    const int perSlice = qMax(1, perSecond / slicesPerSecond);
    const auto slice = std::chrono::microseconds(1000000 / slicesPerSecond);
    const Clock::time_point begin = Clock::now();
    Clock::time_point due = begin;
    int next = 0;
    QByteArray batch;
    while (!stop_ && sent_ < total) {
        batch.clear();
        const int count = qMin(perSlice, total - sent_);
        for (int i = 0; i < count; ++i)
            batch += frames.at((next++) % frames.size());
        if (!sendAll(batch.constData(), batch.size()))
            return;
        sent_ += count;
        drainClient();
        due += slice;
        // Behind time (the client pushed back): carry on at once.
        if (due > Clock::now())
            std::this_thread::sleep_until(due);
    }
    if (!last.isEmpty() && !sendAll(last.constData(), last.size()))
        return;
    secondsSending_ = std::chrono::duration<double>(Clock::now() - begin).count();
    finished_ = true;
    while (!stop_) {
        drainClient();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

} // namespace orvex::test

// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/HamlibLink.h"

#include <QTcpSocket>
#include <algorithm>

namespace radio {

namespace {
// Far beyond any answer the daemons give (rigctld's dump_state, the longest,
// has about 60 lines of under 200 characters).
constexpr int longestLine = 1024;
constexpr int mostLines = 200;

QString shown(const QByteArray &bytes)
{
    QString text = QString::fromLatin1(bytes.left(40));
    for (QChar &each : text)
        if (each.unicode() < 32 || each.unicode() > 126)
            each = QLatin1Char('?');
    return text;
}
} // namespace

std::optional<QString> HamlibReply::value(const QString &key) const
{
    for (const auto &[name, text] : values)
        if (name == key)
            return text;
    return std::nullopt;
}

std::optional<double> HamlibReply::number(const QString &key) const
{
    const std::optional<QString> text = value(key);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const double number = text->trimmed().toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

HamlibLink::HamlibLink(const QString &daemon, QObject *parent) : QObject(parent), daemon_(daemon)
{
    answerTimer_.setSingleShot(true);
    retryTimer_.setSingleShot(true);
    connect(&answerTimer_, &QTimer::timeout, this, &HamlibLink::onTimeout);
    connect(&retryTimer_, &QTimer::timeout, this, &HamlibLink::connectNow);
}

HamlibLink::~HamlibLink()
{
    if (socket_)
        socket_->disconnect(this);
}

void HamlibLink::setTimings(int answerTimeoutMs, int firstRetryMs, int longestRetryMs)
{
    answerTimeoutMs_ = std::max(100, answerTimeoutMs);
    firstRetryMs_ = std::max(10, firstRetryMs);
    longestRetryMs_ = std::max(firstRetryMs_, longestRetryMs);
    retryMs_ = firstRetryMs_;
}

void HamlibLink::open(const QString &host, quint16 port)
{
    host_ = host;
    port_ = port;
    retryMs_ = firstRetryMs_;
    reason_.clear();
    connectNow();
}

void HamlibLink::close()
{
    retryTimer_.stop();
    dropSocket();
    reason_.clear();
    setState(State::Closed);
}

// Ends the connection, if any, and forgets what was asked on it.
void HamlibLink::dropSocket()
{
    answerTimer_.stop();
    pending_.reset();
    buffer_.clear();
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
        socket_->deleteLater();
        socket_ = nullptr;
    }
}

void HamlibLink::connectNow()
{
    dropSocket();
    socket_ = new QTcpSocket(this);
    connect(socket_, &QTcpSocket::connected, this, &HamlibLink::onConnected);
    connect(socket_, &QTcpSocket::readyRead, this, &HamlibLink::onReadyRead);
    connect(socket_, &QTcpSocket::errorOccurred, this, &HamlibLink::onSocketError);
    connect(socket_, &QTcpSocket::disconnected, this, &HamlibLink::onSocketError);
    setState(State::Connecting);
    answerTimer_.start(answerTimeoutMs_);
    socket_->connectToHost(host_, port_);
}

void HamlibLink::onConnected()
{
    answerTimer_.stop();
    reason_.clear();
    setState(State::Up);
    emit connected();
    if (isIdle())
        emit idle();
}

bool HamlibLink::send(const QString &command, Answer answer)
{
    if (!isIdle())
        return false;
    Pending pending;
    pending.command = command;
    pending.name = command.section(QLatin1Char(' '), 0, 0);
    pending.answer = std::move(answer);
    pending_ = std::move(pending);
    ++commandsSent_;
    socket_->write("+\\" + command.toLatin1() + '\n');
    answerTimer_.start(answerTimeoutMs_);
    emit commandSent(command);
    return true;
}

void HamlibLink::onReadyRead()
{
    QTcpSocket *const socket = socket_;
    buffer_ += socket->readAll();
    while (socket == socket_) {
        const qsizetype end = buffer_.indexOf('\n');
        if (end < 0) {
            if (buffer_.size() > longestLine)
                fail(QStringLiteral("answer not understood: \"%1\"").arg(shown(buffer_)));
            return;
        }
        QByteArray line = buffer_.left(end);
        buffer_.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > longestLine || !takeLine(line)) {
            fail(QStringLiteral("answer not understood: \"%1\"").arg(shown(line)));
            return;
        }
    }
}

bool HamlibLink::takeLine(const QByteArray &line)
{
    if (!pending_)
        return false;
    Pending &pending = *pending_;
    const QString text = QString::fromLatin1(line);
    if (++pending.lines > mostLines)
        return false;
    if (text.startsWith(QLatin1String("RPRT "))) {
        bool ok = false;
        const int code = text.mid(5).trimmed().toInt(&ok);
        if (!ok)
            return false;
        pending.reply.code = code;
        Pending done = std::move(pending);
        pending_.reset();
        answerTimer_.stop();
        retryMs_ = firstRetryMs_;
        if (done.answer)
            done.answer(done.reply);
        emit idle();
        return true;
    }
    if (!pending.echoSeen) {
        // The echo is the command's name and a colon, then its arguments.
        if (!text.startsWith(pending.name + QLatin1Char(':')))
            return false;
        pending.echoSeen = true;
        return true;
    }
    const qsizetype colon = text.indexOf(QLatin1String(": "));
    if (colon < 0)
        pending.reply.values.append({QString(), text.trimmed()});
    else
        pending.reply.values.append({text.left(colon).trimmed(), text.mid(colon + 2).trimmed()});
    return true;
}

void HamlibLink::onSocketError()
{
    if (!socket_ || state_ == State::Waiting || state_ == State::Closed)
        return;
    if (socket_->error() == QAbstractSocket::ConnectionRefusedError)
        fail(QStringLiteral("connection refused (is %1 running?)").arg(daemon_));
    else if (socket_->error() == QAbstractSocket::RemoteHostClosedError ||
             socket_->state() == QAbstractSocket::UnconnectedState)
        fail(QStringLiteral("%1 closed the connection").arg(daemon_));
    else
        fail(socket_->errorString());
}

void HamlibLink::onTimeout()
{
    if (state_ == State::Connecting)
        fail(QStringLiteral("no connection within %1 s").arg(answerTimeoutMs_ / 1000.0));
    else if (pending_)
        fail(QStringLiteral("no answer to %1 within %2 s")
                 .arg(pending_->name)
                 .arg(answerTimeoutMs_ / 1000.0));
}

void HamlibLink::fail(const QString &why)
{
    dropSocket();
    reason_ = QStringLiteral("%1; trying again in %2 s").arg(why).arg(retryMs_ / 1000.0);
    retryTimer_.start(retryMs_);
    retryMs_ = std::min(retryMs_ * 2, longestRetryMs_);
    setState(State::Waiting);
}

void HamlibLink::setState(State state)
{
    const bool same = state == state_;
    state_ = state;
    // A new failure changes the text while the state stays Waiting.
    if (!same || state == State::Waiting)
        emit stateChanged();
}

QString HamlibLink::where() const
{
    return QStringLiteral("%1 at %2:%3").arg(daemon_, host_).arg(port_);
}

QString HamlibLink::stateText() const
{
    switch (state_) {
    case State::Closed:
        return QStringLiteral("%1: off").arg(daemon_);
    case State::Connecting:
        return QStringLiteral("connecting to %1").arg(where());
    case State::Up:
        return QStringLiteral("connected to %1").arg(where());
    case State::Waiting:
        break;
    }
    return QStringLiteral("%1: %2").arg(where(), reason_);
}

} // namespace radio

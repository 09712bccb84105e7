// SPDX-License-Identifier: GPL-2.0-or-later
#include "HamlibTestRig.h"

#include "platform/DateTime.h"
#include "support/Wait.h"

#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cmath>
#include <csignal>
#include <limits>

namespace radio::test {

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

int mostInOneSecond(const std::vector<double> &sentJd)
{
    constexpr double second = 1.0 / 86400;
    int most = 0;
    for (std::size_t first = 0; first < sentJd.size(); ++first) {
        std::size_t last = first;
        while (last + 1 < sentJd.size() && sentJd[last + 1] - sentJd[first] < second)
            ++last;
        most = std::max(most, static_cast<int>(last - first + 1));
    }
    return most;
}

Daemon::Daemon(const QString &program, QStringList extraArguments, quint16 port)
    : program_(program), extraArguments_(std::move(extraArguments)), port_(port)
{
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardInputFile(QProcess::nullDevice());
}

Daemon::~Daemon()
{
    resume();
    kill();
}

bool Daemon::start(QString *error)
{
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (port_ == 0)
        port_ = freeLoopbackPort();
    process_.start(program_, QStringList{QStringLiteral("-m"), QStringLiteral("1"),
                                         QStringLiteral("-T"), QStringLiteral("127.0.0.1"),
                                         QStringLiteral("-t"), QString::number(port_)} +
                                 extraArguments_);
    if (!process_.waitForStarted(10000))
        return fail(program_ + QStringLiteral(" did not start: ") + process_.errorString());
    const bool accepts = orvex::test::waitUntil(
        [&] {
            if (process_.state() != QProcess::Running)
                return true;
            readiness_ = std::make_unique<QTcpSocket>();
            readiness_->connectToHost(QHostAddress::LocalHost, port_);
            return readiness_->waitForConnected(200);
        },
        10000);
    if (!accepts || process_.state() != QProcess::Running)
        return fail(program_ + QStringLiteral(" does not listen: ") +
                    QString::fromLocal8Bit(process_.readAll()));
    return true;
}

void Daemon::kill()
{
    readiness_.reset();
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished(5000);
}

void Daemon::pause()
{
    if (process_.state() == QProcess::Running)
        ::kill(static_cast<pid_t>(process_.processId()), SIGSTOP);
}

void Daemon::resume()
{
    if (process_.state() == QProcess::Running)
        ::kill(static_cast<pid_t>(process_.processId()), SIGCONT);
}

Probe::Probe(quint16 port) : link_(QStringLiteral("probe"))
{
    link_.open(QStringLiteral("127.0.0.1"), port);
}

std::optional<HamlibReply> Probe::ask(const QString &command)
{
    if (!waitForIdle(link_))
        return std::nullopt;
    std::optional<HamlibReply> answer;
    if (!link_.send(command, [&](const HamlibReply &reply) { answer = reply; }))
        return std::nullopt;
    waitForIdle(link_);
    return answer;
}

double Probe::number(const QString &command, const QString &key)
{
    const std::optional<HamlibReply> reply = ask(command);
    const std::optional<double> value = reply ? reply->number(key) : std::nullopt;
    return value ? *value : std::numeric_limits<double>::quiet_NaN();
}

bool waitForIdle(HamlibLink &link, int timeoutMs)
{
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(timeoutMs);
    while (!link.isIdle() && deadline.isActive()) {
        QEventLoop loop;
        QObject::connect(&link, &HamlibLink::idle, &loop, &QEventLoop::quit);
        QObject::connect(&link, &HamlibLink::stateChanged, &loop, &QEventLoop::quit);
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        // The link may go idle between the test and the loop's start.
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return link.isIdle();
}

StationTrack::StationTrack(const std::string &name) : name_(name)
{
    QFile file(QStringLiteral(ORVEX_SOURCE_DIR "/tests/data/orbit/station.txt"));
    if (file.open(QIODevice::ReadOnly))
        engine_.addElementText(file.readAll().toStdString());
    engine_.SetObserverLatitude(38.9833);
    engine_.SetObserverLongitude(-76.4833);
}

orbit::Pass StationTrack::passAfter(double fromJd)
{
    const orbit::PassSearch search = engine_.findPasses(name_, fromJd, fromJd + 1);
    return search.passes.empty() ? orbit::Pass{} : search.passes.front();
}

LookSample StationTrack::look(double jd)
{
    orbit::Position position;
    orbit::RangeRate range;
    engine_.GetPosition(name_, jd, position);
    engine_.GetRangeRate(name_, jd, range);
    return {position.azimuth * orbit::radToDeg, position.elevation * orbit::radToDeg, range.rangeKm,
            range.rangeRateKmPerS};
}

TrackInput StationTrack::input()
{
    TrackInput input;
    input.pass = [this](double nowJd) -> std::optional<PassWindow> {
        // From half a day back, so that a pass under way is found too.
        const orbit::PassSearch search = engine_.findPasses(name_, nowJd - 0.5, nowJd + 2);
        for (const orbit::Pass &pass : search.passes)
            if (pass.losJd > nowJd)
                return PassWindow{pass.aosJd, pass.losJd};
        return std::nullopt;
    };
    input.look = [this](double jd) -> std::optional<LookSample> { return look(jd); };
    return input;
}

HeldClock::HeldClock(double jd) : jd_(jd)
{
    orvex::Clock::setSource([this] { return orvex::dateToUtc(orvex::dateOfJulianDate(jd_)); });
}

HeldClock::~HeldClock()
{
    orvex::Clock::setSource({});
}

} // namespace radio::test

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbitengine/OrbitEngine.h"
#include "radio/HamlibLink.h"
#include "radio/TrackInput.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTcpSocket>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// What the radio tests and the radio benchmark share: Hamlib's own daemons
// on free loopback ports, a second client to ask them what they hold, a
// satellite's track from the orbit engine, and the program's clock held at
// a Julian date that the test moves.
namespace radio::test {

// A free TCP port on the loopback interface.
quint16 freeLoopbackPort();

// The most commands sent in any second of the program's clock (Julian dates UTC, by time).
int mostInOneSecond(const std::vector<double> &sentJd);

// rigctld or rotctld with Hamlib's dummy model (1) on a free loopback port.
class Daemon
{
public:
    // On `port`, or on a free one when it is 0.
    explicit Daemon(const QString &program, QStringList extraArguments = {}, quint16 port = 0);
    ~Daemon();

    // Starts it (on the same port as before, if it ran) and waits until it
    // accepts connections. False, with the reason in `error`, if it does not.
    bool start(QString *error = nullptr);
    // Ends it at once (SIGKILL), as a crash would.
    void kill();
    // Stops and continues it (SIGSTOP, SIGCONT): a daemon that hangs.
    void pause();
    void resume();
    quint16 port() const { return port_; }

private:
    QString program_;
    QStringList extraArguments_;
    QProcess process_;
    quint16 port_ = 0;
    // The connection that found the daemon listening, held until it stops:
    // Hamlib 4.5's daemons close a leaving client's descriptor more than
    // once, which can cut a connection accepted at that moment.
    std::unique_ptr<QTcpSocket> readiness_;
};

// Another client of a daemon, as an operator's second program would be.
class Probe
{
public:
    explicit Probe(quint16 port);
    // The daemon's answer to `command`; nothing if none came.
    std::optional<HamlibReply> ask(const QString &command);
    // The number after `key` in the answer to `command`; NaN if none.
    double number(const QString &command, const QString &key);

private:
    HamlibLink link_;
};

// Waits, running the event loop, until the link is idle (connected, nothing in flight).
bool waitForIdle(HamlibLink &link, int timeoutMs = 10000);

// A satellite of tests/data/orbit/station.txt seen from the test station
// (Annapolis); its passes are those of tests/unit/tracking/StationPasses.h.
class StationTrack
{
public:
    explicit StationTrack(const std::string &name);
    TrackInput input();
    // The pass whose AOS follows `fromJd`.
    orbit::Pass passAfter(double fromJd);
    LookSample look(double jd);

    static constexpr const char *iss = "ISS (ZARYA)";
    static constexpr const char *orvex = "ORVEX-1";
    // Julian date UTC of 2026-12-08 00:00.
    static constexpr double dayJd = 2461382.5;

private:
    orbit::OrbitEngine engine_;
    std::string name_;
};

// The program's clock, held at `jd` until moved; the system clock again
// when the object goes.
class HeldClock
{
public:
    explicit HeldClock(double jd);
    ~HeldClock();
    void set(double jd) { jd_ = jd; }
    double jd() const { return jd_; }

private:
    double jd_;
};

} // namespace radio::test

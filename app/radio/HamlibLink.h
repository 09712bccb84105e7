// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <optional>
#include <utility>

class QTcpSocket;

// One TCP link to a Hamlib network daemon: rigctld for a radio, rotctld for a
// rotator (or a program that serves their protocol, such as an SDR
// receiver). It speaks the extended response protocol: a command goes out as
// "+\name arguments" and the daemon echoes the command's name, gives each
// value as a "Key: value" line and ends with "RPRT n" (0 done, a negative
// Hamlib error code otherwise). As Hamlib 4.5's daemons answer:
//
//   > +\set_freq 145830000         > +\get_pos
//   < set_freq: 145830000          < get_pos:
//   < RPRT 0                       < Azimuth: 30.05
//   > +\get_freq                   < Elevation: 30.05
//   < get_freq:                    < RPRT 0
//   < Frequency: 145830000         > +\set_pos 10 100
//   < RPRT 0                       < set_pos: 10 100
//   > +\get_split_freq             < RPRT -1
//   < get_split_freq:
//   < TX Frequency: 145800000      (rotctld's dump_state adds lines without a
//   < RPRT 0                        colon, such as "rot_type=AzEl" and "done")
//
// A command the daemon does not know gets no answer at all, so callers send
// only the commands they know; the answer timeout catches the rest.
//
// Everything runs on the GUI thread and nothing waits: one command is in
// flight at a time, its answer is due within a few seconds, and a daemon that
// refuses, closes, hangs or sends what is not an answer costs the connection,
// which is tried again after a pause that doubles from 1 s up to 30 s.
namespace radio {

struct HamlibReply
{
    int code = 0; // the n of "RPRT n"
    // The lines between the echo and RPRT: key and value of "Key: value",
    // an empty key for a line without ": ".
    QList<std::pair<QString, QString>> values;

    bool ok() const { return code == 0; }
    std::optional<QString> value(const QString &key) const;
    std::optional<double> number(const QString &key) const;
};

class HamlibLink : public QObject
{
    Q_OBJECT
public:
    enum class State {
        Closed,     // not asked to connect
        Connecting, // waiting for the connection
        Up,         // connected
        Waiting     // failed; trying again after a pause
    };
    using Answer = std::function<void(const HamlibReply &reply)>;

    // `daemon` names the daemon in the state text ("rigctld").
    explicit HamlibLink(const QString &daemon, QObject *parent = nullptr);
    ~HamlibLink() override;

    // Connects (again) to the daemon at host:port.
    void open(const QString &host, quint16 port);
    void close();

    // Connected, and no command waiting for its answer.
    bool isIdle() const { return state_ == State::Up && !pending_; }
    // Sends a command ("set_freq 145830000", without "+\") when idle; its
    // answer goes to `answer`. A command whose answer never comes (link lost)
    // never calls it. False when the link is not idle.
    bool send(const QString &command, Answer answer);

    State state() const { return state_; }
    // The state in words, with the reason of the last failure.
    QString stateText() const;
    quint64 commandsSent() const { return commandsSent_; }

    // Milliseconds: the longest wait for a connection or an answer, and the
    // first and longest pause before trying again.
    void setTimings(int answerTimeoutMs, int firstRetryMs, int longestRetryMs);

signals:
    void stateChanged();
    // The link came up: the daemon may have been restarted and forgotten
    // everything it was told.
    void connected();
    // A command was answered (or failed with the link): the next may go.
    void idle();
    // A command went out (counted before its answer).
    void commandSent(const QString &command);

private:
    void dropSocket();
    void connectNow();
    void onConnected();
    void onReadyRead();
    void onSocketError();
    void onTimeout();
    void fail(const QString &why);
    void setState(State state);
    bool takeLine(const QByteArray &line);
    QString where() const;

    struct Pending
    {
        QString command;
        QString name; // the command's first word, echoed by the daemon
        Answer answer;
        bool echoSeen = false;
        HamlibReply reply;
        int lines = 0;
    };

    QString daemon_;
    QString host_;
    quint16 port_ = 0;
    QTcpSocket *socket_ = nullptr;
    QTimer answerTimer_;
    QTimer retryTimer_;
    State state_ = State::Closed;
    QString reason_;
    std::optional<Pending> pending_;
    QByteArray buffer_;
    int answerTimeoutMs_ = 3000;
    int firstRetryMs_ = 1000;
    int longestRetryMs_ = 30000;
    int retryMs_ = 1000;
    quint64 commandsSent_ = 0;
};

} // namespace radio

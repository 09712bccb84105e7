// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

namespace orvex::test {

// A Dire Wolf packet engine on a free loopback AGW port, hearing "off the
// air" what the test plays to it: packets in monitor form
// ("SRC>DST,DIGI:text") are rendered to 1200 bd AFSK by gen_packets and fed
// to its standard input, paced in real time, with silence in between and
// after. The silence matters: Dire Wolf holds its own transmissions while its
// audio input stalls.
class DireWolfStation : public QObject
{
    Q_OBJECT

public:
    explicit DireWolfStation(QObject *parent = nullptr);
    ~DireWolfStation() override;

    // The tools missing from PATH ("direwolf", "gen_packets"); empty when both are there.
    static QStringList missingTools();

    // Starts the engine and waits until it accepts AGW clients.
    bool start(QString *error = nullptr);
    void stop();

    // The AGW port, below 32768 so that it fits a 16-bit signed setting too.
    quint16 agwPort() const { return agwPort_; }

    // Queues the packets' audio after what is still queued.
    bool play(const QStringList &packets, QString *error = nullptr);
    // True once everything queued has been fed.
    bool idle() const { return queue_.isEmpty(); }

    // Everything Dire Wolf printed so far.
    QString log() const { return QString::fromLocal8Bit(log_); }

    static constexpr int sampleRate = 44100;

private:
    void feed();
    QByteArray render(const QString &packet, QString *error);

    QTemporaryDir dir_;
    QProcess process_;
    QTimer feedTimer_;
    QElapsedTimer clock_;
    qint64 bytesFed_ = 0;
    QByteArray queue_;
    QByteArray log_;
    quint16 agwPort_ = 0;
    int renderCount_ = 0;
};

} // namespace orvex::test

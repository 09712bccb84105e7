// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/DireWolfStation.h"

#include "support/Wait.h"

#include <QFile>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTcpServer>
#include <QtEndian>

namespace orvex::test {

namespace {

constexpr int bytesPerSecond = DireWolfStation::sampleRate * 2; // 16-bit mono
// How far ahead of real time the feed runs.
constexpr qint64 leadBytes = bytesPerSecond / 5;

QByteArray silence(qint64 bytes)
{
    return QByteArray(static_cast<qsizetype>(bytes & ~qint64(1)), '\0');
}

// A free TCP port on the loopback interface, below 32768.
quint16 freePort()
{
    for (int attempt = 0; attempt < 200; ++attempt) {
        const auto port = static_cast<quint16>(QRandomGenerator::global()->bounded(20000, 32000));
        // Dire Wolf listens on every interface, so the port must be free on all.
        QTcpServer probe;
        if (probe.listen(QHostAddress::Any, port)) {
            probe.close();
            return port;
        }
    }
    return 0;
}

// The samples of a PCM .wav file (the "data" chunk).
QByteArray wavSamples(const QByteArray &wav)
{
    qsizetype at = 12;
    while (at + 8 <= wav.size()) {
        const QByteArray id = wav.mid(at, 4);
        const auto size = qFromLittleEndian<quint32>(wav.constData() + at + 4);
        if (id == "data")
            return wav.mid(at + 8, static_cast<qsizetype>(size));
        at += 8 + static_cast<qsizetype>(size) + (size & 1);
    }
    return {};
}

} // namespace

DireWolfStation::DireWolfStation(QObject *parent) : QObject(parent)
{
    process_.setProcessChannelMode(QProcess::MergedChannels);
    connect(&process_, &QProcess::readyReadStandardOutput, this,
            [this] { log_ += process_.readAllStandardOutput(); });
    feedTimer_.setInterval(50);
    connect(&feedTimer_, &QTimer::timeout, this, &DireWolfStation::feed);
}

DireWolfStation::~DireWolfStation()
{
    stop();
}

QStringList DireWolfStation::missingTools()
{
    QStringList missing;
    for (const char *tool : {"direwolf", "gen_packets"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            missing.append(QString::fromLatin1(tool));
    return missing;
}

bool DireWolfStation::start(QString *error)
{
    const auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!dir_.isValid())
        return fail(QStringLiteral("no temporary folder"));
    agwPort_ = freePort();
    if (agwPort_ == 0)
        return fail(QStringLiteral("no free TCP port"));

    const QString configPath = dir_.filePath(QStringLiteral("direwolf.conf"));
    QFile config(configPath);
    if (!config.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("cannot write ") + configPath);
    config.write("ADEVICE stdin null\n"
                 "ARATE " +
                 QByteArray::number(sampleRate) +
                 "\n"
                 "ACHANNELS 1\n"
                 "CHANNEL 0\n"
                 "MYCALL Q9TEST\n"
                 "MODEM 1200\n"
                 "AGWPORT " +
                 QByteArray::number(agwPort_) +
                 "\n"
                 "KISSPORT 0\n");
    config.close();

    process_.setWorkingDirectory(dir_.path());
    process_.start(QStringLiteral("direwolf"),
                   {QStringLiteral("-c"), configPath, QStringLiteral("-t"), QStringLiteral("0"),
                    QStringLiteral("-")});
    if (!process_.waitForStarted(10000))
        return fail(QStringLiteral("direwolf did not start: ") + process_.errorString());
    clock_.start();
    bytesFed_ = 0;
    feed();
    feedTimer_.start();

    const QByteArray ready =
        "Ready to accept AGW client application 0 on port " + QByteArray::number(agwPort_);
    waitUntil([&] { return log_.contains(ready) || process_.state() != QProcess::Running; }, 20000);
    if (process_.state() != QProcess::Running)
        return fail(QStringLiteral("direwolf ended: ") + log());
    if (!log_.contains(ready))
        return fail(QStringLiteral("direwolf did not open its AGW port: ") + log());
    return true;
}

void DireWolfStation::stop()
{
    feedTimer_.stop();
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.closeWriteChannel();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    log_ += process_.readAllStandardOutput();
}

QByteArray DireWolfStation::render(const QString &packet, QString *error)
{
    const QString base = dir_.filePath(QStringLiteral("packet%1").arg(++renderCount_));
    QFile text(base + QStringLiteral(".txt"));
    if (!text.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("cannot write ") + text.fileName();
        return {};
    }
    // No line end: gen_packets would send it as part of the text.
    text.write(packet.toLatin1());
    text.close();

    QProcess gen;
    gen.setProcessChannelMode(QProcess::MergedChannels);
    gen.start(QStringLiteral("gen_packets"),
              {QStringLiteral("-r"), QString::number(sampleRate), QStringLiteral("-o"),
               base + QStringLiteral(".wav"), text.fileName()});
    if (!gen.waitForFinished(30000) || gen.exitStatus() != QProcess::NormalExit ||
        gen.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("gen_packets failed: ") + QString::fromLocal8Bit(gen.readAll());
        return {};
    }
    QFile wav(base + QStringLiteral(".wav"));
    if (!wav.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("gen_packets wrote no audio");
        return {};
    }
    return wavSamples(wav.readAll());
}

bool DireWolfStation::play(const QStringList &packets, QString *error)
{
    QByteArray audio;
    for (const QString &packet : packets) {
        const QByteArray samples = render(packet, error);
        if (samples.isEmpty())
            return false;
        audio += samples;
        audio += silence(bytesPerSecond / 2);
    }
    queue_ += audio;
    return true;
}

void DireWolfStation::feed()
{
    if (process_.state() != QProcess::Running)
        return;
    const qint64 due = clock_.elapsed() * bytesPerSecond / 1000 + leadBytes - bytesFed_;
    if (due < 2)
        return;
    QByteArray chunk = queue_.left(static_cast<qsizetype>(due & ~qint64(1)));
    queue_.remove(0, chunk.size());
    if (chunk.size() < due)
        chunk += silence(due - chunk.size());
    process_.write(chunk);
    bytesFed_ += chunk.size();
}

} // namespace orvex::test

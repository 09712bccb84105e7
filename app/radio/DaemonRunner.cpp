// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/DaemonRunner.h"

#include <algorithm>

namespace radio {

namespace {
constexpr int firstRestartMs = 2000;
constexpr int longestRestartMs = 60000;
constexpr qsizetype keptOutput = 2000;
} // namespace

DaemonRunner::DaemonRunner(const QString &program, QObject *parent)
    : QObject(parent), program_(program)
{
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardInputFile(QProcess::nullDevice());
    restartTimer_.setSingleShot(true);
    connect(&restartTimer_, &QTimer::timeout, this, &DaemonRunner::launch);
    connect(&process_, &QProcess::started, this, &DaemonRunner::onStarted);
    connect(&process_, &QProcess::finished, this, &DaemonRunner::onFinished);
    connect(&process_, &QProcess::errorOccurred, this, &DaemonRunner::onError);
    connect(&process_, &QProcess::readyReadStandardOutput, this, [this] {
        lastOutput_ += process_.readAllStandardOutput();
        if (lastOutput_.size() > keptOutput)
            lastOutput_ = lastOutput_.right(keptOutput);
    });
    text_ = QStringLiteral("%1 is not started by the program").arg(program_);
}

DaemonRunner::~DaemonRunner()
{
    process_.disconnect(this);
    stop();
}

QString DaemonRunner::commandLine() const
{
    return (QStringList{program_} + arguments_).join(QLatin1Char(' '));
}

void DaemonRunner::start(const DaemonSettings &settings, quint16 port)
{
    stop();
    arguments_ = daemonArguments(settings, port);
    wanted_ = true;
    restartMs_ = firstRestartMs;
    launch();
}

void DaemonRunner::stop()
{
    wanted_ = false;
    restartTimer_.stop();
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(1000)) {
            process_.kill();
            process_.waitForFinished(1000);
        }
    }
    setText(QStringLiteral("%1 is not started by the program").arg(program_));
}

void DaemonRunner::launch()
{
    if (!wanted_)
        return;
    lastOutput_.clear();
    setText(QStringLiteral("starting %1").arg(commandLine()));
    process_.start(program_, arguments_);
}

void DaemonRunner::onStarted()
{
    setText(QStringLiteral("%1 running (process %2)").arg(commandLine()).arg(process_.processId()));
}

void DaemonRunner::onFinished(int exitCode, QProcess::ExitStatus status)
{
    if (!wanted_)
        return;
    lastOutput_ += process_.readAllStandardOutput();
    const QStringList lines =
        QString::fromLocal8Bit(lastOutput_).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString said =
        lines.isEmpty() ? QString() : QStringLiteral(": ") + lines.last().trimmed();
    const QString how = status == QProcess::CrashExit
                            ? QStringLiteral("stopped by a signal")
                            : QStringLiteral("ended with exit code %1").arg(exitCode);
    setText(QStringLiteral("%1 %2%3; starting it again in %4 s")
                .arg(program_, how, said)
                .arg(restartMs_ / 1000));
    restartTimer_.start(restartMs_);
    restartMs_ = std::min(restartMs_ * 2, longestRestartMs);
}

void DaemonRunner::onError(QProcess::ProcessError error)
{
    if (!wanted_ || error != QProcess::FailedToStart)
        return;
    setText(QStringLiteral("%1 cannot be started (%2); is Hamlib's libhamlib-utils installed? "
                           "Trying again in %3 s")
                .arg(program_, process_.errorString())
                .arg(restartMs_ / 1000));
    restartTimer_.start(restartMs_);
    restartMs_ = std::min(restartMs_ * 2, longestRestartMs);
}

void DaemonRunner::setText(const QString &text)
{
    if (text == text_)
        return;
    text_ = text;
    emit stateChanged();
}

} // namespace radio

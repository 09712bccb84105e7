// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "radio/DaemonSettings.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>

// Runs rigctld or rotctld as a child of the program, for a radio or rotator
// on a serial port: `rigctld -m MODEL -r DEVICE -s SPEED -T 127.0.0.1 -t
// PORT`. A daemon that ends (the device unplugged, the port taken) is
// reported and started again after a pause that doubles from 2 s up to a
// minute; stop() or the destructor ends it. Nothing here waits, but for at
// most a second while stopping.
namespace radio {

class DaemonRunner : public QObject
{
    Q_OBJECT
public:
    // `program` is "rigctld" or "rotctld" (or a path to one).
    explicit DaemonRunner(const QString &program, QObject *parent = nullptr);
    ~DaemonRunner() override;

    void start(const DaemonSettings &settings, quint16 port);
    void stop();

    bool isRunning() const { return process_.state() == QProcess::Running; }
    QString stateText() const { return text_; }
    // The command line of the daemon, as started.
    QString commandLine() const;

signals:
    void stateChanged();

private:
    void launch();
    void onStarted();
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void onError(QProcess::ProcessError error);
    void setText(const QString &text);

    QString program_;
    QStringList arguments_;
    QProcess process_;
    QTimer restartTimer_;
    QString text_;
    QByteArray lastOutput_;
    int restartMs_ = 2000;
    bool wanted_ = false;
};

} // namespace radio

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbit/KepsInstaller.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>

class HttpTransfer;
class QTimer;
class clsIni;

// The element files of the download window (settings KEPS, FILE_1 and
// FILE_2), fetched again in the background every AUTO_UPDATE_HOURS (default
// 24) while AUTO_UPDATE is on (off by default). A file is installed only as
// the window would install it, so a bad download never replaces a good file.
// LAST_UPDATE keeps the time (UTC) of the last update that installed a file.
class KepsAutoUpdate : public QObject
{
    Q_OBJECT
public:
    KepsAutoUpdate(clsIni &ini, const QString &programFolder, QObject *parent = nullptr);
    ~KepsAutoUpdate() override;

    bool enabled() const;
    int intervalHours() const;
    // Starts an update when one is due (the timer asks every minute).
    void check();
    // Starts an update now, unless one is running.
    void updateNow();
    bool running() const { return index_ >= 0; }
    // For the status bar: when the last update succeeded, or why it failed;
    // empty while nothing has happened.
    QString statusText() const { return status_; }
    HttpTransfer *transfer() const { return http_; }

signals:
    // Files were installed: the Keps folder must be read again.
    void installed(const QStringList &files);
    void statusChanged(const QString &text);

private:
    void fetchCurrent();
    void onState(int state);
    void finish();

    clsIni &ini_;
    KepsInstaller installer_;
    HttpTransfer *http_;
    QTimer *timer_;
    QStringList addresses_;
    int index_ = -1; // the file being fetched; -1 while idle
    QStringList installedFiles_;
    QStringList errors_;
    QDateTime lastTry_;
    QString status_;
};

// The catalogue numbers of the tracked satellites (settings SETUP,
// ORVEX_OBJ_NUM and ISS_OBJ_NUM), for the installer's notice.
QList<int> trackedCatalogNumbers(clsIni &ini);

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
// the window would install it, so a bad download never replaces a good file,
// and a tracked satellite that a new file lacks keeps its old set.
// LAST_UPDATE keeps the time (UTC) of the last update that fully succeeded:
// every file installed, no tracked set kept from an old file. Anything less
// is tried again after an hour.
class KepsAutoUpdate : public QObject
{
    Q_OBJECT
public:
    // A result short of full success is tried again after this long.
    static constexpr qint64 retrySeconds = 3600;

    // `trackedCatalogNumbers`: the satellites whose sets an update must never
    // take away (ORVEX and the ISS).
    KepsAutoUpdate(clsIni &ini, const QString &programFolder,
                   const QList<int> &trackedCatalogNumbers, QObject *parent = nullptr);
    ~KepsAutoUpdate() override;

    bool enabled() const;
    int intervalHours() const;
    // Starts an update when one is due (the timer asks every minute).
    void check();
    // Starts an update now, unless one is running.
    void updateNow();
    bool running() const { return index_ >= 0; }
    // For the status bar, one line: when the last update succeeded, or what
    // it lacked and when it is tried again; empty while nothing has happened.
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
    QStringList errors_;    // files not installed, with the reason
    QStringList shortfall_; // files installed with a tracked set kept from the old file
    QDateTime retryAt_;     // UTC; set while the last result fell short
    QDateTime lastSuccess_; // UTC, in case LAST_UPDATE cannot be written
    QString status_;
};

// The catalogue numbers of the tracked satellites (settings SETUP,
// ORVEX_OBJ_NUM and ISS_OBJ_NUM), for the download window's installer.
QList<int> trackedCatalogNumbers(clsIni &ini);

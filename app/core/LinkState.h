// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// The state of the link to the packet engine as the status bar says it:
// since when it is up, or why it is down, how often it has failed since, and
// when the next try comes.
class LinkState
{
public:
    // The link came up.
    void linked(const QString &host, quint16 port, const QDateTime &nowUtc);
    // A try failed or the link dropped, for `reason` (the engine's or the
    // system's words).
    void failed(const QString &reason, const QDateTime &nowUtc);

    bool isLinked() const { return linked_; }
    int failures() const { return failures_; }

    // "Linked to 127.0.0.1:8000 since 10:42 UTC", "No link: connection
    // refused, next try in 21 s", ...; `msToNextTry` below 0 when none is due.
    QString statusText(int msToNextTry) const;

private:
    bool linked_ = false;
    bool everTried_ = false;
    QString address_;
    QString reason_;
    QDateTime since_; // of the link, or of the outage's first failure
    int failures_ = 0;
};

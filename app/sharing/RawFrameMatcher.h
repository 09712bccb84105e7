// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <deque>
#include <optional>

namespace sharing {

// The source and information field of an AX.25 UI frame as the engine hands
// it over raw ("K" frame, port byte removed): 7-byte addresses (destination,
// source, up to 8 digipeaters; the last has bit 0 set), control 0x03 (or 0x13
// with the P/F bit), PID, information. No flags, no FCS.
struct Ax25UiFrame
{
    QString source; // "CALL" or "CALL-SSID", as the engine's monitor header names it
    QByteArray info;
};
// nullopt for anything that is not a whole UI frame.
std::optional<Ax25UiFrame> parseUiFrame(const QByteArray &frame);

// Pairs each monitored UI frame (AGWPE "U": header line, CR, the info as
// text) with the raw frame that carried it (AGWPE "K"), so that the frame can
// be shared exactly as it was on the air. The engine sends the two one after
// the other, in either order; a pair must agree in source callsign and
// information bytes and arrive within `windowMs` of each other.
//
// What does not pair: a raw frame waits `windowMs` and is dropped (most raw
// frames are traffic of other stations); a monitored frame waits as long and
// is then dropped and counted in unmatchedMonitored(): without its raw frame
// nothing is shared for it. At most `capacity` frames of each kind wait; the
// oldest goes first, so a flood cannot grow the lists.
class RawFrameMatcher
{
public:
    struct Match
    {
        QString source;
        QByteArray rawFrame;
        QDateTime heardUtc; // the earlier arrival of the two
    };

    explicit RawFrameMatcher(qint64 windowMs = 5000, std::size_t capacity = 256);

    // A raw frame from the engine; frames that are no UI frame are ignored.
    std::optional<Match> addRaw(const QByteArray &frame, const QDateTime &utc);
    // A monitored UI frame from `source` (the monitor text as the control hands it).
    std::optional<Match> addMonitored(const QString &source, const QByteArray &monitorText,
                                      const QDateTime &utc);
    // Drops whatever has waited longer than the window.
    void expire(const QDateTime &now);

    qint64 unmatchedMonitored() const { return unmatchedMonitored_; }
    std::size_t waitingRaw() const { return raw_.size(); }
    std::size_t waitingMonitored() const { return monitored_.size(); }

    // The information part of a monitor text: what follows the header line.
    static QByteArray monitoredInfo(const QByteArray &monitorText);

private:
    struct Waiting
    {
        QString source;
        QByteArray key; // info, compared in the form both paths agree on
        QByteArray rawFrame;
        QDateTime utc;
    };
    static QByteArray comparable(QByteArray info);
    void dropOld(std::deque<Waiting> &list, const QDateTime &now, bool countDrops);

    qint64 windowMs_;
    std::size_t capacity_;
    std::deque<Waiting> raw_;
    std::deque<Waiting> monitored_;
    qint64 unmatchedMonitored_ = 0;
};

} // namespace sharing

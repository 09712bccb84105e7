// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/DisplayZones.h"
#include "history/TelemetryStore.h"

#include <QDate>
#include <QFile>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// Reads the terminal's daily logs (LOGS/yyyymmdd.TXT) back into the
// telemetry store. A log holds what the monitor showed, lines ended by CR LF
// (CR or LF alone are read too); a UI frame is its header line and then its
// text:
//   14:07:41R Q9ZZZ-3>APRS,ORVEX-1 Port=1 <UI Len=28>:
//   HK,100,50,25,10,0,0,0000,0
// The header's time is the frame's: its date comes from the file's name (the
// local calendar day of the write), its zone is local or UTC as the monitor
// showed it then, which the record of display zones tells. A frame whose
// moment it cannot tell for certain is left out and counted. A frame the
// store holds at the header's time in any zone (any whole quarter hour up to
// 14 hours away, on either neighbouring day) is not stored again.
//
// The work is done in steps, so a window can show progress and cancel
// between them; each step ends with the frames it read added to the store.
namespace history {

class LogImporter
{
public:
    // The side of a listed callsign; nothing for one that is not listed.
    using SideOf = std::function<std::optional<int>(const QString &callsign)>;

    struct Progress
    {
        qint64 bytesDone = 0;
        qint64 bytesTotal = 0;
        int stored = 0;        // frames new to the store
        int alreadyStored = 0; // frames the store held
        int notTelemetry = 0;  // texts of listed callsigns that are no telemetry (APRS, bulletins)
        int damagedLines = 0;  // overlong lines, bytes no text holds, headers of impossible times
        // Frames left out as their moment cannot be told:
        int unrecordedZone = 0; // logged before the zone was on record
        int twoMoments = 0;     // logged around a change of the zone
        int noMoment = 0;       // the time fits no moment of the record
        QStringList unreadable; // files that could not be read
        QStringList undated;    // files not named yyyymmdd.TXT
        bool failed = false;    // the store could not be written
        QString storeError;
    };

    // Lines longer than this are damaged; they are skipped without being kept.
    static constexpr qint64 longestLine = 4096;
    // How far a frame may lie from the header's time read as UTC and still
    // be the same frame in another zone: 14 hours, and a day to either side
    // for the date that the local file name gives.
    static constexpr qint64 zoneReachMs = 38LL * 3600 * 1000;
    static constexpr qint64 quarterHourMs = 15LL * 60 * 1000;
    // Header times are rounded to the second; the stored time is to the ms.
    static constexpr qint64 sameMomentMs = 2000;

    LogImporter(TelemetryStore &store, const TelemetryDecoder &decoder, SideOf sideOf);
    ~LogImporter();

    // Reads the record of display zones from the store's database.
    void start(const QStringList &files);
    // Works for about budgetMs; false once every file is read (or the store failed).
    bool step(int budgetMs = 50);
    const Progress &progress() const { return progress_; }
    // What was done, in a few sentences, for the user.
    QString summary() const;

private:
    bool openNext();
    void takeText(const QByteArray &chunk);
    void takeLine(const QByteArray &line);
    void takeFrame(const QString &text);
    bool storedInAnyZone(const QString &text) const;

    TelemetryStore &store_;
    const TelemetryDecoder &decoder_;
    SideOf sideOf_;
    DisplayZones zones_;
    QStringList files_;
    qsizetype nextFile_ = 0;
    std::unique_ptr<QFile> file_;
    QDate fileDay_;
    QByteArray partial_; // the line read so far
    bool inLongLine_ = false;
    // The header just read: the frame's text comes on the next line.
    std::optional<QTime> pendingTime_;
    QString pendingSource_;
    int pendingSide_ = 0;
    std::vector<HeardFrame> batch_; // read in this step, added at its end
    Progress progress_;
};

} // namespace history

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/TelemetryStore.h"

#include <QDate>
#include <QFile>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// Reads the terminal's daily logs (LOGS/yyyymmdd.TXT) back into the
// telemetry store. A log holds what the monitor showed, CR LF lines; a UI
// frame is its header line and then its text:
//   14:07:41R Q9ZZZ-3>APRS,ORVEX-1 Port=1 <UI Len=28>:
//   HK,100,50,25,10,0,0,0000,0
// The header's time is the frame's: its date comes from the file's name (the
// local calendar day of the write), its zone is local or UTC as the monitor
// showed it then. Frames already in the store are skipped.
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
        int stored = 0;         // frames new to the store
        int alreadyStored = 0;  // frames the store held
        int skippedLines = 0;   // damaged or overlong lines, satellite text that is no telemetry
        QStringList unreadable; // files that could not be read or are not named yyyymmdd.TXT
        bool failed = false;    // the store could not be written
        QString storeError;
    };

    // Lines longer than this are damaged; they are skipped without being kept.
    static constexpr qint64 longestLine = 4096;

    LogImporter(TelemetryStore &store, const TelemetryDecoder &decoder, SideOf sideOf,
                bool timesAreLocal);
    ~LogImporter();

    void start(const QStringList &files);
    // Works for about budgetMs; false once every file is read (or the store failed).
    bool step(int budgetMs = 50);
    const Progress &progress() const { return progress_; }
    // What was done, in one sentence or two, for the user.
    QString summary() const;

    // The UTC instant (ms) of a header time in a file of `fileDay`.
    static qint64 frameTime(const QDate &fileDay, const QTime &time, bool timesAreLocal);

private:
    bool openNext();
    void takeLine(const QByteArray &line);

    TelemetryStore &store_;
    const TelemetryDecoder &decoder_;
    SideOf sideOf_;
    bool timesAreLocal_;
    QStringList files_;
    qsizetype nextFile_ = 0;
    std::unique_ptr<QFile> file_;
    QDate fileDay_;
    // The header just read: the frame's text comes on the next line.
    std::optional<qint64> pendingMs_;
    QString pendingSource_;
    int pendingSide_ = 0;
    bool inLongLine_ = false;
    std::vector<HeardFrame> batch_; // read in this step, added at its end
    Progress progress_;
};

} // namespace history

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "sharing/RawFrameMatcher.h"
#include "sharing/SidsPoster.h"
#include "sharing/Sighting.h"
#include "sharing/UploadQueue.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QTimer;
class TrackingContext;
class clsIni;

namespace sharing {

// What a shared frame says about the station, read when the frame is heard.
struct StationFacts
{
    QString callsign;
    QString latitudeText;  // stored form "DDMM.HHN" / "DDMM.HHS"
    QString longitudeText; // stored form "DDDMM.HHE" / "DDDMM.HHW"
    QString noradId;       // the satellite's catalogue number (ORVEX_OBJ_NUM)
};

// Shares the satellite's frames with a SiDS server (SatNOGS DB by default):
// pairs each monitored frame of a listed callsign with its raw frame, writes
// it to the upload queue, and sends the queue oldest first, one request at a
// time, waiting 30 s to 30 min after a failed attempt before the next.
// Nothing invented goes by itself: a frame heard while ORVEX has no real
// element set, or while real elements put it below the horizon, is held in
// the queue with the reason (holdReason()) until the operator sends it; a
// refused frame is tried again only when the operator asks. Look angles of
// the demo's invented elements are never part of a report.
// Settings: section SIDS, ENABLED ("FALSE") and URL.
class SidsUploader : public QObject
{
    Q_OBJECT
public:
    using StationSource = std::function<StationFacts()>;
    // Where the satellite stood at a UTC time, and by which elements.
    using SightingSource = std::function<Sighting(const QDateTime &utc)>;

    static constexpr const char *defaultUrl = "https://db.satnogs.org/api/telemetry/";

    // Where ORVEX (satellite 0) stood, by the tracking context.
    static SightingSource sightingOf(const TrackingContext &context);

    // The queue is kept in the station database.
    SidsUploader(clsIni &ini, database::StationDatabase &database, StationSource station,
                 SightingSource sighting, QObject *parent = nullptr);
    ~SidsUploader() override;

    bool enabled() const { return enabled_; }
    // Stores the setting at once. Switching on is refused without callsign
    // and station position: the reason comes back (empty when done).
    QString setEnabled(bool on);
    QString url() const { return url_; }
    // Stores a new address; returns why it cannot be used (then nothing is
    // stored), or an empty text.
    QString setUrl(const QString &url);

    // A monitored UI frame of one of the satellite's callsigns.
    void monitoredFrame(const QString &source, const QByteArray &monitorText);
    // A raw frame from the engine, its leading port byte removed.
    void rawFrame(const QByteArray &frame);
    // The engine must be asked for raw frames while sharing is on.
    bool wantsRawFrames() const { return enabled_; }

    // Sends the oldest queued frame now, without waiting for the retry pause.
    void sendNow();
    // The operator has looked at these held frames and sends them; frames
    // that are no longer held are left alone.
    void sendHeld(const QList<qint64> &ids);
    // The operator has these refused frames tried again.
    void retryRefused(const QList<qint64> &ids);
    // The held and refused frames, newest first, at most `limit`.
    std::vector<UploadQueue::Entry> heldAndRefused(int limit)
    {
        return queue_.heldAndRefused(limit);
    }
    // The next request as it would go out now; nothing is sent.
    QString preview();

    UploadQueue::Counts counts() { return queue_.counts(); }
    // Why frames are not being shared now; empty while they are.
    QString blockedReason() const;
    QString lastError() const { return lastError_; }
    QDateTime lastErrorUtc() const { return lastErrorUtc_; }
    // The last server answer, in words.
    QString lastAnswer() const { return lastAnswer_; }
    // When the next attempt is due after a failure; invalid when none waits.
    QDateTime nextAttemptUtc() const;
    bool sending() const { return poster_->busy() || marking_; }
    // Frames of a listed callsign for which no raw frame came.
    qint64 framesWithoutRaw() const { return matcher_.unmatchedMonitored(); }
    // "SiDS: n queued, m held" while frames wait or are held, else empty.
    QString statusText();

    void setTimeoutMs(int ms) { poster_->setTimeoutMs(ms); }

signals:
    void changed();
    // A frame was held, refused, sent by hand or queued again: the list of
    // held and refused frames is another.
    void heldAndRefusedChanged();
    void statusTextChanged(const QString &text);
    void rawFramesWanted(bool on);

private:
    QString stationProblem(const StationFacts &facts) const;
    void queueMatch(const RawFrameMatcher::Match &match);
    void pump();
    void onPosted(const SidsPoster::Result &result);
    // After the operator's decision is in the file.
    UploadQueue::Done afterDecision();
    void setError(const QString &text);
    void announce();

    clsIni &ini_;
    StationSource station_;
    SightingSource sighting_;
    UploadQueue queue_;
    RawFrameMatcher matcher_;
    SidsPoster *poster_;
    QTimer *retryTimer_;
    QTimer *expiryTimer_;
    bool enabled_ = false;
    QString url_;
    qint64 currentId_ = 0;
    bool marking_ = false; // the answer to the last frame is being written
    int failuresInARow_ = 0;
    QDateTime nextAttemptUtc_;
    QString lastError_;
    QDateTime lastErrorUtc_;
    QString lastAnswer_;
    QString statusText_;
};

} // namespace sharing

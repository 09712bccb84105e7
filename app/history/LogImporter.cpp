// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/LogImporter.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace history {

namespace {

constexpr qint64 readChunk = qint64{64} * 1024;

// Text as the monitor writes it: printable bytes, tabs, and Latin-1 beyond.
bool isText(const QByteArray &line)
{
    return std::none_of(line.begin(), line.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t') || byte == 0x7f;
    });
}

} // namespace

LogImporter::LogImporter(TelemetryStore &store, const TelemetryDecoder &decoder, SideOf sideOf)
    : store_(store), decoder_(decoder), sideOf_(std::move(sideOf))
{
}

LogImporter::~LogImporter() = default;

void LogImporter::start(const QStringList &files)
{
    files_ = files;
    nextFile_ = 0;
    file_.reset();
    progress_ = {};
    zones_ = DisplayZones::read(store_.database().reader());
    for (const QString &name : files)
        progress_.bytesTotal += QFileInfo(name).size();
}

bool LogImporter::openNext()
{
    while (nextFile_ < files_.size()) {
        const QString name = files_[nextFile_++];
        const QDate day =
            QDate::fromString(QFileInfo(name).completeBaseName(), QStringLiteral("yyyyMMdd"));
        auto file = std::make_unique<QFile>(name);
        if (!day.isValid() || !file->open(QIODevice::ReadOnly)) {
            (day.isValid() ? progress_.unreadable : progress_.undated) << name;
            progress_.bytesDone += QFileInfo(name).size();
            continue;
        }
        file_ = std::move(file);
        fileDay_ = day;
        partial_.clear();
        inLongLine_ = false;
        pendingTime_.reset();
        return true;
    }
    return false;
}

void LogImporter::takeText(const QByteArray &chunk)
{
    qsizetype begin = 0;
    while (begin < chunk.size()) {
        qsizetype end = begin;
        while (end < chunk.size() && chunk[end] != '\r' && chunk[end] != '\n')
            ++end;
        if (!inLongLine_)
            partial_.append(chunk.constData() + begin, end - begin);
        if (partial_.size() > longestLine) {
            // Counted once, at its start; the rest is dropped up to its end.
            ++progress_.damagedLines;
            partial_.clear();
            inLongLine_ = true;
            pendingTime_.reset();
        }
        if (end == chunk.size())
            return;
        if (!inLongLine_ && !partial_.isEmpty())
            takeLine(partial_);
        partial_.clear();
        inLongLine_ = false;
        begin = end + 1;
    }
}

void LogImporter::takeLine(const QByteArray &raw)
{
    // "14:07:41R Q9ZZZ-3>APRS,ORVEX-1 Port=1 <UI Len=28>:"
    static const QRegularExpression header(
        QStringLiteral("^(\\d\\d):(\\d\\d):(\\d\\d)R ([^ >]+)>\\S* Port=\\S+ <UI[^>]*>:$"));
    if (!isText(raw)) {
        ++progress_.damagedLines;
        pendingTime_.reset();
        return;
    }
    const QString line = QString::fromLatin1(raw).trimmed();
    if (pendingTime_) {
        takeFrame(line);
        pendingTime_.reset();
        return;
    }
    const QRegularExpressionMatch match = header.match(line);
    if (!match.hasMatch())
        return;
    const std::optional<int> side = sideOf_(match.captured(4));
    if (!side)
        return;
    const QTime time(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt());
    if (!time.isValid()) {
        ++progress_.damagedLines;
        return;
    }
    pendingTime_ = time;
    pendingSource_ = match.captured(4);
    pendingSide_ = *side;
}

void LogImporter::takeFrame(const QString &text)
{
    const std::optional<TelemetryDecoder::Frame> frame = decoder_.decodeFrame(pendingSide_, text);
    if (!frame) {
        // An APRS position, a bulletin, a message: the callsign's, not telemetry.
        ++progress_.notTelemetry;
        return;
    }
    if (storedInAnyZone(text)) {
        ++progress_.alreadyStored;
        return;
    }
    const DisplayZones::Readings readings = zones_.readings(fileDay_, *pendingTime_);
    if (readings.moments.size() == 1) {
        batch_.push_back({readings.moments.front(), pendingSource_, text, *frame});
        return;
    }
    if (readings.moments.empty())
        ++progress_.noMoment;
    else if (readings.unrecorded)
        ++progress_.unrecordedZone;
    else
        ++progress_.twoMoments;
}

// The header's time read as UTC on the file's day is off from the frame's
// moment by the zone shown (whole quarter hours up to 14 hours) and, for
// the date, by a day at most; every such offset is a whole number of
// quarter hours.
bool LogImporter::storedInAnyZone(const QString &text) const
{
    const qint64 base = QDateTime(fileDay_, *pendingTime_, QTimeZone::utc()).toMSecsSinceEpoch();
    const auto sameFrame = [base](qint64 storedMs) {
        const qint64 off = storedMs - base;
        const qint64 rest = ((off % quarterHourMs) + quarterHourMs) % quarterHourMs;
        return std::min(rest, quarterHourMs - rest) <= sameMomentMs;
    };
    const std::vector<qint64> times = store_.heardAt(
        pendingSource_, text, base - zoneReachMs - sameMomentMs, base + zoneReachMs + sameMomentMs);
    if (std::any_of(times.begin(), times.end(), sameFrame))
        return true;
    // Frames read in this step are not committed yet.
    return std::any_of(batch_.begin(), batch_.end(), [&](const HeardFrame &read) {
        return read.source == pendingSource_ && read.line == text && sameFrame(read.utcMs) &&
               std::abs(read.utcMs - base) <= zoneReachMs + sameMomentMs;
    });
}

bool LogImporter::step(int budgetMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!progress_.failed && clock.elapsed() < budgetMs) {
        if (!file_ && !openNext())
            break;
        const QByteArray chunk = file_->read(readChunk);
        progress_.bytesDone += chunk.size();
        if (chunk.isEmpty()) {
            if (file_->error() != QFileDevice::NoError)
                progress_.unreadable << file_->fileName();
            else if (!inLongLine_ && !partial_.isEmpty())
                takeLine(partial_); // the last line, without a line end
            partial_.clear();
            file_.reset();
            continue;
        }
        takeText(chunk);
    }
    if (!batch_.empty()) {
        std::vector<TelemetryStore::Added> added;
        QString error;
        if (store_.addNow(batch_, TelemetryStore::Repeats::Skip, added, error)) {
            for (const TelemetryStore::Added outcome : added)
                ++(outcome == TelemetryStore::Added::Stored ? progress_.stored
                                                            : progress_.alreadyStored);
        } else {
            progress_.failed = true;
            progress_.storeError = error;
        }
        batch_.clear();
    }
    return !progress_.failed && (file_ || nextFile_ < files_.size());
}

QString LogImporter::summary() const
{
    QString text = QStringLiteral("%1 telemetry frames imported, %2 already stored.")
                       .arg(progress_.stored)
                       .arg(progress_.alreadyStored);
    if (progress_.unrecordedZone)
        text += QStringLiteral(" %1 frames left out: they were logged before the station kept a "
                               "record of Use Local Time, so their times can be UTC or local.")
                    .arg(progress_.unrecordedZone);
    if (progress_.twoMoments)
        text += QStringLiteral(" %1 frames left out: they were logged around a change of Use "
                               "Local Time, where their times stand for two moments.")
                    .arg(progress_.twoMoments);
    if (progress_.noMoment)
        text += QStringLiteral(" %1 frames left out: their times fit no moment of the record of "
                               "Use Local Time.")
                    .arg(progress_.noMoment);
    if (progress_.notTelemetry)
        text += QStringLiteral(" %1 lines of listed callsigns are not telemetry.")
                    .arg(progress_.notTelemetry);
    if (progress_.damagedLines)
        text += QStringLiteral(" %1 damaged lines skipped.").arg(progress_.damagedLines);
    if (!progress_.undated.isEmpty())
        text += QStringLiteral(" %1 files have no date in their names (yyyymmdd.TXT): %2.")
                    .arg(progress_.undated.size())
                    .arg(progress_.undated.join(QStringLiteral(", ")));
    if (!progress_.unreadable.isEmpty())
        text += QStringLiteral(" %1 files could not be read: %2.")
                    .arg(progress_.unreadable.size())
                    .arg(progress_.unreadable.join(QStringLiteral(", ")));
    if (progress_.failed)
        text += QStringLiteral(" The import stopped: the store cannot be written (%1).")
                    .arg(progress_.storeError);
    return text;
}

} // namespace history

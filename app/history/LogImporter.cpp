// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/LogImporter.h"

#include "platform/DateTime.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>

namespace history {

LogImporter::LogImporter(TelemetryStore &store, const TelemetryDecoder &decoder, SideOf sideOf,
                         bool timesAreLocal)
    : store_(store), decoder_(decoder), sideOf_(std::move(sideOf)), timesAreLocal_(timesAreLocal)
{
}

LogImporter::~LogImporter() = default;

void LogImporter::start(const QStringList &files)
{
    files_ = files;
    nextFile_ = 0;
    file_.reset();
    progress_ = {};
    for (const QString &name : files)
        progress_.bytesTotal += QFileInfo(name).size();
}

qint64 LogImporter::frameTime(const QDate &fileDay, const QTime &time, bool timesAreLocal)
{
    const QTimeZone local = orvex::Clock::localZone();
    if (timesAreLocal)
        return QDateTime(fileDay, time, local).toMSecsSinceEpoch();
    // A UTC time: the UTC day whose instant falls on the file's local day.
    qint64 best = QDateTime(fileDay, time, QTimeZone::utc()).toMSecsSinceEpoch();
    for (int shift : {-1, 1})
        if (QDateTime(fileDay.addDays(shift), time, QTimeZone::utc()).toTimeZone(local).date() ==
            fileDay)
            best = QDateTime(fileDay.addDays(shift), time, QTimeZone::utc()).toMSecsSinceEpoch();
    if (QDateTime(fileDay, time, QTimeZone::utc()).toTimeZone(local).date() == fileDay)
        best = QDateTime(fileDay, time, QTimeZone::utc()).toMSecsSinceEpoch();
    return best;
}

bool LogImporter::openNext()
{
    while (nextFile_ < files_.size()) {
        const QString name = files_[nextFile_++];
        const QDate day =
            QDate::fromString(QFileInfo(name).completeBaseName(), QStringLiteral("yyyyMMdd"));
        auto file = std::make_unique<QFile>(name);
        if (!day.isValid() || !file->open(QIODevice::ReadOnly)) {
            progress_.unreadable << name;
            progress_.bytesDone += QFileInfo(name).size();
            continue;
        }
        file_ = std::move(file);
        fileDay_ = day;
        pendingMs_.reset();
        inLongLine_ = false;
        return true;
    }
    return false;
}

void LogImporter::takeLine(const QByteArray &raw)
{
    // "14:07:41R Q9ZZZ-3>APRS,ORVEX-1 Port=1 <UI Len=28>:"
    static const QRegularExpression header(
        QStringLiteral("^(\\d\\d):(\\d\\d):(\\d\\d)R ([^ >]+)>\\S* Port=\\S+ <UI[^>]*>:$"));
    const QString line = QString::fromLatin1(raw).trimmed();
    if (pendingMs_) {
        const qint64 utcMs = *pendingMs_;
        pendingMs_.reset();
        const std::optional<TelemetryDecoder::Frame> frame =
            decoder_.decodeFrame(pendingSide_, line);
        if (!frame) {
            ++progress_.skippedLines;
        } else {
            batch_.push_back({utcMs, pendingSource_, line, *frame});
            return;
        }
    }
    const QRegularExpressionMatch match = header.match(line);
    if (!match.hasMatch())
        return;
    const QTime time(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt());
    const std::optional<int> side = sideOf_(match.captured(4));
    if (!time.isValid() || !side)
        return;
    pendingMs_ = frameTime(fileDay_, time, timesAreLocal_);
    pendingSource_ = match.captured(4);
    pendingSide_ = *side;
}

bool LogImporter::step(int budgetMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!progress_.failed && clock.elapsed() < budgetMs) {
        if (!file_ && !openNext())
            break;
        const qint64 before = file_->pos();
        const QByteArray line = file_->readLine(longestLine);
        progress_.bytesDone += file_->pos() - before;
        if (line.isEmpty()) {
            if (file_->error() != QFileDevice::NoError)
                progress_.unreadable << file_->fileName();
            file_.reset();
            continue;
        }
        const bool whole = line.endsWith('\n') || file_->atEnd();
        if (inLongLine_ || !whole) {
            // Part of an overlong line: counted once, at its start.
            if (!inLongLine_)
                ++progress_.skippedLines;
            inLongLine_ = !whole;
            pendingMs_.reset();
            continue;
        }
        takeLine(line);
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
    if (progress_.skippedLines)
        text += QStringLiteral(" %1 damaged lines skipped.").arg(progress_.skippedLines);
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

// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/SidsUploader.h"

#include "orbit/TrackingContext.h"
#include "platform/DateTime.h"
#include "shared/ORXUtil.h"
#include "shared/clsIni.h"

#include <QPointer>
#include <QStringList>
#include <QTimer>

namespace sharing {

namespace {

const QString sidsSection = QStringLiteral("SIDS");

QDateTime now()
{
    return orvex::Clock::nowUtc();
}

bool endsWithOneOf(const QString &text, const char *letters)
{
    return !text.isEmpty() && QByteArray(letters).contains(text.back().toLatin1());
}

// The network layer's texts come without a full stop; ours end in one.
QString asSentence(const QString &text)
{
    return text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.');
}

} // namespace

SidsUploader::SidsUploader(clsIni &ini, database::StationDatabase &database, StationSource station,
                           SightingSource sighting, QObject *parent)
    : QObject(parent), ini_(ini), station_(std::move(station)), sighting_(std::move(sighting)),
      queue_(database), poster_(new SidsPoster(this)), retryTimer_(new QTimer(this)),
      expiryTimer_(new QTimer(this))
{
    enabled_ = clsIni::IsItTrue(ini_.GetIniStringWriteDefault(
        sidsSection, QStringLiteral("ENABLED"), QStringLiteral("FALSE")));
    url_ = ini_.GetIniStringWriteDefault(sidsSection, QStringLiteral("URL"),
                                         QString::fromLatin1(defaultUrl));
    retryTimer_->setSingleShot(true);
    connect(retryTimer_, &QTimer::timeout, this, &SidsUploader::pump);
    connect(poster_, &SidsPoster::finished, this, &SidsUploader::onPosted);
    // Monitored frames that wait for their raw twin are given up in time,
    // also when no other frame comes.
    expiryTimer_->setInterval(1000);
    connect(expiryTimer_, &QTimer::timeout, this, [this] {
        const qint64 before = matcher_.unmatchedMonitored();
        matcher_.expire(now());
        if (matcher_.waitingMonitored() == 0 && matcher_.waitingRaw() == 0)
            expiryTimer_->stop();
        if (matcher_.unmatchedMonitored() != before)
            emit changed();
    });
    // Frames queued in an earlier run go out first.
    QTimer::singleShot(0, this, [this] {
        announce();
        pump();
    });
}

SidsUploader::~SidsUploader() = default;

SidsUploader::SightingSource SidsUploader::sightingOf(const TrackingContext &context)
{
    return [&context](const QDateTime &utc) {
        // The frames shared are ORVEX's, satellite 0.
        Sighting sighting;
        if (!context.satellite(0).elementSetFound)
            return sighting;
        if (context.usesDemoElements(0)) {
            sighting.elements = Sighting::Elements::Demo;
            return sighting;
        }
        sighting.elements = Sighting::Elements::Real;
        if (const std::optional<clsSats::Look> look =
                context.lookAt(0, orvex::julianDateOfUnixMs(utc.toMSecsSinceEpoch())))
            sighting.look = LookAngles{look->azimuthDeg, look->elevationDeg};
        return sighting;
    };
}

QString SidsUploader::stationProblem(const StationFacts &facts) const
{
    if (!ORXUtil::IsValidCallsign(facts.callsign))
        return QStringLiteral("No station callsign is set (Options, Station Information); "
                              "frames are shared only under the station's callsign.");
    if (!endsWithOneOf(facts.latitudeText, "NS") || !endsWithOneOf(facts.longitudeText, "EW"))
        return QStringLiteral("No station position is set (Options, Station Information); "
                              "frames are shared only with the station's position.");
    return {};
}

QString SidsUploader::blockedReason() const
{
    if (!enabled_)
        return QStringLiteral("Sharing is off.");
    if (!queue_.available())
        return queue_.error();
    if (QString problem = stationProblem(station_()); !problem.isEmpty())
        return problem;
    return sidsUrlProblem(url_);
}

QString SidsUploader::setEnabled(bool on)
{
    if (on) {
        if (QString problem = stationProblem(station_()); !problem.isEmpty())
            return problem;
    }
    if (on != enabled_) {
        enabled_ = on;
        ini_.SaveIniString(sidsSection, QStringLiteral("ENABLED"), clsIni::TrueOrFalse(on));
        emit rawFramesWanted(on);
    }
    if (on)
        pump();
    else
        retryTimer_->stop();
    emit changed();
    return {};
}

QString SidsUploader::setUrl(const QString &url)
{
    QString problem = sidsUrlProblem(url);
    if (!problem.isEmpty())
        return problem;
    url_ = url.trimmed();
    ini_.SaveIniString(sidsSection, QStringLiteral("URL"), url_);
    emit changed();
    return {};
}

void SidsUploader::monitoredFrame(const QString &source, const QByteArray &monitorText)
{
    if (!enabled_)
        return;
    if (const auto match = matcher_.addMonitored(source, monitorText, now()))
        queueMatch(*match);
    else
        expiryTimer_->start();
}

void SidsUploader::rawFrame(const QByteArray &frame)
{
    if (!enabled_)
        return;
    if (const auto match = matcher_.addRaw(frame, now()))
        queueMatch(*match);
    else if (matcher_.waitingRaw() > 0 && !expiryTimer_->isActive())
        expiryTimer_->start();
}

void SidsUploader::queueMatch(const RawFrameMatcher::Match &match)
{
    const StationFacts facts = station_();
    if (const QString problem = stationProblem(facts); !problem.isEmpty()) {
        setError(QStringLiteral("A frame of %1 was not shared. ").arg(match.source) + problem);
        return;
    }
    SidsReport report;
    report.noradId = facts.noradId;
    report.source = facts.callsign;
    report.heardUtc = match.heardUtc;
    report.frame = match.rawFrame;
    report.latitudeDeg = ORXUtil::LatToDegrees(facts.latitudeText);
    report.longitudeDeg = ORXUtil::LongToDegrees(facts.longitudeText);
    const Sighting sighting = sighting_ ? sighting_(match.heardUtc) : Sighting{};
    // Angles from invented elements are invented too: they are not reported.
    if (sighting.elements == Sighting::Elements::Real && sighting.look) {
        report.azimuthDeg = sighting.look->azimuthDeg;
        report.elevationDeg = sighting.look->elevationDeg;
    }
    const QString held = holdReason(sighting);
    queue_.add(report, held,
               [self = QPointer<SidsUploader>(this), source = match.source, held](bool written) {
                   if (!self)
                       return;
                   if (!written)
                       self->setError(
                           QStringLiteral("A frame of %1 could not be queued. ").arg(source) +
                           self->queue_.error());
                   else if (!held.isEmpty())
                       emit self->heldAndRefusedChanged();
                   self->announce();
                   self->pump();
               });
}

void SidsUploader::pump()
{
    if (!enabled_ || poster_->busy() || marking_ || retryTimer_->isActive() ||
        !sidsUrlProblem(url_).isEmpty())
        return;
    const std::optional<UploadQueue::Entry> next = queue_.oldestQueued();
    if (!next)
        return;
    currentId_ = next->id;
    nextAttemptUtc_ = {};
    poster_->post(QUrl(url_), sidsRequestBody(next->report));
    emit changed();
}

void SidsUploader::sendNow()
{
    retryTimer_->stop();
    nextAttemptUtc_ = {};
    pump();
    emit changed();
}

UploadQueue::Done SidsUploader::afterDecision()
{
    return [self = QPointer<SidsUploader>(this)](bool written) {
        if (!self)
            return;
        if (!written)
            self->setError(self->queue_.error().isEmpty()
                               ? QStringLiteral("The upload queue cannot be written now.")
                               : self->queue_.error());
        emit self->heldAndRefusedChanged();
        self->announce();
        self->sendNow();
    };
}

void SidsUploader::sendHeld(const QList<qint64> &ids)
{
    if (!ids.isEmpty())
        queue_.release(ids, now(), afterDecision());
}

void SidsUploader::retryRefused(const QList<qint64> &ids)
{
    if (!ids.isEmpty())
        queue_.retry(ids, afterDecision());
}

void SidsUploader::onPosted(const SidsPoster::Result &result)
{
    const QDateTime at = now();
    QString answer = result.reason;
    if (!result.answer.isEmpty())
        answer += QStringLiteral(": ") + result.answer;
    // The next frame goes once the answer to this one is in the file, so
    // that the queue never hands out the same frame twice.
    marking_ = true;
    const auto written = [self = QPointer<SidsUploader>(this)](bool stored) {
        if (!self)
            return;
        self->marking_ = false;
        if (!stored)
            self->setError(self->queue_.error().isEmpty()
                               ? QStringLiteral("The upload queue cannot be written now.")
                               : self->queue_.error());
        self->announce();
        self->pump();
    };
    switch (result.outcome) {
    case Outcome::Delivered:
        failuresInARow_ = 0;
        lastAnswer_ = QStringLiteral("Delivered (%1)").arg(result.reason);
        // Counts as delivered by the convention, but an HTML page usually
        // means the URL is a web site, not the upload endpoint.
        if (result.webPage)
            lastAnswer_ += QStringLiteral(", but the server answered with a web page; check the "
                                          "URL: ") +
                           result.answer;
        queue_.markSent(currentId_, at, written);
        break;
    case Outcome::Refused:
        failuresInARow_ = 0;
        lastAnswer_ = QStringLiteral("Refused: ") + answer;
        setError(QStringLiteral("The server refused a frame: ") + answer);
        queue_.markRefused(currentId_, answer, at,
                           [self = QPointer<SidsUploader>(this), written](bool stored) {
                               written(stored);
                               if (self)
                                   emit self->heldAndRefusedChanged();
                           });
        break;
    case Outcome::RetryLater: {
        ++failuresInARow_;
        const auto delay = retryDelay(failuresInARow_);
        lastAnswer_ = answer;
        queue_.noteAttempt(currentId_, answer, written);
        nextAttemptUtc_ = at.addSecs(delay.count());
        setError(QStringLiteral("Not delivered: ") + asSentence(answer) +
                 QStringLiteral(" Next attempt at %1 UTC.")
                     .arg(nextAttemptUtc_.toString(QStringLiteral("HH:mm:ss"))));
        retryTimer_->start(std::chrono::duration_cast<std::chrono::milliseconds>(delay));
        break;
    }
    }
    announce();
}

QDateTime SidsUploader::nextAttemptUtc() const
{
    return retryTimer_->isActive() ? nextAttemptUtc_ : QDateTime();
}

QString SidsUploader::preview()
{
    const std::optional<UploadQueue::Entry> next = queue_.oldestQueued();
    if (!next)
        return QStringLiteral("No frame is waiting to be sent.");
    QString text = QStringLiteral("POST ") + url_ +
                   QStringLiteral("\nContent-Type: application/x-www-form-urlencoded\n\n") +
                   QString::fromLatin1(sidsRequestBody(next->report)) + QStringLiteral("\n\n");
    for (const auto &[name, value] : sidsFields(next->report))
        text += name + QStringLiteral(" = ") + value + QLatin1Char('\n');
    return text;
}

QString SidsUploader::statusText()
{
    const UploadQueue::Counts counts = queue_.counts();
    QStringList parts;
    if (counts.queued > 0)
        parts << QStringLiteral("%1 queued").arg(counts.queued);
    if (counts.held > 0)
        parts << QStringLiteral("%1 held").arg(counts.held);
    return parts.isEmpty() ? QString()
                           : QStringLiteral("SiDS: ") + parts.join(QStringLiteral(", "));
}

void SidsUploader::setError(const QString &text)
{
    lastError_ = text;
    lastErrorUtc_ = now();
    emit changed();
}

void SidsUploader::announce()
{
    const QString text = statusText();
    if (text != statusText_) {
        statusText_ = text;
        emit statusTextChanged(text);
    }
    emit changed();
}

} // namespace sharing

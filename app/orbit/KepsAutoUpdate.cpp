// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/KepsAutoUpdate.h"

#include "platform/DateTime.h"
#include "platform/HttpTransfer.h"
#include "shared/clsIni.h"

#include <QTimer>

namespace {
const QString kepsSection = QStringLiteral("KEPS");
constexpr qsizetype chunkSize = qsizetype{64} * 1024;

QString utcText(const QDateTime &when)
{
    return when.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"));
}

QString clockText(const QDateTime &when)
{
    return when.toUTC().toString(QStringLiteral("HH:mm 'UTC'"));
}
} // namespace

QList<int> trackedCatalogNumbers(clsIni &ini)
{
    QList<int> tracked;
    for (const char *key : {"ORVEX_OBJ_NUM", "ISS_OBJ_NUM"}) {
        bool ok = false;
        const int number =
            ini.GetIniString(QStringLiteral("SETUP"), QLatin1String(key), QString()).toInt(&ok);
        if (ok)
            tracked << number;
    }
    return tracked;
}

KepsAutoUpdate::KepsAutoUpdate(clsIni &ini, const QString &programFolder,
                               const QList<int> &trackedCatalogNumbers, QObject *parent)
    : QObject(parent), ini_(ini), installer_(programFolder), http_(new HttpTransfer(this)),
      timer_(new QTimer(this))
{
    installer_.setTrackedSatellites(trackedCatalogNumbers);
    connect(http_, &HttpTransfer::StateChanged, this, &KepsAutoUpdate::onState);
    timer_->setInterval(60 * 1000);
    connect(timer_, &QTimer::timeout, this, &KepsAutoUpdate::check);
    timer_->start();
}

KepsAutoUpdate::~KepsAutoUpdate()
{
    http_->cancel();
}

bool KepsAutoUpdate::enabled() const
{
    return clsIni::IsItTrue(
        ini_.GetIniStringWriteDefault(kepsSection, QStringLiteral("AUTO_UPDATE"), "FALSE"));
}

int KepsAutoUpdate::intervalHours() const
{
    bool ok = false;
    const int hours =
        ini_.GetIniStringWriteDefault(kepsSection, QStringLiteral("AUTO_UPDATE_HOURS"),
                                      QStringLiteral("24"))
            .trimmed()
            .toInt(&ok);
    return ok && hours >= 1 ? hours : 24;
}

void KepsAutoUpdate::check()
{
    if (running() || !enabled())
        return;
    const QDateTime now = orvex::Clock::nowUtc();
    if (retryAt_.isValid()) {
        if (now >= retryAt_)
            updateNow();
        return;
    }
    QDateTime last = QDateTime::fromString(
        ini_.GetIniString(kepsSection, QStringLiteral("LAST_UPDATE"), QString()), Qt::ISODate);
    if (!last.isValid() || (lastSuccess_.isValid() && lastSuccess_ > last))
        last = lastSuccess_;
    if (last.isValid() && last.secsTo(now) < qint64{intervalHours()} * 3600)
        return;
    updateNow();
}

void KepsAutoUpdate::updateNow()
{
    if (running())
        return;
    addresses_.clear();
    for (const char *key : {"FILE_1", "FILE_2"}) {
        const QString typed = ini_.GetIniString(kepsSection, QLatin1String(key), QString());
        if (!KepsInstaller::fileNameFromAddress(typed.trimmed()).isEmpty())
            addresses_ << KepsInstaller::fullAddress(typed);
    }
    installedFiles_.clear();
    errors_.clear();
    shortfall_.clear();
    if (addresses_.isEmpty()) {
        errors_ << QStringLiteral("no element file address is set (Options, Download Keps)");
        finish();
        return;
    }
    index_ = 0;
    fetchCurrent();
}

void KepsAutoUpdate::fetchCurrent()
{
    http_->execute(addresses_[index_]);
}

void KepsAutoUpdate::onState(int state)
{
    if (!running())
        return;
    const QString name = KepsInstaller::fileNameFromAddress(addresses_[index_]);
    if (state == HttpTransfer::icError) {
        errors_ << name + QStringLiteral(": ") + http_->responseInfo();
    } else if (state == HttpTransfer::icResponseCompleted) {
        QByteArray body;
        for (QByteArray chunk = http_->getChunk(chunkSize); !chunk.isEmpty();
             chunk = http_->getChunk(chunkSize))
            body += chunk;
        const KepsInstallResult result = installer_.installDownload(body, name, index_);
        if (result.installed())
            installedFiles_ << name;
        else
            errors_ << name + QStringLiteral(": ") + result.error;
        if (!result.keptSets.isEmpty())
            shortfall_ << name + QStringLiteral(" lacks ") +
                              result.keptSets.join(QStringLiteral(" and ")) +
                              QStringLiteral(", old set kept");
    } else {
        return;
    }
    if (++index_ < addresses_.size()) {
        // Not from inside the transfer's own report.
        QTimer::singleShot(0, this, &KepsAutoUpdate::fetchCurrent);
        return;
    }
    finish();
}

void KepsAutoUpdate::finish()
{
    index_ = -1;
    const QDateTime now = orvex::Clock::nowUtc();
    const QStringList shortOf = shortfall_ + errors_;
    if (shortOf.isEmpty()) {
        retryAt_ = QDateTime();
        lastSuccess_ = now;
        ini_.SaveIniString(kepsSection, QStringLiteral("LAST_UPDATE"), now.toString(Qt::ISODate));
        status_ = QStringLiteral("Keps updated %1").arg(utcText(now));
    } else {
        // LAST_UPDATE stays: the update is still due, an hour from now.
        retryAt_ = now.addSecs(retrySeconds);
        status_ = QStringLiteral("%1 %2: %3; next try %4")
                      .arg(installedFiles_.isEmpty() ? QStringLiteral("Keps update failed")
                                                     : QStringLiteral("Keps partly updated"),
                           utcText(now), shortOf.join(QStringLiteral("; ")), clockText(retryAt_));
    }
    // One line, whatever a server put in its answer.
    for (QChar &c : status_)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    emit statusChanged(status_);
    if (!installedFiles_.isEmpty())
        emit installed(installedFiles_);
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/KepsAutoUpdate.h"

#include "platform/DateTime.h"
#include "platform/HttpTransfer.h"
#include "shared/clsIni.h"

#include <QTimer>

namespace {
const QString kepsSection = QStringLiteral("KEPS");
constexpr qsizetype chunkSize = qsizetype{64} * 1024;
// A failed update is tried again after this long, not at every look.
constexpr qint64 retrySeconds = 3600;

QString utcText(const QDateTime &when)
{
    return when.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"));
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

KepsAutoUpdate::KepsAutoUpdate(clsIni &ini, const QString &programFolder, QObject *parent)
    : QObject(parent), ini_(ini), installer_(programFolder), http_(new HttpTransfer(this)),
      timer_(new QTimer(this))
{
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
    if (lastTry_.isValid() && lastTry_.secsTo(now) < retrySeconds)
        return;
    const QDateTime last = QDateTime::fromString(
        ini_.GetIniString(kepsSection, QStringLiteral("LAST_UPDATE"), QString()), Qt::ISODate);
    if (last.isValid() && last.secsTo(now) < qint64{intervalHours()} * 3600)
        return;
    updateNow();
}

void KepsAutoUpdate::updateNow()
{
    if (running())
        return;
    lastTry_ = orvex::Clock::nowUtc();
    addresses_.clear();
    for (const char *key : {"FILE_1", "FILE_2"}) {
        const QString typed = ini_.GetIniString(kepsSection, QLatin1String(key), QString());
        if (!KepsInstaller::fileNameFromAddress(typed.trimmed()).isEmpty())
            addresses_ << KepsInstaller::fullAddress(typed);
    }
    installedFiles_.clear();
    errors_.clear();
    if (addresses_.isEmpty()) {
        errors_ << QStringLiteral("no element file address is set (Options, Download Keps)");
        finish();
        return;
    }
    installer_.setTrackedSatellites(trackedCatalogNumbers(ini_));
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
    if (!installedFiles_.isEmpty()) {
        ini_.SaveIniString(kepsSection, QStringLiteral("LAST_UPDATE"), now.toString(Qt::ISODate));
        status_ = QStringLiteral("Keps updated %1").arg(utcText(now));
        if (!errors_.isEmpty())
            status_ += QStringLiteral(" (") + errors_.join(QStringLiteral("; ")) + QLatin1Char(')');
    } else {
        status_ = QStringLiteral("Keps update failed %1: %2")
                      .arg(utcText(now), errors_.join(QStringLiteral("; ")));
    }
    emit statusChanged(status_);
    if (!installedFiles_.isEmpty())
        emit installed(installedFiles_);
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/SidsReport.h"

#include "platform/DateTime.h"

#include <QUrl>

#include <cmath>

namespace sharing {

namespace {

QString degreesWithHemisphere(double degrees, char positive, char negative)
{
    // Rounded first, so that a value just below zero does not read "0.0000W".
    const double rounded = std::round(degrees * 10000.0) / 10000.0;
    return QString::number(std::fabs(rounded), 'f', 4) +
           QLatin1Char(rounded < 0 ? negative : positive);
}

// One decimal place; adding zero turns a rounded -0.0 into 0.0.
QString oneDecimal(double degrees)
{
    return QString::number(std::round(degrees * 10.0) / 10.0 + 0.0, 'f', 1);
}

} // namespace

QString sidsTimestamp(const QDateTime &utc)
{
    return orvex::UtcText::text(utc);
}

QString sidsLongitude(double degreesEast)
{
    return degreesWithHemisphere(degreesEast, 'E', 'W');
}

QString sidsLatitude(double degreesNorth)
{
    return degreesWithHemisphere(degreesNorth, 'N', 'S');
}

QList<QPair<QString, QString>> sidsFields(const SidsReport &report)
{
    QList<QPair<QString, QString>> fields{
        {QStringLiteral("noradID"), report.noradId},
        {QStringLiteral("source"), report.source},
        {QStringLiteral("timestamp"), sidsTimestamp(report.heardUtc)},
        {QStringLiteral("frame"), QString::fromLatin1(report.frame.toHex().toUpper())},
        {QStringLiteral("locator"), QStringLiteral("longLat")},
        {QStringLiteral("longitude"), sidsLongitude(report.longitudeDeg)},
        {QStringLiteral("latitude"), sidsLatitude(report.latitudeDeg)},
    };
    if (report.azimuthDeg)
        fields.append({QStringLiteral("azimuth"), oneDecimal(*report.azimuthDeg)});
    if (report.elevationDeg)
        fields.append({QStringLiteral("elevation"), oneDecimal(*report.elevationDeg)});
    return fields;
}

QByteArray sidsRequestBody(const SidsReport &report)
{
    QByteArray body;
    for (const auto &[name, value] : sidsFields(report)) {
        if (!body.isEmpty())
            body += '&';
        body += name.toUtf8().toPercentEncoding() + '=' + value.toUtf8().toPercentEncoding();
    }
    return body;
}

QString sidsUrlProblem(const QString &url)
{
    const QUrl parsed(url.trimmed(), QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    if (url.trimmed().isEmpty())
        return QStringLiteral("No upload address is set.");
    if (!parsed.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return QStringLiteral("The upload address must begin with http:// or https://.");
    if (parsed.host().isEmpty())
        return QStringLiteral("The upload address has no server name.");
    return {};
}

} // namespace sharing

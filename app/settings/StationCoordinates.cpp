// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/StationCoordinates.h"

#include "shared/NumberText.h"

#include <QStringList>

#include <cmath>

namespace orvex {
namespace {

int degreeDigits(bool longitude)
{
    return longitude ? 3 : 2;
}

std::optional<qint16> wholeNumber(const QString &text)
{
    return roundToInt16(leadingNumber(text));
}

} // namespace

QString coordinateDisplayText(const QString &stored, bool longitude)
{
    if (stored.isEmpty())
        return stored;
    const int digits = degreeDigits(longitude);
    return stored.left(digits) + QLatin1Char('.') + stored.mid(digits);
}

QString coordinateStoredText(const QString &display, bool longitude)
{
    const int digits = degreeDigits(longitude);
    return display.left(digits) + display.mid(digits + 1);
}

std::optional<QString> coordinateFromInput(const QString &text, bool longitude, bool emptyAllowed)
{
    QString rest = text.trimmed();
    if (rest.isEmpty())
        return emptyAllowed ? std::optional<QString>(QString()) : std::nullopt;

    const QChar positive = QLatin1Char(longitude ? 'E' : 'N');
    const QChar negative = QLatin1Char(longitude ? 'W' : 'S');
    const int greatest = longitude ? 180 : 90;

    const QChar hemisphere = rest.back();
    if (hemisphere != positive && hemisphere != negative)
        return std::nullopt;
    rest.chop(1);
    if (rest.isEmpty())
        return std::nullopt;

    const qsizetype first = rest.indexOf(QLatin1Char('.'));
    qsizetype second = -1;
    if (first >= 0 && first < rest.size() - 1)
        second = rest.indexOf(QLatin1Char('.'), first + 1);

    const qsizetype blank = rest.indexOf(QLatin1Char(' '));
    if (blank >= 0 && (first < 0 || blank < first))
        return std::nullopt;

    std::optional<qint16> degrees;
    std::optional<qint16> minutes = 0;
    std::optional<qint16> hundredths = 0;
    if (first < 0) {
        degrees = wholeNumber(rest);
    } else if (second < 0) {
        degrees = wholeNumber(rest.left(first));
        minutes = wholeNumber(rest.mid(first + 1));
    } else {
        degrees = wholeNumber(rest.left(first));
        minutes = wholeNumber(rest.mid(first + 1, second - first - 1));
        const QString part = rest.mid(second + 1);
        hundredths = wholeNumber(part);
        if (hundredths && part.size() == 1)
            hundredths = static_cast<qint16>(*hundredths * 10);
    }
    if (!degrees || !minutes || !hundredths)
        return std::nullopt;
    if (*degrees < 0 || *degrees > greatest)
        return std::nullopt;
    if (*degrees == greatest && (*minutes != 0 || *hundredths != 0))
        return std::nullopt;
    if (*minutes < 0 || *minutes > 59 || *hundredths < 0 || *hundredths > 99)
        return std::nullopt;

    return QStringLiteral("%1.%2.%3%4")
        .arg(*degrees, degreeDigits(longitude), 10, QLatin1Char('0'))
        .arg(*minutes, 2, 10, QLatin1Char('0'))
        .arg(*hundredths, 2, 10, QLatin1Char('0'))
        .arg(hemisphere);
}

QString coordinateMeaning(const QString &text, bool longitude)
{
    if (text.trimmed().isEmpty())
        return QString();
    const auto display = coordinateFromInput(text, longitude, false);
    if (!display)
        return QStringLiteral("not a %1")
            .arg(longitude ? QStringLiteral("longitude") : QStringLiteral("latitude"));
    // "38.59.50N": degrees, minutes, hundredths of a minute, hemisphere.
    const QStringList parts = display->left(display->size() - 1).split(QLatin1Char('.'));
    return QStringLiteral("%1\u00B0 %2.%3\u2032 %4")
        .arg(parts[0].toInt())
        .arg(parts[1], parts[2], display->right(1));
}

QString locatorFromMinutes(float latitudeMinutes, float longitudeMinutes)
{
    constexpr double span = 21600.0; // whole circle in minutes; twice the half circle of latitude
    const double x = std::floor(static_cast<double>(longitudeMinutes)) + 10800.0;
    const double y = std::floor(2.0 * static_cast<double>(latitudeMinutes)) + 10800.0;
    if (!(x >= 0.0 && x <= span && y >= 0.0 && y <= span))
        return QString();
    // 180 deg E and 90 deg N lie on the far edge of the last field.
    const int values[2] = {static_cast<int>(std::min(x, span - 1)),
                           static_cast<int>(std::min(y, span - 1))};
    QString locator(6, QLatin1Char(' '));
    for (int i = 0; i < 2; ++i) {
        const int value = values[i];
        locator[i] = QLatin1Char(static_cast<char>('A' + value / 1200));
        locator[2 + i] = QLatin1Char(static_cast<char>('0' + value % 1200 / 120));
        locator[4 + i] = QLatin1Char(static_cast<char>('A' + value % 1200 % 120 / 5));
    }
    return locator;
}

} // namespace orvex

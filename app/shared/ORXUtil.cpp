// SPDX-License-Identifier: GPL-2.0-or-later
#include "shared/ORXUtil.h"

#include "shared/NumberText.h"

namespace ORXUtil {
namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isUpperLetter(QChar c)
{
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z');
}

double coordinateToDegrees(const QString &text, int degreeDigits, QChar positive, QChar negative)
{
    if (text.isEmpty())
        return 0.0;
    const QChar hemisphere = text.back();
    if (hemisphere != positive && hemisphere != negative)
        return 0.0;
    const double degrees = orvex::leadingNumber(text.left(degreeDigits));
    const double minutes = orvex::leadingNumber(text.mid(degreeDigits, 5));
    const double value = degrees + minutes / 60.0;
    return hemisphere == negative ? -value : value;
}

} // namespace

bool IsValidCallsign(const QString &text)
{
    const qsizetype dash = text.indexOf(QLatin1Char('-'));
    const QString base = dash < 0 ? text : text.left(dash);
    if (dash >= 0) {
        const QString ssid = text.mid(dash + 1);
        if (ssid.size() < 1 || ssid.size() > 2)
            return false;
        for (QChar c : ssid)
            if (!isDigit(c))
                return false;
        if (ssid.toInt() > 15)
            return false;
    }
    if (base.size() < 1 || base.size() > 6)
        return false;
    for (QChar c : base)
        if (!isUpperLetter(c) && !isDigit(c))
            return false;
    return true;
}

bool IsCallsignKey(int code)
{
    return code <= 13 || (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') ||
           code == '-';
}

int UpperCaseKey(int code)
{
    if (code >= 'a' && code <= 'z')
        return code + ('A' - 'a');
    return code;
}

double LatToDegrees(const QString &text)
{
    return coordinateToDegrees(text, 2, QLatin1Char('N'), QLatin1Char('S'));
}

double LongToDegrees(const QString &text)
{
    return coordinateToDegrees(text, 3, QLatin1Char('E'), QLatin1Char('W'));
}

} // namespace ORXUtil

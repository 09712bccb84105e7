// SPDX-License-Identifier: GPL-2.0-or-later
#include "terminal/TerminalRules.h"

#include "shared/NumberText.h"
#include "shared/ORXUtil.h"

#include <QLocale>
#include <QStringList>

#include <array>
#include <cmath>
#include <limits>

namespace TerminalRules {

namespace {

// The character at 1-based position p, or a null character outside the text.
QChar charAt(QStringView text, qsizetype p)
{
    return p >= 1 && p <= text.size() ? text.at(p - 1) : QChar();
}

} // namespace

int monitorCutLength(QStringView text)
{
    const int n = static_cast<int>(text.size());
    if (n <= monitorLimit)
        return 0;
    int p = n - monitorKeep;
    while (p < n - monitorKeepAtLeast && charAt(text, p) != QLatin1Char('\n'))
        ++p;
    return p;
}

WrappedLine WrapLine(const QString &text, int width)
{
    const QChar space = QLatin1Char(' ');
    int p = width + 1;
    while (charAt(text, p) != space && p > width - 20 && p > 1)
        --p;
    if (charAt(text, p) != space)
        p = width + 1;
    WrappedLine result;
    result.first = text.left(p - 1);
    if (charAt(text, p) == space)
        ++p;
    result.rest = p <= text.size() ? text.mid(p - 1) : QString();
    return result;
}

ViaResult ValidateVia(const QString &text)
{
    ViaResult result;
    QString path = text.trimmed();
    if (path.isEmpty())
        return result;
    while (path.contains(QLatin1String("  ")))
        path.replace(QLatin1String("  "), QLatin1String(" "));
    path.replace(QLatin1Char(' '), QLatin1Char(','));
    while (path.contains(QLatin1String(",,")))
        path.replace(QLatin1String(",,"), QLatin1String(","));
    QStringList pieces;
    for (const QString &piece : path.split(QLatin1Char(','))) {
        if (piece.isEmpty())
            continue;
        if (!ORXUtil::IsValidCallsign(piece)) {
            result.valid = false;
            result.badPiece = piece;
            return result;
        }
        pieces << piece;
    }
    result.path = pieces.join(QLatin1Char(','));
    return result;
}

QString viaRefusal(const QString &badPiece)
{
    return badPiece + QStringLiteral(" is not a valid AX25 address.");
}

bool isValidTo(const QString &text)
{
    return text.isEmpty() || ORXUtil::IsValidCallsign(text);
}

int highestPort(qint16 portCount)
{
    return portCount == 0 ? 2 : portCount;
}

bool isValidPort(const QString &text, qint16 portCount)
{
    return orvex::leadingNumber(text) <= highestPort(portCount);
}

QString portRefusal(qint16 portCount)
{
    return QStringLiteral("The highest available port is ") +
           QString::number(highestPort(portCount)) + QLatin1Char('.');
}

qint16 transmitPort(const QString &text)
{
    // The field holds at most two digits; anything odd that got in by other
    // means still gives a port number the control can check and refuse.
    const std::optional<qint16> port = orvex::roundToInt16(orvex::leadingNumber(text));
    if (!port || *port == 0)
        return 1;
    return *port;
}

QString destinationWithPath(const QString &destination, const QString &via)
{
    return destination + QLatin1Char(' ') + via;
}

QString positionBeacon(const QString &lat, const QString &lon, QChar symbolTable, QChar symbol,
                       const QString &comment)
{
    return QLatin1Char('!') + lat + symbolTable + lon + symbol + comment;
}

QString locatorBeacon(const QString &locator, QChar symbolTable, QChar symbol,
                      const QString &comment)
{
    QString text = QLatin1Char('>') + locator + symbolTable + symbol;
    if (!comment.isEmpty())
        text += QLatin1Char(' ') + comment;
    return text;
}

QChar symbolFromSetting(const QString &value)
{
    return value.isEmpty() ? QLatin1Char(' ') : value.at(0);
}

bool loggingFromText(const QString &text)
{
    const QString word = text.trimmed();
    if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double value = QLocale::c().toDouble(word, &isNumber);
    return isNumber && value != 0.0;
}

QString loggingText(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

double NearestFontSize(const QString &face, double points, double twipsPerPixel)
{
    if (face.compare(QLatin1String(terminalFace), Qt::CaseInsensitive) != 0 || twipsPerPixel <= 0)
        return points;
    static constexpr std::array<int, 6> pixelHeights{10, 12, 14, 16, 22, 27};
    const double pixelsPerInch = 1440.0 / twipsPerPixel;
    double best = points;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (int pixels : pixelHeights) {
        const double candidate = pixels * 72.0 / pixelsPerInch;
        const double distance = std::abs(candidate - points);
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace TerminalRules

// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/MonitorText.h"

#include "shared/NumberText.h"

namespace monitor {

QString bytesToText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

QString normaliseLineEnds(const QString &text)
{
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    result.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return result;
}

QString FormatMonitorHeader(const QString &header, qint32 kind, bool shortForm,
                            orvex::Date displayTime)
{
    const qsizetype colon = header.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return {};
    const QString port = orvex::generalNumber(orvex::leadingNumber(header.left(colon)));

    const qsizetype from = header.indexOf(QLatin1String("Fm"));
    const qsizetype to = header.indexOf(QLatin1String("To"));
    if (from < 0 || to < 0)
        return {};
    // "Fm SRC To DST": the source starts three after "Fm" and ends two before "To".
    const qsizetype sourceLength = to - from - 4;
    if (sourceLength < 0)
        return {};
    const QString source = header.mid(from + 3, sourceLength);
    const QString direction = kind == Transmitted ? QStringLiteral("T ") : QStringLiteral("R ");

    const qsizetype open = header.indexOf(QLatin1Char('<'), to);
    if (open < 0)
        return {};
    const qsizetype pathLength = open - to - 4;
    if (pathLength < 0)
        return {};
    QString path = header.mid(to + 3, pathLength);
    path.replace(QLatin1String(" Via "), QLatin1String(","));

    const QString time =
        orvex::dateToWallClock(displayTime).time().toString(QStringLiteral("HH:mm:ss"));
    if (shortForm)
        return time + QLatin1Char(' ') + source + QLatin1Char('>') + path + QLatin1Char(':');

    const qsizetype close = header.indexOf(QLatin1Char('>'), open);
    if (close < 0)
        return {};
    QString info = header.mid(open, close - open + 1);
    // The protocol identifier is not shown.
    const qsizetype pid = info.indexOf(QLatin1String(" pid="));
    if (pid >= 0) {
        const qsizetype blank = info.indexOf(QLatin1Char(' '), pid + 5);
        if (blank >= 0)
            info.remove(pid, blank - pid);
    }
    info.replace(QLatin1String(" >"), QLatin1String(">"));
    return time + direction + source + QLatin1Char('>') + path + QStringLiteral(" Port=") + port +
           QLatin1Char(' ') + info + QLatin1Char(':');
}

QString rewriteMonitoredFrame(const QByteArray &data, qint32 kind, orvex::Date displayTime)
{
    QString text = bytesToText(data);
    const qsizetype cr = text.indexOf(QLatin1Char('\r'));
    if (cr < 0)
        return text;
    return FormatMonitorHeader(text.left(cr), kind, false, displayTime) + text.mid(cr);
}

QStringList frameLines(const QByteArray &data)
{
    return normaliseLineEnds(bytesToText(data)).split(QLatin1Char('\r'));
}

namespace {
// Blanks and the zero byte that ends AGWPE's monitor data.
QString trimLine(const QString &line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    const auto blank = [](QChar c) { return c.isSpace() || c.unicode() == 0; };
    while (begin < end && blank(line[begin]))
        ++begin;
    while (end > begin && blank(line[end - 1]))
        --end;
    return line.mid(begin, end - begin);
}
} // namespace

QString joinMonitorLines(const QString &text)
{
    QString joined;
    const QStringList lines = normaliseLineEnds(text).split(QLatin1Char('\r'));
    for (const QString &line : lines) {
        const QString trimmed = trimLine(line);
        if (!trimmed.isEmpty())
            joined += trimmed + QStringLiteral("\r\n");
    }
    return joined;
}

} // namespace monitor

// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/PassPrintout.h"

QString passPrintout(const QString &caption, const QString &passList)
{
    QString page = QStringLiteral("\r\n\r\n\r\n") + caption + QStringLiteral("\r\n") + passList;
    page.replace(QLatin1String("\r\n"), QLatin1String("\r\n      "));
    qsizetype end = page.size();
    while (end > 0 && page[end - 1] == QLatin1Char(' '))
        --end;
    page.truncate(end);
    return page;
}

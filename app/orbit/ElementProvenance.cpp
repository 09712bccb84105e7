// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/ElementProvenance.h"

#include <QDir>
#include <QLocale>
#include <QStringList>
#include <cmath>

namespace {

constexpr double oldAfterDays = 7;
constexpr double staleAfterDays = 30;

QString epochText(orvex::Date epoch)
{
    // To the nearest minute.
    const QDateTime when =
        orvex::dateToUtc(std::round(epoch * orvex::minutesPerDay) / orvex::minutesPerDay);
    return QLocale::c().toString(when, QStringLiteral("yyyy-MM-dd HH:mm")) + QStringLiteral(" UTC");
}

QString fileText(const ElementProvenance &set, const QString &programFolder)
{
    if (set.file.isEmpty())
        return QStringLiteral("no file");
    QString file = QDir(programFolder).relativeFilePath(set.file);
    if (set.demo)
        file += QStringLiteral(" (demo data)");
    return file;
}

bool sameSet(const ElementProvenance &a, const ElementProvenance &b)
{
    return a.file == b.file && a.name == b.name && a.catalogNumber == b.catalogNumber &&
           a.epoch == b.epoch;
}

} // namespace

double elementAgeDays(const ElementProvenance &set, orvex::Date nowUtc)
{
    return nowUtc - set.epoch;
}

ElementAge classifyElementAge(double ageDays)
{
    if (ageDays > staleAfterDays)
        return ElementAge::Stale;
    if (ageDays > oldAfterDays)
        return ElementAge::Old;
    return ElementAge::Fresh;
}

QString describeElementSet(const ElementProvenance &set, orvex::Date nowUtc,
                           const QString &programFolder)
{
    const double age = elementAgeDays(set, nowUtc);
    const QString ageText =
        age >= 0 ? QString::number(age, 'f', 1) + QStringLiteral(" days old")
                 : QString::number(-age, 'f', 1) + QStringLiteral(" days in the future");
    return set.name + QStringLiteral(", ") + QString::number(set.catalogNumber) +
           QStringLiteral(", epoch ") + epochText(set.epoch) + QStringLiteral(", ") + ageText +
           QStringLiteral(", ") + fileText(set, programFolder);
}

ElementNote elementNote(const std::optional<ElementProvenance> &set, const QString &problem,
                        orvex::Date nowUtc, const QString &programFolder)
{
    ElementNote note;
    QStringList lines;
    if (set) {
        lines << describeElementSet(*set, nowUtc, programFolder);
        switch (classifyElementAge(elementAgeDays(*set, nowUtc))) {
        case ElementAge::Fresh:
            break;
        case ElementAge::Old:
            lines << QStringLiteral("The element set is more than 7 days old: download fresh "
                                    "Keps.");
            note.warning = true;
            break;
        case ElementAge::Stale:
            lines << QStringLiteral("The element set is more than 30 days old: predictions may "
                                    "be far off.");
            note.warning = true;
            break;
        }
    }
    if (!problem.isEmpty()) {
        lines << QStringLiteral("Not used: ") + problem;
        note.warning = true;
    }
    note.text = lines.join(QLatin1Char('\n'));
    return note;
}

QString elementChangeText(const QStringList &installedFiles,
                          const std::vector<ElementSetChange> &changes, orvex::Date nowUtc,
                          const QString &programFolder)
{
    QStringList lines;
    if (installedFiles.isEmpty())
        lines << QStringLiteral("No element file was installed.");
    else
        lines << QStringLiteral("Installed: ") + installedFiles.join(QStringLiteral(", ")) +
                     QLatin1Char('.');
    for (const ElementSetChange &change : changes) {
        const QString head = change.satellite + QStringLiteral(": ");
        if (!change.after) {
            lines << head + QStringLiteral("no element set.");
        } else if (change.before && sameSet(*change.before, *change.after)) {
            lines << head + QStringLiteral("unchanged, ") +
                         describeElementSet(*change.after, nowUtc, programFolder) +
                         QLatin1Char('.');
        } else {
            QString line = head + QStringLiteral("now ") +
                           describeElementSet(*change.after, nowUtc, programFolder);
            if (change.before)
                line += QStringLiteral(" (was epoch ") + epochText(change.before->epoch) +
                        QStringLiteral(", ") + fileText(*change.before, programFolder) +
                        QLatin1Char(')');
            lines << line + QLatin1Char('.');
        }
    }
    return lines.join(QStringLiteral("\r\n"));
}

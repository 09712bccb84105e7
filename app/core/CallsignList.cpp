// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/CallsignList.h"

#include "shared/clsIni.h"

namespace {
const QString section = QStringLiteral("CALLSIGNS");

clsCallsign makeEntry(const QString &callsign, const QString &side)
{
    clsCallsign entry;
    entry.setStrCallsign(callsign);
    entry.setStrSide(side);
    return entry;
}
} // namespace

CallsignList::CallsignList(clsIni &ini) : ini_(ini) {}

QList<clsCallsign> CallsignList::defaultList()
{
    QList<clsCallsign> list;
    list << makeEntry(QStringLiteral("NODIGI"), QStringLiteral("A"));
    list << makeEntry(QStringLiteral("Q9ZZZ"), QStringLiteral("A"));
    for (int n = 1; n <= 15; ++n)
        list << makeEntry(QStringLiteral("Q9ZZZ-%1").arg(n), QStringLiteral("A"));
    list << makeEntry(QStringLiteral("ORVEX"), QStringLiteral("B"));
    list << makeEntry(QStringLiteral("ORVEX-1"), QStringLiteral("A"));
    list << makeEntry(QStringLiteral("ORVEX-2"), QStringLiteral("A"));
    for (int n = 3; n <= 15; ++n)
        list << makeEntry(QStringLiteral("ORVEX-%1").arg(n), QStringLiteral("B"));
    return list;
}

namespace {
QList<std::pair<QString, QString>> keysAndValues(const QList<clsCallsign> &list)
{
    QList<std::pair<QString, QString>> entries;
    for (const clsCallsign &entry : list)
        entries.append({entry.strCallsign(), entry.strSide()});
    return entries;
}
} // namespace

// The section is replaced in one write of the file: a kill in the middle of
// a save must not leave a list that has lost callsigns.
void CallsignList::InitCallsigns()
{
    ini_.ReplaceSection(section, keysAndValues(defaultList()));
}

void CallsignList::LoadCallsigns()
{
    std::array<QStringList, 2> keys = ini_.LoadAllKeysInSection(section);
    if (keys[0].size() <= 1) {
        InitCallsigns();
        keys = ini_.LoadAllKeysInSection(section);
    }
    list_.clear();
    for (int i = 1; i < keys[0].size(); ++i)
        list_ << makeEntry(keys[0][i], keys[1].value(i));
}

void CallsignList::setCCallsigns(const QList<clsCallsign> &list)
{
    list_ = list;
    SaveCallsigns();
}

void CallsignList::SaveCallsigns()
{
    ini_.ReplaceSection(section, keysAndValues(list_));
}

const clsCallsign *CallsignList::find(const QString &callsign) const
{
    for (const clsCallsign &entry : list_)
        if (entry.strCallsign() == callsign)
            return &entry;
    return nullptr;
}

bool CallsignList::contains(const QString &callsign) const
{
    return find(callsign) != nullptr;
}

int CallsignList::intSideForCallsign(const QString &callsign) const
{
    const clsCallsign *entry = find(callsign);
    return entry && entry->strSide() == QLatin1String("B") ? 1 : 0;
}

QString aprsDestination(int major, int minor, int revision)
{
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const int n = (major * 100 + minor * 10 + revision) % (36 * 36);
    return QStringLiteral("APZ3") + QLatin1Char(digits[n / 36]) + QLatin1Char(digits[n % 36]);
}

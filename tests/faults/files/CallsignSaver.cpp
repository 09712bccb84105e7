// SPDX-License-Identifier: GPL-2.0-or-later
// Saves the callsign list into the settings file named on the command line,
// the default list and a second list by turns, without end, so that a test
// can kill it at any moment of a save. Prints "saving" once it has begun.
#include "core/CallsignList.h"
#include "shared/clsIni.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    clsIni ini(QString::fromLocal8Bit(argv[1]));
    CallsignList callsigns(ini);
    const QList<clsCallsign> first = CallsignList::defaultList();
    QList<clsCallsign> second = first;
    for (clsCallsign &entry : second)
        entry.setStrCallsign(entry.strCallsign() + QStringLiteral("X"));
    std::puts("saving");
    std::fflush(stdout);
    for (bool useFirst = false;; useFirst = !useFirst)
        callsigns.setCCallsigns(useFirst ? first : second);
}

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/DateTime.h"

#include <QString>
#include <optional>
#include <vector>

// Which element set a satellite is computed from, and how old it is: what
// the status panel, the pass list and the download's closing message say.

struct ElementProvenance
{
    QString file; // path of the element file; empty for sets not read from a file
    QString name; // the name line
    int catalogNumber = 0;
    orvex::Date epoch = 0; // UTC
    bool demo = false;     // from the demo station's invented sets
};

// Past 7 days an element set is old, past 30 predictions may be far off.
enum class ElementAge { Fresh, Old, Stale };

// Days from the set's epoch to `nowUtc` (negative when the epoch is later).
double elementAgeDays(const ElementProvenance &set, orvex::Date nowUtc);
ElementAge classifyElementAge(double ageDays);

// "ISS (ZARYA), 25544, epoch 2026-12-07 18:33 UTC, 1.6 days old, Keps/amateur.txt",
// the file relative to `programFolder`.
QString describeElementSet(const ElementProvenance &set, orvex::Date nowUtc,
                           const QString &programFolder);

// What the status panel's frame tool tip and the pass list header say about
// the set in use, and whether it deserves the warning colour.
struct ElementNote
{
    QString text;
    bool warning = false;
};
// `problem` is why the set cannot be used ("" when it can).
ElementNote elementNote(const std::optional<ElementProvenance> &set, const QString &problem,
                        orvex::Date nowUtc, const QString &programFolder);

// The sets of one tracked satellite before and after the Keps were read again.
struct ElementSetChange
{
    QString satellite; // as the operator knows it, "ORVEX" or "ISS"
    std::optional<ElementProvenance> before;
    std::optional<ElementProvenance> after;
};
// For the download's closing message: what was installed (file names in the
// Keps folder) and, for each tracked satellite, whether its set changed.
QString elementChangeText(const QStringList &installedFiles,
                          const std::vector<ElementSetChange> &changes, orvex::Date nowUtc,
                          const QString &programFolder);

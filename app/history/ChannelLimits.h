// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelSeries.h"

#include <QString>
#include <map>
#include <optional>

// The limits a channel's calibrated values should keep, read from
// limits.txt in the program folder. Records are lines of five
// comma-separated fields:
//   grid tag, row caption, side (A|B), low, high
// in the channel's engineering unit; an empty low or high sets no limit.
// Blank lines and lines starting with ' or # are comments. Lines may end in
// CR LF, LF or CR.
//   TEMP, Batt, A, -10, 45
namespace history {

class ChannelLimits
{
public:
    struct Limits
    {
        std::optional<double> low;
        std::optional<double> high;
    };

    // Reads the file; a missing file sets no limits. Returns what went
    // wrong: a file that cannot be read, and each record that was ignored
    // ("<file> line 3: ignored, ...").
    QStringList load(const QString &path);
    // Returns how many records were ignored (unknown place, side or
    // number); each adds a notice naming `fileName` and its line.
    int loadText(const QString &text, const QString &fileName = {}, QStringList *notices = nullptr);

    Limits limits(const ChannelKey &key) const;
    // Which limit a value breaks: "below the low limit of -10.0 °C", or
    // empty when it keeps its limits.
    QString breach(const ChannelKey &key, double value) const;
    bool isEmpty() const { return limits_.empty(); }

private:
    std::map<ChannelKey, Limits> limits_;
};

} // namespace history

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "telemetry/TelemetryGrids.h"
#include "telemetry/clsFormula.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The calibration table, indexed (side, mode, grid, row), read from
// formula.txt. Records are lines of eight comma-separated fields:
//   side (A|B), mode (0-3), grid tag, row caption, A, B, C, D
// Lines that do not start with an upper-case A or B are comments. Lines may
// end in CR LF, LF or CR.
class FormulaTable
{
public:
    struct LoadResult
    {
        bool ok = false;
        QString errorDescription; // why the file could not be read
        // Each record that was ignored: "<file> line 7: ...".
        QStringList notices;
    };

    // Larger coefficients make no channel's value: the line is ignored.
    static constexpr double largestCoefficient = 1e9;

    // Reads the file; on failure the table is left empty. A file that is
    // not plain text, or that gives no record, cannot be read.
    LoadResult LoadFormulae(const QString &path);
    // Parses the records of a whole file's text; returns how many it took.
    // Each ignored record adds a notice naming `fileName` and its line.
    int loadText(const QString &text, const QString &fileName = {}, QStringList *notices = nullptr);
    // One record of eight fields. A record whose mode lies outside 0 to 3,
    // whose grid or row matches nothing, or with a coefficient that is not
    // finite or above largestCoefficient, is ignored: the reason is returned.
    QString AddFormula(const QStringList &fields);

    // The formula at a place, or null when the file had no line for it.
    const clsFormula *formula(int side, int mode, int grid, int row) const;

private:
    void reset();
    // [side][mode][grid] -> rows, index 0 unused
    std::vector<std::optional<clsFormula>> cells_[telemetry::sideCount][telemetry::modeCount]
                                                 [telemetry::gridCount];
};

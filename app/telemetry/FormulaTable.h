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
// Lines that do not start with an upper-case A or B are comments.
class FormulaTable
{
public:
    struct LoadResult
    {
        bool ok = false;
        QString errorDescription; // why the file could not be read
    };

    // Reads the file; on failure the table is left empty.
    LoadResult LoadFormulae(const QString &path);
    // Parses the records of a whole file's text.
    void loadText(const QString &text);
    // One record of eight fields. A record whose mode lies outside 0 to 3,
    // or whose grid or row matches nothing, is ignored.
    void AddFormula(const QStringList &fields);

    // The formula at a place, or null when the file had no line for it.
    const clsFormula *formula(int side, int mode, int grid, int row) const;

private:
    void reset();
    // [side][mode][grid] -> rows, index 0 unused
    std::vector<std::optional<clsFormula>> cells_[telemetry::sideCount][telemetry::modeCount]
                                                 [telemetry::gridCount];
};

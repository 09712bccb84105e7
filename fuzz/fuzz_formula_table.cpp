// SPDX-License-Identifier: GPL-2.0-or-later
// The calibration file is edited by hand: any text must load into a table,
// and a fixed set of telemetry lines must then decode without failing.
#include "telemetry/FormulaTable.h"
#include "telemetry/TelemetryDecoder.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text =
        QString::fromLatin1(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    FormulaTable table;
    table.loadText(text);
    for (int side = 0; side < 2; ++side)
        for (int mode = 0; mode < telemetry::modeCount; ++mode)
            for (int grid = 0; grid < telemetry::gridCount; ++grid)
                for (int row = 1; row < telemetry::gridLayout(grid).rows(); ++row)
                    (void)table.formula(side, mode, grid, row);

    const TelemetryDecoder decoder(table);
    static const char *const lines[] = {
        "HK,112,87,131,96,0,0,0000,0", "HK,0,255,1,254,0,0,0010,0",   "HK,255,255,255,255,,,0001,",
        "HK,0,0,0,0,,,0011,",          "HK,-5,1e308,nan,inf,,,0011,",
    };
    for (int side = 0; side < 2; ++side)
        for (const char *line : lines)
            (void)decoder.DecodeTelemetry(side, QString::fromLatin1(line), 46364.5);
    return 0;
}

// SPDX-License-Identifier: GPL-2.0-or-later
// Telemetry lines arrive over the air: any text, decoded on either side with
// the shipped calibration file, must give cells inside the grids and nothing
// for a line that is not nine fields.
#include "telemetry/FormulaTable.h"
#include "telemetry/TelemetryDecoder.h"

#include <cstdint>
#include <cstdlib>

namespace {
const FormulaTable &shippedFormulas()
{
    static const FormulaTable table = [] {
        FormulaTable t;
        if (!t.LoadFormulae(QStringLiteral(ORVEX_FORMULA_FILE)).ok)
            std::abort();
        return t;
    }();
    return table;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const TelemetryDecoder decoder(shippedFormulas());
    const QString line =
        QString::fromLatin1(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const bool nineFields = line.count(',') == 8;
    for (int side = 0; side < 2; ++side) {
        const QList<TelemetryDecoder::CellWrite> writes =
            decoder.DecodeTelemetry(side, line, 46364.5);
        if (!nineFields && !writes.isEmpty())
            std::abort();
        for (const auto &w : writes)
            if (w.grid < 0 || w.grid >= telemetry::gridCount || w.row < 1 ||
                w.row >= telemetry::gridLayout(w.grid).rows() || w.column < 0 ||
                w.column >= telemetry::gridColumns)
                std::abort();
    }
    return 0;
}

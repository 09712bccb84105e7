// SPDX-License-Identifier: GPL-2.0-or-later
// Telemetry lines decoded into grid cells with the calibration table the
// program ships (data/formula.txt), in lines per second.
#include "platform/DateTime.h"
#include "telemetry/FormulaTable.h"
#include "telemetry/TelemetryDecoder.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

const FormulaTable &shippedFormulas()
{
    static const FormulaTable table = [] {
        FormulaTable formulas;
        const FormulaTable::LoadResult result =
            formulas.LoadFormulae(QStringLiteral(ORVEX_SOURCE_DIR "/data/formula.txt"));
        if (!result.ok) {
            std::fprintf(stderr, "formula.txt: %s\n", qPrintable(result.errorDescription));
            std::abort();
        }
        return formulas;
    }();
    return table;
}

orvex::Date displayTime()
{
    return orvex::utcToDate(QDateTime(QDate(2026, 12, 8), QTime(14, 7, 41), QTimeZone::utc()));
}

// 64 lines as a pass brings them: all four modes in turn, raw values spread
// over 0 to 255.
QStringList passLines()
{
    static const char *const modeBits[] = {"0000", "0001", "0010", "0011"};
    QStringList lines;
    for (int i = 0; i < 64; ++i) {
        QStringList fields{QStringLiteral("HK")};
        for (int channel = 0; channel < 4; ++channel)
            fields << QString::number((i * 37 + channel * 61 + 11) % 256);
        fields << QStringLiteral("0") << QStringLiteral("0") << QLatin1String(modeBits[i % 4])
               << QStringLiteral("0");
        lines << fields.join(QLatin1Char(','));
    }
    return lines;
}

void decodePassLines(benchmark::State &state)
{
    const TelemetryDecoder decoder(shippedFormulas());
    const QStringList lines = passLines();
    const int side = static_cast<int>(state.range(0));
    const orvex::Date when = displayTime();
    qsizetype cells = 0;
    for (auto _ : state) {
        for (const QString &line : lines) {
            const QList<TelemetryDecoder::CellWrite> writes =
                decoder.DecodeTelemetry(side, line, when);
            cells += writes.size();
            benchmark::DoNotOptimize(writes.constData());
        }
    }
    state.SetItemsProcessed(state.iterations() * lines.size());
    state.counters["cells/line"] =
        static_cast<double>(cells) / static_cast<double>(state.iterations() * lines.size());
}
BENCHMARK(decodePassLines)->ArgName("side")->Arg(0)->Arg(1);

// Lines from the satellite's callsign that are not telemetry are turned away
// by their field count.
void turnAwayOtherLines(benchmark::State &state)
{
    const TelemetryDecoder decoder(shippedFormulas());
    const QStringList lines{QStringLiteral(">ORVEX-1 station ready"),
                            QStringLiteral("HK,1,2,3,4,5,6,0000"),
                            QStringLiteral("=3854.79N/07628.80W-ORVEX ground station"),
                            QStringLiteral("HK,1,2,3,4,5,6,0000,9,10")};
    const orvex::Date when = displayTime();
    for (auto _ : state) {
        for (const QString &line : lines)
            benchmark::DoNotOptimize(decoder.DecodeTelemetry(0, line, when));
    }
    state.SetItemsProcessed(state.iterations() * lines.size());
}
BENCHMARK(turnAwayOtherLines);

void loadFormulaFile(benchmark::State &state)
{
    const QString path = QStringLiteral(ORVEX_SOURCE_DIR "/data/formula.txt");
    for (auto _ : state) {
        FormulaTable formulas;
        benchmark::DoNotOptimize(formulas.LoadFormulae(path).ok);
    }
}
BENCHMARK(loadFormulaFile)->Unit(benchmark::kMicrosecond);

} // namespace

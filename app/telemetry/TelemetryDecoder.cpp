// SPDX-License-Identifier: GPL-2.0-or-later
#include "telemetry/TelemetryDecoder.h"

#include "shared/NumberText.h"

#include <array>

TelemetryDecoder::TelemetryDecoder(const FormulaTable &formulas)
    : formulas_(formulas), channelMap_(telemetry::InitChannelMap())
{
}

QString TelemetryDecoder::formatLabelTime(orvex::Date displayTime)
{
    static const std::array<const char *, 12> months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDateTime when = orvex::dateToWallClock(displayTime);
    const QDate day = when.date();
    return QStringLiteral("  %1-%2-%3 %4")
        .arg(day.year(), 4, 10, QLatin1Char('0'))
        .arg(QLatin1String(months[static_cast<size_t>(day.month() - 1)]))
        .arg(day.day(), 2, 10, QLatin1Char('0'))
        .arg(when.time().toString(QStringLiteral("HH:mm")));
}

QList<TelemetryDecoder::CellWrite>
TelemetryDecoder::DecodeTelemetry(int side, const QString &strLine, orvex::Date displayTime) const
{
    const QStringList fields = strLine.split(',');
    if (fields.size() != 9)
        return {};

    const QString &bits = fields[7];
    const auto bitValue = [&bits](int index) {
        return index < bits.size() ? orvex::leadingNumber(bits.mid(index, 1)) : 0.0;
    };
    const double modeValue = 2 * bitValue(2) + bitValue(3);
    const int mode =
        modeValue >= 0 && modeValue < telemetry::modeCount ? static_cast<int>(modeValue) : -1;

    const QString label = fields[0] + formatLabelTime(displayTime);
    QList<CellWrite> writes;
    for (int channel = 0; channel < telemetry::channelCount; ++channel)
        writes +=
            SetChannelValue(side, mode, channel, orvex::leadingNumber(fields[channel + 1]), label);
    return writes;
}

QList<TelemetryDecoder::CellWrite> TelemetryDecoder::SetChannelValue(int side, int mode,
                                                                     int channel, double raw,
                                                                     const QString &label) const
{
    if (side < 0 || side >= telemetry::sideCount || mode < 0 || mode >= telemetry::modeCount ||
        channel < 0 || channel >= telemetry::channelCount)
        return {};
    const telemetry::ChannelCell cell = channelMap_[side][mode][channel];
    const clsFormula *formula = formulas_.formula(side, mode, cell.grid, cell.row);
    if (!formula)
        return {};
    const std::optional<double> value = formula->CalcValue(raw);
    if (!value)
        return {};
    return {{cell.grid, cell.row, side + 1, telemetry::formatGridValue(cell.grid, *value)},
            {cell.grid, cell.row, side + 3, label}};
}

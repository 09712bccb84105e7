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

std::optional<TelemetryDecoder::Frame> TelemetryDecoder::decodeFrame(int side,
                                                                     const QString &strLine) const
{
    const QStringList fields = strLine.split(',');
    if (fields.size() != 9)
        return std::nullopt;

    Frame frame;
    frame.side = side;
    frame.label = fields[0];
    frame.bits = fields[7];
    const auto bitValue = [&bits = frame.bits](int index) {
        return index < bits.size() ? orvex::leadingNumber(bits.mid(index, 1)) : 0.0;
    };
    frame.mode = static_cast<int>(2 * bitValue(2) + bitValue(3));

    for (int channel = 0; channel < telemetry::channelCount; ++channel) {
        ChannelReading &reading = frame.channels[static_cast<size_t>(channel)];
        reading.raw = orvex::leadingNumber(fields[channel + 1]);
        if (side >= 0 && side < telemetry::sideCount && frame.mode >= 0 &&
            frame.mode < telemetry::modeCount) {
            const telemetry::ChannelCell cell = channelMap_[side][frame.mode][channel];
            reading.grid = cell.grid;
            reading.row = cell.row;
        }
        if (const std::optional<Place> place = placeValue(side, frame.mode, channel, reading.raw)) {
            reading.text = place->text;
            reading.value = place->text.toDouble();
        }
    }
    return frame;
}

QList<TelemetryDecoder::CellWrite>
TelemetryDecoder::DecodeTelemetry(int side, const QString &strLine, orvex::Date displayTime) const
{
    const std::optional<Frame> frame = decodeFrame(side, strLine);
    return frame ? cellWrites(*frame, displayTime) : QList<CellWrite>();
}

QList<TelemetryDecoder::CellWrite> TelemetryDecoder::cellWrites(const Frame &frame,
                                                                orvex::Date displayTime)
{
    const QString label = frame.label + formatLabelTime(displayTime);
    QList<CellWrite> writes;
    for (const ChannelReading &reading : frame.channels)
        if (!reading.text.isEmpty())
            writes += {{reading.grid, reading.row, frame.side + 1, reading.text},
                       {reading.grid, reading.row, frame.side + 3, label}};
    return writes;
}

std::optional<TelemetryDecoder::Place> TelemetryDecoder::placeValue(int side, int mode, int channel,
                                                                    double raw) const
{
    if (side < 0 || side >= telemetry::sideCount || mode < 0 || mode >= telemetry::modeCount ||
        channel < 0 || channel >= telemetry::channelCount)
        return std::nullopt;
    const telemetry::ChannelCell cell = channelMap_[side][mode][channel];
    const clsFormula *formula = formulas_.formula(side, mode, cell.grid, cell.row);
    if (!formula)
        return std::nullopt;
    const std::optional<double> value = formula->CalcValue(raw);
    if (!value)
        return std::nullopt;
    return Place{cell, telemetry::formatGridValue(cell.grid, *value)};
}

QList<TelemetryDecoder::CellWrite> TelemetryDecoder::SetChannelValue(int side, int mode,
                                                                     int channel, double raw,
                                                                     const QString &label) const
{
    const std::optional<Place> place = placeValue(side, mode, channel, raw);
    if (!place)
        return {};
    return {{place->cell.grid, place->cell.row, side + 1, place->text},
            {place->cell.grid, place->cell.row, side + 3, label}};
}

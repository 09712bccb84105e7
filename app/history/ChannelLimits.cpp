// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/ChannelLimits.h"

#include "history/ChannelUnits.h"
#include "telemetry/TelemetryGrids.h"

#include <QFile>
#include <QStringList>

namespace history {

namespace {

// An empty field is no limit; anything else must be a number.
bool readLimit(const QString &field, std::optional<double> &limit)
{
    if (field.isEmpty())
        return true;
    bool ok = false;
    const double value = field.toDouble(&ok);
    if (ok)
        limit = value;
    return ok;
}

std::optional<ChannelKey> readPlace(const QString &tag, const QString &caption, const QString &side)
{
    if (side.compare(QLatin1String("A"), Qt::CaseInsensitive) != 0 &&
        side.compare(QLatin1String("B"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    for (int grid = 0; grid < telemetry::gridCount; ++grid) {
        const telemetry::GridLayout &layout = telemetry::gridLayout(grid);
        if (layout.tag.compare(tag, Qt::CaseInsensitive) != 0)
            continue;
        for (int row = 1; row < layout.rows(); ++row)
            if (layout.captions[row - 1].compare(caption, Qt::CaseInsensitive) == 0)
                return ChannelKey{grid, row, side.toUpper() == QLatin1String("A") ? 0 : 1};
    }
    return std::nullopt;
}

} // namespace

int ChannelLimits::load(const QString &path)
{
    limits_.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return loadText(QString::fromUtf8(file.readAll()));
}

int ChannelLimits::loadText(const QString &text)
{
    limits_.clear();
    int ignored = 0;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('\'')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        QStringList fields = line.split(QLatin1Char(','));
        for (QString &field : fields)
            field = field.trimmed();
        Limits limits;
        const std::optional<ChannelKey> key =
            fields.size() == 5 ? readPlace(fields[0], fields[1], fields[2]) : std::nullopt;
        if (!key || !readLimit(fields[3], limits.low) || !readLimit(fields[4], limits.high)) {
            ++ignored;
            continue;
        }
        limits_[*key] = limits;
    }
    return ignored;
}

ChannelLimits::Limits ChannelLimits::limits(const ChannelKey &key) const
{
    const auto found = limits_.find(key);
    return found == limits_.end() ? Limits{} : found->second;
}

QString ChannelLimits::breach(const ChannelKey &key, double value) const
{
    const Limits limits = this->limits(key);
    const auto describe = [&key](const char *which, double limit) {
        return QStringLiteral("%1 the %2 limit of %3 %4")
            .arg(QLatin1String(which[0] == 'l' ? "below" : "above"), QLatin1String(which),
                 telemetry::formatGridValue(key.grid, limit), channelUnit(key.grid, key.row));
    };
    if (limits.low && value < *limits.low)
        return describe("low", *limits.low);
    if (limits.high && value > *limits.high)
        return describe("high", *limits.high);
    return {};
}

} // namespace history

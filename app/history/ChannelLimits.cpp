// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/ChannelLimits.h"

#include "history/ChannelUnits.h"
#include "telemetry/TelemetryGrids.h"

#include "shared/TextLines.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <cmath>

namespace history {

namespace {

// An empty field is no limit; anything else must be a number.
bool readLimit(const QString &field, std::optional<double> &limit)
{
    if (field.isEmpty())
        return true;
    bool ok = false;
    const double value = field.toDouble(&ok);
    if (ok && std::isfinite(value))
        limit = value;
    return ok && std::isfinite(value);
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

QStringList ChannelLimits::load(const QString &path)
{
    limits_.clear();
    QFile file(path);
    if (!file.exists())
        return {};
    const QString name = QDir::toNativeSeparators(path);
    QString why;
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("%1 cannot be read: %2.").arg(name, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {QStringLiteral("%1 cannot be read: %2.").arg(name, file.errorString())};
    if (!orvex::textFileLines(bytes, &why))
        return {QStringLiteral("%1 cannot be read: %2.").arg(name, why)};
    QStringList notices;
    loadText(QString::fromUtf8(bytes), name, &notices);
    return notices;
}

int ChannelLimits::loadText(const QString &text, const QString &fileName, QStringList *notices)
{
    limits_.clear();
    int ignored = 0;
    const std::optional<QList<QByteArray>> lines = orvex::textFileLines(text.toUtf8());
    if (!lines)
        return 0;
    for (qsizetype index = 0; index < lines->size(); ++index) {
        const QString line = QString::fromUtf8(lines->at(index)).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('\'')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        QStringList fields = line.split(QLatin1Char(','));
        for (QString &field : fields)
            field = field.trimmed();
        Limits limits;
        QString why;
        if (fields.size() != 5)
            why = QStringLiteral("%1 fields where a record has 5").arg(fields.size());
        const std::optional<ChannelKey> key =
            why.isEmpty() ? readPlace(fields[0], fields[1], fields[2]) : std::nullopt;
        if (why.isEmpty() && !key)
            why =
                QStringLiteral("no channel is %1 %2 side %3").arg(fields[0], fields[1], fields[2]);
        if (why.isEmpty() &&
            (!readLimit(fields[3], limits.low) || !readLimit(fields[4], limits.high)))
            why = QStringLiteral("a limit is not a finite number");
        if (!why.isEmpty()) {
            ++ignored;
            if (notices)
                *notices << QStringLiteral("%1 line %2: ignored, %3.")
                                .arg(fileName.isEmpty() ? QStringLiteral("limits.txt") : fileName)
                                .arg(index + 1)
                                .arg(why);
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

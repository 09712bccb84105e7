// SPDX-License-Identifier: GPL-2.0-or-later
#include "telemetry/FormulaTable.h"

#include "shared/NumberText.h"
#include "shared/TextLines.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <array>
#include <cmath>

void FormulaTable::reset()
{
    for (auto &side : cells_)
        for (auto &mode : side)
            for (auto &grid : mode)
                grid.clear();
}

FormulaTable::LoadResult FormulaTable::LoadFormulae(const QString &path)
{
    reset();
    QFile file(path);
    // The path goes with every reason: an installed program reads its own copy.
    const auto failed = [&path](const QString &reason) {
        return LoadResult{
            false, reason + QStringLiteral(": ") + QDir::toNativeSeparators(path), {}};
    };
    if (!file.exists())
        return failed(QStringLiteral("File not found"));
    if (!file.open(QIODevice::ReadOnly))
        return failed(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed(file.errorString());
    QString why;
    if (!orvex::textFileLines(bytes, &why))
        return failed(why);
    LoadResult result{true, {}, {}};
    if (loadText(QString::fromLatin1(bytes), QDir::toNativeSeparators(path), &result.notices) ==
        0) {
        reset();
        return failed(QStringLiteral("The file holds no formula record"));
    }
    return result;
}

int FormulaTable::loadText(const QString &text, const QString &fileName, QStringList *notices)
{
    const std::optional<QList<QByteArray>> lines = orvex::textFileLines(text.toLatin1());
    if (!lines)
        return 0;
    int taken = 0;
    for (qsizetype index = 0; index < lines->size(); ++index) {
        const QString line = QString::fromLatin1(lines->at(index)).trimmed();
        if (!line.startsWith('A') && !line.startsWith('B'))
            continue;
        const QStringList fields = line.split(',');
        const QString why =
            fields.size() == 8
                ? AddFormula(fields)
                : QStringLiteral("%1 fields where a record has 8").arg(fields.size());
        if (why.isEmpty())
            ++taken;
        else if (notices)
            *notices << QStringLiteral("%1 line %2: ignored, %3.")
                            .arg(fileName.isEmpty() ? QStringLiteral("formula.txt") : fileName)
                            .arg(index + 1)
                            .arg(why);
    }
    return taken;
}

namespace {

// A coefficient: nothing when it is not finite or too large to make a value.
std::optional<double> coefficient(const QString &field)
{
    static const QRegularExpression nonFinite(QStringLiteral("^[+-]?(NAN|INF)"));
    const double value = orvex::leadingNumber(field);
    if (nonFinite.match(field).hasMatch() || !std::isfinite(value) ||
        std::abs(value) > FormulaTable::largestCoefficient)
        return std::nullopt;
    return value;
}

} // namespace

QString FormulaTable::AddFormula(const QStringList &record)
{
    QStringList fields;
    for (const QString &field : record)
        fields << field.trimmed().toUpper();

    const int side = fields[0] == QLatin1String("A") ? 0 : 1;
    const double modeValue = orvex::leadingNumber(fields[1]);
    if (!(modeValue >= 0 && modeValue < telemetry::modeCount))
        return QStringLiteral("mode %1 is not 0 to 3").arg(fields[1]);
    const int mode = static_cast<int>(modeValue);

    std::array<double, 4> coefficients{};
    for (std::size_t at = 0; at < coefficients.size(); ++at) {
        const std::optional<double> value = coefficient(fields[static_cast<qsizetype>(at) + 4]);
        if (!value)
            return QStringLiteral("coefficient %1 is not finite or beyond %2")
                .arg(record[static_cast<qsizetype>(at) + 4].trimmed())
                .arg(largestCoefficient, 0, 'g');
        coefficients.at(at) = *value;
    }

    for (int grid = 0; grid < telemetry::gridCount; ++grid) {
        const telemetry::GridLayout &layout = telemetry::gridLayout(grid);
        if (layout.tag != fields[2])
            continue;
        for (int row = 1; row < layout.rows(); ++row) {
            if (layout.captions[row - 1].toUpper() != fields[3])
                continue;
            auto &rows = cells_[side][mode][grid];
            if (static_cast<int>(rows.size()) <= row)
                rows.resize(static_cast<size_t>(row) + 1);
            clsFormula formula;
            formula.setDblA(coefficients[0]);
            formula.setDblB(coefficients[1]);
            formula.setDblC(coefficients[2]);
            formula.setDblD(coefficients[3]);
            rows[static_cast<size_t>(row)] = formula;
            return {};
        }
        return QStringLiteral("grid %1 has no row %2").arg(fields[2], fields[3]);
    }
    return QStringLiteral("no grid is named %1").arg(fields[2]);
}

const clsFormula *FormulaTable::formula(int side, int mode, int grid, int row) const
{
    if (side < 0 || side >= telemetry::sideCount || mode < 0 || mode >= telemetry::modeCount ||
        grid < 0 || grid >= telemetry::gridCount || row < 0)
        return nullptr;
    const auto &rows = cells_[side][mode][grid];
    if (row >= static_cast<int>(rows.size()) || !rows[static_cast<size_t>(row)])
        return nullptr;
    return &*rows[static_cast<size_t>(row)];
}

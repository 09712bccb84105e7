// SPDX-License-Identifier: GPL-2.0-or-later
#include "telemetry/FormulaTable.h"

#include "shared/NumberText.h"

#include <QDir>
#include <QFile>

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
        return LoadResult{false, reason + QStringLiteral(": ") + QDir::toNativeSeparators(path)};
    };
    if (!file.exists())
        return failed(QStringLiteral("File not found"));
    if (!file.open(QIODevice::ReadOnly))
        return failed(file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed(file.errorString());
    loadText(QString::fromLatin1(bytes));
    return {true, {}};
}

void FormulaTable::loadText(const QString &text)
{
    const QStringList lines = text.split('\n');
    for (QString line : lines) {
        line = line.trimmed();
        if (!line.startsWith('A') && !line.startsWith('B'))
            continue;
        const QStringList fields = line.split(',');
        if (fields.size() == 8)
            AddFormula(fields);
    }
}

void FormulaTable::AddFormula(const QStringList &record)
{
    QStringList fields;
    for (const QString &field : record)
        fields << field.trimmed().toUpper();

    const int side = fields[0] == QLatin1String("A") ? 0 : 1;
    const double modeValue = orvex::leadingNumber(fields[1]);
    if (!(modeValue >= 0 && modeValue < telemetry::modeCount))
        return;
    const int mode = static_cast<int>(modeValue);

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
            formula.setDblA(orvex::leadingNumber(fields[4]));
            formula.setDblB(orvex::leadingNumber(fields[5]));
            formula.setDblC(orvex::leadingNumber(fields[6]));
            formula.setDblD(orvex::leadingNumber(fields[7]));
            rows[static_cast<size_t>(row)] = formula;
            return;
        }
        return;
    }
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

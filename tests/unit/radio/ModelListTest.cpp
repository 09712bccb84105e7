// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/ModelList.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>

using radio::HamlibModel;
using radio::parseModelList;

namespace {
QString listOf(const QString &program)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, {QStringLiteral("-l")});
    process.waitForFinished(20000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

const HamlibModel *find(const std::vector<HamlibModel> &models, int number)
{
    const auto found = std::find_if(models.begin(), models.end(),
                                    [&](const HamlibModel &each) { return each.number == number; });
    return found == models.end() ? nullptr : &*found;
}
} // namespace

TEST(ModelList, ReadsEveryModelOfRigctlAndRotctl)
{
    const QString radios = listOf(QStringLiteral("rigctl"));
    const std::vector<HamlibModel> models = parseModelList(radios);
    // One model a line below the header.
    ASSERT_EQ(static_cast<qsizetype>(models.size()),
              radios.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size() - 1);
    ASSERT_TRUE(find(models, 1));
    EXPECT_EQ(find(models, 1)->maker, QStringLiteral("Hamlib"));
    EXPECT_EQ(find(models, 1)->name, QStringLiteral("Dummy"));
    // Names with blanks, in the fixed columns.
    ASSERT_TRUE(find(models, 1004));
    EXPECT_EQ(find(models, 1004)->name, QStringLiteral("MARK-V FT-1000MP"));
    EXPECT_EQ(find(models, 1004)->status, QStringLiteral("Stable"));

    const std::vector<HamlibModel> rotators = parseModelList(listOf(QStringLiteral("rotctl")));
    ASSERT_TRUE(find(rotators, 403));
    EXPECT_EQ(find(rotators, 403)->maker, QStringLiteral("Hy-Gain"));
    EXPECT_EQ(find(rotators, 403)->name, QStringLiteral("DCU-1/DCU-1X"));

    EXPECT_TRUE(parseModelList(QStringLiteral("rigctl: command not found\n")).empty());
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "telemetry/FormulaTable.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

FormulaTable tableFrom(const QString &text)
{
    FormulaTable table;
    table.loadText(text);
    return table;
}

} // namespace

TEST(FormulaTable, RecordsLandAtTheirSideModeGridAndRow)
{
    const FormulaTable table = tableFrom("A, 0, CURRENT, X+, 1, 2, 3, 4\r\n"
                                         "B, 3, POWER, 8V Reg, 0, 0, 0.04, 0\r\n");
    const clsFormula *a = table.formula(0, 0, telemetry::CurrentGrid, 1);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->dblA(), 1);
    EXPECT_EQ(a->dblD(), 4);
    ASSERT_NE(table.formula(1, 3, telemetry::PowerGrid, 4), nullptr);
    EXPECT_EQ(table.formula(1, 3, telemetry::PowerGrid, 4)->dblC(), 0.04);
    EXPECT_EQ(table.formula(0, 3, telemetry::PowerGrid, 4), nullptr) << "other side stays empty";
}

TEST(FormulaTable, GridAndRowMatchInAnyCaseButTheSideLetterMustBeUpperCase)
{
    const FormulaTable table = tableFrom("A,0,current,x+,0,0,2,0\n"
                                         "a,0,CURRENT,X-,0,0,2,0\n"
                                         "b,0,CURRENT,X-,0,0,2,0\n"
                                         "  B , 1 , temp , stack , 0 , 0 , 1 , 0  \n");
    EXPECT_NE(table.formula(0, 0, telemetry::CurrentGrid, 1), nullptr);
    EXPECT_EQ(table.formula(0, 0, telemetry::CurrentGrid, 2), nullptr);
    EXPECT_EQ(table.formula(1, 0, telemetry::CurrentGrid, 2), nullptr);
    EXPECT_NE(table.formula(1, 1, telemetry::TempGrid, 7), nullptr);
}

TEST(FormulaTable, LinesThatCannotBeStoredAreIgnored)
{
    const FormulaTable table =
        tableFrom("A,0,CURRENT,X+,0,0,1\n"     // seven fields
                  "A,0,CURRENT,X+,0,0,1,0,9\n" // nine fields
                  "A,4,CURRENT,X+,0,0,1,0\n"   // mode outside 0-3
                  "A,-1,CURRENT,X+,0,0,1,0\n"
                  "A,0,VOLTS,X+,0,0,1,0\n"          // no such grid
                  "A,0,CURRENT,Stack,0,0,1,0\n"     // no such row here
                  "A,0,TEMPS,X+,0,0,1,0\n"          // header text, not the tag
                  "A,0,CURRENT,CURRENT,0,0,1,0\n"); // header row is not a row
    for (int grid = 0; grid < telemetry::gridCount; ++grid)
        for (int row = 0; row < 10; ++row)
            for (int mode = 0; mode < telemetry::modeCount; ++mode)
                EXPECT_EQ(table.formula(0, mode, grid, row), nullptr) << grid << " " << row;
}

TEST(FormulaTable, TheLastLineForAPlaceWinsAndNumbersAreReadLeadingPartOnly)
{
    const FormulaTable table = tableFrom("A,2,TEMP,Xmtr,1,1,1,1\n"
                                         "A,2,TEMP,Xmtr,0.5x,abc,-2e1,  7 5\n");
    const clsFormula *f = table.formula(0, 2, telemetry::TempGrid, 9);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->dblA(), 0.5);
    EXPECT_EQ(f->dblB(), 0);
    EXPECT_EQ(f->dblC(), -20);
    EXPECT_EQ(f->dblD(), 75);
}

TEST(FormulaTable, AMissingFileIsReportedAndTheShippedFileFillsEveryPlaceOfTheChannelMap)
{
    FormulaTable table;
    QTemporaryDir dir;
    const FormulaTable::LoadResult missing = table.LoadFormulae(dir.filePath("formula.txt"));
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.errorDescription, "File not found: " + dir.filePath("formula.txt"));

    const FormulaTable::LoadResult shipped =
        table.LoadFormulae(ORVEX_SOURCE_DIR "/data/formula.txt");
    ASSERT_TRUE(shipped.ok);
    EXPECT_TRUE(shipped.notices.isEmpty()) << shipped.notices.join('\n').toStdString();
    const telemetry::ChannelMap map = telemetry::InitChannelMap();
    for (int side = 0; side < telemetry::sideCount; ++side)
        for (int mode = 0; mode < telemetry::modeCount; ++mode)
            for (int channel = 0; channel < telemetry::channelCount; ++channel) {
                const telemetry::ChannelCell cell = map[side][mode][channel];
                EXPECT_NE(table.formula(side, mode, cell.grid, cell.row), nullptr)
                    << side << mode << channel;
            }
}

TEST(FormulaTable, AnyLineEndIsReadAndWhatIsNotTakenIsToldWithFileAndLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("formula.txt");
    const auto write = [&path](const QByteArray &bytes) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    };
    FormulaTable table;
    write("; CR alone ends these lines\r"
          "A,0,CURRENT,X+,0,0,2,0\r"
          "A,0,CURRENT,X-,nan,0,1,0\r"
          "A,0,CURRENT,Y+,0,0,1E300,0\r"
          "A,0,CURRENT,Y-,0,0,1\r");
    const FormulaTable::LoadResult read = table.LoadFormulae(path);
    ASSERT_TRUE(read.ok);
    EXPECT_NE(table.formula(0, 0, telemetry::CurrentGrid, 1), nullptr);
    EXPECT_EQ(table.formula(0, 0, telemetry::CurrentGrid, 2), nullptr);
    EXPECT_EQ(table.formula(0, 0, telemetry::CurrentGrid, 3), nullptr);
    EXPECT_EQ(
        read.notices,
        (QStringList{path + " line 3: ignored, coefficient nan is not finite or beyond 1e+09.",
                     path + " line 4: ignored, coefficient 1E300 is not finite or beyond "
                            "1e+09.",
                     path + " line 5: ignored, 7 fields where a record has 8."}));

    write(
        QByteArray("\xff\xfe") +
        QByteArray::fromRawData(reinterpret_cast<const char *>(u"A,0,CURRENT,X+,0,0,2,0\r\n"), 48));
    const FormulaTable::LoadResult wide = table.LoadFormulae(path);
    EXPECT_FALSE(wide.ok);
    EXPECT_EQ(wide.errorDescription,
              "The file is in UTF-16 or UTF-32; it must be plain text: " + path);
    EXPECT_EQ(table.formula(0, 0, telemetry::CurrentGrid, 1), nullptr);

    write("; only comments\r\nA,9,CURRENT,X+,0,0,2,0\r\n");
    const FormulaTable::LoadResult empty = table.LoadFormulae(path);
    EXPECT_FALSE(empty.ok);
    EXPECT_EQ(empty.errorDescription, "The file holds no formula record: " + path);
}

TEST(clsFormula, CalcValueIsTheCubicAndReportsOverflow)
{
    clsFormula identity;
    identity.setDblC(1);
    EXPECT_EQ(identity.CalcValue(123.25), 123.25);
    clsFormula cubic;
    cubic.setDblA(1);
    cubic.setDblB(-2);
    cubic.setDblC(3);
    cubic.setDblD(-4);
    EXPECT_DOUBLE_EQ(*cubic.CalcValue(2), 8 - 8 + 6 - 4);
    EXPECT_DOUBLE_EQ(*cubic.CalcValue(-1), -1 - 2 - 3 - 4);
    clsFormula huge;
    huge.setDblA(1e300);
    EXPECT_FALSE(huge.CalcValue(1e10).has_value());
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/ChannelLimits.h"
#include "telemetry/TelemetryGrids.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using history::ChannelKey;

TEST(ChannelLimits, RecordsNamePlaceSideAndLimitsInEngineeringUnits)
{
    history::ChannelLimits limits;
    const int ignored = limits.loadText("' comment\n"
                                        "# also a comment\n"
                                        "\n"
                                        "TEMP, Batt, A, -10, 45\r\n"
                                        "power,batt b,b,5.5,\n"
                                        "CURRENT, Batt, B, , 800\n"
                                        "TEMP, Batt, C, -10, 45\n"    // no side C
                                        "TEMP, Battery, A, -10, 45\n" // no such row
                                        "TEMP, Xmtr, A, cold, 45\n"   // no number
                                        "TEMP, Xmtr, A, -10\n");      // four fields
    EXPECT_EQ(ignored, 4);
    const ChannelKey battA{telemetry::TempGrid, 8, 0};
    EXPECT_EQ(limits.limits(battA).low, -10);
    EXPECT_EQ(limits.limits(battA).high, 45);
    EXPECT_FALSE(limits.limits({telemetry::TempGrid, 8, 1}).low);
    EXPECT_FALSE(limits.limits({telemetry::TempGrid, 9, 0}).low);
    EXPECT_EQ(limits.limits({telemetry::PowerGrid, 2, 1}).low, 5.5);
    EXPECT_FALSE(limits.limits({telemetry::PowerGrid, 2, 1}).high);
    EXPECT_FALSE(limits.limits({telemetry::CurrentGrid, 7, 1}).low);

    EXPECT_EQ(limits.breach(battA, 45), "");
    EXPECT_EQ(limits.breach(battA, -10), "");
    EXPECT_EQ(limits.breach(battA, 45.1), "above the high limit of 45.0 °C");
    EXPECT_EQ(limits.breach(battA, -10.5), "below the low limit of -10.0 °C");
    EXPECT_EQ(limits.breach({telemetry::PowerGrid, 2, 1}, 5.4), "below the low limit of 5.50 V");
    EXPECT_EQ(limits.breach({telemetry::PowerGrid, 2, 1}, 1e9), "");
}

TEST(ChannelLimits, TheShippedFileIsReadWhole)
{
    history::ChannelLimits limits;
    EXPECT_TRUE(limits.load(QStringLiteral(ORVEX_SOURCE_DIR "/data/limits.txt")).isEmpty());
    EXPECT_FALSE(limits.isEmpty());
}

TEST(ChannelLimits, AnyLineEndIsReadAndWhatIsNotTakenIsToldWithFileAndLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("limits.txt");
    const auto write = [&path](const QByteArray &bytes) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    };
    history::ChannelLimits limits;
    write("# CR alone\rTEMP, Batt, A, -10, 45\rTEMP, Xmtr, A, -inf, 45\rTEMP, Xmtr\r");
    EXPECT_EQ(limits.load(path),
              (QStringList{path + " line 3: ignored, a limit is not a finite number.",
                           path + " line 4: ignored, 2 fields where a record has 5."}));
    EXPECT_EQ(limits.limits({telemetry::TempGrid, 8, 0}).high, 45);

    write(
        QByteArray("\xff\xfe") +
        QByteArray::fromRawData(reinterpret_cast<const char *>(u"TEMP, Batt, A, -10, 45\r\n"), 48));
    EXPECT_EQ(limits.load(path),
              QStringList{path +
                          " cannot be read: The file is in UTF-16 or UTF-32; it must be plain "
                          "text."});
    EXPECT_TRUE(limits.isEmpty());
}

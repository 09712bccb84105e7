// SPDX-License-Identifier: GPL-2.0-or-later
// APRS packets of every kind played through a real Dire Wolf, direct and via
// the satellite, kept by the running program and read back with tlmexport:
// field by field what Dire Wolf's decode_aprs reads in the same packets.
#include "StationFixture.h"
#include "aprs/HeardListModel.h"
#include "aprs/HeardListWindow.h"
#include "core/frmORVEX.h"
#include "support/DireWolfStation.h"
#include "support/Wait.h"
#include "unit/aprs/DecodeAprsRun.h"

#include "aprscodec/Frame.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

using orvex::test::DireWolfStation;
using orvex::test::waitUntil;

namespace {

// One of each kind the satellite carries, as stations send them.
const char *const packets[] = {
    "DL2ABC-7>APRS:!5230.53N/01322.85E-QTH Berlin",
    "N2ABC-9>APRS:@092345z4903.50N/07201.75W>088/036 commuting",
    "K6ABC-9>APRS:=/;E@n/SCN>7P[ San Francisco",
    "N1ABC-9>TR3P0W:`c_V<0x1f>ZO>/]\"4N}Mic-E comment=",
    "W9ABC>APRS:>Monitoring the ORVEX downlink",
    "N0ABC-9>APRS::DL1ABC-9 :See you on the next pass{17",
    "N0ABC-9>APRS::DL1ABC-9 :ack17",
    "N0ABC-9>APRS::DL1ABC-9 :rej17",
    "W1ABC>APRS:;LEADER   *092345z4903.50N/07201.75W>088/036Marathon leader",
    "W1ABC>APRS:)AID #2!4903.50N/07201.75WA first aid",
    "N0ABC-11>APRS:T#005,199,000,255,073,123,01101001 Garage",
    "N0ABC-10>APRS:<IGATE,MSG_CNT=3,LOC_CNT=49",
};

// The same packet as the satellite repeats it.
QString viaSatellite(const QString &line)
{
    QString via = line;
    via.insert(line.indexOf(QLatin1Char(':')), QStringLiteral(",ORVEX-1*"));
    return via;
}

QJsonArray exported(const QString &database)
{
    QProcess process;
    process.start(
        QStringLiteral(ORVEX_BINARY_DIR "/bin/tlmexport"),
        {database, QStringLiteral("--aprs"), QStringLiteral("--format"), QStringLiteral("json")});
    process.waitForFinished(60000);
    return QJsonDocument::fromJson(process.readAllStandardOutput()).array();
}

std::string field(const QJsonObject &row, const char *key)
{
    return row.value(QLatin1String(key)).toString().toStdString();
}

using StationAprs = StationDireWolf;

} // namespace

TEST_F(StationAprs, PacketsHeardDirectAndViaTheSatelliteAreExportedAsDecodeAprsReadsThem)
{
    QStringList played;
    for (const char *line : packets) {
        played.append(QString::fromLatin1(line));
        played.append(viaSatellite(QString::fromLatin1(line)));
    }
    QString error;
    ASSERT_TRUE(station.play(played, &error)) << error.toStdString();
    const QString database = file("telemetry.db");
    QJsonArray rows;
    ASSERT_TRUE(waitUntil(
        [&] {
            rows = exported(database);
            return rows.size() >= played.size();
        },
        120000))
        << rows.size() << " of " << played.size() << "\n"
        << station.log().toStdString();
    ASSERT_EQ(rows.size(), played.size());

    // decode_aprs on the same lines, and on one probe per symbol to learn
    // how it names each symbol.
    std::vector<std::string> input;
    for (const QString &line : played)
        input.push_back(line.toStdString());
    std::map<std::string, std::size_t> probes;
    for (const QJsonValue &row : rows) {
        const std::string symbol = field(row.toObject(), "symbol");
        if (symbol.size() == 2 && !probes.count(symbol)) {
            probes[symbol] = input.size();
            input.push_back(aprstest::probeLine({symbol[0], symbol[1]}));
        }
    }
    std::string runError;
    const std::vector<aprstest::DecodeAprsRecord> records =
        aprstest::runDecodeAprs(input, runError);
    ASSERT_TRUE(runError.empty()) << runError;

    const double tolerance = 0.5e-4 / 60 + 0.5e-6; // decode_aprs's 4 decimals of minutes, ours 6
    for (qsizetype i = 0; i < played.size(); ++i) {
        const QJsonObject row = rows[i].toObject();
        const std::string line = played[i].toStdString();
        SCOPED_TRACE(line);
        const aprs::Frame frame = *aprs::parseMonitorLine(line, aprs::InfoBytes::HexEscapes).frame;
        const std::string symbol = field(row, "symbol");
        const bool weather = symbol.size() == 2 && symbol[1] == '_';
        const aprstest::Reading reading =
            aprstest::readingOf(records[static_cast<std::size_t>(i)], weather);

        EXPECT_EQ(field(row, "source"), frame.source.text());
        EXPECT_EQ(field(row, "via"), i % 2 == 1 ? "ORVEX-1" : "");
        const std::string type = field(row, "type");
        EXPECT_EQ(type, aprs::typeName(reading.type));
        if (type == "object" || type == "item") {
            EXPECT_EQ(field(row, "name"), reading.name);
        }
        EXPECT_EQ(!row.value("latitude").isNull(), reading.latitudeShown);
        EXPECT_EQ(!row.value("longitude").isNull(), reading.longitudeShown);
        if (reading.latitudeShown) {
            EXPECT_NEAR(row.value("latitude").toDouble(), reading.latitude, tolerance);
        }
        if (reading.longitudeShown) {
            EXPECT_NEAR(row.value("longitude").toDouble(), reading.longitude, tolerance);
        }
        if (probes.count(symbol)) {
            const std::string named = aprstest::between(
                aprstest::readingOf(records[probes[symbol]], false).afterKind, ", ", ", Generic");
            EXPECT_TRUE(reading.afterKind.starts_with(", " + named))
                << symbol << " is \"" << named << "\"; decode_aprs \"" << reading.afterKind << "\"";
        }
        if (type == "message" || type == "ack" || type == "reject") {
            EXPECT_EQ(field(row, "addressee"), reading.addressee);
            EXPECT_EQ(field(row, "msgno"), reading.number);
        }
        // Other keeps the whole field, which decode_aprs does not show;
        // decode_aprs leaves a message's number in its text.
        if (type != "other") {
            std::string text = field(row, "text");
            if (type == "message" && !field(row, "msgno").empty())
                text += "{" + field(row, "msgno");
            EXPECT_EQ(text, reading.comment.value_or(""));
        } else {
            EXPECT_EQ(field(row, "text"), frame.info);
        }
    }

    // The heard list shows them, filtered by the path they came.
    auto *action = window()->findChild<QAction *>(QStringLiteral("heardStationsAction"));
    ASSERT_NE(action, nullptr);
    action->trigger();
    auto *list = window()->findChild<aprs::HeardListWindow *>();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->model->rowCount(), 9); // the different sources
    list->viaChoice->setCurrentIndex(aprs::HeardListWindow::ViaSatellite);
    EXPECT_EQ(list->model->rowCount(), 9);
    for (const aprs::HeardStation &heard : list->model->stations())
        EXPECT_FALSE(heard.direct) << heard.callsign.toStdString();
}

TEST_F(StationAprs, TheHeardListIsRebuiltFromTheStoreAtStart)
{
    QString error;
    ASSERT_TRUE(station.play({"DL2ABC-7>APRS,ORVEX-1*:!5230.53N/01322.85E-QTH Berlin",
                              "W9ABC>APRS:>Monitoring the ORVEX downlink"},
                             &error))
        << error.toStdString();
    const QString database = file("telemetry.db");
    ASSERT_TRUE(waitUntil([&] { return exported(database).size() == 2; }, 60000))
        << station.log().toStdString();
    program->window.reset();

    frmORVEX again(program->folder.path());
    ASSERT_TRUE(again.Load());
    again.findChild<QAction *>(QStringLiteral("heardStationsAction"))->trigger();
    auto *list = again.findChild<aprs::HeardListWindow *>();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->model->rowCount(), 2);
    const std::vector<aprs::HeardStation> &heard = list->model->stations();
    EXPECT_EQ(heard[0].callsign, "W9ABC");
    EXPECT_EQ(heard[0].comment, "Monitoring the ORVEX downlink");
    EXPECT_EQ(heard[1].callsign, "DL2ABC-7");
    EXPECT_TRUE(heard[1].viaSatellite);
    EXPECT_EQ(heard[1].locator, "JO62QM");
}

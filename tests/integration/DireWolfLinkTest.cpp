// SPDX-License-Identifier: GPL-2.0-or-later
// PKLINK against a real packet engine: Dire Wolf hearing recorded audio.

#include "pklink/PKLINK.h"
#include "support/DireWolfStation.h"
#include "support/Wait.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using orvex::test::DireWolfStation;
using orvex::test::waitUntil;

namespace {

struct Heard
{
    qint16 port;
    QString from;
    QString to;
    QByteArray data;
};

// The engine's monitor header: the text up to the first carriage return.
QByteArray headerOf(const QByteArray &data)
{
    return data.left(data.indexOf('\r'));
}

// The frame's own text: everything after the header's carriage return.
QByteArray textOf(const QByteArray &data)
{
    return data.mid(data.indexOf('\r') + 1);
}

class DireWolfLink : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QStringList missing = DireWolfStation::missingTools();
        if (!missing.isEmpty())
            GTEST_SKIP() << "not on PATH: " << missing.join(QStringLiteral(", ")).toStdString();
        QString error;
        ASSERT_TRUE(station.start(&error)) << error.toStdString();

        QObject::connect(&link, &PKLINK::MonUFrame, &link,
                         [this](qint16 intPort, const QString &strFromCall,
                                const QString &strToCall, const QByteArray &bData) {
                             heard.append({intPort, strFromCall, strToCall, bData});
                         });
        QObject::connect(&link, &PKLINK::MonTFrame, &link,
                         [this](qint16 intPort, const QString &strFromCall,
                                const QString &strToCall, const QByteArray &bData) {
                             sent.append({intPort, strFromCall, strToCall, bData});
                         });
        link.setAgwIpHost(QStringLiteral("127.0.0.1"));
        link.setAgwIpPort(station.agwPort());
    }

    std::string stationLog() const { return station.log().toStdString(); }

    DireWolfStation station;
    PKLINK link;
    QList<Heard> heard;
    QList<Heard> sent;
};

} // namespace

TEST_F(DireWolfLink, StartsTheLinkAndMonitorsWhatTheEngineHearsAndSends)
{
    QSignalSpy version(&link, &PKLINK::GotVersion);
    QSignalSpy ports(&link, &PKLINK::GotPortInfo);
    QSignalSpy capabilities(&link, &PKLINK::PortCapabilities);
    QSignalSpy errors(&link, &PKLINK::WsError);
    ASSERT_TRUE(link.ConnectToAgw());
    ASSERT_TRUE(waitUntil([&] { return version.size() == 1 && ports.size() == 1; }, 20000))
        << stationLog();
    EXPECT_GT(link.lngMajorVersion(), 0);
    ASSERT_GE(link.intPortCount(), 1);
    EXPECT_EQ(link.strPortInfo().size(), link.intPortCount());

    // Commands are taken in order: once this is answered, monitoring is on.
    ASSERT_TRUE(link.AskPortCapabilities(1));
    ASSERT_TRUE(capabilities.wait(20000)) << stationLog();

    const QStringList packets = {
        QStringLiteral("Q9ORV-1>CQ:T#001,123,045,067,089,100,00000000"),
        QStringLiteral("Q9ORV-2>CQ:T#002,200,201,202,203,204,11110000"),
        QStringLiteral("Q9ORV-1>APZ324,Q9DIGI*,WIDE2-1:>ORVEX beacon"),
    };
    QString error;
    ASSERT_TRUE(station.play(packets, &error)) << error.toStdString();
    ASSERT_TRUE(waitUntil([&] { return heard.size() >= 3; }, 60000)) << stationLog();

    EXPECT_EQ(heard[0].port, 1);
    EXPECT_EQ(heard[0].from, QStringLiteral("Q9ORV-1"));
    EXPECT_EQ(heard[0].to, QStringLiteral("CQ"));
    EXPECT_TRUE(headerOf(heard[0].data).startsWith(" 1:Fm Q9ORV-1 To CQ <UI "))
        << heard[0].data.constData();
    EXPECT_EQ(textOf(heard[0].data), QByteArray("T#001,123,045,067,089,100,00000000\r"));

    EXPECT_EQ(heard[1].from, QStringLiteral("Q9ORV-2"));
    EXPECT_EQ(textOf(heard[1].data), QByteArray("T#002,200,201,202,203,204,11110000\r"));

    EXPECT_EQ(heard[2].from, QStringLiteral("Q9ORV-1"));
    EXPECT_EQ(heard[2].to, QStringLiteral("APZ324"));
    EXPECT_TRUE(headerOf(heard[2].data).contains(" To APZ324 Via Q9DIGI"))
        << heard[2].data.constData();
    EXPECT_EQ(textOf(heard[2].data), QByteArray(">ORVEX beacon\r"));

    // What we send comes back as the engine's own transmission.
    ASSERT_TRUE(link.SendUnproto(1, QStringLiteral("q9abc"), QStringLiteral("CQ via WIDE1-1"),
                                 "HELLO ORVEX"));
    ASSERT_TRUE(waitUntil([&] { return !sent.isEmpty(); }, 60000)) << stationLog();
    EXPECT_EQ(sent[0].port, 1);
    EXPECT_EQ(sent[0].from, QStringLiteral("Q9ABC"));
    EXPECT_EQ(sent[0].to, QStringLiteral("CQ"));
    EXPECT_TRUE(headerOf(sent[0].data).startsWith(" 1:Fm Q9ABC To CQ Via WIDE1-1 <UI"))
        << sent[0].data.constData();
    EXPECT_EQ(textOf(sent[0].data), QByteArray("HELLO ORVEX\r"));

    // One event per frame heard, none twice.
    EXPECT_EQ(heard.size(), 3);
    EXPECT_EQ(sent.size(), 1);
    EXPECT_EQ(errors.size(), 0);
}

TEST_F(DireWolfLink, ClosingAndReopeningTheLink)
{
    QSignalSpy ports(&link, &PKLINK::GotPortInfo);
    QSignalSpy down(&link, &PKLINK::WsDisConnected);
    ASSERT_TRUE(link.ConnectToAgw());
    ASSERT_TRUE(ports.wait(20000)) << stationLog();
    EXPECT_TRUE(link.DisconnectFromAgw().toBool());
    EXPECT_EQ(down.size(), 1);
    ASSERT_TRUE(link.ConnectToAgw());
    ASSERT_TRUE(waitUntil([&] { return ports.size() == 2; }, 20000)) << stationLog();
    EXPECT_GE(link.intPortCount(), 1);
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "MessageBoxRecorder.h"
#include "SidsTestServer.h"
#include "core/frmORVEX.h"
#include "platform/DateTime.h"
#include "sharing/RawFrameMatcher.h"
#include "sharing/SidsUploadWindow.h"
#include "sharing/SidsUploader.h"
#include "support/DireWolfStation.h"
#include "support/Wait.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <gtest/gtest.h>

using orvex::test::DireWolfStation;
using orvex::test::waitUntil;

namespace {

const QByteArray orvexTelemetry = "T#090,178,130,096,188,098,230,00111100,4690";

// The whole station: Dire Wolf hears what the test plays, the main window
// shares ORVEX's frames with a local SiDS server, its Keps folder holds
// `elements`. The station's clock runs from 2026-12-09 16:00 UTC.
class SidsDireWolf : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QStringList missing = DireWolfStation::missingTools();
        if (!missing.isEmpty())
            GTEST_SKIP() << "not on PATH: " << missing.join(", ").toStdString();
        orvex::Clock::setSource([started = QDateTime::currentDateTimeUtc()] {
            return QDateTime(QDate(2026, 12, 9), QTime(16, 0), Qt::UTC)
                .addMSecs(started.msecsTo(QDateTime::currentDateTimeUtc()));
        });
    }
    void TearDown() override
    {
        window.reset();
        orvex::Clock::setSource({});
    }

    void start(const QByteArray &elements)
    {
        QString error;
        ASSERT_TRUE(engine.start(&error)) << error.toStdString();
        ASSERT_TRUE(server.listen());
        QFile::copy(ORVEX_SOURCE_DIR "/data/formula.txt", dir.filePath("formula.txt"));
        QDir(dir.path()).mkdir("Keps");
        QFile keps(dir.filePath("Keps/orvex.txt"));
        ASSERT_TRUE(keps.open(QIODevice::WriteOnly));
        keps.write(elements);
        keps.close();
        QFile ini(dir.filePath(
            QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".INI"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[AGWPE]\r\nHOST_ADDRESS=127.0.0.1\r\nHOST_PORT=" +
                  QByteArray::number(engine.agwPort()) +
                  "\r\n[SETUP]\r\nCALLSIGN=Q9ABC\r\nLATITUDE=4722.62N\r\nLONGITUDE=00832.50E\r\n"
                  "[SIDS]\r\nENABLED=TRUE\r\nURL=" +
                  server.url().toEncoded() + "\r\n");
        ini.close();
        window = std::make_unique<frmORVEX>(dir.path());
        ASSERT_TRUE(window->Load());
        ASSERT_TRUE(waitUntil([&] { return window->blnConectedToAgw(); }, 20000));
        ASSERT_TRUE(engine.play({"Q9AAA>APRS:!3859.50N/07701.23W-not the satellite",
                                 "ORVEX-3>TLM:" + QString::fromLatin1(orvexTelemetry),
                                 "ORVEX-4>TLM,WIDE1-1:T#091,1,2,3,4,5,6,00000000,1"},
                                &error))
            << error.toStdString();
    }

    DireWolfStation engine;
    SidsTestServer server;
    QTemporaryDir dir;
    MessageBoxRecorder boxes;
    std::unique_ptr<frmORVEX> window;
};

QByteArray fileText(const char *path)
{
    QFile file(QString::fromUtf8(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Frames heard through a real engine while real elements place ORVEX over
// the station (a geostationary set above it) reach the SiDS server as the
// raw frames that carried them, and the upload window tells what happened.
TEST_F(SidsDireWolf, HeardFramesOfTheSatelliteReachTheServerAsRawFrames)
{
    start(fileText(ORVEX_SOURCE_DIR "/tests/data/sharing/orvex-geostationary.txt"));
    ASSERT_TRUE(waitUntil([&] { return server.requests.size() == 2; }, 60000))
        << engine.log().toStdString();
    waitUntil([] { return false; }, 500);
    ASSERT_EQ(server.requests.size(), 2);

    const QUrlQuery first(QString::fromLatin1(server.requests[0].body));
    EXPECT_EQ(first.queryItemValue("source"), "Q9ABC");
    EXPECT_EQ(first.queryItemValue("noradID"), "26931");
    EXPECT_EQ(first.queryItemValue("latitude"), "47.3770N");
    EXPECT_NEAR(first.queryItemValue("elevation").toDouble(), 35.6, 0.5);
    const auto frame =
        sharing::parseUiFrame(QByteArray::fromHex(first.queryItemValue("frame").toLatin1()));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->source, "ORVEX-3");
    EXPECT_EQ(frame->info, orvexTelemetry);
    const QUrlQuery second(QString::fromLatin1(server.requests[1].body));
    EXPECT_EQ(sharing::parseUiFrame(QByteArray::fromHex(second.queryItemValue("frame").toLatin1()))
                  ->source,
              "ORVEX-4");

    // The upload window, from the main window's menu.
    QAction *menu = window->findChild<QAction *>("sidsUploadAction");
    ASSERT_TRUE(menu);
    menu->trigger();
    auto *view = window->findChild<sharing::SidsUploadWindow *>();
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->isVisible());
    EXPECT_TRUE(view->enabledCheck->isChecked());
    EXPECT_EQ(view->countsLabel->text(), "0 queued, 0 held, 2 sent, 0 refused");
    view->previewButton->click();
    EXPECT_EQ(view->previewText->toPlainText(), "No frame is waiting to be sent.");
}

// On the demo station ORVEX is computed from the demo's invented elements:
// its frames are held, and none goes out by itself.
TEST_F(SidsDireWolf, OnTheDemoStationNothingGoesOutByItself)
{
    start("# DEMO ELEMENTS: invented\n" +
          fileText(ORVEX_SOURCE_DIR "/tests/data/demo-elements.txt"));
    sharing::SidsUploader *uploader = window->sidsUploader();
    ASSERT_TRUE(waitUntil([&] { return uploader->counts().held == 2; }, 60000))
        << engine.log().toStdString();
    waitUntil([] { return false; }, 500); // time for a request, which must not come
    EXPECT_TRUE(server.requests.isEmpty());
    const auto *status = window->findChild<QLabel *>("sidsStatus");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->text(), "SiDS: 2 held");
}

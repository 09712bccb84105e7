// SPDX-License-Identifier: GPL-2.0-or-later
#include "MessageBoxRecorder.h"
#include "SidsTestServer.h"
#include "core/frmORVEX.h"
#include "sharing/RawFrameMatcher.h"
#include "sharing/SidsUploader.h"
#include "sharing/frmSidsUpload.h"
#include "support/DireWolfStation.h"
#include "support/Wait.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
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

// Frames heard through a real engine reach the SiDS server as the raw
// frames that carried them, and the upload window tells what happened.
TEST(SidsDireWolf, HeardFramesOfTheSatelliteReachTheServerAsRawFrames)
{
    const QStringList missing = DireWolfStation::missingTools();
    if (!missing.isEmpty())
        GTEST_SKIP() << "not on PATH: " << missing.join(", ").toStdString();
    DireWolfStation engine;
    QString error;
    ASSERT_TRUE(engine.start(&error)) << error.toStdString();
    SidsTestServer server;
    ASSERT_TRUE(server.listen());

    QTemporaryDir dir;
    QFile::copy(ORVEX_SOURCE_DIR "/data/formula.txt", dir.filePath("formula.txt"));
    QFile ini(dir.filePath(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                           ".INI"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(
        "[AGWPE]\r\nHOST_ADDRESS=127.0.0.1\r\nHOST_PORT=" + QByteArray::number(engine.agwPort()) +
        "\r\n[SETUP]\r\nCALLSIGN=Q9ABC\r\nLATITUDE=4722.62N\r\nLONGITUDE=00832.50E\r\n"
        "[SIDS]\r\nENABLED=TRUE\r\nURL=" +
        server.url().toEncoded() + "\r\n");
    ini.close();
    MessageBoxRecorder boxes;
    frmORVEX window(dir.path());
    ASSERT_TRUE(window.Load());
    ASSERT_TRUE(waitUntil([&] { return window.blnConectedToAgw(); }, 20000));

    const QByteArray telemetry = "T#090,178,130,096,188,098,230,00111100,4690";
    ASSERT_TRUE(engine.play({"Q9AAA>APRS:!3859.50N/07701.23W-not the satellite",
                             "ORVEX-3>TLM:" + QString::fromLatin1(telemetry),
                             "ORVEX-4>TLM,WIDE1-1:T#091,1,2,3,4,5,6,00000000,1"},
                            &error))
        << error.toStdString();
    ASSERT_TRUE(waitUntil([&] { return server.requests.size() == 2; }, 60000))
        << engine.log().toStdString();
    waitUntil([] { return false; }, 500);
    ASSERT_EQ(server.requests.size(), 2);

    const QUrlQuery first(QString::fromLatin1(server.requests[0].body));
    EXPECT_EQ(first.queryItemValue("source"), "Q9ABC");
    EXPECT_EQ(first.queryItemValue("noradID"), "26931");
    EXPECT_EQ(first.queryItemValue("latitude"), "47.3770N");
    const auto frame =
        sharing::parseUiFrame(QByteArray::fromHex(first.queryItemValue("frame").toLatin1()));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->source, "ORVEX-3");
    EXPECT_EQ(frame->info, telemetry);
    const QUrlQuery second(QString::fromLatin1(server.requests[1].body));
    EXPECT_EQ(sharing::parseUiFrame(QByteArray::fromHex(second.queryItemValue("frame").toLatin1()))
                  ->source,
              "ORVEX-4");

    // The upload window, from the main window's menu.
    QAction *menu = window.findChild<QAction *>("mnuSidsUpload");
    ASSERT_TRUE(menu);
    menu->trigger();
    auto *view = window.findChild<sharing::frmSidsUpload *>();
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->isVisible());
    EXPECT_TRUE(view->chkEnabled->isChecked());
    EXPECT_EQ(view->labCounts->text(), "0 queued, 2 sent, 0 failed");
    view->cmdPreview->click();
    EXPECT_EQ(view->txtPreview->toPlainText(), "No frame is waiting to be sent.");
}

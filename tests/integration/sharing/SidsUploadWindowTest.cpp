// SPDX-License-Identifier: GPL-2.0-or-later
#include "Ax25TestFrames.h"
#include "SidsTestServer.h"
#include "shared/clsIni.h"
#include "sharing/SidsUploader.h"
#include "sharing/frmSidsUpload.h"
#include "support/Wait.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace sharing;

// One flow through the window: refused without a station, an address that
// is no http(s) URL kept out, then on, a frame waiting, and its dry run.
TEST(SidsUploadWindow, SaysWhyItCannotShareAndShowsTheNextRequest)
{
    SidsTestServer offline;
    ASSERT_TRUE(offline.listen());
    offline.close();
    QTemporaryDir dir;
    clsIni ini(dir.filePath("orvexdecode.INI"));
    StationFacts facts{QString(), QString(), QString(), QStringLiteral("26931")};
    SidsUploader uploader(ini, dir.filePath("telemetry.db"), [&] { return facts; }, {});
    frmSidsUpload view(uploader);
    view.show();

    view.chkEnabled->click();
    EXPECT_FALSE(view.chkEnabled->isChecked());
    EXPECT_TRUE(view.labState->text().startsWith("No station callsign is set"));
    EXPECT_EQ(ini.GetIniString("SIDS", "ENABLED", "?"), "FALSE");

    view.txtUrl->setText("ftp://db.example/api/");
    emit view.txtUrl->editingFinished();
    EXPECT_TRUE(view.labState->text().contains("http://"));
    EXPECT_EQ(ini.GetIniString("SIDS", "URL", "?"), SidsUploader::defaultUrl);
    view.txtUrl->setText(offline.url().toString());
    emit view.txtUrl->editingFinished();
    EXPECT_EQ(ini.GetIniString("SIDS", "URL", "?"), offline.url().toString());

    facts = {QStringLiteral("Q9ZZZ-5"), QStringLiteral("4722.62N"), QStringLiteral("00832.50E"),
             QStringLiteral("26931")};
    view.chkEnabled->click();
    EXPECT_TRUE(view.chkEnabled->isChecked());
    EXPECT_EQ(ini.GetIniString("SIDS", "ENABLED", "?"), "TRUE");

    uploader.rawFrame(orvex::test::ax25UiFrame("ORVEX-11", "TLM", "T#1"));
    uploader.monitoredFrame("ORVEX-11", orvex::test::monitorText("ORVEX-11", "TLM", "T#1"));
    ASSERT_TRUE(
        orvex::test::waitUntil([&] { return view.labState->text().startsWith("Waiting"); }));
    EXPECT_EQ(view.labCounts->text(), "1 queued, 0 sent, 0 failed");
    EXPECT_TRUE(view.labLastError->text().contains("Not delivered"));
    EXPECT_EQ(uploader.statusText(), "SiDS: 1 queued");

    view.cmdPreview->click();
    const QString preview = view.txtPreview->toPlainText();
    EXPECT_TRUE(preview.startsWith("POST " + offline.url().toString() + "\n"));
    EXPECT_TRUE(preview.contains("\nnoradID=26931&source=Q9ZZZ-5&timestamp="));
    EXPECT_TRUE(preview.contains("\nlatitude = 47.3770N\n"));
    EXPECT_TRUE(offline.requests.isEmpty());
}

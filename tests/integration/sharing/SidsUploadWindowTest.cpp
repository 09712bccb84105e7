// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/SidsUploadWindow.h"
#include "Ax25TestFrames.h"
#include "SidsTestServer.h"
#include "shared/clsIni.h"
#include "sharing/SidsUploader.h"
#include "sharing/WrappedText.h"
#include "support/Wait.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace sharing;

namespace {

Sighting overhead(const QDateTime &)
{
    return {Sighting::Elements::Real, LookAngles{123.0, 45.0}};
}

// Every line of `text` as laid out fits its width.
bool wrappedToItsWidth(const WrappedText &text)
{
    const int width = text.viewport()->width();
    for (QTextBlock block = text.document()->begin(); block.isValid(); block = block.next())
        for (int i = 0; i < block.layout()->lineCount(); ++i)
            if (block.layout()->lineAt(i).naturalTextWidth() > width)
                return false;
    return true;
}

} // namespace

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
    database::StationDatabase database(dir.filePath("telemetry.db"));
    SidsUploader uploader(
        ini, database, [&] { return facts; }, overhead);
    database.open();
    SidsUploadWindow view(uploader);
    view.show();

    view.enabledCheck->click();
    EXPECT_FALSE(view.enabledCheck->isChecked());
    EXPECT_TRUE(view.stateText->text().startsWith("No station callsign is set"));
    EXPECT_EQ(ini.GetIniString("SIDS", "ENABLED", "?"), "FALSE");

    view.urlEdit->setText("ftp://db.example/api/");
    emit view.urlEdit->editingFinished();
    EXPECT_TRUE(view.stateText->text().contains("http://"));
    EXPECT_EQ(ini.GetIniString("SIDS", "URL", "?"), SidsUploader::defaultUrl);
    view.urlEdit->setText(offline.url().toString());
    emit view.urlEdit->editingFinished();
    EXPECT_EQ(ini.GetIniString("SIDS", "URL", "?"), offline.url().toString());

    facts = {QStringLiteral("Q9ZZZ-5"), QStringLiteral("4722.62N"), QStringLiteral("00832.50E"),
             QStringLiteral("26931")};
    view.enabledCheck->click();
    EXPECT_TRUE(view.enabledCheck->isChecked());
    EXPECT_EQ(ini.GetIniString("SIDS", "ENABLED", "?"), "TRUE");

    uploader.rawFrame(orvex::test::ax25UiFrame("ORVEX-11", "TLM", "T#1"));
    uploader.monitoredFrame("ORVEX-11", orvex::test::monitorText("ORVEX-11", "TLM", "T#1"));
    ASSERT_TRUE(
        orvex::test::waitUntil([&] { return view.stateText->text().startsWith("Waiting"); }));
    EXPECT_EQ(view.countsLabel->text(), "1 queued, 0 held, 0 sent, 0 refused");
    EXPECT_TRUE(view.lastErrorText->text().contains("Not delivered"));
    EXPECT_EQ(uploader.statusText(), "SiDS: 1 queued");

    view.previewButton->click();
    const QString preview = view.previewText->toPlainText();
    EXPECT_TRUE(preview.startsWith("POST " + offline.url().toString() + "\n"));
    EXPECT_TRUE(preview.contains("\nnoradID=26931&source=Q9ZZZ-5&timestamp="));
    EXPECT_TRUE(preview.contains("\nlatitude = 47.3770N\n"));
    EXPECT_TRUE(offline.requests.isEmpty());
}

// The held and the refused frames are listed with their reasons; the
// operator sends a held one and retries a refused one from the list. A
// server's 300-character word is wrapped and widens nothing.
TEST(SidsUploadWindow, ListsHeldAndRefusedFramesToSendOrRetryAndStaysOnTheScreen)
{
    SidsTestServer server;
    ASSERT_TRUE(server.listen());
    SidsTestServer::Answer refusal;
    refusal.status = 400;
    refusal.reason = "Bad Request";
    const QByteArray word(300, 'W');
    refusal.body = word;
    server.script(refusal);
    QTemporaryDir dir;
    clsIni ini(dir.filePath("orvexdecode.INI"));
    ini.SaveIniString("SIDS", "ENABLED", "TRUE");
    ini.SaveIniString("SIDS", "URL", server.url().toString());
    Sighting sighting{Sighting::Elements::Demo, LookAngles{123.0, 45.0}};
    database::StationDatabase database(dir.filePath("telemetry.db"));
    SidsUploader uploader(
        ini, database,
        [] {
            return StationFacts{QStringLiteral("Q9ZZZ-5"), QStringLiteral("4722.62N"),
                                QStringLiteral("00832.50E"), QStringLiteral("26931")};
        },
        [&](const QDateTime &) { return sighting; });
    database.open();
    SidsUploadWindow view(uploader);
    view.show();
    const auto hear = [&](const QByteArray &info) {
        uploader.rawFrame(orvex::test::ax25UiFrame("ORVEX-11", "TLM", info));
        uploader.monitoredFrame("ORVEX-11", orvex::test::monitorText("ORVEX-11", "TLM", info));
    };
    hear("T#1");
    sighting = overhead({});
    hear("T#2");
    ASSERT_TRUE(orvex::test::waitUntil([&] { return view.heldList->topLevelItemCount() == 2; }));

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(view.frameGeometry())) << view.frameGeometry().width() << " px";
    EXPECT_LE(view.minimumSizeHint().width(), screen.width());
    EXPECT_TRUE(view.lastErrorText->text().contains(QString::fromLatin1(word)));
    EXPECT_TRUE(wrappedToItsWidth(*view.lastErrorText));

    QTreeWidgetItem *held = view.heldList->topLevelItem(0);
    QTreeWidgetItem *refused = view.heldList->topLevelItem(1);
    EXPECT_EQ(refused->text(SidsUploadWindow::StateColumn), "Refused");
    EXPECT_EQ(held->text(SidsUploadWindow::StateColumn), "Held");
    EXPECT_EQ(held->text(SidsUploadWindow::FromColumn), "ORVEX-11");
    EXPECT_FALSE(view.sendHeldButton->isEnabled());
    EXPECT_FALSE(view.retryButton->isEnabled());

    refused->setSelected(true);
    EXPECT_TRUE(view.frameReasonText->text().endsWith(QString::fromLatin1(word)));
    EXPECT_FALSE(view.sendHeldButton->isEnabled());
    ASSERT_TRUE(view.retryButton->isEnabled());
    view.retryButton->click();
    ASSERT_TRUE(orvex::test::waitUntil([&] { return server.requests.size() == 2; }));
    ASSERT_TRUE(orvex::test::waitUntil([&] { return view.heldList->topLevelItemCount() == 1; }));

    // A frame held while the operator looks leaves the selection alone.
    view.heldList->topLevelItem(0)->setSelected(true);
    sighting.elements = Sighting::Elements::Demo;
    hear("T#3");
    ASSERT_TRUE(orvex::test::waitUntil([&] { return view.heldList->topLevelItemCount() == 2; }));
    ASSERT_EQ(view.heldList->selectedItems().size(), 1);
    EXPECT_EQ(view.heldList->selectedItems()[0], view.heldList->topLevelItem(0));
    EXPECT_TRUE(view.frameReasonText->text().contains("demo station's invented"));
    ASSERT_TRUE(view.sendHeldButton->isEnabled());
    view.sendHeldButton->click();
    ASSERT_TRUE(orvex::test::waitUntil([&] { return server.requests.size() == 3; }));
    EXPECT_TRUE(server.requests[2].body.contains(
        "frame=" + orvex::test::ax25UiFrame("ORVEX-11", "TLM", "T#1").toHex().toUpper()));
    EXPECT_FALSE(server.requests[2].body.contains("elevation")) << "the demo's angles are invented";
    EXPECT_TRUE(orvex::test::waitUntil([&] {
        return view.countsLabel->text() == "0 queued, 1 held, 2 sent, 0 refused";
    })) << view.countsLabel->text().toStdString();
    EXPECT_EQ(view.heldList->topLevelItemCount(), 1);
}

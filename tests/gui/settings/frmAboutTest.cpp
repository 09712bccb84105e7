// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/frmAbout.h"
#include "settings/AboutText.h"
#include "version.h"

#include "DialogDriver.h"
#include "QStringPrinter.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(frmAbout, ShowsTheVersionTexts)
{
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), "About The ORVEX Telemetry Decoder");
    EXPECT_EQ(driver::child<QLabel>(&about, "labAppTitle")->text(), "ORVEX Telemetry Decoder");
    EXPECT_EQ(driver::child<QLabel>(&about, "labVersion")->text(),
              orvex::versionLine(orvex::version::major, orvex::version::minor,
                                 orvex::version::revision,
                                 QString::fromLatin1(orvex::version::fileDescription)));
    EXPECT_TRUE(driver::child<QLabel>(&about, "labVersion")->text().startsWith("Version 2.4"));
    EXPECT_EQ(driver::child<QLabel>(&about, "labAuthor")->text(),
              QString::fromLatin1(orvex::version::comments));
    EXPECT_EQ(driver::child<QLabel>(&about, "labCopyright")->text(),
              QString::fromLatin1(orvex::version::legalCopyright) + "\r\n");
    const QString credits = driver::child<QLabel>(&about, "credits")->text();
    EXPECT_TRUE(credits.contains(QString::fromLatin1(orvex::version::author)));
    EXPECT_TRUE(credits.contains(orvex::creditsText()));
}

TEST(frmAbout, NamesTheDataFolderWhenGiven)
{
    EXPECT_EQ(frmAbout().findChild<QLabel *>("dataFolder"), nullptr);
    frmAbout about(nullptr, "/home/op/.local/share/orvexdecode");
    EXPECT_EQ(driver::child<QLabel>(&about, "dataFolder")->text(),
              "Settings, Keps and logs are kept in /home/op/.local/share/orvexdecode.");
    // The path is the system's: a "<b>" in it is no HTML.
    EXPECT_EQ(driver::child<QLabel>(&about, "dataFolder")->textFormat(), Qt::PlainText);
}

TEST(frmAbout, OkAndEscBothClose)
{
    for (const bool useEsc : {false, true}) {
        frmAbout about;
        driver::showAndActivate(&about);
        if (useEsc)
            QTest::keyClick(&about, Qt::Key_Escape);
        else
            QTest::mouseClick(driver::child<QPushButton>(&about, "cmdOk"), Qt::LeftButton);
        EXPECT_FALSE(about.isVisible()) << useEsc;
        EXPECT_EQ(about.result(), QDialog::Accepted) << useEsc;
    }
}

TEST(frmAbout, PictureIsDrawn)
{
    const QImage image = frmAbout::picture(64).toImage();
    ASSERT_EQ(image.size(), QSize(64, 64));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 5);
}

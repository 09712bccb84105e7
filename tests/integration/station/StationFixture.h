// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "MessageBoxRecorder.h"
#include "core/frmORVEX.h"
#include "platform/RichMonitor.h"
#include "support/DireWolfStation.h"
#include "support/Wait.h"
#include "terminal/frmTerm.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

// The program in a folder of its own, connected to Dire Wolf, with the
// satellite's frames shown in long form and the terminal logging.
class StationDireWolf : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QStringList missing = orvex::test::DireWolfStation::missingTools();
        if (!missing.isEmpty())
            GTEST_SKIP() << "not on PATH: " << missing.join(", ").toStdString();
        QString error;
        ASSERT_TRUE(station.start(&error)) << error.toStdString();
        QFile::copy(ORVEX_SOURCE_DIR "/data/formula.txt", dir.filePath("formula.txt"));
        QFile ini(dir.filePath(
            QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".INI"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[AGWPE]\r\nHOST_ADDRESS=127.0.0.1\r\nHOST_PORT=" +
                  QByteArray::number(station.agwPort()) +
                  "\r\n[SETUP]\r\nONLY_SHOW_ORVEX=FALSE\r\nCALLSIGN=Q9ABC\r\n"
                  "[TERMINAL]\r\nLOGGING=TRUE\r\nTO=CQ\r\nVIA=ORVEX-1\r\nPORT=1\r\n");
        ini.close();
        window = std::make_unique<frmORVEX>(dir.path());
        ASSERT_TRUE(window->Load());
        // Dire Wolf answers its first request only after up to a second.
        ASSERT_TRUE(orvex::test::waitUntil([&] { return window->blnConectedToAgw(); }, 20000))
            << station.log().toStdString();
        // The control takes a port number only once the port list has come,
        // which may be a read after the version the monitor shows first.
        ASSERT_TRUE(orvex::test::waitUntil([&] { return window->intPortCount() > 0; }, 20000));
    }

    QString monitorText() const { return window->txtMon()->toPlainText(); }
    QString terminalText() const
    {
        return window->terminal()->findChild<RichMonitor *>("rtbMon")->text();
    }
    QByteArray logFile() const
    {
        QFile log(dir.filePath("LOGS/" + QDate::currentDate().toString("yyyyMMdd") + ".TXT"));
        return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
    }

    orvex::test::DireWolfStation station;
    QTemporaryDir dir;
    MessageBoxRecorder boxes;
    std::unique_ptr<frmORVEX> window;
};

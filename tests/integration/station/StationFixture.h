// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "MessageBoxRecorder.h"
#include "core/frmORVEX.h"
#include "support/DireWolfStation.h"
#include "support/StationUnderTest.h"
#include "support/Wait.h"

#include <QDate>
#include <QFile>
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
        program = std::make_unique<orvex::test::StationUnderTest>(
            station.agwPort(), "CALLSIGN=Q9ABC\r\n"
                               "[TERMINAL]\r\nLOGGING=TRUE\r\nTO=CQ\r\nVIA=ORVEX-1\r\nPORT=1\r\n");
        ASSERT_TRUE(program->load());
        // Dire Wolf answers its first request only after up to a second.
        ASSERT_TRUE(program->waitForLink(20000)) << station.log().toStdString();
        // The control takes a port number only once the port list has come,
        // which may be a read after the version the monitor shows first.
        ASSERT_TRUE(orvex::test::waitUntil([&] { return window()->intPortCount() > 0; }, 20000));
    }

    frmORVEX *window() const { return program->window.get(); }
    QString file(const QString &name) const { return program->folder.file(name); }
    QString monitorText() const { return program->monitorText(); }
    QString terminalText() const { return program->terminalMonitor()->text(); }
    QByteArray logFile() const
    {
        QFile log(file("LOGS/" + QDate::currentDate().toString("yyyyMMdd") + ".TXT"));
        return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
    }

    orvex::test::DireWolfStation station;
    MessageBoxRecorder boxes;
    std::unique_ptr<orvex::test::StationUnderTest> program;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "MessageBoxRecorder.h"
#include "shared/clsIni.h"
#include "terminal/TerminalHost.h"
#include "terminal/frmTerm.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Runs the event loop until `condition` holds; false when it did not within
// the limit. (QTRY_ macros only return from the test function on failure,
// so gtest would never see it.)
inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 10000)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

// The main window as the terminal sees it; records every frame handed on.
class FakeHost : public TerminalHost
{
public:
    struct Frame
    {
        qint16 port;
        QString call;
        QString dest;
        QString text;
    };

    QString strCallsign() const override { return callsign; }
    QString strLat() const override { return lat; }
    QString strLong() const override { return lon; }
    QString strLoc() const override { return locator; }
    QString strComment() const override { return comment; }
    QString strAprsDest() const override { return aprsDest; }
    bool blnConectedToAgw() const override { return connected; }
    qint16 intPortCount() const override { return portCount; }
    bool SendUnproto(qint16 port, const QString &call, const QString &dest,
                     const QString &text) override
    {
        sent.append({port, call, dest, text});
        return connected;
    }

    QString callsign = QStringLiteral("Q9ZZZ");
    QString lat = QStringLiteral("3859.50N");
    QString lon = QStringLiteral("07701.23W");
    QString locator = QStringLiteral("FM18lv");
    QString comment;
    QString aprsDest = QStringLiteral("APZ36Q");
    bool connected = true;
    qint16 portCount = 0;
    QList<Frame> sent;
};

// A program folder of its own with the font and USER.INI of data/, and the
// terminal loaded on it.
class TerminalFixture : public ::testing::Test
{
protected:
    TerminalFixture()
    {
        QFile::copy(QStringLiteral(ORVEX_SOURCE_DIR "/data/glyphix.ttf"),
                    dir.filePath("glyphix.ttf"));
        QFile::copy(QStringLiteral(ORVEX_SOURCE_DIR "/data/USER.INI"), dir.filePath("USER.INI"));
        QFile::setPermissions(dir.filePath("USER.INI"), QFile::ReadOwner | QFile::WriteOwner |
                                                            QFile::ReadUser | QFile::WriteUser);
    }

    QString settingsFile() const { return dir.filePath(QStringLiteral("orvexdecode.INI")); }
    clsIni ini() const { return clsIni(settingsFile()); }
    QString setting(const QString &section, const QString &key) const
    {
        return ini().GetIniString(section, key, QStringLiteral("<missing>"));
    }

    void open()
    {
        term = std::make_unique<frmTerm>(host, dir.path(), settingsFile());
        term->Load();
    }
    void openShown()
    {
        open();
        term->show();
        QApplication::setActiveWindow(term.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(term.get()));
    }
    void unload() { term.reset(); }

    template <typename T> T *child(const char *name) const
    {
        T *found = term->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit *box(const char *name) const { return child<QLineEdit>(name); }

    QTemporaryDir dir;
    FakeHost host;
    MessageBoxRecorder boxes;
    std::unique_ptr<frmTerm> term;
};

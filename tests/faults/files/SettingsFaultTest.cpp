// SPDX-License-Identifier: GPL-2.0-or-later
// Settings files that cannot be written: a full disk, a folder in the way of
// the file, a file in the way of its folder. The old file stays byte for
// byte, the program runs on, and the user hears of it once.
#include "FileFaults.h"
#include "MessageBoxRecorder.h"
#include "core/frmORVEX.h"
#include "platform/ProfileStore.h"
#include "shared/clsIni.h"
#include "support/Wait.h"

#include <QAction>
#include <QMenuBar>
#include <cerrno>
#include <gtest/gtest.h>

using orvex::ProfileStore;
using orvex::test::entriesOf;
using orvex::test::FullDisk;
using orvex::test::ProgramFolder;
using orvex::test::readBytes;
using orvex::test::writeBytes;

namespace {

const QByteArray storedSettings = "; the station's own\r\n[SETUP]\r\nCALLSIGN=Q9ZZZ-5\r\n"
                                  "LATITUDE=3859.50N\r\n[SIDES]\r\nA=1\r\n";

// Records what the store reports, for the length of one test.
class FailureLog
{
public:
    struct Failure
    {
        QString file;
        QString reason;
    };
    FailureLog()
    {
        ProfileStore::setWriteFailureHook([this](const QString &file, const QString &reason) {
            seen.append({file, reason});
        });
    }
    ~FailureLog() { ProfileStore::setWriteFailureHook({}); }

    QList<Failure> seen;
};

QStringList warningsIn(const MessageBoxRecorder &boxes)
{
    QStringList warnings;
    for (const QString &text : boxes.texts())
        if (text.startsWith(QLatin1String("The settings file ")))
            warnings << text;
    return warnings;
}

QString expectedWarningStart(const QString &file)
{
    return QStringLiteral("The settings file ") + QDir::toNativeSeparators(file) +
           QStringLiteral(" cannot be written: ");
}

const QString warningEnd = QStringLiteral(
    ". The program goes on with the settings it has; changes made now will not be kept.");

} // namespace

TEST(SettingsStoreFaults, AFullDiskLeavesTheOldFileByteForByteAndNamesTheReason)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("orvexdecode.INI"));
    writeBytes(file, storedSettings);
    FailureLog failures;
    clsIni ini(file);
    {
        FullDisk full(8); // a new file gets 8 bytes at most
        ASSERT_TRUE(full.active());
        ini.SaveIniString("SETUP", "CALLSIGN", "Q9AAA");
        ini.GetIniStringWriteDefault("SETUP", "COMMENT", "new key");
        ini.DeleteKey("SETUP", "LATITUDE");
        ini.DeleteSection("SIDES");
        // What changes nothing writes nothing, and so cannot fail.
        ini.SaveIniString("SETUP", "CALLSIGN", "Q9ZZZ-5");
        ini.DeleteKey("SETUP", "MISSING");
    }
    EXPECT_EQ(readBytes(file), storedSettings);
    EXPECT_EQ(entriesOf(dir.path()), QStringList{"orvexdecode.INI"}) << "no temporary file left";
    EXPECT_EQ(ini.GetIniString("SETUP", "CALLSIGN", ""), "Q9ZZZ-5");

    ASSERT_EQ(failures.seen.size(), 4);
    for (const auto &failure : failures.seen) {
        EXPECT_EQ(failure.file, file);
        EXPECT_EQ(failure.reason, qt_error_string(EFBIG));
    }

    // The store keeps no state: once there is room, writes work again.
    ini.SaveIniString("SETUP", "CALLSIGN", "Q9AAA");
    EXPECT_EQ(ini.GetIniString("SETUP", "CALLSIGN", ""), "Q9AAA");
    EXPECT_EQ(failures.seen.size(), 4);
}

TEST(SettingsStoreFaults, AMissingFileIsNotCreatedHalfOnAFullDisk)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("orvexdecode.INI"));
    FailureLog failures;
    clsIni ini(file);
    {
        FullDisk full(8);
        ASSERT_TRUE(full.active());
        EXPECT_EQ(ini.GetIniStringWriteDefault("SETUP", "CALLSIGN", "a default"), "a default");
    }
    EXPECT_TRUE(entriesOf(dir.path()).isEmpty());
    EXPECT_EQ(failures.seen.size(), 1);
}

TEST(SettingsStoreFaults, PathsInTheWayGiveDefaultsAndAreLeftAlone)
{
    QTemporaryDir dir;
    // A plain file where the settings folder should be (ENOTDIR) ...
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    writeBytes(blocker, "not a folder");
    // ... and a folder where the settings file should be (EISDIR).
    const QString folderFile = dir.filePath(QStringLiteral("folder.INI"));
    ASSERT_TRUE(QDir().mkpath(folderFile));

    for (const QString &file : {blocker + QStringLiteral("/orvexdecode.INI"), folderFile}) {
        SCOPED_TRACE(file.toStdString());
        FailureLog failures;
        clsIni ini(file);
        EXPECT_EQ(ini.GetIniStringWriteDefault("SETUP", "CALLSIGN", "Q9ZZZ"), "Q9ZZZ");
        ini.SaveIniString("SETUP", "LATITUDE", "3859.50N");
        EXPECT_EQ(ini.GetIniString("SETUP", "LATITUDE", "<default>"), "<default>");
        EXPECT_EQ(ini.LoadAllKeysInSection("SETUP")[0], QStringList{QString()});
        ASSERT_EQ(failures.seen.size(), 2);
        EXPECT_EQ(failures.seen[0].file, file);
        EXPECT_FALSE(failures.seen[0].reason.isEmpty());
    }
    EXPECT_EQ(readBytes(blocker), "not a folder");
    EXPECT_TRUE(QFileInfo(folderFile).isDir());
    EXPECT_TRUE(entriesOf(folderFile).isEmpty());
}

TEST(SettingsFaultsInTheProgram, StartingOnAFullDiskRunsOnTheStoredSettingsAndWarnsOnce)
{
    ProgramFolder folder;
    writeBytes(folder.iniFile(), storedSettings);
    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    {
        FullDisk full(16);
        ASSERT_TRUE(full.active());
        ASSERT_TRUE(window.Load());
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.strCallsign(), "Q9ZZZ-5");
        EXPECT_NEAR(window.stationLatitude(), 38.991666, 1e-5);
        // More failed writes in the same run, and the shutdown's: no more boxes.
        window.setStrCallsign(QStringLiteral("Q9AAA"));
        window.close();
    }
    EXPECT_EQ(folder.ini(), storedSettings);
    const QStringList warnings = warningsIn(boxes);
    ASSERT_EQ(warnings.size(), 1) << boxes.texts().join('\n').toStdString();
    EXPECT_EQ(warnings[0],
              expectedWarningStart(folder.iniFile()) + qt_error_string(EFBIG) + warningEnd);
    EXPECT_EQ(boxes.seen.first().icon, QMessageBox::Warning);
    EXPECT_EQ(boxes.seen.first().title, "ORVEX Telemetry Decoder");
    EXPECT_EQ(boxes.seen.first().text, warnings[0]) << "told before the start-up messages";
    EXPECT_TRUE(boxes.texts().contains("No Keps found for ORVEX and ISS."));
}

TEST(SettingsFaultsInTheProgram, AFolderInPlaceOfTheSettingsFileGivesTheDefaultsAndOneWarning)
{
    ProgramFolder folder;
    ASSERT_TRUE(QDir().mkpath(folder.iniFile()));
    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    ASSERT_TRUE(window.Load());
    EXPECT_EQ(window.strAgwHost(), "localhost");
    EXPECT_EQ(window.intAgwPort(), 8000);
    window.close();
    const QStringList warnings = warningsIn(boxes);
    ASSERT_EQ(warnings.size(), 1) << boxes.texts().join('\n').toStdString();
    EXPECT_TRUE(warnings[0].startsWith(expectedWarningStart(folder.iniFile())));
    EXPECT_TRUE(QFileInfo(folder.iniFile()).isDir());
    EXPECT_TRUE(entriesOf(folder.iniFile()).isEmpty());
}

TEST(SettingsFaultsInTheProgram, ASettingThatCannotBeStoredLaterIsToldWhenControlIsBack)
{
    ProgramFolder folder;
    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    ASSERT_TRUE(window.Load());
    const QByteArray before = folder.ini();
    ASSERT_TRUE(before.contains("ONLY_SHOW_ORVEX=TRUE\r\n"));
    const qsizetype boxesBefore = boxes.seen.size();
    QAction *onlyShow = window.menuBar()->findChild<QAction *>("mnuOnlyShowORVEX");
    ASSERT_NE(onlyShow, nullptr);
    {
        FullDisk full(16);
        ASSERT_TRUE(full.active());
        onlyShow->trigger();
        EXPECT_EQ(boxes.seen.size(), boxesBefore) << "no box from inside the write";
        onlyShow->trigger();
        onlyShow->trigger();
        EXPECT_TRUE(orvex::test::waitUntil([&] { return !warningsIn(boxes).isEmpty(); }));
    }
    EXPECT_FALSE(window.blnOnlyShowOrvex()) << "the program goes on with the new choice";
    EXPECT_EQ(folder.ini(), before);
    EXPECT_EQ(warningsIn(boxes).size(), 1);
    EXPECT_EQ(boxes.seen.last().ownerTitle, window.windowTitle());
}

TEST(SettingsFaultsInTheProgram, ShutdownOnAFullDiskKeepsTheOldFileAndSaysSo)
{
    ProgramFolder folder;
    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    ASSERT_TRUE(window.Load());
    window.ChangeSat();
    window.move(window.x() + 40, window.y() + 30);
    const QByteArray before = folder.ini();
    ASSERT_TRUE(before.contains("OBJ_INDEX=0\r\n"));
    {
        FullDisk full(16);
        ASSERT_TRUE(full.active());
        window.close();
    }
    EXPECT_EQ(folder.ini(), before);
    const QStringList warnings = warningsIn(boxes);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_EQ(boxes.seen.last().text, warnings[0]);
    const QString iniName = QFileInfo(folder.iniFile()).fileName();
    EXPECT_EQ(entriesOf(folder.path()).filter(iniName), QStringList{iniName})
        << "no temporary settings file left";
}

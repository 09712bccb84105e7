// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/frmDownload.h"
#include "MessageBoxRecorder.h"
#include "TestHttpServer.h"
#include "orbit/LineEndConverter.h"
#include "platform/HttpTransfer.h"
#include "shared/clsIni.h"
#include "support/FullDisk.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cerrno>

#include <functional>
#include <memory>

namespace {

const QByteArray issName = "ISS (ZARYA)";
const QByteArray issLine1 = "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927";
const QByteArray issLine2 = "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537";

QByteArray elementSet(const QByteArray &lineEnd)
{
    return issName + lineEnd + issLine1 + lineEnd + issLine2 + lineEnd;
}

// An element file of CR LF lines whose byte 8191 is a CR and 8192 its LF,
// so that the pair is split between the first two blocks of 8192.
QByteArray crLfAcrossBlocks()
{
    QByteArray text = elementSet("\r\n");
    while (text.size() < 8192 - 250)
        text += elementSet("\r\n");
    text += QByteArray(8191 - text.size(), 'x') + "\r\n";
    text += elementSet("\r\n") + elementSet("\r\n");
    return text;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class ProgramFolder
{
public:
    QString path() const { return dir.path(); }
    QString file(const QString &name) const { return dir.filePath(name); }
    QString iniFile() const
    {
        return file(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".INI");
    }
    void setAddresses(const QString &file1, const QString &file2) const
    {
        clsIni ini(iniFile());
        ini.SaveIniString("KEPS", "FILE_1", file1);
        ini.SaveIniString("KEPS", "FILE_2", file2);
    }
    void put(const QString &name, const QByteArray &data) const
    {
        QDir(path()).mkpath(QFileInfo(file(name)).path());
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    QTemporaryDir dir;
};

struct DownloadRun
{
    bool result = false;
    QStringList status; // the status lines, without their CR LF
    QList<MessageBoxRecorder::Seen> boxes;
    bool closedItself = false; // the window closed after its final message
};

// Opens the window as the menu does, presses Download, and lets the run go
// on until the window closes itself; `closeWhen` presses Cancel once it
// holds for the status text (for runs that stop with the window open).
DownloadRun download(const ProgramFolder &folder,
                     std::function<bool(const QString &)> closeWhen = {},
                     std::function<void(frmDownload &)> beforeStart = {})
{
    DownloadRun run;
    MessageBoxRecorder boxes;
    frmDownload form(folder.path());
    form.Inet1()->setTransferTimeout(10000);
    bool cancelled = false;
    QTimer driver;
    QDeadlineTimer watchdog(60000);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (!form.isVisible())
            return;
        if (!cancelled && ((closeWhen && closeWhen(form.statusText())) || watchdog.hasExpired())) {
            cancelled = true;
            form.cmdCancel()->click();
        }
    });
    QTimer::singleShot(0, &form, [&] {
        if (beforeStart)
            beforeStart(form);
        form.cmdDownload()->click();
        driver.start(10);
    });
    run.result = form.DownloadKeps();
    EXPECT_FALSE(watchdog.hasExpired()) << "the run did not end";
    run.closedItself = !cancelled;
    run.boxes = boxes.seen;
    run.status = form.statusText().split("\r\n");
    if (!run.status.isEmpty() && run.status.last().isEmpty())
        run.status.removeLast();
    return run;
}

const QStringList connecting(const QString &host)
{
    return {"Resolving host", "Resolved host", "Attempting to connect to - " + host, "Connected",
            "Request sent"};
}

// The lines of one successful file: Getting, the connect sequence, data
// lines, then the final line.
void expectFileLines(const QStringList &lines, const QString &name, const QString &host,
                     const QString &last)
{
    ASSERT_GE(lines.size(), 8);
    EXPECT_EQ(lines.first(), "Getting " + name);
    EXPECT_EQ(lines.mid(1, 5), connecting(host));
    for (qsizetype i = 6; i + 1 < lines.size(); ++i)
        EXPECT_EQ(lines[i], "Received some data");
    EXPECT_EQ(lines.last(), last);
}

} // namespace

TEST(DownloadKeps, InstallsAnElementFileByteForByteAndSaysSo)
{
    TestHttpServer server;
    const QByteArray body = crLfAcrossBlocks();
    server.serve("/NORAD/elements/amateur.txt", body);
    ProgramFolder folder;
    folder.setAddresses(server.hostAndPort() + "/NORAD/elements/amateur.txt", "");

    const DownloadRun run = download(folder);
    EXPECT_TRUE(run.result);
    EXPECT_TRUE(run.closedItself);
    EXPECT_EQ(readAll(folder.file("Keps/amateur.txt")), body + "\r\n");
    expectFileLines(run.status, "amateur.txt", "127.0.0.1", "amateur.txt has been downloaded");
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_EQ(run.boxes[0].text, "The Keps have been downloaded.");
    EXPECT_EQ(run.boxes[0].icon, QMessageBox::Information);
    EXPECT_EQ(run.boxes[0].title, "ORVEX Telemetry Decoder");
}

TEST(DownloadKeps, TheClosingMessageSaysWhatTheOwnerFoundInTheInstalledFiles)
{
    TestHttpServer server;
    server.serve("/NORAD/elements/amateur.txt", crLfAcrossBlocks());
    ProgramFolder folder;
    folder.setAddresses(server.hostAndPort() + "/NORAD/elements/amateur.txt", "");

    QStringList seen;
    const DownloadRun run = download(folder, {}, [&](frmDownload &form) {
        form.setAfterInstall([&](const QStringList &installed) {
            seen = installed;
            return QStringLiteral("ORVEX now uses a new set.");
        });
    });
    EXPECT_TRUE(run.result);
    EXPECT_EQ(seen, QStringList{"amateur.txt"});
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_EQ(run.boxes[0].text, "The Keps have been downloaded.\n\nORVEX now uses a new set.");
}

TEST(DownloadKeps, AFileWithoutOrvexKeepsOrvexsSetAndTheMessageSaysSo)
{
    const QByteArray orvex =
        "ORVEX\r\n"
        "1 26931U 01043C   26342.00000000  .00000512  00000-0  65000-4 0  9999\r\n"
        "2 26931  97.6012  52.1809 0011873  84.4671 275.7904 14.98021546875704\r\n";
    TestHttpServer server;
    server.serve("/amateur.txt", elementSet("\r\n"));
    ProgramFolder folder;
    folder.put("Keps/amateur.txt", orvex);
    folder.setAddresses(server.hostAndPort() + "/amateur.txt", "");
    clsIni(folder.iniFile()).SaveIniString("SETUP", "ORVEX_OBJ_NUM", "26931");

    const DownloadRun run = download(folder);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(readAll(folder.file("Keps/amateur.txt")), elementSet("\r\n") + "\r\n" + orvex);
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_EQ(run.boxes[0].text, "The Keps have been downloaded.\r\nFile 1 - The new amateur.txt "
                                 "lacks ORVEX (26931); the set the old file held was kept.");
}

TEST(DownloadKeps, BareLfAndBareCrFilesAreInstalledWithCrLf)
{
    TestHttpServer server;
    QByteArray lf = elementSet("\n");
    QByteArray cr = elementSet("\r");
    // Long enough to be cut into blocks on the way.
    for (int i = 0; i < 150; ++i) {
        lf += elementSet("\n");
        cr += elementSet("\r");
    }
    server.serve("/one/lf.txt", lf);
    server.serve("/two/cr.txt", cr);
    ProgramFolder folder;
    folder.setAddresses(server.hostAndPort() + "/one/lf.txt", server.hostAndPort() + "/two/cr.txt");

    const DownloadRun run = download(folder);
    EXPECT_TRUE(run.result);
    QByteArray crlf = elementSet("\r\n").repeated(151) + "\r\n";
    EXPECT_EQ(readAll(folder.file("Keps/lf.txt")), crlf);
    EXPECT_EQ(readAll(folder.file("Keps/cr.txt")), crlf);

    const qsizetype blank = run.status.indexOf("");
    ASSERT_GT(blank, 0) << "an empty line before the second file";
    expectFileLines(run.status.mid(0, blank), "lf.txt", "127.0.0.1", "lf.txt has been downloaded");
    expectFileLines(run.status.mid(blank + 1), "cr.txt", "127.0.0.1", "cr.txt has been downloaded");
    EXPECT_EQ(server.requests, QList<QByteArray>({"/one/lf.txt", "/two/cr.txt"}));
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_EQ(run.boxes[0].text, "The Keps have been downloaded.");
}

TEST(DownloadKeps, WebPageOrGarbageNeverReplacesAGoodFile)
{
    const QByteArray page = "<HTML>\r\n<HEAD><TITLE>Document Moved</TITLE></HEAD>\r\n"
                            "<BODY><H1>Object Moved</H1>This document may be found "
                            "<A HREF=\"http://elsewhere/amateur.txt\">here</A></BODY></HTML>";
    QByteArray garbage;
    for (int i = 0; i < 400; ++i)
        garbage += static_cast<char>((i * 37) % 251 + 1);
    const struct
    {
        QByteArray body;
        QString reason;
    } cases[] = {{page, "The data appears to be an HTML file. "},
                 {garbage, "The data is not an element file: 0 of its 5 lines are parts of "
                           "element sets. "}};
    for (const auto &[body, reason] : cases) {
        TestHttpServer server;
        server.serve("/amateur.txt", body);
        ProgramFolder folder;
        const QByteArray good = elementSet("\r\n");
        folder.put("Keps/amateur.txt", good);
        folder.setAddresses(server.hostAndPort() + "/amateur.txt", "");

        const DownloadRun run = download(folder);
        EXPECT_FALSE(run.result) << "nothing was installed";
        EXPECT_EQ(readAll(folder.file("Keps/amateur.txt")), good);
        EXPECT_EQ(readAll(folder.file("File1.HTML")), LineEndConverter::convert(body + "\r\n"));
        EXPECT_EQ(QDir(folder.file("Keps")).entryList(QDir::Files), QStringList{"amateur.txt"});
        EXPECT_EQ(run.status.last(), "amateur.txt has been downloaded");
        ASSERT_EQ(run.boxes.size(), 1);
        EXPECT_EQ(run.boxes[0].text,
                  "The Keps have been downloaded.\r\nThe following errors occurred - \r\n"
                  "File 1 - " +
                      reason + "Have a look at " +
                      QDir::toNativeSeparators(folder.file("File1.HTML")));
    }
}

TEST(DownloadKeps, ShortDownloadIsAnError)
{
    TestHttpServer server;
    server.serve("/short.txt", QByteArray("1 25544U 98067A\r\n"));
    ProgramFolder folder;
    folder.put("Keps/short.txt", elementSet("\r\n"));
    folder.setAddresses(server.hostAndPort() + "/short.txt", "");

    const DownloadRun run = download(folder);
    EXPECT_FALSE(run.result);
    EXPECT_EQ(readAll(folder.file("Keps/short.txt")), elementSet("\r\n"));
    EXPECT_EQ(run.status.last(), "Error - short.txt is too short to be an element file");
    EXPECT_FALSE(run.status.contains("short.txt has been downloaded"));
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_EQ(run.boxes[0].text,
              "The Keps have been downloaded.\r\nThe following errors occurred - "
              "\r\nFile 1 - short.txt is too short to be an element file");
}

TEST(DownloadKeps, RedirectIsFollowedAndTheFileKeepsItsTypedName)
{
    TestHttpServer server;
    const QByteArray body = elementSet("\r\n");
    server.serve("/current/elements.txt", body);
    server.redirect("/NORAD/elements/amateur.txt", 301, "/current/elements.txt");
    ProgramFolder folder;
    folder.setAddresses(server.hostAndPort() + "/NORAD/elements/amateur.txt", "");

    const DownloadRun run = download(folder);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(readAll(folder.file("Keps/amateur.txt")), body + "\r\n");
    EXPECT_FALSE(QFile::exists(folder.file("Keps/elements.txt")));
    EXPECT_EQ(run.status.last(), "amateur.txt has been downloaded");
    EXPECT_EQ(run.status.count("Resolving host"), 2) << "once for each hop";
}

TEST(DownloadKeps, NotFoundStopsTheRunAndLeavesTheWindowOpen)
{
    TestHttpServer server;
    server.serve("/two.txt", elementSet("\r\n"));
    ProgramFolder folder;
    folder.put("Keps/gone.txt", elementSet("\r\n"));
    folder.setAddresses(server.hostAndPort() + "/gone.txt", server.hostAndPort() + "/two.txt");

    const DownloadRun run =
        download(folder, [](const QString &status) { return status.contains("Error - "); });
    EXPECT_FALSE(run.result);
    EXPECT_FALSE(run.closedItself);
    EXPECT_EQ(run.status.last(), "Error - Not Found 404");
    EXPECT_TRUE(run.boxes.isEmpty());
    EXPECT_EQ(server.requests, QList<QByteArray>{"/gone.txt"}) << "the second file is not fetched";
    EXPECT_EQ(readAll(folder.file("Keps/gone.txt")), elementSet("\r\n"));
}

TEST(DownloadKeps, FirstFileInstalledBeforeTheSecondFailsStillCounts)
{
    TestHttpServer server;
    server.serve("/one.txt", elementSet("\n"));
    ProgramFolder folder;
    folder.setAddresses(server.hostAndPort() + "/one.txt", server.hostAndPort() + "/missing.txt");

    const DownloadRun run =
        download(folder, [](const QString &status) { return status.contains("Error - "); });
    EXPECT_TRUE(run.result);
    EXPECT_TRUE(run.status.contains("one.txt has been downloaded"));
    EXPECT_TRUE(run.status.contains("Getting missing.txt"));
    EXPECT_EQ(run.status.last(), "Error - Not Found 404");
    EXPECT_TRUE(run.boxes.isEmpty());
}

TEST(DownloadKeps, SlowServerIsWaitedFor)
{
    TestHttpServer server;
    TestHttpServer::Answer slow;
    slow.body = elementSet("\r\n").repeated(6);
    slow.trickleBytes = 64;
    slow.trickleEveryMs = 30;
    server.serve("/slow.txt", slow);
    ProgramFolder folder;
    folder.setAddresses(server.hostAndPort() + "/slow.txt", "");

    const DownloadRun run = download(folder);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(readAll(folder.file("Keps/slow.txt")), slow.body + "\r\n");
    EXPECT_GT(run.status.count("Received some data"), 1);
}

TEST(DownloadKeps, ServerThatNeverAnswersEndsInAnError)
{
    TestHttpServer server;
    TestHttpServer::Answer silent;
    silent.neverAnswer = true;
    server.serve("/silent.txt", silent);
    ProgramFolder folder;
    folder.setAddresses(server.hostAndPort() + "/silent.txt", "");

    const DownloadRun run = download(
        folder, [](const QString &status) { return status.contains("Error - "); },
        [](frmDownload &form) { form.Inet1()->setTransferTimeout(300); });
    EXPECT_FALSE(run.result);
    EXPECT_TRUE(run.status.last().startsWith("Error - Request timed out"))
        << run.status.last().toStdString();
}

TEST(DownloadKeps, OnlyTheSecondAddressSet)
{
    TestHttpServer server;
    server.serve("/b/second.txt", elementSet("\r\n"));
    ProgramFolder folder;
    folder.setAddresses("", server.hostAndPort() + "/b/second.txt");

    const DownloadRun run = download(folder);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(run.status.first(), "Getting second.txt");
    EXPECT_EQ(server.requests, QList<QByteArray>{"/b/second.txt"});
    EXPECT_TRUE(QFile::exists(folder.file("Keps/second.txt")));
}

TEST(DownloadKeps, AddressWithItsOwnSchemeIsUsedAsTyped)
{
    TestHttpServer server;
    server.serve("/a.txt", elementSet("\r\n"));
    ProgramFolder folder;
    folder.setAddresses("  http://" + server.hostAndPort() + "/a.txt  ", "");

    const DownloadRun run = download(folder);
    EXPECT_TRUE(run.result);
    EXPECT_TRUE(QFile::exists(folder.file("Keps/a.txt")));
    EXPECT_EQ(server.requests, QList<QByteArray>{"/a.txt"});
    EXPECT_EQ(clsIni(folder.iniFile()).GetIniString("KEPS", "FILE_1", "?"),
              "http://" + server.hostAndPort() + "/a.txt");
}

TEST(DownloadKeps, QueryInTheAddressDoesNotBecomePartOfTheName)
{
    TestHttpServer server;
    server.serve("/gp.php?GROUP=amateur&FORMAT=tle", elementSet("\r\n"));
    ProgramFolder folder;
    folder.setAddresses(server.hostAndPort() + "/gp.php?GROUP=amateur&FORMAT=tle", "");

    const DownloadRun run = download(folder);
    EXPECT_TRUE(run.result);
    EXPECT_EQ(QDir(folder.file("Keps")).entryList(QDir::Files), QStringList{"gp.php"});
}

TEST(DownloadKeps, BothBlankFetchesAndStoresNothing)
{
    TestHttpServer server;
    ProgramFolder folder;
    folder.setAddresses("host/dir/", "");
    const QByteArray iniBefore = readAll(folder.iniFile());

    const DownloadRun run = download(
        folder, [](const QString &) { return true; },
        [](frmDownload &form) {
            form.txtFile(0)->setText("   ");
            form.txtFile(1)->setText("host/elements/");
        });
    EXPECT_FALSE(run.result);
    ASSERT_GE(run.boxes.size(), 1);
    EXPECT_EQ(run.boxes[0].text, "Both URLs are blank!");
    EXPECT_EQ(run.boxes[0].icon, QMessageBox::Warning);
    EXPECT_EQ(readAll(folder.iniFile()), iniBefore);
    EXPECT_TRUE(server.requests.isEmpty());
}

TEST(DownloadKeps, FirstOpeningWritesTheDefaultAddresses)
{
    ProgramFolder folder;
    MessageBoxRecorder boxes;
    frmDownload form(folder.path());
    QTimer::singleShot(0, &form, [&form] {
        EXPECT_EQ(form.txtFile(0)->text(), "celestrak.org/NORAD/elements/amateur.txt");
        EXPECT_EQ(form.txtFile(1)->text(), "");
        form.cmdCancel()->click();
    });
    EXPECT_FALSE(form.DownloadKeps());
    clsIni ini(folder.iniFile());
    EXPECT_EQ(ini.GetIniString("KEPS", "FILE_1", "?"), "celestrak.org/NORAD/elements/amateur.txt");
    EXPECT_EQ(ini.GetIniString("KEPS", "FILE_2", "?"), "");
    EXPECT_TRUE(boxes.seen.isEmpty());
    EXPECT_EQ(form.windowTitle(), "Download Keps");
}

TEST(DownloadKepsFaults, AFileInPlaceOfTheKepsFolderIsReportedAndLeftAlone)
{
    TestHttpServer server;
    server.serve("/amateur.txt", elementSet("\r\n"));
    ProgramFolder folder;
    folder.put("Keps", "not a folder");
    folder.setAddresses(server.hostAndPort() + "/amateur.txt", "");

    const DownloadRun run = download(folder);
    EXPECT_FALSE(run.result);
    EXPECT_TRUE(run.closedItself);
    const QString error =
        "Cannot write " + QDir::toNativeSeparators(folder.file("Keps/amateur.txt")) +
        ": the folder " + QDir::toNativeSeparators(folder.file("Keps")) + " cannot be made";
    EXPECT_EQ(run.status.last(), "Error - " + error);
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_EQ(run.boxes[0].text,
              "The Keps have been downloaded.\r\nThe following errors occurred - "
              "\r\nFile 1 - " +
                  error);
    EXPECT_EQ(readAll(folder.file("Keps")), "not a folder");
}

TEST(DownloadKepsFaults, AFullDiskKeepsTheOldElementFileAndNamesTheReason)
{
    TestHttpServer server;
    server.serve("/amateur.txt", crLfAcrossBlocks());
    ProgramFolder folder;
    const QByteArray old = elementSet("\r\n");
    folder.put("Keps/amateur.txt", old);
    folder.setAddresses(server.hostAndPort() + "/amateur.txt", "");

    std::unique_ptr<orvex::test::FullDisk> full;
    const DownloadRun run = download(
        folder, {}, [&](frmDownload &) { full = std::make_unique<orvex::test::FullDisk>(1024); });
    ASSERT_TRUE(full && full->active());
    full.reset();
    EXPECT_FALSE(run.result);
    const QString error = "Cannot write " + QDir::toNativeSeparators(folder.file("tempkeps.$$$")) +
                          ": " + qt_error_string(EFBIG);
    EXPECT_EQ(run.status.last(), "Error - " + error);
    ASSERT_EQ(run.boxes.size(), 1);
    EXPECT_TRUE(run.boxes[0].text.endsWith("File 1 - " + error)) << run.boxes[0].text.toStdString();
    EXPECT_EQ(readAll(folder.file("Keps/amateur.txt")), old);
    EXPECT_EQ(QDir(folder.file("Keps")).entryList(QDir::Files), QStringList{"amateur.txt"});
}

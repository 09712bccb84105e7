// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/KepsInstaller.h"
#include "orbit/LineEndConverter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray issName = "ISS (ZARYA)";
const QByteArray issLine1 = "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927";
const QByteArray issLine2 = "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537";

const QByteArray orvexSet =
    "ORVEX\r\n"
    "1 26931U 01043C   26342.00000000  .00000512  00000-0  65000-4 0  9999\r\n"
    "2 26931  97.6012  52.1809 0011873  84.4671 275.7904 14.98021546875704\r\n";

QByteArray elementFile(const QByteArray &lineEnd)
{
    return issName + lineEnd + issLine1 + lineEnd + issLine2 + lineEnd;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class Folder
{
public:
    QString path() const { return dir.path(); }
    QString file(const QString &name) const { return dir.filePath(name); }
    // The raw download as the window writes it: the body and a CR LF.
    QString download(const QByteArray &body) const
    {
        QFile f(file("tempkeps.$$$"));
        f.open(QIODevice::WriteOnly);
        f.write(body + "\r\n");
        return f.fileName();
    }
    void put(const QString &name, const QByteArray &data) const
    {
        QDir(path()).mkpath(QFileInfo(file(name)).path());
        QFile f(file(name));
        f.open(QIODevice::WriteOnly);
        f.write(data);
    }
    QTemporaryDir dir;
};

} // namespace

TEST(KepsAddress, SchemeIsAddedOnlyWhenMissing)
{
    EXPECT_EQ(KepsInstaller::fullAddress("  celestrak.org/NORAD/elements/amateur.txt "),
              "http://celestrak.org/NORAD/elements/amateur.txt");
    EXPECT_EQ(KepsInstaller::fullAddress("http://host/a.txt"), "http://host/a.txt");
    EXPECT_EQ(KepsInstaller::fullAddress("https://host/a.txt"), "https://host/a.txt");
    EXPECT_EQ(KepsInstaller::fullAddress("HTTPS://host/a.txt"), "HTTPS://host/a.txt");
    EXPECT_EQ(KepsInstaller::fullAddress(""), "http://");
}

TEST(KepsFileName, IsTheLastPartOfTheAddress)
{
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://celestrak.org/NORAD/elements/amateur.txt"),
              "amateur.txt");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://host/dir\\keps.txt"), "keps.txt");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("keps.txt"), "keps.txt");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://host/dir/"), "");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://host/dir\\"), "");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://"), "");
}

TEST(KepsFileName, NeverLeavesTheKepsFolderOrHoldsForbiddenCharacters)
{
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://host/gp.php?GROUP=amateur&FORMAT=tle"),
              "gp.php");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://127.0.0.1:8080"), "127.0.0.1");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://host/a*b"), "a");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://host/a\"b<c>d|e"), "a");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress(QString("http://host/a") + QChar(9) + "b"), "a");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://host/.."), "");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://host/."), "");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://host/..?x"), "");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://host/?name=keps.txt"), "");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://host/:keps"), "");
    EXPECT_EQ(KepsInstaller::fileNameFromAddress("http://host/..keps"), "..keps") << "a plain name";
}

TEST(KepsContent, ElementFileIsAlmostAllElementSetsWithGoodChecksums)
{
    EXPECT_TRUE(KepsInstaller::isElementFile(elementFile("\r\n")));
    // One stray line in ten sets is still an element file (30 of 31 lines)...
    EXPECT_TRUE(KepsInstaller::isElementFile("junk\r\n\r\n" + elementFile("\r\n").repeated(10)));
    // ...but sets among as much other text are not.
    EXPECT_FALSE(KepsInstaller::isElementFile("junk\r\n" + elementFile("\r\n") + "more junk\r\n"));
    EXPECT_EQ(KepsInstaller::elementShare("junk\r\n\r\n" + elementFile("\r\n") + "more\r\n").lines,
              5);
    QByteArray badChecksum = elementFile("\r\n");
    badChecksum.replace(issLine1, issLine1.left(68) + "8");
    EXPECT_FALSE(KepsInstaller::isElementFile(badChecksum));
    EXPECT_FALSE(KepsInstaller::isElementFile(QByteArray(500, '\x7f')));
    EXPECT_FALSE(KepsInstaller::isElementFile(""));
}

TEST(KepsContent, WebPageTagInAnyLetterCase)
{
    EXPECT_TRUE(KepsInstaller::looksLikeWebPage("<!DOCTYPE html>\r\n<html>\r\n"));
    EXPECT_TRUE(KepsInstaller::looksLikeWebPage("<HTML><HEAD><TITLE>Document Moved</TITLE>"));
    EXPECT_TRUE(KepsInstaller::looksLikeWebPage("<Html lang=\"en\">"));
    EXPECT_FALSE(KepsInstaller::looksLikeWebPage(elementFile("\r\n")));
    EXPECT_FALSE(KepsInstaller::looksLikeWebPage("<htmlx>"));
}

TEST(KepsInstall, ElementFileIsInstalledWithCrLfLineEnds)
{
    Folder folder;
    const QByteArray body = elementFile("\n");
    const KepsInstallResult result =
        KepsInstaller(folder.path()).install(folder.download(body), "amateur.txt", 0, body.size());
    EXPECT_TRUE(result.installed());
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(readAll(folder.file("Keps/amateur.txt")), elementFile("\r\n") + "\r\n")
        << "the Keps folder is made, the download's final line end is kept";
    EXPECT_EQ(QDir(folder.file("Keps")).entryList(QDir::Files), QStringList{"amateur.txt"})
        << "no working file left behind";
}

TEST(KepsInstall, NewFileReplacesTheOldOne)
{
    Folder folder;
    folder.put("Keps/amateur.txt",
               "old contents that are much longer than the new ones\r\n" + QByteArray(5000, 'o'));
    const QByteArray body = elementFile("\r");
    KepsInstaller installer(folder.path());
    EXPECT_TRUE(
        installer.install(folder.download(body), "amateur.txt", 0, body.size()).installed());
    EXPECT_EQ(readAll(folder.file("Keps/amateur.txt")), elementFile("\r\n") + "\r\n");
}

TEST(KepsInstall, ShortDownloadIsAnErrorAndChangesNothing)
{
    Folder folder;
    folder.put("Keps/amateur.txt", elementFile("\r\n"));
    const QByteArray body(79, 'x');
    const KepsInstallResult result =
        KepsInstaller(folder.path()).install(folder.download(body), "amateur.txt", 0, body.size());
    EXPECT_EQ(result.outcome, KepsInstallResult::TooShort);
    EXPECT_EQ(result.error, "amateur.txt is too short to be an element file");
    EXPECT_EQ(readAll(folder.file("Keps/amateur.txt")), elementFile("\r\n"));
    EXPECT_FALSE(QFile::exists(folder.file("File1.HTML")));
}

TEST(KepsInstall, AnythingButAnElementFileGoesToTheWebPageFileOfItsIndexWithItsReason)
{
    const QByteArray page =
        "<HTML><HEAD><TITLE>Document Moved</TITLE></HEAD>\n<BODY>Object moved <A "
        "HREF=\"x\">here</A></BODY></HTML>\n";
    QByteArray junk; // 50 lines, 3 KB
    for (int i = 0; i < 50; ++i)
        junk += "<tr><td>" + QByteArray::number(i * 7919) + "</td><td>no elements here</td>\n";
    const QByteArray gzip = QByteArray("\x1f\x8b\x08\x00", 4) + QByteArray(200, '\x93');
    const QByteArray thirdSatellite = "ORVEX\n"
                                      "1 26931U 01043C   26342.00000000  .00000512  00000-0  "
                                      "65000-4 0  9999\n"
                                      "2 26931  97.6012  52.1809 0011873  84.4671 275.7904 "
                                      "14.98021546875704\n";
    const struct
    {
        QByteArray body;
        QString reason;
    } cases[] = {
        {page, "The data appears to be an HTML file. "},
        // Element sets inside a web page are still a web page.
        {"<html><body><pre>\n" + elementFile("\n") + "</pre></body></html>\n",
         "The data appears to be an HTML file. "},
        {QByteArray(300, 'g') + "\n" + QByteArray(300, 'h'),
         "The data is not an element file: 0 of its 2 lines are parts of element sets. "},
        {gzip, "The data is compressed (gzip), not an element file. "},
        // About 6 KB of junk around one good set of a third satellite.
        {junk + thirdSatellite + junk,
         "The data is not an element file: 3 of its 103 lines are parts of element sets. "},
    };
    for (const auto &[body, reason] : cases) {
        SCOPED_TRACE(reason.toStdString());
        Folder folder;
        folder.put("Keps/amateur.txt", elementFile("\r\n"));
        const KepsInstallResult result =
            KepsInstaller(folder.path())
                .install(folder.download(body), "amateur.txt", 1, body.size());
        EXPECT_EQ(result.outcome, KepsInstallResult::WebPage);
        EXPECT_EQ(result.error,
                  reason + "Have a look at " + QDir::toNativeSeparators(folder.file("File2.HTML")));
        EXPECT_EQ(readAll(folder.file("File2.HTML")), LineEndConverter::convert(body + "\r\n"));
        EXPECT_EQ(readAll(folder.file("Keps/amateur.txt")), elementFile("\r\n")) << "untouched";
    }
}

TEST(KepsInstall, ATrackedSatelliteTheNewFileLacksKeepsItsOldSet)
{
    for (const bool issTracked : {true, false}) {
        SCOPED_TRACE(issTracked ? "ISS tracked" : "ISS not tracked");
        Folder folder;
        // Two sets of the ISS in the old file: the newer is the one kept.
        const QByteArray olderIss = issName + "\r\n" +
                                    "1 25544U 98067A   08263.51782528 -.00002182  00000-0 "
                                    "-11606-4 0  2915\r\n" +
                                    issLine2 + "\r\n";
        folder.put("Keps/amateur.txt", olderIss + elementFile("\r\n") + orvexSet);
        KepsInstaller installer(folder.path());
        installer.setTrackedSatellites(issTracked ? QList<int>{26931, 25544} : QList<int>{26931});
        const KepsInstallResult result =
            installer.install(folder.download(orvexSet), "amateur.txt", 0, orvexSet.size());
        EXPECT_TRUE(result.installed());
        EXPECT_EQ(readAll(folder.file("Keps/amateur.txt")),
                  orvexSet + "\r\n" + (issTracked ? elementFile("\r\n") : QByteArray()));
        EXPECT_EQ(result.keptSets, issTracked ? QStringList{"ISS (ZARYA) (25544)"} : QStringList());
        EXPECT_EQ(result.notice, issTracked ? "The new amateur.txt lacks ISS (ZARYA) (25544); the "
                                              "set the old file held was kept."
                                            : "");
    }
}

TEST(KepsInstall, ASetThatAnotherFileHoldsIsNotKeptButTheDemoSetsDoNotCount)
{
    const QByteArray demo = "# DEMO ELEMENTS: invented\r\n" + elementFile("\r\n");
    for (const bool demoOnly : {false, true}) {
        SCOPED_TRACE(demoOnly ? "only the demo file holds it" : "another file holds it");
        Folder folder;
        folder.put("Keps/amateur.txt", elementFile("\r\n") + orvexSet);
        folder.put("Keps/demo.txt", demo);
        if (!demoOnly)
            folder.put("Keps/iss.txt", elementFile("\r\n"));
        KepsInstaller installer(folder.path());
        installer.setTrackedSatellites({26931, 25544});
        const KepsInstallResult result =
            installer.install(folder.download(orvexSet), "amateur.txt", 0, orvexSet.size());
        EXPECT_TRUE(result.installed());
        EXPECT_EQ(result.keptSets, demoOnly ? QStringList{"ISS (ZARYA) (25544)"} : QStringList());
    }
}

TEST(KepsInstall, AFileThatCannotBeWrittenIsReportedAndTheOldOneStays)
{
    Folder folder;
    // A folder in the way of the new file.
    QDir(folder.path()).mkpath("Keps/amateur.txt");
    const QByteArray body = elementFile("\r\n");
    const KepsInstallResult result =
        KepsInstaller(folder.path()).install(folder.download(body), "amateur.txt", 0, body.size());
    EXPECT_EQ(result.outcome, KepsInstallResult::Failed);
    EXPECT_TRUE(result.error.startsWith("Cannot write ")) << result.error.toStdString();
    EXPECT_TRUE(QFileInfo(folder.file("Keps/amateur.txt")).isDir());
}

TEST(KepsInstall, ANameWithAPathIsRefused)
{
    Folder folder;
    const QByteArray body = elementFile("\r\n");
    const KepsInstallResult result =
        KepsInstaller(folder.path()).install(folder.download(body), "../evil.txt", 0, body.size());
    EXPECT_FALSE(result.installed());
    EXPECT_FALSE(QFile::exists(folder.file("evil.txt")));
    EXPECT_FALSE(QFile::exists(folder.file("../evil.txt")));
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ProfileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

using orvex::ProfileDocument;
using orvex::ProfileStore;

namespace {

class ProfileStoreTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString &name = QStringLiteral("test.INI")) const
    {
        return dir.filePath(name);
    }
    void writeBytes(const QByteArray &bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readBytes() const
    {
        QFile f(path());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll();
    }
    QByteArray get(const QByteArray &section, const QByteArray &key,
                   const QByteArray &def = "<default>", int size = 500) const
    {
        QByteArray buffer;
        const int n = ProfileStore::getString(section, key, def, buffer, size, path());
        return buffer.left(n);
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ProfileStoreTest, MissingFileSectionOrKeyGiveTheDefault)
{
    EXPECT_EQ(get("SETUP", "CALLSIGN"), "<default>");
    writeBytes("[SETUP]\r\nCALLSIGN=Q9ZZZ\r\n");
    EXPECT_EQ(get("OTHER", "CALLSIGN"), "<default>");
    EXPECT_EQ(get("SETUP", "COMMENT"), "<default>");
    EXPECT_EQ(get("SETUP", "CALLSIGN"), "Q9ZZZ");
}

TEST_F(ProfileStoreTest, DefaultLosesTrailingBlanksOnly)
{
    EXPECT_EQ(get("S", "K", "  x  "), "  x");
}

TEST_F(ProfileStoreTest, NamesMatchWithoutRegardToCase)
{
    writeBytes("[Setup]\r\nCallSign=Q9ZZZ\r\n[\xe9t\xe9]\r\nk=1\r\n");
    EXPECT_EQ(get("SETUP", "CALLSIGN"), "Q9ZZZ");
    EXPECT_EQ(get("setup", "callsign"), "Q9ZZZ");
    EXPECT_EQ(get("\xc9T\xc9", "K"), "1"); // Latin-1 letters too
}

TEST_F(ProfileStoreTest, ValueQuotingAndBlanks)
{
    struct Case
    {
        QByteArray stored;
        QByteArray read;
    };
    const Case cases[] = {
        {"plain", "plain"}, {"   padded \t ", "padded"}, {"\"\"", ""}, {"\" x \"", " x "},
        {"' y '", " y "},   {"\"mixed'", "\"mixed'"},    {"\"", "\""}, {"", ""},
        {"a=b", "a=b"},
    };
    for (const Case &c : cases) {
        writeBytes("[S]\r\nK=" + c.stored + "\r\n");
        EXPECT_EQ(get("S", "K"), c.read) << c.stored.constData();
    }
}

TEST_F(ProfileStoreTest, BlanksAroundNamesAndLfOnlyFilesAreRead)
{
    writeBytes("  [ S ]  \n  K  =  v  \n");
    EXPECT_EQ(get("S", "K"), "v");
}

TEST_F(ProfileStoreTest, CrOnlyFilesAreReadLikeTheOthersAndRewrittenWithCrLf)
{
    writeBytes("[SETUP]\rLATITUDE=3859.50N\r\r[AGWPE]\rHOST=10.0.0.2\rHOST_PORT=8001\r");
    EXPECT_EQ(get("SETUP", "LATITUDE"), "3859.50N");
    EXPECT_EQ(get("AGWPE", "HOST_PORT"), "8001");
    ASSERT_TRUE(ProfileStore::writeString("AGWPE", QByteArray("HOST"), QByteArray("x"), path()));
    EXPECT_EQ(readBytes(),
              "[SETUP]\r\nLATITUDE=3859.50N\r\n\r\n[AGWPE]\r\nHOST=x\r\nHOST_PORT=8001\r\n");
}

TEST_F(ProfileStoreTest, FirstOfDuplicateSectionsAndKeysWins)
{
    writeBytes("[S]\r\nK=1\r\nK=2\r\n[S]\r\nK=3\r\nL=4\r\n");
    EXPECT_EQ(get("S", "K"), "1");
    EXPECT_EQ(get("S", "L"), "<default>");
}

TEST_F(ProfileStoreTest, ValueIsCutToBufferSizeLessOne)
{
    writeBytes("[S]\r\nK=" + QByteArray(600, 'x') + "\r\n");
    QByteArray buffer;
    EXPECT_EQ(ProfileStore::getString(QByteArray("S"), QByteArray("K"), "", buffer, 500, path()),
              499);
    EXPECT_EQ(buffer.size(), 500);
    EXPECT_EQ(buffer.left(499), QByteArray(499, 'x'));
    EXPECT_EQ(buffer.at(499), '\0');
}

TEST_F(ProfileStoreTest, KeyListIsNulSeparatedInFileOrder)
{
    writeBytes("[S]\r\n; comment=not a key\r\nB=1\r\nnonsense line\r\nA=2\r\n[T]\r\nC=3\r\n");
    QByteArray buffer;
    const int n = ProfileStore::getString(QByteArray("S"), std::nullopt, "", buffer, 100, path());
    EXPECT_EQ(n, 4);
    EXPECT_EQ(buffer.left(5), QByteArray("B\0A\0\0", 5));
}

TEST_F(ProfileStoreTest, KeyListTooLongEndsInTwoNulsAndCountIsSizeLessTwo)
{
    writeBytes("[S]\r\nALPHA=1\r\nBRAVO=2\r\n");
    QByteArray buffer;
    const int n = ProfileStore::getString(QByteArray("S"), std::nullopt, "", buffer, 10, path());
    EXPECT_EQ(n, 8);
    EXPECT_EQ(buffer, QByteArray("ALPHA\0BR\0\0", 10));
}

TEST_F(ProfileStoreTest, SectionNamesWithoutSection)
{
    writeBytes("x=1\r\n[ONE]\r\n[TWO]\r\n");
    QByteArray buffer;
    const int n = ProfileStore::getString(std::nullopt, std::nullopt, "", buffer, 100, path());
    EXPECT_EQ(buffer.left(n), QByteArray("ONE\0TWO\0", 8));
}

TEST_F(ProfileStoreTest, WritingIntoMissingFileCreatesItWithCrLf)
{
    ASSERT_TRUE(ProfileStore::writeString("SETUP", QByteArray("LEFT"), QByteArray("120"), path()));
    EXPECT_EQ(readBytes(), "[SETUP]\r\nLEFT=120\r\n");
}

TEST_F(ProfileStoreTest, WritesReplaceInPlaceAppendToSectionAndFile)
{
    writeBytes("; settings\r\n[A]\r\nX=1\r\nY=2\r\n\r\n[B]\r\nZ=3\r\n");
    ASSERT_TRUE(ProfileStore::writeString("a", QByteArray("x"), QByteArray("10"), path()));
    ASSERT_TRUE(ProfileStore::writeString("A", QByteArray("W"), QByteArray("4"), path()));
    ASSERT_TRUE(ProfileStore::writeString("C", QByteArray("V"), QByteArray("5"), path()));
    EXPECT_EQ(readBytes(), "; settings\r\n[A]\r\nX=10\r\nY=2\r\nW=4\r\n\r\n[B]\r\nZ=3\r\n"
                           "[C]\r\nV=5\r\n");
}

TEST_F(ProfileStoreTest, NewKeyInEmptySectionGoesRightAfterHeader)
{
    writeBytes("[A]\r\n\r\n[B]\r\n");
    ASSERT_TRUE(ProfileStore::writeString("A", QByteArray("K"), QByteArray("1"), path()));
    EXPECT_EQ(readBytes(), "[A]\r\nK=1\r\n\r\n[B]\r\n");
}

TEST_F(ProfileStoreTest, DeleteKeyAndSectionKeepTheRest)
{
    writeBytes("[A]\r\nX=1\r\nY=2\r\n[SIDES]\r\nS=1\r\n; note\r\n[SIDES]\r\nT=2\r\n[B]\r\nZ=3\r\n");
    ASSERT_TRUE(ProfileStore::writeString("A", QByteArray("x"), std::nullopt, path()));
    ASSERT_TRUE(ProfileStore::writeString("sides", std::nullopt, std::nullopt, path()));
    EXPECT_EQ(readBytes(), "[A]\r\nY=2\r\n[B]\r\nZ=3\r\n");
}

TEST_F(ProfileStoreTest, DeletingFromMissingFileCreatesNothing)
{
    ASSERT_TRUE(ProfileStore::writeString("A", QByteArray("X"), std::nullopt, path()));
    ASSERT_TRUE(ProfileStore::writeString("A", std::nullopt, std::nullopt, path()));
    EXPECT_FALSE(QFileInfo::exists(path()));
}

TEST_F(ProfileStoreTest, LineBreaksAndNulInValuesCannotCreateLines)
{
    ASSERT_TRUE(ProfileStore::writeString("A", QByteArray("K"),
                                          QByteArray("x\r\n[EVIL]\nY=1\0tail", 19), path()));
    EXPECT_EQ(readBytes(), "[A]\r\nK=x  [EVIL] Y=1\r\n");
    EXPECT_EQ(get("EVIL", "Y"), "<default>");
}

TEST_F(ProfileStoreTest, FailedWriteLeavesTheOldFileAndReportsFailure)
{
    writeBytes("[A]\r\nK=old\r\n");
    const QString sub = dir.filePath(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkpath(sub));
    const QString file = sub + QStringLiteral("/x.INI");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[A]\r\nK=old\r\n");
    }
    QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(sub).isWritable())
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_FALSE(ProfileStore::writeString("A", QByteArray("K"), QByteArray("new"), file));
    QFile::setPermissions(sub,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "[A]\r\nK=old\r\n");
}

TEST_F(ProfileStoreTest, WriteLeavesNoTemporaryFilesBehind)
{
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(ProfileStore::writeString("A", QByteArray("K"), QByteArray::number(i), path()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("test.INI")});
}

TEST(ProfileDocumentTest, UnknownLinesSurviveARoundTrip)
{
    const QByteArray text = "; top comment\r\nstray text\r\nA=before any section\r\n[S]\r\n"
                            "  indented = kept as is  \r\n# hash\r\n=no name\r\n[broken\r\n";
    EXPECT_EQ(ProfileDocument::parse(text).toBytes(), text);
}

TEST(ProfileDocumentTest, KeysBeforeAnySectionBelongNowhere)
{
    const auto doc = ProfileDocument::parse("A=1\r\n[S]\r\nB=2\r\n");
    EXPECT_FALSE(doc.rawValue("", "A").has_value());
    EXPECT_EQ(doc.keyNames("S"), QList<QByteArray>{"B"});
}

TEST(ProfileDocumentTest, ParsesArbitraryBytesWithoutTrouble)
{
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>((i * 7919) % 256);
    const auto doc = ProfileDocument::parse(junk);
    const auto again = ProfileDocument::parse(doc.toBytes());
    EXPECT_EQ(again.toBytes(), doc.toBytes());
}

TEST_F(ProfileStoreTest, PathThatCannotBeReadIsNeitherReadNorReplaced)
{
    // A folder where the file should be: reads give the default, writes fail
    // and leave it as it is.
    ASSERT_TRUE(QDir().mkpath(path()));
    EXPECT_EQ(get("A", "K"), "<default>");
    EXPECT_FALSE(ProfileStore::writeString("A", QByteArray("K"), QByteArray("v"), path()));
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "shared/clsIni.h"

#include <QFile>
#include <QTemporaryDir>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

class clsIniTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QByteArray fileBytes(const QString &path) const
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll();
    }

    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("orvexdecode.INI"));
    clsIni ini{file};
};

} // namespace

TEST_F(clsIniTest, KeepsTheDefaultFileItWasGiven)
{
    EXPECT_EQ(ini.strDefaultIniFile(), file);
}

TEST_F(clsIniTest, SavingEmptyTextWritesTwoQuotesAndReadsBackEmpty)
{
    ini.SaveIniString("SETUP", "COMMENT", "");
    EXPECT_EQ(fileBytes(file), "[SETUP]\r\nCOMMENT=\"\"\r\n");
    EXPECT_EQ(ini.GetIniString("SETUP", "COMMENT", "default"), "");
}

TEST_F(clsIniTest, BlanksAtTheEndsOfASavedValueAreLost)
{
    ini.SaveIniString("SETUP", "COMMENT", "  hello  ");
    EXPECT_EQ(ini.GetIniString("SETUP", "COMMENT", ""), "hello");
}

TEST_F(clsIniTest, ValueLongerThan499IsCut)
{
    ini.SaveIniString("SETUP", "LONG", QString(600, QLatin1Char('v')));
    EXPECT_EQ(ini.GetIniString("SETUP", "LONG", ""), QString(499, QLatin1Char('v')));
}

TEST_F(clsIniTest, OtherObjectsSeeWritesAtOnce)
{
    clsIni other(file);
    ini.SaveIniString("SETUP", "CALLSIGN", "Q9ZZZ");
    EXPECT_EQ(other.GetIniString("SETUP", "CALLSIGN", ""), "Q9ZZZ");
    other.SaveIniString("SETUP", "CALLSIGN", "Q9ZZZ-5");
    EXPECT_EQ(ini.GetIniString("SETUP", "CALLSIGN", ""), "Q9ZZZ-5");
}

TEST_F(clsIniTest, ExplicitFileArgumentOverridesTheDefault)
{
    const QString user = dir.filePath(QStringLiteral("USER.INI"));
    ini.SaveIniString("APRS", "SYMBOL", "-", user);
    EXPECT_EQ(ini.GetIniString("APRS", "SYMBOL", "?", user), "-");
    EXPECT_EQ(ini.GetIniString("APRS", "SYMBOL", "?"), "?");
}

TEST_F(clsIniTest, WriteDefaultStoresMissingKeysOnce)
{
    struct Case
    {
        QString defaultValue;
        QByteArray storedLine;
    };
    const Case cases[] = {
        {"localhost", "K=localhost"}, {"", "K=\"\""},           {" lead", "K=\" lead\""},
        {"trail ", "K=\"trail \""},   {"tab\t", "K=\"tab\t\""}, {"in side", "K=in side"},
    };
    for (const Case &c : cases) {
        QFile::remove(file);
        EXPECT_EQ(ini.GetIniStringWriteDefault("S", "K", c.defaultValue), c.defaultValue);
        EXPECT_EQ(fileBytes(file), "[S]\r\n" + c.storedLine + "\r\n")
            << c.defaultValue.toStdString();
        // The second read comes from the file, unchanged.
        EXPECT_EQ(ini.GetIniStringWriteDefault("S", "K", "other"), c.defaultValue);
    }
}

TEST_F(clsIniTest, WriteDefaultReturnsWhatIsStored)
{
    ini.SaveIniString("AGWPE", "HOST_PORT", "40000");
    EXPECT_EQ(ini.GetIniStringWriteDefault("AGWPE", "HOST_PORT", "8000"), "40000");
}

TEST_F(clsIniTest, StoredSentinelCountsAsMissing)
{
    ini.SaveIniString("S", "K", "$!*%");
    EXPECT_EQ(ini.GetIniStringWriteDefault("S", "K", "def"), "def");
    EXPECT_EQ(ini.GetIniString("S", "K", ""), "def");
}

TEST(clsIniTruth, IsItTrue)
{
    const struct
    {
        const char *text;
        bool truth;
    } cases[] = {
        {"yes", true},  {"On", true},     {"tRuE", true},   {"1", true},
        {"TRUE", true}, {" TRUE", false}, {"TRUE ", false}, {"2", false},
        {"Y", false},   {"", false},      {"FALSE", false}, {"off", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(clsIni::IsItTrue(QString::fromLatin1(c.text)), c.truth) << c.text;
    EXPECT_EQ(clsIni::TrueOrFalse(true), "TRUE");
    EXPECT_EQ(clsIni::TrueOrFalse(false), "FALSE");
    EXPECT_TRUE(clsIni::IsItTrue(clsIni::TrueOrFalse(true)));
    EXPECT_FALSE(clsIni::IsItTrue(clsIni::TrueOrFalse(false)));
}

TEST_F(clsIniTest, LoadAllKeysInSectionInFileOrder)
{
    ini.SaveIniString("CALLSIGNS", "B", "1");
    ini.SaveIniString("CALLSIGNS", "A", "2");
    ini.SaveIniString("OTHER", "C", "3");
    const auto keys = ini.LoadAllKeysInSection("CALLSIGNS");
    EXPECT_EQ(keys[0], (QStringList{"", "B", "A"}));
    EXPECT_EQ(keys[1], (QStringList{"", "1", "2"}));
}

TEST_F(clsIniTest, LoadAllKeysOfMissingSectionGivesOnlyEntryZero)
{
    const auto keys = ini.LoadAllKeysInSection("NOWHERE");
    EXPECT_EQ(keys[0], QStringList{QString()});
    EXPECT_EQ(keys[1], QStringList{QString()});
}

TEST_F(clsIniTest, LoadAllKeysStopsAtTheNameBuffer)
{
    // 1,000 names of 9 characters plus their NULs need 10,000 characters;
    // the buffer holds 9,998 of them, so the last name arrives cut.
    QByteArray text = "[BIG]\r\n";
    for (int i = 0; i < 1000; ++i)
        text += "KEY" + QByteArray::number(100000 + i) + "=v\r\n";
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    const auto keys = ini.LoadAllKeysInSection("BIG");
    ASSERT_EQ(keys[0].size(), 1001);
    EXPECT_EQ(keys[0][999], "KEY100998");
    EXPECT_EQ(keys[0][1000], "KEY10099"); // cut, looked up as cut
    EXPECT_EQ(keys[1][1000], "");
}

TEST_F(clsIniTest, DeleteKeyAndSection)
{
    ini.SaveIniString("SETUP", "OBJECT_NAME", "x");
    ini.SaveIniString("SETUP", "CALLSIGN", "Q9ZZZ");
    ini.SaveIniString("SIDES", "A", "1");
    ini.DeleteKey("SETUP", "OBJECT_NAME");
    ini.DeleteSection("SIDES");
    EXPECT_EQ(fileBytes(file), "[SETUP]\r\nCALLSIGN=Q9ZZZ\r\n");
}

TEST_F(clsIniTest, TextIsLatin1OneBytePerCharacter)
{
    const QString comment = QString::fromLatin1("73 de G\xf6ran \xb0");
    ini.SaveIniString("SETUP", "COMMENT", comment);
    EXPECT_EQ(fileBytes(file), "[SETUP]\r\nCOMMENT=73 de G\xf6ran \xb0\r\n");
    EXPECT_EQ(ini.GetIniString("SETUP", "COMMENT", ""), comment);
}

TEST_F(clsIniTest, UnreadableFileGivesDefaultsAndIsNotReplaced)
{
    ini.SaveIniString("SETUP", "CALLSIGN", "Q9ZZZ");
    QFile::setPermissions(file, QFileDevice::WriteOwner);
    QFile probe(file);
    if (probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with rights that ignore file permissions";
    EXPECT_EQ(ini.GetIniStringWriteDefault("SETUP", "COMMENT", "c"), "c");
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(fileBytes(file), "[SETUP]\r\nCALLSIGN=Q9ZZZ\r\n");
}

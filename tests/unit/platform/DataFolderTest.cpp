// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using orvex::DataFolder;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// While it lives, this process runs as user nobody, so that permissions
// refuse it even when the tests run as root (whose saved user id brings it
// back).
class AsNobody
{
public:
    AsNobody()
    {
        if (geteuid() == 0)
            switched_ = setresgid(65534, 65534, 0) == 0 && setresuid(65534, 65534, 0) == 0;
    }
    ~AsNobody()
    {
        if (switched_) {
            [[maybe_unused]] const int uid = setresuid(0, 0, 0);
            [[maybe_unused]] const int gid = setresgid(0, 0, 0);
        }
    }
    AsNobody(const AsNobody &) = delete;
    AsNobody &operator=(const AsNobody &) = delete;

private:
    bool switched_ = false;
};

// An install: bin/ with nothing of the data, share/orvexdecode/ with the
// shipped files, and a home whose per-user folder does not exist yet.
class DataFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Open to every user, for the cases that run as nobody.
        QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadOther | QFile::ExeOther);
        ASSERT_TRUE(QDir(root.path()).mkpath("bin"));
        ASSERT_TRUE(QDir(root.path()).mkpath("share/orvexdecode"));
        ASSERT_TRUE(QDir(root.path()).mkpath("home"));
        writeFile(installed("formula.txt"), "A,0,POWER,Batt A,0,0,1,0\n");
        writeFile(installed("USER.INI"), "[APRS]\n");
        writeFile(installed("world.gif"), "GIF89a");
    }

    QString bin() const { return root.filePath("bin"); }
    QString installed(const QString &name = QString()) const
    {
        return QDir(root.filePath("share/orvexdecode")).filePath(name);
    }
    QString perUser() const { return root.filePath("home/orvexdecode"); }
    DataFolder choose() const { return DataFolder::choose(bin(), perUser(), installed()); }

    QTemporaryDir root;
};

} // namespace

TEST_F(DataFolderTest, AWritableProgramFolderWithFormulasKeepsEverything)
{
    writeFile(QDir(bin()).filePath("formula.txt"), "A\n");
    const DataFolder folder = choose();
    EXPECT_FALSE(folder.isPerUser());
    EXPECT_EQ(folder.path(), bin());
    EXPECT_EQ(folder.shippedFile("world.gif"), QDir(bin()).filePath("world.gif"));
    EXPECT_EQ(folder.prepare(), QString());
    EXPECT_FALSE(QFileInfo::exists(perUser()));
}

TEST_F(DataFolderTest, AProgramFolderWithoutFormulasOrUnwritableGivesThePerUserFolder)
{
    EXPECT_TRUE(choose().isPerUser()) << "no formula.txt";
    EXPECT_EQ(choose().shippedFile("world.gif"), installed("world.gif"));

    writeFile(QDir(bin()).filePath("formula.txt"), "A\n");
    QFile::setPermissions(bin(),
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    AsNobody nobody;
    const DataFolder folder = choose();
    EXPECT_TRUE(folder.isPerUser()) << "unwritable";
    EXPECT_EQ(folder.path(), perUser());
    // Its files are the defaults then, as on a read-only share.
    EXPECT_EQ(folder.shippedFile("world.gif"), QDir(bin()).filePath("world.gif"));
}

TEST_F(DataFolderTest, TheFirstStartCopiesTheUserFilesAndLaterStartsKeepTheirEdits)
{
    const DataFolder folder = choose();
    ASSERT_EQ(folder.prepare(), QString());
    EXPECT_EQ(readFile(QDir(perUser()).filePath("formula.txt")), "A,0,POWER,Batt A,0,0,1,0\n");
    EXPECT_EQ(readFile(QDir(perUser()).filePath("USER.INI")), "[APRS]\n");
    EXPECT_TRUE(QFileInfo(QDir(perUser()).filePath("formula.txt")).isWritable());
    // The shipped read-only files stay where they were installed.
    EXPECT_FALSE(QFileInfo::exists(QDir(perUser()).filePath("world.gif")));
    EXPECT_EQ(folder.shippedFile("world.gif"), installed("world.gif"));

    writeFile(QDir(perUser()).filePath("formula.txt"), "edited\n");
    QFile::remove(QDir(perUser()).filePath("USER.INI"));
    ASSERT_EQ(folder.prepare(), QString());
    EXPECT_EQ(readFile(QDir(perUser()).filePath("formula.txt")), "edited\n");
    EXPECT_EQ(readFile(QDir(perUser()).filePath("USER.INI")), "[APRS]\n");
}

TEST_F(DataFolderTest, APerUserFolderThatCannotBeMadeOrWrittenIsNamedInOneMessage)
{
    // A file stands where a parent folder should be: not even root makes it.
    writeFile(root.filePath("home/blocked"), "");
    const QString unmakeable = root.filePath("home/blocked/orvexdecode");
    const QString made = DataFolder::choose(bin(), unmakeable, installed()).prepare();
    EXPECT_TRUE(made.startsWith("The program keeps its settings, Keps and logs in the folder " +
                                unmakeable + ", which cannot be made or written ("))
        << made.toStdString();
    EXPECT_TRUE(made.endsWith("). The program ends.")) << made.toStdString();

    ASSERT_TRUE(QDir().mkpath(perUser()));
    QFile::setPermissions(perUser(),
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    AsNobody nobody;
    const QString written = choose().prepare();
    EXPECT_TRUE(
        written.contains("in the folder " + perUser() + ", which cannot be made or written"))
        << written.toStdString();
    EXPECT_FALSE(QFileInfo::exists(QDir(perUser()).filePath("formula.txt")));
}

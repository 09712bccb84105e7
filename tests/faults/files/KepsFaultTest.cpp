// SPDX-License-Identifier: GPL-2.0-or-later
// Keps folders that cannot be read as they should: a file in place of the
// folder, entries that are no regular files (a FIFO must not make the
// program wait), huge and binary files, and a folder that cannot take the
// downloaded elements.
#include "FileFaults.h"
#include "MessageBoxRecorder.h"
#include "core/frmORVEX.h"
#include "orbit/KepsInstaller.h"
#include "orbit/clsSats.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using orvex::test::entriesOf;
using orvex::test::FullDisk;
using orvex::test::ProgramFolder;
using orvex::test::readBytes;
using orvex::test::writeBytes;

namespace {

// ORVEX (26931) and ISS (ZARYA) (25544), with good checksums.
QByteArray demoElements()
{
    return readBytes(QStringLiteral(ORVEX_SOURCE_DIR "/tests/data/demo-elements.txt"));
}

QByteArray binaryJunk(qsizetype size)
{
    QByteArray junk(size, '\0');
    QRandomGenerator random(20261207);
    for (char &c : junk)
        c = static_cast<char>(random.bounded(256));
    return junk;
}

bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// Should the program open one of the FIFOs and wait for a writer, this opens
// them for writing after a long while, so that the test fails instead of
// hanging until it is killed.
class FifoWatchdog
{
public:
    explicit FifoWatchdog(QStringList fifos)
        : thread_([this, fifos] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (done_.wait_for(lock, std::chrono::seconds(30), [this] { return finished_; }))
                  return;
              fired_ = true;
              for (const QString &fifo : fifos) {
                  const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
                  if (fd >= 0)
                      ::close(fd);
              }
          })
    {
    }
    ~FifoWatchdog() { stop(); }
    // True when the program had to be freed from a FIFO.
    bool stop()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        if (thread_.joinable())
            thread_.join();
        return fired_;
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    bool fired_ = false;
    std::thread thread_;
};

} // namespace

TEST(KepsFolderFaults, AFileInPlaceOfTheFolderFindsNothingAndTheProgramRuns)
{
    ProgramFolder folder;
    writeBytes(folder.file("Keps"), demoElements());
    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    ASSERT_TRUE(window.Load());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.satObject(0).elementSetFound);
    EXPECT_FALSE(window.satObject(1).elementSetFound);
    EXPECT_TRUE(boxes.texts().contains("No Keps found for ORVEX and ISS."));
    EXPECT_EQ(readBytes(folder.file("Keps")), demoElements());
}

TEST(KepsFolderFaults, OnlyRegularFilesAreReadAndAFifoDoesNotHoldTheProgram)
{
    ProgramFolder folder;
    const QString keps = folder.file("Keps");
    ASSERT_TRUE(QDir().mkpath(keps + "/a.txt"));            // a folder named like a file
    writeBytes(keps + "/a.txt/inside.txt", demoElements()); // not looked into
    ASSERT_TRUE(makeFifo(keps + "/b.txt"));                 // a FIFO
    ASSERT_TRUE(makeFifo(folder.file("elsewhere.fifo")));
    ASSERT_TRUE(QFile::link(folder.file("elsewhere.fifo"), keps + "/c.txt")); // a link to a FIFO
    ASSERT_TRUE(QFile::link(folder.file("gone.txt"), keps + "/d.txt"));       // a dangling link
    writeBytes(keps + "/e.bin", binaryJunk(100000));
    // The sets come last in the listing, so that every other entry is met first.
    writeBytes(keps + "/z.txt", demoElements());

    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    FifoWatchdog watchdog({keps + "/b.txt", folder.file("elsewhere.fifo")});
    ASSERT_TRUE(window.Load());
    EXPECT_FALSE(watchdog.stop()) << "the program waited on a FIFO";
    EXPECT_TRUE(window.satObject(0).elementSetFound);
    EXPECT_TRUE(window.satObject(1).elementSetFound);
    EXPECT_EQ(window.satObject(1).name, "ISS (ZARYA)");
    EXPECT_FALSE(boxes.texts().join('\n').contains("No Keps found"));
    EXPECT_NE(window.cSats()->engine().findElementSet("ISS (ZARYA)"), nullptr);
}

TEST(KepsFolderFaults, AHugeBinaryFileIsReadThroughToTheSetsAtItsEnd)
{
    ProgramFolder folder;
    // 8 MB of binary without a line end (one endless "line"), a blank line
    // longer than a block whose CR LF falls across two blocks, then the sets.
    QByteArray huge = binaryJunk(8 * 1024 * 1024);
    huge.replace('\n', 'n');
    huge.replace('\r', 'r');
    huge += "\r\n" + QByteArray(65535 - 2, ' ') + "\r\n" + demoElements();
    QDir().mkpath(folder.file("Keps"));
    writeBytes(folder.file("Keps/huge.txt"), huge);

    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    ASSERT_TRUE(window.Load());
    EXPECT_TRUE(window.satObject(0).elementSetFound);
    EXPECT_TRUE(window.satObject(1).elementSetFound);
    EXPECT_EQ(window.satObject(0).name, "ORVEX");
    EXPECT_EQ(window.satObject(1).name, "ISS (ZARYA)");
}

TEST(KepsInstallFaults, AFullDiskIsReportedWithItsReasonAndTheOldFileStays)
{
    ProgramFolder folder;
    const QByteArray old = "the element file of an earlier download\r\n";
    QDir().mkpath(folder.file("Keps"));
    writeBytes(folder.file("Keps/amateur.txt"), old);
    KepsInstaller installer(folder.path());
    writeBytes(installer.rawDownloadFile(), demoElements());

    KepsInstallResult result;
    {
        FullDisk full(64);
        ASSERT_TRUE(full.active());
        result =
            installer.install(installer.rawDownloadFile(), "amateur.txt", 0, demoElements().size());
    }
    EXPECT_EQ(result.outcome, KepsInstallResult::Failed);
    EXPECT_TRUE(result.error.startsWith(
        "Cannot write " + QDir::toNativeSeparators(folder.file("Keps/amateur.txt")) + ": "))
        << result.error.toStdString();
    EXPECT_EQ(readBytes(folder.file("Keps/amateur.txt")), old);
    EXPECT_EQ(entriesOf(folder.file("Keps")), QStringList{"amateur.txt"});
}

TEST(KepsInstallFaults, AFileInPlaceOfTheFolderIsReportedAndLeftAlone)
{
    ProgramFolder folder;
    writeBytes(folder.file("Keps"), "not a folder");
    KepsInstaller installer(folder.path());
    writeBytes(installer.rawDownloadFile(), demoElements());
    const KepsInstallResult result =
        installer.install(installer.rawDownloadFile(), "amateur.txt", 0, demoElements().size());
    EXPECT_EQ(result.outcome, KepsInstallResult::Failed);
    EXPECT_TRUE(result.error.startsWith("Cannot write ")) << result.error.toStdString();
    EXPECT_TRUE(result.error.endsWith(
        ": the folder " + QDir::toNativeSeparators(folder.file("Keps")) + " cannot be made"))
        << result.error.toStdString();
    EXPECT_EQ(readBytes(folder.file("Keps")), "not a folder");
}

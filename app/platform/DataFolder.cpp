// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

// ORVEX_INSTALLED_DATA_FROM_BIN: the installed data folder as seen from the
// executable's folder, set by the build from the install layout.

namespace orvex {

namespace {

const QString formulaFile = QStringLiteral("formula.txt");

QString cannotUse(const QString &folder, const QString &reason)
{
    return QStringLiteral("The program keeps its settings, Keps and logs in the folder ") +
           QDir::toNativeSeparators(folder) +
           QStringLiteral(", which cannot be made or written (") + reason +
           QStringLiteral("). The program ends.");
}

} // namespace

DataFolder DataFolder::forThisProgram()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    return choose(programFolder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                  QDir(programFolder).filePath(QStringLiteral(ORVEX_INSTALLED_DATA_FROM_BIN)));
}

DataFolder DataFolder::choose(const QString &programFolder, const QString &perUserFolder,
                              const QString &installedFolder)
{
    const QFileInfo folder(programFolder);
    const bool holdsFormulas = QFileInfo::exists(QDir(programFolder).filePath(formulaFile));
    if (folder.isDir() && folder.isWritable() && holdsFormulas)
        return inFolder(programFolder);
    DataFolder result;
    result.path_ = perUserFolder.isEmpty() ? QString() : QDir::cleanPath(perUserFolder);
    // A read-only program folder with the data (a copy on a share or a
    // medium) serves as the installed files.
    result.installedPath_ = QDir::cleanPath(holdsFormulas ? programFolder : installedFolder);
    result.perUser_ = true;
    return result;
}

DataFolder DataFolder::inFolder(const QString &folder)
{
    DataFolder result;
    result.path_ = QDir::cleanPath(folder);
    result.installedPath_ = result.path_;
    return result;
}

QString DataFolder::settingsFileName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
           QStringLiteral(".INI");
}

const QStringList &DataFolder::userFiles()
{
    static const QStringList files{formulaFile, QStringLiteral("USER.INI")};
    return files;
}

QString DataFolder::shippedFile(const QString &name) const
{
    const QString own = QDir(path_).filePath(name);
    return QFileInfo::exists(own) ? own : QDir(installedPath_).filePath(name);
}

QString DataFolder::prepare() const
{
    if (!perUser_)
        return {};
    if (path_.isEmpty())
        return cannotUse(QStringLiteral("(none)"),
                         QStringLiteral("the system names no data folder for this user"));
    // std::filesystem, for the system's reason when the folder cannot be made.
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path_.toStdU16String()), error);
    if (error)
        return cannotUse(path_, QString::fromLocal8Bit(error.message()));
    QTemporaryFile probe(QDir(path_).filePath(QStringLiteral(".write-check-XXXXXX")));
    if (!probe.open())
        return cannotUse(path_, probe.errorString());

    // A missing source is left to the reader of the file, which names it.
    for (const QString &name : userFiles()) {
        const QString target = QDir(path_).filePath(name);
        if (QFileInfo::exists(target))
            continue;
        if (QFile::copy(QDir(installedPath_).filePath(name), target))
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::ReadOther);
    }
    return {};
}

} // namespace orvex

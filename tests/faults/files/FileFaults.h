// SPDX-License-Identifier: GPL-2.0-or-later
// Ways to make the file system refuse, that hold for root as well.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include "support/FullDisk.h"

namespace orvex::test {

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

// The names in a folder, hidden ones too.
inline QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace orvex::test

namespace orvex::test {

// A program folder of its own with the formula file, for the main window.
class ProgramFolder
{
public:
    ProgramFolder()
    {
        QFile::copy(QStringLiteral(ORVEX_SOURCE_DIR "/data/formula.txt"),
                    dir.filePath(QStringLiteral("formula.txt")));
        QFile::setPermissions(dir.filePath(QStringLiteral("formula.txt")),
                              QFile::ReadOwner | QFile::WriteOwner);
    }
    QString path() const { return dir.path(); }
    QString file(const QString &name) const { return dir.filePath(name); }
    // The settings file: named after the test executable, as after the program.
    QString iniFile() const
    {
        return dir.filePath(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                            QStringLiteral(".INI"));
    }
    QByteArray ini() const { return readBytes(iniFile()); }

    QTemporaryDir dir;
};

} // namespace orvex::test

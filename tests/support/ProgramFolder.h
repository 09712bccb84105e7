// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

namespace orvex::test {

// A program folder of its own for one test: the main window's settings,
// Keps and LOGS go here. Holds the calibration file unless told otherwise.
class ProgramFolder
{
public:
    explicit ProgramFolder(bool withFormulas = true)
    {
        if (!withFormulas)
            return;
        QFile::copy(QStringLiteral(ORVEX_SOURCE_DIR "/data/formula.txt"), file("formula.txt"));
        QFile::setPermissions(file("formula.txt"), QFile::ReadOwner | QFile::WriteOwner);
    }

    QString path() const { return dir.path(); }
    QString file(const QString &name) const { return dir.filePath(name); }
    // The settings file: named after the test executable, as after the program.
    QString iniFile() const
    {
        return file(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                    QStringLiteral(".INI"));
    }
    QByteArray ini() const
    {
        QFile f(iniFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    bool writeIni(const QByteArray &text) const
    {
        QFile f(iniFile());
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
    }

    QTemporaryDir dir;
};

} // namespace orvex::test

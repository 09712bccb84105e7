// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace orvex {

// Where the program keeps what it writes (settings, Keps, LOGS, the lock,
// downloads, the user's own formula.txt and USER.INI), and where it finds
// the files it ships read-only (world.gif, the help, the terminal font).
//
// One rule decides it: the executable's folder when that is writable and
// holds formula.txt (the build tree, a portable copy); otherwise a per-user
// folder, with the shipped files read from the installed data folder and the
// files a user may edit copied from there on the first start.
class DataFolder
{
public:
    // The rule for the running program: its executable's folder, Qt's
    // application data location, and share/orvexdecode beside bin/.
    static DataFolder forThisProgram();
    // The rule itself, with the three candidates given. A program folder
    // that holds formula.txt but cannot be written stands for the installed
    // folder.
    static DataFolder choose(const QString &programFolder, const QString &perUserFolder,
                             const QString &installedFolder);
    // One folder given outright (tests, tools): it holds everything.
    static DataFolder inFolder(const QString &folder);

    // The settings file's name: the executable's name with ".INI".
    static QString settingsFileName();
    // The files a user may edit, copied into a per-user folder where missing.
    static const QStringList &userFiles();

    // The folder for everything written, without a trailing separator.
    QString path() const { return path_; }
    // Where the shipped files are installed; path() unless per-user.
    QString installedPath() const { return installedPath_; }
    bool isPerUser() const { return perUser_; }

    // A file the program ships: the data folder's own copy when it has one,
    // otherwise the installed one.
    QString shippedFile(const QString &name) const;

    // Makes a per-user folder, checks that it can be written, and copies in
    // the user files it lacks. Returns an empty text, or the one message
    // that names the folder which cannot be made or written.
    QString prepare() const;

private:
    QString path_;
    QString installedPath_;
    bool perUser_ = false;
};

} // namespace orvex

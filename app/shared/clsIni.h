// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <utility>

// The program's access to its settings files. Nothing is cached: every call
// reads or writes the file, so several objects on the same file always agree.
// Without a file argument a call works on the default settings file.
// Text is stored one byte per character (Latin-1).
class clsIni
{
public:
    // Default file: <program folder>/<executable name without extension>.INI
    clsIni();
    explicit clsIni(const QString &defaultFile);

    void DeleteSection(const QString &section, const QString &file = QString());
    void DeleteKey(const QString &section, const QString &key, const QString &file = QString());
    // True for "TRUE", "YES", "1" and "ON" in any case, nothing else.
    static bool IsItTrue(const QString &text);
    // [0] = key names, [1] = values; entry 0 of each is empty, entries 1..N
    // hold the section's keys in file order.
    std::array<QStringList, 2> LoadAllKeysInSection(const QString &section,
                                                    const QString &file = QString());
    static QString TrueOrFalse(bool value);
    // A value longer than 499 characters comes back cut to 499.
    QString GetIniString(const QString &section, const QString &key, const QString &defaultValue,
                         const QString &file = QString());
    // Empty text is stored as "" so that it reads back as empty text.
    void SaveIniString(const QString &section, const QString &key, const QString &value,
                       const QString &file = QString());
    // Saves several keys of one section as SaveIniString does, all in one
    // replacement of the file: a kill while saving keeps none or all.
    void SaveIniStrings(const QString &section,
                        const QList<std::pair<QString, QString>> &keysAndValues,
                        const QString &file = QString());
    // Replaces the whole section by these keys and values, in file order, in
    // one replacement of the file.
    void ReplaceSection(const QString &section,
                        const QList<std::pair<QString, QString>> &keysAndValues,
                        const QString &file = QString());
    // Reads the key; when it is missing, writes the default and returns it.
    QString GetIniStringWriteDefault(const QString &section, const QString &key,
                                     const QString &defaultValue, const QString &file = QString());
    QString strDefaultIniFile() const;

private:
    QString fileOrDefault(const QString &file) const;

    QString defaultFile_;
};

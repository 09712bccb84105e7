// SPDX-License-Identifier: GPL-2.0-or-later
#include "shared/clsIni.h"

#include "platform/DataFolder.h"
#include "platform/ProfileStore.h"

#include <QDir>

namespace {

constexpr int valueBufferSize = 500;
constexpr int keyListBufferSize = 10000;
// Returned for a missing key by GetIniStringWriteDefault's own read.
const QString missingSentinel = QStringLiteral("$!*%");

QString defaultSettingsFile()
{
    return QDir(orvex::DataFolder::forThisProgram().path())
        .filePath(orvex::DataFolder::settingsFileName());
}

bool startsOrEndsWithBlank(const QString &text)
{
    if (text.isEmpty())
        return false;
    // The store trims blanks and tabs from unquoted values.
    const auto isBlank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    return isBlank(text.front()) || isBlank(text.back());
}

// Empty text is stored as "" so that it reads back as empty text.
QList<orvex::ProfileStore::Change>
storeChanges(const QString &section, const QList<std::pair<QString, QString>> &keysAndValues)
{
    QList<orvex::ProfileStore::Change> changes;
    for (const auto &[key, value] : keysAndValues) {
        const QString stored = value.isEmpty() ? QStringLiteral("\"\"") : value;
        changes.append({section.toLatin1(), key.toLatin1(), stored.toLatin1()});
    }
    return changes;
}

} // namespace

clsIni::clsIni() : defaultFile_(defaultSettingsFile()) {}

clsIni::clsIni(const QString &defaultFile) : defaultFile_(defaultFile) {}

QString clsIni::strDefaultIniFile() const
{
    return defaultFile_;
}

QString clsIni::fileOrDefault(const QString &file) const
{
    return file.isEmpty() ? defaultFile_ : file;
}

void clsIni::DeleteSection(const QString &section, const QString &file)
{
    orvex::ProfileStore::writeString(section.toLatin1(), std::nullopt, std::nullopt,
                                     fileOrDefault(file));
}

void clsIni::DeleteKey(const QString &section, const QString &key, const QString &file)
{
    orvex::ProfileStore::writeString(section.toLatin1(), key.toLatin1(), std::nullopt,
                                     fileOrDefault(file));
}

bool clsIni::IsItTrue(const QString &text)
{
    const QString upper = text.toUpper();
    return upper == QLatin1String("TRUE") || upper == QLatin1String("YES") ||
           upper == QLatin1String("1") || upper == QLatin1String("ON");
}

QString clsIni::TrueOrFalse(bool value)
{
    return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

std::array<QStringList, 2> clsIni::LoadAllKeysInSection(const QString &section, const QString &file)
{
    std::array<QStringList, 2> result{QStringList{QString()}, QStringList{QString()}};
    QByteArray buffer;
    const int count =
        orvex::ProfileStore::getString(section.toLatin1(), std::nullopt, QByteArray(), buffer,
                                       keyListBufferSize, fileOrDefault(file));
    const QList<QByteArray> names = buffer.left(count).split('\0');
    for (const QByteArray &name : names) {
        if (name.isEmpty())
            continue;
        const QString key = QString::fromLatin1(name);
        result[0].append(key);
        result[1].append(GetIniString(section, key, QString(), file));
    }
    return result;
}

QString clsIni::GetIniString(const QString &section, const QString &key,
                             const QString &defaultValue, const QString &file)
{
    QByteArray buffer;
    const int count =
        orvex::ProfileStore::getString(section.toLatin1(), key.toLatin1(), defaultValue.toLatin1(),
                                       buffer, valueBufferSize, fileOrDefault(file));
    return QString::fromLatin1(buffer.constData(), count);
}

void clsIni::SaveIniString(const QString &section, const QString &key, const QString &value,
                           const QString &file)
{
    SaveIniStrings(section, {{key, value}}, file);
}

void clsIni::SaveIniStrings(const QString &section,
                            const QList<std::pair<QString, QString>> &keysAndValues,
                            const QString &file)
{
    orvex::ProfileStore::writeStrings(storeChanges(section, keysAndValues), fileOrDefault(file));
}

void clsIni::ReplaceSection(const QString &section,
                            const QList<std::pair<QString, QString>> &keysAndValues,
                            const QString &file)
{
    QList<orvex::ProfileStore::Change> changes{{section.toLatin1(), std::nullopt, std::nullopt}};
    changes += storeChanges(section, keysAndValues);
    orvex::ProfileStore::writeStrings(changes, fileOrDefault(file));
}

QString clsIni::GetIniStringWriteDefault(const QString &section, const QString &key,
                                         const QString &defaultValue, const QString &file)
{
    QString value = GetIniString(section, key, missingSentinel, file);
    if (value != missingSentinel)
        return value;
    const QString stored = startsOrEndsWithBlank(defaultValue)
                               ? QLatin1Char('"') + defaultValue + QLatin1Char('"')
                               : defaultValue;
    SaveIniString(section, key, stored, file);
    return defaultValue;
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "shared/clsIni.h"

#include "platform/ProfileStore.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

constexpr int valueBufferSize = 500;
constexpr int keyListBufferSize = 10000;
// Returned for a missing key by GetIniStringWriteDefault's own read.
const QString missingSentinel = QStringLiteral("$!*%");

QString defaultSettingsFile()
{
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + exe.completeBaseName() +
           QStringLiteral(".INI");
}

bool startsOrEndsWithBlank(const QString &text)
{
    if (text.isEmpty())
        return false;
    // The store trims blanks and tabs from unquoted values.
    const auto isBlank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    return isBlank(text.front()) || isBlank(text.back());
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
    const QString stored = value.isEmpty() ? QStringLiteral("\"\"") : value;
    orvex::ProfileStore::writeString(section.toLatin1(), key.toLatin1(), stored.toLatin1(),
                                     fileOrDefault(file));
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

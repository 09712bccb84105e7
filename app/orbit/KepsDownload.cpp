// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/KepsDownload.h"

#include "orbit/KepsInstaller.h"

bool KepsDownload::start(const QString &typed1, const QString &typed2)
{
    const std::array<QString, fileCount> typed{typed1, typed2};
    std::array<QString, fileCount> addresses;
    std::array<QString, fileCount> names;
    for (size_t i = 0; i < fileCount; ++i) {
        addresses[i] = KepsInstaller::fullAddress(typed[i]);
        names[i] = KepsInstaller::fileNameFromAddress(addresses[i]);
    }
    if (names[0].isEmpty() && names[1].isEmpty())
        return false;

    addresses_ = addresses;
    fileNames_ = names;
    errors_ = {};
    notices_ = {};
    current_ = names[0].isEmpty() ? 1 : 0;
    busy = false;
    return true;
}

bool KepsDownload::moveToNextFile()
{
    if (current_ != 0 || fileNames_[1].isEmpty())
        return false;
    current_ = 1;
    return true;
}

QString KepsDownload::finishedMessage() const
{
    QString text = QStringLiteral("The Keps have been downloaded.");
    for (size_t i = 0; i < fileCount; ++i) {
        if (!notices_[i].isEmpty())
            text += QStringLiteral("\r\nFile %1 - ").arg(i + 1) + notices_[i];
    }
    if (errors_[0].isEmpty() && errors_[1].isEmpty())
        return text;
    text += QStringLiteral("\r\nThe following errors occurred - ");
    for (size_t i = 0; i < fileCount; ++i) {
        if (!errors_[i].isEmpty())
            text += QStringLiteral("\r\nFile %1 - ").arg(i + 1) + errors_[i];
    }
    return text;
}

QString KepsDownload::statusLine(int state, const QString &host)
{
    switch (state) {
    case 0:
        return QStringLiteral("Idle");
    case 1:
        return QStringLiteral("Resolving host");
    case 2:
        return QStringLiteral("Resolved host");
    case 3:
        return QStringLiteral("Attempting to connect to - ") + host;
    case 4:
        return QStringLiteral("Connected");
    case 6:
        return QStringLiteral("Request sent");
    case 8:
        return QStringLiteral("Received some data");
    case 9:
        return QStringLiteral("Disconnecting");
    case 10:
        return QStringLiteral("Disconnected");
    default:
        return {};
    }
}

QString KepsDownload::withStatusLine(const QString &box, const QString &line)
{
    constexpr qsizetype kept = 10000;
    const QString start = box.size() > kept ? box.right(kept) : box;
    return start + line + QStringLiteral("\r\n");
}

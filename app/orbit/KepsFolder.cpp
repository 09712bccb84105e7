// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/KepsFolder.h"

#include "orbit/DemoElements.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void FindKeps(const QString &folder, SatTable &sats)
{
    for (SatObject &sat : sats)
        sat.elementSetFound = false;
    const QDir keps(folder);
    const QStringList files = keps.entryList(QDir::Files, QDir::Name);
    // The demo station's invented sets name only what no other file holds.
    QStringList demoFiles;
    for (const QString &file : files) {
        if (isDemoElementFile(keps.filePath(file))) {
            demoFiles << file;
            continue;
        }
        ScanKepsFile(keps.filePath(file), sats);
        if (blnAllKepsFound(sats))
            break;
    }
    for (const QString &file : demoFiles) {
        if (blnAllKepsFound(sats))
            break;
        const SatTable before = sats;
        ScanKepsFile(keps.filePath(file), sats);
        for (size_t i = 0; i < sats.size(); ++i)
            if (before[i].elementSetFound)
                sats[i] = before[i];
    }
}

void ScanKepsFile(const QString &path, SatTable &sats)
{
    // Regular files only: the listing also passes links, and opening a FIFO
    // (or a device) would wait for a writer that never comes.
    if (!QFileInfo(path).isFile())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    constexpr qint64 blockSize = qint64{64} * 1024;
    KepsScanner scanner(sats);
    for (QByteArray block = file.read(blockSize); !block.isEmpty(); block = file.read(blockSize))
        scanner.feed(QString::fromLatin1(block));
    scanner.finish();
}

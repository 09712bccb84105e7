// SPDX-License-Identifier: GPL-2.0-or-later
#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

bool makeProgramFolder(const QString &folder, const QByteArray &catalogue)
{
    const QDir dir(folder);
    const QString ini = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                        QStringLiteral(".INI");
    const QByteArray demo =
        "# DEMO ELEMENTS: invented by the ORVEX demo station, not for tracking\n" +
        readFile(QStringLiteral(ORVEX_SOURCE_DIR "/tests/data/demo-elements.txt"));
    return dir.mkpath(QStringLiteral("Keps")) &&
           writeFile(dir.filePath(QStringLiteral("formula.txt")),
                     readFile(QStringLiteral(ORVEX_SOURCE_DIR "/data/formula.txt"))) &&
           writeFile(dir.filePath(ini),
                     "[AGWPE]\r\nHOST_ADDRESS=127.0.0.1\r\nHOST_PORT=1\r\n"
                     "[SETUP]\r\nLATITUDE=3859.50N\r\nLONGITUDE=07701.23W\r\n") &&
           writeFile(dir.filePath(QStringLiteral("Keps/demo.txt")), demo) &&
           (catalogue.isEmpty() ||
            writeFile(dir.filePath(QStringLiteral("Keps/catalogue.txt")), catalogue));
}

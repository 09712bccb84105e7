// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/DemoElements.h"

#include "orbitengine/ElementCatalogue.h"

#include <QFile>
#include <QFileInfo>

bool isDemoElementFile(const QString &path)
{
    // Regular files only: opening a FIFO would wait for a writer.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray start = file.read(static_cast<qint64>(orbit::demoElementsMarker.size()));
    return std::string_view(start.constData(), static_cast<size_t>(start.size())) ==
           orbit::demoElementsMarker;
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/WholeFile.h"

#include <QSaveFile>

namespace orvex {

bool writeAll(QFileDevice &file, const QByteArray &data)
{
    qint64 done = 0;
    while (done < data.size()) {
        const qint64 written = file.write(data.constData() + done, data.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

bool writeWholeFile(const QString &path, const QByteArray &data, QString *why)
{
    // Unbuffered, so that every byte has reached the temporary file before
    // commit(): a buffered write that the disk refuses at the last flush
    // would otherwise still be put in place, cut short.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && writeAll(file, data) &&
        file.commit())
        return true;
    if (why)
        *why = file.errorString();
    file.cancelWriting();
    return false;
}

} // namespace orvex

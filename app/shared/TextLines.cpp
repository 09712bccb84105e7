// SPDX-License-Identifier: GPL-2.0-or-later
#include "shared/TextLines.h"

namespace orvex {

std::optional<QList<QByteArray>> textFileLines(const QByteArray &bytes, QString *why)
{
    const auto refuse = [why](const QString &reason) -> std::optional<QList<QByteArray>> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff"))
        return refuse(QStringLiteral("The file is in UTF-16 or UTF-32; it must be plain text"));
    if (bytes.contains('\0'))
        return refuse(QStringLiteral("The file holds zero bytes; it must be plain text"));
    QByteArrayView text(bytes);
    if (text.startsWith("\xef\xbb\xbf"))
        text = text.sliced(3);
    QList<QByteArray> lines;
    qsizetype begin = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] != '\r' && text[at] != '\n')
            continue;
        lines << text.sliced(begin, at - begin).toByteArray();
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
            ++at;
        begin = at + 1;
    }
    if (begin < text.size())
        lines << text.sliced(begin).toByteArray();
    return lines;
}

} // namespace orvex

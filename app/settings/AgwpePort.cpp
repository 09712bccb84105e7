// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/AgwpePort.h"

#include "shared/NumberText.h"

#include <QRegularExpression>

namespace orvex {

std::optional<qint16> agwPortFromText(const QString &text)
{
    static const QRegularExpression wholeNumber(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([EeDd][+-]?\\d+)?$"));
    const QString trimmed = text.trimmed();
    if (!wholeNumber.match(trimmed).hasMatch())
        return std::nullopt;
    const auto port = roundToInt32(leadingNumber(trimmed));
    if (!port || *port < 1 || *port > 32767)
        return std::nullopt;
    return static_cast<qint16>(*port);
}

} // namespace orvex

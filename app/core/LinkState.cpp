// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/LinkState.h"

namespace {
QString lowerFirst(QString text)
{
    text = text.trimmed();
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}
} // namespace

void LinkState::linked(const QString &host, quint16 port, const QDateTime &nowUtc)
{
    linked_ = true;
    everTried_ = true;
    address_ = QStringLiteral("%1:%2").arg(host).arg(port);
    since_ = nowUtc;
    failures_ = 0;
    reason_.clear();
}

void LinkState::failed(const QString &reason, const QDateTime &nowUtc)
{
    if (linked_ || failures_ == 0)
        since_ = nowUtc;
    linked_ = false;
    everTried_ = true;
    reason_ = reason;
    ++failures_;
}

QString LinkState::statusText(int msToNextTry) const
{
    if (linked_)
        return QStringLiteral("Linked to %1 since %2 UTC")
            .arg(address_, since_.toUTC().toString(QStringLiteral("HH:mm")));
    if (!everTried_)
        return QStringLiteral("Not linked");
    QString text = QStringLiteral("No link");
    if (!reason_.trimmed().isEmpty())
        text += QStringLiteral(": ") + lowerFirst(reason_);
    if (failures_ > 1)
        text += QStringLiteral(" (%1 failed tries since %2 UTC)")
                    .arg(failures_)
                    .arg(since_.toUTC().toString(QStringLiteral("HH:mm")));
    if (msToNextTry >= 0)
        text += QStringLiteral(", next try in %1 s").arg((msToNextTry + 999) / 1000);
    return text;
}

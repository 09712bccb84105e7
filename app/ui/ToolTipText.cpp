// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/ToolTipText.h"

#include <QTextDocument>

namespace orvex {

QString plainToolTip(const QString &text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

} // namespace orvex

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include <ostream>

// Lets GoogleTest show QString values as text in its failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>

// Turns every line end of a text - CR LF, bare LF or bare CR - into CR LF,
// working through the text block by block as it is read from a file. A CR at
// the end of one block and an LF at the start of the next are one line end.
class LineEndConverter
{
public:
    static constexpr qsizetype blockSize = 8192;

    // Converts the next block of the text.
    QByteArray convertBlock(QByteArray block);

    // The whole text, converted in blocks of `size` bytes.
    static QByteArray convert(const QByteArray &text, qsizetype size = blockSize);

private:
    bool previousEndedWithCr_ = false;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/LineEndConverter.h"

QByteArray LineEndConverter::convertBlock(QByteArray block)
{
    if (block.isEmpty())
        return block; // keeps the CR state of the block before
    const bool endsWithCr = block.endsWith('\r');
    if (previousEndedWithCr_ && block.startsWith('\n'))
        block.remove(0, 1);
    previousEndedWithCr_ = endsWithCr;

    block.replace("\r\n", "\r");
    block.replace('\n', '\r');
    block.replace("\r", "\r\n");
    return block;
}

QByteArray LineEndConverter::convert(const QByteArray &text, qsizetype size)
{
    if (size <= 0)
        size = blockSize;
    LineEndConverter converter;
    QByteArray out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype at = 0; at < text.size(); at += size)
        out += converter.convertBlock(text.mid(at, size));
    return out;
}

// SPDX-License-Identifier: GPL-2.0-or-later
// Downloaded element files: any bytes, in blocks of any size, must come out
// with every line end CR LF, the same as in one block, and scan for the two
// satellites without failing.
#include "orbit/LineEndConverter.h"
#include "orbit/SatObject.h"

#include <cstdint>
#include <cstdlib>

namespace {
bool onlyCrLf(const QByteArray &t)
{
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == '\r' && (i + 1 >= t.size() || t[i + 1] != '\n'))
            return false;
        if (t[i] == '\n' && (i == 0 || t[i - 1] != '\r'))
            return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks a block size; the rest is the file.
    const qsizetype block = 1 + data[0] % 16;
    const QByteArray text(reinterpret_cast<const char *>(data + 1),
                          static_cast<qsizetype>(size - 1));
    const QByteArray whole = LineEndConverter::convert(text);
    if (!onlyCrLf(whole) || LineEndConverter::convert(text, block) != whole)
        std::abort();
    if (LineEndConverter::convert(whole) != whole)
        std::abort();

    SatTable sats;
    sats[0].name = QStringLiteral("ORVEX");
    sats[0].objectNumber = QStringLiteral("99901");
    sats[1].name = QStringLiteral("ISS");
    sats[1].objectNumber = QStringLiteral("25544");
    ScanKepsText(QString::fromLatin1(text), sats);
    ScanKepsText(QString::fromLatin1(whole), sats);
    (void)blnAllKepsFound(sats);
    for (int i = 0; i < 2; ++i)
        (void)MakeLocationCaption(i, sats[static_cast<size_t>(i)].name);
    return 0;
}

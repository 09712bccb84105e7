// SPDX-License-Identifier: GPL-2.0-or-later
// Monitored frames come from the packet engine: any bytes must rewrite for
// display, and joined lines must be non-empty, trimmed and ended by CR LF.
#include "core/MonitorText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the kind and the form; the rest is the frame.
    const qint32 kind = data[0] % 7;
    const bool shortForm = (data[0] & 0x80) != 0;
    const QByteArray frame(reinterpret_cast<const char *>(data + 1),
                           static_cast<qsizetype>(size - 1));
    const orvex::Date when = 46364.58;

    const QString text = monitor::bytesToText(frame);
    const QString header = text.left(text.indexOf('\r'));
    (void)monitor::FormatMonitorHeader(header, kind, shortForm, when);
    const QString shown = monitor::rewriteMonitoredFrame(frame, kind, when);
    if (!frame.contains('\r') && shown != text)
        std::abort();
    (void)monitor::frameLines(frame);

    const QString normalised = monitor::normaliseLineEnds(text);
    if (normalised.contains('\n'))
        std::abort();
    const QString joined = monitor::joinMonitorLines(text);
    for (const QString &line : joined.split(QStringLiteral("\r\n"))) {
        if (line.contains('\r') || line.contains('\n'))
            std::abort();
    }
    if (!joined.isEmpty() &&
        (!joined.endsWith(QStringLiteral("\r\n")) || joined.contains(QStringLiteral("\r\n\r\n"))))
        std::abort();
    if (monitor::joinMonitorLines(joined) != joined)
        std::abort();
    return 0;
}

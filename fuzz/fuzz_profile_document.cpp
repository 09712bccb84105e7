// SPDX-License-Identifier: GPL-2.0-or-later
// Settings files are outside input: whatever their bytes, parsing must not
// fail, writing out must be stable, and a value set must read back.
#include "platform/ProfileStore.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    orvex::ProfileDocument doc = orvex::ProfileDocument::parse(bytes);
    const QByteArray once = doc.toBytes();
    if (orvex::ProfileDocument::parse(once).toBytes() != once)
        std::abort();

    const QList<QByteArray> sections = doc.sectionNames();
    for (const QByteArray &section : sections)
        for (const QByteArray &key : doc.keyNames(section))
            if (!doc.rawValue(section, key))
                std::abort();

    doc.setValue("FUZZ", "KEY", "value");
    if (doc.rawValue("fuzz", "key") != QByteArray("value"))
        std::abort();
    doc.removeKey("FUZZ", "KEY");
    if (doc.rawValue("FUZZ", "KEY"))
        std::abort();
    if (!sections.isEmpty()) {
        doc.removeSection(sections.front());
        if (!doc.keyNames(sections.front()).isEmpty())
            std::abort();
    }
    return 0;
}

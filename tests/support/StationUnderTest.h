// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// The whole station (main window, terminal, grids) in a program folder of
// its own, set up to talk to a test engine on a loopback port. Header only: it needs
// the program's widgets, which only the tests that include it link.

#include "core/frmORVEX.h"
#include "platform/RichMonitor.h"
#include "support/ProgramFolder.h"
#include "support/Wait.h"
#include "terminal/frmTerm.h"

#include <QPlainTextEdit>
#include <QTimer>

#include <memory>

namespace orvex::test {

class StationUnderTest
{
public:
    // Writes the settings file (engine at 127.0.0.1:`enginePort`, every
    // frame shown in long form, plus `extraSettings`, CR LF lines).
    explicit StationUnderTest(quint16 enginePort, const QByteArray &extraSettings = {})
    {
        folder.writeIni(
            "[AGWPE]\r\nHOST_ADDRESS=127.0.0.1\r\nHOST_PORT=" + QByteArray::number(enginePort) +
            "\r\n[SETUP]\r\nONLY_SHOW_ORVEX=FALSE\r\n" + extraSettings);
    }

    // Creates and loads the main window; false when loading failed.
    bool load()
    {
        window = std::make_unique<frmORVEX>(folder.path());
        return window->Load();
    }

    bool waitForLink(int timeoutMs = 10000) const
    {
        return waitUntil([this] { return window->blnConectedToAgw(); }, timeoutMs);
    }
    bool waitForMonitor(const QString &text, int timeoutMs = 10000) const
    {
        return waitUntil([&] { return monitorText().contains(text); }, timeoutMs);
    }

    QString monitorText() const { return window->txtMon()->toPlainText(); }
    RichMonitor *terminalMonitor() const
    {
        return window->terminal()->findChild<RichMonitor *>(QStringLiteral("rtbMon"));
    }
    QTimer *timer(const char *name) const
    {
        return window->findChild<QTimer *>(QString::fromLatin1(name));
    }

    ProgramFolder folder;
    std::unique_ptr<frmORVEX> window;
};

} // namespace orvex::test

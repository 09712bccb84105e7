// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's part in the telemetry history: the history window over
// the store, shaded with ORVEX's shadow and its passes over the station.
#include "core/frmORVEX.h"
#include "history/HistoryWindow.h"
#include "history/OrbitSpans.h"
#include "history/TelemetryHistory.h"
#include "ui/mb.h"

#include <QScreen>

void frmORVEX::showHistory()
{
    history::StoreReader *store = history_ ? history_->reader() : nullptr;
    if (!store) {
        mb::ShowMsg(this,
                    QStringLiteral("The telemetry history is not available in this run: its "
                                   "store could not be opened (see the message at start-up)."),
                    mb::vbExclamation);
        return;
    }
    if (historyWindow_) {
        historyWindow_->reload();
    } else {
        historyWindow_ = new history::HistoryWindow(*store, this);
        historyWindow_->setWindowFlag(Qt::Window);
        historyWindow_->setAttribute(Qt::WA_DeleteOnClose);
        const auto spans = std::make_shared<history::OrbitSpans>(*tracking_);
        historyWindow_->setShadowSpans(
            [spans](qint64 fromMs, qint64 toMs) { return spans->shadows(fromMs, toMs); });
        historyWindow_->setInViewSpans(
            [spans](qint64 fromMs, qint64 toMs) { return spans->passes(fromMs, toMs); });
        // Long reads on a connection of their own, off the station's thread.
        historyWindow_->readInBackground(history_->sourceOpener());
        historyWindow_->useSettings(cIni());
    }
    if (!historyWindow_->isVisible()) {
        // No larger than the screen it opens on, and in its middle.
        const QRect area = screen()->availableGeometry();
        historyWindow_->resize(historyWindow_->size().boundedTo(area.size() * 0.9));
        historyWindow_->move(area.center() - historyWindow_->rect().center());
    }
    historyWindow_->show();
    historyWindow_->raise();
    historyWindow_->activateWindow();
}

void frmORVEX::closeHistory()
{
    // It reads the store and the orbits, which go before the window does;
    // closed first, so that it keeps its state in the settings.
    if (historyWindow_)
        historyWindow_->close();
    delete historyWindow_;
}

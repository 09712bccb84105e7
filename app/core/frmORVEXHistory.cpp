// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's part in the telemetry history: the history window over
// the store, shaded with ORVEX's shadow and its passes over the station.
#include "core/frmORVEX.h"
#include "history/HistoryWindow.h"
#include "history/TelemetryHistory.h"
#include "orbit/clsSats.h"
#include "ui/mb.h"

#include <QScreen>
#include <cmath>

namespace {
constexpr double julianOfUnixEpoch = 2440587.5;
constexpr double msPerDay = 86400000.0;

double julianOf(qint64 utcMs)
{
    return julianOfUnixEpoch + static_cast<double>(utcMs) / msPerDay;
}

qint64 unixMsOf(double jd)
{
    return static_cast<qint64>(std::llround((jd - julianOfUnixEpoch) * msPerDay));
}
} // namespace

void frmORVEX::showHistory()
{
    history::TelemetryStore *store = history_ ? history_->store() : nullptr;
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
        // Shading follows ORVEX, whose telemetry the store holds.
        auto orbits = [this]() -> std::pair<clsSats *, std::string> {
            if (!cSats_ || !sats_[0].elementSetFound)
                return {nullptr, {}};
            return {cSats_.get(), sats_[0].name.toStdString()};
        };
        historyWindow_->setShadowSpans([orbits](qint64 fromMs, qint64 toMs) {
            std::vector<history::TimeSpan> spans;
            const auto [sats, name] = orbits();
            if (!sats)
                return spans;
            const orbit::EclipseSearch search =
                sats->engine().findEclipses(name, julianOf(fromMs), julianOf(toMs));
            for (const orbit::Eclipse &eclipse : search.eclipses)
                spans.push_back({unixMsOf(eclipse.entryJd), unixMsOf(eclipse.exitJd)});
            return spans;
        });
        historyWindow_->setInViewSpans([this, orbits](qint64 fromMs, qint64 toMs) {
            std::vector<history::TimeSpan> spans;
            const auto [sats, name] = orbits();
            if (!sats || !blnLocationKnown_)
                return spans;
            const orbit::PassSearch search =
                sats->engine().findPasses(name, julianOf(fromMs) - 0.5 / 24, julianOf(toMs));
            for (const orbit::Pass &pass : search.passes)
                spans.push_back({unixMsOf(pass.aosJd), unixMsOf(pass.losJd)});
            return spans;
        });
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
    // It reads the store and the orbits, which go before the window does.
    delete historyWindow_;
}

// SPDX-License-Identifier: GPL-2.0-or-later
// Shows the history window over a week of telemetry held in memory, with
// the channels named as GRID/Row/Side ticked, to look at it by eye; a first
// argument --day, --last-pass or --all picks the range (else 7 days).
#include "history/HistoryWindow.h"
#include "support/MemoryChannelSource.h"

#include <QApplication>
#include <QScreen>
#include <QTreeWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const TelemetryWeek week(1'796'083'200'000); // 2026-12-01T00:00:00Z
    history::HistoryWindow window(week.source);
    window.setShadowSpans([&](qint64 from, qint64 to) { return week.shadow(from, to); });
    window.setInViewSpans([&](qint64 from, qint64 to) { return week.inView(from, to); });
    auto *tree = window.findChild<QTreeWidget *>(QStringLiteral("channels"));
    const QStringList ticked = app.arguments().mid(1);
    for (QTreeWidgetItem *item :
         tree->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive)) {
        const QString path = item->parent() && item->parent()->parent()
                                 ? item->parent()->parent()->text(0) + QLatin1Char('/') +
                                       item->parent()->text(0) + QLatin1Char('/') + item->text(0)
                                 : QString();
        if (ticked.contains(path))
            item->setCheckState(0, Qt::Checked);
    }
    using history::HistoryRange;
    const QString range = ticked.isEmpty() ? QString() : ticked.front();
    window.showRange(range == QLatin1String("--day")         ? HistoryRange::Day
                     : range == QLatin1String("--last-pass") ? HistoryRange::LastPass
                     : range == QLatin1String("--all")       ? HistoryRange::All
                                                             : HistoryRange::Week);
    // No larger than the screen, as the main window opens it.
    window.resize(window.size().boundedTo(window.screen()->availableGeometry().size()));
    window.show();
    return app.exec();
}

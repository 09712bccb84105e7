// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/RichMonitor.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace {
constexpr qsizetype noBound = 1 << 20;
}

RichMonitor::RichMonitor(QWidget *parent)
    : QPlainTextEdit(parent), pending_(
                                  *this, [](QStringView) { return qsizetype{0}; }, noBound)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, QColor(0, 255, 0));
    setPalette(colours);
}

void RichMonitor::setCutRule(const monitorview::PendingText::CutRule &rule, qsizetype bound)
{
    flushPending();
    pending_.setRule(rule, bound);
}

void RichMonitor::appendColoured(const QString &text, const QColor &colour)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextCharFormat format;
    format.setForeground(colour);
    pending_.add(lines, format);
    scheduleFlush();
}

void RichMonitor::scheduleFlush()
{
    // A hidden view takes its text when it is shown.
    if (flushScheduled_ || !isVisible())
        return;
    flushScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        flushScheduled_ = false;
        if (isVisible())
            flushPending();
    });
}

void RichMonitor::flushPending()
{
    pending_.write();
}

void RichMonitor::showEvent(QShowEvent *event)
{
    flushPending();
    QPlainTextEdit::showEvent(event);
}

void RichMonitor::removeLeading(int count)
{
    flushPending();
    if (count <= 0)
        return;
    const bool updating = updatesEnabled();
    setUpdatesEnabled(false);
    monitorview::removeLeading(*this, count);
    setUpdatesEnabled(updating);
}

void RichMonitor::clearAll()
{
    pending_.discard();
    clear();
}

int RichMonitor::length()
{
    flushPending();
    return monitorview::length(*this);
}

QString RichMonitor::text()
{
    flushPending();
    return toPlainText();
}

QColor RichMonitor::colourAt(int position)
{
    flushPending();
    QTextCursor cursor(document());
    cursor.setPosition(qBound(0, position + 1, monitorview::length(*this)));
    return cursor.charFormat().foreground().color();
}

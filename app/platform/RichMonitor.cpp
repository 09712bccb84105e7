// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/RichMonitor.h"

#include "platform/MonitorView.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

RichMonitor::RichMonitor(QWidget *parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, QColor(0, 255, 0));
    setPalette(colours);
}

void RichMonitor::appendColoured(const QString &text, const QColor &colour)
{
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextCharFormat format;
    format.setForeground(colour);
    monitorview::appendAtEnd(*this, lines, format);
}

void RichMonitor::removeLeading(int count)
{
    if (count <= 0)
        return;
    const bool updating = updatesEnabled();
    setUpdatesEnabled(false);
    monitorview::removeLeading(*this, count);
    setUpdatesEnabled(updating);
}

int RichMonitor::length() const
{
    return monitorview::length(*this);
}

QString RichMonitor::text() const
{
    return toPlainText();
}

QColor RichMonitor::colourAt(int position) const
{
    QTextCursor cursor(document());
    cursor.setPosition(qBound(0, position + 1, length()));
    return cursor.charFormat().foreground().color();
}

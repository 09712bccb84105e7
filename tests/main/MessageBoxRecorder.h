// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <functional>

// Answers the modal message boxes a test provokes, as a user would, and
// records what each said. By default each box is answered with its default
// button; `answer` may pick another.
class MessageBoxRecorder
{
public:
    struct Seen
    {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        bool hasHelpButton;
        QString ownerTitle; // caption of the window that owns the box
        Qt::TextFormat textFormat = Qt::AutoText;
        QRect frame; // on the screen, as shown
    };

    MessageBoxRecorder();
    ~MessageBoxRecorder();

    std::function<QMessageBox::StandardButton(const Seen &)> answer;
    QList<Seen> seen;
    QStringList texts() const;
    QString lastText() const { return seen.isEmpty() ? QString() : seen.back().text; }
    QMessageBox::Icon lastIcon() const
    {
        return seen.isEmpty() ? QMessageBox::NoIcon : seen.back().icon;
    }
    QString lastTitle() const { return seen.isEmpty() ? QString() : seen.back().title; }

private:
    void poll();
    QTimer timer_;
};

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
    };

    MessageBoxRecorder();
    ~MessageBoxRecorder();

    std::function<QMessageBox::StandardButton(const Seen &)> answer;
    QList<Seen> seen;
    QStringList texts() const;

private:
    void poll();
    QTimer timer_;
};

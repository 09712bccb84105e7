// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// While it lives, answers every modal message box with OK and notes what
// it said.
class MessageBoxCatcher
{
public:
    struct Message
    {
        QString text;
        QMessageBox::Icon icon;
        QString title;
        QString ownerTitle;
    };

    MessageBoxCatcher()
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            messages.append({box->text(), box->icon(), box->windowTitle(),
                             box->parentWidget() ? box->parentWidget()->windowTitle() : QString()});
            if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->accept();
        });
        timer_.start();
    }

    QString lastText() const { return messages.isEmpty() ? QString() : messages.back().text; }
    QMessageBox::Icon lastIcon() const
    {
        return messages.isEmpty() ? QMessageBox::NoIcon : messages.back().icon;
    }
    QString lastTitle() const { return messages.isEmpty() ? QString() : messages.back().title; }

    QList<Message> messages;

private:
    QTimer timer_;
};

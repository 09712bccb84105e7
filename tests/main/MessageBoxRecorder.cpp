// SPDX-License-Identifier: GPL-2.0-or-later
#include "MessageBoxRecorder.h"

#include <QApplication>
#include <QPushButton>

MessageBoxRecorder::MessageBoxRecorder()
{
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    timer_.stop();
}

QStringList MessageBoxRecorder::texts() const
{
    QStringList list;
    for (const Seen &s : seen)
        list << s.text;
    return list;
}

void MessageBoxRecorder::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("recorded").toBool())
        return;
    box->setProperty("recorded", true);
    const Seen s{box->windowTitle(),
                 box->text(),
                 box->icon(),
                 box->button(QMessageBox::Help) != nullptr,
                 box->parentWidget() ? box->parentWidget()->windowTitle() : QString(),
                 box->textFormat(),
                 box->frameGeometry()};
    seen << s;
    QAbstractButton *button = box->defaultButton();
    if (answer) {
        if (QAbstractButton *chosen = box->button(answer(s)))
            button = chosen;
    }
    if (!button && !box->buttons().isEmpty())
        button = box->buttons().first();
    if (button)
        button->click();
}

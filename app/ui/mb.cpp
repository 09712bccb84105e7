// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/mb.h"

#include "ui/Help.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace mb {
namespace {

QString &defaultTitle()
{
    static QString title = QStringLiteral("ORVEX Telemetry Decoder");
    return title;
}

QMessageBox::Icon iconForStyle(int style)
{
    switch (style & 0x70) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonChoice
{
    QMessageBox::StandardButton button;
    int result;
};

QList<ButtonChoice> buttonsForStyle(int style)
{
    switch (style & 0x7) {
    case 1:
        return {{QMessageBox::Ok, 1}, {QMessageBox::Cancel, 2}};
    case 2:
        return {{QMessageBox::Abort, 3}, {QMessageBox::Retry, 4}, {QMessageBox::Ignore, 5}};
    case 3:
        return {{QMessageBox::Yes, 6}, {QMessageBox::No, 7}, {QMessageBox::Cancel, 2}};
    case 4:
        return {{QMessageBox::Yes, 6}, {QMessageBox::No, 7}};
    case 5:
        return {{QMessageBox::Retry, 4}, {QMessageBox::Cancel, 2}};
    default:
        return {{QMessageBox::Ok, 1}};
    }
}

} // namespace

int ShowMsg(QWidget *owner, const QString &text, qint16 style, const QString &title,
            qint32 helpContext)
{
    QMessageBox box(owner);
    box.setWindowTitle(title.isEmpty() ? defaultTitle() : title);
    box.setText(text);
    box.setIcon(iconForStyle(style));

    const QList<ButtonChoice> choices = buttonsForStyle(style);
    for (const ButtonChoice &choice : choices)
        box.addButton(choice.button);
    const int defaultIndex =
        std::min<int>((style & 0x300) >> 8, static_cast<int>(choices.size()) - 1);
    box.setDefaultButton(choices[defaultIndex].button);
    if (choices.size() == 1)
        box.setEscapeButton(choices.last().button);

    if (helpContext != -1) {
        QPushButton *help = box.addButton(QMessageBox::Help);
        // Help opens the help and leaves the box open.
        QObject::disconnect(help, &QAbstractButton::clicked, nullptr, nullptr);
        QObject::connect(help, &QAbstractButton::clicked, &box, [] { ShowHelpContents(); });
    }

    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    for (const ButtonChoice &choice : choices)
        if (choice.button == pressed)
            return choice.result;
    return choices.last().result; // closed without a button: Esc's answer
}

void SetMsgTitle(const QString &title)
{
    defaultTitle() = title;
}

QString msgTitle()
{
    return defaultTitle();
}

} // namespace mb

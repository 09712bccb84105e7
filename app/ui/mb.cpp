// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/mb.h"

#include "ui/Help.h"
#include "ui/ScreenFit.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
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

// Qt makes a box with a long unbroken word as wide as a small screen, and
// its frame then reaches past the edge: once sized, it is kept on the screen.
class ScreenBox : public QMessageBox
{
public:
    ScreenBox(QWidget *owner, const QString &text, qint16 style, const QString &title)
        : QMessageBox(owner)
    {
        setWindowTitle(title.isEmpty() ? defaultTitle() : title);
        setTextFormat(Qt::PlainText);
        setText(text);
        setIcon(iconForStyle(style));
    }

protected:
    bool event(QEvent *event) override
    {
        // Qt sizes the box again on each layout request.
        const bool handled = QMessageBox::event(event);
        if (event->type() == QEvent::LayoutRequest && isVisible())
            fit();
        return handled;
    }
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        fit();
    }

private:
    void fit()
    {
        orvex::keepOnScreen(this);
        // The new size must not ask for the old one again.
        QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
    }
};

} // namespace

int ShowMsg(QWidget *owner, const QString &text, qint16 style, const QString &title,
            qint32 helpContext)
{
    ScreenBox box(owner, text, style, title);

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

QMessageBox *ShowNotice(QWidget *owner, const QString &text, qint16 style, const QString &title)
{
    auto *box = new ScreenBox(owner, text, style, title);
    box->addButton(QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
    return box;
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

// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/DialogSupport.h"

#include "shared/ORXUtil.h"
#include "ui/Caption.h"
#include "ui/mb.h"

#include <QClipboard>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace orvex {
namespace {

void showMessage(QWidget *owner, const QString &text, qint16 style)
{
    mb::ShowMsg(owner, text, style);
    // Not every window system hands the activation back to the owner.
    if (owner)
        owner->window()->activateWindow();
}

class SelectAllFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto *box = static_cast<QLineEdit *>(watched);
            // A mouse click would place the cursor after the focus arrives.
            if (static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason)
                QTimer::singleShot(0, box, &QLineEdit::selectAll);
            else
                box->selectAll();
        }
        return false;
    }
};

class KeyFilter : public QObject
{
public:
    KeyFilter(QLineEdit *box, std::function<int(int)> filter)
        : QObject(box), box_(box), filter_(std::move(filter))
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        // A pasted text is checked as a typed one, character by character.
        if (key->matches(QKeySequence::Paste)) {
            QString accepted;
            for (const QChar each : QGuiApplication::clipboard()->text()) {
                const int code = each.unicode();
                const int typed = code < 32 || code == 127 ? -1 : filter_(code);
                if (typed >= 0)
                    accepted += QChar(typed);
            }
            box_->insert(accepted);
            return true;
        }
        const QString text = key->text();
        if (text.size() != 1 || key->modifiers().testFlag(Qt::ControlModifier))
            return false;
        const int code = text.front().unicode();
        // Control characters (backspace, return, Esc) are keys, not text.
        if (code < 32 || code == 127)
            return false;
        const int typed = filter_(code);
        if (typed < 0)
            return true;
        if (typed == code)
            return false;
        box_->insert(QString(QChar(typed)));
        return true;
    }

private:
    QLineEdit *box_;
    std::function<int(int)> filter_;
};

} // namespace

QString messageBoxTitle()
{
    return mb::msgTitle();
}

void showStopMessage(QWidget *owner, const QString &text)
{
    showMessage(owner, text, mb::vbCritical);
}

void showExclamationMessage(QWidget *owner, const QString &text)
{
    showMessage(owner, text, mb::vbExclamation);
}

void addFieldRow(QGridLayout *grid, int row, const QString &caption, QWidget *field)
{
    auto *label = new Caption(caption, field->parentWidget());
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
}

void makeOkCancel(QWidget *dialog, QPushButton *&ok, QPushButton *&cancel)
{
    ok = new QPushButton(QStringLiteral("&Ok"), dialog);
    ok->setObjectName(QStringLiteral("cmdOk"));
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("&Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
}

void layOutFormDialog(QWidget *dialog, QGridLayout *form, int hintRow, QPushButton *ok,
                      QPushButton *cancel)
{
    form->addWidget(new QLabel(QStringLiteral("Press F1 and read the help!"), dialog), hintRow, 0,
                    1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->adjustSize();
    const QSize screenSize = screen->geometry().size();
    window->move((screenSize.width() - window->frameGeometry().width()) / 2,
                 (screenSize.height() - window->frameGeometry().height()) / 2);
}

void selectAllOnFocus(QLineEdit *box)
{
    box->installEventFilter(new SelectAllFilter(box));
}

int callsignKey(int code)
{
    code = ORXUtil::UpperCaseKey(code);
    return ORXUtil::IsCallsignKey(code) ? code : -1;
}

int digitKey(int code)
{
    return (code >= '0' && code <= '9') || code < 14 ? code : -1;
}

void filterKeys(QLineEdit *box, std::function<int(int)> filter)
{
    box->installEventFilter(new KeyFilter(box, std::move(filter)));
}

} // namespace orvex

// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/FocusLeaveGuard.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

FocusLeaveGuard::FocusLeaveGuard(QWidget *dialog) : QObject(dialog), dialog_(dialog)
{
    dialog_->installEventFilter(this);
    const auto controls = dialog_->findChildren<QWidget *>();
    for (QWidget *control : controls)
        control->installEventFilter(this);
}

void FocusLeaveGuard::addCheck(QWidget *box, std::function<bool()> check)
{
    checks_.insert(box, std::move(check));
}

void FocusLeaveGuard::exempt(QWidget *control)
{
    exempt_.insert(control);
}

bool FocusLeaveGuard::checkFocusedBox()
{
    QWidget *box = QApplication::focusWidget();
    if (!checks_.contains(box))
        box = unchecked_;
    unchecked_ = nullptr;
    if (!box)
        return true;
    return leavingFor(box, nullptr);
}

bool FocusLeaveGuard::leavingFor(QWidget *box, QWidget *target)
{
    if (target == box || exempt_.contains(target) || checking_)
        return true;
    checking_ = true;
    const bool passed = checks_.value(box)();
    checking_ = false;
    if (passed)
        leaveChecked_ = target != nullptr;
    else
        box->setFocus(Qt::OtherFocusReason);
    return passed;
}

QWidget *FocusLeaveGuard::tabTarget(QWidget *from, bool forward) const
{
    QWidget *next = from;
    do {
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled() &&
            next->window() == dialog_)
            return next;
    } while (next != from);
    return from;
}

bool FocusLeaveGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        auto *box = qobject_cast<QWidget *>(watched);
        if (!checks_.contains(box))
            return false;
        if (event->type() == QEvent::FocusIn) {
            if (unchecked_ == box)
                unchecked_ = nullptr;
        } else if (static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason &&
                   static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason &&
                   !leaveChecked_ && !checking_) {
            unchecked_ = box;
        }
        leaveChecked_ = false;
        return false;
    }
    QWidget *focused = QApplication::focusWidget();
    if (!checks_.contains(focused))
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // The control that takes the focus from a click: the clicked widget
        // or the nearest parent that accepts click focus (a list's view).
        QWidget *target = qobject_cast<QWidget *>(watched);
        while (target && target != dialog_ && !(target->focusPolicy() & Qt::ClickFocus))
            target = target->parentWidget();
        if (!target || target == dialog_ || !target->isEnabled())
            return false;
        if (target->focusProxy())
            target = target->focusProxy();
        return !leavingFor(focused, target);
    }
    case QEvent::KeyPress: {
        if (watched != focused)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool tab = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
        const bool backtab = key->key() == Qt::Key_Backtab ||
                             (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
        if (!tab && !backtab)
            return false;
        return !leavingFor(focused, tabTarget(focused, tab));
    }
    default:
        return false;
    }
}

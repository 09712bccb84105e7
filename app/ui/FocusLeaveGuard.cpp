// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/FocusLeaveGuard.h"

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
    checks_.emplace(box, std::move(check));
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
    if (passed) {
        leaveChecked_ = target != nullptr;
    } else {
        box->window()->activateWindow();
        box->setFocus(Qt::OtherFocusReason);
    }
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
    switch (event->type()) {
    case QEvent::FocusIn: {
        if (unchecked_ == watched)
            unchecked_ = nullptr;
        leaveChecked_ = false;
        return false;
    }
    case QEvent::FocusOut: {
        auto *box = qobject_cast<QWidget *>(watched);
        if (!checks_.contains(box) || checking_)
            return false;
        const bool checkedAlready = leaveChecked_;
        leaveChecked_ = false;
        if (checkedAlready)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        QWidget *target = QApplication::focusWidget();
        const bool inDialog = target && target->window() == dialog_;
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || !inDialog ||
            exempt_.contains(target))
            return false;
        if (reason != Qt::MouseFocusReason) {
            // An Alt+key button: OK runs the check before it acts.
            unchecked_ = box;
            return false;
        }
        // A click takes the focus before any filter sees the press: check
        // now, and if the box is refused, take the focus back and drop the
        // click that was on its way.
        if (!leavingFor(box, target))
            swallowClick_ = true;
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (swallowClick_) {
            swallowClick_ = false;
            swallowRelease_ = true;
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (swallowRelease_) {
            swallowRelease_ = false;
            return true;
        }
        return false;
    case QEvent::KeyPress: {
        if (watched != QApplication::focusWidget() ||
            !checks_.contains(qobject_cast<QWidget *>(watched)))
            return false;
        auto *box = static_cast<QWidget *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool tab = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
        const bool backtab = key->key() == Qt::Key_Backtab ||
                             (key->key() == Qt::Key_Tab && (key->modifiers() & Qt::ShiftModifier));
        if (!tab && !backtab)
            return false;
        return !leavingFor(box, tabTarget(box, tab));
    }
    default:
        return false;
    }
}

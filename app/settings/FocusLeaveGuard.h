// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>

#include <functional>

class QWidget;

// Runs a box's check when the focus is about to leave it, and keeps the
// focus there when the check fails. The check shows its own message. The
// check runs before the focus moves (a Tab key, a click on another control)
// so a refused box also stops the click that would have left it: a click on
// OK does not act. Leaving a box for an exempt control (Cancel) runs no
// check. A dialog's OK calls checkFocusedBox() first, for the ways of
// reaching it that the guard cannot see coming (Enter, Alt+key).
class FocusLeaveGuard : public QObject
{
public:
    // Watches `dialog` and every control in it.
    explicit FocusLeaveGuard(QWidget *dialog);

    void addCheck(QWidget *box, std::function<bool()> check);
    void exempt(QWidget *control);
    // Runs the check of the box that has the focus, or of a box the focus
    // left without its check; true when nothing was refused.
    bool checkFocusedBox();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool leavingFor(QWidget *box, QWidget *target);
    QWidget *tabTarget(QWidget *from, bool forward) const;

    QWidget *dialog_;
    QHash<QWidget *, std::function<bool()>> checks_;
    QSet<QWidget *> exempt_;
    bool checking_ = false;
    // The focus is leaving a box whose check has just passed.
    bool leaveChecked_ = false;
    // A box the focus left without running its check.
    QPointer<QWidget> unchecked_;
};

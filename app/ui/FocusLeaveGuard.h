// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>

#include <functional>

class QWidget;

// Runs a box's check when the focus leaves it for another control of the
// dialog, and keeps the focus there when the check fails. The check shows
// its own message. A Tab key is checked before the focus moves; a click is
// checked as the focus moves, and a refused box also drops the click that
// would have left it, so a click on OK or on an option does not act.
// Leaving a box for an exempt control (Cancel) runs no check. A dialog's OK calls checkFocusedBox()
// first, for the ways of reaching it that the guard cannot see coming (Enter, Alt+key).
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
    // Runs the box's check unless the focus goes to the box itself or an
    // exempt control; on failure the focus goes back to the box.
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
    // A refused box took the focus back from a click: drop that click.
    bool swallowClick_ = false;
    bool swallowRelease_ = false;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "tracking/PassAlarmPlan.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <functional>

class QSystemTrayIcon;
class TrackingContext;
class QTimer;
class QWidget;

// Carries out the alarm plan of one satellite: the desktop warning before a
// pass (a tray message, or a plain non-modal box where there is no tray,
// with a beep) and the operator's AOS and LOS commands, started detached so
// that nothing they do can hold the window. Looks at the program's clock
// twice a second, so an event comes well within 2 s of its time.
class PassAlarms : public QObject
{
    Q_OBJECT
public:
    // The passes whose AOS lies in [fromJd, fromJd + days] (Julian dates UTC).
    using PassSource = std::function<std::vector<orbit::Pass>(double fromJd, double days)>;
    // A Julian date UTC as the operator reads times (local or UTC).
    using TimeText = std::function<QString(double jd)>;

    explicit PassAlarms(QWidget *owner);
    ~PassAlarms() override;

    void setSettings(const tracking::AlarmSettings &settings);
    const tracking::AlarmSettings &settings() const { return settings_; }
    // The satellite to watch; an empty name watches none.
    void setSatellite(const QString &name, PassSource source, TimeText timeText);
    // Watches the tracked satellite of `context` from now on, whatever it becomes.
    void follow(TrackingContext &context);
    // The element sets or the station moved: the plan is made again.
    void replan();
    // Looks at the clock now (the timer calls it; tests may too).
    void tick();

    const std::vector<tracking::AlarmEvent> &plan() const { return plan_; }

signals:
    void warned(const QString &text);
    void commandStarted(const QString &command, qint64 pid);
    void commandFailed(const QString &text);

private:
    void fire(const tracking::AlarmEvent &event, double nowJd);
    void runCommand(const QString &command, const orbit::Pass &pass);
    void notify(const QString &text);

    QWidget *owner_;
    QTimer *timer_;
    QPointer<QSystemTrayIcon> tray_;
    tracking::AlarmSettings settings_;
    QString satellite_;
    PassSource passes_;
    TimeText timeText_;
    std::vector<tracking::AlarmEvent> plan_;
    double plannedUntilJd_ = 0;
    double lastLookJd_ = 0;
    QSet<QString> failedCommands_; // each failing command is said once
    tracking::WarnedPasses warnedPasses_;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/PassAlarms.h"

#include "orbit/TrackingContext.h"
#include "platform/DateTime.h"
#include "tracking/PassGeometry.h"
#include "ui/mb.h"

#include <QApplication>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

namespace {
constexpr double planDays = 2.0;
// A pass under way when the plan is made still gets its LOS command.
constexpr double lookBackDays = 0.5;

double nowJd()
{
    return orvex::Clock::nowJulianDate();
}
} // namespace

PassAlarms::PassAlarms(QWidget *owner) : QObject(owner), owner_(owner), timer_(new QTimer(this))
{
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, &PassAlarms::tick);
}

PassAlarms::~PassAlarms()
{
    delete tray_;
}

void PassAlarms::setSettings(const tracking::AlarmSettings &settings)
{
    settings_ = settings;
    failedCommands_.clear();
    replan();
}

void PassAlarms::setSatellite(const QString &name, PassSource source, TimeText timeText)
{
    satellite_ = name;
    passes_ = std::move(source);
    timeText_ = std::move(timeText);
    replan();
}

void PassAlarms::follow(TrackingContext &context)
{
    const auto watch = [this, &context] {
        clsSats &sats = context.sats();
        const QString name = context.trackedName();
        setSatellite(
            name,
            [&sats, name](double fromJd, double days) {
                return tracking::passesFrom(sats, name, fromJd, days);
            },
            [&sats](double jd) { return sats.clockText(jd); });
    };
    connect(&context, &TrackingContext::changed, this, watch);
    watch();
}

void PassAlarms::replan()
{
    plan_.clear();
    plannedUntilJd_ = 0;
    const bool active = settings_.enabled && !satellite_.isEmpty() && passes_;
    if (!active) {
        timer_->stop();
        return;
    }
    const double now = nowJd();
    lastLookJd_ = now; // what came before this moment is not fired late...
    plan_ = tracking::planAlarms(passes_(now - lookBackDays, lookBackDays + planDays), settings_);
    plannedUntilJd_ = now + planDays;
    timer_->start();
    warnedPasses_.forgetBefore(now - 1.0);
    // ...but a pass still to rise whose warning time has passed is warned of now.
    for (const tracking::AlarmEvent &event : tracking::lateWarnings(plan_, now))
        fire(event, now);
}

void PassAlarms::tick()
{
    if (!settings_.enabled || !passes_)
        return;
    const double now = nowJd();
    for (const tracking::AlarmEvent &event : tracking::dueAlarms(plan_, lastLookJd_, now))
        fire(event, now);
    lastLookJd_ = now;
    if (now > plannedUntilJd_ - 1.0) {
        const double keep = lastLookJd_;
        replan();
        lastLookJd_ = keep;
    }
}

void PassAlarms::fire(const tracking::AlarmEvent &event, double now)
{
    switch (event.kind) {
    case tracking::AlarmKind::Warning: {
        if (warnedPasses_.contains(satellite_, event.pass.aosJd))
            return;
        warnedPasses_.add(satellite_, event.pass.aosJd);
        const QString aos =
            timeText_ ? timeText_(event.pass.aosJd) : tracking::isoSecondText(event.pass.aosJd);
        const QString text = tracking::warningText(satellite_, event.pass, now, aos);
        notify(text);
        emit warned(text);
        break;
    }
    case tracking::AlarmKind::AosCommand:
        runCommand(settings_.aosCommand, event.pass);
        break;
    case tracking::AlarmKind::LosCommand:
        runCommand(settings_.losCommand, event.pass);
        break;
    }
}

void PassAlarms::runCommand(const QString &command, const orbit::Pass &pass)
{
    const QStringList words = QProcess::splitCommand(command);
    QProcess process;
    qint64 pid = 0;
    bool started = false;
    if (!words.isEmpty()) {
        process.setProgram(words.first());
        process.setArguments(words.mid(1));
        process.setProcessEnvironment(tracking::commandEnvironment(
            QProcessEnvironment::systemEnvironment(), satellite_, pass));
        started = process.startDetached(&pid);
    }
    if (started) {
        emit commandStarted(command, pid);
        return;
    }
    const QString text = QStringLiteral("The pass command could not be started:\n%1").arg(command);
    emit commandFailed(text);
    if (!failedCommands_.contains(command)) {
        failedCommands_.insert(command);
        notify(text);
    }
}

void PassAlarms::notify(const QString &text)
{
    QApplication::beep();
    // The desktop's notifications take "<" and "&" for markup; a satellite's
    // name from an element file may hold both, so such a text goes to the
    // program's own plain box instead.
    const bool plainForTray = !text.contains(QLatin1Char('<')) && !text.contains(QLatin1Char('&'));
    if (plainForTray && QSystemTrayIcon::isSystemTrayAvailable()) {
        if (!tray_) {
            tray_ = new QSystemTrayIcon(QApplication::windowIcon());
            tray_->show();
        }
        tray_->showMessage(QStringLiteral("ORVEX pass alarm"), text);
        return;
    }
    // Non-modal, so that nothing waits for the operator.
    mb::ShowNotice(owner_, text, mb::vbInformation, QStringLiteral("ORVEX pass alarm"));
}

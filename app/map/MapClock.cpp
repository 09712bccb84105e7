// SPDX-License-Identifier: GPL-2.0-or-later
#include "map/MapClock.h"

#include <utility>

MapClock::MapClock(std::function<orvex::Date()> utcNow) : utcNow_(std::move(utcNow)) {}

orvex::Date MapClock::MapStartTime() const
{
    QDateTime now = orvex::dateToUtc(utcNow_());
    now.setTime(QTime(now.time().hour(), now.time().minute()));
    if (backwards_)
        now = now.addSecs(60);
    return orvex::utcToDate(now);
}

orvex::Date MapClock::baseTime() const
{
    return clock_ != 0 ? clock_ : utcNow_();
}

void MapClock::advance()
{
    if (clock_ == 0)
        return;
    const double step = veryFast_ ? 2 * minute : minute;
    clock_ += backwards_ ? -step : step;
}

MapClock::Reaction MapClock::normal()
{
    if (normal_)
        return {};
    normal_ = true;
    fast_ = false;
    veryFast_ = false;
    interval_ = normalInterval;
    timerEnabled_ = true;
    return {true, true, false};
}

MapClock::Reaction MapClock::fastSpeed()
{
    if (fast_)
        return {};
    normal_ = false;
    fast_ = true;
    veryFast_ = false;
    if (clock_ == 0)
        clock_ = MapStartTime();
    interval_ = fastInterval;
    timerEnabled_ = true;
    return {true, true, false};
}

MapClock::Reaction MapClock::veryFast()
{
    if (veryFast_)
        return {};
    normal_ = false;
    fast_ = false;
    veryFast_ = true;
    if (clock_ == 0)
        clock_ = MapStartTime();
    interval_ = veryFastInterval;
    timerEnabled_ = true;
    return {true, true, false};
}

MapClock::Reaction MapClock::backwards()
{
    backwards_ = !backwards_;
    if (backwards_ && clock_ == 0)
        clock_ = MapStartTime();
    return {};
}

MapClock::Reaction MapClock::pause()
{
    // A ticked Pause lets the timer run again; an unticked one stops it.
    const bool wasEnabled = timerEnabled_;
    timerEnabled_ = pause_;
    pause_ = !pause_;
    return {false, false, wasEnabled != timerEnabled_};
}

MapClock::Reaction MapClock::reset()
{
    normal_ = true;
    fast_ = false;
    veryFast_ = false;
    pause_ = false;
    backwards_ = false;
    clock_ = 0;
    interval_ = normalInterval;
    timerEnabled_ = true;
    return {true, true, false};
}

MapClock::Reaction MapClock::perform(Action action)
{
    switch (action) {
    case Action::Normal:
        return normal();
    case Action::Fast:
        return fastSpeed();
    case Action::VeryFast:
        return veryFast();
    case Action::Backwards:
        return backwards();
    case Action::Pause:
        return pause();
    case Action::Reset:
        return reset();
    case Action::ChangeSat:
    case Action::None:
        break;
    }
    return {};
}

MapClock::Action MapClock::actionForKeyCode(int keyCode)
{
    switch (keyCode) {
    case 14:
        return Action::Normal;
    case 6:
        return Action::Fast;
    case 22:
        return Action::VeryFast;
    case 2:
        return Action::Backwards;
    case 16:
        return Action::Pause;
    case 18:
        return Action::Reset;
    case 19:
        return Action::ChangeSat;
    default:
        return Action::None;
    }
}

int MapClock::keyCode(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text)
{
    const Qt::KeyboardModifiers others = Qt::AltModifier | Qt::MetaModifier;
    if (modifiers.testFlag(Qt::ControlModifier) && !(modifiers & others) && qtKey >= Qt::Key_A &&
        qtKey <= Qt::Key_Z)
        return qtKey - Qt::Key_A + 1;
    if (text.size() == 1 && text.at(0).unicode() >= 1 && text.at(0).unicode() <= 26)
        return text.at(0).unicode();
    return 0;
}

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/DateTime.h"

#include <QString>
#include <Qt>
#include <functional>

// The map's clock and its Speed menu, without the window.
//
// The clock either follows the real time (datMapClock() == 0, refreshed every
// 15 s) or runs a simulated time that steps one minute per refresh (two in
// Very Fast), backwards while Backwards is ticked. Normal, Fast and Very Fast
// set the refresh interval (15000, 500, 250 ms) and are mutually exclusive
// ticks; Backwards and Pause are ticks of their own. The simulated time comes
// back to the real one only through Reset.
//
// Each menu action returns what the window has to do: redraw, restart its
// refresh timer with timerInterval(), or start or stop it as timerEnabled()
// now says.
class MapClock
{
public:
    static constexpr int normalInterval = 15000; // ms
    static constexpr int fastInterval = 500;
    static constexpr int veryFastInterval = 250;
    static constexpr double minute = 1.0 / orvex::minutesPerDay; // of a Date

    enum class Action {
        None,
        Normal,
        Fast,
        VeryFast,
        Backwards,
        Pause,
        Reset,
        ChangeSat,
    };

    struct Reaction
    {
        bool refresh = false;       // redraw the map now (before the timer change)
        bool restartTimer = false;  // stop the timer, set timerInterval(), start it
        bool timerSwitched = false; // start or stop the timer as timerEnabled() says
    };

    // utcNow: the present UTC time (the orbit object's datGmtTime).
    explicit MapClock(std::function<orvex::Date()> utcNow);

    // 0 while the map follows the real time, else the simulated time (UTC) of
    // the next picture.
    orvex::Date datMapClock() const { return clock_; }

    bool normalTicked() const { return normal_; }
    bool fastTicked() const { return fast_; }
    bool veryFastTicked() const { return veryFast_; }
    bool backwardsTicked() const { return backwards_; }
    bool pauseTicked() const { return pause_; }
    int timerInterval() const { return interval_; }
    bool timerEnabled() const { return timerEnabled_; }

    // The present whole minute (seconds dropped), one minute later when
    // Backwards is ticked.
    orvex::Date MapStartTime() const;
    // The time of the next picture: the simulated time, or now (seconds kept).
    orvex::Date baseTime() const;
    // After a picture: the simulated clock moves by one minute (two in Very
    // Fast), backwards when Backwards is ticked. Real time stays real time.
    void advance();

    Reaction normal();
    Reaction fastSpeed();
    Reaction veryFast();
    Reaction backwards();
    Reaction pause();
    Reaction reset();
    // The menu action of one of the actions above (ChangeSat and None need the
    // window and give no reaction here).
    Reaction perform(Action action);

    // The action of a key code the window handles: the control character of
    // Ctrl+N, F, V, B, P, R and S (14, 6, 22, 2, 16, 18, 19).
    static Action actionForKeyCode(int keyCode);
    // The control character of a key press: Ctrl+letter gives 1 to 26, a press
    // whose text is one control character gives that; 0 for anything else.
    static int keyCode(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text);

private:
    std::function<orvex::Date()> utcNow_;
    orvex::Date clock_ = 0;
    bool normal_ = true;
    bool fast_ = false;
    bool veryFast_ = false;
    bool backwards_ = false;
    bool pause_ = false;
    int interval_ = normalInterval;
    bool timerEnabled_ = true;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <deque>

namespace radio {

// At most a number of commands in any second of the program's clock (reads
// count as well as settings), so that a daemon and the radio or rotator
// behind it are never flooded. A clock set back starts the count afresh.
class CommandBudget
{
public:
    explicit CommandBudget(int perSecond = 2) : perSecond_(perSecond) {}

    // How many commands may go at `nowJd` (Julian date UTC).
    int room(double nowJd);
    void spend(double nowJd);

private:
    int perSecond_;
    std::deque<double> sentJd_;
};

} // namespace radio

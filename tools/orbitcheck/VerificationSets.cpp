// SPDX-License-Identifier: GPL-2.0-or-later
#include "VerificationSets.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace orbitcheck {

std::vector<VerificationSet> readVerificationSets(std::string_view text)
{
    std::vector<std::string> lines;
    std::istringstream in{std::string(text)};
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        lines.push_back(line);
    }
    std::vector<VerificationSet> sets;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].rfind("1 ", 0) != 0 || lines[i + 1].rfind("2 ", 0) != 0)
            continue;
        VerificationSet set;
        auto result =
            orbit::parseElementSet("", lines[i].substr(0, 69), lines[i + 1].substr(0, 69), false);
        if (result.set)
            set.elements = *result.set;
        else
            set.error = result.error;
        std::istringstream extra(lines[i + 1].size() > 69 ? lines[i + 1].substr(69) : "");
        if (!(extra >> set.startMinutes >> set.stopMinutes >> set.stepMinutes) && set.error.empty())
            set.error = "line 2: no start, stop and step after column 69";
        sets.push_back(set);
        ++i;
    }
    return sets;
}

std::vector<double> runTimes(const VerificationSet &set)
{
    std::vector<double> times;
    if (!(set.stepMinutes > 0) || !std::isfinite(set.startMinutes) ||
        !std::isfinite(set.stopMinutes))
        return times;
    const double steps = (set.stopMinutes - set.startMinutes) / set.stepMinutes;
    if (!(steps < 1e7))
        return times;
    for (long k = 0;; ++k) {
        const double t = set.startMinutes + static_cast<double>(k) * set.stepMinutes;
        if (t >= set.stopMinutes - 1e-9) {
            times.push_back(set.stopMinutes);
            break;
        }
        times.push_back(t);
    }
    return times;
}

} // namespace orbitcheck

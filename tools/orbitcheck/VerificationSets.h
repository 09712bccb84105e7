// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbitengine/Tle.h"

#include <string>
#include <string_view>
#include <vector>

// The layout of the SGP4 verification files: "#" comment lines, then element
// sets of two lines, line 2 carrying start, stop and step in minutes after
// column 69. Sets are read without the checksum rule (some carry wrong
// checksums on purpose).
namespace orbitcheck {

struct VerificationSet
{
    orbit::ElementSet elements;
    double startMinutes = 0;
    double stopMinutes = 0;
    double stepMinutes = 0;
    std::string error; // why the set could not be read ("" if it could)
};

std::vector<VerificationSet> readVerificationSets(std::string_view text);

// The times of a run: start, start + step, ... and stop itself last.
std::vector<double> runTimes(const VerificationSet &set);

} // namespace orbitcheck

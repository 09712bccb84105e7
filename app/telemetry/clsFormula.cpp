// SPDX-License-Identifier: GPL-2.0-or-later
#include "telemetry/clsFormula.h"

#include <cmath>

std::optional<double> clsFormula::CalcValue(double x) const
{
    const double value = a_ * std::pow(x, 3) + b_ * std::pow(x, 2) + c_ * x + d_;
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <optional>

// One calibration polynomial: value = A·x³ + B·x² + C·x + D.
class clsFormula
{
public:
    double dblA() const { return a_; }
    void setDblA(double value) { a_ = value; }
    double dblB() const { return b_; }
    void setDblB(double value) { b_ = value; }
    double dblC() const { return c_; }
    void setDblC(double value) { c_ = value; }
    double dblD() const { return d_; }
    void setDblD(double value) { d_ = value; }

    // The calibrated value of the raw value x; empty when the arithmetic
    // overflows or gives no number (a floating-point fault).
    std::optional<double> CalcValue(double x) const;

private:
    double a_ = 0;
    double b_ = 0;
    double c_ = 0;
    double d_ = 0;
};

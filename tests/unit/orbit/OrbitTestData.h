// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace orbittest {

inline std::string dataPath(const std::string &name)
{
    return ORVEX_SOURCE_DIR "/tests/data/orbit/" + name;
}

inline std::string readData(const std::string &name)
{
    std::ifstream in(dataPath(name), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Julian date of a UTC time given as numbers.
inline double julianDate(int y, int mo, int d, int h = 0, int mi = 0, double s = 0)
{
    // Fliegel and Van Flandern, for the Gregorian calendar
    const int a = (14 - mo) / 12;
    const int yy = y + 4800 - a;
    const int mm = mo + 12 * a - 3;
    const long jdn = d + (153 * mm + 2) / 5 + 365L * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
    return static_cast<double>(jdn) - 0.5 + (h * 3600.0 + mi * 60.0 + s) / 86400.0;
}

// "YYYY-MM-DDTHH:MM:SS[.sss]Z" to a Julian date.
inline double julianDate(const std::string &text)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    double s = 0;
    std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%lfZ", &y, &mo, &d, &h, &mi, &s);
    return julianDate(y, mo, d, h, mi, s);
}

} // namespace orbittest

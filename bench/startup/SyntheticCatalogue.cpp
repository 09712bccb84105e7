// SPDX-License-Identifier: GPL-2.0-or-later
#include "SyntheticCatalogue.h"

#include "orbitengine/Tle.h"

#include <QRandomGenerator>

#include <cstdio>
#include <string>

namespace {

std::string withChecksum(std::string line)
{
    line.resize(68, ' ');
    return line + static_cast<char>('0' + orbit::lineChecksum(line));
}

// Catalogue numbers past 99999 in the Alpha-5 form (A0000 is 100000; no I, O).
std::string catalogNumber(int number)
{
    if (number < 100000) {
        char text[8];
        std::snprintf(text, sizeof text, "%05d", number);
        return text;
    }
    static const char letters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ";
    char text[8];
    std::snprintf(text, sizeof text, "%c%04d", letters[number / 10000 - 10], number % 10000);
    return text;
}

} // namespace

QByteArray syntheticCatalogue(int count)
{
    QRandomGenerator random(20261208);
    const auto uniform = [&random](double low, double high) {
        return low + (high - low) * random.generateDouble();
    };
    QByteArray text;
    text.reserve(count * 168);
    for (int i = 0; i < count; ++i) {
        const int number = 10000 + i;
        // Alpha-5 ends at Z9999 (339999); past it the numbers repeat, the names do not.
        const std::string id = catalogNumber(10000 + i % 330000);
        // Most of a catalogue is low orbits; some medium, geostationary and eccentric.
        double motion = uniform(13.0, 16.2), ecc = uniform(0.0001, 0.02);
        double inclination = uniform(0.0, 110.0);
        switch (i % 20) {
        case 0:
            motion = uniform(1.9, 2.1); // navigation and Molniya
            ecc = i % 40 == 0 ? uniform(0.6, 0.74) : uniform(0.0001, 0.01);
            inclination = uniform(50.0, 65.0);
            break;
        case 1:
            motion = uniform(0.99, 1.01); // geostationary
            ecc = uniform(0.0001, 0.001);
            inclination = uniform(0.0, 15.0);
            break;
        default:
            break;
        }
        char name[32], line1[96], line2[96];
        std::snprintf(name, sizeof name, "%-24s", ("OBJECT " + std::to_string(number)).c_str());
        std::snprintf(line1, sizeof line1,
                      "1 %sU %02d%03dA   26%012.8f  .00001234  00000-0  12345-3 0  999", id.c_str(),
                      20 + i % 7, 1 + i % 300, uniform(300.0, 342.0));
        std::snprintf(line2, sizeof line2, "2 %s %8.4f %8.4f %07d %8.4f %8.4f %11.8f%5d",
                      id.c_str(), inclination, uniform(0.0, 360.0), static_cast<int>(ecc * 1e7),
                      uniform(0.0, 360.0), uniform(0.0, 360.0), motion, i % 100000);
        text += name;
        text += "\r\n";
        text += withChecksum(line1).c_str();
        text += "\r\n";
        text += withChecksum(line2).c_str();
        text += "\r\n";
    }
    return text;
}

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>

// An element file like a whole public catalogue: `count` three-line sets
// with names padded to 24 columns, CR LF line ends, good checksums and
// orbits of every kind (low, medium, geostationary, eccentric), epochs in
// the days before 2026-12-08. Names are unique; catalogue numbers past
// Z9999 repeat. The same count always gives the same text.
QByteArray syntheticCatalogue(int count);

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Fills `folder` as the station program's folder for a start-up: formula.txt,
// the settings file (station position known, the packet engine on a port
// where none listens), Keps/demo.txt as the demo station writes it and, when
// given, a further element file Keps/catalogue.txt. False when a file could
// not be written.
bool makeProgramFolder(const QString &folder, const QByteArray &catalogue);

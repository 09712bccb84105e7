// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbit/SatObject.h"

#include <QString>

// Looks through the element files of `folder` (in name order) for the
// element sets of both satellites, until both are found. Every found flag is
// cleared first; a set found sets the satellite's name and its flag.
void FindKeps(const QString &folder, SatTable &sats);

// The same scan over one file. Only regular files are read, block by block,
// so that a FIFO cannot hang the scan and a huge file costs little memory.
void ScanKepsFile(const QString &path, SatTable &sats);

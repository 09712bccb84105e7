// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/LogImporter.h"

class QWidget;

namespace history {

// "Import Logs...": the user picks log files in `logFolder`; they are read
// into the store in steps between events, with a progress dialog that can
// cancel, and a summary at the end. The record of display zones tells
// each frame's moment.
void importLogs(QWidget *parent, TelemetryStore &store, const TelemetryDecoder &decoder,
                LogImporter::SideOf sideOf, const QString &logFolder);

} // namespace history

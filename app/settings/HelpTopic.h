// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

class QWidget;

// Opens the program's help at the page named `topic`, for the window
// `owner` (the F1 key of the dialogs).
void showHelpTopic(QWidget *owner, const QString &topic);

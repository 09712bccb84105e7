// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

class QWidget;

// The program's help: an HTML file beside the executable, shown in the
// program's own help window.
void InitHelp(QWidget *mainWindow, const QString &programFolder);
// The help window at its contents page.
void ShowHelpContents();
// The help window at the section whose anchor is `topic`.
void showHelpTopic(QWidget *owner, const QString &topic);
void CloseHelp();
// The help file path that InitHelp set.
QString helpFilePath();

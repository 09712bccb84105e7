// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

class QWidget;

// The program's help: an HTML file, shown in the program's own help window.
// helpFolder: the folder that holds orvexdecode.html.
void InitHelp(QWidget *mainWindow, const QString &helpFolder);
// The data folder this run uses, which the help names where its text says
// dataFolderPlaceholder.
void setHelpDataFolder(const QString &folder);
inline constexpr const char *dataFolderPlaceholder = "shown in Help, About";
// The help window at its contents page.
void ShowHelpContents();
// The help window at the section whose anchor is `topic`.
void showHelpTopic(QWidget *owner, const QString &topic);
void CloseHelp();
// The help file path that InitHelp set.
QString helpFilePath();

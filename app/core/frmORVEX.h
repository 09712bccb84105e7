// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QMainWindow>

class frmORVEX : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmORVEX(QWidget *parent = nullptr);
    // The start-up sequence; false when the program must end at once.
    bool Load();
};

// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/frmORVEX.h"

frmORVEX::frmORVEX(QWidget *parent) : QMainWindow(parent) {}

bool frmORVEX::Load()
{
    show();
    return true;
}

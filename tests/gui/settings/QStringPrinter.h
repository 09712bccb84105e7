// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// QString printing for GoogleTest comes from tests/main/QtPrinters.h, which
// every test file includes first.
#include "QtPrinters.h"

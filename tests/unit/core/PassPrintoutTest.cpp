// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/PassPrintout.h"

#include <gtest/gtest.h>

TEST(PassPrintout, CaptionFirstEveryLineIndentedAndNoTrailingBlanks)
{
    const QString page =
        passPrintout("ISS Pass Predictions", "'Start Time' is UTC.\r\n\r\n line  \r\n");
    EXPECT_EQ(page,
              "\r\n      \r\n      \r\n      ISS Pass Predictions\r\n      'Start Time' is UTC.\r\n"
              "      \r\n       line  \r\n");
}

// SPDX-License-Identifier: GPL-2.0-or-later
// Text from outside the program shown as text, and never making a window
// larger than the 1024 x 768 test screen: the message box, the notice, the
// elided label and the tool tip, with names that would be HTML or too wide
// (the notice, mb::ShowNotice, is the pass alarm's: tests/gui/tracking).
#include "MessageBoxRecorder.h"
#include "support/Wait.h"
#include "ui/ElidedLabel.h"
#include "ui/ToolTipText.h"
#include "ui/mb.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

const QString tableName =
    QStringLiteral("<table width=4000 bgcolor=red><tr><td>ORVEX</td></tr></table>");
const QString longName = QStringLiteral("ORVEX-") + QString(294, QLatin1Char('X'));

QRect screenArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

TEST(PlainText, AMessageBoxShowsItsTextAsItIsAndStaysOnTheScreen)
{
    for (const QString &name : {tableName, longName}) {
        SCOPED_TRACE(name.left(20).toStdString());
        MessageBoxRecorder boxes;
        const QString text = QStringLiteral("No Keps found for ") + name + QLatin1Char('.');
        mb::ShowMsg(nullptr, text, mb::vbInformation);
        ASSERT_EQ(boxes.seen.size(), 1);
        EXPECT_EQ(boxes.seen[0].text, text);
        EXPECT_EQ(boxes.seen[0].textFormat, Qt::PlainText);
        EXPECT_TRUE(screenArea().contains(boxes.seen[0].frame))
            << boxes.seen[0].frame.x() << "," << boxes.seen[0].frame.width();
    }
}

TEST(PlainText, AnElidedLabelNeverWidensItsWindowAndShowsTheWholeTextAsTip)
{
    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    auto *label = new ElidedLabel(tableName + longName, &window);
    layout->addWidget(label);
    layout->addWidget(new QPushButton(QStringLiteral("OK"), &window));
    window.show();
    ASSERT_TRUE(orvex::test::waitUntil([&] { return window.isVisible(); }));
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_LE(window.minimumSizeHint().width(), 200);
    window.resize(400, window.height());
    EXPECT_TRUE(label->isElided());
    EXPECT_TRUE(label->shownText().startsWith(QStringLiteral("<table width=")));
    EXPECT_TRUE(label->shownText().endsWith(QStringLiteral("…")));

    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), label->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(label, &help);
    EXPECT_EQ(QToolTip::text(), orvex::plainToolTip(label->text()));
    QToolTip::hideText();

    label->setText(QStringLiteral("Connected"));
    EXPECT_FALSE(label->isElided());
    EXPECT_EQ(label->shownText(), QStringLiteral("Connected"));
}

TEST(PlainText, AToolTipThatLooksLikeHtmlIsEscaped)
{
    EXPECT_EQ(orvex::plainToolTip(QStringLiteral("ISS (ZARYA), 25544")),
              QStringLiteral("ISS (ZARYA), 25544"));
    const QString tip = orvex::plainToolTip(tableName);
    EXPECT_TRUE(tip.contains(QStringLiteral("&lt;table width=4000")));
    EXPECT_FALSE(tip.contains(QStringLiteral("<table")));
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "TerminalFixture.h"

#include "platform/ScreenTwips.h"
#include "shared/NumberText.h"

#include <QImage>
#include <QLabel>
#include <QScreen>

namespace {

class TerminalPlacement : public TerminalFixture
{
protected:
    QString key(const char *word) const
    {
        return setting(QStringLiteral("SETUP"), QStringLiteral("TERMINAL_") + QLatin1String(word));
    }
    static QString twipsX(int pixels)
    {
        return orvex::generalNumber(ScreenTwips::toTwipsX(pixels));
    }
    static QString twipsY(int pixels)
    {
        return orvex::generalNumber(ScreenTwips::toTwipsY(pixels));
    }

    void expectRectangle(const QRect &pixels) const
    {
        EXPECT_EQ(key("LEFT"), twipsX(pixels.x()));
        EXPECT_EQ(key("TOP"), twipsY(pixels.y()));
        EXPECT_EQ(key("WIDTH"), twipsX(pixels.width()));
        EXPECT_EQ(key("HEIGHT"), twipsY(pixels.height()));
    }
    void showAndWait()
    {
        term->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(term.get()));
    }
    void maximise()
    {
        term->showMaximized();
        ASSERT_TRUE(waitUntil([&] { return term->isMaximized(); }));
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        ASSERT_TRUE(waitUntil([&] { return term->frameGeometry().size() == screen; }));
    }
    void restore(const QSize &normal)
    {
        term->showNormal();
        ASSERT_TRUE(waitUntil([&] { return !term->isMaximized(); }));
        ASSERT_TRUE(waitUntil([&] { return term->size() == normal; }));
    }
    QRect normalRect() const { return QRect(term->pos(), term->size()); }
};

} // namespace

TEST_F(TerminalPlacement, FirstOpeningIsCentredAndWritesTheKeysAtOnce)
{
    open();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QRect placed = normalRect();
    EXPECT_EQ(placed.x(), (screen.width() - term->frameGeometry().width()) / 2);
    EXPECT_EQ(placed.y(), (screen.height() - term->frameGeometry().height()) / 2);
    expectRectangle(placed);
    EXPECT_EQ(key("MAXIMIZED"), QStringLiteral("FALSE"));
}

TEST_F(TerminalPlacement, AMovedAndResizedWindowReopensWhereItWas)
{
    open();
    showAndWait();
    term->move(40, 30);
    term->resize(700, 460);
    ASSERT_TRUE(waitUntil([&] { return term->size() == QSize(700, 460); }));
    const QRect placed = normalRect();
    unload();
    expectRectangle(placed);
    EXPECT_EQ(key("MAXIMIZED"), QStringLiteral("FALSE"));

    open();
    EXPECT_EQ(normalRect(), placed);
    EXPECT_FALSE(term->isMaximized());
}

TEST_F(TerminalPlacement, ClosedMaximisedItKeepsTheNormalRectangleAndReopensMaximised)
{
    open();
    showAndWait();
    term->move(50, 40);
    term->resize(720, 480);
    ASSERT_TRUE(waitUntil([&] { return term->size() == QSize(720, 480); }));
    const QRect normal = normalRect();
    maximise();
    unload();
    EXPECT_EQ(key("MAXIMIZED"), QStringLiteral("TRUE"));
    expectRectangle(normal);

    open();
    EXPECT_TRUE(term->windowState().testFlag(Qt::WindowMaximized));
    showAndWait();
    ASSERT_TRUE(waitUntil([&] { return term->isMaximized(); }));
    // Restoring brings back the remembered rectangle.
    restore(normal.size());
    unload();
    EXPECT_EQ(key("MAXIMIZED"), QStringLiteral("FALSE"));
    EXPECT_EQ(key("WIDTH"), twipsX(normal.width()));
    EXPECT_EQ(key("HEIGHT"), twipsY(normal.height()));
}

TEST_F(TerminalPlacement, MaximisedThenRestoredItClosesNormal)
{
    open();
    showAndWait();
    const QRect normal = normalRect();
    maximise();
    restore(normal.size());
    unload();
    EXPECT_EQ(key("MAXIMIZED"), QStringLiteral("FALSE"));
    EXPECT_EQ(key("WIDTH"), twipsX(normal.width()));
    EXPECT_EQ(key("HEIGHT"), twipsY(normal.height()));
}

TEST_F(TerminalPlacement, HiddenAndShownAgainItKeepsItsPlace)
{
    open();
    showAndWait();
    term->move(60, 70);
    const QRect placed = normalRect();
    QTest::keyClick(box("txtTx"), Qt::Key_Escape);
    ASSERT_FALSE(term->isVisible());
    showAndWait();
    EXPECT_EQ(normalRect(), placed);
    unload();
    expectRectangle(placed);
}

TEST_F(TerminalPlacement, TheBandKeepsItsHeightAndTheMonitorGrows)
{
    open();
    showAndWait();
    QWidget *monitor = child<QWidget>("rtbMon");
    QWidget *tx = box("txtTx");
    const int bandHeight = term->centralWidget()->height() - monitor->geometry().bottom();
    const int monitorHeight = monitor->height();
    term->resize(term->width() + 100, term->height() + 200);
    ASSERT_TRUE(waitUntil([&] { return monitor->height() == monitorHeight + 200; }));
    EXPECT_EQ(term->centralWidget()->height() - monitor->geometry().bottom(), bandHeight);
    EXPECT_EQ(monitor->x(), term->centralWidget()->width() - monitor->geometry().right() - 1);
    EXPECT_GT(tx->y(), monitor->geometry().bottom());
}

TEST_F(TerminalPlacement, ClosedMinimisedItKeepsTheLastNormalPlacement)
{
    open();
    showAndWait();
    term->move(70, 60);
    term->resize(680, 450);
    ASSERT_TRUE(waitUntil([&] { return term->size() == QSize(680, 450); }));
    const QRect normal = normalRect();
    term->showMinimized();
    ASSERT_TRUE(waitUntil([&] { return term->isMinimized(); }));
    unload();
    expectRectangle(normal);
    EXPECT_EQ(key("MAXIMIZED"), QStringLiteral("FALSE"));
}

namespace {

// The rightmost column of `image` that holds a pixel unlike its top left
// one (the background), or -1 when it is blank.
int lastInkColumn(const QImage &image)
{
    const QRgb background = image.pixel(0, 0);
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != background)
                return x;
    return -1;
}

} // namespace

TEST_F(TerminalPlacement, EveryCaptionOfTheBandIsDrawnWhole)
{
    open();
    showAndWait();
    const QList<QLabel *> captions = term->centralWidget()->findChildren<QLabel *>();
    ASSERT_EQ(captions.size(), 3);
    for (QLabel *caption : captions) {
        // The same caption with all the room it wants shows where its ink ends
        // (with a buddy, so that its '&' marks the access key as it does there).
        QWidget window;
        QLabel roomy(caption->text(), &window);
        QLineEdit buddy(&window);
        roomy.setBuddy(&buddy);
        roomy.setFont(caption->font());
        roomy.resize(caption->width() + 40, caption->height());
        const int inkEnd = lastInkColumn(roomy.grab().toImage());
        ASSERT_GE(inkEnd, 0) << caption->text().toStdString();
        EXPECT_LT(inkEnd, caption->width()) << caption->text().toStdString() << " is cut";
    }
}

// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace orvex {

namespace {

// The start and length of the inside along one axis: `before` and `after`
// are the frame's parts on either side, [areaStart, areaStart + areaLength)
// the room.
std::pair<int, int> fitAxis(int start, int length, int before, int after, int areaStart,
                            int areaLength)
{
    length = std::min(length, std::max(1, areaLength - before - after));
    const int lowest = areaStart + before;
    const int highest = areaStart + areaLength - after - length;
    return {std::clamp(start, lowest, std::max(lowest, highest)), length};
}

QRect centredIn(const QRect &area, const QSize &size)
{
    QRect centred(QPoint(), size);
    centred.moveCenter(area.center());
    return centred;
}

// Waits for a window's next showing and its first exposure then, when the
// window manager has framed it, and places it by that frame.
class FramedPlacement : public QObject
{
public:
    FramedPlacement(QWidget *window, WhenFramed how) : QObject(window), window_(window), how_(how)
    {
        setObjectName(QStringLiteral("framedPlacement"));
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == window_ && event->type() == QEvent::Show && window_->windowHandle()) {
            handle_ = window_->windowHandle();
            handle_->installEventFilter(this);
        } else if (handle_ && watched == handle_ && event->type() == QEvent::Expose &&
                   handle_->isExposed()) {
            place();
            deleteLater();
        }
        return false;
    }

    void place()
    {
        window_->removeEventFilter(this);
        if (handle_)
            handle_->removeEventFilter(this);
        const QScreen *screen = window_->screen();
        if (!screen || window_->isMaximized() || window_->isFullScreen())
            return;
        const QRect inside = window_->geometry();
        const QRect outer = window_->frameGeometry();
        const QMargins frame(inside.left() - outer.left(), inside.top() - outer.top(),
                             outer.right() - inside.right(), outer.bottom() - inside.bottom());
        const QRect area = screen->availableGeometry();
        QRect wanted = inside;
        if (how_ == WhenFramed::Centre)
            wanted = centredIn(area, outer.size()).marginsRemoved(frame);
        const QRect placed = fitFramedInArea(wanted, frame, area);
        if (placed != inside)
            window_->setGeometry(placed);
    }

private:
    QWidget *window_;
    QPointer<QWindow> handle_;
    WhenFramed how_;
};

} // namespace

QRect fitFramedInArea(const QRect &inside, const QMargins &frame, const QRect &area)
{
    const auto [x, width] =
        fitAxis(inside.x(), inside.width(), frame.left(), frame.right(), area.x(), area.width());
    const auto [y, height] =
        fitAxis(inside.y(), inside.height(), frame.top(), frame.bottom(), area.y(), area.height());
    return {x, y, width, height};
}

QRect fitOnScreenOf(const QRect &inside, const QWidget *over)
{
    const QScreen *screen = over ? over->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return inside;
    const QWindow *window = over ? over->windowHandle() : nullptr;
    return fitFramedInArea(inside, window ? window->frameMargins() : QMargins(),
                           screen->availableGeometry());
}

QRect placementOnScreens(const QRect &placed)
{
    const QScreen *best = nullptr;
    qint64 bestOverlap = 0;
    const auto screens = QGuiApplication::screens();
    for (const QScreen *screen : screens) {
        const QRect area = screen->availableGeometry();
        if (area.contains(placed))
            return placed;
        const QRect common = area.intersected(placed);
        const qint64 overlap = qint64(common.width()) * common.height();
        if (overlap > bestOverlap) {
            best = screen;
            bestOverlap = overlap;
        }
    }
    if (best)
        return fitFramedInArea(placed, QMargins(), best->availableGeometry());
    const QScreen *primary = QGuiApplication::primaryScreen();
    return primary ? centredIn(primary->availableGeometry(), placed.size()) : placed;
}

void placeWhenFramed(QWidget *window, WhenFramed how)
{
    // One placement waits at a time: the last word counts.
    delete window->findChild<FramedPlacement *>(QStringLiteral("framedPlacement"),
                                                Qt::FindDirectChildrenOnly);
    auto *placement = new FramedPlacement(window, how);
    if (window->isVisible() && window->windowHandle() && window->windowHandle()->isExposed()) {
        placement->place();
        delete placement;
    }
}

void keepOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    const QWindow *handle = window->windowHandle();
    const QMargins frame = handle ? handle->frameMargins() : QMargins();
    const QRect area = screen->availableGeometry();
    QRect inside = fitFramedInArea(window->geometry(), frame, area);
    if (inside.size() != window->size()) {
        QSize size = inside.size();
        const QLayout *layout = window->layout();
        if (inside.width() < window->width() && layout && layout->hasHeightForWidth())
            size.setHeight(layout->totalHeightForWidth(size.width()));
        if (window->minimumSize() == window->maximumSize())
            window->setFixedSize(size);
        else
            window->resize(size);
        inside = fitFramedInArea(QRect(inside.topLeft(), window->size()), frame, area);
    }
    // A window's position is that of its frame.
    window->move(inside.topLeft() - QPoint(frame.left(), frame.top()));
}

} // namespace orvex

// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/SkyPlot.h"

#include "tracking/SkyLabels.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {
constexpr double degToRad = 3.14159265358979323846 / 180.0;
constexpr double markRadius = 4; // pixels

QRectF plotArea(const QWidget &widget)
{
    const double margin = widget.fontMetrics().height() * 1.6;
    const double side = std::min(widget.width(), widget.height()) - 2 * margin;
    return {(widget.width() - side) / 2, (widget.height() - side) / 2, side, side};
}
} // namespace

SkyPlot::SkyPlot(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("skyPlot"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void SkyPlot::setView(const tracking::SkyView &view, TimeText timeText)
{
    view_ = view;
    timeText_ = std::move(timeText);
    update();
}

QPointF SkyPlot::toPlot(double azimuthDeg, double elevationDeg, const QRectF &area)
{
    const double radius = area.width() / 2 * (90.0 - std::clamp(elevationDeg, 0.0, 90.0)) / 90.0;
    const double azimuth = azimuthDeg * degToRad;
    return {area.center().x() + radius * std::sin(azimuth),
            area.center().y() - radius * std::cos(azimuth)};
}

SkyPlot::Layout SkyPlot::layout() const
{
    Layout layout;
    layout.area = plotArea(*this);
    const QRectF &area = layout.area;
    const QPointF centre = area.center();
    const QFontMetricsF metrics(font());
    const auto textRect = [&metrics](const QString &text, QPointF centreOfText) {
        const QSizeF size(metrics.horizontalAdvance(text) + 2, metrics.height());
        return QRectF(centreOfText - QPointF(size.width() / 2, size.height() / 2), size);
    };

    for (const double elevation : {30.0, 60.0}) {
        const double radius = area.width() / 2 * (90.0 - elevation) / 90.0;
        const QString text = QStringLiteral("%1°").arg(elevation);
        const double width = metrics.horizontalAdvance(text);
        layout.rings.push_back(
            {text, QRectF(centre.x() + 3, centre.y() - radius - 2 - metrics.ascent(), width,
                          metrics.height())});
    }
    const struct
    {
        const char *name;
        double azimuth;
    } compass[] = {{"N", 0}, {"E", 90}, {"S", 180}, {"W", 270}};
    for (const auto &point : compass) {
        const QString text = QString::fromLatin1(point.name);
        // A text height outside the horizon, clear of a mark on it.
        const double radius = area.width() / 2 + metrics.height();
        const QPointF at(centre.x() + radius * std::sin(point.azimuth * degToRad),
                         centre.y() - radius * std::cos(point.azimuth * degToRad));
        layout.compass.push_back({text, textRect(text, at)});
    }
    if (!view_.pass || view_.track.empty())
        return layout;

    const orbit::Pass &pass = *view_.pass;
    const struct
    {
        double jd;
        const char *what;
        QColor colour;
    } events[] = {{pass.aosJd, "AOS", QColor(0, 150, 0)},
                  {pass.maxJd, "TCA", QColor(0, 90, 200)},
                  {pass.losJd, "LOS", QColor(200, 0, 0)}};
    QList<QRectF> taken;
    for (const Text &text : layout.compass)
        taken << text.rect;
    for (const Text &text : layout.rings)
        taken << text.rect;
    // The track too, where a place beside it is free: a few pixels of it
    // every few pixels along.
    constexpr double step = 6;
    QPointF from = toPlot(view_.track.front().azimuthDeg, view_.track.front().elevationDeg, area);
    for (const tracking::SkyPoint &point : view_.track) {
        const QPointF to = toPlot(point.azimuthDeg, point.elevationDeg, area);
        const double length = std::hypot(to.x() - from.x(), to.y() - from.y());
        for (double along = 0; along < length || along == 0; along += step) {
            const QPointF at = length > 0 ? from + (to - from) * (along / length) : to;
            taken << QRectF(at - QPointF(1.5, 1.5), QSizeF(3, 3));
        }
        from = to;
    }
    for (const auto &event : events) {
        const auto nearest = std::min_element(
            view_.track.begin(), view_.track.end(),
            [jd = event.jd](const tracking::SkyPoint &a, const tracking::SkyPoint &b) {
                return std::abs(a.jd - jd) < std::abs(b.jd - jd);
            });
        const QPointF at = toPlot(nearest->azimuthDeg, nearest->elevationDeg, area);
        const QString text = QLatin1String(event.what) + QLatin1Char(' ') +
                             (timeText_ ? timeText_(event.jd) : QString());
        layout.marks.push_back({at, event.colour, {text, {}}});
        taken << QRectF(at - QPointF(markRadius + 1, markRadius + 1),
                        QSizeF(2 * markRadius + 2, 2 * markRadius + 2));
    }
    for (Mark &mark : layout.marks) {
        mark.label.rect = tracking::placeLabel(
            mark.at, QSizeF(metrics.horizontalAdvance(mark.label.text) + 2, metrics.height()),
            taken, QRectF(rect()));
        taken << mark.label.rect;
    }
    return layout;
}

void SkyPlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const Layout drawn = layout();
    const QRectF &area = drawn.area;
    const QPointF centre = area.center();

    painter.setPen(QPen(palette().mid().color(), 1));
    for (double elevation : {0.0, 30.0, 60.0}) {
        const double radius = area.width() / 2 * (90.0 - elevation) / 90.0;
        painter.drawEllipse(centre, radius, radius);
    }
    for (const Text &ring : drawn.rings)
        painter.drawText(ring.rect, Qt::AlignLeft | Qt::AlignVCenter, ring.text);
    painter.drawLine(QPointF(area.left(), centre.y()), QPointF(area.right(), centre.y()));
    painter.drawLine(QPointF(centre.x(), area.top()), QPointF(centre.x(), area.bottom()));

    painter.setPen(palette().text().color());
    for (const Text &letter : drawn.compass)
        painter.drawText(letter.rect, Qt::AlignCenter, letter.text);

    if (view_.track.empty())
        return;
    QPainterPath path;
    path.moveTo(toPlot(view_.track.front().azimuthDeg, view_.track.front().elevationDeg, area));
    for (const tracking::SkyPoint &point : view_.track)
        path.lineTo(toPlot(point.azimuthDeg, point.elevationDeg, area));
    painter.setPen(QPen(QColor(0, 90, 200), 2));
    painter.drawPath(path);

    for (const Mark &mark : drawn.marks) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(mark.colour);
        painter.drawEllipse(mark.at, markRadius, markRadius);
        painter.setPen(palette().text().color());
        painter.drawText(mark.label.rect, Qt::AlignCenter, mark.label.text);
    }
    if (view_.live) {
        const QPointF at = toPlot(view_.live->azimuthDeg, view_.live->elevationDeg, area);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(QColor(255, 200, 0));
        painter.drawEllipse(at, 7, 7);
    }
}

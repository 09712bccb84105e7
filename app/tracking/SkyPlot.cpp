// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/SkyPlot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {
constexpr double degToRad = 3.14159265358979323846 / 180.0;

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

void SkyPlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const QRectF area = plotArea(*this);
    const QPointF centre = area.center();

    painter.setPen(QPen(palette().mid().color(), 1));
    for (double elevation : {0.0, 30.0, 60.0}) {
        const double radius = area.width() / 2 * (90.0 - elevation) / 90.0;
        painter.drawEllipse(centre, radius, radius);
        if (elevation > 0)
            painter.drawText(QPointF(centre.x() + 3, centre.y() - radius - 2),
                             QStringLiteral("%1°").arg(elevation));
    }
    painter.drawLine(QPointF(area.left(), centre.y()), QPointF(area.right(), centre.y()));
    painter.drawLine(QPointF(centre.x(), area.top()), QPointF(centre.x(), area.bottom()));

    painter.setPen(palette().text().color());
    const QFontMetrics metrics = fontMetrics();
    const struct
    {
        const char *name;
        double azimuth;
    } compass[] = {{"N", 0}, {"E", 90}, {"S", 180}, {"W", 270}};
    for (const auto &point : compass) {
        const QPointF at = toPlot(point.azimuth, -metrics.height() * 90.0 / area.width(), area);
        const QString text = QString::fromLatin1(point.name);
        painter.drawText(QRectF(at.x() - 20, at.y() - metrics.height() / 2.0, 40, metrics.height()),
                         Qt::AlignCenter, text);
    }

    if (view_.track.empty())
        return;
    QPainterPath path;
    path.moveTo(toPlot(view_.track.front().azimuthDeg, view_.track.front().elevationDeg, area));
    for (const tracking::SkyPoint &point : view_.track)
        path.lineTo(toPlot(point.azimuthDeg, point.elevationDeg, area));
    painter.setPen(QPen(QColor(0, 90, 200), 2));
    painter.drawPath(path);

    if (view_.pass) {
        const orbit::Pass &pass = *view_.pass;
        auto label = [&](double jd, const QString &what, const QColor &colour) {
            const auto nearest =
                std::min_element(view_.track.begin(), view_.track.end(),
                                 [jd](const tracking::SkyPoint &a, const tracking::SkyPoint &b) {
                                     return std::abs(a.jd - jd) < std::abs(b.jd - jd);
                                 });
            const QPointF at = toPlot(nearest->azimuthDeg, nearest->elevationDeg, area);
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(at, 4, 4);
            painter.setPen(palette().text().color());
            const QString text = what + QLatin1Char(' ') + (timeText_ ? timeText_(jd) : QString());
            // Beside the mark, on the side that keeps the text inside the plot.
            const int width = painter.fontMetrics().horizontalAdvance(text);
            const double x = at.x() + 6 + width <= this->width() ? at.x() + 6 : at.x() - 6 - width;
            painter.drawText(QPointF(std::max(0.0, x), at.y() - 4), text);
        };
        label(pass.aosJd, QStringLiteral("AOS"), QColor(0, 150, 0));
        label(pass.maxJd, QStringLiteral("TCA"), QColor(0, 90, 200));
        label(pass.losJd, QStringLiteral("LOS"), QColor(200, 0, 0));
    }
    if (view_.live) {
        const QPointF at = toPlot(view_.live->azimuthDeg, view_.live->elevationDeg, area);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(QColor(255, 200, 0));
        painter.drawEllipse(at, 7, 7);
    }
}

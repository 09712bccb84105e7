// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "tracking/SkyViewModel.h"

#include <QWidget>
#include <functional>

// The sky seen from the station as a polar plot: north up, east to the
// right, the horizon as the outer ring and rings at 30° and 60°; the pass
// as its track with AOS, TCA and LOS marked, and the satellite during it.
class SkyPlot : public QWidget
{
    Q_OBJECT
public:
    using TimeText = std::function<QString(double jd)>;

    explicit SkyPlot(QWidget *parent = nullptr);

    void setView(const tracking::SkyView &view, TimeText timeText);
    QSize sizeHint() const override { return {360, 360}; }
    QSize minimumSizeHint() const override { return {200, 200}; }

    // Where (azimuth, elevation) in degrees lies in a plot of `size`.
    static QPointF toPlot(double azimuthDeg, double elevationDeg, const QRectF &area);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    tracking::SkyView view_;
    TimeText timeText_;
};

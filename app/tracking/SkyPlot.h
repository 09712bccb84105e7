// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "tracking/SkyViewModel.h"

#include <QColor>
#include <QWidget>
#include <functional>
#include <vector>

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

    // What is drawn where at the widget's present size, in pixels.
    struct Text
    {
        QString text;
        QRectF rect;
    };
    struct Mark
    {
        QPointF at;
        QColor colour;
        Text label; // beside the mark, covering no other text or mark
    };
    struct Layout
    {
        QRectF area;               // the horizon's square
        std::vector<Text> compass; // N, E, S, W, just outside the horizon
        std::vector<Text> rings;   // 30° and 60°
        std::vector<Mark> marks;   // AOS, TCA and LOS of the pass, when there is one
    };
    Layout layout() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    tracking::SkyView view_;
    TimeText timeText_;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "map/MapClock.h"
#include "map/MapProjection.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>

class MapHost;
class MapTimeBox;
class QAction;
class QLabel;
class QMenu;
class QPainter;
class QTimer;

// The world map window: the current satellite's ground track for the next
// 102 minutes, its footprint, a symbol where it stands, and a box with the
// time the picture stands for. The picture follows the real time, refreshed
// every 15 s, or a simulated clock chosen from the pop-up Speed menu (right
// mouse button, or the Ctrl keys of its entries).
//
// The window loads (and draws) when constructed and unloads when closed:
// it then stops its timer, keeps its position in SETUP MAP_LEFT / MAP_TOP
// (twips; not when minimised) and raises ImUnloading().
class frmMap : public QWidget
{
    Q_OBJECT
public:
    explicit frmMap(MapHost &host, QWidget *parent = nullptr);
    ~frmMap() override;

    // Draws the picture afresh: the footprint around point 0, the track
    // through all points, the symbol at point 0. Degrees; km.
    void DrawSat(const QList<double> &latitudes, const QList<double> &longitudes,
                 double altitudeKm);
    // The main window switched the satellite: back to real time, the new
    // satellite's name and caption, and a new picture.
    void SatHasChanged();
    // The element sets were read again: the satellite's name line may be
    // new. The map keeps its time and speed.
    void ElementsChanged();

    QString strMapObject() const { return strMapObject_; }
    // The picture as last drawn.
    const QImage &picture() const { return canvas_; }
    // False when world.gif could not be read and a plain ocean stands in.
    bool pictureRead() const { return pictureRead_; }
    QString timeText() const;
    const MapClock &mapClock() const { return clock_; }
    const MapProjection &projection() const { return projection_; }
    QMenu *mnuSpeed() const { return mnuSpeed_; }
    QTimer *refreshTimer() const { return timer1_; }
    MapTimeBox *timeBox() const { return picTime_; }
    QLabel *mapPicture() const { return picMap_; }

    // Track, footprint and symbol colours.
    static QColor trackColour();
    static QColor footprintColour();
    static QColor symbolStrokeColour();
    static QColor symbolBoxColour();
    // Stations heard via the satellite: on this pass, and earlier.
    static QColor passStationColour();
    static QColor earlierStationColour();
    // Stands in for an unreadable world.gif.
    static QColor oceanColour();

signals:
    void ImUnloading();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildSpeedMenu();
    void loadPicture();
    void LoadMapPosition();
    void SaveMapPosition();
    void SetMapCaption();
    void ShowMapTime(orvex::Date utc);
    void drawSymbol(QPainter &painter, QPointF centre);
    void drawStations(QPainter &painter);
    void DrawFootprint(QPainter &painter, double longitude, double latitude, double altitudeKm);
    void RefreshMap();
    void runAction(MapClock::Action action);
    void apply(const MapClock::Reaction &reaction);
    void showTicks();
    orvex::Date displayTime(orvex::Date utc) const;
    int twipsPerPixelX() const;
    int twipsPerPixelY() const;

    MapHost &host_;
    MapClock clock_;
    MapProjection projection_;
    QImage background_;
    QImage canvas_;
    bool pictureRead_ = false;
    bool unloaded_ = false;
    QString strMapObject_;

    QLabel *picMap_ = nullptr;
    MapTimeBox *picTime_ = nullptr;
    QTimer *timer1_ = nullptr;
    QMenu *mnuSpeed_ = nullptr;
    QAction *mnuSpeedNormal_ = nullptr;
    QAction *mnuSpeedFast_ = nullptr;
    QAction *mnuSpeedVeryFast_ = nullptr;
    QAction *mnuSpeedBackwards_ = nullptr;
    QAction *mnuSpeedPause_ = nullptr;
    QAction *mnuSpeedReset_ = nullptr;
    QAction *mnuChangeSat_ = nullptr;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#include "map/frmMap.h"

#include "platform/ScreenTwips.h"

#include "map/Footprint.h"
#include "map/GroundTrack.h"
#include "map/MapHost.h"
#include "map/MapText.h"
#include "map/MapTimeBox.h"
#include "map/TrackPoints.h"
#include "orbit/clsSats.h"
#include "shared/NumberText.h"
#include "shared/clsIni.h"
#include "ui/ScreenFit.h"

#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

const QString setupSection = QStringLiteral("SETUP");
const QString mapLeftKey = QStringLiteral("MAP_LEFT");
const QString mapTopKey = QStringLiteral("MAP_TOP");

// Size of the stand-in picture, and of the map the program ships.
constexpr QSize plainMapSize(720, 360);
constexpr double lineWidth = 2;
// The satellite symbol: strokes from 3 to 6 pixels out along each diagonal,
// a box of 3 pixels around the centre.
constexpr double symbolInner = 3;
constexpr double symbolOuter = 6;

QPen solidPen(const QColor &colour)
{
    return QPen(colour, lineWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

} // namespace

QColor frmMap::trackColour()
{
    return QColor(0, 128, 0);
}
QColor frmMap::footprintColour()
{
    return QColor(0, 0, 192);
}
QColor frmMap::symbolStrokeColour()
{
    return QColor(255, 0, 0);
}
QColor frmMap::symbolBoxColour()
{
    return QColor(0, 0, 255);
}
QColor frmMap::passStationColour()
{
    return QColor(255, 255, 0);
}
QColor frmMap::earlierStationColour()
{
    return QColor(255, 160, 0);
}
QColor frmMap::oceanColour()
{
    return QColor(12, 28, 80);
}

frmMap::frmMap(MapHost &host, QWidget *parent)
    : QWidget(parent, Qt::Window), host_(host), clock_([&host] {
          const clsSats *sats = host.cSats();
          return sats ? sats->datGmtTime() : orvex::utcToDate(orvex::Clock::nowUtc());
      }),
      projection_(plainMapSize)
{
    setFocusPolicy(Qt::StrongFocus);

    picMap_ = new QLabel(this);
    picMap_->setObjectName(QStringLiteral("picMap"));
    picMap_->installEventFilter(this);
    picTime_ = new MapTimeBox(picMap_);
    picTime_->setObjectName(QStringLiteral("picTime"));
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(MapClock::normalInterval);
    connect(timer1_, &QTimer::timeout, this, &frmMap::RefreshMap);
    buildSpeedMenu();

    // The picture at its own size, the window's client area just around it.
    loadPicture();
    projection_ = MapProjection(background_.size());
    picMap_->setGeometry(QRect(QPoint(0, 0), background_.size()));
    setFixedSize(background_.size());

    // The time box: one line high, in the lower-left corner.
    picTime_->resize(picTime_->width(), picTime_->lineBoxHeight());
    picTime_->move(2, background_.height() - 2 - picTime_->lineBoxHeight());

    LoadMapPosition();
    showTicks();

    strMapObject_ = host_.strObject();
    SetMapCaption();

    RefreshMap();
    timer1_->start(clock_.timerInterval());
}

frmMap::~frmMap()
{
    timer1_->stop();
}

void frmMap::buildSpeedMenu()
{
    mnuSpeed_ = new QMenu(QStringLiteral("&Speed"), this);
    mnuSpeed_->setObjectName(QStringLiteral("mnuSpeed"));
    // The Ctrl keys are the window's own (keyPressEvent); the menu only shows them.
    const auto add = [this](const char *name, const QString &caption, const QString &keys,
                            MapClock::Action action, bool checkable) {
        QAction *item = mnuSpeed_->addAction(caption + QLatin1Char('\t') + keys);
        item->setObjectName(QString::fromLatin1(name));
        item->setCheckable(checkable);
        connect(item, &QAction::triggered, this, [this, action] { runAction(action); });
        return item;
    };
    mnuSpeedNormal_ = add("mnuSpeedNormal", QStringLiteral("&Normal"), QStringLiteral("Ctrl+N"),
                          MapClock::Action::Normal, true);
    mnuSpeedFast_ = add("mnuSpeedFast", QStringLiteral("&Fast"), QStringLiteral("Ctrl+F"),
                        MapClock::Action::Fast, true);
    mnuSpeedVeryFast_ = add("mnuSpeedVeryFast", QStringLiteral("&Very Fast"),
                            QStringLiteral("Ctrl+V"), MapClock::Action::VeryFast, true);
    mnuSpeedBackwards_ = add("mnuSpeedBackwards", QStringLiteral("&Backwards"),
                             QStringLiteral("Ctrl+B"), MapClock::Action::Backwards, true);
    mnuSpeedPause_ = add("mnuSpeedPause", QStringLiteral("&Pause"), QStringLiteral("Ctrl+P"),
                         MapClock::Action::Pause, true);
    mnuSpeed_->addSeparator();
    mnuSpeedReset_ = add("mnuSpeedReset", QStringLiteral("&Reset"), QStringLiteral("Ctrl+R"),
                         MapClock::Action::Reset, false);
    mnuChangeSat_ = add("mnuChangeSat", QStringLiteral("Change &Sat"), QStringLiteral("Ctrl+S"),
                        MapClock::Action::ChangeSat, false);
}

void frmMap::loadPicture()
{
    QImage picture(host_.mapPictureFile());
    pictureRead_ = !picture.isNull() && picture.width() > 0 && picture.height() > 0;
    if (pictureRead_) {
        background_ = picture.convertToFormat(QImage::Format_RGB32);
    } else {
        background_ = QImage(plainMapSize, QImage::Format_RGB32);
        background_.fill(oceanColour());
    }
    canvas_ = background_;
    picMap_->setPixmap(QPixmap::fromImage(canvas_));
}

int frmMap::twipsPerPixelX() const
{
    return qRound(ScreenTwips::twipsPerPixelX());
}
int frmMap::twipsPerPixelY() const
{
    return qRound(ScreenTwips::twipsPerPixelY());
}

void frmMap::LoadMapPosition()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const QSize frame = frameGeometry().size();
    const int tppX = twipsPerPixelX();
    const int tppY = twipsPerPixelY();
    // Centred in whole pixels, then in twips.
    const int centredX = (area.width() - frame.width()) / 2;
    const int centredY = (area.height() - frame.height()) / 2;
    const double centredLeft = centredX * tppX;
    const double centredTop = centredY * tppY;
    double left = centredLeft;
    double top = centredTop;
    if (clsIni *ini = host_.cIni()) {
        left = orvex::leadingNumber(
            ini->GetIniStringWriteDefault(setupSection, mapLeftKey, orvex::generalNumber(left)));
        top = orvex::leadingNumber(
            ini->GetIniStringWriteDefault(setupSection, mapTopKey, orvex::generalNumber(top)));
    }
    // A place stored on a larger screen is brought wholly onto this one;
    // once framed, the window is centred or kept on the screen by its frame.
    const QRect stored(static_cast<int>(left / tppX), static_cast<int>(top / tppY), frame.width(),
                       frame.height());
    move(orvex::placementOnScreens(stored).topLeft());
    orvex::placeWhenFramed(this, left == centredLeft && top == centredTop
                                     ? orvex::WhenFramed::Centre
                                     : orvex::WhenFramed::KeepOnScreen);
}

void frmMap::SaveMapPosition()
{
    timer1_->stop();
    if (!isMinimized()) {
        if (clsIni *ini = host_.cIni()) {
            ini->SaveIniString(setupSection, mapLeftKey,
                               orvex::generalNumber(x() * twipsPerPixelX()));
            ini->SaveIniString(setupSection, mapTopKey,
                               orvex::generalNumber(y() * twipsPerPixelY()));
        }
    }
    emit ImUnloading();
}

void frmMap::closeEvent(QCloseEvent *event)
{
    if (!unloaded_) {
        unloaded_ = true;
        SaveMapPosition();
    }
    event->accept();
}

void frmMap::SetMapCaption()
{
    setWindowTitle(
        MapText::caption(host_.MakeLocationCaption(), pictureRead_, host_.mapPictureFile()));
}

orvex::Date frmMap::displayTime(orvex::Date utc) const
{
    const clsSats *sats = host_.cSats();
    return sats && sats->blnLocalTime() ? sats->GmtToLocal(utc) : utc;
}

void frmMap::ShowMapTime(orvex::Date utc)
{
    picTime_->setText(MapText::timeText(displayTime(utc)));
}

QString frmMap::timeText() const
{
    return picTime_->text();
}

void frmMap::SatHasChanged()
{
    // Back to real time, as Reset does; the picture is drawn once, for the
    // new satellite, and the caption names it.
    const MapClock::Reaction reaction = clock_.reset();
    strMapObject_ = host_.strObject();
    SetMapCaption();
    apply(reaction);
}

void frmMap::ElementsChanged()
{
    strMapObject_ = host_.strObject();
    SetMapCaption();
    RefreshMap();
}

void frmMap::RefreshMap()
{
    const orvex::Date base = clock_.baseTime();
    clsSats *sats = host_.cSats();
    const TrackPoints track =
        sats ? TrackPoints::compute(*sats, strMapObject_, base) : TrackPoints();
    if (!sats || !track.isOk()) {
        // The last picture stays; the box says why there is no new one, and
        // the clock waits for the next refresh.
        const QString reason =
            sats ? QString::fromStdString(track.status.reason()) : QStringLiteral("no orbit data");
        picTime_->setText(MapText::failureText(displayTime(base), strMapObject_, reason));
        return;
    }
    DrawSat(track.latitudes, track.longitudes, track.altitudeKm);
    ShowMapTime(base);
    clock_.advance();
}

void frmMap::DrawSat(const QList<double> &latitudes, const QList<double> &longitudes,
                     double altitudeKm)
{
    canvas_ = background_;
    const GroundTrack track(latitudes, longitudes);
    if (!track.isEmpty()) {
        QPainter painter(&canvas_);
        painter.setRenderHint(QPainter::Antialiasing, false);
        const QPointF start = track.start();
        const QPointF centre = projection_.toPixel(start);
        const bool startKnown = std::isfinite(centre.x()) && std::isfinite(centre.y());
        DrawFootprint(painter, start.x(), start.y(), altitudeKm);

        painter.setPen(solidPen(trackColour()));
        if (startKnown)
            painter.drawPoint(centre);
        for (const QLineF &line : track.lines())
            painter.drawLine(projection_.toPixel(line));
        drawStations(painter);
        if (startKnown)
            drawSymbol(painter, centre);
    }
    picMap_->setPixmap(QPixmap::fromImage(canvas_));
}

// An X with an open centre, four red strokes, and a blue box over the middle.
void frmMap::drawSymbol(QPainter &painter, QPointF centre)
{
    painter.setPen(solidPen(symbolStrokeColour()));
    for (const double dx : {-1.0, 1.0}) {
        for (const double dy : {-1.0, 1.0}) {
            painter.drawLine(centre + QPointF(dx * symbolInner, dy * symbolInner),
                             centre + QPointF(dx * symbolOuter, dy * symbolOuter));
        }
    }
    painter.setPen(solidPen(symbolBoxColour()));
    painter.setBrush(symbolBoxColour());
    painter.drawRect(QRectF(centre - QPointF(symbolInner, symbolInner),
                            centre + QPointF(symbolInner, symbolInner)));
}

// A dot at each station, its callsign beside it (plain text, cut short);
// the stations of this pass over the earlier ones.
void frmMap::drawStations(QPainter &painter)
{
    QList<MapStation> stations = host_.heardStations();
    if (stations.isEmpty())
        return;
    std::stable_partition(stations.begin(), stations.end(),
                          [](const MapStation &station) { return !station.thisPass; });
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    QFont font = painter.font();
    font.setPixelSize(9);
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (const MapStation &station : stations) {
        const QPointF at = projection_.toPixel(QPointF(station.longitudeDeg, station.latitudeDeg));
        if (!std::isfinite(at.x()) || !std::isfinite(at.y()))
            continue;
        const QColor colour = station.thisPass ? passStationColour() : earlierStationColour();
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRect(QRectF(at - QPointF(1.5, 1.5), QSizeF(3, 3)));
        painter.setPen(colour);
        const QString name = metrics.elidedText(station.callsign, Qt::ElideRight, 80);
        painter.drawText(at + QPointF(4, 3), name);
    }
    painter.restore();
}

void frmMap::DrawFootprint(QPainter &painter, double longitude, double latitude, double altitudeKm)
{
    const Footprint footprint(projection_.toPixel(QPointF(longitude, latitude)), altitudeKm,
                              projection_.pictureSize());
    painter.save();
    painter.setPen(solidPen(footprintColour()));
    painter.setBrush(Qt::NoBrush);
    QList<double> shifts{0};
    if (footprint.edgeShift() != 0)
        shifts.append(footprint.edgeShift());
    for (const double shift : shifts) {
        for (const QPointF &dot : footprint.startDots(shift))
            painter.drawPoint(dot);
        painter.drawLines(footprint.outline(shift));
    }
    painter.restore();
}

void frmMap::runAction(MapClock::Action action)
{
    if (action == MapClock::Action::ChangeSat) {
        showTicks();
        host_.ChangeSat();
        return;
    }
    apply(clock_.perform(action));
}

void frmMap::apply(const MapClock::Reaction &reaction)
{
    showTicks();
    if (reaction.refresh)
        RefreshMap();
    if (reaction.restartTimer) {
        timer1_->stop();
        timer1_->setInterval(clock_.timerInterval());
        timer1_->start();
    } else if (reaction.timerSwitched) {
        if (clock_.timerEnabled())
            timer1_->start();
        else
            timer1_->stop();
    }
}

void frmMap::showTicks()
{
    mnuSpeedNormal_->setChecked(clock_.normalTicked());
    mnuSpeedFast_->setChecked(clock_.fastTicked());
    mnuSpeedVeryFast_->setChecked(clock_.veryFastTicked());
    mnuSpeedBackwards_->setChecked(clock_.backwardsTicked());
    mnuSpeedPause_->setChecked(clock_.pauseTicked());
}

void frmMap::keyPressEvent(QKeyEvent *event)
{
    const MapClock::Action action = MapClock::actionForKeyCode(
        MapClock::keyCode(event->key(), event->modifiers(), event->text()));
    if (action == MapClock::Action::None) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    runAction(action);
}

bool frmMap::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == picMap_ && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton) {
            mnuSpeed_->popup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// SPDX-License-Identifier: GPL-2.0-or-later
// The map picture at fixed times, checked pixel by pixel against the track
// and footprint computed here from the orbit object on their own.
#include "MapTestHost.h"
#include "map/frmMap.h"
#include "platform/DateTime.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>

namespace {

constexpr int W = 720;
constexpr int H = 360;

struct GroundPoint
{
    double lon, lat, alt;
};

GroundPoint where(clsSats &sats, orvex::Date utc)
{
    qint16 inView = 0;
    double az, el, lon = 0, lat = 0, alt = 0;
    QString lonText, latText;
    sats.GetSatInfo(inView, IssElements::name(), utc, az, el, lon, lat, lonText, latText, alt);
    return {lon, lat, alt};
}

QPointF pixelOf(double lon, double lat)
{
    return {(lon + 180) * W / 360.0, (90 - lat) * H / 180.0};
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t =
        length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF closest = a + t * ab;
    return std::hypot(p.x() - closest.x(), p.y() - closest.y());
}

double distanceToPolyline(QPointF p, const QList<QPointF> &points)
{
    double best = 1e9;
    for (qsizetype i = 1; i < points.size(); ++i)
        best = std::min(best, distanceToSegment(p, points[i - 1], points[i]));
    return best;
}

// The ground track as pixel polylines: one minute a point, each step that
// crosses the date line drawn both as leaving one edge and entering the other.
QList<QList<QPointF>> expectedTrack(clsSats &sats, orvex::Date base)
{
    QList<QList<QPointF>> pieces{{}};
    GroundPoint previous = where(sats, base);
    pieces.back().append(pixelOf(previous.lon, previous.lat));
    for (int i = 1; i <= 102; ++i) {
        const GroundPoint next = where(sats, base + i / 1440.0);
        const double jump = next.lon - previous.lon;
        if (std::fabs(jump) > 180) {
            const double unwrapped = next.lon + (jump < 0 ? 360 : -360);
            pieces.back().append(pixelOf(unwrapped, next.lat));
            pieces.append({pixelOf(previous.lon - (unwrapped - next.lon), previous.lat)});
        }
        pieces.back().append(pixelOf(next.lon, next.lat));
        previous = next;
    }
    return pieces;
}

// The footprint outline as a pixel polyline: a circle of the footprint's
// central angle, each row widened by 1 / cos of its latitude.
QList<QPointF> expectedFootprint(const GroundPoint &at, double xShift = 0)
{
    const double e = 5 * M_PI / 180;
    const double lambda = std::acos(6368.0 / (6368.0 + at.alt) * std::cos(e)) - e;
    const double r = lambda / (2 * M_PI) * W;
    const QPointF c = pixelOf(at.lon, at.lat);
    QList<QPointF> right, left;
    for (double d = -r; d <= r; d += 0.5) {
        const double y = c.y() + d;
        const double widened = std::sqrt(std::max(0.0, r * r - d * d)) /
                               std::max(std::cos((y - H / 2.0) * M_PI / H), 0.001);
        right.append(QPointF(c.x() + xShift + widened, y));
        left.prepend(QPointF(c.x() + xShift - widened, y));
    }
    return right + left + QList<QPointF>{right.first()};
}

bool isColour(const QImage &image, int x, int y, const QColor &colour)
{
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
           QColor(image.pixel(x, y)) == colour;
}

bool colourNear(const QImage &image, QPointF p, const QColor &colour, int radius)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (isColour(image, static_cast<int>(std::floor(p.x())) + dx,
                         static_cast<int>(std::floor(p.y())) + dy, colour))
                return true;
    return false;
}

QList<QPoint> pixelsOf(const QImage &image, const QColor &colour)
{
    QList<QPoint> found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)) == colour)
                found.append(QPoint(x, y));
    return found;
}

// The first whole minute from the epoch on whose sub-satellite point fits.
std::optional<orvex::Date> findTime(clsSats &sats,
                                    const std::function<bool(const GroundPoint &)> &fits)
{
    for (int minute = 0; minute < 2 * 1440; ++minute) {
        const orvex::Date t = IssElements::nearEpoch() + minute / 1440.0;
        if (fits(where(sats, t)))
            return t;
    }
    return std::nullopt;
}

class MapDrawing : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(host.installed); }
    void TearDown() override { orvex::Clock::setSource({}); }

    // The map window opened at `utc`; its first picture is drawn then.
    std::unique_ptr<frmMap> openAt(orvex::Date utc)
    {
        orvex::Clock::setFixed(orvex::dateToUtc(utc));
        auto map = std::make_unique<frmMap>(host);
        EXPECT_EQ(map->picture().size(), QSize(W, H));
        return map;
    }

    // Every footprint pixel lies on the outline (or its copy at the other edge).
    void expectFootprintWhereTheGeometrySays(const QImage &image, const GroundPoint &at,
                                             double xShift)
    {
        const QList<QPointF> outline = expectedFootprint(at);
        const QList<QPointF> copy = expectedFootprint(at, xShift);
        const QList<QPoint> blue = pixelsOf(image, frmMap::footprintColour());
        ASSERT_GT(blue.size(), 100);
        for (const QPoint &p : blue) {
            const QPointF centre = QPointF(p) + QPointF(0.5, 0.5);
            double distance = distanceToPolyline(centre, outline);
            if (xShift != 0)
                distance = std::min(distance, distanceToPolyline(centre, copy));
            ASSERT_LE(distance, 3.0) << "footprint pixel at " << p.x() << "," << p.y();
        }
    }

    // With the satellite between the two longitudes the footprint runs over
    // an edge: it is drawn there and again, moved by xShift, at the other.
    void expectFootprintAtBothEdges(double fromLon, double toLon, double xShift)
    {
        const auto time = findTime(host.sats, [=](const GroundPoint &p) {
            return p.lon > fromLon && p.lon < toLon && std::fabs(p.lat) < 45;
        });
        ASSERT_TRUE(time);
        const auto map = openAt(*time);
        const QImage image = map->picture();
        expectFootprintWhereTheGeometrySays(image, where(host.sats, *time), xShift);

        int left = 0, right = 0;
        for (const QPoint &p : pixelsOf(image, frmMap::footprintColour())) {
            left += p.x() <= 3 ? 1 : 0;
            right += p.x() >= W - 4 ? 1 : 0;
        }
        EXPECT_GT(left, 0);
        EXPECT_GT(right, 0);
    }

    MapTestHost host;
};

} // namespace

TEST_F(MapDrawing, TrackPixelsLieOnTheGroundTrackAndCrossTheDateLineInTwoPieces)
{
    const orvex::Date base = IssElements::nearEpoch();
    const auto map = openAt(base);
    const QImage image = map->picture();
    const QList<QList<QPointF>> pieces = expectedTrack(host.sats, base);
    ASSERT_GE(pieces.size(), 2) << "102 minutes of the ISS cross the date line";

    const QList<QPoint> green = pixelsOf(image, frmMap::trackColour());
    ASSERT_GT(green.size(), 500);
    for (const QPoint &p : green) {
        double distance = 1e9;
        for (const auto &piece : pieces)
            distance =
                std::min(distance, distanceToPolyline(QPointF(p) + QPointF(0.5, 0.5), piece));
        // A line across the whole map would leave pixels far from any piece.
        ASSERT_LE(distance, 3.0) << "track pixel at " << p.x() << "," << p.y();
    }

    // The whole track is there, apart from under the symbol.
    const QPointF symbol = pixelOf(where(host.sats, base).lon, where(host.sats, base).lat);
    for (const auto &piece : pieces) {
        for (const QPointF &point : piece) {
            if (point.x() < 1 || point.x() > W - 1)
                continue;
            if (std::hypot(point.x() - symbol.x(), point.y() - symbol.y()) < 9)
                continue;
            EXPECT_TRUE(colourNear(image, point, frmMap::trackColour(), 2))
                << "no track at " << point.x() << "," << point.y();
        }
    }

    // Each crossing leaves at the right edge and comes in at the left.
    int atLeft = 0, atRight = 0;
    for (const QPoint &p : green) {
        atLeft += p.x() <= 1 ? 1 : 0;
        atRight += p.x() >= W - 2 ? 1 : 0;
    }
    EXPECT_GT(atLeft, 0);
    EXPECT_GT(atRight, 0);
}

TEST_F(MapDrawing, TheSymbolStandsAtTheSubSatellitePoint)
{
    const orvex::Date base = IssElements::nearEpoch() + 17 / 1440.0;
    const auto map = openAt(base);
    const QImage image = map->picture();
    const GroundPoint now = where(host.sats, base);
    const QPointF c = pixelOf(now.lon, now.lat);

    EXPECT_TRUE(colourNear(image, c, frmMap::symbolBoxColour(), 1));
    for (const double dx : {-4.5, 4.5})
        for (const double dy : {-4.5, 4.5})
            EXPECT_TRUE(colourNear(image, c + QPointF(dx, dy), frmMap::symbolStrokeColour(), 1))
                << dx << "," << dy;
    // The strokes leave an open ring around the box and end 6 pixels out.
    for (const QPoint &p : pixelsOf(image, frmMap::symbolStrokeColour())) {
        const QPointF offset = QPointF(p) + QPointF(0.5, 0.5) - c;
        EXPECT_LE(std::max(std::fabs(offset.x()), std::fabs(offset.y())), 7.5);
        EXPECT_GE(std::max(std::fabs(offset.x()), std::fabs(offset.y())), 2.0);
    }
    const QList<QPoint> box = pixelsOf(image, frmMap::symbolBoxColour());
    ASSERT_FALSE(box.isEmpty());
    for (const QPoint &p : box) {
        EXPECT_LE(std::fabs(p.x() + 0.5 - c.x()), 5.0);
        EXPECT_LE(std::fabs(p.y() + 0.5 - c.y()), 5.0);
    }
}

TEST_F(MapDrawing, StationsHeardViaTheSatelliteStandWhereTheyAreWithTheirCallsigns)
{
    host.stations = {{QStringLiteral("DL2ABC-7"), 52.5, 13.4, true},
                     {QStringLiteral("VK2ABC-9"), -33.9, 151.2, false}};
    const auto map = openAt(IssElements::nearEpoch() + 17 / 1440.0);
    const QImage image = map->picture();
    EXPECT_TRUE(colourNear(image, pixelOf(13.4, 52.5), frmMap::passStationColour(), 1));
    EXPECT_TRUE(colourNear(image, pixelOf(151.2, -33.9), frmMap::earlierStationColour(), 1));
    // The callsign beside the dot, in the dot's colour.
    for (const auto &[station, colour] :
         {std::pair{host.stations[0], frmMap::passStationColour()},
          std::pair{host.stations[1], frmMap::earlierStationColour()}}) {
        const QPointF dot = pixelOf(station.longitudeDeg, station.latitudeDeg);
        int beside = 0;
        for (const QPoint &p : pixelsOf(image, colour))
            beside += p.x() > dot.x() + 3 && p.x() < dot.x() + 90 && std::fabs(p.y() - dot.y()) < 10
                          ? 1
                          : 0;
        EXPECT_GT(beside, 20) << station.callsign.toStdString();
    }
}

TEST_F(MapDrawing, AFootprintInTheMiddleIsDrawnOnceWhereTheGeometrySays)
{
    const auto time = findTime(host.sats, [](const GroundPoint &p) {
        return std::fabs(p.lon) < 60 && std::fabs(p.lat) < 45;
    });
    ASSERT_TRUE(time);
    const auto map = openAt(*time);
    const QImage image = map->picture();
    const GroundPoint at = where(host.sats, *time);
    expectFootprintWhereTheGeometrySays(image, at, 0);

    for (const QPoint &p : pixelsOf(image, frmMap::footprintColour()))
        ASSERT_TRUE(p.x() > 3 && p.x() < W - 4) << "footprint at an edge: " << p.x();

    // Its outline is there all round, except where the track runs over it.
    const QList<QPointF> outline = expectedFootprint(at);
    for (qsizetype i = 0; i < outline.size(); i += 8) {
        const QPointF p = outline[i];
        if (colourNear(image, p, frmMap::trackColour(), 3))
            continue;
        EXPECT_TRUE(colourNear(image, p, frmMap::footprintColour(), 2)) << p.x() << "," << p.y();
    }
}

TEST_F(MapDrawing, AFootprintOverTheRightEdgeIsAlsoDrawnAtTheLeft)
{
    expectFootprintAtBothEdges(165, 175, -W);
}

TEST_F(MapDrawing, AFootprintOverTheLeftEdgeIsAlsoDrawnAtTheRight)
{
    expectFootprintAtBothEdges(-175, -165, W);
}

TEST_F(MapDrawing, EachPictureIsDrawnAfreshOnThePlainBackground)
{
    const auto map = openAt(IssElements::nearEpoch());
    const QImage first = map->picture();
    map->DrawSat({}, {}, 0);
    const QImage empty = map->picture();
    for (const QPoint &p : {QPoint(0, 0), QPoint(360, 180), QPoint(719, 359)})
        EXPECT_EQ(QColor(empty.pixel(p)), frmMap::oceanColour());
    EXPECT_TRUE(pixelsOf(empty, frmMap::trackColour()).isEmpty());
    EXPECT_TRUE(pixelsOf(empty, frmMap::footprintColour()).isEmpty());
    EXPECT_FALSE(pixelsOf(first, frmMap::trackColour()).isEmpty());

    const double nan = std::nan("");
    map->DrawSat({nan, nan}, {nan, nan}, nan);
    EXPECT_EQ(map->picture(), empty) << "nothing to draw for points that are not numbers";
}

TEST_F(MapDrawing, TheWorldPictureIsTheBackgroundWhenItIsThere)
{
    MapTestHost withPicture(true);
    orvex::Clock::setFixed(orvex::dateToUtc(IssElements::nearEpoch()));
    frmMap map(withPicture);
    ASSERT_TRUE(map.pictureRead());
    EXPECT_EQ(map.picture().size(), QSize(W, H));
    EXPECT_EQ(map.size(), QSize(W, H)) << "the window holds the picture exactly";
    EXPECT_EQ(map.windowTitle(), "Current Location of ISS Right-click for menu");
    // Land and ocean: the picture is not one colour.
    EXPECT_NE(QColor(map.picture().pixel(100, 180)), QColor(map.picture().pixel(400, 180)));
    EXPECT_FALSE(pixelsOf(map.picture(), frmMap::trackColour()).isEmpty());
}

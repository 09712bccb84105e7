// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/clsSats.h"

#include <QLocale>
#include <QStringList>
#include <cmath>

namespace {

std::string toEngineName(const QString &name)
{
    return name.toLatin1().toStdString();
}

QString rightInThree(int value)
{
    QString text = QString::number(value).rightJustified(3, QLatin1Char(' '));
    return text.right(3);
}

qint16 nearestEven(double value)
{
    return static_cast<qint16>(std::nearbyint(value)); // default rounding: halves to even
}

// Reads a pass record stamp "yyyymmddhhnnss"; false if it is not 14 digits.
bool readStamp(const QString &digits, orvex::SystemTime &st)
{
    if (digits.size() < 14)
        return false;
    bool ok[6];
    st.year = digits.mid(0, 4).toInt(&ok[0]);
    st.month = digits.mid(4, 2).toInt(&ok[1]);
    st.day = digits.mid(6, 2).toInt(&ok[2]);
    st.hour = digits.mid(8, 2).toInt(&ok[3]);
    st.minute = digits.mid(10, 2).toInt(&ok[4]);
    st.second = digits.mid(12, 2).toInt(&ok[5]);
    st.milliseconds = 0;
    for (bool b : ok)
        if (!b)
            return false;
    return true;
}

} // namespace

clsSats::clsSats()
    : engine_(std::make_unique<orbit::OrbitEngine>()), radToDeg_(180.0 / (4.0 * std::atan(1.0)))
{
}

clsSats::~clsSats() = default;

double clsSats::DateToJulianDate(orvex::Date date) const
{
    return orvex::julianDateOf(date);
}

QString clsSats::strPassInfo(const QString &satelliteName)
{
    std::string records;
    if (!engine_->ListPasses(toEngineName(satelliteName), datGmtTime(), 10, 3, 0, 0, records))
        return {};

    QString text = localTime_ ? QStringLiteral("'Start Time' is local time.\r\n")
                              : QStringLiteral("'Start Time' is UTC.\r\n");
    text += QStringLiteral("\r\n");
    text += QStringLiteral("      Start Time       Duration  Start Az  End Az  Max Elev\r\n");
    text += QStringLiteral("      ----------       --------  --------  ------  --------\r\n");

    bool havePrevious = false;
    double previousDay = 0;
    const QStringList list = QString::fromLatin1(records.c_str()).split(QLatin1Char(','));
    for (const QString &record : list) {
        if (record.isEmpty())
            continue;
        orvex::Date start = 0;
        const QString line = strFormatPass(satelliteName, record, start);
        if (line.isEmpty())
            return {};
        const double day = std::floor(start);
        if (havePrevious && day != previousDay)
            text += QStringLiteral("\r\n");
        text += line + QStringLiteral("\r\n");
        havePrevious = true;
        previousDay = day;
    }
    return text;
}

orbit::Status clsSats::setDblObsLat(double latitudeDeg)
{
    return engine_->SetObserverLatitude(latitudeDeg);
}

orbit::Status clsSats::setDblObsLong(double longitudeDeg)
{
    if (longitudeDeg < 0)
        longitudeDeg += 360.0;
    return engine_->SetObserverLongitude(longitudeDeg);
}

orbit::Status clsSats::GetSatInfo(qint16 &inView, const QString &satelliteName, orvex::Date datUtc,
                                  double &azimuthDeg, double &elevationDeg, double &longitudeDeg,
                                  double &latitudeDeg, QString &longitudeText,
                                  QString &latitudeText, double &altitudeKm, QString *nextPass)
{
    orbit::Position position;
    orbit::Status status = engine_->GetPosition(toEngineName(satelliteName),
                                                orbit::OrbitEngine::ToEngineTime(datUtc), position);
    if (!status)
        position = orbit::Position{};

    inView = position.inView;
    latitudeDeg = position.latitude * radToDeg_;
    azimuthDeg = position.azimuth * radToDeg_;
    elevationDeg = position.elevation * radToDeg_;
    longitudeDeg = foldLongitude(position.longitude * radToDeg_);
    altitudeKm = position.altitudeKm;
    FormatLatLong(longitudeDeg, latitudeDeg, longitudeText, latitudeText);

    if (nextPass && status) {
        if (inView != 0)
            *nextPass = QStringLiteral("Now!");
        else
            *nextPass = orvex::dateToWallClock(GetNextPassTime(satelliteName))
                            .toString(QStringLiteral("HH:mm:ss"));
    }
    return status;
}

orvex::Date clsSats::GetNextPassTime(const QString &satelliteName)
{
    const orvex::Date now = datGmtTime();
    const auto kept = nextPasses_.find(satelliteName);
    if (kept != nextPasses_.end() && kept->second.engineRevision == engine_->revision() &&
        kept->second.askedAt <= now && now < kept->second.start)
        return localTime_ ? GmtToLocal(kept->second.start) : kept->second.start;
    std::string records;
    if (!engine_->ListPasses(toEngineName(satelliteName), std::floor(now), 10, 2, 0, 0, records))
        return 0;

    std::optional<orvex::Date> answer;
    const QStringList list = QString::fromLatin1(records.c_str()).split(QLatin1Char(','));
    for (const QString &record : list) {
        orvex::SystemTime st;
        if (!readStamp(record.mid(1, 14), st))
            return 0;
        const orvex::Date start = SystemTimeToDate(st);
        answer = start;
        if (start > now)
            break;
    }
    if (!answer)
        return 0;
    if (*answer > now)
        nextPasses_[satelliteName] = {engine_->revision(), now, *answer};
    return localTime_ ? GmtToLocal(*answer) : *answer;
}

orvex::Date clsSats::datGmtTime() const
{
    return SystemTimeToDate(orvex::toSystemTime(orvex::Clock::nowUtc()));
}

orvex::Date clsSats::datTime() const
{
    if (!localTime_)
        return datGmtTime();
    const QDateTime local = orvex::Clock::nowUtc().toTimeZone(orvex::Clock::localZone());
    return SystemTimeToDate(orvex::toSystemTime(local));
}

orvex::Date clsSats::GmtToLocal(orvex::Date datUtc) const
{
    const QDateTime utc = orvex::fromSystemTime(DateToSystemTime(datUtc), QTimeZone::utc());
    if (!utc.isValid())
        return datUtc;
    // The offset is the one in force at that instant, so a pass after a
    // daylight-saving change shows its true local time.
    const QDateTime local = utc.toTimeZone(orvex::Clock::localZone());
    if (!local.isValid())
        return datUtc;
    return SystemTimeToDate(orvex::toSystemTime(local));
}

orbit::Status clsSats::setStrKeplerPath(const QString &folder)
{
    return engine_->SetElementFolder(folder.toLocal8Bit().toStdString());
}

std::optional<ElementProvenance> clsSats::elementProvenance(const QString &satelliteName) const
{
    const auto source = engine_->elementSource(toEngineName(satelliteName));
    if (!source)
        return std::nullopt;
    ElementProvenance set;
    set.file = QString::fromLocal8Bit(source->file.c_str());
    set.name = QString::fromLatin1(source->name.c_str());
    set.catalogNumber = source->catalogNumber;
    set.epoch = orvex::dateOfJulianDate(source->epochJd);
    set.demo = source->demo;
    return set;
}

QString clsSats::elementProblem(const QString &satelliteName) const
{
    const orbit::Status status = engine_->elementStatus(toEngineName(satelliteName));
    return status ? QString() : QString::fromLatin1(status.reason().c_str());
}

std::optional<clsSats::Look> clsSats::lookAt(const QString &satelliteName, double jd)
{
    orbit::Position position;
    orbit::RangeRate range;
    const std::string name = toEngineName(satelliteName);
    if (!engine_->GetPosition(name, jd, position) || !engine_->GetRangeRate(name, jd, range))
        return std::nullopt;
    return Look{position.azimuth * radToDeg_, position.elevation * radToDeg_, range.rangeKm,
                range.rangeRateKmPerS};
}

std::optional<orbit::RangeRate> clsSats::rangeRate(const QString &satelliteName, double jd)
{
    orbit::RangeRate range;
    if (!engine_->GetRangeRate(toEngineName(satelliteName), jd, range))
        return std::nullopt;
    return range;
}

std::optional<orbit::Illumination> clsSats::illumination(const QString &satelliteName, double jd)
{
    orbit::Illumination light;
    if (!engine_->GetIllumination(toEngineName(satelliteName), jd, light))
        return std::nullopt;
    return light;
}

orbit::PassSearch clsSats::passes(const QString &satelliteName, double fromJd, double toJd)
{
    return engine_->findPasses(toEngineName(satelliteName), fromJd, toJd);
}

orbit::EclipseSearch clsSats::shadows(const QString &satelliteName, double fromJd, double toJd)
{
    return engine_->findEclipses(toEngineName(satelliteName), fromJd, toJd);
}

QString clsSats::clockText(double jd) const
{
    const orvex::Date utc = orvex::dateOfJulianDate(jd);
    return orvex::dateToWallClock(localTime_ ? GmtToLocal(utc) : utc)
               .toString(QStringLiteral("HH:mm:ss")) +
           (localTime_ ? QString() : QStringLiteral(" UTC"));
}

std::optional<qint16> clsSats::intAzimuthAt(const QString &satelliteName, orvex::Date datUtc)
{
    qint16 inView = 0;
    double az = 0, el = 0, lon = 0, lat = 0, alt = 0;
    QString lonText, latText;
    if (!GetSatInfo(inView, satelliteName, datUtc, az, el, lon, lat, lonText, latText, alt))
        return std::nullopt;
    return nearestEven(az);
}

double clsSats::foldLongitude(double longitudeDeg)
{
    return longitudeDeg > 180.0 ? longitudeDeg - 360.0 : longitudeDeg;
}

void clsSats::FormatLatLong(double longitudeDeg, double latitudeDeg, QString &longitudeText,
                            QString &latitudeText)
{
    // Minutes are not carried into the degrees: 59.996 minutes show as 60.00.
    const auto split = [](double value, int &degrees, double &minutes) {
        const double totalMinutes = std::fabs(value) * 60.0;
        degrees = static_cast<int>(std::floor(totalMinutes)) / 60;
        minutes = totalMinutes - 60.0 * degrees;
    };
    int d = 0;
    double r = 0;
    split(longitudeDeg, d, r);
    longitudeText = QString::asprintf("%03d.%05.2f%c", d, r, longitudeDeg >= 0 ? 'E' : 'W');
    split(latitudeDeg, d, r);
    latitudeText = QString::asprintf("%02d.%05.2f%c", d, r, latitudeDeg >= 0 ? 'N' : 'S');
}

QString clsSats::strFormatPass(const QString &satelliteName, const QString &record,
                               orvex::Date &start)
{
    if (record.size() < 3)
        return {};
    const QStringList fields = record.mid(1, record.size() - 2).split(QLatin1Char(' '));
    if (fields.size() < 5)
        return {};
    orvex::SystemTime st;
    if (!readStamp(fields[0], st))
        return {};
    const orvex::Date utcStart = SystemTimeToDate(st);
    bool okDuration = false, okElevation = false;
    const double seconds = fields[4].toDouble(&okDuration);
    const double maxElevation = fields[3].toDouble(&okElevation);
    if (!okDuration || !okElevation)
        return {};
    const orvex::Date duration = seconds / orvex::secondsPerDay;
    if (seconds < 0 || seconds >= orvex::secondsPerDay)
        return {};
    const auto startAz = intAzimuthAt(satelliteName, utcStart);
    const auto endAz = intAzimuthAt(satelliteName, utcStart + duration);
    if (!startAz || !endAz)
        return {};

    start = localTime_ ? GmtToLocal(utcStart) : utcStart;
    const QLocale c = QLocale::c();
    QString line = QStringLiteral(" ");
    line += c.toString(orvex::dateToWallClock(start), QStringLiteral("yyyy-MMM-dd HH:mm:ss"))
                .leftJustified(22, QLatin1Char(' '));
    // Whole seconds, rounded: 127.9 s shows as 00:02:08.
    line += QTime(0, 0)
                .addSecs(static_cast<int>(std::lround(seconds)))
                .toString(QStringLiteral("HH:mm:ss")) +
            QStringLiteral("    ");
    line += rightInThree(*startAz) + QStringLiteral("      ");
    line += rightInThree(*endAz) + QStringLiteral("      ");
    line += rightInThree(nearestEven(maxElevation));
    return line;
}

orvex::SystemTime clsSats::DateToSystemTime(orvex::Date date)
{
    orvex::SystemTime st = orvex::toSystemTime(orvex::dateToUtc(date));
    st.milliseconds = 0;
    return st;
}

orvex::Date clsSats::SystemTimeToDate(const orvex::SystemTime &time)
{
    const QDate day(time.year, time.month, time.day);
    if (!day.isValid())
        return 0;
    int second = time.second;
    if (time.milliseconds > 500)
        ++second;
    const orvex::Date midnight = orvex::utcToDate(QDateTime(day, QTime(0, 0), QTimeZone::utc()));
    return midnight + (time.hour + time.minute / 60.0 + second / 3600.0) / 24.0;
}

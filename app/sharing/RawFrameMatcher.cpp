// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/RawFrameMatcher.h"

#include <algorithm>

namespace sharing {

namespace {

constexpr int addressLength = 7;
constexpr int maximumAddresses = 10; // destination, source, 8 digipeaters
constexpr unsigned char uiControl = 0x03;
constexpr unsigned char pollFinal = 0x10;

QString addressText(const QByteArray &frame, int offset)
{
    QString call;
    for (int i = 0; i < 6; ++i) {
        const char c = static_cast<char>(static_cast<unsigned char>(frame[offset + i]) >> 1);
        if (c != ' ')
            call += QLatin1Char(c);
    }
    const int ssid = (static_cast<unsigned char>(frame[offset + 6]) >> 1) & 0x0F;
    return ssid == 0 ? call : call + QLatin1Char('-') + QString::number(ssid);
}

} // namespace

std::optional<Ax25UiFrame> parseUiFrame(const QByteArray &frame)
{
    int addresses = 0;
    bool last = false;
    while (!last) {
        const int end = (addresses + 1) * addressLength;
        if (addresses == maximumAddresses || end > frame.size())
            return std::nullopt;
        last = (static_cast<unsigned char>(frame[end - 1]) & 0x01) != 0;
        ++addresses;
    }
    const int control = addresses * addressLength;
    if (addresses < 2 || control + 2 > frame.size())
        return std::nullopt;
    if ((static_cast<unsigned char>(frame[control]) & ~pollFinal) != uiControl)
        return std::nullopt;
    return Ax25UiFrame{addressText(frame, addressLength), frame.mid(control + 2)};
}

RawFrameMatcher::RawFrameMatcher(qint64 windowMs, std::size_t capacity)
    : windowMs_(windowMs), capacity_(std::max<std::size_t>(capacity, 1))
{
}

QByteArray RawFrameMatcher::monitoredInfo(const QByteArray &monitorText)
{
    const qsizetype cr = monitorText.indexOf('\r');
    return cr < 0 ? QByteArray() : monitorText.mid(cr + 1);
}

// The engine prints the information field as a C string and ends it with
// line ends of its own, so both sides are compared up to the first zero
// byte and without trailing CR and LF.
QByteArray RawFrameMatcher::comparable(QByteArray info)
{
    const qsizetype zero = info.indexOf('\0');
    if (zero >= 0)
        info.truncate(zero);
    while (!info.isEmpty() && (info.back() == '\r' || info.back() == '\n'))
        info.chop(1);
    return info;
}

std::optional<RawFrameMatcher::Match> RawFrameMatcher::addRaw(const QByteArray &frame,
                                                              const QDateTime &utc)
{
    expire(utc);
    const std::optional<Ax25UiFrame> ui = parseUiFrame(frame);
    if (!ui)
        return std::nullopt;
    const QByteArray key = comparable(ui->info);
    const auto twin = std::find_if(monitored_.begin(), monitored_.end(), [&](const Waiting &w) {
        return w.source == ui->source && w.key == key;
    });
    if (twin != monitored_.end()) {
        Match match{ui->source, frame, std::min(twin->utc, utc)};
        monitored_.erase(twin);
        return match;
    }
    if (raw_.size() == capacity_)
        raw_.pop_front();
    raw_.push_back({ui->source, key, frame, utc});
    return std::nullopt;
}

std::optional<RawFrameMatcher::Match> RawFrameMatcher::addMonitored(const QString &source,
                                                                    const QByteArray &monitorText,
                                                                    const QDateTime &utc)
{
    expire(utc);
    const QByteArray key = comparable(monitoredInfo(monitorText));
    const auto twin = std::find_if(raw_.begin(), raw_.end(), [&](const Waiting &w) {
        return w.source == source && w.key == key;
    });
    if (twin != raw_.end()) {
        Match match{source, twin->rawFrame, std::min(twin->utc, utc)};
        raw_.erase(twin);
        return match;
    }
    if (monitored_.size() == capacity_) {
        monitored_.pop_front();
        ++unmatchedMonitored_;
    }
    monitored_.push_back({source, key, {}, utc});
    return std::nullopt;
}

void RawFrameMatcher::expire(const QDateTime &now)
{
    dropOld(raw_, now, false);
    dropOld(monitored_, now, true);
}

void RawFrameMatcher::dropOld(std::deque<Waiting> &list, const QDateTime &now, bool countDrops)
{
    while (!list.empty() && list.front().utc.msecsTo(now) > windowMs_) {
        list.pop_front();
        if (countDrops)
            ++unmatchedMonitored_;
    }
}

} // namespace sharing

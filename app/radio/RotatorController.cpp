// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/RotatorController.h"

#include "radio/DaemonPlace.h"

#include <algorithm>
#include <cmath>

namespace radio {

namespace {
constexpr double day = secondsPerDay;
constexpr double trackStepSeconds = 5;
constexpr double followStepDeg = 1.0; // a new position once the satellite moved this far
constexpr double longestLeadSeconds = 2.0;
constexpr double readActiveSeconds = 1.0; // position reads during a pass
constexpr double readIdleSeconds = 10.0;  // and between passes
constexpr double freshReadSeconds = 0.5;  // a read this recent needs none before a new position
constexpr double refusedRetrySeconds = 5.0;
constexpr int tickMs = 50;

bool moved(const RotatorPosition &from, const RotatorPosition &to, double byDeg)
{
    return std::abs(to.azimuthDeg - from.azimuthDeg) >= byDeg ||
           std::abs(to.elevationDeg - from.elevationDeg) >= byDeg;
}

QString degrees(double value)
{
    return QString::number(value, 'f', 2);
}
} // namespace

RotatorController::RotatorController(QObject *parent)
    : QObject(parent), link_(QStringLiteral("rotctld")), daemon_(QStringLiteral("rotctld"))
{
    connect(&link_, &HamlibLink::connected, this, [this] {
        // A daemon that comes back may have been restarted: ask its range
        // and send the position again.
        ++generation_;
        // A daemon that left dump_state unanswered is not asked again.
        limitsAsked_ = limitsUnanswered_;
        sent_.reset();
        nextReadJd_ = readJd_ = positionRetryJd_ = 0;
        publish();
    });
    connect(&link_, &HamlibLink::stateChanged, this, &RotatorController::publish);
    connect(&link_, &HamlibLink::idle, this, [this] { tick(); });
    connect(&daemon_, &DaemonRunner::stateChanged, this, &RotatorController::publish);
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    timer_.start(tickMs);
    limits_ = settings_.limits;
}

RotatorController::~RotatorController() = default;

void RotatorController::setSettings(const RotatorSettings &settings)
{
    const DaemonPlace previous = settings_;
    settings_ = settings;
    if (!limitsFromDaemon_)
        limits_ = settings.limits;
    moveTo(previous, settings, daemon_, link_);
    // MIN_EL, the range or the positions may have changed the plan.
    planned_.reset();
    tick();
    publish();
}

void RotatorController::setSatellite(TrackInput input)
{
    input_ = std::move(input);
    passes_.setInput(input_.pass);
    planned_.reset();
    plan_.reset();
    engaged_ = false;
    tick();
    publish();
}

void RotatorController::invalidatePass()
{
    passes_.invalidate();
    planned_.reset();
}

void RotatorController::planFor(const PassWindow &pass, double now)
{
    planned_ = pass;
    plan_.reset();
    engaged_ = false;
    passTooLow_ = true;
    if (!input_.look)
        return;
    std::vector<TrackPoint> track;
    const auto add = [&](double jd) {
        if (const std::optional<LookSample> look = input_.look(jd)) {
            track.push_back({jd, look->azimuthDeg, look->elevationDeg});
            if (look->elevationDeg >= settings_.minElevationDeg)
                passTooLow_ = false;
        }
    };
    // What is left of the pass: a plan made during it starts where the satellite is.
    for (double jd = std::max(pass.aosJd, now); jd < pass.losJd; jd += trackStepSeconds / day)
        add(jd);
    add(pass.losJd);
    // Where the rotator stands, so that the plan turns it the short way.
    std::optional<double> from;
    if (reported_)
        from = reported_->azimuthDeg;
    else if (sent_)
        from = sent_->azimuthDeg;
    if (!track.empty())
        plan_ = planPass(track, limits_, from);
}

bool RotatorController::tick()
{
    if (!settings_.enabled)
        return false;
    const double now = nowJd();
    // A clock set back leaves every time held in the future: start afresh.
    if (now < lastTickJd_ - 1 / day) {
        sent_.reset();
        nextReadJd_ = readJd_ = positionRetryJd_ = 0;
        planned_.reset();
    }
    lastTickJd_ = now;
    // A pass that ended is parked once its LOS is past.
    if (planned_ && now > planned_->losJd) {
        if (engaged_)
            parkPending_ = true;
        planned_.reset();
        plan_.reset();
        engaged_ = false;
    }
    const std::optional<PassWindow> &pass = passes_.at(now, 0);
    if (pass && now <= pass->losJd && (!planned_ || planned_->aosJd != pass->aosJd))
        planFor(*pass, now);
    updateWanted(now);
    const bool sent = link_.isIdle() && budget_.room(now) > 0 && sendNext(now);
    if (sent || dirty_ || std::abs(now - publishedJd_) >= 1.0 / day)
        publish();
    return sent;
}

void RotatorController::updateWanted(double now)
{
    const bool planned = planned_ && plan_ && !passTooLow_;
    const double prepositionJd = planned ? planned_->aosJd - settings_.prepositionSeconds / day : 0;
    if (!planned || now < prepositionJd) {
        phase_ = parkPending_ ? RotatorPhase::Parking : RotatorPhase::Idle;
        wanted_ = parkPending_ ? std::optional<RotatorPosition>(withinLimits(
                                     limits_, settings_.parkAzimuthDeg, settings_.parkElevationDeg))
                               : std::nullopt;
        return;
    }
    if (!engaged_) {
        // Planned again from where the rotator stands now.
        planFor(*planned_, now);
        engaged_ = true;
        if (!plan_)
            return;
    }
    parkPending_ = false;
    if (now < planned_->aosJd) {
        // The AOS azimuth, at the lowest elevation the rotator reaches.
        const std::optional<LookSample> aos = input_.look(planned_->aosJd);
        phase_ = RotatorPhase::Preposition;
        if (aos)
            wanted_ = pointFor(*plan_, planned_->aosJd, aos->azimuthDeg, 0);
        return;
    }
    const std::optional<LookSample> look = input_.look(now);
    if (look && look->elevationDeg >= settings_.minElevationDeg) {
        phase_ = RotatorPhase::Following;
        // Aimed ahead by half a step, so that the beam is as much ahead of
        // the satellite as behind it.
        double leadSeconds = 0;
        if (const std::optional<LookSample> later = input_.look(now + 1 / day)) {
            const double rate =
                std::max(std::abs(std::remainder(later->azimuthDeg - look->azimuthDeg, 360.0)),
                         std::abs(later->elevationDeg - look->elevationDeg));
            if (rate > 0)
                leadSeconds = std::min(longestLeadSeconds, followStepDeg / 2 / rate);
        }
        const std::optional<LookSample> ahead =
            leadSeconds > 0 ? input_.look(now + leadSeconds / day) : look;
        const LookSample &aim = ahead ? *ahead : *look;
        wanted_ = pointFor(*plan_, now + leadSeconds / day, aim.azimuthDeg, aim.elevationDeg);
        return;
    }
    // Below MIN_EL: held where it was sent last (the AOS azimuth at first).
    phase_ = RotatorPhase::Waiting;
    if (!wanted_) {
        const std::optional<LookSample> aos = input_.look(planned_->aosJd);
        if (aos)
            wanted_ = pointFor(*plan_, planned_->aosJd, aos->azimuthDeg, 0);
    }
}

bool RotatorController::sendNext(double now)
{
    if (!limitsAsked_)
        return sendLimitsQuery(now);
    // Where it stands first, for the plan.
    if (!reported_ && now >= nextReadJd_)
        return sendPositionRead(now);
    if (wanted_) {
        const double step = phase_ == RotatorPhase::Following ? followStepDeg : 0.01;
        if ((!sent_ || moved(*sent_, *wanted_, step)) && now >= positionRetryJd_) {
            // Where it stands just before it is sent on, when the budget
            // holds both: shown fresh, and a rotator that counts its travel
            // only when asked (Hamlib's dummy) keeps what it travelled.
            if (now >= readJd_ + freshReadSeconds / day && budget_.room(now) >= 2)
                return sendPositionRead(now);
            return sendPosition(*wanted_, now);
        }
    }
    return now >= nextReadJd_ && sendPositionRead(now);
}

bool RotatorController::sendPosition(const RotatorPosition &position, double now)
{
    const quint64 generation = generation_;
    const bool parking = phase_ == RotatorPhase::Parking;
    const QString command = QStringLiteral("set_pos %1 %2")
                                .arg(degrees(position.azimuthDeg), degrees(position.elevationDeg));
    const bool ok = link_.send(command, [=, this](const HamlibReply &reply) {
        if (generation != generation_)
            return;
        dirty_ = true;
        if (reply.ok()) {
            problem_.clear();
            if (parking)
                parkPending_ = false;
            return;
        }
        problem_ =
            QStringLiteral("the rotator refused %1 (Hamlib error %2)").arg(command).arg(reply.code);
        // Sent again after a pause, not at every chance.
        sent_.reset();
        positionRetryJd_ = now + refusedRetrySeconds / day;
    });
    if (ok) {
        budget_.spend(now);
        sent_ = position;
    }
    return ok;
}

bool RotatorController::sendLimitsQuery(double now)
{
    const quint64 generation = generation_;
    const bool ok = link_.send(QStringLiteral("dump_state"), [=, this](const HamlibReply &reply) {
        if (generation != generation_)
            return;
        dirty_ = true;
        limitsUnanswered_ = false;
        RotatorLimits told;
        const auto minAz = reply.number(QStringLiteral("Minimum Azimuth"));
        const auto maxAz = reply.number(QStringLiteral("Maximum Azimuth"));
        const auto minEl = reply.number(QStringLiteral("Minimum Elevation"));
        const auto maxEl = reply.number(QStringLiteral("Maximum Elevation"));
        const bool tells =
            reply.ok() && minAz && maxAz && minEl && maxEl && *maxAz > *minAz && *maxEl > *minEl;
        if (tells)
            told = {*minAz, *maxAz, *minEl, *maxEl};
        const RotatorLimits limits = tells ? told : settings_.limits;
        const bool changed = limits.minAzimuthDeg != limits_.minAzimuthDeg ||
                             limits.maxAzimuthDeg != limits_.maxAzimuthDeg ||
                             limits.minElevationDeg != limits_.minElevationDeg ||
                             limits.maxElevationDeg != limits_.maxElevationDeg;
        limits_ = limits;
        limitsFromDaemon_ = tells;
        if (changed && planned_)
            planFor(*planned_, now);
    });
    if (ok) {
        budget_.spend(now);
        limitsAsked_ = true;
        limitsUnanswered_ = true;
    }
    return ok;
}

bool RotatorController::sendPositionRead(double now)
{
    const quint64 generation = generation_;
    const bool ok = link_.send(QStringLiteral("get_pos"), [=, this](const HamlibReply &reply) {
        if (generation != generation_)
            return;
        dirty_ = true;
        const auto azimuth = reply.number(QStringLiteral("Azimuth"));
        const auto elevation = reply.number(QStringLiteral("Elevation"));
        if (reply.ok() && azimuth && elevation)
            reported_ = RotatorPosition{*azimuth, *elevation};
    });
    if (ok) {
        budget_.spend(now);
        readJd_ = now;
        const bool active = phase_ != RotatorPhase::Idle;
        nextReadJd_ = now + (active ? readActiveSeconds : readIdleSeconds) / day;
    }
    return ok;
}

void RotatorController::publish()
{
    view_.enabled = settings_.enabled;
    view_.link = link_.stateText();
    view_.linkUp = link_.state() == HamlibLink::State::Up;
    view_.daemon = settings_.enabled && settings_.daemon.start ? daemon_.stateText() : QString();
    view_.phase = phase_;
    view_.pass = planned_;
    view_.plan = plan_ ? planText(*plan_) : QString();
    view_.limits = limits_;
    view_.limitsFromDaemon = limitsFromDaemon_;
    view_.wanted = wanted_;
    view_.sent = sent_;
    view_.reported = reported_;
    view_.problem = problem_;
    view_.commands = link_.commandsSent();
    publishedJd_ = nowJd();
    dirty_ = false;
    emit changed();
}

} // namespace radio

// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/RadioController.h"

#include "radio/DaemonPlace.h"
#include "radio/FrequencyHold.h"

#include <cmath>

namespace radio {

namespace {
constexpr double windowSeconds = 60; // tuned from AOS less this to LOS plus this
constexpr double day = secondsPerDay;
// The part of the tolerance a value may use, leaving room for the radio's
// rounding and for the moment a command waits for its turn.
constexpr double toleranceUsed = 0.85;
constexpr double leadSeconds = 0.1;      // a new value goes this long before the old one is due
constexpr double pairSeconds = 0.05;     // a value set this recently pairs the next
constexpr double readEverySeconds = 2.0; // reads of the dial while nothing is due
constexpr double quietSeconds = 1.0;     // reads only when nothing is due this soon
constexpr double refusedRetrySeconds = 5.0;
constexpr double splitRetrySeconds = 10.0;
constexpr int tickMs = 50;
constexpr int downlink = 0;
constexpr int uplink = 1;
} // namespace

RadioController::RadioController(QObject *parent)
    : QObject(parent), link_(QStringLiteral("rigctld")),
      daemon_(QStringLiteral("rigctld")), channels_{Channel{"set_freq", "get_freq", "Frequency"},
                                                    Channel{"set_split_freq", "get_split_freq",
                                                            "TX Frequency"}}
{
    connect(&link_, &HamlibLink::connected, this, [this] {
        // A daemon that comes back may have been restarted: tell it all again.
        forgetRadio();
        publish();
    });
    connect(&link_, &HamlibLink::stateChanged, this, &RadioController::publish);
    connect(&link_, &HamlibLink::idle, this, [this] { tick(); });
    connect(&daemon_, &DaemonRunner::stateChanged, this, &RadioController::publish);
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    timer_.start(tickMs);
    view_.link = link_.stateText();
}

RadioController::~RadioController() = default;

void RadioController::setSettings(const RadioSettings &settings)
{
    const DaemonPlace previous = settings_;
    const bool modeChanged = settings.mode != settings_.mode;
    settings_ = settings;
    moveTo(previous, settings, daemon_, link_);
    if (modeChanged || !settings.enabled)
        forgetRadio();
    if (!settings.enabled)
        view_.tuning = false;
    tick();
    publish();
}

void RadioController::setSatellite(const SatelliteFrequencies &frequencies, TrackInput input)
{
    input_ = std::move(input);
    passes_.setInput(input_.pass);
    channels_[downlink].nominalHz = frequencies.downlinkHz;
    channels_[uplink].nominalHz = frequencies.uplinkHz;
    for (Channel &channel : channels_)
        channel.offsetHz = 0;
    forgetRadio();
    tick();
    publish();
}

void RadioController::invalidatePass()
{
    passes_.invalidate();
}

void RadioController::resetOffset()
{
    for (Channel &channel : channels_) {
        channel.offsetHz = 0;
        channel.dueJd = 0; // due at once
    }
    tick();
    publish();
}

std::optional<double> RadioController::wanted(const Channel &channel, double jd) const
{
    if (!input_.look)
        return std::nullopt;
    const std::optional<LookSample> look = input_.look(jd);
    if (!look)
        return std::nullopt;
    const TunedFrequencies tuned = dopplerTuned(channels_[downlink].nominalHz,
                                                channels_[uplink].nominalHz, look->rangeRateKmPerS);
    const double hz = &channel == &channels_[downlink] ? tuned.downlinkHz : tuned.uplinkHz;
    return hz + channel.offsetHz;
}

bool RadioController::active(const Channel &channel) const
{
    if (&channel == &channels_[downlink])
        return true;
    return settings_.mode == RadioMode::Split && splitOn_;
}

bool RadioController::tick()
{
    if (!settings_.enabled)
        return false;
    const double now = nowJd();
    // A clock set back leaves every time held in the future: start afresh.
    if (now < lastTickJd_ - 1 / day)
        forgetRadio();
    lastTickJd_ = now;
    const std::optional<PassWindow> &pass = passes_.at(now, windowSeconds);
    const bool inWindow = pass && now >= pass->aosJd - windowSeconds / day &&
                          now <= pass->losJd + windowSeconds / day;
    if (inWindow != view_.tuning) {
        // A window begins afresh, and after it the radio is left alone.
        forgetRadio();
        view_.tuning = inWindow;
        publishedJd_ = 0;
    }
    view_.pass = pass;
    const bool sent = inWindow && link_.isIdle() && budget_.room(now) > 0 && sendNext(now);
    refreshView(now);
    // The computed values move all the time: shown once a second.
    if (sent || dirty_ || std::abs(now - publishedJd_) >= 1.0 / day)
        publish();
    return sent;
}

bool RadioController::sendNext(double now)
{
    if (settings_.mode == RadioMode::Split && !splitOn_ && now >= splitRetryJd_)
        return sendSplit(now);
    // The channel whose value is due first; right after a value was set, the
    // other is set with it when half its time is gone, so that the two go in
    // pairs and leave the budget whole in between.
    const bool pairing = now <= pairUntilJd_;
    int due = -1;
    for (int index = 0; index < static_cast<int>(channels_.size()); ++index) {
        const Channel &channel = channels_[static_cast<std::size_t>(index)];
        if (!active(channel) || now < channel.retryJd)
            continue;
        const double lead =
            pairing && channel.setHz ? (channel.dueJd - channel.setAtJd) / 2 : leadSeconds / day;
        const bool needed = !channel.setHz || now >= channel.dueJd - lead;
        if (needed && (due < 0 || channel.dueJd < channels_[static_cast<std::size_t>(due)].dueJd))
            due = index;
    }
    if (due >= 0) {
        const Channel &channel = channels_[static_cast<std::size_t>(due)];
        // Read the dial before a new value overwrites it, when the budget
        // holds both and no other channel waits.
        bool othersWait = false;
        for (const Channel &other : channels_)
            if (&other != &channel && active(other) &&
                (!other.setHz || other.dueJd < now + quietSeconds / day))
                othersWait = true;
        if (channel.setHz && !channel.verified && !othersWait && budget_.room(now) >= 2)
            return sendRead(due, now);
        return sendSet(due, now);
    }
    // Nothing due: read the dial now and then.
    if (now < nextReadJd_)
        return false;
    int oldest = -1;
    for (int index = 0; index < static_cast<int>(channels_.size()); ++index) {
        const Channel &channel = channels_[static_cast<std::size_t>(index)];
        if (!active(channel))
            continue;
        if (!channel.setHz || channel.dueJd < now + quietSeconds / day)
            return false;
        if (oldest < 0 || channel.readJd < channels_[static_cast<std::size_t>(oldest)].readJd)
            oldest = index;
    }
    return oldest >= 0 && sendRead(oldest, now);
}

bool RadioController::sendSet(int index, double now)
{
    Channel &channel = channels_[static_cast<std::size_t>(index)];
    const std::optional<Hold> hold =
        holdFrom([this, &channel](double jd) { return wanted(channel, jd); }, now,
                 toleranceUsed * toleranceHz(channel.nominalHz));
    if (!hold)
        return false;
    const double value = std::round(hold->valueHz);
    const QString command = QStringLiteral("%1 %2")
                                .arg(QLatin1String(channel.setCommand))
                                .arg(static_cast<qint64>(value));
    const quint64 generation = generation_;
    const double untilJd = hold->untilJd;
    const bool ok = link_.send(command, [=, this](const HamlibReply &reply) {
        if (generation != generation_)
            return;
        dirty_ = true;
        Channel &answered = channels_[static_cast<std::size_t>(index)];
        if (reply.ok()) {
            answered.setHz = value;
            answered.setAtJd = now;
            answered.dueJd = untilJd;
            answered.verified = false;
            problem_.clear();
        } else {
            answered.retryJd = now + refusedRetrySeconds / day;
            problem_ = QStringLiteral("the radio refused %1 (Hamlib error %2)")
                           .arg(command)
                           .arg(reply.code);
        }
    });
    if (ok) {
        budget_.spend(now);
        pairUntilJd_ = now + pairSeconds / day;
    }
    return ok;
}

bool RadioController::sendRead(int index, double now)
{
    Channel &channel = channels_[static_cast<std::size_t>(index)];
    const std::optional<double> expected = channel.setHz;
    const quint64 generation = generation_;
    const bool ok =
        link_.send(QLatin1String(channel.getCommand), [=, this](const HamlibReply &reply) {
            if (generation != generation_)
                return;
            dirty_ = true;
            Channel &answered = channels_[static_cast<std::size_t>(index)];
            answered.readJd = now;
            const std::optional<double> reported = reply.number(QLatin1String(answered.valueKey));
            if (!reply.ok() || !reported) {
                problem_ = QStringLiteral("the radio did not tell its frequency (%1, Hamlib "
                                          "error %2)")
                               .arg(QLatin1String(answered.getCommand))
                               .arg(reply.code);
                return;
            }
            answered.reportedHz = *reported;
            // Only a reading of a value set over this link tells of the dial.
            if (!answered.setHz || expected != answered.setHz)
                return;
            const double turned = *reported - *answered.setHz;
            // Within the tolerance it is the radio's own tuning step.
            if (std::abs(turned) > toleranceHz(answered.nominalHz)) {
                answered.offsetHz += turned;
                answered.setHz = *reported;
            }
            answered.verified = true;
        });
    if (ok) {
        budget_.spend(now);
        nextReadJd_ = now + readEverySeconds / day;
    }
    return ok;
}

bool RadioController::sendSplit(double now)
{
    const quint64 generation = generation_;
    const bool ok =
        link_.send(QStringLiteral("set_split_vfo 1 VFOB"), [=, this](const HamlibReply &reply) {
            if (generation != generation_)
                return;
            dirty_ = true;
            if (reply.ok()) {
                splitOn_ = true;
                return;
            }
            splitRetryJd_ = now + splitRetrySeconds / day;
            problem_ = QStringLiteral("the radio refused split (set_split_vfo 1 VFOB, Hamlib "
                                      "error %1)")
                           .arg(reply.code);
        });
    if (ok)
        budget_.spend(now);
    return ok;
}

void RadioController::forgetRadio()
{
    ++generation_;
    for (Channel &channel : channels_) {
        channel.setHz.reset();
        channel.reportedHz.reset();
        channel.verified = false;
        channel.dueJd = 0;
        channel.retryJd = 0;
        channel.readJd = 0;
    }
    splitOn_ = false;
    splitRetryJd_ = 0;
    nextReadJd_ = 0;
}

void RadioController::refreshView(double now)
{
    for (Channel &channel : channels_)
        channel.computedHz = wanted(channel, now);
    const auto show = [](const Channel &channel, ChannelView &view) {
        view.computedHz = channel.computedHz;
        view.setHz = channel.setHz;
        view.reportedHz = channel.reportedHz;
        view.offsetHz = channel.offsetHz;
    };
    show(channels_[downlink], view_.downlink);
    if (settings_.mode == RadioMode::Split)
        show(channels_[uplink], view_.uplink);
    else
        view_.uplink = ChannelView{};
}

void RadioController::publish()
{
    view_.enabled = settings_.enabled;
    view_.link = link_.stateText();
    view_.linkUp = link_.state() == HamlibLink::State::Up;
    view_.daemon = settings_.enabled && settings_.daemon.start ? daemon_.stateText() : QString();
    view_.mode = settings_.mode;
    view_.problem = problem_;
    view_.commands = link_.commandsSent();
    publishedJd_ = nowJd();
    dirty_ = false;
    emit changed();
}

} // namespace radio

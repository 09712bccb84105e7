// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "radio/CommandBudget.h"
#include "radio/DaemonRunner.h"
#include "radio/HamlibLink.h"
#include "radio/RadioSettings.h"
#include "radio/TrackInput.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <optional>

// Tunes the radio through rigctld for the Doppler shift of the current
// satellite, from a minute before AOS to a minute after LOS; between passes
// the radio is left alone.
//
// RX puts the downlink on the current VFO (set_freq); SPLIT also switches
// split on (set_split_vfo 1 VFOB) and puts the uplink on the split transmit
// frequency (set_split_freq). Each value sent is the middle of what the
// satellite needs while it is held, so that it stays within the tolerance
// (20 Hz at 145 MHz, 60 Hz at 437 MHz) as long as possible, and a new one
// goes when it is due; never more than 2 commands a second, reads included.
//
// The operator's dial: when the budget allows, the radio's frequency is read
// back (before a new value is set, and every few seconds). A reading that
// differs from what was set means the dial was turned: the difference is
// kept as an offset and added to every later value, so the radio never jumps
// back. resetOffset() drops it. A daemon that comes back (restarted, with its
// own defaults) is first told everything again, and only read afterwards, so
// its defaults are never taken for a turn of the dial.
namespace radio {

struct ChannelView
{
    std::optional<double> computedHz; // needed now: Doppler-corrected, plus the offset
    std::optional<double> setHz;      // what the program last set
    std::optional<double> reportedHz; // what the radio last reported
    double offsetHz = 0;              // the operator's dial turns, kept
};

struct RadioView
{
    bool enabled = false;
    QString link;   // the link to rigctld in words
    QString daemon; // the daemon the program runs, in words; empty when it runs none
    bool linkUp = false;
    bool tuning = false; // between a minute before AOS and a minute after LOS
    std::optional<PassWindow> pass;
    RadioMode mode = RadioMode::Rx;
    ChannelView downlink;
    ChannelView uplink; // SPLIT only
    QString problem;    // the radio's last refusal; empty when none
    quint64 commands = 0;
};

class RadioController : public QObject
{
    Q_OBJECT
public:
    explicit RadioController(QObject *parent = nullptr);
    ~RadioController() override;

    // Where rigctld is, how the radio is used, and whether the program runs
    // the daemon. Connects when enabled, closes otherwise.
    void setSettings(const RadioSettings &settings);
    // The satellite to follow: its frequencies and track. The operator's
    // offsets start again from zero.
    void setSatellite(const SatelliteFrequencies &frequencies, TrackInput input);
    // The element sets or the station changed: the pass is searched again.
    void invalidatePass();
    // Drops the operator's offsets: the radio goes back to the computed frequencies.
    void resetOffset();

    const RadioView &view() const { return view_; }
    HamlibLink &link() { return link_; }

    // Looks at the clock and sends what is due: true when a command went
    // out. A timer calls it often; tests call it too.
    bool tick();

signals:
    void changed();

private:
    struct Channel
    {
        const char *setCommand;
        const char *getCommand;
        const char *valueKey;
        double nominalHz = 0;
        double offsetHz = 0;
        std::optional<double> setHz{}; // set over this connection and window
        double setAtJd = 0;
        double dueJd = 0; // when setHz leaves the tolerance
        bool verified = false;
        double retryJd = 0;
        double readJd = 0;
        std::optional<double> reportedHz{};
        std::optional<double> computedHz{};
    };

    std::optional<double> wanted(const Channel &channel, double jd) const;
    bool active(const Channel &channel) const;
    bool sendNext(double now);
    bool sendSet(int index, double now);
    bool sendRead(int index, double now);
    bool sendSplit(double now);
    void forgetRadio();
    void refreshView(double now);
    void publish();

    HamlibLink link_;
    DaemonRunner daemon_;
    QTimer timer_;
    CommandBudget budget_;
    PassCache passes_;
    TrackInput input_;
    RadioSettings settings_;
    std::array<Channel, 2> channels_;
    bool splitOn_ = false;
    double splitRetryJd_ = 0;
    double pairUntilJd_ = 0;
    double nextReadJd_ = 0;
    double publishedJd_ = 0;
    double lastTickJd_ = 0;
    quint64 generation_ = 0;
    bool dirty_ = false;
    QString problem_;
    RadioView view_;
};

} // namespace radio

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "radio/CommandBudget.h"
#include "radio/DaemonRunner.h"
#include "radio/HamlibLink.h"
#include "radio/RotatorPlan.h"
#include "radio/RotatorSettings.h"
#include "radio/TrackInput.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

// Turns the antenna through rotctld during the passes of the current
// satellite. Each pass is planned before AOS (RotatorPlan: normal, overlap
// or flip, so that the rotator never swings round through its stop in the
// middle of it) within the range the daemon's dump_state tells, or the
// settings' range when it tells none. PREPOSITION_S before AOS it points at
// the AOS azimuth at its lowest elevation; during the pass it follows the
// satellite above MIN_EL, sending a new position when the satellite has moved
// by 1 degree or more in azimuth or elevation; after LOS it parks. Never
// more than 2 commands a second, reads of its position included.
namespace radio {

enum class RotatorPhase {
    Idle,        // no pass, or before PREPOSITION_S ahead of AOS
    Preposition, // at the AOS azimuth, waiting for AOS
    Waiting,     // in the pass, below MIN_EL: held where it is
    Following,   // in the pass above MIN_EL
    Parking,     // after LOS, until the park position is sent
};

struct RotatorView
{
    bool enabled = false;
    QString link;   // the link to rotctld in words
    QString daemon; // the daemon the program runs, in words; empty when it runs none
    bool linkUp = false;
    RotatorPhase phase = RotatorPhase::Idle;
    std::optional<PassWindow> pass;
    QString plan; // planText() of the pass's plan; empty before one is made
    RotatorLimits limits;
    bool limitsFromDaemon = false;           // told by dump_state, else from the settings
    std::optional<RotatorPosition> wanted;   // where the beam belongs now
    std::optional<RotatorPosition> sent;     // the position last sent
    std::optional<RotatorPosition> reported; // where the rotator said it is
    QString problem;                         // the rotator's last refusal; empty when none
    quint64 commands = 0;
};

class RotatorController : public QObject
{
    Q_OBJECT
public:
    explicit RotatorController(QObject *parent = nullptr);
    ~RotatorController() override;

    // Where rotctld is, the rotator's range and positions, and whether the
    // program runs the daemon. Connects when enabled, closes otherwise.
    void setSettings(const RotatorSettings &settings);
    // The satellite to follow.
    void setSatellite(TrackInput input);
    // The element sets or the station changed: the pass is searched and planned again.
    void invalidatePass();

    const RotatorView &view() const { return view_; }
    HamlibLink &link() { return link_; }

    // Looks at the clock and sends what is due: true when a command went
    // out. A timer calls it often; tests call it too.
    bool tick();

signals:
    void changed();

private:
    void planFor(const PassWindow &pass, double now);
    bool sendNext(double now);
    bool sendPosition(const RotatorPosition &position, double now);
    bool sendLimitsQuery(double now);
    bool sendPositionRead(double now);
    void updateWanted(double now);
    void publish();

    HamlibLink link_;
    DaemonRunner daemon_;
    QTimer timer_;
    CommandBudget budget_;
    PassCache passes_;
    TrackInput input_;
    RotatorSettings settings_;
    RotatorLimits limits_;
    bool limitsFromDaemon_ = false;
    bool limitsAsked_ = false;
    bool limitsUnanswered_ = false;
    std::optional<PassWindow> planned_; // the pass the plan is for
    std::optional<RotatorPlan> plan_;
    bool passTooLow_ = false;
    bool engaged_ = false; // the planned pass came within PREPOSITION_S of AOS
    bool parkPending_ = false;
    RotatorPhase phase_ = RotatorPhase::Idle;
    std::optional<RotatorPosition> wanted_;
    std::optional<RotatorPosition> sent_; // over this connection
    std::optional<RotatorPosition> reported_;
    double nextReadJd_ = 0;
    double readJd_ = 0;
    double positionRetryJd_ = 0;
    double publishedJd_ = 0;
    double lastTickJd_ = 0;
    quint64 generation_ = 0;
    bool dirty_ = false;
    QString problem_;
    RotatorView view_;
};

} // namespace radio

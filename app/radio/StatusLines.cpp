// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/StatusLines.h"

#include "platform/DateTime.h"
#include "tracking/SkyViewModel.h"

#include <cmath>

namespace radio {

namespace {

QString positionText(const RotatorPosition &position)
{
    return QStringLiteral("az %1° el %2°")
        .arg(position.azimuthDeg, 0, 'f', 1)
        .arg(position.elevationDeg, 0, 'f', 1);
}

QString withProblem(QString line, const QString &problem)
{
    if (!problem.isEmpty())
        line += QStringLiteral("; ") + problem;
    return line;
}
} // namespace

QString radioStatusLine(const RadioView &view, const ClockText &timeText)
{
    if (!view.enabled)
        return QStringLiteral("Radio: off");
    if (!view.linkUp) {
        const QString daemon =
            view.daemon.isEmpty() ? QString() : QStringLiteral("; ") + view.daemon;
        return QStringLiteral("Radio: ") + view.link + daemon;
    }
    if (!view.tuning) {
        if (!view.pass)
            return withProblem(QStringLiteral("Radio: idle, no pass known"), view.problem);
        return withProblem(QStringLiteral("Radio: idle until %1")
                               .arg(timeText(view.pass->aosJd - 60 / secondsPerDay)),
                           view.problem);
    }
    QString line = QStringLiteral("Radio: ");
    if (view.mode == RadioMode::Split)
        line += QStringLiteral("RX ");
    line +=
        view.downlink.setHz ? tracking::frequencyText(*view.downlink.setHz) : QStringLiteral("-");
    if (view.downlink.offsetHz != 0)
        line += QStringLiteral(" (offset %1)").arg(tracking::shiftText(view.downlink.offsetHz));
    if (view.mode == RadioMode::Split) {
        line +=
            QStringLiteral(", TX ") +
            (view.uplink.setHz ? tracking::frequencyText(*view.uplink.setHz) : QStringLiteral("-"));
        if (view.uplink.offsetHz != 0)
            line += QStringLiteral(" (offset %1)").arg(tracking::shiftText(view.uplink.offsetHz));
    }
    return withProblem(line, view.problem);
}

QString rotatorStatusLine(const RotatorView &view, const ClockText &timeText)
{
    if (!view.enabled)
        return QStringLiteral("Rotator: off");
    if (!view.linkUp) {
        const QString daemon =
            view.daemon.isEmpty() ? QString() : QStringLiteral("; ") + view.daemon;
        return QStringLiteral("Rotator: ") + view.link + daemon;
    }
    const QString at =
        view.reported ? QStringLiteral(" at ") + positionText(*view.reported) : QString();
    const QString plan = view.plan.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(view.plan);
    QString line;
    switch (view.phase) {
    case RotatorPhase::Idle:
        line = view.pass
                   ? QStringLiteral("Rotator: idle%1 until %2").arg(at, timeText(view.pass->aosJd))
                   : QStringLiteral("Rotator: idle%1, no pass known").arg(at);
        break;
    case RotatorPhase::Preposition:
        line = QStringLiteral("Rotator: turned to the AOS azimuth%1%2").arg(at, plan);
        break;
    case RotatorPhase::Waiting:
        line = QStringLiteral("Rotator: holding%1 while the satellite is low%2").arg(at, plan);
        break;
    case RotatorPhase::Following:
        line = QStringLiteral("Rotator: following%1%2").arg(at, plan);
        break;
    case RotatorPhase::Parking:
        line = QStringLiteral("Rotator: parking%1").arg(at);
        break;
    }
    return withProblem(line, view.problem);
}

} // namespace radio

// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/SkyViewWindow.h"

#include "orbit/clsSats.h"
#include "shared/clsIni.h"
#include "tracking/SkyPlot.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString section = QStringLiteral("SKYVIEW");
constexpr double defaultMHz = 145.825; // the satellite's APRS channel
constexpr double julianOfDate = 2415018.5;

double readMHz(clsIni *ini, const QString &key)
{
    if (!ini)
        return defaultMHz;
    bool ok = false;
    const double value = ini->GetIniString(section, key, QString::number(defaultMHz, 'f', 6))
                             .trimmed()
                             .toDouble(&ok);
    return ok && value >= 1 && value <= 100000 ? value : defaultMHz;
}
} // namespace

SkyViewWindow::SkyViewWindow(clsSats &sats, clsIni *ini, QWidget *parent)
    : QWidget(parent, Qt::Window), sats_(sats), ini_(ini),
      model_(std::make_unique<tracking::SkyViewModel>(sats.engine())), plot_(new SkyPlot(this)),
      timer_(new QTimer(this))
{
    setObjectName(QStringLiteral("SkyViewWindow"));
    setWindowTitle(QStringLiteral("ORVEX Sky View"));

    auto *figures = new QFormLayout;
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("labSatellite"));
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    figures->addRow(title_);
    countdown_ = addRow(figures, QString(), QStringLiteral("labCountdown"));
    countdown_->setFont(bold);
    aos_ = addRow(figures, QStringLiteral("AOS"), QStringLiteral("labAos"));
    tca_ = addRow(figures, QStringLiteral("TCA"), QStringLiteral("labTca"));
    los_ = addRow(figures, QStringLiteral("LOS"), QStringLiteral("labLos"));
    maxElevation_ = addRow(figures, QStringLiteral("Max. elevation"), QStringLiteral("labMaxEl"));
    duration_ = addRow(figures, QStringLiteral("Duration"), QStringLiteral("labDuration"));
    range_ = addRow(figures, QStringLiteral("Range"), QStringLiteral("labRange"));
    rangeRate_ = addRow(figures, QStringLiteral("Range rate"), QStringLiteral("labRangeRate"));
    sunlight_ = addRow(figures, QStringLiteral("Sunlight"), QStringLiteral("labSunlight"));

    auto makeSpin = [this](const QString &name, double mhz) {
        auto *spin = new QDoubleSpinBox(this);
        spin->setObjectName(name);
        spin->setDecimals(6);
        spin->setRange(1, 100000);
        spin->setSuffix(QStringLiteral(" MHz"));
        spin->setValue(mhz);
        connect(spin, &QDoubleSpinBox::valueChanged, this, [this] {
            saveFrequencies();
            refresh();
        });
        return spin;
    };
    downlink_ =
        makeSpin(QStringLiteral("spinDownlink"), readMHz(ini_, QStringLiteral("DOWNLINK_MHZ")));
    uplink_ = makeSpin(QStringLiteral("spinUplink"), readMHz(ini_, QStringLiteral("UPLINK_MHZ")));
    figures->addRow(QStringLiteral("Downlink"), downlink_);
    downShift_ = addRow(figures, QStringLiteral("  Doppler"), QStringLiteral("labDownShift"));
    downTune_ = addRow(figures, QStringLiteral("  Tune to"), QStringLiteral("labDownTune"));
    figures->addRow(QStringLiteral("Uplink"), uplink_);
    upShift_ = addRow(figures, QStringLiteral("  Doppler"), QStringLiteral("labUpShift"));
    upTune_ = addRow(figures, QStringLiteral("  Send on"), QStringLiteral("labUpTune"));

    auto *side = new QVBoxLayout;
    side->addLayout(figures);
    side->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(plot_, 1);
    layout->addLayout(side);

    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &SkyViewWindow::refresh);
    timer_->start();
}

SkyViewWindow::~SkyViewWindow() = default;

QLabel *SkyViewWindow::addRow(QFormLayout *form, const QString &caption, const QString &name)
{
    auto *label = new QLabel(this);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (caption.isEmpty())
        form->addRow(label);
    else
        form->addRow(caption, label);
    return label;
}

void SkyViewWindow::setSatellite(const QString &name)
{
    satellite_ = name;
    model_->setSatellite(name);
    refresh();
}

void SkyViewWindow::invalidate()
{
    model_->invalidate();
    refresh();
}

QString SkyViewWindow::timeText(double jd) const
{
    const orvex::Date utc = jd - julianOfDate;
    const bool local = sats_.blnLocalTime();
    const orvex::Date shown = local ? sats_.GmtToLocal(utc) : utc;
    return orvex::dateToWallClock(shown).toString(QStringLiteral("HH:mm:ss")) +
           (local ? QString() : QStringLiteral(" UTC"));
}

void SkyViewWindow::saveFrequencies()
{
    if (!ini_)
        return;
    ini_->SaveIniString(section, QStringLiteral("DOWNLINK_MHZ"),
                        QString::number(downlink_->value(), 'f', 6));
    ini_->SaveIniString(section, QStringLiteral("UPLINK_MHZ"),
                        QString::number(uplink_->value(), 'f', 6));
}

void SkyViewWindow::refresh()
{
    const double nowJd = sats_.datGmtTime() + julianOfDate;
    view_ = model_->update(nowJd);
    plot_->setView(view_, [this](double jd) { return timeText(jd); });
    title_->setText(satellite_);

    for (QLabel *label : {aos_, tca_, los_, maxElevation_, duration_, sunlight_})
        label->clear();
    if (!view_.pass) {
        countdown_->setText(view_.problem);
    } else {
        const orbit::Pass &pass = *view_.pass;
        countdown_->setText(QStringLiteral("%1 %2").arg(
            view_.inPass ? QStringLiteral("LOS in") : QStringLiteral("AOS in"),
            tracking::countdownText(view_.secondsToEvent)));
        aos_->setText(QStringLiteral("%1  az %2°")
                          .arg(timeText(pass.aosJd))
                          .arg(std::lround(pass.aosAzimuthDeg)));
        tca_->setText(timeText(pass.maxJd));
        los_->setText(QStringLiteral("%1  az %2°")
                          .arg(timeText(pass.losJd))
                          .arg(std::lround(pass.losAzimuthDeg)));
        maxElevation_->setText(QStringLiteral("%1°").arg(pass.maxElevationDeg, 0, 'f', 1));
        duration_->setText(tracking::countdownText(pass.durationSeconds()));
    }
    if (view_.light)
        sunlight_->setText(*view_.light == orbit::Illumination::Sunlit ? QStringLiteral("sunlit")
                           : *view_.light == orbit::Illumination::Penumbra
                               ? QStringLiteral("penumbra")
                               : QStringLiteral("in eclipse"));

    const double down = downlink_->value() * 1e6;
    const double up = uplink_->value() * 1e6;
    if (view_.range) {
        const double rate = view_.range->rangeRateKmPerS;
        range_->setText(QStringLiteral("%1 km").arg(view_.range->rangeKm, 0, 'f', 0));
        rangeRate_->setText(QStringLiteral("%1 km/s").arg(rate, 0, 'f', 3));
        const double heard = down + orbit::downlinkShiftHz(down, rate);
        const double send = orbit::uplinkFrequencyHz(up, rate);
        downShift_->setText(tracking::shiftText(heard - down));
        downTune_->setText(tracking::frequencyText(heard));
        upShift_->setText(tracking::shiftText(send - up));
        upTune_->setText(tracking::frequencyText(send));
    } else {
        for (QLabel *label : {range_, rangeRate_, downShift_, downTune_, upShift_, upTune_})
            label->clear();
    }
}

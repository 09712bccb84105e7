// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/SkyViewWindow.h"

#include "orbit/TrackingContext.h"
#include "shared/clsIni.h"
#include "tracking/SkyPlot.h"
#include "ui/ElidedLabel.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

SkyViewWindow::SkyViewWindow(TrackingContext &context, clsIni *ini, QWidget *parent)
    : QWidget(parent, Qt::Window), context_(context), sats_(context.sats()), ini_(ini),
      model_(std::make_unique<tracking::SkyViewModel>(sats_)),
      tuning_(ini ? tracking::DopplerTuning::load(*ini, context.currentIndex())
                  : tracking::DopplerTuning()),
      plot_(new SkyPlot(this)), timer_(new QTimer(this))
{
    setObjectName(QStringLiteral("SkyViewWindow"));
    setWindowTitle(QStringLiteral("ORVEX Sky View"));

    auto *figures = new QFormLayout;
    // The name is the element set's own text: plain, and cut where it has no room.
    title_ = new ElidedLabel(this);
    title_->setObjectName(QStringLiteral("satellite"));
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    figures->addRow(title_);
    countdown_ = addRow(figures, QString(), QStringLiteral("countdown"));
    countdown_->setFont(bold);
    aos_ = addRow(figures, QStringLiteral("AOS"), QStringLiteral("aos"));
    tca_ = addRow(figures, QStringLiteral("TCA"), QStringLiteral("tca"));
    los_ = addRow(figures, QStringLiteral("LOS"), QStringLiteral("los"));
    maxElevation_ =
        addRow(figures, QStringLiteral("Max. elevation"), QStringLiteral("maxElevation"));
    duration_ = addRow(figures, QStringLiteral("Duration"), QStringLiteral("duration"));
    lookNow_ = addRow(figures, QStringLiteral("Now"), QStringLiteral("lookNow"));
    range_ = addRow(figures, QStringLiteral("Range"), QStringLiteral("range"));
    rangeRate_ = addRow(figures, QStringLiteral("Range rate"), QStringLiteral("rangeRate"));
    sunlight_ = addRow(figures, QStringLiteral("Sunlight"), QStringLiteral("sunlight"));

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
    downlink_ = makeSpin(QStringLiteral("downlink"), tuning_.downlinkHz() / 1e6);
    uplink_ = makeSpin(QStringLiteral("uplink"), tuning_.uplinkHz() / 1e6);
    figures->addRow(QStringLiteral("Downlink"), downlink_);
    downShift_ = addRow(figures, QStringLiteral("  Doppler"), QStringLiteral("downShift"));
    downTune_ = addRow(figures, QStringLiteral("  Tune to"), QStringLiteral("downTune"));
    figures->addRow(QStringLiteral("Uplink"), uplink_);
    upShift_ = addRow(figures, QStringLiteral("  Doppler"), QStringLiteral("upShift"));
    upTune_ = addRow(figures, QStringLiteral("  Send on"), QStringLiteral("upTune"));

    side_ = new QVBoxLayout;
    side_->addLayout(figures);
    side_->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(plot_, 1);
    layout->addLayout(side_);

    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &SkyViewWindow::refresh);
    timer_->start();
    connect(&context_, &TrackingContext::changed, this, &SkyViewWindow::follow);
    follow();
}

SkyViewWindow::~SkyViewWindow() = default;

QLabel *SkyViewWindow::addRow(QFormLayout *form, const QString &caption, const QString &name)
{
    auto *label = new ElidedLabel(this);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (caption.isEmpty())
        form->addRow(label);
    else
        form->addRow(caption, label);
    return label;
}

void SkyViewWindow::addSection(QWidget *section)
{
    section->setParent(this);
    side_->insertWidget(side_->count() - 1, section);
}

void SkyViewWindow::follow()
{
    // Each satellite has channels of its own.
    if (ini_) {
        tuning_ = tracking::DopplerTuning::load(*ini_, context_.currentIndex());
        const QSignalBlocker quietDown(downlink_);
        const QSignalBlocker quietUp(uplink_);
        downlink_->setValue(tuning_.downlinkHz() / 1e6);
        uplink_->setValue(tuning_.uplinkHz() / 1e6);
    }
    satellite_ = context_.trackedName();
    model_->setSatellite(satellite_);
    model_->invalidate();
    refresh();
}

void SkyViewWindow::saveFrequencies()
{
    tuning_.setFrequencies(downlink_->value() * 1e6, uplink_->value() * 1e6);
    if (ini_)
        tuning_.save(*ini_, context_.currentIndex());
    emit frequenciesChanged();
}

void SkyViewWindow::refresh()
{
    view_ = model_->update(orvex::Clock::nowJulianDate());
    plot_->setView(view_, [this](double jd) { return sats_.clockText(jd); });
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
                          .arg(sats_.clockText(pass.aosJd))
                          .arg(std::lround(pass.aosAzimuthDeg)));
        tca_->setText(sats_.clockText(pass.maxJd));
        los_->setText(QStringLiteral("%1  az %2°")
                          .arg(sats_.clockText(pass.losJd))
                          .arg(std::lround(pass.losAzimuthDeg)));
        maxElevation_->setText(QStringLiteral("%1°").arg(pass.maxElevationDeg, 0, 'f', 1));
        duration_->setText(tracking::countdownText(pass.durationSeconds()));
    }
    if (view_.light)
        sunlight_->setText(*view_.light == orbit::Illumination::Sunlit ? QStringLiteral("sunlit")
                           : *view_.light == orbit::Illumination::Penumbra
                               ? QStringLiteral("penumbra")
                               : QStringLiteral("in eclipse"));

    if (view_.look) {
        const clsSats::Look &look = *view_.look;
        lookNow_->setText(QStringLiteral("az %1°  el %2°")
                              .arg(look.azimuthDeg, 0, 'f', 1)
                              .arg(look.elevationDeg, 0, 'f', 1));
        range_->setText(QStringLiteral("%1 km").arg(look.rangeKm, 0, 'f', 0));
        rangeRate_->setText(QStringLiteral("%1 km/s").arg(look.rangeRateKmPerS, 0, 'f', 3));
        const tracking::Tuning tuning = tuning_.at(look.rangeRateKmPerS);
        downShift_->setText(tracking::shiftText(tuning.receiveShiftHz()));
        downTune_->setText(tracking::frequencyText(tuning.receiveHz));
        upShift_->setText(tracking::shiftText(tuning.transmitShiftHz()));
        upTune_->setText(tracking::frequencyText(tuning.transmitHz));
    } else {
        for (QLabel *label :
             {lookNow_, range_, rangeRate_, downShift_, downTune_, upShift_, upTune_})
            label->clear();
    }
}

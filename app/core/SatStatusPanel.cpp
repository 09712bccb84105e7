// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/SatStatusPanel.h"

#include "orbit/SatStatus.h"
#include "ui/ToolTipText.h"

#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStyleOptionGroupBox>
#include <QStylePainter>

#include <algorithm>

namespace {
const QColor inViewColour(0xC0, 0xFF, 0xFF);
} // namespace

SatStatusPanel::SatStatusPanel(QWidget *parent)
    : QGroupBox(QStringLiteral("ORVEX Current Location"), parent)
{
    setObjectName(QStringLiteral("framLocation"));
    auto *grid = new QGridLayout(this);
    const auto addRow = [&](int row, const QString &caption, QLabel *&value, const char *name) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        value = new QLabel(this);
        value->setObjectName(QString::fromLatin1(name));
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        value->setAutoFillBackground(true);
        value->setMinimumWidth(110);
        value->setAlignment(Qt::AlignCenter);
        grid->addWidget(value, row, 1);
    };
    addRow(0, QStringLiteral("Latitude"), labLat, "labLat");
    addRow(1, QStringLiteral("Longitude"), labLong, "labLong");
    addRow(2, QStringLiteral("Azimuth"), labAz, "labAz");
    addRow(3, QStringLiteral("Elev"), labEl, "labEl");
    addRow(4, QStringLiteral("Due (local)"), labDue, "labDue");
    labDueCap = qobject_cast<QLabel *>(grid->itemAtPosition(4, 0)->widget());
    labDueCap->setObjectName(QStringLiteral("labDueCap"));

    auto *buttons = new QVBoxLayout;
    cmdChangeSat = new QPushButton(QStringLiteral("Change &Sat"), this);
    cmdChangeSat->setObjectName(QStringLiteral("cmdChangeSat"));
    cmdPassInfo = new QPushButton(QStringLiteral("&Predictions"), this);
    cmdPassInfo->setObjectName(QStringLiteral("cmdPassInfo"));
    buttons->addWidget(cmdChangeSat);
    buttons->addWidget(cmdPassInfo);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 5, 1);
    setInViewColour(false);
}

void SatStatusPanel::setInViewColour(bool inView)
{
    for (QLabel *label : {labLat, labLong, labAz, labEl, labDue}) {
        QPalette p = label->palette();
        p.setColor(QPalette::Window, inView ? inViewColour : palette().color(QPalette::Base));
        label->setPalette(p);
    }
}

QString SatStatusPanel::shownTitle() const
{
    const QFontMetrics metrics(font());
    // What the style leaves of the width beside the caption.
    const int room = width() - 2 * metrics.horizontalAdvance(QStringLiteral("MM"));
    return metrics.elidedText(title(), Qt::ElideRight, std::max(room, 0));
}

QSize SatStatusPanel::minimumSizeHint() const
{
    // As QGroupBox counts it, with the designed caption in place of a longer one.
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const QFontMetrics metrics(font());
    const int caption =
        std::min(metrics.horizontalAdvance(title()),
                 metrics.horizontalAdvance(QStringLiteral("ORVEX Current Location"))) +
        metrics.horizontalAdvance(QLatin1Char(' '));
    const QSize inside = layout() ? layout()->totalMinimumSize() : QSize();
    const QSize size = QSize(caption, metrics.height()).expandedTo(inside);
    return style()->sizeFromContents(QStyle::CT_GroupBox, &option, size, this);
}

void SatStatusPanel::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    option.text = shownTitle();
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}

void SatStatusPanel::showElementNote(const QString &toolTip, bool warning)
{
    setToolTip(orvex::plainToolTip(toolTip));
    if (warning == elementWarning_)
        return;
    elementWarning_ = warning;
    // Only the caption: a palette colour would reach every label of the frame.
    setStyleSheet(warning ? QStringLiteral("QGroupBox::title { color: #C00000; }") : QString());
}

bool SatStatusPanel::hasInViewColour() const
{
    return labLat->palette().color(QPalette::Window) == inViewColour;
}

void SatStatusPanel::showStatus(const SatStatus &status)
{
    labLat->setText(status.latitudeText);
    labLong->setText(status.longitudeText);
    if (!status.positionKnown) {
        for (QLabel *label : {labAz, labEl, labDue})
            label->clear();
        if (hasInViewColour())
            setInViewColour(false);
        return;
    }
    if (!status.locationKnown)
        return;
    labDue->setText(status.dueText);
    if (hasInViewColour() != status.inView)
        setInViewColour(status.inView);
    labAz->setText(status.azimuthText);
    labEl->setText(status.elevationText);
}

void SatStatusPanel::setLocationKnown(bool known)
{
    cmdPassInfo->setEnabled(known);
    if (known)
        return;
    for (QLabel *label : {labAz, labEl, labDue})
        label->setText(QStringLiteral("-"));
}

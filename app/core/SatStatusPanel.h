// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QGroupBox>

class QLabel;
class QPushButton;
struct SatStatus;

// The satellite status panel of the main window: where the current satellite
// is, azimuth and elevation while in view, and when its next pass is due.
class SatStatusPanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit SatStatusPanel(QWidget *parent = nullptr);

    QLabel *labLat = nullptr;
    QLabel *labLong = nullptr;
    QLabel *labAz = nullptr;
    QLabel *labEl = nullptr;
    QLabel *labDue = nullptr;
    QLabel *labDueCap = nullptr;
    QPushButton *cmdChangeSat = nullptr;
    QPushButton *cmdPassInfo = nullptr;

    // Shows a computed status. Without a location only the position is
    // shown; the in-view colour is then left as it was.
    void showStatus(const SatStatus &status);
    // Without a location there are no predictions: azimuth, elevation and
    // due show "-" and the Predictions button is disabled.
    void setLocationKnown(bool known);

    // The five value labels in the in-view colour (pale cyan) or the window colour.
    void setInViewColour(bool inView);
    bool hasInViewColour() const;

    // The element set in use, as the frame's tool tip; with `warning` (an old
    // or unusable set) the frame caption takes the warning colour.
    void showElementNote(const QString &toolTip, bool warning);
    bool hasElementWarning() const { return elementWarning_; }

    // The caption names the element set, whose name comes from a file: it is
    // cut to the panel's width, and the panel never widens for it.
    QString shownTitle() const;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool elementWarning_ = false;
};

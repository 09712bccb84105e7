// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class FocusLeaveGuard;
class QLabel;
class QLineEdit;
class QPushButton;
class StationSettings;

// "Station Information": the station's latitude, longitude, callsign and
// beacon comment, with the Maidenhead locator computed from the position.
// Modal; OK hands the values to the main window, Cancel hands back nothing.
class frmLocation : public QDialog
{
    Q_OBJECT
public:
    explicit frmLocation(StationSettings &settings, QWidget *parent = nullptr);

    // Checks a coordinate box and rewrites it in display form. On failure
    // shows "I can't make that into a valid latitude." (or longitude),
    // owned by `owner`, puts the focus back into the box and returns false.
    bool ValidateLatLong(QWidget *owner, QLineEdit *box, bool longitude, bool emptyAllowed);

private:
    void UpdateLocator();
    // Beside each coordinate box, how its text is understood; and the
    // locator of the two once both are coordinates.
    void showMeaning();
    bool checkCallsign();
    void cmdOkClicked();

    StationSettings &settings_;
    QLineEdit *txtLat;
    QLineEdit *txtLong;
    QLineEdit *txtCallsign;
    QLineEdit *txtComment;
    QLabel *labLocator;
    QLabel *latitudeMeaning_ = nullptr;
    QLabel *longitudeMeaning_ = nullptr;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;
    FocusLeaveGuard *guard_;
};

// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class FocusLeaveGuard;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class StationSettings;

// "ORVEX Callsigns": the list of callsigns the satellite sends under, each
// with its telemetry side. Modal; OK hands the new list to the main window.
class frmCalls : public QDialog
{
    Q_OBJECT
public:
    explicit frmCalls(StationSettings &settings, QWidget *parent = nullptr);

    // Fills the list from the main window and shows the dialog modally.
    void DoCalls();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void EnableAdd();
    void RemoveCall(int index);
    void EditCall(int index);
    void FillList();
    void SortList();
    bool checkCallsign();
    void cmdAddClicked();
    void cmdOkClicked();
    void cmdDefaultsClicked();
    QStringList lines() const;

    StationSettings &settings_;
    QListWidget *lstCalls;
    QLineEdit *txtCall;
    QRadioButton *optA;
    QRadioButton *optB;
    QPushButton *cmdAdd;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;
    QPushButton *cmdDefaults;
    FocusLeaveGuard *guard_;
};

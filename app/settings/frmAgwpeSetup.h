// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class FocusLeaveGuard;
class QLineEdit;
class QPushButton;
class StationSettings;

// "AGWPE Setup": where the AGWPE packet engine is reached and how to log in.
// Modal; OK stores the values through the main window and reconnects when
// any of them changed.
class frmAgwpeSetup : public QDialog
{
    Q_OBJECT
public:
    explicit frmAgwpeSetup(StationSettings &settings, QWidget *parent = nullptr);

private:
    bool checkHost();
    bool checkPort();
    void cmdOkClicked();

    StationSettings &settings_;
    QLineEdit *txtHostAddr;
    QLineEdit *txtPort;
    QLineEdit *txtLoginId;
    QLineEdit *txtPassword;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;
    FocusLeaveGuard *guard_;
    QString strOldHost;
    qint16 intOldPort = 0;
    QString strOldLoginId;
    QString strOldPassword;
};

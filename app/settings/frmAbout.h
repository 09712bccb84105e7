// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// "About The ORVEX Telemetry Decoder": title, version, author and copyright
// beside the program's picture, and the data folder in use when given. OK or
// Esc closes it.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr, const QString &dataFolder = QString());

    // The program's picture: a cube satellite over the Earth's limb.
    static QPixmap picture(int size);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLabel *labAppTitle;
    QLabel *labVersion;
    QLabel *labAuthor;
    QLabel *labCopyright;
    QPushButton *cmdOk;
};

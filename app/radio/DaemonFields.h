// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "radio/DaemonSettings.h"
#include "radio/ModelList.h"

#include <QObject>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

// The fields that the Radio and Rotator dialogs share: where the daemon
// listens, and whether the program runs it, for which Hamlib model, device
// and speed. The model list comes from `rigctl -l` or `rotctl -l` while the
// dialog is open; a number can be typed before it arrives.
class DaemonFields : public QObject
{
    Q_OBJECT
public:
    // `daemon` is "rigctld" or "rotctld", `lister` "rigctl" or "rotctl",
    // `what` "radio" or "rotator".
    DaemonFields(QWidget *dialog, const QString &daemon, const QString &lister, const QString &what,
                 const QString &host, int port, const radio::DaemonSettings &settings);

    // Adds the fields' rows from `row` on; returns the next free row.
    int addRows(QGridLayout *grid, int row);
    // Refuses bad input with a message and the focus on the field.
    bool check();

    QString host() const;
    int port() const;
    radio::DaemonSettings settings() const;

private:
    void showModels(const std::vector<radio::HamlibModel> &models, const QString &problem);
    std::optional<int> modelNumber() const;
    bool isDummy(int number) const;
    void refuse(QWidget *field, const QString &text);

    QWidget *dialog_;
    QString daemon_;
    QString what_;
    QCheckBox *start_;
    QComboBox *model_;
    QLineEdit *device_;
    QComboBox *speed_;
    QLineEdit *host_;
    QLineEdit *port_;
    QLabel *listState_;
    radio::ModelListQuery query_;
    std::vector<radio::HamlibModel> models_;
};

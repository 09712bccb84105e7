// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "radio/RadioSettings.h"

#include <QDialog>

class DaemonFields;
class QCheckBox;
class QComboBox;
class QLineEdit;

// Options, Radio...: whether the radio is tuned during passes, how (RX or
// SPLIT), the satellites' frequencies, and where rigctld is or which radio
// the program starts it for. OK refuses bad input with a message; the
// settings come back through settings().
class RadioDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RadioDialog(const radio::RadioSettings &settings, QWidget *parent = nullptr);
    radio::RadioSettings settings() const { return settings_; }

private:
    void okClicked();

    radio::RadioSettings settings_;
    QCheckBox *enabled_;
    QComboBox *mode_;
    QLineEdit *orvexDown_, *orvexUp_, *issDown_, *issUp_;
    DaemonFields *daemon_;
};

// A frequency typed in MHz ("145.825"), Hz; nothing unless the whole text is
// one number between 0.1 and 100 000 MHz.
std::optional<double> megahertzFromText(const QString &text);

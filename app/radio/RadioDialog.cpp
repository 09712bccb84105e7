// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/RadioDialog.h"

#include "radio/DaemonFields.h"
#include "ui/DialogSupport.h"
#include "ui/Help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>

std::optional<double> megahertzFromText(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\d{1,6}(\\.\\d{0,7})?$"));
    const QString trimmed = text.trimmed();
    if (!number.match(trimmed).hasMatch())
        return std::nullopt;
    const double hz = std::round(trimmed.toDouble() * 1e6);
    if (hz < radio::lowestFrequencyHz || hz > radio::highestFrequencyHz)
        return std::nullopt;
    return hz;
}

RadioDialog::RadioDialog(const radio::RadioSettings &settings, QWidget *parent)
    : QDialog(parent), settings_(settings),
      enabled_(new QCheckBox(QStringLiteral("&Tune the radio during passes"), this)),
      mode_(new QComboBox(this)), orvexDown_(new QLineEdit(this)), orvexUp_(new QLineEdit(this)),
      issDown_(new QLineEdit(this)), issUp_(new QLineEdit(this)),
      daemon_(new DaemonFields(this, QStringLiteral("rigctld"), QStringLiteral("rigctl"),
                               QStringLiteral("radio"), settings.host, settings.port,
                               settings.daemon))
{
    setObjectName(QStringLiteral("RadioDialog"));
    setWindowTitle(QStringLiteral("Radio"));
    enabled_->setObjectName(QStringLiteral("enabled"));
    enabled_->setChecked(settings.enabled);
    mode_->setObjectName(QStringLiteral("mode"));
    mode_->addItem(QStringLiteral("RX: the downlink on the VFO"));
    mode_->addItem(QStringLiteral("SPLIT: the uplink as the split transmit frequency too"));
    mode_->setCurrentIndex(settings.mode == radio::RadioMode::Split ? 1 : 0);
    const auto setUp = [](QLineEdit *box, const char *name, double hz) {
        box->setObjectName(QLatin1String(name));
        box->setText(QString::number(hz / 1e6, 'f', 6));
        orvex::selectAllOnFocus(box);
    };
    setUp(orvexDown_, "orvexDownlink", settings.orvex.downlinkHz);
    setUp(orvexUp_, "orvexUplink", settings.orvex.uplinkHz);
    setUp(issDown_, "issDownlink", settings.iss.downlinkHz);
    setUp(issUp_, "issUplink", settings.iss.uplinkHz);

    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
    orvex::makeOkCancel(this, ok, cancel);
    auto *grid = new QGridLayout;
    int row = 0;
    grid->addWidget(enabled_, row++, 0, 1, 2);
    orvex::addFieldRow(grid, row++, QStringLiteral("Mod&e"), mode_);
    orvex::addFieldRow(grid, row++, QStringLiteral("ORVEX do&wnlink, MHz"), orvexDown_);
    orvex::addFieldRow(grid, row++, QStringLiteral("ORVEX &uplink, MHz"), orvexUp_);
    orvex::addFieldRow(grid, row++, QStringLiteral("ISS downl&ink, MHz"), issDown_);
    orvex::addFieldRow(grid, row++, QStringLiteral("ISS up&link, MHz"), issUp_);
    row = daemon_->addRows(grid, row);
    orvex::layOutFormDialog(this, grid, row, ok, cancel);

    connect(ok, &QPushButton::clicked, this, &RadioDialog::okClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [this] { showHelpTopic(this, QStringLiteral("radio")); });
}

void RadioDialog::okClicked()
{
    radio::RadioSettings settings = settings_;
    const struct
    {
        QLineEdit *box;
        const char *caption;
        double *hz;
    } frequencies[] = {{orvexDown_, "ORVEX downlink", &settings.orvex.downlinkHz},
                       {orvexUp_, "ORVEX uplink", &settings.orvex.uplinkHz},
                       {issDown_, "ISS downlink", &settings.iss.downlinkHz},
                       {issUp_, "ISS uplink", &settings.iss.uplinkHz}};
    for (const auto &each : frequencies) {
        const std::optional<double> hz = megahertzFromText(each.box->text());
        if (!hz) {
            orvex::showStopMessage(this, QStringLiteral("'%1' must be a frequency in MHz between "
                                                        "0.1 and 100000, such as 145.825.")
                                             .arg(QLatin1String(each.caption)));
            each.box->setFocus(Qt::OtherFocusReason);
            return;
        }
        *each.hz = *hz;
    }
    if (!daemon_->check())
        return;
    settings.enabled = enabled_->isChecked();
    settings.mode = mode_->currentIndex() == 1 ? radio::RadioMode::Split : radio::RadioMode::Rx;
    settings.host = daemon_->host();
    settings.port = daemon_->port();
    settings.daemon = daemon_->settings();
    settings_ = settings;
    accept();
}

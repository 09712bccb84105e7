// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/DaemonFields.h"

#include "ui/DialogSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

namespace {
std::optional<int> leadingInteger(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*(\\d{1,7})(\\s|$)"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toInt();
}

bool isLoopback(const QString &host)
{
    const QString name = host.trimmed().toLower();
    return name == QLatin1String("127.0.0.1") || name == QLatin1String("localhost") ||
           name == QLatin1String("::1");
}
} // namespace

DaemonFields::DaemonFields(QWidget *dialog, const QString &daemon, const QString &lister,
                           const QString &what, const QString &host, int port,
                           const radio::DaemonSettings &settings)
    : QObject(dialog), dialog_(dialog), daemon_(daemon), what_(what),
      start_(new QCheckBox(QStringLiteral("Start %1 for a %2 on a serial &port").arg(daemon, what),
                           dialog)),
      model_(new QComboBox(dialog)), device_(new QLineEdit(settings.device, dialog)),
      speed_(new QComboBox(dialog)), host_(new QLineEdit(host, dialog)),
      port_(new QLineEdit(QString::number(port), dialog)), listState_(new QLabel(dialog))
{
    start_->setObjectName(QStringLiteral("startDaemon"));
    start_->setChecked(settings.start);
    model_->setObjectName(QStringLiteral("model"));
    model_->setEditable(true);
    model_->setEditText(QString::number(settings.model));
    model_->setMinimumContentsLength(36);
    device_->setObjectName(QStringLiteral("device"));
    device_->setPlaceholderText(QStringLiteral("/dev/ttyUSB0"));
    speed_->setObjectName(QStringLiteral("speed"));
    speed_->setEditable(true);
    speed_->addItem(QStringLiteral("the model's own"));
    for (const int each : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200})
        speed_->addItem(QString::number(each));
    speed_->setEditText(settings.speed > 0 ? QString::number(settings.speed) : speed_->itemText(0));
    host_->setObjectName(QStringLiteral("host"));
    port_->setObjectName(QStringLiteral("port"));
    port_->setMaxLength(5);
    orvex::filterKeys(port_, orvex::digitKey);
    listState_->setObjectName(QStringLiteral("modelListState"));
    listState_->setText(QStringLiteral("Reading the model list (%1 -l)...").arg(lister));
    listState_->setWordWrap(true);
    connect(&query_, &radio::ModelListQuery::finished, this, &DaemonFields::showModels);
    query_.start(lister);
}

int DaemonFields::addRows(QGridLayout *grid, int row)
{
    orvex::addFieldRow(grid, row++, QStringLiteral("&Host"), host_);
    orvex::addFieldRow(grid, row++, QStringLiteral("P&ort"), port_);
    grid->addWidget(start_, row++, 0, 1, 2);
    orvex::addFieldRow(grid, row++, QStringLiteral("&Model"), model_);
    grid->addWidget(listState_, row++, 1);
    orvex::addFieldRow(grid, row++, QStringLiteral("&Device"), device_);
    orvex::addFieldRow(grid, row++, QStringLiteral("Spee&d"), speed_);
    return row;
}

void DaemonFields::showModels(const std::vector<radio::HamlibModel> &models, const QString &problem)
{
    if (models.empty()) {
        listState_->setText(problem + QStringLiteral(" Type the model number."));
        return;
    }
    models_ = models;
    const std::optional<int> current = modelNumber();
    model_->clear();
    for (const radio::HamlibModel &each : models_)
        model_->addItem(radio::modelText(each), each.number);
    const int index = current ? model_->findData(*current) : -1;
    if (index >= 0)
        model_->setCurrentIndex(index);
    else
        model_->setEditText(current ? QString::number(*current) : QString());
    listState_->setText(QStringLiteral("%1 models known to Hamlib.").arg(models_.size()));
}

std::optional<int> DaemonFields::modelNumber() const
{
    return leadingInteger(model_->currentText());
}

bool DaemonFields::isDummy(int number) const
{
    for (const radio::HamlibModel &each : models_)
        if (each.number == number)
            return each.maker == QLatin1String("Hamlib") &&
                   each.name.startsWith(QLatin1String("Dummy"));
    return number == 1;
}

void DaemonFields::refuse(QWidget *field, const QString &text)
{
    orvex::showStopMessage(dialog_, text);
    field->setFocus(Qt::OtherFocusReason);
}

bool DaemonFields::check()
{
    if (host_->text().trimmed().isEmpty()) {
        refuse(host_, QStringLiteral("'Host' cannot be blank."));
        return false;
    }
    if (port() < 1 || port() > 65535) {
        refuse(port_, QStringLiteral("'Port' must be a number between 1 and 65535."));
        return false;
    }
    if (!start_->isChecked())
        return true;
    if (!isLoopback(host_->text())) {
        refuse(host_, QStringLiteral("A %1 that the program starts listens on this computer "
                                     "only: set 'Host' to 127.0.0.1.")
                          .arg(daemon_));
        return false;
    }
    const std::optional<int> number = modelNumber();
    if (!number || *number < 1) {
        refuse(model_, QStringLiteral("'Model' must be one of Hamlib's model numbers."));
        return false;
    }
    if (!models_.empty() && std::none_of(models_.begin(), models_.end(), [&](const auto &each) {
            return each.number == *number;
        })) {
        refuse(model_, QStringLiteral("Hamlib knows no %1 model %2.").arg(what_).arg(*number));
        return false;
    }
    if (device_->text().trimmed().isEmpty() && !isDummy(*number)) {
        refuse(device_, QStringLiteral("'Device' cannot be blank: name the serial port of the %1, "
                                       "such as /dev/ttyUSB0.")
                            .arg(what_));
        return false;
    }
    const QString speed = speed_->currentText().trimmed();
    if (speed != speed_->itemText(0) && !speed.isEmpty() &&
        (!leadingInteger(speed) || *leadingInteger(speed) < 1 ||
         leadingInteger(speed) != speed.toInt())) {
        refuse(speed_, QStringLiteral("'Speed' must be the serial port's bits per second, such "
                                      "as 9600, or the model's own."));
        return false;
    }
    return true;
}

QString DaemonFields::host() const
{
    return host_->text().trimmed();
}

int DaemonFields::port() const
{
    bool ok = false;
    const int value = port_->text().trimmed().toInt(&ok);
    return ok ? value : 0;
}

radio::DaemonSettings DaemonFields::settings() const
{
    radio::DaemonSettings settings;
    settings.start = start_->isChecked();
    settings.model = modelNumber().value_or(1);
    settings.device = device_->text().trimmed();
    const QString speed = speed_->currentText().trimmed();
    settings.speed = speed == speed_->itemText(0) ? 0 : speed.toInt();
    return settings;
}

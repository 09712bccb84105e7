// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/RadioDialog.h"
#include "radio/RotatorDialog.h"

#include "MessageBoxRecorder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
template <typename T> T *child(QWidget *dialog, const char *name)
{
    T *widget = dialog->findChild<T *>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void retype(QWidget *dialog, const char *name, const QString &text)
{
    if (auto *box = dialog->findChild<QLineEdit *>(QLatin1String(name)))
        box->setText(text);
    else if (auto *combo = dialog->findChild<QComboBox *>(QLatin1String(name)))
        combo->setEditText(text);
    else
        ADD_FAILURE() << name;
}

// OK pressed: the message it raised, empty when it raised none.
QString pressOk(QDialog &dialog, MessageBoxRecorder &messages)
{
    messages.seen.clear();
    QTest::mouseClick(child<QPushButton>(&dialog, "cmdOk"), Qt::LeftButton);
    QTest::qWait(50);
    return messages.lastText();
}
} // namespace

TEST(RadioDialog, RefusesWhatCannotBeUsedAndReturnsWhatCan)
{
    MessageBoxRecorder messages;
    RadioDialog dialog{radio::RadioSettings{}};
    dialog.show();

    retype(&dialog, "issUplink", QStringLiteral("145,825"));
    EXPECT_EQ(pressOk(dialog, messages),
              QStringLiteral("'ISS uplink' must be a frequency in MHz "
                             "between 0.1 and 100000, such as 145.825."));
    retype(&dialog, "issUplink", QStringLiteral("437.8"));
    retype(&dialog, "port", QStringLiteral("70000"));
    EXPECT_EQ(pressOk(dialog, messages),
              QStringLiteral("'Port' must be a number between 1 and 65535."));
    retype(&dialog, "port", QStringLiteral("4600"));
    child<QCheckBox>(&dialog, "startDaemon")->setChecked(true);
    retype(&dialog, "host", QStringLiteral("radio.example"));
    EXPECT_TRUE(
        pressOk(dialog, messages).startsWith(QStringLiteral("A rigctld that the program starts")));
    retype(&dialog, "host", QStringLiteral("127.0.0.1"));
    retype(&dialog, "model", QStringLiteral("1035"));
    EXPECT_TRUE(pressOk(dialog, messages).startsWith(QStringLiteral("'Device' cannot be blank")));
    retype(&dialog, "device", QStringLiteral("/dev/ttyUSB0"));
    retype(&dialog, "speed", QStringLiteral("fast"));
    EXPECT_TRUE(pressOk(dialog, messages).startsWith(QStringLiteral("'Speed' must be")));
    retype(&dialog, "speed", QStringLiteral("38400"));
    child<QComboBox>(&dialog, "mode")->setCurrentIndex(1);

    EXPECT_EQ(pressOk(dialog, messages), QString());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const radio::RadioSettings settings = dialog.settings();
    EXPECT_EQ(settings.iss.uplinkHz, 437800000);
    EXPECT_EQ(settings.port, 4600);
    EXPECT_EQ(settings.mode, radio::RadioMode::Split);
    EXPECT_EQ(settings.daemon.model, 1035);
    EXPECT_EQ(settings.daemon.device, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(settings.daemon.speed, 38400);
}

TEST(RotatorDialog, RefusesARangeThatIsNoneAndReturnsTheParkPosition)
{
    MessageBoxRecorder messages;
    RotatorDialog dialog{radio::RotatorSettings{}};
    dialog.show();
    child<QDoubleSpinBox>(&dialog, "maxAzimuth")->setValue(45);
    EXPECT_TRUE(
        pressOk(dialog, messages).startsWith(QStringLiteral("The azimuth range must span")));
    child<QDoubleSpinBox>(&dialog, "maxAzimuth")->setValue(450);
    child<QDoubleSpinBox>(&dialog, "parkAzimuth")->setValue(180);
    EXPECT_EQ(pressOk(dialog, messages), QString());
    EXPECT_EQ(dialog.settings().limits.maxAzimuthDeg, 450);
    EXPECT_EQ(dialog.settings().parkAzimuthDeg, 180);
}

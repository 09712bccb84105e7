// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/MainSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class MainSettingsTest : public ::testing::Test
{
protected:
    QString file() const { return dir.filePath("orvexdecode.INI"); }
    QString fileText() const
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }
    QString stored(const QString &section, const QString &key)
    {
        return clsIni(file()).GetIniString(section, key, "(missing)");
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(MainSettingsTest, AFreshFileGetsEveryDefaultInStartUpOrder)
{
    MainSettings settings(file());
    settings.Load(4200, 3000);
    const QStringList keys = {"ORVEX_OBJ_NUM=26931",
                              "ISS_OBJ_NUM=25544",
                              "OBJ_INDEX=0",
                              "LEFT=4200",
                              "TOP=3000",
                              "USE_LOCAL_TIME=FALSE",
                              "ONLY_SHOW_ORVEX=TRUE",
                              "LATITUDE=\"\"",
                              "LONGITUDE=\"\"",
                              "LOCATOR=\"\"",
                              "CALLSIGN=\"\"",
                              "COMMENT=\"\"",
                              "HOST_ADDRESS=localhost",
                              "HOST_PORT=8000",
                              "LOGIN_ID=\"\"",
                              "PASSWORD=\"\""};
    const QString text = fileText();
    qsizetype at = 0;
    for (const QString &key : keys) {
        const qsizetype found = text.indexOf(key, at);
        ASSERT_GE(found, 0) << key.toStdString() << " in\n" << text.toStdString();
        at = found;
    }
    EXPECT_LT(text.indexOf("[SETUP]"), text.indexOf("[AGWPE]"));
    EXPECT_EQ(settings.objIndex(), 0);
    EXPECT_EQ(settings.left(), 4200);
    EXPECT_FALSE(settings.useLocalTime());
    EXPECT_TRUE(settings.onlyShowOrvex());
    EXPECT_EQ(settings.strAgwHost(), "localhost");
    EXPECT_EQ(settings.intAgwPort(), 8000);
}

TEST_F(MainSettingsTest, StoredValuesAreReadAndOddOnesFallBack)
{
    {
        clsIni ini(file());
        ini.SaveIniString("SETUP", "OBJ_INDEX", "2");
        ini.SaveIniString("SETUP", "LATITUDE", "5130.00N");
        ini.SaveIniString("SETUP", "LONGITUDE", "00007.50W");
        ini.SaveIniString("SETUP", "USE_LOCAL_TIME", "yes");
        ini.SaveIniString("SETUP", "CALL_A", "OLD");
        ini.SaveIniString("SIDES", "A", "1");
        ini.SaveIniString("AGWPE", "HOST_PORT", "40000");
    }
    MainSettings settings(file());
    settings.Load(0, 0);
    EXPECT_EQ(settings.objIndex(), 0);
    EXPECT_TRUE(settings.useLocalTime());
    EXPECT_EQ(settings.intAgwPort(), 8000);
    EXPECT_DOUBLE_EQ(settings.dblLat(), 51.5);
    EXPECT_DOUBLE_EQ(settings.dblLong(), -0.125);
    EXPECT_EQ(stored("SETUP", "CALL_A"), "(missing)");
    EXPECT_FALSE(fileText().contains("[SIDES]"));
}

TEST_F(MainSettingsTest, SettersAndTheShutdownWriteAtOnce)
{
    MainSettings settings(file());
    settings.Load(0, 0);
    settings.setStrCallsign("Q9ZZZ-5");
    settings.setStrLat("5130.00N");
    settings.setIntAgwPort(8100);
    settings.setStrAgwPassword("secret");
    settings.setOnlyShowOrvex(false);
    settings.setUseLocalTime(true);
    settings.SavePlacement(1500, 2250, 1);
    EXPECT_EQ(stored("SETUP", "CALLSIGN"), "Q9ZZZ-5");
    EXPECT_EQ(settings.strLat(), "5130.00N");
    EXPECT_EQ(stored("SETUP", "LATITUDE"), "5130.00N");
    EXPECT_EQ(stored("AGWPE", "HOST_PORT"), "8100");
    EXPECT_EQ(stored("AGWPE", "PASSWORD"), "secret");
    EXPECT_EQ(stored("SETUP", "ONLY_SHOW_ORVEX"), "FALSE");
    EXPECT_EQ(stored("SETUP", "USE_LOCAL_TIME"), "TRUE");
    EXPECT_EQ(stored("SETUP", "LEFT"), "1500");
    EXPECT_EQ(stored("SETUP", "TOP"), "2250");
    EXPECT_EQ(stored("SETUP", "OBJ_INDEX"), "1");

    MainSettings again(file());
    again.Load(0, 0);
    EXPECT_EQ(again.objIndex(), 1);
    EXPECT_EQ(again.strCallsign(), "Q9ZZZ-5");
    EXPECT_FALSE(again.onlyShowOrvex());
}

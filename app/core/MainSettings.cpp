// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/MainSettings.h"

#include "shared/NumberText.h"
#include "shared/ORXUtil.h"

namespace {
const QString setupSection = QStringLiteral("SETUP");
const QString agwpeSection = QStringLiteral("AGWPE");
} // namespace

MainSettings::MainSettings(const QString &file) : ini_(file) {}

void MainSettings::Load(int defaultLeft, int defaultTop)
{
    // The order is the order in which missing keys are written to the file.
    orvexObjectNumber_ = ini_.GetIniStringWriteDefault(
        setupSection, QStringLiteral("ORVEX_OBJ_NUM"), QStringLiteral("26931"));
    issObjectNumber_ = ini_.GetIniStringWriteDefault(setupSection, QStringLiteral("ISS_OBJ_NUM"),
                                                     QStringLiteral("25544"));
    // Only 0 and 1 name a satellite; anything else falls back to ORVEX.
    objIndex_ = orvex::leadingNumber(ini_.GetIniStringWriteDefault(
                    setupSection, QStringLiteral("OBJ_INDEX"), QStringLiteral("0"))) == 1
                    ? 1
                    : 0;
    left_ = orvex::leadingNumber(ini_.GetIniStringWriteDefault(setupSection, QStringLiteral("LEFT"),
                                                               orvex::generalNumber(defaultLeft)));
    top_ = orvex::leadingNumber(ini_.GetIniStringWriteDefault(setupSection, QStringLiteral("TOP"),
                                                              orvex::generalNumber(defaultTop)));
    useLocalTime_ = clsIni::IsItTrue(ini_.GetIniStringWriteDefault(
        setupSection, QStringLiteral("USE_LOCAL_TIME"), QStringLiteral("FALSE")));
    onlyShowOrvex_ = clsIni::IsItTrue(ini_.GetIniStringWriteDefault(
        setupSection, QStringLiteral("ONLY_SHOW_ORVEX"), QStringLiteral("TRUE")));
    strLat_ = ini_.GetIniStringWriteDefault(setupSection, QStringLiteral("LATITUDE"), QString());
    strLong_ = ini_.GetIniStringWriteDefault(setupSection, QStringLiteral("LONGITUDE"), QString());
    strLoc_ = ini_.GetIniStringWriteDefault(setupSection, QStringLiteral("LOCATOR"), QString());
    strCallsign_ =
        ini_.GetIniStringWriteDefault(setupSection, QStringLiteral("CALLSIGN"), QString());
    strComment_ = ini_.GetIniStringWriteDefault(setupSection, QStringLiteral("COMMENT"), QString());

    strAgwHost_ = ini_.GetIniStringWriteDefault(agwpeSection, QStringLiteral("HOST_ADDRESS"),
                                                QStringLiteral("localhost"));
    const double port = orvex::leadingNumber(ini_.GetIniStringWriteDefault(
        agwpeSection, QStringLiteral("HOST_PORT"), QStringLiteral("8000")));
    intAgwPort_ = port < 1 || port > 32767 ? 8000 : static_cast<qint16>(port);
    strAgwLoginId_ =
        ini_.GetIniStringWriteDefault(agwpeSection, QStringLiteral("LOGIN_ID"), QString());
    strAgwPassword_ =
        ini_.GetIniStringWriteDefault(agwpeSection, QStringLiteral("PASSWORD"), QString());

    // Keys and a section of an older layout.
    for (const char *key : {"OBJECT_NAME", "CALL_A", "CALL_B"})
        ini_.DeleteKey(setupSection, QString::fromLatin1(key));
    ini_.DeleteSection(QStringLiteral("SIDES"));
}

void MainSettings::SavePlacement(int left, int top, qint16 objIndex)
{
    ini_.SaveIniString(setupSection, QStringLiteral("LEFT"), orvex::generalNumber(left));
    ini_.SaveIniString(setupSection, QStringLiteral("TOP"), orvex::generalNumber(top));
    ini_.SaveIniString(setupSection, QStringLiteral("OBJ_INDEX"), QString::number(objIndex));
}

void MainSettings::setUseLocalTime(bool value)
{
    useLocalTime_ = value;
    ini_.SaveIniString(setupSection, QStringLiteral("USE_LOCAL_TIME"), clsIni::TrueOrFalse(value));
}

void MainSettings::setOnlyShowOrvex(bool value)
{
    onlyShowOrvex_ = value;
    ini_.SaveIniString(setupSection, QStringLiteral("ONLY_SHOW_ORVEX"), clsIni::TrueOrFalse(value));
}

double MainSettings::dblLat() const
{
    return ORXUtil::LatToDegrees(strLat_);
}

double MainSettings::dblLong() const
{
    return ORXUtil::LongToDegrees(strLong_);
}

void MainSettings::store(QString &member, const QString &section, const QString &key,
                         const QString &value)
{
    member = value;
    ini_.SaveIniString(section, key, value);
}

void MainSettings::setStrLat(const QString &value)
{
    store(strLat_, setupSection, QStringLiteral("LATITUDE"), value);
}
void MainSettings::setStrLong(const QString &value)
{
    store(strLong_, setupSection, QStringLiteral("LONGITUDE"), value);
}
void MainSettings::setStrLoc(const QString &value)
{
    store(strLoc_, setupSection, QStringLiteral("LOCATOR"), value);
}
void MainSettings::setStrCallsign(const QString &value)
{
    store(strCallsign_, setupSection, QStringLiteral("CALLSIGN"), value);
}
void MainSettings::setStrComment(const QString &value)
{
    store(strComment_, setupSection, QStringLiteral("COMMENT"), value);
}
void MainSettings::setStrAgwHost(const QString &value)
{
    store(strAgwHost_, agwpeSection, QStringLiteral("HOST_ADDRESS"), value);
}
void MainSettings::setIntAgwPort(qint16 value)
{
    intAgwPort_ = value;
    ini_.SaveIniString(agwpeSection, QStringLiteral("HOST_PORT"), QString::number(value));
}
void MainSettings::setStrAgwLoginId(const QString &value)
{
    store(strAgwLoginId_, agwpeSection, QStringLiteral("LOGIN_ID"), value);
}
void MainSettings::setStrAgwPassword(const QString &value)
{
    store(strAgwPassword_, agwpeSection, QStringLiteral("PASSWORD"), value);
}

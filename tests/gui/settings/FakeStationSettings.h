// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "settings/StationSettings.h"
#include "shared/clsIni.h"

#include <QStringList>

// The main window as the dialogs see it: every write is noted and stored in
// a settings file of the test's own, as the main window stores it.
class FakeStationSettings : public StationSettings
{
public:
    explicit FakeStationSettings(const QString &iniFile) : ini(iniFile) {}

    QString strCallsign() const override { return callsign; }
    void setStrCallsign(const QString &v) override { store("SETUP", "CALLSIGN", callsign = v); }
    QString strLat() const override { return lat; }
    void setStrLat(const QString &v) override { store("SETUP", "LATITUDE", lat = v); }
    QString strLong() const override { return lon; }
    void setStrLong(const QString &v) override { store("SETUP", "LONGITUDE", lon = v); }
    QString strLoc() const override { return loc; }
    void setStrLoc(const QString &v) override { store("SETUP", "LOCATOR", loc = v); }
    QString strComment() const override { return comment; }
    void setStrComment(const QString &v) override { store("SETUP", "COMMENT", comment = v); }
    QString strAgwHost() const override { return host; }
    void setStrAgwHost(const QString &v) override { store("AGWPE", "HOST_ADDRESS", host = v); }
    qint16 intAgwPort() const override { return port; }
    void setIntAgwPort(qint16 v) override
    {
        port = v;
        store("AGWPE", "HOST_PORT", QString::number(v));
    }
    QString strAgwLoginId() const override { return loginId; }
    void setStrAgwLoginId(const QString &v) override { store("AGWPE", "LOGIN_ID", loginId = v); }
    QString strAgwPassword() const override { return password; }
    void setStrAgwPassword(const QString &v) override { store("AGWPE", "PASSWORD", password = v); }

    QList<clsCallsign> cCallsigns() const override { return calls; }
    void setCCallsigns(const QList<clsCallsign> &v) override
    {
        writes.append(QStringLiteral("cCallsigns"));
        calls = v;
        ini.DeleteSection("CALLSIGNS");
        for (const clsCallsign &call : calls)
            ini.SaveIniString("CALLSIGNS", call.strCallsign(), call.strSide());
    }
    void InitCallsigns() override
    {
        writes.append(QStringLiteral("InitCallsigns"));
        ini.DeleteSection("CALLSIGNS");
        for (const clsCallsign &call : defaultCalls())
            ini.SaveIniString("CALLSIGNS", call.strCallsign(), call.strSide());
    }
    void LoadCallsigns() override
    {
        writes.append(QStringLiteral("LoadCallsigns"));
        calls.clear();
        const auto keys = ini.LoadAllKeysInSection("CALLSIGNS");
        for (qsizetype i = 1; i < keys[0].size(); ++i)
            calls.append(clsCallsign(keys[0][i], keys[1][i]));
    }
    void AgwReconnect() override { ++reconnects; }

    static QList<clsCallsign> defaultCalls()
    {
        QList<clsCallsign> list{{"NODIGI", "A"}, {"Q9ZZZ", "A"}};
        for (int n = 1; n <= 15; ++n)
            list.append({QStringLiteral("Q9ZZZ-%1").arg(n), "A"});
        list.append({{"ORVEX", "B"}, {"ORVEX-1", "A"}, {"ORVEX-2", "A"}});
        for (int n = 3; n <= 15; ++n)
            list.append({QStringLiteral("ORVEX-%1").arg(n), "B"});
        return list;
    }

    clsIni ini;
    QString callsign, lat, lon, loc, comment;
    QString host = QStringLiteral("localhost");
    qint16 port = 8000;
    QString loginId, password;
    QList<clsCallsign> calls;
    int reconnects = 0;
    // Every property written, in order.
    QStringList writes;

private:
    void store(const char *section, const char *key, const QString &value)
    {
        writes.append(QLatin1String(key));
        ini.SaveIniString(section, key, value);
    }
};

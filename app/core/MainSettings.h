// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "shared/clsIni.h"

#include <QString>

// The main settings table: the keys of sections SETUP and AGWPE of the
// program's settings file, their defaults, and when each is read and
// written. Read once at start-up (Load); every property setter writes its
// key at once; the window placement and the current satellite are written
// at shutdown (SavePlacement). The main window forwards its settings
// properties here and makes no settings call of its own.
class MainSettings
{
public:
    // file: the program's settings file.
    explicit MainSettings(const QString &file);

    // The settings file itself, for the parts that keep their own keys in it
    // (callsign list, map and terminal placement).
    clsIni &ini() { return ini_; }
    QString strFile() const { return ini_.strDefaultIniFile(); }

    // Reads every key in the order of the start-up, writing the default of a
    // missing one, and removes the keys of an older layout. defaultLeft and
    // defaultTop: the centred window position in twips, the default of LEFT
    // and TOP.
    void Load(int defaultLeft, int defaultTop);
    // Shutdown: the window position in twips and the current satellite.
    void SavePlacement(int left, int top, qint16 objIndex);

    // Catalogue numbers of ORVEX and the ISS (ORVEX_OBJ_NUM, ISS_OBJ_NUM).
    QString orvexObjectNumber() const { return orvexObjectNumber_; }
    QString issObjectNumber() const { return issObjectNumber_; }
    // The satellite shown at start-up: 0 ORVEX, 1 the ISS (OBJ_INDEX).
    qint16 objIndex() const { return objIndex_; }
    // The stored window position in twips (LEFT, TOP).
    double left() const { return left_; }
    double top() const { return top_; }

    // USE_LOCAL_TIME and ONLY_SHOW_ORVEX; the setters write at once.
    bool useLocalTime() const { return useLocalTime_; }
    void setUseLocalTime(bool value);
    bool onlyShowOrvex() const { return onlyShowOrvex_; }
    void setOnlyShowOrvex(bool value);

    // The station (SETUP) and the AGWPE link (AGWPE); the setters write at once.
    QString strLat() const { return strLat_; }
    void setStrLat(const QString &value);
    QString strLong() const { return strLong_; }
    void setStrLong(const QString &value);
    // The station's coordinates in degrees (north, east positive); 0 when unknown.
    double dblLat() const;
    double dblLong() const;
    QString strLoc() const { return strLoc_; }
    void setStrLoc(const QString &value);
    QString strCallsign() const { return strCallsign_; }
    void setStrCallsign(const QString &value);
    QString strComment() const { return strComment_; }
    void setStrComment(const QString &value);
    QString strAgwHost() const { return strAgwHost_; }
    void setStrAgwHost(const QString &value);
    // 1 to 32767; anything else in the file reads as 8000.
    qint16 intAgwPort() const { return intAgwPort_; }
    void setIntAgwPort(qint16 value);
    QString strAgwLoginId() const { return strAgwLoginId_; }
    void setStrAgwLoginId(const QString &value);
    QString strAgwPassword() const { return strAgwPassword_; }
    void setStrAgwPassword(const QString &value);

private:
    void store(QString &member, const QString &section, const QString &key, const QString &value);

    clsIni ini_;
    QString orvexObjectNumber_, issObjectNumber_;
    qint16 objIndex_ = 0;
    double left_ = 0;
    double top_ = 0;
    bool useLocalTime_ = false;
    bool onlyShowOrvex_ = true;
    QString strLat_, strLong_, strLoc_, strCallsign_, strComment_;
    QString strAgwHost_;
    qint16 intAgwPort_ = 8000;
    QString strAgwLoginId_, strAgwPassword_;
};
